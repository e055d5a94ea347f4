#pragma once

#include <QPixmap>
#include <QWidget>
#include <string>

namespace riz {

// The picture strip at the top of the dialogs. It draws its own picture, else the picture it
// refers to, else an outlined rectangle; with an address a click opens it in the browser.
class TOrvoBanner final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TOrvoBanner)

public:
    explicit TOrvoBanner(QWidget* parent = nullptr);

    const std::string& URL() const { return m_url; }
    void SetURL(const std::string& url);
    const QPixmap& Picture() const { return m_picture; }
    // Copies the picture; a non-empty one gives the banner its size.
    void SetPicture(const QPixmap& picture);
    const QPixmap* PicturePointer() const { return m_pointer; }
    // Refers to a picture owned elsewhere (the shared logo strip); not owned.
    void SetPicturePointer(const QPixmap* picture);
    bool PassMouseDownToParent() const { return m_passMouseDown; }
    void SetPassMouseDownToParent(bool on) { m_passMouseDown = on; }

    QSize sizeHint() const override { return size(); }

signals:
    void Clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    std::string m_url;
    QPixmap m_picture;
    const QPixmap* m_pointer = nullptr;
    QPixmap m_pointerBitmap;
    bool m_passMouseDown = false;
    bool m_pressed = false;
};

} // namespace riz
