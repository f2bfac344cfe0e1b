#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

namespace zel {

class InstanceLock;
class Notifier;
class Settings;
class Store;

// The exit codes of the data start-up run from the command line.
enum StartupExit : int {
    kExitDone = 0,
    kExitFolder = 1,    // a folder could not be made
    kExitUsage = 2,     // the command line could not be understood
    kExitArchive = 3,   // an archive could not be opened, created or upgraded, or is damaged
    kExitSettings = 4,  // a settings file could not be written
    kExitInUse = 5,     // another instance holds the base folder
};

// The data part of the program's start: folders, settings, archives, working
// tables, path defaults, column upgrade, repairs and renumbering. The main window
// runs it step by step under its splash; the command line runs it whole.
class DataStartup {
public:
    DataStartup(QString baseFolder, Settings& settings, Notifier& notifier);
    ~DataStartup();

    // Called with each phase's text and the progress figure shown at that point.
    std::function<void(const QString& phase, int progress)> onProgress;
    // Puts the reference tables delivered with the program (post codes, banks) into the
    // base folder when missing; returns the failures. Set by the application.
    std::function<QStringList(const QString& base)> installReferenceTables;

    // Reserves the base folder for this instance; false (with its message shown) when
    // another instance holds it, which ends the start.
    bool lockBase();
    std::unique_ptr<InstanceLock> takeLock();
    // Creates <base>/Dati and <base>/ricfisc; false (with its message shown)
    // when one cannot be made, which ends the start.
    bool ensureFolders();
    void loadSettings();
    // Tests the data folder again, opens the store and creates the missing archives.
    // False when the data folder cannot be made.
    bool createArchives();
    // Opens every archive far enough to know it is one; a damaged one is left as it is
    // and no later step touches it.
    void checkArchives();
    void ensurePartnerFile();
    void installReferenceData();
    void setQuotePathDefaults();
    void prepareWorkingTables();
    void fillMissingPaths();
    void upgradeColumns();
    void repairWarehouse();
    void loadCurrencies();
    void renumberArchives();
    void writeMainSettingsIfMissing();
    // One message naming every damaged archive; nothing when there is none.
    void reportDamaged();

    // Every step above in order; the process exit code (StartupExit).
    int runAll();
    // The exit code for what the steps run so far met.
    int exitCode() const;

    Store* store() const { return m_store.get(); }
    std::unique_ptr<Store> takeStore();
    QStringList currencies() const { return m_currencies; }
    QStringList agents() const { return m_agents; }
    QStringList creationFailures() const { return m_creationFailures; }
    QStringList damagedArchives() const { return m_damaged; }

private:
    void progress(const QString& phase, int value);
    void emptyWorkingTable(const QString& file, const QString& sourcePath, bool copyWhenMissing);
    void removeLeftoverSuperJournals();
    void archiveFailure(const QString& text);

    QString m_base;
    Settings& m_settings;
    Notifier& m_notifier;
    std::unique_ptr<Store> m_store;
    QStringList m_currencies;
    QStringList m_agents;
    QStringList m_creationFailures;
    QStringList m_damaged;
    std::unique_ptr<InstanceLock> m_lock;
    bool m_archiveFailed = false;
    bool m_settingsFailed = false;
};

}  // namespace zel
