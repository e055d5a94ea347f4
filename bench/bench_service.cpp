// riz-service costs side by side with its anchor: a SEND_SMS request (envelope, handler,
// storage, encrypted answer) against the echo request on the same server and connection.
// Each benchmark reports requests per second and the median latency of one request.
#include "protocol/csdatastring.h"
#include "protocol/cstable.h"
#include "protocol/serverenvelope.h"
#include "protocol/servicekey.h"
#include "protocol/zkcrypt.h"
#include "service/httpserver.h"
#include "service/servicecore.h"

#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

using namespace riz;
using namespace riz::service;

namespace {

// A keep-alive HTTP/1.1 client over one socket, enough for these GET requests.
class Connection
{
public:
    explicit Connection(int port) : m_port(port) { Open(); }
    ~Connection()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }

    void Open()
    {
        m_buf.clear();
        m_fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_port = htons(static_cast<uint16_t>(m_port));
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        const int one = 1;
        ::setsockopt(m_fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        if (::connect(m_fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
            ::close(m_fd);
            m_fd = -1;
        }
    }

    // The body of a 200 answer; false for anything else.
    bool Get(const std::string& target, std::string& body)
    {
        if (m_fd < 0)
            return false;
        const std::string req = "GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
        if (::send(m_fd, req.data(), req.size(), MSG_NOSIGNAL) != static_cast<ssize_t>(req.size()))
            return false;
        size_t end;
        while ((end = m_buf.find("\r\n\r\n")) == std::string::npos)
            if (!Read())
                return false;
        const std::string head = m_buf.substr(0, end);
        const size_t cl = head.find("Content-Length: ");
        if (head.rfind("HTTP/1.1 200", 0) != 0 || cl == std::string::npos)
            return false;
        const size_t length = std::stoul(head.substr(cl + 16));
        while (m_buf.size() < end + 4 + length)
            if (!Read())
                return false;
        body = m_buf.substr(end + 4, length);
        m_buf.erase(0, end + 4 + length);
        // The server ends a connection now and then; the next request opens a new one.
        if (head.find("Connection: close") != std::string::npos) {
            ::close(m_fd);
            Open();
        }
        return true;
    }

private:
    bool Read()
    {
        char chunk[16384];
        const ssize_t n = ::recv(m_fd, chunk, sizeof chunk, 0);
        if (n <= 0)
            return false;
        m_buf.append(chunk, static_cast<size_t>(n));
        return true;
    }

    int m_port;
    int m_fd = -1;
    std::string m_buf;
};

// One service in this process for all benchmarks, on a free loopback port.
struct Service
{
    Service()
    {
        dir = std::filesystem::temp_directory_path() /
              ("riz-bench-service-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        TServiceOptions options;
        options.DbPath = (dir / "service.sqlite").string();
        TZKPrivateKey key;
        std::string error;
        const auto keyPath =
            std::filesystem::path(__FILE__).parent_path().parent_path() / "keys/dev-service.key";
        if (!key.Load(keyPath.string(), error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            std::exit(1);
        }
        core = std::make_unique<TServiceCore>(options, std::move(key));
        http = std::make_unique<TServiceHttp>(*core);
        port = http->Bind("127.0.0.1", 0);
        thread = std::thread([this] { http->Run(); });
        // Wait until it serves.
        for (int i = 0; i < 200; ++i) {
            std::string body;
            if (Connection(port).Get("/VORaradi/VORaradi.dll/ECHO?test", body))
                break;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        core->WithDb([](TServiceDb& db) {
            db.Exec("INSERT INTO customers(email, password, confirmed, reg_code, credits, created) "
                    "VALUES('bench@example.org', 'geheim', 1, '', 2000000000, 0)");
        });
    }
    ~Service()
    {
        http->Stop();
        thread.join();
        http.reset();
        core.reset();
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }

    std::filesystem::path dir;
    std::unique_ptr<TServiceCore> core;
    std::unique_ptr<TServiceHttp> http;
    std::thread thread;
    int port = 0;
};

Service& TheService()
{
    static Service service;
    return service;
}

std::string SendSmsTarget(TZKCrypt& crypt)
{
    TCSDataString m;
    m.Type = "RQST";
    m.Name = "SEND_SMS";
    m.Ver = "1.01";
    m.ProgVer = "0.97.01";
    m.AddParam(TCSParam::Text("email_address", "bench@example.org"));
    m.AddParam(TCSParam::Text("password", "geheim"));
    m.AddParam(TCSParam::Text("sms_text", "Hallo, wir treffen uns um acht am Bahnhof. Bis dann!"));
    m.AddParam(TCSParam::Text("sms_sender", "01725555555"));
    TCSTable receivers;
    receivers.SetColumnCount(2);
    receivers.ColumnName(0) = "receiver_id";
    receivers.ColumnName(1) = "receiver_number";
    receivers.AddRow();
    receivers.CurrentCell(0).SetInt(1);
    receivers.CurrentCell(1).SetString("+491725555555");
    m.AddParam(TCSParam::Table("receivers", receivers));
    m.AddParam(TCSParam::Int("dont_split", 1));
    m.AddParam(TCSParam::Int("free", 0));
    m.AddParam(TCSParam::Text("my_version", "0.97.01"));
    m.Encode();
    return std::string("/VORaradi/VORaradi.dll/ZK?r=") + kRequestPrefix +
           crypt.EncryptRequest(m.Text, 40000.5);
}

void Measure(benchmark::State& state, const std::string& target, bool decrypt)
{
    Service& service = TheService();
    Connection connection(service.port);
    TZKCrypt crypt(7);
    crypt.SetPublicKey(kServicePublicExponent, kServiceModulus);
    crypt.SetMarker(kServiceMarker);
    crypt.GenerateSessionKey();
    const std::string path = target.empty() ? SendSmsTarget(crypt) : target;
    std::vector<double> micros;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        std::string body;
        if (!connection.Get(path, body)) {
            state.SkipWithError("request failed");
            break;
        }
        if (decrypt) {
            const std::string answer = crypt.DecryptAnswer(body.substr(16));
            benchmark::DoNotOptimize(answer);
        }
        micros.push_back(
            std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
                .count());
    }
    if (!micros.empty()) {
        std::nth_element(micros.begin(), micros.begin() + micros.size() / 2, micros.end());
        state.counters["median_us"] = micros[micros.size() / 2];
    }
    state.counters["requests_per_s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_Echo(benchmark::State& state)
{
    Measure(state, "/VORaradi/VORaradi.dll/ECHO?test", false);
}

void BM_SendSms(benchmark::State& state)
{
    Measure(state, "", true);
}

} // namespace

BENCHMARK(BM_Echo)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_SendSms)->UseRealTime()->MinTime(2.0);

BENCHMARK_MAIN();
