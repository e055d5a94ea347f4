#pragma once

#include <QIcon>
#include <QList>
#include <QPixmap>

namespace riz {

// The shared pictures: the logo strip every dialog banner shows, the program icon and the
// tray icons. All are drawn by code at creation; no picture files are needed.
class TFormImages final
{
public:
    static constexpr int kLogoWidth = 640;
    static constexpr int kLogoHeight = 42;

    TFormImages();

    QPixmap ImageLogo;
    QIcon AppIcon;
    QList<QIcon> TrayIcons; // 0 the normal icon, 1 the busy icon
    // The main window's tab icons: home, SMS, reminder, addresses, credits, help.
    QList<QIcon> PageIcons;
};

// The global instance, created by the program entry after the data modules.
TFormImages* FormImages();
void SetFormImages(TFormImages* images);

} // namespace riz
