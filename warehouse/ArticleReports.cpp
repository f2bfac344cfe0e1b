#include "warehouse/ArticleReports.h"

#include "documents/Money.h"
#include "report/Engine.h"
#include "settings/Settings.h"
#include "ui/Formats.h"
#include "warehouse/ArticleRules.h"

namespace zel {

using namespace report;

namespace {

QFont font(double pt, bool bold = false) {
    QFont f = defaultFont();
    f.setPointSizeF(pt);
    f.setBold(bold);
    return f;
}

void letterhead(Layout& l, const Settings& s, const QString& title) {
    const double w = l.contentWidth();
    double y = 0;
    for (int n = 1; n <= 3; ++n) {
        const double h = n == 1 ? 6.0 : 4.2;
        l.pageHeader.add(Item::label(QRectF(0, y, w * 0.55, h),
                                     s.text(u"Utente", QStringLiteral("riga %1").arg(n)))
                             .withFont(font(n == 1 ? 12.0 : 8.0, n == 1)));
        y += h;
    }
    l.pageHeader.add(Item::label(QRectF(w * 0.4, 0, w * 0.6, 8), title)
                         .withFont(font(14, true))
                         .align(Qt::AlignRight | Qt::AlignVCenter));
    l.pageHeader.height = y + 3;
}

void footer(Layout& l, const QDate& date) {
    const double w = l.contentWidth();
    l.pageFooter.height = 8;
    l.pageFooter.add(Item::line(QRectF(0, 1, w, 0), 0.2));
    l.pageFooter.add(Item::label(QRectF(0, 2, w / 3, 5), fmt::date(date)).withFont(font(8)));
    l.pageFooter.add(Item::label(QRectF(w / 3, 2, w / 3, 5), QStringLiteral("-- segue -->"))
                         .withFont(font(8, true))
                         .align(Qt::AlignHCenter | Qt::AlignVCenter)
                         .when([](const Context& ctx) { return !ctx.isLastPage(); }));
    l.pageFooter.add(
        Item::expression(
            QRectF(2 * w / 3, 2, w / 3, 5),
            [](const Context& ctx) {
                return QStringLiteral("Pagina %1 di %2").arg(ctx.page).arg(ctx.pageCount);
            })
            .withFont(font(8))
            .align(Qt::AlignRight | Qt::AlignVCenter));
}

QString priceDecimals(const Settings& s) {
    const int d =
        qBound(0, int(fmt::parseNumber(s.text(u"Magazzino", u"Decimali articolo in stampa"))), 6);
    return d == 0 ? QStringLiteral("###,##0") : QStringLiteral("###,##0.") + QString(d, u'0');
}

}  // namespace

Tqr_listino::Tqr_listino(const Settings& settings, QDate date)
    : m_settings(settings), m_date(date) {}

Layout Tqr_listino::layout() const {
    Layout l;
    l.name = QStringLiteral("Listino articoli");
    const double w = l.contentWidth();
    letterhead(l, m_settings, QStringLiteral("Listino articoli"));
    struct Col {
        const char* field;
        const char* caption;
        double width;
        bool right;
    };
    const Col cols[] = {{"COD", "Codice", 32, false},
                        {"DES", "Descrizione", 0, false},
                        {"UM", "Un. mis.", 18, false},
                        {"PREZZO_VEN", "Prezzo", 28, true},
                        {"IVA", "IVA %", 14, true}};
    double fixed = 0;
    for (const Col& c : cols) fixed += c.width;
    double x = 0;
    const QString priceFormat = priceDecimals(m_settings);
    for (const Col& c : cols) {
        const double cw = c.width > 0 ? c.width : w - fixed;
        const Qt::Alignment a = (c.right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
        l.columnHeader.add(Item::label(QRectF(x, 0.5, cw - 1, 4.5), QString::fromUtf8(c.caption))
                               .withFont(font(8, true))
                               .align(a));
        const QString field = QString::fromLatin1(c.field);
        Item item = Item::field(QRectF(x, 0.2, cw - 1, 4.2), field,
                                field == u"PREZZO_VEN" ? priceFormat
                                : field == u"IVA"      ? QStringLiteral("#0.##")
                                                       : QString())
                        .withFont(font(8))
                        .align(a);
        if (field == u"DES") item.wrap().align(Qt::AlignLeft | Qt::AlignTop);
        l.detail.add(std::move(item));
        x += cw;
    }
    l.columnHeader.add(Item::line(QRectF(0, 5.5, w, 0), 0.3));
    l.columnHeader.height = 6.5;
    l.detail.height = 4.6;
    l.summary.height = 8;
    l.summary.add(Item::line(QRectF(0, 1, w, 0), 0.2));
    l.summary.add(Item::expression(QRectF(0, 2, w, 5), [](const Context& ctx) {
                      return QStringLiteral("Articoli in listino: %1").arg(ctx.rowCount());
                  }).withFont(font(8, true)));
    footer(l, m_date);
    return l;
}

PageModel Tqr_listino::render(const Rows& rows) const { return report::render(layout(), rows); }

Tqr_scheda_articolo::Tqr_scheda_articolo(const Settings& settings, QDate date)
    : m_settings(settings), m_date(date) {}

Layout Tqr_scheda_articolo::layout() const {
    Layout l;
    l.name = QStringLiteral("Scheda articolo");
    const double w = l.contentWidth();
    letterhead(l, m_settings, QStringLiteral("Scheda articolo"));
    const QString priceFormat = priceDecimals(m_settings);
    const int stockDecimals =
        qBound(0, m_settings.integer(u"Magazzino", u"Decimali giacenza articolo"), 6);
    const QString stockFormat = stockDecimals == 0
                                    ? QStringLiteral("###,##0")
                                    : QStringLiteral("###,##0.") + QString(stockDecimals, u'0');
    auto num = [](const Context& c, const char16_t* f) { return c.number(QStringView(f)); };

    Band& d = l.detail;
    d.add(Item::frame(QRectF(0, 0, w, 62), 0.3));
    d.add(Item::expression(QRectF(2, 1.5, w - 4, 6), [](const Context& c) {
              return c.text(u"COD").trimmed() + QStringLiteral(" - ") + c.text(u"DES").trimmed();
          }).withFont(font(11, true)));
    d.add(Item::line(QRectF(0, 8.5, w, 0), 0.2));
    // Left column: identity and prices; right column: stock.
    const double colW = w / 2 - 4;
    auto put = [&d, colW](double x, double y, const QString& caption, Expr e) {
        d.add(Item::label(QRectF(x, y, 32, 4.4), caption).withFont(font(8)));
        d.add(Item::expression(QRectF(x + 33, y, colW - 33, 4.4), std::move(e))
                  .withFont(font(8, true)));
    };
    auto text = [](const char16_t* f) {
        return Expr([f](const Context& c) { return c.text(QStringView(f)).trimmed(); });
    };
    auto fmtNum = [num](const char16_t* f, QString pattern) {
        return Expr(
            [num, f, pattern](const Context& c) { return fmt::number(num(c, f), pattern); });
    };
    double y = 10;
    put(2, y, QStringLiteral("Categoria"), text(u"CAT"));
    put(2, y += 4.8, QStringLiteral("Un. misura"), text(u"UM"));
    put(2, y += 4.8, QStringLiteral("Cod. fornitore"), text(u"COD_FORN"));
    put(2, y += 4.8, QStringLiteral("Posizione"), Expr([](const Context& c) {
            return (c.text(u"POS").trimmed() + QStringLiteral(" ") + c.text(u"POS2").trimmed())
                .trimmed();
        }));
    put(2, y += 4.8, QStringLiteral("Pr.acq. base"), fmtNum(u"PREZZO_ACQ", priceFormat));
    put(2, y += 4.8, QStringLiteral("Pr. vendita"), fmtNum(u"PREZZO_VEN", priceFormat));
    put(2, y += 4.8, QStringLiteral("Pr. IVA incl."), Expr([num, priceFormat](const Context& c) {
            return fmt::number(article::withVat(num(c, u"PREZZO_VEN"), num(c, u"IVA")),
                               priceFormat);
        }));
    put(2, y += 4.8, QStringLiteral("IVA %"), fmtNum(u"IVA", QStringLiteral("#0.##")));
    put(2, y += 4.8, QStringLiteral("Listini 1-4"), Expr([num, priceFormat](const Context& c) {
            QStringList l;
            for (const char16_t* f : {u"LISTINO1", u"LISTINO2", u"LISTINO3", u"LISTINO4"})
                l << fmt::number(num(c, f), priceFormat);
            return l.join(QStringLiteral("  "));
        }));
    put(2, y += 4.8, QStringLiteral("Note"), text(u"NOTE"));
    const double x2 = w / 2 + 2;
    auto stock = [num](const Context& c) { return num(c, u"QCA") - num(c, u"QSC"); };
    y = 10;
    put(x2, y, QStringLiteral("Tot. carico"), fmtNum(u"QCA", stockFormat));
    put(x2, y += 4.8, QStringLiteral("Tot. scarico"), fmtNum(u"QSC", stockFormat));
    put(x2, y += 4.8, QStringLiteral("Giacenza"), Expr([stock, stockFormat](const Context& c) {
            return fmt::number(stock(c), stockFormat);
        }));
    put(x2, y += 4.8, QStringLiteral("In ordine"), fmtNum(u"QORD", stockFormat));
    put(x2, y += 4.8, QStringLiteral("Disponibile"), fmtNum(u"QCONS", stockFormat));
    put(x2, y += 4.8, QStringLiteral("Scorta minima"), fmtNum(u"SCORTAMIN", stockFormat));
    put(x2, y += 4.8, QStringLiteral("Stato scorta"), Expr([num](const Context& c) {
            const double units = article::stockUnits(num(c, u"QCA"), num(c, u"QSC"), num(c, u"FM"));
            return article::stockStateLabel(
                article::stockState(units, num(c, u"SCORTAMIN"), num(c, u"TOLLERANZA")));
        }));
    put(x2, y += 4.8, QStringLiteral("Valore Acq."), Expr([stock, num](const Context& c) {
            return Money::fromDouble(stock(c) * num(c, u"PREZZO_ACQ")).format();
        }));
    put(x2, y += 4.8, QStringLiteral("Valore Ven."), Expr([stock, num](const Context& c) {
            return Money::fromDouble(stock(c) * num(c, u"PREZZO_VEN")).format();
        }));
    put(x2, y += 4.8, QStringLiteral("Valore C.M."), Expr([stock, num](const Context& c) {
            return Money::fromDouble(stock(c) * num(c, u"COSTO_MED")).format();
        }));
    d.height = 66;
    footer(l, m_date);
    return l;
}

PageModel Tqr_scheda_articolo::render(const Rows& rows) const {
    return report::render(layout(), rows);
}

}  // namespace zel
