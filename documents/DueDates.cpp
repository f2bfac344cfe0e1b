#include "documents/DueDates.h"

#include <QRegularExpression>

namespace zel {

const QList<int>& DueDates::shifts() {
    static const QList<int> s{0, 5, 10, 15};
    return s;
}

QStringList DueDates::terms() {
    return {QStringLiteral("R.F."),
            QStringLiteral("F.M."),
            QStringLiteral("30 GG F.M."),
            QStringLiteral("60 GG F.M."),
            QStringLiteral("90 GG F.M."),
            QStringLiteral("120 GG F.M."),
            QStringLiteral("150 GG F.M."),
            QStringLiteral("30-60 GG F.M."),
            QStringLiteral("30-60-90 GG F.M."),
            QStringLiteral("30-60-90-120 GG F.M."),
            QStringLiteral("60-90 GG F.M."),
            QStringLiteral("60-90-120 GG F.M.")};
}

QDate DueDates::endOfMonth(const QDate& d, int months) {
    const QDate first = QDate(d.year(), d.month(), 1).addMonths(months);
    return QDate(first.year(), first.month(), first.daysInMonth());
}

std::optional<QList<QDate>> DueDates::dates(const QString& term, const QDate& invoiceDate,
                                            int shiftDays) {
    if (!invoiceDate.isValid()) return std::nullopt;
    const QString t = term.simplified().toUpper();
    QList<QDate> out;
    if (t == u"R.F.") {
        out.append(invoiceDate);
    } else if (t == u"F.M.") {
        out.append(endOfMonth(invoiceDate));
    } else {
        static const QRegularExpression re(
            QStringLiteral("^(\\d{1,3}(?:\\s*-\\s*\\d{1,3}){0,3})\\s*GG\\s*F\\.M\\.$"));
        const auto m = re.match(t);
        if (!m.hasMatch()) return std::nullopt;
        const QStringList numbers = m.captured(1).split(QLatin1Char('-'));
        for (const QString& n : numbers)
            out.append(endOfMonth(invoiceDate, n.trimmed().toInt() / 30));
    }
    for (QDate& d : out) d = d.addDays(shiftDays);
    return out;
}

}  // namespace zel
