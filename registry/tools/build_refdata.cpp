// Builds the reference tables cap.db and banche.db from the public data files in
// data/refdata. Usage: build_refdata <source folder> <output folder>

#include <sqlite3.h>

#include <QDir>
#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <cstdio>
#include <stdexcept>
#include <string>

namespace {

using namespace Qt::Literals::StringLiterals;

[[noreturn]] void die(const QString& message) { throw std::runtime_error(message.toStdString()); }

QJsonDocument readJson(const QString& folder, const QString& name) {
    QFile f(QDir(folder).filePath(name));
    if (!f.open(QIODevice::ReadOnly)) die(u"cannot read "_s + f.fileName());
    QJsonParseError err;
    QJsonDocument doc = QJsonDocument::fromJson(f.readAll(), &err);
    if (doc.isNull()) die(f.fileName() + u": "_s + err.errorString());
    return doc;
}

// A JSON value that may be a string or a number, as text; codes left-padded with zeros.
QString codeText(const QJsonValue& v, int width) {
    QString s = v.isDouble() ? QString::number(static_cast<qint64>(v.toDouble())) : v.toString().trimmed();
    if (s.size() < width) s = s.rightJustified(width, u'0');
    return s;
}

// Faults of the municipality source, mended by ISTAT code. A mending applies only
// while the source still holds the faulty value, so a corrected source wins.
struct Mending {
    const char16_t* istat;
    const char16_t* field;
    const char16_t* faulty;
    const char16_t* right;
};
constexpr Mending kMendings[] = {
    {u"037046", u"cap", u"8604", u"40064"},       // Ozzano dell'Emilia
    {u"048049", u"prefisso", u"05584", u"055"},   // Vicchio
    {u"005122", u"prefisso", u"", u"0141"},       // Moransengo-Tonengo
};

struct Municipality {
    QString istat, name, cap, prov, prefix;
};

// Bank branch towns are upper-case ASCII with apostrophes for accents
// ("CITTA' SANT'ANGELO"); municipality names are mixed case with accents.
QString townKey(const QString& name) {
    const QString plain = name.normalized(QString::NormalizationForm_D).toUpper();
    QString key;
    key.reserve(plain.size());
    for (const QChar c : plain)
        if (c.isLetterOrNumber() && c.category() != QChar::Mark_NonSpacing) key.append(c);
    return key;
}

class Db {
public:
    explicit Db(const QString& path) {
        QFile::remove(path);
        if (sqlite3_open(QFile::encodeName(path).constData(), &m_db) != SQLITE_OK) fail(path);
        exec(u"PRAGMA journal_mode=DELETE"_s);
        exec(u"BEGIN"_s);
    }
    ~Db() {
        sqlite3_finalize(m_insert);
        sqlite3_close(m_db);
    }
    Db(const Db&) = delete;
    Db& operator=(const Db&) = delete;

    void exec(const QString& sql) {
        if (sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, nullptr) != SQLITE_OK) fail(sql);
    }
    void prepareInsert(const QString& sql) {
        if (sqlite3_prepare_v2(m_db, sql.toUtf8().constData(), -1, &m_insert, nullptr) != SQLITE_OK) fail(sql);
    }
    void insert(const QStringList& values) {
        sqlite3_reset(m_insert);
        for (int i = 0; i < values.size(); ++i) {
            const QByteArray b = values[i].toUtf8();
            sqlite3_bind_text(m_insert, i + 1, b.constData(), static_cast<int>(b.size()), SQLITE_TRANSIENT);
        }
        if (sqlite3_step(m_insert) != SQLITE_DONE) fail(u"insert"_s);
        ++m_rows;
    }
    qint64 finish() {
        exec(u"COMMIT"_s);
        return m_rows;
    }

private:
    [[noreturn]] void fail(const QString& what) {
        die(what + u": "_s + QString::fromUtf8(m_db ? sqlite3_errmsg(m_db) : "out of memory"));
    }
    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_insert = nullptr;
    qint64 m_rows = 0;
};

QList<Municipality> readMunicipalities(const QString& src) {
    QSet<QString> provinces;
    for (const QJsonValue v : readJson(src, u"province.json"_s).array())
        provinces.insert(v.toObject().value(u"sigla"_s).toString());

    QList<Municipality> list;
    int mended = 0;
    for (const QJsonValue v : readJson(src, u"comuni.json"_s).array()) {
        const QJsonObject o = v.toObject();
        Municipality m{o.value(u"codice"_s).toString(), o.value(u"nome"_s).toString().trimmed(),
                       o.value(u"cap"_s).toString().trimmed(),
                       o.value(u"provincia"_s).toObject().value(u"sigla"_s).toString().trimmed(),
                       o.value(u"prefisso"_s).toString().trimmed()};
        for (const Mending& fix : kMendings) {
            if (m.istat != QStringView(fix.istat)) continue;
            QString& field = QStringView(fix.field) == u"cap" ? m.cap : m.prefix;
            if (field == QStringView(fix.faulty)) {
                field = QString::fromUtf16(fix.right);
                ++mended;
            }
        }
        if (!provinces.contains(m.prov)) die(u"unknown province "_s + m.prov + u" of "_s + m.name);
        list.append(m);
    }
    std::fprintf(stderr, "build_refdata: %lld municipalities, %d faults mended\n",
                 static_cast<long long>(list.size()), mended);
    return list;
}

QHash<QString, QStringList> readCaps(const QString& src) {
    QHash<QString, QStringList> caps;
    for (const QJsonValue v : readJson(src, u"comuni_cap_multi.json"_s).array()) {
        const QJsonObject o = v.toObject();
        caps[o.value(u"codice_istat"_s).toString()].append(codeText(o.value(u"cap"_s), 5));
    }
    return caps;
}

void buildCap(const QString& out, const QList<Municipality>& towns, const QHash<QString, QStringList>& caps) {
    Db db(out);
    db.exec(u"CREATE TABLE cap (localita CHAR(60), cap CHAR(5), prov CHAR(2), prefissoTel CHAR(6))"_s);
    db.prepareInsert(u"INSERT INTO cap (localita, cap, prov, prefissoTel) VALUES (?, ?, ?, ?)"_s);
    for (const Municipality& m : towns) {
        const QStringList own = caps.value(m.istat, {m.cap});
        for (const QString& cap : own) db.insert({m.name, cap, m.prov, m.prefix});
    }
    std::fprintf(stderr, "build_refdata: cap.db %lld rows\n", static_cast<long long>(db.finish()));
}

void buildBanche(const QString& src, const QString& out, const QList<Municipality>& towns,
                 const QHash<QString, QStringList>& capsByIstat) {
    // A town name shared by municipalities with different CAPs gives no CAP.
    QHash<QString, QSet<QString>> capsByTown;
    for (const Municipality& m : towns)
        for (const QString& cap : capsByIstat.value(m.istat, {m.cap})) capsByTown[townKey(m.name)].insert(cap);

    QHash<QString, QString> abiNames;
    for (const QJsonValue v : readJson(src, u"banche_abi.json"_s).array()) {
        const QJsonObject o = v.toObject();
        abiNames.insert(codeText(o.value(u"ABI"_s), 5), o.value(u"Denominazione"_s).toString().trimmed());
    }

    Db db(out);
    db.exec(u"CREATE TABLE banche (abi CHAR(5), cab CHAR(5), banca CHAR(150), sportello CHAR(60), "
            "indirizzo CHAR(150), cap CHAR(5), comune CHAR(60))"_s);
    db.prepareInsert(u"INSERT INTO banche (abi, cab, banca, sportello, indirizzo, cap, comune) "
                     "VALUES (?, ?, ?, ?, ?, ?, ?)"_s);
    const QJsonObject banks = readJson(src, u"banche_sportelli.json"_s).object();
    int withCap = 0;
    for (auto bank = banks.begin(); bank != banks.end(); ++bank) {
        const QString abi = codeText(QJsonValue(bank.key()), 5);
        const QJsonArray entry = bank.value().toArray();
        QString name = entry.at(0).toString().trimmed();
        if (name.isEmpty()) name = abiNames.value(abi);
        const QJsonObject branches = entry.at(1).toObject();
        for (auto br = branches.begin(); br != branches.end(); ++br) {
            const QJsonArray b = br.value().toArray();
            const QString town = b.at(0).toString().trimmed();
            const QSet<QString> townCaps = capsByTown.value(townKey(town));
            const QString cap = townCaps.size() == 1 ? *townCaps.begin() : QString();
            if (!cap.isEmpty()) ++withCap;
            db.insert({abi, codeText(QJsonValue(br.key()), 5), name, QString(), b.at(1).toString().trimmed(), cap, town});
        }
    }
    const qint64 rows = db.finish();
    std::fprintf(stderr, "build_refdata: banche.db %lld rows, %d with a CAP\n", static_cast<long long>(rows), withCap);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: build_refdata <source folder> <output folder>\n");
        return 2;
    }
    const QString src = QString::fromLocal8Bit(argv[1]);
    const QString outDir = QString::fromLocal8Bit(argv[2]);
    try {
        if (!QDir().mkpath(outDir)) die(u"cannot create "_s + outDir);
        const QDir out(outDir);
        const QList<Municipality> towns = readMunicipalities(src);
        // Written under temporary names, so a failed run leaves no half-built table.
        const QHash<QString, QStringList> caps = readCaps(src);
        buildCap(out.filePath(u"cap.db.tmp"_s), towns, caps);
        buildBanche(src, out.filePath(u"banche.db.tmp"_s), towns, caps);
        for (const QString& name : {u"cap.db"_s, u"banche.db"_s}) {
            QFile::remove(out.filePath(name));
            if (!QFile::rename(out.filePath(name + u".tmp"_s), out.filePath(name))) die(u"cannot write "_s + name);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "build_refdata: %s\n", e.what());
        return 1;
    }
    return 0;
}
