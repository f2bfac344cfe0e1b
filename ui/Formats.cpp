#include "ui/Formats.h"

#include <array>
#include <cmath>

namespace zel::fmt {

namespace {

bool isPlaceholder(QChar c) { return c == u'0' || c == u'#'; }

struct NumberPattern {
    QString prefix;
    QString suffix;
    int minIntDigits = 0;
    int minDecimals = 0;
    int maxDecimals = 0;
    bool grouping = false;
};

NumberPattern parsePattern(QStringView p) {
    NumberPattern np;
    qsizetype first = -1;
    qsizetype last = -1;
    for (qsizetype i = 0; i < p.size(); ++i) {
        if (isPlaceholder(p[i])) {
            if (first < 0) first = i;
            last = i;
        }
    }
    if (first < 0) {
        np.prefix = p.toString();
        return np;
    }
    np.prefix = p.left(first).toString();
    np.suffix = p.mid(last + 1).toString();
    bool decimals = false;
    for (qsizetype i = first; i <= last; ++i) {
        const QChar c = p[i];
        if (c == u'.') {
            decimals = true;
        } else if (c == u',') {
            if (!decimals) np.grouping = true;
        } else if (c == u'0') {
            if (decimals) {
                ++np.minDecimals;
                np.maxDecimals = std::max(np.maxDecimals, np.minDecimals);
            } else {
                ++np.minIntDigits;
            }
        } else if (c == u'#') {
            if (decimals) ++np.maxDecimals;
        }
    }
    // '.' written after the last placeholder ("#0.") still means no decimals.
    np.maxDecimals = std::max(np.maxDecimals, np.minDecimals);
    return np;
}

const std::array<QStringView, 7> kDays = {u"lunedì", u"martedì", u"mercoledì", u"giovedì",
                                          u"venerdì", u"sabato", u"domenica"};
const std::array<QStringView, 12> kMonths = {u"gennaio", u"febbraio", u"marzo", u"aprile",
                                             u"maggio", u"giugno", u"luglio", u"agosto",
                                             u"settembre", u"ottobre", u"novembre", u"dicembre"};

QString twoDigits(int v) { return QString::number(v).rightJustified(2, u'0'); }

// One formatter for dates and times, so "dd/mm/yyyy HH:mm" works in one pass.
QString render(const QDate* d, const QTime* t, QStringView p) {
    QString out;
    bool afterHour = false;
    qsizetype i = 0;
    while (i < p.size()) {
        const QChar c = p[i];
        const QChar lc = c.toLower();
        qsizetype run = 1;
        while (i + run < p.size() && p[i + run].toLower() == lc) ++run;
        if (lc == u'd' && d) {
            if (run >= 4) out += kDays[static_cast<size_t>(d->dayOfWeek() - 1)];
            else if (run == 3) out += kDays[static_cast<size_t>(d->dayOfWeek() - 1)].left(3);
            else if (run == 2) out += twoDigits(d->day());
            else out += QString::number(d->day());
            afterHour = false;
        } else if (lc == u'm' && (afterHour ? t != nullptr : d != nullptr)) {
            if (afterHour) {
                out += run >= 2 ? twoDigits(t->minute()) : QString::number(t->minute());
            } else if (run >= 4) {
                out += kMonths[static_cast<size_t>(d->month() - 1)];
            } else if (run == 3) {
                out += kMonths[static_cast<size_t>(d->month() - 1)].left(3);
            } else if (run == 2) {
                out += twoDigits(d->month());
            } else {
                out += QString::number(d->month());
            }
            afterHour = false;
        } else if (lc == u'y' && d) {
            if (run >= 3) out += QString::number(d->year()).rightJustified(4, u'0');
            else out += twoDigits(d->year() % 100);
            afterHour = false;
        } else if (lc == u'h' && t) {
            out += run >= 2 ? twoDigits(t->hour()) : QString::number(t->hour());
            afterHour = true;
        } else if (lc == u'n' && t) {
            out += run >= 2 ? twoDigits(t->minute()) : QString::number(t->minute());
            afterHour = false;
        } else if (lc == u's' && t) {
            out += run >= 2 ? twoDigits(t->second()) : QString::number(t->second());
            afterHour = false;
        } else {
            out += p.mid(i, run);
            // Separators between hour and minutes keep the hour context.
            if (c.isLetterOrNumber()) afterHour = false;
        }
        i += run;
    }
    return out;
}

}  // namespace

QString number(double value, QStringView pattern) {
    if (!std::isfinite(value)) return {};
    const NumberPattern np = parsePattern(pattern);
    const double scale = std::pow(10.0, np.maxDecimals);
    double scaled = std::abs(value) * scale;
    // Amounts like 1.005 are stored a hair below the half; nudge them the way people round.
    scaled = std::floor(scaled + 0.5 + 1e-9 * std::max(1.0, scaled));
    if (scaled == 0.0 && np.minIntDigits == 0 && np.minDecimals == 0) return {};
    const bool negative = value < 0 && scaled != 0.0;

    QString digits = QString::number(scaled, 'f', 0);
    if (digits.size() <= np.maxDecimals) digits = digits.rightJustified(np.maxDecimals + 1, u'0');
    QString intPart = digits.left(digits.size() - np.maxDecimals);
    QString decPart = digits.right(np.maxDecimals);
    while (decPart.size() > np.minDecimals && decPart.endsWith(u'0')) decPart.chop(1);
    if (intPart == u"0" && np.minIntDigits == 0) intPart.clear();
    if (intPart.size() < np.minIntDigits) intPart = intPart.rightJustified(np.minIntDigits, u'0');
    if (np.grouping && intPart.size() > 3) {
        QString grouped;
        const qsizetype n = intPart.size();
        for (qsizetype i = 0; i < n; ++i) {
            if (i > 0 && (n - i) % 3 == 0) grouped += u'.';
            grouped += intPart[i];
        }
        intPart = grouped;
    }
    QString out = np.prefix;
    if (negative) out += u'-';
    out += intPart;
    if (!decPart.isEmpty()) out += u',' + decPart;
    out += np.suffix;
    return out;
}

QString date(const QDate& d, QStringView pattern) {
    if (!d.isValid()) return {};
    return render(&d, nullptr, pattern);
}

QString time(const QTime& t, QStringView pattern) {
    if (!t.isValid()) return {};
    return render(nullptr, &t, pattern);
}

QString dateTime(const QDateTime& dt, QStringView pattern) {
    if (!dt.isValid()) return {};
    const QDate d = dt.date();
    const QTime t = dt.time();
    return render(&d, &t, pattern);
}

QString value(const QVariant& v, QStringView pattern) {
    if (!v.isValid() || v.isNull()) return {};
    switch (v.typeId()) {
        case QMetaType::Double:
        case QMetaType::Float:
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
            if (pattern.isEmpty()) {
                if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float)
                    return QString::number(v.toDouble(), 'g', 15).replace(u'.', u',');
                return v.toString();
            }
            return number(v.toDouble(), pattern);
        case QMetaType::QDate:
            return date(v.toDate(), pattern.isEmpty() ? QStringView(u"dd/mm/yyyy") : pattern);
        case QMetaType::QTime:
            return time(v.toTime(), pattern.isEmpty() ? QStringView(u"HH:mm") : pattern);
        case QMetaType::QDateTime:
            return dateTime(v.toDateTime(),
                            pattern.isEmpty() ? QStringView(u"dd/mm/yyyy HH:mm") : pattern);
        default:
            break;
    }
    if (!pattern.isEmpty() && pattern.contains(u'0')) {
        // Text columns holding numbers (typed amounts) still follow a number pattern.
        bool ok = false;
        const double d = parseNumber(v.toString(), &ok);
        if (ok && !v.toString().trimmed().isEmpty()) return number(d, pattern);
    }
    return v.toString();
}

double parseNumber(QStringView text, bool* ok) {
    QString t;
    t.reserve(text.size());
    for (QChar c : text) {
        if (c.isSpace() || c == u'\u20ac') continue;
        t += c;
    }
    if (ok) *ok = true;
    if (t.isEmpty()) return 0.0;
    if (t.contains(u',')) {
        t.remove(u'.');
        t.replace(u',', u'.');
    }
    bool good = false;
    const double d = t.toDouble(&good);
    if (!good || !std::isfinite(d)) {
        if (ok) *ok = false;
        return 0.0;
    }
    return d;
}

QString sqlNumber(QStringView typed) {
    bool ok = false;
    const double d = parseNumber(typed, &ok);
    if (!ok) return QStringLiteral("0");
    return QString::number(d, 'g', 15);
}

}  // namespace zel::fmt
