#include "ui/FieldLength.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>

#include "ui/Dialogs.h"

namespace zel {

namespace {
const char* const kLimit = "zelMaxLength";

// Keeps a memo within its limit, dropping the characters just typed or pasted.
void trimMemo(QPlainTextEdit* memo) {
    const int max = memo->property(kLimit).toInt();
    const int excess = int(memo->toPlainText().size()) - max;
    if (max <= 0 || excess <= 0) return;
    QTextCursor c = memo->textCursor();
    const int end = c.position() >= excess ? c.position() : int(memo->toPlainText().size());
    c.setPosition(end - excess);
    c.setPosition(end, QTextCursor::KeepAnchor);
    c.removeSelectedText();
    memo->setTextCursor(c);
    Dialogs::instance().beep();
}
}  // namespace

void limitLength(QWidget* edit, int maxLength) {
    if (!edit || maxLength <= 0) return;
    if (auto* e = qobject_cast<QLineEdit*>(edit)) {
        e->setMaxLength(maxLength);
    } else if (auto* c = qobject_cast<QComboBox*>(edit)) {
        if (c->lineEdit()) c->lineEdit()->setMaxLength(maxLength);
    } else if (auto* m = qobject_cast<QPlainTextEdit*>(edit)) {
        const bool watched = m->property(kLimit).isValid();
        m->setProperty(kLimit, maxLength);
        if (!watched) QObject::connect(m, &QPlainTextEdit::textChanged, m, [m] { trimMemo(m); });
        trimMemo(m);
    }
}

void limitLengths(const QHash<QString, QWidget*>& edits, const QHash<QString, int>& lengths) {
    for (auto it = edits.cbegin(); it != edits.cend(); ++it)
        limitLength(it.value(), lengths.value(it.key().toLower()));
}

}  // namespace zel
