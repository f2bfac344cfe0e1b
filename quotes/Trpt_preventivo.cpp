#include "quotes/Trpt_preventivo.h"

#include "documents/Money.h"
#include "documents/VatRates.h"
#include "report/CompanyHeader.h"
#include "report/Engine.h"
#include "report/Output.h"
#include "settings/Settings.h"
#include "store/Store.h"

namespace zel {

namespace {

using report::Context;
using report::Item;

QVariant valueOf(const QVariantMap& m, QStringView name) {
    for (auto it = m.cbegin(); it != m.cend(); ++it)
        if (it.key().compare(name, Qt::CaseInsensitive) == 0) return it.value();
    return {};
}

std::optional<QVariantMap> firstRow(Store& store, const QString& path, const QString& where,
                                    const QVariantList& params) {
    QList<QVariantMap> rows;
    QStringList names;
    for (const ColumnInfo& c : store.columns(path)) names.append(c.name);
    QStringList quoted;
    for (const QString& n : names) quoted.append(Store::quoteName(n));
    const auto r = store.rows(QStringLiteral("SELECT %1 FROM %2 WHERE %3 LIMIT 1")
                                  .arg(quoted.join(QStringLiteral(", ")), store.table(path), where),
                              params);
    if (r.isEmpty()) return std::nullopt;
    QVariantMap m;
    for (int i = 0; i < names.size(); ++i) m.insert(names[i], r[0][i]);
    return m;
}

// An amount of value 0 prints empty.
QString amountText(double v, const QString& symbol) {
    const Money m = Money::fromDouble(v);
    if (m.isZero()) return {};
    return symbol.isEmpty() ? m.format() : symbol + QLatin1Char(' ') + m.format();
}

}  // namespace

Trpt_preventivo::Trpt_preventivo(const Settings& settings, Model model)
    : m_settings(settings), m_model(model) {}

QString Trpt_preventivo::missingMessage(qint64 number) {
    return QStringLiteral("Nessun preventivo n° %1 nell'archivio preventivi").arg(number);
}

std::optional<QuotePrintData> Trpt_preventivo::load(Store& store, const Settings& settings,
                                                    qint64 number) {
    const QuoteArchives a = QuoteArchives::fromSettings(settings);
    if (!Store::exists(a.header)) return std::nullopt;
    auto header = firstRow(store, a.header, QStringLiteral("fattura = ?"), {number});
    if (!header) return std::nullopt;
    QuotePrintData d;
    d.header = *header;
    const QString code = valueOf(d.header, u"cod_cli").toString().trimmed();
    const QString registry = settings.text(u"Path", u"Archivio anagrafica");
    if (!code.isEmpty() && Store::exists(registry))
        if (auto c = firstRow(store, registry, QStringLiteral("cod_cli = ?"), {code}))
            d.customer = *c;
    QStringList names;
    for (const ColumnInfo& c : store.columns(a.lines)) names.append(c.name);
    QStringList quoted;
    for (const QString& n : names) quoted.append(Store::quoteName(n));
    for (const QVariantList& r :
         store.rows(QStringLiteral("SELECT %1 FROM %2 WHERE fattura = ? ORDER BY rowid")
                        .arg(quoted.join(QStringLiteral(", ")), store.table(a.lines)),
                    {number})) {
        QVariantMap m;
        for (int i = 0; i < names.size(); ++i) m.insert(names[i], r[i]);
        d.lines.append(m);
    }
    return d;
}

report::Layout Trpt_preventivo::layout(const QuotePrintData& data,
                                       const QuotePrintOptions& o) const {
    report::Layout l;
    l.name = m_model == Model::Full ? QStringLiteral("Trpt_preventivo")
                                    : QStringLiteral("Trpt_preventivo_simple");
    const double w = l.contentWidth();
    const QString symbol =
        o.currency ? QStringLiteral("€") : QString();

    if (o.companyHeading) {
        report::CompanyHeader company(m_settings, report::DocumentKind::Preventivo);
        company.setPrintSecondaryLogo(o.secondaryLogo && m_model == Model::Full);
        l.pageHeader.height = 45;
        company.addTo(l.pageHeader, QPointF(80, 0), w - 80);
    }
    const QVariantMap& h = data.header;
    const qint64 number = valueOf(h, u"fattura").toLongLong();
    const QDate date = valueOf(h, u"data").toDate();
    l.title.height = 40;
    l.title.add(Item::label(QRectF(0, 0, 100, 7),
                            QStringLiteral("Preventivo n. %1 del %2")
                                .arg(number)
                                .arg(date.toString(QStringLiteral("dd/MM/yyyy")))))
        .bold()
        .withPointSize(12);
    // The card's data when it exists, else what the quote holds.
    const bool card = !data.customer.isEmpty();
    const QString name = card ? valueOf(data.customer, u"nome").toString()
                              : valueOf(h, u"nome_cli").toString();
    QStringList lines = {name};
    if (card) {
        lines.append(valueOf(data.customer, u"via").toString());
        lines.append(QStringLiteral("%1 %2 %3")
                         .arg(valueOf(data.customer, u"cap").toString(),
                              valueOf(data.customer, u"citta").toString(),
                              valueOf(data.customer, u"prov1").toString())
                         .trimmed());
        const QString piva = valueOf(data.customer, u"piva").toString().trimmed();
        if (!piva.isEmpty()) lines.append(QStringLiteral("P.IVA ") + piva);
    }
    const QString cf = (card ? valueOf(data.customer, u"cf") : valueOf(h, u"cf")).toString().trimmed();
    if (!cf.isEmpty()) lines.append(QStringLiteral("C.F. ") + cf);
    double y = 0;
    for (const QString& t : lines) {
        l.title.add(Item::label(QRectF(110, y, w - 110, 5), t));
        y += 5;
    }
    double ty = 10;
    auto titleLine = [&](bool on, const QString& text) {
        if (!on || text.trimmed().isEmpty()) return;
        l.title.add(Item::label(QRectF(0, ty, 105, 5), text));
        ty += 5;
    };
    titleLine(o.subject, QStringLiteral("Oggetto: ") + valueOf(h, u"oggetto").toString());
    titleLine(o.orderType, QStringLiteral("Tipo di ordine: ") + valueOf(h, u"ordine").toString());
    titleLine(o.delivery, QStringLiteral("Consegna: ") + valueOf(h, u"consegna").toString());
    titleLine(o.validity && valueOf(h, u"validita").toDate().isValid(),
              QStringLiteral("Validità del presente preventivo fino al ") +
                  valueOf(h, u"validita").toDate().toString(QStringLiteral("dd/MM/yyyy")));
    titleLine(true, QStringLiteral("Pagamento: ") + valueOf(h, u"pagam").toString());

    // Columns: code, description, [picture], [unit], [quantity], price, discount, VAT, amount.
    const bool pictures = m_model == Model::Full;
    double x = 0;
    struct Col {
        QString heading;
        double width;
        std::function<QString(const Context&)> text;
        Qt::Alignment align;
    };
    const bool alt = o.altText;
    const bool full = m_model == Model::Full;
    auto altShown = [alt, full](const Context& c) {
        return alt && !c.text(u"prezzo_alfa").trimmed().isEmpty() &&
               (!full || c.value(u"stampa_alfa").toBool());
    };
    std::vector<Col> cols;
    cols.push_back({QStringLiteral("Codice"), 25, [](const Context& c) { return c.text(u"cod"); },
                    Qt::AlignLeft});
    const double desWidth = 70 + (o.unit ? 0 : 12) + (o.quantity ? 0 : 15) + (pictures ? 0 : 20);
    cols.push_back({QStringLiteral("Descrizione"), desWidth,
                    [](const Context& c) { return c.text(u"des"); }, Qt::AlignLeft});
    if (o.unit)
        cols.push_back({QStringLiteral("U.M."), 12, [](const Context& c) { return c.text(u"unitamis"); },
                        Qt::AlignLeft});
    if (o.quantity)
        cols.push_back({QStringLiteral("Q.tà"), 15,
                        [](const Context& c) {
                            const double q = c.number(u"quant");
                            return q == 0 ? QString() : QString::number(q).replace(QLatin1Char('.'), QLatin1Char(','));
                        },
                        Qt::AlignRight});
    cols.push_back({QStringLiteral("Prezzo"), 18,
                    [altShown, symbol](const Context& c) {
                        return altShown(c) ? c.text(u"prezzo_alfa") : amountText(c.number(u"prezzo"), symbol);
                    },
                    Qt::AlignRight});
    cols.push_back({QStringLiteral("Sc. %"), 10,
                    [](const Context& c) {
                        const double s = c.number(u"sconto");
                        return s == 0 ? QString() : QString::number(s).replace(QLatin1Char('.'), QLatin1Char(','));
                    },
                    Qt::AlignRight});
    cols.push_back({QStringLiteral("IVA"), 10,
                    [](const Context& c) { return VatRate::fromDouble(c.number(u"perc_iva")).text(); },
                    Qt::AlignRight});
    cols.push_back({QStringLiteral("Importo"), 0,
                    [altShown, symbol](const Context& c) {
                        return altShown(c) ? QString() : amountText(c.number(u"prezzotot"), symbol);
                    },
                    Qt::AlignRight});
    double used = 0;
    for (const Col& c : cols) used += c.width;
    const double pictureWidth = pictures ? 20 : 0;
    cols.back().width = std::max(15.0, w - used - pictureWidth);
    l.columnHeader.height = 6;
    l.detail.height = pictures ? 20 : 6;
    for (const Col& c : cols) {
        l.columnHeader.add(Item::label(QRectF(x, 0, c.width, 6), c.heading)).bold().align(c.align | Qt::AlignVCenter);
        l.detail.add(Item::expression(QRectF(x, 0, c.width, 6), c.text)).align(c.align | Qt::AlignVCenter).wrap(c.heading == QStringLiteral("Descrizione"));
        x += c.width;
    }
    if (pictures) {
        l.detail.add(Item::picture(QRectF(x, 0, pictureWidth, 20), [](const Context& c) {
            const QString file = c.text(u"immagine").trimmed();
            return file.isEmpty() ? QImage() : QImage(file);
        }));
    }

    // Totals, from the stored header: the stored total is the printed one.
    const VatRates rates(m_settings);
    const auto configured = rates.configured();
    report::Band& totals = o.footerOnLastPageOnly ? l.summary : l.pageFooter;
    totals.height = o.amountsRow ? 30 : 12;
    const bool lastOnly = o.footerOnLastPageOnly;
    auto onTotalsPage = [lastOnly](const Context& c) { return lastOnly || c.isLastPage(); };
    double ry = 0;
    if (o.amountsRow) {
        auto amountRow = [&](const QString& label, QStringView column) {
            const QString value = amountText(valueOf(h, column).toDouble(), symbol);
            totals.add(Item::label(QRectF(w - 90, ry, 55, 5), label)).when(onTotalsPage);
            totals.add(Item::label(QRectF(w - 35, ry, 35, 5), value))
                .align(Qt::AlignRight | Qt::AlignVCenter)
                .when(onTotalsPage);
            ry += 5;
        };
        amountRow(QStringLiteral("Imponibile"), u"imp_tot");
        const char16_t* vatColumns[3] = {u"iva4", u"iva9", u"iva19"};
        for (int i = 0; i < 3; ++i)
            if (o.vat[i])
                amountRow(QStringLiteral("Iva ") + (configured[i] ? configured[i]->text() : QString()) +
                              QStringLiteral("%"),
                          vatColumns[i]);
    }
    totals.add(Item::label(QRectF(w - 90, ry, 55, 6), QStringLiteral("Totale preventivo")))
        .bold()
        .when(onTotalsPage);
    totals.add(Item::label(QRectF(w - 35, ry, 35, 6),
                           amountText(valueOf(h, u"tot_fatt").toDouble(), symbol)))
        .bold()
        .align(Qt::AlignRight | Qt::AlignVCenter)
        .when(onTotalsPage);
    if (!lastOnly)
        totals.add(Item::label(QRectF(w - 35, ry, 35, 6), continuedText()))
            .align(Qt::AlignRight | Qt::AlignVCenter)
            .when([](const Context& c) { return !c.isLastPage(); });
    if (o.notes) {
        const QString notes = (valueOf(h, u"note").toString().trimmed() + QLatin1Char(' ') +
                               valueOf(h, u"note2").toString().trimmed())
                                  .trimmed();
        if (!notes.isEmpty()) totals.add(Item::label(QRectF(0, 0, w - 95, 20), notes)).wrap();
    }
    return l;
}

report::PageModel Trpt_preventivo::render(const QuotePrintData& data,
                                          const QuotePrintOptions& options) const {
    report::Rows rows;
    rows.reserve(data.lines.size());
    for (const QVariantMap& line : data.lines) rows.append(line);
    report::PageModel m = report::render(layout(data, options), rows);
    m.title = QStringLiteral("Preventivo %1").arg(valueOf(data.header, u"fattura").toLongLong());
    return m;
}

bool Trpt_preventivo::exportPdf(const QuotePrintData& data, const QuotePrintOptions& options,
                                const QString& path, QString* error) const {
    return report::writePdf(render(data, options), path, error);
}

}  // namespace zel
