#include <gtest/gtest.h>

#include "tests/TestSupport.h"
#include "warehouse/ArticleRules.h"

using namespace zel;
using namespace zel::article;
using namespace Qt::Literals::StringLiterals;

TEST(ArticleRules, CodeProposals) {
    const struct {
        const char* last;
        bool zeros;
        int length;
        const char* code;
        const char* ascii;
    } cases[] = {
        {"", false, 2, "1", ""},
        {"", true, 2, "01", ""},
        {"7", true, 2, "08", ""},
        {"09", false, 2, "10", ""},
        {"99", true, 2, "100", ""},
        {"0047", true, 5, "00048", ""},
        {"99999999999999999999", false, 2, "100000000000000000000", ""},
        {"AB9", false, 2, "", "AB:"},
        {"A1", true, 4, "", "00A2"},
        {"12-4", false, 2, "", "12-5"},
    };
    for (const auto& c : cases) {
        const CodeProposal p = proposeCode(QString::fromLatin1(c.last), true, c.zeros, c.length);
        EXPECT_EQ(p.code, QString::fromLatin1(c.code)) << c.last;
        EXPECT_EQ(p.asciiCode, QString::fromLatin1(c.ascii)) << c.last;
        EXPECT_EQ(p.needsAsciiQuestion, *c.ascii != 0) << c.last;
    }
    EXPECT_TRUE(proposeCode(u"5"_s, false, true, 2).code.isEmpty()) << "no automatic code";
}

TEST(ArticleRules, StockStateAtTheEdges) {
    const struct {
        double loaded, unloaded, factor, minimum, tolerance;
        StockState state;
    } cases[] = {
        {5, 0, 1, 5, 2, StockState::Attention},     {7, 0, 1, 5, 2, StockState::Attention},
        {7.5, 0, 1, 5, 2, StockState::Ok},          {4.9, 0, 1, 5, 2, StockState::Alarm},
        {0, 0, 1, 0, 0, StockState::Attention},     {0, 1, 1, 0, 0, StockState::Alarm},
        {10, 2, 4, 2, 0, StockState::Attention},    {10, 2, 0, 2, 0, StockState::Ok},
        {0.3, 0, 0.1, 3, 0, StockState::Attention},
    };
    for (const auto& c : cases)
        EXPECT_EQ(stockState(stockUnits(c.loaded, c.unloaded, c.factor), c.minimum, c.tolerance),
                  c.state)
            << c.loaded << " " << c.unloaded << " " << c.factor;
    EXPECT_EQ(stockStateLabel(StockState::Attention), u"Attenz."_s);
    EXPECT_EQ(stockStateHint(StockState::Ok), u"Quantità articolo abbondante"_s);
}

TEST(ArticleRules, PricesFromMarkupAndVat) {
    EXPECT_DOUBLE_EQ(markupFromPrices(10, 15), 50);
    EXPECT_DOUBLE_EQ(markupFromPrices(0, 15), 0);
    EXPECT_DOUBLE_EQ(markupFromPrices(10, 0), 0);
    EXPECT_DOUBLE_EQ(saleFromMarkup(10, 30), 13);
    EXPECT_DOUBLE_EQ(withVat(100, 22), 122);
    EXPECT_DOUBLE_EQ(withoutVat(122, 22), 100);
    QString error;
    EXPECT_DOUBLE_EQ(parseField(u"1.234,5"_s, u"Pr. vendita"_s, &error), 1234.5);
    EXPECT_TRUE(error.isEmpty());
    EXPECT_EQ(parseField(u"12a"_s, u"Pr. vendita"_s, &error), 0);
    EXPECT_EQ(error, u"Il valore \"12a\" del campo \"Pr. vendita\" non è un numero valido."_s);
}
