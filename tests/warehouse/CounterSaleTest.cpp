#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "core/Paths.h"
#include "registry/Tfrm_cerca.h"
#include "report/PageModel.h"
#include "settings/Settings.h"
#include "store/Store.h"
#include "tests/WindowFixture.h"
#include "tests/store/SqliteProbe.h"
#include "ui/Dialogs.h"
#include "ui/TrayNotice.h"
#include "warehouse/StockOps.h"
#include "warehouse/Tfrm_scarico_veloce.h"

using namespace zel;
using namespace zel::test;
using namespace Qt::Literals::StringLiterals;

namespace {

class CounterSaleWindow : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        archives = StockArchives::fromSettings(*settings);
        receipts = settings->text(u"Path", u"Archivio ricevute fiscali");
        registry = settings->text(u"Path", u"Archivio anagrafica");
        settings->setValue(u"Magazzino", u"Perc IVA predefinita", u"22"_s);
        TrayNotice::instance().reset();
        win = std::make_unique<Tfrm_scarico_veloce>(ctx);
        win->now = [] { return QDateTime(QDate(2024, 3, 5), QTime(10, 11, 12)); };
        win->showPreview = [this](const report::PageModel& m) { previewed = m.text(); };
        win->printDirect = [this](const report::PageModel& m) {
            previewed = m.text();
            return true;
        };
        win->show();
        win->FormShow();
    }
    void TearDown() override {
        win.reset();
        WindowFixture::TearDown();
    }
    void article(const QString& cod, double price, double vat, const QString& cat = {}, const QString& des = {}) {
        Probe::exec(archives.warehouse,
                    u"INSERT INTO magazzino (COD, DES, CAT, PREZZO_VEN, IVA, QCA, QSC) VALUES ('%1', '%2', '%3', %4, %5, 10, 0)"_s
                        .arg(cod, des.isEmpty() ? u"Articolo "_s + cod : des, cat)
                        .arg(price)
                        .arg(vat));
    }
    template <class T>
    T* w(const QString& name) {
        T* x = win->findChild<T*>(name);
        EXPECT_NE(x, nullptr) << qPrintable(name);
        return x;
    }
    void type(const QString& name, const QString& text) {
        QLineEdit* e = w<QLineEdit>(name);
        e->clear();
        QTest::keyClicks(e, text);
    }
    void click(const QString& name) { QTest::mouseClick(w<QPushButton>(name), Qt::LeftButton); }
    // Types a code and Enter, as a barcode scanner does.
    void sell(const QString& code, const QString& quantity = u"1"_s, const QString& discount = {}) {
        type(u"edt_quantita"_s, quantity);
        type(u"edt_sconto"_s, discount);
        type(u"edt_codice"_s, code);
        QTest::keyClick(w<QLineEdit>(u"edt_codice"_s), Qt::Key_Return);
    }
    double qsc(const QString& cod) {
        return Probe::rows(archives.warehouse, u"SELECT QSC FROM magazzino WHERE COD = '%1'"_s.arg(cod)).value(0).value(0).toDouble();
    }
    QList<QVariantList> receiptRows() {
        return Probe::rows(receipts, u"SELECT NUMERO, ID, IMPORTO, IMPONIBILE, IVA1, COD_IVA1, DES, DATA, ORA, ANNO, "
                                     "QUANT, NOTE FROM %1 ORDER BY ID"_s.arg(fileStem(receipts)));
    }
    QString snapshot() {
        return Probe::dump(archives.warehouse) + Probe::dump(archives.movements) + Probe::dump(receipts) +
               Probe::dump(registry);
    }

    StockArchives archives;
    QString receipts;
    QString registry;
    QString previewed;
    std::unique_ptr<Tfrm_scarico_veloce> win;
};

TEST_F(CounterSaleWindow, DiscountedLineUnloadsAndClosesAsFirstReceipt) {
    article(u"A1"_s, 20, 22);
    Probe::exec(registry, u"INSERT INTO anagrafica (COD_CLI, NOME, DARE) VALUES ('FID1', 'Rossi', 5)"_s);
    type(u"edt_cliente"_s, u"fid1"_s);
    w<QLineEdit>(u"edt_cliente"_s)->editingFinished();
    EXPECT_EQ(w<QLabel>(u"lbl_cliente"_s)->text(), u"Rossi"_s);

    sell(u"A1"_s, u"2"_s, u"10"_s);
    EXPECT_EQ(w<QLabel>(u"lbl_prezzo"_s)->text(), u"18,00"_s);
    EXPECT_EQ(w<QLabel>(u"lbl_iva"_s)->text(), u"IVA 22 COMPRESA"_s);
    EXPECT_EQ(w<QLabel>(u"lbl_totale"_s)->text(), u"36,00"_s);
    EXPECT_EQ(w<QLabel>(u"lbl_giacenza"_s)->text(), u"8"_s);
    EXPECT_EQ(qsc(u"A1"_s), 2.0);
    const auto mov = Probe::rows(archives.movements,
                                 u"SELECT COD, QUANT, CAUSALE, BOLLA, PERC_IVA FROM %1"_s.arg(fileStem(archives.movements)));
    ASSERT_EQ(mov.size(), 1);
    EXPECT_EQ(mov[0][0].toString(), u"A1"_s);
    EXPECT_EQ(mov[0][1].toDouble(), 2.0);
    EXPECT_EQ(mov[0][2].toString(), u"Scarico veloce"_s);
    EXPECT_EQ(mov[0][4].toDouble(), 22.0);
    EXPECT_EQ(w<QListWidget>(u"lst_scarico"_s)->item(0)->text(),
              u"10:11.         A1.Articolo A1"_s + QString(29, u' ') + u"  "_s + u"     36,00"_s);

    click(u"btn_ricevuta"_s);
    const auto r = receiptRows();
    ASSERT_EQ(r.size(), 1);
    EXPECT_EQ(r[0][0].toLongLong(), 1);
    EXPECT_EQ(r[0][1].toLongLong(), 1);
    EXPECT_EQ(r[0][2].toDouble(), 36.00);
    EXPECT_EQ(r[0][3].toDouble(), 29.51);
    EXPECT_EQ(r[0][4].toDouble(), 6.49);
    EXPECT_EQ(r[0][5].toDouble(), 22.0);
    EXPECT_EQ(r[0][8].toString(), u"10:11:12"_s);
    EXPECT_EQ(r[0][9].toString(), u"24"_s);
    EXPECT_EQ(r[0][11].toString(), u"Ricevuta fiscale"_s);
    EXPECT_EQ(Probe::rows(registry, u"SELECT DARE FROM anagrafica WHERE COD_CLI = 'FID1'"_s)[0][0].toDouble(), 41.0);
    EXPECT_TRUE(previewed.contains(u"N. 1/24"_s)) << qPrintable(previewed);
    ASSERT_FALSE(TrayNotice::instance().shown().isEmpty());
    EXPECT_EQ(TrayNotice::instance().shown().last().text, u"Stampa Ricevuta fiscale terminata! "_s);
}

TEST_F(CounterSaleWindow, StornoGivesBackAndLowersTotal) {
    article(u"A1"_s, 20, 22);
    sell(u"A1"_s, u"3"_s);
    sell(u"A1"_s, u"-1"_s);
    EXPECT_EQ(qsc(u"A1"_s), 2.0);
    EXPECT_EQ(w<QLabel>(u"lbl_totale"_s)->text(), u"40,00"_s);
    // An empty code repeats the last article.
    sell(QString(), u"1"_s);
    EXPECT_EQ(qsc(u"A1"_s), 3.0);
    EXPECT_EQ(Probe::count(archives.movements), 3);
}

TEST_F(CounterSaleWindow, ManualAmountSplitsAtDefaultRate) {
    type(u"edt_importo"_s, u"12,20"_s);
    sell(u"."_s);
    EXPECT_EQ(Probe::count(archives.movements), 0);
    click(u"btn_ricevuta"_s);
    const auto r = receiptRows();
    ASSERT_EQ(r.size(), 1);
    EXPECT_EQ(r[0][2].toDouble(), 12.20);
    EXPECT_EQ(r[0][3].toDouble(), 10.00);
    EXPECT_EQ(r[0][4].toDouble(), 2.20);
    EXPECT_EQ(r[0][5].toDouble(), 22.0);
}

TEST_F(CounterSaleWindow, LookUpTakesExactCodeThenFirstPrefixThenOtherColumns) {
    article(u"10"_s, 1, 22);
    article(u"1"_s, 1, 22);
    article(u"12"_s, 1, 22);
    article(u"Z9"_s, 1, 22, u"VITI"_s);
    settings->setValue(u"Shop", u"Abilita ricerca ciclica", true);
    const struct {
        QString typed;
        QString sold;
    } cases[] = {{u"1"_s, u"1"_s}, {u"10"_s, u"10"_s}, {u"z"_s, u"Z9"_s}, {u"vit"_s, u"Z9"_s}};
    for (const auto& c : cases) {
        const double before = qsc(c.sold);
        sell(c.typed);
        EXPECT_EQ(qsc(c.sold), before + 1) << qPrintable(c.typed);
    }
    settings->setValue(u"Shop", u"Abilita ricerca ciclica", false);
    const QString all = Probe::dump(archives.warehouse);
    sell(u"vit"_s);
    EXPECT_EQ(Probe::dump(archives.warehouse), all);
    EXPECT_EQ(w<QLineEdit>(u"edt_codice"_s)->text(), u"vit"_s);
    w<QComboBox>(u"cmb_campo"_s)->setCurrentIndex(1);
    sell(u"vit"_s);
    EXPECT_EQ(qsc(u"Z9"_s), 3.0);
}

TEST_F(CounterSaleWindow, LongDescriptionIsCutOnTheReceipt) {
    article(u"L"_s, 1, 22, {}, QString(60, u'x'));
    sell(u"L"_s);
    click(u"btn_ricevuta"_s);
    EXPECT_EQ(receiptRows().value(0).value(6).toString(), QString(40, u'x'));
}

TEST_F(CounterSaleWindow, FailedLastReceiptRowWritesNothingAndKeepsSale) {
    article(u"A1"_s, 20, 22);
    article(u"B2"_s, 5, 4);
    Probe::exec(registry, u"INSERT INTO anagrafica (COD_CLI, NOME, DARE) VALUES ('FID1', 'Rossi', 5)"_s);
    sell(u"A1"_s);
    sell(u"B2"_s);
    type(u"edt_cliente"_s, u"FID1"_s);
    Probe::exec(receipts, u"CREATE TRIGGER fail AFTER INSERT ON %1 WHEN NEW.ID = 2 BEGIN SELECT RAISE(ABORT, 'disco pieno'); END"_s
                              .arg(fileStem(receipts)));
    const QString before = snapshot();
    click(u"btn_ricevuta"_s);
    EXPECT_EQ(snapshot(), before);
    ASSERT_FALSE(Dialogs::instance().shown().isEmpty());
    EXPECT_TRUE(Dialogs::instance().shown().last().text.startsWith(u"Ricevuta fiscale non registrata"_s));
    EXPECT_EQ(w<QListWidget>(u"lst_scarico"_s)->count(), 2);
    EXPECT_EQ(w<QLabel>(u"lbl_totale"_s)->text(), u"25,00"_s);
    for (const auto& n : TrayNotice::instance().shown()) EXPECT_NE(n.text, u"Stampa Ricevuta fiscale terminata! "_s);
}

TEST_F(CounterSaleWindow, FailedMovementLeavesStockAsItWas) {
    article(u"A1"_s, 20, 22);
    Probe::exec(archives.movements, u"CREATE TRIGGER fail BEFORE INSERT ON %1 BEGIN SELECT RAISE(ABORT, 'disco pieno'); END"_s
                                        .arg(fileStem(archives.movements)));
    const QString before = snapshot();
    sell(u"A1"_s);
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(w<QListWidget>(u"lst_scarico"_s)->count(), 0);
    ASSERT_FALSE(Dialogs::instance().shown().isEmpty());
    EXPECT_TRUE(Dialogs::instance().shown().last().text.startsWith(u"Vendita non registrata"_s));
}

TEST_F(CounterSaleWindow, ClearingUnloadedLinesAsksFirst) {
    article(u"A1"_s, 20, 22);
    sell(u"A1"_s);
    Dialogs::instance().queueAnswer(DlgButton::No);
    click(u"btn_azzera"_s);
    EXPECT_EQ(w<QListWidget>(u"lst_scarico"_s)->count(), 1);
    EXPECT_EQ(w<QLabel>(u"lbl_totale"_s)->text(), u"20,00"_s);
    Dialogs::instance().queueAnswer(DlgButton::Yes);
    click(u"btn_azzera"_s);
    EXPECT_EQ(w<QListWidget>(u"lst_scarico"_s)->count(), 0);
    EXPECT_EQ(w<QLabel>(u"lbl_totale"_s)->text(), u"0,00"_s);
}

TEST_F(CounterSaleWindow, CashShowsChange) {
    article(u"A1"_s, 20, 22);
    sell(u"A1"_s);
    type(u"edt_contante"_s, u"50"_s);
    click(u"btn_contante"_s);
    EXPECT_EQ(w<QLabel>(u"lbl_resto"_s)->text(), u"30,00"_s);
}

}  // namespace

namespace {

TEST_F(CounterSaleWindow, IssuedReceiptsButtonOpensTheBrowserWhenOffered) {
    auto* b = w<QPushButton>(u"btn_ricevute_emesse"_s);
    EXPECT_FALSE(b->isVisible());
    int opened = 0;
    win->openReceipts = [&opened] { ++opened; };
    win->FormShow();
    ASSERT_TRUE(b->isVisible());
    QTest::mouseClick(b, Qt::LeftButton);
    EXPECT_EQ(opened, 1);
}

}  // namespace

namespace {

TEST_F(CounterSaleWindow, DoubleClickSearchesArticleByCodeAndCustomerPages) {
    article(u"A1"_s, 20, 22);
    QList<int> pages;
    win->runSearch = [&pages](Tfrm_cerca& dialog) { pages.append(dialog.currentPage()); };
    const QString before = Probe::dump(archives.warehouse);
    QTest::mouseDClick(w<QLineEdit>(u"edt_codice"_s), Qt::LeftButton);
    QTest::mouseDClick(w<QLineEdit>(u"edt_cliente"_s), Qt::LeftButton);
    EXPECT_EQ(pages, (QList<int>{int(Tfrm_cerca::Page::ArticleByCode), int(Tfrm_cerca::Page::CustomerByName)}));
    // Left without a choice: nothing sold.
    EXPECT_EQ(Probe::dump(archives.warehouse), before);
}

TEST_F(CounterSaleWindow, StockMarkerTurnsRedBelowOne) {
    article(u"A1"_s, 20, 22);
    sell(u"A1"_s, u"9"_s);
    EXPECT_TRUE(w<QLabel>(u"lbl_giacenza"_s)->styleSheet().contains(u"white"_s));
    sell(u"A1"_s, u"1"_s);
    EXPECT_EQ(w<QLabel>(u"lbl_giacenza"_s)->text(), u"0"_s);
    EXPECT_TRUE(w<QLabel>(u"lbl_giacenza"_s)->styleSheet().contains(u"red"_s));
}

}  // namespace

namespace {

TEST_F(CounterSaleWindow, CardReceiptSecondCurrencyAndListClearing) {
    article(u"A1"_s, 20, 22);
    sell(u"A1"_s);
    EXPECT_EQ(w<QLabel>(u"lbl_totale2"_s)->text(), u"38.725,40"_s);
    click(u"btn_carta"_s);
    click(u"btn_ricevuta"_s);
    EXPECT_TRUE(previewed.contains(u"Pagamento con Carta di credito"_s)) << qPrintable(previewed);
    // After a closed sale the list clears without asking.
    click(u"btn_cancella"_s);
    EXPECT_EQ(w<QListWidget>(u"lst_scarico"_s)->count(), 0);
    EXPECT_TRUE(Dialogs::instance().shown().isEmpty());
    // The next article starts a new sale.
    sell(u"A1"_s);
    EXPECT_EQ(w<QLabel>(u"lbl_totale"_s)->text(), u"20,00"_s);
    click(u"btn_stampa"_s);
    EXPECT_TRUE(previewed.contains(u"Zelvarin - Lista movimenti di scarico veloce"_s));
    EXPECT_TRUE(previewed.contains(u"Totale 20,00"_s)) << qPrintable(previewed);
}

}  // namespace
