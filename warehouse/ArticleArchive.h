#pragma once

#include <QDate>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantMap>

namespace zel {

class Settings;
class Store;

// A selection of the warehouse as the card's list shows it: the WHERE text, built
// from fixed column names only, with its bound values, and the ordering column.
struct ArticleQuery {
    QString where;  // without "WHERE"; empty for every article
    QVariantList params;
    QString orderBy = QStringLiteral("cod");
    // A search "contains, any letter case" on one text column: the same selection as
    // where/params, which the archive may answer from its kept copy of that column.
    QString textColumn;
    QString text;

    // The search box: filter 0..12 of searchFilters() over the typed text.
    static ArticleQuery search(int filter, const QString& text);
    // Only the articles whose insertion date plus days is after today (no date: kept).
    static ArticleQuery recent(int days, const QDate& today);
    static ArticleQuery orderedBy(const QString& column);
};

QStringList searchFilters();  // captions of "Filtro"

// One line of the list grid.
struct ArticleListRow {
    qint64 rowid = 0;
    QString cod, des, um, iva, cat, pos, codForn;
    double giac1 = 0;  // (qca - qsc) / fm
    double prezzoVen = 0;
    double prezzoIvato = 0;  // prezzo_ven with its VAT
};

// The initial-load movement written with a new article.
struct InitialLoad {
    double quantity = 0;
    double price = 0;
    double vat = 0;
    QString supplier;
};

// The movement history of one article in the movement archive.
struct MovementStats {
    struct Entry {
        QDate date;
        double quantity = 0;
        bool found = false;
    };
    Entry lastLoad, lastDdtUnload, lastQuickUnload, lastManualUnload, lastRestore, largestLoad,
        largestUnload;
    int monthCount = 0, yearCount = 0;
    double monthQuantity = 0, yearQuantity = 0;
};

struct OutsideStock {
    QString warehouse;  // COD_MAG
    double qca = 0, qsc = 0, pca = 0, psc = 0, cca = 0, csc = 0;
};

struct Currency {
    QString code, name;
    double rate = 0;  // units per 1 euro
};

// Every read and write of the warehouse archive made by the article card.
class ArticleArchive {
public:
    ArticleArchive(Store& store, const Settings& settings, QString base);

    QString path() const;
    QString movementsPath() const;
    QString outsidePath() const;
    QString currenciesPath() const;

    // Rowids of the selection in list order, and the list lines of some of them.
    QList<qint64> ids(const ArticleQuery& q) const;
    // Reads the column a text search runs on once, so each keystroke filters in memory.
    void prepareTextSearch(const QString& column) const;
    // Forgets the kept columns; writes through this class do it themselves.
    void forgetTextSearch() const { m_textCache.clear(); }
    QList<ArticleListRow> listRows(const QList<qint64>& rowids) const;
    // Every column of one article, lower-case names.
    QVariantMap card(qint64 rowid) const;
    qint64 count() const;
    // The article inserted last (highest id): its id and code; id 0 when empty.
    QPair<qint64, QString> lastById() const;
    // Another article whose code equals this one without regard to letter case.
    qint64 sameCodeCount(const QString& code, qint64 exceptRowid = -1) const;

    struct Saved {
        qint64 rowid = -1;
        qint64 id = 0;
        QStringList skipped;  // card columns the archive does not have
    };
    // Inserts (rowid < 0) or updates an article in one transaction; a new article
    // takes the next id and, with load, its initial-load movement and qca.
    Saved save(const QVariantMap& fields, qint64 rowid, const InitialLoad* load = nullptr);
    void remove(qint64 rowid);
    bool backup() const;
    // Lower-case column -> length of a CHAR column (0 for other types).
    QHash<QString, int> maxLengths() const;

    MovementStats movementStats(const QString& code, const QDate& today) const;
    QList<OutsideStock> outsideStock(const QString& code) const;
    QList<Currency> currencies() const;
    // Registry cards whose code contains text and whose type string matches kindPattern
    // ("__1%" suppliers, "_1%" customers), as "code.name".
    QStringList partnersLike(const QString& text, const QString& kindPattern) const;

private:
    struct TextColumn {
        QList<qint64> rowids;      // in list order
        QByteArray packed;         // case-folded texts in UTF-8, one after the other
        QList<qsizetype> offsets;  // where each text starts, and the end
    };
    Store& m_store;
    mutable QHash<QString, TextColumn> m_textCache;
    const Settings& m_settings;
    QString m_base;
};

}  // namespace zel
