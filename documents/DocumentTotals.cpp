#include "documents/DocumentTotals.h"

#include <utility>

namespace zel {

namespace {

constexpr int kKgDecimals = 4;
// Net prices are stored rounded to their window's decimals; read back with room to spare.
constexpr int kPriceDecimals = 6;

Money amountOf(double quantity, double price) {
    return Money::lineAmount(quantity, decimal::scaled(price, kPriceDecimals), kPriceDecimals);
}

}  // namespace

DocumentTotals::DocumentTotals(VatRates rates) : m_rates(std::move(rates)) {}

std::optional<QString> DocumentTotals::addLine(const TotalsLine& line) {
    const VatRate rate = VatRate::fromDouble(line.percIva);
    const Money amount = amountOf(line.quant, line.prezzonett);
    const double kg[3] = {line.ptropic, line.pzincat, line.pdorat};
    const double price[3] = {line.ctropic, line.czincat, line.cdorat};
    Money costs[3];
    bool anything = !amount.isZero();
    for (int i = 0; i < 3; ++i) {
        costs[i] = amountOf(kg[i], price[i]);
        anything = anything || !costs[i].isZero() || kg[i] != 0;
    }
    if (anything && rate.hundredths() != 0 && !m_rates.isConfigured(rate))
        return VatRates::notConfiguredMessage(line.name, rate);
    if (!anything && line.quant == 0) return std::nullopt;
    m_goods += amount;
    m_lineTaxable[rate] += amount;
    for (int i = 0; i < 3; ++i) {
        m_processingKgUnits[i] += decimal::scaled(kg[i], kKgDecimals);
        m_processingCost[i] += costs[i];
    }
    ++m_lines;
    return std::nullopt;
}

double DocumentTotals::processingKg(int i) const {
    return static_cast<double>(m_processingKgUnits[i]) /
           static_cast<double>(decimal::scale(kKgDecimals));
}

Money DocumentTotals::processingCosts() const {
    return m_processingCost[0] + m_processingCost[1] + m_processingCost[2];
}

Money DocumentTotals::taxableBeforeExpenses() const {
    return m_goods + processingCosts() + m_generalProcessing;
}

Money DocumentTotals::grossTaxable() const { return taxableBeforeExpenses() + m_expenses; }

VatRate DocumentTotals::expenseRate() const {
    const auto configured = m_rates.configured();
    for (auto it = configured.crbegin(); it != configured.crend(); ++it)
        if (it->has_value()) return **it;
    return VatRate();
}

Money DocumentTotals::discounted(Money m) const {
    if (m_discount == 0) return m;
    return m - m.percent(m_discount);
}

QMap<VatRate, Money> DocumentTotals::grossByRate() const {
    QMap<VatRate, Money> byRate = m_lineTaxable;
    const Money extra = processingCosts() + m_generalProcessing + m_expenses;
    if (!extra.isZero()) byRate[expenseRate()] += extra;
    return byRate;
}

QMap<VatRate, Money> DocumentTotals::netTaxableByRate() const {
    QMap<VatRate, Money> byRate = grossByRate();
    for (auto it = byRate.begin(); it != byRate.end(); ++it) it.value() = discounted(it.value());
    return byRate;
}

Money DocumentTotals::netTaxable() const {
    Money sum;
    const auto byRate = netTaxableByRate();
    for (const Money& m : byRate) sum += m;
    return sum;
}

Money DocumentTotals::vatOf(const VatRate& rate) const {
    if (exempt()) return Money();
    return rate.of(netTaxableByRate().value(rate));
}

Money DocumentTotals::vatAt(int i) const {
    const auto configured = m_rates.configured();
    if (i < 0 || i >= configured.size() || !configured[i]) return Money();
    // Two settings with the same rate share one figure, shown under the first.
    if (m_rates.indexOf(*configured[i]) != i) return Money();
    return vatOf(*configured[i]);
}

Money DocumentTotals::vatTotal() const {
    if (exempt()) return Money();
    Money sum;
    const auto byRate = netTaxableByRate();
    for (auto it = byRate.cbegin(); it != byRate.cend(); ++it) sum += it.key().of(it.value());
    return sum;
}

Money DocumentTotals::total() const { return netTaxable() + vatTotal() + m_exemptExpenses; }

}  // namespace zel
