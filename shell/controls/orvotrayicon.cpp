#include "shell/controls/orvotrayicon.h"

#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QWidget>

namespace riz {

TOrvoTrayIcon::TOrvoTrayIcon(QObject* parent)
    : QObject(parent), m_tray(std::make_unique<QSystemTrayIcon>()),
      m_icon(QApplication::windowIcon())
{
    connect(m_tray.get(), &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                switch (reason) {
                case QSystemTrayIcon::Trigger:
                    emit Clicked();
                    break;
                case QSystemTrayIcon::DoubleClick:
                    // The desktop reports the first click of a double click as a click
                    // already; both handlers run, as the main window expects.
                    emit DoubleClicked();
                    break;
                case QSystemTrayIcon::Context:
                    // With a context menu set, the tray opens it itself.
                    if (!m_tray->contextMenu())
                        ShowMenu();
                    break;
                default:
                    break;
                }
            });
    Update();
}

TOrvoTrayIcon::~TOrvoTrayIcon()
{
    m_tray->hide();
}

void TOrvoTrayIcon::SetVisible(bool visible)
{
    if (visible == m_visible)
        return;
    m_visible = visible;
    m_tray->setVisible(visible);
}

void TOrvoTrayIcon::SetHint(const QString& hint)
{
    if (hint == m_hint || hint.size() >= kMaxHintLength)
        return;
    m_hint = hint;
    m_tray->setToolTip(m_hint);
}

void TOrvoTrayIcon::SetPopupMenu(QMenu* menu)
{
    m_popup = menu;
    m_tray->setContextMenu(menu);
}

void TOrvoTrayIcon::SetIcons(const QList<QIcon>* icons)
{
    m_icons = icons;
    SetIconIndex(m_iconIndex);
}

void TOrvoTrayIcon::SetIconIndex(int index)
{
    m_iconIndex = index;
    if (m_icons && index >= 0 && index < m_icons->size())
        m_icon = m_icons->at(index);
    Update();
}

void TOrvoTrayIcon::SetDefaultIcon()
{
    m_icon = QApplication::windowIcon();
    Update();
}

void TOrvoTrayIcon::Update()
{
    m_tray->setIcon(m_icon);
}

void TOrvoTrayIcon::ShowMenu(const QPoint& at)
{
    if (QWidget* active = QApplication::activeWindow())
        active->activateWindow();
    if (m_popup)
        m_popup->popup(at);
}

void TOrvoTrayIcon::ShowMenu()
{
    ShowMenu(QCursor::pos());
}

void TOrvoTrayIcon::EndSession()
{
    m_tray->hide();
}

} // namespace riz
