#include "shell/formnewversion.h"

#include "platform/modalhook.h"
#include "platform/text.h"
#include "platform/widgets/msgbox.h"
#include "shell/controls/dialogstyle.h"
#include "ui_formnewversion.h"

namespace riz {

TFormNewVersion::TFormNewVersion(const std::string& own, const std::string& latest, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::TFormNewVersion>())
{
    m_ui->setupUi(this);
    ApplyDialogStyle(this, m_ui->Banner);
    m_ui->LOwnVersion->setText(ToQString(own));
    m_ui->LNewVersion->setText(ToQString(latest));
    m_ui->CBDontAsk->setChecked(false);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

TFormNewVersion::~TFormNewVersion() = default;

bool TFormNewVersion::DontAsk() const
{
    return m_ui->CBDontAsk->isChecked();
}

TNewVersionAnswer TFormNewVersion::Ask(const std::string& own, const std::string& latest,
                                       QWidget* parent)
{
    const char* kind = "TFormNewVersion";
    ModalHook::Note(kind, own + " -> " + latest);
    int answer = 0;
    std::string text;
    if (ModalHook::TakeAnswer(kind, answer, &text))
        return {answer == TMsgBox::mrYes, text == "dontask"};
    if (ModalHook::Unattended()) {
        ModalHook::ReportUnexpected({kind, own + " -> " + latest});
        return {};
    }
    TFormNewVersion form(own, latest, parent);
    const bool yes = form.exec() == QDialog::Accepted;
    return {yes, form.DontAsk()};
}

} // namespace riz
