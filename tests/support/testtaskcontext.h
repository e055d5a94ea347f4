#pragma once

#include "protocol/zkcrypt.h"
#include "tasks/taskcontext.h"

#include <string>

namespace riz::test {

// A task context for tests: its own server list, port and proxy, a session key under the
// development service key, a fixed login, and the connection problem dialog answered through
// ModalHook ("TFormConnectionError"). Installed while it lives.
class TestTaskContext final : public TTaskContext
{
public:
    TestTaskContext();
    ~TestTaskContext() override;

    TServerNames& Servers() override { return servers; }
    int HttpPort() const override { return port; }
    TProxyInfo Proxy() const override { return proxy; }
    void SaveParameters() override { ++saves; savedServerList = servers.GetServerList(); }
    std::string InterruptionNoticeUrl() const override { return noticeUrl; }
    std::string LoginEmail() const override { return email; }
    std::string LoginPassword() const override { return password; }
    void StoreLatestVersion(const std::string& v) override { latestVersion = v; }
    const TZKCrypt& Crypt() const override { return crypt; }
    double Now() const override;
    int ShowConnectionError(const std::string& errorText) override;

    TServerNames servers;
    int port = 80;
    TProxyInfo proxy;
    std::string noticeUrl = "http://127.0.0.9/riz-avivaze/messages/service_interruption[de].txt";
    std::string email = "kunde@example.de";
    std::string password = "geheim";
    std::string latestVersion;
    std::string savedServerList;
    int saves = 0;
    TZKCrypt crypt;
};

} // namespace riz::test
