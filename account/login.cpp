#include "account/login.h"

#include "account/formnewuserormember.h"
#include "account/formuserlogin.h"
#include "account/formuserselection.h"
#include "data/appparam.h"
#include "data/datamodulecust.h"
#include "platform/strings.h"
#include "platform/text.h"
#include "platform/widgets/msgbox.h"

#include <QCheckBox>
#include <QDialog>

#include <vector>

namespace riz {
namespace {

bool WelcomeRedeemed()
{
    return DataModuleCust->CDSCustomer.FieldByName("WELCOME_CREDIT_CODE_REDEEMED").AsBoolean();
}

bool HasProfile(const std::string& email)
{
    std::vector<std::string> users;
    DataModuleCust->FillUsersIntoStringList(users);
    for (const std::string& u : users)
        if (AnsiSameText(u, email))
            return true;
    return false;
}

size_t ProfileCount()
{
    std::vector<std::string> users;
    DataModuleCust->FillUsersIntoStringList(users);
    return users.size();
}

bool RegisterFirstProfile(TLoginHost& host)
{
    DataModuleCust->LoginCustomer("");
    TFormNewUserOrMember form;
    form.FirstStart = true;
    if (form.Execute() != QDialog::Accepted || !HasProfile(AppParam->sDefaultUser)) {
        host.SetTerminating();
        return false;
    }
    DataModuleCust->LoginCustomer(AppParam->sDefaultUser);
    if (!WelcomeRedeemed())
        host.RunWelcomeCredits();
    host.RefreshCreditLabel();
    host.UpdateTrayItems();
    host.SetNewUserRegistered(true);
    return true;
}

} // namespace

bool LoginAtStart(TLoginHost& host, bool forceList)
{
    host.SetNewUserRegistered(false);
    if (!AppParam->bOneUserProfileFinished || !DataModuleCust->CustomerFileExists() ||
        ProfileCount() == 0)
        return RegisterFirstProfile(host);

    std::string email = AppParam->sDefaultUser;
    // A default profile removed meanwhile is chosen from the list instead.
    if (AppParam->bPromptForUser || forceList || !HasProfile(email)) {
        TFormUserSelection form;
        if (form.Execute() != QDialog::Accepted) {
            host.SetTerminating();
            return false;
        }
        email = form.SelectedEmail;
    }
    DataModuleCust->GoToCustomer(email);
    TClientDataSet& c = DataModuleCust->CDSCustomer;
    if (!c.FieldByName("REMEMBER_PASSWORD").AsBoolean()) {
        TFormUserLogin login(c.FieldByName("EMAIL_ADDRESS").AsString(),
                             c.FieldByName("PASSWORD").AsString());
        if (login.Execute() != QDialog::Accepted) {
            host.SetTerminating();
            return false;
        }
        c.Edit();
        c.FieldByName("REMEMBER_PASSWORD").SetAsBoolean(login.CBRememberPassword->isChecked());
        c.Post();
    }
    DataModuleCust->CommitCustomerTables();
    DataModuleCust->LoginCustomer(c.FieldByName("EMAIL_ADDRESS").AsString());
    host.UpdateTrayItems();
    return true;
}

void LogOffUser(TLoginHost& host)
{
    host.EnableAccountItems(false);
    if (MsgBox().Question(Format(LoadStr(20101), DataModuleCust->LoggedInEmail))) {
        host.SetTrayIconVisible(false);
        if (ProfileCount() == 1 && !AppParam->bPromptForUser) {
            host.Exit();
            return;
        }
        DataModuleCust->LoginCustomer("");
        if (!LoginAtStart(host, true))
            return; // cancelled: the program ends
        host.SetTrayIconVisible(true);
    }
    host.RefreshFields();
    host.EnableAccountItems(true);
}

void AddNewAccount(TLoginHost& host)
{
    host.EnableAccountItems(false);
    TFormNewUserOrMember form;
    form.FirstStart = false;
    if (form.Execute() == QDialog::Accepted) {
        TClientDataSet& c = DataModuleCust->CDSCustomer;
        DataModuleCust->CommitCustomerTables();
        DataModuleCust->LoginCustomer(c.FieldByName("EMAIL_ADDRESS").AsString());
        if (!WelcomeRedeemed())
            host.RunWelcomeCredits();
        host.RefreshSMSPage();
        host.UpdateTrayItems();
    }
    host.EnableAccountItems(true);
    host.RefreshFields();
}

} // namespace riz
