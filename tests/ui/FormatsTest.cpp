#include <gtest/gtest.h>

#include "ui/Formats.h"

using namespace zel;

namespace {

struct NumberCase {
    double value;
    const char16_t* pattern;
    const char16_t* expected;
};

const NumberCase kNumbers[] = {
    {1234.56, u"###,##0.00", u"1.234,56"},
    {1234567.891, u"###,##0.00", u"1.234.567,89"},
    {0.0, u"###,##0.00", u"0,00"},
    {-1234.5, u"###,##0.00", u"-1.234,50"},
    {999.995, u"###,##0.00", u"1.000,00"},
    {1.005, u"###,##0.00", u"1,01"},
    {2.675, u"#,##0.00", u"2,68"},
    {0.5, u"#0.000", u"0,500"},
    {12.3456, u"#0.000", u"12,346"},
    {1234.5, u"###,##0", u"1.235"},
    {-0.4, u"###,##0", u"0"},
    {7.0, u"##0", u"7"},
    {1234.5, u"###,##0.0", u"1.234,5"},
    {1234.5, u"###,##0.000", u"1.234,500"},
    {0.0, u"#,###.##", u""},
    {1.5, u"#,###.##", u"1,5"},
    {12.0, u"€ ###,##0.00", u"€ 12,00"},
    {12.0, u"###,##0.00 Kg.", u"12,00 Kg."},
    {123456.0, u"0.00", u"123456,00"},
};

struct DateCase {
    QDateTime when;
    const char16_t* pattern;
    const char16_t* expected;
};

}  // namespace

TEST(Formats, NumbersFollowTheirPattern) {
    for (const auto& c : kNumbers)
        EXPECT_EQ(fmt::number(c.value, c.pattern), QString::fromUtf16(c.expected))
            << c.value << " " << QString::fromUtf16(c.pattern).toStdString();
}

TEST(Formats, DatesAndTimesFollowTheirPattern) {
    const QDateTime t(QDate(2026, 3, 5), QTime(9, 7, 3));
    const DateCase cases[] = {
        {t, u"dd/mm/yyyy", u"05/03/2026"},
        {t, u"d/m/yy", u"5/3/26"},
        {t, u"dd/mm/yyyy dddd", u"05/03/2026 giovedì"},
        {t, u"d mmmm yyyy", u"5 marzo 2026"},
        {t, u"HH:mm", u"09:07"},
        {t, u"hh:nn:ss", u"09:07:03"},
        {t, u"dd/mm/yyyy HH:mm", u"05/03/2026 09:07"},
        {t, u"HH.mm", u"09.07"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fmt::dateTime(c.when, c.pattern), QString::fromUtf16(c.expected))
            << QString::fromUtf16(c.pattern).toStdString();
    EXPECT_EQ(fmt::date(QDate(2026, 12, 31)), QStringLiteral("31/12/2026"));
    EXPECT_EQ(fmt::time(QTime(23, 59)), QStringLiteral("23:59"));
    EXPECT_EQ(fmt::date(QDate()), QString());
}

TEST(Formats, ValuesOfAnyTypeUseThePattern) {
    EXPECT_EQ(fmt::value(QVariant(1234.5), u"###,##0.00"), QStringLiteral("1.234,50"));
    EXPECT_EQ(fmt::value(QVariant(3), u"##0"), QStringLiteral("3"));
    EXPECT_EQ(fmt::value(QVariant(QStringLiteral("12,5")), u"#0.000"), QStringLiteral("12,500"));
    EXPECT_EQ(fmt::value(QVariant(QStringLiteral("ROSSI")), u"#0.000"), QStringLiteral("ROSSI"));
    EXPECT_EQ(fmt::value(QVariant(QDate(2026, 1, 2))), QStringLiteral("02/01/2026"));
    EXPECT_EQ(fmt::value(QVariant(2.5)), QStringLiteral("2,5"));
    EXPECT_EQ(fmt::value(QVariant()), QString());
}

TEST(Formats, TypedNumbersAreParsedTheItalianWay) {
    struct Case {
        const char16_t* text;
        double value;
        bool ok;
    };
    const Case cases[] = {
        {u"", 0.0, true},         {u"  ", 0.0, true},          {u"12,5", 12.5, true},
        {u"1.234,56", 1234.56, true}, {u"-3,25", -3.25, true}, {u"€ 1.000,00", 1000.0, true},
        {u"1.5", 1.5, true},      {u"abc", 0.0, false},        {u"1,2,3", 0.0, false},
    };
    for (const auto& c : cases) {
        bool ok = !c.ok;
        EXPECT_DOUBLE_EQ(fmt::parseNumber(QString::fromUtf16(c.text), &ok), c.value)
            << QString::fromUtf16(c.text).toStdString();
        EXPECT_EQ(ok, c.ok) << QString::fromUtf16(c.text).toStdString();
    }
    EXPECT_EQ(fmt::sqlNumber(u"1.234,5"), QStringLiteral("1234.5"));
    EXPECT_EQ(fmt::sqlNumber(u""), QStringLiteral("0"));
    EXPECT_EQ(fmt::sqlNumber(u"x"), QStringLiteral("0"));
}
