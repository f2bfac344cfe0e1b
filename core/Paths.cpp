#include "core/Paths.h"

#include <QDir>
#include <QFileInfo>

namespace zel {

// A data folder copied from elsewhere may be spelled "dati" or "DATI"; use it as it is.
QString dataDir(const QString& base) {
    return resolvePath(QDir(base).filePath(QString::fromUtf16(kDataFolder)));
}

QString dataFile(const QString& base, const QString& fileName) {
    return resolvePath(QDir(dataDir(base)).filePath(fileName));
}

QString resolvePath(const QString& written) {
    QString text = written.trimmed();
    text.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (text.isEmpty()) return text;
    const QStringList parts = text.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    const QString dataFolder = QString::fromUtf16(kDataFolder);
    QString current = text.startsWith(QLatin1Char('/')) ? QStringLiteral("/") : QString();
    bool exists = true;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        QString part = parts[i];
        const QString candidate = current.isEmpty() ? part : QDir(current).filePath(part);
        if (exists && !QFileInfo::exists(candidate)) {
            exists = false;
            const QDir dir(current.isEmpty() ? QStringLiteral(".") : current);
            const QStringList entries = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
            for (const QString& e : entries) {
                if (e.compare(part, Qt::CaseInsensitive) == 0) {
                    part = e;
                    exists = true;
                    break;
                }
            }
        }
        if (!exists) {
            if (part.compare(dataFolder, Qt::CaseInsensitive) == 0) part = dataFolder;
            else if (i == parts.size() - 1) part = part.toLower();
        }
        current = current.isEmpty() ? part : QDir(current).filePath(part);
    }
    return current;
}

QString fileStem(const QString& path) { return QFileInfo(path).completeBaseName().toLower(); }

}  // namespace zel
