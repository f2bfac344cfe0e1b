#include "ddt/DdtRegistration.h"

#include "core/Paths.h"
#include "ddt/DdtDraft.h"
#include "documents/NextNumber.h"
#include "settings/Settings.h"
#include "store/Store.h"
#include "warehouse/OrderDelivery.h"

namespace zel {

namespace {

QVariant dateOrNull(const QDate& d) { return d.isValid() ? QVariant(d) : QVariant(); }

// "0.Principale": the code before the first "."; the first entry, 0, is the main warehouse.
StockPlace placeOf(const QString& setting) {
    const QString code = setting.section(QLatin1Char('.'), 0, 0).trimmed();
    if (code.isEmpty() || code == QStringLiteral("0")) return {};
    return {code};
}

}  // namespace

DdtArchives DdtArchives::fromSettings(const Settings& settings) {
    DdtArchives a;
    a.header = settings.text(u"Path", u"Archivio DDT Master");
    a.lines = settings.text(u"Path", u"Archivio DDT Detail");
    a.temporary = dataFile(settings.baseFolder(), QStringLiteral("dett_ddt_tmp.db"));
    a.warehouse = settings.text(u"Path", u"Archivio Magazzino");
    a.outside = dataFile(settings.baseFolder(), QStringLiteral("mag_ext.db"));
    a.orders = settings.text(u"Path", u"Archivio Ordini");
    return a;
}

DdtRegistration::DdtRegistration(Store& store, const Settings& settings)
    : DdtRegistration(store, DdtArchives::fromSettings(settings),
                      placeOf(settings.text(u"Magazzino", u"Codice magazzino predefinito")),
                      settings.flag(u"Ordine", u"Aggiorna ordini quant consegnata")) {}

DdtRegistration::DdtRegistration(Store& store, DdtArchives archives, StockPlace place,
                                 bool deliveredOnly)
    : m_store(store),
      m_archives(std::move(archives)),
      m_place(std::move(place)),
      m_deliveredOnly(deliveredOnly) {}

bool DdtRegistration::hasLetters(const QString& order) {
    bool ok = false;
    order.trimmed().toLongLong(&ok);
    return !order.trimmed().isEmpty() && !ok;
}

std::optional<qint64> DdtRegistration::orderNumber(const QString& text) {
    bool ok = false;
    const qint64 n = text.trimmed().toLongLong(&ok);
    if (!ok || n <= 0) return std::nullopt;
    return n;
}

QList<DdtLine> DdtRegistration::temporaryLines() const {
    return DdtDraft(m_store, m_archives.temporary).lines();
}

DdtPlan DdtRegistration::plan(const DdtHeader& header) const {
    DdtPlan p;
    p.place = m_place;
    for (const DdtLine& l : temporaryLines()) {
        QString reason;
        if (l.cod.trimmed().isEmpty())
            reason = QStringLiteral("senza codice articolo");
        else if (l.fattura.trimmed().toUpper() == QStringLiteral("X"))
            reason = QStringLiteral("contrassegno fatturazione X");
        else if (l.flag != header.contrass)
            reason = QStringLiteral("contrassegno \"%1\" diverso da quello del DDT \"%2\"")
                         .arg(l.flag, header.contrass);
        if (!reason.isEmpty()) {
            p.leftOut.append({l, reason});
            continue;
        }
        if (hasLetters(l.ordine)) p.letteredOrders.append(l);
        p.lines.append(l);
        p.totals.add(l);
    }
    return p;
}

QString DdtRegistration::questionTitle() { return QStringLiteral("Registrazione DDT"); }

QString DdtRegistration::question(const DdtPlan& plan) {
    QStringList parts;
    if (!plan.leftOut.isEmpty()) {
        QStringList names;
        for (const LeftOutLine& o : plan.leftOut)
            names.append(QStringLiteral("%1 - %2 (%3)").arg(o.line.cod, o.line.des, o.reason));
        parts.append(QStringLiteral("%1 righe non saranno registrate nel DDT:\r\n")
                         .arg(plan.leftOut.size()) +
                     names.join(QStringLiteral("\r\n")));
    }
    if (!plan.letteredOrders.isEmpty()) {
        QStringList names;
        for (const DdtLine& l : plan.letteredOrders)
            names.append(QStringLiteral("%1 - %2: ordine \"%3\"").arg(l.cod, l.des, l.ordine));
        parts.append(
            QStringLiteral("Numero ordine contiene dati alfabetici, ordine impostato a 0\r\n") +
            names.join(QStringLiteral("\r\n")));
    }
    if (parts.isEmpty()) return {};
    return parts.join(QStringLiteral("\r\n\r\n")) +
           QStringLiteral("\r\n\r\nRegistrare ugualmente il DDT?");
}

QString DdtRegistration::noLinesMessage(const DdtHeader& h) {
    return QStringLiteral(
               "Attenzione l'archivio non contiene dati corretti\n\rVerificare i dati inseriti, "
               "l'archivio articoli e "
               "ripetere l'operazione\n\rDDT num %1\n\rFlag %2\n\rContrass Fatturazione diverso da "
               "X\n\rCodice cliente %3")
        .arg(h.number)
        .arg(h.contrass, h.recipient);
}

QString DdtRegistration::lineErrorMessage(const QString& cause) {
    return QStringLiteral(
               "Errore nella scrittura nell'archivio Dettagli DDT.\r\nIl movimento non è stato "
               "inserito correttamente, "
               "verificare\r\n Codice di errore interno: ") +
           cause;
}

QString DdtRegistration::headerErrorMessage(const QString& cause) {
    return QStringLiteral(
               "Errore nella scrittura nell'archivio Principale DDT.\r\nIl movimento non è stato "
               "registrato "
               "correttamente, verificare di aver\r\nattivato l'opzione \"Controlla ed aggiorna "
               "campi dei database\" nel "
               "Setup\r\nSe disattivato attivarlo, salvare e riprovare dopo aver riavviato il "
               "programma.\r\n Codice di "
               "errore interno: ") +
           cause;
}

QString DdtRegistration::failedMessage(qint64 number) {
    return QStringLiteral(
               "Il DDT num. %1 NON è stato registrato correttamente!\r\nOccorre controllare il DDT "
               "alla voce \"Scorri / "
               "stampa\". ")
        .arg(number);
}

QString DdtRegistration::doneMessage(qint64 number) {
    return QStringLiteral(
               "Il DDT num. %1 è stato registrato correttamente! E' ora possibile stamparlo \r\ne "
               "successivamente "
               "consultarlo alla voce \"Scorri / stampa\". ")
        .arg(number);
}

bool DdtRegistration::backups() const {
    bool ok = true;
    for (const QString& path : {m_archives.lines, m_archives.header, m_archives.orders})
        if (Store::exists(path)) ok = m_store.backupOnce(path) && ok;
    return ok;
}

void DdtRegistration::write(const DdtHeader& h, const DdtPlan& plan) {
    const QString lines = m_store.table(m_archives.lines);
    const QString header = m_store.table(m_archives.header);
    const QString temporary = m_store.table(m_archives.temporary);
    const QString warehouse = m_store.table(m_archives.warehouse);
    if (m_place.isOutside()) m_store.table(m_archives.outside);
    const QString ordersTable =
        Store::exists(m_archives.orders) ? m_store.table(m_archives.orders) : QString();

    StockArchives stock;
    stock.warehouse = m_archives.warehouse;
    stock.movements = m_archives.lines;
    stock.outside = m_archives.outside;
    stock.orders = m_archives.orders;
    StockOps ops(m_store, stock);
    OrderDelivery orders(m_store, m_archives.orders);

    const bool withOrders = !ordersTable.isEmpty();
    Transaction tx(m_store);
    // Checked again here: the number proposed may have been taken meanwhile.
    if (!h.duplicateAccepted &&
        m_store
            .scalar(QStringLiteral("SELECT 1 FROM %1 WHERE bolla = ? LIMIT 1").arg(header),
                    {h.number})
            .isValid())
        throw StoreError(NextNumber::takenMessage(h.number));

    const qint64 lastOld = ops.lastMovementRowid();
    try {
        QStringList marks;
        for (int i = 0; i < 32; ++i) marks.append(QStringLiteral("?"));
        const QString insert = QStringLiteral(
                                   "INSERT INTO %1 (bolla, cod, cod_cli, des, prezzo, prezzonett, "
                                   "perc_iva, sconto, unitamis, "
                                   "quant, peso, colli, data, ordine, dataord, fattura, ptropic, "
                                   "ctropic, pzincat, czincat, "
                                   "pdorat, cdorat, contatore, scarto, note, causale, controllo, "
                                   "cod_forn, flag, aspetto, porto, "
                                   "trasporto) VALUES (%2)")
                                   .arg(lines, marks.join(QStringLiteral(", ")));
        for (const DdtLine& l : plan.lines) {
            m_store.exec(insert, {h.number,
                                  l.cod,
                                  h.recipient,
                                  l.des,
                                  l.prezzo,
                                  l.prezzonett,
                                  l.percIva,
                                  l.sconto,
                                  l.unitamis,
                                  l.quant,
                                  l.peso,
                                  l.colli,
                                  dateOrNull(h.date),
                                  l.ordine,
                                  dateOrNull(l.dataord),
                                  l.fattura,
                                  l.ptropic,
                                  l.ctropic,
                                  l.pzincat,
                                  l.czincat,
                                  l.pdorat,
                                  l.cdorat,
                                  l.contatore,
                                  l.scarto,
                                  l.note,
                                  h.causale,
                                  l.unload ? QString() : QString::fromUtf16(kLineNotUnloaded),
                                  QString(),
                                  l.flag,
                                  h.aspetto,
                                  h.porto,
                                  h.trasporto});
            if (l.unload && ops.articleExists(l.cod)) {
                UnloadRequest u;
                u.cod = l.cod;
                u.quantity = l.quant;
                u.weight = l.peso;
                u.parcels = l.colli;
                u.place = m_place;
                ops.manualUnload(u);
                // What was ordered of the article is now delivered.
                if (!m_place.isOutside())
                    m_store.exec(QStringLiteral("UPDATE %1 SET qcons = COALESCE(qcons, 0) + ?, "
                                                "qord = COALESCE(qord, 0) - ? WHERE cod = ?")
                                     .arg(warehouse),
                                 {l.quant, l.quant, l.cod});
            }
            if (const auto order = orderNumber(l.ordine); order && withOrders) {
                const OrderLineKey key{*order, l.cod, OrderLineKey::Partner::Any, QString()};
                if (const auto rowid = orders.find(key)) {
                    orders.deliver(key, l.quant, l.colli);
                    if (!m_deliveredOnly)
                        m_store.exec(
                            QStringLiteral(
                                "UPDATE %1 SET quant = COALESCE(quant, 0) - ? WHERE rowid = ?")
                                .arg(ordersTable),
                            {l.quant, *rowid});
                }
            }
        }
        ops.renumberMovements(lastOld);
    } catch (const StoreError& e) {
        throw StoreError(lineErrorMessage(e.message()));
    }

    try {
        const DdtTotals& t = plan.totals;
        m_store.exec(QStringLiteral("INSERT INTO %1 (bolla, cod_cli, cod_forn, data_mov, "
                                    "controllo, prezzo, iva, causale, fattura, "
                                    "ordine, dataord, flag, aspetto, porto, trasporto, tot_colli, "
                                    "tot_peso, tot_tropic, "
                                    "tot_pztropic, tot_zincat, tot_pzzincat, tot_dorat, "
                                    "tot_pzdorat, scarto, imballo, note1, "
                                    "note2, note3, agente) VALUES (?, ?, '', ?, ?, ?, ?, ?, ?, ?, "
                                    "?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
                                    "?, ?, ?, ?, ?, ?, '', ?)")
                         .arg(header),
                     {h.number,
                      h.recipient,
                      dateOrNull(h.date),
                      h.contrass,
                      t.goods().toDouble(),
                      t.vat().toDouble(),
                      h.causale,
                      h.fattura,
                      h.ordine,
                      dateOrNull(h.dataord),
                      h.contrass,
                      h.aspetto,
                      h.porto,
                      h.trasporto,
                      static_cast<double>(t.parcels()),
                      t.weight(),
                      t.processing(0).kg(),
                      t.processing(0).cost.toDouble(),
                      t.processing(1).kg(),
                      t.processing(1).cost.toDouble(),
                      t.processing(2).kg(),
                      t.processing(2).cost.toDouble(),
                      t.waste(),
                      h.imballo,
                      h.note1,
                      h.note2,
                      h.agente});
        m_store.exec(QStringLiteral("DELETE FROM %1").arg(temporary));
        tx.commit();
    } catch (const StoreError& e) {
        throw StoreError(headerErrorMessage(e.message()));
    }
}

}  // namespace zel
