#pragma once

#include <QString>

namespace zel {

// Exit codes besides 0 (done) and 3 (an archive cannot be read).
inline constexpr int kExitUnknownQuote = 2;
inline constexpr int kExitQuotePdf = 6;  // the PDF file cannot be written

// Writes quote `number` of the base folder on the full layout to `pdf`, without any
// window; says what it did, or why not, on standard error and returns the exit code.
int runQuotePrint(const QString& base, qint64 number, const QString& pdf);

}  // namespace zel
