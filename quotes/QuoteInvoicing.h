#pragma once

#include <QList>
#include <QString>

#include "invoices/InvoiceRegistration.h"
#include "quotes/QuoteArchive.h"

namespace zel {

// An invoice made from a saved quote: the chosen lines of the quote into the invoice
// archives (or the proforma ones), the quote left as it is.
class QuoteInvoicing {
public:
    QuoteInvoicing(Store& store, const Settings& settings, bool proforma);

    const InvoiceArchives& archives() const { return m_archives; }
    // MAX(fattura) + 1 of the target archive.
    qint64 proposeNumber() const;

    // The invoicing rule over the chosen lines and the footer; refusals name lines at a
    // rate that is not configured.
    DocumentTotals totalsOf(const QList<QuoteLine>& lines, const InvoiceFooter& footer,
                            QStringList* refusals = nullptr) const;

    // Header and lines in one transaction; the customer is the quote's, the lines take
    // the invoice date. Refuses no line, a taken number and a line at a rate not configured.
    DocumentTotals registerInvoice(qint64 quote, const QList<QuoteLine>& lines, qint64 number,
                                   const InvoiceFooter& footer);

private:
    Store& m_store;
    const Settings& m_settings;
    QuoteArchive m_quotes;
    InvoiceArchives m_archives;
};

}  // namespace zel
