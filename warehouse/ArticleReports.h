#pragma once

#include <QDate>

#include "report/Layout.h"
#include "report/PageModel.h"

namespace zel {

class Settings;

// The price list: one line per article by code, with description, unit, sale price
// and VAT rate. Rows carry the archive's columns (COD, DES, UM, PREZZO_VEN, IVA).
class Tqr_listino {
public:
    Tqr_listino(const Settings& settings, QDate date);
    report::Layout layout() const;
    report::PageModel render(const report::Rows& rows) const;

private:
    const Settings& m_settings;
    QDate m_date;
};

// One card per article with its prices, stock figures and minimum stock.
class Tqr_scheda_articolo {
public:
    Tqr_scheda_articolo(const Settings& settings, QDate date);
    report::Layout layout() const;
    report::PageModel render(const report::Rows& rows) const;

private:
    const Settings& m_settings;
    QDate m_date;
};

}  // namespace zel
