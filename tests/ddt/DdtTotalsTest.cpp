#include <gtest/gtest.h>

#include "ddt/DdtLine.h"
#include "ddt/DdtTotals.h"
#include "settings/Settings.h"
#include "store/Store.h"
#include "tests/WindowFixture.h"
#include "warehouse/StockOps.h"

using namespace zel;
using namespace zel::test;
using namespace Qt::Literals::StringLiterals;

namespace {

DdtLine line(double quant, double net, double vat, qint64 colli = 0, double peso = 0) {
    DdtLine l;
    l.quant = quant;
    l.prezzonett = net;
    l.percIva = vat;
    l.colli = colli;
    l.peso = peso;
    return l;
}

struct AmountCase {
    const char* name;
    QList<DdtLine> lines;
    qint64 goodsCents;
    qint64 vatCents;
};

class DdtTotalsAmounts : public ::testing::TestWithParam<AmountCase> {};

TEST_P(DdtTotalsAmounts, GoodsAreRoundedPerLineAndVatPerRate) {
    DdtTotals t;
    for (const DdtLine& l : GetParam().lines) t.add(l);
    EXPECT_EQ(t.goods().cents(), GetParam().goodsCents);
    EXPECT_EQ(t.vat().cents(), GetParam().vatCents);
    EXPECT_EQ(t.lines(), GetParam().lines.size());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DdtTotalsAmounts,
    ::testing::Values(
        // 5 × 9,00 at 22 % and 3 × 4,50 at 10 %: 45,00 + 13,50; 9,90 + 1,35.
        AmountCase{"TwoRates", {line(5, 9.00, 22), line(3, 4.50, 10)}, 5850, 1125},
        // Two lines of 0,25 at 22 %: the rate's VAT is round(0,11), not 2 × round(0,055).
        AmountCase{"OneRoundingPerRate", {line(1, 0.25, 22), line(1, 0.25, 22)}, 50, 11},
        // 3 × 0,335 = 1,005 rounds half away from zero; VAT-free lines add no VAT.
        AmountCase{"LineRoundsHalfAway", {line(3, 0.335, 22), line(2, 1.10, 0)}, 101 + 220, 22},
        // A rate outside the configured ones is totalled under its own rate.
        AmountCase{"OwnRate", {line(1, 100, 20), line(1, 100, 4)}, 20000, 2400},
        // A returned quantity lowers goods and VAT.
        AmountCase{"Negative", {line(2, 10, 22), line(-1, 10, 22)}, 1000, 220}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DdtTotalsFigures, ParcelsWeightProcessingAndWasteAreExactSums) {
    DdtLine a = line(5, 9, 22, 1, 2.5);
    a.ptropic = 1.5;
    a.ctropic = 2.345;  // 3,5175 → 3,52
    a.scarto = 0.1;
    DdtLine b = line(3, 4.5, 10, 1, 1.2);
    b.pzincat = 0.7;
    b.czincat = 3;
    b.pdorat = 0.2;
    b.cdorat = 10.005;  // 2,001 → 2,00
    b.scarto = 0.2;
    DdtTotals t;
    t.add(a);
    t.add(b);
    EXPECT_EQ(t.parcels(), 2);
    EXPECT_EQ(t.weight(), 3.7);
    EXPECT_EQ(t.processing(0).kg(), 1.5);
    EXPECT_EQ(t.processing(0).cost.cents(), 352);
    EXPECT_EQ(t.processing(1).kg(), 0.7);
    EXPECT_EQ(t.processing(1).cost.cents(), 210);
    EXPECT_EQ(t.processing(2).kg(), 0.2);
    EXPECT_EQ(t.processing(2).cost.cents(), 200);
    EXPECT_EQ(t.waste(), 0.3);
}

class DdtTotalsStore : public WindowFixture {
protected:
    QString lines() { return settings->text(u"Path", u"Archivio DDT Detail"); }
    QString header() { return settings->text(u"Path", u"Archivio DDT Master"); }
    void row(qint64 bolla, const QString& cli, const QString& forn, double quant, double net,
             double vat, int colli, double peso, const QString& causale = u"Vendita"_s) {
        Probe::exec(
            lines(),
            u"INSERT INTO dett_ddt26 (BOLLA, COD_CLI, COD_FORN, COD, QUANT, PREZZONETT, PERC_IVA, "
            u"COLLI, "
            "PESO, CAUSALE) VALUES (%1, '%2', '%3', 'A1', %4, %5, %6, %7, %8, '%9')"_s.arg(bolla)
                .arg(cli, forn)
                .arg(quant)
                .arg(net)
                .arg(vat)
                .arg(colli)
                .arg(peso)
                .arg(causale));
    }
};

TEST_F(DdtTotalsStore, AHeaderTakesTheSumsOfItsOwnLinesOnly) {
    row(5, u"C1"_s, u""_s, 5, 9, 22, 1, 2.5);
    row(5, u"c1"_s, u""_s, 3, 4.5, 10, 1, 1.2);
    row(5, u"C2"_s, u""_s, 100, 1, 22, 9, 9);  // another customer's DDT 5
    row(5, u""_s, u"F1"_s, 100, 1, 22, 9, 9);  // a supplier's load numbered 5
    row(5, u"C1"_s, u""_s, 100, 1, 22, 9, 9,
        QString::fromUtf16(kCauseRestore));  // trace of a restore
    for (const char* cli : {"C1", "C2"})
        Probe::exec(
            header(),
            u"INSERT INTO ddt26 (BOLLA, COD_CLI, COD_FORN, PREZZO, IVA, TOT_COLLI, TOT_PESO) "
            "VALUES (5, '%1', '', 0, 0, 0, 0)"_s.arg(QLatin1StringView(cli)));
    const DdtTotals t = DdtTotals::ofDdt(*store, lines(), 5, u"C1"_s);
    EXPECT_EQ(t.lines(), 2);
    t.writeHeader(*store, header(), 5, u"C1"_s);
    const auto h = Probe::rows(
        header(), u"SELECT COD_CLI, PREZZO, IVA, TOT_COLLI, TOT_PESO FROM ddt26 ORDER BY rowid"_s);
    ASSERT_EQ(h.size(), 2);
    EXPECT_EQ(h[0], (QVariantList{u"C1"_s, 58.5, 11.25, 2.0, 3.7}));
    EXPECT_EQ(h[1], (QVariantList{u"C2"_s, 0.0, 0.0, 0.0, 0.0}));
}

}  // namespace
