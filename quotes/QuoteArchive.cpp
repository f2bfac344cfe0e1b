#include "quotes/QuoteArchive.h"

#include <QHash>

#include "core/Clock.h"
#include "core/Paths.h"
#include "documents/NextNumber.h"
#include "documents/VatRates.h"
#include "settings/Settings.h"
#include "store/Store.h"

namespace zel {

namespace {

QVariant dateOrNull(const QDate& d) { return d.isValid() ? QVariant(d) : QVariant(); }

const QString kLineColumns = QStringLiteral(
    "fattura, data, cod_cli, cod, des, note, unitamis, quant, prezzo, sconto, prezzonett, "
    "prezzotot, perc_iva, prezzo_alfa, stampa_alfa, immagine, ID");

const QString kLineSelect = QStringLiteral(
    "rowid, ID, cod, des, note, unitamis, prezzo_alfa, immagine, stampa_alfa, quant, prezzo, "
    "sconto, perc_iva");

QuoteLine lineFrom(const QVariantList& r) {
    QuoteLine l;
    l.rowid = r[0].toLongLong();
    l.id = r[1].toLongLong();
    l.cod = r[2].toString();
    l.des = r[3].toString();
    l.note = r[4].toString();
    l.unitamis = r[5].toString();
    l.prezzoAlfa = r[6].toString();
    l.immagine = r[7].toString();
    l.stampaAlfa = r[8].toBool();
    l.quant = r[9].toDouble();
    l.prezzo = r[10].toDouble();
    l.sconto = r[11].toDouble();
    l.percIva = r[12].toDouble();
    return l;
}

}  // namespace

// As the totals count it, so a line's stored amount adds up to the header's taxable.
Money QuoteLine::amount() const {
    return Money::lineAmount(quant, decimal::scaled(prezzonett(), 6), 6);
}

QuoteArchives QuoteArchives::fromSettings(const Settings& settings) {
    QuoteArchives a;
    a.header = settings.text(u"Path", u"Archivio preventivi Master");
    a.lines = settings.text(u"Path", u"Archivio preventivi Detail");
    a.working = dataFile(settings.baseFolder(), QStringLiteral("prev_tmp.db"));
    return a;
}

QuoteArchive::QuoteArchive(Store& store, const Settings& settings, QuoteArchives archives)
    : m_store(store), m_settings(settings), m_archives(std::move(archives)) {}

QuoteArchive::QuoteArchive(Store& store, const Settings& settings)
    : QuoteArchive(store, settings, QuoteArchives::fromSettings(settings)) {}

qint64 QuoteArchive::proposeNumber() const {
    return NextNumber(m_store, m_archives.header, QStringLiteral("fattura")).propose();
}

bool QuoteArchive::numberTaken(qint64 number) const {
    return NextNumber(m_store, m_archives.header, QStringLiteral("fattura")).isTaken(number);
}

void QuoteArchive::clearWorking() {
    if (!Store::exists(m_archives.working)) {
        m_store.createEmptyCopy(m_archives.lines, m_archives.working);
        return;
    }
    m_store.exec(QStringLiteral("DELETE FROM %1").arg(m_store.table(m_archives.working)));
}

void QuoteArchive::insertLine(const QString& archive, const QuoteLine& l, qint64 number,
                              const QDate& date, const QString& codCli, qint64 id) {
    m_store.exec(QStringLiteral("INSERT INTO %1 (%2) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
                                "?, ?, ?, ?, ?)")
                     .arg(m_store.table(archive), kLineColumns),
                 {number, dateOrNull(date), codCli, l.cod, l.des, l.note, l.unitamis, l.quant,
                  l.prezzo, l.sconto, l.prezzonett(), l.amount().toDouble(), l.percIva,
                  l.prezzoAlfa, l.stampaAlfa, l.immagine, id});
}

qint64 QuoteArchive::appendWorking(const QuoteLine& line, const QString& codCli,
                                   const QDate& date) {
    const QString t = m_store.table(m_archives.working);
    const qint64 id =
        m_store.scalar(QStringLiteral("SELECT COALESCE(MAX(ID), 0) + 1 FROM %1").arg(t))
            .toLongLong();
    insertLine(m_archives.working, line, 0, date, codCli, id);
    return m_store.lastInsertId();
}

void QuoteArchive::removeWorking(qint64 rowid) {
    m_store.exec(
        QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(m_store.table(m_archives.working)),
        {rowid});
}

QList<QuoteLine> QuoteArchive::workingLines() const {
    QList<QuoteLine> out;
    for (const QVariantList& r :
         m_store.rows(QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid")
                          .arg(kLineSelect, m_store.table(m_archives.working))))
        out.append(lineFrom(r));
    return out;
}

DocumentTotals QuoteArchive::totalsOf(const QList<QuoteLine>& lines, const QString& exemption,
                                      QStringList* refusals) const {
    DocumentTotals t{VatRates(m_settings)};
    t.setExemption(exemption);
    int n = 0;
    for (const QuoteLine& l : lines) {
        ++n;
        TotalsLine tl;
        tl.name = QStringLiteral("riga %1 (%2)").arg(n).arg(l.cod.isEmpty() ? l.des : l.cod);
        tl.quant = l.quant;
        tl.prezzonett = l.prezzonett();
        tl.percIva = l.percIva;
        if (auto refusal = t.addLine(tl); refusal && refusals) refusals->append(*refusal);
    }
    return t;
}

QuoteFigures QuoteArchive::figuresOf(const DocumentTotals& t) {
    QuoteFigures f;
    f.taxable = t.netTaxable();
    for (int i = 0; i < 3; ++i) f.vat[i] = t.vatAt(i);
    f.vatTotal = t.vatTotal();
    f.total = t.total();
    return f;
}

void QuoteArchive::checkLengths(const QuoteHeader& h, const QList<QuoteLine>& lines) const {
    QHash<QString, int> widths;
    for (const ColumnInfo& c : m_store.columns(m_archives.header))
        widths.insert(QStringLiteral("h.") + c.name.toLower(), c.maxLength());
    for (const ColumnInfo& c : m_store.columns(m_archives.lines))
        widths.insert(QStringLiteral("l.") + c.name.toLower(), c.maxLength());
    auto check = [&](const QString& column, const QString& label, const QString& text) {
        const int w = widths.value(column, 0);
        if (w > 0 && text.size() > w)
            throw StoreError(QStringLiteral("Il campo \"%1\" supera la lunghezza massima di %2 "
                                            "caratteri.")
                                 .arg(label)
                                 .arg(w));
    };
    check(QStringLiteral("h.nome_cli"), QStringLiteral("Nome"), h.nomeCli);
    check(QStringLiteral("h.cod_cli"), QStringLiteral("Codice cliente"), h.codCli);
    check(QStringLiteral("h.piva"), QStringLiteral("Partita IVA"), h.piva);
    check(QStringLiteral("h.cf"), QStringLiteral("Codice fiscale"), h.cf);
    check(QStringLiteral("h.oggetto"), QStringLiteral("Oggetto"), h.oggetto);
    check(QStringLiteral("h.pagam"), QStringLiteral("Modalità di pagamento"), h.pagam);
    check(QStringLiteral("h.ordine"), QStringLiteral("Tipo di ordine"), h.ordine);
    check(QStringLiteral("h.note"), QStringLiteral("Note"), h.note);
    check(QStringLiteral("h.note2"), QStringLiteral("Note 2"), h.note2);
    check(QStringLiteral("h.consegna"), QStringLiteral("Consegna / trasporto"), h.consegna);
    check(QStringLiteral("h.firma"), QStringLiteral("Firma"), h.firma);
    check(QStringLiteral("h.titoloesen"), QStringLiteral("Titolo di esenzione"), h.titoloesen);
    for (const QuoteLine& l : lines) {
        check(QStringLiteral("l.des"), QStringLiteral("Descrizione"), l.des);
        check(QStringLiteral("l.note"), QStringLiteral("Descrizione estesa"), l.note);
        check(QStringLiteral("l.unitamis"), QStringLiteral("Unità di misura"), l.unitamis);
        check(QStringLiteral("l.prezzo_alfa"), QStringLiteral("Testo alternativo"), l.prezzoAlfa);
        check(QStringLiteral("l.immagine"), QStringLiteral("Immagine"), l.immagine);
        check(QStringLiteral("l.cod"), QStringLiteral("Codice articolo"), l.cod);
    }
}

QString QuoteArchive::saveErrorMessage(const QString& cause) {
    return QStringLiteral("Il preventivo non è stato registrato.\r\n") + cause;
}

QString QuoteArchive::writeErrorMessage(const QString& cause) {
    return QStringLiteral("Modifica non eseguita, l'archivio preventivi è rimasto invariato.\r\n") +
           cause;
}

QuoteFigures QuoteArchive::save(const QuoteHeader& h) {
    const QList<QuoteLine> lines = workingLines();
    QStringList refusals;
    const DocumentTotals totals = totalsOf(lines, h.titoloesen, &refusals);
    if (!refusals.isEmpty()) throw StoreError(refusals.join(QStringLiteral("\r\n")));
    checkLengths(h, lines);
    const QuoteFigures f = figuresOf(totals);
    const NextNumber numbering(m_store, m_archives.header, QStringLiteral("fattura"));
    Transaction tx(m_store);
    numbering.claim(h.number);
    const QString catFisc = h.catFisc.left(50);
    m_store.exec(
        QStringLiteral(
            "INSERT INTO %1 (fattura, bolla, nome_cli, cod_cli, data, imp_tot, imp_glob, iva4, "
            "iva9, iva19, iva_tot, tot_fatt, oggetto, pagam, ordine, note, note2, cscadpag1, "
            "cscadpag2, cscadpag3, flagpag1, flagpag2, flagpag3, tipodoc, piva, cf, consegna, "
            "validita, firma, cat_fisc, titoloesen, ID) VALUES (?, 0, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
            "?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 'Preventivo', ?, ?, ?, ?, ?, ?, ?, "
            "(SELECT COALESCE(MAX(ID), 0) + 1 FROM %1))")
            .arg(m_store.table(m_archives.header)),
        {h.number, h.nomeCli, h.codCli, dateOrNull(h.date), f.taxable.toDouble(),
         f.taxable.toDouble(), f.vat[0].toDouble(), f.vat[1].toDouble(), f.vat[2].toDouble(),
         f.vatTotal.toDouble(), f.total.toDouble(), h.oggetto, h.pagam, h.ordine, h.note, h.note2,
         dateOrNull(h.dates[0]), h.flags[1] ? dateOrNull(h.dates[1]) : QVariant(),
         h.flags[2] ? dateOrNull(h.dates[2]) : QVariant(), h.flags[0], h.flags[1], h.flags[2],
         h.piva, h.cf, h.consegna, dateOrNull(h.validita), h.firma, catFisc, h.titoloesen});
    qint64 id = 0;
    for (const QuoteLine& l : lines) insertLine(m_archives.lines, l, h.number, h.date, h.codCli, ++id);
    m_store.exec(QStringLiteral("DELETE FROM %1").arg(m_store.table(m_archives.working)));
    tx.commit();
    return f;
}

QList<QuoteLine> QuoteArchive::linesOf(qint64 number) const {
    QList<QuoteLine> out;
    for (const QVariantList& r :
         m_store.rows(QStringLiteral("SELECT %1 FROM %2 WHERE fattura = ? ORDER BY rowid")
                          .arg(kLineSelect, m_store.table(m_archives.lines)),
                      {number}))
        out.append(lineFrom(r));
    return out;
}

std::optional<QuoteFigures> QuoteArchive::storedFigures(qint64 number) const {
    const auto r = m_store.rows(
        QStringLiteral("SELECT imp_tot, iva4, iva9, iva19, iva_tot, tot_fatt FROM %1 WHERE "
                       "fattura = ? LIMIT 1")
            .arg(m_store.table(m_archives.header)),
        {number});
    if (r.isEmpty()) return std::nullopt;
    QuoteFigures f;
    f.taxable = Money::fromDouble(r[0][0].toDouble());
    for (int i = 0; i < 3; ++i) f.vat[i] = Money::fromDouble(r[0][1 + i].toDouble());
    f.vatTotal = Money::fromDouble(r[0][4].toDouble());
    f.total = Money::fromDouble(r[0][5].toDouble());
    return f;
}

// Inside the caller's transaction: the header's figures from its lines, from zero.
QuoteFigures QuoteArchive::writeFigures(qint64 number) {
    const auto exemption = m_store.rows(
        QStringLiteral("SELECT COALESCE(titoloesen, '') FROM %1 WHERE fattura = ? LIMIT 1")
            .arg(m_store.table(m_archives.header)),
        {number});
    if (exemption.isEmpty())
        throw StoreError(QStringLiteral("Il preventivo %1 non esiste più.").arg(number));
    QStringList refusals;
    const QuoteFigures f =
        figuresOf(totalsOf(linesOf(number), exemption[0][0].toString(), &refusals));
    if (!refusals.isEmpty()) throw StoreError(refusals.join(QStringLiteral("\r\n")));
    m_store.exec(QStringLiteral("UPDATE %1 SET imp_tot = ?, imp_glob = ?, iva4 = ?, iva9 = ?, "
                                "iva19 = ?, iva_tot = ?, tot_fatt = ? WHERE fattura = ?")
                     .arg(m_store.table(m_archives.header)),
                 {f.taxable.toDouble(), f.taxable.toDouble(), f.vat[0].toDouble(),
                  f.vat[1].toDouble(), f.vat[2].toDouble(), f.vatTotal.toDouble(),
                  f.total.toDouble(), number});
    return f;
}

void QuoteArchive::renumber(const QString& archive, qint64 number) {
    const QString t = m_store.table(archive);
    qint64 id = 0;
    for (const QVariantList& r :
         m_store.rows(QStringLiteral("SELECT rowid FROM %1 WHERE fattura = ? ORDER BY rowid").arg(t),
                      {number}))
        m_store.exec(QStringLiteral("UPDATE %1 SET ID = ? WHERE rowid = ?").arg(t),
                     {++id, r[0]});
}

QuoteFigures QuoteArchive::recompute(qint64 number) {
    Transaction tx(m_store);
    const QuoteFigures f = writeFigures(number);
    tx.commit();
    return f;
}

QuoteFigures QuoteArchive::updateLine(qint64 number, const QuoteLine& l) {
    QuoteHeader none;
    checkLengths(none, {l});
    Transaction tx(m_store);
    m_store.exec(QStringLiteral("UPDATE %1 SET cod = ?, des = ?, note = ?, unitamis = ?, "
                                "quant = ?, prezzo = ?, sconto = ?, prezzonett = ?, prezzotot = ?, "
                                "perc_iva = ?, prezzo_alfa = ?, stampa_alfa = ?, immagine = ? "
                                "WHERE rowid = ? AND fattura = ?")
                     .arg(m_store.table(m_archives.lines)),
                 {l.cod, l.des, l.note, l.unitamis, l.quant, l.prezzo, l.sconto, l.prezzonett(),
                  l.amount().toDouble(), l.percIva, l.prezzoAlfa, l.stampaAlfa, l.immagine,
                  l.rowid, number});
    if (m_store.changes() != 1)
        throw StoreError(QStringLiteral("La riga non esiste più nel preventivo %1.").arg(number));
    const QuoteFigures f = writeFigures(number);
    tx.commit();
    return f;
}

QuoteFigures QuoteArchive::addLine(qint64 number, const QuoteLine& l) {
    QuoteHeader none;
    checkLengths(none, {l});
    Transaction tx(m_store);
    const auto h = m_store.rows(QStringLiteral("SELECT data, cod_cli FROM %1 WHERE fattura = ? "
                                               "LIMIT 1")
                                    .arg(m_store.table(m_archives.header)),
                                {number});
    if (h.isEmpty())
        throw StoreError(QStringLiteral("Il preventivo %1 non esiste più.").arg(number));
    insertLine(m_archives.lines, l, number, h[0][0].toDate(), h[0][1].toString(), 0);
    renumber(m_archives.lines, number);
    const QuoteFigures f = writeFigures(number);
    tx.commit();
    return f;
}

QuoteFigures QuoteArchive::removeLine(qint64 number, qint64 rowid) {
    Transaction tx(m_store);
    m_store.exec(QStringLiteral("DELETE FROM %1 WHERE rowid = ? AND fattura = ?")
                     .arg(m_store.table(m_archives.lines)),
                 {rowid, number});
    renumber(m_archives.lines, number);
    const QuoteFigures f = writeFigures(number);
    tx.commit();
    return f;
}

void QuoteArchive::changeCustomer(qint64 number, const QString& codCli, const QString& nomeCli) {
    QuoteHeader h;
    h.codCli = codCli;
    h.nomeCli = nomeCli;
    checkLengths(h, {});
    Transaction tx(m_store);
    m_store.exec(QStringLiteral("UPDATE %1 SET cod_cli = ?, nome_cli = ? WHERE fattura = ?")
                     .arg(m_store.table(m_archives.header)),
                 {codCli, nomeCli, number});
    m_store.exec(QStringLiteral("UPDATE %1 SET cod_cli = ? WHERE fattura = ?")
                     .arg(m_store.table(m_archives.lines)),
                 {codCli, number});
    tx.commit();
}

void QuoteArchive::removeQuote(qint64 number) {
    Transaction tx(m_store);
    m_store.exec(QStringLiteral("DELETE FROM %1 WHERE fattura = ?")
                     .arg(m_store.table(m_archives.lines)),
                 {number});
    m_store.exec(QStringLiteral("DELETE FROM %1 WHERE fattura = ?")
                     .arg(m_store.table(m_archives.header)),
                 {number});
    tx.commit();
}

qint64 QuoteArchive::duplicate(qint64 number) {
    const qint64 copy = proposeNumber();
    const QDate today = Clock::today();
    const NextNumber numbering(m_store, m_archives.header, QStringLiteral("fattura"));
    Transaction tx(m_store);
    numbering.claim(copy);
    const QString h = m_store.table(m_archives.header);
    const QString l = m_store.table(m_archives.lines);
    // Every column but the number, the date and the row number is copied as it is.
    QStringList headerCols, lineCols;
    for (const ColumnInfo& c : m_store.columns(m_archives.header)) {
        const QString n = c.name.toLower();
        if (n != u"fattura" && n != u"data" && n != u"id") headerCols.append(Store::quoteName(c.name));
    }
    for (const ColumnInfo& c : m_store.columns(m_archives.lines)) {
        const QString n = c.name.toLower();
        if (n != u"fattura" && n != u"data") lineCols.append(Store::quoteName(c.name));
    }
    const QString hc = headerCols.join(QStringLiteral(", "));
    const QString lc = lineCols.join(QStringLiteral(", "));
    m_store.exec(QStringLiteral("INSERT INTO %1 (fattura, data, ID, %2) SELECT ?, ?, "
                                "(SELECT COALESCE(MAX(ID), 0) + 1 FROM %1), %2 FROM %1 WHERE "
                                "fattura = ? LIMIT 1")
                     .arg(h, hc),
                 {copy, today, number});
    if (m_store.changes() != 1)
        throw StoreError(QStringLiteral("Il preventivo %1 non esiste più.").arg(number));
    m_store.exec(QStringLiteral("INSERT INTO %1 (fattura, data, %2) SELECT ?, ?, %2 FROM %1 WHERE "
                                "fattura = ? ORDER BY rowid")
                     .arg(l, lc),
                 {copy, today, number});
    tx.commit();
    return copy;
}

}  // namespace zel
