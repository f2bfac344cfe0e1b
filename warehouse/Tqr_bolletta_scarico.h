#pragma once

#include "report/Layout.h"
#include "report/PageModel.h"

namespace zel {

// The unload bill "Bolletta di Scarico": the rows of the unload bill archive (movement
// columns: DATA, COD_FORN consignee, COD, DES, QUANT, PESO, COLLI, PREZZO, CAUSALE
// operator), with the totals of quantity, weight and parcels.
class Tqr_bolletta_scarico {
public:
    static QString title() { return QStringLiteral("Bolletta di Scarico"); }
    static report::Layout layout();
    static report::PageModel render(const report::Rows& rows);
};

}  // namespace zel
