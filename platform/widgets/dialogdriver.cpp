#include "platform/widgets/dialogdriver.h"

#include "platform/modalhook.h"
#include "platform/text.h"

#include <QTimer>

#include <deque>
#include <utility>

namespace riz {
namespace {
std::deque<std::pair<std::string, DialogDriver::Driver>>& Drivers()
{
    static std::deque<std::pair<std::string, DialogDriver::Driver>> drivers;
    return drivers;
}
} // namespace

void DialogDriver::Push(const std::string& kind, Driver driver)
{
    Drivers().emplace_back(kind, std::move(driver));
}

bool DialogDriver::HasPending(const std::string& kind)
{
    for (const auto& d : Drivers())
        if (d.first == kind)
            return true;
    return false;
}

void DialogDriver::Clear()
{
    Drivers().clear();
}

int DialogDriver::Exec(QDialog& dialog, const std::string& kind)
{
    ModalHook::Note(kind, FromQString(dialog.windowTitle()));
    for (auto it = Drivers().begin(); it != Drivers().end(); ++it) {
        if (it->first != kind)
            continue;
        Driver driver = std::move(it->second);
        Drivers().erase(it);
        QTimer::singleShot(0, &dialog, [driver, &dialog] { driver(dialog); });
        return dialog.exec();
    }
    int answer = 0;
    if (ModalHook::TakeAnswer(kind, answer))
        return answer;
    if (ModalHook::Unattended()) {
        ModalHook::ReportUnexpected({kind, FromQString(dialog.windowTitle())});
        return QDialog::Rejected;
    }
    return dialog.exec();
}

} // namespace riz
