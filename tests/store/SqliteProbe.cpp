#include "tests/store/SqliteProbe.h"

#include <sqlite3.h>

#include <QFile>
#include <stdexcept>

namespace zel::test {

namespace {

struct Db {
    sqlite3* db = nullptr;
    explicit Db(const QString& file) {
        if (sqlite3_open_v2(QFile::encodeName(file).constData(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
            throw std::runtime_error("cannot open " + file.toStdString());
    }
    ~Db() { sqlite3_close(db); }
    QList<QVariantList> query(const QString& sql) {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &st, nullptr) != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(db));
        QList<QVariantList> out;
        while (sqlite3_step(st) == SQLITE_ROW) {
            QVariantList row;
            for (int i = 0; i < sqlite3_column_count(st); ++i) {
                switch (sqlite3_column_type(st, i)) {
                    case SQLITE_NULL: row << QVariant(); break;
                    case SQLITE_INTEGER: row << QVariant(qlonglong(sqlite3_column_int64(st, i))); break;
                    case SQLITE_FLOAT: row << QVariant(sqlite3_column_double(st, i)); break;
                    default:
                        row << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, i)));
                }
            }
            out << row;
        }
        sqlite3_finalize(st);
        return out;
    }
};

QString onlyTable(Db& db) {
    const auto t = db.query(QStringLiteral("SELECT name FROM sqlite_master WHERE type='table'"));
    if (t.size() != 1) throw std::runtime_error("expected one table");
    return t.first().first().toString();
}

}  // namespace

QStringList Probe::tables(const QString& file) {
    Db db(file);
    QStringList out;
    for (const auto& r : db.query(QStringLiteral("SELECT name FROM sqlite_master WHERE type='table'")))
        out << r.first().toString();
    return out;
}

QStringList Probe::columns(const QString& file) {
    Db db(file);
    QStringList out;
    for (const auto& r : db.query(QStringLiteral("PRAGMA table_info(\"%1\")").arg(onlyTable(db))))
        out << r.at(1).toString() + QLatin1Char(' ') + r.at(2).toString();
    return out;
}

qint64 Probe::count(const QString& file) {
    Db db(file);
    return db.query(QStringLiteral("SELECT COUNT(*) FROM \"%1\"").arg(onlyTable(db))).first().first().toLongLong();
}

QString Probe::dump(const QString& file) {
    Db db(file);
    QString out;
    for (const auto& r : db.query(QStringLiteral("SELECT sql FROM sqlite_master"))) out += r.first().toString() + u'\n';
    for (const auto& r : db.query(QStringLiteral("SELECT * FROM \"%1\" ORDER BY rowid").arg(onlyTable(db)))) {
        QStringList cells;
        for (const QVariant& v : r) cells << (v.isNull() ? QStringLiteral("NULL") : v.toString());
        out += cells.join(u'|') + u'\n';
    }
    return out;
}

void Probe::exec(const QString& file, const QString& sql) {
    Db db(file);
    char* err = nullptr;
    if (sqlite3_exec(db.db, sql.toUtf8().constData(), nullptr, nullptr, &err) != SQLITE_OK) {
        const std::string msg = err ? err : "error";
        sqlite3_free(err);
        throw std::runtime_error(msg);
    }
}

QList<QVariantList> Probe::rows(const QString& file, const QString& sql) {
    Db db(file);
    return db.query(sql);
}

}  // namespace zel::test
