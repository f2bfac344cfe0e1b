#pragma once

#include <QList>
#include <QString>
#include <QVariantMap>

namespace zel {

class Settings;

// What one invoice print shows: its header, its customer's card and its lines in the
// order they were written.
struct InvoicePrintData {
    QVariantMap header;
    QVariantMap customer;  // empty when the card was deleted: the header's code still prints
    QList<QVariantMap> lines;
};

// The ticks of the invoice printing windows.
struct InvoicePrintOptions {
    bool dueDates = false;        // "Stampa campi scadenza"
    bool currencySymbol = true;   // "Visualizza simbolo valuta in fattura"
    bool yearSuffix = false;      // "Stampa anno a fianco al numero fattura"
    bool iban = false;            // "Stampa campi Coordinate bancarie IBAN"
    bool unitColumn = true;       // "Visualizza e stampa unità di misura in fattura"
    bool quantityColumn = true;   // "Visualizza e stampa quantità in fattura"
    bool weightColumn = false;    // "Visualizza e stampa KG  in fattura"
    bool conai = false;           // "Contributo CONAI assolto"
    bool vatColumn = false;       // "C.I. in alternativa a KG"
    bool extraLogo = false;       // "Stampa logo aggiuntivo"
    bool zeroDiscount = false;    // "Sconto ZERO"
    bool certifiedCopy = false;   // "Copia conforme"
    bool secondCurrency = false;  // "Totale fattura in valuta secondaria"
    int amountDecimals = 2;       // the decimals buttons: 0..3
    int copies = 1;

    // The ticks that have a setting, from the live settings.
    static InvoicePrintOptions fromSettings(const Settings& settings);
};

}  // namespace zel
