#pragma once

#include <QAbstractTableModel>

#include "registry/PartnerArchive.h"

namespace zel {

// The registry list grid: rows fully loaded, so no statement stays open.
class PartnerListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    void setRows(QList<PartnerListRow> rows);
    const PartnerListRow& row(int r) const { return m_rows[r]; }
    int indexOfRowid(qint64 rowid) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation o, int role = Qt::DisplayRole) const override;

    static QStringList captions();

private:
    QList<PartnerListRow> m_rows;
};

}  // namespace zel
