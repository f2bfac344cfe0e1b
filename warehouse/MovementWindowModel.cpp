#include "warehouse/MovementWindowModel.h"

#include <QDate>
#include <algorithm>

#include "store/Store.h"
#include "ui/Formats.h"

namespace zel {

namespace {

constexpr int kCachedWindows = 8;
constexpr int kRowidBits = 40;

// "YYYY-MM-DD" as YYYYMMDD, 0 for an empty or foreign date (those sort first).
quint64 dateKey(QByteArrayView t) {
    if (t.size() < 10) return 0;
    quint64 v = 0;
    for (int i : {0, 1, 2, 3, 5, 6, 8, 9}) {
        const char c = t[i];
        if (c < '0' || c > '9') return 0;
        v = v * 10 + static_cast<quint64>(c - '0');
    }
    return v;
}

}  // namespace

MovementWindowModel::MovementWindowModel(Store& store, QObject* parent) : QAbstractTableModel(parent), m_store(store) {}

const QStringList& MovementWindowModel::columnNames() {
    static const QStringList names{QStringLiteral("DATA"),     QStringLiteral("BOLLA"),   QStringLiteral("COD"),
                                   QStringLiteral("DES"),      QStringLiteral("QUANT"),   QStringLiteral("PESO"),
                                   QStringLiteral("COLLI"),    QStringLiteral("PREZZO"),  QStringLiteral("CAUSALE"),
                                   QStringLiteral("COD_CLI"),  QStringLiteral("COD_FORN"), QStringLiteral("SERIALE"),
                                   QStringLiteral("NOTE")};
    return names;
}

void MovementWindowModel::clear() {
    beginResetModel();
    m_rowids.clear();
    m_totals = {};
    m_cache.clear();
    m_cacheOrder.clear();
    m_path.clear();
    endResetModel();
}

void MovementWindowModel::select(const QString& archivePath, const QString& where, const QVariantList& params) {
    const QString t = m_store.table(archivePath);
    std::vector<quint64> keys;
    Totals totals;
    m_store.forEachRow(QStringLiteral("SELECT rowid, data, quant, peso, colli FROM %1%2")
                           .arg(t, where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + where),
                       params, [&](const StoreRow& r) {
                           keys.push_back((dateKey(r.rawText(1)) << kRowidBits) | static_cast<quint64>(r.integer(0)));
                           totals.quantity += r.value(2).toDouble();
                           totals.weight += r.value(3).toDouble();
                           totals.parcels += r.value(4).toDouble();
                       });
    // Movements are mostly appended day by day: often there is nothing to sort.
    if (!std::is_sorted(keys.begin(), keys.end())) std::sort(keys.begin(), keys.end());
    totals.rows = static_cast<qint64>(keys.size());
    beginResetModel();
    m_path = archivePath;
    m_rowids.resize(keys.size());
    const quint64 mask = (quint64(1) << kRowidBits) - 1;
    for (size_t i = 0; i < keys.size(); ++i) m_rowids[i] = static_cast<qint64>(keys[i] & mask);
    m_totals = totals;
    m_cache.clear();
    m_cacheOrder.clear();
    endResetModel();
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
        for (QVariantList& r : m_store.rows(QStringLiteral("SELECT rowid, %1 FROM %2 WHERE rowid IN (%3)")
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
        return QVariant::fromValue(numeric ? Qt::AlignRight | Qt::AlignVCenter : Qt::AlignLeft | Qt::AlignVCenter);
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
        case 0: return fmt::date(QDate::fromString(v.toString(), Qt::ISODate));
        case 4:
        case 5: return fmt::number(v.toDouble(), u"###,##0.00");
        case 7: return fmt::number(v.toDouble(), u"###,##0.00");
        default: return v.toString();
    }
}

QVariant MovementWindowModel::headerData(int section, Qt::Orientation o, int role) const {
    if (o != Qt::Horizontal || role != Qt::DisplayRole) return QAbstractTableModel::headerData(section, o, role);
    static const QStringList captions{QStringLiteral("Data"),      QStringLiteral("DDT"),      QStringLiteral("Codice"),
                                      QStringLiteral("Descrizione"), QStringLiteral("Quantità"), QStringLiteral("Peso"),
                                      QStringLiteral("Colli"),     QStringLiteral("Prezzo"),   QStringLiteral("Causale"),
                                      QStringLiteral("Cliente"),   QStringLiteral("Fornitore"), QStringLiteral("Seriale"),
                                      QStringLiteral("Note")};
    return captions.value(section);
}

}  // namespace zel
