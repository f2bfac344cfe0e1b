#pragma once

#include <QHash>
#include <QString>

class QWidget;

namespace zel {

// Gives an edit the length of the archive column it writes, so that a save never fails
// for a text too long: line edits, editable combo boxes and plain-text memos (which
// drop what goes beyond and beep). maxLength <= 0 leaves the edit as it is.
void limitLength(QWidget* edit, int maxLength);
// The same for a set of edits by column; lengths maps lower-case column names to their
// CHAR length (0 for other types), as the store reports them.
void limitLengths(const QHash<QString, QWidget*>& edits, const QHash<QString, int>& lengths);

}  // namespace zel
