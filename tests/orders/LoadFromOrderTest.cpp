#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "core/Clock.h"
#include "orders/OrderArchive.h"
#include "orders/Tfrm_carico_da_ordine.h"
#include "settings/Settings.h"
#include "store/Store.h"
#include "tests/WindowFixture.h"
#include "tests/store/SqliteProbe.h"
#include "ui/Dialogs.h"
#include "warehouse/StockOps.h"

using namespace zel;
using namespace zel::test;
using namespace Qt::Literals::StringLiterals;

namespace {

class LoadFromOrderTest : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        a = StockArchives::fromSettings(*settings);
        for (const QString& cod : {u"A1"_s, u"B2"_s})
            Probe::exec(a.warehouse, u"INSERT INTO magazzino (COD, DES, PREZZO_ACQ, IVA, QCA, QSC, QORD) "
                                     "VALUES ('%1', 'Articolo %1', 4, 22, 0, 0, 0)"_s.arg(cod));
        OrderDraft d;
        d.number = 1;
        d.date = QDate(2026, 12, 1);
        d.kind = OrderKind::Supplier;
        d.party = u"F001"_s;
        OrderLine l1;
        l1.codArt = u"A1"_s;
        l1.des = u"Articolo A1"_s;
        l1.quant = 10;
        l1.prezzo = 4.5;
        OrderLine l2 = l1;
        l2.codArt = u"B2"_s;
        l2.des = u"Articolo B2"_s;
        l2.quant = 2.5;
        l2.prezzo = 8;
        d.lines = {l1, l2};
        OrderArchive(*store, a.orders, a.warehouse, a.movements).save(d);
        w = std::make_unique<Tfrm_carico_da_ordine>(ctx);
        w->FormShow();
        w->show();
    }
    void TearDown() override {
        w.reset();
        WindowFixture::TearDown();
    }
    void clickItem(const char* list, int row) {
        auto* l = w->findChild<QListWidget*>(QString::fromLatin1(list));
        ASSERT_NE(l, nullptr);
        ASSERT_LT(row, l->count());
        QListWidgetItem* it = l->item(row);
        QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, l->visualItemRect(it).center());
    }
    void type(const char* name, const QString& text) {
        auto* e = w->findChild<QLineEdit*>(QString::fromLatin1(name));
        e->selectAll();
        QTest::keyClicks(e, text);
    }
    void confirm() {
        QTest::mouseClick(w->findChild<QPushButton*>(u"btn_conferma"_s), Qt::LeftButton);
    }
    void loadTyped(const QString& q) {
        type("edt_quant", q);
        type("edt_ddt", u"55"_s);
        type("edt_fornitore", u"F001"_s);
        type("edt_prezzo", u"4,50"_s);
        Dialogs::instance().queueAnswer(DlgButton::Yes);
        confirm();
    }
    QVariantList stock(const QString& cod) {
        return Probe::rows(a.warehouse, u"SELECT QCA, QORD FROM magazzino WHERE COD = '%1'"_s.arg(cod)).first();
    }

    StockArchives a;
    std::unique_ptr<Tfrm_carico_da_ordine> w;
};

TEST_F(LoadFromOrderTest, ListsTheOrderAndItsOpenLines) {
    auto* orders = w->findChild<QListWidget*>(u"lst_ordini"_s);
    ASSERT_EQ(orders->count(), 1);
    EXPECT_EQ(orders->item(0)->text(), u"1 del 01/12/2026"_s);
    clickItem("lst_ordini", 0);
    auto* lines = w->findChild<QListWidget*>(u"lst_righe"_s);
    ASSERT_EQ(lines->count(), 2);
    EXPECT_EQ(lines->item(0)->text(), u"A1 - Articolo A1"_s);
    clickItem("lst_righe", 0);
    EXPECT_EQ(w->findChild<QLabel*>(u"lbl_prezzo_ivato"_s)->text(), u"Prezzo ivato: 4,880"_s);
}

TEST_F(LoadFromOrderTest, TwoLoadsWithoutRechoosingCloseTheLine) {
    clickItem("lst_ordini", 0);
    clickItem("lst_righe", 0);
    loadTyped(u"4"_s);
    EXPECT_EQ(Dialogs::instance().shownTexts().last(), u"Carico merce effettuato!"_s);
    EXPECT_TRUE(w->findChild<QLineEdit*>(u"edt_quant"_s)->text().isEmpty());
    loadTyped(u"6"_s);
    EXPECT_EQ(stock(u"A1"_s), (QVariantList{10.0, 0.0}));
    const auto line = Probe::rows(a.orders, u"SELECT CHIUSO, CONSEGNATO_QUANT, CONSEGNE, DATA_CONS1, DATA_CONS2 "
                                            "FROM ordini WHERE COD_ART = 'A1'"_s)
                          .first();
    const QString today = Clock::today().toString(Qt::ISODate);
    EXPECT_EQ(line, (QVariantList{1, 10.0, 2, today, today}));
}

TEST_F(LoadFromOrderTest, DecimalQuantityLoadsAsTyped) {
    clickItem("lst_ordini", 0);
    clickItem("lst_righe", 1);
    loadTyped(u"2,5"_s);
    EXPECT_EQ(stock(u"B2"_s), (QVariantList{2.5, 0.0}));
}

TEST_F(LoadFromOrderTest, ChecksStopTheLoadInOrder) {
    confirm();
    clickItem("lst_ordini", 0);
    clickItem("lst_righe", 0);
    type("edt_ddt", QString());
    confirm();
    type("edt_ddt", u"55"_s);
    w->findChild<QLineEdit*>(u"edt_fornitore"_s)->clear();
    confirm();
    type("edt_fornitore", u"F001"_s);
    type("edt_quant", u"0"_s);
    confirm();
    EXPECT_EQ(Dialogs::instance().shownTexts(),
              (QStringList{u"E' necessario selezionare un articolo"_s, u"Campo DDT non può essere vuoto"_s,
                           u"Campo Fornitore non può essere vuoto"_s, OrderArchive::quantityMessage()}));
    EXPECT_EQ(stock(u"A1"_s), (QVariantList{0.0, 10.0}));
}

TEST_F(LoadFromOrderTest, FailingLineUpdateLeavesEveryArchiveAndSaysSo) {
    clickItem("lst_ordini", 0);
    clickItem("lst_righe", 0);
    const QString before = Probe::dump(a.orders) + Probe::dump(a.warehouse) + Probe::dump(a.movements);
    Probe::exec(a.orders, u"CREATE TRIGGER boom BEFORE UPDATE OF CHIUSO ON ordini "
                          "BEGIN SELECT RAISE(ABORT, 'guasto'); END"_s);
    loadTyped(u"4"_s);
    Probe::exec(a.orders, u"DROP TRIGGER boom"_s);
    EXPECT_EQ(Probe::dump(a.orders) + Probe::dump(a.warehouse) + Probe::dump(a.movements), before);
    EXPECT_TRUE(Dialogs::instance().shownTexts().last().startsWith(u"Registrazione non riuscita"_s));
}

}  // namespace
