// The balance request through real proxies on loopback: dante for SOCKS4, SOCKS4a and SOCKS5
// with a user and password, tinyproxy for HTTP.
#include "platform/modalhook.h"
#include "platform/strings.h"
#include "tasks/communicationscreen.h"
#include "tasks/taskfactory.h"
#include "tests/support/proxyprocess.h"
#include "tests/support/qtapp.h"
#include "tests/support/standinserver.h"
#include "tests/support/testtaskcontext.h"

#include <gtest/gtest.h>

using namespace riz;
using riz::test::ProxyProcess;

namespace {

class CreditsProbe final : public TComTaskZK
{
public:
    using TComTaskZK::TComTaskZK;

protected:
    void AssembleDataString(TCSDataString& m) override
    {
        SetHeader(m, "GET_SMS_CREDITS", "1.00");
        AddLogin(m);
    }
};

struct ProxyCase
{
    const char* type;
    ProxyProcess::Kind kind;
};

class ThroughProxy : public ::testing::TestWithParam<ProxyCase>
{
protected:
    void SetUp() override
    {
        test::EnsureApp();
        ModalHook::Clear();
        ModalHook::ClearHistory();
        RegisterTask(50452, [](int id) { return std::make_unique<CreditsProbe>(id); });
    }
};

} // namespace

TEST_P(ThroughProxy, BalanceRequestSucceeds)
{
    ProxyProcess proxy(GetParam().kind);
    if (proxy.Unavailable())
        GTEST_SKIP() << proxy.Why();
    ASSERT_TRUE(proxy.Running()) << proxy.Why();
    test::TestTaskContext ctx;
    test::StandInServer server("127.0.0.1", 0);
    server.SetReply({200, "<ZK>rslt=0\\pcredits=70\\p</ZK>"});
    ctx.port = server.Port();
    ctx.servers.SetServerList("127.0.0.1*;");
    ctx.proxy = {true, GetParam().type, "127.0.0.1", proxy.Port(), ProxyProcess::kUser,
                 ProxyProcess::kPassword};
    ModalHook::PushAnswer("TFormConnectionError", 2); // used only when the proxy fails
    TCommunicationScreen screen;
    ASSERT_EQ(screen.Execute(50452), 1) << proxy.Log();
    ModalHook::Clear();
    EXPECT_EQ(screen.ResultCode, 0);
    ASSERT_EQ(server.Requests().size(), 1u);
    // The proxy really carried it: its log names the connection to the server's port.
    EXPECT_NE(proxy.Log().find(std::to_string(server.Port())), std::string::npos) << proxy.Log();
}

INSTANTIATE_TEST_SUITE_P(Kinds, ThroughProxy,
                         ::testing::Values(ProxyCase{"SOCKS4", ProxyProcess::Kind::Socks},
                                           ProxyCase{"SOCKS4a", ProxyProcess::Kind::Socks4a},
                                           ProxyCase{"SOCKS5", ProxyProcess::Kind::Socks},
                                           ProxyCase{"HTTP", ProxyProcess::Kind::Http}),
                         [](const auto& info) { return std::string(info.param.type); });

TEST(ThroughProxyAuth, WrongSocks5PasswordIsAConnectionError)
{
    test::EnsureApp();
    ModalHook::Clear();
    ModalHook::ClearHistory();
    RegisterTask(50452, [](int id) { return std::make_unique<CreditsProbe>(id); });
    ProxyProcess proxy(ProxyProcess::Kind::Socks);
    if (proxy.Unavailable())
        GTEST_SKIP() << proxy.Why();
    ASSERT_TRUE(proxy.Running()) << proxy.Why();
    test::TestTaskContext ctx;
    test::StandInServer server("127.0.0.1", 0);
    ctx.port = server.Port();
    ctx.servers.SetServerList("127.0.0.1*;");
    ctx.noticeUrl = "http://127.0.0.1/notice.txt"; // fetched through the same proxy: fails too
    ctx.proxy = {true, "SOCKS5", "127.0.0.1", proxy.Port(), ProxyProcess::kUser, "falsch"};
    ModalHook::PushAnswer("TFormConnectionError", 2);
    TCommunicationScreen screen;
    EXPECT_EQ(screen.Execute(50452), 2);
    EXPECT_TRUE(server.Requests().empty());
    ASSERT_EQ(ModalHook::History().size(), 1u);
    EXPECT_EQ(ModalHook::History()[0].text, LoadStr(10906));
}
