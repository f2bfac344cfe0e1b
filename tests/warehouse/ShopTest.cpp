#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "core/Paths.h"
#include "settings/Settings.h"
#include "tests/WindowFixture.h"
#include "tests/store/SqliteProbe.h"
#include "ui/Dialogs.h"
#include "warehouse/StockOps.h"
#include "warehouse/Tfrm_shop.h"

using namespace zel;
using namespace zel::test;
using namespace Qt::Literals::StringLiterals;

namespace {

class ShopWindow : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        archives = StockArchives::fromSettings(*settings);
        for (const auto& [cod, price] : {std::pair{u"1"_s, 10.0}, std::pair{u"10"_s, 20.0}})
            Probe::exec(archives.warehouse,
                        u"INSERT INTO magazzino (COD, DES, PREZZO_VEN, IVA, QCA, QSC) VALUES ('%1', 'Articolo %1', %2, 22, 5, 0)"_s
                            .arg(cod)
                            .arg(price));
    }
    void TearDown() override {
        win.reset();
        WindowFixture::TearDown();
    }
    void open() {
        win = std::make_unique<Tfrm_shop>(ctx);
        win->show();
        win->FormShow();
    }
    template <class T>
    T* w(const QString& name) {
        T* x = win->findChild<T*>(name);
        EXPECT_NE(x, nullptr) << qPrintable(name);
        return x;
    }
    // A barcode scanner: the code's keys, then Enter.
    void scan(const QString& code) {
        auto* e = w<QLineEdit>(u"edt_codice"_s);
        e->clear();
        QTest::keyClicks(e, code);
        QTest::keyClick(e, Qt::Key_Return);
    }
    double qsc(const QString& cod) {
        return Probe::rows(archives.warehouse, u"SELECT QSC FROM magazzino WHERE COD = '%1'"_s.arg(cod)).value(0).value(0).toDouble();
    }
    StockArchives archives;
    std::unique_ptr<Tfrm_shop> win;
};

TEST_F(ShopWindow, ScannedCodeSellsTheExactArticle) {
    const struct {
        bool vatIncluded;
        QString code;
        QString sold;
        QString price;
    } cases[] = {{false, u"1"_s, u"1"_s, u"10,00"_s}, {true, u"10"_s, u"10"_s, u"24,40"_s}};
    for (const auto& c : cases) {
        settings->setValue(u"Magazzino", u"Imposta Iva inclusa in Shop", c.vatIncluded);
        open();
        scan(c.code);
        EXPECT_EQ(qsc(c.sold), 1.0) << qPrintable(c.code);
        EXPECT_EQ(w<QLabel>(u"lbl_prezzo"_s)->text(), c.price);
        EXPECT_EQ(w<QLabel>(u"lbl_totale"_s)->text(), c.price);
        EXPECT_EQ(w<QLabel>(u"lbl_giacenza"_s)->text(), u"5"_s);
        EXPECT_EQ(w<QListWidget>(u"lst_vendite"_s)->item(0)->text(),
                  c.sold.leftJustified(20) + u' ' + (u"Articolo "_s + c.sold).leftJustified(50) + u' ' + c.price.leftJustified(8));
    }
}

TEST_F(ShopWindow, UnknownCodeTurnsTheFieldRedAndSellsNothing) {
    open();
    const QString before = Probe::dump(archives.warehouse);
    scan(u"1X"_s);
    auto* e = w<QLineEdit>(u"edt_codice"_s);
    EXPECT_TRUE(e->styleSheet().contains(u"red"_s));
    EXPECT_EQ(e->toolTip(), u"Codice non trovato in archivio, digitarlo a mano"_s);
    EXPECT_EQ(e->text(), u"1X"_s);
    EXPECT_EQ(Probe::dump(archives.warehouse), before);
}

TEST_F(ShopWindow, ConsultationChangesNothing) {
    open();
    w<QRadioButton>(u"rb_consultazione"_s)->click();
    const QString before = Probe::dump(archives.warehouse);
    scan(u"10"_s);
    QTest::mouseClick(w<QPushButton>(u"btn_ok"_s), Qt::LeftButton);
    EXPECT_EQ(w<QLabel>(u"lbl_descrizione"_s)->text(), u"Articolo 10"_s);
    EXPECT_EQ(w<QLabel>(u"lbl_totale"_s)->text(), u"0,00"_s);
    EXPECT_EQ(Probe::dump(archives.warehouse), before);
}

TEST_F(ShopWindow, DepartmentSellsTypedAmountAtItsRate) {
    settings->setValue(u"Shop", u"Nome Reparto 3", u"Giornali"_s);
    settings->setValue(u"Shop", u"Iva Reparto 3", u"4"_s);
    open();
    auto* b = w<QPushButton>(u"btn_reparto3"_s);
    EXPECT_EQ(b->text(), u"Giornali"_s);
    EXPECT_NE(win->findChild<QPushButton*>(u"btn_reparto14"_s), nullptr);
    EXPECT_EQ(win->findChild<QPushButton*>(u"btn_reparto15"_s), nullptr);
    QTest::keyClicks(w<QLineEdit>(u"edt_importo"_s), u"5,20"_s);
    b->click();
    EXPECT_EQ(w<QLabel>(u"lbl_totale"_s)->text(), u"5,20"_s);
    EXPECT_TRUE(w<QListWidget>(u"lst_vendite"_s)->item(0)->text().contains(u"Giornali IVA 4%"_s));
}

TEST_F(ShopWindow, FailedUnloadLeavesStockAndTotal) {
    open();
    Probe::exec(archives.warehouse,
                u"CREATE TRIGGER fail BEFORE UPDATE ON magazzino BEGIN SELECT RAISE(ABORT, 'disco pieno'); END"_s);
    const QString before = Probe::dump(archives.warehouse);
    scan(u"10"_s);
    EXPECT_EQ(Probe::dump(archives.warehouse), before);
    EXPECT_EQ(w<QLabel>(u"lbl_totale"_s)->text(), u"0,00"_s);
    ASSERT_FALSE(Dialogs::instance().shown().isEmpty());
    EXPECT_TRUE(Dialogs::instance().shown().last().text.startsWith(u"Vendita non registrata"_s));
}

}  // namespace
