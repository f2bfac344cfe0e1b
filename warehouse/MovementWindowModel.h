#pragma once

#include <QAbstractTableModel>
#include <QHash>
#include <QList>
#include <QString>
#include <QVariantList>
#include <vector>

namespace zel {

class Store;

// The movement list of the movement browser over an archive that can hold a million
// rows. A selection reads only the keys of its rows (rowid and date) and their totals,
// in one pass; the grid's rows are read a window at a time, by rowid, as they come on
// screen. No statement stays open between calls.
class MovementWindowModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kWindow = 256;

    struct Totals {
        qint64 rows = 0;
        double quantity = 0;
        double weight = 0;
        double parcels = 0;
    };

    MovementWindowModel(Store& store, QObject* parent = nullptr);

    // Selects the rows of the archive matching where (fixed SQL with "?" for params, empty
    // for every row), ordered by date then stored order; with totals, they come from the
    // same pass. Throws StoreError.
    void select(const QString& archivePath, const QString& where, const QVariantList& params,
                bool withTotals = true);
    // The totals of a selection made without them. Throws StoreError.
    void computeTotals();
    bool hasTotals() const { return m_hasTotals; }
    void clear();

    const Totals& totals() const { return m_totals; }
    qint64 rowidAt(int row) const { return m_rowids[static_cast<size_t>(row)]; }
    // The archive columns shown, in grid order.
    static const QStringList& columnNames();
    // Every shown column of the rows first..first+count-1, for prints.
    QList<QVariantList> rowsAt(int first, int count) const;
    int windowsRead() const { return m_windowsRead; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation o, int role = Qt::DisplayRole) const override;

private:
    const QList<QVariantList>& window(int block) const;

    Store& m_store;
    QString m_path;
    QString m_where;
    QVariantList m_params;
    std::vector<qint64> m_rowids;
    bool m_hasTotals = false;
    Totals m_totals;
    mutable QHash<int, QList<QVariantList>> m_cache;  // block -> its rows
    mutable QList<int> m_cacheOrder;
    mutable int m_windowsRead = 0;
};

}  // namespace zel
