#pragma once

#include <QAbstractTableModel>
#include <QHash>
#include <functional>

#include "warehouse/ArticleArchive.h"

namespace zel {

// The article list grid. It holds the rowids of the whole selection and reads the
// lines in blocks as they come on screen, so 100,000 articles load no faster than
// the rows a user sees. No statement stays open between calls.
class ArticleListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using Fetch = std::function<QList<ArticleListRow>(const QList<qint64>&)>;
    static constexpr int kBlock = 128;

    ArticleListModel(Fetch fetch, QObject* parent = nullptr);

    void setIds(QList<qint64> ids);
    // Drops the lines read so far, e.g. after a write.
    void invalidate();
    qint64 rowidAt(int row) const { return row >= 0 && row < m_ids.size() ? m_ids[row] : -1; }
    int indexOfRowid(qint64 rowid) const { return int(m_ids.indexOf(rowid)); }
    const ArticleListRow* line(int row) const;
    int cachedBlocks() const { return int(m_blocks.size()); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation o, int role = Qt::DisplayRole) const override;

    static QStringList captions();

private:
    Fetch m_fetch;
    QList<qint64> m_ids;
    mutable QHash<int, QList<ArticleListRow>> m_blocks;
};

}  // namespace zel
