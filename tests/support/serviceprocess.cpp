#include "tests/support/serviceprocess.h"

#include "tests/support/testpaths.h"

#include <sqlite3.h>

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace riz::test {
namespace {

using Clock = std::chrono::steady_clock;

// One GET of the echo over a plain socket; true when the answer is "test".
bool EchoAnswers(const std::string& host, int port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0)
        return false;
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<uint16_t>(port));
    inet_pton(AF_INET, host.c_str(), &addr.sin_addr);
    timeval tv{2, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    bool ok = false;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0) {
        const std::string req = "GET /VORaradi/VORaradi.dll/ECHO?test HTTP/1.1\r\nHost: " + host +
                                "\r\nConnection: close\r\n\r\n";
        if (::send(fd, req.data(), req.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(req.size())) {
            std::string answer;
            char buf[512];
            ssize_t n;
            while ((n = ::recv(fd, buf, sizeof buf, 0)) > 0)
                answer.append(buf, static_cast<size_t>(n));
            ok = answer.rfind("HTTP/1.1 200", 0) == 0 && answer.size() >= 8 &&
                 answer.compare(answer.size() - 8, 8, "\r\n\r\ntest") == 0;
        }
    }
    ::close(fd);
    return ok;
}

class Db final
{
public:
    explicit Db(const std::string& path)
    {
        if (sqlite3_open_v2(path.c_str(), &m_db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
            throw std::runtime_error("cannot open service database " + path);
        sqlite3_busy_timeout(m_db, 10000);
    }
    ~Db() { sqlite3_close(m_db); }

    std::vector<std::vector<std::string>> Query(const std::string& sql,
                                                const std::vector<std::string>& args)
    {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(m_db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK)
            throw std::runtime_error(std::string("query: ") + sqlite3_errmsg(m_db));
        for (size_t i = 0; i < args.size(); ++i)
            sqlite3_bind_text(st, static_cast<int>(i + 1), args[i].c_str(), -1, SQLITE_TRANSIENT);
        std::vector<std::vector<std::string>> rows;
        int rc;
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
            std::vector<std::string> row;
            for (int c = 0; c < sqlite3_column_count(st); ++c) {
                const void* data = sqlite3_column_blob(st, c);
                row.emplace_back(data
                                     ? std::string(static_cast<const char*>(data),
                                                   static_cast<size_t>(sqlite3_column_bytes(st, c)))
                                     : std::string());
            }
            rows.push_back(std::move(row));
        }
        sqlite3_finalize(st);
        if (rc != SQLITE_DONE)
            throw std::runtime_error(std::string("query: ") + sqlite3_errmsg(m_db));
        return rows;
    }

private:
    sqlite3* m_db = nullptr;
};

} // namespace

std::string ServiceProcess::BinaryPath()
{
    return BinaryDir() + "/service/riz-service";
}

ServiceProcess::ServiceProcess(ServiceOptions options) : m_host(options.Host)
{
    const std::string dir = TempDir("riz-service");
    m_dbPath = options.DbPath.empty() ? dir + "/service.sqlite" : options.DbPath;
    std::vector<std::string> args = {BinaryPath(),
                                     "--listen",
                                     options.Host + ":" + std::to_string(options.Port),
                                     "--db",
                                     m_dbPath,
                                     "--key",
                                     SourceDir() + "/keys/dev-service.key",
                                     "--tick-ms",
                                     std::to_string(options.TickMs)};
    if (options.Seed)
        args.push_back("--seed");
    if (options.PlainAnswers)
        args.push_back("--plain-answers");
    if (!options.ServerList.empty()) {
        args.push_back("--server-list");
        args.push_back(options.ServerList);
    }
    if (options.Redirect)
        args.push_back("--redirect");
    if (!options.LatestVersion.empty()) {
        args.push_back("--latest-version");
        args.push_back(options.LatestVersion);
    }
    if (!options.InterruptionNotice.empty()) {
        args.push_back("--interruption-notice");
        args.push_back(options.InterruptionNotice);
    }
    args.insert(args.end(), options.ExtraArgs.begin(), options.ExtraArgs.end());

    int out[2];
    if (::pipe(out) != 0) {
        m_error = "pipe failed";
        return;
    }
    const std::string errLog = dir + "/stderr.log";
    const pid_t pid = ::fork();
    if (pid < 0) {
        m_error = "fork failed";
        ::close(out[0]);
        ::close(out[1]);
        return;
    }
    if (pid == 0) {
        ::dup2(out[1], STDOUT_FILENO);
        const int err = ::open(errLog.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (err >= 0)
            ::dup2(err, STDERR_FILENO);
        ::close(out[0]);
        std::vector<char*> argv;
        for (auto& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(out[1]);
    m_pid = pid;

    // The first line of standard output is the bound address.
    std::string line;
    const auto deadline = Clock::now() + std::chrono::seconds(15);
    while (line.find('\n') == std::string::npos && Clock::now() < deadline) {
        pollfd p{out[0], POLLIN, 0};
        if (::poll(&p, 1, 100) > 0) {
            char buf[128];
            const ssize_t n = ::read(out[0], buf, sizeof buf);
            if (n <= 0)
                break;
            line.append(buf, static_cast<size_t>(n));
        }
    }
    ::close(out[0]);
    const size_t colon = line.rfind(':');
    if (line.find('\n') == std::string::npos || colon == std::string::npos) {
        m_error = "riz-service did not start; see " + errLog;
        Stop();
        return;
    }
    m_port = std::atoi(line.c_str() + colon + 1);
    while (Clock::now() < deadline) {
        if (EchoAnswers(m_host, m_port))
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    m_error = "riz-service does not answer; see " + errLog;
    Stop();
}

ServiceProcess::~ServiceProcess()
{
    Stop();
}

std::string ServiceProcess::BaseUrl() const
{
    return "http://" + m_host + ":" + std::to_string(m_port);
}

void ServiceProcess::Stop()
{
    if (m_pid <= 0)
        return;
    ::kill(m_pid, SIGTERM);
    const auto deadline = Clock::now() + std::chrono::seconds(5);
    int status = 0;
    while (::waitpid(m_pid, &status, WNOHANG) == 0) {
        if (Clock::now() > deadline) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    m_pid = -1;
}

std::vector<std::vector<std::string>>
ServiceProcess::Query(const std::string& sql, const std::vector<std::string>& args) const
{
    Db db(m_dbPath);
    return db.Query(sql, args);
}

std::vector<OutboxMail> ServiceProcess::Outbox(const std::string& recipient) const
{
    std::vector<OutboxMail> mails;
    const auto rows =
        recipient.empty()
            ? Query("SELECT recipient, subject, body, kind, code FROM outbox ORDER BY id")
            : Query("SELECT recipient, subject, body, kind, code FROM outbox "
                    "WHERE recipient = ?1 COLLATE NOCASE ORDER BY id",
                    {recipient});
    for (const auto& r : rows)
        mails.push_back({r[0], r[1], r[2], r[3], r[4]});
    return mails;
}

std::string ServiceProcess::RegistrationCode(const std::string& email) const
{
    const auto rows = Query("SELECT code FROM outbox WHERE recipient = ?1 COLLATE NOCASE AND "
                            "kind = 'registration' ORDER BY id DESC LIMIT 1",
                            {email});
    return rows.empty() ? std::string() : rows[0][0];
}

int ServiceProcess::Credits(const std::string& email) const
{
    const auto rows =
        Query("SELECT credits FROM customers WHERE email = ?1 COLLATE NOCASE", {email});
    return rows.empty() ? -1 : std::atoi(rows[0][0].c_str());
}

std::int64_t ServiceProcess::CustomerId(const std::string& email) const
{
    const auto rows = Query("SELECT id FROM customers WHERE email = ?1 COLLATE NOCASE", {email});
    return rows.empty() ? -1 : std::atoll(rows[0][0].c_str());
}

bool ServiceProcess::IsConfirmed(const std::string& email) const
{
    const auto rows =
        Query("SELECT confirmed FROM customers WHERE email = ?1 COLLATE NOCASE", {email});
    return !rows.empty() && rows[0][0] == "1";
}

std::vector<PhoneSms> ServiceProcess::PhoneInbox(const std::string& number) const
{
    std::vector<PhoneSms> sms;
    for (const auto& r : Query("SELECT number, sender, text, kind FROM phone_inbox "
                               "WHERE number = ?1 ORDER BY id",
                               {number}))
        sms.push_back({r[0], r[1], r[2], r[3]});
    return sms;
}

std::vector<LoggedRequest> ServiceProcess::Requests(const std::string& name) const
{
    std::vector<LoggedRequest> requests;
    const auto rows =
        name.empty()
            ? Query("SELECT name, email, rslt, message, error FROM request_log ORDER BY id")
            : Query("SELECT name, email, rslt, message, error FROM request_log "
                    "WHERE name = ?1 ORDER BY id",
                    {name});
    for (const auto& r : rows)
        requests.push_back({r[0], r[1], std::atoi(r[2].c_str()), r[3], r[4]});
    return requests;
}

std::string ServiceProcess::UnusedCode(const std::string& paymentOption) const
{
    const auto rows = Query("SELECT code FROM code_pool WHERE option = ?1 AND used_by IS NULL "
                            "ORDER BY code LIMIT 1",
                            {paymentOption});
    return rows.empty() ? std::string() : rows[0][0];
}

std::int64_t ServiceProcess::CreateCustomer(const std::string& email, const std::string& password,
                                            int credits, bool confirmed) const
{
    Query("INSERT INTO customers(email, password, first_name, last_name, home_country_code, "
          "language_code, confirmed, reg_code, credits, created) "
          "VALUES(?1, ?2, 'Test', 'Kunde', 'de', 'DE', ?3, 'TESTS-TESTS-TESTS-TESTS-TESTS', ?4, 0)",
          {email, password, confirmed ? "1" : "0", std::to_string(credits)});
    return CustomerId(email);
}

void ServiceProcess::SetCredits(const std::string& email, int tenths) const
{
    Query("UPDATE customers SET credits = ?1 WHERE email = ?2 COLLATE NOCASE",
          {std::to_string(tenths), email});
}

void ServiceProcess::Confirm(const std::string& email) const
{
    Query("UPDATE customers SET confirmed = 1 WHERE email = ?1 COLLATE NOCASE", {email});
}

} // namespace riz::test
