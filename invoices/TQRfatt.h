#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "invoices/InvoiceBrowser.h"
#include "invoices/InvoicePrintOptions.h"
#include "report/Layout.h"
#include "report/PageModel.h"

class QWidget;

namespace zel {

class Settings;
class Store;

// The invoice layout of every invoice window and of the batch print. Usage:
//     TQRfatt rpt(settings);
//     auto data = TQRfatt::load(store, archives, {number, customer});  // nothing: no such invoice
//     rpt.preview(*data, options, parent);  // or rpt.exportPdf(*data, options, path)
// The totals printed are the ones stored with the invoice, so the sheet shows what the
// archives, the deadlines and the e-invoice hold.
class TQRfatt {
public:
    explicit TQRfatt(const Settings& settings);

    // Reads invoice `key` of the year archives. Throws StoreError.
    static std::optional<InvoicePrintData> load(Store& store, const InvoiceArchives& archives,
                                                const InvoiceKey& key);

    // The rate of each of the three VAT amounts of the header (iva4, iva9, iva19), as
    // whole-number text: the rates the invoice's lines were written with, so a later
    // change of the configured rates does not relabel an old invoice.
    QStringList vatLabels(const InvoicePrintData& data) const;
    // "12/26A": the number, the invoice date's two-digit year when asked, the extension.
    static QString numberText(const QVariantMap& header, bool yearSuffix);

    report::Layout layout(const InvoicePrintData& data, const InvoicePrintOptions& options) const;
    report::PageModel render(const InvoicePrintData& data,
                             const InvoicePrintOptions& options) const;
    bool exportPdf(const InvoicePrintData& data, const InvoicePrintOptions& options,
                   const QString& path, QString* error = nullptr) const;
    // The maximised preview, printing options.copies copies.
    void preview(const InvoicePrintData& data, const InvoicePrintOptions& options,
                 QWidget* parent = nullptr) const;

    static QString continuedText() { return QStringLiteral("-- segue -->"); }

private:
    const Settings& m_settings;
};

}  // namespace zel
