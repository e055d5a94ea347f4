#pragma once

#include <QString>
#include <functional>

class QDialog;
class QLabel;
class QPushButton;
class QVBoxLayout;

namespace riz {

// Pieces the account dialogs share: the banner strip and look on top, a link text made of
// "Klicken Sie " + an underlined "hier" + a tail.
QVBoxLayout* SetUpAccountDialog(QDialog* dialog, const QString& caption);
QLabel* MakeLinkLabel(QDialog* dialog, const QString& tail, std::function<void()> onClick);
// The row of the default button and "Abbrechen" at the bottom of a dialog.
void AddButtonRow(QDialog* dialog, QVBoxLayout* layout, const QString& okText, QPushButton*& ok,
                  QPushButton*& cancel);

// Runs a task through the runner: 1 completed (resultCode set), 2 cancelled. Tests and the
// program may replace it; by default it is CommunicationScreen().Execute.
using TRunTask = std::function<int(int taskId, int& resultCode)>;
TRunTask& AccountTaskRunner();
int RunAccountTask(int taskId, int& resultCode);
// The pattern of every caller of a task that needs a confirmed account: run it; on result 5
// run the registration-code loop and, when a code was accepted, run the task again.
int RunTaskConfirmingRegistration(int taskId, int& resultCode);

} // namespace riz
