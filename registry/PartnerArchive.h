#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <array>
#include <utility>
#include <QString>
#include <QStringList>
#include <QVariantMap>

namespace zel {

class Settings;
class Store;

// A selection of the registry as the card's list shows it: the WHERE text (built
// from fixed column names only) with its bound values, and the ordering.
struct PartnerQuery {
    QString where;  // without "WHERE"; empty for every card
    QVariantList params;
    QString orderBy = QStringLiteral("cod_cli");

    // The quick search: field 0..13 of quickSearchFields(), "Contiene" or "Comincia con",
    // and the kind filter 0 "Tutti", 1 "solo Clienti", 2 "solo Fornitori", 3 "Clienti e Fornitori".
    static PartnerQuery quickSearch(int field, bool startsWith, const QString& text, int kind);
    // The multi-criteria filter of the list prints.
    struct Criterion {
        QString column;  // one of filterColumns()
        QString from;
        QString to;      // empty: "contains from"
    };
    static PartnerQuery filter(const QList<Criterion>& criteria, const QString& agent, int kind,
                               const QString& orderColumn);
};

QStringList quickSearchFields();       // captions
QStringList quickSearchColumns();      // columns, same order
QStringList filterColumns();           // columns the multi-criteria filter may use
QStringList sortableColumns();         // columns of the list grid, in grid order
// "Anagrafica Clienti", ... by the kind of the list print.
QString listTitle(int kind);

// One line of the list: cod_cli, nome, citta, prov1, tel, cell, email, fax. The texts
// stay UTF-8 in one buffer until shown, so that a window of the list stays cheap.
struct PartnerListRow {
    qint64 rowid = 0;
    QByteArray packed;
    std::array<int, 9> offsets{};

    QByteArrayView raw(int column) const {
        return QByteArrayView(packed).sliced(offsets[column], offsets[column + 1] - offsets[column]);
    }
    QString value(int column) const { return QString::fromUtf8(raw(column)); }
};

// A window of the list in its order (the query's column, then rowid), and where the next
// window starts.
struct PartnerWindow {
    QList<PartnerListRow> rows;
    QVariant lastKey;  // the ordering column of the last row
    qint64 lastRowid = -1;
};

// Every read and write of the registry archive. Writes of a card happen whole
// or not at all.
class PartnerArchive {
public:
    PartnerArchive(Store& store, const Settings& settings);

    QString path() const;
    // Up to limit rows of the selection, following the row (after.lastRowid >= 0) where the
    // previous window ended.
    PartnerWindow window(const PartnerQuery& q, const PartnerWindow& after, int limit) const;
    // Cards of the selection whose rowid lies in [from, to]; counted a slice at a time, so
    // a large count never holds the window up.
    qint64 countRange(const PartnerQuery& q, qint64 from, qint64 to) const;
    // Lowest and highest rowid, {0, -1} for an empty archive.
    std::pair<qint64, qint64> rowidRange() const;
    // The index the list's default name order walks, made once in the archive file; an
    // archive that cannot take it (read-only) is listed all the same, more slowly.
    void ensureNameIndex();
    // Every column of one card.
    QVariantMap card(qint64 rowid) const;
    qint64 count() const;
    QString lastCode() const;
    bool codeTaken(const QString& code, qint64 exceptRowid = -1) const;
    // Another card than exceptRowid (-1: any) with the same, non-empty VAT number.
    bool vatTaken(const QString& vat, qint64 exceptRowid) const;
    // Inserts (rowid < 0) or updates a card; returns its rowid.
    qint64 save(const QVariantMap& fields, qint64 rowid);
    void remove(qint64 rowid);
    // Copy to "<archive>.bak" unless one exists.
    bool backup() const;
    // Lower-case column -> max length of a CHAR column, 0 for other types.
    QHash<QString, int> maxLengths() const;

private:
    Store& m_store;
    bool m_nameIndexChecked = false;
    const Settings& m_settings;
};

}  // namespace zel
