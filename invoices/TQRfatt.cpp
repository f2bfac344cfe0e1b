#include "invoices/TQRfatt.h"

#include <QSet>
#include <algorithm>

#include "ddt/DdtArchive.h"
#include "documents/Money.h"
#include "documents/VatRates.h"
#include "report/CompanyHeader.h"
#include "report/Engine.h"
#include "report/Output.h"
#include "report/PreviewWindow.h"
#include "settings/Settings.h"
#include "store/Store.h"
#include "ui/Formats.h"

namespace zel {

using report::Context;
using report::Item;

namespace {

constexpr char16_t kSection[] = u"Fatturazione";

Item small(Item it, double pt = 8.0) { return std::move(it.withPointSize(pt)); }

QString fixed(double value, int decimals) {
    return decimal::format(decimal::scaled(value, decimals), decimals);
}

// The stored figure to the cent, as every total prints.
QString amount(const QVariant& v) { return Money::fromDouble(v.toDouble()).format(); }

// A zero price, quantity or amount prints blank.
QString blankZero(double value, int decimals) {
    return decimal::scaled(value, decimals) == 0 ? QString() : fixed(value, decimals);
}

// A heading line carries only its text.
bool heading(const Context& c) { return decimal::scaled(c.number(u"QUANT"), 6) == 0; }

}  // namespace

TQRfatt::TQRfatt(const Settings& settings) : m_settings(settings) {}

std::optional<InvoicePrintData> TQRfatt::load(Store& store, const InvoiceArchives& archives,
                                              const InvoiceKey& key) {
    InvoiceBrowser browser(store, archives);
    std::optional<QVariantMap> header = browser.header(key);
    if (!header) return std::nullopt;
    InvoicePrintData d;
    d.header = *header;
    d.customer = browser.customer(rowValue(d.header, u"COD_CLI").toString());
    d.lines = browser.lines(key);
    return d;
}

QString TQRfatt::numberText(const QVariantMap& h, bool yearSuffix) {
    QString text = QString::number(rowValue(h, u"FATTURA").toLongLong());
    const QDate date = rowDate(h, u"DATA");
    if (yearSuffix && date.isValid()) text += u'/' + date.toString(QStringLiteral("yy"));
    return text + rowValue(h, u"EXTENSION").toString().trimmed();
}

QStringList TQRfatt::vatLabels(const InvoicePrintData& data) const {
    const QList<std::optional<VatRate>> configured = VatRates(m_settings).configured();
    QList<VatRate> written;
    for (const QVariantMap& l : data.lines) {
        const VatRate r = VatRate::fromDouble(rowValue(l, u"PERC_IVA").toDouble());
        if (r.hundredths() != 0 && !written.contains(r)) written << r;
    }
    std::sort(written.begin(), written.end());
    QList<VatRate> pool = written;
    QList<std::optional<VatRate>> chosen(3);
    // A configured rate the lines were written with keeps its column; the others take
    // the lines' remaining rates in order.
    for (int i = 0; i < 3; ++i)
        if (configured.value(i) && pool.removeOne(*configured.value(i)))
            chosen[i] = configured.value(i);
    const char16_t* columns[3] = {u"IVA4", u"IVA9", u"IVA19"};
    for (int i = 0; i < 3; ++i) {
        if (chosen[i]) continue;
        const bool used = !Money::fromDouble(rowValue(data.header, columns[i]).toDouble()).isZero();
        if (used && !pool.isEmpty())
            chosen[i] = pool.takeFirst();
        else
            chosen[i] = configured.value(i);
    }
    QStringList out;
    for (const auto& r : chosen) out << (r ? QString::number(qRound64(r->percent())) : QString());
    return out;
}

report::Layout TQRfatt::layout(const InvoicePrintData& data, const InvoicePrintOptions& o) const {
    const Settings& s = m_settings;
    report::Layout l;
    l.name = QStringLiteral("TQRfatt");
    l.margins =
        QMarginsF(s.number(kSection, u"Margine sinistro"), s.number(kSection, u"Margine superiore"),
                  s.number(kSection, u"Margine destro"), s.number(kSection, u"Margine inferiore"));
    const double w = l.contentWidth();
    const QVariantMap h = data.header;
    const QVariantMap r = data.customer;
    auto hv = [h](QStringView c) { return rowValue(h, c).toString().trimmed(); };
    auto rv = [r](QStringView c) { return rowValue(r, c).toString().trimmed(); };
    const QString euro = o.currencySymbol ? QStringLiteral("€") : QString();

    // Page header: company, document, number, date, page, recipient, destination.
    report::Band& top = l.pageHeader;
    report::CompanyHeader company(s, report::DocumentKind::Fattura);
    company.setPrintSecondaryLogo(o.extraLogo);
    company.addTo(top, {0, 0}, w * 0.52);
    const double x0 = w * 0.55;
    const double rw = w - x0;
    top.add(small(Item::label({x0, 0, 20, 6}, QStringLiteral("Documento: ")), 9));
    top.add(small(Item::label({x0 + 20, 0, rw - 20, 6}, hv(u"TIPODOC")), 11).bold());
    top.add(small(Item::label({x0, 7, 10, 5}, QStringLiteral("Num."))));
    top.add(small(Item::label({x0 + 10, 7, 25, 5}, numberText(h, o.yearSuffix))).bold());
    top.add(small(Item::label({x0 + 36, 7, 9, 5}, QStringLiteral("Data"))));
    top.add(small(Item::label({x0 + 45, 7, 22, 5}, fmt::date(rowDate(h, u"DATA")))).bold());
    top.add(small(Item::expression({x0 + 68, 7, rw - 68, 5}, [](const Context& c) {
        return QStringLiteral("Pagina %1").arg(c.page);
    })));
    const double ry = 14;
    top.add(small(Item::label({x0 + 2, ry + 1, rw - 4, 4}, QStringLiteral("Destinatario")), 7));
    top.add(small(Item::label({x0 + 2, ry + 5, rw - 4, 5}, rv(u"NOME")), 9).bold());
    top.add(small(Item::label({x0 + 2, ry + 10, rw - 4, 4.5}, rv(u"VIA"))));
    QString city = (rv(u"CAP") + u' ' + rv(u"CITTA")).trimmed();
    if (!rv(u"PROV1").isEmpty()) city += QStringLiteral(" (%1)").arg(rv(u"PROV1"));
    top.add(small(Item::label({x0 + 2, ry + 14.5, rw - 4, 4.5}, city)));
    top.add(small(Item::label({x0 + 2, ry + 19, 8, 4.5}, QStringLiteral("P.I."))));
    top.add(small(Item::label({x0 + 10, ry + 19, 25, 4.5}, rv(u"PIVA"))));
    top.add(small(Item::label({x0 + 36, ry + 19, 6, 4.5}, QStringLiteral("CF"))));
    top.add(small(Item::label({x0 + 42, ry + 19, 33, 4.5}, rv(u"CF"))));
    top.add(small(Item::label({x0 + 2, ry + 23.5, 8, 4.5}, QStringLiteral("Cod"))));
    top.add(small(Item::label({x0 + 10, ry + 23.5, rw - 12, 4.5}, hv(u"COD_CLI"))));
    if (s.flag(kSection, u"Stampa Cornice destinatario")) top.add(Item::frame({x0, ry, rw, 29}));
    const double dy = 46;
    top.add(small(Item::label({0, dy, 40, 4}, QStringLiteral("Luogo di destinazione")), 7));
    top.add(small(Item::label({0, dy + 4, x0 - 4, 4.5}, rv(u"NOME_SLEG"))).bold());
    top.add(small(Item::label({0, dy + 8.5, x0 - 4, 4.5}, rv(u"VIA_SLEG"))));
    QString seat = (rv(u"CAP_SLEG") + u' ' + rv(u"CITTA_SLEG")).trimmed();
    if (!rv(u"PROV2").isEmpty()) seat += QStringLiteral(" (%1)").arg(rv(u"PROV2"));
    top.add(small(Item::label({0, dy + 13, x0 - 4, 4.5}, seat)));
    top.height = 64;

    // Columns: a weight column, else the VAT code column, else neither.
    const bool weight = o.weightColumn;
    const bool vatCode = !weight && o.vatColumn;
    const bool extra = weight || vatCode;
    const double codX = 0, desX = 26, desW = extra ? 58 : 70, extraX = 85, unitX = 97, qtyX = 106,
                 priceX = 124, discX = 142, netX = 152, amountX = 170;
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    report::Band& ch = l.columnHeader;
    ch.height = 7;
    auto head = [&ch](double x, double width, const QString& text, bool alignRight) {
        Item& it = ch.add(small(Item::label({x, 0, width, 4.5}, text), 7.5).bold());
        if (alignRight) it.align(Qt::AlignRight | Qt::AlignVCenter);
    };
    head(codX, 25, QStringLiteral("Codice"), false);
    head(desX, desW, QStringLiteral("Descrizione"), false);
    if (weight) head(extraX, 11, QStringLiteral("Kg."), true);
    if (vatCode) head(extraX, 11, QStringLiteral("C.I."), true);
    if (o.unitColumn) head(unitX, 9, QStringLiteral("U.M."), false);
    if (o.quantityColumn) head(qtyX, 17, QStringLiteral("Quant."), true);
    head(priceX, 17, QStringLiteral("Prz.unit."), true);
    head(discX, 9, QStringLiteral("Sc.%"), true);
    head(netX, 17, QStringLiteral("Pz. netto"), true);
    head(amountX, w - amountX, QStringLiteral("Imponibile"), true);
    ch.add(Item::line({0, 5.5, w, 0}));

    const int dec = std::clamp(o.amountDecimals, 0, 3);
    const int weightDecimals = s.integer(kSection, u"Decimali KG articolo ");
    const bool zeroDiscount = o.zeroDiscount;
    report::Band& d = l.detail;
    d.height = 4.6;
    d.add(small(Item::field({codX, 0, 25, 4.5}, QStringLiteral("COD"))));
    d.add(small(Item::field({desX, 0, desW, 4.5}, QStringLiteral("DES"))));
    if (weight)
        d.add(small(Item::expression({extraX, 0, 11, 4.5}, [weightDecimals](const Context& c) {
                  return heading(c) ? QString()
                                    : blankZero(c.number(u"PESO"), std::max(0, weightDecimals));
              })).align(right));
    if (vatCode)
        d.add(small(Item::expression({extraX, 0, 11, 4.5}, [](const Context& c) {
                  return heading(c) ? QString() : VatRate::fromDouble(c.number(u"PERC_IVA")).text();
              })).align(right));
    if (o.unitColumn) d.add(small(Item::field({unitX, 0, 9, 4.5}, QStringLiteral("UNITAMIS"))));
    if (o.quantityColumn)
        d.add(small(Item::expression({qtyX, 0, 17, 4.5}, [](const Context& c) {
                  return heading(c) ? QString() : fixed(c.number(u"QUANT"), 2);
              })).align(right));
    d.add(small(Item::expression({priceX, 0, 17, 4.5}, [dec](const Context& c) {
              return blankZero(c.number(u"PREZZO"), dec);
          })).align(right));
    d.add(small(Item::expression({discX, 0, 9, 4.5}, [zeroDiscount](const Context& c) {
              if (heading(c)) return QString();
              const double v = c.number(u"SCONTO");
              if (decimal::scaled(v, 2) == 0 && !zeroDiscount) return QString();
              return fmt::number(v, u"##0");
          })).align(right));
    d.add(small(Item::expression({netX, 0, 17, 4.5}, [dec](const Context& c) {
              return blankZero(c.number(u"PREZZONETT"), dec);
          })).align(right));
    d.add(small(Item::expression({amountX, 0, w - amountX, 4.5}, [dec](const Context& c) {
              // The amount the registration stored: round(quantity × net price).
              const Money m = Money::lineAmount(c.number(u"QUANT"),
                                                decimal::scaled(c.number(u"PREZZONETT"), 6), 6);
              return m.isZero() ? QString() : fixed(m.toDouble(), dec);
          })).align(right));

    // Page footer: "-- segue -->" on every page but the last; the totals on the last.
    report::Band& f = l.pageFooter;
    auto last = [](const Context& c) { return c.isLastPage(); };
    auto notLast = [](const Context& c) { return !c.isLastPage(); };
    f.add(Item::line({0, 0.5, w, 0}));
    f.add(small(Item::label({w - 45, 1.5, 45, 5}, continuedText()), 9)
              .bold()
              .align(right)
              .when(notLast));

    // Left column: payment, due dates, bank, additional items, notes. Right column: totals.
    const double lx = 0, lw = 110, tx = 115, tw = w - tx, valW = 30;
    double ly = 1.5, ty = 1.5;
    auto leftRow = [&](const QString& caption, const QString& value, double captionW = 38) {
        f.add(small(Item::label({lx, ly, captionW, 4.5}, caption), 7.5).when(last));
        f.add(small(Item::label({lx + captionW, ly, lw - captionW, 4.5}, value)).when(last));
        ly += 4.6;
    };
    auto total = [&](const QString& caption, const QString& value, const QString& unit = {},
                     bool strong = false) {
        f.add(small(Item::label({tx, ty, tw - valW - 6, 4.5}, caption), 7.5).when(last));
        Item v = small(Item::label({w - valW - 6, ty, valW, 4.5}, value), strong ? 9 : 8)
                     .align(right)
                     .when(last);
        if (strong) v.bold();
        f.add(v);
        if (!unit.isEmpty()) f.add(small(Item::label({w - 5, ty, 5, 4.5}, unit)).when(last));
        ty += 4.6;
    };

    total(QStringLiteral("Imponibile totale"), amount(rowValue(h, u"IMP_GLOB")), euro);
    if (s.flag(kSection, u"Stampa imponibile 1 prima delle spese"))
        total(QStringLiteral("Totale"),
              (Money::fromDouble(rowValue(h, u"IMP_GLOB").toDouble()) +
               Money::fromDouble(rowValue(h, u"SPESE").toDouble()))
                  .format(),
              euro);
    total(QStringLiteral("Spese imponibili"), amount(rowValue(h, u"SPESE")), euro);
    const struct {
        const char16_t* flag;
        const char16_t* label;
        const char16_t* kg;
        const char16_t* cost;
    } processing[] = {{u"Stampa Tropicalizzazione", u"Lavorazione 1", u"PTROPIC", u"PZTROPIC"},
                      {u"Stampa Zincatura", u"Lavorazione 2", u"PZINCAT", u"PZZINCAT"},
                      {u"Stampa Doratura", u"Lavorazione 3", u"PDORAT", u"PZDORAT"}};
    for (const auto& p : processing)
        if (s.flag(kSection, p.flag))
            total(s.text(u"Magazzino", p.label) + QStringLiteral(" ") +
                      fmt::number(rowValue(h, p.kg).toDouble(), u"##0.0") + QStringLiteral(" Kg"),
                  amount(rowValue(h, p.cost)), QStringLiteral("€"));
    if (s.flag(kSection, u"Stampa Spese lavorazione"))
        total(QStringLiteral("Spese lavoraz."), amount(rowValue(h, u"LAVORAZ")),
              QStringLiteral("€"));
    total(QStringLiteral("Sconto fin."),
          fmt::number(rowValue(h, u"SCONTO_PERC").toDouble(), u"##0"), QStringLiteral("%"));
    total(QStringLiteral("Imponibile netto"), amount(rowValue(h, u"IMP_TOT")), euro);
    const QStringList rates = vatLabels(data);
    const char16_t* vatColumns[3] = {u"IVA4", u"IVA9", u"IVA19"};
    for (int i = 0; i < 3; ++i) {
        const Money vat = Money::fromDouble(rowValue(h, vatColumns[i]).toDouble());
        if (!vat.isZero())
            total(QStringLiteral(" Totale IVA %1%").arg(rates.value(i)), vat.format(), euro);
    }
    total(QStringLiteral("Spese es. IVA"), amount(rowValue(h, u"SPESEESIVA")), euro);
    if (!hv(u"TITOLOESEN").isEmpty())
        total(QStringLiteral("Titolo di esenzione"), hv(u"TITOLOESEN"));
    ty += 1;
    f.add(Item::line({tx, ty - 0.5, tw, 0}).when(last));
    total(QStringLiteral("Totale documento"), amount(rowValue(h, u"TOT_FATT")), QStringLiteral("€"),
          true);
    if (o.secondCurrency) {
        const std::optional<qint64> rate =
            decimal::parse(s.text(u"Magazzino", u"Valuta secondaria cambio"), 6);
        if (rate) {
            // cents × rate (6 decimals) → cents of the other currency, half away from zero.
            const qint64 cents = Money::fromDouble(rowValue(h, u"TOT_FATT").toDouble()).cents();
            const long double v =
                static_cast<long double>(cents) * static_cast<long double>(*rate) / 1e6L;
            const qint64 other = static_cast<qint64>(v < 0 ? v - 0.5L : v + 0.5L);
            total(QStringLiteral("Totale in ") + s.text(u"Magazzino", u"Valuta secondaria"),
                  Money::fromCents(other).format());
        }
    }

    leftRow(QStringLiteral("Modalità di pagamento"), hv(u"PAGAM"));
    if (o.dueDates) {
        QStringList dates;
        for (int i = 1; i <= 4; ++i) {
            const QString n = QString::number(i);
            const QDate due = rowDate(h, QString(QStringLiteral("CSCADPAG") + n));
            if (due.isValid() && rowValue(h, QString(QStringLiteral("FLAGPAG") + n)).toBool())
                dates << fmt::date(due);
        }
        leftRow(QStringLiteral("Date di scadenza"), dates.join(QStringLiteral("  ")));
    }
    if (s.flag(kSection, u"Stampa Banca appoggio"))
        leftRow(QStringLiteral("Banca di appoggio"), hv(u"BANCA"));
    if (s.flag(kSection, u"Stampa Coordinate Bancarie")) {
        if (o.iban)
            leftRow(QStringLiteral("Coordinate bancarie"), QStringLiteral("IBAN ") + rv(u"IBAN"));
        else
            leftRow(QStringLiteral("Coordinate bancarie"),
                    QStringLiteral("ABI %1  CAB %2").arg(rv(u"ABI"), rv(u"CAB")));
    }
    for (int i = 1; i <= 4; ++i) {
        const QString n = QString::number(i);
        const QString des = hv(QString(QStringLiteral("DES_VOCE_AGG_") + n));
        if (des.isEmpty() ||
            !s.flag(kSection, QString(QStringLiteral("Stampa Voce aggiuntiva ") + n)))
            continue;
        leftRow(des,
                QStringLiteral("IVA %1%  %2 %3")
                    .arg(fmt::number(
                             rowValue(h, QString(QStringLiteral("IVA_VOCE_AGG_") + n)).toDouble(),
                             u"##0"),
                         amount(rowValue(h, QString(QStringLiteral("IMP_VOCE_AGG_") + n))), euro)
                    .trimmed());
    }
    if (s.flag(kSection, u"Stampa Campo note")) {
        leftRow(QStringLiteral("Note:"), hv(u"NOTE"), 12);
        for (const char16_t* c : {u"NOTE2", u"NOTE3"})
            if (!hv(c).isEmpty()) leftRow(QString(), hv(c), 12);
    }
    if (o.conai) leftRow(QStringLiteral("Contributo CONAI assolto ove dovuto"), QString(), lw);
    if (o.certifiedCopy) leftRow(QStringLiteral("Copia conforme all'originale"), QString(), lw);

    const double sy = std::max(ly, ty) + 3;
    f.add(small(Item::label({0, sy, 60, 4}, QStringLiteral("Firma conducente o Vettore")), 7));
    f.add(Item::line({0, sy + 11, 60, 0}));
    f.add(small(Item::label({w / 2, sy, 60, 4}, QStringLiteral("Firma destinatario")), 7));
    f.add(Item::line({w / 2, sy + 11, 60, 0}));
    f.height = sy + 13;
    return l;
}

report::PageModel TQRfatt::render(const InvoicePrintData& data,
                                  const InvoicePrintOptions& options) const {
    report::Rows rows;
    rows.reserve(data.lines.size());
    for (const QVariantMap& line : data.lines) rows.append(line);
    report::PageModel m = report::render(layout(data, options), rows);
    m.title = QStringLiteral("Fattura %1").arg(numberText(data.header, options.yearSuffix));
    return m;
}

bool TQRfatt::exportPdf(const InvoicePrintData& data, const InvoicePrintOptions& options,
                        const QString& path, QString* error) const {
    return report::writePdf(render(data, options), path, error);
}

void TQRfatt::preview(const InvoicePrintData& data, const InvoicePrintOptions& options,
                      QWidget* parent) const {
    report::PreviewWindow::run(render(data, options), options.copies, parent);
}

}  // namespace zel
