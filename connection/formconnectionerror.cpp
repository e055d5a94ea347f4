#include "connection/formconnectionerror.h"

#include "platform/modalhook.h"
#include "platform/text.h"
#include "shell/controls/dialogstyle.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace riz {

TFormConnectionError::TFormConnectionError(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QString::fromUtf8("Parvion RIZ Avivaze - Verbindungsproblem"));
    setModal(true);
    ApplyDialogStyle(this);

    auto* layout = new QVBoxLayout(this);
    LabelError = new QLabel(this);
    QFont bold = LabelError->font();
    bold.setBold(true);
    LabelError->setFont(bold);
    LabelError->setWordWrap(true);
    layout->addWidget(LabelError);
    auto text = [&](const char* utf8) {
        auto* l = new QLabel(QString::fromUtf8(utf8), this);
        l->setWordWrap(true);
        layout->addWidget(l);
    };
    text("Dies kann zwei mögliche Ursachen haben:");
    text("1)  Sie sind nicht mit dem Internet verbunden...");
    text("In diesem Fall stellen Sie bitte eine Verbindung zum Internet her und klicken Sie auf "
         "\"Wiederholen\"!");
    BtnRetry = new QPushButton(QStringLiteral("Wiederholen"), this);
    layout->addWidget(BtnRetry, 0, Qt::AlignLeft);
    text("2)  Sie sind verbunden, aber verwenden einen Proxy...");
    text("In diesem Fall klicken Sie auf \"Automatisch konfigurieren\" oder, falls dieses nicht "
         "funktioniert, auf \"Manuell konfigurieren\"");
    auto* configRow = new QHBoxLayout();
    BtnAutoConfig = new QPushButton(QStringLiteral("Automatisch konfigurieren"), this);
    BtnManualConfig = new QPushButton(QStringLiteral("Manuell konfigurieren"), this);
    // The detection and the settings dialog are not part of this program yet.
    BtnAutoConfig->setEnabled(false);
    BtnManualConfig->setEnabled(false);
    configRow->addWidget(BtnAutoConfig);
    configRow->addWidget(BtnManualConfig);
    configRow->addStretch();
    layout->addLayout(configRow);
    BtnCancel = new QPushButton(QStringLiteral("Abbrechen"), this);
    layout->addWidget(BtnCancel, 0, Qt::AlignRight);
    connect(BtnRetry, &QPushButton::clicked, this, [this] { done(1); });
    connect(BtnCancel, &QPushButton::clicked, this, [this] { done(2); });
    setFixedWidth(460);
}

void TFormConnectionError::SetErrorText(const std::string& text)
{
    LabelError->setText(ToQString(text));
}

int TFormConnectionError::Execute()
{
    const std::string text = FromQString(LabelError->text());
    ModalHook::Note("TFormConnectionError", text);
    int answer = 0;
    if (ModalHook::TakeAnswer("TFormConnectionError", answer))
        return answer;
    if (ModalHook::Unattended()) {
        ModalHook::ReportUnexpected({"TFormConnectionError", text});
        return 2;
    }
    return exec() == 1 ? 1 : 2;
}

int TFormConnectionError::ShowFor(const std::string& errorText)
{
    TFormConnectionError form;
    form.SetErrorText(errorText);
    return form.Execute();
}

} // namespace riz
