#pragma once

#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <QString>
#include <QVariant>
#include <exception>
#include <functional>

struct sqlite3;
struct sqlite3_stmt;

namespace zel {

// A failure of the archive engine; carries the engine's own message.
class StoreError : public std::exception {
public:
    explicit StoreError(QString message) : m_message(std::move(message)), m_bytes(m_message.toUtf8()) {}
    const QString& message() const { return m_message; }
    const char* what() const noexcept override { return m_bytes.constData(); }

private:
    QString m_message;
    QByteArray m_bytes;
};

// One result row while a statement runs, for readers that build their own rows.
class StoreRow {
public:
    explicit StoreRow(sqlite3_stmt* st) : m_st(st) {}
    QString text(int column) const;
    // The text as the engine holds it, valid until the next row.
    QByteArrayView rawText(int column) const;
    qint64 integer(int column) const;
    QVariant value(int column) const;

private:
    sqlite3_stmt* m_st;
};

struct ColumnInfo {
    QString name;
    QString type;  // declared type, e.g. "CHAR(20)"

    // n of a CHAR(n) column, 0 for the other types.
    int maxLength() const;
};

// One connection to the archives. Each archive is a file holding one table; SQL
// names it through table(path), which attaches the file on demand. Every value is
// bound, never pasted into the statement.
class Store {
public:
    // dataDir holds the connection's own small main database.
    explicit Store(const QString& dataDir);
    ~Store();
    Store(const Store&) = delete;
    Store& operator=(const Store&) = delete;

    // The quoted, schema-qualified table of the archive at path ("a3"."ddt26").
    // Throws when the file does not exist or holds no table.
    QString table(const QString& path);
    static bool exists(const QString& path);

    // An archive found damaged at start: never opened again by this store, so that it
    // stays as it is; table() refuses it with the damage message.
    void markDamaged(const QString& path, const QString& cause);
    bool isDamaged(const QString& path) const;
    // The file exists and was not found damaged.
    bool usable(const QString& path) const;
    static QString damagedMessage(const QString& path);

    // Makes a new archive file with one table named after the file's stem; a file
    // that appears meanwhile is left alone.
    void createArchive(const QString& path, const QString& columnsSql);
    // Makes a new empty archive with the current columns of another one.
    void createEmptyCopy(const QString& sourcePath, const QString& targetPath);
    QList<ColumnInfo> columns(const QString& path);
    // The attached schema ("a3") and the unquoted table name of an archive.
    QString schemaOf(const QString& path);
    QString tableNameOf(const QString& path);
    bool hasColumn(const QString& path, const QString& column);

    // Statements. Parameters bind to "?" in order.
    void exec(const QString& sql, const QVariantList& params = {});
    QList<QVariantList> rows(const QString& sql, const QVariantList& params = {});
    QVariant scalar(const QString& sql, const QVariantList& params = {});
    // Calls f for each row as the statement yields it; cheaper than rows() for long lists.
    void forEachRow(const QString& sql, const QVariantList& params, const std::function<void(const StoreRow&)>& f);
    qint64 changes() const;
    qint64 lastInsertId() const;

    void begin();
    void commit();
    void rollback();
    bool inTransaction() const { return m_inTransaction; }

    // Releases a file, e.g. before it is deleted or replaced.
    void release(const QString& path);
    void releaseAll();

    // Copies an archive to "<path>.bak" unless that copy exists already.
    bool backupOnce(const QString& path);

    // The cause of an engine failure in Italian, the engine's own text in brackets.
    static QString engineMessage(int code, const QString& engineText);

    static QString quoteName(const QString& name);
    // The text with "%", "_" and "\" escaped, to match literally under LIKE ... ESCAPE '\'.
    static QString likeLiteral(const QString& text);
    // The name as it is when it is a plain word, quoted otherwise.
    static QString plainName(const QString& name);

private:
    struct Attached {
        QString alias;
        QString table;
        quint64 lastUse = 0;
    };
    sqlite3_stmt* prepare(const QString& sql, const QVariantList& params);
    [[noreturn]] void fail(const QString& context) const;
    QString attach(const QString& canonicalPath, bool create);
    QString freeAlias();
    static QString canonical(const QString& path);

    sqlite3* m_db = nullptr;
    QHash<QString, Attached> m_attached;  // by canonical path
    QHash<QString, QString> m_damaged;    // canonical path -> cause
    quint64 m_useCounter = 0;
    quint64 m_transactionStart = 0;
    bool m_inTransaction = false;
};

// Begins on construction; rolls back on destruction unless committed.
class Transaction {
public:
    explicit Transaction(Store& store) : m_store(store) { m_store.begin(); }
    ~Transaction() {
        if (!m_done) {
            try {
                m_store.rollback();
            } catch (...) {
            }
        }
    }
    void commit() {
        m_store.commit();
        m_done = true;
    }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

private:
    Store& m_store;
    bool m_done = false;
};

}  // namespace zel
