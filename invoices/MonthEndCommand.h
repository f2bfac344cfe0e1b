#pragma once

#include <QDate>
#include <QString>

namespace zel {

// Month-end invoicing without any window.
struct MonthEndRequest {
    QString base;
    QDate from, to;
    QDate invoiceDate;  // invalid: the last day of the period
};

// Exit codes besides 0 (done, or nothing to invoice) and 3 (an archive cannot be used).
inline constexpr int kExitMonthEndRefused = 2;  // a refusal: nothing written
inline constexpr int kExitMonthEndBusy = 5;     // another Zelvarin works on the folder

// Prints one line per invoice made on standard output, everything else on standard
// error; returns the exit code.
int runMonthEndBatch(const MonthEndRequest& request);

}  // namespace zel
