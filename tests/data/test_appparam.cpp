#include "data/appparam.h"
#include "data/datacollection.h"
#include "platform/autostart.h"
#include "platform/clock.h"
#include "platform/inifile.h"
#include "platform/paths.h"
#include "tests/support/testpaths.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>

using namespace riz;

namespace {

std::string ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class AppParamTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        dir = test::TempDir("riz-ini");
        ini = dir + "/RIZAvivaze.ini";
        setenv("XDG_CONFIG_HOME", (dir + "/config").c_str(), 1);
        Clock::SetNow(EncodeDate(2003, 6, 15) + 0.5);
    }
    void TearDown() override
    {
        Clock::Reset();
        unsetenv("XDG_CONFIG_HOME");
    }

    std::string dir;
    std::string ini;
};

TEST_F(AppParamTest, FreshInstallationDefaultsWithoutWritingAnything)
{
    TAppParam p(dir);
    EXPECT_FALSE(p.bOneUserProfileFinished);
    EXPECT_FALSE(p.bPromptForUser);
    EXPECT_EQ(p.iHttpPort, 80);
    EXPECT_FALSE(p.ProxyInfo.Enabled);
    EXPECT_EQ(p.ProxyInfo.ProxyType, "SOCKS4");
    EXPECT_EQ(p.ProxyInfo.Address, "0.0.0.0");
    EXPECT_EQ(p.ProxyInfo.Port, 0);
    EXPECT_EQ(p.iSMSPrice, 15);
    EXPECT_EQ(p.iLogoPrice, 100);
    EXPECT_EQ(p.iRingPrice, 100);
    EXPECT_DOUBLE_EQ(p.fVAT, 16.0);
    EXPECT_EQ(p.sLatestVersion, "0.97.01"); // the program's own: no update offered
    EXPECT_EQ(p.ServerNames.Names().size(), 4u);
    EXPECT_EQ(p.ServerNames.Current(), p.ServerNames.Names().front());
    EXPECT_EQ(p.dtLastAddrBookChange, 0);
    EXPECT_FALSE(p.AutoStart);
    EXPECT_NE(p.sClientSiteHome.find("/riz-avivaze/client-sites/home.html"), std::string::npos);
    EXPECT_NE(p.sClientSiteHelp.find("/riz-avivaze/client-sites/help.html"), std::string::npos);
    EXPECT_NE(p.sClientSiteSupport.find("/riz-avivaze/client-sites/support.html"),
              std::string::npos);

    // Setting values the parameters already have writes nothing.
    p.SetOneUserProfileFinished(false);
    p.SetHttpPort(80);
    p.SetDefaultUser("");
    p.SetLatestVersion("0.97.01");
    p.SetLastAddrBookChange(0);
    EXPECT_FALSE(std::filesystem::exists(ini));
}

TEST_F(AppParamTest, SettersWriteThroughAndOnlyOnChange)
{
    {
        TAppParam p(dir);
        p.SetDefaultUser("anna@example.de");
        ASSERT_TRUE(std::filesystem::exists(ini));
        std::filesystem::remove(ini);
        p.SetDefaultUser("anna@example.de"); // unchanged: no write
        EXPECT_FALSE(std::filesystem::exists(ini));
        p.SetProxyInfo(p.ProxyInfo); // always writes
        EXPECT_TRUE(std::filesystem::exists(ini));

        p.SetDontAskForUpdates(true);
        p.SetLatestVersion("0.98.00");
        EXPECT_FALSE(p.bDontAskForUpdates); // a newer version is offered again

        TProxyInfo proxy{true, "SOCKS5", "proxy.local", 1080, "user", "pass word"};
        p.SetProxyInfo(proxy);
        p.SetConnectionSpeed(3);
        p.SetPromptForUser(true);
        p.SetValidPaymentOptions("<free-50><cc>");
        p.SetLastSelectedNode("Gesendete SMS;Privat;");
        p.SetDoNotRemindSaving(true);
        p.SetLastAskedForUpdate(EncodeDate(2003, 6, 1));
        p.sPreWireBankName = "Sparkasse K\xf6ln";        // the price task fills the bank values ...
        p.SetPricesDiscounts(12, 90, 95, 16.5, 2.25, 3); // ... and saves them with the prices
        EXPECT_DOUBLE_EQ(p.dtPricesDiscountsLastUpdated, Clock::Now());
    }
    TAppParam q(dir);
    EXPECT_EQ(q.sDefaultUser, "anna@example.de");
    EXPECT_EQ(q.sLatestVersion, "0.98.00");
    EXPECT_FALSE(q.bDontAskForUpdates);
    EXPECT_EQ(q.ProxyInfo, (TProxyInfo{true, "SOCKS5", "proxy.local", 1080, "user", "pass word"}));
    EXPECT_EQ(q.iConnectionSpeed, 3);
    EXPECT_TRUE(q.bPromptForUser);
    EXPECT_EQ(q.sValidPaymentOptions, "<free-50><cc>");
    EXPECT_EQ(q.sLastSelectedNode, "Gesendete SMS;Privat;");
    EXPECT_TRUE(q.bDoNotRemindSaving);
    EXPECT_DOUBLE_EQ(q.dtLastAskedForUpdate, EncodeDate(2003, 6, 1));
    EXPECT_EQ(q.sPreWireBankName, "Sparkasse K\xf6ln");
    EXPECT_EQ(q.iSMSPrice, 12);
    EXPECT_EQ(q.iLogoPrice, 90);
    EXPECT_EQ(q.iRingPrice, 95);
    EXPECT_DOUBLE_EQ(q.fVAT, 16.5);
    EXPECT_DOUBLE_EQ(q.fDiscountCC, 2.25);
    EXPECT_DOUBLE_EQ(q.fDiscountPreWire, 3);
    EXPECT_DOUBLE_EQ(q.dtPricesDiscountsLastUpdated, EncodeDate(2003, 6, 15) + 0.5);

    // The file: regional formats, sections in their order, no web-servers keys.
    const std::string text = ReadText(ini);
    EXPECT_NE(text.find("fVAT=16,5\n"), std::string::npos);
    EXPECT_NE(text.find("dtPricesDiscountsLastUpdated=15.06.2003 12:00:00\n"), std::string::npos);
    EXPECT_NE(text.find("dtLastAskedForUpdate=01.06.2003\n"), std::string::npos);
    EXPECT_NE(text.find("bPromptForUser=1\n"), std::string::npos);
    EXPECT_EQ(text.find("web-servers"), std::string::npos);
    EXPECT_EQ(text.find("sClientSite"), std::string::npos);
    const char* order[] = {"[user]",   "[servers]",        "[internet]",     "[other-data]",
                           "[update]", "[addressbook]",    "[history-tree]", "[prices/discounts]",
                           "[bank]",   "[logo/sound/text]"};
    std::size_t at = 0;
    for (const char* section : order) {
        const std::size_t found = text.find(section);
        ASSERT_NE(found, std::string::npos) << section;
        EXPECT_GT(found + 1, at) << section;
        at = found;
    }
}

TEST_F(AppParamTest, HandEditedFileSurvivesSavesAndBadValuesGiveDefaults)
{
    {
        std::ofstream out(ini, std::ios::binary);
        out << "; edited by the installer\r\n"
               "[web-servers]\r\n"
               "sWebsiteHome=http://reseller.example/\r\n"
               "sClientSiteHome = http://reseller.example/home.html \r\n"
               "[internet]\r\n"
               "iHttpPort=achtzig\r\n"
               "iProxyPort=3128\r\n"
               "[prices/discounts]\r\n"
               "fVAT=16.0\r\n"
               "dtPricesDiscountsLastUpdated=gestern\r\n"
               "[servers]\r\n"
               "sServerList=a;b*;c;\r\n"
               "[custom]\r\n"
               "sKeep=me\r\n";
    }
    struct stat st
    {
    };
    for (int round = 0; round < 3; ++round) {
        TAppParam p(dir);
        EXPECT_EQ(p.sWebsiteHome, "http://reseller.example/");
        EXPECT_EQ(p.sClientSiteHome, "http://reseller.example/home.html");
        // Not a number at first: the default; then what the last round stored.
        EXPECT_EQ(p.iHttpPort, round == 0 ? 80 : 8079 + round);
        EXPECT_EQ(p.ProxyInfo.Port, 3128);
        EXPECT_DOUBLE_EQ(p.fVAT, 16.0); // a point is read as well
        EXPECT_EQ(p.dtPricesDiscountsLastUpdated, 0);
        EXPECT_EQ(p.ServerNames.Names(), (std::vector<std::string>{"a", "b", "c"}));
        EXPECT_EQ(p.ServerNames.Current(), "b");
        ASSERT_EQ(stat(ini.c_str(), &st), 0);
        const ino_t before = st.st_ino;
        p.SetHttpPort(8080 + round);
        // Replaced by a new file (made while the old one still existed), never rewritten in place.
        ASSERT_EQ(stat(ini.c_str(), &st), 0);
        EXPECT_NE(st.st_ino, before);
    }
    TIniFile file(ini);
    EXPECT_EQ(file.ReadString("servers", "sServerList", ""), "a;b*;c;"); // written back unchanged
    EXPECT_EQ(file.ReadString("custom", "sKeep", ""), "me");
    EXPECT_EQ(file.ReadInteger("internet", "iHttpPort", 0), 8082);
    EXPECT_NE(ReadText(ini).find("; edited by the installer"), std::string::npos);
    // The file was replaced, never written in place: no temporary file is left over.
    for (const auto& e : std::filesystem::directory_iterator(dir))
        EXPECT_EQ(e.path().filename().string().find(".tmp"), std::string::npos) << e.path();
}

TEST_F(AppParamTest, AnIniFileThatCannotBeReadIsNotReplaced)
{
    // The name leads to a folder: there, but no profile can be read from it. Renaming a new
    // file over the name would work, and would lose the link.
    std::filesystem::create_directory(dir + "/elsewhere");
    std::filesystem::create_directory_symlink(dir + "/elsewhere", ini);
    {
        TAppParam p(dir);
        EXPECT_EQ(p.iHttpPort, 80); // defaults
        EXPECT_THROW(p.SetHttpPort(81), std::runtime_error);
    } // the final save fails quietly
    EXPECT_TRUE(std::filesystem::is_symlink(ini));
}

TEST_F(AppParamTest, ServerListRoundTripThroughTheFile)
{
    {
        TAppParam p(dir);
        p.ServerNames.SetServerList("host-a;host-b*;");
        p.Save();
    }
    EXPECT_EQ(TIniFile(ini).ReadString("servers", "sServerList", ""), "host-a;host-b*;");
    TAppParam q(dir);
    EXPECT_EQ(q.ServerNames.Current(), "host-b");
    q.ServerNames.SetCurrentServer("host-a");
    q.Save();
    EXPECT_EQ(TIniFile(ini).ReadString("servers", "sServerList", ""), "host-a*;host-b;");
}

TEST_F(AppParamTest, AddressBookBackupReminder)
{
    const TDateTime now = Clock::Now();
    struct Case
    {
        TDateTime change, save;
        bool noReminders;
        bool due;
    } cases[] = {
        {now - 4, now - 10, false, true},
        {now - 4, now - 10, true, false}, // reminders switched off
        {now - 4, now - 3, false, false}, // backup after the change
        {now - 2.9, 0, false, false},     // change less than three days old
        {0, 0, false, false},             // never changed
    };
    TAppParam p(dir);
    for (const Case& c : cases) {
        p.dtLastAddrBookChange = c.change;
        p.dtLastAddrBookSave = c.save;
        p.bDoNotRemindSaving = c.noReminders;
        EXPECT_EQ(p.IsAddrBookSaveReminderDue(), c.due) << c.change - now << " " << c.save - now;
    }
}

TEST_F(AppParamTest, IniFileAndDataFolderAreOwnerOnly)
{
    const std::string home = dir + "/home";
    TDataCollection dc(home);
    EXPECT_EQ(dc.ProgramDir, home);
    EXPECT_EQ(dc.DataDir, home + "/db");
    TAppParam p(dc.ProgramDir);
    p.Save();
    struct stat st
    {
    };
    ASSERT_EQ(stat(dc.DataDir.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    ASSERT_EQ(stat(p.IniFileName().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    // A data folder left wide open is narrowed; an INI file too, with its next save.
    chmod(dc.DataDir.c_str(), 0755);
    chmod(p.IniFileName().c_str(), 0644);
    TDataCollection again(home);
    p.SetHttpPort(81);
    ASSERT_EQ(stat(dc.DataDir.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    ASSERT_EQ(stat(p.IniFileName().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST_F(AppParamTest, ResellerIdAndProgramFolder)
{
    EXPECT_EQ(TDataCollection(dir).ResellerId, 0);
    std::ofstream(dir + "/reseller.ini") << "[reseller]\niResellerId=4711\n";
    EXPECT_EQ(TDataCollection(dir).ResellerId, 4711);
    std::ofstream(dir + "/reseller.ini") << "[reseller]\niResellerId=viele\n";
    EXPECT_EQ(TDataCollection(dir).ResellerId, 0);

    setenv("RIZ_AVIVAZE_HOME", (dir + "/custom/").c_str(), 1);
    EXPECT_EQ(ProgramFolder(), dir + "/custom");
    unsetenv("RIZ_AVIVAZE_HOME");
    EXPECT_FALSE(ProgramFolder().empty());
}

TEST_F(AppParamTest, AutoStartEntry)
{
    const std::string entry = dir + "/config/autostart/riz-avivaze.desktop";
    EXPECT_EQ(AutoStartEntryPath(), entry);
    {
        TAppParam p(dir);
        EXPECT_FALSE(p.AutoStart);
        p.SetAutoStart(true);
        EXPECT_TRUE(p.AutoStart);
        EXPECT_FALSE(std::filesystem::exists(ini)); // the INI file is not touched
    }
    const std::string text = ReadText(entry);
    EXPECT_NE(text.find("Exec=\"" + ExecutablePath() + "\""), std::string::npos) << text;
    TAppParam q(dir);
    EXPECT_TRUE(q.AutoStart);
    q.SetAutoStart(false);
    EXPECT_FALSE(std::filesystem::exists(entry));
    EXPECT_FALSE(IsAutoStartEnabled());

    ASSERT_TRUE(SetAutoStartEnabled(true, "/opt/my \"apps\"/riz$1"));
    EXPECT_NE(ReadText(entry).find("Exec=\"/opt/my \\\\\"apps\\\\\"/riz\\\\$1\""),
              std::string::npos)
        << ReadText(entry);
}

} // namespace
