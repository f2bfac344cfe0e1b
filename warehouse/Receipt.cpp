#include "warehouse/Receipt.h"

#include "documents/NextNumber.h"
#include "store/Store.h"

namespace zel {

ReceiptWriter::ReceiptWriter(Store& store, QString receiptsPath, QString registryPath)
    : m_store(store), m_receipts(std::move(receiptsPath)), m_registry(std::move(registryPath)) {}

QString ReceiptWriter::customerName(const QString& code) const {
    const auto rows = m_store.rows(
        QStringLiteral("SELECT NOME FROM %1 WHERE UPPER(COD_CLI) = ? LIMIT 1").arg(m_store.table(m_registry)),
        {code.toUpper()});
    return rows.isEmpty() ? QString() : rows.first().value(0).toString();
}

ClosedReceipt ReceiptWriter::close(const QList<CounterSaleLine>& lines, const QDateTime& when,
                                   const QString& loyaltyCode) {
    ClosedReceipt out;
    Transaction t(m_store);
    const QString table = m_store.table(m_receipts);
    out.numero = NextNumber(m_store, m_receipts, QStringLiteral("NUMERO")).propose();
    out.firstId = m_store.scalar(QStringLiteral("SELECT COALESCE(MAX(ID), 0) + 1 FROM %1").arg(table)).toLongLong();
    const QString anno = when.date().toString(QStringLiteral("yy"));
    const QString ora = when.time().toString(QStringLiteral("HH:mm:ss"));
    qint64 id = out.firstId;
    for (const CounterSaleLine& l : lines) {
        m_store.exec(QStringLiteral("INSERT INTO %1 (ANNO, DATA, DES, IMPONIBILE, IMPORTO, IVA1, COD_IVA1, NUMERO, "
                                    "ORA, QUANT, NOTE, ID) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
                         .arg(table),
                     {anno, when.date(), l.des.left(kReceiptDesLength), l.imponibile.toDouble(),
                      l.importo.toDouble(), l.iva.toDouble(), l.rate.percent(), out.numero, ora, l.quantity,
                      QString::fromUtf16(kReceiptNote), id++});
        out.total += l.importo;
    }
    if (!loyaltyCode.isEmpty()) {
        const QString reg = m_store.table(m_registry);
        const auto cards = m_store.rows(
            QStringLiteral("SELECT rowid FROM %1 WHERE UPPER(COD_CLI) = ? LIMIT 2").arg(reg), {loyaltyCode.toUpper()});
        if (cards.size() != 1)
            throw StoreError(cards.isEmpty() ? QStringLiteral("Nome non in archivio!")
                                             : QStringLiteral("Più schede anagrafiche hanno il codice %1").arg(loyaltyCode));
        m_store.exec(QStringLiteral("UPDATE %1 SET DARE = COALESCE(DARE, 0) + ? WHERE rowid = ?").arg(reg),
                     {out.total.toDouble(), cards.first().value(0)});
    }
    t.commit();
    return out;
}

}  // namespace zel
