#include "platform/clock.h"
#include "platform/modalhook.h"
#include "shell/updateoffer.h"
#include "tests/shell/guiapp.h"
#include "tests/support/testpaths.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <gtest/gtest.h>

namespace riz {
namespace {

const std::string kOwn = "0.97.01";

// The update keys as the INI file keeps them: a newly announced version clears the refusal.
struct FakeUpdateParams final : IUpdateParams
{
    std::string latest = kOwn;
    bool dontAsk = false;
    TDateTime lastAsked = 0;
    int writes = 0;

    std::string LatestVersion() const override { return latest; }
    bool DontAskForUpdates() const override { return dontAsk; }
    TDateTime LastAskedForUpdate() const override { return lastAsked; }
    void SetDontAskForUpdates(bool v) override
    {
        dontAsk = v;
        ++writes;
    }
    void SetLastAskedForUpdate(TDateTime v) override
    {
        lastAsked = v;
        ++writes;
    }
};

int CountPrompts(const std::string& kind)
{
    int n = 0;
    for (const auto& r : ModalHook::History())
        n += r.kind == kind;
    return n;
}

class UpdateOffer : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ModalHook::Clear();
        ModalHook::ClearHistory();
        Clock::SetNow(EncodeDateTime({2026, 5, 4, 10, 0, 0, 0}));
        offer.StartUpdater = [this](const std::string& dir) {
            started.push_back(dir);
            return updaterStarts;
        };
        offer.RunTask = [this](int taskId, int& result) {
            tasks.push_back(taskId);
            result = taskResult;
            return taskOutcome;
        };
    }
    void TearDown() override { Clock::Reset(); }

    FakeUpdateParams params;
    TUpdateOffer offer{params, kOwn, "/opt/riz"};
    std::vector<std::string> started;
    bool updaterStarts = true;
    std::vector<int> tasks;
    int taskOutcome = 1;
    int taskResult = 0;
};

TEST_F(UpdateOffer, ComparesVersionsByteWise)
{
    struct Case
    {
        std::string latest;
        bool offered;
    };
    for (const Case& c : {Case{"0.97.02", true}, Case{"0.98.00", true}, Case{"1.00.00", true},
                          Case{"0.100.01", false}, Case{"0.97.01", false}, Case{"0.97.00", false},
                          Case{"0.97.1", true}}) {
        ModalHook::ClearHistory();
        params = FakeUpdateParams{};
        params.latest = c.latest;
        ModalHook::PushAnswer("TFormNewVersion", 7);
        const auto outcome = offer.CheckForUpdate(TUpdateOffer::umStart);
        EXPECT_EQ(CountPrompts("TFormNewVersion"), c.offered ? 1 : 0) << c.latest;
        EXPECT_EQ(outcome, c.offered ? TUpdateOffer::uoDeclined : TUpdateOffer::uoNoUpdate)
            << c.latest;
        ModalHook::Clear();
    }
}

TEST_F(UpdateOffer, DontAskStopsStartOffersUntilAnotherVersion)
{
    params.latest = "0.97.02";
    ModalHook::PushAnswer("TFormNewVersion", 7, "dontask");
    EXPECT_EQ(offer.CheckForUpdate(TUpdateOffer::umStart), TUpdateOffer::uoDeclined);
    EXPECT_TRUE(params.dontAsk);
    EXPECT_EQ(params.lastAsked, Clock::Now());
    EXPECT_EQ(ModalHook::History().back().text, "0.97.01 -> 0.97.02");

    // The next starts, even days later, stay silent.
    Clock::Advance(3);
    EXPECT_EQ(offer.CheckForUpdate(TUpdateOffer::umStart), TUpdateOffer::uoNotDue);
    EXPECT_EQ(offer.CheckForUpdate(TUpdateOffer::umAfterAction), TUpdateOffer::uoNotDue);
    EXPECT_EQ(CountPrompts("TFormNewVersion"), 1);

    // The menu item still offers it.
    ModalHook::PushAnswer("TFormNewVersion", 7);
    EXPECT_EQ(offer.CheckForUpdate(TUpdateOffer::umManual), TUpdateOffer::uoDeclined);
    EXPECT_EQ(tasks, std::vector<int>{50435});
    EXPECT_EQ(CountPrompts("TFormNewVersion"), 2);
    EXPECT_FALSE(params.dontAsk) << "'Nein' without the check box clears the refusal";
}

TEST_F(UpdateOffer, NeinWithoutCheckBoxAsksAgainAtNextStart)
{
    params.latest = "0.97.02";
    ModalHook::PushAnswer("TFormNewVersion", 7);
    offer.CheckForUpdate(TUpdateOffer::umStart);
    EXPECT_FALSE(params.dontAsk);
    ModalHook::PushAnswer("TFormNewVersion", 7);
    EXPECT_EQ(offer.CheckForUpdate(TUpdateOffer::umStart), TUpdateOffer::uoDeclined);
    EXPECT_EQ(CountPrompts("TFormNewVersion"), 2);
}

TEST_F(UpdateOffer, AfterUserActionsAtMostOnceADay)
{
    params.latest = "0.97.02";
    struct Case
    {
        double lastAskedDaysAgo;
        bool offered;
    };
    for (const Case c : {Case{0.5, false}, Case{1.0, false}, Case{1.01, true}, Case{30, true}}) {
        ModalHook::ClearHistory();
        params.lastAsked = Clock::Now() - c.lastAskedDaysAgo;
        ModalHook::PushAnswer("TFormNewVersion", 7);
        offer.CheckForUpdate(TUpdateOffer::umAfterAction);
        EXPECT_EQ(CountPrompts("TFormNewVersion"), c.offered ? 1 : 0) << c.lastAskedDaysAgo;
        ModalHook::Clear();
    }
}

TEST_F(UpdateOffer, JaStartsTheUpdateProgram)
{
    params.latest = "0.97.02";
    ModalHook::PushAnswer("TFormNewVersion", 6, "dontask");
    EXPECT_EQ(offer.CheckForUpdate(TUpdateOffer::umStart), TUpdateOffer::uoUpdateStarted);
    EXPECT_EQ(started, std::vector<std::string>{"/opt/riz"});
    EXPECT_FALSE(params.dontAsk) << "the check box counts only with 'Nein'";
    EXPECT_EQ(params.lastAsked, Clock::Now());
    EXPECT_EQ(CountPrompts("error"), 0);

    updaterStarts = false;
    ModalHook::PushAnswer("TFormNewVersion", 6);
    ModalHook::PushAnswer("error", 1);
    EXPECT_EQ(offer.CheckForUpdate(TUpdateOffer::umStart), TUpdateOffer::uoUpdateFailed);
    ASSERT_EQ(CountPrompts("error"), 1);
    EXPECT_EQ(ModalHook::History().back().text, "Update-Programm konnte nicht gestartet werden.");
}

TEST_F(UpdateOffer, ManualModeAsksTheServiceFirst)
{
    struct Case
    {
        int outcome;
        int result;
        std::string latest;
        std::string prompt; // the prompt shown, if any
    };
    const std::vector<Case> cases = {
        {2, 0, "0.97.02", ""},      {1, 11, "0.97.02", "error"},
        {1, 4, "0.97.02", "error"}, {1, 0, "0.97.01", "info"},
        {1, 0, "0.100.01", "info"}, {1, 0, "0.97.02", "TFormNewVersion"},
    };
    for (const Case& c : cases) {
        ModalHook::ClearHistory();
        params = FakeUpdateParams{};
        params.latest = c.latest;
        taskOutcome = c.outcome;
        taskResult = c.result;
        if (!c.prompt.empty())
            ModalHook::PushAnswer(c.prompt, c.prompt == "TFormNewVersion" ? 7 : 1);
        offer.CheckForUpdate(TUpdateOffer::umManual);
        if (c.prompt.empty()) {
            EXPECT_TRUE(ModalHook::History().empty());
        } else {
            ASSERT_EQ(ModalHook::History().size(), 1u) << c.outcome << "/" << c.result;
            EXPECT_EQ(ModalHook::History()[0].kind, c.prompt);
        }
        EXPECT_FALSE(ModalHook::HasPending());
    }
    EXPECT_EQ(tasks.size(), cases.size());
}

TEST(UpdateProgram, StartsOnlyAnExecutableInTheProgramFolder)
{
    test::GuiApp();
    const std::string dir = test::TempDir("riz-update");
    EXPECT_FALSE(StartUpdateProgram(dir)) << "missing";

    QFile file(QString::fromStdString(UpdateProgramPath(dir)));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    const std::string marker = dir + "/started";
    file.write(("#!/bin/sh\necho \"$#\" > \"" + marker + "\"\n").c_str());
    file.close();
    EXPECT_FALSE(StartUpdateProgram(dir)) << "not executable";

    file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
    ASSERT_TRUE(StartUpdateProgram(dir));
    // The program runs detached; wait for its mark.
    QFile mark(QString::fromStdString(marker));
    for (int i = 0; i < 500 && !(mark.exists() && mark.size() > 0); ++i)
        QTest::qWait(20);
    ASSERT_TRUE(mark.open(QIODevice::ReadOnly));
    EXPECT_EQ(mark.readAll().trimmed(), "0") << "started without arguments";
}

} // namespace
} // namespace riz
