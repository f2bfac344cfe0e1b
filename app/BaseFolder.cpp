#include "app/BaseFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "core/Paths.h"
#include "settings/SettingsCatalogue.h"

namespace zel {

namespace {

bool holdsBase(const QString& folder, bool settingsOnly) {
    const QString data = QString::fromUtf16(kDataFolder);
    const QString settings = QString::fromUtf16(kMainSettingsFile);
    // Bases copied from Windows may spell their names in any case.
    const QFileInfoList entries =
        QDir(folder).entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QFileInfo& e : entries) {
        if (e.isFile() && e.fileName().compare(settings, Qt::CaseInsensitive) == 0) return true;
        if (!settingsOnly && e.isDir() && e.fileName().compare(data, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

}  // namespace

QString defaultBaseFolder(const QString& current, const QString& home, const QString& userFolder) {
    const bool inHome =
        QFileInfo(current).canonicalFilePath() == QFileInfo(home).canonicalFilePath();
    if (holdsBase(current, inHome)) return QDir(current).absolutePath();
    const QString folder = QDir(userFolder).absolutePath();
    QDir().mkpath(folder);
    return folder;
}

QString userBaseFolder() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(QStringLiteral("Zelvarin"));
}

}  // namespace zel
