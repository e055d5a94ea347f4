#include "account/formconfirmregistration.h"

#include "account/accountui.h"
#include "account/registrationchecks.h"
#include "data/datamodulecust.h"
#include "platform/strings.h"
#include "platform/text.h"
#include "platform/widgets/dialogdriver.h"
#include "platform/widgets/msgbox.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace riz {

TFormConfirmRegistration::TFormConfirmRegistration(QWidget* parent) : QDialog(parent)
{
    QVBoxLayout* layout =
        SetUpAccountDialog(this, QString::fromUtf8("Parvion RIZ Avivaze - Bestätigungscode eingeben"));
    auto* body = new QVBoxLayout();
    body->setContentsMargins(12, 4, 12, 4);
    auto* intro = new QLabel(
        QString::fromUtf8("Geben Sie bitte den Registrierungscode ein, den wir Ihnen per E-Mail "
                          "gesendet haben:"),
        this);
    intro->setWordWrap(true);
    body->addWidget(intro);
    ECode = new QLineEdit(this);
    ECode->setMaxLength(29);
    body->addWidget(ECode);
    body->addWidget(new QLabel(QStringLiteral("(XXXXX-XXXXX-XXXXX-XXXXX-XXXXX)"), this));
    body->addWidget(new QLabel(QString::fromUtf8("Bestätigungscode vergessen?"), this));
    body->addWidget(
        MakeLinkLabel(this, QStringLiteral(" und wir mailen ihn Ihnen zu!"), [this] { SendCodeAgainClick(); }));
    layout->addLayout(body);
    AddButtonRow(this, layout, QStringLiteral("OK"), BtnOK, BtnCancel);
    BtnOK->setEnabled(false);
    connect(ECode, &QLineEdit::textChanged, this,
            [this](const QString& t) { BtnOK->setEnabled(!t.isEmpty()); });
    connect(BtnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

int TFormConfirmRegistration::Execute()
{
    return DialogDriver::Exec(*this, "TFormConfirmRegistration");
}

void TFormConfirmRegistration::SendCodeAgainClick()
{
    int result = 0;
    if (RunAccountTask(50434, result) == 1)
        MsgBox().Info(Format(LoadStr(30213), DataModuleCust->LoggedInEmail));
}

bool ConfirmRegistration()
{
    for (;;) {
        TFormConfirmRegistration form;
        const int r = form.Execute();
        const std::string code = FromQString(form.ECode->text());
        DataModuleCust->RegistrationCode = code;
        if (r != QDialog::Accepted)
            return false;
        // A code of the wrong form never goes to the service.
        if (!IsRegistrationCodeForm(code)) {
            MsgBox().Error(10701);
            continue;
        }
        int result = 0;
        if (RunAccountTask(50432, result) != 1)
            return false;
        if (result == 0)
            return true;
        if (!MsgBox().Question(20401))
            return false;
    }
}

} // namespace riz
