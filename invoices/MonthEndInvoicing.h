#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include "documents/Money.h"
#include "invoices/InvoiceRegistration.h"

namespace zel {

class Settings;
class Store;

// Month-end invoicing: one summary invoice per customer over the DDT of a period, with
// the rules of the summary invoice window, numbered in a row, all in one transaction.
class MonthEndInvoicing {
public:
    struct Customer {
        QString code;
        QString name;
        int ddtCount = 0;
        Money amount;  // the goods of its DDT headers
    };
    struct Made {
        qint64 number = 0;
        QString customer;
        QString name;
        Money total;
        int deadlines = 0;
    };
    struct Outcome {
        QList<Made> made;
        QStringList skipped;   // DDT without a matching line
        QStringList refusals;  // when not empty nothing was written
    };

    MonthEndInvoicing(Store& store, const Settings& settings, const QDate& from, const QDate& to);

    static QString defaultKind() { return QStringLiteral("Fattura differita"); }

    // Every customer with DDT to invoice in the period, by code.
    QList<Customer> customers() const;
    // Validates every invoice first; then writes all of them or none (throws StoreError).
    Outcome run(const QDate& invoiceDate, const QString& kind);

    static QString nothingMessage();
    static QString outcomeText(const Outcome& outcome);

private:
    Store& m_store;
    const Settings& m_settings;
    QDate m_from, m_to;
    InvoiceRegistration m_registration;
};

}  // namespace zel
