#pragma once

#include "service/httplistener.h"
#include "service/servicecore.h"

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace riz::service {

// The HTTP face of the service: the protocol path, the echo, the notice, the web pages, /admin,
// and the scheduler thread that runs while the server listens.
class TServiceHttp final
{
public:
    explicit TServiceHttp(TServiceCore& core);
    ~TServiceHttp();
    TServiceHttp(const TServiceHttp&) = delete;
    TServiceHttp& operator=(const TServiceHttp&) = delete;

    // Binds host:port (port 0 picks a free one); the bound port, or -1.
    int Bind(const std::string& host, int port);
    // Serves until Stop().
    void Run();
    void Stop();

private:
    void SchedulerLoop();
    THttpResponse Route(const THttpRequest& req);

    TServiceCore& m_core;
    THttpListener m_listener;
    std::thread m_scheduler;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stopping = false;
};

// The admin page: customers with their credits, outbox, phone inboxes, scheduled SMS, the
// latest requests, the code pool.
std::string AdminPage(TServiceCore& core);
// Whether a peer address is on this machine.
bool IsLoopbackAddress(const std::string& address);

} // namespace riz::service
