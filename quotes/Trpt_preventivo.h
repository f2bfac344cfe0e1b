#pragma once

#include <QList>
#include <QString>
#include <QVariantMap>
#include <optional>

#include "quotes/QuoteArchive.h"
#include "report/Layout.h"
#include "report/PageModel.h"

namespace zel {

class Settings;
class Store;

// What one quote print shows.
struct QuotePrintData {
    QVariantMap header;
    QVariantMap customer;  // empty when the card is missing: the quote's name and cf print
    QList<QVariantMap> lines;
};

// The print options of both quote layouts.
struct QuotePrintOptions {
    bool companyHeading = true;   // off: "senza miniature e intestazione"
    bool secondaryLogo = false;   // "Stampa logo aggiuntivo"
    bool currency = false;        // "Stampa simbolo valuta"
    bool unit = true;             // "Stampa unità di misura"
    bool quantity = true;         // "Stampa quantità"
    bool vat[3] = {true, true, true};
    bool footerOnLastPageOnly = false;
    bool altText = true;          // "Stampa il testo in alternativa al prezzo quando esiste"
    bool amountsRow = true;       // off: "Non stampare la riga degli importi"
    bool notes = false;           // "Stampa campo note (note 1 + note2)"
    bool validity = false, orderType = false, delivery = false, subject = false;
    int copies = 1;               // 1..10
};

// The quote layouts: the full one (Trpt_preventivo) with the line pictures and the
// simple one (Trpt_preventivo_simple) without.
class Trpt_preventivo {
public:
    enum class Model { Full, Simple };
    Trpt_preventivo(const Settings& settings, Model model);

    // Reads quote `number`; nothing when there is no such quote. Throws StoreError.
    static std::optional<QuotePrintData> load(Store& store, const Settings& settings,
                                              qint64 number);
    static QString missingMessage(qint64 number);

    report::Layout layout(const QuotePrintData& data, const QuotePrintOptions& options) const;
    report::PageModel render(const QuotePrintData& data, const QuotePrintOptions& options) const;
    bool exportPdf(const QuotePrintData& data, const QuotePrintOptions& options,
                   const QString& path, QString* error = nullptr) const;
    static QString continuedText() { return QStringLiteral("-- segue -->"); }

private:
    const Settings& m_settings;
    Model m_model;
};

}  // namespace zel
