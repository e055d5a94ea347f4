#include "service/httplistener.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace riz::service {
namespace {

const char* Reason(int status)
{
    switch (status) {
    case 200:
        return "OK";
    case 400:
        return "Bad Request";
    case 403:
        return "Forbidden";
    case 404:
        return "Not Found";
    case 405:
        return "Method Not Allowed";
    case 408:
        return "Request Timeout";
    case 413:
        return "Payload Too Large";
    case 414:
        return "URI Too Long";
    case 431:
        return "Request Header Fields Too Large";
    case 501:
        return "Not Implemented";
    default:
        return "Internal Server Error";
    }
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::string PercentDecode(const std::string& s)
{
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size() && HexValue(s[i + 1]) >= 0 && HexValue(s[i + 2]) >= 0) {
            out += static_cast<char>(HexValue(s[i + 1]) * 16 + HexValue(s[i + 2]));
            i += 2;
        } else {
            out += s[i];
        }
    }
    return out;
}

std::string Lower(std::string s)
{
    for (auto& c : s)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return s;
}

std::string Trim(const std::string& s)
{
    const size_t b = s.find_first_not_of(" \t");
    if (b == std::string::npos)
        return {};
    return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

// Reads more bytes into buf; false on end, error or time-out.
bool ReadMore(int fd, std::string& buf)
{
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, THttpListener::kTimeoutMs) <= 0)
        return false;
    char chunk[16384];
    const ssize_t n = ::recv(fd, chunk, sizeof chunk, 0);
    if (n <= 0)
        return false;
    buf.append(chunk, static_cast<size_t>(n));
    return true;
}

bool SendAll(int fd, const std::string& data)
{
    size_t sent = 0;
    while (sent < data.size()) {
        pollfd p{fd, POLLOUT, 0};
        if (::poll(&p, 1, THttpListener::kTimeoutMs) <= 0)
            return false;
        const ssize_t n = ::send(fd, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
        if (n <= 0)
            return false;
        sent += static_cast<size_t>(n);
    }
    return true;
}

bool Respond(int fd, const THttpResponse& r, bool keepAlive, bool head = false)
{
    std::string out =
        "HTTP/1.1 " + std::to_string(r.Status) + " " + Reason(r.Status) +
        "\r\nContent-Type: " + r.ContentType +
        "\r\nContent-Length: " + std::to_string(r.Body.size()) +
        (keepAlive ? "\r\nConnection: keep-alive\r\n\r\n" : "\r\nConnection: close\r\n\r\n");
    if (!head)
        out += r.Body;
    return SendAll(fd, out);
}

} // namespace

int ParseRequestHead(const std::string& head, THttpRequest& req, THttpHead& out)
{
    const size_t lineEnd = head.find("\r\n");
    const std::string requestLine = head.substr(0, lineEnd);
    if (requestLine.size() > THttpListener::kMaxRequestLine)
        return 414;
    const size_t sp1 = requestLine.find(' ');
    const size_t sp2 = requestLine.rfind(' ');
    if (sp1 == std::string::npos || sp2 == sp1)
        return 400;
    req.Method = requestLine.substr(0, sp1);
    std::string target = requestLine.substr(sp1 + 1, sp2 - sp1 - 1);
    const std::string version = requestLine.substr(sp2 + 1);
    if (version.rfind("HTTP/1.", 0) != 0 || req.Method.empty() || target.empty())
        return 400;
    out.KeepAlive = version == "HTTP/1.1";
    out.ContentLength = 0;
    bool chunked = false;
    size_t pos = lineEnd == std::string::npos ? head.size() : lineEnd + 2;
    while (pos < head.size()) {
        size_t next = head.find("\r\n", pos);
        if (next == std::string::npos)
            next = head.size();
        const std::string header = head.substr(pos, next - pos);
        pos = next + 2;
        const size_t colon = header.find(':');
        if (colon == std::string::npos)
            continue;
        const std::string name = Lower(Trim(header.substr(0, colon)));
        const std::string value = Lower(Trim(header.substr(colon + 1)));
        if (name == "connection") {
            out.KeepAlive = value == "keep-alive" || (out.KeepAlive && value != "close");
        } else if (name == "content-length") {
            if (value.empty() || value.size() > 9 ||
                value.find_first_not_of("0123456789") != std::string::npos)
                return 400;
            out.ContentLength = std::stoul(value);
        } else if (name == "transfer-encoding") {
            chunked = true;
        }
    }
    if (chunked)
        return 501;
    if (out.ContentLength > THttpListener::kMaxBody)
        return 413;
    // "http://host:port/path" as a proxy may send it.
    if (target.rfind("http://", 0) == 0) {
        const size_t slash = target.find('/', 7);
        target = slash == std::string::npos ? "/" : target.substr(slash);
    }
    const size_t q = target.find('?');
    req.Path = PercentDecode(target.substr(0, q));
    req.Query = q == std::string::npos ? std::string() : target.substr(q + 1);
    return 0;
}

THttpListener::THttpListener(THandler handler, int workers)
    : m_handler(std::move(handler)), m_workerCount(workers)
{}

THttpListener::~THttpListener()
{
    Stop();
    for (auto& w : m_workers)
        if (w.joinable())
            w.join();
    if (m_listenFd >= 0)
        ::close(m_listenFd);
}

int THttpListener::Bind(const std::string& host, int port)
{
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<uint16_t>(port));
    const std::string ip = host == "localhost" ? "127.0.0.1" : host;
    if (::inet_pton(AF_INET, ip.c_str(), &addr.sin_addr) != 1)
        return -1;
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    const int one = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
        ::listen(fd, 128) != 0) {
        ::close(fd);
        return -1;
    }
    socklen_t len = sizeof addr;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
    m_listenFd = fd;
    return ntohs(addr.sin_port);
}

void THttpListener::Run()
{
    for (int i = 0; i < m_workerCount; ++i)
        m_workers.emplace_back([this] { Worker(); });
    while (true) {
        {
            std::lock_guard lock(m_mutex);
            if (m_stopping)
                break;
        }
        pollfd p{m_listenFd, POLLIN, 0};
        if (::poll(&p, 1, 100) <= 0)
            continue;
        sockaddr_in peer{};
        socklen_t len = sizeof peer;
        const int fd =
            ::accept4(m_listenFd, reinterpret_cast<sockaddr*>(&peer), &len, SOCK_CLOEXEC);
        if (fd < 0)
            continue;
        const int one = 1;
        ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        char text[INET_ADDRSTRLEN] = {};
        ::inet_ntop(AF_INET, &peer.sin_addr, text, sizeof text);
        std::lock_guard lock(m_mutex);
        if (m_stopping) {
            ::close(fd);
            break;
        }
        m_pending.emplace_back(fd, text);
        m_open.insert(fd);
        m_wake.notify_one();
    }
    for (auto& w : m_workers)
        if (w.joinable())
            w.join();
    m_workers.clear();
}

void THttpListener::Stop()
{
    std::lock_guard lock(m_mutex);
    m_stopping = true;
    // Wakes workers that wait on a peer.
    for (int fd : m_open)
        ::shutdown(fd, SHUT_RDWR);
    m_wake.notify_all();
}

void THttpListener::Forget(int fd)
{
    std::lock_guard lock(m_mutex);
    m_open.erase(fd);
    ::close(fd);
}

void THttpListener::Worker()
{
    while (true) {
        std::pair<int, std::string> next;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_stopping || !m_pending.empty(); });
            if (m_pending.empty())
                return; // stopping
            next = m_pending.front();
            m_pending.pop_front();
        }
        Serve(next.first, next.second);
        Forget(next.first);
    }
}

void THttpListener::Serve(int fd, const std::string& peer)
{
    std::string buf;
    for (int served = 0; served < kMaxRequestsPerConnection; ++served) {
        // The head: request line and headers, up to the empty line.
        size_t end;
        size_t searched = 0;
        while ((end = buf.find("\r\n\r\n", searched)) == std::string::npos) {
            searched = buf.size() > 3 ? buf.size() - 3 : 0;
            const size_t line = buf.find("\r\n");
            if ((line == std::string::npos && buf.size() > kMaxRequestLine) ||
                (line != std::string::npos && line > kMaxRequestLine)) {
                Respond(fd, {414, "request line too long", "text/plain"}, false);
                return;
            }
            if (line != std::string::npos && buf.size() - line > kMaxHeaders) {
                Respond(fd, {431, "headers too large", "text/plain"}, false);
                return;
            }
            if (!ReadMore(fd, buf))
                return; // closed, failed or too slow
        }
        const std::string head = buf.substr(0, end);
        buf.erase(0, end + 4);

        THttpRequest req;
        THttpHead parsed;
        const int status = ParseRequestHead(head, req, parsed);
        if (status != 0) {
            Respond(fd, {status, Reason(status), "text/plain"}, false);
            return;
        }
        bool keepAlive = parsed.KeepAlive;
        // A body is read and set aside; no request of ours has one.
        while (buf.size() < parsed.ContentLength)
            if (!ReadMore(fd, buf))
                return;
        buf.erase(0, parsed.ContentLength);
        req.PeerAddress = peer;

        THttpResponse response;
        if (req.Method != "GET" && req.Method != "HEAD") {
            response = {405, "only GET", "text/plain"};
        } else {
            try {
                response = m_handler(req);
            } catch (...) {
                response = {500, "internal error", "text/plain"};
            }
        }
        {
            std::lock_guard lock(m_mutex);
            if (m_stopping || served + 1 == kMaxRequestsPerConnection)
                keepAlive = false;
        }
        if (!Respond(fd, response, keepAlive, req.Method == "HEAD") || !keepAlive)
            return;
    }
}

} // namespace riz::service
