#pragma once

#include <QString>

namespace zel {

// The batch print of one registered DDT to a PDF file, with the current print settings.
struct DdtPrintRequest {
    QString base;
    qint64 number = 0;
    int year = 0;       // 0: the archives the settings name
    QString recipient;  // needed only when several DDT share the number
    QString pdf;
};

// Exit codes besides 0 (done) and 3 (an archive cannot be opened).
inline constexpr int kExitUnknownDdt = 2;
inline constexpr int kExitPdf = 6;  // the PDF file cannot be written

// Writes what it did, or why it could not, on standard error; returns the exit code.
// Needs a QGuiApplication (the offscreen platform is enough).
int runDdtPrint(const DdtPrintRequest& request);

}  // namespace zel
