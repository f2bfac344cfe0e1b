#include <gtest/gtest.h>

#include "documents/DueDates.h"

using namespace Qt::Literals::StringLiterals;

namespace zel {
namespace {

QString show(const QList<QDate>& dates) {
    QStringList s;
    for (const QDate& d : dates) s << d.toString(u"dd/MM/yyyy"_s);
    return s.join(u' ');
}

TEST(DueDatesTest, EveryTermOfTheList) {
    const QDate march(2026, 3, 12);
    struct Case {
        QString term;
        QDate date;
        int shift;
        QString expected;
    } cases[] = {
        {u"R.F."_s, march, 0, u"12/03/2026"_s},
        {u"F.M."_s, march, 0, u"31/03/2026"_s},
        {u"30 GG F.M."_s, march, 0, u"30/04/2026"_s},
        {u"60 GG F.M."_s, march, 0, u"31/05/2026"_s},
        {u"90 GG F.M."_s, march, 0, u"30/06/2026"_s},
        {u"120 GG F.M."_s, march, 0, u"31/07/2026"_s},
        {u"150 GG F.M."_s, march, 0, u"31/08/2026"_s},
        {u"30-60 GG F.M."_s, march, 0, u"30/04/2026 31/05/2026"_s},
        {u"30-60-90 GG F.M."_s, march, 0, u"30/04/2026 31/05/2026 30/06/2026"_s},
        {u"30-60-90-120 GG F.M."_s, march, 0, u"30/04/2026 31/05/2026 30/06/2026 31/07/2026"_s},
        {u"60-90 GG F.M."_s, march, 0, u"31/05/2026 30/06/2026"_s},
        {u"60-90-120 GG F.M."_s, march, 0, u"31/05/2026 30/06/2026 31/07/2026"_s},
        // Across the year end, into February of a leap year or not.
        {u"30 GG F.M."_s, QDate(2026, 12, 15), 0, u"31/01/2027"_s},
        {u"60 GG F.M."_s, QDate(2027, 12, 1), 0, u"29/02/2028"_s},
        {u"60 GG F.M."_s, QDate(2026, 12, 31), 0, u"28/02/2027"_s},
        {u"F.M."_s, QDate(2028, 2, 3), 0, u"29/02/2028"_s},
        {u"30-60-90-120 GG F.M."_s, QDate(2026, 12, 15), 0,
         u"31/01/2027 28/02/2027 31/03/2027 30/04/2027"_s},
        // The shift adds its days to every date.
        {u"30-60-90-120 GG F.M."_s, QDate(2026, 12, 15), 10,
         u"10/02/2027 10/03/2027 10/04/2027 10/05/2027"_s},
        {u"R.F."_s, QDate(2026, 12, 28), 5, u"02/01/2027"_s},
        {u"F.M."_s, QDate(2026, 2, 10), 15, u"15/03/2026"_s},
        // As a customer card may spell it.
        {u" 30-60 gg f.m. "_s, march, 0, u"30/04/2026 31/05/2026"_s},
    };
    for (const Case& c : cases) {
        const auto dates = DueDates::dates(c.term, c.date, c.shift);
        ASSERT_TRUE(dates.has_value()) << c.term.toStdString();
        EXPECT_EQ(show(*dates), c.expected) << c.term.toStdString() << " +" << c.shift;
    }
}

TEST(DueDatesTest, EveryOfferedTermIsUnderstood) {
    for (const QString& term : DueDates::terms()) {
        const auto dates = DueDates::dates(term, QDate(2026, 1, 31));
        ASSERT_TRUE(dates.has_value()) << term.toStdString();
        EXPECT_GE(dates->size(), 1);
        EXPECT_LE(dates->size(), DueDates::kMaxDates);
    }
}

TEST(DueDatesTest, TextThatIsNoTermGivesNoDates) {
    for (const QString& t : {u""_s, u"Contanti"_s, u"30-60-90-120-150 GG F.M."_s, u"GG F.M."_s})
        EXPECT_FALSE(DueDates::dates(t, QDate(2026, 1, 31)).has_value()) << t.toStdString();
    EXPECT_FALSE(DueDates::dates(u"R.F."_s, QDate()).has_value());
}

TEST(DueDatesTest, InstalmentsInCentsWithTheRemainderOnTheLast) {
    struct Case {
        qint64 total;
        int n;
        QList<qint64> parts;
    } cases[] = {
        {29202, 4, {7300, 7300, 7300, 7302}},
        {10000, 3, {3333, 3333, 3334}},
        {10001, 2, {5000, 5001}},
        {1, 4, {0, 0, 0, 1}},
        {4999, 1, {4999}},
    };
    for (const Case& c : cases) {
        const QList<Money> parts = DueDates::instalments(Money::fromCents(c.total), c.n);
        QList<qint64> cents;
        Money sum;
        for (const Money& m : parts) {
            cents << m.cents();
            sum += m;
        }
        EXPECT_EQ(cents, c.parts) << c.total << " / " << c.n;
        EXPECT_EQ(sum.cents(), c.total);
    }
}

}  // namespace
}  // namespace zel
