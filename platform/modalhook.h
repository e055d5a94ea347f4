#pragma once

#include <string>
#include <vector>

namespace riz {

// Every modal prompt of the program (message boxes, questions, file dialogs, the runner's
// cancel question, small dialogs) asks here before it shows itself. Tests queue the next
// answers; a prompt that finds one returns it without showing anything. Each prompt that is
// asked is also recorded, shown or not, so tests can check what the user would have seen.
class ModalHook final
{
public:
    struct Record
    {
        std::string kind;  // "error", "info", "question", a form's class name, "file-open" ...
        std::string text;  // the message text (Windows-1252) or a form's summary
    };

    // Queues the answer for the next prompt of that kind (or of any kind with "*").
    static void PushAnswer(const std::string& kind, int answer, const std::string& text = {});
    // The queued answer for a prompt of this kind, if there is one.
    static bool TakeAnswer(const std::string& kind, int& answer, std::string* text = nullptr);
    static bool HasPending();
    static void Clear();

    // When set, a prompt without a queued answer is an error: it is recorded, reported to the
    // handler and answered with its default instead of blocking an unattended run.
    static void SetUnattended(bool unattended, void (*onUnexpected)(const Record&) = nullptr);
    static bool Unattended();
    static void ReportUnexpected(const Record& record);

    static void Note(const std::string& kind, const std::string& text);
    static const std::vector<Record>& History();
    static void ClearHistory();
};

} // namespace riz
