#include "ddt/DdtArchive.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include "core/Clock.h"
#include "core/Paths.h"
#include "ddt/DdtLine.h"
#include "ddt/DdtTotals.h"
#include "settings/Settings.h"
#include "store/ArchiveMaintenance.h"
#include "store/Store.h"
#include "ui/Formats.h"
#include "warehouse/StockOps.h"

namespace zel {

namespace {

QVariant dateOrNull(const QDate& d) { return d.isValid() ? QVariant(d) : QVariant(); }

QString yearFile(const QString& base, const QString& prefix, int year) {
    return dataFile(base,
                    prefix + QStringLiteral("%1.db").arg(year % 100, 2, 10, QLatin1Char('0')));
}

// The DDT's own lines: its number and recipient, never a supplier's load.
constexpr char16_t kOwnLines[] = u"bolla = ? AND cod_cli = ? AND COALESCE(cod_forn, '') = ''";

QVariantMap toMap(const QStringList& names, const QVariantList& values) {
    QVariantMap m;
    for (int i = 0; i < names.size() && i < values.size(); ++i) m.insert(names[i], values[i]);
    return m;
}

QStringList columnNames(Store& store, const QString& path) {
    QStringList names;
    for (const ColumnInfo& c : store.columns(path)) names << c.name.toUpper();
    return names;
}

}  // namespace

QVariant rowValue(const QVariantMap& row, QStringView column) {
    const auto it = row.constFind(column.toString().toUpper());
    if (it != row.constEnd()) return it.value();
    for (auto i = row.constBegin(); i != row.constEnd(); ++i)
        if (i.key().compare(column, Qt::CaseInsensitive) == 0) return i.value();
    return {};
}

QDate rowDate(const QVariantMap& row, QStringView column) {
    const QVariant v = rowValue(row, column);
    if (v.typeId() == QMetaType::QDate) return v.toDate();
    return QDate::fromString(v.toString().left(10), Qt::ISODate);
}

DdtYearArchives DdtYearArchives::fromSettings(const Settings& s) {
    DdtYearArchives a;
    a.header = s.text(u"Path", u"Archivio DDT Master");
    a.lines = s.text(u"Path", u"Archivio DDT Detail");
    a.registry = s.text(u"Path", u"Archivio anagrafica");
    a.warehouse = s.text(u"Path", u"Archivio Magazzino");
    a.outside = dataFile(s.baseFolder(), QStringLiteral("mag_ext.db"));
    const QString code =
        s.text(u"Magazzino", u"Codice magazzino predefinito").section(u'.', 0, 0).trimmed();
    if (!code.isEmpty() && code != u"0") a.unloadPlace = code;
    return a;
}

DdtYearArchives DdtYearArchives::ofYear(const Settings& s, int year) {
    DdtYearArchives a = fromSettings(s);
    if (a.year() == year) return a;
    a.header = yearFile(s.baseFolder(), QStringLiteral("ddt"), year);
    a.lines = yearFile(s.baseFolder(), QStringLiteral("dett_ddt"), year);
    return a;
}

int DdtYearArchives::year() const {
    static const QRegularExpression digits(QStringLiteral("(\\d\\d)$"));
    const QRegularExpressionMatch m = digits.match(fileStem(header));
    return m.hasMatch() ? 2000 + m.captured(1).toInt() : 0;
}

QList<int> DdtYearArchives::existingYears(const QString& base) {
    QList<int> years{Clock::today().year()};
    static const QRegularExpression name(QStringLiteral("^ddt(\\d\\d)\\.db$"),
                                         QRegularExpression::CaseInsensitiveOption);
    for (const QString& f : QDir(dataDir(base)).entryList(QDir::Files)) {
        const QRegularExpressionMatch m = name.match(f);
        if (m.hasMatch() && !years.contains(2000 + m.captured(1).toInt()))
            years << 2000 + m.captured(1).toInt();
    }
    std::sort(years.begin(), years.end());
    return years;
}

DdtArchive::DdtArchive(Store& store, DdtYearArchives archives)
    : m_store(store), m_archives(std::move(archives)) {}

QString DdtArchive::headerTable() { return m_store.table(m_archives.header); }
QString DdtArchive::linesTable() { return m_store.table(m_archives.lines); }

std::optional<QVariantMap> DdtArchive::header(const DdtKey& key) {
    const QString t = headerTable();
    const QList<QVariantList> rows = m_store.rows(
        QStringLiteral(
            "SELECT rowid, * FROM %1 WHERE bolla = ? AND cod_cli = ? ORDER BY rowid LIMIT 1")
            .arg(t),
        {key.number, key.recipient});
    if (rows.isEmpty()) return std::nullopt;
    return toMap(QStringList{QStringLiteral("ROWID")} + columnNames(m_store, m_archives.header),
                 rows.first());
}

QVariantMap DdtArchive::recipient(const QString& code) {
    if (code.isEmpty() || !Store::exists(m_archives.registry)) return {};
    const QList<QVariantList> rows =
        m_store.rows(QStringLiteral("SELECT * FROM %1 WHERE cod_cli = ? ORDER BY rowid LIMIT 1")
                         .arg(m_store.table(m_archives.registry)),
                     {code});
    if (rows.isEmpty()) return {};
    return toMap(columnNames(m_store, m_archives.registry), rows.first());
}

QList<QVariantMap> DdtArchive::lines(const DdtKey& key) {
    const QString t = linesTable();
    const QStringList names =
        QStringList{QStringLiteral("ROWID")} + columnNames(m_store, m_archives.lines);
    QList<QVariantMap> out;
    m_store.forEachRow(
        QStringLiteral(
            "SELECT rowid, * FROM %1 WHERE %2 AND upper(COALESCE(flag, '')) <> 'X' ORDER BY rowid")
            .arg(t, QString::fromUtf16(kOwnLines)),
        {key.number, key.recipient}, [&](const StoreRow& r) {
            QVariantMap m;
            for (int i = 0; i < names.size(); ++i) m.insert(names[i], r.value(i));
            out.append(m);
        });
    return out;
}

DdtArchive::LineTotals DdtArchive::lineTotals(const DdtKey& key) {
    const QList<QVariantList> r =
        m_store.rows(QStringLiteral("SELECT COALESCE(SUM(peso), 0), COALESCE(SUM(colli), 0), "
                                    "COALESCE(SUM(quant), 0) FROM %1 "
                                    "WHERE %2 AND upper(COALESCE(flag, '')) <> 'X'")
                         .arg(linesTable(), QString::fromUtf16(kOwnLines)),
                     {key.number, key.recipient});
    LineTotals t;
    if (!r.isEmpty()) {
        t.peso = r[0][0].toDouble();
        t.colli = r[0][1].toDouble();
        t.quant = r[0][2].toDouble();
    }
    return t;
}

void DdtArchive::setInvoiceable(const DdtKey& key) {
    m_store.exec(QStringLiteral("UPDATE %1 SET fattura = 'S' WHERE bolla = ? AND cod_cli = ?")
                     .arg(headerTable()),
                 {key.number, key.recipient});
}

bool DdtArchive::changeRecipient(const DdtKey& key, const QString& newCode) {
    const QString h = headerTable();
    const QString l = linesTable();
    if (newCode == key.recipient) return true;
    // Two DDT would become one.
    if (m_store
            .scalar(
                QStringLiteral("SELECT 1 FROM %1 WHERE bolla = ? AND cod_cli = ? LIMIT 1").arg(h),
                {key.number, newCode})
            .isValid())
        throw StoreError(
            QStringLiteral("Esiste già un DDT n° %1 del cliente %2.").arg(key.number).arg(newCode));
    Transaction tx(m_store);
    m_store.exec(QStringLiteral("UPDATE %1 SET cod_cli = ? WHERE bolla = ? AND cod_cli = ?").arg(h),
                 {newCode, key.number, key.recipient});
    if (m_store.changes() == 0) return false;
    m_store.exec(
        QStringLiteral("UPDATE %1 SET cod_cli = ? WHERE %2").arg(l, QString::fromUtf16(kOwnLines)),
        {newCode, key.number, key.recipient});
    tx.commit();
    return true;
}

void DdtArchive::recomputeHeader(const DdtKey& key) {
    DdtTotals::ofDdt(m_store, m_archives.lines, key.number, key.recipient)
        .writeHeader(m_store, m_archives.header, key.number, key.recipient);
}

void DdtArchive::updateLine(const DdtKey& key, qint64 lineRowid, const DdtLineFields& f,
                            const DdtHeaderFields& hf) {
    const QString h = headerTable();
    const QString l = linesTable();
    Transaction tx(m_store);
    // The line stays the DDT's: its recipient is the header's.
    m_store.exec(
        QStringLiteral(
            "UPDATE %1 SET ordine = ?, prezzonett = ?, prezzo = ?, sconto = ?, perc_iva = ?, "
            "cod = ?, des = ?, fattura = ?, flag = ?, quant = ?, peso = ?, colli = ?, "
            "ptropic = ?, ctropic = ?, pzincat = ?, czincat = ?, pdorat = ?, cdorat = ?, "
            "scarto = ?, unitamis = ?, dataord = ?, data = ? WHERE rowid = ? AND %2")
            .arg(l, QString::fromUtf16(kOwnLines)),
        {f.ordine,
         f.prezzoNett,
         f.prezzo,
         f.sconto,
         f.percIva,
         f.cod,
         f.des,
         f.fattura,
         f.flag,
         f.quant,
         f.peso,
         f.colli,
         f.ptropic,
         f.ctropic,
         f.pzincat,
         f.czincat,
         f.pdorat,
         f.cdorat,
         f.scarto,
         f.unitaMis,
         dateOrNull(f.dataOrd),
         dateOrNull(f.data),
         lineRowid,
         key.number,
         key.recipient});
    if (m_store.changes() != 1)
        throw StoreError(
            QStringLiteral("La voce non appartiene più al DDT n° %1.").arg(key.number));
    m_store.exec(
        QStringLiteral(
            "UPDATE %1 SET causale = ?, porto = ?, fattura = ?, aspetto = ?, trasporto = ?, "
            "imballo = ?, ordine = ?, note1 = ?, note2 = ?, data_mov = ? WHERE bolla = ? AND "
            "cod_cli = ?")
            .arg(h),
        {hf.causale, hf.porto, hf.fattura, hf.aspetto, hf.trasporto, hf.imballo, hf.ordine,
         hf.note1, hf.note2, dateOrNull(hf.data), key.number, key.recipient});
    if (m_store.changes() == 0) throw StoreError(notDeletedMessage(key.number, key.recipient));
    recomputeHeader(key);
    tx.commit();
}

void DdtArchive::addLine(const DdtKey& key, const DdtLineFields& f) {
    if (key.recipient.isEmpty())
        throw StoreError(QStringLiteral("Il codice cliente è obbligatorio."));
    const QString h = headerTable();
    const QString l = linesTable();
    StockArchives sa;
    sa.movements = m_archives.lines;
    StockOps ops(m_store, sa);
    Transaction tx(m_store);
    const QVariant causale = m_store.scalar(
        QStringLiteral("SELECT causale FROM %1 WHERE bolla = ? AND cod_cli = ? LIMIT 1").arg(h),
        {key.number, key.recipient});
    if (!causale.isValid()) throw StoreError(notDeletedMessage(key.number, key.recipient));
    const qint64 lastOld = ops.lastMovementRowid();
    // Stock does not move: the line is recorded as one that left nothing.
    m_store.exec(
        QStringLiteral(
            "INSERT INTO %1 (cod, des, cod_cli, cod_forn, prezzo, perc_iva, sconto, quant, ordine, "
            "unitamis, peso, colli, prezzonett, flag, fattura, data, dataord, bolla, causale, "
            "controllo, ptropic, ctropic, pzincat, czincat, pdorat, cdorat, scarto) VALUES "
            "(?, ?, ?, '', ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
            .arg(l),
        {f.cod,
         f.des,
         key.recipient,
         f.prezzo,
         f.percIva,
         f.sconto,
         f.quant,
         f.ordine,
         f.unitaMis,
         f.peso,
         f.colli,
         f.prezzoNett,
         f.flag,
         f.fattura,
         dateOrNull(f.data),
         dateOrNull(f.dataOrd),
         key.number,
         causale.toString(),
         QString::fromUtf16(kLineNotUnloaded),
         f.ptropic,
         f.ctropic,
         f.pzincat,
         f.czincat,
         f.pdorat,
         f.cdorat,
         f.scarto});
    ops.renumberMovements(lastOld);
    recomputeHeader(key);
    tx.commit();
}

bool DdtArchive::deleteLine(const DdtKey& key, qint64 lineRowid) {
    const QString l = linesTable();
    headerTable();
    Transaction tx(m_store);
    m_store.exec(QStringLiteral("DELETE FROM %1 WHERE rowid = ? AND %2")
                     .arg(l, QString::fromUtf16(kOwnLines)),
                 {lineRowid, key.number, key.recipient});
    if (m_store.changes() != 1) return false;
    recomputeHeader(key);
    tx.commit();
    return true;
}

DeleteOutcome DdtArchive::deleteDdt(const DdtKey& key, bool restoreStock) {
    const QString h = headerTable();
    const QString l = linesTable();
    StockArchives sa;
    sa.warehouse = m_archives.warehouse;
    sa.movements = m_archives.lines;
    sa.outside = m_archives.outside;
    StockOps ops(m_store, sa);
    const StockPlace place{m_archives.unloadPlace};
    if (restoreStock) {
        m_store.table(m_archives.warehouse);
        if (place.isOutside()) m_store.table(m_archives.outside);
    }
    DeleteOutcome out;
    Transaction tx(m_store);
    m_store.exec(
        QStringLiteral(
            "DELETE FROM %1 WHERE bolla = ? AND cod_cli = ? AND COALESCE(cod_forn, '') = ''")
            .arg(h),
        {key.number, key.recipient});
    // Nothing deleted, nothing given back.
    if (m_store.changes() == 0) return out;

    if (restoreStock) {
        QList<QVariantList> unloaded = m_store.rows(
            QStringLiteral(
                "SELECT cod, COALESCE(quant, 0), COALESCE(peso, 0), COALESCE(colli, 0) FROM %1 "
                "WHERE %2 "
                "AND COALESCE(controllo, '') <> ? AND COALESCE(causale, '') <> ? ORDER BY rowid")
                .arg(l, QString::fromUtf16(kOwnLines)),
            {key.number, key.recipient, QString::fromUtf16(kLineNotUnloaded),
             QString::fromUtf16(kCauseRestore)});
        for (const QVariantList& r : unloaded) {
            const QString cod = r[0].toString();
            if (cod.isEmpty() || !ops.articleExists(cod)) continue;
            UnloadRequest u;
            u.cod = cod;
            u.quantity = -r[1].toDouble();
            u.weight = -r[2].toDouble();
            u.parcels = -r[3].toLongLong();
            u.place = place;
            ops.manualUnload(u);
            ++out.restored;
        }
    }
    if (key.number != 0)
        m_store.exec(
            QStringLiteral(
                "INSERT INTO %1 (bolla, cod_cli, cod_forn, cod, des, colli, perc_iva, peso, "
                "prezzo, "
                "prezzonett, quant, sconto, unitamis, data, flag, causale, fattura, controllo) "
                "SELECT 0, cod_cli, '', cod, des, colli, perc_iva, peso, prezzo, prezzonett, "
                "quant, "
                "sconto, unitamis, ?, 'X', ?, 'X', controllo FROM %1 WHERE %2 ORDER BY rowid")
                .arg(l, QString::fromUtf16(kOwnLines)),
            {Clock::today(), QString::fromUtf16(kCauseRestore), key.number, key.recipient});
    const QVariant firstGone = m_store.scalar(
        QStringLiteral("SELECT MIN(rowid) FROM %1 WHERE %2").arg(l, QString::fromUtf16(kOwnLines)),
        {key.number, key.recipient});
    m_store.exec(QStringLiteral("DELETE FROM %1 WHERE %2").arg(l, QString::fromUtf16(kOwnLines)),
                 {key.number, key.recipient});
    renumberFrom(firstGone.isNull() ? 0 : firstGone.toLongLong());
    tx.commit();
    out.deleted = true;
    return out;
}

// ---- DDT list -------------------------------------------------------------------

namespace {

// The fixed columns a title click sorts by; others are not sortable.
const char16_t* sortColumnSql(int column) {
    switch (column) {
        case DdtListModel::Data:
            return u"m.data_mov";
        case DdtListModel::Bolla:
            return u"m.bolla";
        case DdtListModel::Fattura:
            return u"m.fattura";
        case DdtListModel::CodCli:
            return u"m.cod_cli";
        case DdtListModel::CodForn:
            return u"m.cod_forn";
        case DdtListModel::Nome:
            return u"nome";
        case DdtListModel::Causale:
            return u"m.causale";
        default:
            return nullptr;
    }
}

}  // namespace

DdtListModel::DdtListModel(QObject* parent) : QAbstractTableModel(parent) {}

bool DdtListModel::sortable(int column) { return sortColumnSql(column) != nullptr; }

QString DdtListModel::nameExpr() const {
    if (m_registryTable.isEmpty()) return QStringLiteral("''");
    // The card of the recipient, else of the supplier: one name per DDT, never a second row.
    return QStringLiteral(
               "COALESCE((SELECT c.nome FROM %1 c WHERE c.cod_cli = CASE WHEN COALESCE(m.cod_cli, "
               "'') <> '' "
               "THEN m.cod_cli ELSE m.cod_forn END ORDER BY c.rowid LIMIT 1), '')")
        .arg(m_registryTable);
}

void DdtListModel::clear() {
    beginResetModel();
    m_rowids.clear();
    m_cache.clear();
    m_cacheOrder.clear();
    endResetModel();
}

void DdtListModel::refresh() {
    m_cache.clear();
    m_cacheOrder.clear();
    if (!m_rowids.empty()) Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
}

void DdtListModel::select(Store& store, const DdtYearArchives& archives, const DdtQuery& q) {
    const QString h = store.table(archives.header);
    const QString reg =
        Store::exists(archives.registry) ? store.table(archives.registry) : QString();
    QStringList where;
    QVariantList params;
    QString order = QStringLiteral("m.bolla, m.rowid");
    bool needsName = false;
    switch (q.kind) {
        case DdtQuery::Kind::Default:
            where << QStringLiteral("COALESCE(m.controllo, '') <> 'X'");
            break;
        case DdtQuery::Kind::Reset:
            break;
        case DdtQuery::Kind::All:
            order = QStringLiteral("m.data_mov, m.rowid");
            break;
        case DdtQuery::Kind::Search:
            where << QStringLiteral("m.bolla = ?");
            params << q.number;
            break;
        case DdtQuery::Kind::Sorted: {
            const char16_t* c = sortColumnSql(q.sortColumn);
            if (!c) break;
            needsName = q.sortColumn == Nome;
            order = QString::fromUtf16(c) +
                    (q.descending ? QStringLiteral(" DESC") : QStringLiteral(" ASC")) +
                    QStringLiteral(", m.rowid");
            break;
        }
        case DdtQuery::Kind::Filter:
            where << QStringLiteral(
                "(COALESCE(m.cod_cli, '') <> '' OR COALESCE(m.cod_forn, '') <> '')");
            for (const DdtCondition& c : q.conditions) {
                switch (c.kind) {
                    case DdtCondition::Kind::Invoiceable:
                        where << QStringLiteral("upper(m.fattura) = 'S'");
                        break;
                    case DdtCondition::Kind::Load:
                        where << QStringLiteral("m.causale = 'Carico merce'");
                        break;
                    case DdtCondition::Kind::Unload:
                        where << QStringLiteral("COALESCE(m.causale, '') <> 'Carico merce'");
                        break;
                    case DdtCondition::Kind::Number:
                        where << QStringLiteral("m.bolla = ?");
                        params << c.value.toLongLong();
                        break;
                    case DdtCondition::Kind::Customer:
                        where << QStringLiteral("m.cod_cli = ?");
                        params << c.value;
                        break;
                    case DdtCondition::Kind::Supplier:
                        where << QStringLiteral("m.cod_forn = ?");
                        params << c.value;
                        break;
                    case DdtCondition::Kind::Order:
                        where << QStringLiteral("m.ordine = ?");
                        params << c.value;
                        break;
                }
            }
            break;
    }
    m_store = &store;
    m_header = archives.header;
    m_registryTable = reg;
    const QString sql =
        QStringLiteral("SELECT m.rowid%1 FROM %2 m%3 ORDER BY %4")
            .arg(needsName ? QStringLiteral(", ") + nameExpr() + QStringLiteral(" AS nome")
                           : QString(),
                 h,
                 where.isEmpty() ? QString()
                                 : QStringLiteral(" WHERE ") + where.join(QStringLiteral(" AND ")),
                 order);
    std::vector<qint64> ids;
    store.forEachRow(sql, params, [&ids](const StoreRow& r) { ids.push_back(r.integer(0)); });
    beginResetModel();
    m_rowids = std::move(ids);
    m_cache.clear();
    m_cacheOrder.clear();
    endResetModel();
}

const QList<DdtListEntry>& DdtListModel::window(int block) const {
    const auto it = m_cache.constFind(block);
    if (it != m_cache.constEnd()) return it.value();
    const size_t first = static_cast<size_t>(block) * kWindow;
    const size_t last = std::min(m_rowids.size(), first + kWindow);
    QStringList marks;
    QVariantList params;
    for (size_t i = first; i < last; ++i) {
        marks << QStringLiteral("?");
        params << m_rowids[i];
    }
    QHash<qint64, DdtListEntry> byRowid;
    if (!marks.isEmpty()) {
        m_store->forEachRow(
            QStringLiteral("SELECT m.rowid, m.bolla, m.fattura, m.data_mov, m.cod_cli, m.cod_forn, "
                           "%1, m.causale, "
                           "m.tot_colli, m.tot_peso, m.prezzo FROM %2 m WHERE m.rowid IN (%3)")
                .arg(nameExpr(), m_store->table(m_header), marks.join(u',')),
            params, [&byRowid](const StoreRow& r) {
                DdtListEntry e;
                e.rowid = r.integer(0);
                e.bolla = r.integer(1);
                e.fattura = r.text(2);
                e.data = QDate::fromString(r.text(3).left(10), Qt::ISODate);
                e.codCli = r.text(4);
                e.codForn = r.text(5);
                e.nome = r.text(6);
                e.causale = r.text(7);
                e.colli = r.value(8).toDouble();
                e.peso = r.value(9).toDouble();
                e.prezzo = r.value(10).toDouble();
                byRowid.insert(e.rowid, e);
            });
    }
    QList<DdtListEntry> rows;
    rows.reserve(static_cast<qsizetype>(last - first));
    for (size_t i = first; i < last; ++i) rows.append(byRowid.value(m_rowids[i]));
    ++m_windowsRead;
    if (m_cacheOrder.size() >= 8) m_cache.remove(m_cacheOrder.takeFirst());
    m_cacheOrder.append(block);
    return m_cache.insert(block, rows).value();
}

DdtListEntry DdtListModel::entry(int row) const {
    if (row < 0 || static_cast<size_t>(row) >= m_rowids.size() || !m_store) return {};
    return window(row / kWindow).at(row % kWindow);
}

int DdtListModel::rowOf(const DdtKey& key) const {
    for (int i = 0; i < rowCount(); ++i) {
        const DdtListEntry e = entry(i);
        if (e.key() == key) return i;
    }
    return -1;
}

int DdtListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rowids.size());
}

int DdtListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant DdtListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    if (role == Qt::TextAlignmentRole)
        return index.column() >= Colli ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
    if (role != Qt::DisplayRole) return {};
    const DdtListEntry e = entry(index.row());
    switch (index.column()) {
        case Data:
            return fmt::date(e.data);
        case Bolla:
            return QString::number(e.bolla);
        case Fattura:
            return e.fattura;
        case CodCli:
            return e.codCli;
        case CodForn:
            return e.codForn;
        case Nome:
            return e.nome;
        case Causale:
            return e.causale;
        case Colli:
            return fmt::number(e.colli, u"##0");
        case Peso:
            return fmt::number(e.peso, u"##0.00");
        case Prezzo:
            return fmt::number(e.prezzo, u"#,##0.00");
        default:
            return {};
    }
}

QVariant DdtListModel::headerData(int section, Qt::Orientation o, int role) const {
    if (o != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, o, role);
    static const char16_t* titles[] = {
        u"Data",    u"Num DDT", u"Da fatt.", u"Cod. cliente", u"Cod. fornitore", u"Ragione sociale",
        u"Causale", u"Colli",   u"Peso",     u"Prezzo"};
    return section >= 0 && section < ColumnCount ? QString::fromUtf16(titles[section]) : QString();
}

void DdtArchive::renumberFrom(qint64 rowid) {
    const QString l = linesTable();
    if (rowid > 0) {
        // Rows before the first deleted one keep their numbers when they are 1..k already.
        const qint64 before =
            m_store
                .scalar(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE rowid < ?").arg(l), {rowid})
                .toLongLong();
        const QVariant lastId = m_store.scalar(
            QStringLiteral("SELECT ID FROM %1 WHERE rowid < ? ORDER BY rowid DESC LIMIT 1").arg(l),
            {rowid});
        if (before == 0 ||
            (lastId.isValid() && !lastId.isNull() && lastId.toLongLong() == before)) {
            m_store.exec(
                QStringLiteral(
                    "UPDATE %1 AS t SET ID = r.n FROM (SELECT rowid AS rid, ? + row_number() OVER "
                    "(ORDER BY rowid) AS n FROM %1 WHERE rowid >= ?) AS r WHERE t.rowid = r.rid "
                    "AND "
                    "t.ID IS NOT r.n")
                    .arg(l),
                {before, rowid});
            return;
        }
    }
    renumberIds(m_store, m_archives.lines);
}

QString DdtArchive::restoredMessage(int count, qint64 number) {
    return QStringLiteral("Sono stati ripristinati %1 valori di giacenza precedenti al DDT n° %2")
        .arg(count)
        .arg(number);
}

QString DdtArchive::notDeletedMessage(qint64 number, const QString& code) {
    return QStringLiteral("Il DDT n° %1 del cliente %2 non è più presente in archivio.")
        .arg(number)
        .arg(code);
}

}  // namespace zel
