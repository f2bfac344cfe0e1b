#include "warehouse/Tqr_mov.h"

#include "report/Engine.h"
#include "warehouse/MovementListLayout.h"

namespace zel {

report::Layout Tqr_mov::layout(const QString& subtitle) {
    return movementListLayout(
        QStringLiteral("Tqr_mov"), title(), subtitle,
        {{QStringLiteral("DATA"), QStringLiteral("Data"), 17, {}},
         {QStringLiteral("BOLLA"), QStringLiteral("DDT"), 11, QStringLiteral("#0")},
         {QStringLiteral("COD"), QStringLiteral("Codice"), 20, {}},
         {QStringLiteral("DES"), QStringLiteral("Descrizione"), 42, {}},
         {QStringLiteral("CAUSALE"), QStringLiteral("Causale"), 22, {}},
         {QStringLiteral("COD_CLI"), QStringLiteral("Cliente"), 14, {}},
         {QStringLiteral("COD_FORN"), QStringLiteral("Fornitore"), 14, {}},
         {QStringLiteral("QUANT"), QStringLiteral("Quantità"), 16, QStringLiteral("###,##0.00"),
          true},
         {QStringLiteral("PESO"), QStringLiteral("Peso"), 14, QStringLiteral("###,##0.00"), true},
         {QStringLiteral("COLLI"), QStringLiteral("Colli"), 10, QStringLiteral("###,##0"), true},
         {QStringLiteral("PREZZO"), QStringLiteral("Prezzo"), 10, QStringLiteral("###,##0.00")}});
}

report::PageModel Tqr_mov::render(const report::Rows& rows, const QString& subtitle) {
    return report::render(layout(subtitle), rows);
}

}  // namespace zel
