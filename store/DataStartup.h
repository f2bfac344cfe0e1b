#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

namespace zel {

class Notifier;
class Settings;
class Store;

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

    // Creates <base>/Dati and <base>/ricfisc; false (with its message shown)
    // when one cannot be made, which ends the start.
    bool ensureFolders();
    void loadSettings();
    // Tests the data folder again, opens the store and creates the missing archives.
    // False when the data folder cannot be made.
    bool createArchives();
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

    // Every step above in order; the process exit code: 0, 1 when a folder could not
    // be made, 2 when an archive could not be created.
    int runAll();

    Store* store() const { return m_store.get(); }
    std::unique_ptr<Store> takeStore();
    QStringList currencies() const { return m_currencies; }
    QStringList agents() const { return m_agents; }
    QStringList creationFailures() const { return m_creationFailures; }

private:
    void progress(const QString& phase, int value);
    void emptyWorkingTable(const QString& file, const QString& sourcePath, bool copyWhenMissing);

    QString m_base;
    Settings& m_settings;
    Notifier& m_notifier;
    std::unique_ptr<Store> m_store;
    QStringList m_currencies;
    QStringList m_agents;
    QStringList m_creationFailures;
};

}  // namespace zel
