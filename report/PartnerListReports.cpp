#include "report/PartnerListReports.h"

#include "core/Clock.h"
#include "report/Engine.h"
#include "report/Output.h"
#include "settings/Settings.h"
#include "ui/Formats.h"

namespace zel::report {

namespace {

constexpr double kRowHeight = 4.6;
constexpr double kNameShare = 0.0;  // marker: the name column absorbs free width

QFont font(double pt, bool bold = false) {
    QFont f = defaultFont();
    f.setPointSizeF(pt);
    f.setBold(bold);
    return f;
}

}  // namespace

PartnerListReport::PartnerListReport(const Settings& settings, QString name,
                                     std::vector<Column> columns)
    : m_settings(settings), m_name(std::move(name)), m_columns(std::move(columns)) {}

void PartnerListReport::setRows(const Rows& rows) {
    // Upper-case names once, so the engine finds every column at the first try.
    m_rows.clear();
    m_rows.reserve(rows.size());
    for (const Row& r : rows) {
        Row up;
        for (auto it = r.constBegin(); it != r.constEnd(); ++it) up.insert(it.key().toUpper(), it.value());
        m_rows.append(std::move(up));
    }
}

QString PartnerListReport::titleFor(PartnerKind kind) {
    switch (kind) {
        case PartnerKind::Clienti: return QStringLiteral("Anagrafica Clienti");
        case PartnerKind::Fornitori: return QStringLiteral("Anagrafica Fornitori");
        case PartnerKind::ClientiFornitori: return QStringLiteral("Anagrafica Clienti e Fornitori");
        case PartnerKind::Tutti: break;
    }
    return QStringLiteral("Anagrafica");
}

void PartnerListReport::setColumnHidden(const QString& field, bool hidden) {
    if (hidden) m_hidden.insert(field.toUpper());
    else m_hidden.remove(field.toUpper());
}

Layout PartnerListReport::layout() const {
    Layout l;
    l.name = m_name;
    l.margins = QMarginsF(10, 10, 10, 10);
    const double w = l.contentWidth();

    // Page header: letterhead lines 1..5 on the left, the title on the right.
    double y = 0;
    for (int n = 1; n <= 5; ++n) {
        const QString text = m_settings.text(u"Utente", QStringLiteral("riga %1").arg(n));
        const double h = n == 1 ? 6.0 : 4.2;
        QFont f = font(n == 1 ? 12.0 : 8.0, n == 1);
        const QString family = m_settings.text(u"Utente", QStringLiteral("riga %1 font").arg(n));
        if (!family.trimmed().isEmpty()) f.setFamily(printableFamily(family));
        l.pageHeader.add(Item::label(QRectF(0, y, w * 0.55, h), text).withFont(f));
        y += h;
    }
    l.pageHeader.add(Item::label(QRectF(w * 0.4, 0, w * 0.6, 8), title())
                         .withFont(font(14, true))
                         .align(Qt::AlignRight | Qt::AlignVCenter));
    l.pageHeader.height = y + 3;

    // Column heads and detail: visible columns left to right, free width to the name.
    double used = 0;
    for (const Column& c : m_columns)
        if (!m_hidden.contains(c.field) && c.field != u"NOME") used += c.width;
    double x = 0;
    for (const Column& c : m_columns) {
        if (m_hidden.contains(c.field)) continue;
        const double cw = c.field == u"NOME" ? w - used : c.width;
        l.columnHeader.add(Item::label(QRectF(x, 0.5, cw - 1, 4.5), c.caption).withFont(font(8, true)));
        Item field = Item::field(QRectF(x, 0.2, cw - 1, kRowHeight - 0.4), c.field).withFont(font(8));
        // Long names wrap onto further lines rather than losing their end.
        if (c.field == u"NOME") field.wrap().align(Qt::AlignLeft | Qt::AlignTop);
        l.detail.add(std::move(field));
        x += cw;
    }
    l.columnHeader.add(Item::line(QRectF(0, 5.5, w, 0), 0.3));
    l.columnHeader.height = 6.5;
    l.detail.height = kRowHeight;

    l.summary.height = 8;
    l.summary.add(Item::line(QRectF(0, 1, w, 0), 0.2));
    l.summary.add(Item::expression(QRectF(0, 2, w, 5), [](const Context& ctx) {
                      return QStringLiteral("Schede stampate: %1").arg(ctx.rowCount());
                  }).withFont(font(8, true)));

    const QDate date = m_date.isValid() ? m_date : Clock::today();
    l.pageFooter.height = 8;
    l.pageFooter.add(Item::line(QRectF(0, 1, w, 0), 0.2));
    l.pageFooter.add(Item::label(QRectF(0, 2, w / 3, 5), fmt::date(date)).withFont(font(8)));
    l.pageFooter.add(Item::label(QRectF(w / 3, 2, w / 3, 5), QStringLiteral("-- segue -->"))
                         .withFont(font(8, true))
                         .align(Qt::AlignHCenter | Qt::AlignVCenter)
                         .when([](const Context& ctx) { return !ctx.isLastPage(); }));
    l.pageFooter.add(Item::expression(QRectF(2 * w / 3, 2, w / 3, 5), [](const Context& ctx) {
                         return QStringLiteral("Pagina %1 di %2").arg(ctx.page).arg(ctx.pageCount);
                     })
                         .withFont(font(8))
                         .align(Qt::AlignRight | Qt::AlignVCenter));
    return l;
}

PageModel PartnerListReport::render() const { return report::render(layout(), m_rows); }

bool PartnerListReport::exportPdf(const QString& path, QString* error) const {
    return writePdf(render(), path, error);
}

QStringList PartnerListReport::choices() {
    return {QStringLiteral("Codice - Nome - Città - Tel - Cell - Email"),
            QStringLiteral("Codice - Nome - Indirizzo - Città - Tel"),
            QStringLiteral("Codice - Nome - P.I. - C.F. Gruppo - Cat. fiscale")};
}

std::unique_ptr<PartnerListReport> PartnerListReport::create(int choice, const Settings& settings) {
    switch (choice) {
        case 1: return std::make_unique<Tqr_lista_anagrafica2>(settings);
        case 2: return std::make_unique<Tqr_lista_anagrafica3>(settings);
        default: return std::make_unique<Tqr_lista_anagrafica>(settings);
    }
}

Tqr_lista_anagrafica::Tqr_lista_anagrafica(const Settings& settings)
    : PartnerListReport(settings, QStringLiteral("Tqr_lista_anagrafica"),
                        {{QStringLiteral("COD_CLI"), QStringLiteral("Codice"), 22},
                         {QStringLiteral("NOME"), QStringLiteral("Nome"), kNameShare},
                         {QStringLiteral("CITTA"), QStringLiteral("Città"), 32},
                         {QStringLiteral("TEL"), QStringLiteral("Tel"), 25},
                         {QStringLiteral("CELL"), QStringLiteral("Cell"), 25},
                         {QStringLiteral("EMAIL"), QStringLiteral("Email"), 38}}) {}

Tqr_lista_anagrafica2::Tqr_lista_anagrafica2(const Settings& settings)
    : PartnerListReport(settings, QStringLiteral("Tqr_lista_anagrafica2"),
                        {{QStringLiteral("COD_CLI"), QStringLiteral("Codice"), 22},
                         {QStringLiteral("NOME"), QStringLiteral("Nome"), kNameShare},
                         {QStringLiteral("VIA"), QStringLiteral("Indirizzo"), 50},
                         {QStringLiteral("CITTA"), QStringLiteral("Città"), 35},
                         {QStringLiteral("TEL"), QStringLiteral("Tel"), 25}}) {}

Tqr_lista_anagrafica3::Tqr_lista_anagrafica3(const Settings& settings)
    : PartnerListReport(settings, QStringLiteral("Tqr_lista_anagrafica3"),
                        {{QStringLiteral("COD_CLI"), QStringLiteral("Codice"), 22},
                         {QStringLiteral("NOME"), QStringLiteral("Nome"), kNameShare},
                         {QStringLiteral("PIVA"), QStringLiteral("P.I."), 26},
                         {QStringLiteral("CF"), QStringLiteral("C.F."), 36},
                         {QStringLiteral("GRUPPO"), QStringLiteral("Gruppo"), 24},
                         {QStringLiteral("CAT_FISC"), QStringLiteral("Cat. fiscale"), 24}}) {}

}  // namespace zel::report
