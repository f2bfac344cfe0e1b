#include "app/LocalBackup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>
#include <cstdio>

#include "core/Clock.h"
#include "core/Paths.h"
#include "settings/Settings.h"
#include "settings/SettingsCatalogue.h"
#include "store/ArchiveCatalogue.h"
#include "store/Store.h"

namespace zel {

LocalBackup::LocalBackup(QString baseFolder, const Settings& settings, Store* store)
    : m_base(std::move(baseFolder)), m_settings(settings), m_store(store) {}

QString LocalBackup::folder() const {
    return resolvePath(m_settings.text(u"Path", u"Posizione archivi backup locale"));
}

QStringList LocalBackup::sources() const {
    QStringList out;
    QSet<QString> seen;
    const auto add = [&](const QString& written) {
        if (written.trimmed().isEmpty()) return;
        const QFileInfo fi(resolvePath(written));
        if (!fi.isFile()) return;
        const QString path = fi.absoluteFilePath();
        if (seen.contains(path)) return;
        seen.insert(path);
        out << path;
    };
    // Archives named by a setting, this year's or another's.
    for (const SettingDef& d : settingsCatalogue())
        if (d.section == u"Path" && d.key.startsWith(u"Archivio")) add(m_settings.text(d.section, d.key));
    const QString yy = Clock::yearSuffix();
    for (const ArchiveDef& a : archiveCatalogue())
        if (a.pathKey.isEmpty() && a.kind != ArchiveKind::Working) add(archiveLocation(m_base, a, yy));
    for (const QString& f : settingsLoadOrder()) add(QDir(m_base).filePath(f));
    return out;
}

BackupOutcome LocalBackup::run(const QDateTime& when) {
    BackupOutcome out;
    out.folder = folder();
    if (!QDir().mkpath(out.folder)) {
        out.folderMissing = true;
        return out;
    }
    // With no transaction open a file copy of a rollback-journal archive is consistent.
    if (m_store) {
        if (m_store->inTransaction()) throw StoreError(QStringLiteral("Backup durante una transazione"));
        m_store->releaseAll();
    }
    const QDir target(out.folder);
    const QString targetAbs = QFileInfo(out.folder).absoluteFilePath();
    // The new copies go to a folder of their own; the old copies are replaced only once
    // every new one is whole, so a failed copy never leaves the user without either.
    QTemporaryDir fresh(target.filePath(QStringLiteral(".nuovo-XXXXXX")));
    if (!fresh.isValid()) {
        out.failed << fresh.path();
        return out;
    }
    QStringList staged;
    for (const QString& src : sources()) {
        if (QFileInfo(src).absolutePath() == targetAbs) continue;
        const QString name = QFileInfo(src).fileName();
        if (QFile::copy(src, fresh.filePath(name))) staged << src;
        else out.failed << src;
    }
    if (!out.failed.isEmpty()) return out;  // the old copies stay as they were
    for (const QString& src : std::as_const(staged)) {
        const QString name = QFileInfo(src).fileName();
        // rename(2) replaces the old copy in one step.
        if (std::rename(QFile::encodeName(fresh.filePath(name)).constData(),
                        QFile::encodeName(target.filePath(name)).constData()) == 0)
            out.copied << src;
        else
            out.failed << src;
    }
    QFile log(target.filePath(logFileName()));
    if (log.open(QIODevice::Append | QIODevice::Text)) {
        log.write((QStringLiteral("In data ") + when.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss")) +
                   QStringLiteral("\n"))
                      .toUtf8());
    } else {
        out.failed << log.fileName();
    }
    return out;
}

QString LocalBackup::folderMessage(const QString& folder) {
    return QStringLiteral("Non riesco a creare la cartella ") + folder +
           QStringLiteral(", controllare la destinazione ") + folder;
}

QString LocalBackup::noticeText(const QString& folder) {
    return QStringLiteral("I dati sono salvati sulla cartella ") + folder + QStringLiteral(". Attendere il completamento!");
}

QString LocalBackup::statusText(const BackupOutcome& outcome) {
    if (outcome.failed.isEmpty() && !outcome.folderMissing) return QStringLiteral("Backup dati eseguito con successo!");
    return QStringLiteral("Backup dati: %1 errori").arg(outcome.folderMissing ? 1 : outcome.failed.size());
}

}  // namespace zel
