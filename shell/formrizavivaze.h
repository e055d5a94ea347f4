#pragma once

#include "shell/helppage.h"
#include "shell/startup.h"

#include <QMenu>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>

class QAction;

namespace Ui {
class TFormRIZAvivaze;
}

namespace riz {

class TAppParam;
class TDataCollection;
class TMsgBox;
class TOrvoTrayIcon;
class TSingleInstance;
class TUpdateOffer;
class TWebPage;

// The text of the version label: "Version 0.97.01", with " [R n]" for a reseller number.
std::string VersionLabelText(int resellerId);

// The main window: six tab pages, the "Menü" label, the version label and the tray icon with
// its menu. It starts hidden; closing it only hides it. It owns the data collection and the
// application parameters for the program's whole run.
class TFormRIZAvivaze final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFormRIZAvivaze)

public:
    enum Page
    {
        pgHome,
        pgSMS,
        pgReminder,
        pgAddressBook,
        pgCredits,
        pgHelp
    };

    // The creation handler runs here; programDir empty: the program folder as usual.
    explicit TFormRIZAvivaze(const QStringList& arguments, const std::string& programDir = {},
                             QWidget* parent = nullptr);
    ~TFormRIZAvivaze() override;

    // Hooks for the parts of the program that come with their own pages and dialogs.
    struct Hooks
    {
        // Logs a profile in at start (a first start registers one); sets Terminating() when
        // the user cancels. forceList shows the profile list.
        std::function<void(TFormRIZAvivaze&, bool forceList)> LoginAtStart;
        // Brings the pages up to date from the logged-in profile.
        std::vector<std::function<void()>> RefreshSMSPage;
        // Empties the SMS page when the window is shown.
        std::vector<std::function<void()>> ResetSMSPage;
        // "Senden" on the SMS page (Alt+S, Ctrl+Enter).
        std::function<void()> Send;
        // Runs a server task: 1 completed with the result code, 2 cancelled.
        std::function<int(int taskId, int& resultCode)> RunTask;
        // The tray items whose dialogs other parts provide; an item without its hook stays
        // disabled.
        std::function<void()> YourAccount, Settings, AddNewAccount, GetWelcomeCredits, LogOff;
    };
    static Hooks& SharedHooks();

    // State of the start.
    bool Terminating() const { return m_startup.Terminating; }
    void SetTerminating() { m_startup.Terminating = true; }
    void SetNewUserRegistered(bool v) { m_startup.NewUserRegistered = v; }
    bool Popup() const { return m_startup.Popup; }
    bool CloseAllowed() const { return m_closeAllowed; }

    // The start-up steps (the 50 ms timer runs them once).
    void StartupTimerTimer();
    TStartupSequence& Startup() { return m_startup; }
    QTimer& StartupTimer() { return m_startupTimer; }

    void SetTrayIconVisible(bool visible);
    void EnableAccountMenuItems(bool enable);
    void UpdateAutoStartMenuItem();
    // Rebuilds the "Abmelden" item from the logged-in profile (hidden when none).
    void UpdateLogOffMenuItem();
    void RefreshSMSPage();
    void CheckForUpdate(int mode);

    // Shows the window if hidden and brings it to the front.
    void ShowMainWindow();
    void ShowPage(Page page);

    // Tray menu handlers.
    void MenuItemRIZAvivazeClick();
    void MenuItemZKWebsiteClick();
    void MenuItemHelpClick();
    void MenuItemContactCustomerServiceClick();
    void MenuItemAutomaticUpdateClick();
    void MenuItemYourAccountClick();
    void MenuItemSettingsClick();
    void MenuItemAddNewAccountClick();
    void MenuItemAutoStartClick();
    void MenuItemGetWelcomeCreditsClick();
    void MenuItemLogOffUserClick();
    void MenuItemExitClick();

    // Parts of the window, for the pages that fill them and for tests.
    QWidget* PageWidget(Page page) const;
    Page CurrentPage() const;
    QMenu* PopupMenu() { return &m_popupMenu; }
    QAction* MenuItem(const char* name) const;
    TOrvoTrayIcon* TrayIcon() const { return m_trayIcon.get(); }
    TWebPage* HomePage() const;
    TWebPage* HelpPage() const;
    const THelpPageState& HelpState() const { return m_help; }
    QString VersionLabel() const;
    QWidget* MenuLabel() const;
    // The parameters; none in a second program, which ends at once.
    TAppParam* Params() const { return m_appParam.get(); }
    TDataCollection& Folders() const { return *m_dataCollection; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate(const QStringList& arguments, const std::string& programDir);
    void FormShow();
    void BuildTrayMenu();
    void PageChanged(int index);
    void TSHomeShow();
    void TSHelpShow();
    void SendKey();
    void UpdateMenuAvailability();
    std::function<int(int, int&)> RunTaskHook() const;

    std::unique_ptr<Ui::TFormRIZAvivaze> m_ui;
    std::unique_ptr<TOrvoTrayIcon> m_trayIcon;
    std::unique_ptr<TMsgBox> m_msgBox;
    std::unique_ptr<TDataCollection> m_dataCollection;
    std::unique_ptr<TAppParam> m_appParam;
    std::unique_ptr<TSingleInstance> m_instance;
    QMenu m_popupMenu;
    QMenu* m_quickMenu = nullptr;
    QTimer m_startupTimer;
    TStartupSequence m_startup;
    THelpPageState m_help;
    bool m_closeAllowed = false;
    bool m_accountItemsEnabled = true;
    bool m_isOnlyInstance = false;
};

// The main window, while it exists.
TFormRIZAvivaze* FormRIZAvivaze();

} // namespace riz
