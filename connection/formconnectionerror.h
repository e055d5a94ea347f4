#pragma once

#include <QDialog>
#include <string>

class QLabel;
class QPushButton;

namespace riz {

// Shown by the task layer when no server answered: "Wiederholen" ends with 1 (try again with
// the settings as they are now), "Abbrechen" gives up. The two configure buttons open the
// automatic detection and the settings dialog once those are installed.
class TFormConnectionError final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFormConnectionError)

public:
    explicit TFormConnectionError(QWidget* parent = nullptr);

    void SetErrorText(const std::string& text);
    // The modal result: 1 retry, 2 cancelled. Tests answer through ModalHook
    // ("TFormConnectionError").
    int Execute();

    // Shows the dialog for the task layer; the function the program installs in its task
    // context.
    static int ShowFor(const std::string& errorText);

    QLabel* LabelError = nullptr;
    QPushButton* BtnRetry = nullptr;
    QPushButton* BtnAutoConfig = nullptr;
    QPushButton* BtnManualConfig = nullptr;
    QPushButton* BtnCancel = nullptr;
};

} // namespace riz
