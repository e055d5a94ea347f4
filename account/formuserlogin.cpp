#include "account/formuserlogin.h"

#include "account/accountui.h"
#include "data/datamodulecust.h"
#include "platform/text.h"
#include "platform/widgets/dialogdriver.h"
#include "platform/widgets/msgbox.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace riz {

TFormUserLogin::TFormUserLogin(const std::string& email, const std::string& storedPassword,
                               QWidget* parent)
    : QDialog(parent), m_email(email), m_password(storedPassword)
{
    QVBoxLayout* layout = SetUpAccountDialog(this, QStringLiteral("Parvion RIZ Avivaze - Anmeldung"));
    auto* form = new QFormLayout();
    form->setContentsMargins(12, 4, 12, 4);
    LEmail = new QLabel(ToQString(email), this);
    EditPassword = new QLineEdit(this);
    EditPassword->setEchoMode(QLineEdit::Password);
    EditPassword->setMaxLength(100);
    form->addRow(QStringLiteral("E-Mail Adresse:"), LEmail);
    form->addRow(QStringLiteral("Kennwort:"), EditPassword);
    CBRememberPassword = new QCheckBox(QStringLiteral("Passwort merken"), this);
    form->addRow(QString(), CBRememberPassword);
    form->addRow(QString(), new QLabel(QString::fromUtf8("(Dies können Sie unter \"Einstellungen\" ändern)"), this));
    form->addRow(QString(), new QLabel(QStringLiteral("Passwort vergessen?"), this));
    form->addRow(QString(), MakeLinkLabel(this, QStringLiteral(", wir mailen es Ihnen zu!"),
                                          [this] { ForgotPasswordClick(); }));
    layout->addLayout(form);
    AddButtonRow(this, layout, QStringLiteral("Anmelden"), BtnLogin, BtnCancel);
    connect(BtnLogin, &QPushButton::clicked, this, &TFormUserLogin::BtnLoginClick);
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

int TFormUserLogin::Execute()
{
    return DialogDriver::Exec(*this, "TFormUserLogin");
}

void TFormUserLogin::BtnLoginClick()
{
    if (FromQString(EditPassword->text()) != m_password) {
        MsgBox().Error(10302);
        return;
    }
    accept();
}

void TFormUserLogin::ForgotPasswordClick()
{
    DataModuleCust->PasswordRequestEmail = m_email;
    int result = 0;
    if (RunAccountTask(50431, result) == 1)
        MsgBox().Info(30201);
}

} // namespace riz
