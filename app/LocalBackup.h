#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace zel {

class Settings;
class Store;

struct BackupOutcome {
    QString folder;
    bool folderMissing = false;  // the folder could not be made; nothing was copied
    QStringList copied;          // source paths
    QStringList failed;          // source paths that could not be copied
};

// The immediate local backup: every archive (by its path setting, or at its fixed
// place), the settings files and the playlist are copied into one folder.
class LocalBackup {
public:
    LocalBackup(QString baseFolder, const Settings& settings, Store* store);

    QString folder() const;
    // The files a backup copies now, without duplicates; files that do not exist are left out.
    QStringList sources() const;
    BackupOutcome run(const QDateTime& when);

    static QString folderMessage(const QString& folder);
    static QString noticeText(const QString& folder);
    static QString statusText(const BackupOutcome& outcome);
    static QString logFileName() { return QStringLiteral("backup_log.txt"); }

private:
    QString m_base;
    const Settings& m_settings;
    Store* m_store;
};

}  // namespace zel
