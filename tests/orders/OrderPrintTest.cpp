#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "orders/OrderArchive.h"
#include "orders/Tqr_ord.h"
#include "settings/Settings.h"
#include "store/Store.h"
#include "tests/WindowFixture.h"
#include "tests/store/SqliteProbe.h"
#include "warehouse/StockOps.h"

using namespace zel;
using namespace zel::test;
using namespace Qt::Literals::StringLiterals;

namespace {

class OrderPrintTest : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        const StockArchives a = StockArchives::fromSettings(*settings);
        OrderDraft d;
        d.number = 7;
        d.date = QDate(2026, 12, 3);
        d.kind = OrderKind::Supplier;
        d.party = u"F009"_s;
        OrderLine l;
        l.codArt = u"A1"_s;
        l.des = u"Uno"_s;
        l.quant = 2.5;
        l.prezzo = 8;
        d.lines = {l};
        OrderArchive(*store, a.orders, a.warehouse, a.movements).save(d);
    }
    static QStringList labels(const report::Band& b) {
        QStringList out;
        for (const report::Item& i : b.items) out << i.text;
        return out;
    }
};

TEST_F(OrderPrintTest, OrderWhosePartyCardIsGoneStillPrintsWithItsAmounts) {
    const auto data = Tqr_ord::load(*store, *settings, 7);
    ASSERT_TRUE(data.has_value());
    EXPECT_TRUE(data->supplier);
    ASSERT_EQ(data->lines.size(), 1);
    EXPECT_EQ(data->lines[0].value(u"IMPORTO"_s).toString(), u"20,00"_s);
    const QStringList top = labels(Tqr_ord(*settings).layout(*data, false).pageHeader);
    EXPECT_TRUE(top.contains(u"F009"_s));
    EXPECT_TRUE(top.contains(u"N° 7 del 03/12/2026"_s));
    EXPECT_FALSE(Tqr_ord::load(*store, *settings, 8).has_value());
}

TEST_F(OrderPrintTest, BatchPrintWritesThePdfOrTellsWhy) {
    store.reset();
    QTemporaryDir out;
    const QString pdf = out.filePath(u"ordine.pdf"_s);
    EXPECT_EQ(runOrderPrint(base.path(), 7, pdf), 0);
    QFile f(pdf);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.read(5).startsWith("%PDF"));
    EXPECT_EQ(runOrderPrint(base.path(), 8, out.filePath(u"altro.pdf"_s)), kExitUnknownOrder);
    EXPECT_FALSE(QFile::exists(out.filePath(u"altro.pdf"_s)));
}

TEST_F(OrderPrintTest, CommandLineWritesTheOrderPdfWithoutADisplay) {
    store.reset();
    const auto run = [this](const QStringList& extra) {
        return runZelvarin(QStringList{u"--base"_s, base.path()} + extra).code;
    };
    const QString pdf = base.file(u"ordine7.pdf"_s);
    EXPECT_EQ(run({u"--stampa-ordine"_s, u"7"_s, u"--pdf"_s, pdf}), 0);
    EXPECT_TRUE(QFile::exists(pdf));
    EXPECT_EQ(run({u"--stampa-ordine"_s, u"9"_s, u"--pdf"_s, base.file(u"o9.pdf"_s)}), kExitUnknownOrder);
    EXPECT_EQ(run({u"--stampa-ordine"_s, u"7"_s}), 2);  // no --pdf
}

}  // namespace
