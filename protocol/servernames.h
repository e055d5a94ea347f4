#pragma once

#include <string>
#include <vector>

namespace riz {

// The service's servers: which one is preferred and which to try next. Text form:
// every host followed by ";", the preferred one with "*" before its ";" ("a;b*;c;").
class TServerNames final
{
public:
    void SetServerList(const std::string& text);
    std::string GetServerList() const;
    // Restarts the walk; the preferred server (the first one when none is preferred).
    std::string CurrentServer();
    void SetCurrentServer(const std::string& name);
    // The next server of the walk, skipping the preferred one; empty when none is left.
    std::string NextServer();

    const std::vector<std::string>& Names() const { return m_list; }
    const std::string& Current() const { return m_current; }

private:
    void Add(const std::string& name);

    std::vector<std::string> m_list; // sorted without regard to case, no duplicates
    std::string m_current;
    int m_walk = 0;
};

// Connection settings handed with every request.
struct TProxyInfo
{
    bool Enabled = false;
    std::string ProxyType = "SOCKS4"; // "HTTP", "SOCKS4", "SOCKS4a" or "SOCKS5"
    std::string Address;
    int Port = 0;
    std::string UserCode; // SOCKS5 only
    std::string Password; // SOCKS5 only

    bool operator==(const TProxyInfo&) const = default;
};

} // namespace riz
