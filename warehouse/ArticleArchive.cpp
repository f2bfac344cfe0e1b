#include "warehouse/ArticleArchive.h"

#include "core/Clock.h"
#include "core/Paths.h"
#include "settings/Settings.h"
#include "store/Store.h"
#include "ui/Formats.h"
#include "warehouse/StockOps.h"

namespace zel {

namespace {

const QString kEscape = QStringLiteral(" ESCAPE '\\'");

// Columns of the search filters, same order as their captions; empty for the photo filter.
const char* const kFilterColumns[] = {"cod",    "des",      "prezzo_ven", "prezzo_acq", "pos",
                                      "cat",    "cod_forn", "cod_cli",    "",           "a_des1",
                                      "a_des2", "a_des3",   "a_des4"};
constexpr int kPhotoFilter = 8;

const QStringList& orderColumns() {
    static const QStringList cols = {QStringLiteral("cod"),        QStringLiteral("des"),
                                     QStringLiteral("id"),         QStringLiteral("cat"),
                                     QStringLiteral("prezzo_ven"), QStringLiteral("pos"),
                                     QStringLiteral("cod_forn")};
    return cols;
}

// Text folded for a search that ignores letter case, kept in UTF-8: ASCII is lowered in
// place, anything else goes through Unicode case folding.
QByteArray foldedUtf8(QByteArrayView text) {
    bool ascii = true;
    for (const char ch : text) ascii = ascii && static_cast<unsigned char>(ch) < 0x80;
    if (!ascii) return QString::fromUtf8(text).toCaseFolded().toUtf8();
    QByteArray out(text.data(), text.size());
    for (char& ch : out)
        if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch + 32);
    return out;
}

QDate dateOf(const QVariant& v) { return QDate::fromString(v.toString().left(10), Qt::ISODate); }

}  // namespace

QStringList searchFilters() {
    return {QStringLiteral("Codice articolo"),
            QStringLiteral("Descrizione"),
            QStringLiteral("Prezzo Vendita"),
            QStringLiteral("Prezzo Acquisto"),
            QStringLiteral("Posizione"),
            QStringLiteral("Categoria"),
            QStringLiteral("Cod. Fornitore"),
            QStringLiteral("Cod. Cliente"),
            QStringLiteral("Solo articoli con foto"),
            QStringLiteral("Etichetta1"),
            QStringLiteral("Etichetta2"),
            QStringLiteral("Etichetta3"),
            QStringLiteral("Etichetta4")};
}

ArticleQuery ArticleQuery::search(int filter, const QString& text) {
    ArticleQuery q;
    if (filter < 0 || filter >= int(std::size(kFilterColumns))) filter = 1;
    if (filter == kPhotoFilter) {
        q.where = QStringLiteral("(immagine1 <> '' OR immagine2 <> '' OR immagine3 <> '')");
        return q;
    }
    const QString column = QString::fromLatin1(kFilterColumns[filter]);
    if (column.startsWith(u"prezzo")) {
        if (text.trimmed().isEmpty()) return q;
        bool ok = false;
        const double value = fmt::parseNumber(text.trimmed(), &ok);
        if (!ok) {
            q.where = QStringLiteral("0 = 1");  // a price that is no number matches nothing
            return q;
        }
        q.where = column + QStringLiteral(" = ?");
        q.params << value;
        return q;
    }
    if (text.isEmpty()) return q;
    // The store's LIKE folds letter case itself (Unicode-aware), so the column is not lowered row
    // by row.
    q.where = column + QStringLiteral(" LIKE ?") + kEscape;
    q.params << QStringLiteral("%") + Store::likeLiteral(text) + QStringLiteral("%");
    q.textColumn = column;
    q.text = text;
    return q;
}

ArticleQuery ArticleQuery::recent(int days, const QDate& today) {
    ArticleQuery q;
    q.where = QStringLiteral("(dip IS NULL OR date(dip, ?) > ?)");
    q.params << QStringLiteral("%1 days").arg(days >= 0 ? QStringLiteral("+%1").arg(days)
                                                        : QString::number(days))
             << today.toString(Qt::ISODate);
    return q;
}

ArticleQuery ArticleQuery::orderedBy(const QString& column) {
    ArticleQuery q;
    q.orderBy =
        orderColumns().contains(column.toLower()) ? column.toLower() : QStringLiteral("cod");
    return q;
}

ArticleArchive::ArticleArchive(Store& store, const Settings& settings, QString base)
    : m_store(store), m_settings(settings), m_base(std::move(base)) {}

QString ArticleArchive::path() const { return m_settings.text(u"Path", u"Archivio Magazzino"); }
QString ArticleArchive::movementsPath() const {
    return m_settings.text(u"Path", u"Archivio DDT Detail");
}
QString ArticleArchive::outsidePath() const {
    return dataFile(m_base, QStringLiteral("mag_ext.db"));
}
QString ArticleArchive::currenciesPath() const {
    return dataFile(m_base, QStringLiteral("valute.db"));
}

QList<qint64> ArticleArchive::ids(const ArticleQuery& q) const {
    if (!q.textColumn.isEmpty() && q.orderBy == u"cod") {
        prepareTextSearch(q.textColumn);
        const TextColumn& c = m_textCache[q.textColumn];
        const QByteArray pattern = foldedUtf8(q.text.toUtf8());
        QList<qint64> out;
        for (qsizetype i = 0; i < c.rowids.size(); ++i) {
            const QByteArrayView text(c.packed.constData() + c.offsets[i],
                                      c.offsets[i + 1] - c.offsets[i]);
            if (text.indexOf(pattern) >= 0) out.append(c.rowids[i]);
        }
        return out;
    }
    const QString order =
        orderColumns().contains(q.orderBy.toLower()) ? q.orderBy.toLower() : QStringLiteral("cod");
    const QString sql =
        QStringLiteral("SELECT rowid FROM %1%2 ORDER BY %3, rowid")
            .arg(m_store.table(path()),
                 q.where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + q.where, order);
    QList<qint64> out;
    m_store.forEachRow(sql, q.params, [&out](const StoreRow& r) { out.append(r.integer(0)); });
    return out;
}

void ArticleArchive::prepareTextSearch(const QString& column) const {
    if (m_textCache.contains(column)) return;
    bool known = false;
    for (const char* c : kFilterColumns) known = known || (*c && column == QLatin1String(c));
    if (!known) return;
    TextColumn c;
    m_store.forEachRow(QStringLiteral("SELECT rowid, %1 FROM %2 ORDER BY cod, rowid")
                           .arg(column, m_store.table(path())),
                       {}, [&c](const StoreRow& r) {
                           c.rowids.append(r.integer(0));
                           c.offsets.append(c.packed.size());
                           // NULL and empty both fail a search, whose text is never empty.
                           c.packed += foldedUtf8(r.rawText(1));
                       });
    c.offsets.append(c.packed.size());
    m_textCache.insert(column, std::move(c));
}

QList<ArticleListRow> ArticleArchive::listRows(const QList<qint64>& rowids) const {
    QList<ArticleListRow> out;
    if (rowids.isEmpty()) return out;
    QStringList marks;
    QVariantList params;
    for (qint64 id : rowids) {
        marks << QStringLiteral("?");
        params << id;
    }
    const QString sql = QStringLiteral(
                            "SELECT rowid, cod, des, um, iva, cat, pos, cod_forn, "
                            "((COALESCE(qca, 0) - COALESCE(qsc, 0)) / (CASE WHEN fm IS NULL OR fm "
                            "= 0 THEN 1 ELSE fm END)) giac1, "
                            "(COALESCE(PREZZO_ven, 0) + COALESCE(prezzo_ven, 0) / 100 * "
                            "COALESCE(iva, 0)) prezzo_ivato, "
                            "COALESCE(prezzo_ven, 0) FROM %1 WHERE rowid IN (%2)")
                            .arg(m_store.table(path()), marks.join(u','));
    QHash<qint64, ArticleListRow> byId;
    m_store.forEachRow(sql, params, [&byId](const StoreRow& r) {
        ArticleListRow row;
        row.rowid = r.integer(0);
        row.cod = r.text(1).trimmed();
        row.des = r.text(2).trimmed();
        row.um = r.text(3).trimmed();
        row.iva = fmt::value(r.value(4));
        row.cat = r.text(5).trimmed();
        row.pos = r.text(6).trimmed();
        row.codForn = r.text(7).trimmed();
        row.giac1 = r.value(8).toDouble();
        row.prezzoIvato = r.value(9).toDouble();
        row.prezzoVen = r.value(10).toDouble();
        byId.insert(row.rowid, row);
    });
    for (qint64 id : rowids)
        if (byId.contains(id)) out.append(byId.value(id));
    return out;
}

QVariantMap ArticleArchive::card(qint64 rowid) const {
    QVariantMap out;
    const QList<ColumnInfo> cols = m_store.columns(path());
    const QList<QVariantList> rows = m_store.rows(
        QStringLiteral("SELECT * FROM %1 WHERE rowid = ?").arg(m_store.table(path())), {rowid});
    if (rows.isEmpty()) return out;
    for (int i = 0; i < cols.size(); ++i) out.insert(cols[i].name.toLower(), rows[0].value(i));
    return out;
}

qint64 ArticleArchive::count() const {
    return m_store.scalar(QStringLiteral("SELECT COUNT(*) FROM %1").arg(m_store.table(path())))
        .toLongLong();
}

QPair<qint64, QString> ArticleArchive::lastById() const {
    const QList<QVariantList> rows = m_store.rows(
        QStringLiteral(
            "SELECT id, cod FROM %1 WHERE id IS NOT NULL ORDER BY id DESC, rowid DESC LIMIT 1")
            .arg(m_store.table(path())));
    if (rows.isEmpty()) return {0, QString()};
    return {rows[0][0].toLongLong(), rows[0][1].toString().trimmed()};
}

qint64 ArticleArchive::sameCodeCount(const QString& code, qint64 exceptRowid) const {
    return m_store
        .scalar(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE UPPER(TRIM(cod)) = ? AND rowid <> ?")
                    .arg(m_store.table(path())),
                {code.trimmed().toUpper(), exceptRowid})
        .toLongLong();
}

QHash<QString, int> ArticleArchive::maxLengths() const {
    QHash<QString, int> out;
    for (const ColumnInfo& c : m_store.columns(path())) out.insert(c.name.toLower(), c.maxLength());
    return out;
}

ArticleArchive::Saved ArticleArchive::save(const QVariantMap& fields, qint64 rowid,
                                           const InitialLoad* load) {
    m_textCache.clear();
    const QString t = m_store.table(path());
    const QHash<QString, int> present = maxLengths();
    Saved saved;
    QStringList names;
    QVariantList values;
    for (auto it = fields.cbegin(); it != fields.cend(); ++it) {
        const QString col = it.key().toLower();
        if (!present.contains(col)) {
            saved.skipped << col;  // an archive without the newer columns
            continue;
        }
        const int max = present.value(col);
        if (max > 0 && it.value().toString().size() > max)
            throw StoreError(
                QStringLiteral("Il campo %1 accetta al massimo %2 caratteri").arg(col).arg(max));
        names << col;
        values << it.value();
    }
    // Files are attached before the transaction: the engine attaches none inside one.
    if (load) m_store.table(movementsPath());
    Transaction tx(m_store);
    if (rowid < 0) {
        // The id is taken inside the transaction, so two cards never share it.
        saved.id = m_store.scalar(QStringLiteral("SELECT COALESCE(MAX(id), 0) + 1 FROM %1").arg(t))
                       .toLongLong();
        names << QStringLiteral("id");
        values << saved.id;
        QStringList marks;
        for (qsizetype i = 0; i < names.size(); ++i) marks << QStringLiteral("?");
        m_store.exec(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                         .arg(t, names.join(u", "), marks.join(u", ")),
                     values);
        saved.rowid = m_store.lastInsertId();
        if (load) {
            Movement m;
            m.cod = fields.value(QStringLiteral("cod")).toString();
            m.des = fields.value(QStringLiteral("des")).toString();
            m.data = Clock::today();
            m.codForn = load->supplier;
            m.percIva = load->vat;
            m.prezzo = load->price;
            m.quant = load->quantity;
            StockOps(m_store, StockArchives::fromSettings(m_settings)).initialLoad(m);
        }
    } else {
        QStringList sets;
        for (const QString& n : std::as_const(names)) sets << n + QStringLiteral(" = ?");
        values << rowid;
        m_store.exec(QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?").arg(t, sets.join(u", ")),
                     values);
        if (m_store.changes() != 1)
            throw StoreError(QStringLiteral("L'articolo non è più presente nell'archivio"));
        saved.rowid = rowid;
        saved.id =
            m_store.scalar(QStringLiteral("SELECT id FROM %1 WHERE rowid = ?").arg(t), {rowid})
                .toLongLong();
    }
    tx.commit();
    return saved;
}

void ArticleArchive::remove(qint64 rowid) {
    m_textCache.clear();
    Transaction tx(m_store);
    m_store.exec(QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(m_store.table(path())),
                 {rowid});
    tx.commit();
}

bool ArticleArchive::backup() const { return m_store.backupOnce(path()); }

MovementStats ArticleArchive::movementStats(const QString& code, const QDate& today) const {
    MovementStats s;
    auto later = [](MovementStats::Entry& e, const QDate& d, double q) {
        if (!e.found || d >= e.date) e = {d, q, true};
    };
    auto larger = [](MovementStats::Entry& e, const QDate& d, double q) {
        if (!e.found || q > e.quantity) e = {d, q, true};
    };
    m_store.forEachRow(QStringLiteral("SELECT data, quant, causale, bolla FROM %1 WHERE cod = ?")
                           .arg(m_store.table(movementsPath())),
                       {code}, [&](const StoreRow& r) {
                           const QDate d = dateOf(r.value(0));
                           const double q = r.value(1).toDouble();
                           const QString cause = r.text(2).trimmed();
                           const qint64 ddt = r.integer(3);
                           if (cause == u"Carico merce") {
                               later(s.lastLoad, d, q);
                               larger(s.largestLoad, d, q);
                           } else if (cause == u"Carico inziale") {
                               larger(s.largestLoad, d, q);
                           } else if (cause == u"Scarico veloce") {
                               later(s.lastQuickUnload, d, q);
                               larger(s.largestUnload, d, q);
                           } else if (cause == u"Scarico manuale") {
                               later(s.lastManualUnload, d, q);
                               larger(s.largestUnload, d, q);
                           } else if (cause == u"Ripristino movimento") {
                               later(s.lastRestore, d, q);
                           } else if (ddt != 0) {
                               later(s.lastDdtUnload, d, q);
                               larger(s.largestUnload, d, q);
                           }
                           if (d.isValid() && d.year() == today.year()) {
                               ++s.yearCount;
                               s.yearQuantity += q;
                               if (d.month() == today.month()) {
                                   ++s.monthCount;
                                   s.monthQuantity += q;
                               }
                           }
                       });
    return s;
}

QList<OutsideStock> ArticleArchive::outsideStock(const QString& code) const {
    QList<OutsideStock> out;
    if (!Store::exists(outsidePath())) return out;
    for (const QVariantList& r :
         m_store.rows(QStringLiteral("SELECT cod_mag, qca, qsc, pca, psc, cca, csc FROM %1 WHERE "
                                     "cod = ? ORDER BY cod_mag, rowid")
                          .arg(m_store.table(outsidePath())),
                      {code}))
        out.append({r[0].toString().trimmed(), r[1].toDouble(), r[2].toDouble(), r[3].toDouble(),
                    r[4].toDouble(), r[5].toDouble(), r[6].toDouble()});
    return out;
}

QList<Currency> ArticleArchive::currencies() const {
    QList<Currency> out;
    if (!Store::exists(currenciesPath())) return out;
    for (const QVariantList& r :
         m_store.rows(QStringLiteral("SELECT codice, nome, tasso FROM %1 ORDER BY codice")
                          .arg(m_store.table(currenciesPath()))))
        out.append({r[0].toString().trimmed(), r[1].toString().trimmed(), r[2].toDouble()});
    return out;
}

QStringList ArticleArchive::partnersLike(const QString& text, const QString& kindPattern) const {
    QStringList out;
    const QString registry = m_settings.text(u"Path", u"Archivio anagrafica");
    for (const QVariantList& r :
         m_store.rows(QStringLiteral("SELECT cod_cli, nome FROM %1 WHERE LOWER(cod_cli) LIKE ?%2 "
                                     "AND extra_data LIKE ? ORDER BY cod_cli LIMIT 500")
                          .arg(m_store.table(registry), kEscape),
                      {QStringLiteral("%") + Store::likeLiteral(text.trimmed().toLower()) +
                           QStringLiteral("%"),
                       kindPattern}))
        out << r[0].toString().trimmed() + QStringLiteral(".") + r[1].toString().trimmed();
    return out;
}

}  // namespace zel
