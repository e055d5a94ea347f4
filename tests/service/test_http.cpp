// The HTTP face: echo, notice, pages, /admin, answers in the clear, redirects, and requests
// that are broken at the HTTP or envelope level.

#include "tests/service/servicefixture.h"

#include "protocol/serverenvelope.h"
#include "tests/support/testpaths.h"

#include <arpa/inet.h>
#include <chrono>
#include <cstdio>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace riz::test {
namespace {

class HttpTest : public ServiceTest
{
protected:
    // Sends raw bytes on a new connection and reads until the peer closes or 3 s pass.
    std::string Raw(const std::string& bytes, bool closeAfterSend = false)
    {
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_port = htons(static_cast<uint16_t>(Service().Port()));
        inet_pton(AF_INET, Service().Host().c_str(), &addr.sin_addr);
        timeval tv{3, 0};
        setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
        std::string answer;
        if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0) {
            size_t sent = 0;
            while (sent < bytes.size()) {
                const ssize_t n =
                    ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
                if (n <= 0)
                    break;
                sent += static_cast<size_t>(n);
            }
            if (closeAfterSend)
                ::shutdown(fd, SHUT_WR);
            char buf[4096];
            ssize_t n;
            while ((n = ::recv(fd, buf, sizeof buf, 0)) > 0)
                answer.append(buf, static_cast<size_t>(n));
        }
        ::close(fd);
        return answer;
    }
};

TEST_F(HttpTest, EchoPagesNoticeAndAdmin)
{
    ServiceClient client = Client();
    auto echo = client.Get("/VORaradi/VORaradi.dll/ECHO?test");
    EXPECT_EQ(echo.Status, 200);
    EXPECT_EQ(echo.Body, "test");
    for (const char* page : {"home.html", "help.html", "support.html"}) {
        auto r = client.Get(std::string("/riz-avivaze/client-sites/") + page);
        EXPECT_EQ(r.Status, 200) << page;
        EXPECT_NE(r.Body.find("<html lang=\"de\">"), std::string::npos) << page;
    }
    EXPECT_EQ(client.Get("/riz-avivaze/client-sites/other.html").Status, 404);
    EXPECT_EQ(client.Get("/riz-avivaze/messages/service_interruption[de].txt").Status, 404);

    const std::string email = NewCustomer("admin\xFC", 1234);
    auto admin = client.Get("/admin");
    ASSERT_EQ(admin.Status, 200);
    EXPECT_NE(admin.Body.find("admin\xC3\xBC"), std::string::npos) << "customers, in UTF-8";
    EXPECT_NE(admin.Body.find("123.4"), std::string::npos) << "with their credits";
    EXPECT_NE(admin.Body.find(Service().RegistrationCode(email)), std::string::npos)
        << "the outbox with its codes";
    EXPECT_NE(admin.Body.find(Service().UnusedCode("<0190-50>")), std::string::npos)
        << "the code pool";

    ServiceOptions options;
    options.InterruptionNotice = "Wartung bis 18 Uhr.";
    ServiceProcess noticed(options);
    ASSERT_TRUE(noticed.Running()) << noticed.Error();
    ServiceClient other(noticed.Host(), noticed.Port());
    auto notice = other.Get("/riz-avivaze/messages/service_interruption[de].txt");
    EXPECT_EQ(notice.Status, 200);
    EXPECT_EQ(notice.Body, "Wartung bis 18 Uhr.");
}

TEST_F(HttpTest, BrokenRequestsGetAnErrorAndTheServiceGoesOn)
{
    ServiceClient client = Client();
    const std::string email = NewCustomer("broken", 0);
    // A valid envelope to spoil.
    TCSDataString m;
    m.Type = "RQST";
    m.Name = "GET_SMS_CREDITS";
    m.AddParam(TCSParam::Text("email_address", email));
    m.AddParam(TCSParam::Text("password", "geheim"));
    m.Encode();
    const std::string envelope = client.Crypt().EncryptRequest(m.Text, 40000);
    const std::string good = std::string(kRequestPrefix) + envelope;
    std::string tampered = good;
    tampered[tampered.size() - 3] = tampered[tampered.size() - 3] == 'a' ? 'b' : 'a';
    std::string badKey = good;
    badKey[40] = badKey[40] == 'a' ? 'b' : 'a';

    const struct
    {
        const char* What;
        std::string Target;
        int Status;
    } cases[] = {
        {"valid", "/VORaradi/VORaradi.dll/ZK?r=" + good, 200},
        {"no query", "/VORaradi/VORaradi.dll/ZK", 400},
        {"other parameter", "/VORaradi/VORaradi.dll/ZK?q=" + good, 400},
        {"no prefix", "/VORaradi/VORaradi.dll/ZK?r=" + envelope, 400},
        {"prefix only", std::string("/VORaradi/VORaradi.dll/ZK?r=") + kRequestPrefix, 400},
        {"wrong digest", "/VORaradi/VORaradi.dll/ZK?r=" + tampered, 400},
        {"wrong key block", "/VORaradi/VORaradi.dll/ZK?r=" + badKey, 400},
        {"characters outside the alphabet",
         "/VORaradi/VORaradi.dll/ZK?r=" + good.substr(0, 60) + "%25%00" + good.substr(60), 400},
        {"truncated", "/VORaradi/VORaradi.dll/ZK?r=" + good.substr(0, good.size() - 5), 400},
        {"long tail", "/VORaradi/VORaradi.dll/ZK?r=" + good + std::string(200000, 'a'), 400},
        {"unknown path", "/VORaradi/VORaradi.dll/XX?r=" + good, 404},
    };
    for (const auto& c : cases) {
        auto r = client.Get(c.Target);
        EXPECT_EQ(r.Status, c.Status) << c.What;
        auto after = client.Get("/VORaradi/VORaradi.dll/ECHO?test");
        EXPECT_EQ(after.Body, "test") << "after " << c.What;
    }
    // A readable request that lacks a parameter, or has one that does not read, is answered
    // with a code, not an HTTP error.
    auto missing =
        client.Call("SEND_SMS", {TCSParam::Text("sms_text", "x")}, email, "geheim", "1.01");
    ASSERT_TRUE(missing.Decoded);
    EXPECT_EQ(missing.Rslt(), 2);
    TCSParam unreadable;
    unreadable.Name = "receivers";
    unreadable.Value = "\\<TBL ROWS=\\\"1\\\"\\>";
    auto garbage = client.Call(
        "SEND_SMS",
        {TCSParam::Text("sms_text", "x"), TCSParam::Text("sms_sender", "y"), unreadable}, email,
        "geheim", "1.01");
    ASSERT_TRUE(garbage.Decoded);
    EXPECT_EQ(garbage.Rslt(), 2);

    auto ok = client.CallText(m.Text);
    ASSERT_TRUE(ok.Decoded);
    EXPECT_EQ(ok.Rslt(), 0);
    const auto log = Service().Requests();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back().Name, "GET_SMS_CREDITS");
    EXPECT_EQ(log.back().Email, email);
    EXPECT_EQ(log.back().Message, m.Text);
}

TEST_F(HttpTest, LargeQueriesUpToTheCapAndHttpDetails)
{
    // An address book of 300 contacts travels in a query of some 50 KB.
    const std::string email = NewCustomer("big", 0);
    std::vector<std::vector<std::string>> rows;
    for (int i = 0; i < 300; ++i)
        rows.push_back({"Kontakt Nummer " + std::to_string(i),
                        "k" + std::to_string(i) + "@example.org", "030 1234567", "",
                        "0172 55555" + std::to_string(100 + i), "1970-01-01 00:00:00", ""});
    const std::vector<std::string> book = {
        "name",       "email_address", "home_phone",       "office_phone",
        "cell_phone", "birthday",      "distribution_list"};
    ServiceClient client = Client();
    auto save =
        client.Call("SAVE_SMS_ADDRESS_BOOK",
                    {TCSParam::Table("address_book", MakeTextTable(book, rows))}, email, "geheim");
    ASSERT_TRUE(save.Decoded);
    EXPECT_EQ(save.Rslt(), 0);
    EXPECT_EQ(TableRows(client.Call("LOAD_SMS_ADDRESS_BOOK", {}, email, "geheim").Message,
                        "address_book", book),
              rows);

    // Beyond 1 MB the request line is refused.
    const std::string huge =
        Raw("GET /VORaradi/VORaradi.dll/ZK?r=" + std::string(1100000, 'a') + " HTTP/1.1\r\n\r\n");
    EXPECT_TRUE(huge.empty() || huge.rfind("HTTP/1.1 414", 0) == 0) << huge.substr(0, 40);

    const struct
    {
        const char* What;
        std::string Request;
        std::string Starts;
    } cases[] = {
        {"post", "POST /VORaradi/VORaradi.dll/ECHO?test HTTP/1.1\r\nContent-Length: 3\r\n\r\nabc",
         "HTTP/1.1 405"},
        {"head", "HEAD /VORaradi/VORaradi.dll/ECHO?test HTTP/1.1\r\nConnection: close\r\n\r\n",
         "HTTP/1.1 200"},
        {"encoded path", "GET /riz-avivaze/client-sites/%68ome.html HTTP/1.0\r\n\r\n",
         "HTTP/1.1 200"},
        {"absolute form", "GET http://127.0.0.1/VORaradi/VORaradi.dll/ECHO?test HTTP/1.0\r\n\r\n",
         "HTTP/1.1 200"},
        {"no version", "GET /\r\n\r\n", "HTTP/1.1 400"},
        {"chunked", "GET / HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n", "HTTP/1.1 501"},
        {"big body", "GET / HTTP/1.1\r\nContent-Length: 99999999\r\n\r\n", "HTTP/1.1 413"},
        {"bad length", "GET / HTTP/1.1\r\nContent-Length: -1\r\n\r\n", "HTTP/1.1 400"},
        {"binary", std::string("\x16\x03\x01\x00\xa5\x01\x00\x00\r\n\r\n", 12), "HTTP/1.1 400"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Raw(c.Request, true).substr(0, 12), c.Starts) << c.What;

    // Two requests on one connection, sent at once, are answered in order.
    const std::string two =
        Raw("GET /VORaradi/VORaradi.dll/ECHO?eins HTTP/1.1\r\n\r\n"
            "GET /VORaradi/VORaradi.dll/ECHO?zwei HTTP/1.1\r\nConnection: close\r\n\r\n");
    const size_t first = two.find("\r\n\r\neins");
    ASSERT_NE(first, std::string::npos) << two;
    EXPECT_NE(two.find("\r\n\r\nzwei", first), std::string::npos) << two;

    // A peer that connects and says nothing does not hold up the others.
    std::thread silent([this] { Raw(""); });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(client.Get("/VORaradi/VORaradi.dll/ECHO?test").Body, "test");
    silent.join();
}

TEST_F(HttpTest, PlainAnswersAndRedirects)
{
    ServiceOptions plainOptions;
    plainOptions.PlainAnswers = true;
    ServiceProcess plain(plainOptions);
    ASSERT_TRUE(plain.Running()) << plain.Error();
    ServiceClient client(plain.Host(), plain.Port());
    auto r = client.Call("GET_SMS_CREDITS", {}, "x@example.org", "y");
    ASSERT_TRUE(r.Decoded);
    EXPECT_EQ(r.Body.substr(0, 16), "0000------------");
    EXPECT_EQ(r.Body.substr(16, 4), "<ZK ");
    EXPECT_EQ(r.Rslt(), 11);

    auto encrypted = Client().Call("GET_SMS_CREDITS", {}, "x@example.org", "y");
    EXPECT_EQ(encrypted.Body.substr(0, 16), "0001------------");
    EXPECT_EQ(encrypted.Body.find("<ZK"), std::string::npos);

    ServiceOptions redirectOptions;
    redirectOptions.Redirect = true;
    redirectOptions.ServerList = "127.0.0.2;127.0.0.3*;";
    ServiceProcess redirect(redirectOptions);
    ASSERT_TRUE(redirect.Running()) << redirect.Error();
    ServiceClient moved(redirect.Host(), redirect.Port());
    for (const char* name : {"GET_SMS_CREDITS", "ADD_CUSTOMER", "SEND_SMS"}) {
        auto a = moved.Call(name, {}, "x@example.org", "y");
        ASSERT_TRUE(a.Decoded) << name;
        EXPECT_EQ(a.Rslt(), 6) << name;
        EXPECT_EQ(a.Message.GetParam("server_list").AsString(), "127.0.0.2;127.0.0.3*;");
    }
}

TEST_F(HttpTest, TwoServicesShareOnePortOnDifferentLoopbackAddresses)
{
    ServiceOptions second;
    second.Host = "127.0.0.2";
    second.Port = Service().Port();
    ServiceProcess other(second);
    ASSERT_TRUE(other.Running()) << other.Error();
    EXPECT_EQ(other.Port(), Service().Port());
    ServiceClient a = Client();
    ServiceClient b(other.Host(), other.Port());
    EXPECT_GT(a.Register(NewEmail("twin"), "pw12"), 0);
    EXPECT_EQ(other.Requests().size(), 0u) << "each service keeps its own database";
    auto r = b.Call("GET_SMS_CREDITS", {}, "x@example.org", "y");
    EXPECT_EQ(r.Rslt(), 11);
    EXPECT_EQ(other.Requests().size(), 1u);
}

TEST_F(HttpTest, CommandLineHelpAndLoopbackOnly)
{
    auto run = [](const std::string& args, std::string& out) {
        const std::string cmd = ServiceProcess::BinaryPath() + " " + args + " 2>&1";
        FILE* p = popen(cmd.c_str(), "r");
        char buf[4096];
        size_t n;
        while ((n = fread(buf, 1, sizeof buf, p)) > 0)
            out.append(buf, n);
        return WEXITSTATUS(pclose(p));
    };
    std::string help;
    EXPECT_EQ(run("--help", help), 0);
    for (const char* option : {"--listen", "--db", "--key", "--plain-answers", "--server-list",
                               "--redirect", "--latest-version", "--seed", "--interruption-notice"})
        EXPECT_NE(help.find(option), std::string::npos) << option;
    std::string refused;
    EXPECT_NE(
        run("--listen 0.0.0.0:0 --db /tmp/x.sqlite --key " + SourceDir() + "/keys/dev-service.key",
            refused),
        0);
    EXPECT_NE(refused.find("loopback"), std::string::npos) << refused;
    std::string unknown;
    EXPECT_NE(run("--bogus", unknown), 0);
}

} // namespace
} // namespace riz::test
