#pragma once

#include "tasks/comtask.h"

#include <QDialog>
#include <QTimer>

#include <memory>

class QLabel;
class QProgressBar;
class QPushButton;

namespace riz {

// The runner: a small modal progress dialog that creates the task of an id, starts it and
// closes when the task reports its result. One instance serves every task.
class TCommunicationScreen final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TCommunicationScreen)

public:
    explicit TCommunicationScreen(QWidget* parent = nullptr);
    ~TCommunicationScreen() override;

    // 1 when the task completed (read ResultCode), 2 when it was cancelled or gave up.
    int Execute(int taskId);

    int ResultCode = 0;
    bool MayClose = true;

    QLabel* LabelLog = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QPushButton* BtnCancel = nullptr;
    TComTask* CurrentTask() const { return m_task.get(); }

    // Called while the dialog runs a task, for tests that need to act in the middle of it.
    std::function<void(TCommunicationScreen&)> OnTaskStarted;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;
    void done(int r) override;

private:
    bool FormCloseQuery();
    void TimerStartTimer();
    void TimerAnimTimer();
    void ComTaskDone(int taskId, int resultCode, int userValue);

    QTimer m_timerAnim;
    QTimer m_timerStart;
    int m_taskId = 0;
    std::unique_ptr<TComTask> m_task;
    bool m_closing = false;
};

// The global runner, created at program start. The accessor creates one on first use.
TCommunicationScreen& CommunicationScreen();
void SetCommunicationScreen(TCommunicationScreen* screen);

} // namespace riz
