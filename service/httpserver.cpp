#include "service/httpserver.h"

#include "service/sitepages.h"

#include <algorithm>
#include <chrono>

namespace riz::service {
namespace {

constexpr const char* kProtocolPath = "/VORaradi/VORaradi.dll/ZK";
constexpr const char* kEchoPath = "/VORaradi/VORaradi.dll/ECHO";
constexpr const char* kNoticePath = "/riz-avivaze/messages/service_interruption[de].txt";
constexpr const char* kSitePrefix = "/riz-avivaze/client-sites/";

THttpResponse NotFound()
{
    return {404, "not found", "text/plain"};
}

} // namespace

bool IsLoopbackAddress(const std::string& address)
{
    return address.rfind("127.", 0) == 0 || address == "::1" ||
           address.rfind("::ffff:127.", 0) == 0;
}

TServiceHttp::TServiceHttp(TServiceCore& core)
    : m_core(core), m_listener([this](const THttpRequest& req) { return Route(req); })
{}

TServiceHttp::~TServiceHttp()
{
    Stop();
    if (m_scheduler.joinable())
        m_scheduler.join();
}

THttpResponse TServiceHttp::Route(const THttpRequest& req)
{
    if (req.Path == kProtocolPath) {
        if (req.Query.rfind("r=", 0) != 0)
            return {400, "bad request", "text/plain"};
        const THttpReply reply = m_core.HandleRequestText(req.Query.substr(2));
        return {reply.Status, reply.Body, reply.ContentType};
    }
    if (req.Path == kEchoPath)
        return {200, req.Query, "text/plain"};
    if (req.Path == kNoticePath) {
        const std::string& notice = m_core.Options().InterruptionNotice;
        if (notice.empty())
            return NotFound();
        return {200, notice, "text/plain; charset=windows-1252"};
    }
    if (req.Path.rfind(kSitePrefix, 0) == 0) {
        std::string html;
        if (!SitePage(req.Path.substr(std::string(kSitePrefix).size()), html))
            return NotFound();
        return {200, html, "text/html; charset=utf-8"};
    }
    if (req.Path == "/admin") {
        if (!IsLoopbackAddress(req.PeerAddress))
            return {403, "forbidden", "text/plain"};
        return {200, AdminPage(m_core), "text/html; charset=utf-8"};
    }
    return NotFound();
}

int TServiceHttp::Bind(const std::string& host, int port)
{
    return m_listener.Bind(host, port);
}

void TServiceHttp::Run()
{
    m_scheduler = std::thread([this] { SchedulerLoop(); });
    m_listener.Run();
    Stop();
    if (m_scheduler.joinable())
        m_scheduler.join();
}

void TServiceHttp::Stop()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    m_listener.Stop();
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
