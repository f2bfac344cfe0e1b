#pragma once

#include <QString>

namespace zel {

// Folder names fixed by the program.
inline constexpr char16_t kDataFolder[] = u"Dati";
inline constexpr char16_t kReceiptFolder[] = u"ricfisc";

QString dataDir(const QString& base);
QString dataFile(const QString& base, const QString& fileName);

// Turns a path as written in a settings file (backslashes, any letter case) into
// the path of the existing file it means. Parts that do not exist yet keep their
// spelling, except that the data folder is always "Dati" and file names are lower
// case, as the creation step writes them.
QString resolvePath(const QString& written);

// Lower-case stem of a file name: "Dati/DDT26.db" -> "ddt26".
QString fileStem(const QString& path);

}  // namespace zel
