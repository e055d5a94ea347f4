#pragma once

namespace riz {

// What the login needs of the main window and its tray menu.
class TLoginHost
{
public:
    virtual ~TLoginHost() = default;
    // Ends the program (the user cancelled the profile choice or the password prompt).
    virtual void SetTerminating() = 0;
    virtual void SetNewUserRegistered(bool value) = 0;
    // The welcome-credits item (visible while the code is not redeemed) and the log-off item
    // ("Benutzer '%s' abmelden", visible).
    virtual void UpdateTrayItems() = 0;
    virtual void SetTrayIconVisible(bool visible) = 0;
    // "Einstellungen...", "Neuer Benutzer...", "Ihr Konto..." and the log-off item.
    virtual void EnableAccountItems(bool enable) = 0;
    // Leaves the program as "Beenden" does.
    virtual void Exit() = 0;
    // The main window's fields and pages for the logged-in profile.
    virtual void RefreshFields() {}
    virtual void RefreshSMSPage() {}
    virtual void RefreshCreditLabel() {}
    // The welcome-credits dialog, run when the profile's code is not yet redeemed.
    virtual void RunWelcomeCredits() {}
};

// Opens a profile at start: the default profile (with the password prompt unless it is
// remembered), the profile list when asked for or forced, or on an installation without a
// usable profile the new-user dialog. Cancelling ends the program through the host. A default
// profile that no longer exists shows the profile list, or the new-user dialog when no profile
// is left, so that nobody is locked out. True when a profile is logged in.
bool LoginAtStart(TLoginHost& host, bool forceList);

// The tray's log-off item and its "add a profile" item.
void LogOffUser(TLoginHost& host);
void AddNewAccount(TLoginHost& host);

} // namespace riz
