#pragma once

#include <memory>
#include <string>

class QProcess;

namespace riz::test {

// A real proxy on a loopback port for the transport's proxy tests: Debian's dante (SOCKS4,
// SOCKS4a, SOCKS5 with a user name and password checked against the system's accounts) or
// tinyproxy (HTTP), or a small SOCKS4a relay over Perl's IO::Socket::Socks, since dante does
// not speak 4a. Started with a configuration of its own in a temporary folder; stopped in
// the destructor. Why() tells what is missing when one cannot run here.
class ProxyProcess final
{
public:
    enum class Kind { Socks, Socks4a, Http };

    explicit ProxyProcess(Kind kind);
    ~ProxyProcess();

    bool Running() const { return m_running; }
    // True when the proxy cannot run on this machine at all (not installed, no right to create
    // its account); a proxy that is there but fails to start is a failure, not a reason to skip.
    bool Unavailable() const { return m_unavailable; }
    const std::string& Why() const { return m_why; }
    int Port() const { return m_port; }
    std::string Log() const;

    // The account SOCKS5 clients log in with (created on first use when we may).
    static constexpr const char* kUser = "rizproxy";
    static constexpr const char* kPassword = "Proxy-Geheim-42";

private:
    bool EnsureUser();
    bool WaitForPort(int ms) const;

    Kind m_kind;
    std::unique_ptr<QProcess> m_process;
    std::string m_dir;
    int m_port = 0;
    bool m_running = false;
    bool m_unavailable = false;
    std::string m_why;
};

} // namespace riz::test
