#include "warehouse/Tqr_bolletta_scarico.h"

#include "report/Engine.h"
#include "warehouse/MovementListLayout.h"

namespace zel {

report::Layout Tqr_bolletta_scarico::layout() {
    return movementListLayout(
        QStringLiteral("Tqr_bolletta_scarico"), title(), {},
        {{QStringLiteral("DATA"), QStringLiteral("Data"), 18, {}},
         {QStringLiteral("COD_FORN"), QStringLiteral("Dest."), 20, {}},
         {QStringLiteral("COD"), QStringLiteral("Cod. Art."), 22, {}},
         {QStringLiteral("DES"), QStringLiteral("Descrizione"), 50, {}},
         {QStringLiteral("QUANT"), QStringLiteral("Quantità"), 18, QStringLiteral("###,##0.00"),
          true},
         {QStringLiteral("PESO"), QStringLiteral("Peso"), 16, QStringLiteral("###,##0.00"), true},
         {QStringLiteral("COLLI"), QStringLiteral("Colli"), 12, QStringLiteral("###,##0"), true},
         {QStringLiteral("PREZZO"), QStringLiteral("Prezzo"), 18, QStringLiteral("###,##0.00")},
         {QStringLiteral("CAUSALE"), QStringLiteral("Operatore"), 16, {}}});
}

report::PageModel Tqr_bolletta_scarico::render(const report::Rows& rows) {
    return report::render(layout(), rows);
}

}  // namespace zel
