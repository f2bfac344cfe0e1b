#pragma once

#include <QAbstractTableModel>

#include "registry/PartnerArchive.h"

namespace zel {

// The registry list grid. It holds a window of the selection and fetches the next one as
// the grid scrolls to its end, each by its own short query: no statement stays open and
// a search never reads more rows than it shows.
class PartnerListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kWindow = 256;

    using QAbstractTableModel::QAbstractTableModel;

    // Shows the first window of the selection. Throws StoreError; the list is then empty.
    void setSelection(const PartnerArchive& archive, const PartnerQuery& q);
    void clear();
    // Every row of the selection is loaded.
    bool complete() const { return m_complete; }

    const PartnerListRow& row(int r) const { return m_rows[r]; }
    // Among the loaded rows; -1 when not loaded.
    int indexOfRowid(qint64 rowid) const;
    // Loads further windows, each larger than the last, until the row is loaded or the
    // selection ends; its position or -1.
    int loadUntilRowid(qint64 rowid);
    // Loads until the row at that position exists or the selection ends.
    void loadUntilRow(int row);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation o, int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

    static QStringList captions();

private:
    // Appends up to limit rows; false when the archive could not be read.
    bool load(int limit);

    const PartnerArchive* m_archive = nullptr;
    PartnerQuery m_query;
    QList<PartnerListRow> m_rows;
    PartnerWindow m_last;
    bool m_complete = true;
};

}  // namespace zel
