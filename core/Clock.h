#pragma once

#include <QDateTime>

namespace zel {

// The program's notion of "now". Tests and the command line may pin it, so that
// per-year archive names can be checked for any year.
class Clock {
public:
    static QDateTime now();
    static QDate today() { return now().date(); }
    // Two-digit year suffix of per-year archives ("26" for 2026).
    static QString yearSuffix() { return yearSuffix(today()); }
    static QString yearSuffix(const QDate& d);

    static void pin(const QDateTime& when);
    static void unpin();
};

}  // namespace zel
