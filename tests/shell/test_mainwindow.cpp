#include "data/appparam.h"
#include "data/datacollection.h"
#include "data/datamodules.h"
#include "data/datamodulesms.h"
#include "platform/clock.h"
#include "platform/modalhook.h"
#include "shell/bannershow.h"
#include "shell/controls/orvotrayicon.h"
#include "shell/controls/shellrequests.h"
#include "shell/controls/webaddress.h"
#include "shell/formrizavivaze.h"
#include "shell/startup.h"
#include "shell/updateoffer.h"
#include "shell/updateparams.h"
#include "shell/webpage.h"
#include "tasks/taskfactory.h"
#include "tests/shell/guiapp.h"
#include "tests/support/testpaths.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QProcess>
#include <QSystemTrayIcon>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace riz {
namespace {

// Stands in for the browser and records what the pages ask of it.
struct WebLog
{
    std::vector<std::string> calls; // "page navigate address" or "page reload"
};
WebLog g_web;

class RecordingView final : public IWebView
{
public:
    explicit RecordingView(QWidget* parent)
        : m_widget(new QWidget(parent)), m_name(parent->objectName().toStdString())
    {}
    QWidget* Widget() override { return m_widget; }
    void Navigate(const std::string& a) override
    {
        g_web.calls.push_back(m_name + " navigate " + a);
    }
    void Reload() override { g_web.calls.push_back(m_name + " reload"); }

private:
    QWidget* m_widget;
    std::string m_name;
};

class MainWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        test::GuiApp();
        ModalHook::Clear();
        ModalHook::ClearHistory();
        g_web.calls.clear();
        SetWebViewFactory([](QWidget* parent) { return std::make_unique<RecordingView>(parent); });
        dir = test::TempDir("riz-shell");
        qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(dir + "/config"));
    }
    void TearDown() override
    {
        form.reset();
        DestroyDataModules();
        SetWebViewFactory({});
        SetWebAddressOpener({});
        TFormRIZAvivaze::SharedHooks() = {};
        Clock::Reset();
    }

    // The program's objects in the order of its start.
    void Create(const QStringList& args = {QStringLiteral("riz-avivaze")})
    {
        form = std::make_unique<TFormRIZAvivaze>(args, dir);
        form->StartupTimer().stop(); // the tests run the start themselves
        if (form->Params())
            CreateDataModules(*DataCollection);
    }

    void WriteIni(const std::string& text)
    {
        QFile f(QString::fromStdString(dir + "/RIZAvivaze.ini"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text.c_str());
    }

    std::string dir;
    std::unique_ptr<TFormRIZAvivaze> form;
};

TEST(PopupArgument, AnyArgumentEqualToPopupIgnoringCase)
{
    struct Case
    {
        QStringList args;
        bool popup;
    };
    const std::vector<Case> cases = {
        {{"riz-avivaze"}, false},
        {{"riz-avivaze", "popup"}, true},
        {{"riz-avivaze", "POPUP"}, true},
        {{"riz-avivaze", "x", "PopUp"}, true},
        {{"popup"}, true}, // the program path counts too
        {{"/opt/popup/riz-avivaze", "popups"}, false},
        {{"riz-avivaze", "-popup"}, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(HasPopupArgument(c.args), c.popup) << c.args.join(' ').toStdString();
}

TEST(StartupSequence, StepsInOrderAndStopsWhenTerminating)
{
    struct Case
    {
        const char* name;
        bool onlyInstance;
        bool loginTerminates;
        bool popup;
        std::vector<std::string> steps;
    };
    const std::vector<Case> cases = {
        {"SecondInstance", false, false, false, {"instance", "terminate"}},
        {"Tray",
         true,
         false,
         false,
         {"instance", "caption", "tables", "login", "autostart", "tray", "home", "update"}},
        {"Popup",
         true,
         false,
         true,
         {"instance", "caption", "tables", "login", "autostart", "tray", "home", "show", "update"}},
        {"LoginCancelled", true, true, false, {"instance", "caption", "tables", "login"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> steps;
        TStartupSequence s;
        s.Popup = c.popup;
        auto step = [&](const char* n) { return [&steps, n] { steps.push_back(n); }; };
        s.IsOnlyInstance = [&] {
            steps.push_back("instance");
            return c.onlyInstance;
        };
        s.SetReadyCaption = step("caption");
        s.OpenTables = step("tables");
        s.LoginAtStart = [&] {
            steps.push_back("login");
            if (c.loginTerminates)
                s.Terminating = true;
        };
        s.UpdateAutoStartMenuItem = step("autostart");
        s.ShowTrayIcon = step("tray");
        s.NavigateHomePage = step("home");
        s.ShowMainWindow = step("show");
        s.CheckForUpdate = step("update");
        s.Terminate = step("terminate");
        s.Run();
        EXPECT_EQ(steps, c.steps) << c.name;
    }
}

TEST_F(MainWindow, SecondInstanceEndsBeforeTouchingATable)
{
    TSingleInstance first(dir);
    ASSERT_TRUE(first.TryLock());

    Create();
    EXPECT_EQ(form->Params(), nullptr) << "the second program reads no parameters";
    int tablesOpened = 0, ended = 0;
    form->Startup().OpenTables = [&] { ++tablesOpened; };
    form->Startup().Terminate = [&] { ++ended; };
    form->StartupTimerTimer();
    EXPECT_TRUE(form->Terminating());
    EXPECT_EQ(ended, 1);
    EXPECT_EQ(tablesOpened, 0);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Loading..."));
    form.reset();
    EXPECT_FALSE(QFile::exists(QString::fromStdString(dir + "/RIZAvivaze.ini")));
    EXPECT_TRUE(QDir(QString::fromStdString(dir + "/db")).entryList(QDir::Files).isEmpty());
}

TEST_F(MainWindow, SecondProgramEndsSilentlyWhileTheFirstRuns)
{
    const QString program = QString::fromStdString(test::BinaryDir() + "/shell/riz-avivaze");
    ASSERT_TRUE(QFile::exists(program));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("RIZ_AVIVAZE_HOME", QString::fromStdString(dir));
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("QTWEBENGINE_CHROMIUM_FLAGS", "--no-sandbox");
    QProcess first;
    first.setProcessEnvironment(env);
    first.start(program, {});
    ASSERT_TRUE(first.waitForStarted());
    // The first program has opened its tables once the last file its start creates exists.
    const QDir db(QString::fromStdString(dir + "/db"));
    const QString last = db.filePath(QStringLiteral("discounts.0.95.cds"));
    for (int i = 0; i < 1500 && !QFile::exists(last); ++i)
        QTest::qWait(20);
    ASSERT_TRUE(QFile::exists(last));
    QTest::qWait(300); // let the first program reach its idle state
    auto snapshot = [&] {
        std::vector<std::string> files;
        for (const QFileInfo& f : db.entryInfoList(QDir::Files, QDir::Name))
            files.push_back(f.fileName().toStdString() + " " +
                            std::to_string(f.lastModified().toMSecsSinceEpoch()) + " " +
                            std::to_string(f.size()));
        return files;
    };
    const auto before = snapshot();
    const bool iniBefore = QFile::exists(QString::fromStdString(dir + "/RIZAvivaze.ini"));

    QProcess second;
    second.setProcessEnvironment(env);
    second.start(program, {"popup"});
    ASSERT_TRUE(second.waitForFinished(60000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(first.state(), QProcess::Running);
    EXPECT_EQ(snapshot(), before) << "the second program left the tables alone";
    EXPECT_EQ(QFile::exists(QString::fromStdString(dir + "/RIZAvivaze.ini")), iniBefore);

    first.kill();
    first.waitForFinished();
}

TEST_F(MainWindow, CloseHidesAndTheProgramRunsOnUntilBeenden)
{
    Create();
    form->StartupTimerTimer();
    form->ShowMainWindow();
    ASSERT_TRUE(form->isVisible());

    bool stillRunning = false;
    QTimer::singleShot(0, form.get(), [&] { EXPECT_FALSE(form->close()); });
    QTimer::singleShot(50, form.get(), [&] {
        stillRunning = true;
        QCoreApplication::exit(7);
    });
    EXPECT_EQ(QCoreApplication::exec(), 7);
    EXPECT_TRUE(stillRunning);
    EXPECT_FALSE(form->isVisible());
    EXPECT_FALSE(form->CloseAllowed());

    // "Beenden" ends the loop, with the tray icon gone.
    form->ShowMainWindow();
    QTimer::singleShot(0, form.get(), [&] { form->MenuItemExitClick(); });
    QTimer::singleShot(5000, form.get(), [] { QCoreApplication::exit(9); });
    EXPECT_EQ(QCoreApplication::exec(), 0);
    EXPECT_FALSE(form->TrayIcon()->Visible());
    EXPECT_FALSE(form->isVisible());
}

TEST_F(MainWindow, StartStaysInTheTrayUnlessPopupOrNoTray)
{
    struct Case
    {
        QStringList args;
        bool shown;
    };
    // The test platform has no notification area, so the window comes up even without
    // "popup"; with a tray only "popup" shows it.
    const bool tray = QSystemTrayIcon::isSystemTrayAvailable();
    for (const Case& c : {Case{{"riz-avivaze"}, !tray}, Case{{"riz-avivaze", "POPUP"}, true}}) {
        Create(c.args);
        form->StartupTimerTimer();
        EXPECT_EQ(form->windowTitle(), QStringLiteral("Parvion RIZ Avivaze  "));
        EXPECT_TRUE(form->TrayIcon()->Visible());
        EXPECT_EQ(form->isVisible(), c.shown) << c.args.join(' ').toStdString();
        EXPECT_EQ(form->HomePage()->Address(), form->Params()->sClientSiteHome);
        form.reset();
        DestroyDataModules();
    }
}

TEST_F(MainWindow, FixedSizeAndVersionLabel)
{
    struct Case
    {
        std::string resellerIni;
        QString label;
    };
    for (const Case& c : {Case{"", "Version 0.97.01"},
                          Case{"[reseller]\niResellerId=42\n", "Version 0.97.01 [R 42]"},
                          Case{"[reseller]\niResellerId=abc\n", "Version 0.97.01"}}) {
        QFile::remove(QString::fromStdString(dir + "/reseller.ini"));
        if (!c.resellerIni.empty()) {
            QFile f(QString::fromStdString(dir + "/reseller.ini"));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(c.resellerIni.c_str());
        }
        Create();
        EXPECT_EQ(form->VersionLabel(), c.label);
        EXPECT_EQ(form->size(), QSize(549, 367));
        EXPECT_EQ(form->minimumSize(), form->maximumSize());
        form.reset();
        DestroyDataModules();
    }
}

TEST_F(MainWindow, TrayMenuHoldsEveryItem)
{
    Create();
    form->StartupTimerTimer();
    struct Item
    {
        const char* name;
        const char* text;
        bool enabled;
        bool visible;
    };
    // Items whose dialogs other parts bring stay disabled until those parts are there.
    const std::vector<Item> items = {
        {"MenuItemRIZAvivaze", "RIZ Avivaze öffnen", true, true},
        {"MenuItemZKWebsite", "Parvion Website", true, true},
        {"MenuItemHelp", "Hilfe", true, true},
        {"MenuItemContactCustomerService", "Kundenservice", true, true},
        {"MenuItemAutomaticUpdate", "RIZ Avivaze aktualisieren", IsTaskRegistered(50435), true},
        {"MenuItemYourAccount", "Ihr Konto...", false, true},
        {"MenuItemSettings", "Einstellungen...", false, true},
        {"MenuItemQuickSettings", "Schnelle Einstellungen", true, true},
        {"MenuItemAddNewAccount", "Neuer Benutzer...", false, true},
        {"MenuItemAutoStart", "RIZ Avivaze Tray Icon automatisch starten", true, true},
        {"MenuItemGetWelcomeCredits", "Willkommens-Credit anfordern/einlösen", false, true},
        {"MenuItemLogOffUser", "Benutzer '' abmelden", false, false},
        {"MenuItemExit", "Beenden", true, true},
    };
    std::vector<std::string> order;
    for (QAction* a : form->PopupMenu()->actions())
        order.push_back(a->isSeparator() ? "-" : a->objectName().toStdString());
    EXPECT_EQ(order, (std::vector<std::string>{
                         "MenuItemRIZAvivaze", "-", "MenuItemZKWebsite", "MenuItemHelp",
                         "MenuItemContactCustomerService", "-", "MenuItemAutomaticUpdate", "-",
                         "MenuItemYourAccount", "MenuItemSettings", "MenuItemQuickSettings",
                         "MenuItemGetWelcomeCredits", "-", "MenuItemLogOffUser", "MenuItemExit"}));
    emit form->PopupMenu()->aboutToShow();
    for (const Item& i : items) {
        QAction* a = form->MenuItem(i.name);
        ASSERT_NE(a, nullptr) << i.name;
        EXPECT_EQ(a->text(), QString::fromUtf8(i.text)) << i.name;
        EXPECT_EQ(a->isEnabled(), i.enabled) << i.name;
        EXPECT_EQ(a->isVisible(), i.visible) << i.name;
    }
    EXPECT_EQ(form->PopupMenu()->defaultAction(), form->MenuItem("MenuItemRIZAvivaze"));

    // A part that brings its dialog enables the item.
    int opened = 0;
    TFormRIZAvivaze::SharedHooks().Settings = [&] {
        ++opened;
        EXPECT_FALSE(form->MenuItem("MenuItemSettings")->isEnabled()) << "disabled while open";
    };
    emit form->PopupMenu()->aboutToShow();
    EXPECT_TRUE(form->MenuItem("MenuItemSettings")->isEnabled());
    form->MenuItem("MenuItemSettings")->trigger();
    EXPECT_EQ(opened, 1);
    EXPECT_TRUE(form->MenuItem("MenuItemSettings")->isEnabled());
}

TEST_F(MainWindow, UpdateItemAsksTheServiceThroughTheRunner)
{
    Create();
    form->StartupTimerTimer();
    std::vector<int> tasks;
    TFormRIZAvivaze::SharedHooks().RunTask = [&](int taskId, int& result) {
        tasks.push_back(taskId);
        form->Params()->SetLatestVersion("0.97.02"); // what the answer carries
        result = 0;
        return 1;
    };
    emit form->PopupMenu()->aboutToShow();
    QAction* item = form->MenuItem("MenuItemAutomaticUpdate");
    ASSERT_TRUE(item->isEnabled());
    ModalHook::PushAnswer("TFormNewVersion", 7);
    item->trigger();
    EXPECT_EQ(tasks, std::vector<int>{50435});
    ASSERT_FALSE(ModalHook::History().empty());
    EXPECT_EQ(ModalHook::History().back().kind, "TFormNewVersion");
    EXPECT_EQ(ModalHook::History().back().text, "0.97.01 -> 0.97.02");
}

TEST_F(MainWindow, AutoStartItemFollowsTheEntry)
{
    Create();
    form->StartupTimerTimer();
    QAction* item = form->MenuItem("MenuItemAutoStart");
    EXPECT_FALSE(item->isChecked());
    item->trigger();
    EXPECT_TRUE(form->Params()->AutoStart);
    EXPECT_TRUE(
        QFile::exists(QString::fromStdString(dir + "/config/autostart/riz-avivaze.desktop")));
    item->trigger();
    EXPECT_FALSE(form->Params()->AutoStart);
    EXPECT_FALSE(
        QFile::exists(QString::fromStdString(dir + "/config/autostart/riz-avivaze.desktop")));
}

TEST_F(MainWindow, CustomerServiceThenHelp)
{
    WriteIni("[web-servers]\nsClientSiteHelp=http://web.example/help.html\n"
             "sClientSiteSupport=http://web.example/support.html\n"
             "sClientSiteHome=http://web.example/home.html\n");
    Create({"riz-avivaze", "popup"});
    form->StartupTimerTimer();
    EXPECT_EQ(g_web.calls,
              std::vector<std::string>{"TSHome navigate http://web.example/home.html"});
    form->hide();
    g_web.calls.clear();

    form->MenuItemContactCustomerServiceClick();
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->CurrentPage(), TFormRIZAvivaze::pgHelp);
    form->MenuItemHelpClick();
    form->MenuItemHelpClick();
    form->ShowPage(TFormRIZAvivaze::pgHome);
    form->ShowPage(TFormRIZAvivaze::pgHome);
    // The help page shows the support page once, then the help page, then reloads it.
    EXPECT_EQ(g_web.calls, (std::vector<std::string>{
                               "TSHelp navigate http://web.example/support.html",
                               "TSHelp navigate http://web.example/help.html",
                               "TSHelp reload",
                               "TSHome reload",
                               "TSHome reload",
                           }));
}

TEST_F(MainWindow, CustomerServiceFromTheTrayWhileTheHelpPageIsCurrent)
{
    WriteIni("[web-servers]\nsClientSiteHelp=http://web.example/help.html\n"
             "sClientSiteSupport=http://web.example/support.html\n");
    Create({"riz-avivaze", "popup"});
    form->StartupTimerTimer();
    form->MenuItemHelpClick();
    form->hide();
    g_web.calls.clear();

    form->MenuItemContactCustomerServiceClick();
    form->hide();
    form->MenuItemHelpClick();
    EXPECT_EQ(g_web.calls, (std::vector<std::string>{
                               "TSHelp navigate http://web.example/support.html",
                               "TSHelp navigate http://web.example/help.html",
                           }));
}

TEST_F(MainWindow, WebsiteItemOpensTheBrowser)
{
    WriteIni("[web-servers]\nsWebsiteHome=http://www.parvion.example/\n");
    std::vector<std::string> opened;
    SetWebAddressOpener([&](const std::string& a) { opened.push_back(a); });
    Create();
    form->StartupTimerTimer();
    form->MenuItem("MenuItemZKWebsite")->trigger();
    EXPECT_EQ(opened, std::vector<std::string>{"http://www.parvion.example/"});
}

TEST_F(MainWindow, MenuLabelOpensTheTrayMenuAtTheMouse)
{
    Create();
    form->StartupTimerTimer();
    form->ShowMainWindow();
    form->move(0, 0); // room for the menu below the label
    QTest::mousePress(form->MenuLabel(), Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_TRUE(form->PopupMenu()->isVisible());
    EXPECT_EQ(form->PopupMenu()->pos(), form->MenuLabel()->mapToGlobal(QPoint(3, 3)));
    form->PopupMenu()->close();
}

TEST_F(MainWindow, SendKeysOnlyOnTheSmsPage)
{
    int sent = 0;
    TFormRIZAvivaze::SharedHooks().Send = [&] { ++sent; };
    Create();
    form->StartupTimerTimer();
    form->ShowMainWindow();
    QApplication::setActiveWindow(form.get());
    struct Case
    {
        TFormRIZAvivaze::Page page;
        QKeyCombination key;
        int sends;
    };
    for (const Case& c : {Case{TFormRIZAvivaze::pgSMS, Qt::ALT | Qt::Key_S, 1},
                          Case{TFormRIZAvivaze::pgSMS, Qt::CTRL | Qt::Key_Return, 1},
                          Case{TFormRIZAvivaze::pgSMS, Qt::Key_S, 0},
                          Case{TFormRIZAvivaze::pgCredits, Qt::ALT | Qt::Key_S, 0}}) {
        form->ShowPage(c.page);
        sent = 0;
        QTest::keyClick(form.get(), c.key.key(), c.key.keyboardModifiers());
        EXPECT_EQ(sent, c.sends) << c.page << " " << QKeySequence(c.key).toString().toStdString();
    }
}

TEST_F(MainWindow, DeclinedUpdateReturnsWithTheNextAnnouncedVersion)
{
    Create();
    TAppParam& params = *form->Params();
    params.SetLatestVersion("0.97.02");
    TAppParamUpdateParams view(params);
    TUpdateOffer offer(view, "0.97.01", dir);
    offer.StartUpdater = [](const std::string&) { return true; };

    ModalHook::PushAnswer("TFormNewVersion", 7, "dontask");
    EXPECT_EQ(offer.CheckForUpdate(TUpdateOffer::umStart), TUpdateOffer::uoDeclined);
    EXPECT_EQ(offer.CheckForUpdate(TUpdateOffer::umStart), TUpdateOffer::uoNotDue);
    params.SetLatestVersion("0.97.02"); // announced again: the same version
    EXPECT_EQ(offer.CheckForUpdate(TUpdateOffer::umStart), TUpdateOffer::uoNotDue);
    params.SetLatestVersion("0.97.03");
    ModalHook::PushAnswer("TFormNewVersion", 7);
    EXPECT_EQ(offer.CheckForUpdate(TUpdateOffer::umStart), TUpdateOffer::uoDeclined);

    // The refusal is kept in the INI file.
    ModalHook::PushAnswer("TFormNewVersion", 7, "dontask");
    offer.CheckForUpdate(TUpdateOffer::umStart);
    TAppParam reread(dir);
    EXPECT_TRUE(reread.bDontAskForUpdates);
    EXPECT_EQ(reread.sLatestVersion, "0.97.03");
    EXPECT_FALSE(ModalHook::HasPending());
}

TEST_F(MainWindow, FeaturePagesReachTheUpdateOfferAfterUserActions)
{
    Clock::SetNow(EncodeDateTime({2026, 6, 1, 12, 0, 0, 0}));
    Create();
    form->StartupTimerTimer();
    form->Params()->SetLatestVersion("0.97.02");
    auto prompts = [] {
        return std::count_if(
            ModalHook::History().begin(), ModalHook::History().end(),
            [](const ModalHook::Record& r) { return r.kind == "TFormNewVersion"; });
    };
    ModalHook::PushAnswer("TFormNewVersion", 7);
    RequestUpdateCheck(TUpdateOffer::umAfterAction);
    EXPECT_EQ(prompts(), 1);
    EXPECT_EQ(form->Params()->dtLastAskedForUpdate, Clock::Now());
    RequestUpdateCheck(TUpdateOffer::umAfterAction); // within the day: no offer
    EXPECT_EQ(prompts(), 1);
    form.reset();
    Clock::Advance(2);
    RequestUpdateCheck(TUpdateOffer::umAfterAction); // no main window, no offer
    EXPECT_EQ(prompts(), 1);
}

TEST_F(MainWindow, BannerRowIsShownFromTheTable)
{
    Create();
    OpenAllTables();
    Clock::SetNow(EncodeDateTime({2026, 6, 1, 12, 0, 0, 0}));
    QImage image(120, 30, QImage::Format_RGB32);
    image.fill(Qt::yellow);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");

    TClientDataSet& t = DataModuleSMS->CDSBanner;
    t.Append();
    t.FieldByName("BANNER_ID").SetAsInteger(17);
    t.FieldByName("BANNER").SetAsString(bytes.toStdString());
    t.FieldByName("FILE_TYPE").SetAsString("bmp");
    t.FieldByName("LINK").SetAsString("http://sponsor.example/");
    t.FieldByName("WAIT_TIME").SetAsInteger(3000);
    t.FieldByName("LAST_CALL").SetAsDateTime(Clock::Now() - 5);
    t.Post();
    DataModuleSMS->CommitBanners();

    TBannerShow show;
    EXPECT_FALSE(PrepareBannerShow(*DataModuleSMS, 18, show));
    ASSERT_TRUE(PrepareBannerShow(*DataModuleSMS, 17, show));
    EXPECT_EQ(show.Picture.size(), QSize(120, 30));
    EXPECT_EQ(show.Link, "http://sponsor.example/");
    EXPECT_EQ(show.WaitTime, 3000);
    EXPECT_TRUE(QFile::exists(QString::fromStdString(DataModuleSMS->TempBannerFile)));

    // LAST_CALL is now, in the file as well.
    TClientDataSet reread;
    reread.LoadFromFile(DataModuleSMS->BannerFile);
    ASSERT_TRUE(reread.Locate("BANNER_ID", TValue(std::int32_t(17))));
    EXPECT_DOUBLE_EQ(reread.FieldByName("LAST_CALL").AsDateTime(), Clock::Now());

    // The send flow asks for the banner through the shell's request.
    DataModuleSMS->BannerToShow = 17;
    ModalHook::PushAnswer("TFormBanner", 1);
    RequestSponsorBanner(nullptr);
    ASSERT_FALSE(ModalHook::History().empty());
    EXPECT_EQ(ModalHook::History().back().kind, "TFormBanner");
    EXPECT_EQ(ModalHook::History().back().text, "http://sponsor.example/");
}

} // namespace
} // namespace riz
