#include "registry/PartnerArchive.h"

#include <QDate>
#include <QHash>

#include "settings/Settings.h"
#include "store/ArchiveCatalogue.h"
#include "store/Store.h"

namespace zel {

namespace {
const QString kEscape = QStringLiteral(" ESCAPE '\\'");
const char* const kKindPatterns[] = {nullptr, "_1%", "__1%", "_11%"};
const char* const kPrintKindPatterns[] = {nullptr, "_100000%", "_010000%", "___0000%"};

}  // namespace

QStringList quickSearchFields() {
    return {QStringLiteral("Codice"),        QStringLiteral("Nome"),          QStringLiteral("Telefono"),
            QStringLiteral("Fax"),           QStringLiteral("Email"),         QStringLiteral("URL (indirizzo web)"),
            QStringLiteral("Città"),         QStringLiteral("Partita Iva"),   QStringLiteral("Codice fiscale"),
            QStringLiteral("Banca"),         QStringLiteral("Cellulare"),     QStringLiteral("Provincia"),
            QStringLiteral("Gruppo"),        QStringLiteral("Cat. Fiscale")};
}

QStringList quickSearchColumns() {
    return {QStringLiteral("cod_cli"), QStringLiteral("nome"), QStringLiteral("tel"),   QStringLiteral("fax"),
            QStringLiteral("email"),   QStringLiteral("url"),  QStringLiteral("citta"), QStringLiteral("piva"),
            QStringLiteral("cf"),      QStringLiteral("banca"), QStringLiteral("cell"), QStringLiteral("prov1"),
            QStringLiteral("gruppo"),  QStringLiteral("cat_fisc")};
}

QStringList filterColumns() {
    return {QStringLiteral("NOME"), QStringLiteral("CITTA"), QStringLiteral("TEL"),      QStringLiteral("CELL"),
            QStringLiteral("EMAIL"), QStringLiteral("PIVA"), QStringLiteral("CF"),       QStringLiteral("CAT_FISC"),
            QStringLiteral("GRUPPO")};
}

QStringList sortableColumns() {
    return {QStringLiteral("cod_cli"), QStringLiteral("nome"), QStringLiteral("citta"), QStringLiteral("prov1"),
            QStringLiteral("tel"),     QStringLiteral("cell"), QStringLiteral("email"), QStringLiteral("fax")};
}

QString listTitle(int kind) {
    switch (kind) {
        case 1: return QStringLiteral("Anagrafica Clienti");
        case 2: return QStringLiteral("Anagrafica Fornitori");
        case 3: return QStringLiteral("Anagrafica Clienti e Fornitori");
        default: return QStringLiteral("Anagrafica");
    }
}

PartnerQuery PartnerQuery::quickSearch(int field, bool startsWith, const QString& text, int kind) {
    PartnerQuery q;
    const QStringList cols = quickSearchColumns();
    const QString column = cols.value(field, QStringLiteral("nome"));
    const QString pattern = (startsWith ? QString() : QStringLiteral("%")) + Store::likeLiteral(text.toUpper()) +
                            QStringLiteral("%");
    q.where = QStringLiteral("Upper(%1) LIKE ?").arg(column) + kEscape;
    q.params << pattern;
    if (kind > 0 && kind < 4) {
        q.where += QStringLiteral(" AND extra_data LIKE ?");
        q.params << QString::fromLatin1(kKindPatterns[kind]);
    }
    q.orderBy = QStringLiteral("nome ASC");
    return q;
}

PartnerQuery PartnerQuery::filter(const QList<Criterion>& criteria, const QString& agent, int kind,
                                  const QString& orderColumn) {
    PartnerQuery q;
    q.where = QStringLiteral("nome <> ''");
    const QStringList allowed = filterColumns();
    for (const Criterion& c : criteria) {
        const QString from = c.from.trimmed().toUpper();
        const QString to = c.to.trimmed().toUpper();
        if (from.isEmpty() || !allowed.contains(c.column.toUpper())) continue;
        if (to.isEmpty()) {
            q.where += QStringLiteral(" AND UPPER(%1) LIKE ?").arg(c.column.toUpper()) + kEscape;
            q.params << QStringLiteral("%") + Store::likeLiteral(from) + QStringLiteral("%");
        } else {
            q.where += QStringLiteral(" AND UPPER(%1) BETWEEN ? AND ?").arg(c.column.toUpper());
            q.params << from << to;
        }
    }
    if (!agent.trimmed().isEmpty()) {
        q.where += QStringLiteral(" AND UPPER(agente) LIKE ?") + kEscape;
        q.params << QStringLiteral("%") + Store::likeLiteral(agent.trimmed().toUpper()) + QStringLiteral("%");
    }
    if (kind > 0 && kind < 4) {
        q.where += QStringLiteral(" AND extra_data LIKE ?");
        q.params << QString::fromLatin1(kPrintKindPatterns[kind]);
    }
    static const QStringList orders = {QStringLiteral("NOME"), QStringLiteral("CITTA"), QStringLiteral("TEL"),
                                       QStringLiteral("CELL"), QStringLiteral("EMAIL"), QStringLiteral("PIVA"),
                                       QStringLiteral("COD_CLI")};
    q.orderBy = orders.contains(orderColumn.toUpper()) ? orderColumn.toUpper() : QStringLiteral("NOME");
    return q;
}

PartnerArchive::PartnerArchive(Store& store, const Settings& settings) : m_store(store), m_settings(settings) {}

QString PartnerArchive::path() const { return m_settings.text(u"Path", u"Archivio anagrafica"); }

namespace {
// The ordering column of a query, from the fixed list of columns a list may be ordered by.
QString orderColumn(const PartnerQuery& q) {
    static const QStringList allowed = sortableColumns() << QStringLiteral("piva");
    QString column = q.orderBy.trimmed().toLower();
    if (column.endsWith(QStringLiteral(" asc"))) column.chop(4);
    column = column.trimmed();
    return allowed.contains(column) ? column : QStringLiteral("cod_cli");
}
}  // namespace

PartnerWindow PartnerArchive::window(const PartnerQuery& q, const PartnerWindow& after, int limit) const {
    const QString column = orderColumn(q);
    QStringList where;
    QVariantList params;
    if (!q.where.isEmpty()) {
        where << QStringLiteral("(") + q.where + QStringLiteral(")");
        params = q.params;
    }
    // Keyset: the rows after the last one shown, in the same order; NULL sorts first.
    if (after.lastRowid >= 0) {
        if (after.lastKey.isNull()) {
            where << QStringLiteral("((%1 IS NULL AND rowid > ?) OR %1 IS NOT NULL)").arg(column);
            params << after.lastRowid;
        } else {
            where << QStringLiteral("(%1, rowid) > (?, ?)").arg(column);
            params << after.lastKey << after.lastRowid;
        }
    }
    params << limit;
    const QString sql =
        QStringLiteral("SELECT rowid, cod_cli, nome, citta, prov1, tel, cell, email, fax, %1 FROM %2%3 ORDER BY %1, rowid LIMIT ?")
            .arg(column, m_store.table(path()), where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + where.join(u" AND "));
    PartnerWindow out;
    m_store.forEachRow(sql, params, [&out](const StoreRow& r) {
        PartnerListRow& row = out.rows.emplace_back();
        row.rowid = r.integer(0);
        for (int i = 0; i < 8; ++i) {
            row.offsets[size_t(i)] = int(row.packed.size());
            row.packed += r.rawText(i + 1);
        }
        row.offsets[8] = int(row.packed.size());
        out.lastKey = r.value(9);
        out.lastRowid = row.rowid;
    });
    return out;
}

qint64 PartnerArchive::countRange(const PartnerQuery& q, qint64 from, qint64 to) const {
    QVariantList params = {from, to};
    params += q.params;
    return m_store
        .scalar(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE rowid BETWEEN ? AND ?%2")
                    .arg(m_store.table(path()), q.where.isEmpty() ? QString() : QStringLiteral(" AND (") + q.where + u')'),
                params)
        .toLongLong();
}

std::pair<qint64, qint64> PartnerArchive::rowidRange() const {
    // Two statements: the engine finds a lone MIN or MAX of the rowid at once, both
    // together only by reading every row.
    const QString t = m_store.table(path());
    const QVariant first = m_store.scalar(QStringLiteral("SELECT MIN(rowid) FROM %1").arg(t));
    if (first.isNull()) return {0, -1};
    return {first.toLongLong(), m_store.scalar(QStringLiteral("SELECT MAX(rowid) FROM %1").arg(t)).toLongLong()};
}

void PartnerArchive::ensureNameIndex() {
    if (m_nameIndexChecked) return;
    m_nameIndexChecked = true;
    try {
        const QString p = path();
        m_store.exec(QStringLiteral("CREATE INDEX IF NOT EXISTS %1.idx_nome ON %2 (NOME)")
                         .arg(m_store.schemaOf(p), Store::quoteName(m_store.tableNameOf(p))));
    } catch (const StoreError&) {
    }
}

QVariantMap PartnerArchive::card(qint64 rowid) const {
    const QString t = m_store.table(path());
    QVariantMap out;
    const QList<ColumnInfo> cols = m_store.columns(path());
    const QList<QVariantList> rows = m_store.rows(QStringLiteral("SELECT * FROM %1 WHERE rowid = ?").arg(t), {rowid});
    if (rows.isEmpty()) return out;
    for (int i = 0; i < cols.size(); ++i) out.insert(cols[i].name.toLower(), rows[0].value(i));
    return out;
}

qint64 PartnerArchive::count() const {
    return m_store.scalar(QStringLiteral("SELECT COUNT(*) FROM %1").arg(m_store.table(path()))).toLongLong();
}

QString PartnerArchive::lastCode() const {
    return m_store
        .scalar(QStringLiteral("SELECT cod_cli FROM %1 ORDER BY cod_cli DESC LIMIT 1").arg(m_store.table(path())))
        .toString();
}

bool PartnerArchive::codeTaken(const QString& code, qint64 exceptRowid) const {
    return m_store
               .scalar(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE cod_cli = ? AND rowid <> ?")
                           .arg(m_store.table(path())),
                       {code, exceptRowid})
               .toLongLong() > 0;
}

bool PartnerArchive::vatTaken(const QString& vat, qint64 exceptRowid) const {
    if (vat.trimmed().isEmpty()) return false;
    // By rowid, so that a card whose code is being changed does not clash with itself.
    return m_store
               .scalar(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE piva = ? AND rowid <> ? AND piva <> ''")
                           .arg(m_store.table(path())),
                       {vat, exceptRowid})
               .toLongLong() > 0;
}

QHash<QString, int> PartnerArchive::maxLengths() const {
    QHash<QString, int> out;
    for (const ColumnInfo& c : m_store.columns(path())) out.insert(c.name.toLower(), c.maxLength());
    return out;
}

qint64 PartnerArchive::save(const QVariantMap& fields, qint64 rowid) {
    const QString t = m_store.table(path());
    const QHash<QString, int> present = maxLengths();
    QStringList names;
    QVariantList values;
    for (auto it = fields.cbegin(); it != fields.cend(); ++it) {
        const QString col = it.key().toLower();
        if (!present.contains(col)) continue;  // an older archive without this column
        const int max = present.value(col);
        if (max > 0 && it.value().toString().size() > max)
            throw StoreError(QStringLiteral("Il campo %1 accetta al massimo %2 caratteri").arg(col).arg(max));
        names << col;
        values << it.value();
    }
    Transaction tx(m_store);
    qint64 id = rowid;
    if (rowid < 0) {
        QStringList marks;
        for (qsizetype i = 0; i < names.size(); ++i) marks << QStringLiteral("?");
        m_store.exec(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(t, names.join(u", "), marks.join(u", ")),
                     values);
        id = m_store.lastInsertId();
    } else {
        QStringList sets;
        for (const QString& n : std::as_const(names)) sets << n + QStringLiteral(" = ?");
        values << rowid;
        m_store.exec(QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?").arg(t, sets.join(u", ")), values);
        if (m_store.changes() != 1) throw StoreError(QStringLiteral("La scheda non è più presente nell'archivio"));
    }
    tx.commit();
    return id;
}

void PartnerArchive::remove(qint64 rowid) {
    Transaction tx(m_store);
    m_store.exec(QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(m_store.table(path())), {rowid});
    tx.commit();
}

bool PartnerArchive::backup() const { return m_store.backupOnce(path()); }

}  // namespace zel
