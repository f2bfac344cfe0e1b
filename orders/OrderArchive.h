#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <array>
#include <optional>

#include "documents/Money.h"

namespace zel {

class Store;

enum class OrderKind { Customer, Supplier };

// One article line of an order being written. Quantities keep their decimals.
struct OrderLine {
    QString codArt;
    QString des;
    QString unitamis;
    double quant = 0;
    double peso = 0;
    qint64 colli = 0;
    double prezzo = 0;  // final unit price, after the discount
    double iva = 0;
    double ptropic = 0, ctropic = 0, pzincat = 0, czincat = 0, pdorat = 0, cdorat = 0;
    QString rif;
    QString agente;
};

struct OrderDraft {
    qint64 number = 0;
    QDate date;
    OrderKind kind = OrderKind::Customer;
    QString party;
    QList<OrderLine> lines;
    std::array<QDate, 3> deliveryDates;
};

// One order line as the browser edits it.
struct OrderLineRecord {
    qint64 ordine = 0;
    QDate data;
    QString codArt, des, codCli, codForn, agente, rif;
    double quant = 0, peso = 0, prezzo = 0, iva = 0;
    qint64 colli = 0;
    std::array<QDate, 3> deliveryDates;
};

// A load against an open supplier-order line.
struct OrderLoadRequest {
    qint64 lineRowid = 0;
    double quantity = 0;  // as delivered, decimals kept
    double weight = 0;
    qint64 parcels = 0;
    UnitPrice price;
    qint64 ddtNumber = 0;
    QString supplier;
    QString note;
    QDate today;
};

// The order archive: one row per order line, the lines of an order sharing `ordine`.
// Every write runs as one transaction with the warehouse's quantity on order (qord),
// which only supplier orders raise and only loads and deletions lower.
class OrderArchive {
public:
    OrderArchive(Store& store, QString ordersPath, QString warehousePath, QString movementsPath = {});

    qint64 proposeNumber() const;
    bool isTaken(qint64 number) const;

    // Empty when the code fits its column, else the message refusing it.
    QString codeTooLong(const QString& column, const QString& code) const;

    // Lines, delivery dates, row numbers and qord, whole or nothing. Throws StoreError.
    void save(const OrderDraft& draft);

    // All lines of the order; open supplier lines give their quantity back to qord.
    void deleteOrder(qint64 number);

    // One line by rowid; std::nullopt when it no longer exists.
    std::optional<OrderLineRecord> line(qint64 rowid) const;
    // Writes a new line (rowid 0) or the line with that rowid, and corrects qord by the open
    // supplier quantity it replaces and brings, as one. Returns the line's rowid. Throws StoreError.
    qint64 saveLine(qint64 rowid, const OrderLineRecord& line);
    // Deletes one line; an open supplier line gives its quantity back to qord, as one.
    void deleteLine(qint64 rowid);

    // Movement, stock through StockOps and the line's delivery bookkeeping, as one.
    // Throws StoreError when the line is closed or not a supplier line.
    void load(const OrderLoadRequest& request);

    static QString saveFailedMessage(const QString& cause);
    static QString lineClosedMessage();
    static QString quantityMessage();

private:
    void adjustOrdered(const QString& code, double delta);

    Store& m_store;
    QString m_orders;
    QString m_warehouse;
    QString m_movements;
};

}  // namespace zel
