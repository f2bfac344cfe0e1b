#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <optional>

#include "documents/Money.h"
#include "documents/VatRates.h"
#include "report/PageModel.h"

namespace zel {

struct ReceiptPrintLine {
    QString des;
    double quantity = 0;
    Money importo;
    VatRate rate;
    Money iva;
};

struct ReceiptDocument {
    qint64 numero = 0;
    QString yy;  // the receipt's own two-digit year
    QDate date;
    QString ora;
    QList<ReceiptPrintLine> lines;
    std::optional<Money> cash;  // cash received, when paid cash
    bool card = false;
    Money total() const;
};

// The VAT of one rate on the receipt; "-" when the place is empty.
struct ReceiptVatRow {
    QString rateText;  // "22%"
    QString amount;    // "2,20" or "-"
};

// The VAT summed per each line's own rate, placed under the matching configured rate;
// a configured place without VAT shows "-", a rate outside the three gets its own row.
QList<ReceiptVatRow> receiptVatRows(const QList<ReceiptPrintLine>& lines, const VatRates& rates);

// "15/24"
QString receiptNumberText(qint64 numero, const QString& yy);
// "rf15-24.qrp"
QString receiptFileName(qint64 numero, const QString& yy);

// The receipt layout, Tqr_ric_fisc.
report::PageModel renderReceipt(const ReceiptDocument& doc, const VatRates& rates);

}  // namespace zel
