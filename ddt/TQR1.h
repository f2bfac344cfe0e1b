#pragma once

#include <QList>
#include <QString>
#include <QVariantMap>

#include "ddt/DdtArchive.h"
#include "ddt/DdtPrintOptions.h"
#include "report/Layout.h"
#include "report/PageModel.h"

class QWidget;

namespace zel {

class Settings;
class Store;

// What one DDT print shows: its header, its recipient's card and its visible lines.
struct DdtPrintData {
    QVariantMap header;
    QVariantMap recipient;  // empty when the card was deleted: the header's code still prints
    QList<QVariantMap> lines;
};

// The DDT layout. Usage from a window or a batch command:
//     TQR1 rpt(settings);
//     auto data = TQR1::load(store, archives, {number, code});   // nothing: no such DDT
//     rpt.preview(*data, options, parent);  // or rpt.exportPdf(*data, options, path)
class TQR1 {
public:
    explicit TQR1(const Settings& settings);

    // Reads DDT `key` of the year archives. Throws StoreError.
    static std::optional<DdtPrintData> load(Store& store, const DdtYearArchives& archives,
                                            const DdtKey& key);
    // "Nessun DDT n° <n> del cliente <code> nell'archivio <year>"
    static QString missingMessage(const DdtKey& key, int year);

    report::Layout layout(const DdtPrintData& data, const DdtPrintOptions& options) const;
    report::PageModel render(const DdtPrintData& data, const DdtPrintOptions& options) const;
    bool exportPdf(const DdtPrintData& data, const DdtPrintOptions& options, const QString& path,
                   QString* error = nullptr) const;
    // The maximised preview, printing options.copies copies.
    void preview(const DdtPrintData& data, const DdtPrintOptions& options,
                 QWidget* parent = nullptr) const;

    static QString continuedText() { return QStringLiteral("-- segue -->"); }

private:
    const Settings& m_settings;
};

}  // namespace zel
