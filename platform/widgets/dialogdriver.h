#pragma once

#include <QDialog>

#include <functional>
#include <string>

namespace riz {

// Runs the program's own dialogs. Tests queue a driver for a dialog class: when that dialog
// runs, the driver gets it once it is shown and fills fields or clicks buttons as a user
// would. A queued ModalHook answer instead ends the dialog at once with that result. In an
// unattended run a dialog without either is reported and ends rejected.
class DialogDriver final
{
public:
    using Driver = std::function<void(QDialog&)>;

    static void Push(const std::string& kind, Driver driver);
    static bool HasPending(const std::string& kind);
    static void Clear();

    // The dialog's exec() result, or the queued answer.
    static int Exec(QDialog& dialog, const std::string& kind);
};

} // namespace riz
