#pragma once

#include <QString>

namespace zel {

// The batch print of one registered invoice to a PDF file, with the current print settings.
struct InvoicePrintRequest {
    QString base;
    qint64 number = 0;
    int year = 0;  // 0: the archives the settings name
    QString pdf;
};

// Exit codes besides 0 (done) and 3 (an archive cannot be read).
inline constexpr int kExitUnknownInvoice = 2;
inline constexpr int kExitInvoicePdf = 6;  // the PDF file cannot be written

// Writes what it did, or why it could not, on standard error; returns the exit code.
// Needs a QGuiApplication (the offscreen platform is enough).
int runInvoicePrint(const InvoicePrintRequest& request);

}  // namespace zel
