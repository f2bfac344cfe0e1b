#pragma once

#include <QList>
#include <QString>
#include <QStringView>
#include <optional>

#include "documents/Money.h"

namespace zel {

class Settings;

// A VAT rate in hundredths of a percent, so that "22", "22,0" and 22.0 are one rate.
class VatRate {
public:
    constexpr VatRate() = default;
    static constexpr VatRate fromHundredths(qint64 h) { return VatRate(h); }
    static VatRate fromDouble(double percent);
    // "22", "22,0", "10,5", "" (= 0); nothing when the text is not a number or is negative.
    static std::optional<VatRate> parse(QStringView text);

    constexpr qint64 hundredths() const { return m_hundredths; }
    double percent() const { return static_cast<double>(m_hundredths) / 100.0; }
    // "22", "10,5": no trailing zeros.
    QString text() const;
    // round(taxable × rate / 100).
    Money of(Money taxable) const;

    constexpr bool operator==(const VatRate&) const = default;
    constexpr auto operator<=>(const VatRate&) const = default;

private:
    constexpr explicit VatRate(qint64 h) : m_hundredths(h) {}
    qint64 m_hundredths = 0;
};

// The three configured rates and the default rate, read from the settings each time a
// document needs them.
class VatRates {
public:
    VatRates(const std::optional<VatRate>& r1, const std::optional<VatRate>& r2,
             const std::optional<VatRate>& r3, const std::optional<VatRate>& defaultRate);
    explicit VatRates(const Settings& settings);

    // The configured rates in order 1..3; a setting that is not a number is missing.
    QList<std::optional<VatRate>> configured() const { return m_rates; }
    std::optional<VatRate> defaultRate() const { return m_default; }
    // 0..2 for a configured rate, -1 otherwise. The first match wins when two agree.
    int indexOf(const VatRate& rate) const;
    bool isConfigured(const VatRate& rate) const { return indexOf(rate) >= 0; }

    // The texts offered by a rate list: the configured rates, the default one too when
    // it differs from them.
    QStringList choices() const;

    // The refusal for a line whose non-zero rate is not configured: names the line.
    static QString notConfiguredMessage(const QString& line, const VatRate& rate);

private:
    QList<std::optional<VatRate>> m_rates;
    std::optional<VatRate> m_default;
};

}  // namespace zel
