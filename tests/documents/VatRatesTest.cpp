#include <gtest/gtest.h>

#include "documents/VatRates.h"
#include "settings/Settings.h"
#include "tests/TestSupport.h"

using namespace Qt::Literals::StringLiterals;

namespace zel {
namespace {

TEST(VatRatesTest, RatesWrittenDifferentlyAreOneRate) {
    const auto a = VatRate::parse(u"22");
    const auto b = VatRate::parse(u"22,0");
    const auto c = VatRate::parse(u" 22,00 % ");
    ASSERT_TRUE(a && b && c);
    EXPECT_EQ(*a, *b);
    EXPECT_EQ(*a, *c);
    EXPECT_EQ(*a, VatRate::fromDouble(22.0));
    EXPECT_NE(*a, *VatRate::parse(u"2,2"));
    EXPECT_EQ(VatRate::parse(u"10,5")->text(), u"10,5"_s);
    EXPECT_EQ(VatRate::parse(u"4,00")->text(), u"4"_s);
    EXPECT_EQ(VatRate::parse(u"")->hundredths(), 0);
    EXPECT_FALSE(VatRate::parse(u"ventidue").has_value());
    EXPECT_FALSE(VatRate::parse(u"-4").has_value());
}

TEST(VatRatesTest, VatOfATaxableAmountRoundsHalfAwayFromZero) {
    const VatRate r = *VatRate::parse(u"22");
    EXPECT_EQ(r.of(Money::fromCents(1025)).cents(), 226);  // 2,255
    EXPECT_EQ(r.of(Money::fromCents(-1025)).cents(), -226);
    EXPECT_EQ(VatRate::parse(u"10")->of(Money::fromCents(5)).cents(), 1);  // 0,005
}

TEST(VatRatesTest, ReadsTheConfiguredRatesFromTheSettings) {
    test::TempBase base;
    Settings s(base.path());
    s.setValue(u"Magazzino", u"IVA 1 predefinita", u"5"_s);
    s.setValue(u"Magazzino", u"IVA 2 predefinita", u"10,0"_s);
    s.setValue(u"Magazzino", u"IVA 3 predefinita", u"22.0"_s);
    s.setValue(u"Magazzino", u"Perc IVA predefinita", u"21"_s);
    const VatRates rates(s);
    EXPECT_EQ(rates.indexOf(*VatRate::parse(u"5,00")), 0);
    EXPECT_EQ(rates.indexOf(VatRate::fromDouble(10)), 1);
    EXPECT_EQ(rates.indexOf(*VatRate::parse(u"22")), 2);
    EXPECT_EQ(rates.indexOf(*VatRate::parse(u"21")), -1);
    EXPECT_EQ(rates.defaultRate(), VatRate::parse(u"21"));
    EXPECT_EQ(rates.choices(), (QStringList{u"5"_s, u"10"_s, u"22"_s, u"21"_s}));

    s.setValue(u"Magazzino", u"IVA 2 predefinita", u"dieci"_s);
    const VatRates broken(s);
    EXPECT_FALSE(broken.configured()[1].has_value());
    EXPECT_EQ(broken.indexOf(VatRate::fromDouble(10)), -1);
}

TEST(VatRatesTest, RefusalNamesTheLineAndTheRate) {
    const QString text = VatRates::notConfiguredMessage(u"3"_s, *VatRate::parse(u"7,5"));
    EXPECT_TRUE(text.contains(u"7,5%"_s));
    EXPECT_TRUE(text.contains(u"riga 3"_s));
}

}  // namespace
}  // namespace zel
