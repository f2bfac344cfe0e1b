#include "store/DataStartup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "core/Clock.h"
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
}

DataStartup::DataStartup(QString baseFolder, Settings& settings, Notifier& notifier)
    : m_base(QDir(baseFolder).absolutePath()), m_settings(settings), m_notifier(notifier) {}

DataStartup::~DataStartup() = default;

std::unique_ptr<Store> DataStartup::takeStore() { return std::move(m_store); }

void DataStartup::progress(const QString& phase, int value) {
    if (onProgress) onProgress(phase, value);
}

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
    for (const QString& e : m_settings.load()) m_notifier.message(MsgIcon::Error, QString(), e);
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
    m_creationFailures = createMissingArchives(*m_store, m_base, Clock::yearSuffix());
    for (const QString& f : std::as_const(m_creationFailures)) m_notifier.message(MsgIcon::Error, QString(), f);
    progress(QString(), 92);
    return true;
}

void DataStartup::ensurePartnerFile() {
    const QString path = QDir(m_base).filePath(QString::fromUtf16(kPartnerFile));
    if (QFileInfo::exists(path)) return;
    IniFile ini(path);
    for (const char16_t* key : {u"Nome Partner", u"Link Partner", u"Logo Partner"})
        ini.setValue(QStringLiteral("Partner"), QString::fromUtf16(key), QString());
    if (!ini.save()) m_notifier.message(MsgIcon::Error, QString(), QStringLiteral("Errore ") + ini.errorString());
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
    const QString notEmpty = QStringLiteral("Il database %1 non è vuoto").arg(name);
    try {
        if (!QFileInfo::exists(target)) {
            if (!copyWhenMissing || sourcePath.trimmed().isEmpty() || !Store::exists(sourcePath)) return;
            m_store->createEmptyCopy(sourcePath, target);
        }
        const QString t = m_store->table(target);
        m_store->exec(QStringLiteral("DELETE FROM %1").arg(t));
        if (m_store->scalar(QStringLiteral("SELECT COUNT(*) FROM %1").arg(t)).toLongLong() > 0)
            m_notifier.message(MsgIcon::Error, QString(), notEmpty);
    } catch (const StoreError& e) {
        m_notifier.message(MsgIcon::Error, QString(), notEmpty + QStringLiteral("\n") + e.message());
    }
}

void DataStartup::prepareWorkingTables() {
    progress(QStringLiteral("Verifica aggiornamento campi archivi"), 95);
    if (!m_store) return;
    // Quote lines take the current columns of their archive at every start.
    const QString prev = dataFile(m_base, QStringLiteral("prev_tmp.db"));
    m_store->release(prev);
    QFile::remove(prev);
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
        qWarning("Aggiornamento campi archivi interrotto: %s", qUtf8Printable(out.failure));
    }
}

void DataStartup::repairWarehouse() {
    if (!m_store) return;
    const QString path = m_settings.text(kPath, u"Archivio Magazzino");
    try {
        const QString t = m_store->table(path);
        m_store->exec(QStringLiteral("UPDATE %1 SET FM = 1 WHERE FM IS NULL OR FM = 0 OR TRIM(FM) = ''").arg(t));
    } catch (const StoreError&) {
        m_notifier.message(MsgIcon::Warning, QStringLiteral("Archivio Magazzino articoli"),
                           QStringLiteral("Errore nell'apertura dell'archivio. Attivare Controllo campi archivio "
                                          "oppure cancellare archivio magazzino e riavviare il programma."));
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
        Transaction tx(*m_store);
        for (const QStringView key : renumberedPathKeys()) renumberIds(*m_store, m_settings.text(kPath, key));
        tx.commit();
    } catch (const StoreError& e) {
        m_notifier.message(MsgIcon::Error, QString(), QStringLiteral("Errore ") + e.message());
    }
    progress(QString(), 99);
}

void DataStartup::writeMainSettingsIfMissing() {
    QString error;
    if (!m_settings.writeMainFileIfMissing(&error))
        m_notifier.message(MsgIcon::Error, QString(), QStringLiteral("Errore ") + error);
}

int DataStartup::runAll() {
    if (!ensureFolders()) return 1;
    loadSettings();
    if (!createArchives()) return 1;
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
    return m_creationFailures.isEmpty() ? 0 : 2;
}

}  // namespace zel
