#pragma once

#include "report/Layout.h"
#include "report/PageModel.h"

namespace zel {

// The movement list of the movement browser: one line per movement with date, DDT,
// article, cause, partners, quantity, weight, parcels and price, and the totals.
class Tqr_mov {
public:
    static QString title() { return QStringLiteral("Elenco movimenti di magazzino"); }
    // subtitle: the archive browsed ("GLOBALE" or the year).
    static report::Layout layout(const QString& subtitle);
    static report::PageModel render(const report::Rows& rows, const QString& subtitle);
};

}  // namespace zel
