#pragma once

#include "protocol/zkcrypt.h"

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace httplib {
class Server;
}

namespace riz::test {

// A small HTTP server on a loopback address for the transport's failure paths: it opens the
// request envelope with the development key and answers what the test tells it to (an
// encrypted or plain message, an HTTP error, garbage, or nothing for a while).
class StandInServer final
{
public:
    struct Reply
    {
        int status = 200;
        std::string message;     // the tagged answer; encrypted unless plain
        bool plain = false;
        std::string rawBody;     // sent as it stands when not empty (garbage, notice text)
        int delayMs = 0;         // wait before answering
    };
    struct Received
    {
        std::string path;
        std::string message;     // the opened request message, empty when it did not open
    };

    // Listens on host:port; port 0 picks a free one.
    StandInServer(const std::string& host, int port);
    ~StandInServer();

    int Port() const { return m_port; }
    // The reply to every following request (default: rslt 0).
    void SetReply(Reply reply);
    // Replies used once each, in order, before the default one.
    void QueueReply(Reply reply);
    std::vector<Received> Requests() const;

    // Answers a text file at a path (the service-interruption notice).
    void ServeFile(const std::string& path, int status, const std::string& body);

private:
    std::unique_ptr<httplib::Server> m_server;
    std::thread m_thread;
    int m_port = 0;
    mutable std::mutex m_mutex;
    Reply m_reply;
    std::vector<Reply> m_queue;
    std::vector<Received> m_received;
};

// A free TCP port on the loopback interface.
int FreeLoopbackPort();

} // namespace riz::test
