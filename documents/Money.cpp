#include "documents/Money.h"

#include <array>
#include <cmath>
#include <limits>

namespace zel {

namespace decimal {

namespace {

constexpr std::array<qint64, 10> kPowers = {1,      10,      100,      1000,      10000,
                                            100000, 1000000, 10000000, 100000000, 1000000000};

// |x| rounded half away from zero; figures read back from binary floating point sit a
// hair below their written half, so a relative nudge keeps them on the written side.
qint64 roundHalfAway(long double x) {
    const long double a = std::fabs(x);
    const long double r = std::floor(a + 0.5L + 1e-9L * std::max<long double>(1.0L, a));
    if (r >= static_cast<long double>(std::numeric_limits<qint64>::max()))
        return x < 0 ? std::numeric_limits<qint64>::min() + 1 : std::numeric_limits<qint64>::max();
    const auto v = static_cast<qint64>(r);
    return x < 0 ? -v : v;
}

}  // namespace

qint64 scale(int decimals) { return kPowers[static_cast<size_t>(std::clamp(decimals, 0, 9))]; }

qint64 scaled(double value, int decimals) {
    if (!std::isfinite(value)) return 0;
    return roundHalfAway(static_cast<long double>(value) * scale(decimals));
}

std::optional<qint64> parse(QStringView text, int decimals) {
    decimals = std::clamp(decimals, 0, 9);
    QString t;
    t.reserve(text.size());
    for (const QChar c : text)
        if (!c.isSpace() && c != u'\u20ac') t += c;
    if (t.isEmpty()) return qint64(0);
    bool negative = false;
    if (t.startsWith(u'-') || t.startsWith(u'+')) {
        negative = t.startsWith(u'-');
        t.remove(0, 1);
    }
    if (t.contains(u',')) {
        t.remove(u'.');
        t.replace(u',', u'.');
    }
    const qsizetype point = t.indexOf(u'.');
    if (point >= 0 && t.indexOf(u'.', point + 1) >= 0) return std::nullopt;
    const QString intPart = point < 0 ? t : t.left(point);
    const QString fracPart = point < 0 ? QString() : t.mid(point + 1);
    if (intPart.isEmpty() && fracPart.isEmpty()) return std::nullopt;
    if (intPart.size() > 15) return std::nullopt;
    qint64 units = 0;
    for (const QChar c : intPart) {
        if (!c.isDigit() || c.unicode() > 127) return std::nullopt;
        units = units * 10 + (c.unicode() - u'0');
    }
    for (const QChar c : fracPart)
        if (!c.isDigit() || c.unicode() > 127) return std::nullopt;
    units *= scale(decimals);
    for (int i = 0; i < decimals && i < fracPart.size(); ++i)
        units += (fracPart[i].unicode() - u'0') * scale(decimals - 1 - i);
    if (fracPart.size() > decimals && fracPart[decimals].unicode() >= u'5') ++units;
    return negative ? -units : units;
}

QString format(qint64 units, int decimals, bool grouping) {
    decimals = std::clamp(decimals, 0, 9);
    const bool negative = units < 0;
    const quint64 a =
        negative ? static_cast<quint64>(-(units + 1)) + 1 : static_cast<quint64>(units);
    const auto s = static_cast<quint64>(scale(decimals));
    QString intPart = QString::number(a / s);
    if (grouping && intPart.size() > 3) {
        QString grouped;
        const qsizetype n = intPart.size();
        for (qsizetype i = 0; i < n; ++i) {
            if (i > 0 && (n - i) % 3 == 0) grouped += u'.';
            grouped += intPart[i];
        }
        intPart = grouped;
    }
    QString out;
    if (negative) out += u'-';
    out += intPart;
    if (decimals > 0) out += u',' + QString::number(a % s).rightJustified(decimals, u'0');
    return out;
}

}  // namespace decimal

Money Money::fromDouble(double value) { return Money(decimal::scaled(value, 2)); }

std::optional<Money> Money::parse(QStringView typed) {
    const auto units = decimal::parse(typed, 2);
    if (!units) return std::nullopt;
    return Money(*units);
}

Money Money::lineAmount(double quantity, qint64 priceUnits, int priceDecimals) {
    if (!std::isfinite(quantity)) return Money();
    const long double exact = static_cast<long double>(quantity) *
                              static_cast<long double>(priceUnits) * 100.0L /
                              static_cast<long double>(decimal::scale(priceDecimals));
    return Money(decimal::scaled(static_cast<double>(exact), 0));
}

Money Money::percent(double rate) const {
    if (!std::isfinite(rate)) return Money();
    const long double exact =
        static_cast<long double>(m_cents) * static_cast<long double>(rate) / 100.0L;
    return Money(decimal::scaled(static_cast<double>(exact), 0));
}

QList<Money> Money::split(int n) const {
    QList<Money> parts;
    if (n < 1) return parts;
    const qint64 each = m_cents / n;
    for (int i = 0; i < n - 1; ++i) parts.append(Money(each));
    parts.append(Money(m_cents - each * (n - 1)));
    return parts;
}

QString Money::format() const { return decimal::format(m_cents, 2, true); }

QString Money::editText() const { return decimal::format(m_cents, 2, false); }

UnitPrice::UnitPrice(qint64 units, int decimals)
    : m_units(units), m_decimals(std::clamp(decimals, 0, 9)) {}

UnitPrice UnitPrice::fromDouble(double value, int decimals) {
    decimals = std::clamp(decimals, 0, 9);
    return UnitPrice(decimal::scaled(value, decimals), decimals);
}

std::optional<UnitPrice> UnitPrice::parse(QStringView typed, int decimals) {
    decimals = std::clamp(decimals, 0, 9);
    const auto units = decimal::parse(typed, decimals);
    if (!units) return std::nullopt;
    return UnitPrice(*units, decimals);
}

double UnitPrice::toDouble() const {
    return static_cast<double>(m_units) / static_cast<double>(decimal::scale(m_decimals));
}

QString UnitPrice::format() const { return decimal::format(m_units, m_decimals, true); }

int UnitPrice::compare(const UnitPrice& o) const {
    const int d = std::max(m_decimals, o.m_decimals);
    const long double a = static_cast<long double>(m_units) * decimal::scale(d - m_decimals);
    const long double b = static_cast<long double>(o.m_units) * decimal::scale(d - o.m_decimals);
    return a < b ? -1 : (a > b ? 1 : 0);
}

std::strong_ordering UnitPrice::operator<=>(const UnitPrice& o) const {
    const int c = compare(o);
    return c < 0 ? std::strong_ordering::less
                 : (c > 0 ? std::strong_ordering::greater : std::strong_ordering::equal);
}

}  // namespace zel
