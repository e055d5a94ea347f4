#include "shell/controls/formimages.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace riz {
namespace {

TFormImages* g_images = nullptr;

// A speech bubble with three text lines, the program's emblem.
void DrawBubble(QPainter& p, const QRectF& r, const QColor& fill, const QColor& lines)
{
    QPainterPath bubble;
    const QRectF body(r.left(), r.top(), r.width(), r.height() * 0.78);
    bubble.addRoundedRect(body, r.width() * 0.18, r.width() * 0.18);
    QPainterPath tail;
    tail.moveTo(body.left() + body.width() * 0.22, body.bottom() - 1);
    tail.lineTo(body.left() + body.width() * 0.14, r.bottom());
    tail.lineTo(body.left() + body.width() * 0.48, body.bottom() - 1);
    tail.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawPath(bubble.united(tail));
    p.setPen(QPen(lines, qMax(1.0, r.height() * 0.08), Qt::SolidLine, Qt::RoundCap));
    const double x0 = body.left() + body.width() * 0.2;
    for (int i = 0; i < 3; ++i) {
        const double y = body.top() + body.height() * (0.3 + 0.2 * i);
        const double x1 = body.right() - body.width() * (i == 2 ? 0.45 : 0.2);
        p.drawLine(QPointF(x0, y), QPointF(x1, y));
    }
}

QPixmap DrawIcon(int size, const QColor& top, const QColor& bottom)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, size);
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRoundedRect(QRectF(0.5, 0.5, size - 1, size - 1), size * 0.22, size * 0.22);
    DrawBubble(p, QRectF(size * 0.18, size * 0.2, size * 0.64, size * 0.62), Qt::white, bottom);
    return pm;
}

QIcon MakeIcon(const QColor& top, const QColor& bottom)
{
    QIcon icon;
    for (int s : {16, 22, 24, 32, 48, 64})
        icon.addPixmap(DrawIcon(s, top, bottom));
    return icon;
}

QPixmap DrawLogo()
{
    QPixmap pm(TFormImages::kLogoWidth, TFormImages::kLogoHeight);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QLinearGradient g(0, 0, pm.width(), 0);
    g.setColorAt(0.0, QColor(0x0b, 0x3d, 0x6e));
    g.setColorAt(0.55, QColor(0x1a, 0x6f, 0xa8));
    g.setColorAt(1.0, QColor(0x5f, 0xb8, 0xd9));
    p.fillRect(pm.rect(), g);
    // A thin light line along the bottom edge separates the strip from the dialog.
    p.fillRect(QRect(0, pm.height() - 2, pm.width(), 2), QColor(0xe9, 0xed, 0xf1));
    // Faint bubbles drifting to the right.
    p.setOpacity(0.16);
    DrawBubble(p, QRectF(470, 4, 34, 30), Qt::white, QColor(0x1a, 0x6f, 0xa8));
    DrawBubble(p, QRectF(520, 12, 24, 22), Qt::white, QColor(0x1a, 0x6f, 0xa8));
    DrawBubble(p, QRectF(560, 2, 40, 34), Qt::white, QColor(0x1a, 0x6f, 0xa8));
    p.setOpacity(1.0);
    DrawBubble(p, QRectF(12, 5, 34, 31), Qt::white, QColor(0x0b, 0x3d, 0x6e));

    QFont bold(QStringLiteral("DejaVu Sans"));
    bold.setPixelSize(20);
    bold.setBold(true);
    p.setFont(bold);
    p.setPen(Qt::white);
    const QString name = QStringLiteral("Parvion");
    p.drawText(QPoint(56, 27), name);
    const int nameWidth = QFontMetrics(bold).horizontalAdvance(name);
    QFont light(bold);
    light.setBold(false);
    p.setFont(light);
    p.setPen(QColor(0xcf, 0xe8, 0xf6));
    p.drawText(QPoint(56 + nameWidth + 8, 27), QStringLiteral("RIZ Avivaze"));
    QFont small(QStringLiteral("DejaVu Sans"));
    small.setPixelSize(11);
    p.setFont(small);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, pm.width() - 12, pm.height() - 2), Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("SMS vom PC"));
    return pm;
}

// Small line drawings for the tabs, 16 x 16.
QIcon PageIcon(int page)
{
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor blue(0x1a, 0x6f, 0xa8);
    p.setPen(QPen(blue, 1.4));
    p.setBrush(Qt::NoBrush);
    switch (page) {
    case 0: { // home
        QPolygonF roof;
        roof << QPointF(1.5, 8) << QPointF(8, 2) << QPointF(14.5, 8);
        p.drawPolyline(roof);
        p.drawRect(QRectF(3.5, 8, 9, 6.5));
        p.fillRect(QRectF(7, 10.5, 2.5, 4), blue);
        break;
    }
    case 1: // SMS
        DrawBubble(p, QRectF(1.5, 2, 13, 12.5), blue, Qt::white);
        break;
    case 2: // reminder: a clock
        p.drawEllipse(QRectF(2, 2, 12, 12));
        p.drawLine(QPointF(8, 8), QPointF(8, 4.5));
        p.drawLine(QPointF(8, 8), QPointF(10.5, 9.5));
        break;
    case 3: // addresses: a person
        p.setBrush(blue);
        p.drawEllipse(QRectF(5, 1.5, 6, 6));
        p.drawChord(QRectF(2, 8.5, 12, 12), 0, 180 * 16);
        break;
    case 4: // credits: a coin
        p.setBrush(QColor(0xf5, 0xc2, 0x42));
        p.setPen(QPen(QColor(0xb8, 0x7a, 0x00), 1.2));
        p.drawEllipse(QRectF(2, 2, 12, 12));
        p.drawText(QRectF(2, 2, 12, 12), Qt::AlignCenter, QStringLiteral("C"));
        break;
    default: { // help
        p.setBrush(blue);
        p.setPen(Qt::NoPen);
        p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setPixelSize(11);
        f.setBold(true);
        p.setFont(f);
        p.setPen(Qt::white);
        p.drawText(QRectF(1.5, 1.5, 13, 13), Qt::AlignCenter, QStringLiteral("?"));
        break;
    }
    }
    return QIcon(pm);
}

} // namespace

TFormImages::TFormImages()
    : ImageLogo(DrawLogo()), AppIcon(MakeIcon(QColor(0x2a, 0x86, 0xc8), QColor(0x0b, 0x3d, 0x6e)))
{
    TrayIcons << AppIcon << MakeIcon(QColor(0xf5, 0xa6, 0x23), QColor(0xb8, 0x5c, 0x00));
    for (int page = 0; page < 6; ++page)
        PageIcons << PageIcon(page);
}

TFormImages* FormImages()
{
    return g_images;
}

void SetFormImages(TFormImages* images)
{
    g_images = images;
}

} // namespace riz
