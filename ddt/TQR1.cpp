#include "ddt/TQR1.h"

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
using report::unitsToMm;

namespace {

constexpr double kRow = 5.0;

QString decimalsPattern(int decimals) {
    return decimals <= 0 ? QStringLiteral("###,##0")
                         : QStringLiteral("###,##0.") + QString(decimals, u'0');
}

// A descriptive line (code beginning with "_") prints its text only.
bool descriptive(const Context& c) { return c.text(u"COD").startsWith(u'_'); }

bool noOrder(const QString& order) {
    const QString o = order.trimmed();
    return o.isEmpty() || o == u"0";
}

QString orderDateText(const QVariant& order, const QVariant& date) {
    if (noOrder(order.toString())) return {};
    const QDate d = QDate::fromString(date.toString().left(10), Qt::ISODate);
    if (!d.isValid() || d == QDate(1899, 12, 31)) return {};
    return fmt::date(d);
}

Item small(Item it, double pt = 8.0) { return std::move(it.withPointSize(pt)); }

}  // namespace

TQR1::TQR1(const Settings& settings) : m_settings(settings) {}

std::optional<DdtPrintData> TQR1::load(Store& store, const DdtYearArchives& archives,
                                       const DdtKey& key) {
    DdtArchive archive(store, archives);
    std::optional<QVariantMap> header = archive.header(key);
    if (!header) return std::nullopt;
    DdtPrintData d;
    d.header = *header;
    d.recipient = archive.recipient(key.recipient);
    d.lines = archive.lines(key);
    return d;
}

QString TQR1::missingMessage(const DdtKey& key, int year) {
    return QStringLiteral("Nessun DDT n° %1 del cliente %2 nell'archivio %3")
        .arg(key.number)
        .arg(key.recipient)
        .arg(year);
}

report::Layout TQR1::layout(const DdtPrintData& data, const DdtPrintOptions& o) const {
    const Settings& s = m_settings;
    report::Layout l;
    l.name = QStringLiteral("TQR1");
    l.margins =
        QMarginsF(s.number(u"DDT", u"Margine sinistro"), s.number(u"DDT", u"Margine superiore"),
                  s.number(u"DDT", u"Margine destro"), s.number(u"DDT", u"Margine inferiore"));
    const double w = l.contentWidth();
    const QVariantMap h = data.header;
    const QVariantMap r = data.recipient;
    auto hv = [h](QStringView c) { return rowValue(h, c).toString().trimmed(); };
    auto rv = [r](QStringView c) { return rowValue(r, c).toString().trimmed(); };
    const int qtyDecimals = s.integer(u"DDT", u"Decimali quantita articolo");
    const int weightDecimals = s.integer(u"DDT", u"Decimali peso articolo");

    // Title: company header, document, number and date, recipient, destination; on
    // every page, so that each sheet names its DDT.
    report::Band& top = l.pageHeader;
    report::CompanyHeader company(s, report::DocumentKind::Ddt);
    company.setPrintSecondaryLogo(o.extraLogo);
    company.addTo(top, {0, 0}, w * 0.52);
    const double x0 = w * 0.55;
    const double rw = w - x0;
    top.add(Item::label({x0, 0, rw, 6}, QStringLiteral("Documento di trasporto (DDT)"))
                .withPointSize(11)
                .bold());
    top.add(small(Item::label({x0, 6, rw, 4}, QStringLiteral("(d.p.r 14.08.1996, n° 472)")), 7));
    top.add(small(Item::label({x0, 11, 10, 5}, QStringLiteral("Num."))));
    top.add(small(Item::label({x0 + 10, 11, 25, 5}, hv(u"BOLLA"))).bold());
    top.add(small(Item::label({x0 + 38, 11, 10, 5}, QStringLiteral("Data"))));
    top.add(small(Item::label({x0 + 48, 11, 30, 5}, fmt::date(rowDate(h, u"DATA_MOV")))).bold());
    const double ry = 18;
    top.add(small(Item::label({x0 + 2, ry + 1, rw - 4, 4}, QStringLiteral("Destinatario")), 7));
    // The name on the card; the code alone when the card was deleted.
    top.add(small(Item::label({x0 + 2, ry + 5, rw - 4, 5}, rv(u"NOME")), 9).bold());
    top.add(small(Item::label({x0 + 2, ry + 10, rw - 4, 4.5}, rv(u"VIA"))));
    QStringList place;
    for (const QString& part : {rv(u"CAP"), rv(u"CITTA")})
        if (!part.isEmpty()) place << part;
    QString city = place.join(u' ');
    if (!rv(u"PROV1").isEmpty()) city += QStringLiteral(" (%1)").arg(rv(u"PROV1"));
    top.add(small(Item::label({x0 + 2, ry + 14.5, rw - 4, 4.5}, city)));
    top.add(small(Item::label({x0 + 2, ry + 19, 8, 4.5}, QStringLiteral("P.I."))));
    top.add(small(Item::label({x0 + 10, ry + 19, 35, 4.5}, rv(u"PIVA"))));
    top.add(small(Item::label({x0 + 47, ry + 19, 9, 4.5}, QStringLiteral("Cod."))));
    top.add(small(Item::label({x0 + 56, ry + 19, rw - 58, 4.5}, hv(u"COD_CLI"))));
    if (s.flag(u"DDT", u"Stampa cornice destinatario")) top.add(Item::frame({x0, ry, rw, 24.5}));
    const double dy = 44;
    top.add(small(Item::label({0, dy, 30, 4}, QStringLiteral("Destinazione")), 7));
    top.add(small(Item::label({0, dy + 4, x0 - 4, 4.5}, o.destName.trimmed())).bold());
    top.add(small(Item::label({0, dy + 8.5, x0 - 4, 4.5}, o.destStreet.trimmed())));
    QString destCity = (o.destCap.trimmed() + u' ' + o.destCity.trimmed()).trimmed();
    if (!o.destProv.trimmed().isEmpty())
        destCity += QStringLiteral(" (%1)").arg(o.destProv.trimmed());
    top.add(small(Item::label({0, dy + 13, x0 - 4, 4.5}, destCity)));
    top.height = 62;

    // Columns, in report units as the form was drawn.
    const bool order = o.orderColumn || o.orderDateColumn;
    double qtyX = 506, unitX = 461, weightX = 565, desW = 322;
    if (!order && !o.weightColumn) {
        qtyX = 650;
        unitX = 605;
        desW = 466;
    } else if (!order) {
        qtyX = 600;
        unitX = 557;
        desW = 418;
        weightX = 665;
    }
    const double desX = 136, orderX = 612, orderDateX = 656;
    auto col = [](double x, double wu) { return QRectF(unitsToMm(x), 0, unitsToMm(wu), 4.5); };
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    report::Band& ch = l.columnHeader;
    ch.height = 7;
    const double head = 7.5;
    ch.add(small(Item::label(col(0, 130), QStringLiteral("Codice")), head).bold());
    ch.add(small(Item::label(col(desX, desW), QStringLiteral("Descrizione del prodotto")), head)
               .bold());
    if (o.unitColumn)
        ch.add(small(Item::label(col(unitX, 44), QStringLiteral("Un.mis.")), head).bold());
    ch.add(
        small(Item::label(col(qtyX - 4, 56), QStringLiteral("Quant.")), head).bold().align(right));
    if (o.weightColumn)
        ch.add(small(Item::label(col(weightX - 4, 50), QStringLiteral("Peso")), head)
                   .bold()
                   .align(right));
    if (o.orderColumn)
        ch.add(small(Item::label(col(orderX, 44), QStringLiteral("Ordine")), head).bold());
    if (o.orderDateColumn)
        ch.add(small(Item::label(col(orderDateX, 62), QStringLiteral("Data")), head).bold());
    ch.add(Item::line({0, 5.5, w, 0}));

    report::Band& d = l.detail;
    d.height = kRow;
    d.add(small(Item::field(col(0, 130), QStringLiteral("COD"))));
    d.add(small(Item::field(col(desX, desW), QStringLiteral("DES"))));
    if (o.unitColumn) d.add(small(Item::field(col(unitX, 42), QStringLiteral("UNITAMIS"))));
    const QString qtyPattern = decimalsPattern(qtyDecimals);
    d.add(small(Item::expression(col(qtyX - 4, 56), [qtyPattern](const Context& c) {
              return descriptive(c) ? QString() : fmt::number(c.number(u"QUANT"), qtyPattern);
          })).align(right));
    const QString weightPattern = decimalsPattern(weightDecimals);
    if (o.weightColumn)
        d.add(small(Item::expression(col(weightX - 4, 50), [weightPattern](const Context& c) {
                  return descriptive(c) ? QString() : fmt::number(c.number(u"PESO"), weightPattern);
              })).align(right));
    if (o.orderColumn)
        d.add(small(Item::expression(col(orderX, 44), [](const Context& c) {
            return noOrder(c.text(u"ORDINE")) ? QString() : c.text(u"ORDINE").trimmed();
        })));
    if (o.orderDateColumn)
        d.add(small(Item::expression(col(orderDateX, 62),
                                     [](const Context& c) {
                                         return orderDateText(c.value(u"ORDINE"),
                                                              c.value(u"DATAORD"));
                                     }),
                    7.5));

    // Footer: transport data on every page; totals only on the last one.
    report::Band& f = l.pageFooter;
    f.height = 56;
    auto last = [](const Context& c) { return c.isLastPage(); };
    auto notLast = [](const Context& c) { return !c.isLastPage(); };
    f.add(Item::line({0, 0.5, w, 0}));
    f.add(
        small(Item::label({w - 40, 1, 40, 5}, continuedText())).bold().align(right).when(notLast));
    const double q = w / 4;
    const QString captions[] = {QStringLiteral("Causale del trasporto"),
                                QStringLiteral("Aspetto esteriore dei beni"),
                                QStringLiteral("Porto"), QStringLiteral("Trasporto a cura del")};
    const QString values[] = {hv(u"CAUSALE"), hv(u"ASPETTO"), hv(u"PORTO"), hv(u"TRASPORTO")};
    for (int i = 0; i < 4; ++i) {
        f.add(small(Item::label({q * i, 6, q - 2, 4}, captions[i]), 7));
        f.add(small(Item::label({q * i, 10, q - 2, 5}, values[i])));
    }
    double x = 0;
    auto figure = [&](const QString& caption, const QString& value, const QString& unit,
                      double width, bool onlyLast) {
        f.add(small(Item::label({x, 16, width - 2, 4}, caption), 7));
        Item v =
            small(Item::label({x, 20, width - 2, 5}, unit.isEmpty() ? value : value + u' ' + unit));
        if (onlyLast) v.when(last);
        f.add(v);
        x += width;
    };
    figure(QStringLiteral("N. colli"), fmt::number(rowValue(h, u"TOT_COLLI").toDouble(), u"##0"),
           {}, 20, true);
    figure(QStringLiteral("Peso materiale"),
           fmt::number(rowValue(h, u"TOT_PESO").toDouble(), weightPattern), QStringLiteral("Kg."),
           30, true);
    const struct {
        const char16_t* flag;
        const char16_t* label;
        const char16_t* column;
    } processing[] = {{u"Stampa Tropicalizzazione", u"Lavorazione 1", u"TOT_TROPIC"},
                      {u"Stampa Zincatura", u"Lavorazione 2", u"TOT_ZINCAT"},
                      {u"Stampa Doratura", u"Lavorazione 3", u"TOT_DORAT"}};
    for (const auto& p : processing)
        if (s.flag(u"DDT", p.flag))
            figure(QStringLiteral("Peso ") + s.text(u"Magazzino", p.label),
                   fmt::number(rowValue(h, p.column).toDouble(), weightPattern),
                   QStringLiteral("Kg."), 30, true);
    if (o.wasteField)
        figure(QStringLiteral("Scarto"),
               fmt::number(rowValue(h, u"SCARTO").toDouble(), weightPattern), QStringLiteral("Kg."),
               22, true);
    if (o.yourRefField && !noOrder(hv(u"ORDINE"))) {
        const QString ref =
            hv(u"ORDINE") + QStringLiteral(" del ") + orderDateText(hv(u"ORDINE"), hv(u"DATAORD"));
        figure(QStringLiteral("Vs. rif."), ref.trimmed(), {}, 45, false);
    }
    if (o.packingField) figure(QStringLiteral("Imballo"), hv(u"IMBALLO"), {}, 30, false);

    f.add(small(Item::label({0, 26, 12, 5}, QStringLiteral("Note:"))));
    f.add(small(Item::label({12, 26, w - 12, 5}, o.note.trimmed())));
    f.add(small(Item::label({0, 32, 45, 4}, QStringLiteral("Inizio trasporto o consegna")), 7));
    f.add(small(Item::label({0, 36, 9, 5}, QStringLiteral("Data"))));
    f.add(small(Item::label({9, 36, 22, 5}, o.pickupDateOn ? fmt::date(o.pickupDate) : QString())));
    f.add(small(Item::label({31, 36, 8, 5}, QStringLiteral("Ora"))));
    f.add(
        small(Item::label({39, 36, 12, 5}, o.pickupTimeOn ? fmt::time(o.pickupTime) : QString())));
    f.add(small(Item::label({55, 32, 30, 4}, QStringLiteral("Vettore 1")), 7));
    f.add(small(Item::label({55, 36, 65, 5}, o.carrier1.trimmed())));
    f.add(small(Item::label({122, 32, 30, 4}, QStringLiteral("Vettore 2")), 7));
    f.add(small(Item::label({122, 36, w - 122, 5}, o.carrier2.trimmed())));
    const QString signs[] = {
        QStringLiteral("Firma conducente"), QStringLiteral("Firma destinatario"),
        QStringLiteral("Data e ora inizio trasporto"), QStringLiteral("Firma")};
    for (int i = 0; i < 4; ++i) {
        f.add(small(Item::label({q * i, 43, q - 2, 4}, signs[i]), 7));
        f.add(Item::line({q * i, 53, q - 4, 0}));
    }
    return l;
}

report::PageModel TQR1::render(const DdtPrintData& data, const DdtPrintOptions& options) const {
    report::Rows rows;
    rows.reserve(data.lines.size());
    for (const QVariantMap& line : data.lines) rows.append(line);
    report::PageModel m = report::render(layout(data, options), rows);
    m.title = QStringLiteral("DDT %1").arg(rowValue(data.header, u"BOLLA").toLongLong());
    return m;
}

bool TQR1::exportPdf(const DdtPrintData& data, const DdtPrintOptions& options, const QString& path,
                     QString* error) const {
    return report::writePdf(render(data, options), path, error);
}

void TQR1::preview(const DdtPrintData& data, const DdtPrintOptions& options,
                   QWidget* parent) const {
    report::PreviewWindow::run(render(data, options), options.copies, parent);
}

}  // namespace zel
