#pragma once

#include <QAbstractTableModel>
#include <QDate>
#include <QHash>

#include "deadlines/DeadlineArchive.h"

namespace zel {

// The browser's grid over a list of rowids: rows are read a block at a time as they
// come into view, so a long archive opens at once and holds no statement open.
class DeadlineListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit DeadlineListModel(DeadlineArchive& archive, QObject* parent = nullptr);

    void setRowids(QList<qint64> rowids);
    const QList<qint64>& rowids() const { return m_rowids; }
    // Forgets the rows read, e.g. after a write.
    void invalidate();
    const Deadline* deadline(int row) const;
    // The row of a rowid, -1 when it is not listed.
    int rowOf(qint64 rowid) const { return static_cast<int>(m_rowids.indexOf(rowid)); }
    void setToday(const QDate& today) { m_today = today; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation o, int role) const override;

private:
    DeadlineArchive& m_archive;
    QList<qint64> m_rowids;
    mutable QHash<int, QList<Deadline>> m_blocks;  // block index -> its rows
    QDate m_today;
};

}  // namespace zel
