// The runner and the task framework against stand-in servers on loopback addresses: the walk
// over the servers, the service-interruption notice, redirects, answer forms and cancelling.
#include "platform/ezkerror.h"
#include "platform/modalhook.h"
#include "platform/strings.h"
#include "platform/text.h"
#include "platform/widgets/msgbox.h"
#include "tasks/communicationscreen.h"
#include "tasks/taskfactory.h"
#include "tests/support/qtapp.h"
#include "tests/support/standinserver.h"
#include "tests/support/testtaskcontext.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

using namespace riz;
using riz::test::StandInServer;

namespace {

// A balance request whose answer the test reads back.
class ProbeTask final : public TComTaskZK
{
public:
    explicit ProbeTask(int id, bool abort = false) : TComTaskZK(id), m_abort(abort) {}
    static inline std::string lastCredits;

protected:
    void AssembleDataString(TCSDataString& m) override
    {
        SetHeader(m, "GET_SMS_CREDITS", "1.00");
        AddLogin(m);
        Aborted = m_abort;
    }
    void AnalyseResult(TCSDataString& answer) override
    {
        lastCredits = answer.HasParam("credits") ? answer.GetParam("credits").AsString() : "";
        TComTaskZK::AnalyseResult(answer);
    }

private:
    bool m_abort;
};

class Runner : public ::testing::Test
{
protected:
    void SetUp() override
    {
        test::EnsureApp();
        ModalHook::Clear();
        ModalHook::ClearHistory();
        RegisterTask(50452, [](int id) { return std::make_unique<ProbeTask>(id); });
        RegisterTask(50435, [](int id) { return std::make_unique<ProbeTask>(id, true); });
        ProbeTask::lastCredits.clear();
        port = test::FreeLoopbackPort();
        ctx.port = port;
    }
    void TearDown() override { EXPECT_FALSE(ModalHook::HasPending()) << "an answer was not used"; }

    std::unique_ptr<StandInServer> Serve(const std::string& host)
    {
        return std::make_unique<StandInServer>(host, port);
    }
    int Run(int id = 50452) { return screen.Execute(id); }
    std::vector<std::string> Shown(const std::string& kind) const
    {
        std::vector<std::string> out;
        for (const auto& r : ModalHook::History())
            if (r.kind == kind)
                out.push_back(r.text);
        return out;
    }

    int port = 0;
    test::TestTaskContext ctx;
    std::unique_ptr<TCommunicationScreen> owner{(test::EnsureApp(), new TCommunicationScreen)};
    TCommunicationScreen& screen = *owner;
};

const char* kCredits = "<ZK>rslt=0\\pcredits=250\\platest_version=0.97.02\\p</ZK>";

} // namespace

TEST_F(Runner, BalanceRequestReachesTheServiceAndReportsItsResult)
{
    auto server = Serve("127.0.0.1");
    server->SetReply({200, kCredits});
    ctx.servers.SetServerList("127.0.0.1*;");
    ASSERT_EQ(Run(), 1);
    EXPECT_EQ(screen.ResultCode, 0);
    EXPECT_EQ(ProbeTask::lastCredits, "250");
    EXPECT_EQ(ctx.latestVersion, "0.97.02");
    const auto requests = server->Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].message,
              "<ZK TYPE=\"RQST\" NAME=\"GET_SMS_CREDITS\" VER=\"1.00\" PROGVER=\"0.97.01\">"
              "email_address=kunde@example.de\\ppassword=geheim\\pmy_version=0.97.01\\p</ZK>");
    EXPECT_EQ(FromQString(screen.LabelLog->text()), LoadStr(50402));
    EXPECT_TRUE(ModalHook::History().empty());
}

TEST_F(Runner, FailoverWalksToTheNextServerAndPrefersIt)
{
    // 127.0.0.2 refuses connections, 127.0.0.3 answers HTTP 500, 127.0.0.4 never answers in
    // time, 127.0.0.5 answers.
    auto error500 = Serve("127.0.0.3");
    error500->SetReply({500, ""});
    auto silent = Serve("127.0.0.4");
    silent->SetReply({200, kCredits, false, "", 2500});
    auto good = Serve("127.0.0.5");
    good->SetReply({200, kCredits});
    ctx.servers.SetServerList("127.0.0.2*;127.0.0.3;127.0.0.4;127.0.0.5;");
    ASSERT_EQ(Run(), 1);
    EXPECT_EQ(screen.ResultCode, 0);
    EXPECT_EQ(error500->Requests().size(), 1u);
    EXPECT_EQ(silent->Requests().size(), 1u);
    EXPECT_EQ(good->Requests().size(), 1u);
    // The server that answered is preferred from now on, and that was saved.
    EXPECT_EQ(ctx.savedServerList, "127.0.0.2;127.0.0.3;127.0.0.4;127.0.0.5*;");
    EXPECT_TRUE(ModalHook::History().empty());
}

TEST_F(Runner, OneServerFailingFetchesTheNoticeAndAsksTheUser)
{
    auto site = Serve("127.0.0.1");
    site->ServeFile("/riz-avivaze/messages/service_interruption[de].txt", 200, "Wartungsarbeiten bis 18 Uhr.");
    ctx.noticeUrl = "http://127.0.0.1/riz-avivaze/messages/service_interruption[de].txt";
    ctx.servers.SetServerList("127.0.0.2*;"); // nobody listens there
    ModalHook::PushAnswer("question", TMsgBox::mrNo);
    ASSERT_EQ(Run(), 2); // gave up
    const auto questions = Shown("question");
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_EQ(questions[0], Format(LoadStr(50305), std::string("Wartungsarbeiten bis 18 Uhr.")));
}

TEST_F(Runner, NoticeMissingShowsTheConnectionDialogAndRetryWalksAgain)
{
    auto site = Serve("127.0.0.1");
    site->ServeFile("/riz-avivaze/messages/service_interruption[de].txt", 404, "nicht da");
    ctx.noticeUrl = "http://127.0.0.1/riz-avivaze/messages/service_interruption[de].txt";
    ctx.servers.SetServerList("127.0.0.2*;");
    // First round: retry; second round: give up.
    ModalHook::PushAnswer("TFormConnectionError", 1);
    ModalHook::PushAnswer("TFormConnectionError", 2);
    ASSERT_EQ(Run(), 2);
    const auto dialogs = Shown("TFormConnectionError");
    ASSERT_EQ(dialogs.size(), 2u);
    EXPECT_EQ(dialogs[0], LoadStr(10904));
}

TEST_F(Runner, AnswerFormsAndFaults)
{
    auto server = Serve("127.0.0.1");
    ctx.servers.SetServerList("127.0.0.1*;");

    // A plain "00" answer is read without decryption.
    server->SetReply({200, kCredits, true});
    ASSERT_EQ(Run(), 1);
    EXPECT_EQ(ProbeTask::lastCredits, "250");

    // Garbage is a decode error: notice fetch (nothing there), then the dialog with 10905.
    ctx.noticeUrl = "http://127.0.0.1/nothing-here.txt";
    server->SetReply({200, "", false, "0001------------zz!garbage"});
    ModalHook::PushAnswer("TFormConnectionError", 2);
    ASSERT_EQ(Run(), 2);
    // The notice fetch got 404, which is what the dialog finally reports.
    ASSERT_EQ(Shown("TFormConnectionError").size(), 1u);
    EXPECT_EQ(Shown("TFormConnectionError")[0], LoadStr(10904));
}

TEST_F(Runner, DecodeErrorIsTheDialogTextWhenNoNoticeIsAsked)
{
    // With a second server that also sends garbage, the last failure before the notice is a
    // decode error; a notice site that is down ends as a connection error.
    auto a = Serve("127.0.0.1");
    a->SetReply({200, "", false, "0001------------zz!garbage"});
    ctx.noticeUrl = "http://127.0.0.9/notice.txt";
    ctx.servers.SetServerList("127.0.0.1*;");
    ModalHook::PushAnswer("TFormConnectionError", 2);
    ASSERT_EQ(Run(), 2);
    ASSERT_EQ(Shown("TFormConnectionError").size(), 1u);
    EXPECT_EQ(Shown("TFormConnectionError")[0], LoadStr(10906));
}

TEST_F(Runner, RedirectResendsTheSameRequestToTheNewList)
{
    auto old = Serve("127.0.0.1");
    old->SetReply({200, "<ZK>rslt=6\\pserver_list=127.0.0.7;127.0.0.6*;\\p</ZK>"});
    auto fresh = Serve("127.0.0.6");
    fresh->SetReply({200, kCredits});
    ctx.servers.SetServerList("127.0.0.1*;");
    ASSERT_EQ(Run(), 1);
    EXPECT_EQ(screen.ResultCode, 0);
    ASSERT_EQ(old->Requests().size(), 1u);
    ASSERT_EQ(fresh->Requests().size(), 1u);
    EXPECT_EQ(old->Requests()[0].message, fresh->Requests()[0].message);
    EXPECT_EQ(ctx.servers.GetServerList(), "127.0.0.6*;127.0.0.7;");
    EXPECT_EQ(ctx.savedServerList, "127.0.0.6*;127.0.0.7;");
    EXPECT_TRUE(ModalHook::History().empty());
}

TEST_F(Runner, AbortedAssemblySendsNothingAndReportsNine)
{
    auto server = Serve("127.0.0.1");
    ctx.servers.SetServerList("127.0.0.1*;");
    ASSERT_EQ(Run(50435), 1);
    EXPECT_EQ(screen.ResultCode, kResultNothingSent);
    EXPECT_TRUE(server->Requests().empty());
}

TEST_F(Runner, CancelAsksFirstAndNoKeepsTheRequestRunning)
{
    auto server = Serve("127.0.0.1");
    server->SetReply({200, kCredits, false, "", 600});
    ctx.servers.SetServerList("127.0.0.1*;");

    // No: the request goes on and completes.
    screen.OnTaskStarted = [](TCommunicationScreen& s) {
        QTimer::singleShot(100, &s, [&s] { s.BtnCancel->click(); });
    };
    ModalHook::PushAnswer("question", TMsgBox::mrNo);
    ASSERT_EQ(Run(), 1);
    EXPECT_EQ(screen.ResultCode, 0);
    EXPECT_EQ(Shown("question"), std::vector<std::string>{LoadStr(20001)});

    // Yes: cancelled, nothing reported afterwards.
    ModalHook::ClearHistory();
    screen.ResultCode = -1;
    ModalHook::PushAnswer("question", TMsgBox::mrYes);
    ASSERT_EQ(Run(), 2);
    EXPECT_EQ(screen.ResultCode, -1);
    screen.OnTaskStarted = nullptr;
}

TEST_F(Runner, UnknownTaskIdRaises19001)
{
    // Every id of the table is known to the runner; an id outside it has no class.
    EXPECT_EQ(KnownTaskIds().size(), 37u);
    try {
        CreateTask(50499);
        FAIL();
    } catch (const EZKError& e) {
        EXPECT_EQ(e.Code, 19001);
    }
}
