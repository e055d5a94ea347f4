#include "platform/widgets/msgbox.h"

#include "platform/modalhook.h"
#include "platform/strings.h"
#include "platform/text.h"

#include <QMessageBox>
#include <memory>

namespace riz {
namespace {
TMsgBox* g_box = nullptr;
} // namespace

TMsgBox& MsgBox()
{
    static TMsgBox fallback;
    return g_box ? *g_box : fallback;
}

void SetMsgBox(TMsgBox* box)
{
    g_box = box;
}

int TMsgBox::Show(const char* kind, int captionId, const std::string& text) const
{
    ModalHook::Note(kind, text);
    const bool question = captionId == 2;
    int answer = 0;
    if (ModalHook::TakeAnswer(kind, answer))
        return answer;
    if (ModalHook::Unattended()) {
        ModalHook::ReportUnexpected({kind, text});
        return question ? mrNo : mrOk;
    }
    QMessageBox box(question ? QMessageBox::Question
                             : (captionId == 1 ? QMessageBox::Critical : QMessageBox::Information),
                    LoadQStr(captionId), ToQString(text),
                    question ? (QMessageBox::Yes | QMessageBox::No) : QMessageBox::Ok, m_parent);
    if (question) {
        box.setButtonText(QMessageBox::Yes, QStringLiteral("&Ja"));
        box.setButtonText(QMessageBox::No, QStringLiteral("&Nein"));
    }
    const int r = box.exec();
    if (question)
        return r == QMessageBox::Yes ? mrYes : mrNo;
    return mrOk;
}

void TMsgBox::Error(int id) const
{
    Show("error", 1, LoadStr(id));
}

void TMsgBox::Error(const std::string& text) const
{
    Show("error", 1, text);
}

void TMsgBox::Info(int id) const
{
    Show("info", 3, LoadStr(id));
}

void TMsgBox::Info(const std::string& text) const
{
    Show("info", 3, text);
}

bool TMsgBox::Question(int id) const
{
    return Show("question", 2, LoadStr(id)) == mrYes;
}

bool TMsgBox::Question(const std::string& text) const
{
    return Show("question", 2, text) == mrYes;
}

} // namespace riz
