#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QLabel>
#include <QTableWidget>
#include <QTest>

#include "core/Clock.h"
#include "documents/NextNumber.h"
#include "orders/Tfrm_ordini.h"
#include "settings/Settings.h"
#include "store/Store.h"
#include "tests/WindowFixture.h"
#include "tests/store/SqliteProbe.h"
#include "ui/Dialogs.h"

using namespace zel;
using namespace zel::test;
using namespace Qt::Literals::StringLiterals;

namespace {

class NewOrderTest : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        ordersPath = settings->text(u"Path", u"Archivio Ordini");
        warehouse = settings->text(u"Path", u"Archivio Magazzino");
        Probe::exec(settings->text(u"Path", u"Archivio anagrafica"),
                    u"INSERT INTO anagrafica (COD_CLI, NOME) VALUES ('F001', 'Fornitore Uno')"_s);
        for (const auto& [cod, acq] : {std::pair{u"A1"_s, 5.0}, std::pair{u"B2"_s, 8.0}})
            Probe::exec(warehouse, u"INSERT INTO magazzino (COD, DES, PREZZO_ACQ, PREZZO_VEN, SCONTO, IVA, "
                                   "QCA, QSC, QORD) VALUES ('%1', 'Articolo %1', %2, 99, 10, 22, 0, 0, 0)"_s
                                       .arg(cod)
                                       .arg(acq));
        w = std::make_unique<Tfrm_ordini>(ctx);
        w->prepare();
        w->show();
    }
    void TearDown() override {
        w.reset();
        WindowFixture::TearDown();
    }
    template <class T>
    T* get(const char* name) {
        T* c = w->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    void click(const char* name) { QTest::mouseClick(get<QPushButton>(name), Qt::LeftButton); }
    void type(const char* name, const QString& text) {
        QLineEdit* e = get<QLineEdit>(name);
        e->selectAll();
        QTest::keyClicks(e, text);
    }
    void chooseArticle(const QString& code) {
        auto* c = get<QComboBox>("cmb_articolo");
        c->lineEdit()->clear();
        QTest::keyClicks(c->lineEdit(), code);
        QTest::keyClick(c->lineEdit(), Qt::Key_Return);
    }
    void enterSupplierOrder() {
        auto* party = get<QComboBox>("cmb_cod_cli");
        party->setCurrentIndex(party->findText(u"F001"_s, Qt::MatchStartsWith));
        get<QRadioButton>("radio_fornitore")->click();
        click("btn_avanti");
        chooseArticle(u"A1"_s);
        type("edt_quant", u"10"_s);
        click("Btn_conferma");
        chooseArticle(u"B2"_s);
        type("edt_sconto", u"0"_s);
        type("edt_quant", u"2.5"_s);
        click("Btn_conferma");
    }
    double qord(const QString& cod) {
        return Probe::rows(warehouse, u"SELECT QORD FROM magazzino WHERE COD = '%1'"_s.arg(cod))
            .first()
            .first()
            .toDouble();
    }

    QString ordersPath;
    QString warehouse;
    std::unique_ptr<Tfrm_ordini> w;
};

TEST_F(NewOrderTest, EmptyArchiveProposesOrderOne) {
    EXPECT_EQ(get<QLineEdit>("edt_numero")->text(), u"1"_s);
}

TEST_F(NewOrderTest, AvantiNeedsCounterpartAndKind) {
    click("btn_avanti");
    auto* party = get<QComboBox>("cmb_cod_cli");
    party->setCurrentIndex(0);
    click("btn_avanti");
    EXPECT_EQ(Dialogs::instance().shownTexts(),
              (QStringList{u"Il codice cliente non può essere vuoto"_s,
                           u"Selezionare il destinatario - cliente o fornitore"_s}));
}

TEST_F(NewOrderTest, SupplierOrderSavesOnceAndRaisesQuantityOnOrder) {
    enterSupplierOrder();
    EXPECT_EQ(get<QLabel>("lbl_totali")->text().section(u' ', 1, 1), u"65,00"_s);  // 10×4,50 + 2,5×8,00
    auto* save = get<QPushButton>("btn_registra_fattura");
    QTest::mouseClick(save, Qt::LeftButton);
    const auto rows = Probe::rows(ordersPath, u"SELECT ordine, COD_FORN, COD_CLI, QUANT, PREZZO, "
                                              "DATA_CONS1 FROM ordini ORDER BY rowid"_s);
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0], (QVariantList{1, u"F001"_s, u""_s, 10.0, 4.5, Clock::today().toString(Qt::ISODate)}));
    EXPECT_EQ(rows[1][3].toDouble(), 2.5);
    EXPECT_DOUBLE_EQ(rows[1][4].toDouble(), 8.0);
    EXPECT_DOUBLE_EQ(qord(u"A1"_s), 10.0);
    EXPECT_DOUBLE_EQ(qord(u"B2"_s), 2.5);
    EXPECT_FALSE(save->isEnabled());
    QTest::mouseClick(save, Qt::LeftButton);
    EXPECT_EQ(Probe::count(ordersPath), 2);

    // The saved order prints with the copies chosen.
    std::vector<std::pair<report::PageModel, int>> shown;
    w->showPreview = [&](report::PageModel m, int n) { shown.emplace_back(std::move(m), n); };
    click("btn_piu");
    click("btn_stampa");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].second, 2);
    const QString text = shown[0].first.pageText(0);
    EXPECT_TRUE(text.contains(u"Fornitore Uno"_s)) << text.toStdString();
    EXPECT_TRUE(text.contains(u"45,00"_s));
    EXPECT_TRUE(text.contains(u"20,00"_s));
}

TEST_F(NewOrderTest, FailingQuantityOnOrderWritesNoLineAndSaysSo) {
    enterSupplierOrder();
    const QString before = Probe::dump(ordersPath) + Probe::dump(warehouse);
    Probe::exec(warehouse, u"CREATE TRIGGER boom BEFORE UPDATE OF QORD ON magazzino WHEN NEW.COD = 'B2' "
                           "BEGIN SELECT RAISE(ABORT, 'guasto'); END"_s);
    Dialogs::instance().reset();
    click("btn_registra_fattura");
    Probe::exec(warehouse, u"DROP TRIGGER boom"_s);
    EXPECT_EQ(Probe::dump(ordersPath) + Probe::dump(warehouse), before);
    ASSERT_EQ(Dialogs::instance().shown().size(), 1);
    EXPECT_TRUE(Dialogs::instance().shownTexts().first().startsWith(
        u"Registrazione non riuscita, nessun dato è stato scritto."_s));
    EXPECT_TRUE(get<QPushButton>("btn_registra_fattura")->isEnabled());
}

TEST_F(NewOrderTest, ZeroQuantityAsksAndCancelAddsNoLine) {
    auto* party = get<QComboBox>("cmb_cod_cli");
    party->setCurrentIndex(0);
    get<QRadioButton>("radio_fornitore")->click();
    click("btn_avanti");
    chooseArticle(u"A1"_s);
    type("edt_quant", u"0"_s);
    Dialogs::instance().queueAnswer(DlgButton::Cancel);
    click("Btn_conferma");
    EXPECT_EQ(Dialogs::instance().shownTexts().last(),
              u"Attenzione, la quantità indicata è \"0\". Confermi?\n\rYes per confermare, Annulla per uscire"_s);
    EXPECT_EQ(w->findChild<QTableWidget*>(u"grid_righe"_s)->rowCount(), 0);
}

TEST_F(NewOrderTest, TypedPointBecomesDecimalComma) {
    auto* party = get<QComboBox>("cmb_cod_cli");
    party->setCurrentIndex(0);
    get<QRadioButton>("radio_fornitore")->click();
    click("btn_avanti");
    type("edt_prezzo", u"12.5"_s);
    type("edt_sconto", u"20"_s);
    EXPECT_EQ(get<QLineEdit>("edt_prezzo")->text(), u"12,5"_s);
    EXPECT_EQ(get<QLabel>("lbl_prezzo_finale")->text(), u"10,00"_s);
}

TEST_F(NewOrderTest, UnknownCounterpartAndArticleAreOfferedTheirCards) {
    QStringList opened;
    w->runCustomerCard = [&] { opened << u"cliente"_s; };
    w->runArticleCard = [&](const QString& code, const QString& des) { opened << code + u'/' + des; };
    QTest::keyClicks(get<QComboBox>("cmb_cod_cli")->lineEdit(), u"C777"_s);
    get<QRadioButton>("radio_cliente")->click();
    Dialogs::instance().queueAnswer(DlgButton::Yes);
    click("btn_avanti");
    chooseArticle(u"Z9"_s);
    type("edt_des", u"Nuovo"_s);
    type("edt_quant", u"1"_s);
    Dialogs::instance().queueAnswer(DlgButton::Yes);
    click("Btn_conferma");
    EXPECT_EQ(Dialogs::instance().shownTexts(),
              (QStringList{u"Non esiste il nome in anagrafica. Vuoi aggiungerlo?"_s,
                           u"L'articolo Z9 non è presente in magazzino, vuoi aggiungerlo?"_s}));
    EXPECT_EQ(opened, (QStringList{u"cliente"_s, u"Z9/Nuovo"_s}));
    // Refused or not, the line is written.
    EXPECT_EQ(w->findChild<QTableWidget*>(u"grid_righe"_s)->rowCount(), 1);
}

TEST_F(NewOrderTest, NumberChangedAfterTheLinesGoesToEveryLineAndATakenOneIsRefused) {
    enterSupplierOrder();
    type("edt_numero", u"40"_s);
    click("btn_registra_fattura");
    EXPECT_EQ(Probe::rows(ordersPath, u"SELECT DISTINCT ordine FROM ordini"_s),
              (QList<QVariantList>{{40}}));
    w->prepare();
    EXPECT_EQ(get<QLineEdit>("edt_numero")->text(), u"41"_s);
    type("edt_numero", u"40"_s);
    get<QComboBox>("cmb_cod_cli")->setCurrentIndex(0);
    get<QRadioButton>("radio_fornitore")->click();
    Dialogs::instance().reset();
    click("btn_avanti");
    ASSERT_EQ(Dialogs::instance().shown().size(), 1);
    EXPECT_EQ(Dialogs::instance().shownTexts().first(), NextNumber::takenMessage(40));
}

}  // namespace
