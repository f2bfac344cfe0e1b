#pragma once

#include <QHash>
#include <QStyledItemDelegate>

namespace zel {

// Grid cells typed in place take the length of the archive column they write.
class LengthDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // Grid column -> CHAR length; 0 or absent: no limit.
    void setLength(int column, int maxLength) { m_lengths.insert(column, maxLength); }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;

private:
    QHash<int, int> m_lengths;
};

}  // namespace zel
