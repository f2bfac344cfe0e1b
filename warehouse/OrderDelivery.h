#pragma once

#include <QString>
#include <optional>

namespace zel {

class Store;

// The order line receiving goods: order number and article, and the partner when the
// settings ask to match it too.
struct OrderLineKey {
    enum class Partner { Any, Supplier, Customer };
    qint64 order = 0;
    QString article;
    Partner partnerKind = Partner::Any;
    QString partner;
};

// The one rule by which order lines move: the line is found by one condition and that
// line alone (by rowid) receives the quantity in consegnato_quant and the parcels in
// consegnato_colli. Writes inside the caller's transaction.
class OrderDelivery {
public:
    OrderDelivery(Store& store, QString ordersPath);

    // The rowid of the first line matching the key.
    std::optional<qint64> find(const OrderLineKey& key) const;
    // False, writing nothing, when no line matches.
    bool deliver(const OrderLineKey& key, double quantity, qint64 parcels);

    static QString notFoundTitle();
    static QString notFoundMessage();

private:
    Store& m_store;
    QString m_path;
};

}  // namespace zel
