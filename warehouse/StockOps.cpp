#include "warehouse/StockOps.h"

#include "core/Clock.h"
#include "core/Paths.h"
#include "settings/Settings.h"
#include "store/ArchiveMaintenance.h"
#include "store/Store.h"
#include "warehouse/OrderDelivery.h"

namespace zel {

namespace {

// Joins the caller's transaction, or opens one of its own.
class JoinedTransaction {
public:
    explicit JoinedTransaction(Store& store) {
        if (!store.inTransaction()) m_own.emplace(store);
    }
    void commit() {
        if (m_own) m_own->commit();
    }

private:
    std::optional<Transaction> m_own;
};

QVariant dateOrNull(const QDate& d) { return d.isValid() ? QVariant(d) : QVariant(); }

}  // namespace

StockArchives StockArchives::fromSettings(const Settings& settings) {
    StockArchives a;
    a.warehouse = settings.text(u"Path", u"Archivio Magazzino");
    a.movements = settings.text(u"Path", u"Archivio DDT Detail");
    a.orders = settings.text(u"Path", u"Archivio Ordini");
    a.outside = dataFile(settings.baseFolder(), QStringLiteral("mag_ext.db"));
    return a;
}

StockOps::StockOps(Store& store, StockArchives archives)
    : m_store(store), m_archives(std::move(archives)) {}

QString StockOps::unknownArticleMessage(const QString& code) {
    return QStringLiteral("Articolo inesistente: ") + code;
}

bool StockOps::articleExists(const QString& code) const {
    return m_store
        .scalar(QStringLiteral("SELECT 1 FROM %1 WHERE cod = ? LIMIT 1")
                    .arg(m_store.table(m_archives.warehouse)),
                {code})
        .isValid();
}

qint64 StockOps::lastMovementRowid() const {
    return m_store
        .scalar(
            QStringLiteral("SELECT MAX(rowid) FROM %1").arg(m_store.table(m_archives.movements)))
        .toLongLong();
}

qint64 StockOps::appendMovement(const Movement& m) { return appendRow(m_archives.movements, m); }

qint64 StockOps::appendRow(const QString& path, const Movement& m) {
    m_store.exec(
        QStringLiteral(
            "INSERT INTO %1 (bolla, cod, des, data, cod_forn, cod_cli, perc_iva, prezzo, peso, "
            "seriale, quant, colli, causale, fattura, note, dataord, flag) "
            "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
            .arg(m_store.table(path)),
        {m.bolla, m.cod, m.des, dateOrNull(m.data), m.codForn, m.codCli, m.percIva, m.prezzo,
         m.peso, m.seriale, m.quant, m.colli, m.causale, m.fattura, m.note, dateOrNull(m.dataOrd),
         m.flag});
    return m_store.lastInsertId();
}

void StockOps::renumberMovements(qint64 lastOldRowid) {
    const QString t = m_store.table(m_archives.movements);
    qint64 oldCount = 0;
    bool numbered = lastOldRowid <= 0;
    if (!numbered) {
        // 1..N already: the first row says 1 and the last old row says N.
        const qint64 newRows =
            m_store
                .scalar(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE rowid > ?").arg(t),
                        {lastOldRowid})
                .toLongLong();
        oldCount =
            m_store.scalar(QStringLiteral("SELECT COUNT(*) FROM %1").arg(t)).toLongLong() - newRows;
        const QVariant first =
            m_store.scalar(QStringLiteral("SELECT ID FROM %1 ORDER BY rowid LIMIT 1").arg(t));
        const QVariant last = m_store.scalar(
            QStringLiteral("SELECT ID FROM %1 WHERE rowid = ?").arg(t), {lastOldRowid});
        numbered = first.isValid() && !first.isNull() && first.toLongLong() == 1 &&
                   last.isValid() && !last.isNull() && last.toLongLong() == oldCount;
    }
    if (!numbered) {
        renumberIds(m_store, m_archives.movements);
        return;
    }
    m_store.exec(QStringLiteral(
                     "UPDATE %1 AS t SET ID = r.n + ? FROM (SELECT rowid AS rid, row_number() OVER "
                     "(ORDER BY rowid) AS n FROM %1 WHERE rowid > ?) AS r WHERE t.rowid = r.rid")
                     .arg(t),
                 {oldCount, std::max<qint64>(lastOldRowid, 0)});
}

void StockOps::addToPlace(const StockPlace& place, const QString& code, double q, double weight,
                          qint64 parcels, bool unload) {
    const QString side = unload ? QStringLiteral(
                                      "qsc = COALESCE(qsc, 0) + ?, psc = COALESCE(psc, 0) + ?, "
                                      "csc = COALESCE(csc, 0) + ?")
                                : QStringLiteral(
                                      "qca = COALESCE(qca, 0) + ?, pca = COALESCE(pca, 0) + ?, "
                                      "cca = COALESCE(cca, 0) + ?");
    if (!place.isOutside()) {
        m_store.exec(QStringLiteral("UPDATE %1 SET %2 WHERE cod = ?")
                         .arg(m_store.table(m_archives.warehouse), side),
                     {q, weight, parcels, code});
        return;
    }
    const QString ext = m_store.table(m_archives.outside);
    QVariant rowid = m_store.scalar(
        QStringLiteral("SELECT rowid FROM %1 WHERE COD_MAG = ? AND cod = ? ORDER BY rowid LIMIT 1")
            .arg(ext),
        {place.outsideCode, code});
    if (!rowid.isValid()) {
        const QVariant des =
            m_store.scalar(QStringLiteral("SELECT des FROM %1 WHERE cod = ? LIMIT 1")
                               .arg(m_store.table(m_archives.warehouse)),
                           {code});
        m_store.exec(QStringLiteral("INSERT INTO %1 (COD_MAG, cod, des, data, qca, qsc, pca, psc, "
                                    "cca, csc, qcons, qord, "
                                    "giac, peso, pos, pos2, tipo_mag) VALUES (?, ?, ?, ?, 0, 0, 0, "
                                    "0, 0, 0, 0, 0, 0, 0, "
                                    "'', '', '')")
                         .arg(ext),
                     {place.outsideCode, code, des.toString(), Clock::today()});
        rowid = m_store.lastInsertId();
    }
    m_store.exec(QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?").arg(ext, side),
                 {q, weight, parcels, rowid});
}

LoadOutcome StockOps::load(const LoadRequest& r) {
    const QString wh = m_store.table(m_archives.warehouse);
    const QString code = r.movement.cod;
    LoadOutcome out;
    // Attach every archive before the transaction starts.
    m_store.table(m_archives.movements);
    if (r.place.isOutside()) m_store.table(m_archives.outside);
    if (r.order > 0) m_store.table(m_archives.orders);
    JoinedTransaction tx(m_store);
    const QList<QVariantList> article = m_store.rows(
        QStringLiteral(
            "SELECT rowid, COALESCE(prezzo_acq, 0) FROM %1 WHERE cod = ? ORDER BY rowid LIMIT 1")
            .arg(wh),
        {code});
    if (article.isEmpty()) throw StoreError(unknownArticleMessage(code));
    const qint64 rowid = article[0][0].toLongLong();

    const qint64 lastOld = lastMovementRowid();
    Movement m = r.movement;
    m.causale = QString::fromUtf16(kCauseLoad);
    appendMovement(m);

    // Average cost as the program has always computed it: this price and the list
    // purchase price, halved.
    const int d = r.price.decimals();
    const qint64 listUnits = decimal::scaled(article[0][1].toDouble(), d);
    const double averageCost = static_cast<double>(r.price.units() + listUnits) / 2.0 /
                               static_cast<double>(decimal::scale(d));
    const double price = r.price.toDouble();
    const double last = static_cast<double>(decimal::scaled(price, 3)) / 1000.0;
    const QString costs = QStringLiteral(
        "costo_med = ?, cod_forn = ?, valo3 = ?, "
        "valo1 = CASE WHEN COALESCE(valo1, 0) = 0 OR ? < valo1 THEN ? ELSE valo1 END, "
        "valo2 = CASE WHEN valo2 IS NULL OR ? > valo2 THEN ? ELSE valo2 END");
    const QVariantList costParams{averageCost, m.codForn, last, price, price, price, price};
    if (r.place.isOutside()) {
        addToPlace(r.place, code, r.quantity, m.peso, m.colli, false);
        m_store.exec(QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?").arg(wh, costs),
                     costParams + QVariantList{rowid});
    } else {
        m_store.exec(
            QStringLiteral("UPDATE %1 SET qca = COALESCE(qca, 0) + ?, pca = COALESCE(pca, 0) + ?, "
                           "cca = COALESCE(cca, 0) + ?, qcons = COALESCE(qcons, 0) + ?, "
                           "qord = COALESCE(qord, 0) - ?, %2 WHERE rowid = ?")
                .arg(wh, costs),
            QVariantList{r.quantity, m.peso, m.colli, r.quantity, r.quantity} + costParams +
                QVariantList{rowid});
    }

    if (r.order > 0) {
        out.orderSearched = true;
        OrderLineKey key{
            r.order, code,
            r.matchSupplier ? OrderLineKey::Partner::Supplier : OrderLineKey::Partner::Any,
            m.codForn};
        out.orderFound =
            OrderDelivery(m_store, m_archives.orders).deliver(key, r.quantity, m.colli);
    }
    renumberMovements(lastOld);
    tx.commit();
    return out;
}

void StockOps::manualUnload(const UnloadRequest& r) {
    m_store.table(m_archives.warehouse);
    if (r.movement) m_store.table(m_archives.movements);
    if (r.place.isOutside()) m_store.table(m_archives.outside);
    if (r.billRow && !r.billPath.isEmpty()) m_store.table(r.billPath);
    JoinedTransaction tx(m_store);
    if (!articleExists(r.cod)) throw StoreError(unknownArticleMessage(r.cod));
    addToPlace(r.place, r.cod, r.quantity, r.weight, r.parcels, true);
    if (r.movement) {
        const qint64 lastOld = lastMovementRowid();
        Movement m = *r.movement;
        m.causale = QString::fromUtf16(kCauseManualUnload);
        appendMovement(m);
        renumberMovements(lastOld);
    }
    if (r.billRow && !r.billPath.isEmpty()) appendRow(r.billPath, *r.billRow);
    tx.commit();
}

bool StockOps::unload(const QString& code, double quantity) {
    JoinedTransaction tx(m_store);
    m_store.exec(QStringLiteral("UPDATE %1 SET qsc = COALESCE(qsc, 0) + ? WHERE cod = ?")
                     .arg(m_store.table(m_archives.warehouse)),
                 {quantity, code});
    const bool changed = m_store.changes() > 0;
    tx.commit();
    return changed;
}

bool StockOps::giveBack(const QString& code, double quantity) { return unload(code, -quantity); }

void StockOps::initialLoad(const Movement& movement) {
    const QString wh = m_store.table(m_archives.warehouse);
    JoinedTransaction tx(m_store);
    if (!articleExists(movement.cod)) throw StoreError(unknownArticleMessage(movement.cod));
    const qint64 lastOld = lastMovementRowid();
    Movement m = movement;
    m.causale = QString::fromUtf16(kCauseInitialLoad);
    m.bolla = 0;
    appendMovement(m);
    // A new article's total load is its initial quantity.
    m_store.exec(QStringLiteral("UPDATE %1 SET qca = ? WHERE cod = ?").arg(wh), {m.quant, m.cod});
    renumberMovements(lastOld);
    tx.commit();
}

std::pair<double, double> StockOps::purchasePriceRange(const QString& code) const {
    const QList<QVariantList> r = m_store.rows(
        QStringLiteral(
            "SELECT MIN(prezzo), MAX(prezzo) FROM %1 WHERE cod = ? AND causale IN (?, ?)")
            .arg(m_store.table(m_archives.movements)),
        {code, QString::fromUtf16(kCauseLoad), QString::fromUtf16(kCauseInitialLoad)});
    if (r.isEmpty()) return {0.0, 0.0};
    return {r[0][0].toDouble(), r[0][1].toDouble()};
}

}  // namespace zel
