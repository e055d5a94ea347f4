#include "shell/controls/orvobanner.h"

#include "shell/controls/webaddress.h"

#include <QMouseEvent>
#include <QPainter>

namespace riz {

TOrvoBanner::TOrvoBanner(QWidget* parent) : QWidget(parent)
{
    setCursor(Qt::ArrowCursor);
}

void TOrvoBanner::SetURL(const std::string& url)
{
    if (url == m_url)
        return;
    m_url = url;
    setCursor(m_url.empty() ? Qt::ArrowCursor : Qt::PointingHandCursor);
    update();
}

void TOrvoBanner::SetPicture(const QPixmap& picture)
{
    m_picture = picture;
    if (!picture.isNull())
        setFixedSize(picture.size());
    update();
}

void TOrvoBanner::SetPicturePointer(const QPixmap* picture)
{
    if (picture == m_pointer)
        return;
    m_pointer = picture;
    if (m_pointer) {
        m_pointerBitmap = *m_pointer;
        setFixedSize(m_pointerBitmap.size());
    } else {
        m_pointerBitmap = QPixmap();
    }
    update();
}

void TOrvoBanner::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    if (m_picture.width() > 0) {
        p.drawPixmap(0, 0, m_picture);
    } else if (!m_pointerBitmap.isNull()) {
        p.drawPixmap(0, 0, m_pointerBitmap);
    } else {
        p.setPen(palette().color(QPalette::WindowText));
        p.setBrush(palette().color(QPalette::Window));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void TOrvoBanner::mousePressEvent(QMouseEvent* event)
{
    // Without an address the press may belong to the dialog beneath (for dragging it);
    // an ignored event travels on to the parent in its coordinates.
    if (m_url.empty() && m_passMouseDown) {
        event->ignore();
        return;
    }
    m_pressed = event->button() == Qt::LeftButton;
    event->accept();
}

void TOrvoBanner::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    m_pressed = false;
    if (!click)
        return;
    emit Clicked();
    if (!m_url.empty())
        OpenWebAddress(m_url);
}

} // namespace riz
