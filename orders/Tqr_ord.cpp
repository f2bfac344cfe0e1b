#include "orders/Tqr_ord.h"

#include <QDir>
#include <QFileInfo>
#include <cstdio>

#include "core/Paths.h"
#include "documents/Money.h"
#include "report/CompanyHeader.h"
#include "report/Output.h"
#include "settings/Settings.h"
#include "store/DataStartup.h"
#include "store/Store.h"
#include "ui/Formats.h"

namespace zel {

using report::Context;
using report::Item;

std::optional<OrderPrintData> Tqr_ord::load(Store& store, const Settings& settings, qint64 number) {
    const QString orders = settings.text(u"Path", u"Archivio Ordini");
    const QString registry = settings.text(u"Path", u"Archivio anagrafica");
    const auto rows = store.rows(
        QStringLiteral("SELECT COALESCE(cod_art, ''), COALESCE(des, ''), COALESCE(quant, 0), "
                       "COALESCE(prezzo, 0), COALESCE(iva, 0), COALESCE(unitamis, ''), data, "
                       "COALESCE(cod_cli, ''), COALESCE(cod_forn, ''), COALESCE(agente, '') FROM %1 "
                       "WHERE ordine = ? ORDER BY rowid")
            .arg(store.table(orders)),
        {number});
    if (rows.isEmpty()) return std::nullopt;
    OrderPrintData d;
    d.number = number;
    d.date = QDate::fromString(rows[0][6].toString(), Qt::ISODate);
    d.supplier = rows[0][7].toString().isEmpty();
    d.partyCode = d.supplier ? rows[0][8].toString() : rows[0][7].toString();
    d.agent = rows[0][9].toString();
    for (const QVariantList& r : rows) {
        const double q = r[2].toDouble();
        const Money amount = Money::lineAmount(q, decimal::scaled(r[3].toDouble(), 2), 2);
        d.lines.append(report::Row{{QStringLiteral("COD_ART"), r[0]},
                                   {QStringLiteral("DES"), r[1]},
                                   {QStringLiteral("QUANT"), q},
                                   {QStringLiteral("PREZZO"), r[3]},
                                   {QStringLiteral("IVA"), r[4]},
                                   {QStringLiteral("UNITAMIS"), r[5]},
                                   {QStringLiteral("IMPORTO"), amount.format()}});
    }
    // The party's card when it still exists; the code alone otherwise.
    if (Store::exists(registry)) {
        const auto p = store.rows(
            QStringLiteral("SELECT COALESCE(nome, ''), COALESCE(via, ''), COALESCE(cap, ''), "
                           "COALESCE(citta, ''), COALESCE(piva, '') FROM %1 WHERE cod_cli = ? LIMIT 1")
                .arg(store.table(registry)),
            {d.partyCode});
        if (!p.isEmpty())
            d.party = {{QStringLiteral("NOME"), p[0][0]},
                       {QStringLiteral("VIA"), p[0][1]},
                       {QStringLiteral("CAP"), p[0][2]},
                       {QStringLiteral("CITTA"), p[0][3]},
                       {QStringLiteral("PIVA"), p[0][4]}};
    }
    return d;
}

report::Layout Tqr_ord::layout(const OrderPrintData& data, bool extraLogo) const {
    report::Layout l;
    l.name = QStringLiteral("Tqr_ord");
    const double w = l.contentWidth();
    report::Band& top = l.pageHeader;
    report::CompanyHeader company(m_settings, report::DocumentKind::Ordine);
    company.setPrintSecondaryLogo(extraLogo);
    company.addTo(top, {0, 0}, w * 0.52);
    const double x0 = w * 0.55;
    const double rw = w - x0;
    top.add(Item::label({x0, 0, rw, 6},
                        data.supplier ? QStringLiteral("Ordine a fornitore") : QStringLiteral("Ordine da cliente"))
                .withPointSize(11)
                .bold());
    top.add(Item::label({x0, 7, rw, 5}, QStringLiteral("N° %1 del %2").arg(data.number).arg(fmt::date(data.date))));
    const auto pv = [&](const char16_t* k) { return data.party.value(QString::fromUtf16(k)).toString().trimmed(); };
    top.add(Item::label({x0, 14, rw, 5}, data.supplier ? QStringLiteral("Fornitore") : QStringLiteral("Cliente")));
    top.add(Item::label({x0, 19, rw, 5}, pv(u"NOME").isEmpty() ? data.partyCode : pv(u"NOME")).bold());
    top.add(Item::label({x0, 24, rw, 5}, pv(u"VIA")));
    top.add(Item::label({x0, 29, rw, 5}, (pv(u"CAP") + u' ' + pv(u"CITTA")).trimmed()));
    top.add(Item::label({x0, 34, rw, 5}, QStringLiteral("Cod. %1").arg(data.partyCode)));
    top.height = 44;

    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    report::Band& ch = l.columnHeader;
    ch.height = 7;
    ch.add(Item::label({0, 0, 30, 5}, QStringLiteral("Codice")).bold());
    ch.add(Item::label({31, 0, 85, 5}, QStringLiteral("Descrizione")).bold());
    ch.add(Item::label({117, 0, 20, 5}, QStringLiteral("Quant.")).bold().align(right));
    ch.add(Item::label({138, 0, 22, 5}, QStringLiteral("Prezzo")).bold().align(right));
    ch.add(Item::label({161, 0, w - 161, 5}, QStringLiteral("Importo")).bold().align(right));
    ch.add(Item::line({0, 5.5, w, 0}));
    report::Band& d = l.detail;
    d.height = 5;
    d.add(Item::field({0, 0, 30, 5}, QStringLiteral("COD_ART")));
    d.add(Item::field({31, 0, 85, 5}, QStringLiteral("DES")));
    d.add(Item::expression({117, 0, 20, 5}, [](const Context& c) {
        return fmt::number(c.number(u"QUANT"), u"#,##0.###");
    }).align(right));
    d.add(Item::expression({138, 0, 22, 5}, [](const Context& c) {
        return fmt::number(c.number(u"PREZZO"), u"#,##0.00");
    }).align(right));
    d.add(Item::field({161, 0, w - 161, 5}, QStringLiteral("IMPORTO")).align(right));

    report::Band& f = l.summary;
    f.height = 20;
    f.add(Item::line({0, 1, w, 0}));
    f.add(Item::label({0, 3, w / 2, 5}, QStringLiteral("Agente: %1").arg(data.agent)));
    f.add(Item::label({w / 2, 10, w / 2, 5}, QStringLiteral("Firma per accettazione")).align(right));
    return l;
}

report::Rows Tqr_ord::listRows(Store& store, const Settings& settings) {
    const QString orders = settings.text(u"Path", u"Archivio Ordini");
    const QString registry = settings.text(u"Path", u"Archivio anagrafica");
    report::Rows out;
    store.forEachRow(
        QStringLiteral("SELECT a.ordine, a.data, COALESCE(a.cod_cli, ''), COALESCE(a.cod_forn, ''), "
                       "COALESCE(a.cod_art, ''), COALESCE(a.des, ''), COALESCE(a.quant, 0), "
                       "COALESCE(a.consegnato_quant, 0), COALESCE(b.nome, '') FROM %1 a LEFT JOIN %2 b "
                       "ON b.cod_cli = CASE WHEN COALESCE(a.cod_cli, '') <> '' THEN a.cod_cli ELSE a.cod_forn END "
                       "WHERE COALESCE(a.ordine, 0) <> 0 ORDER BY a.ordine, a.rowid")
            .arg(store.table(orders), store.table(registry)),
        {}, [&](const StoreRow& r) {
            const QString party = r.text(2).isEmpty() ? r.text(3) : r.text(2);
            out.append(report::Row{{QStringLiteral("ORDINE"), r.integer(0)},
                                   {QStringLiteral("DATA"), fmt::date(QDate::fromString(r.text(1), Qt::ISODate))},
                                   {QStringLiteral("PARTE"), party},
                                   {QStringLiteral("NOME"), r.text(8)},
                                   {QStringLiteral("COD_ART"), r.text(4)},
                                   {QStringLiteral("DES"), r.text(5)},
                                   {QStringLiteral("QUANT"), r.value(6).toDouble()},
                                   {QStringLiteral("CONSEGNATO"), r.value(7).toDouble()}});
        });
    return out;
}

report::Layout Tqr_ord::listLayout() {
    report::Layout l;
    l.name = QStringLiteral("Tqr_elenco_ordini");
    const double w = l.contentWidth();
    l.title.height = 9;
    l.title.add(Item::label({0, 0, w, 7}, QStringLiteral("Elenco ordini")).withPointSize(12).bold());
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    report::Band& ch = l.columnHeader;
    ch.height = 6;
    const QList<std::tuple<double, double, QString>> cols{
        {0, 14, QStringLiteral("Ordine")},   {15, 20, QStringLiteral("Data")},
        {36, 20, QStringLiteral("Codice")},  {57, 45, QStringLiteral("Nome")},
        {103, 22, QStringLiteral("Articolo")}, {126, 40, QStringLiteral("Descrizione")}};
    for (const auto& [x, cw, t] : cols) ch.add(Item::label({x, 0, cw, 5}, t).bold());
    ch.add(Item::label({167, 0, w - 167, 5}, QStringLiteral("Quant.")).bold().align(right));
    ch.add(Item::line({0, 5.5, w, 0}));
    report::Band& d = l.detail;
    d.height = 5;
    const QStringList fields{QStringLiteral("ORDINE"), QStringLiteral("DATA"), QStringLiteral("PARTE"),
                             QStringLiteral("NOME"), QStringLiteral("COD_ART"), QStringLiteral("DES")};
    for (int i = 0; i < cols.size(); ++i)
        d.add(Item::field({std::get<0>(cols[i]), 0, std::get<1>(cols[i]), 5}, fields[i]));
    d.add(Item::expression({167, 0, w - 167, 5}, [](const Context& c) {
        return fmt::number(c.number(u"QUANT"), u"#,##0.###");
    }).align(right));
    return l;
}

bool Tqr_ord::exportPdf(const OrderPrintData& data, const QString& path, QString* error) const {
    return report::renderToPdf(layout(data, m_settings.flag(u"Ordine", u"Stampa extra logo")), data.lines,
                               path, error);
}

int runOrderPrint(const QString& base, qint64 number, const QString& pdf) {
    const auto say = [](const QString& t) { std::fprintf(stderr, "%s\n", qUtf8Printable(t)); };
    Settings settings(base);
    settings.load();
    if (!QFileInfo(dataDir(base)).isDir()) {
        say(QStringLiteral("La cartella dei dati %1 non esiste.").arg(QDir::toNativeSeparators(dataDir(base))));
        return kExitArchive;
    }
    try {
        Store store(dataDir(base));
        const auto data = Tqr_ord::load(store, settings, number);
        if (!data) {
            say(QStringLiteral("Nessun ordine n° %1.").arg(number));
            return kExitUnknownOrder;
        }
        QString error;
        if (!Tqr_ord(settings).exportPdf(*data, pdf, &error)) {
            say(QStringLiteral("Il PDF %1 non si può scrivere: %2").arg(QDir::toNativeSeparators(pdf), error));
            return kExitOrderPdf;
        }
        say(QStringLiteral("Ordine n° %1 (%2 righe) scritto in %3.")
                .arg(number)
                .arg(data->lines.size())
                .arg(QDir::toNativeSeparators(pdf)));
        return kExitDone;
    } catch (const StoreError& e) {
        say(QStringLiteral("Archivio ordini non leggibile: %1").arg(e.message()));
        return kExitArchive;
    }
}

}  // namespace zel
