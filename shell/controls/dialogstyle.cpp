#include "shell/controls/dialogstyle.h"

#include "shell/controls/formimages.h"
#include "shell/controls/orvobanner.h"

#include <QFont>
#include <QPalette>
#include <QWidget>

namespace riz {

void ApplyDialogStyle(QWidget* dialog, TOrvoBanner* banner)
{
    QPalette pal = dialog->palette();
    pal.setColor(QPalette::Window, QColor(0xf1, 0xed, 0xe5));
    dialog->setPalette(pal);
    dialog->setAutoFillBackground(true);
    QFont font(QStringLiteral("Verdana"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(8);
    dialog->setFont(font);
    if (banner && FormImages())
        banner->SetPicturePointer(&FormImages()->ImageLogo);
}

} // namespace riz
