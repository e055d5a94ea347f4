#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace riz::service {

// One request as the listener read it.
struct THttpRequest
{
    std::string Method;
    std::string Path;  // percent-decoded
    std::string Query; // as sent, after "?"
    std::string PeerAddress;
};

struct THttpResponse
{
    int Status = 200;
    std::string Body;
    std::string ContentType = "text/plain";
};

// What the head of a request says beyond the request itself.
struct THttpHead
{
    bool KeepAlive = false;
    size_t ContentLength = 0;
};

// Reads a request head (request line and headers, without the empty line): 0, or the HTTP
// status to refuse it with (400, 413, 414, 501).
int ParseRequestHead(const std::string& head, THttpRequest& req, THttpHead& out);

// A small HTTP/1.1 server for GET requests: keep-alive, a fixed pool of workers, time-outs for
// slow peers, and a request line of up to kMaxRequestLine bytes, since the protocol carries
// whole address books and folder trees in the query.
class THttpListener final
{
public:
    using THandler = std::function<THttpResponse(const THttpRequest&)>;

    static constexpr size_t kMaxRequestLine = 1024 * 1024;
    static constexpr size_t kMaxHeaders = 64 * 1024;
    static constexpr size_t kMaxBody = 64 * 1024;
    static constexpr int kTimeoutMs = 5000;
    static constexpr int kMaxRequestsPerConnection = 1000;

    THttpListener(THandler handler, int workers = 32);
    ~THttpListener();
    THttpListener(const THttpListener&) = delete;
    THttpListener& operator=(const THttpListener&) = delete;

    // Binds an IPv4 address; port 0 picks a free one. The bound port, or -1.
    int Bind(const std::string& host, int port);
    // Accepts and serves until Stop().
    void Run();
    // Closes the listening socket and every open connection; Run() returns soon after.
    void Stop();

private:
    void Worker();
    void Serve(int fd, const std::string& peer);
    void Forget(int fd);

    THandler m_handler;
    int m_workerCount;
    int m_listenFd = -1;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<std::pair<int, std::string>> m_pending;
    std::set<int> m_open;
    std::vector<std::thread> m_workers;
    bool m_stopping = false;
};

} // namespace riz::service
