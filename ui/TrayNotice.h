#pragma once

#include <QList>
#include <QString>
#include <functional>

class QSystemTrayIcon;

namespace zel {

// Balloons of the tray icon. Every notice is also kept, so that a desktop without a
// tray, and the tests, can see what was told.
class TrayNotice {
public:
    enum class Kind { Extra, Info, Error, Close };
    struct Shown {
        QString title;
        QString text;
        int seconds;
        Kind kind;
    };

    static TrayNotice& instance();

    void setIcon(QSystemTrayIcon* icon) { m_icon = icon; }
    // Whether the optional kinds are shown at all (a user setting).
    void setEnabledCheck(std::function<bool()> check) { m_enabled = std::move(check); }

    // Extra always shows; Info, Error and Close act only when enabled.
    void show(const QString& title, const QString& text, int seconds, Kind kind);

    const QList<Shown>& shown() const { return m_shown; }
    void reset() { m_shown.clear(); }

    static constexpr int kStandardSeconds = 45;

private:
    QSystemTrayIcon* m_icon = nullptr;
    std::function<bool()> m_enabled;
    QList<Shown> m_shown;
};

}  // namespace zel
