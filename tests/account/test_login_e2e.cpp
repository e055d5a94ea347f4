// Registration, confirmation, download of an existing customer, profile choice, password
// prompt and log-off against a real riz-service, with the dialogs driven as a user would.
#include "account/accountui.h"
#include "account/formconfirmregistration.h"
#include "account/formnewuserormember.h"
#include "account/formuserlogin.h"
#include "account/formuserselection.h"
#include "account/login.h"
#include "data/appparam.h"
#include "data/datamoduleaddresses.h"
#include "data/datamodulecust.h"
#include "data/datamodulereminder.h"
#include "data/datamodulesms.h"
#include "platform/modalhook.h"
#include "platform/strings.h"
#include "platform/widgets/dialogdriver.h"
#include "platform/widgets/msgbox.h"
#include "tests/service/serviceclient.h"
#include "tests/support/clientinstall.h"
#include "tests/support/serviceprocess.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

#include <memory>

using namespace riz;

namespace {

struct RecordingHost final : TLoginHost
{
    void SetTerminating() override { terminating = true; }
    void SetNewUserRegistered(bool v) override { newUserRegistered = v; }
    void UpdateTrayItems() override { ++trayUpdates; }
    void SetTrayIconVisible(bool v) override { trayVisible = v; }
    void EnableAccountItems(bool e) override { itemsEnabled = e; }
    void Exit() override { exited = true; }
    bool terminating = false, newUserRegistered = false, trayVisible = true, itemsEnabled = true,
         exited = false;
    int trayUpdates = 0;
};

std::vector<std::string> Shown(const std::string& kind)
{
    std::vector<std::string> out;
    for (const auto& r : ModalHook::History())
        if (r.kind == kind)
            out.push_back(r.text);
    return out;
}

void FillPage10(TFormNewUserOrMember& f, bool newUser, const std::string& email,
                const std::string& password)
{
    (newUser ? f.RBNewUser : f.RBExistingUser)->setChecked(true);
    f.EEmailAddress->setText(QString::fromStdString(email));
    f.EPassword->setText(QString::fromStdString(password));
    if (newUser) {
        f.EPasswordConfirmation->setText(QString::fromStdString(password));
        f.RBFemale->setChecked(true);
        f.EFirstName->setText(QStringLiteral("Anna"));
        f.ELastName->setText(QStringLiteral("Berg"));
    }
}

class LoginE2E : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ModalHook::Clear();
        ModalHook::ClearHistory();
        DialogDriver::Clear();
        service = std::make_unique<test::ServiceProcess>();
        ASSERT_TRUE(service->Running()) << service->Error();
    }
    void TearDown() override
    {
        client.reset();
        EXPECT_FALSE(ModalHook::HasPending()) << "an answer was not used";
    }
    // A client installation without any profile, as after a fresh install.
    void FreshClient()
    {
        client.reset();
        client = std::make_unique<test::ClientInstall>(service->Host(), service->Port());
        AppParam->SetOneUserProfileFinished(false);
    }

    std::unique_ptr<test::ServiceProcess> service;
    std::unique_ptr<test::ClientInstall> client;
    RecordingHost host;
};

} // namespace

TEST_F(LoginE2E, FreshInstallationRegistersConfirmsOnResultFiveAndLogsIn)
{
    FreshClient();
    const std::string email = "anna.berg@example.de";
    DialogDriver::Push("TFormNewUserOrMember", [&](QDialog& d) {
        auto& f = static_cast<TFormNewUserOrMember&>(d);
        EXPECT_TRUE(f.FirstStart);
        FillPage10(f, true, email, "Sommer");
        f.BtnOK->click();  // registers; the notice 30211 is answered below
        f.BtnCancel->click(); // on the optional page "Abbrechen" ends with OK
    });
    ModalHook::PushAnswer("info", TMsgBox::mrOk);
    ASSERT_TRUE(LoginAtStart(host, false));
    EXPECT_TRUE(host.newUserRegistered);
    EXPECT_FALSE(host.terminating);
    EXPECT_EQ(DataModuleCust->LoggedInEmail, email);
    EXPECT_GT(DataModuleCust->LoggedInCustomerId, 0);
    EXPECT_EQ(Shown("info"), std::vector<std::string>{LoadStr(30211)});
    EXPECT_TRUE(AppParam->bOneUserProfileFinished);
    EXPECT_EQ(AppParam->sDefaultUser, email);
    EXPECT_FALSE(service->IsConfirmed(email));
    const std::string code = service->RegistrationCode(email);
    ASSERT_EQ(code.size(), 29u);

    // The first task that needs a confirmed account answers 5: the code dialog comes up. A
    // code of the wrong form is refused before any request; the mailed one is accepted.
    DialogDriver::Push("TFormConfirmRegistration", [](QDialog& d) {
        auto& f = static_cast<TFormConfirmRegistration&>(d);
        f.ECode->setText(QStringLiteral("ABCDE-12345-FGHIJ-67890-KLMN"));
        f.BtnOK->click();
    });
    ModalHook::PushAnswer("error", TMsgBox::mrOk);
    DialogDriver::Push("TFormConfirmRegistration", [&](QDialog& d) {
        auto& f = static_cast<TFormConfirmRegistration&>(d);
        f.ECode->setText(QString::fromStdString(code));
        f.BtnOK->click();
    });
    int result = -1;
    ASSERT_EQ(RunTaskConfirmingRegistration(50442, result), 1);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(Shown("error"), std::vector<std::string>{LoadStr(10701)});
    EXPECT_TRUE(service->IsConfirmed(email));
    EXPECT_EQ(service->Requests("CONFIRM_REGISTRATION").size(), 1u);
    EXPECT_EQ(service->Requests("SAVE_SMS_ADDRESS_BOOK").size(), 2u);

    // The profile survives a restart of the tables.
    client->Reopen();
    EXPECT_EQ(DataModuleCust->CDSCustomer.FieldByName("EMAIL_ADDRESS").AsString(), email);
    EXPECT_EQ(DataModuleCust->CDSCustomer.FieldByName("GENDER").AsString(), "F");
}

TEST_F(LoginE2E, ExistingCustomerDownloadBringsAddressBookRemindersAndHistory)
{
    const std::string email = "ben@example.de";
    test::ServiceClient helper(service->Host(), service->Port());
    const int id = helper.Register(email, "Winter");
    service->Confirm(email);
    service->SetCredits(email, 1000);

    // A first installation fills the service: a contact, a reminder and a sent SMS.
    client = std::make_unique<test::ClientInstall>(service->Host(), service->Port());
    client->AddProfile(email, "Winter", id);
    TClientDataSet& book = DataModuleAddresses->CDSAddressBook;
    book.Append();
    book.FieldByName("NAME").SetAsString("Carla");
    book.FieldByName("CELL_PHONE").SetAsString("0172 7654321");
    book.Post();
    ASSERT_EQ(client->Execute(50442), 1);
    ASSERT_EQ(client->ResultCode(), 0);
    TClientDataSet& rem = DataModuleReminder->CDSReminder;
    rem.Append();
    rem.FieldByName("REMINDER_ID").SetAsInteger(1);
    rem.FieldByName("REMIND_DATE").SetAsDateTime(50000.5);
    rem.FieldByName("DESCRIPTION").SetAsString("Geburtstag Carla");
    rem.FieldByName("REMIND_WHEN").SetAsFloat(1.0);
    rem.Post();
    ASSERT_EQ(client->Execute(50461), 1);
    ASSERT_EQ(client->ResultCode(), 0);
    TClientDataSet& receivers = DataModuleSMS->CDSSMSReceiver;
    receivers.Append();
    receivers.FieldByName("RECEIVER_ID").SetAsInteger(1);
    receivers.FieldByName("RECEIVER_NUMBER").SetAsString("+491727654321");
    receivers.FieldByName("RESPONSE_CODE").SetAsInteger(-1);
    receivers.Post();
    DataModuleSMS->SmsText = "Hallo Carla";
    DataModuleSMS->SmsSender = "Ben";
    ASSERT_EQ(client->Execute(50441), 1);
    ASSERT_EQ(client->ResultCode(), 0);

    // A fresh installation downloads the member.
    FreshClient();
    DialogDriver::Push("TFormNewUserOrMember", [&](QDialog& d) {
        auto& f = static_cast<TFormNewUserOrMember&>(d);
        FillPage10(f, false, email, "Winter");
        f.BtnOK->click();
    });
    ModalHook::PushAnswer("info", TMsgBox::mrOk);
    ASSERT_TRUE(LoginAtStart(host, false));
    EXPECT_EQ(Shown("info"), std::vector<std::string>{LoadStr(30212)});
    EXPECT_EQ(DataModuleCust->LoggedInEmail, email);
    EXPECT_EQ(DataModuleCust->LoggedInCustomerId, id);
    EXPECT_EQ(service->Requests("LOAD_SMS_ADDRESS_BOOK").size(), 1u);
    EXPECT_EQ(service->Requests("LOAD_REMINDER_LIST").size(), 1u);
    EXPECT_EQ(service->Requests("LOAD_SMS_HISTORY").size(), 1u);

    client->Reopen();
    TClientDataSet& b = DataModuleAddresses->CDSAddressBook;
    ASSERT_EQ(b.RecordCount(), 1);
    b.First();
    EXPECT_EQ(b.FieldByName("NAME").AsString(), "Carla");
    TClientDataSet& r = DataModuleReminder->CDSReminder;
    ASSERT_EQ(r.RecordCount(), 1);
    r.First();
    EXPECT_EQ(r.FieldByName("DESCRIPTION").AsString(), "Geburtstag Carla");
    TClientDataSet& h = DataModuleSMS->CDSSMSHistory;
    ASSERT_EQ(h.RecordCount(), 1);
    h.First();
    EXPECT_EQ(h.FieldByName("SMS_TEXT").AsString(), "Hallo Carla");
}

TEST_F(LoginE2E, WrongPasswordGives10609AndLeavesNoProfile)
{
    const std::string email = "carla@example.de";
    test::ServiceClient helper(service->Host(), service->Port());
    helper.Register(email, "richtig");
    FreshClient();
    DialogDriver::Push("TFormNewUserOrMember", [&](QDialog& d) {
        auto& f = static_cast<TFormNewUserOrMember&>(d);
        FillPage10(f, false, email, "falsch");
        f.BtnOK->click();     // 10609, answered below; the dialog stays
        f.BtnCancel->click(); // first start: 20701 asks, "Nein" keeps the dialog
        f.BtnCancel->click(); // "Ja" closes it
    });
    ModalHook::PushAnswer("error", TMsgBox::mrOk);
    ModalHook::PushAnswer("question", TMsgBox::mrNo);
    ModalHook::PushAnswer("question", TMsgBox::mrYes);
    EXPECT_FALSE(LoginAtStart(host, false));
    EXPECT_TRUE(host.terminating);
    EXPECT_EQ(Shown("error"), std::vector<std::string>{LoadStr(10609)});
    EXPECT_EQ(Shown("question"), (std::vector<std::string>{LoadStr(20701), LoadStr(20701)}));
    EXPECT_EQ(DataModuleCust->CDSCustomer.RecordCount(), 0);
    client->Reopen();
    EXPECT_EQ(DataModuleCust->CDSCustomer.RecordCount(), 0);
}

TEST_F(LoginE2E, TwoProfilesListPasswordPromptAndLogOff)
{
    client = std::make_unique<test::ClientInstall>(service->Host(), service->Port());
    client->AddProfile("anna@example.de", "eins1", 1);
    client->AddProfile("ben@example.de", "zwei2", 2);
    TClientDataSet& c = DataModuleCust->CDSCustomer;
    // Anna's password is remembered, Ben's is not.
    for (auto [email, remember] : {std::pair{"anna@example.de", true}, std::pair{"ben@example.de", false}}) {
        DataModuleCust->GoToCustomer(email);
        c.Edit();
        c.FieldByName("REMEMBER_PASSWORD").SetAsBoolean(remember);
        c.Post();
    }
    DataModuleCust->CommitCustomerTables();
    AppParam->SetOneUserProfileFinished(true);
    AppParam->SetDefaultUser("anna@example.de");
    AppParam->SetPromptForUser(true);

    // The list comes up; Ben is chosen; his password is asked: a wrong one first.
    DialogDriver::Push("TFormUserSelection", [](QDialog& d) {
        auto& f = static_cast<TFormUserSelection&>(d);
        ASSERT_EQ(f.LBUsers->count(), 2);
        f.BtnOK->click(); // nothing selected: 10401
        f.LBUsers->setCurrentRow(1);
        f.BtnOK->click();
    });
    DialogDriver::Push("TFormUserLogin", [](QDialog& d) {
        auto& f = static_cast<TFormUserLogin&>(d);
        EXPECT_FALSE(f.CBRememberPassword->isChecked());
        f.EditPassword->setText(QStringLiteral("falsch"));
        f.BtnLogin->click(); // 10302
        f.EditPassword->setText(QStringLiteral("zwei2"));
        f.CBRememberPassword->setChecked(true);
        f.BtnLogin->click();
    });
    ModalHook::PushAnswer("error", TMsgBox::mrOk);
    ModalHook::PushAnswer("error", TMsgBox::mrOk);
    ASSERT_TRUE(LoginAtStart(host, false));
    EXPECT_EQ(DataModuleCust->LoggedInEmail, "ben@example.de");
    EXPECT_EQ(Shown("error"), (std::vector<std::string>{LoadStr(10401), LoadStr(10302)}));
    client->Reopen();
    DataModuleCust->GoToCustomer("ben@example.de");
    EXPECT_TRUE(DataModuleCust->CDSCustomer.FieldByName("REMEMBER_PASSWORD").AsBoolean());

    // Log-off with two profiles shows the list again; Anna's remembered password skips the
    // prompt.
    DialogDriver::Push("TFormUserSelection", [](QDialog& d) {
        auto& f = static_cast<TFormUserSelection&>(d);
        f.LBUsers->setCurrentRow(0);
        f.BtnOK->click();
    });
    ModalHook::PushAnswer("question", TMsgBox::mrYes);
    LogOffUser(host);
    EXPECT_FALSE(host.exited);
    EXPECT_EQ(DataModuleCust->LoggedInEmail, "anna@example.de");
    EXPECT_TRUE(host.trayVisible);
    EXPECT_TRUE(host.itemsEnabled);
    EXPECT_FALSE(DialogDriver::HasPending("TFormUserLogin"));

    // Cancelling the list at a log-off ends the program.
    DialogDriver::Push("TFormUserSelection", [](QDialog& d) {
        static_cast<TFormUserSelection&>(d).BtnCancel->click();
    });
    ModalHook::PushAnswer("question", TMsgBox::mrYes);
    LogOffUser(host);
    EXPECT_TRUE(host.terminating);
}

TEST_F(LoginE2E, LogOffWithOneProfileEndsTheProgram)
{
    client = std::make_unique<test::ClientInstall>(service->Host(), service->Port());
    client->AddProfile("anna@example.de", "eins1", 1);
    AppParam->SetPromptForUser(false);
    ModalHook::PushAnswer("question", TMsgBox::mrNo);
    LogOffUser(host); // "Nein": stays logged in
    EXPECT_FALSE(host.exited);
    EXPECT_EQ(DataModuleCust->LoggedInEmail, "anna@example.de");
    ModalHook::PushAnswer("question", TMsgBox::mrYes);
    LogOffUser(host);
    EXPECT_TRUE(host.exited);
    EXPECT_FALSE(host.trayVisible);
    EXPECT_EQ(Shown("question")[0], Format(LoadStr(20101), std::string("anna@example.de")));
}

TEST_F(LoginE2E, MissingDefaultProfileShowsTheListInsteadOfLockingOut)
{
    client = std::make_unique<test::ClientInstall>(service->Host(), service->Port());
    client->AddProfile("anna@example.de", "eins1", 1);
    TClientDataSet& c = DataModuleCust->CDSCustomer;
    c.Edit();
    c.FieldByName("REMEMBER_PASSWORD").SetAsBoolean(true);
    c.Post();
    AppParam->SetOneUserProfileFinished(true);
    AppParam->SetDefaultUser("geloescht@example.de");
    AppParam->SetPromptForUser(false);
    DialogDriver::Push("TFormUserSelection", [](QDialog& d) {
        auto& f = static_cast<TFormUserSelection&>(d);
        f.LBUsers->setCurrentRow(0);
        f.BtnOK->click();
    });
    ASSERT_TRUE(LoginAtStart(host, false));
    EXPECT_EQ(DataModuleCust->LoggedInEmail, "anna@example.de");
}

TEST_F(LoginE2E, ForgottenPasswordLinkMailsThePassword)
{
    const std::string email = "dora@example.de";
    test::ServiceClient helper(service->Host(), service->Port());
    helper.Register(email, "Fruehling");
    client = std::make_unique<test::ClientInstall>(service->Host(), service->Port());
    client->AddProfile(email, "Fruehling", 4);
    TFormUserLogin login(email, "Fruehling");
    ModalHook::PushAnswer("info", TMsgBox::mrOk);
    login.ForgotPasswordClick();
    EXPECT_EQ(Shown("info"), std::vector<std::string>{LoadStr(30201)});
    const auto mails = service->Outbox(email);
    ASSERT_FALSE(mails.empty());
    EXPECT_EQ(mails.back().Kind, "password");
    EXPECT_EQ(mails.back().Code, "Fruehling");
}
