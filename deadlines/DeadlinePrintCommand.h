#pragma once

#include <QDate>
#include <QString>

namespace zel {

// The batch print of the deadlines due in a period to a PDF file.
struct DeadlinePrintRequest {
    QString base;
    QDate from, to;
    bool unpaidOnly = false;
    QString pdf;
};

// Exit codes besides 0 (done) and 3 (an archive cannot be read).
inline constexpr int kExitNoDeadlines = 2;
inline constexpr int kExitDeadlinePdf = 6;

// Writes what it did, or why it could not, on standard error; returns the exit code.
// Needs a QGuiApplication (the offscreen platform is enough).
int runDeadlinePrint(const DeadlinePrintRequest& request);

}  // namespace zel
