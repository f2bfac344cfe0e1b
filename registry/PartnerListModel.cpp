#include "registry/PartnerListModel.h"

#include <QBrush>
#include <QFont>

namespace zel {

QStringList PartnerListModel::captions() {
    return {QStringLiteral("Codice"),    QStringLiteral("Denominazione / Ragione Sociale"),
            QStringLiteral("Città / Località"), QStringLiteral("Prov"),
            QStringLiteral("Telefono"),  QStringLiteral("Cellulare"),
            QStringLiteral("E-mail"),    QStringLiteral("Fax")};
}

void PartnerListModel::setRows(QList<PartnerListRow> rows) {
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

int PartnerListModel::indexOfRowid(qint64 rowid) const {
    for (int i = 0; i < m_rows.size(); ++i)
        if (m_rows[i].rowid == rowid) return i;
    return -1;
}

int PartnerListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(m_rows.size()); }
int PartnerListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 8; }

QVariant PartnerListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    if (role == Qt::DisplayRole) return m_rows[index.row()].value(index.column()).trimmed();
    if (index.column() == 1 && role == Qt::FontRole) {
        QFont f;
        f.setBold(true);
        return f;
    }
    if (index.column() == 1 && role == Qt::ForegroundRole) return QBrush(QColor(0, 128, 0));
    return {};
}

QVariant PartnerListModel::headerData(int section, Qt::Orientation o, int role) const {
    if (o == Qt::Horizontal && role == Qt::DisplayRole) return captions().value(section);
    return QAbstractTableModel::headerData(section, o, role);
}

}  // namespace zel
