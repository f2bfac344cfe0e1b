#include "registry/PartnerArchive.h"

#include <algorithm>

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

QList<PartnerListRow> PartnerArchive::list(const PartnerQuery& q) const {
    // Ordering by a column the list holds is done here: the engine's sorter is the
    // slowest part of a search that matches every card.
    static const QStringList listed = sortableColumns();
    QString orderColumn = q.orderBy.trimmed();
    if (orderColumn.endsWith(QStringLiteral(" ASC"), Qt::CaseInsensitive)) orderColumn.chop(4);
    const qsizetype sortIndex = listed.indexOf(orderColumn.trimmed().toLower());
    const QString sql = QStringLiteral("SELECT rowid, cod_cli, nome, citta, prov1, tel, cell, email, fax FROM %1%2%3")
                            .arg(m_store.table(path()),
                                 q.where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + q.where,
                                 sortIndex >= 0 ? QString() : QStringLiteral(" ORDER BY ") + q.orderBy);
    QList<PartnerListRow> out;
    m_store.forEachRow(sql, q.params, [&out](const StoreRow& r) {
        PartnerListRow& row = out.emplace_back();
        row.rowid = r.integer(0);
        for (int i = 0; i < 8; ++i) {
            row.offsets[size_t(i)] = int(row.packed.size());
            row.packed += r.rawText(i + 1);
        }
        row.offsets[8] = int(row.packed.size());
    });
    // Byte order of UTF-8 is the engine's own text order.
    if (sortIndex >= 0)
        std::stable_sort(out.begin(), out.end(), [i = int(sortIndex)](const PartnerListRow& a, const PartnerListRow& b) {
            return a.raw(i).compare(b.raw(i)) < 0;
        });
    return out;
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
