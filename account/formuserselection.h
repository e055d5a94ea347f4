#pragma once

#include <QDialog>
#include <string>

class QListWidget;
class QPushButton;

namespace riz {

// The list of the installation's profiles at start.
class TFormUserSelection final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFormUserSelection)

public:
    explicit TFormUserSelection(QWidget* parent = nullptr);
    int Execute(); // DialogDriver kind "TFormUserSelection"

    std::string SelectedEmail;
    QListWidget* LBUsers = nullptr;
    QPushButton* BtnOK = nullptr;
    QPushButton* BtnCancel = nullptr;

    void BtnOKClick();
};

} // namespace riz
