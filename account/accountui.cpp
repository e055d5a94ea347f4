#include "account/accountui.h"

#include "shell/controls/dialogstyle.h"
#include "shell/controls/orvobanner.h"
#include "account/formconfirmregistration.h"
#include "tasks/communicationscreen.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace riz {

QVBoxLayout* SetUpAccountDialog(QDialog* dialog, const QString& caption)
{
    dialog->setWindowTitle(caption);
    dialog->setModal(true);
    auto* layout = new QVBoxLayout(dialog);
    layout->setContentsMargins(0, 0, 0, 8);
    auto* banner = new TOrvoBanner(dialog);
    layout->addWidget(banner);
    ApplyDialogStyle(dialog, banner);
    return layout;
}

QLabel* MakeLinkLabel(QDialog* dialog, const QString& tail, std::function<void()> onClick)
{
    auto* label = new QLabel(QStringLiteral("Klicken Sie <a href=\"#\">hier</a>") + tail.toHtmlEscaped(),
                             dialog);
    label->setTextFormat(Qt::RichText);
    label->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    QObject::connect(label, &QLabel::linkActivated, dialog, [onClick](const QString&) { onClick(); });
    return label;
}

void AddButtonRow(QDialog* dialog, QVBoxLayout* layout, const QString& okText, QPushButton*& ok,
                  QPushButton*& cancel)
{
    auto* buttons = new QHBoxLayout();
    buttons->addStretch();
    ok = new QPushButton(okText, dialog);
    ok->setDefault(true);
    cancel = new QPushButton(QStringLiteral("Abbrechen"), dialog);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->setContentsMargins(8, 0, 8, 0);
    layout->addLayout(buttons);
}

TRunTask& AccountTaskRunner()
{
    static TRunTask runner;
    return runner;
}

int RunAccountTask(int taskId, int& resultCode)
{
    if (AccountTaskRunner())
        return AccountTaskRunner()(taskId, resultCode);
    const int r = CommunicationScreen().Execute(taskId);
    resultCode = CommunicationScreen().ResultCode;
    return r;
}

int RunTaskConfirmingRegistration(int taskId, int& resultCode)
{
    for (;;) {
        const int r = RunAccountTask(taskId, resultCode);
        if (r != 1 || resultCode != 5 || !ConfirmRegistration())
            return r;
    }
}

} // namespace riz
