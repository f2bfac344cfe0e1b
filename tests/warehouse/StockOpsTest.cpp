#include <gtest/gtest.h>

#include "settings/Settings.h"
#include "store/Store.h"
#include "tests/WindowFixture.h"
#include "warehouse/OrderDelivery.h"
#include "warehouse/StockOps.h"

using namespace zel;
using namespace zel::test;
using namespace Qt::Literals::StringLiterals;

namespace {

class StockOpsTest : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        archives = StockArchives::fromSettings(*settings);
        ops = std::make_unique<StockOps>(*store, archives);
    }
    void TearDown() override {
        ops.reset();
        WindowFixture::TearDown();
    }
    void article(const QString& cod, double prezzoAcq, double qord = 0) {
        Probe::exec(archives.warehouse,
                    u"INSERT INTO magazzino (ID, COD, DES, PREZZO_ACQ, QCA, QSC, PCA, PSC, CCA, "
                    u"CSC, QCONS, QORD, "
                    "COSTO_MED, VALO1, VALO2, VALO3, COD_FORN, FM) VALUES ((SELECT COUNT(*) + 1 "
                    "FROM magazzino), '%1', "
                    "'Articolo %1', %2, 0, 0, 0, 0, 0, 0, 0, %3, 0, 0, 0, 0, '', 1)"_s.arg(cod)
                        .arg(prezzoAcq)
                        .arg(qord));
    }
    QVariantList stock(const QString& cod) {
        const auto r = Probe::rows(
            archives.warehouse,
            u"SELECT QCA, PCA, CCA, QCONS, QORD, COSTO_MED, VALO1, VALO2, VALO3, COD_FORN, QSC, "
            "PSC, CSC FROM magazzino WHERE COD = '%1'"_s.arg(cod));
        return r.isEmpty() ? QVariantList() : r.first();
    }
    LoadRequest loadOf(const QString& cod, double typed, double q, qint64 priceCents,
                       const QString& supplier = u"F1"_s) {
        LoadRequest r;
        r.movement.bolla = 77;
        r.movement.cod = cod;
        r.movement.des = u"Articolo "_s + cod;
        r.movement.data = QDate(2026, 12, 11);
        r.movement.codForn = supplier;
        r.movement.percIva = 22;
        r.movement.prezzo = static_cast<double>(priceCents) / 100.0;
        r.movement.peso = 1.5;
        r.movement.colli = 2;
        r.movement.quant = typed;
        r.quantity = q;
        r.price = UnitPrice(priceCents, 2);
        return r;
    }
    QList<QVariantList> movements() {
        return Probe::rows(archives.movements,
                           u"SELECT ID, BOLLA, COD, QUANT, PREZZO, CAUSALE, FATTURA, FLAG, "
                           u"COD_FORN, DATA, PESO, COLLI "
                           "FROM dett_ddt26 ORDER BY rowid"_s);
    }
    QString snapshot() {
        return Probe::dump(archives.warehouse) + Probe::dump(archives.movements) +
               Probe::dump(archives.orders) + Probe::dump(archives.outside);
    }

    StockArchives archives;
    std::unique_ptr<StockOps> ops;
};

TEST_F(StockOpsTest, LoadMovesEveryStockColumnRelativelyWithItsMovement) {
    article(u"A1"_s, 5.0, 100);
    Probe::exec(archives.warehouse,
                u"UPDATE magazzino SET QCA = 3, PCA = 0.5, CCA = 1, QCONS = 3 WHERE COD = 'A1'"_s);
    ops->load(loadOf(u"A1"_s, 10, 120, 700));
    // Columns: QCA, PCA, CCA, QCONS, QORD, COSTO_MED, VALO1, VALO2, VALO3, COD_FORN.
    const QVariantList s = stock(u"A1"_s);
    EXPECT_DOUBLE_EQ(s[0].toDouble(), 123);
    EXPECT_DOUBLE_EQ(s[1].toDouble(), 2.0);
    EXPECT_EQ(s[2].toLongLong(), 3);
    EXPECT_DOUBLE_EQ(s[3].toDouble(), 123);
    EXPECT_DOUBLE_EQ(s[4].toDouble(), -20);
    EXPECT_DOUBLE_EQ(s[5].toDouble(), 6.0);
    EXPECT_DOUBLE_EQ(s[6].toDouble(), 7.0);
    EXPECT_DOUBLE_EQ(s[7].toDouble(), 7.0);
    EXPECT_DOUBLE_EQ(s[8].toDouble(), 7.0);
    EXPECT_EQ(s[9].toString(), u"F1"_s);
    const auto m = movements();
    ASSERT_EQ(m.size(), 1);
    EXPECT_EQ(m[0][0].toLongLong(), 1);
    EXPECT_EQ(m[0][1].toLongLong(), 77);
    EXPECT_DOUBLE_EQ(m[0][3].toDouble(), 10);  // as typed, before the factor
    EXPECT_EQ(m[0][5].toString(), u"Carico merce"_s);
    EXPECT_EQ(m[0][6].toString(), u"X"_s);
    EXPECT_EQ(m[0][7].toString(), u"X"_s);
    EXPECT_EQ(m[0][9].toString(), u"2026-12-11"_s);
    // Empty texts are written as '', an empty date as NULL.
    const auto empty = Probe::rows(archives.movements,
                                   u"SELECT SERIALE = '', NOTE = '', COD_CLI = '', DATAORD IS NULL FROM dett_ddt26"_s);
    EXPECT_EQ(empty.value(0), (QVariantList{1LL, 1LL, 1LL, 1LL}));
}

TEST_F(StockOpsTest, LowestHighestAndLastPriceFollowTheLoads) {
    article(u"B"_s, 0);
    const struct {
        qint64 cents;
        double costoMed, valo1, valo2;
    } steps[] = {{800, 4, 8, 8}, {600, 3, 6, 8}, {1000, 5, 6, 10}, {900, 4.5, 6, 10}};
    for (const auto& step : steps) {
        ops->load(loadOf(u"B"_s, 1, 1, step.cents));
        const QVariantList s = stock(u"B"_s);
        EXPECT_DOUBLE_EQ(s[5].toDouble(), step.costoMed) << step.cents;
        EXPECT_DOUBLE_EQ(s[6].toDouble(), step.valo1) << step.cents;
        EXPECT_DOUBLE_EQ(s[7].toDouble(), step.valo2) << step.cents;
        EXPECT_DOUBLE_EQ(s[8].toDouble(), static_cast<double>(step.cents) / 100.0);
    }
    // An unload with a consignee does not count as a purchase price.
    UnloadRequest u;
    u.cod = u"B"_s;
    u.quantity = 1;
    Movement m;
    m.cod = u"B"_s;
    m.codForn = u"CLIENTE"_s;
    m.prezzo = 1;
    u.movement = m;
    ops->manualUnload(u);
    EXPECT_EQ(ops->purchasePriceRange(u"B"_s), std::make_pair(6.0, 10.0));
    EXPECT_EQ(ops->purchasePriceRange(u"NESSUNO"_s), std::make_pair(0.0, 0.0));
}

TEST_F(StockOpsTest, OutsideWarehouseGetsTheQuantitiesInItsOwnRow) {
    article(u"E1"_s, 2.0, 5);
    LoadRequest r = loadOf(u"E1"_s, 4, 4, 300);
    r.place.outsideCode = u"M2"_s;
    ops->load(r);
    ops->load(r);
    const auto ext =
        Probe::rows(archives.outside, u"SELECT COD_MAG, COD, QCA, PCA, CCA, DES FROM mag_ext"_s);
    ASSERT_EQ(ext.size(), 1);
    EXPECT_EQ(ext[0][0].toString(), u"M2"_s);
    EXPECT_EQ(ext[0][1].toString(), u"E1"_s);
    EXPECT_DOUBLE_EQ(ext[0][2].toDouble(), 8);
    EXPECT_DOUBLE_EQ(ext[0][3].toDouble(), 3.0);
    EXPECT_EQ(ext[0][4].toLongLong(), 4);
    EXPECT_EQ(ext[0][5].toString(), u"Articolo E1"_s);
    const QVariantList s = stock(u"E1"_s);
    EXPECT_DOUBLE_EQ(s[0].toDouble(), 0);  // main stock untouched
    EXPECT_DOUBLE_EQ(s[3].toDouble(), 0);
    EXPECT_DOUBLE_EQ(s[4].toDouble(), 5);
    EXPECT_DOUBLE_EQ(s[5].toDouble(), 2.5);  // cost figures still follow the load
    EXPECT_DOUBLE_EQ(s[6].toDouble(), 3.0);

    // Another warehouse code is another row.
    r.place.outsideCode = u"M3"_s;
    ops->load(r);
    EXPECT_EQ(Probe::count(archives.outside), 2);
}

TEST_F(StockOpsTest, OrderLineFoundAndUpdatedByOneConditionOnly) {
    article(u"O1"_s, 1);
    const QString o = archives.orders;
    Probe::exec(
        o,
        u"INSERT INTO ordini (ordine, COD_FORN, COD_ART, QUANT, CONSEGNATO_quant, "
        u"CONSEGNATO_colli) VALUES "
        "(5, 'ALTRO', 'O1', 50, 0, 0), (5, 'F1', 'O2', 50, 0, 0), (5, 'f1', 'O1', 50, 1, 1), "
        "(6, 'F1', 'O1', 50, 0, 0), (5, 'F1', 'O1', 50, 0, 0)"_s);
    const auto delivered = [&] {
        return Probe::rows(
            o, u"SELECT CONSEGNATO_quant, CONSEGNATO_colli FROM ordini ORDER BY rowid"_s);
    };
    LoadRequest r = loadOf(u"O1"_s, 3, 12, 100);
    r.order = 5;
    r.matchSupplier = true;
    LoadOutcome out = ops->load(r);
    EXPECT_TRUE(out.orderSearched);
    EXPECT_TRUE(out.orderFound);
    auto d = delivered();
    // The first line of order 5, article O1, supplier F1 in any letter case: the third.
    EXPECT_DOUBLE_EQ(d[2][0].toDouble(), 13);
    EXPECT_EQ(d[2][1].toLongLong(), 3);
    for (int i : {0, 1, 3, 4}) EXPECT_DOUBLE_EQ(d[i][0].toDouble(), 0) << i;

    // Without the supplier condition the first line of the order and article wins.
    r.matchSupplier = false;
    ops->load(r);
    d = delivered();
    EXPECT_DOUBLE_EQ(d[0][0].toDouble(), 12);
    EXPECT_DOUBLE_EQ(d[2][0].toDouble(), 13);

    // No line: the stock is loaded, the order archive untouched, the outcome says so.
    const QString ordersBefore = Probe::dump(o);
    r.order = 99;
    out = ops->load(r);
    EXPECT_TRUE(out.orderSearched);
    EXPECT_FALSE(out.orderFound);
    EXPECT_EQ(Probe::dump(o), ordersBefore);
    EXPECT_DOUBLE_EQ(stock(u"O1"_s)[0].toDouble(), 36);
}

TEST_F(StockOpsTest, UnknownArticleWritesNothing) {
    article(u"K"_s, 1);
    const QString before = snapshot();
    LoadRequest r = loadOf(u"NOPE"_s, 1, 1, 100);
    r.order = 1;
    try {
        ops->load(r);
        FAIL() << "an unknown article was loaded";
    } catch (const StoreError& e) {
        EXPECT_EQ(e.message(), u"Articolo inesistente: NOPE"_s);
    }
    UnloadRequest u;
    u.cod = u"NOPE"_s;
    u.quantity = 1;
    EXPECT_THROW(ops->manualUnload(u), StoreError);
    EXPECT_FALSE(ops->unload(u"NOPE"_s, 1));
    EXPECT_EQ(snapshot(), before);
}

TEST_F(StockOpsTest, LoadWhoseLastWriteFailsLeavesEveryArchiveAsItWas) {
    article(u"T"_s, 1);
    Probe::exec(
        archives.orders,
        u"INSERT INTO ordini (ordine, COD_FORN, COD_ART, CONSEGNATO_quant) VALUES (1, 'F1', 'T', 0)"_s);
    ops->load(loadOf(u"T"_s, 1, 1, 100));
    // The renumbering is the last write of a load.
    Probe::exec(archives.movements,
                u"CREATE TRIGGER fail_last BEFORE UPDATE OF ID ON dett_ddt26 "
                "BEGIN SELECT RAISE(ABORT, 'disco pieno'); END"_s);
    const QString before = snapshot();
    LoadRequest r = loadOf(u"T"_s, 2, 2, 100);
    r.order = 1;
    EXPECT_THROW(ops->load(r), StoreError);
    EXPECT_EQ(snapshot(), before);
    EXPECT_FALSE(store->inTransaction());
}

TEST_F(StockOpsTest, RenumberingNumbersOnlyTheNewRowsOfAnArchiveNumberedOneToN) {
    article(u"R"_s, 1);
    for (int i = 0; i < 3; ++i) ops->load(loadOf(u"R"_s, 1, 1, 100));
    QList<qint64> ids;
    for (const auto& m : movements()) ids << m[0].toLongLong();
    EXPECT_EQ(ids, (QList<qint64>{1, 2, 3}));

    // Numbered otherwise (a row deleted, a foreign number): the whole archive is renumbered.
    Probe::exec(
        archives.movements,
        u"DELETE FROM dett_ddt26 WHERE ID = 2; UPDATE dett_ddt26 SET ID = 40 WHERE ID = 3"_s);
    ops->load(loadOf(u"R"_s, 1, 1, 100));
    ids.clear();
    for (const auto& m : movements()) ids << m[0].toLongLong();
    EXPECT_EQ(ids, (QList<qint64>{1, 2, 3}));

    // Only the new rows are written when the old ones are in order.
    Probe::exec(archives.movements,
                u"CREATE TRIGGER old_rows_stay BEFORE UPDATE OF ID ON dett_ddt26 "
                "WHEN old.rowid <= 3 BEGIN SELECT RAISE(ABORT, 'riga vecchia'); END"_s);
    ops->load(loadOf(u"R"_s, 1, 1, 100));
    ids.clear();
    for (const auto& m : movements()) ids << m[0].toLongLong();
    EXPECT_EQ(ids, (QList<qint64>{1, 2, 3, 4}));
}

TEST_F(StockOpsTest, OperationsJoinTheCallersTransaction) {
    article(u"J"_s, 1);
    const QString before = snapshot();
    {
        Transaction tx(*store);
        ops->load(loadOf(u"J"_s, 1, 5, 100));
        EXPECT_TRUE(ops->unload(u"J"_s, 2));
        EXPECT_TRUE(store->inTransaction());
        // The caller never commits: everything goes.
    }
    EXPECT_EQ(snapshot(), before);
    {
        Transaction tx(*store);
        ops->load(loadOf(u"J"_s, 1, 5, 100));
        ops->unload(u"J"_s, 2);
        tx.commit();
    }
    EXPECT_DOUBLE_EQ(stock(u"J"_s)[0].toDouble(), 5);
    EXPECT_DOUBLE_EQ(stock(u"J"_s)[10].toDouble(), 2);
}

TEST_F(StockOpsTest, UnloadAndGiveBackAreRelativeAndStockMayGoNegative) {
    article(u"U"_s, 1);
    Probe::exec(archives.warehouse, u"UPDATE magazzino SET QSC = 1 WHERE COD = 'U'"_s);
    EXPECT_TRUE(ops->unload(u"U"_s, 2.5));
    EXPECT_DOUBLE_EQ(stock(u"U"_s)[10].toDouble(), 3.5);
    EXPECT_TRUE(ops->giveBack(u"U"_s, 0.5));
    EXPECT_DOUBLE_EQ(stock(u"U"_s)[10].toDouble(), 3.0);
    EXPECT_EQ(Probe::count(archives.movements), 0);  // the document line is the movement

    UnloadRequest u;
    u.cod = u"U"_s;
    u.quantity = 24;
    u.weight = 1.25;
    u.parcels = 2;
    u.billPath = data(u"mov_tmp.db"_s);
    Movement bill;
    bill.cod = u"U"_s;
    bill.causale = u"Mario"_s;
    bill.quant = 2;
    u.billRow = bill;
    ops->manualUnload(u);
    const QVariantList s = stock(u"U"_s);
    EXPECT_DOUBLE_EQ(s[10].toDouble(), 27.0);
    EXPECT_DOUBLE_EQ(s[11].toDouble(), 1.25);
    EXPECT_EQ(s[12].toLongLong(), 2);
    EXPECT_DOUBLE_EQ(s[0].toDouble() - s[10].toDouble(), -27.0);
    EXPECT_EQ(Probe::count(archives.movements), 0);  // no movement asked
    const auto billRows = Probe::rows(u.billPath, u"SELECT COD, CAUSALE, QUANT FROM mov_tmp"_s);
    ASSERT_EQ(billRows.size(), 1);
    EXPECT_EQ(billRows[0][1].toString(), u"Mario"_s);
}

}  // namespace
