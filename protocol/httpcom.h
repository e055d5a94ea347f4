#pragma once

#include "protocol/servernames.h"

#include <QObject>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

class QSocketNotifier;
typedef void CURL;
typedef void CURLM;

namespace riz {

// Installs the routine the transport writes its error line to (the program's trace).
void SetTransportTrace(void (*trace)(const std::string&));

// One asynchronous HTTP GET at a time over libcurl's multi interface, driven from the Qt event
// loop (socket notifiers and one timer; no threads). It watches two time-outs of its own and
// delivers exactly one outcome per request through its 100 ms dispatch timer, so a receiver may
// start the next request, cancel or destroy the object from inside its handler.
class THttpCom final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(THttpCom)

public:
    enum class PendingKind : std::uint8_t { Result = 0, Error = 1, ConnectTimeout = 2, AnswerTimeout = 3 };

    // Bodies above this size end as an error instead of filling the memory.
    static constexpr std::size_t kMaxBody = 64u * 1024u * 1024u;
    static constexpr int kDispatchMs = 100;

    explicit THttpCom(QObject* owner = nullptr);
    ~THttpCom() override;

    // Starts one GET. Throws std::invalid_argument("Invalid URL") when the port must go into a
    // URL that has no path.
    void Get(const std::string& url, int port, int answerTimeoutMs, int connectTimeoutMs,
             const TProxyInfo& proxy);
    void Cancel();

    // The URL with the port written in (unchanged for port 80).
    static std::string InsertPort(const std::string& url, int port);

    std::function<void(const std::string& status, std::unique_ptr<std::string> body)> OnResult;
    std::function<void()> OnError;
    std::function<void()> OnConnectTimeout;
    std::function<void()> OnAnswerTimeout;

    // What the transport handed to libcurl for the last request, for tests and the trace.
    struct ProxySetting
    {
        std::string address; // empty: direct connection
        int port = 0;
        std::string kind;    // "HTTP", "SOCKS4", "SOCKS4a", "SOCKS5"
        std::string user;
        std::string password;
    };
    const ProxySetting& LastProxy() const { return m_proxy; }
    const std::string& LastUrl() const { return m_url; }
    const std::string& LastErrorText() const { return m_errorText; }

private:
    static int SocketCallback(CURL* easy, int s, int what, void* userp, void* socketp);
    static int TimerCallback(CURLM* multi, long timeoutMs, void* userp);
    static std::size_t WriteCallback(char* ptr, std::size_t size, std::size_t nmemb, void* userp);
    static int PrereqCallback(void* userp, char* conn_primary_ip, char* conn_local_ip,
                              int conn_primary_port, int conn_local_port);

    void SocketActivity(int fd, int action);
    void CurlTimeout();
    void CheckDone();
    void Connected();
    void Finish(PendingKind kind);
    void StopRequest();
    void DispatchTimerTimer();
    void ConnectTimerTimer();
    void AnswerTimerTimer();

    CURLM* m_multi = nullptr;
    CURL* m_easy = nullptr;
    QTimer m_curlTimer;
    struct SocketWatch;
    std::map<int, std::unique_ptr<SocketWatch>> m_sockets;

    QTimer m_connectTimer;
    QTimer m_answerTimer;
    QTimer m_dispatchTimer;
    PendingKind m_pendingKind = PendingKind::Result;
    bool m_pending = false;
    bool m_cancelled = false;
    bool m_connected = false;
    std::string m_status;
    std::unique_ptr<std::string> m_body;
    std::string m_buffer;
    bool m_tooLarge = false;

    std::string m_url;
    ProxySetting m_proxy;
    std::string m_errorText;
};

} // namespace riz
