#include "ui/TrayNotice.h"

#include <QSystemTrayIcon>

namespace zel {

TrayNotice& TrayNotice::instance() {
    static TrayNotice notice;
    return notice;
}

void TrayNotice::show(const QString& title, const QString& text, int seconds, Kind kind) {
    if (kind != Kind::Extra && m_enabled && !m_enabled()) return;
    m_shown.append({title, text, seconds, kind});
    if (!m_icon || !QSystemTrayIcon::isSystemTrayAvailable() || !m_icon->isVisible()) return;
    if (kind == Kind::Close) {
        // An empty message replaces the current balloon and ends at once.
        m_icon->showMessage(QString(), QString(), QSystemTrayIcon::NoIcon, 1);
        return;
    }
    const auto icon = kind == Kind::Error ? QSystemTrayIcon::Critical : QSystemTrayIcon::Information;
    m_icon->showMessage(title, text, icon, seconds * 1000);
}

}  // namespace zel
