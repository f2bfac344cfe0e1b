#include "deadlines/DeadlineArchive.h"

#include "settings/Settings.h"
#include "store/Store.h"

using namespace Qt::Literals::StringLiterals;

namespace zel {

namespace {

const QString kFields =
    u"rowid, id, data, cod, des, des2, des3, dare, avere, banca, pagato, datapag, cod_cli, "
    u"fattura, data_fatt, reminder"_s;
const QDate kFloor(1900, 1, 1);

QVariant dateValue(const QDate& d) {
    return d.isValid() ? QVariant(d.toString(Qt::ISODate)) : QVariant();
}

QDate readDate(const QVariant& v) {
    if (v.isNull()) return {};
    return QDate::fromString(v.toString().left(10), Qt::ISODate);
}

Deadline fromRow(const QVariantList& r) {
    Deadline d;
    d.rowid = r[0].toLongLong();
    d.id = r[1].toLongLong();
    d.data = readDate(r[2]);
    d.cod = r[3].toString();
    d.des = r[4].toString();
    d.des2 = r[5].toString();
    d.des3 = r[6].toString();
    d.dare = Money::fromDouble(r[7].toDouble());
    d.avere = Money::fromDouble(r[8].toDouble());
    d.banca = r[9].toString();
    d.pagato = r[10].toString();
    d.datapag = readDate(r[11]);
    d.codCli = r[12].toString();
    d.fattura = r[13].toLongLong();
    d.dataFatt = readDate(r[14]);
    d.reminder = r[15].toLongLong() != 0;
    return d;
}

// The store's LIKE already ignores case, Unicode letters too.
QString like(const QString& column) { return u" AND "_s + column + u" LIKE ? ESCAPE '\\'"_s; }
QString contains(const QString& text) { return u"%"_s + Store::likeLiteral(text) + u"%"_s; }

}  // namespace

int Deadline::daysToDeadline(const QDate& today) const {
    const QDate target = datapag.isValid() && datapag > kFloor ? datapag : data;
    return target.isValid() ? static_cast<int>(today.daysTo(target)) : 0;
}

QString Deadline::paidLabel() const {
    const QString p = paidLetter();
    if (p == u"N") return u"Non pagato"_s;
    if (p == u"S") return u"Pagato"_s;
    if (p == u"A") return u"Dato Acconto"_s;
    return {};
}

DeadlineArchive::DeadlineArchive(Store& store, QString path)
    : m_store(store), m_path(std::move(path)) {}

DeadlineArchive DeadlineArchive::fromSettings(Store& store, const Settings& settings) {
    return DeadlineArchive(store, settings.text(u"Path", u"Archivio scadenze"));
}

const QStringList& DeadlineArchive::columns() {
    static const QStringList c{u"ID"_s,      u"DATA"_s,  u"COD"_s,     u"DES"_s,
                               u"DARE"_s,    u"AVERE"_s, u"PAGATO"_s,  u"DATAPAG"_s,
                               u"COD_CLI"_s, u"BANCA"_s, u"FATTURA"_s, u"DES2"_s};
    return c;
}

QString DeadlineArchive::table() {
    const QString t = m_store.table(m_path);
    if (!m_indexChecked) {
        m_indexChecked = true;
        // Lists are read by due date: an index keeps a long archive from being sorted each time.
        try {
            m_store.exec(u"CREATE INDEX IF NOT EXISTS %1.idx_data ON %2 (DATA)"_s.arg(
                m_store.schemaOf(m_path), Store::quoteName(m_store.tableNameOf(m_path))));
        } catch (const StoreError&) {
        }
    }
    return t;
}

QList<qint64> DeadlineArchive::list(const DeadlineFilter& f, const QString& orderColumn) {
    QString sql = u"SELECT rowid FROM "_s + table() + u" WHERE data > ?"_s;
    QVariantList p{dateValue(kFloor)};
    auto add = [&](const std::optional<QDate>& d, const QString& cond) {
        if (!d) return;
        sql += cond;
        p << dateValue(*d);
    };
    add(f.dueFrom, u" AND data >= ?"_s);
    add(f.dueTo, u" AND data <= ?"_s);
    add(f.payFrom, u" AND datapag >= ?"_s);
    add(f.payTo, u" AND datapag <= ?"_s);
    if (!f.party.trimmed().isEmpty()) {
        sql += u" AND cod_cli = ?"_s;
        p << f.party.trimmed();
    }
    if (!f.description.isEmpty()) {
        sql += like(u"des"_s);
        p << contains(f.description);
    }
    const QString col = columns().contains(orderColumn) ? orderColumn : u"DATA"_s;
    sql += col == u"DATA" ? u" ORDER BY data, rowid"_s : u" ORDER BY "_s + col + u", data, rowid"_s;
    QList<qint64> ids;
    m_store.forEachRow(sql, p, [&ids](const StoreRow& r) { ids.append(r.integer(0)); });
    return ids;
}

QList<qint64> DeadlineArchive::search(const DeadlineSearch& s) {
    QString sql = u"SELECT rowid FROM "_s + table() + u" WHERE data > ? AND data BETWEEN ? AND ?"_s;
    QVariantList p{dateValue(kFloor), dateValue(s.from), dateValue(s.to)};
    auto part = [&](const QString& value, const QString& column) {
        if (value.trimmed().isEmpty()) return;
        sql += like(column);
        p << contains(value.trimmed());
    };
    part(s.kind, u"cod"_s);
    part(s.bank, u"banca"_s);
    if (!s.paid.isEmpty()) {
        sql += u" AND upper(trim(pagato)) = ?"_s;
        p << s.paid.trimmed().toUpper();
    }
    if (s.unpaidOnly) sql += u" AND upper(trim(pagato)) = 'N'"_s;
    part(s.description, u"des"_s);
    part(s.description2, u"des2"_s);
    static const char* const orders[] = {"data", "des", "des2", "cod", "banca"};
    sql += s.order == DeadlineSearch::Order::Data
               ? u" ORDER BY data, rowid"_s
               : u" ORDER BY "_s + QString::fromLatin1(orders[static_cast<int>(s.order)]) +
                     u", data, rowid"_s;
    QList<qint64> ids;
    m_store.forEachRow(sql, p, [&ids](const StoreRow& r) { ids.append(r.integer(0)); });
    return ids;
}

QList<qint64> DeadlineArchive::unpaidBetween(const QDate& from, const QDate& to) {
    DeadlineSearch s;
    s.from = from;
    s.to = to;
    s.unpaidOnly = true;
    return search(s);
}

qint64 DeadlineArchive::count() {
    return m_store.scalar(u"SELECT count(*) FROM "_s + table()).toLongLong();
}

std::optional<Deadline> DeadlineArchive::load(qint64 rowid) {
    const auto rows = m_store.rows(
        u"SELECT "_s + kFields + u" FROM "_s + table() + u" WHERE rowid = ?"_s, {rowid});
    if (rows.isEmpty()) return std::nullopt;
    return fromRow(rows.first());
}

QList<Deadline> DeadlineArchive::loadMany(const QList<qint64>& rowids) {
    QList<Deadline> out;
    if (rowids.isEmpty()) return out;
    QHash<qint64, Deadline> byRowid;
    const QString t = table();
    constexpr int kChunk = 500;
    for (qsizetype i = 0; i < rowids.size(); i += kChunk) {
        const qsizetype n = std::min<qsizetype>(kChunk, rowids.size() - i);
        QString marks;
        QVariantList p;
        for (qsizetype k = 0; k < n; ++k) {
            marks += k ? u",?"_s : u"?"_s;
            p << rowids[i + k];
        }
        for (const QVariantList& r : m_store.rows(
                 u"SELECT "_s + kFields + u" FROM "_s + t + u" WHERE rowid IN ("_s + marks + u")"_s,
                 p))
            byRowid.insert(r[0].toLongLong(), fromRow(r));
    }
    for (qint64 id : rowids)
        if (const auto it = byRowid.constFind(id); it != byRowid.cend()) out.append(*it);
    return out;
}

qint64 DeadlineArchive::nextId() {
    return m_store.scalar(u"SELECT coalesce(max(id), 0) + 1 FROM "_s + table()).toLongLong();
}

void DeadlineArchive::bindRow(const Deadline& d, QVariantList& p) const {
    p << dateValue(d.data) << d.cod << d.des << d.des2 << d.des3 << d.dare.toDouble()
      << d.avere.toDouble() << d.banca << d.pagato.trimmed().toUpper() << dateValue(d.datapag)
      << d.codCli << d.fattura << dateValue(d.dataFatt) << (d.reminder ? 1 : 0);
}

qint64 DeadlineArchive::insert(Deadline d) {
    const QString t = table();
    QVariantList p;
    bindRow(d, p);
    m_store.exec(
        u"INSERT INTO "_s + t +
            u" (id, data, cod, des, des2, des3, dare, avere, banca, pagato, datapag, cod_cli, "
            u"fattura, "
            u"data_fatt, reminder) SELECT coalesce(max(id), 0) + 1, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ? FROM "_s +
            t,
        p);
    return m_store.lastInsertId();
}

bool DeadlineArchive::update(const Deadline& d) {
    QVariantList p;
    bindRow(d, p);
    p << d.rowid;
    m_store.exec(
        u"UPDATE "_s + table() +
            u" SET data = ?, cod = ?, des = ?, des2 = ?, des3 = ?, dare = ?, avere = ?, banca = ?, "
            u"pagato = ?, "
            u"datapag = ?, cod_cli = ?, fattura = ?, data_fatt = ?, reminder = ? WHERE rowid = ?"_s,
        p);
    return m_store.changes() == 1;
}

bool DeadlineArchive::remove(qint64 rowid) {
    m_store.exec(u"DELETE FROM "_s + table() + u" WHERE rowid = ?"_s, {rowid});
    return m_store.changes() == 1;
}

QList<QDate> DeadlineArchive::repetitionDates(const Repetition& r) {
    QList<QDate> out;
    if (!r.from.isValid() || !r.to.isValid()) return out;
    for (int k = 1;; ++k) {
        // Counted from the first date each time, so a short month does not pull the day down.
        QDate d = r.yearly ? r.from.addYears(k) : r.from.addMonths(k);
        if (r.endOfMonth) d = QDate(d.year(), d.month(), d.daysInMonth());
        if (d > r.to) break;
        out.append(d);
    }
    return out;
}

int DeadlineArchive::repeat(const Deadline& d, const Repetition& r) {
    const QList<QDate> dates = repetitionDates(r);
    if (dates.isEmpty()) return 0;
    table();
    Transaction tx(m_store);
    for (const QDate& due : dates) {
        Deadline copy = d;
        copy.data = due;
        copy.pagato = u"N"_s;
        insert(copy);
    }
    tx.commit();
    return static_cast<int>(dates.size());
}

}  // namespace zel
