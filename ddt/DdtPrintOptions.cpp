#include "ddt/DdtPrintOptions.h"

#include "core/Clock.h"
#include "settings/Settings.h"

namespace zel {

namespace {

constexpr char16_t kDdt[] = u"DDT";

}  // namespace

DdtPrintOptions DdtPrintOptions::fromSettings(const Settings& s) {
    DdtPrintOptions o;
    o.unitColumn = s.flag(kDdt, u"Stampa Colonna Unità di misura");
    o.weightColumn = s.flag(kDdt, u"Stampa Colonna peso");
    o.orderColumn = s.flag(kDdt, u"Stampa Colonna ordine");
    o.orderDateColumn = s.flag(kDdt, u"Stampa Colonna data ordine");
    o.wasteField = s.flag(kDdt, u"Stampa Campo scarto");
    o.yourRefField = s.flag(kDdt, u"Stampa Campo vsrif");
    o.packingField = s.flag(kDdt, u"Stampa Campo imballo");
    o.extraLogo = s.flag(kDdt, u"Stampa extra logo");
    o.copies = std::max(1, s.integer(kDdt, u"Numero copie stampa DDT"));
    const QDateTime now = Clock::now();
    o.pickupDate = now.date();
    o.pickupTime = QTime(now.time().hour(), now.time().minute());
    return o;
}

void DdtPrintOptions::writeBack(Settings& s) const {
    s.setValue(kDdt, u"Stampa Colonna Unità di misura", unitColumn);
    s.setValue(kDdt, u"Stampa Colonna peso", weightColumn);
    s.setValue(kDdt, u"Stampa Colonna ordine", orderColumn);
    s.setValue(kDdt, u"Stampa Colonna data ordine", orderDateColumn);
    s.setValue(kDdt, u"Stampa Campo scarto", wasteField);
    s.setValue(kDdt, u"Stampa Campo vsrif", yourRefField);
    s.setValue(kDdt, u"Stampa Campo imballo", packingField);
}

}  // namespace zel
