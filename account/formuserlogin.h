#pragma once

#include <QDialog>
#include <string>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace riz {

// The local password prompt for a profile whose password is not remembered.
class TFormUserLogin final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFormUserLogin)

public:
    TFormUserLogin(const std::string& email, const std::string& storedPassword,
                   QWidget* parent = nullptr);
    int Execute(); // DialogDriver kind "TFormUserLogin"

    QLabel* LEmail = nullptr;
    QLineEdit* EditPassword = nullptr;
    QCheckBox* CBRememberPassword = nullptr;
    QPushButton* BtnLogin = nullptr;
    QPushButton* BtnCancel = nullptr;

    void BtnLoginClick();
    void ForgotPasswordClick();

private:
    std::string m_email;
    std::string m_password;
};

} // namespace riz
