#include "platform/modalhook.h"

#include <deque>

namespace riz {
namespace {

struct Pending
{
    std::string kind;
    int answer;
    std::string text;
};

std::deque<Pending>& Queue()
{
    static std::deque<Pending> q;
    return q;
}

std::vector<ModalHook::Record>& Log()
{
    static std::vector<ModalHook::Record> log;
    return log;
}

bool g_unattended = false;
void (*g_onUnexpected)(const ModalHook::Record&) = nullptr;

} // namespace

void ModalHook::PushAnswer(const std::string& kind, int answer, const std::string& text)
{
    Queue().push_back({kind, answer, text});
}

bool ModalHook::TakeAnswer(const std::string& kind, int& answer, std::string* text)
{
    for (auto it = Queue().begin(); it != Queue().end(); ++it) {
        if (it->kind == kind || it->kind == "*") {
            answer = it->answer;
            if (text)
                *text = it->text;
            Queue().erase(it);
            return true;
        }
    }
    return false;
}

bool ModalHook::HasPending()
{
    return !Queue().empty();
}

void ModalHook::Clear()
{
    Queue().clear();
}

void ModalHook::SetUnattended(bool unattended, void (*onUnexpected)(const Record&))
{
    g_unattended = unattended;
    g_onUnexpected = onUnexpected;
}

bool ModalHook::Unattended()
{
    return g_unattended;
}

void ModalHook::ReportUnexpected(const Record& record)
{
    if (g_onUnexpected)
        g_onUnexpected(record);
}

void ModalHook::Note(const std::string& kind, const std::string& text)
{
    Log().push_back({kind, text});
}

const std::vector<ModalHook::Record>& ModalHook::History()
{
    return Log();
}

void ModalHook::ClearHistory()
{
    Log().clear();
}

} // namespace riz
