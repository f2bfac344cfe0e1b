#include "registry/PartnerListModel.h"

#include <QBrush>
#include <QFont>

#include "store/Store.h"
#include "ui/Dialogs.h"

namespace zel {

QStringList PartnerListModel::captions() {
    return {QStringLiteral("Codice"),           QStringLiteral("Denominazione / Ragione Sociale"),
            QStringLiteral("Città / Località"), QStringLiteral("Prov"),
            QStringLiteral("Telefono"),         QStringLiteral("Cellulare"),
            QStringLiteral("E-mail"),           QStringLiteral("Fax")};
}

void PartnerListModel::setSelection(const PartnerArchive& archive, const PartnerQuery& q) {
    beginResetModel();
    m_archive = &archive;
    m_query = q;
    m_rows.clear();
    m_last = {};
    m_complete = false;
    try {
        const PartnerWindow w = archive.window(q, {}, kWindow);
        m_rows = w.rows;
        m_last = w;
        m_complete = w.rows.size() < kWindow;
    } catch (const StoreError&) {
        m_complete = true;
        endResetModel();
        throw;
    }
    endResetModel();
}

void PartnerListModel::clear() {
    beginResetModel();
    m_archive = nullptr;
    m_rows.clear();
    m_last = {};
    m_complete = true;
    endResetModel();
}

bool PartnerListModel::load(int limit) {
    if (m_complete || !m_archive) return true;
    PartnerWindow w;
    try {
        w = m_archive->window(m_query, m_last, limit);
    } catch (const StoreError&) {
        // The rows shown stay; the list simply ends here.
        m_complete = true;
        Dialogs::instance().beep();
        return false;
    }
    m_complete = w.rows.size() < limit;
    if (w.rows.isEmpty()) return true;
    beginInsertRows({}, int(m_rows.size()), int(m_rows.size() + w.rows.size()) - 1);
    m_rows += w.rows;
    m_last.lastKey = w.lastKey;
    m_last.lastRowid = w.lastRowid;
    endInsertRows();
    return true;
}

int PartnerListModel::indexOfRowid(qint64 rowid) const {
    for (int i = 0; i < m_rows.size(); ++i)
        if (m_rows[i].rowid == rowid) return i;
    return -1;
}

int PartnerListModel::loadUntilRowid(qint64 rowid) {
    int from = 0;
    for (int limit = kWindow;; limit = qMin(limit * 2, 65536)) {
        for (int i = from; i < m_rows.size(); ++i)
            if (m_rows[i].rowid == rowid) return i;
        from = int(m_rows.size());
        if (m_complete || !load(limit)) return -1;
    }
}

void PartnerListModel::loadUntilRow(int row) {
    for (int limit = kWindow; row >= m_rows.size() && !m_complete; limit = qMin(limit * 2, 65536))
        if (!load(limit)) return;
}

int PartnerListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_rows.size());
}
int PartnerListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 8;
}

bool PartnerListModel::canFetchMore(const QModelIndex& parent) const {
    return !parent.isValid() && !m_complete;
}

void PartnerListModel::fetchMore(const QModelIndex& parent) {
    if (!parent.isValid()) load(kWindow);
}

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
