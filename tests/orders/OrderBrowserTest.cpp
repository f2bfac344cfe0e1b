#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>

#include "orders/OrderArchive.h"
#include "orders/Tfrm_scorre_ordini.h"
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

class OrderBrowserTest : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        a = StockArchives::fromSettings(*settings);
        Probe::exec(a.warehouse, u"INSERT INTO magazzino (COD, DES, QCA, QSC, QORD) VALUES ('A1', 'Uno', 0, 0, 0)"_s);
        OrderArchive archive(*store, a.orders, a.warehouse, a.movements);
        for (const auto& [n, kind, party, q] :
             {std::tuple{1, OrderKind::Supplier, u"F001"_s, 10.0}, std::tuple{2, OrderKind::Customer, u"C001"_s, 3.0}}) {
            OrderDraft d;
            d.number = n;
            d.date = QDate(2026, 12, n);
            d.kind = kind;
            d.party = party;
            OrderLine l;
            l.codArt = u"A1"_s;
            l.des = u"Uno"_s;
            l.quant = q;
            d.lines = {l, l};
            archive.save(d);
        }
        w = std::make_unique<Tfrm_scorre_ordini>(ctx);
        w->FormShow();
        w->show();
    }
    void TearDown() override {
        w.reset();
        WindowFixture::TearDown();
    }
    void click(const char* name) {
        QTest::mouseClick(w->findChild<QPushButton*>(QString::fromLatin1(name)), Qt::LeftButton);
    }
    int rows() { return w->findChild<QTableView*>(u"DBGrid1"_s)->model()->rowCount(); }
    double qord() {
        return Probe::rows(a.warehouse, u"SELECT QORD FROM magazzino"_s).first().first().toDouble();
    }

    StockArchives a;
    std::unique_ptr<Tfrm_scorre_ordini> w;
};

TEST_F(OrderBrowserTest, NavigationAndFiltersWithTheirCaption) {
    EXPECT_EQ(rows(), 4);
    click("btn_fine");
    EXPECT_EQ(w->currentOrder(), 2);
    click("btn_inizio");
    EXPECT_EQ(w->currentOrder(), 1);
    click("btn_pannello_ricerca");
    w->findChild<QRadioButton*>(u"radio_ordini_clienti"_s)->click();
    click("btn_filtra");
    EXPECT_EQ(rows(), 2);
    EXPECT_EQ(w->currentOrder(), 2);
    EXPECT_EQ(w->findChild<QPushButton*>(u"btn_filtra"_s)->text(), u"Cancella\r\nfiltro"_s);
    click("btn_filtra");
    EXPECT_EQ(rows(), 4);
    w->findChild<QRadioButton*>(u"radio_ordini_clienti"_s)->click();
    QTest::keyClicks(w->findChild<QLineEdit*>(u"edt_filtro_fornitore"_s), u"f00"_s);
    click("btn_filtra");
    EXPECT_EQ(rows(), 2);
    EXPECT_EQ(w->currentOrder(), 1);
}

TEST_F(OrderBrowserTest, DeletingOpenSupplierOrderGivesItsQuantityBack) {
    EXPECT_DOUBLE_EQ(qord(), 20.0);
    Dialogs::instance().queueAnswer(DlgButton::Yes);
    click("btn_elimina_ordine");
    EXPECT_EQ(Dialogs::instance().shownTexts().first(), u"Confermi la cancellazione dell'ordine n° 1 ?"_s);
    EXPECT_DOUBLE_EQ(qord(), 0.0);
    EXPECT_EQ(rows(), 2);
    EXPECT_EQ(Probe::count(a.orders), 2);
}

TEST_F(OrderBrowserTest, FailingDeleteChangesNothingAndSaysSo) {
    const QString before = Probe::dump(a.orders) + Probe::dump(a.warehouse);
    Probe::exec(a.orders, u"CREATE TRIGGER boom BEFORE DELETE ON ordini BEGIN SELECT RAISE(ABORT, 'guasto'); END"_s);
    Dialogs::instance().queueAnswer(DlgButton::Yes);
    click("btn_elimina_ordine");
    Probe::exec(a.orders, u"DROP TRIGGER boom"_s);
    EXPECT_EQ(Probe::dump(a.orders) + Probe::dump(a.warehouse), before);
    EXPECT_TRUE(Dialogs::instance().shownTexts().last().startsWith(u"Cancellazione non riuscita"_s));
    EXPECT_EQ(rows(), 4);
}

TEST_F(OrderBrowserTest, PrintsTheOrderAndTheListEvenWithoutThePartyCard) {
    Probe::exec(settings->text(u"Path", u"Archivio anagrafica"),
                u"INSERT INTO anagrafica (COD_CLI, NOME) VALUES ('C001', 'Cliente Uno')"_s);
    std::vector<report::PageModel> shown;
    w->showPreview = [&](report::PageModel m) { shown.push_back(std::move(m)); };
    click("btn_fine");
    click("btn_stampa_ordine");
    click("btn_stampa_elenco");
    ASSERT_EQ(shown.size(), 2u);
    const QString order = shown[0].pageText(0);
    EXPECT_TRUE(order.contains(u"N° 2 del 02/12/2026"_s)) << order.toStdString();
    EXPECT_TRUE(order.contains(u"Cliente Uno"_s));
    const QString list = shown[1].pageText(0);
    EXPECT_TRUE(list.contains(u"F001"_s)) << list.toStdString();  // its card does not exist
    EXPECT_TRUE(list.contains(u"Cliente Uno"_s));
}

TEST_F(OrderBrowserTest, SearchPanelTogglesAndDoubleClickFiltersTheOrder) {
    auto* toggle = w->findChild<QPushButton*>(u"btn_pannello_ricerca"_s);
    click("btn_pannello_ricerca");
    EXPECT_TRUE(w->findChild<QWidget*>(u"pnl_ricerca"_s)->isVisible());
    EXPECT_EQ(toggle->text(), u"Nascondi pannello di ricerca"_s);
    click("btn_pannello_ricerca");
    EXPECT_EQ(toggle->text(), u"Visualizza pannello di ricerca"_s);
    auto* view = w->findChild<QTableView*>(u"DBGrid1"_s);
    const QRect cell = view->visualRect(view->model()->index(3, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(rows(), 2);
    EXPECT_EQ(w->currentOrder(), 2);
    EXPECT_EQ(w->findChild<QPushButton*>(u"btn_filtra"_s)->text(), u"Cancella\r\nfiltro"_s);
}

}  // namespace

namespace {

class OrderLineEditTest : public OrderBrowserTest {
protected:
    QLineEdit* edit(const char* name) { return w->findChild<QLineEdit*>(QString::fromLatin1(name)); }
    void type(const char* name, const QString& text) {
        edit(name)->clear();
        QTest::keyClicks(edit(name), text);
    }
    QString ordersAndStock() { return Probe::dump(a.orders) + Probe::dump(a.warehouse); }
    QList<double> quantities() {
        QList<double> out;
        for (const auto& r : Probe::rows(a.orders, u"SELECT quant FROM ordini ORDER BY rowid"_s))
            out.append(r.first().toDouble());
        return out;
    }
};

TEST_F(OrderLineEditTest, ChangingALineWritesThatRowAndCorrectsQord) {
    // Row 0 is an open supplier line of 10, row 2 a customer line of 3.
    struct Case { int row; QString quant; double qord; QList<double> quantities; };
    for (const Case& c : {Case{0, u"4,5"_s, 14.5, {4.5, 10, 3, 3}}, Case{2, u"7"_s, 20.0, {10, 10, 7, 3}}}) {
        SCOPED_TRACE(c.row);
        Probe::exec(a.orders, u"UPDATE ordini SET agente = '', quant = CASE WHEN cod_forn <> '' THEN 10 ELSE 3 END"_s);
        Probe::exec(a.warehouse, u"UPDATE magazzino SET QORD = 20"_s);
        w->FormShow();
        auto* view = w->findChild<QTableView*>(u"DBGrid1"_s);
        view->selectRow(c.row);
        EXPECT_EQ(edit("edt_cod_art")->text(), u"A1"_s);
        type("edt_quant", c.quant);
        type("edt_agente", u"Rossi"_s);
        click("btn_conferma");
        EXPECT_DOUBLE_EQ(qord(), c.qord);
        EXPECT_EQ(quantities(), c.quantities);
        EXPECT_EQ(Probe::rows(a.orders, u"SELECT count(*) FROM ordini WHERE agente = 'Rossi'"_s).first().first().toInt(), 1);
        EXPECT_EQ(rows(), 4);
    }
}

TEST_F(OrderLineEditTest, AddingALineWarnsAndRaisesQordForASupplier) {
    click("btn_aggiungi");
    EXPECT_EQ(Dialogs::instance().shownTexts().first(),
              u"Attenzione, l'inserimento di codice cliente diverso per lo stesso ordine può comportare errori nei dati"_s);
    EXPECT_TRUE(edit("edt_cod_art")->text().isEmpty());
    type("edt_cod_art", u"A1"_s);
    type("edt_quant", u"2.5"_s);
    type("edt_data_cons1", u"20/12/2026"_s);
    click("btn_conferma");
    EXPECT_EQ(rows(), 5);
    EXPECT_DOUBLE_EQ(qord(), 22.5);
    const auto added = Probe::rows(a.orders, u"SELECT ordine, cod_forn, quant, data_cons1, chiuso FROM ordini "
                                              "ORDER BY rowid DESC LIMIT 1"_s).first();
    EXPECT_EQ(added, (QVariantList{1, u"F001"_s, 2.5, u"2026-12-20"_s, 0}));
    EXPECT_EQ(w->currentOrder(), 1);
}

TEST_F(OrderLineEditTest, CancellingAnInsertionWritesNothing) {
    const QString before = ordersAndStock();
    click("btn_aggiungi");
    type("edt_cod_art", u"A1"_s);
    click("btn_annulla");
    EXPECT_EQ(edit("edt_quant")->text(), u"10"_s);
    click("btn_conferma");  // rewrites the current line as it was
    EXPECT_EQ(ordersAndStock(), before);
}

TEST_F(OrderLineEditTest, DeletingAnOpenSupplierLineGivesItsQuantityBack) {
    Dialogs::instance().queueAnswer(DlgButton::Yes);
    click("btn_elimina_riga");
    EXPECT_EQ(rows(), 3);
    EXPECT_DOUBLE_EQ(qord(), 10.0);
    Dialogs::instance().queueAnswer(DlgButton::No);
    click("btn_elimina_riga");
    EXPECT_EQ(rows(), 3);
}

TEST_F(OrderLineEditTest, CodeTooLongIsRefusedNotCut) {
    const QString before = ordersAndStock();
    const int width = 40;  // wider than any code column
    type("edt_cod_art", QString(width, u'X'));
    click("btn_conferma");
    EXPECT_EQ(ordersAndStock(), before);
    EXPECT_TRUE(Dialogs::instance().shownTexts().last().contains(u"supera"_s));
}

TEST_F(OrderLineEditTest, FailingLastWriteChangesNothingAndSaysSo) {
    // Changing a line writes the warehouse last; deleting one writes the order line last.
    struct Case { const char* button; QString archive; QString trigger; };
    for (const Case& c :
         {Case{"btn_conferma", a.warehouse,
               u"CREATE TRIGGER boom BEFORE UPDATE ON magazzino BEGIN SELECT RAISE(ABORT, 'guasto'); END"_s},
          Case{"btn_elimina_riga", a.orders,
               u"CREATE TRIGGER boom BEFORE DELETE ON ordini BEGIN SELECT RAISE(ABORT, 'guasto'); END"_s}}) {
        SCOPED_TRACE(c.button);
        Dialogs::instance().reset();
        type("edt_quant", u"1"_s);
        const QString before = ordersAndStock();
        Probe::exec(c.archive, c.trigger);
        Dialogs::instance().queueAnswer(DlgButton::Yes);
        click(c.button);
        Probe::exec(c.archive, u"DROP TRIGGER boom"_s);
        EXPECT_EQ(ordersAndStock(), before);
        EXPECT_TRUE(Dialogs::instance().shownTexts().last().contains(u"nessun dato è stato modificato"_s));
        EXPECT_EQ(rows(), 4);
    }
}

}  // namespace
