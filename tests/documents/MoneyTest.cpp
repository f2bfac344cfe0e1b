#include <gtest/gtest.h>

#include "documents/Money.h"
#include "tests/TestSupport.h"

using namespace Qt::StringLiterals;

namespace zel {
namespace {

struct RoundCase {
    double value;
    qint64 cents;
};

TEST(MoneyTest, RoundsHalfAwayFromZero) {
    const RoundCase cases[] = {
        {1.005, 101}, {1.015, 102}, {2.675, 268}, {0.125, 13},        {-1.005, -101},
        {-0.005, -1}, {0.004, 0},   {-0.004, 0},  {1234.565, 123457}, {0.0, 0},
    };
    for (const RoundCase& c : cases)
        EXPECT_EQ(Money::fromDouble(c.value).cents(), c.cents) << c.value;
}

TEST(MoneyTest, ParsesTypedAmountsTheItalianWay) {
    const struct {
        const char16_t* text;
        qint64 cents;
    } good[] = {
        {u"1.234,56", 123456}, {u"1234,5", 123450}, {u"-3,5", -350}, {u"", 0},
        {u" 12 \u20ac", 1200}, {u"0,005", 1},       {u"-0,005", -1}, {u"7.5", 750},
        {u"1,004", 100},       {u"+2", 200},
    };
    for (const auto& c : good) {
        const auto m = Money::parse(c.text);
        ASSERT_TRUE(m.has_value()) << QString::fromUtf16(c.text).toStdString();
        EXPECT_EQ(m->cents(), c.cents) << QString::fromUtf16(c.text).toStdString();
    }
    for (const char16_t* bad : {u"abc", u"1,2,3", u"1.2.3", u"-", u"12a", u","})
        EXPECT_FALSE(Money::parse(bad).has_value()) << QString::fromUtf16(bad).toStdString();
}

TEST(MoneyTest, FormatsGroupedWithTwoDecimals) {
    EXPECT_EQ(Money::fromCents(123456789).format(), u"1.234.567,89"_s);
    EXPECT_EQ(Money::fromCents(-1).format(), u"-0,01"_s);
    EXPECT_EQ(Money::fromCents(-123456).format(), u"-1.234,56"_s);
    EXPECT_EQ(Money::fromCents(0).format(), u"0,00"_s);
    EXPECT_EQ(Money::fromCents(-123456).editText(), u"-1234,56"_s);
}

TEST(MoneyTest, LineAmountIsRoundedOnceFromTheExactProduct) {
    // 3 × 0,335 = 1,005 -> 1,01; 0,1 × 10,05 = 1,005 -> 1,01; -2 × 1,2345 = -2,469 -> -2,47.
    EXPECT_EQ(Money::lineAmount(3, 335, 3).cents(), 101);
    EXPECT_EQ(Money::lineAmount(0.1, 1005, 2).cents(), 101);
    EXPECT_EQ(Money::lineAmount(-2, 12345, 4).cents(), -247);
    EXPECT_EQ(UnitPrice(12345, 4).amount(2.5).cents(), 309);  // 3,08625
}

TEST(MoneyTest, TotalsAreSumsOfRoundedParts) {
    // Three lines of 0,335 each: every line rounds to 0,34, the total is 1,02 (not 1,01).
    Money total;
    for (int i = 0; i < 3; ++i) total += UnitPrice(335, 3).amount(1);
    EXPECT_EQ(total.cents(), 102);
    EXPECT_EQ((Money::fromCents(500) - Money::fromCents(750)).cents(), -250);
    EXPECT_EQ((-Money::fromCents(5)).cents(), -5);
}

TEST(MoneyTest, PercentRoundsOnceAndSplitPutsTheRemainderLast) {
    EXPECT_EQ(Money::fromCents(1005).percent(10).cents(), 101);  // 1,005
    EXPECT_EQ(Money::fromCents(-1005).percent(10).cents(), -101);
    EXPECT_EQ(Money::fromCents(333).percent(22).cents(), 73);  // 0,7326
    const QList<Money> parts = Money::fromCents(10000).split(3);
    ASSERT_EQ(parts.size(), 3);
    EXPECT_EQ(parts[0].cents(), 3333);
    EXPECT_EQ(parts[1].cents(), 3333);
    EXPECT_EQ(parts[2].cents(), 3334);
    const QList<Money> negative = Money::fromCents(-100).split(3);
    EXPECT_EQ(negative[0].cents() + negative[1].cents() + negative[2].cents(), -100);
    EXPECT_EQ(negative[2].cents(), -34);
    EXPECT_TRUE(Money::fromCents(5).split(0).isEmpty());
}

TEST(MoneyTest, UnitPricesKeepTheirOwnDecimals) {
    const auto p = UnitPrice::parse(u"1.234,5678", 3);
    ASSERT_TRUE(p.has_value());
    EXPECT_EQ(p->units(), 1234568);
    EXPECT_EQ(p->format(), u"1.234,568"_s);
    EXPECT_EQ(UnitPrice::fromDouble(0.1235, 3).units(), 124);
    EXPECT_EQ(UnitPrice(1000, 2), UnitPrice(10000, 3));
    EXPECT_LT(UnitPrice(999, 2), UnitPrice(9991, 3));
    EXPECT_DOUBLE_EQ(UnitPrice(125, 3).toDouble(), 0.125);
}

}  // namespace
}  // namespace zel
