#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;

namespace riz {

// A new customer registers, or an existing one downloads his profile. First page: address,
// password and names; second page (after a registration): optional data.
class TFormNewUserOrMember final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFormNewUserOrMember)

public:
    explicit TFormNewUserOrMember(QWidget* parent = nullptr);

    // True in the start sequence on an installation without a usable profile: closing then
    // needs a confirmation and a success completes the installation's first profile.
    bool FirstStart = false;

    // Runs the dialog (tests drive it through DialogDriver, kind "TFormNewUserOrMember").
    int Execute();

    QStackedWidget* Notebook = nullptr;
    QRadioButton* RBNewUser = nullptr;
    QRadioButton* RBExistingUser = nullptr;
    QLineEdit* EEmailAddress = nullptr;
    QLineEdit* EPassword = nullptr;
    QLineEdit* EPasswordConfirmation = nullptr;
    QRadioButton* RBMale = nullptr;
    QRadioButton* RBFemale = nullptr;
    QLineEdit* EFirstName = nullptr;
    QLineEdit* ELastName = nullptr;
    QLabel* LForgotPassword = nullptr;
    QLabel* LForgotPasswordLink = nullptr;
    QLineEdit* EHomePhone = nullptr;
    QLineEdit* EWorkPhone = nullptr;
    QLineEdit* ECellPhone = nullptr;
    QLineEdit* EFax = nullptr;
    QLineEdit* EBirthDay = nullptr;
    QLineEdit* EBirthMonth = nullptr;
    QLineEdit* EBirthYear = nullptr;
    QComboBox* CBLanguage = nullptr;
    QPushButton* BtnOK = nullptr;
    QPushButton* BtnCancel = nullptr;

    void BtnOKClick();
    void ForgotPasswordClick();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void RadioChanged();
    void RegisterNewUser();
    void DownloadMember();
    void SaveOptionalData();
    bool MayClose();

    bool m_cancelEndsWithOk = false;
};

} // namespace riz
