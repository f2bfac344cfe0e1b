#include "ddt/DdtTotals.h"

#include "ddt/DdtLine.h"
#include "store/Store.h"
#include "warehouse/StockOps.h"

namespace zel {

namespace {

constexpr int kKgDecimals = 4;
// Net prices are stored rounded to the decimals of their window; read them back with
// room to spare so that no setting's decimals are cut.
constexpr int kPriceDecimals = 6;

double fromUnits(qint64 units) {
    return static_cast<double>(units) / static_cast<double>(decimal::scale(kKgDecimals));
}

Money costOf(double kg, double pricePerKg) {
    return Money::lineAmount(kg, decimal::scaled(pricePerKg, kPriceDecimals), kPriceDecimals);
}

}  // namespace

double DdtTotals::Processing::kg() const { return fromUnits(kgUnits); }

void DdtTotals::add(const DdtLine& l) {
    const Money amount =
        Money::lineAmount(l.quant, decimal::scaled(l.prezzonett, kPriceDecimals), kPriceDecimals);
    m_goods += amount;
    m_taxable[VatRate::fromDouble(l.percIva)] += amount;
    m_parcels += l.colli;
    m_weightUnits += decimal::scaled(l.peso, kKgDecimals);
    const double kg[3] = {l.ptropic, l.pzincat, l.pdorat};
    const double price[3] = {l.ctropic, l.czincat, l.cdorat};
    for (int i = 0; i < 3; ++i) {
        m_processing[i].kgUnits += decimal::scaled(kg[i], kKgDecimals);
        m_processing[i].cost += costOf(kg[i], price[i]);
    }
    m_wasteUnits += decimal::scaled(l.scarto, kKgDecimals);
    ++m_lines;
}

Money DdtTotals::vat() const {
    Money v;
    for (auto it = m_taxable.cbegin(); it != m_taxable.cend(); ++it) v += it.key().of(it.value());
    return v;
}

double DdtTotals::weight() const { return fromUnits(m_weightUnits); }
double DdtTotals::waste() const { return fromUnits(m_wasteUnits); }

DdtTotals DdtTotals::sum(Store& store, const QString& path, const QString& where,
                         const QVariantList& params) {
    DdtTotals t;
    store.forEachRow(
        QStringLiteral(
            "SELECT COALESCE(quant, 0), COALESCE(prezzonett, 0), COALESCE(perc_iva, 0), "
            "COALESCE(colli, 0), COALESCE(peso, 0), COALESCE(ptropic, 0), COALESCE(ctropic, 0), "
            "COALESCE(pzincat, 0), COALESCE(czincat, 0), COALESCE(pdorat, 0), "
            "COALESCE(cdorat, 0), COALESCE(scarto, 0) FROM %1%2 ORDER BY rowid")
            .arg(store.table(path), where),
        params, [&t](const StoreRow& r) {
            DdtLine l;
            l.quant = r.value(0).toDouble();
            l.prezzonett = r.value(1).toDouble();
            l.percIva = r.value(2).toDouble();
            l.colli = r.integer(3);
            l.peso = r.value(4).toDouble();
            l.ptropic = r.value(5).toDouble();
            l.ctropic = r.value(6).toDouble();
            l.pzincat = r.value(7).toDouble();
            l.czincat = r.value(8).toDouble();
            l.pdorat = r.value(9).toDouble();
            l.cdorat = r.value(10).toDouble();
            l.scarto = r.value(11).toDouble();
            t.add(l);
        });
    return t;
}

DdtTotals DdtTotals::ofDdt(Store& store, const QString& linesPath, qint64 number,
                           const QString& recipient) {
    return sum(store, linesPath,
               QStringLiteral(
                   " WHERE bolla = ? AND upper(cod_cli) = upper(?) AND COALESCE(cod_forn, '') = '' "
                   "AND COALESCE(causale, '') <> ?"),
               {number, recipient, QString::fromUtf16(kCauseRestore)});
}

DdtTotals DdtTotals::ofTable(Store& store, const QString& path) {
    return sum(store, path, QString(), {});
}

void DdtTotals::writeHeader(Store& store, const QString& headerPath, qint64 number,
                            const QString& recipient) const {
    store.exec(
        QStringLiteral(
            "UPDATE %1 SET prezzo = ?, iva = ?, tot_colli = ?, tot_peso = ?, tot_tropic = ?, "
            "tot_pztropic = ?, tot_zincat = ?, tot_pzzincat = ?, tot_dorat = ?, tot_pzdorat = ?, "
            "scarto = ? WHERE bolla = ? AND upper(cod_cli) = upper(?) AND COALESCE(cod_forn, '') = "
            "''")
            .arg(store.table(headerPath)),
        {goods().toDouble(), vat().toDouble(), static_cast<double>(m_parcels), weight(),
         m_processing[0].kg(), m_processing[0].cost.toDouble(), m_processing[1].kg(),
         m_processing[1].cost.toDouble(), m_processing[2].kg(), m_processing[2].cost.toDouble(),
         waste(), number, recipient});
}

}  // namespace zel
