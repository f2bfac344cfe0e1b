#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

#include "core/Paths.h"
#include "registry/Tfrm_cerca.h"
#include "report/PageModel.h"
#include "settings/Settings.h"
#include "store/Store.h"
#include "tests/WindowFixture.h"
#include "ui/Dialogs.h"
#include "warehouse/StockOps.h"
#include "warehouse/Tmulti_art.h"

using namespace zel;
using namespace zel::test;
using namespace Qt::Literals::StringLiterals;

namespace {

class LoadUnloadWindow : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        archives = StockArchives::fromSettings(*settings);
    }
    void TearDown() override {
        win.reset();
        WindowFixture::TearDown();
    }
    void article(const QString& cod, double prezzoAcq, double qord = 0, double fm = 1) {
        Probe::exec(
            archives.warehouse,
            u"INSERT INTO magazzino (ID, COD, DES, PREZZO_ACQ, PREZZO_VEN, QCA, QSC, PCA, PSC, "
            u"CCA, CSC, QCONS, "
            "QORD, COSTO_MED, VALO1, VALO2, VALO3, COD_FORN, FM, IVA) VALUES ((SELECT COUNT(*) + 1 "
            "FROM "
            "magazzino), '%1', 'Vite %1', %2, 9.5, 0, 0, 0, 0, 0, 0, 0, %3, 0, 0, 0, 0, '', %4, 22)"_s
                .arg(cod)
                .arg(prezzoAcq)
                .arg(qord)
                .arg(fm));
    }
    void open(int page, const QString& code = {}) {
        win = std::make_unique<Tmulti_art>(ctx);
        win->showPreview = [this](const report::PageModel& m) { previewed = m.text(); };
        win->prepare(page, code);
        win->show();
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
    QVariantList stock(const QString& cod) {
        const auto r = Probe::rows(
            archives.warehouse,
            u"SELECT QCA, PCA, CCA, QCONS, QORD, COSTO_MED, VALO1, VALO2, VALO3, COD_FORN, QSC, "
            "PSC, CSC FROM magazzino WHERE COD = '%1'"_s.arg(cod));
        return r.isEmpty() ? QVariantList() : r.first();
    }
    QString snapshot() {
        return Probe::dump(archives.warehouse) + Probe::dump(archives.movements) +
               Probe::dump(archives.orders) + Probe::dump(archives.outside);
    }
    void fillLoad(const QString& quantity, const QString& factor, const QString& price) {
        type(u"edt_ddt"_s, u"345"_s);
        type(u"edt_fornitore"_s, u"FORN1"_s);
        type(u"edt_quantita"_s, quantity);
        type(u"edt_colli"_s, u"2"_s);
        type(u"edt_peso"_s, u"1,5"_s);
        type(u"edt_prezzo"_s, price);
        type(u"edt_fm"_s, factor);
    }
    const Dialogs::Shown& lastShown() const { return Dialogs::instance().shown().last(); }
    QStringList shown() const { return Dialogs::instance().shownTexts(); }

    StockArchives archives;
    std::unique_ptr<Tmulti_art> win;
    QString previewed;
};

TEST_F(LoadUnloadWindow, LoadsThroughTheFactorInBothModesWithEveryStockColumn) {
    const struct {
        bool mode2;
        const char16_t* factor;
        double q;
        const char16_t* line;
    } cases[] = {{false, u"12", 120, u"Quantità 10 X 12 = 120,00 ?"},
                 {true, u"4", 2.5, u"Quantità 10 / 4 = 2,50 ?"}};
    int n = 0;
    for (const auto& c : cases) {
        const QString code = u"V%1"_s.arg(++n);
        article(code, 5.0, 100);
        open(Tmulti_art::kLoadPage, code);
        EXPECT_EQ(w<QComboBox>(u"cmb_articolo"_s)->currentText(), code + u"|Vite "_s + code);
        EXPECT_EQ(w<QLineEdit>(u"edt_prezzo"_s)->text(), u"5"_s);  // proposed: the purchase price
        fillLoad(u"10"_s, QString::fromUtf16(c.factor), u"7"_s);
        QTest::mouseClick(w<QRadioButton>(c.mode2 ? u"rb_modo2"_s : u"rb_modo1"_s), Qt::LeftButton);
        Dialogs::instance().reset();
        Dialogs::instance().queueAnswer(DlgButton::Ok);
        click(u"btn_conferma_carico"_s);
        const auto& boxes = Dialogs::instance().shown();
        ASSERT_EQ(boxes.size(), 2) << shown().join(u" / "_s).toStdString();
        EXPECT_EQ(boxes[0].title, u"Conferma Carico"_s);
        EXPECT_EQ(boxes[0].text,
                  u"Confermi il carico del materiale per l'articolo\n\r%1|Vite %1\r\n"_s.arg(code) +
                      QString::fromUtf16(c.line));
        EXPECT_EQ(boxes[1].title, u"Carico merce"_s);
        EXPECT_EQ(
            boxes[1].text,
            u"I movimenti di carico merce sono stati effettuati.\n\rLe quantità nel magazzino sono "
            "state aggiornate"_s);
        // QCA, PCA, CCA, QCONS, QORD, COSTO_MED, VALO1, VALO2, VALO3, COD_FORN
        const QVariantList s = stock(code);
        EXPECT_DOUBLE_EQ(s[0].toDouble(), c.q);
        EXPECT_DOUBLE_EQ(s[1].toDouble(), 1.5);
        EXPECT_EQ(s[2].toLongLong(), 2);
        EXPECT_DOUBLE_EQ(s[3].toDouble(), c.q);
        EXPECT_DOUBLE_EQ(s[4].toDouble(), 100 - c.q);
        EXPECT_DOUBLE_EQ(s[5].toDouble(), 6.0);
        EXPECT_DOUBLE_EQ(s[6].toDouble(), 7.0);
        EXPECT_DOUBLE_EQ(s[7].toDouble(), 7.0);
        EXPECT_DOUBLE_EQ(s[8].toDouble(), 7.0);
        EXPECT_EQ(s[9].toString(), u"FORN1"_s);
        const auto m = Probe::rows(archives.movements,
                                   u"SELECT BOLLA, QUANT, CAUSALE, COD_FORN, DES, PREZZO, PESO, "
                                   u"COLLI, DATA FROM dett_ddt26 "
                                   "WHERE COD = '%1'"_s.arg(code));
        ASSERT_EQ(m.size(), 1);
        EXPECT_EQ(m[0][0].toLongLong(), 345);
        EXPECT_DOUBLE_EQ(m[0][1].toDouble(), 10);
        EXPECT_EQ(m[0][2].toString(), u"Carico merce"_s);
        EXPECT_EQ(m[0][4].toString(), u"Vite "_s + code);
        EXPECT_EQ(m[0][8].toString(), u"2026-12-11"_s);
        QTableWidget* list = w<QTableWidget>(u"grid_carico"_s);
        ASSERT_EQ(list->rowCount(), 1);
        EXPECT_EQ(list->item(0, 1)->text(), code);
        EXPECT_EQ(list->item(0, 6)->text(), u"7,00"_s);
        // Quantity, parcels, weight and price are cleared for the next load.
        EXPECT_TRUE(w<QLineEdit>(u"edt_quantita"_s)->text().isEmpty());
        EXPECT_TRUE(w<QLineEdit>(u"edt_prezzo"_s)->text().isEmpty());
        EXPECT_EQ(w<QLabel>(u"lbl_giacenza"_s)->text(), c.mode2 ? u"3"_s : u"120"_s);
        win.reset();
    }
}

TEST_F(LoadUnloadWindow, FirstLoadAtEightWithPurchasePriceZero) {
    article(u"P0"_s, 0);
    open(Tmulti_art::kLoadPage);
    // The code alone, typed: the description comes from the archive.
    w<QComboBox>(u"cmb_articolo"_s)->setCurrentText(u"P0"_s);
    fillLoad(u"1"_s, u"1"_s, u"8"_s);
    Dialogs::instance().queueAnswer(DlgButton::Ok);
    click(u"btn_conferma_carico"_s);
    const QVariantList s = stock(u"P0"_s);
    EXPECT_DOUBLE_EQ(s[5].toDouble(), 4.0);
    EXPECT_DOUBLE_EQ(s[6].toDouble(), 8.0);
    EXPECT_DOUBLE_EQ(s[7].toDouble(), 8.0);
    EXPECT_EQ(w<QLabel>(u"lbl_prezzo_minimo"_s)->text(), u"8,00"_s);
    EXPECT_EQ(w<QLabel>(u"lbl_prezzo_massimo"_s)->text(), u"8,00"_s);
    EXPECT_EQ(w<QLabel>(u"lbl_costo_medio"_s)->text(), u"4,00"_s);
    EXPECT_EQ(Probe::rows(archives.movements, u"SELECT DES FROM dett_ddt26"_s)
                  .value(0)
                  .value(0)
                  .toString(),
              u"Vite P0"_s);
}

TEST_F(LoadUnloadWindow, RefusalsWriteNothing) {
    article(u"R1"_s, 1);
    const QString before = snapshot();
    const struct {
        const char16_t* article;
        const char16_t* ddt;
        const char16_t* supplier;
        const char16_t* quantity;
        const char16_t* expected;
    } cases[] = {
        {u"", u"1", u"F", u"1", u"Il campo articolo non può essere vuoto!"},
        {u"R1|Vite R1", u"", u"F", u"1", u"Campo DDT non può essere vuoto"},
        {u"R1|Vite R1", u"1", u"", u"1", u"Campo Fornitore non può essere vuoto"},
        {u"R1|Vite R1", u"1", u"F", u"dieci",
         u"Il campo \"Quantità\" non contiene un numero valido: dieci\r\n"
         "Correggerlo e ripetere l'operazione."},
        {u"NOPE|Boh", u"1", u"F", u"1", u"Articolo inesistente: NOPE"},
    };
    open(Tmulti_art::kLoadPage);
    for (const auto& c : cases) {
        w<QComboBox>(u"cmb_articolo"_s)->setCurrentText(QString::fromUtf16(c.article));
        type(u"edt_ddt"_s, QString::fromUtf16(c.ddt));
        type(u"edt_fornitore"_s, QString::fromUtf16(c.supplier));
        type(u"edt_quantita"_s, QString::fromUtf16(c.quantity));
        Dialogs::instance().reset();
        click(u"btn_conferma_carico"_s);
        ASSERT_EQ(Dialogs::instance().shown().size(), 1) << shown().join(u" / "_s).toStdString();
        EXPECT_EQ(lastShown().text, QString::fromUtf16(c.expected));
    }
    // A refused question writes nothing either.
    w<QComboBox>(u"cmb_articolo"_s)->setCurrentText(u"R1|Vite R1"_s);
    type(u"edt_quantita"_s, u"3"_s);
    Dialogs::instance().reset();
    Dialogs::instance().queueAnswer(DlgButton::Cancel);
    click(u"btn_conferma_carico"_s);
    EXPECT_EQ(Dialogs::instance().shown().size(), 1);
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(w<QTableWidget>(u"grid_carico"_s)->rowCount(), 0);
}

TEST_F(LoadUnloadWindow, LoadWhoseLastWriteFailsLeavesTheArchivesAndSaysSo) {
    article(u"T1"_s, 1, 10);
    Probe::exec(
        archives.orders,
        u"INSERT INTO ordini (ordine, COD_FORN, COD_ART, CONSEGNATO_quant, CONSEGNATO_colli) "
        "VALUES (8, 'FORN1', 'T1', 0, 0)"_s);
    Probe::exec(archives.movements,
                u"CREATE TRIGGER fail_last BEFORE UPDATE OF ID ON dett_ddt26 "
                "BEGIN SELECT RAISE(ABORT, 'disco pieno'); END"_s);
    const QString before = snapshot();
    open(Tmulti_art::kLoadPage, u"T1"_s);
    fillLoad(u"4"_s, u"1"_s, u"2"_s);
    type(u"edt_ordine"_s, u"8"_s);
    Dialogs::instance().reset();
    Dialogs::instance().queueAnswer(DlgButton::Ok);
    click(u"btn_conferma_carico"_s);
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(lastShown().icon, MsgIcon::Error);
    EXPECT_TRUE(lastShown().text.startsWith(
        u"Il carico non è stato registrato: magazzino, movimenti e ordini sono rimasti come prima."_s));
    EXPECT_TRUE(lastShown().text.contains(u"disco pieno"_s));
    EXPECT_EQ(w<QTableWidget>(u"grid_carico"_s)->rowCount(), 0);
    EXPECT_EQ(w<QLineEdit>(u"edt_quantita"_s)->text(), u"4"_s);  // what was typed stays
}

TEST_F(LoadUnloadWindow, OutsideModeAimsAtTheFirstOutsideWarehouse) {
    win = std::make_unique<Tmulti_art>(ctx);
    win->prepareOutside();
    EXPECT_EQ(w<QComboBox>(u"cmb_magazzino"_s)->currentIndex(), 0) << "no outside warehouse: the main one";
    Probe::exec(dataFile(base.path(), u"mag_tipo.db"_s),
                u"INSERT INTO mag_tipo (COD_MAG, DES) VALUES ('M3', 'Negozio'), ('M2', 'Deposito')"_s);
    win->prepareOutside();
    EXPECT_EQ(w<QComboBox>(u"cmb_magazzino"_s)->currentData().toString(), u"M2"_s);
    EXPECT_EQ(win->findChild<QTabWidget*>()->currentIndex(), Tmulti_art::kLoadPage);
}

TEST_F(LoadUnloadWindow, OutsideWarehouseAndOrderLine) {
    article(u"X1"_s, 1, 10);
    Probe::exec(dataFile(base.path(), u"mag_tipo.db"_s),
                u"INSERT INTO mag_tipo (COD_MAG, DES) VALUES ('M2', 'Deposito')"_s);
    Probe::exec(
        archives.orders,
        u"INSERT INTO ordini (ordine, COD_FORN, COD_ART, CONSEGNATO_quant, CONSEGNATO_colli) "
        "VALUES (8, 'FORN1', 'X1', 1, 1)"_s);
    open(Tmulti_art::kLoadPage, u"X1"_s);
    QComboBox* place = w<QComboBox>(u"cmb_magazzino"_s);
    ASSERT_EQ(place->count(), 2);
    place->setCurrentIndex(1);
    fillLoad(u"5"_s, u"1"_s, u"2"_s);
    type(u"edt_ordine"_s, u"8"_s);
    Dialogs::instance().reset();
    Dialogs::instance().queueAnswer(DlgButton::Ok);
    click(u"btn_conferma_carico"_s);
    EXPECT_EQ(lastShown().text,
              u"I movimenti di carico merce sono stati effettuati.\n\rLe quantità nel magazzino "
              "esterno sono state aggiornate"_s);
    const auto ext = Probe::rows(archives.outside, u"SELECT COD_MAG, COD, QCA, CCA FROM mag_ext"_s);
    ASSERT_EQ(ext.size(), 1);
    EXPECT_EQ(ext[0][0].toString(), u"M2"_s);
    EXPECT_DOUBLE_EQ(ext[0][2].toDouble(), 5);
    EXPECT_DOUBLE_EQ(stock(u"X1"_s)[0].toDouble(), 0);
    const auto order =
        Probe::rows(archives.orders, u"SELECT CONSEGNATO_quant, CONSEGNATO_colli FROM ordini"_s);
    EXPECT_DOUBLE_EQ(order[0][0].toDouble(), 6);
    EXPECT_EQ(order[0][1].toLongLong(), 3);

    // An order that does not exist: the load is made, the order message comes first.
    place->setCurrentIndex(0);
    type(u"edt_quantita"_s, u"1"_s);
    type(u"edt_prezzo"_s, u"2"_s);
    type(u"edt_ordine"_s, u"99"_s);
    Dialogs::instance().reset();
    Dialogs::instance().queueAnswer(DlgButton::Ok);
    click(u"btn_conferma_carico"_s);
    const auto& boxes = Dialogs::instance().shown();
    ASSERT_EQ(boxes.size(), 3);
    EXPECT_EQ(boxes[1].title, u"Aggiornamento ordini"_s);
    EXPECT_EQ(boxes[1].text,
              u"Non è stato trovato un ordine che soddisfi i parametri di ricerca per Fornitore, "
              "Articolo e N° Ordine"_s);
    EXPECT_DOUBLE_EQ(stock(u"X1"_s)[0].toDouble(), 1);
}

TEST_F(LoadUnloadWindow, ManualUnloadWithItsBillRowAndOptionalMovement) {
    article(u"S1"_s, 1);
    // Rows left from an earlier opening are gone.
    Probe::exec(dataFile(base.path(), u"mov_tmp.db"_s),
                u"INSERT INTO mov_tmp (COD) VALUES ('VECCHIO')"_s);
    open(Tmulti_art::kUnloadPage, u"S1"_s);
    EXPECT_EQ(Probe::count(dataFile(base.path(), u"mov_tmp.db"_s)), 0);
    EXPECT_EQ(w<QLineEdit>(u"edt_prezzo_scarico"_s)->text(), u"9,5"_s);
    type(u"edt_quantita_scarico"_s, u"3"_s);
    type(u"edt_fm_scarico"_s, u"2"_s);
    type(u"edt_peso_scarico"_s, u"0,5"_s);
    type(u"edt_colli_scarico"_s, u"1"_s);
    type(u"edt_destinatario"_s, u"CLI9"_s);
    type(u"edt_operatore"_s, u"Mario"_s);
    Dialogs::instance().reset();
    Dialogs::instance().queueAnswer(DlgButton::Ok);
    click(u"btn_conferma_scarico"_s);
    const auto& boxes = Dialogs::instance().shown();
    ASSERT_EQ(boxes.size(), 2);
    EXPECT_EQ(boxes[0].title, u"Conferma Scarico manuale"_s);
    EXPECT_EQ(
        boxes[0].text,
        u"Confermi lo scarico del materiale per l'articolo\n\rS1|Vite S1\r\nQuantità 3 X 2 = 6,00 ?"_s);
    EXPECT_EQ(
        boxes[1].text,
        u"Scarico merce effettuato!\n\rArticolo: S1|Vite S1\r\nSono stati aggiornati i movimenti"_s);
    const QVariantList s = stock(u"S1"_s);
    EXPECT_DOUBLE_EQ(s[10].toDouble(), 6);
    EXPECT_DOUBLE_EQ(s[11].toDouble(), 0.5);
    EXPECT_EQ(s[12].toLongLong(), 1);
    const auto m = Probe::rows(archives.movements,
                               u"SELECT BOLLA, CAUSALE, COD_FORN, QUANT, PREZZO FROM dett_ddt26"_s);
    ASSERT_EQ(m.size(), 1);
    EXPECT_EQ(m[0][1].toString(), u"Scarico manuale"_s);
    EXPECT_EQ(m[0][2].toString(), u"CLI9"_s);
    EXPECT_DOUBLE_EQ(m[0][3].toDouble(), 3);
    const auto bill =
        Probe::rows(dataFile(base.path(), u"mov_tmp.db"_s),
                    u"SELECT COD, CAUSALE, COD_FORN, QUANT, PREZZO, DATA FROM mov_tmp"_s);
    ASSERT_EQ(bill.size(), 1);
    EXPECT_EQ(bill[0][1].toString(), u"Mario"_s);
    EXPECT_DOUBLE_EQ(bill[0][4].toDouble(), 9.5);
    EXPECT_EQ(bill[0][5].toString(), u"2026-12-11"_s);
    QTableWidget* list = w<QTableWidget>(u"grid_scarico"_s);
    ASSERT_EQ(list->rowCount(), 1);
    EXPECT_EQ(list->item(0, 0)->text(), u"CLI9"_s);

    // Without the movement tick only the stock and the bill move.
    {
        QCheckBox* box = w<QCheckBox>(u"chk_aggiorna_movimenti"_s);
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
    }
    ASSERT_FALSE(w<QCheckBox>(u"chk_aggiorna_movimenti"_s)->isChecked());
    type(u"edt_quantita_scarico"_s, u"1"_s);
    Dialogs::instance().reset();
    Dialogs::instance().queueAnswer(DlgButton::Ok);
    click(u"btn_conferma_scarico"_s);
    EXPECT_EQ(lastShown().text, u"Scarico merce effettuato!\n\rArticolo: S1|Vite S1"_s);
    EXPECT_EQ(Probe::count(archives.movements), 1);
    EXPECT_EQ(Probe::count(dataFile(base.path(), u"mov_tmp.db"_s)), 2);
    EXPECT_DOUBLE_EQ(stock(u"S1"_s)[10].toDouble(), 8);

    click(u"btn_stampa_bolletta"_s);
    EXPECT_TRUE(previewed.contains(u"Bolletta di Scarico"_s));
    EXPECT_TRUE(previewed.contains(u"Mario"_s));
    EXPECT_TRUE(previewed.contains(u"Vite S1"_s));
}

TEST_F(LoadUnloadWindow, UnloadWhoseLastWriteFailsLeavesTheArchivesAndSaysSo) {
    article(u"F1"_s, 1);
    open(Tmulti_art::kUnloadPage, u"F1"_s);
    // The bill row is the last write of an unload.
    const QString bill = dataFile(base.path(), u"mov_tmp.db"_s);
    store->releaseAll();
    Probe::exec(
        bill,
        u"CREATE TRIGGER fail_last BEFORE INSERT ON mov_tmp BEGIN SELECT RAISE(ABORT, 'disco pieno'); END"_s);
    const QString before = snapshot() + Probe::dump(bill);
    type(u"edt_quantita_scarico"_s, u"2"_s);
    Dialogs::instance().reset();
    Dialogs::instance().queueAnswer(DlgButton::Ok);
    click(u"btn_conferma_scarico"_s);
    EXPECT_EQ(snapshot() + Probe::dump(bill), before);
    EXPECT_EQ(lastShown().icon, MsgIcon::Error);
    EXPECT_TRUE(lastShown().text.startsWith(
        u"Lo scarico non è stato registrato: magazzino, movimenti e bolletta sono rimasti come prima."_s));
    EXPECT_EQ(w<QTableWidget>(u"grid_scarico"_s)->rowCount(), 0);
}

TEST_F(LoadUnloadWindow, DoubleClickOnThePartnerFieldsOpensTheSupplierSearch) {
    open(Tmulti_art::kLoadPage);
    int searches = 0;
    int page = -1;
    win->runSearch = [&](Tfrm_cerca& dialog) {
        ++searches;
        page = dialog.currentPage();
    };
    for (const QString& field : {u"edt_fornitore"_s, u"edt_destinatario"_s}) {
        if (field == u"edt_destinatario"_s)
            w<QTabWidget>(u"PageControl1"_s)->setCurrentIndex(Tmulti_art::kUnloadPage);
        QLineEdit* e = w<QLineEdit>(field);
        e->setText(u"ROSSI"_s);
        QTest::mouseDClick(e, Qt::LeftButton);
        EXPECT_EQ(page, static_cast<int>(Tfrm_cerca::Page::SupplierByName)) << field.toStdString();
        EXPECT_EQ(e->text(), u"ROSSI"_s);  // nothing chosen, the field keeps its text
    }
    EXPECT_EQ(searches, 2);
}

TEST_F(LoadUnloadWindow, ExitAsksBeforeClearingTheLists) {
    article(u"E1"_s, 1);
    open(Tmulti_art::kUnloadPage, u"E1"_s);
    type(u"edt_quantita_scarico"_s, u"1"_s);
    Dialogs::instance().queueAnswer(DlgButton::Ok);
    click(u"btn_conferma_scarico"_s);
    Dialogs::instance().reset();
    Dialogs::instance().queueAnswer(DlgButton::No);
    click(u"btn_uscita"_s);
    EXPECT_EQ(lastShown().text, u"Confermi l'uscita e l'azzeramento dell'elenco articoli?"_s);
    EXPECT_TRUE(win->isVisible());
    EXPECT_EQ(w<QTableWidget>(u"grid_scarico"_s)->rowCount(), 1);
    Dialogs::instance().queueAnswer(DlgButton::Yes);
    QTest::keyClick(win.get(), Qt::Key_Escape);
    EXPECT_FALSE(win->isVisible());
    EXPECT_EQ(w<QTableWidget>(u"grid_scarico"_s)->rowCount(), 0);
}

}  // namespace
