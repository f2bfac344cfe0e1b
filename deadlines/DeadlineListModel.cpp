#include "deadlines/DeadlineListModel.h"

#include <QColor>

#include "core/Clock.h"
#include "store/Store.h"
#include "ui/Formats.h"

using namespace Qt::Literals::StringLiterals;

namespace zel {

namespace {
constexpr int kBlock = 256;
}

DeadlineListModel::DeadlineListModel(DeadlineArchive& archive, QObject* parent)
    : QAbstractTableModel(parent), m_archive(archive) {}

void DeadlineListModel::setRowids(QList<qint64> rowids) {
    beginResetModel();
    m_rowids = std::move(rowids);
    m_blocks.clear();
    endResetModel();
}

void DeadlineListModel::invalidate() {
    m_blocks.clear();
    if (!m_rowids.isEmpty())
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

const Deadline* DeadlineListModel::deadline(int row) const {
    if (row < 0 || row >= m_rowids.size()) return nullptr;
    const int block = row / kBlock;
    auto it = m_blocks.find(block);
    if (it == m_blocks.end()) {
        QList<Deadline> rows;
        try {
            const QList<qint64> ids = m_rowids.mid(static_cast<qsizetype>(block) * kBlock, kBlock);
            const QList<Deadline> found = m_archive.loadMany(ids);
            // Keep positions: a row deleted meanwhile reads as empty.
            QHash<qint64, Deadline> by;
            for (const Deadline& d : found) by.insert(d.rowid, d);
            for (qint64 id : ids)
                rows.append(by.value(
                    id, Deadline{id, 0, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, 0, {}, false}));
        } catch (const StoreError&) {
            return nullptr;
        }
        if (m_blocks.size() > 64) m_blocks.clear();
        it = m_blocks.insert(block, rows);
    }
    const int at = row % kBlock;
    return at < it->size() ? &(*it)[at] : nullptr;
}

int DeadlineListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rowids.size());
}

int DeadlineListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(DeadlineArchive::columns().size());
}

QVariant DeadlineListModel::data(const QModelIndex& index, int role) const {
    const Deadline* d = deadline(index.row());
    if (!d) return {};
    if (role == Qt::ForegroundRole) {
        const QDate today = m_today.isValid() ? m_today : Clock::today();
        return d->overdue(today) ? QColor(Qt::red) : QColor(Qt::darkBlue);
    }
    if (role == Qt::TextAlignmentRole) {
        const int c = index.column();
        return (c == 0 || c == 4 || c == 5 || c == 10) ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                                       : QVariant();
    }
    if (role != Qt::DisplayRole) return {};
    switch (index.column()) {
        case 0:
            return d->id;
        case 1:
            return fmt::date(d->data);
        case 2:
            return d->cod;
        case 3:
            return d->des;
        case 4:
            return d->dare.format();
        case 5:
            return d->avere.format();
        case 6:
            return d->pagato;
        case 7:
            return fmt::date(d->datapag);
        case 8:
            return d->codCli;
        case 9:
            return d->banca;
        case 10:
            return d->fattura;
        case 11:
            return d->des2;
        default:
            return {};
    }
}

QVariant DeadlineListModel::headerData(int section, Qt::Orientation o, int role) const {
    if (o == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < DeadlineArchive::columns().size())
        return DeadlineArchive::columns()[section];
    return QAbstractTableModel::headerData(section, o, role);
}

}  // namespace zel
