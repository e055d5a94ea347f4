#include "protocol/httpcom.h"

#include <QSocketNotifier>
#include <curl/curl.h>

#include <cstdio>
#include <mutex>
#include <stdexcept>

namespace riz {

// Trace hook: the transport writes its error line through the program's trace routine when one
// is installed (the protocol library itself has no debug output of its own).
namespace {
void (*g_trace)(const std::string&) = nullptr;

void InitCurl()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}
} // namespace

void SetTransportTrace(void (*trace)(const std::string&))
{
    g_trace = trace;
}

struct THttpCom::SocketWatch
{
    QSocketNotifier* read = nullptr;
    QSocketNotifier* write = nullptr;
};

THttpCom::THttpCom(QObject* owner) : QObject(owner)
{
    InitCurl();
    m_multi = curl_multi_init();
    curl_multi_setopt(m_multi, CURLMOPT_SOCKETFUNCTION, &THttpCom::SocketCallback);
    curl_multi_setopt(m_multi, CURLMOPT_SOCKETDATA, this);
    curl_multi_setopt(m_multi, CURLMOPT_TIMERFUNCTION, &THttpCom::TimerCallback);
    curl_multi_setopt(m_multi, CURLMOPT_TIMERDATA, this);

    m_curlTimer.setSingleShot(true);
    connect(&m_curlTimer, &QTimer::timeout, this, &THttpCom::CurlTimeout);
    m_connectTimer.setSingleShot(true);
    connect(&m_connectTimer, &QTimer::timeout, this, &THttpCom::ConnectTimerTimer);
    m_answerTimer.setSingleShot(true);
    connect(&m_answerTimer, &QTimer::timeout, this, &THttpCom::AnswerTimerTimer);
    m_dispatchTimer.setInterval(kDispatchMs);
    connect(&m_dispatchTimer, &QTimer::timeout, this, &THttpCom::DispatchTimerTimer);
}

THttpCom::~THttpCom()
{
    Cancel();
    for (auto& [fd, watch] : m_sockets) {
        delete watch->read;
        delete watch->write;
    }
    m_sockets.clear();
    curl_multi_cleanup(m_multi);
}

std::string THttpCom::InsertPort(const std::string& url, int port)
{
    if (port == 80)
        return url;
    size_t hostBegin = 0;
    if (url.size() > 7 && url.compare(0, 7, "http://") == 0)
        hostBegin = 7;
    const size_t slash = url.find('/', hostBegin);
    if (slash == std::string::npos)
        throw std::invalid_argument("Invalid URL");
    return url.substr(0, slash) + ":" + std::to_string(port) + url.substr(slash);
}

void THttpCom::Get(const std::string& url, int port, int answerTimeoutMs, int connectTimeoutMs,
                   const TProxyInfo& proxy)
{
    m_url = InsertPort(url, port);
    StopRequest();
    m_connectTimer.setInterval(connectTimeoutMs);
    m_answerTimer.setInterval(answerTimeoutMs);

    // Proxy: an unknown kind keeps the kind that was set before.
    if (proxy.Enabled) {
        m_proxy.address = proxy.Address;
        m_proxy.port = proxy.Port & 0xFFFF;
        if (proxy.ProxyType == "HTTP" || proxy.ProxyType == "SOCKS4" ||
            proxy.ProxyType == "SOCKS4a" || proxy.ProxyType == "SOCKS5")
            m_proxy.kind = proxy.ProxyType;
        if (proxy.ProxyType == "SOCKS5") {
            m_proxy.user = proxy.UserCode;
            m_proxy.password = proxy.Password;
        } else {
            m_proxy.user.clear();
            m_proxy.password.clear();
        }
    } else {
        m_proxy.address.clear();
    }

    m_connectTimer.start();
    m_cancelled = false;
    m_pending = false;
    m_connected = false;
    m_tooLarge = false;
    m_buffer.clear();
    m_status.clear();
    m_body.reset();
    m_errorText.clear();

    m_easy = curl_easy_init();
    curl_easy_setopt(m_easy, CURLOPT_URL, m_url.c_str());
    curl_easy_setopt(m_easy, CURLOPT_HTTPGET, 1L);
    curl_easy_setopt(m_easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(m_easy, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(m_easy, CURLOPT_WRITEFUNCTION, &THttpCom::WriteCallback);
    curl_easy_setopt(m_easy, CURLOPT_WRITEDATA, this);
    curl_easy_setopt(m_easy, CURLOPT_PREREQFUNCTION, &THttpCom::PrereqCallback);
    curl_easy_setopt(m_easy, CURLOPT_PREREQDATA, this);
    curl_easy_setopt(m_easy, CURLOPT_USERAGENT, "RIZ Avivaze");
    // Our own timers watch connecting and answering; libcurl's limits only as a backstop.
    curl_easy_setopt(m_easy, CURLOPT_CONNECTTIMEOUT_MS, 0L);
    if (m_proxy.address.empty()) {
        // An empty proxy also keeps libcurl from taking one from the environment.
        curl_easy_setopt(m_easy, CURLOPT_PROXY, "");
    } else {
        curl_easy_setopt(m_easy, CURLOPT_PROXY, m_proxy.address.c_str());
        curl_easy_setopt(m_easy, CURLOPT_PROXYPORT, static_cast<long>(m_proxy.port));
        long type = CURLPROXY_SOCKS4;
        if (m_proxy.kind == "HTTP")
            type = CURLPROXY_HTTP;
        else if (m_proxy.kind == "SOCKS4a")
            type = CURLPROXY_SOCKS4A;
        else if (m_proxy.kind == "SOCKS5")
            type = CURLPROXY_SOCKS5;
        curl_easy_setopt(m_easy, CURLOPT_PROXYTYPE, type);
        if (m_proxy.kind == "SOCKS5" && !m_proxy.user.empty()) {
            curl_easy_setopt(m_easy, CURLOPT_PROXYUSERNAME, m_proxy.user.c_str());
            curl_easy_setopt(m_easy, CURLOPT_PROXYPASSWORD, m_proxy.password.c_str());
        }
        curl_easy_setopt(m_easy, CURLOPT_NOPROXY, "");
    }
    curl_multi_add_handle(m_multi, m_easy);
}

void THttpCom::Cancel()
{
    m_cancelled = true;
    m_connectTimer.stop();
    m_answerTimer.stop();
    m_dispatchTimer.stop();
    m_pending = false;
    StopRequest();
}

void THttpCom::StopRequest()
{
    if (!m_easy)
        return;
    curl_multi_remove_handle(m_multi, m_easy);
    curl_easy_cleanup(m_easy);
    m_easy = nullptr;
}

int THttpCom::SocketCallback(CURL*, int s, int what, void* userp, void*)
{
    auto* self = static_cast<THttpCom*>(userp);
    auto it = self->m_sockets.find(s);
    if (what == CURL_POLL_REMOVE) {
        if (it != self->m_sockets.end()) {
            // The notifier may be the one whose signal is running right now.
            for (QSocketNotifier* n : {it->second->read, it->second->write}) {
                if (n) {
                    n->setEnabled(false);
                    n->deleteLater();
                }
            }
            self->m_sockets.erase(it);
        }
        return 0;
    }
    if (it == self->m_sockets.end()) {
        auto watch = std::make_unique<SocketWatch>();
        watch->read = new QSocketNotifier(s, QSocketNotifier::Read, self);
        watch->write = new QSocketNotifier(s, QSocketNotifier::Write, self);
        connect(watch->read, &QSocketNotifier::activated, self,
                [self, s] { self->SocketActivity(s, CURL_CSELECT_IN); });
        connect(watch->write, &QSocketNotifier::activated, self,
                [self, s] { self->SocketActivity(s, CURL_CSELECT_OUT); });
        it = self->m_sockets.emplace(s, std::move(watch)).first;
    }
    it->second->read->setEnabled(what == CURL_POLL_IN || what == CURL_POLL_INOUT);
    it->second->write->setEnabled(what == CURL_POLL_OUT || what == CURL_POLL_INOUT);
    return 0;
}

int THttpCom::TimerCallback(CURLM*, long timeoutMs, void* userp)
{
    auto* self = static_cast<THttpCom*>(userp);
    if (timeoutMs < 0)
        self->m_curlTimer.stop();
    else
        self->m_curlTimer.start(static_cast<int>(timeoutMs));
    return 0;
}

std::size_t THttpCom::WriteCallback(char* ptr, std::size_t size, std::size_t nmemb, void* userp)
{
    auto* self = static_cast<THttpCom*>(userp);
    const std::size_t n = size * nmemb;
    if (self->m_buffer.size() + n > kMaxBody) {
        self->m_tooLarge = true;
        return 0; // ends the transfer with a write error
    }
    self->m_buffer.append(ptr, n);
    return n;
}

int THttpCom::PrereqCallback(void* userp, char*, char*, int, int)
{
    static_cast<THttpCom*>(userp)->Connected();
    return CURL_PREREQFUNC_OK;
}

void THttpCom::Connected()
{
    if (m_connected)
        return;
    m_connected = true;
    m_connectTimer.stop();
    m_answerTimer.start();
}

void THttpCom::SocketActivity(int fd, int action)
{
    int running = 0;
    curl_multi_socket_action(m_multi, fd, action, &running);
    CheckDone();
}

void THttpCom::CurlTimeout()
{
    int running = 0;
    curl_multi_socket_action(m_multi, CURL_SOCKET_TIMEOUT, 0, &running);
    CheckDone();
}

void THttpCom::CheckDone()
{
    int left = 0;
    while (CURLMsg* msg = curl_multi_info_read(m_multi, &left)) {
        if (msg->msg != CURLMSG_DONE || msg->easy_handle != m_easy)
            continue;
        const CURLcode code = msg->data.result;
        long status = 0;
        curl_easy_getinfo(m_easy, CURLINFO_RESPONSE_CODE, &status);
        curl_socket_t sock = CURL_SOCKET_BAD;
        curl_easy_getinfo(m_easy, CURLINFO_ACTIVESOCKET, &sock);
        StopRequest();
        m_connectTimer.stop();
        m_answerTimer.stop();
        if (code == CURLE_OK) {
            if (m_cancelled)
                return;
            m_status = std::to_string(status);
            if (m_status == "200")
                m_body = std::make_unique<std::string>(std::move(m_buffer));
            m_buffer.clear();
            Finish(PendingKind::Result);
        } else {
            m_errorText = m_tooLarge ? "answer larger than " + std::to_string(kMaxBody) + " bytes"
                                     : curl_easy_strerror(code);
            m_buffer.clear();
            if (g_trace) {
                char line[512];
                std::snprintf(line, sizeof line,
                              "THttpCom::IpHttpClientError -- Socket = %d, ErrCode = %d, ErrStr = %s",
                              static_cast<int>(sock), static_cast<int>(code), m_errorText.c_str());
                g_trace(line);
            }
            Finish(PendingKind::Error);
        }
        return;
    }
}

void THttpCom::Finish(PendingKind kind)
{
    m_pendingKind = kind;
    m_dispatchTimer.start();
    m_pending = true;
}

void THttpCom::ConnectTimerTimer()
{
    m_connectTimer.stop();
    StopRequest();
    Finish(PendingKind::ConnectTimeout);
}

void THttpCom::AnswerTimerTimer()
{
    m_answerTimer.stop();
    StopRequest();
    Finish(PendingKind::AnswerTimeout);
}

void THttpCom::DispatchTimerTimer()
{
    if (!m_pending)
        return;
    m_dispatchTimer.stop();
    m_pending = false;
    switch (m_pendingKind) {
    case PendingKind::Result:
        if (OnResult)
            OnResult(m_status, std::move(m_body));
        break;
    case PendingKind::Error:
        if (OnError)
            OnError();
        break;
    case PendingKind::ConnectTimeout:
        if (OnConnectTimeout)
            OnConnectTimeout();
        break;
    case PendingKind::AnswerTimeout:
        if (OnAnswerTimeout)
            OnAnswerTimeout();
        break;
    }
}

} // namespace riz
