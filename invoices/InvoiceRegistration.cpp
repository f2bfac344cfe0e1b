#include "invoices/InvoiceRegistration.h"

#include <algorithm>
#include <utility>

#include "core/Paths.h"
#include "ddt/DdtArchive.h"
#include "documents/NextNumber.h"
#include "settings/Settings.h"
#include "store/Store.h"

namespace zel {

namespace {

constexpr char16_t kPath[] = u"Path";

QString dmy(const QDate& d) { return d.toString(QStringLiteral("dd/MM/yyyy")); }

QVariant dateOrNull(const QDate& d) { return d.isValid() ? QVariant(d) : QVariant(); }

double money(Money m) { return m.toDouble(); }

// The counter of the last row: these archives are numbered 1..N in stored order at every
// start, so the last row holds the highest, found without reading a million lines.
qint64 lastId(Store& store, const QString& table) {
    return store
        .scalar(
            QStringLiteral("SELECT COALESCE((SELECT id FROM %1 ORDER BY rowid DESC LIMIT 1), 0)")
                .arg(table))
        .toLongLong();
}

QString lineName(const InvoiceDdt& ddt, int index, const InvoiceLine& l) {
    return QStringLiteral("%1, riga %2 (%3 %4)")
        .arg(ddt.heading())
        .arg(index)
        .arg(l.cod.trimmed(), l.des.trimmed());
}

}  // namespace

InvoiceArchives InvoiceArchives::fromSettings(const Settings& s, int ddtYear) {
    InvoiceArchives a;
    a.header = s.text(kPath, u"Archivio fatture Master");
    a.lines = s.text(kPath, u"Archivio fatture Detail");
    const DdtYearArchives ddt =
        ddtYear > 0 ? DdtYearArchives::ofYear(s, ddtYear) : DdtYearArchives::fromSettings(s);
    a.ddtHeader = ddt.header;
    a.ddtLines = ddt.lines;
    a.registry = s.text(kPath, u"Archivio anagrafica");
    a.deadlines = s.text(kPath, u"Archivio scadenze");
    return a;
}

QString InvoiceDdt::heading() const {
    return QStringLiteral("DDT n. %1 del %2").arg(bolla).arg(dmy(data));
}

int InvoicePlan::lineCount() const {
    int n = 0;
    for (const auto& l : lines) n += static_cast<int>(l.size());
    return n;
}

InvoiceRegistration::InvoiceRegistration(Store& store, const Settings& settings,
                                         InvoiceArchives archives)
    : m_store(store), m_settings(settings), m_archives(std::move(archives)) {}

qint64 InvoiceRegistration::lastNumber() const {
    return NextNumber(m_store, m_archives.header, QStringLiteral("FATTURA")).propose() - 1;
}

bool InvoiceRegistration::numberTaken(qint64 number) const {
    return NextNumber(m_store, m_archives.header, QStringLiteral("FATTURA")).isTaken(number);
}

QString InvoiceRegistration::lastNumberMessage(qint64 last) {
    return QStringLiteral("Il numero della ultima fattura registrata è %1").arg(last);
}

QString InvoiceRegistration::takenMessage() {
    return QStringLiteral("Esiste già una fattura con questo numero!");
}

QList<InvoiceDdt> InvoiceRegistration::ddtsOf(const QString& customer, const QDate& from,
                                              const QDate& to) const {
    QList<InvoiceDdt> out;
    m_store.forEachRow(
        QStringLiteral(
            "SELECT bolla, data_mov, COALESCE(flag, ''), cod_cli, COALESCE(prezzo, 0) FROM %1 "
            "WHERE cod_cli IN (?, upper(?)) AND data_mov >= ? AND data_mov <= ? AND fattura = 'S' "
            "AND COALESCE(cod_forn, '') = '' ORDER BY bolla, data_mov")
            .arg(m_store.table(m_archives.ddtHeader)),
        {customer, customer, from, to}, [&out](const StoreRow& r) {
            InvoiceDdt d;
            d.bolla = r.integer(0);
            d.data = QDate::fromString(r.text(1).left(10), Qt::ISODate);
            d.flag = r.text(2);
            d.codCli = r.text(3);
            d.amount = Money::fromDouble(r.value(4).toDouble());
            out.append(d);
        });
    return out;
}

namespace {

constexpr char16_t kLineColumns[] =
    u"bolla, COALESCE(cod, ''), COALESCE(des, ''), COALESCE(unitamis, ''), COALESCE(flag, ''), "
    u"COALESCE(quant, 0), "
    u"COALESCE(prezzo, 0), COALESCE(prezzonett, 0), COALESCE(sconto, 0), COALESCE(perc_iva, 0), "
    u"COALESCE(peso, 0), "
    u"COALESCE(ptropic, 0), COALESCE(pzincat, 0), COALESCE(pdorat, 0), COALESCE(ctropic, 0), "
    u"COALESCE(czincat, 0), "
    u"COALESCE(cdorat, 0)";

InvoiceLine readLine(const StoreRow& r) {
    InvoiceLine l;
    l.bolla = r.integer(0);
    l.cod = r.text(1);
    l.des = r.text(2);
    l.unitamis = r.text(3);
    l.flag = r.text(4);
    double* numbers[] = {&l.quant,   &l.prezzo,  &l.prezzonett, &l.sconto,  &l.percIva, &l.peso,
                         &l.ptropic, &l.pzincat, &l.pdorat,     &l.ctropic, &l.czincat, &l.cdorat};
    for (int i = 0; i < 12; ++i) *numbers[i] = r.value(5 + i).toDouble();
    return l;
}

}  // namespace

QList<InvoiceLine> InvoiceRegistration::candidateLines(const QString& customer, const QDate& from,
                                                       const QDate& to, const QString& mark) const {
    QList<InvoiceLine> out;
    m_store.forEachRow(
        QStringLiteral(
            "SELECT %1 FROM %2 WHERE data >= ? AND data <= ? AND bolla <> 0 AND fattura = 'S' "
            "AND upper(cod_cli) = upper(?) AND flag = ? ORDER BY bolla, rowid")
            .arg(QString::fromUtf16(kLineColumns), m_store.table(m_archives.ddtLines)),
        {from, to, customer, mark}, [&out](const StoreRow& r) { out.append(readLine(r)); });
    return out;
}

InvoicePlan InvoiceRegistration::plan(const QString& customer,
                                      const QList<InvoiceDdt>& ddts) const {
    // The code as the DDT spell it, whatever the letter case typed.
    const QString code =
        ddts.isEmpty() || ddts.first().codCli.isEmpty() ? customer : ddts.first().codCli;
    InvoicePlan p{code, {}, {}, {}, {}, {}, DocumentTotals(VatRates(m_settings))};
    const QString linesSql =
        QStringLiteral(
            "SELECT %1 FROM %2 WHERE bolla = ? AND data = ? AND flag = ? AND fattura = 'S' "
            "AND upper(cod_cli) = upper(?) ORDER BY rowid")
            .arg(QString::fromUtf16(kLineColumns), m_store.table(m_archives.ddtLines));
    const QString earlierSql =
        QStringLiteral(
            "SELECT DISTINCT fattura FROM %1 WHERE des = ? AND upper(cod_cli) = upper(?) "
            "AND COALESCE(quant, 0) = 0 ORDER BY fattura")
            .arg(m_store.table(m_archives.lines));
    for (const InvoiceDdt& ddt : ddts) {
        QList<InvoiceLine> lines;
        m_store.forEachRow(linesSql, {ddt.bolla, ddt.data, ddt.flag, customer},
                           [&lines](const StoreRow& r) { lines.append(readLine(r)); });
        if (lines.isEmpty()) {
            p.skipped.append(ddt);
            continue;
        }
        for (int i = 0; i < lines.size(); ++i) {
            const InvoiceLine& l = lines[i];
            TotalsLine t{lineName(ddt, i + 1, l),
                         l.quant,
                         l.prezzonett,
                         l.percIva,
                         l.ptropic,
                         l.ctropic,
                         l.pzincat,
                         l.czincat,
                         l.pdorat,
                         l.cdorat};
            if (auto refusal = p.totals.addLine(t)) p.refusals.append(*refusal);
        }
        QStringList earlier;
        for (const QVariantList& row : m_store.rows(earlierSql, {ddt.heading(), customer}))
            earlier << row.value(0).toString();
        if (!earlier.isEmpty())
            p.earlierInvoices.append(QStringLiteral("Il %1 è già nella fattura n. %2.")
                                         .arg(ddt.heading(), earlier.join(u", ")));
        p.ddts.append(ddt);
        p.lines.append(lines);
    }
    return p;
}

void InvoiceRegistration::registerLines(const InvoicePlan& plan, qint64 number, const QDate& date,
                                        const QString& tipodoc) {
    Transaction tx(m_store);
    insertInvoice(plan, number, date, tipodoc);
    tx.commit();
}

void InvoiceRegistration::insertInvoice(const InvoicePlan& plan, qint64 number, const QDate& date,
                                        const QString& tipodoc) {
    if (!plan.refusals.isEmpty()) throw StoreError(plan.refusals.join(u'\n'));
    if (plan.empty()) throw StoreError(QStringLiteral("Nessun DDT con movimenti da fatturare."));
    if (numberTaken(number)) throw StoreError(takenMessage());
    const QString header = m_store.table(m_archives.header);
    const QString lines = m_store.table(m_archives.lines);
    const DocumentTotals& t = plan.totals;
    const qint64 headerId = lastId(m_store, header) + 1;
    m_store.exec(
        QStringLiteral(
            "INSERT INTO %1 (id, tipodoc, bolla, fattura, cod_cli, data, ptropic, pzincat, pdorat, "
            "pztropic, pzzincat, pzdorat) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
            .arg(header),
        {headerId, tipodoc, plan.ddts.first().bolla, number, plan.customer, date, t.processingKg(0),
         t.processingKg(1), t.processingKg(2), money(t.processingCost(0)),
         money(t.processingCost(1)), money(t.processingCost(2))});
    qint64 id = lastId(m_store, lines);
    // Heading lines carry only their text; their figures stay NULL.
    const QVariant none;
    const QString blank = QStringLiteral("");  // empty text is '', never NULL
    QList<QVariantList> rows;
    for (int d = 0; d < plan.ddts.size(); ++d) {
        rows.append({++id,   plan.ddts[d].heading(),
                     blank,  plan.customer,
                     number, none,
                     none,   none,
                     none,   none,
                     none,   none,
                     date,   blank,
                     none,   none,
                     none,   none,
                     none,   none,
                     blank});
        for (const InvoiceLine& l : plan.lines[d]) {
            const Money amount = Money::lineAmount(l.quant, decimal::scaled(l.prezzonett, 6), 6);
            rows.append({++id,         l.des,         l.cod,     plan.customer, number,
                         l.prezzonett, money(amount), l.percIva, l.prezzo,      l.sconto,
                         l.quant,      l.peso,        date,      l.unitamis,    l.ptropic,
                         l.pzincat,    l.pdorat,      l.ctropic, l.czincat,     l.cdorat,
                         l.flag});
        }
    }
    // Many rows per statement: a thousand lines are a few dozen statements, not a thousand.
    constexpr int kRowsPerStatement = 40;
    const QString head = QStringLiteral(
                             "INSERT INTO %1 (id, des, cod, cod_cli, fattura, prezzonett, "
                             "prezzotot, perc_iva, prezzo, "
                             "sconto, quant, peso, data, unitamis, ptropic, pzincat, pdorat, "
                             "ctropic, czincat, cdorat, "
                             "flag) VALUES ")
                             .arg(lines);
    const QString one =
        QStringLiteral("(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    for (qsizetype first = 0; first < rows.size(); first += kRowsPerStatement) {
        const qsizetype count = std::min<qsizetype>(kRowsPerStatement, rows.size() - first);
        QStringList values;
        QVariantList params;
        for (qsizetype i = 0; i < count; ++i) {
            values << one;
            params << rows[first + i];
        }
        m_store.exec(head + values.join(u", "), params);
    }
}

void InvoiceRegistration::complete(qint64 number, const QString& customer,
                                   const DocumentTotals& totals, const InvoiceFooter& footer) {
    Transaction tx(m_store);
    updateHeader(number, customer, totals, footer);
    tx.commit();
}

void InvoiceRegistration::updateHeader(qint64 number, const QString& customer,
                                       const DocumentTotals& t, const InvoiceFooter& f) {
    QVariantList dates, flags;
    for (int i = 0; i < 4; ++i) {
        dates << dateOrNull(i < f.dueDates.size() ? f.dueDates[i] : QDate());
        flags << (i < f.dueDates.size() && f.printDate[i] ? 1 : 0);
    }
    const QString pagam = (f.paymentMethod.trimmed() + u' ' + f.paymentTerm.trimmed()).trimmed();
    QVariantList params{dateOrNull(f.date),
                        money(f.exemptExpenses),
                        f.exemption,
                        qRound64(f.discountPercent),
                        t.processingKg(0),
                        t.processingKg(1),
                        t.processingKg(2),
                        money(t.processingCost(0)),
                        money(t.processingCost(1)),
                        money(t.processingCost(2)),
                        money(t.netTaxable()),
                        money(t.taxableBeforeExpenses()),
                        money(t.vatAt(0)),
                        money(t.vatAt(1)),
                        money(t.vatAt(2)),
                        money(t.vatTotal()),
                        money(t.total()),
                        f.note1,
                        f.note2,
                        f.note3};
    params << dates << flags;
    params << f.bank << money(f.taxableExpenses) << pagam << f.paymentTerm
           << money(f.generalProcessing) << f.gruppo << f.catFisc << f.tipodoc << number
           << customer;
    m_store.exec(
        QStringLiteral(
            "UPDATE %1 SET data = ?, speseesiva = ?, titoloesen = ?, sconto_perc = ?, ptropic = ?, "
            "pzincat = ?, pdorat = ?, pztropic = ?, pzzincat = ?, pzdorat = ?, imp_tot = ?, "
            "imp_glob = ?, iva4 = ?, iva9 = ?, iva19 = ?, iva_tot = ?, tot_fatt = ?, note = ?, "
            "note2 = ?, note3 = ?, cscadpag1 = ?, cscadpag2 = ?, cscadpag3 = ?, cscadpag4 = ?, "
            "flagpag1 = ?, flagpag2 = ?, flagpag3 = ?, flagpag4 = ?, banca = ?, spese = ?, "
            "pagam = ?, scadpag = ?, lavoraz = ?, gruppo = ?, cat_fisc = ?, tipodoc = ? "
            "WHERE fattura = ? AND upper(cod_cli) = upper(?)")
            .arg(m_store.table(m_archives.header)),
        params);
    if (m_store.changes() == 0)
        throw StoreError(QStringLiteral("La fattura n. %1 non è più nell'archivio.").arg(number));
}

bool InvoiceRegistration::hasDeadlines(qint64 number, const QString& customer,
                                       const QDate& date) const {
    return m_store
               .scalar(
                   QStringLiteral(
                       "SELECT COUNT(*) FROM %1 WHERE fattura = ? AND upper(cod_cli) = upper(?) "
                       "AND data_fatt = ?")
                       .arg(m_store.table(m_archives.deadlines)),
                   {number, customer, date})
               .toLongLong() > 0;
}

bool InvoiceRegistration::writeDeadlines(qint64 number, const QString& customer,
                                         const InvoiceFooter& footer) {
    Transaction tx(m_store);
    if (hasDeadlines(number, customer, footer.date)) return false;
    insertDeadlines(number, customer, footer);
    tx.commit();
    return true;
}

void InvoiceRegistration::insertDeadlines(qint64 number, const QString& customer,
                                          const InvoiceFooter& f) {
    const QString scad = m_store.table(m_archives.deadlines);
    qint64 id = m_store.scalar(QStringLiteral("SELECT COALESCE(MAX(id), 0) FROM %1").arg(scad))
                    .toLongLong();
    const QString des =
        QStringLiteral("%1 N° %2 del %3").arg(f.tipodoc).arg(number).arg(dmy(f.date));
    const QString name = customerName(customer);
    const QString sql =
        QStringLiteral(
            "INSERT INTO %1 (id, data, cod, des, des2, des3, des4, cod_cli, dare, avere, "
            "banca, pagato, fattura, data_fatt, reminder) "
            "VALUES (?, ?, ?, ?, ?, '', '', ?, 0, ?, ?, ?, ?, ?, 0)")
            .arg(scad);
    for (int i = 0; i < f.dueDates.size() && i < f.instalments.size(); ++i)
        m_store.exec(sql, {++id, f.dueDates[i], f.paymentMethod, des, name, customer,
                           money(f.instalments[i]), f.bank,
                           f.paid ? QStringLiteral("S") : QStringLiteral("N"), number, f.date});
}

QString InvoiceRegistration::deadlinesMessage(const InvoiceFooter& f) {
    QString text = QStringLiteral("Sono state registrate le seguenti scadenze:\n\r");
    for (int i = 0; i < f.dueDates.size() && i < f.instalments.size(); ++i)
        text += QStringLiteral("%1 di € %2\n")
                    .arg(dmy(f.dueDates[i]), decimal::format(f.instalments[i].cents(), 2, false));
    return text;
}

QString InvoiceRegistration::deadlinesThereMessage(qint64 number) {
    return QStringLiteral("Le scadenze della fattura n. %1 sono già nello scadenzario.")
        .arg(number);
}

QString InvoiceRegistration::customerName(const QString& customer) const {
    return m_store
        .scalar(QStringLiteral(
                    "SELECT COALESCE(nome, '') FROM %1 WHERE cod_cli IN (?, upper(?)) LIMIT 1")
                    .arg(m_store.table(m_archives.registry)),
                {customer, customer})
        .toString();
}

}  // namespace zel
