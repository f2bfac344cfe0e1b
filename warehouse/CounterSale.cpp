#include "warehouse/CounterSale.h"

#include <array>

#include "store/Store.h"

namespace zel {

namespace {

// a / b rounded half away from zero, b > 0.
qint64 divRound(qint64 a, qint64 b) {
    const qint64 q = (a < 0 ? -a : a) * 2 + b;
    const qint64 r = q / (2 * b);
    return a < 0 ? -r : r;
}

constexpr std::array<const char16_t*, 6> kSearchColumns{u"COD", u"CAT", u"A_DES1", u"A_DES2", u"A_DES3",
                                                        u"A_DES4"};

SaleArticle fromRow(const QVariantList& r) {
    SaleArticle a;
    a.cod = r.value(0).toString();
    a.des = r.value(1).toString();
    a.price = Money::fromDouble(r.value(2).toDouble());
    a.rate = VatRate::fromDouble(r.value(3).toDouble());
    a.picture = r.value(4).toString();
    a.qca = r.value(5).toDouble();
    a.qsc = r.value(6).toDouble();
    return a;
}

const QString kArticleColumns = QStringLiteral("COD, DES, PREZZO_VEN, IVA, IMMAGINE1, QCA, QSC");

}  // namespace

Money netOfVat(Money importo, VatRate rate) {
    return Money::fromCents(divRound(importo.cents() * 10000, 10000 + rate.hundredths()));
}

Money discounted(Money listPrice, double discountPercent) {
    if (discountPercent == 0) return listPrice;
    return listPrice - listPrice.percent(discountPercent);
}

CounterSaleLine makeSaleLine(const QString& cod, const QString& des, double quantity, Money price,
                             VatRate rate) {
    CounterSaleLine l;
    l.cod = cod;
    l.des = des;
    l.quantity = quantity;
    l.rate = rate;
    l.price = price;
    l.importo = Money::lineAmount(quantity, price.cents(), 2);
    l.imponibile = netOfVat(l.importo, rate);
    l.iva = l.importo - l.imponibile;
    return l;
}

QString CounterSaleLine::listText(const QTime& time) const {
    return time.toString(QStringLiteral("HH:mm")) + QStringLiteral(". ") + cod.rightJustified(10, u' ') +
           QStringLiteral(".") + des.leftJustified(40, u' ') + QStringLiteral("  ") +
           importo.format().rightJustified(10, u' ');
}

CounterSale::CounterSale(Store& store, StockArchives archives)
    : m_store(store), m_archives(std::move(archives)) {}

std::optional<SaleArticle> CounterSale::findBy(const QString& column, const QString& typed) const {
    const QString upper = typed.toUpper();
    // A scanned code is usually exact and as stored: the code index answers it at once.
    if (column == QStringLiteral("COD")) {
        if (auto a = article(upper)) return a;
    }
    // One pass: the exact value sorts first, then the prefix matches in code order.
    const auto rows = m_store.rows(
        QStringLiteral("SELECT %1 FROM %2 WHERE UPPER(%3) LIKE ? ESCAPE '\\' "
                       "ORDER BY UPPER(%3) = ? DESC, COD LIMIT 1")
            .arg(kArticleColumns, m_store.table(m_archives.warehouse), column),
        {Store::likeLiteral(upper) + QStringLiteral("%"), upper});
    if (rows.isEmpty()) return std::nullopt;
    return fromRow(rows.first());
}

std::optional<SaleArticle> CounterSale::find(const QString& typed, bool cyclic,
                                             SaleSearchColumn column) const {
    if (typed.isEmpty()) return std::nullopt;
    if (!cyclic) return findBy(QString::fromUtf16(kSearchColumns[static_cast<size_t>(column)]), typed);
    for (const char16_t* c : kSearchColumns) {
        if (auto a = findBy(QString::fromUtf16(c), typed)) return a;
    }
    return std::nullopt;
}

std::optional<SaleArticle> CounterSale::findExact(const QString& typed) const {
    if (typed.isEmpty()) return std::nullopt;
    const auto rows = m_store.rows(QStringLiteral("SELECT %1 FROM %2 WHERE UPPER(COD) = ? ORDER BY COD LIMIT 1")
                                       .arg(kArticleColumns, m_store.table(m_archives.warehouse)),
                                   {typed.toUpper()});
    if (rows.isEmpty()) return std::nullopt;
    return fromRow(rows.first());
}

std::optional<SaleArticle> CounterSale::article(const QString& cod) const {
    const auto rows = m_store.rows(QStringLiteral("SELECT %1 FROM %2 WHERE COD = ? LIMIT 1")
                                       .arg(kArticleColumns, m_store.table(m_archives.warehouse)),
                                   {cod});
    if (rows.isEmpty()) return std::nullopt;
    return fromRow(rows.first());
}

void CounterSale::unloadLine(const CounterSaleLine& line, const QDate& day) {
    Transaction t(m_store);
    StockOps ops(m_store, m_archives);
    if (!ops.unload(line.cod, line.quantity)) throw StoreError(StockOps::unknownArticleMessage(line.cod));
    Movement m;
    m.cod = line.cod;
    m.des = line.des;
    m.data = day;
    m.percIva = line.rate.percent();
    m.prezzo = netOfVat(line.price, line.rate).toDouble();
    m.quant = line.quantity;
    m.causale = QString::fromUtf16(kCauseQuickUnload);
    const qint64 last = ops.lastMovementRowid();
    ops.appendMovement(m);
    ops.renumberMovements(last);
    t.commit();
}

void CounterSale::unloadOnly(const QString& cod, double quantity) {
    Transaction t(m_store);
    StockOps ops(m_store, m_archives);
    if (!ops.unload(cod, quantity)) throw StoreError(StockOps::unknownArticleMessage(cod));
    t.commit();
}

}  // namespace zel
