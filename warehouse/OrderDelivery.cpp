#include "warehouse/OrderDelivery.h"

#include "store/Store.h"

namespace zel {

OrderDelivery::OrderDelivery(Store& store, QString ordersPath)
    : m_store(store), m_path(std::move(ordersPath)) {}

std::optional<qint64> OrderDelivery::find(const OrderLineKey& key) const {
    QString sql = QStringLiteral("SELECT rowid FROM %1 WHERE ordine = ? AND cod_art = ?")
                      .arg(m_store.table(m_path));
    QVariantList params{key.order, key.article};
    if (key.partnerKind != OrderLineKey::Partner::Any) {
        // Partner codes are upper case; a line typed otherwise is still the same partner.
        sql += key.partnerKind == OrderLineKey::Partner::Supplier
                   ? QStringLiteral(" AND upper(cod_forn) = upper(?)")
                   : QStringLiteral(" AND upper(cod_cli) = upper(?)");
        params.append(key.partner);
    }
    sql += QStringLiteral(" ORDER BY rowid LIMIT 1");
    const QVariant rowid = m_store.scalar(sql, params);
    if (!rowid.isValid()) return std::nullopt;
    return rowid.toLongLong();
}

bool OrderDelivery::deliver(const OrderLineKey& key, double quantity, qint64 parcels) {
    const auto rowid = find(key);
    if (!rowid) return false;
    m_store.exec(
        QStringLiteral("UPDATE %1 SET consegnato_quant = COALESCE(consegnato_quant, 0) + ?, "
                       "consegnato_colli = COALESCE(consegnato_colli, 0) + ? WHERE rowid = ?")
            .arg(m_store.table(m_path)),
        {quantity, parcels, *rowid});
    return true;
}

QString OrderDelivery::notFoundTitle() { return QStringLiteral("Aggiornamento ordini"); }

QString OrderDelivery::notFoundMessage() {
    return QStringLiteral(
        "Non è stato trovato un ordine che soddisfi i parametri di ricerca per Fornitore, Articolo "
        "e N° Ordine");
}

}  // namespace zel
