#include "shell/formrizavivaze.h"

#include "data/appparam.h"
#include "data/datacollection.h"
#include "data/datamodulecust.h"
#include "data/datamodules.h"
#include "platform/clock.h"
#include "platform/strings.h"
#include "platform/text.h"
#include "platform/trace.h"
#include "platform/widgets/msgbox.h"
#include "shell/appexception.h"
#include "shell/bannershow.h"
#include "shell/controls/formimages.h"
#include "shell/controls/orvotrayicon.h"
#include "shell/controls/shellrequests.h"
#include "shell/controls/webaddress.h"
#include "shell/updateoffer.h"
#include "shell/updateparams.h"
#include "shell/webpage.h"
#include "tasks/communicationscreen.h"
#include "tasks/taskfactory.h"
#include "ui_formrizavivaze.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QShortcut>
#include <QSystemTrayIcon>
#include <QTabBar>

namespace riz {
namespace {
TFormRIZAvivaze* g_form = nullptr;
} // namespace

TFormRIZAvivaze* FormRIZAvivaze()
{
    return g_form;
}

std::string VersionLabelText(int resellerId)
{
    std::string text = LoadStr(50002) + " " + LoadStr(50001);
    if (resellerId > 0)
        text += " [R " + std::to_string(resellerId) + "]";
    return text;
}

TFormRIZAvivaze::Hooks& TFormRIZAvivaze::SharedHooks()
{
    static Hooks hooks;
    return hooks;
}

TFormRIZAvivaze::TFormRIZAvivaze(const QStringList& arguments, const std::string& programDir,
                                 QWidget* parent)
    : QWidget(parent), m_ui(std::make_unique<Ui::TFormRIZAvivaze>())
{
    m_ui->setupUi(this);
    // A fixed window with minimise and close buttons only.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(549, 367);
    if (FormImages()) {
        for (int page = pgHome; page <= pgHelp; ++page)
            m_ui->PageControl->setTabIcon(page, FormImages()->PageIcons.value(page));
    }
    // The program's font (Verdana 8 pt or the nearest sans face) keeps the captions and
    // their icons inside the tabs of 88 pixels (82 plus the padding).
    QFont font(QStringLiteral("Verdana"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(8);
    setFont(font);
    m_ui->PageControl->setIconSize(QSize(14, 14));
    m_ui->PageControl->tabBar()->setUsesScrollButtons(false);
    m_ui->PageControl->tabBar()->setElideMode(Qt::ElideNone);
    m_ui->PageControl->tabBar()->setStyleSheet(QStringLiteral(
        "QTabBar::tab { width: 82px; height: 22px; padding: 0px 3px; margin: 0px; }"));
    g_form = this;
    FormCreate(arguments, programDir);
}

TFormRIZAvivaze::~TFormRIZAvivaze()
{
    // FormDestroy: the parameters save themselves as they go; then the collections, the
    // message boxes and the tray icon.
    m_appParam.reset();
    AppParam = nullptr;
    m_dataCollection.reset();
    DataCollection = nullptr;
    SetMsgBox(nullptr);
    m_msgBox.reset();
    if (m_trayIcon)
        m_trayIcon->SetVisible(false);
    m_trayIcon.reset();
    SetAppTerminateHandler({});
    SetUpdateCheckHandler({});
    SetSponsorBannerHandler({});
    if (g_form == this)
        g_form = nullptr;
}

void TFormRIZAvivaze::FormCreate(const QStringList& arguments, const std::string& programDir)
{
    m_startup.Terminating = false;
    SetAppTerminateHandler([this] {
        m_startup.Terminating = true;
        m_closeAllowed = true;
        QCoreApplication::exit(1);
    });

    m_trayIcon = std::make_unique<TOrvoTrayIcon>();
    if (FormImages())
        m_trayIcon->SetIcons(&FormImages()->TrayIcons); // index 0: the program icon
    m_trayIcon->SetHint(LoadQStr(50003));

    m_startup.Popup = HasPopupArgument(arguments);

    m_msgBox = std::make_unique<TMsgBox>(this);
    SetMsgBox(m_msgBox.get());
    m_dataCollection = programDir.empty() ? std::make_unique<TDataCollection>()
                                          : std::make_unique<TDataCollection>(programDir);
    DataCollection = m_dataCollection.get();
    // The lock is tried here, before the parameters are read: a second program must end
    // without writing the INI file (the parameters save themselves when destroyed) or any
    // table. It ends at the first tick of the start-up timer.
    m_instance = std::make_unique<TSingleInstance>(m_dataCollection->ProgramDir);
    m_isOnlyInstance = m_instance->TryLock();
    if (m_isOnlyInstance) {
        m_appParam = std::make_unique<TAppParam>(m_dataCollection->ProgramDir);
        AppParam = m_appParam.get();
        m_help.SetHelpPage(m_appParam->sClientSiteHelp);
    }
    setWindowTitle(QStringLiteral("Loading..."));

    m_ui->LVersion->setText(ToQString(VersionLabelText(m_dataCollection->ResellerId)));

    BuildTrayMenu();
    m_trayIcon->SetPopupMenu(&m_popupMenu);
    connect(m_trayIcon.get(), &TOrvoTrayIcon::Clicked, this,
            &TFormRIZAvivaze::MenuItemRIZAvivazeClick);
    connect(m_trayIcon.get(), &TOrvoTrayIcon::DoubleClicked, this,
            &TFormRIZAvivaze::MenuItemRIZAvivazeClick);

    m_ui->Label3->installEventFilter(this);
    connect(m_ui->PageControl, &QTabWidget::currentChanged, this, &TFormRIZAvivaze::PageChanged);
    for (const QKeySequence& key :
         {QKeySequence(Qt::ALT | Qt::Key_S), QKeySequence(Qt::CTRL | Qt::Key_Return),
          QKeySequence(Qt::CTRL | Qt::Key_Enter)}) {
        auto* shortcut = new QShortcut(key, this);
        connect(shortcut, &QShortcut::activated, this, &TFormRIZAvivaze::SendKey);
    }
    // The end of the desktop session may close the window.
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this] { m_closeAllowed = true; });

    // The steps of the start, bound to this window.
    m_startup.IsOnlyInstance = [this] { return m_isOnlyInstance; };
    m_startup.SetReadyCaption = [this] { setWindowTitle(LoadQStr(50003)); };
    m_startup.OpenTables = [] { OpenAllTables(); };
    m_startup.LoginAtStart = [this] {
        if (SharedHooks().LoginAtStart)
            SharedHooks().LoginAtStart(*this, false);
        UpdateLogOffMenuItem();
    };
    m_startup.UpdateAutoStartMenuItem = [this] { UpdateAutoStartMenuItem(); };
    m_startup.ShowTrayIcon = [this] {
        SetTrayIconVisible(true);
        Trace("tray icon shown");
        // Without a notification area the program would be unreachable: show the window.
        if (!QSystemTrayIcon::isSystemTrayAvailable())
            m_startup.Popup = true;
    };
    m_startup.NavigateHomePage = [this] { HomePage()->Navigate(m_appParam->sClientSiteHome); };
    m_startup.ShowMainWindow = [this] { ShowMainWindow(); };
    m_startup.CheckForUpdate = [this] { CheckForUpdate(TUpdateOffer::umStart); };
    m_startup.Terminate = [] { QCoreApplication::exit(0); };

    // The feature pages reach the update offer and the sponsor banner through these.
    SetUpdateCheckHandler([this](int mode) { CheckForUpdate(mode); });
    SetSponsorBannerHandler([](QWidget* parent) { ShowSponsorBanner(parent); });

    m_startupTimer.setSingleShot(true);
    m_startupTimer.setInterval(50);
    connect(&m_startupTimer, &QTimer::timeout, this, &TFormRIZAvivaze::StartupTimerTimer);
    m_startupTimer.start();
}

void TFormRIZAvivaze::BuildTrayMenu()
{
    auto add = [this](QMenu* menu, const char* name, const QString& text,
                      void (TFormRIZAvivaze::*handler)()) {
        QAction* action = menu->addAction(text);
        action->setObjectName(QLatin1String(name));
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    QAction* open = add(&m_popupMenu, "MenuItemRIZAvivaze", QStringLiteral("RIZ Avivaze öffnen"),
                        &TFormRIZAvivaze::MenuItemRIZAvivazeClick);
    QFont bold = open->font();
    bold.setBold(true);
    open->setFont(bold); // the default item
    m_popupMenu.setDefaultAction(open);
    m_popupMenu.addSeparator();
    add(&m_popupMenu, "MenuItemZKWebsite", QStringLiteral("Parvion Website"),
        &TFormRIZAvivaze::MenuItemZKWebsiteClick);
    add(&m_popupMenu, "MenuItemHelp", QStringLiteral("Hilfe"), &TFormRIZAvivaze::MenuItemHelpClick);
    add(&m_popupMenu, "MenuItemContactCustomerService", QStringLiteral("Kundenservice"),
        &TFormRIZAvivaze::MenuItemContactCustomerServiceClick);
    m_popupMenu.addSeparator();
    add(&m_popupMenu, "MenuItemAutomaticUpdate", QStringLiteral("RIZ Avivaze aktualisieren"),
        &TFormRIZAvivaze::MenuItemAutomaticUpdateClick);
    m_popupMenu.addSeparator();
    add(&m_popupMenu, "MenuItemYourAccount", QStringLiteral("Ihr Konto..."),
        &TFormRIZAvivaze::MenuItemYourAccountClick);
    add(&m_popupMenu, "MenuItemSettings", QStringLiteral("Einstellungen..."),
        &TFormRIZAvivaze::MenuItemSettingsClick);
    m_quickMenu = m_popupMenu.addMenu(QStringLiteral("Schnelle Einstellungen"));
    m_quickMenu->menuAction()->setObjectName(QStringLiteral("MenuItemQuickSettings"));
    add(m_quickMenu, "MenuItemAddNewAccount", QStringLiteral("Neuer Benutzer..."),
        &TFormRIZAvivaze::MenuItemAddNewAccountClick);
    QAction* autoStart = add(m_quickMenu, "MenuItemAutoStart",
                             QStringLiteral("RIZ Avivaze Tray Icon automatisch starten"),
                             &TFormRIZAvivaze::MenuItemAutoStartClick);
    autoStart->setCheckable(true);
    add(&m_popupMenu, "MenuItemGetWelcomeCredits",
        QStringLiteral("Willkommens-Credit anfordern/einlösen"),
        &TFormRIZAvivaze::MenuItemGetWelcomeCreditsClick);
    m_popupMenu.addSeparator();
    QAction* logOff = add(&m_popupMenu, "MenuItemLogOffUser", QString(),
                          &TFormRIZAvivaze::MenuItemLogOffUserClick);
    logOff->setVisible(false);
    add(&m_popupMenu, "MenuItemExit", QStringLiteral("Beenden"),
        &TFormRIZAvivaze::MenuItemExitClick);
    connect(&m_popupMenu, &QMenu::aboutToShow, this, &TFormRIZAvivaze::UpdateMenuAvailability);
    UpdateMenuAvailability();
}

QAction* TFormRIZAvivaze::MenuItem(const char* name) const
{
    return m_popupMenu.findChild<QAction*>(QLatin1String(name));
}

void TFormRIZAvivaze::UpdateMenuAvailability()
{
    // Items whose dialogs are not part of the program yet stay disabled.
    const Hooks& h = SharedHooks();
    MenuItem("MenuItemAutomaticUpdate")->setEnabled(static_cast<bool>(RunTaskHook()));
    MenuItem("MenuItemGetWelcomeCredits")->setEnabled(static_cast<bool>(h.GetWelcomeCredits));
    MenuItem("MenuItemYourAccount")->setEnabled(m_accountItemsEnabled && h.YourAccount);
    MenuItem("MenuItemSettings")->setEnabled(m_accountItemsEnabled && h.Settings);
    MenuItem("MenuItemAddNewAccount")->setEnabled(m_accountItemsEnabled && h.AddNewAccount);
    MenuItem("MenuItemLogOffUser")->setEnabled(m_accountItemsEnabled && h.LogOff);
}

std::function<int(int, int&)> TFormRIZAvivaze::RunTaskHook() const
{
    if (SharedHooks().RunTask)
        return SharedHooks().RunTask;
    // The runner serves every task that is part of the program.
    if (!IsTaskRegistered(50435))
        return {};
    return [](int taskId, int& resultCode) {
        const int r = CommunicationScreen().Execute(taskId);
        resultCode = CommunicationScreen().ResultCode;
        return r;
    };
}

void TFormRIZAvivaze::StartupTimerTimer()
{
    m_startupTimer.stop();
    m_startup.Run();
}

void TFormRIZAvivaze::SetTrayIconVisible(bool visible)
{
    m_trayIcon->SetVisible(visible);
}

void TFormRIZAvivaze::EnableAccountMenuItems(bool enable)
{
    m_accountItemsEnabled = enable;
    UpdateMenuAvailability();
}

void TFormRIZAvivaze::UpdateAutoStartMenuItem()
{
    MenuItem("MenuItemAutoStart")->setChecked(m_appParam->AutoStart);
}

void TFormRIZAvivaze::UpdateLogOffMenuItem()
{
    QAction* logOff = MenuItem("MenuItemLogOffUser");
    const std::string email = DataModuleCust ? DataModuleCust->LoggedInEmail : std::string();
    logOff->setVisible(!email.empty());
    logOff->setText(ToQString(Format(LoadStr(50101), email)));
}

void TFormRIZAvivaze::RefreshSMSPage()
{
    for (const auto& refresh : SharedHooks().RefreshSMSPage)
        refresh();
}

void TFormRIZAvivaze::CheckForUpdate(int mode)
{
    if (!m_appParam)
        return;
    TAppParamUpdateParams params(*m_appParam);
    TUpdateOffer offer(params, LoadStr(50001), m_dataCollection->ProgramDir);
    offer.RunTask = RunTaskHook();
    offer.CheckForUpdate(mode);
}

void TFormRIZAvivaze::ShowMainWindow()
{
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
}

QWidget* TFormRIZAvivaze::PageWidget(Page page) const
{
    return m_ui->PageControl->widget(page);
}

TFormRIZAvivaze::Page TFormRIZAvivaze::CurrentPage() const
{
    return static_cast<Page>(m_ui->PageControl->currentIndex());
}

TWebPage* TFormRIZAvivaze::HomePage() const
{
    return m_ui->TSHome;
}

TWebPage* TFormRIZAvivaze::HelpPage() const
{
    return m_ui->TSHelp;
}

QString TFormRIZAvivaze::VersionLabel() const
{
    return m_ui->LVersion->text();
}

QWidget* TFormRIZAvivaze::MenuLabel() const
{
    return m_ui->Label3;
}

void TFormRIZAvivaze::ShowPage(Page page)
{
    if (CurrentPage() == page)
        PageChanged(page); // the page is shown again: run its show handler
    else
        m_ui->PageControl->setCurrentIndex(page);
}

void TFormRIZAvivaze::PageChanged(int index)
{
    if (!isVisible())
        return; // shown with the window
    if (index == pgHome)
        TSHomeShow();
    else if (index == pgHelp)
        TSHelpShow();
}

void TFormRIZAvivaze::TSHomeShow()
{
    // The first showing makes the browser, which loads the page; later showings reload it.
    if (!HomePage()->HasBrowser())
        HomePage()->EnsureBrowser();
    else
        HomePage()->Reload();
}

void TFormRIZAvivaze::TSHelpShow()
{
    HelpPage()->EnsureBrowser();
    std::string address;
    if (m_help.Show(address))
        HelpPage()->Navigate(address);
    else
        HelpPage()->Reload();
}

void TFormRIZAvivaze::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TFormRIZAvivaze::FormShow()
{
    // Bottom right corner on the bottom right of the work area.
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        const QRect frame = frameGeometry(); // move() places the frame
        move(area.right() - frame.width() + 1, area.bottom() - frame.height() + 1);
    }
    for (const auto& reset : SharedHooks().ResetSMSPage)
        reset();
    m_closeAllowed = false;
    RefreshSMSPage();
    PageChanged(m_ui->PageControl->currentIndex());
}

void TFormRIZAvivaze::closeEvent(QCloseEvent* event)
{
    if (m_closeAllowed) {
        event->accept();
        QCoreApplication::quit();
        return;
    }
    hide();
    event->ignore();
}

bool TFormRIZAvivaze::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_ui->Label3 && event->type() == QEvent::MouseButtonPress) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        m_trayIcon->ShowMenu(mouse->globalPosition().toPoint());
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TFormRIZAvivaze::SendKey()
{
    if (CurrentPage() == pgSMS && SharedHooks().Send)
        SharedHooks().Send();
}

void TFormRIZAvivaze::MenuItemRIZAvivazeClick()
{
    ShowMainWindow();
}

void TFormRIZAvivaze::MenuItemZKWebsiteClick()
{
    OpenWebAddress(m_appParam->sWebsiteHome);
}

void TFormRIZAvivaze::MenuItemHelpClick()
{
    if (!isVisible()) {
        // Showing the window runs the page's show handler; once is enough, or the support
        // page would be replaced by the help page at once.
        m_ui->PageControl->setCurrentIndex(pgHelp);
        ShowMainWindow();
        return;
    }
    ShowMainWindow();
    ShowPage(pgHelp);
}

void TFormRIZAvivaze::MenuItemContactCustomerServiceClick()
{
    m_help.SetPageToShow(m_appParam->sClientSiteSupport);
    MenuItemHelpClick();
}

void TFormRIZAvivaze::MenuItemAutomaticUpdateClick()
{
    CheckForUpdate(TUpdateOffer::umManual);
}

namespace {
// Runs an account dialog with the account items disabled meanwhile.
void RunAccountDialog(TFormRIZAvivaze& form, const std::function<void()>& dialog)
{
    if (!dialog)
        return;
    form.EnableAccountMenuItems(false);
    struct Enable
    {
        TFormRIZAvivaze& f;
        ~Enable() { f.EnableAccountMenuItems(true); }
    } enable{form};
    dialog();
}
} // namespace

void TFormRIZAvivaze::MenuItemYourAccountClick()
{
    if (!m_accountItemsEnabled)
        return; // its dialog is open
    RunAccountDialog(*this, SharedHooks().YourAccount);
    UpdateLogOffMenuItem();
    RefreshSMSPage();
}

void TFormRIZAvivaze::MenuItemSettingsClick()
{
    if (!m_accountItemsEnabled)
        return;
    RunAccountDialog(*this, SharedHooks().Settings);
    UpdateAutoStartMenuItem();
}

void TFormRIZAvivaze::MenuItemAddNewAccountClick()
{
    RunAccountDialog(*this, SharedHooks().AddNewAccount);
}

void TFormRIZAvivaze::MenuItemAutoStartClick()
{
    QAction* item = MenuItem("MenuItemAutoStart");
    // The action toggled its check mark already.
    m_appParam->SetAutoStart(item->isChecked());
}

void TFormRIZAvivaze::MenuItemGetWelcomeCreditsClick()
{
    if (SharedHooks().GetWelcomeCredits)
        SharedHooks().GetWelcomeCredits();
}

void TFormRIZAvivaze::MenuItemLogOffUserClick()
{
    RunAccountDialog(*this, SharedHooks().LogOff);
    UpdateLogOffMenuItem();
}

void TFormRIZAvivaze::MenuItemExitClick()
{
    SetTrayIconVisible(false);
    m_closeAllowed = true;
    if (!close()) {
        // A hidden window closes too; should something refuse, the program still ends.
        QCoreApplication::quit();
    }
}

} // namespace riz
