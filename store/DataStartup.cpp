#include "store/DataStartup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "core/Clock.h"
#include "core/InstanceLock.h"
#include "core/Notifier.h"
#include "core/Paths.h"
#include "settings/IniFile.h"
#include "settings/Settings.h"
#include "store/ArchiveCatalogue.h"
#include "store/ArchiveMaintenance.h"
#include "store/Store.h"

namespace zel {

namespace {
const QString kPath = QStringLiteral("Path");

QStringList columnText(const QList<ColumnInfo>& columns) {
    QStringList out;
    for (const ColumnInfo& c : columns) out << c.name.toLower() + u' ' + c.type.toUpper();
    return out;
}
}  // namespace

DataStartup::DataStartup(QString baseFolder, Settings& settings, Notifier& notifier)
    : m_base(QDir(baseFolder).absolutePath()), m_settings(settings), m_notifier(notifier) {}

DataStartup::~DataStartup() = default;

std::unique_ptr<Store> DataStartup::takeStore() { return std::move(m_store); }

void DataStartup::progress(const QString& phase, int value) {
    if (onProgress) onProgress(phase, value);
}

void DataStartup::archiveFailure(const QString& text) {
    m_archiveFailed = true;
    m_notifier.message(MsgIcon::Error, QString(), text);
}

bool DataStartup::lockBase() {
    // A base folder that cannot be made is told by the folder step.
    if (!QDir().mkpath(m_base)) return true;
    m_lock = std::make_unique<InstanceLock>(m_base);
    if (m_lock->tryLock()) return true;
    m_notifier.message(MsgIcon::Error, QStringLiteral("Zelvarin"), m_lock->refusal());
    m_lock.reset();
    return false;
}

std::unique_ptr<InstanceLock> DataStartup::takeLock() { return std::move(m_lock); }

bool DataStartup::ensureFolders() {
    progress(QStringLiteral("Verifica cartella dati"), 43);
    const QString data = dataDir(m_base);
    if (!QDir().mkpath(data)) {
        m_notifier.message(MsgIcon::Error, QString(), QStringLiteral("Non riesco a creare ") + m_base +
                                                          QStringLiteral("/dati"));
        return false;
    }
    const QString receipts = QDir(m_base).filePath(QString::fromUtf16(kReceiptFolder));
    if (!QDir().mkpath(receipts)) {
        m_notifier.message(MsgIcon::Error, QString(), QStringLiteral("Non riesco a creare ") + receipts);
        return false;
    }
    progress(QString(), 44);
    return true;
}

void DataStartup::loadSettings() {
    progress(QStringLiteral("Lettura parametri di configurazione"), 45);
    // One message for every value that could not be read, not one box each.
    const QStringList errors = m_settings.load();
    if (!errors.isEmpty()) m_notifier.message(MsgIcon::Error, QString(), errors.join(QStringLiteral("\r\n")));
    const QStringList moved = m_settings.loadNotes();
    if (!moved.isEmpty())
        m_notifier.message(MsgIcon::Information, QString(),
                           QStringLiteral("Archivi cercati nella cartella dati di questa installazione:\r\n") +
                               moved.join(QStringLiteral("\r\n")));
}

bool DataStartup::createArchives() {
    progress(QStringLiteral("Controllo e creazione tabelle"), 90);
    const QString data = dataDir(m_base);
    if (!QDir().mkpath(data)) {
        m_notifier.message(MsgIcon::Error, QString(),
                           QStringLiteral("Non riesco a creare ") + m_base + QStringLiteral("/Dati") +
                               QStringLiteral("\n\r") +
                               QStringLiteral("Verificare che il disco sia accessibile in scrittura e riavviare "
                                              "il programma"));
        return false;
    }
    try {
        m_store = std::make_unique<Store>(data);
    } catch (const StoreError& e) {
        m_notifier.message(MsgIcon::Error, QString(), QStringLiteral("Errore ") + e.message());
        return false;
    }
    removeLeftoverSuperJournals();
    checkArchives();
    m_creationFailures = createMissingArchives(*m_store, m_base, Clock::yearSuffix());
    for (const QString& f : std::as_const(m_creationFailures)) archiveFailure(f);
    progress(QString(), 92);
    return true;
}

void DataStartup::removeLeftoverSuperJournals() {
    // A crash during a commit over several archives leaves a super-journal naming the
    // archives' journals. Opening those archives rolls them back; once none of them is
    // left, the super-journal is of no use. Only this instance works here: it holds the lock.
    const QDir data(dataDir(m_base));
    const QStringList leftovers =
        data.entryList({QStringLiteral(".zelvarin-store-mj*")}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : leftovers) {
        const QString path = data.filePath(name);
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly)) continue;
        const QList<QByteArray> journals = f.readAll().split('\0');
        f.close();
        bool pending = false;
        for (const QByteArray& j : journals) {
            if (j.isEmpty()) continue;
            const QString journal = QFile::decodeName(j);
            if (!QFileInfo::exists(journal) || !journal.endsWith(QStringLiteral("-journal"))) continue;
            const QString archive = journal.chopped(8);
            try {
                m_store->table(archive);
                m_store->release(archive);
            } catch (const StoreError&) {
            }
            pending = pending || QFileInfo::exists(journal);
        }
        if (!pending && QFileInfo::exists(path)) QFile::remove(path);
    }
}

void DataStartup::checkArchives() {
    QStringList paths;
    const QString yy = Clock::yearSuffix();
    for (const ArchiveDef& a : archiveCatalogue()) {
        QString p = a.pathKey.isEmpty() ? QString() : m_settings.text(kPath, a.pathKey).trimmed();
        if (p.isEmpty()) p = archiveLocation(m_base, a, yy);
        p = resolvePath(p);
        if (!paths.contains(p)) paths << p;
    }
    for (const QString& p : std::as_const(paths)) {
        if (!QFileInfo(p).isFile()) continue;
        try {
            const QString t = m_store->table(p);
            m_store->scalar(QStringLiteral("SELECT COUNT(*) FROM (SELECT * FROM %1 LIMIT 1)").arg(t));
        } catch (const StoreError& e) {
            m_store->markDamaged(p, e.message());
            m_damaged << p;
            m_archiveFailed = true;
        }
    }
}

void DataStartup::reportDamaged() {
    if (m_damaged.isEmpty()) return;
    QStringList lines;
    for (const QString& p : std::as_const(m_damaged)) lines << Store::damagedMessage(p);
    m_notifier.message(MsgIcon::Error, QString(), lines.join(QStringLiteral("\r\n")));
}

void DataStartup::ensurePartnerFile() {
    const QString path = QDir(m_base).filePath(QString::fromUtf16(kPartnerFile));
    if (QFileInfo::exists(path)) return;
    IniFile ini(path);
    for (const char16_t* key : {u"Nome Partner", u"Link Partner", u"Logo Partner"})
        ini.setValue(QStringLiteral("Partner"), QString::fromUtf16(key), QString());
    if (!ini.save()) {
        m_settingsFailed = true;
        m_notifier.message(MsgIcon::Error, QString(), QStringLiteral("Errore: ") + ini.errorString());
    }
}

void DataStartup::installReferenceData() {
    if (!installReferenceTables) return;
    for (const QString& f : installReferenceTables(m_base))
        m_notifier.message(MsgIcon::Error, QString(), QStringLiteral("Errore ") + f);
}

void DataStartup::setQuotePathDefaults() {
    progress(QStringLiteral("Impostazione programma da configurazione"), 93);
    for (const char16_t* key : {u"Archivio preventivi Master", u"Archivio preventivi Detail"}) {
        const int i = m_settings.indexOf(kPath, key);
        if (m_settings.valueAt(i).toString().trimmed().isEmpty())
            m_settings.setValueAt(i, m_settings.defaultValue(m_settings.def(i)));
    }
}

void DataStartup::emptyWorkingTable(const QString& file, const QString& sourcePath, bool copyWhenMissing) {
    const QString target = dataFile(m_base, file);
    const QString name = QFileInfo(file).completeBaseName();
    if (m_store->isDamaged(target)) return;  // told with the damaged archives
    try {
        if (!QFileInfo::exists(target)) {
            if (!copyWhenMissing || sourcePath.trimmed().isEmpty() || !m_store->usable(sourcePath)) return;
            m_store->createEmptyCopy(sourcePath, target);
        }
        const QString t = m_store->table(target);
        // An empty table is left alone: no write, no wait for the disk.
        if (!m_store->scalar(QStringLiteral("SELECT EXISTS (SELECT 1 FROM %1)").arg(t)).toBool()) return;
        m_store->exec(QStringLiteral("DELETE FROM %1").arg(t));
        if (m_store->scalar(QStringLiteral("SELECT COUNT(*) FROM %1").arg(t)).toLongLong() > 0)
            m_notifier.message(MsgIcon::Error, QString(), QStringLiteral("Il database %1 non è vuoto").arg(name));
    } catch (const StoreError& e) {
        archiveFailure(QStringLiteral("Il database %1 non può essere svuotato: %2").arg(name, e.message()));
    }
}

void DataStartup::prepareWorkingTables() {
    progress(QStringLiteral("Verifica aggiornamento campi archivi"), 95);
    if (!m_store) return;
    // Quote lines take the current columns of their archive at every start: a copy that
    // has them already is kept, any other is made again.
    const QString prev = dataFile(m_base, QStringLiteral("prev_tmp.db"));
    const QString quoteLines = m_settings.text(kPath, u"Archivio preventivi Detail");
    if (!m_store->isDamaged(prev) && QFileInfo::exists(prev)) {
        bool same = false;
        try {
            same = m_store->usable(quoteLines) && columnText(m_store->columns(prev)) == columnText(m_store->columns(quoteLines));
        } catch (const StoreError&) {
        }
        if (!same) {
            m_store->release(prev);
            QFile::remove(prev);
        }
    }
    emptyWorkingTable(QStringLiteral("prev_tmp.db"), m_settings.text(kPath, u"Archivio preventivi Detail"), true);
    emptyWorkingTable(QStringLiteral("dett_ddt_tmp.db"), m_settings.text(kPath, u"Archivio DDT Detail"), true);
    emptyWorkingTable(QStringLiteral("fatt_tmp.db"), m_settings.text(kPath, u"Archivio fatture Detail"), true);
    emptyWorkingTable(QStringLiteral("mov_tmp.db"), m_settings.text(kPath, u"Archivio DDT Detail"), true);
}

void DataStartup::fillMissingPaths() {
    progress(QString(), 96);
    const int count = zel::fillMissingPaths(m_settings);
    if (count > 0)
        m_notifier.message(MsgIcon::Warning, QStringLiteral("Archivi mancanti"),
                           QStringLiteral("Attenzione sono stati trovati %1 archivi mancanti. Impostati archivi "
                                          "predefiniti!")
                               .arg(count));
}

void DataStartup::upgradeColumns() {
    if (!m_store || !m_settings.flag(u"System", u"Controlla campi archivi")) return;
    const UpgradeOutcome out =
        zel::upgradeColumns(*m_store, m_settings, m_notifier, [this](const QString& p) { progress(p, 96); });
    m_agents = out.agents;
    if (!out.failure.isEmpty()) {
        m_notifier.beep();
        archiveFailure(QStringLiteral("Aggiornamento campi archivi interrotto: ") + out.failure);
    }
}

void DataStartup::repairWarehouse() {
    if (!m_store) return;
    const QString path = m_settings.text(kPath, u"Archivio Magazzino");
    if (m_store->isDamaged(path)) return;  // told with the damaged archives
    try {
        const QString t = m_store->table(path);
        // Blank texts sort after every number: the factor's index finds the few rows to mend.
        m_store->exec(
            QStringLiteral("UPDATE %1 SET FM = 1 WHERE FM IS NULL OR FM = 0 OR (FM >= '' AND TRIM(FM) = '')").arg(t));
    } catch (const StoreError& e) {
        m_archiveFailed = true;
        m_notifier.message(MsgIcon::Warning, QStringLiteral("Archivio Magazzino articoli"),
                           QStringLiteral("Errore nell'apertura dell'archivio. Attivare Controllo campi archivio "
                                          "e riavviare il programma.\r\n") +
                               e.message());
    }
}

void DataStartup::loadCurrencies() {
    progress(QString(), 98);
    m_currencies.clear();
    if (!m_store) return;
    try {
        const QString path = dataFile(m_base, QStringLiteral("valute.db"));
        for (const QVariantList& r :
             m_store->rows(QStringLiteral("SELECT codice FROM %1 ORDER BY rowid").arg(m_store->table(path))))
            m_currencies << r.first().toString();
    } catch (const StoreError&) {
        m_notifier.beep();
    }
}

void DataStartup::renumberArchives() {
    if (!m_store) return;
    try {
        QStringList paths;
        for (const QStringView key : renumberedPathKeys()) {
            const QString path = m_settings.text(kPath, key);
            if (m_store->usable(path) && !knownNumbered(*m_store, path)) paths << path;
        }
        if (paths.isEmpty()) return progress(QString(), 99);
        Transaction tx(*m_store);
        for (const QString& path : std::as_const(paths)) renumberIds(*m_store, path);
        tx.commit();
        for (const QString& path : std::as_const(paths)) rememberNumbered(*m_store, path);
    } catch (const StoreError& e) {
        archiveFailure(QStringLiteral("Errore nella rinumerazione degli archivi: ") + e.message());
    }
    progress(QString(), 99);
}

void DataStartup::writeMainSettingsIfMissing() {
    QString error;
    if (!m_settings.writeMissingFiles(&error)) {
        m_settingsFailed = true;
        m_notifier.message(MsgIcon::Error, QString(),
                           QStringLiteral("Impossibile scrivere la configurazione: ") + error);
    }
}

int DataStartup::exitCode() const {
    if (m_archiveFailed || !m_creationFailures.isEmpty()) return kExitArchive;
    if (m_settingsFailed) return kExitSettings;
    return kExitDone;
}

int DataStartup::runAll() {
    if (!lockBase()) return kExitInUse;
    if (!ensureFolders()) return kExitFolder;
    loadSettings();
    if (!createArchives()) return kExitFolder;
    ensurePartnerFile();
    installReferenceData();
    setQuotePathDefaults();
    prepareWorkingTables();
    fillMissingPaths();
    upgradeColumns();
    repairWarehouse();
    loadCurrencies();
    renumberArchives();
    writeMainSettingsIfMissing();
    reportDamaged();
    return exitCode();
}

}  // namespace zel
