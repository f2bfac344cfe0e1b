#pragma once

#include <QList>
#include <QString>
#include <QStringView>
#include <compare>
#include <optional>

namespace zel {

// Exact decimal figures in a fixed number of decimals, held as a whole count of the
// smallest unit. Conversions round half away from zero.
namespace decimal {

// 10^decimals, for 0..9 decimals.
qint64 scale(int decimals);
// value × 10^decimals rounded half away from zero. A figure read back from a FLOAT
// column (1.005 is stored a hair below) still rounds as written.
qint64 scaled(double value, int decimals);
// Typed text, Italian style: decimal comma, dots as thousands separators when a comma
// is present (a lone dot is the decimal point), blanks and "€" ignored, empty is 0.
// Extra decimals round half away from zero. Nothing for anything else.
std::optional<qint64> parse(QStringView text, int decimals);
// units / 10^decimals as "1.234,56": thousands grouped, exactly `decimals` decimals.
QString format(qint64 units, int decimals, bool grouping = true);

}  // namespace decimal

// An amount in integer cents. Amounts are rounded at fixed points only (a line amount,
// the VAT of a rate); totals are sums of rounded parts.
class Money {
public:
    constexpr Money() = default;
    static constexpr Money fromCents(qint64 cents) { return Money(cents); }
    // The value rounded to cents, half away from zero.
    static Money fromDouble(double value);
    // A typed amount ("1.234,56", "-3,5", "" = 0); nothing when it is not a number.
    static std::optional<Money> parse(QStringView typed);

    // round(quantity × unit price), the price given to its own decimals.
    static Money lineAmount(double quantity, qint64 priceUnits, int priceDecimals);
    // round(this × rate / 100): the VAT of a taxable amount, a discount, a markup.
    Money percent(double rate) const;
    // n instalments in cents, the remainder on the last one. n < 1 gives none.
    QList<Money> split(int n) const;

    constexpr qint64 cents() const { return m_cents; }
    double toDouble() const { return static_cast<double>(m_cents) / 100.0; }
    constexpr bool isZero() const { return m_cents == 0; }
    // "###,##0.00": "1.234,56", "-0,01".
    QString format() const;
    // Plain "1234,56", as typed back into an edit.
    QString editText() const;

    constexpr Money operator-() const { return Money(-m_cents); }
    constexpr Money operator+(Money o) const { return Money(m_cents + o.m_cents); }
    constexpr Money operator-(Money o) const { return Money(m_cents - o.m_cents); }
    constexpr Money& operator+=(Money o) {
        m_cents += o.m_cents;
        return *this;
    }
    constexpr Money& operator-=(Money o) {
        m_cents -= o.m_cents;
        return *this;
    }
    constexpr auto operator<=>(const Money&) const = default;

private:
    constexpr explicit Money(qint64 cents) : m_cents(cents) {}
    qint64 m_cents = 0;
};

// A unit price with the decimals the settings give its document (for example
// "Decimali prezzo articolo"); only amounts are rounded to cents.
class UnitPrice {
public:
    UnitPrice() = default;
    UnitPrice(qint64 units, int decimals);
    static UnitPrice fromDouble(double value, int decimals);
    static std::optional<UnitPrice> parse(QStringView typed, int decimals);

    qint64 units() const { return m_units; }
    int decimals() const { return m_decimals; }
    double toDouble() const;
    // Grouped, with exactly its decimals: "1.234,500".
    QString format() const;
    // round(quantity × this) in cents.
    Money amount(double quantity) const { return Money::lineAmount(quantity, m_units, m_decimals); }

    bool operator==(const UnitPrice& o) const { return compare(o) == 0; }
    std::strong_ordering operator<=>(const UnitPrice& o) const;

private:
    int compare(const UnitPrice& o) const;
    qint64 m_units = 0;
    int m_decimals = 2;
};

}  // namespace zel
