#include "invoices/MonthEndInvoicing.h"

#include "documents/DueDates.h"
#include "settings/Settings.h"
#include "store/Store.h"

namespace zel {

namespace {

// The window's default term, for a customer whose card names none.
constexpr char16_t kDefaultTerm[] = u"30 GG F.M.";

}  // namespace

MonthEndInvoicing::MonthEndInvoicing(Store& store, const Settings& settings, const QDate& from,
                                     const QDate& to)
    : m_store(store),
      m_settings(settings),
      m_from(from),
      m_to(to),
      m_registration(store, settings, InvoiceArchives::fromSettings(settings, from.year())) {}

QList<MonthEndInvoicing::Customer> MonthEndInvoicing::customers() const {
    const InvoiceArchives& a = m_registration.archives();
    QList<Customer> out;
    m_store.forEachRow(
        QStringLiteral(
            "SELECT d.cod_cli, COUNT(*), SUM(COALESCE(d.prezzo, 0)), "
            "(SELECT COALESCE(r.nome, '') FROM %2 r WHERE r.cod_cli = d.cod_cli LIMIT 1) "
            "FROM %1 d WHERE d.data_mov >= ? AND d.data_mov <= ? AND d.fattura = 'S' "
            "AND COALESCE(d.cod_cli, '') <> '' AND COALESCE(d.cod_forn, '') = '' "
            "GROUP BY d.cod_cli ORDER BY d.cod_cli")
            .arg(m_store.table(a.ddtHeader), m_store.table(a.registry)),
        {m_from, m_to}, [&out](const StoreRow& r) {
            Customer c;
            c.code = r.text(0);
            c.ddtCount = static_cast<int>(r.integer(1));
            c.amount = Money::fromDouble(r.value(2).toDouble());
            c.name = r.text(3);
            out.append(c);
        });
    return out;
}

MonthEndInvoicing::Outcome MonthEndInvoicing::run(const QDate& invoiceDate, const QString& kind) {
    Outcome out;
    struct Pending {
        InvoicePlan plan;
        InvoiceFooter footer;
        QString name;
    };
    QList<Pending> pending;
    const QString registry = m_store.table(m_registration.archives().registry);
    for (const Customer& c : customers()) {
        InvoicePlan plan = m_registration.plan(c.code, m_registration.ddtsOf(c.code, m_from, m_to));
        for (const InvoiceDdt& d : plan.skipped)
            out.skipped << QStringLiteral("Non ci sono movimenti coerenti per questa bolla %1 (%2)")
                               .arg(d.bolla)
                               .arg(c.code);
        out.refusals << plan.refusals;
        if (plan.empty()) continue;
        const QList<QVariantList> card = m_store.rows(
            QStringLiteral(
                "SELECT COALESCE(scadpag, ''), COALESCE(pagam, ''), COALESCE(banca, ''), "
                "COALESCE(gruppo, ''), COALESCE(cat_fisc, '') FROM %1 "
                "WHERE cod_cli = ? LIMIT 1")
                .arg(registry),
            {c.code});
        const QVariantList row =
            card.value(0, QVariantList{QString(), QString(), QString(), QString(), QString()});
        InvoiceFooter f;
        f.date = invoiceDate;
        f.tipodoc = kind;
        f.paymentTerm = row[0].toString().trimmed().isEmpty() ? QString::fromUtf16(kDefaultTerm)
                                                              : row[0].toString().trimmed();
        f.paymentMethod = row[1].toString().trimmed();
        f.bank = row[2].toString().trimmed();
        f.gruppo = row[3].toString().trimmed();
        f.catFisc = row[4].toString().trimmed();
        const auto dates = DueDates::dates(f.paymentTerm, invoiceDate);
        if (!dates) {
            out.refusals << QStringLiteral(
                                "Il termine di pagamento \"%1\" del cliente %2 non è riconosciuto.")
                                .arg(f.paymentTerm, c.code);
            continue;
        }
        f.dueDates = *dates;
        f.instalments = DueDates::instalments(plan.totals.total(), static_cast<int>(dates->size()));
        for (int i = 0; i < 4; ++i) f.printDate[i] = i < dates->size();
        pending.append({plan, f, c.name});
    }
    if (!out.refusals.isEmpty() || pending.isEmpty()) return out;

    // Safety copies of what is written, taken before the transaction (never overwritten).
    const InvoiceArchives& a = m_registration.archives();
    for (const QString& path : {a.header, a.lines, a.deadlines}) m_store.backupOnce(path);
    Transaction tx(m_store);
    qint64 number = m_registration.lastNumber();
    QList<Made> made;
    for (const Pending& p : pending) {
        ++number;
        m_registration.insertInvoice(p.plan, number, invoiceDate, kind);
        m_registration.updateHeader(number, p.plan.customer, p.plan.totals, p.footer);
        m_registration.insertDeadlines(number, p.plan.customer, p.footer);
        made.append({number, p.plan.customer, p.name, p.plan.totals.total(),
                     static_cast<int>(p.footer.dueDates.size())});
    }
    tx.commit();
    out.made = made;
    return out;
}

QString MonthEndInvoicing::nothingMessage() {
    return QStringLiteral("Nessun DDT da fatturare nel periodo indicato.");
}

QString MonthEndInvoicing::outcomeText(const Outcome& o) {
    QStringList lines;
    for (const Made& m : o.made)
        lines << QStringLiteral("Fattura n. %1 - %2 %3 - totale € %4")
                     .arg(m.number)
                     .arg(m.customer, m.name, m.total.format());
    lines << o.skipped;
    return lines.join(u'\n');
}

}  // namespace zel
