#pragma once

#include <QString>
#include <QStringList>

namespace zel {

// The reference tables delivered with the program, kept in the base folder.
inline constexpr char16_t kPostCodeTable[] = u"cap.db";
inline constexpr char16_t kBankTable[] = u"banche.db";

// Where the delivered tables are: $ZELVARIN_REFDATA, else findReferenceData(the
// program's folder), else the build's own output folder.
QString referenceDataDir();

// The folder holding the tables for a program in programDir: the installed data folder
// (share/zelvarin beside bin/), else the build tree's "refdata" (program in <build>/app);
// empty when neither holds them.
QString findReferenceData(const QString& programDir);

// Copies each delivered table into the base folder when it is missing there; an
// existing table is never overwritten. Returns one message per table not installed.
QStringList installReferenceTables(const QString& base);

}  // namespace zel
