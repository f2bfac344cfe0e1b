#include "warehouse/ArticleListModel.h"

#include <QBrush>
#include <QColor>

#include "ui/Formats.h"

namespace zel {

namespace {
constexpr int kMaxBlocks = 64;  // lines kept in memory: a few screens either way
}

ArticleListModel::ArticleListModel(Fetch fetch, QObject* parent)
    : QAbstractTableModel(parent), m_fetch(std::move(fetch)) {}

QStringList ArticleListModel::captions() {
    return {QStringLiteral("Codice"),        QStringLiteral("Descrizione"),
            QStringLiteral("Giacenza"),      QStringLiteral("Pr. vendita"),
            QStringLiteral("Pr. IVA incl."), QStringLiteral("IVA"),
            QStringLiteral("Un. mis."),      QStringLiteral("Categoria"),
            QStringLiteral("Posizione"),     QStringLiteral("Cod. Fornitore")};
}

void ArticleListModel::setIds(QList<qint64> ids) {
    beginResetModel();
    m_ids = std::move(ids);
    m_blocks.clear();
    endResetModel();
}

void ArticleListModel::invalidate() {
    m_blocks.clear();
    if (!m_ids.isEmpty())
        Q_EMIT dataChanged(index(0, 0), index(int(m_ids.size()) - 1, columnCount() - 1));
}

const ArticleListRow* ArticleListModel::line(int row) const {
    if (row < 0 || row >= m_ids.size()) return nullptr;
    const int block = row / kBlock;
    auto it = m_blocks.find(block);
    if (it == m_blocks.end()) {
        if (m_blocks.size() >= kMaxBlocks) m_blocks.clear();
        const QList<qint64> ids = m_ids.mid(qsizetype(block) * kBlock, kBlock);
        QList<ArticleListRow> rows = m_fetch ? m_fetch(ids) : QList<ArticleListRow>{};
        // A line deleted meanwhile leaves a blank line rather than shifting the others.
        QList<ArticleListRow> aligned;
        aligned.reserve(ids.size());
        qsizetype j = 0;
        for (qint64 id : ids) {
            if (j < rows.size() && rows[j].rowid == id)
                aligned.append(rows[j++]);
            else
                aligned.append(ArticleListRow{id, {}, {}, {}, {}, {}, {}, {}, 0, 0, 0});
        }
        it = m_blocks.insert(block, aligned);
    }
    return &it.value()[row % kBlock];
}

int ArticleListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_ids.size());
}
int ArticleListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 10;
}

QVariant ArticleListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    if (role != Qt::DisplayRole && role != Qt::ForegroundRole && role != Qt::TextAlignmentRole)
        return {};
    const int c = index.column();
    if (role == Qt::TextAlignmentRole)
        return (c >= 2 && c <= 5) ? QVariant(int(Qt::AlignRight | Qt::AlignVCenter)) : QVariant();
    const ArticleListRow* r = line(index.row());
    if (!r) return {};
    if (role == Qt::ForegroundRole)
        return c == 2 && r->giac1 <= 0 ? QVariant(QBrush(QColor(200, 0, 0))) : QVariant();
    switch (c) {
        case 0:
            return r->cod;
        case 1:
            return r->des;
        case 2:
            return fmt::number(r->giac1, u"###,##0.##");
        case 3:
            return fmt::number(r->prezzoVen, u"###,##0.00");
        case 4:
            return fmt::number(r->prezzoIvato, u"###,##0.00");
        case 5:
            return r->iva;
        case 6:
            return r->um;
        case 7:
            return r->cat;
        case 8:
            return r->pos;
        case 9:
            return r->codForn;
        default:
            return {};
    }
}

QVariant ArticleListModel::headerData(int section, Qt::Orientation o, int role) const {
    if (o == Qt::Horizontal && role == Qt::DisplayRole) return captions().value(section);
    return QAbstractTableModel::headerData(section, o, role);
}

}  // namespace zel
