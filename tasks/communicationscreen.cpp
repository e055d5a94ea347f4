#include "tasks/communicationscreen.h"

#include "platform/strings.h"
#include "platform/widgets/appexceptionhook.h"
#include "platform/widgets/msgbox.h"
#include "tasks/taskfactory.h"
#include "shell/controls/dialogstyle.h"

#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace riz {
namespace {
TCommunicationScreen* g_screen = nullptr;
} // namespace

TCommunicationScreen& CommunicationScreen()
{
    if (!g_screen)
        g_screen = new TCommunicationScreen();
    return *g_screen;
}

void SetCommunicationScreen(TCommunicationScreen* screen)
{
    g_screen = screen;
}

TCommunicationScreen::TCommunicationScreen(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QString::fromUtf8("Datenübertragung"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(313, 124);
    setModal(true);
    ApplyDialogStyle(this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 8, 12, 8);
    LabelLog = new QLabel(this);
    LabelLog->setAlignment(Qt::AlignCenter);
    LabelLog->setWordWrap(true);
    LabelLog->setFixedSize(289, 29);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setRange(0, 22);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setFixedSize(289, 21);
    BtnCancel = new QPushButton(QStringLiteral("A&bbrechen"), this);
    layout->addWidget(LabelLog, 0, Qt::AlignHCenter);
    layout->addWidget(ProgressBar1, 0, Qt::AlignHCenter);
    layout->addWidget(BtnCancel, 0, Qt::AlignHCenter);
    connect(BtnCancel, &QPushButton::clicked, this, &TCommunicationScreen::reject);

    m_timerAnim.setInterval(500);
    connect(&m_timerAnim, &QTimer::timeout, this, &TCommunicationScreen::TimerAnimTimer);
    m_timerStart.setInterval(1);
    m_timerStart.setSingleShot(true);
    connect(&m_timerStart, &QTimer::timeout, this, &TCommunicationScreen::TimerStartTimer);
}

TCommunicationScreen::~TCommunicationScreen()
{
    if (g_screen == this)
        g_screen = nullptr;
}

int TCommunicationScreen::Execute(int taskId)
{
    m_taskId = taskId;
    return exec() == 1 ? 1 : 2;
}

void TCommunicationScreen::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    MayClose = false;
    m_closing = false;
    LabelLog->setText(LoadQStr(50401));
    ProgressBar1->setValue(1);
    m_timerAnim.start();
    m_timerStart.start();
}

void TCommunicationScreen::hideEvent(QHideEvent* event)
{
    m_timerAnim.stop();
    m_timerStart.stop();
    MayClose = true;
    QDialog::hideEvent(event);
}

void TCommunicationScreen::TimerStartTimer()
{
    m_timerStart.stop();
    m_task.reset();
    try {
        m_task = CreateTask(m_taskId);
        LabelLog->setText(LoadQStr(m_taskId));
        m_task->OnComTaskDone = [this](int id, int code, int user) { ComTaskDone(id, code, user); };
        if (OnTaskStarted)
            OnTaskStarted(*this);
        m_task->Start();
    } catch (const std::exception& e) {
        ReportApplicationException(e);
    }
}

void TCommunicationScreen::TimerAnimTimer()
{
    const int next = ProgressBar1->value() + 1;
    ProgressBar1->setValue(next > ProgressBar1->maximum() ? ProgressBar1->minimum() : next);
}

void TCommunicationScreen::ComTaskDone(int, int resultCode, int)
{
    m_timerAnim.stop();
    if (resultCode == 3 || resultCode == 4) {
        MayClose = true;
        done(2);
        return;
    }
    LabelLog->setText(LoadQStr(50402));
    ResultCode = resultCode;
    MayClose = true;
    done(1);
}

bool TCommunicationScreen::FormCloseQuery()
{
    if (!MayClose && !MsgBox().Question(20001))
        return false;
    if (m_task)
        m_task->Cancel();
    return true;
}

void TCommunicationScreen::closeEvent(QCloseEvent* event)
{
    event->ignore();
    if (m_closing)
        event->accept();
    else
        reject();
}

void TCommunicationScreen::reject()
{
    if (FormCloseQuery())
        done(2);
}

void TCommunicationScreen::done(int r)
{
    m_closing = true;
    if (m_task)
        m_task->Cancel();
    QDialog::done(r);
}

} // namespace riz
