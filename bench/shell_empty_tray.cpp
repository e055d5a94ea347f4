// The anchor of the start benchmark: an empty Qt Widgets program that shows a tray icon and
// waits, as a tray program does at the least.
#include <QApplication>
#include <QMenu>
#include <QPixmap>
#include <QSystemTrayIcon>
#include <QTimer>
#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    QPixmap pm(32, 32);
    pm.fill(Qt::blue);
    QSystemTrayIcon tray{QIcon(pm)};
    QMenu menu;
    menu.addAction(QStringLiteral("Beenden"), &app, &QCoreApplication::quit);
    tray.setContextMenu(&menu);
    QTimer::singleShot(0, [&] {
        tray.show();
        std::fprintf(stderr, "[%s] tray icon shown\n", "anchor");
    });
    return app.exec();
}
