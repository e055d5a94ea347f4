#pragma once

#include <QDialog>
#include <QPixmap>
#include <QTimer>
#include <string>

class QLabel;
class QProgressBar;
class QPushButton;

namespace riz {

class TOrvoBanner;

// What the sponsor banner dialog shows: the picture, the sponsor's address and how long the
// dialog stays before it may be closed.
struct TBannerShow
{
    QPixmap Picture;
    std::string Link;
    int WaitTime = 0; // milliseconds
};

// The countdown of the banner dialog: 200 ms per tick; the dialog may close at 0 or below.
class TBannerCountdown final
{
public:
    static constexpr int kTickMs = 200;

    explicit TBannerCountdown(int waitMs = 0) : m_wait(waitMs), m_left(waitMs) {}
    void Tick() { m_left -= kTickMs; }
    int Left() const { return m_left; }
    int Wait() const { return m_wait; }
    bool Finished() const { return m_left <= 0; }

private:
    int m_wait;
    int m_left;
};

// "Diese SMS wurde gesponsort von:" with the sponsor's picture. It cannot be closed until its
// wait time has passed; then the progress bar gives way to the button "Close".
class TFormBanner final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFormBanner)

public:
    explicit TFormBanner(const TBannerShow& show, QWidget* parent = nullptr);

    const TBannerCountdown& Countdown() const { return m_countdown; }
    bool CanClose() const { return m_countdown.Finished(); }

    // One tick of the 200 ms timer.
    void TimerTick();

    // Shows the dialog modally and waits until it closes. Tests answer it through ModalHook
    // kind "TFormBanner".
    static void ShowBanner(const TBannerShow& show, QWidget* parent = nullptr);

    TOrvoBanner* Picture() const { return m_picture; }
    QProgressBar* ProgressBar() const { return m_progress; }
    QPushButton* BtnClose() const { return m_btnClose; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void UpdateProgress();

    TBannerCountdown m_countdown;
    QTimer m_timer;
    TOrvoBanner* m_picture = nullptr;
    QProgressBar* m_progress = nullptr;
    QPushButton* m_btnClose = nullptr;
};

} // namespace riz
