#include "invoices/InvoicePrintOptions.h"

#include <algorithm>

#include "settings/Settings.h"

namespace zel {

InvoicePrintOptions InvoicePrintOptions::fromSettings(const Settings& s) {
    constexpr char16_t kSection[] = u"Fatturazione";
    InvoicePrintOptions o;
    o.dueDates = s.flag(kSection, u"Stampa Date di scadenza");
    o.currencySymbol = s.flag(kSection, u"Stampa simbolo valuta");
    o.unitColumn = s.flag(kSection, u"Stampa unità di misura");
    o.quantityColumn = s.flag(kSection, u"Stampa quantità");
    o.weightColumn = s.flag(kSection, u"Stampa colonna Kg");
    o.conai = s.flag(kSection, u"Stampa contributo CONAI");
    o.extraLogo = s.flag(kSection, u"Stampa extra logo");
    o.amountDecimals = std::clamp(s.integer(kSection, u"Decimali stampa imponibile"), 0, 3);
    o.copies = std::max(1, s.integer(kSection, u"Numero copie stampa fatture"));
    return o;
}

}  // namespace zel
