#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace riz {

// Asks for the registration code the service mailed.
class TFormConfirmRegistration final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFormConfirmRegistration)

public:
    explicit TFormConfirmRegistration(QWidget* parent = nullptr);
    int Execute(); // DialogDriver kind "TFormConfirmRegistration"

    QLineEdit* ECode = nullptr;
    QPushButton* BtnOK = nullptr;
    QPushButton* BtnCancel = nullptr;

    void SendCodeAgainClick();
};

// Runs the registration-code loop; true when the service accepted a code. Every caller of a
// task that answers 5 runs this and, on true, the task again. A code not of the form
// XXXXX-XXXXX-XXXXX-XXXXX-XXXXX is refused with 10701 before anything is sent.
bool ConfirmRegistration();

} // namespace riz
