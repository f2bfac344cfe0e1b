#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

#include "documents/Money.h"
#include "warehouse/CounterSale.h"

namespace zel {

class Store;

inline constexpr char16_t kReceiptNote[] = u"Ricevuta fiscale";
// Width of the receipt's description column.
inline constexpr int kReceiptDesLength = 40;

struct ClosedReceipt {
    qint64 numero = 0;
    qint64 firstId = 0;
    Money total;
};

// Writes a sale as a fiscal receipt: its number MAX + 1 read inside the transaction,
// one row per line with one date and time, and the loyalty customer's dare grown by
// the total on exactly one card. All of it or nothing.
class ReceiptWriter {
public:
    ReceiptWriter(Store& store, QString receiptsPath, QString registryPath);

    ClosedReceipt close(const QList<CounterSaleLine>& lines, const QDateTime& when,
                        const QString& loyaltyCode = {});

    // The loyalty card's name; empty when no card has the code.
    QString customerName(const QString& code) const;

private:
    Store& m_store;
    QString m_receipts;
    QString m_registry;
};

}  // namespace zel
