#include "account/formnewuserormember.h"

#include "account/accountui.h"
#include "account/registrationchecks.h"
#include "data/appparam.h"
#include "data/clientdataset.h"
#include "data/datamodulecust.h"
#include "platform/strings.h"
#include "platform/text.h"
#include "platform/widgets/dialogdriver.h"
#include "platform/widgets/msgbox.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace riz {
namespace {

std::string Text(const QLineEdit* e)
{
    return FromQString(e->text());
}

bool ProfileExists(const std::string& email)
{
    std::vector<std::string> users;
    DataModuleCust->FillUsersIntoStringList(users);
    for (const std::string& u : users)
        if (AnsiSameText(u, email))
            return true;
    return false;
}

// Result codes a caller of these tasks knows; anything else is 10901.
void ShowResultError(int result)
{
    if (result == 11)
        MsgBox().Error(10609);
    else if (result == 21)
        MsgBox().Error(10608);
    else
        MsgBox().Error(10901);
}

// Drops a row the dialog appended but the server did not accept.
void DiscardNewRow(const std::string& email)
{
    TClientDataSet& c = DataModuleCust->CDSCustomer;
    if (c.State() == TDataSetState::Insert || c.State() == TDataSetState::Edit) {
        c.Cancel();
        return;
    }
    if (c.Locate("EMAIL_ADDRESS", TValue(email), true))
        c.Delete();
}

} // namespace

TFormNewUserOrMember::TFormNewUserOrMember(QWidget* parent) : QDialog(parent)
{
    QVBoxLayout* layout = SetUpAccountDialog(this, QStringLiteral("Parvion RIZ Avivaze"));
    Notebook = new QStackedWidget(this);
    layout->addWidget(Notebook);

    auto* page10 = new QWidget(Notebook);
    auto* p10 = new QVBoxLayout(page10);
    auto* kind = new QHBoxLayout();
    RBNewUser = new QRadioButton(QStringLiteral("neuer Benutzer"), page10);
    RBExistingUser = new QRadioButton(QStringLiteral("existierender Benutzer"), page10);
    RBNewUser->setChecked(true);
    // Two separate choices on one page: each pair is a group of its own.
    auto* kindGroup = new QButtonGroup(page10);
    kindGroup->addButton(RBNewUser);
    kindGroup->addButton(RBExistingUser);
    kind->addWidget(RBNewUser);
    kind->addWidget(RBExistingUser);
    p10->addLayout(kind);
    auto* form = new QFormLayout();
    EEmailAddress = new QLineEdit(page10);
    EPassword = new QLineEdit(page10);
    EPassword->setEchoMode(QLineEdit::Password);
    EPasswordConfirmation = new QLineEdit(page10);
    EPasswordConfirmation->setEchoMode(QLineEdit::Password);
    auto* gender = new QHBoxLayout();
    RBMale = new QRadioButton(QStringLiteral("Herr"), page10);
    RBFemale = new QRadioButton(QStringLiteral("Frau"), page10);
    RBMale->setChecked(true);
    auto* genderGroup = new QButtonGroup(page10);
    genderGroup->addButton(RBMale);
    genderGroup->addButton(RBFemale);
    gender->addWidget(RBMale);
    gender->addWidget(RBFemale);
    gender->addStretch();
    EFirstName = new QLineEdit(page10);
    ELastName = new QLineEdit(page10);
    form->addRow(QStringLiteral("E-Mail Addresse:"), EEmailAddress);
    form->addRow(QStringLiteral("Passwort:"), EPassword);
    form->addRow(QStringLiteral("Wiederholung Passwort:"), EPasswordConfirmation);
    form->addRow(QString(), gender);
    form->addRow(QStringLiteral("Vorname:"), EFirstName);
    form->addRow(QStringLiteral("Nachname:"), ELastName);
    p10->addLayout(form);
    LForgotPassword = new QLabel(QStringLiteral("Passwort vergessen?"), page10);
    LForgotPasswordLink =
        MakeLinkLabel(this, QStringLiteral(" und wir mailen es Ihnen zu!"), [this] { ForgotPasswordClick(); });
    p10->addWidget(LForgotPassword);
    p10->addWidget(LForgotPasswordLink);
    Notebook->addWidget(page10);

    auto* page20 = new QWidget(Notebook);
    auto* p20 = new QVBoxLayout(page20);
    auto* heading = new QLabel(QString::fromUtf8("Ihre Anmeldung war erfolgreich!"), page20);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    p20->addWidget(heading);
    p20->addWidget(new QLabel(QStringLiteral("Die folgenden Angaben sind optional:"), page20));
    auto* form20 = new QFormLayout();
    auto edit = [page20](int max) {
        auto* e = new QLineEdit(page20);
        e->setMaxLength(max);
        return e;
    };
    EHomePhone = edit(50);
    EWorkPhone = edit(50);
    ECellPhone = edit(50);
    EFax = edit(50);
    EBirthDay = edit(2);
    EBirthMonth = edit(2);
    EBirthYear = edit(4);
    EBirthDay->installEventFilter(this);
    EBirthMonth->installEventFilter(this);
    EBirthYear->installEventFilter(this);
    auto* birth = new QHBoxLayout();
    birth->addWidget(EBirthDay);
    birth->addWidget(EBirthMonth);
    birth->addWidget(EBirthYear);
    CBLanguage = new QComboBox(page20);
    CBLanguage->addItem(LoadQStr(50600), LoadQStr(50700));
    CBLanguage->addItem(LoadQStr(50601), LoadQStr(50701));
    form20->addRow(QStringLiteral("Telefon privat:"), EHomePhone);
    form20->addRow(QString::fromUtf8("Telefon geschäftlich:"), EWorkPhone);
    form20->addRow(QStringLiteral("Handy:"), ECellPhone);
    form20->addRow(QStringLiteral("Fax:"), EFax);
    form20->addRow(QStringLiteral("Geburtstag:"), birth);
    form20->addRow(QStringLiteral("Sprache:"), CBLanguage);
    p20->addLayout(form20);
    Notebook->addWidget(page20);

    AddButtonRow(this, layout, QStringLiteral("OK"), BtnOK, BtnCancel);
    connect(BtnOK, &QPushButton::clicked, this, &TFormNewUserOrMember::BtnOKClick);
    connect(BtnCancel, &QPushButton::clicked, this, &TFormNewUserOrMember::reject);
    connect(RBNewUser, &QRadioButton::toggled, this, &TFormNewUserOrMember::RadioChanged);
    RadioChanged();
}

int TFormNewUserOrMember::Execute()
{
    return DialogDriver::Exec(*this, "TFormNewUserOrMember");
}

void TFormNewUserOrMember::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    Notebook->setCurrentIndex(0);
    m_cancelEndsWithOk = false;
    const int de = CBLanguage->findData(LoadQStr(50799));
    CBLanguage->setCurrentIndex(de < 0 ? 0 : de);
    EEmailAddress->setFocus();
}

void TFormNewUserOrMember::RadioChanged()
{
    const bool newUser = RBNewUser->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{EPasswordConfirmation, EFirstName, ELastName,
                                                      RBMale, RBFemale})
        w->setEnabled(newUser);
    LForgotPassword->setVisible(!newUser);
    LForgotPasswordLink->setVisible(!newUser);
}

bool TFormNewUserOrMember::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        // The key is not consumed: the field still gets it.
        if (key == Qt::Key_Period && watched == EBirthDay)
            QTimer::singleShot(0, EBirthMonth, [this] { EBirthMonth->setFocus(); });
        else if (key == Qt::Key_Period && watched == EBirthMonth)
            QTimer::singleShot(0, EBirthYear, [this] { EBirthYear->setFocus(); });
        else if (key == Qt::Key_Backspace && watched == EBirthMonth)
            QTimer::singleShot(0, EBirthDay, [this] { EBirthDay->setFocus(); });
        else if (key == Qt::Key_Backspace && watched == EBirthYear)
            QTimer::singleShot(0, EBirthMonth, [this] { EBirthMonth->setFocus(); });
    }
    return QDialog::eventFilter(watched, event);
}

void TFormNewUserOrMember::BtnOKClick()
{
    if (Notebook->currentIndex() == 1)
        SaveOptionalData();
    else if (RBNewUser->isChecked())
        RegisterNewUser();
    else
        DownloadMember();
}

void TFormNewUserOrMember::RegisterNewUser()
{
    TNewUserInput in{Text(EEmailAddress), Text(EPassword), Text(EPasswordConfirmation),
                     Text(EFirstName), Text(ELastName)};
    if (const int error = CheckNewUser(in, ProfileExists)) {
        MsgBox().Error(error);
        return;
    }
    TClientDataSet& c = DataModuleCust->CDSCustomer;
    c.Append();
    c.FieldByName("CUSTOMER_ID").SetAsInteger(-1);
    c.FieldByName("EMAIL_ADDRESS").SetAsString(in.Email);
    c.FieldByName("PASSWORD").SetAsString(in.Password);
    c.FieldByName("FIRST_NAME").SetAsString(in.FirstName);
    c.FieldByName("LAST_NAME").SetAsString(in.LastName);
    c.FieldByName("GENDER").SetAsString(RBMale->isChecked() ? "M" : "F");
    c.FieldByName("HOME_PHONE").SetAsString("");
    c.FieldByName("WORK_PHONE").SetAsString("");
    c.FieldByName("CELL_PHONE").SetAsString("");
    c.FieldByName("BIRTHDATE").Clear();
    c.FieldByName("HOME_COUNTRY_CODE").SetAsString("de");
    c.FieldByName("LANGUAGE_CODE").SetAsString(LoadStr(50799));
    for (const char* f : {"REMEMBER_PASSWORD", "REMIND_BIRTHDAYS", "REMIND_WITH_EMAIL",
                          "REMIND_BIRTHDAY_WITH_EMAIL"})
        c.FieldByName(f).SetAsBoolean(true);
    for (const char* f : {"REMIND_WITH_SMS", "REMIND_BIRTHDAY_WITH_SMS", "WELCOME_CREDIT_CODE_SENT",
                          "WELCOME_CREDIT_CODE_REDEEMED"})
        c.FieldByName(f).SetAsBoolean(false);
    c.FieldByName("CREDITS").SetAsInteger(0);
    c.FieldByName("WELCOME_CREDIT_CODE_SENT_TO").SetAsString("");

    int result = 0;
    if (RunAccountTask(50411, result) != 1) {
        DiscardNewRow(in.Email);
        return;
    }
    if (result != 0) {
        DiscardNewRow(in.Email);
        MsgBox().Error(result == 21 ? 10608 : 10901);
        return;
    }
    DataModuleCust->CommitCustomerTables();
    if (FirstStart) {
        AppParam->SetOneUserProfileFinished(true);
        AppParam->SetDefaultUser(in.Email);
    }
    MsgBox().Info(30211);
    Notebook->setCurrentIndex(1);
    m_cancelEndsWithOk = true;
}

void TFormNewUserOrMember::DownloadMember()
{
    const std::string email = Text(EEmailAddress);
    const std::string password = Text(EPassword);
    if (const int error = CheckExistingMember(email, password, ProfileExists)) {
        MsgBox().Error(error);
        return;
    }
    DataModuleCust->DownloadEmail = email;
    DataModuleCust->DownloadPassword = password;
    TClientDataSet& c = DataModuleCust->CDSCustomer;
    c.Append();
    int result = 0;
    if (RunAccountTask(50412, result) != 1) {
        DiscardNewRow(email);
        return;
    }
    if (result != 0) {
        DiscardNewRow(email);
        ShowResultError(result == 11 ? 11 : -1);
        return;
    }
    const std::string address = c.FieldByName("EMAIL_ADDRESS").AsString();
    if (FirstStart) {
        AppParam->SetOneUserProfileFinished(true);
        AppParam->SetDefaultUser(address);
    }
    // The new profile is the one the following downloads fill.
    DataModuleCust->LoginCustomer(address);
    for (int task : {50443, 50462, 50445}) {
        int ignored = 0;
        RunAccountTask(task, ignored);
    }
    MsgBox().Info(30212);
    done(QDialog::Accepted);
}

void TFormNewUserOrMember::SaveOptionalData()
{
    double birthDate = 0;
    if (const int error = CheckOptionalData(Text(EBirthDay), Text(EBirthMonth), Text(EBirthYear),
                                            Text(ECellPhone), birthDate)) {
        MsgBox().Error(error);
        return;
    }
    TClientDataSet& c = DataModuleCust->CDSCustomer;
    DataModuleCust->ChangeEmail = c.FieldByName("EMAIL_ADDRESS").AsString();
    DataModuleCust->ChangePassword = c.FieldByName("PASSWORD").AsString();
    c.Edit();
    c.FieldByName("HOME_PHONE").SetAsString(Text(EHomePhone));
    c.FieldByName("WORK_PHONE").SetAsString(Text(EWorkPhone));
    c.FieldByName("CELL_PHONE").SetAsString(Text(ECellPhone));
    c.FieldByName("FAX").SetAsString(Text(EFax));
    c.FieldByName("BIRTHDATE").SetAsDateTime(birthDate);
    c.FieldByName("LANGUAGE_CODE").SetAsString(FromQString(CBLanguage->currentData().toString()));
    int result = 0;
    if (RunAccountTask(50421, result) != 1) {
        if (c.State() == TDataSetState::Edit)
            c.Cancel();
        return;
    }
    if (result != 0) {
        if (c.State() == TDataSetState::Edit)
            c.Cancel();
        ShowResultError(result);
        return;
    }
    if (c.State() == TDataSetState::Edit)
        c.Post();
    DataModuleCust->CommitCustomerTables();
    done(QDialog::Accepted);
}

void TFormNewUserOrMember::ForgotPasswordClick()
{
    const std::string email = Text(EEmailAddress);
    if (email.empty() || !IsValidEmailAddress(email)) {
        MsgBox().Error(10601);
        return;
    }
    DataModuleCust->PasswordRequestEmail = email;
    int result = 0;
    if (RunAccountTask(50431, result) == 1)
        MsgBox().Info(30201);
}

bool TFormNewUserOrMember::MayClose()
{
    return !FirstStart || MsgBox().Question(20701);
}

void TFormNewUserOrMember::reject()
{
    if (m_cancelEndsWithOk) {
        done(QDialog::Accepted);
        return;
    }
    if (MayClose())
        QDialog::reject();
}

void TFormNewUserOrMember::closeEvent(QCloseEvent* event)
{
    event->ignore();
    reject();
}

} // namespace riz
