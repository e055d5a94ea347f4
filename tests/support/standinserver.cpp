#include "tests/support/standinserver.h"

#include "protocol/serverenvelope.h"
#include "tests/support/testpaths.h"

#include <httplib.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>

namespace riz::test {

int FreeLoopbackPort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    socklen_t len = sizeof addr;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
    const int port = ntohs(addr.sin_port);
    ::close(fd);
    return port;
}

StandInServer::StandInServer(const std::string& host, int port)
    : m_server(std::make_unique<httplib::Server>())
{
    static TZKPrivateKey key = [] {
        TZKPrivateKey k;
        std::string error;
        if (!k.Load(SourceDir() + "/keys/dev-service.key", error))
            throw std::runtime_error(error);
        return k;
    }();
    m_reply.message = "<ZK>rslt=0\\p</ZK>";
    // One request per connection, so that stopping never waits for an idle keep-alive.
    m_server->set_keep_alive_max_count(1);
    m_server->Get(R"(/VORaradi/VORaradi\.dll/ZK)", [this](const httplib::Request& req,
                                                          httplib::Response& res) {
        // The request text is the raw query after "r=".
        const std::string target = req.target;
        const size_t r = target.find("?r=");
        const std::string text = r == std::string::npos ? std::string() : target.substr(r + 3);
        TZKServerEnvelope envelope(key);
        TZKOpenedRequest opened;
        std::string error;
        const bool ok = envelope.OpenRequest(text, opened, error);
        Reply reply;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_received.push_back({req.path, ok ? opened.Message : std::string()});
            if (!m_queue.empty()) {
                reply = m_queue.front();
                m_queue.erase(m_queue.begin());
            } else {
                reply = m_reply;
            }
        }
        if (reply.delayMs)
            std::this_thread::sleep_for(std::chrono::milliseconds(reply.delayMs));
        res.status = reply.status;
        if (!reply.rawBody.empty())
            res.set_content(reply.rawBody, "text/plain");
        else if (reply.plain)
            res.set_content(TZKServerEnvelope::AnswerHeader(false) + reply.message, "text/plain");
        else
            res.set_content(TZKServerEnvelope::AnswerHeader(true) +
                                TZKServerEnvelope::EncryptAnswer(reply.message, opened.Key),
                            "text/plain");
    });
    if (port == 0)
        port = FreeLoopbackPort();
    if (!m_server->bind_to_port(host.c_str(), port))
        throw std::runtime_error("cannot listen on " + host + ":" + std::to_string(port));
    m_port = port;
    m_thread = std::thread([this] { m_server->listen_after_bind(); });
    // The socket listens from bind_to_port on; connections wait until the loop accepts them.
}

StandInServer::~StandInServer()
{
    m_server->stop();
    if (m_thread.joinable())
        m_thread.join();
}

void StandInServer::SetReply(Reply reply)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_reply = std::move(reply);
}

void StandInServer::QueueReply(Reply reply)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_queue.push_back(std::move(reply));
}

std::vector<StandInServer::Received> StandInServer::Requests() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_received;
}

void StandInServer::ServeFile(const std::string& path, int status, const std::string& body)
{
    std::string pattern;
    for (char c : path) {
        if (std::string("[](){}.*+?^$|\\").find(c) != std::string::npos)
            pattern += '\\';
        pattern += c;
    }
    m_server->Get(pattern, [status, body](const httplib::Request&, httplib::Response& res) {
        res.status = status;
        res.set_content(body, "text/plain");
    });
}

} // namespace riz::test
