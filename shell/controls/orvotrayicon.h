#pragma once

#include <QIcon>
#include <QList>
#include <QObject>
#include <QPoint>
#include <QString>
#include <memory>

class QMenu;
class QSystemTrayIcon;

namespace riz {

// The program's icon in the notification area. Visible, Hint and IconIndex act at once;
// a left click emits Clicked, a double click DoubleClicked (after Clicked), and the context
// menu is the popup menu when one is set.
class TOrvoTrayIcon final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TOrvoTrayIcon)

public:
    // Tips of this many characters or more are refused.
    static constexpr int kMaxHintLength = 64;

    explicit TOrvoTrayIcon(QObject* parent = nullptr);
    ~TOrvoTrayIcon() override;

    bool Visible() const { return m_visible; }
    void SetVisible(bool visible);
    const QString& Hint() const { return m_hint; }
    void SetHint(const QString& hint);
    QMenu* PopupMenu() const { return m_popup; }
    void SetPopupMenu(QMenu* menu);
    // The icon list is not owned; IconIndex picks the icon shown from it.
    const QList<QIcon>* Icons() const { return m_icons; }
    void SetIcons(const QList<QIcon>* icons);
    int IconIndex() const { return m_iconIndex; }
    void SetIconIndex(int index);
    // Back to the application's icon.
    void SetDefaultIcon();
    // The icon shown now.
    QIcon Icon() const { return m_icon; }

    // Opens the popup menu at the position (the cursor's when none is given); nothing
    // happens without a popup menu.
    void ShowMenu(const QPoint& at);
    void ShowMenu();
    // Removes the icon at the end of the session.
    void EndSession();

    // The tray underneath, for tests that act as the desktop.
    QSystemTrayIcon* Native() const { return m_tray.get(); }

signals:
    void Clicked();
    void DoubleClicked();

private:
    void Update();

    std::unique_ptr<QSystemTrayIcon> m_tray;
    bool m_visible = false;
    QString m_hint;
    QMenu* m_popup = nullptr;
    const QList<QIcon>* m_icons = nullptr;
    int m_iconIndex = 0;
    QIcon m_icon;
};

} // namespace riz
