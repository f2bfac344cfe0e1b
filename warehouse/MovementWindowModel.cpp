#include "warehouse/MovementWindowModel.h"

#include <QDate>
#include <algorithm>

#include "store/Store.h"
#include "ui/Formats.h"

namespace zel {

namespace {

constexpr int kCachedWindows = 8;
constexpr int kRowidBits = 40;  // the date key takes the 23 bits above

// "YYYY-MM-DD" as a day number that sorts like the date and fits 20 bits; 0 for an empty
// or foreign date (those sort first).
quint64 dateKey(QByteArrayView t) {
    if (t.size() < 10 || t[4] != '-' || t[7] != '-') return 0;
    quint64 v[3] = {0, 0, 0};
    const int from[3] = {0, 5, 8};
    const int len[3] = {4, 2, 2};
    for (int part = 0; part < 3; ++part) {
        for (int i = from[part]; i < from[part] + len[part]; ++i) {
            const char c = t[i];
            if (c < '0' || c > '9') return 0;
            v[part] = v[part] * 10 + static_cast<quint64>(c - '0');
        }
    }
    return ((v[0] * 13 + v[1]) * 32 + v[2]) & ((quint64(1) << 23) - 1);
}

// Least-significant-digit radix sort on the bytes that vary: a million keys in a few
// passes instead of a comparison sort.
void radixSort(std::vector<quint64>& keys) {
    if (keys.size() < 2) return;
    quint64 all = 0;
    for (quint64 k : keys) all |= k;
    std::vector<quint64> buffer(keys.size());
    for (int shift = 0; shift < 64; shift += 8) {
        if (((all >> shift) & 0xff) == 0) continue;  // a byte that is 0 everywhere
        size_t count[257] = {};
        for (quint64 k : keys) ++count[((k >> shift) & 0xff) + 1];
        for (int i = 0; i < 256; ++i) count[i + 1] += count[i];
        for (quint64 k : keys) buffer[count[(k >> shift) & 0xff]++] = k;
        keys.swap(buffer);
    }
}

}  // namespace

MovementWindowModel::MovementWindowModel(Store& store, QObject* parent)
    : QAbstractTableModel(parent), m_store(store) {}

const QStringList& MovementWindowModel::columnNames() {
    static const QStringList names{
        QStringLiteral("DATA"),    QStringLiteral("BOLLA"),    QStringLiteral("COD"),
        QStringLiteral("DES"),     QStringLiteral("QUANT"),    QStringLiteral("PESO"),
        QStringLiteral("COLLI"),   QStringLiteral("PREZZO"),   QStringLiteral("CAUSALE"),
        QStringLiteral("COD_CLI"), QStringLiteral("COD_FORN"), QStringLiteral("SERIALE"),
        QStringLiteral("NOTE")};
    return names;
}

void MovementWindowModel::clear() {
    beginResetModel();
    m_rowids.clear();
    m_totals = {};
    m_hasTotals = false;
    m_cache.clear();
    m_cacheOrder.clear();
    m_path.clear();
    endResetModel();
}

void MovementWindowModel::select(const QString& archivePath, const QString& where,
                                 const QVariantList& params, bool withTotals) {
    const QString t = m_store.table(archivePath);
    std::vector<quint64> keys;
    Totals totals;
    const QString filter = where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + where;
    keys.reserve(m_rowids.size());
    if (withTotals) {
        m_store.forEachRow(
            QStringLiteral("SELECT rowid, data, quant, peso, colli FROM %1%2").arg(t, filter),
            params, [&](const StoreRow& r) {
                keys.push_back((dateKey(r.rawText(1)) << kRowidBits) |
                               static_cast<quint64>(r.integer(0)));
                totals.quantity += r.value(2).toDouble();
                totals.weight += r.value(3).toDouble();
                totals.parcels += static_cast<double>(r.integer(4));
            });
    } else {
        m_store.forEachRow(QStringLiteral("SELECT rowid, data FROM %1%2").arg(t, filter), params,
                           [&](const StoreRow& r) {
                               keys.push_back((dateKey(r.rawText(1)) << kRowidBits) |
                                              static_cast<quint64>(r.integer(0)));
                           });
    }
    m_hasTotals = withTotals;
    // Movements are mostly appended day by day: often there is nothing to sort.
    if (!std::is_sorted(keys.begin(), keys.end())) radixSort(keys);
    totals.rows = static_cast<qint64>(keys.size());
    if (!withTotals && keys.empty()) m_hasTotals = true;
    beginResetModel();
    m_path = archivePath;
    m_where = where;
    m_params = params;
    m_rowids.resize(keys.size());
    const quint64 mask = (quint64(1) << kRowidBits) - 1;
    for (size_t i = 0; i < keys.size(); ++i) m_rowids[i] = static_cast<qint64>(keys[i] & mask);
    m_totals = totals;
    m_cache.clear();
    m_cacheOrder.clear();
    endResetModel();
}

void MovementWindowModel::computeTotals() {
    if (m_hasTotals || m_path.isEmpty()) return;
    const QList<QVariantList> r =
        m_store.rows(QStringLiteral("SELECT TOTAL(quant), TOTAL(peso), TOTAL(colli) FROM %1%2")
                         .arg(m_store.table(m_path),
                              m_where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + m_where),
                     m_params);
    m_totals.quantity = r.value(0).value(0).toDouble();
    m_totals.weight = r.value(0).value(1).toDouble();
    m_totals.parcels = r.value(0).value(2).toDouble();
    m_hasTotals = true;
}

const QList<QVariantList>& MovementWindowModel::window(int block) const {
    auto it = m_cache.find(block);
    if (it != m_cache.end()) return *it;
    const size_t first = static_cast<size_t>(block) * kWindow;
    const size_t last = std::min(m_rowids.size(), first + kWindow);
    QVariantList ids;
    QStringList marks;
    for (size_t i = first; i < last; ++i) {
        ids.append(m_rowids[i]);
        marks.append(QStringLiteral("?"));
    }
    QHash<qint64, QVariantList> byRowid;
    if (!ids.isEmpty()) {
        for (QVariantList& r :
             m_store.rows(QStringLiteral("SELECT rowid, %1 FROM %2 WHERE rowid IN (%3)")
                              .arg(columnNames().join(QStringLiteral(", ")), m_store.table(m_path),
                                   marks.join(u',')),
                          ids)) {
            const qint64 rowid = r.takeFirst().toLongLong();
            byRowid.insert(rowid, r);
        }
    }
    QList<QVariantList> rows;
    rows.reserve(static_cast<qsizetype>(last - first));
    for (size_t i = first; i < last; ++i) rows.append(byRowid.value(m_rowids[i]));
    ++m_windowsRead;
    if (m_cacheOrder.size() >= kCachedWindows) m_cache.remove(m_cacheOrder.takeFirst());
    m_cacheOrder.append(block);
    return *m_cache.insert(block, rows);
}

QList<QVariantList> MovementWindowModel::rowsAt(int first, int count) const {
    QList<QVariantList> out;
    for (int r = first; r < first + count && r < rowCount(); ++r) {
        const QList<QVariantList>& w = window(r / kWindow);
        out.append(w.value(r % kWindow));
    }
    return out;
}

int MovementWindowModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rowids.size());
}

int MovementWindowModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columnNames().size());
}

QVariant MovementWindowModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::TextAlignmentRole)) return {};
    const int c = index.column();
    const bool numeric = c == 1 || (c >= 4 && c <= 7);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(numeric ? Qt::AlignRight | Qt::AlignVCenter
                                           : Qt::AlignLeft | Qt::AlignVCenter);
    QList<QVariantList> const* rows = nullptr;
    try {
        rows = &window(index.row() / kWindow);
    } catch (const StoreError&) {
        return {};
    }
    const QVariantList row = rows->value(index.row() % kWindow);
    const QVariant v = row.value(c);
    if (v.isNull()) return QString();
    switch (c) {
        case 0:
            return fmt::date(QDate::fromString(v.toString(), Qt::ISODate));
        case 4:
        case 5:
            return fmt::number(v.toDouble(), u"###,##0.00");
        case 7:
            return fmt::number(v.toDouble(), u"###,##0.00");
        default:
            return v.toString();
    }
}

QVariant MovementWindowModel::headerData(int section, Qt::Orientation o, int role) const {
    if (o != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, o, role);
    static const QStringList captions{
        QStringLiteral("Data"),        QStringLiteral("DDT"),       QStringLiteral("Codice"),
        QStringLiteral("Descrizione"), QStringLiteral("Quantità"),  QStringLiteral("Peso"),
        QStringLiteral("Colli"),       QStringLiteral("Prezzo"),    QStringLiteral("Causale"),
        QStringLiteral("Cliente"),     QStringLiteral("Fornitore"), QStringLiteral("Seriale"),
        QStringLiteral("Note")};
    return captions.value(section);
}

}  // namespace zel
