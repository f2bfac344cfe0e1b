#include <gtest/gtest.h>

#include "orders/OrderArchive.h"
#include "store/ArchiveMaintenance.h"
#include "settings/Settings.h"
#include "store/Store.h"
#include "tests/WindowFixture.h"
#include "tests/store/SqliteProbe.h"
#include "warehouse/StockOps.h"

using namespace zel;
using namespace zel::test;
using namespace Qt::Literals::StringLiterals;

namespace {

class OrderArchiveTest : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        a = StockArchives::fromSettings(*settings);
        orders = std::make_unique<OrderArchive>(*store, a.orders, a.warehouse, a.movements);
        article(u"A1"_s, 4.0);
        article(u"B2"_s, 7.0);
    }
    void TearDown() override {
        orders.reset();
        WindowFixture::TearDown();
    }
    void article(const QString& cod, double prezzoAcq) {
        Probe::exec(a.warehouse,
                    u"INSERT INTO magazzino (COD, DES, PREZZO_ACQ, QCA, QSC, PCA, PSC, CCA, CSC, "
                    "QCONS, QORD, FM) VALUES ('%1', 'Articolo %1', %2, 0, 0, 0, 0, 0, 0, 0, 0, 1)"_s
                        .arg(cod)
                        .arg(prezzoAcq));
    }
    double stockValue(const QString& column, const QString& cod) {
        return Probe::rows(a.warehouse, u"SELECT %1 FROM magazzino WHERE COD = '%2'"_s.arg(column, cod))
            .first()
            .first()
            .toDouble();
    }
    OrderDraft supplierOrder() {
        OrderDraft d;
        d.number = orders->proposeNumber();
        d.date = QDate(2026, 12, 1);
        d.kind = OrderKind::Supplier;
        d.party = u"F001"_s;
        OrderLine l1;
        l1.codArt = u"A1"_s;
        l1.des = u"Articolo A1"_s;
        l1.quant = 10;
        l1.prezzo = 4.5;
        OrderLine l2;
        l2.codArt = u"B2"_s;
        l2.des = u"Articolo B2"_s;
        l2.quant = 2.5;
        l2.prezzo = 8.0;
        d.lines = {l1, l2};
        d.deliveryDates = {QDate(2026, 12, 10), QDate(2026, 12, 15), QDate(2026, 12, 20)};
        return d;
    }
    qint64 lineRowid(const QString& cod) {
        return Probe::rows(a.orders, u"SELECT rowid FROM ordini WHERE COD_ART = '%1'"_s.arg(cod))
            .first()
            .first()
            .toLongLong();
    }
    OrderLoadRequest loadOf(const QString& cod, double q) {
        OrderLoadRequest r;
        r.lineRowid = lineRowid(cod);
        r.quantity = q;
        r.parcels = 1;
        r.weight = 0.5;
        r.price = UnitPrice(450, 2);
        r.ddtNumber = 12;
        r.supplier = u"F001"_s;
        r.today = QDate(2026, 12, 11);
        return r;
    }
    QString snapshot() {
        return Probe::dump(a.orders) + Probe::dump(a.warehouse) + Probe::dump(a.movements);
    }

    StockArchives a;
    std::unique_ptr<OrderArchive> orders;
};

TEST_F(OrderArchiveTest, SupplierOrderSavesItsLinesAndRaisesQuantityOnOrder) {
    EXPECT_EQ(orders->proposeNumber(), 1);
    orders->save(supplierOrder());
    const auto rows = Probe::rows(
        a.orders, u"SELECT ordine, COD_CLI, COD_FORN, COD_ART, QUANT, PREZZO, DATA, DATA_CONS1, "
                  "DATA_CONS3, CHIUSO FROM ordini ORDER BY rowid"_s);
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0][0].toLongLong(), 1);
    EXPECT_EQ(rows[0][1].toString(), u""_s);
    EXPECT_EQ(rows[0][2].toString(), u"F001"_s);
    EXPECT_EQ(rows[1][3].toString(), u"B2"_s);
    EXPECT_DOUBLE_EQ(rows[1][4].toDouble(), 2.5);
    EXPECT_DOUBLE_EQ(rows[0][5].toDouble(), 4.5);
    EXPECT_EQ(rows[0][6].toString(), u"2026-12-01"_s);
    EXPECT_EQ(rows[1][7].toString(), u"2026-12-10"_s);
    EXPECT_EQ(rows[1][8].toString(), u"2026-12-20"_s);
    EXPECT_EQ(rows[0][9].toInt(), 0);
    EXPECT_DOUBLE_EQ(stockValue(u"QORD"_s, u"A1"_s), 10.0);
    EXPECT_DOUBLE_EQ(stockValue(u"QORD"_s, u"B2"_s), 2.5);
    EXPECT_EQ(orders->proposeNumber(), 2);
}

TEST_F(OrderArchiveTest, CustomerOrderLeavesQuantityOnOrderAlone) {
    OrderDraft d = supplierOrder();
    d.kind = OrderKind::Customer;
    d.party = u"C001"_s;
    orders->save(d);
    EXPECT_EQ(Probe::rows(a.orders, u"SELECT COD_CLI, COD_FORN FROM ordini"_s).first(),
              (QVariantList{u"C001"_s, u""_s}));
    EXPECT_DOUBLE_EQ(stockValue(u"QORD"_s, u"A1"_s), 0.0);
}

TEST_F(OrderArchiveTest, SavingTheSameNumberTwiceIsRefused) {
    orders->save(supplierOrder());
    const QString before = snapshot();
    OrderDraft again = supplierOrder();
    again.number = 1;
    EXPECT_TRUE(orders->isTaken(1));
    EXPECT_THROW(orders->save(again), StoreError);
    EXPECT_EQ(snapshot(), before);
}

TEST_F(OrderArchiveTest, FailingQuantityOnOrderUpdateWritesNoLine) {
    const QString before = snapshot();
    Probe::exec(a.warehouse,
                u"CREATE TRIGGER boom BEFORE UPDATE OF QORD ON magazzino WHEN NEW.COD = 'B2' "
                "BEGIN SELECT RAISE(ABORT, 'guasto'); END"_s);
    EXPECT_THROW(orders->save(supplierOrder()), StoreError);
    Probe::exec(a.warehouse, u"DROP TRIGGER boom"_s);
    EXPECT_EQ(snapshot(), before);
}

TEST_F(OrderArchiveTest, CodesWiderThanTheirColumnAreRefusedNotCut) {
    // The upgrade has widened the order codes to the registry and article width.
    for (const QString& column : {u"COD_CLI"_s, u"COD_FORN"_s, u"COD_ART"_s}) {
        SCOPED_TRACE(column.toStdString());
        EXPECT_TRUE(orders->codeTooLong(column, QString(kOrderCodeWidth, u'X')).isEmpty());
        EXPECT_FALSE(orders->codeTooLong(column, QString(kOrderCodeWidth + 1, u'X')).isEmpty());
    }
    OrderDraft d = supplierOrder();
    d.party = QString(kOrderCodeWidth + 1, u'F');
    const QString before = snapshot();
    EXPECT_THROW(orders->save(d), StoreError);
    EXPECT_EQ(snapshot(), before);
}

TEST_F(OrderArchiveTest, LoadsCloseTheLineAfterPartialDeliveries) {
    orders->save(supplierOrder());
    orders->load(loadOf(u"A1"_s, 4));
    auto line = Probe::rows(a.orders, u"SELECT QUANT, CHIUSO, CONSEGNATO, CONSEGNATO_QUANT, "
                                      "CONSEGNE, DATA_CONS1 FROM ordini WHERE COD_ART = 'A1'"_s)
                    .first();
    EXPECT_DOUBLE_EQ(line[0].toDouble(), 6.0);
    EXPECT_EQ(line[1].toInt(), 0);
    EXPECT_EQ(line[2].toInt(), 1);
    EXPECT_DOUBLE_EQ(line[3].toDouble(), 4.0);
    EXPECT_EQ(line[4].toInt(), 1);
    EXPECT_EQ(line[5].toString(), u"2026-12-11"_s);
    OrderLoadRequest second = loadOf(u"A1"_s, 6);
    second.today = QDate(2026, 12, 12);
    orders->load(second);
    line = Probe::rows(a.orders, u"SELECT QUANT, CHIUSO, CONSEGNATO_QUANT, CONSEGNE, DATA_CONS2 "
                                 "FROM ordini WHERE COD_ART = 'A1'"_s)
               .first();
    EXPECT_EQ(line[1].toInt(), 1);
    EXPECT_DOUBLE_EQ(line[2].toDouble(), 10.0);
    EXPECT_EQ(line[3].toInt(), 2);
    EXPECT_EQ(line[4].toString(), u"2026-12-12"_s);
    EXPECT_DOUBLE_EQ(stockValue(u"QCA"_s, u"A1"_s), 10.0);
    EXPECT_DOUBLE_EQ(stockValue(u"QORD"_s, u"A1"_s), 0.0);
    // A closed line takes no further load.
    const QString before = snapshot();
    EXPECT_THROW(orders->load(loadOf(u"A1"_s, 1)), StoreError);
    EXPECT_EQ(snapshot(), before);
}

TEST_F(OrderArchiveTest, DecimalLoadKeepsItsDecimalsAndIsDatedToday) {
    orders->save(supplierOrder());
    orders->load(loadOf(u"B2"_s, 2.5));
    EXPECT_DOUBLE_EQ(stockValue(u"QCA"_s, u"B2"_s), 2.5);
    EXPECT_DOUBLE_EQ(stockValue(u"QORD"_s, u"B2"_s), 0.0);
    const auto mov = Probe::rows(a.movements, u"SELECT DATA, DATAORD, QUANT, BOLLA, CAUSALE, COD_FORN "
                                              "FROM dett_ddt26"_s);
    ASSERT_EQ(mov.size(), 1);
    EXPECT_EQ(mov[0][0].toString(), u"2026-12-11"_s);
    EXPECT_EQ(mov[0][1].toString(), u"2026-12-01"_s);
    EXPECT_DOUBLE_EQ(mov[0][2].toDouble(), 2.5);
    EXPECT_EQ(mov[0][3].toInt(), 12);
    EXPECT_EQ(mov[0][4].toString(), u"Carico merce"_s);
}

TEST_F(OrderArchiveTest, NonPositiveOrFailingLoadWritesNothing) {
    orders->save(supplierOrder());
    const QString before = snapshot();
    EXPECT_THROW(orders->load(loadOf(u"A1"_s, 0)), StoreError);
    EXPECT_THROW(orders->load(loadOf(u"A1"_s, -1)), StoreError);
    Probe::exec(a.orders, u"CREATE TRIGGER boom BEFORE UPDATE OF CHIUSO ON ordini "
                          "BEGIN SELECT RAISE(ABORT, 'guasto'); END"_s);
    EXPECT_THROW(orders->load(loadOf(u"A1"_s, 4)), StoreError);
    Probe::exec(a.orders, u"DROP TRIGGER boom"_s);
    EXPECT_EQ(snapshot(), before);
}

TEST_F(OrderArchiveTest, DeletingAnOrderGivesTheOpenQuantityBack) {
    orders->save(supplierOrder());
    orders->load(loadOf(u"A1"_s, 4));
    orders->deleteOrder(1);
    EXPECT_EQ(Probe::count(a.orders), 0);
    EXPECT_DOUBLE_EQ(stockValue(u"QORD"_s, u"A1"_s), 0.0);
    EXPECT_DOUBLE_EQ(stockValue(u"QORD"_s, u"B2"_s), 0.0);
    EXPECT_DOUBLE_EQ(stockValue(u"QCA"_s, u"A1"_s), 4.0);
}

TEST_F(OrderArchiveTest, FailingDeleteLeavesOrderAndStock) {
    orders->save(supplierOrder());
    const QString before = snapshot();
    Probe::exec(a.orders, u"CREATE TRIGGER boom BEFORE DELETE ON ordini "
                          "BEGIN SELECT RAISE(ABORT, 'guasto'); END"_s);
    EXPECT_THROW(orders->deleteOrder(1), StoreError);
    Probe::exec(a.orders, u"DROP TRIGGER boom"_s);
    EXPECT_EQ(snapshot(), before);
}

}  // namespace
