#include "orders/OrderArchive.h"

#include "documents/NextNumber.h"
#include "store/Store.h"
#include "warehouse/StockOps.h"

namespace zel {

OrderArchive::OrderArchive(Store& store, QString ordersPath, QString warehousePath,
                           QString movementsPath)
    : m_store(store),
      m_orders(std::move(ordersPath)),
      m_warehouse(std::move(warehousePath)),
      m_movements(std::move(movementsPath)) {}

qint64 OrderArchive::proposeNumber() const {
    return NextNumber(m_store, m_orders, QStringLiteral("ordine")).propose();
}

bool OrderArchive::isTaken(qint64 number) const {
    return NextNumber(m_store, m_orders, QStringLiteral("ordine")).isTaken(number);
}

namespace {
QString tooLong(const QList<ColumnInfo>& columns, const QString& column, const QString& code) {
    for (const ColumnInfo& c : columns) {
        if (c.name.compare(column, Qt::CaseInsensitive) != 0) continue;
        const int max = c.maxLength();
        if (max > 0 && code.size() > max)
            return QStringLiteral("Il codice \"%1\" supera i %2 caratteri ammessi dall'archivio ordini.")
                .arg(code)
                .arg(max);
        return {};
    }
    return {};
}
}  // namespace

QString OrderArchive::codeTooLong(const QString& column, const QString& code) const {
    return tooLong(m_store.columns(m_orders), column, code);
}

void OrderArchive::adjustOrdered(const QString& code, double delta) {
    m_store.exec(QStringLiteral("UPDATE %1 SET qord = COALESCE(qord, 0) + ? WHERE cod = ?")
                     .arg(m_store.table(m_warehouse)),
                 {delta, code});
}

void OrderArchive::save(const OrderDraft& d) {
    const QString partyColumn =
        d.kind == OrderKind::Customer ? QStringLiteral("cod_cli") : QStringLiteral("cod_forn");
    if (d.number <= 0) throw StoreError(QStringLiteral("Numero d'ordine non valido."));
    if (d.lines.isEmpty()) throw StoreError(QStringLiteral("L'ordine non contiene righe."));
    const QList<ColumnInfo> columns = m_store.columns(m_orders);
    if (QString m = tooLong(columns, partyColumn, d.party); !m.isEmpty()) throw StoreError(m);
    for (const OrderLine& l : d.lines)
        if (QString m = tooLong(columns, QStringLiteral("cod_art"), l.codArt); !m.isEmpty()) throw StoreError(m);

    const QString t = m_store.table(m_orders);
    m_store.table(m_warehouse);
    const bool hasId = m_store.hasColumn(m_orders, QStringLiteral("ID"));
    Transaction tx(m_store);
    NextNumber(m_store, m_orders, QStringLiteral("ordine")).claim(d.number);
    qint64 nextId = hasId ? m_store.scalar(QStringLiteral("SELECT COALESCE(MAX(ID), 0) FROM %1").arg(t))
                                    .toLongLong()
                          : 0;
    const QString cols = QStringLiteral(
        "ordine, data, cod_art, des, cod_cli, cod_forn, prezzo, iva, unitamis, quant, peso, colli, "
        "ptropic, ctropic, pzincat, czincat, pdorat, cdorat, consegnato, chiuso, consegne, "
        "consegnato_quant, consegnato_colli, tipo, rif, agente, data_cons1, data_cons2, data_cons3");
    const QString sql =
        QStringLiteral("INSERT INTO %1 (%2%3) VALUES (%4?)")
            .arg(t, cols, hasId ? QStringLiteral(", ID") : QString(),
                 QStringLiteral("?, ").repeated(29 - 1 + (hasId ? 1 : 0)));
    const bool customer = d.kind == OrderKind::Customer;
    for (const OrderLine& l : d.lines) {
        QVariantList p{d.number,
                       d.date,
                       l.codArt,
                       l.des.left(70),
                       customer ? d.party : QString(),
                       customer ? QString() : d.party,
                       l.prezzo,
                       l.iva,
                       l.unitamis,
                       l.quant,
                       l.peso,
                       l.colli,
                       l.ptropic,
                       l.ctropic,
                       l.pzincat,
                       l.czincat,
                       l.pdorat,
                       l.cdorat,
                       0,
                       0,
                       0,
                       0.0,
                       0,
                       customer ? QStringLiteral("C") : QStringLiteral("F"),
                       l.rif,
                       l.agente};
        for (const QDate& dc : d.deliveryDates) p.append(dc.isValid() ? QVariant(dc) : QVariant());
        if (hasId) p.append(++nextId);
        m_store.exec(sql, p);
        // Only goods expected in from a supplier are on order for the warehouse.
        if (!customer) adjustOrdered(l.codArt, l.quant);
    }
    tx.commit();
}

void OrderArchive::deleteOrder(qint64 number) {
    const QString t = m_store.table(m_orders);
    m_store.table(m_warehouse);
    Transaction tx(m_store);
    const auto open = m_store.rows(
        QStringLiteral("SELECT cod_art, COALESCE(quant, 0) FROM %1 WHERE ordine = ? AND "
                       "COALESCE(cod_forn, '') <> '' AND NOT COALESCE(chiuso, 0)")
            .arg(t),
        {number});
    for (const QVariantList& r : open) adjustOrdered(r[0].toString(), -r[1].toDouble());
    m_store.exec(QStringLiteral("DELETE FROM %1 WHERE ordine = ?").arg(t), {number});
    tx.commit();
}

std::optional<OrderLineRecord> OrderArchive::line(qint64 rowid) const {
    const auto rows = m_store.rows(
        QStringLiteral("SELECT COALESCE(ordine, 0), data, COALESCE(cod_art, ''), COALESCE(des, ''), "
                       "COALESCE(cod_cli, ''), COALESCE(cod_forn, ''), COALESCE(agente, ''), COALESCE(rif, ''), "
                       "COALESCE(quant, 0), COALESCE(peso, 0), COALESCE(prezzo, 0), COALESCE(iva, 0), "
                       "COALESCE(colli, 0), data_cons1, data_cons2, data_cons3 FROM %1 WHERE rowid = ?")
            .arg(m_store.table(m_orders)),
        {rowid});
    if (rows.isEmpty()) return std::nullopt;
    const QVariantList& r = rows.first();
    OrderLineRecord l;
    l.ordine = r[0].toLongLong();
    l.data = QDate::fromString(r[1].toString().left(10), Qt::ISODate);
    l.codArt = r[2].toString();
    l.des = r[3].toString();
    l.codCli = r[4].toString();
    l.codForn = r[5].toString();
    l.agente = r[6].toString();
    l.rif = r[7].toString();
    l.quant = r[8].toDouble();
    l.peso = r[9].toDouble();
    l.prezzo = r[10].toDouble();
    l.iva = r[11].toDouble();
    l.colli = r[12].toLongLong();
    for (int k = 0; k < 3; ++k) l.deliveryDates[k] = QDate::fromString(r[13 + k].toString().left(10), Qt::ISODate);
    return l;
}

qint64 OrderArchive::saveLine(qint64 rowid, const OrderLineRecord& l) {
    if (l.ordine <= 0) throw StoreError(QStringLiteral("Numero d'ordine non valido."));
    for (const auto& [column, code] : {std::pair{QStringLiteral("cod_art"), l.codArt},
                                       std::pair{QStringLiteral("cod_cli"), l.codCli},
                                       std::pair{QStringLiteral("cod_forn"), l.codForn}})
        if (QString m = codeTooLong(column, code); !m.isEmpty()) throw StoreError(m);
    const QString t = m_store.table(m_orders);
    m_store.table(m_warehouse);
    Transaction tx(m_store);
    bool open = true;
    if (rowid != 0) {
        const auto old = m_store.rows(
            QStringLiteral("SELECT COALESCE(cod_art, ''), COALESCE(quant, 0), COALESCE(cod_forn, '') <> '', "
                           "COALESCE(chiuso, 0) FROM %1 WHERE rowid = ?")
                .arg(t),
            {rowid});
        if (old.isEmpty()) throw StoreError(QStringLiteral("La riga d'ordine non esiste più."));
        open = !old.first()[3].toBool();
        if (open && old.first()[2].toBool()) adjustOrdered(old.first()[0].toString(), -old.first()[1].toDouble());
    }
    QVariantList p{l.codArt, l.data, l.ordine, l.codCli, l.codForn, l.quant, l.peso, l.prezzo, l.iva,
                   l.colli,  l.des.left(70)};
    for (const QDate& d : l.deliveryDates) p.append(d.isValid() ? QVariant(d) : QVariant());
    p.append(l.agente);
    p.append(l.rif);
    const QString cols = QStringLiteral(
        "cod_art, data, ordine, cod_cli, cod_forn, quant, peso, prezzo, iva, colli, des, data_cons1, "
        "data_cons2, data_cons3, agente, rif");
    if (rowid == 0) {
        p.append(l.codForn.isEmpty() ? QStringLiteral("C") : QStringLiteral("F"));
        m_store.exec(QStringLiteral("INSERT INTO %1 (%2, tipo, chiuso, consegnato, consegne, consegnato_quant) "
                                    "VALUES (%3?, 0, 0, 0, 0)")
                         .arg(t, cols, QStringLiteral("?, ").repeated(16)),
                     p);
        rowid = m_store.scalar(QStringLiteral("SELECT last_insert_rowid()")).toLongLong();
    } else {
        p.append(rowid);
        m_store.exec(QStringLiteral("UPDATE %1 SET cod_art = ?, data = ?, ordine = ?, cod_cli = ?, cod_forn = ?, "
                                    "quant = ?, peso = ?, prezzo = ?, iva = ?, colli = ?, des = ?, data_cons1 = ?, "
                                    "data_cons2 = ?, data_cons3 = ?, agente = ?, rif = ? WHERE rowid = ?")
                         .arg(t),
                     p);
    }
    // The quantity still due of an open supplier line is on order.
    if (open && !l.codForn.isEmpty()) adjustOrdered(l.codArt, l.quant);
    tx.commit();
    return rowid;
}

void OrderArchive::deleteLine(qint64 rowid) {
    const QString t = m_store.table(m_orders);
    m_store.table(m_warehouse);
    Transaction tx(m_store);
    const auto open = m_store.rows(
        QStringLiteral("SELECT cod_art, COALESCE(quant, 0) FROM %1 WHERE rowid = ? AND "
                       "COALESCE(cod_forn, '') <> '' AND NOT COALESCE(chiuso, 0)")
            .arg(t),
        {rowid});
    for (const QVariantList& r : open) adjustOrdered(r[0].toString(), -r[1].toDouble());
    m_store.exec(QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(t), {rowid});
    tx.commit();
}

void OrderArchive::load(const OrderLoadRequest& r) {
    if (!(r.quantity > 0)) throw StoreError(quantityMessage());
    const QString t = m_store.table(m_orders);
    m_store.table(m_warehouse);
    m_store.table(m_movements);
    Transaction tx(m_store);
    const auto line = m_store.rows(
        QStringLiteral("SELECT cod_art, des, data, COALESCE(quant, 0), COALESCE(consegne, 0), "
                       "COALESCE(iva, 0) FROM %1 WHERE rowid = ? AND COALESCE(cod_forn, '') <> '' "
                       "AND NOT COALESCE(chiuso, 0)")
            .arg(t),
        {r.lineRowid});
    if (line.isEmpty()) throw StoreError(lineClosedMessage());
    const QString code = line[0][0].toString();
    const double due = line[0][3].toDouble();
    const qint64 deliveries = line[0][4].toLongLong() + 1;

    LoadRequest lr;
    lr.movement.bolla = r.ddtNumber;
    lr.movement.cod = code;
    lr.movement.des = line[0][1].toString();
    lr.movement.data = r.today;
    lr.movement.dataOrd = line[0][2].toDate();
    lr.movement.codForn = r.supplier;
    lr.movement.percIva = line[0][5].toDouble();
    lr.movement.prezzo = r.price.toDouble();
    lr.movement.peso = r.weight;
    lr.movement.quant = r.quantity;
    lr.movement.colli = r.parcels;
    lr.movement.note = r.note;
    lr.quantity = r.quantity;
    lr.price = r.price;
    StockArchives archives;
    archives.warehouse = m_warehouse;
    archives.movements = m_movements;
    archives.orders = m_orders;
    StockOps(m_store, archives).load(lr);  // order 0: the line is kept here, by its rowid

    const bool closes = r.quantity >= due;
    QString sql = QStringLiteral(
        "UPDATE %1 SET quant = ?, chiuso = ?, consegnato = 1, "
        "consegnato_quant = COALESCE(consegnato_quant, 0) + ?, "
        "consegnato_colli = COALESCE(consegnato_colli, 0) + ?, consegne = ?")
                      .arg(t);
    QVariantList p{closes ? r.quantity : due - r.quantity, closes ? 1 : 0, r.quantity, r.parcels,
                   deliveries};
    if (deliveries <= 3) {
        sql += QStringLiteral(", data_cons%1 = ?").arg(deliveries);
        p.append(r.today);
    }
    sql += QStringLiteral(" WHERE rowid = ? AND NOT COALESCE(chiuso, 0)");
    p.append(r.lineRowid);
    m_store.exec(sql, p);
    tx.commit();
}

QString OrderArchive::saveFailedMessage(const QString& cause) {
    return QStringLiteral("Registrazione non riuscita, nessun dato è stato scritto.\r\n%1").arg(cause);
}

QString OrderArchive::lineClosedMessage() {
    return QStringLiteral("La riga d'ordine scelta è già chiusa o non è di un ordine a fornitore.");
}

QString OrderArchive::quantityMessage() {
    return QStringLiteral("La quantità consegnata deve essere maggiore di zero.");
}

}  // namespace zel
