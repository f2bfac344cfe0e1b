#include "quotes/QuoteInvoicing.h"

#include "documents/NextNumber.h"
#include "settings/Settings.h"
#include "store/Store.h"

namespace zel {

namespace {

InvoiceArchives targetOf(const Settings& settings, bool proforma) {
    InvoiceArchives a = InvoiceArchives::fromSettings(settings);
    if (proforma) {
        a.header = settings.text(u"Path", u"Archivio fatture proforma Master");
        a.lines = settings.text(u"Path", u"Archivio fatture proforma Detail");
    }
    return a;
}

QVariant dateOrNull(const QDate& d) { return d.isValid() ? QVariant(d) : QVariant(); }

}  // namespace

QuoteInvoicing::QuoteInvoicing(Store& store, const Settings& settings, bool proforma)
    : m_store(store),
      m_settings(settings),
      m_quotes(store, settings),
      m_archives(targetOf(settings, proforma)) {}

qint64 QuoteInvoicing::proposeNumber() const {
    return NextNumber(m_store, m_archives.header, QStringLiteral("fattura")).propose();
}

DocumentTotals QuoteInvoicing::totalsOf(const QList<QuoteLine>& lines, const InvoiceFooter& f,
                                        QStringList* refusals) const {
    DocumentTotals t = m_quotes.totalsOf(lines, f.exemption, refusals);
    t.setTaxableExpenses(f.taxableExpenses);
    t.setExemptExpenses(f.exemptExpenses);
    t.setGeneralProcessing(f.generalProcessing);
    t.setDiscountPercent(f.discountPercent);
    return t;
}

DocumentTotals QuoteInvoicing::registerInvoice(qint64 quote, const QList<QuoteLine>& lines,
                                               qint64 number, const InvoiceFooter& footer) {
    if (lines.isEmpty())
        throw StoreError(QStringLiteral("Nessuna voce del preventivo scelta: la fattura non è "
                                        "stata registrata."));
    QStringList refusals;
    const DocumentTotals totals = totalsOf(lines, footer, &refusals);
    if (!refusals.isEmpty()) throw StoreError(refusals.join(QStringLiteral("\r\n")));
    const auto q = m_store.rows(
        QStringLiteral("SELECT cod_cli, nome_cli, piva, cf FROM %1 WHERE fattura = ? LIMIT 1")
            .arg(m_store.table(m_quotes.archives().header)),
        {quote});
    if (q.isEmpty()) throw StoreError(QStringLiteral("Il preventivo %1 non esiste più.").arg(quote));
    const QString customer = q[0][0].toString();
    const NextNumber numbering(m_store, m_archives.header, QStringLiteral("fattura"));
    InvoiceRegistration invoices(m_store, m_settings, m_archives);
    Transaction tx(m_store);
    numbering.claim(number);
    const QString lt = m_store.table(m_archives.lines);
    for (const QuoteLine& l : lines)
        m_store.exec(QStringLiteral("INSERT INTO %1 (fattura, cod, des, cod_cli, data, prezzo, "
                                    "prezzonett, prezzotot, perc_iva, sconto, quant, unitamis, ID) "
                                    "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
                                    "(SELECT COALESCE(MAX(ID), 0) + 1 FROM %1))")
                         .arg(lt),
                     {number, l.cod, l.des, customer, dateOrNull(footer.date), l.prezzo,
                      l.prezzonett(), l.amount().toDouble(), l.percIva, l.sconto, l.quant,
                      l.unitamis});
    const QString ht = m_store.table(m_archives.header);
    m_store.exec(QStringLiteral("INSERT INTO %1 (fattura, bolla, cod_cli, data, piva, cf, rif, "
                                "ordine, ID) VALUES (?, 0, ?, ?, ?, ?, '', '', "
                                "(SELECT COALESCE(MAX(ID), 0) + 1 FROM %1))")
                     .arg(ht),
                 {number, customer, dateOrNull(footer.date), q[0][2], q[0][3]});
    invoices.updateHeader(number, customer, totals, footer);
    tx.commit();
    return totals;
}

}  // namespace zel
