#include "invoices/InvoiceBrowser.h"

#include <QDir>
#include <QRegularExpression>
#include <algorithm>

#include "core/Clock.h"
#include "core/Paths.h"
#include "ddt/DdtArchive.h"
#include "settings/Settings.h"
#include "store/Store.h"
#include "ui/Formats.h"

namespace zel {

namespace {

QString yearFile(const QString& base, const QString& prefix, int year) {
    return dataFile(base,
                    prefix + QStringLiteral("%1.db").arg(year % 100, 2, 10, QLatin1Char('0')));
}

QStringList upperColumns(Store& store, const QString& path) {
    QStringList names;
    for (const ColumnInfo& c : store.columns(path)) names << c.name.toUpper();
    return names;
}

QVariantMap toMap(const QStringList& names, const StoreRow& r) {
    QVariantMap m;
    for (int i = 0; i < names.size(); ++i) m.insert(names[i], r.value(i));
    return m;
}

QDate isoDate(const QString& text) { return QDate::fromString(text.left(10), Qt::ISODate); }

// The invoice's own deadlines: number, customer and invoice date (an undated invoice's
// deadlines carry no date either, so they still go with it).
constexpr char16_t kOwnDeadlines[] =
    u"fattura = ? AND upper(cod_cli) = upper(?) AND data_fatt IS ?";
constexpr char16_t kOwnRows[] = u"fattura = ? AND upper(cod_cli) = upper(?)";

}  // namespace

InvoiceArchives invoiceArchivesOfYear(const Settings& s, int year) {
    InvoiceArchives a = InvoiceArchives::fromSettings(s);
    if (invoiceYearOf(a) == year) return a;
    a.header = yearFile(s.baseFolder(), QStringLiteral("fatture"), year);
    a.lines = yearFile(s.baseFolder(), QStringLiteral("dett_fatture"), year);
    return a;
}

int invoiceYearOf(const InvoiceArchives& a) {
    static const QRegularExpression digits(QStringLiteral("(\\d\\d)$"));
    const QRegularExpressionMatch m = digits.match(fileStem(a.header));
    return m.hasMatch() ? 2000 + m.captured(1).toInt() : 0;
}

QList<int> invoiceYears(const QString& base) {
    QList<int> years{Clock::today().year()};
    static const QRegularExpression name(QStringLiteral("^fatture(\\d\\d)\\.db$"),
                                         QRegularExpression::CaseInsensitiveOption);
    for (const QString& f : QDir(dataDir(base)).entryList(QDir::Files)) {
        const QRegularExpressionMatch m = name.match(f);
        if (m.hasMatch() && !years.contains(2000 + m.captured(1).toInt()))
            years << 2000 + m.captured(1).toInt();
    }
    std::sort(years.begin(), years.end());
    return years;
}

QString paymentStateText(PaymentState s) {
    switch (s) {
        case PaymentState::NoDeadlines:
            return QStringLiteral("Nessuna scadenza");
        case PaymentState::Unpaid:
            return QStringLiteral("Da pagare");
        case PaymentState::PartlyPaid:
            return QStringLiteral("Pagata in parte");
        case PaymentState::Paid:
            return QStringLiteral("Pagata");
    }
    return {};
}

InvoiceBrowser::InvoiceBrowser(Store& store, InvoiceArchives archives)
    : m_store(store), m_archives(std::move(archives)) {}

std::optional<QVariantMap> InvoiceBrowser::header(const InvoiceKey& key) {
    const QStringList names =
        QStringList{QStringLiteral("ROWID")} + upperColumns(m_store, m_archives.header);
    std::optional<QVariantMap> out;
    m_store.forEachRow(QStringLiteral("SELECT rowid, * FROM %1 WHERE %2 ORDER BY rowid LIMIT 1")
                           .arg(m_store.table(m_archives.header), QString::fromUtf16(kOwnRows)),
                       {key.number, key.customer},
                       [&](const StoreRow& r) { out = toMap(names, r); });
    return out;
}

QList<QVariantMap> InvoiceBrowser::lines(const InvoiceKey& key) {
    const QStringList names =
        QStringList{QStringLiteral("ROWID")} + upperColumns(m_store, m_archives.lines);
    QList<QVariantMap> out;
    m_store.forEachRow(QStringLiteral("SELECT rowid, * FROM %1 WHERE %2 ORDER BY rowid")
                           .arg(m_store.table(m_archives.lines), QString::fromUtf16(kOwnRows)),
                       {key.number, key.customer},
                       [&](const StoreRow& r) { out.append(toMap(names, r)); });
    return out;
}

QVariantMap InvoiceBrowser::customer(const QString& code) {
    if (code.isEmpty() || !Store::exists(m_archives.registry)) return {};
    const QStringList names = upperColumns(m_store, m_archives.registry);
    QVariantMap out;
    m_store.forEachRow(
        QStringLiteral("SELECT * FROM %1 WHERE upper(cod_cli) = upper(?) ORDER BY rowid LIMIT 1")
            .arg(m_store.table(m_archives.registry)),
        {code}, [&](const StoreRow& r) { out = toMap(names, r); });
    return out;
}

QStringList InvoiceBrowser::kinds() {
    QStringList out;
    m_store.forEachRow(
        QStringLiteral(
            "SELECT DISTINCT tipodoc FROM %1 WHERE COALESCE(tipodoc, '') <> '' ORDER BY 1")
            .arg(m_store.table(m_archives.header)),
        {}, [&out](const StoreRow& r) { out << r.text(0); });
    return out;
}

QString InvoiceBrowser::deleteQuestion(const InvoiceKey& key) {
    return QStringLiteral(
               "Eliminare la fattura n. %1 del cliente %2 con le sue righe e le scadenze non "
               "pagate?")
        .arg(key.number)
        .arg(key.customer);
}

InvoiceDeletion InvoiceBrowser::remove(const InvoiceKey& key) {
    InvoiceDeletion out;
    const QString h = m_store.table(m_archives.header);
    const QString l = m_store.table(m_archives.lines);
    const bool withDeadlines = Store::exists(m_archives.deadlines);
    const QString s = withDeadlines ? m_store.table(m_archives.deadlines) : QString();
    Transaction tx(m_store);
    const std::optional<QVariantMap> head = header(key);
    if (!head) {
        out.refusal =
            QStringLiteral("La fattura n. %1 del cliente %2 non è più presente in archivio.")
                .arg(key.number)
                .arg(key.customer);
        return out;
    }
    const QDate date = rowDate(*head, u"DATA");
    const QVariant dateParam = date.isValid() ? QVariant(date) : QVariant();
    if (withDeadlines) {
        QStringList paid;
        m_store.forEachRow(
            QStringLiteral("SELECT data, COALESCE(des, ''), COALESCE(avere, 0) FROM %1 WHERE %2 "
                           "AND upper(COALESCE(pagato, '')) = 'S' ORDER BY data, rowid")
                .arg(s, QString::fromUtf16(kOwnDeadlines)),
            {key.number, key.customer, dateParam}, [&paid](const StoreRow& r) {
                paid << QStringLiteral("%1 di € %2 (%3)")
                            .arg(fmt::date(isoDate(r.text(0))),
                                 fmt::number(r.value(2).toDouble(), u"###,##0.00"), r.text(1));
            });
        if (!paid.isEmpty()) {
            out.refusal = QStringLiteral(
                              "La fattura n. %1 non può essere eliminata: la scadenza del %2 è già "
                              "pagata.")
                              .arg(key.number)
                              .arg(paid.join(QStringLiteral(", ")));
            return out;
        }
        m_store.exec(
            QStringLiteral("DELETE FROM %1 WHERE %2").arg(s, QString::fromUtf16(kOwnDeadlines)),
            {key.number, key.customer, dateParam});
        out.deadlines = static_cast<int>(m_store.changes());
    }
    m_store.exec(QStringLiteral("DELETE FROM %1 WHERE %2").arg(l, QString::fromUtf16(kOwnRows)),
                 {key.number, key.customer});
    out.lines = static_cast<int>(m_store.changes());
    m_store.exec(QStringLiteral("DELETE FROM %1 WHERE %2").arg(h, QString::fromUtf16(kOwnRows)),
                 {key.number, key.customer});
    tx.commit();
    out.deleted = true;
    return out;
}

InvoiceListModel::InvoiceListModel(QObject* parent) : QAbstractTableModel(parent) {}

void InvoiceListModel::clear() {
    beginResetModel();
    m_rowids.clear();
    m_cache.clear();
    m_store = nullptr;
    endResetModel();
}

void InvoiceListModel::select(Store& store, const InvoiceArchives& archives,
                              const InvoiceFilter& f) {
    QStringList where;
    QVariantList params;
    if (!f.customer.trimmed().isEmpty()) {
        where << QStringLiteral("upper(cod_cli) = upper(?)");
        params << f.customer.trimmed();
    }
    if (f.from.isValid()) {
        where << QStringLiteral("data >= ?");
        params << f.from;
    }
    if (f.to.isValid()) {
        where << QStringLiteral("data <= ?");
        params << f.to;
    }
    if (f.number > 0) {
        where << QStringLiteral("fattura = ?");
        params << f.number;
    }
    if (!f.kind.isEmpty()) {
        where << QStringLiteral("tipodoc = ?");
        params << f.kind;
    }
    std::vector<qint64> rowids;
    if (Store::exists(archives.header)) {
        store.forEachRow(
            QStringLiteral("SELECT rowid FROM %1%2 ORDER BY data DESC, fattura DESC, rowid DESC")
                .arg(store.table(archives.header),
                     where.isEmpty()
                         ? QString()
                         : QStringLiteral(" WHERE ") + where.join(QStringLiteral(" AND "))),
            params, [&rowids](const StoreRow& r) { rowids.push_back(r.integer(0)); });
    }
    beginResetModel();
    m_store = &store;
    m_archives = archives;
    m_rowids = std::move(rowids);
    m_cache.clear();
    m_windowsRead = 0;
    endResetModel();
}

const QList<InvoiceListEntry>& InvoiceListModel::window(int block) const {
    const auto it = m_cache.constFind(block);
    if (it != m_cache.constEnd()) return it.value();
    // A few windows stay; the first one is the one shown most.
    if (m_cache.size() > 8) m_cache.clear();
    const size_t first = static_cast<size_t>(block) * kWindow;
    const size_t last = std::min(m_rowids.size(), first + kWindow);
    QStringList marks;
    QVariantList params;
    for (size_t i = first; i < last; ++i) {
        marks << QStringLiteral("?");
        params << m_rowids[i];
    }
    QHash<qint64, InvoiceListEntry> byRowid;
    if (!marks.isEmpty() && m_store) {
        const QString name =
            Store::exists(m_archives.registry)
                ? QStringLiteral(
                      "COALESCE((SELECT c.nome FROM %1 c WHERE c.cod_cli = m.cod_cli "
                      "ORDER BY c.rowid LIMIT 1), '')")
                      .arg(m_store->table(m_archives.registry))
                : QStringLiteral("''");
        // Codes are stored upper case, so the customer's index on the deadlines serves.
        const QString state =
            Store::exists(m_archives.deadlines)
                ? QStringLiteral(
                      "(SELECT COUNT(*) FROM %1 s WHERE s.cod_cli = m.cod_cli AND s.fattura = "
                      "m.fattura AND s.data_fatt = m.data), (SELECT COUNT(*) FROM %1 s WHERE "
                      "s.cod_cli = m.cod_cli AND s.fattura = m.fattura AND s.data_fatt = m.data "
                      "AND upper(COALESCE(s.pagato, '')) = 'S')")
                      .arg(m_store->table(m_archives.deadlines))
                : QStringLiteral("0, 0");
        m_store->forEachRow(
            QStringLiteral(
                "SELECT m.rowid, m.fattura, m.data, COALESCE(m.tipodoc, ''), COALESCE(m.cod_cli, "
                "''), %1, "
                "COALESCE(m.imp_tot, 0), COALESCE(m.iva_tot, 0), COALESCE(m.tot_fatt, 0), %2 "
                "FROM %3 m WHERE m.rowid IN (%4)")
                .arg(name, state, m_store->table(m_archives.header), marks.join(u',')),
            params, [&byRowid](const StoreRow& r) {
                InvoiceListEntry e;
                e.rowid = r.integer(0);
                e.number = r.integer(1);
                e.date = isoDate(r.text(2));
                e.kind = r.text(3);
                e.customer = r.text(4);
                e.name = r.text(5);
                e.taxable = r.value(6).toDouble();
                e.vat = r.value(7).toDouble();
                e.total = r.value(8).toDouble();
                const qint64 all = r.integer(9), paid = r.integer(10);
                e.state = all == 0      ? PaymentState::NoDeadlines
                          : paid == 0   ? PaymentState::Unpaid
                          : paid == all ? PaymentState::Paid
                                        : PaymentState::PartlyPaid;
                byRowid.insert(e.rowid, e);
            });
    }
    QList<InvoiceListEntry> rows;
    rows.reserve(static_cast<qsizetype>(last - first));
    for (size_t i = first; i < last; ++i) {
        InvoiceListEntry e = byRowid.value(m_rowids[i]);
        e.rowid = m_rowids[i];
        rows.append(e);
    }
    ++m_windowsRead;
    return *m_cache.insert(block, rows);
}

InvoiceListEntry InvoiceListModel::entry(int row) const {
    if (row < 0 || static_cast<size_t>(row) >= m_rowids.size()) return {};
    return window(row / kWindow).at(row % kWindow);
}

int InvoiceListModel::rowOf(const InvoiceKey& key) const {
    for (int i = 0; i < rowCount(); ++i) {
        const InvoiceListEntry e = entry(i);
        if (e.number == key.number && e.customer.compare(key.customer, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

int InvoiceListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rowids.size());
}

int InvoiceListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant InvoiceListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    if (role == Qt::TextAlignmentRole)
        return index.column() >= Imponibile && index.column() <= Totale
                   ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                   : QVariant();
    if (role != Qt::DisplayRole) return {};
    const InvoiceListEntry e = entry(index.row());
    switch (index.column()) {
        case Numero:
            return QString::number(e.number);
        case Data:
            return fmt::date(e.date);
        case Tipo:
            return e.kind;
        case Cliente:
            return e.customer;
        case Nome:
            return e.name;
        case Imponibile:
            return fmt::number(e.taxable, u"###,##0.00");
        case Iva:
            return fmt::number(e.vat, u"###,##0.00");
        case Totale:
            return fmt::number(e.total, u"###,##0.00");
        case Pagamento:
            return paymentStateText(e.state);
        default:
            return {};
    }
}

QVariant InvoiceListModel::headerData(int section, Qt::Orientation o, int role) const {
    if (o != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, o, role);
    static const char16_t* titles[] = {
        u"Numero",     u"Data", u"Tipo documento", u"Cod. cliente", u"Ragione sociale",
        u"Imponibile", u"IVA",  u"Totale",         u"Pagamento"};
    return section >= 0 && section < ColumnCount ? QString::fromUtf16(titles[section]) : QString();
}

}  // namespace zel
