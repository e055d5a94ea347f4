#include "account/formuserselection.h"

#include "account/accountui.h"
#include "data/datamodulecust.h"
#include "platform/text.h"
#include "platform/widgets/dialogdriver.h"
#include "platform/widgets/msgbox.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace riz {

TFormUserSelection::TFormUserSelection(QWidget* parent) : QDialog(parent)
{
    QVBoxLayout* layout =
        SetUpAccountDialog(this, QString::fromUtf8("Parvion RIZ Avivaze - Benutzerauswahl"));
    auto* body = new QVBoxLayout();
    body->setContentsMargins(12, 4, 12, 4);
    body->addWidget(new QLabel(QStringLiteral("Auf diesem Computer sind mehrere Benutzer eingerichtet."), this));
    body->addWidget(new QLabel(QString::fromUtf8("Wählen Sie bitte Ihr Profil aus!"), this));
    LBUsers = new QListWidget(this);
    std::vector<std::string> users;
    DataModuleCust->FillUsersIntoStringList(users);
    std::sort(users.begin(), users.end(),
              [](const std::string& a, const std::string& b) { return AnsiCompareText(a, b) < 0; });
    for (const std::string& u : users)
        LBUsers->addItem(ToQString(u));
    body->addWidget(LBUsers);
    auto* hint = new QLabel(
        QString::fromUtf8("In den Einstellungen können Sie einen Standardbenutzer auswählen."), this);
    hint->setWordWrap(true);
    body->addWidget(hint);
    layout->addLayout(body);
    AddButtonRow(this, layout, QStringLiteral("OK"), BtnOK, BtnCancel);
    connect(BtnOK, &QPushButton::clicked, this, &TFormUserSelection::BtnOKClick);
    connect(LBUsers, &QListWidget::itemDoubleClicked, this, [this] { BtnOKClick(); });
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

int TFormUserSelection::Execute()
{
    return DialogDriver::Exec(*this, "TFormUserSelection");
}

void TFormUserSelection::BtnOKClick()
{
    QListWidgetItem* item = LBUsers->currentItem();
    if (!item || !item->isSelected()) {
        MsgBox().Error(10401);
        return;
    }
    SelectedEmail = FromQString(item->text());
    accept();
}

} // namespace riz
