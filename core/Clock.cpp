#include "core/Clock.h"

#include <optional>

namespace zel {

namespace {
std::optional<QDateTime>& pinned() {
    static std::optional<QDateTime> value;
    return value;
}
}  // namespace

QDateTime Clock::now() { return pinned() ? *pinned() : QDateTime::currentDateTime(); }

QString Clock::yearSuffix(const QDate& d) {
    return QStringLiteral("%1").arg(d.year() % 100, 2, 10, QLatin1Char('0'));
}

void Clock::pin(const QDateTime& when) { pinned() = when; }
void Clock::unpin() { pinned().reset(); }

}  // namespace zel
