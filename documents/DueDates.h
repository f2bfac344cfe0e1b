#pragma once

#include <QDate>
#include <QList>
#include <QStringList>
#include <optional>

#include "documents/Money.h"

namespace zel {

// Payment terms and the due dates they give for an invoice date:
//   "R.F."            the invoice date;
//   "F.M."            the end of the invoice's month;
//   "<n> GG F.M."     the end of the month n/30 months later (across the year end);
//   "<n>-<m>... GG F.M." one date per number, at most four.
// A shift (the "+0", "+5", "+10", "+15" choice) adds its days to every date.
class DueDates {
public:
    static constexpr int kMaxDates = 4;
    static const QList<int>& shifts();

    // The terms the invoice windows offer, in their order.
    static QStringList terms();
    // The dates of a term; nothing when the text is no term (blanks and letter case
    // do not matter).
    static std::optional<QList<QDate>> dates(const QString& term, const QDate& invoiceDate,
                                             int shiftDays = 0);
    // The total split over n dates in cents, the remainder on the last one.
    static QList<Money> instalments(Money total, int n) { return total.split(n); }

    // Last day of the month `months` after the month of d.
    static QDate endOfMonth(const QDate& d, int months = 0);
};

}  // namespace zel
