#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>
#include <QVariant>

namespace zel::fmt {

// Numbers in the program's picture patterns, rendered the Italian way:
// "###,##0.00" gives "1.234,56", "#0.000" gives "0,500", "###,##0" gives "1.235".
// '0' is a required digit, '#' an optional one, ',' anywhere before the decimal point
// asks for thousands grouping, '.' marks the decimals. Text before the first and after
// the last placeholder is kept as it is ("€ ###,##0.00"). Halves round away from zero.
// A pattern without any required digit renders zero as empty text.
QString number(double value, QStringView pattern);

// Dates and times in the program's patterns: d dd ddd dddd, m mm mmm mmmm, yy yyyy,
// h hh H HH, n nn (minutes; "mm" right after an hour also means minutes), s ss.
// Names of days and months are Italian. Anything else is copied.
QString date(const QDate& d, QStringView pattern = u"dd/mm/yyyy");
QString time(const QTime& t, QStringView pattern = u"HH:mm");
QString dateTime(const QDateTime& dt, QStringView pattern);

// A value of any type in a pattern: numbers through number(), dates through date(),
// anything else as its text. An empty pattern gives the plain text (Italian comma for
// doubles); an invalid date gives empty text.
QString value(const QVariant& v, QStringView pattern = {});

// A number typed by the user: decimal comma, dots as thousands separators when a comma
// is present (a lone dot is taken as the decimal point), blanks and "€" ignored,
// empty text is 0. *ok is false (and 0 returned) for anything else.
double parseNumber(QStringView text, bool* ok = nullptr);

// The typed number as it goes into SQL text: decimal point, empty as "0".
QString sqlNumber(QStringView typed);

}  // namespace zel::fmt
