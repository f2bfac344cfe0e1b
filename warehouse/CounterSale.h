#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

#include "documents/Money.h"
#include "documents/VatRates.h"
#include "warehouse/StockOps.h"

namespace zel {

class Store;

// One line of a counter sale. The price is VAT-inclusive and already discounted, so
// that importo = quantity × price, imponibile = importo × 100 / (100 + rate) and
// iva = importo − imponibile always add up.
struct CounterSaleLine {
    QString cod;  // empty for a manual amount
    QString des;
    double quantity = 1;
    VatRate rate;
    Money price;
    Money importo;
    Money imponibile;
    Money iva;

    bool isArticle() const { return !cod.isEmpty(); }
    // "HH:MM. <code, 10 right>.<description, 40>  <amount>"
    QString listText(const QTime& time) const;
};

// The figures of a line from its VAT-inclusive unit price.
CounterSaleLine makeSaleLine(const QString& cod, const QString& des, double quantity, Money price,
                             VatRate rate);
// price less discount % of it, rounded to cents.
Money discounted(Money listPrice, double discountPercent);
// round(importo × 100 / (100 + rate)), half away from zero.
Money netOfVat(Money importo, VatRate rate);

// An article found by the counter look-up.
struct SaleArticle {
    QString cod;
    QString des;
    Money price;  // prezzo_ven
    VatRate rate;
    QString picture;
    double qca = 0;
    double qsc = 0;
    double stock() const { return qca - qsc; }
};

// Columns the counter look-up searches by prefix; the cyclic search tries them in order.
enum class SaleSearchColumn { Code = 0, Category, Extra1, Extra2, Extra3, Extra4 };

class CounterSale {
public:
    CounterSale(Store& store, StockArchives archives);

    // An exact code first, then the first prefix match in code order (so "1" never
    // sells "10" while "1" exists). With cyclic on, the other columns follow in turn.
    std::optional<SaleArticle> find(const QString& typed, bool cyclic,
                                    SaleSearchColumn column = SaleSearchColumn::Code) const;
    // The shop's look-up: the exact code only, letter case ignored.
    std::optional<SaleArticle> findExact(const QString& typed) const;
    std::optional<SaleArticle> article(const QString& cod) const;

    // The stock unload of an article line and its "Scarico veloce" movement, as one
    // transaction. Throws StoreError; nothing written then.
    void unloadLine(const CounterSaleLine& line, const QDate& day);
    // The shop's unload: qsc only, one transaction.
    void unloadOnly(const QString& cod, double quantity);

private:
    std::optional<SaleArticle> findBy(const QString& column, const QString& typed) const;

    Store& m_store;
    StockArchives m_archives;
};

}  // namespace zel
