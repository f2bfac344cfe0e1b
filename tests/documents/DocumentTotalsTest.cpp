#include <gtest/gtest.h>

#include "documents/DocumentTotals.h"

using namespace Qt::Literals::StringLiterals;

namespace zel {
namespace {

VatRates standardRates() {
    return VatRates(VatRate::fromDouble(4), VatRate::fromDouble(10), VatRate::fromDouble(22),
                    VatRate::fromDouble(22));
}

TotalsLine line(double quant, double price, double rate, const QString& name = u"riga"_s) {
    TotalsLine l;
    l.name = name;
    l.quant = quant;
    l.prezzonett = price;
    l.percIva = rate;
    return l;
}

// The invoice of two DDT: four lines at three rates, taxable and exempt expenses.
DocumentTotals twoDdtInvoice(double discount) {
    DocumentTotals t(standardRates());
    for (const TotalsLine& l :
         {line(10, 13.50, 22), line(4, 7.25, 10), line(3, 19.99, 22), line(2.5, 3.10, 4)})
        EXPECT_FALSE(t.addLine(l).has_value());
    EXPECT_FALSE(t.addLine(line(0, 0, 0, u"DDT n. 7 del 05/03/2026"_s)).has_value());
    t.setTaxableExpenses(Money::fromCents(1000));
    t.setExemptExpenses(Money::fromCents(200));
    t.setDiscountPercent(discount);
    return t;
}

TEST(DocumentTotalsTest, InvoiceOfFourLinesAtThreeRates) {
    const DocumentTotals t = twoDdtInvoice(0);
    EXPECT_EQ(t.lines(), 4);
    EXPECT_EQ(t.goods().cents(), 23172);
    EXPECT_EQ(t.netTaxable().cents(), 24172);
    EXPECT_EQ(t.vatAt(2).cents(), 4509);
    EXPECT_EQ(t.vatAt(1).cents(), 290);
    EXPECT_EQ(t.vatAt(0).cents(), 31);
    EXPECT_EQ(t.vatTotal().cents(), 4830);
    EXPECT_EQ(t.total().cents(), 29202);
}

TEST(DocumentTotalsTest, FinalDiscountReducesEachRateButNotExemptExpenses) {
    const DocumentTotals t = twoDdtInvoice(5);
    EXPECT_EQ(t.grossTaxable().cents(), 24172);
    EXPECT_EQ(t.netTaxable().cents(), 22963);
    EXPECT_EQ(t.vatAt(2).cents(), 4284);
    EXPECT_EQ(t.vatAt(1).cents(), 276);
    EXPECT_EQ(t.vatAt(0).cents(), 29);
    EXPECT_EQ(t.exemptExpenses().cents(), 200);
    EXPECT_EQ(t.total().cents(), 27752);
    EXPECT_EQ(t.total(), t.netTaxable() + t.vatTotal() + t.exemptExpenses());
}

TEST(DocumentTotalsTest, RoundsHalfACentAwayFromZero) {
    struct Case {
        double quant, price, rate;
        qint64 amount, vat;
    } cases[] = {
        {1, 0.005, 22, 1, 0},       // 0,005 → 0,01
        {3, 0.335, 10, 101, 10},    // 1,005 → 1,01; VAT 0,101 → 0,10
        {1, 10.25, 22, 1025, 226},  // VAT 2,255 → 2,26
        {1, 0.125, 4, 13, 1},       // 0,125 → 0,13; VAT 0,0052 → 0,01
        {-1, 10.25, 22, -1025, -226},
    };
    for (const Case& c : cases) {
        DocumentTotals t(standardRates());
        ASSERT_FALSE(t.addLine(line(c.quant, c.price, c.rate)).has_value());
        EXPECT_EQ(t.goods().cents(), c.amount) << c.quant << " x " << c.price;
        EXPECT_EQ(t.vatTotal().cents(), c.vat) << c.quant << " x " << c.price;
    }
}

TEST(DocumentTotalsTest, GeneralProcessingCountsOnceWithTheLinesProcessing) {
    DocumentTotals t(standardRates());
    TotalsLine l = line(1, 100, 22);
    l.ptropic = 2.5;
    l.ctropic = 1.10;  // 2,75
    l.pdorat = 1;
    l.cdorat = 0.333;  // 0,33
    ASSERT_FALSE(t.addLine(l).has_value());
    t.setGeneralProcessing(Money::fromCents(1500));
    EXPECT_DOUBLE_EQ(t.processingKg(0), 2.5);
    EXPECT_EQ(t.processingCost(0).cents(), 275);
    EXPECT_EQ(t.processingCost(2).cents(), 33);
    EXPECT_EQ(t.taxableBeforeExpenses().cents(), 10000 + 275 + 33 + 1500);
    EXPECT_EQ(t.netTaxable().cents(), 11808);
    EXPECT_EQ(t.vatAt(2).cents(), 2598);  // 25,9776
    EXPECT_EQ(t.total().cents(), 11808 + 2598);
}

TEST(DocumentTotalsTest, ExpensesAreTaxedAtTheThirdConfiguredRate) {
    DocumentTotals t(VatRates(VatRate::fromDouble(5), VatRate::fromDouble(10),
                              VatRate::fromDouble(21), std::nullopt));
    ASSERT_FALSE(t.addLine(line(1, 100, 5)).has_value());
    t.setTaxableExpenses(Money::fromCents(1000));
    EXPECT_EQ(t.vatAt(0).cents(), 500);
    EXPECT_EQ(t.vatAt(2).cents(), 210);
    EXPECT_EQ(t.total().cents(), 11000 + 710);
}

TEST(DocumentTotalsTest, ARateOutsideTheConfiguredOnesIsRefusedNamingTheLine) {
    DocumentTotals t(standardRates());
    ASSERT_FALSE(t.addLine(line(1, 10, 22)).has_value());
    const auto refusal = t.addLine(line(2, 5, 7, u"DDT 9 del 12/03/2026, riga 3"_s));
    ASSERT_TRUE(refusal.has_value());
    EXPECT_TRUE(refusal->contains(u"DDT 9 del 12/03/2026, riga 3"_s)) << refusal->toStdString();
    EXPECT_TRUE(refusal->contains(u"7%"_s)) << refusal->toStdString();
    EXPECT_EQ(t.lines(), 1);
    EXPECT_EQ(t.total().cents(), 1220);
    // Rate 0 is an exempt line, always accepted.
    EXPECT_FALSE(t.addLine(line(1, 3, 0)).has_value());
    EXPECT_EQ(t.total().cents(), 1520);
}

TEST(DocumentTotalsTest, ExemptionArticleChargesNoVat) {
    DocumentTotals t = twoDdtInvoice(0);
    t.setExemption(u"Art. 8 c.1 DPR 633/72"_s);
    EXPECT_EQ(t.vatTotal().cents(), 0);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(t.vatAt(i).cents(), 0);
    EXPECT_EQ(t.total().cents(), 24172 + 200);
}

}  // namespace
}  // namespace zel
