#include "shell/screenshot.h"

#include "data/datamodulecust.h"

#include <QApplication>

#include "shell/controls/orvotrayicon.h"
#include "shell/formrizavivaze.h"

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <QTimer>

namespace riz {

void ArmScreenshots(TFormRIZAvivaze& form)
{
    const QString dir = qEnvironmentVariable("RIZ_AVIVAZE_SCREENSHOT_DIR");
    if (dir.isEmpty())
        return;
    QDir().mkpath(dir);
    const int settleMs = qEnvironmentVariableIntValue("RIZ_AVIVAZE_SCREENSHOT_WAIT_MS") > 0
                             ? qEnvironmentVariableIntValue("RIZ_AVIVAZE_SCREENSHOT_WAIT_MS")
                             : 4000;
    TFormRIZAvivaze* f = &form;
    // Once the start-up sequence has logged a profile in and no dialog is open: show the
    // window and let the home page load.
    auto* wait = new QTimer(f);
    wait->setInterval(500);
    QObject::connect(wait, &QTimer::timeout, f, [f, dir, settleMs, wait] {
        if (!DataModuleCust || DataModuleCust->LoggedInEmail.empty() ||
            QApplication::activeModalWidget())
            return;
        wait->stop();
        wait->deleteLater();
        f->ShowMainWindow();
        QTimer::singleShot(settleMs, f, [f, dir] {
            f->grab().save(dir + QStringLiteral("/main-window.png"));
            // The tray menu opened from the "Menü" label, as a user would open it.
            const QPoint at = f->MenuLabel()->mapToGlobal(QPoint(4, 4));
            f->TrayIcon()->ShowMenu(at - QPoint(0, f->PopupMenu()->sizeHint().height()));
            QTimer::singleShot(700, f, [f, dir] {
                if (QScreen* screen = QGuiApplication::primaryScreen())
                    screen->grabWindow(0).save(dir + QStringLiteral("/tray-menu.png"));
                f->PopupMenu()->grab().save(dir + QStringLiteral("/tray-menu-only.png"));
                f->PopupMenu()->close();
                f->MenuItemExitClick();
            });
        });
    });
    wait->start();
}

} // namespace riz
