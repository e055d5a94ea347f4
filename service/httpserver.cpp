#include "service/httpserver.h"

#include "service/sitepages.h"

#include <httplib.h>

#include <chrono>

namespace riz::service {
namespace {

// Route patterns are regular expressions: dots and brackets are escaped.
constexpr const char* kProtocolPath = R"(/VORaradi/VORaradi\.dll/ZK)";
constexpr const char* kEchoPath = R"(/VORaradi/VORaradi\.dll/ECHO)";
constexpr const char* kNoticePath = R"(/riz-avivaze/messages/service_interruption\[de\]\.txt)";
constexpr const char* kSitePrefix = "/riz-avivaze/client-sites/";

// The query as it came, after the "?".
std::string RawQuery(const httplib::Request& req)
{
    const size_t q = req.target.find('?');
    return q == std::string::npos ? std::string() : req.target.substr(q + 1);
}

} // namespace

bool IsLoopbackAddress(const std::string& address)
{
    return address.rfind("127.", 0) == 0 || address == "::1" ||
           address.rfind("::ffff:127.", 0) == 0;
}

TServiceHttp::TServiceHttp(TServiceCore& core)
    : m_core(core), m_server(std::make_unique<httplib::Server>())
{
    auto& server = *m_server;
    // A peer that sends nothing or stops half-way does not hold a worker for long.
    server.set_read_timeout(5, 0);
    server.set_write_timeout(5, 0);
    server.set_keep_alive_timeout(5);
    server.set_payload_max_length(64 * 1024);
    // Header and body go out in separate writes; without this a keep-alive peer waits for the
    // delayed acknowledgement on every answer.
    server.set_tcp_nodelay(true);

    server.Get(kProtocolPath, [this](const httplib::Request& req, httplib::Response& res) {
        const std::string query = RawQuery(req);
        if (query.rfind("r=", 0) != 0) {
            res.status = 400;
            res.set_content("bad request", "text/plain");
            return;
        }
        const THttpReply reply = m_core.HandleRequestText(query.substr(2));
        res.status = reply.Status;
        res.set_content(reply.Body, reply.ContentType.c_str());
    });
    server.Get(kEchoPath, [](const httplib::Request& req, httplib::Response& res) {
        res.set_content(RawQuery(req), "text/plain");
    });
    server.Get(kNoticePath, [this](const httplib::Request&, httplib::Response& res) {
        const std::string& notice = m_core.Options().InterruptionNotice;
        if (notice.empty()) {
            res.status = 404;
            res.set_content("not found", "text/plain");
            return;
        }
        res.set_content(notice, "text/plain; charset=windows-1252");
    });
    server.Get(std::string(kSitePrefix) + R"(([a-z]+\.html))",
               [](const httplib::Request& req, httplib::Response& res) {
                   std::string html;
                   if (!SitePage(req.matches[1], html)) {
                       res.status = 404;
                       res.set_content("not found", "text/plain");
                       return;
                   }
                   res.set_content(html, "text/html; charset=utf-8");
               });
    server.Get("/admin", [this](const httplib::Request& req, httplib::Response& res) {
        if (!IsLoopbackAddress(req.remote_addr)) {
            res.status = 403;
            res.set_content("forbidden", "text/plain");
            return;
        }
        res.set_content(AdminPage(m_core), "text/html; charset=utf-8");
    });
    server.set_exception_handler(
        [](const httplib::Request&, httplib::Response& res, std::exception_ptr) {
            res.status = 500;
            res.set_content("internal error", "text/plain");
        });
}

TServiceHttp::~TServiceHttp()
{
    Stop();
    if (m_scheduler.joinable())
        m_scheduler.join();
}

int TServiceHttp::Bind(const std::string& host, int port)
{
    if (port == 0)
        return m_server->bind_to_any_port(host);
    return m_server->bind_to_port(host, port) ? port : -1;
}

bool TServiceHttp::Run()
{
    m_scheduler = std::thread([this] { SchedulerLoop(); });
    const bool ok = m_server->listen_after_bind();
    Stop();
    if (m_scheduler.joinable())
        m_scheduler.join();
    return ok;
}

void TServiceHttp::Stop()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    m_server->stop();
}

void TServiceHttp::SchedulerLoop()
{
    const auto period = std::chrono::milliseconds(std::max(50, m_core.Options().TickMs));
    std::unique_lock lock(m_mutex);
    while (!m_stopping) {
        lock.unlock();
        m_core.RunScheduler(TServiceCore::Now());
        lock.lock();
        m_wake.wait_for(lock, period, [this] { return m_stopping; });
    }
}

} // namespace riz::service
