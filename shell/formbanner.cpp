#include "shell/formbanner.h"

#include "platform/modalhook.h"
#include "platform/text.h"
#include "shell/controls/dialogstyle.h"
#include "shell/controls/orvobanner.h"

#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace riz {

TFormBanner::TFormBanner(const TBannerShow& show, QWidget* parent)
    : QDialog(parent), m_countdown(show.WaitTime)
{
    setWindowTitle(QStringLiteral("Parvion RIZ Avivaze - SMS Provider"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    ApplyDialogStyle(this);
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(6);
    auto* text = new QLabel(QStringLiteral("Diese SMS wurde gesponsort von:"), this);
    layout->addWidget(text);
    m_picture = new TOrvoBanner(this);
    m_picture->SetPicture(show.Picture);
    if (show.Picture.isNull())
        m_picture->setFixedSize(240, 60);
    m_picture->SetURL(show.Link);
    if (!show.Link.empty()) {
        m_picture->setToolTip(ToQString(show.Link));
        setCursor(Qt::PointingHandCursor);
    }
    layout->addWidget(m_picture, 0, Qt::AlignHCenter);
    m_progress = new QProgressBar(this);
    m_progress->setTextVisible(false);
    m_progress->setRange(0, qMax(1, m_countdown.Wait()));
    layout->addWidget(m_progress);
    m_btnClose = new QPushButton(QStringLiteral("Close"), this);
    m_btnClose->setVisible(false);
    layout->addWidget(m_btnClose, 0, Qt::AlignHCenter);
    connect(m_btnClose, &QPushButton::clicked, this, &QDialog::accept);

    const QSize pic = m_picture->size();
    setFixedSize(pic.width() + 8, pic.height() + 60);

    m_timer.setInterval(TBannerCountdown::kTickMs);
    connect(&m_timer, &QTimer::timeout, this, &TFormBanner::TimerTick);
    UpdateProgress();
    if (!m_countdown.Finished())
        m_timer.start();
}

void TFormBanner::TimerTick()
{
    m_countdown.Tick();
    UpdateProgress();
    if (m_countdown.Finished())
        m_timer.stop();
}

void TFormBanner::UpdateProgress()
{
    if (m_countdown.Finished()) {
        m_progress->setVisible(false);
        m_btnClose->setVisible(true);
        m_btnClose->setDefault(true);
    } else {
        m_progress->setValue(m_countdown.Wait() - m_countdown.Left());
    }
}

void TFormBanner::closeEvent(QCloseEvent* event)
{
    if (CanClose())
        QDialog::closeEvent(event);
    else
        event->ignore();
}

void TFormBanner::reject()
{
    if (CanClose())
        QDialog::reject();
}

void TFormBanner::ShowBanner(const TBannerShow& show, QWidget* parent)
{
    const char* kind = "TFormBanner";
    ModalHook::Note(kind, show.Link);
    int answer = 0;
    if (ModalHook::TakeAnswer(kind, answer))
        return;
    if (ModalHook::Unattended()) {
        ModalHook::ReportUnexpected({kind, show.Link});
        return;
    }
    TFormBanner form(show, parent);
    form.exec();
}

} // namespace riz
