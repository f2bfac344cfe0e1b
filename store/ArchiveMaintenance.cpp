#include "store/ArchiveMaintenance.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QtEndian>
#include <QSet>

#include "core/Notifier.h"
#include "core/Paths.h"
#include "settings/Settings.h"
#include "store/ArchiveCatalogue.h"
#include "store/Store.h"

namespace zel {

namespace {

const QString kPath = QStringLiteral("Path");

struct Addition {
    QString name;
    QString type;
};

// " ADD um char(10),ADD fm FLOAT" -> {um CHAR(10)}, {fm FLOAT}
QList<Addition> parseAdditions(QStringView text) {
    QList<Addition> out;
    QStringList pieces;
    QString current;
    int depth = 0;
    for (const QChar c : text) {
        if (c == u'(') ++depth;
        if (c == u')') --depth;
        if (c == u',' && depth == 0) {
            pieces << current;
            current.clear();
        } else {
            current += c;
        }
    }
    pieces << current;
    static const QRegularExpression re(QStringLiteral("^\\s*ADD\\s+(\\w+)\\s+(.+?)\\s*$"),
                                       QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression spaceParen(QStringLiteral("\\s+\\("));
    for (const QString& p : std::as_const(pieces)) {
        const QRegularExpressionMatch m = re.match(p);
        if (!m.hasMatch()) continue;
        QString type = m.captured(2).toUpper();
        type.replace(spaceParen, QStringLiteral("("));
        out.append({m.captured(1), type});
    }
    return out;
}

QString pathFor(const Settings& settings, QStringView role, const QString& master, const QString& lines) {
    if (role == u"@M") return master;
    if (role == u"@L") return lines;
    return settings.text(kPath, role);
}

// Adds the columns of one probe that the archive lacks, all or none.
// The columns of each archive, read once per upgrade rather than once per probe.
using ColumnCache = QHash<QString, QSet<QString>>;

int runProbe(Store& store, const QString& path, const ColumnProbe& probe, ColumnCache& cache) {
    if (path.trimmed().isEmpty() || !store.usable(path)) return 0;
    const QString key = QFileInfo(resolvePath(path)).absoluteFilePath();
    if (!cache.contains(key)) {
        QSet<QString> names;
        for (const ColumnInfo& c : store.columns(path)) names.insert(c.name.toLower());
        cache.insert(key, names);
    }
    QSet<QString> present = cache.value(key);
    QList<Addition> missing;
    for (const Addition& a : parseAdditions(probe.additions))
        if (!present.contains(a.name.toLower())) {
            missing.append(a);
            present.insert(a.name.toLower());
        }
    if (missing.isEmpty()) return 0;
    const QString table = store.table(path);
    Transaction tx(store);
    for (const Addition& a : std::as_const(missing))
        store.exec(QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 %3").arg(table, Store::plainName(a.name), a.type));
    tx.commit();
    cache.insert(key, present);
    return static_cast<int>(missing.size());
}

}  // namespace

QStringList createMissingArchives(Store& store, const QString& base, const QString& yearSuffix) {
    QStringList failures;
    QSet<QString> created;
    for (const CreationStep& step : creationOrder()) {
        const ArchiveDef* def = findArchive(step.file);
        if (!def) continue;
        const QString location = archiveLocation(base, *def, yearSuffix);
        if (QFileInfo(location).isFile()) continue;
        if (!step.onlyWhenCreated.isEmpty() && !created.contains(step.onlyWhenCreated.toString())) continue;
        if (const QStringView other = companionOf(step.file); !other.isEmpty()) {
            // An empty header archive beside lines that refer to it would hide them.
            const QString otherPath = archiveLocation(base, *findArchive(other), yearSuffix);
            if (store.usable(otherPath)) {
                qint64 rows = 0;
                try {
                    rows = store.scalar(QStringLiteral("SELECT COUNT(*) FROM (SELECT 1 FROM %1 LIMIT 1)")
                                            .arg(store.table(otherPath)))
                               .toLongLong();
                } catch (const StoreError& e) {
                    failures << QStringLiteral("L'archivio %1 manca e %2 non si può leggere: %3")
                                    .arg(QDir::toNativeSeparators(location), QDir::toNativeSeparators(otherPath),
                                         e.message());
                    continue;
                }
                if (rows > 0) {
                    failures << QStringLiteral("L'archivio %1 manca mentre %2 contiene righe: non è stato ricreato "
                                               "vuoto. Ripristinarlo da una copia di sicurezza.")
                                    .arg(QDir::toNativeSeparators(location), QDir::toNativeSeparators(otherPath));
                    continue;
                }
            }
        }
        try {
            if (!def->copyOf.isEmpty()) {
                const ArchiveDef* source = findArchive(def->copyOf);
                const QString sourcePath = archiveLocation(base, *source, yearSuffix);
                if (!QFileInfo(sourcePath).isFile()) continue;  // its own failure is reported already
                store.createEmptyCopy(sourcePath, location);
            } else {
                store.createArchive(location, def->columns.toString());
            }
            created.insert(step.file.toString());
        } catch (const StoreError& e) {
            failures << QStringLiteral("Errore nella creazione dell'archivio %1:\n%2").arg(location, e.message());
        }
    }
    return failures;
}

int fillMissingPaths(Settings& settings) {
    int count = 0;
    for (const QStringView key : requiredPathKeys()) {
        const int i = settings.indexOf(kPath, key);
        if (!settings.valueAt(i).toString().trimmed().isEmpty()) continue;
        settings.setValueAt(i, settings.defaultValue(settings.def(i)));
        ++count;
    }
    return count;
}

bool quantityNeedsDecimals(Store& store, const QString& linesPath) {
    if (!store.usable(linesPath)) return false;
    if (store.scalar(QStringLiteral("SELECT COUNT(*) FROM (SELECT 1 FROM %1 LIMIT 1)").arg(store.table(linesPath)))
            .toInt() == 0)
        return false;
    for (const ColumnInfo& c : store.columns(linesPath)) {
        if (c.name.compare(u"quant", Qt::CaseInsensitive) != 0) continue;
        const QString t = c.type.toUpper();
        return !(t.contains(u"FLOA") || t.contains(u"REAL") || t.contains(u"DOUB") || t.contains(u"NUM") ||
                 t.contains(u"DEC"));
    }
    return false;
}

void convertQuantityToDecimal(Store& store, const QString& linesPath, const QString& base) {
    const QString source = resolvePath(linesPath);
    const QString copy = dataFile(base, QStringLiteral("fatt.db"));
    if (!QFileInfo::exists(copy) && !QFile::copy(source, copy))
        throw StoreError(QStringLiteral("Impossibile copiare %1 in %2").arg(source, copy));
    const QString schema = store.schemaOf(linesPath);
    const QString name = store.tableNameOf(linesPath);
    QStringList defs, names;
    for (const ColumnInfo& c : store.columns(linesPath)) {
        const bool quant = c.name.compare(u"quant", Qt::CaseInsensitive) == 0;
        defs << Store::plainName(c.name) + QLatin1Char(' ') + (quant ? QStringLiteral("FLOAT") : c.type);
        names << Store::quoteName(c.name);
    }
    const QString temp = Store::quoteName(name + QStringLiteral("_conv"));
    const QString old = schema + QLatin1Char('.') + Store::quoteName(name);
    Transaction tx(store);
    store.exec(QStringLiteral("CREATE TABLE %1.%2 (%3)").arg(schema, temp, defs.join(u", ")));
    store.exec(QStringLiteral("INSERT INTO %1.%2 (%3) SELECT %3 FROM %4 ORDER BY rowid")
                   .arg(schema, temp, names.join(u", "), old));
    store.exec(QStringLiteral("DROP TABLE %1").arg(old));
    store.exec(QStringLiteral("ALTER TABLE %1.%2 RENAME TO %3").arg(schema, temp, Store::quoteName(name)));
    tx.commit();
}

bool widenTextColumn(Store& store, const QString& path, const QString& column, int width) {
    const QList<ColumnInfo> columns = store.columns(path);
    bool narrow = false;
    QStringList defs, names;
    for (const ColumnInfo& c : columns) {
        const bool target = c.name.compare(column, Qt::CaseInsensitive) == 0;
        narrow = narrow || (target && c.maxLength() > 0 && c.maxLength() < width);
        defs << Store::plainName(c.name) + QLatin1Char(' ') +
                    (target ? QStringLiteral("CHAR(%1)").arg(width) : c.type);
        names << Store::quoteName(c.name);
    }
    if (!narrow) return false;
    const QString schema = store.schemaOf(path);
    const QString name = store.tableNameOf(path);
    const QString temp = Store::quoteName(name + QStringLiteral("_wide"));
    const QString old = schema + QLatin1Char('.') + Store::quoteName(name);
    Transaction tx(store);
    store.exec(QStringLiteral("CREATE TABLE %1.%2 (%3)").arg(schema, temp, defs.join(u", ")));
    store.exec(QStringLiteral("INSERT INTO %1.%2 (rowid, %3) SELECT rowid, %3 FROM %4 ORDER BY rowid")
                   .arg(schema, temp, names.join(u", "), old));
    store.exec(QStringLiteral("DROP TABLE %1").arg(old));
    store.exec(QStringLiteral("ALTER TABLE %1.%2 RENAME TO %3").arg(schema, temp, Store::quoteName(name)));
    tx.commit();
    return true;
}

UpgradeOutcome upgradeColumns(Store& store, const Settings& settings, Notifier& notifier,
                              const std::function<void(const QString&)>& phase) {
    UpgradeOutcome out;
    ColumnCache cache;
    auto say = [&](const char16_t* text) {
        if (phase) phase(QString::fromUtf16(text));
    };
    const QString none;
    auto runList = [&](std::span<const ColumnProbe> probes, const QString& master, const QString& lines,
                       const std::function<void(size_t)>& before) {
        for (size_t i = 0; i < probes.size(); ++i) {
            if (before) before(i);
            out.columnsAdded += runProbe(store, pathFor(settings, probes[i].archive, master, lines), probes[i], cache);
        }
    };
    try {
        runList(probesBeforeInvoices(), none, none, [&](size_t i) {
            if (i == 0) say(u"Controllo Articoli di magazzino");
            if (i == 13) say(u"Controllo Preventivi");
        });
        say(u"Controllo Fatture");
        const QString pairs[2][2] = {
            {settings.text(kPath, u"Archivio fatture Master"), settings.text(kPath, u"Archivio fatture Detail")},
            {settings.text(kPath, u"Archivio fatture Master 2"), settings.text(kPath, u"Archivio fatture Detail 2")}};
        const QString registry = settings.text(kPath, u"Archivio anagrafica");
        if (store.usable(registry)) {
            // The seventh flag marks an agent; only the names of the agents are read.
            store.forEachRow(QStringLiteral("SELECT nome FROM %1 WHERE substr(extra_data, 7, 1) = '1'")
                                 .arg(store.table(registry)),
                             {}, [&out](const StoreRow& r) { out.agents << r.text(0).trimmed(); });
        }
        for (const auto& pair : pairs) {
            runList(invoiceProbesFirst(), pair[0], pair[1], {});
            if (quantityNeedsDecimals(store, pair[1]) &&
                notifier.ask(MsgIcon::Warning, QString(),
                             QStringLiteral("Il database Dettaglio Fatture non supporta i decimali nel campo "
                                            "\r\nquantità, per modificare il database cliccare YES")))
                convertQuantityToDecimal(store, pair[1], settings.baseFolder());
            runList(invoiceProbesSecond(), pair[0], pair[1], {});
            if (!pair[1].trimmed().isEmpty() && store.usable(pair[1]))
                widenTextColumn(store, pair[1], QStringLiteral("UNITAMIS"), kInvoiceUnitWidth);
        }
        runList(probesAfterInvoices(), none, none, [&](size_t i) {
            if (i == 0) say(u"Controllo DDT e movimenti");
            if (i == 4) say(u"Controllo Anagrafica");
            if (i == 13) say(u"Controllo Campi Archivio Ordini");
            if (i == 17) say(u"Controllo Campi Archivio Prima Nota");
        });
        // Order codes as wide as the registry and article codes they hold, rows kept.
        if (const QString orders = settings.text(kPath, u"Archivio Ordini");
            !orders.trimmed().isEmpty() && store.usable(orders))
            for (const char* column : {"COD_CLI", "COD_FORN", "COD_ART"})
                widenTextColumn(store, orders, QString::fromLatin1(column), kOrderCodeWidth);
        out.indexesMade = ensureIndexes(store, settings);
    } catch (const StoreError& e) {
        out.failure = e.message();
    }
    return out;
}

int ensureIndexes(Store& store, const Settings& settings) {
    int made = 0;
    for (const ArchiveIndex& ix : archiveIndexes()) {
        const QString path = ix.archive.endsWith(u".db") ? dataFile(settings.baseFolder(), ix.archive.toString())
                                                         : settings.text(kPath, ix.archive);
        if (path.trimmed().isEmpty() || !store.usable(path)) continue;
        const QString schema = store.schemaOf(path);
        if (store.scalar(QStringLiteral("SELECT COUNT(*) FROM %1.sqlite_master WHERE type = 'index' AND name = ?")
                             .arg(schema),
                         {ix.name.toString()})
                .toInt() > 0)
            continue;
        QStringList columns;
        bool complete = true;
        static const QRegularExpression word(QStringLiteral("^\\w+$"));
        for (const QString& part : ix.columns.toString().split(u'|')) {
            const QString c = part.trimmed();
            if (!word.match(c).hasMatch()) {
                columns << c;  // an expression of the catalogue
                continue;
            }
            complete = complete && store.hasColumn(path, c);
            columns << Store::plainName(c);
        }
        if (!complete) continue;  // an archive older than the column; the upgrade adds it first
        store.exec(QStringLiteral("CREATE INDEX IF NOT EXISTS %1.%2 ON %3 (%4)")
                       .arg(schema, Store::quoteName(ix.name.toString()),
                            Store::quoteName(store.tableNameOf(path)), columns.join(u", ")));
        ++made;
    }
    return made;
}

namespace {

// What identifies one state of an archive file: the engine's change counter, which every
// write in rollback-journal mode increments, and the size. Empty for a file in WAL mode,
// whose counter does not move.
QString fileState(const QString& path) {
    QFile f(resolvePath(path));
    if (!f.open(QIODevice::ReadOnly)) return {};
    const QByteArray header = f.read(100);
    if (header.size() < 100 || header.at(18) == 2) return {};
    const auto counter = qFromBigEndian<quint32>(header.constData() + 24);
    return QStringLiteral("%1:%2").arg(counter).arg(f.size());
}

void ensureStateTable(Store& store) {
    store.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS main.numbered_archives (path TEXT PRIMARY KEY, state TEXT)"));
}

}  // namespace

bool isNumbered(Store& store, const QString& path) {
    const QString t = store.table(path);
    // With rowids 1..N the position of a row is its rowid, and an index answers max().
    const QVariantList shape = store.rows(QStringLiteral("SELECT COUNT(*), MAX(rowid) FROM %1").arg(t)).first();
    if (shape[0].toLongLong() == 0) return true;
    if (shape[0].toLongLong() == shape[1].toLongLong())
        return !store.scalar(QStringLiteral("SELECT EXISTS (SELECT 1 FROM %1 WHERE ID IS NOT rowid)").arg(t)).toBool();
    return !store
                .scalar(QStringLiteral("SELECT EXISTS (SELECT 1 FROM (SELECT ID, row_number() OVER (ORDER BY rowid) "
                                       "AS n FROM %1) WHERE ID IS NOT n)")
                            .arg(t))
                .toBool();
}

bool knownNumbered(Store& store, const QString& path) {
    const QString state = fileState(path);
    if (state.isEmpty()) return false;
    ensureStateTable(store);
    return store.scalar(QStringLiteral("SELECT state FROM main.numbered_archives WHERE path = ?"),
                        {QFileInfo(resolvePath(path)).absoluteFilePath()})
               .toString() == state;
}

void rememberNumbered(Store& store, const QString& path) {
    const QString state = fileState(path);
    if (state.isEmpty() || store.inTransaction()) return;
    ensureStateTable(store);
    store.exec(QStringLiteral("INSERT OR REPLACE INTO main.numbered_archives (path, state) VALUES (?, ?)"),
               {QFileInfo(resolvePath(path)).absoluteFilePath(), state});
}

qint64 renumberIds(Store& store, const QString& path) {
    if (!store.usable(path)) return 0;
    const QString t = store.table(path);
    // Most starts find the archive numbered already: then nothing is written.
    if (isNumbered(store, path)) return store.scalar(QStringLiteral("SELECT COUNT(*) FROM %1").arg(t)).toLongLong();
    store.exec(QStringLiteral("UPDATE %1 AS t SET ID = r.n FROM (SELECT rowid AS rid, row_number() OVER "
                              "(ORDER BY rowid) AS n FROM %1) AS r WHERE t.rowid = r.rid AND t.ID IS NOT r.n")
                   .arg(t));
    return store.scalar(QStringLiteral("SELECT COUNT(*) FROM %1").arg(t)).toLongLong();
}

int switchToCurrentYear(Settings& settings, const QString& yearSuffix) {
    int changed = 0;
    for (const YearArchive& y : yearArchives()) {
        const QString file = dataFile(settings.baseFolder(), y.prefix.toString() + yearSuffix + QStringLiteral(".db"));
        if (!QFileInfo(file).isFile()) continue;
        if (settings.text(kPath, y.pathKey) != file) ++changed;
        settings.setValue(kPath, y.pathKey, file);
    }
    return changed;
}

QString yearSwitchMessage() {
    return QStringLiteral(
        "Locazione archivi modificata. \r\nVerificare la correttezza della modifica e fare clic sul bottone "
        "\"Conferma\" per renderla definitiva\r\nRiavviare Zelvarin per attivare le nuove impostazioni.");
}

}  // namespace zel
