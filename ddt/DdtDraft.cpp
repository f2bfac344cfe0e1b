#include "ddt/DdtDraft.h"

#include "store/Store.h"

namespace zel {

namespace {

QVariant dateOrNull(const QDate& d) { return d.isValid() ? QVariant(d) : QVariant(); }

constexpr int kColumnCount = 29;

}  // namespace

DdtDraft::DdtDraft(Store& store, QString path) : m_store(store), m_path(std::move(path)) {}

QString DdtDraft::columns() {
    return QStringLiteral(
        "bolla, data, cod_cli, cod, des, prezzo, prezzonett, sconto, perc_iva, unitamis, quant, "
        "peso, colli, scarto, "
        "ptropic, ctropic, pzincat, czincat, pdorat, cdorat, ordine, dataord, fattura, flag, note, "
        "causale, contatore, "
        "controllo, cod_forn");
}

QVariantList DdtDraft::values(const DdtLine& l) {
    return {l.bolla,      dateOrNull(l.data),
            l.codCli,     l.cod,
            l.des,        l.prezzo,
            l.prezzonett, l.sconto,
            l.percIva,    l.unitamis,
            l.quant,      l.peso,
            l.colli,      l.scarto,
            l.ptropic,    l.ctropic,
            l.pzincat,    l.czincat,
            l.pdorat,     l.cdorat,
            l.ordine,     dateOrNull(l.dataord),
            l.fattura,    l.flag,
            l.note,       QString::fromUtf16(kDdtLineCause),
            l.contatore,  l.unload ? QString() : QString::fromUtf16(kLineNotUnloaded),
            QString()};
}

void DdtDraft::clear(const QString& linesArchive) {
    if (!Store::exists(m_path)) {
        m_store.createEmptyCopy(linesArchive, m_path);
        return;
    }
    m_store.exec(QStringLiteral("DELETE FROM %1").arg(m_store.table(m_path)));
}

qint64 DdtDraft::append(const DdtLine& line) {
    QStringList marks;
    for (int i = 0; i < kColumnCount; ++i) marks.append(QStringLiteral("?"));
    m_store.exec(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                     .arg(m_store.table(m_path), columns(), marks.join(QStringLiteral(", "))),
                 values(line));
    return m_store.lastInsertId();
}

void DdtDraft::update(const DdtLine& line) {
    QStringList sets;
    for (const QString& c : columns().split(QStringLiteral(", ")))
        sets.append(c + QStringLiteral(" = ?"));
    m_store.exec(QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?")
                     .arg(m_store.table(m_path), sets.join(QStringLiteral(", "))),
                 values(line) + QVariantList{line.rowid});
}

void DdtDraft::remove(qint64 rowid) {
    m_store.exec(QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(m_store.table(m_path)),
                 {rowid});
}

int DdtDraft::count() const {
    return m_store.scalar(QStringLiteral("SELECT COUNT(*) FROM %1").arg(m_store.table(m_path)))
        .toInt();
}

DdtTotals DdtDraft::totals() const { return DdtTotals::ofTable(m_store, m_path); }

QList<DdtLine> DdtDraft::lines() const {
    QList<DdtLine> out;
    m_store.forEachRow(
        QStringLiteral(
            "SELECT rowid, COALESCE(bolla, 0), data, COALESCE(cod_cli, ''), COALESCE(cod, ''), "
            "COALESCE(des, ''), COALESCE(prezzo, 0), COALESCE(prezzonett, 0), COALESCE(sconto, 0), "
            "COALESCE(perc_iva, 0), COALESCE(unitamis, ''), COALESCE(quant, 0), COALESCE(peso, 0), "
            "COALESCE(colli, 0), COALESCE(scarto, 0), COALESCE(ptropic, 0), COALESCE(ctropic, 0), "
            "COALESCE(pzincat, 0), COALESCE(czincat, 0), COALESCE(pdorat, 0), COALESCE(cdorat, 0), "
            "COALESCE(ordine, ''), dataord, COALESCE(fattura, ''), COALESCE(flag, ''), "
            "COALESCE(note, ''), "
            "COALESCE(contatore, 0), COALESCE(controllo, '') FROM %1 ORDER BY rowid")
            .arg(m_store.table(m_path)),
        {}, [&out](const StoreRow& r) {
            DdtLine l;
            l.rowid = r.integer(0);
            l.bolla = r.integer(1);
            l.data = QDate::fromString(r.text(2).left(10), Qt::ISODate);
            l.codCli = r.text(3);
            l.cod = r.text(4);
            l.des = r.text(5);
            l.prezzo = r.value(6).toDouble();
            l.prezzonett = r.value(7).toDouble();
            l.sconto = r.value(8).toDouble();
            l.percIva = r.value(9).toDouble();
            l.unitamis = r.text(10);
            l.quant = r.value(11).toDouble();
            l.peso = r.value(12).toDouble();
            l.colli = r.integer(13);
            l.scarto = r.value(14).toDouble();
            l.ptropic = r.value(15).toDouble();
            l.ctropic = r.value(16).toDouble();
            l.pzincat = r.value(17).toDouble();
            l.czincat = r.value(18).toDouble();
            l.pdorat = r.value(19).toDouble();
            l.cdorat = r.value(20).toDouble();
            l.ordine = r.text(21);
            l.dataord = QDate::fromString(r.text(22).left(10), Qt::ISODate);
            l.fattura = r.text(23);
            l.flag = r.text(24);
            l.note = r.text(25);
            l.contatore = r.integer(26);
            l.unload = r.text(27) != QString::fromUtf16(kLineNotUnloaded);
            out.append(l);
        });
    return out;
}

}  // namespace zel
