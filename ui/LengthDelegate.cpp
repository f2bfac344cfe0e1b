#include "ui/LengthDelegate.h"

#include "ui/FieldLength.h"

namespace zel {

QWidget* LengthDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                      const QModelIndex& index) const {
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    limitLength(editor, m_lengths.value(index.column()));
    return editor;
}

}  // namespace zel
