// The HTTP face: echo, notice, pages, /admin, answers in the clear, redirects, and requests
// that are broken at the HTTP or envelope level.

#include "tests/service/servicefixture.h"

#include "protocol/serverenvelope.h"
#include "tests/support/testpaths.h"

#include <cstdio>
#include <sys/wait.h>

namespace riz::test {
namespace {

class HttpTest : public ServiceTest
{
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
        {"characters outside the alphabet", "/VORaradi/VORaradi.dll/ZK?r=" + good.substr(0, 60) + "%25%00" + good.substr(60), 400},
        {"truncated", "/VORaradi/VORaradi.dll/ZK?r=" + good.substr(0, good.size() - 5), 400},
        {"huge", "/VORaradi/VORaradi.dll/ZK?r=" + good + std::string(200000, 'a'), 414},
        {"unknown path", "/VORaradi/VORaradi.dll/XX?r=" + good, 404},
    };
    for (const auto& c : cases) {
        auto r = client.Get(c.Target);
        if (c.Status == 414) {
            // Refused with a status or a closed connection, either way without an answer.
            EXPECT_TRUE(r.Status == 0 || r.Status == 414 || r.Status == 400) << c.What << " " << r.Status;
        } else {
            EXPECT_EQ(r.Status, c.Status) << c.What;
        }
        auto after = client.Get("/VORaradi/VORaradi.dll/ECHO?test");
        EXPECT_EQ(after.Body, "test") << "after " << c.What;
    }
    // A readable request that lacks a parameter, or has one that does not read, is answered
    // with a code, not an HTTP error.
    auto missing = client.Call("SEND_SMS", {TCSParam::Text("sms_text", "x")}, email, "geheim", "1.01");
    ASSERT_TRUE(missing.Decoded);
    EXPECT_EQ(missing.Rslt(), 2);
    TCSParam unreadable;
    unreadable.Name = "receivers";
    unreadable.Value = "\\<TBL ROWS=\\\"1\\\"\\>";
    auto garbage = client.Call("SEND_SMS",
                               {TCSParam::Text("sms_text", "x"), TCSParam::Text("sms_sender", "y"),
                                unreadable},
                               email, "geheim", "1.01");
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
                               "--redirect", "--latest-version", "--seed",
                               "--interruption-notice"})
        EXPECT_NE(help.find(option), std::string::npos) << option;
    std::string refused;
    EXPECT_NE(run("--listen 0.0.0.0:0 --db /tmp/x.sqlite --key " + SourceDir() +
                      "/keys/dev-service.key",
                  refused),
              0);
    EXPECT_NE(refused.find("loopback"), std::string::npos) << refused;
    std::string unknown;
    EXPECT_NE(run("--bogus", unknown), 0);
}

} // namespace
} // namespace riz::test
