#include "registry/ReferenceData.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace zel {

QString findReferenceData(const QString& programDir) {
    const QDir dir(programDir);
    // The installed folder is relative to the program's, so any prefix (the package's /usr) works.
    for (const QString& rel :
         {QStringLiteral(ZELVARIN_REFDATA_INSTALLED), QStringLiteral("../refdata")}) {
        const QString candidate = QDir::cleanPath(dir.filePath(rel));
        if (QFileInfo::exists(QDir(candidate).filePath(QString::fromUtf16(kPostCodeTable))))
            return candidate;
    }
    return {};
}

QString referenceDataDir() {
    const QString env = qEnvironmentVariable("ZELVARIN_REFDATA");
    if (!env.isEmpty()) return env;
    if (QCoreApplication::instance()) {
        const QString found = findReferenceData(QCoreApplication::applicationDirPath());
        if (!found.isEmpty()) return found;
    }
    // Test programs run from other folders of the build tree.
    return QStringLiteral(ZELVARIN_REFDATA_DIR);
}

QStringList installReferenceTables(const QString& base) {
    QStringList failures;
    const QDir from(referenceDataDir());
    for (const QString& name : {QString::fromUtf16(kPostCodeTable), QString::fromUtf16(kBankTable)}) {
        const QString target = QDir(base).filePath(name);
        if (QFileInfo::exists(target)) continue;
        const QString source = from.filePath(name);
        if (!QFileInfo::exists(source)) {
            failures.append(QStringLiteral("Tabella di riferimento non trovata: %1").arg(QDir::toNativeSeparators(source)));
            continue;
        }
        // Through a temporary name, so an interrupted copy never looks installed.
        const QString partial = target + QStringLiteral(".part");
        QFile::remove(partial);
        if (!QFile::copy(source, partial) || !QFile::rename(partial, target)) {
            QFile::remove(partial);
            failures.append(QStringLiteral("Impossibile copiare %1 in %2").arg(name, QDir::toNativeSeparators(base)));
            continue;
        }
        // The copy keeps the source's read-only bits; the base folder's tables are the user's.
        QFile::setPermissions(target, QFile::permissions(target) | QFileDevice::WriteOwner);
    }
    return failures;
}

}  // namespace zel
