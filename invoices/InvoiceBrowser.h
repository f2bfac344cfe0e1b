#pragma once

#include <QAbstractTableModel>
#include <QDate>
#include <QHash>
#include <QList>
#include <QString>
#include <QVariantMap>
#include <optional>
#include <vector>

#include "invoices/InvoiceRegistration.h"

namespace zel {

class Settings;
class Store;

// The archives of an invoice year: the configured ones when they are that year's, else
// Dati/fatture<YY>.db and Dati/dett_fatture<YY>.db; registry and deadlines as configured.
InvoiceArchives invoiceArchivesOfYear(const Settings& settings, int year);
// 2000 + the two digits ending the header file's name; 0 when there are none.
int invoiceYearOf(const InvoiceArchives& archives);
// Every year whose Dati/fatture<YY>.db exists, and the current year, ascending.
QList<int> invoiceYears(const QString& base);

// One invoice, named whole in its year archive: number and customer.
struct InvoiceKey {
    qint64 number = 0;
    QString customer;
    bool operator==(const InvoiceKey&) const = default;
};

// Which invoices the browser lists; empty fields do not filter.
struct InvoiceFilter {
    QString customer;
    QDate from, to;
    qint64 number = 0;
    QString kind;  // tipodoc
};

enum class PaymentState { NoDeadlines, Unpaid, PartlyPaid, Paid };
QString paymentStateText(PaymentState s);

struct InvoiceListEntry {
    qint64 rowid = 0;
    qint64 number = 0;
    QDate date;
    QString kind;
    QString customer;
    QString name;
    double taxable = 0, vat = 0, total = 0;
    PaymentState state = PaymentState::NoDeadlines;
    InvoiceKey key() const { return {number, customer}; }
};

struct InvoiceDeletion {
    bool deleted = false;
    int lines = 0;
    int deadlines = 0;
    QString refusal;  // set when a paid deadline stops the deletion
};

// Reads and deletes registered invoices. Every statement names the invoice whole:
// number and customer in the year archive; its deadlines also by the invoice date, so
// a same-numbered invoice of another year keeps its own.
class InvoiceBrowser {
public:
    InvoiceBrowser(Store& store, InvoiceArchives archives);

    const InvoiceArchives& archives() const { return m_archives; }

    // The header row (upper-case column names, with ROWID); nothing when missing.
    std::optional<QVariantMap> header(const InvoiceKey& key);
    // The lines in the order they were written.
    QList<QVariantMap> lines(const InvoiceKey& key);
    // The customer's registry row; empty when the card was deleted.
    QVariantMap customer(const QString& code);
    // The distinct invoice kinds of the archive, for the filter.
    QStringList kinds();

    // Header, lines and unpaid deadlines in one transaction; a paid deadline refuses it
    // and nothing is written. Throws StoreError (nothing written).
    InvoiceDeletion remove(const InvoiceKey& key);
    static QString deleteQuestion(const InvoiceKey& key);

private:
    Store& m_store;
    InvoiceArchives m_archives;
};

// The invoice list over a header archive that can hold 50,000 invoices, newest first:
// the selection reads only rowids in their order, the rows are read a window at a time
// with their customer's name and payment state.
class InvoiceListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kWindow = 256;
    enum Column {
        Numero,
        Data,
        Tipo,
        Cliente,
        Nome,
        Imponibile,
        Iva,
        Totale,
        Pagamento,
        ColumnCount
    };

    explicit InvoiceListModel(QObject* parent = nullptr);

    // Throws StoreError.
    void select(Store& store, const InvoiceArchives& archives, const InvoiceFilter& filter);
    void clear();

    InvoiceListEntry entry(int row) const;
    int rowOf(const InvoiceKey& key) const;  // -1 when not listed
    int windowsRead() const { return m_windowsRead; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation o, int role = Qt::DisplayRole) const override;

private:
    const QList<InvoiceListEntry>& window(int block) const;

    Store* m_store = nullptr;
    InvoiceArchives m_archives;
    std::vector<qint64> m_rowids;
    mutable QHash<int, QList<InvoiceListEntry>> m_cache;
    mutable int m_windowsRead = 0;
};

}  // namespace zel
