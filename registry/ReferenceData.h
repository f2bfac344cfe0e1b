#pragma once

#include <QString>
#include <QStringList>

namespace zel {

// The reference tables delivered with the program, kept in the base folder.
inline constexpr char16_t kPostCodeTable[] = u"cap.db";
inline constexpr char16_t kBankTable[] = u"banche.db";

// Where the delivered tables are: $ZELVARIN_REFDATA, else "refdata" beside the
// program's folder when it exists, else the build's own output folder.
QString referenceDataDir();

// Copies each delivered table into the base folder when it is missing there; an
// existing table is never overwritten. Returns one message per table not installed.
QStringList installReferenceTables(const QString& base);

}  // namespace zel
