#include "store/Store.h"

#include <sqlite3.h>

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>
#include <string>

#include "core/Paths.h"

namespace zel {

namespace {

constexpr int kMaxAttached = 10;  // the engine's compiled-in limit

QString fromText(const unsigned char* text, int bytes) {
    return QString::fromUtf8(reinterpret_cast<const char*>(text), bytes);
}

QString argText(sqlite3_value* v) {
    return fromText(sqlite3_value_text(v), sqlite3_value_bytes(v));
}

bool isAscii(const unsigned char* s, int n);

void resultText(sqlite3_context* ctx, const QString& s) {
    const QByteArray bytes = s.toUtf8();
    sqlite3_result_text(ctx, bytes.constData(), static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
}

void unicodeUpper(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return sqlite3_result_null(ctx);
    const unsigned char* s = sqlite3_value_text(argv[0]);
    const int n = sqlite3_value_bytes(argv[0]);
    if (isAscii(s, n)) {
        std::string out(reinterpret_cast<const char*>(s), static_cast<size_t>(n));
        for (char& c : out)
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
        sqlite3_result_text(ctx, out.data(), n, SQLITE_TRANSIENT);
        return;
    }
    resultText(ctx, argText(argv[0]).toUpper());
}

void unicodeLower(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return sqlite3_result_null(ctx);
    resultText(ctx, argText(argv[0]).toLower());
}

// LIKE with "%" and "_" over any character type; same() compares two characters after
// whatever case folding the caller wants. escape < 0: none.
template <class Ch, class Same>
bool wildcardMatch(const Ch* pat, qsizetype pn, const Ch* txt, qsizetype tn, int escape, Same same) {
    qsizetype p = 0, t = 0, starP = -1, starT = -1;
    while (t < tn) {
        if (p < pn) {
            const int pc = static_cast<int>(pat[p]);
            if (escape >= 0 && pc == escape && p + 1 < pn) {
                if (same(pat[p + 1], txt[t])) {
                    p += 2;
                    ++t;
                    continue;
                }
            } else if (pc == '%') {
                starP = p++;
                starT = t;
                continue;
            } else if (pc == '_' || same(pat[p], txt[t])) {
                ++p;
                ++t;
                continue;
            }
        }
        if (starP < 0) return false;
        p = starP + 1;
        t = ++starT;
    }
    while (p < pn && pat[p] == '%') ++p;
    return p == pn;
}

bool isAscii(const unsigned char* s, int n) {
    for (int i = 0; i < n; ++i)
        if (s[i] & 0x80) return false;
    return true;
}

unsigned char asciiFold(unsigned char c) { return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + 32) : c; }


void unicodeLike(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    {
        const unsigned char* pat = sqlite3_value_text(argv[0]);
        const int pn = sqlite3_value_bytes(argv[0]);
        const unsigned char* txt = sqlite3_value_text(argv[1]);
        const int tn = sqlite3_value_bytes(argv[1]);
        int esc = -1;
        if (argc == 3) {
            const unsigned char* e = sqlite3_value_text(argv[2]);
            if (e && sqlite3_value_bytes(argv[2]) == 1) esc = e[0];
        }
        if ((argc < 3 || esc >= 0) && isAscii(pat, pn) && isAscii(txt, tn))
            return sqlite3_result_int(
                ctx, wildcardMatch(pat, pn, txt, tn, esc,
                                   [](unsigned char a, unsigned char b) { return asciiFold(a) == asciiFold(b); })
                         ? 1
                         : 0);
    }
    QChar escape;
    if (argc == 3) {
        const QString e = argText(argv[2]);
        if (e.size() != 1) {
            sqlite3_result_error(ctx, "ESCAPE expression must be a single character", -1);
            return;
        }
        escape = e[0].toCaseFolded();
    }
    const QString pattern = argText(argv[0]).toCaseFolded();
    const QString text = argText(argv[1]).toCaseFolded();
    const auto* pu = reinterpret_cast<const char16_t*>(pattern.utf16());
    const auto* tu = reinterpret_cast<const char16_t*>(text.utf16());
    const bool match = wildcardMatch(pu, pattern.size(), tu, text.size(), escape.isNull() ? -1 : int(escape.unicode()),
                                     [](char16_t a, char16_t b) { return a == b; });
    sqlite3_result_int(ctx, match ? 1 : 0);
}

void bindValue(sqlite3_stmt* st, int i, const QVariant& v) {
    if (!v.isValid() || v.isNull()) {
        sqlite3_bind_null(st, i);
        return;
    }
    switch (v.typeId()) {
        case QMetaType::Bool: sqlite3_bind_int(st, i, v.toBool() ? 1 : 0); break;
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Long:
        case QMetaType::Short: sqlite3_bind_int64(st, i, v.toLongLong()); break;
        case QMetaType::Double:
        case QMetaType::Float: sqlite3_bind_double(st, i, v.toDouble()); break;
        case QMetaType::QDate: {
            const QByteArray b = v.toDate().toString(Qt::ISODate).toUtf8();
            sqlite3_bind_text(st, i, b.constData(), static_cast<int>(b.size()), SQLITE_TRANSIENT);
            break;
        }
        case QMetaType::QDateTime: {
            const QByteArray b = v.toDateTime().toString(Qt::ISODate).toUtf8();
            sqlite3_bind_text(st, i, b.constData(), static_cast<int>(b.size()), SQLITE_TRANSIENT);
            break;
        }
        case QMetaType::QByteArray: {
            const QByteArray b = v.toByteArray();
            sqlite3_bind_blob(st, i, b.constData(), static_cast<int>(b.size()), SQLITE_TRANSIENT);
            break;
        }
        default: {
            const QByteArray b = v.toString().toUtf8();
            sqlite3_bind_text(st, i, b.constData(), static_cast<int>(b.size()), SQLITE_TRANSIENT);
        }
    }
}

QVariant columnValue(sqlite3_stmt* st, int i) {
    switch (sqlite3_column_type(st, i)) {
        case SQLITE_INTEGER: return QVariant(static_cast<qlonglong>(sqlite3_column_int64(st, i)));
        case SQLITE_FLOAT: return QVariant(sqlite3_column_double(st, i));
        case SQLITE_TEXT: return fromText(sqlite3_column_text(st, i), sqlite3_column_bytes(st, i));
        case SQLITE_BLOB:
            return QByteArray(static_cast<const char*>(sqlite3_column_blob(st, i)), sqlite3_column_bytes(st, i));
        default: return QVariant();
    }
}

struct Finalizer {
    sqlite3_stmt* st;
    ~Finalizer() { sqlite3_finalize(st); }
};

}  // namespace

Store::Store(const QString& dataDir) {
    QDir().mkpath(dataDir);
    const QString mainPath = QDir(dataDir).filePath(QStringLiteral(".zelvarin-store"));
    const int rc = sqlite3_open_v2(QFile::encodeName(mainPath).constData(), &m_db,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_URI, nullptr);
    if (rc != SQLITE_OK) {
        const QString msg = m_db ? engineMessage(sqlite3_extended_errcode(m_db), QString::fromUtf8(sqlite3_errmsg(m_db)))
                                 : engineMessage(SQLITE_NOMEM, QString());
        sqlite3_close(m_db);
        m_db = nullptr;
        throw StoreError(QStringLiteral("Impossibile aprire %1: %2").arg(mainPath, msg));
    }
    sqlite3_busy_timeout(m_db, 5000);
    sqlite3_extended_result_codes(m_db, 1);
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    sqlite3_create_function_v2(m_db, "upper", 1, flags, nullptr, unicodeUpper, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(m_db, "lower", 1, flags, nullptr, unicodeLower, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(m_db, "like", 2, flags, nullptr, unicodeLike, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(m_db, "like", 3, flags, nullptr, unicodeLike, nullptr, nullptr, nullptr);
    exec(QStringLiteral("PRAGMA journal_mode=DELETE"));
    exec(QStringLiteral("PRAGMA synchronous=FULL"));
}

Store::~Store() {
    if (m_db) sqlite3_close_v2(m_db);
}

QString Store::engineMessage(int code, const QString& engineText) {
    QString cause;
    switch (code & 0xff) {
        case SQLITE_READONLY: cause = QStringLiteral("archivio o cartella in sola lettura"); break;
        case SQLITE_FULL: cause = QStringLiteral("disco pieno"); break;
        case SQLITE_BUSY:
        case SQLITE_LOCKED: cause = QStringLiteral("archivio bloccato da un altro programma"); break;
        case SQLITE_CORRUPT: cause = QStringLiteral("archivio danneggiato"); break;
        case SQLITE_NOTADB: cause = QStringLiteral("il file non è un archivio"); break;
        case SQLITE_CANTOPEN: cause = QStringLiteral("impossibile aprire il file"); break;
        case SQLITE_PERM:
        case SQLITE_AUTH: cause = QStringLiteral("accesso negato"); break;
        case SQLITE_IOERR: cause = QStringLiteral("errore di lettura o scrittura sul disco"); break;
        case SQLITE_NOMEM: cause = QStringLiteral("memoria insufficiente"); break;
        case SQLITE_CONSTRAINT: cause = QStringLiteral("valore non ammesso dall'archivio"); break;
        case SQLITE_TOOBIG: cause = QStringLiteral("valore troppo grande"); break;
        default: break;
    }
    if (cause.isEmpty()) return engineText;
    return engineText.isEmpty() ? cause : cause + QStringLiteral(" (") + engineText + QLatin1Char(')');
}

void Store::fail(const QString& context) const {
    const QString text = engineMessage(sqlite3_extended_errcode(m_db), QString::fromUtf8(sqlite3_errmsg(m_db)));
    throw StoreError(context.isEmpty() ? text : context + QStringLiteral(": ") + text);
}

QString Store::quoteName(const QString& name) {
    QString n = name;
    n.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + n + QLatin1Char('"');
}

int ColumnInfo::maxLength() const {
    static const QRegularExpression re(QStringLiteral("CHAR\\s*\\((\\d+)\\)"), QRegularExpression::CaseInsensitiveOption);
    const auto m = re.match(type);
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

QString Store::likeLiteral(const QString& text) {
    QString t;
    t.reserve(text.size() + 4);
    for (const QChar c : text) {
        if (c == u'\\' || c == u'%' || c == u'_') t.append(u'\\');
        t.append(c);
    }
    return t;
}

QString Store::plainName(const QString& name) {
    static const QRegularExpression word(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    return word.match(name).hasMatch() ? name : quoteName(name);
}

QString Store::canonical(const QString& path) {
    const QFileInfo fi(resolvePath(path));
    const QString c = fi.canonicalFilePath();
    return c.isEmpty() ? fi.absoluteFilePath() : c;
}

bool Store::exists(const QString& path) {
    const QFileInfo fi(resolvePath(path));
    return fi.isFile();
}

sqlite3_stmt* Store::prepare(const QString& sql, const QVariantList& params) {
    sqlite3_stmt* st = nullptr;
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v2(m_db, text.constData(), static_cast<int>(text.size()), &st, nullptr) != SQLITE_OK)
        fail(QString());
    for (int i = 0; i < params.size(); ++i) bindValue(st, i + 1, params[i]);
    return st;
}

void Store::exec(const QString& sql, const QVariantList& params) {
    Finalizer f{prepare(sql, params)};
    int rc;
    while ((rc = sqlite3_step(f.st)) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE) fail(QString());
}

QList<QVariantList> Store::rows(const QString& sql, const QVariantList& params) {
    Finalizer f{prepare(sql, params)};
    QList<QVariantList> out;
    const int n = sqlite3_column_count(f.st);
    int rc;
    while ((rc = sqlite3_step(f.st)) == SQLITE_ROW) {
        QVariantList row;
        row.reserve(n);
        for (int i = 0; i < n; ++i) row.append(columnValue(f.st, i));
        out.append(std::move(row));
    }
    if (rc != SQLITE_DONE) fail(QString());
    return out;
}

QVariant Store::scalar(const QString& sql, const QVariantList& params) {
    Finalizer f{prepare(sql, params)};
    const int rc = sqlite3_step(f.st);
    if (rc == SQLITE_ROW) return columnValue(f.st, 0);
    if (rc != SQLITE_DONE) fail(QString());
    return QVariant();
}

void Store::forEachRow(const QString& sql, const QVariantList& params, const std::function<void(const StoreRow&)>& f) {
    Finalizer fin{prepare(sql, params)};
    const StoreRow row(fin.st);
    int rc;
    while ((rc = sqlite3_step(fin.st)) == SQLITE_ROW) f(row);
    if (rc != SQLITE_DONE) fail(QString());
}

QString StoreRow::text(int column) const {
    return fromText(sqlite3_column_text(m_st, column), sqlite3_column_bytes(m_st, column));
}

QByteArrayView StoreRow::rawText(int column) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_st, column));
    return text ? QByteArrayView(text, sqlite3_column_bytes(m_st, column)) : QByteArrayView();
}

qint64 StoreRow::integer(int column) const { return sqlite3_column_int64(m_st, column); }

QVariant StoreRow::value(int column) const { return columnValue(m_st, column); }

qint64 Store::changes() const { return sqlite3_changes64(m_db); }
qint64 Store::lastInsertId() const { return sqlite3_last_insert_rowid(m_db); }

void Store::begin() {
    if (m_inTransaction) throw StoreError(QStringLiteral("Transazione già aperta"));
    // Deferred, so that attached files the transaction never touches stay free.
    exec(QStringLiteral("BEGIN"));
    m_inTransaction = true;
    m_transactionStart = m_useCounter;
}

void Store::commit() {
    exec(QStringLiteral("COMMIT"));
    m_inTransaction = false;
}

void Store::rollback() {
    m_inTransaction = false;
    if (!sqlite3_get_autocommit(m_db)) exec(QStringLiteral("ROLLBACK"));
}

QString Store::freeAlias() {
    if (m_attached.size() >= kMaxAttached) {
        // Inside a transaction only files it has not touched may be let go.
        auto oldest = m_attached.end();
        for (auto it = m_attached.begin(); it != m_attached.end(); ++it)
            if ((!m_inTransaction || it->lastUse <= m_transactionStart) &&
                (oldest == m_attached.end() || it->lastUse < oldest->lastUse))
                oldest = it;
        if (oldest == m_attached.end())
            throw StoreError(QStringLiteral("Troppi archivi coinvolti in una sola operazione (massimo %1)")
                                 .arg(kMaxAttached));
        release(oldest.key());
    }
    for (int i = 1; i <= kMaxAttached; ++i) {
        const QString alias = QStringLiteral("a%1").arg(i);
        bool used = false;
        for (const Attached& a : std::as_const(m_attached)) used = used || a.alias == alias;
        if (!used) return alias;
    }
    throw StoreError(QStringLiteral("Nessun alias libero per un archivio"));
}

QString Store::attach(const QString& canonicalPath, bool create) {
    if (m_inTransaction && create)
        throw StoreError(QStringLiteral("Un archivio non può essere creato dentro una transazione"));
    const QString alias = freeAlias();
    QString uri = QUrl::fromLocalFile(canonicalPath).toString(QUrl::FullyEncoded);
    uri += create ? QStringLiteral("?mode=rwc") : QStringLiteral("?mode=rw");
    try {
        exec(QStringLiteral("ATTACH DATABASE ? AS %1").arg(alias), {uri});
    } catch (const StoreError& e) {
        throw StoreError(QStringLiteral("Impossibile aprire l'archivio %1: %2").arg(canonicalPath, e.message()));
    }
    // Rollback journal with full sync, so that one transaction over several files
    // commits or rolls back in all of them. Both are the engine's defaults too,
    // which is what a file attached inside a transaction keeps.
    if (m_inTransaction) return alias;
    try {
        exec(QStringLiteral("PRAGMA %1.journal_mode=DELETE").arg(alias));
        exec(QStringLiteral("PRAGMA %1.synchronous=FULL").arg(alias));
        // Large archives are scanned at every keystroke of a search: keep them in memory.
        exec(QStringLiteral("PRAGMA %1.cache_size=-32768").arg(alias));
    } catch (const StoreError& e) {
        exec(QStringLiteral("DETACH DATABASE %1").arg(alias));
        throw StoreError(QStringLiteral("Impossibile aprire l'archivio %1: %2").arg(canonicalPath, e.message()));
    }
    return alias;
}

QString Store::table(const QString& path) {
    const QString key = canonical(path);
    auto it = m_attached.find(key);
    if (it == m_attached.end()) {
        if (const auto d = m_damaged.constFind(key); d != m_damaged.constEnd())
            throw StoreError(damagedMessage(key) + QStringLiteral("\r\n") + d.value());
        if (!QFileInfo(key).isFile())
            throw StoreError(QStringLiteral("Archivio non trovato: %1").arg(QDir::toNativeSeparators(key)));
        const QString alias = attach(key, false);
        QList<QVariantList> names;
        try {
            names = rows(QStringLiteral("SELECT name FROM %1.sqlite_master WHERE type='table' "
                                        "AND name NOT LIKE 'sqlite%' ORDER BY rowid")
                             .arg(alias));
        } catch (const StoreError& e) {
            exec(QStringLiteral("DETACH DATABASE %1").arg(alias));
            throw StoreError(QStringLiteral("L'archivio %1 non è leggibile: %2").arg(QDir::toNativeSeparators(key), e.message()));
        }
        if (names.isEmpty()) {
            exec(QStringLiteral("DETACH DATABASE %1").arg(alias));
            throw StoreError(QStringLiteral("L'archivio %1 non contiene alcuna tabella").arg(key));
        }
        QString name = names.first().first().toString();
        const QString stem = fileStem(key);
        for (const QVariantList& r : names)
            if (r.first().toString().compare(stem, Qt::CaseInsensitive) == 0) name = r.first().toString();
        it = m_attached.insert(key, {alias, name, 0});
    }
    it->lastUse = ++m_useCounter;
    return it->alias + QLatin1Char('.') + quoteName(it->table);
}

void Store::createArchive(const QString& path, const QString& columnsSql) {
    const QString target = resolvePath(path);
    const QFileInfo fi(target);
    if (fi.exists()) throw StoreError(QStringLiteral("L'archivio %1 esiste già").arg(target));
    if (!QDir().mkpath(fi.path()))
        throw StoreError(QStringLiteral("Impossibile creare la cartella %1").arg(fi.path()));
    const QString key = fi.absoluteFilePath();
    {
        // Made here and only here, so that a failure below removes nothing but this file.
        QFile made(key);
        if (!made.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            throw StoreError(QFileInfo::exists(key)
                                 ? QStringLiteral("L'archivio %1 esiste già").arg(key)
                                 : QStringLiteral("Impossibile creare l'archivio %1: %2").arg(key, made.errorString()));
    }
    QString alias;
    try {
        alias = attach(key, false);
        exec(QStringLiteral("CREATE TABLE %1.%2 (%3)").arg(alias, quoteName(fileStem(key)), columnsSql));
    } catch (const StoreError&) {
        if (!alias.isEmpty()) exec(QStringLiteral("DETACH DATABASE %1").arg(alias));
        QFile::remove(key);
        throw;
    }
    m_attached.insert(canonical(key), {alias, fileStem(key), ++m_useCounter});
}

void Store::markDamaged(const QString& path, const QString& cause) {
    release(path);
    m_damaged.insert(canonical(path), cause);
}

bool Store::isDamaged(const QString& path) const { return m_damaged.contains(canonical(path)); }

bool Store::usable(const QString& path) const { return exists(path) && !isDamaged(path); }

QString Store::damagedMessage(const QString& path) {
    return QStringLiteral("L'archivio %1 è danneggiato o non è un archivio: non è stato modificato")
        .arg(QDir::toNativeSeparators(resolvePath(path)));
}

QString Store::schemaOf(const QString& path) {
    table(path);
    return m_attached.value(canonical(path)).alias;
}

QString Store::tableNameOf(const QString& path) {
    table(path);
    return m_attached.value(canonical(path)).table;
}

QList<ColumnInfo> Store::columns(const QString& path) {
    const QString schema = schemaOf(path);
    const QList<QVariantList> info =
        rows(QStringLiteral("PRAGMA %1.table_info(%2)").arg(schema, quoteName(tableNameOf(path))));
    QList<ColumnInfo> out;
    for (const QVariantList& r : info) out.append({r.at(1).toString(), r.at(2).toString()});
    return out;
}

bool Store::hasColumn(const QString& path, const QString& column) {
    for (const ColumnInfo& c : columns(path))
        if (c.name.compare(column, Qt::CaseInsensitive) == 0) return true;
    return false;
}

void Store::createEmptyCopy(const QString& sourcePath, const QString& targetPath) {
    QStringList defs;
    for (const ColumnInfo& c : columns(sourcePath))
        defs << (c.type.isEmpty() ? plainName(c.name) : plainName(c.name) + QLatin1Char(' ') + c.type);
    createArchive(targetPath, defs.join(QStringLiteral(", ")));
}

void Store::release(const QString& path) {
    const QString key = canonical(path);
    const auto it = m_attached.find(key);
    if (it == m_attached.end()) return;
    exec(QStringLiteral("DETACH DATABASE %1").arg(it->alias));
    m_attached.erase(it);
}

void Store::releaseAll() {
    const QStringList keys = m_attached.keys();
    for (const QString& k : keys) release(k);
}

bool Store::backupOnce(const QString& path) {
    const QString source = resolvePath(path);
    const QString copy = source + QStringLiteral(".bak");
    if (QFileInfo::exists(copy)) return true;
    if (m_inTransaction) throw StoreError(QStringLiteral("Copia di sicurezza richiesta dentro una transazione"));
    return QFile::copy(source, copy);
}

}  // namespace zel
