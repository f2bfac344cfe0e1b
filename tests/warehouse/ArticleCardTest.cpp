#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include "registry/Tfrm_cerca.h"
#include "report/Output.h"
#include "report/PageModel.h"
#include "settings/Settings.h"
#include "store/Store.h"
#include "tests/WindowFixture.h"
#include "ui/Dialogs.h"
#include "ui/FileDialogs.h"
#include "ui/TrayNotice.h"
#include "ui/UsageCounters.h"
#include "warehouse/ArticleListModel.h"
#include "warehouse/ArticleReports.h"
#include "warehouse/ArticleRules.h"
#include "warehouse/Tfrm_articoli.h"

using namespace zel;
using namespace zel::test;
using namespace Qt::Literals::StringLiterals;

namespace {

class ArticleCard : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        TrayNotice::instance().reset();
        warehouse = settings->text(u"Path", u"Archivio Magazzino");
        movementsFile = settings->text(u"Path", u"Archivio DDT Detail");
    }
    void TearDown() override {
        card.reset();
        FileDialogs::instance().setScripted(false);
        FileDialogs::instance().reset();
        WindowFixture::TearDown();
    }
    void open() {
        card = std::make_unique<Tfrm_articoli>(ctx);
        card->showPreview = [this](const report::PageModel& m) { previewed = m.text(); };
        card->FormShow();
    }
    // An article with its stock figures; the id follows the rows already there.
    void seed(const QString& code, const QString& des, double qca = 0, double qsc = 0,
              double fm = 1, double minimum = 0, double tolerance = 0, double sale = 0) {
        Probe::exec(
            warehouse,
            u"INSERT INTO magazzino (ID, COD, DES, QCA, QSC, FM, SCORTAMIN, TOLLERANZA, "
            u"PREZZO_VEN, PREZZO_ACQ, "
            "IVA, QORD, QCONS, PCA, PSC, CCA, CSC, COSTO_MED, DIP) VALUES ((SELECT COUNT(*) + 1 "
            "FROM magazzino), "
            "'%1', '%2', %3, %4, %5, %6, %7, %8, 0, 22, 0, 0, 0, 0, 0, 0, 0, '2026-12-01')"_s
                .arg(code)
                .arg(QString(des).replace(u"'"_s, u"''"_s))
                .arg(qca)
                .arg(qsc)
                .arg(fm)
                .arg(minimum)
                .arg(tolerance)
                .arg(sale));
    }
    template <class T>
    T* w(const QString& name) {
        T* x = card->findChild<T*>(name);
        EXPECT_NE(x, nullptr) << qPrintable(name);
        return x;
    }
    void click(const QString& name) { QTest::mouseClick(w<QPushButton>(name), Qt::LeftButton); }
    void type(const QString& name, const QString& text) {
        QLineEdit* e = w<QLineEdit>(name);
        e->clear();
        QTest::keyClicks(e, text);
    }
    QString text(const QString& name) {
        if (auto* l = card->findChild<QLabel*>(name)) return l->text();
        return w<QLineEdit>(name)->text();
    }
    QList<QVariantList> articles(const QString& columns = u"ID, COD, DES, QCA, QSC, FM"_s) {
        return Probe::rows(warehouse, u"SELECT %1 FROM magazzino ORDER BY rowid"_s.arg(columns));
    }
    QList<QVariantList> movements() {
        return Probe::rows(
            movementsFile,
            u"SELECT ID, BOLLA, COD, DES, QUANT, PREZZO, CAUSALE, FATTURA, FLAG, PERC_IVA, DATA "
            "FROM dett_ddt26 ORDER BY rowid"_s);
    }
    void search(int filter, const QString& what) {
        w<QComboBox>(u"cmb_filtro"_s)->setCurrentIndex(filter);
        type(u"edt_cerca"_s, what);
        card->settleSearch();
    }
    QStringList listedCodes() {
        QStringList out;
        auto* grid = w<QTableView>(u"grid_articoli"_s);
        for (int r = 0; r < grid->model()->rowCount(); ++r)
            out << grid->model()->index(r, 0).data().toString();
        return out;
    }
    QStringList shown() const { return Dialogs::instance().shownTexts(); }

    QString warehouse;
    QString movementsFile;
    std::unique_ptr<Tfrm_articoli> card;
    QString previewed;
};

}  // namespace

TEST_F(ArticleCard, FirstArticleOfAnEmptyArchiveGetsIdOneAndCodeOneWithItsLeadingZeros) {
    for (const bool zeros : {false, true}) {
        settings->setValue(u"Magazzino", u"Inserisce zeri intesta codice articolo", zeros);
        open();
        click(u"btn_nuovo"_s);
        const QString expected = zeros ? u"01"_s : u"1"_s;
        EXPECT_EQ(text(u"edt_cod"_s), expected);
        EXPECT_EQ(text(u"lbl_id"_s), u"1"_s);
        EXPECT_EQ(text(u"edt_fm"_s), u"1"_s);
        for (const char* disabled :
             {"btn_nuovo", "btn_cancella", "btn_avanti", "btn_carico_scarico", "btn_stampa_scheda"})
            EXPECT_FALSE(w<QPushButton>(QString::fromLatin1(disabled))->isEnabled()) << disabled;
        type(u"edt_des"_s, u"Bullone M8"_s);
        Dialogs::instance().queueAnswer(DlgButton::No);  // no initial-load movement
        click(u"btn_conferma"_s);
        const auto rows = articles(u"ID, COD, DES, FM, DATA, DIP, QCA"_s);
        ASSERT_EQ(rows.size(), 1);
        EXPECT_EQ(rows[0][0].toLongLong(), 1);
        EXPECT_EQ(rows[0][1].toString(), expected);
        EXPECT_EQ(rows[0][2].toString(), u"Bullone M8"_s);
        EXPECT_EQ(rows[0][3].toDouble(), 1.0);
        EXPECT_EQ(rows[0][4].toString(), u"2026-12-11"_s);
        EXPECT_EQ(rows[0][5].toString(), u"2026-12-11"_s);
        EXPECT_TRUE(movements().isEmpty());
        EXPECT_TRUE(QFile::exists(warehouse + u".bak"_s));
        EXPECT_EQ(card->listCount(), 1);
        EXPECT_TRUE(w<QPushButton>(u"btn_nuovo"_s)->isEnabled());
        card.reset();
        Probe::exec(warehouse, u"DELETE FROM magazzino"_s);
        Dialogs::instance().reset();
    }
}

TEST_F(ArticleCard, NextCodeFollowsTheArticleInsertedLastAndAsksForAsciiOnLetters) {
    seed(u"50"_s, u"Alfa"_s);
    seed(u"7"_s, u"Beta"_s);
    open();
    click(u"btn_nuovo"_s);
    EXPECT_EQ(text(u"edt_cod"_s), u"8"_s) << "the last inserted, not the highest code";
    EXPECT_EQ(text(u"lbl_id"_s), u"3"_s);
    click(u"btn_annulla"_s);
    seed(u"AB9"_s, u"Gamma"_s);
    for (const auto answer : {DlgButton::Yes, DlgButton::No}) {
        Dialogs::instance().reset();
        Dialogs::instance().queueAnswer(answer);
        click(u"btn_nuovo"_s);
        EXPECT_EQ(Dialogs::instance().shown().value(0).title, u"Codice alfanumerico"_s);
        EXPECT_EQ(text(u"edt_cod"_s), answer == DlgButton::Yes ? u"AB:"_s : QString());
        click(u"btn_annulla"_s);
    }
}

TEST_F(ArticleCard, InitialLoadWritesTheMovementAndTheLoadedQuantityTogether) {
    open();
    click(u"btn_nuovo"_s);
    type(u"edt_cod"_s, u"VT1"_s);
    type(u"edt_des"_s, u"Vite"_s);
    type(u"edt_quant_iniz"_s, u"12"_s);
    type(u"edt_prezzo_acq"_s, u"2,35"_s);
    type(u"edt_cod_forn"_s, u"F01"_s);
    Dialogs::instance().queueAnswer(DlgButton::Yes);
    click(u"btn_conferma"_s);
    EXPECT_EQ(
        shown().value(0),
        u"Vuoi inserire il movimento di carico merce per la quantità iniziale di\r\n12  pezzi?"_s);
    const auto rows = articles();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0][3].toDouble(), 12.0);
    const auto m = movements();
    ASSERT_EQ(m.size(), 1);
    EXPECT_EQ(m[0][0].toLongLong(), 1);
    EXPECT_EQ(m[0][1].toLongLong(), 0);
    EXPECT_EQ(m[0][2].toString(), u"VT1"_s);
    EXPECT_EQ(m[0][4].toDouble(), 12.0);
    EXPECT_EQ(m[0][5].toDouble(), 2.35);
    EXPECT_EQ(m[0][6].toString(), u"Carico inziale"_s);
    EXPECT_EQ(m[0][7].toString(), u"X"_s);
    EXPECT_EQ(m[0][8].toString(), u"X"_s);
    EXPECT_EQ(m[0][9].toDouble(), 20.0) << "the default VAT rate";
    QStringList rates;
    auto* vat = w<QComboBox>(u"cmb_iva"_s);
    for (int i = 0; i < vat->count(); ++i) rates << vat->itemText(i);
    EXPECT_EQ(rates, (QStringList{u"0"_s, u"4"_s, u"10"_s, u"22"_s, u"20"_s}))
        << "exempt, the three rates, the default";
    EXPECT_EQ(text(u"lbl_giacenza"_s), u"12"_s);
}

TEST_F(ArticleCard, AConfirmationWhoseLastWriteFailsWritesNothingAndSaysSo) {
    seed(u"A1"_s, u"Esistente"_s, 5);
    struct Case {
        bool newCard;
        const char* trigger;
    } cases[] = {{true,
                  "CREATE TRIGGER t BEFORE UPDATE ON magazzino BEGIN SELECT RAISE(ABORT, 'disco "
                  "pieno'); END"},
                 {false,
                  "CREATE TRIGGER t BEFORE UPDATE ON magazzino BEGIN SELECT RAISE(ABORT, 'disco "
                  "pieno'); END"}};
    for (const Case& c : cases) {
        Dialogs::instance().reset();
        open();
        Probe::exec(warehouse, QString::fromLatin1(c.trigger));
        const QString before = Probe::dump(warehouse) + Probe::dump(movementsFile);
        if (c.newCard) {
            click(u"btn_nuovo"_s);
            type(u"edt_des"_s, u"Nuovo"_s);
            type(u"edt_quant_iniz"_s, u"3"_s);
            Dialogs::instance().queueAnswer(DlgButton::Yes);
        } else {
            type(u"edt_des"_s, u"Cambiato"_s);
        }
        EXPECT_FALSE(card->btn_confermaClick());
        EXPECT_EQ(Probe::dump(warehouse) + Probe::dump(movementsFile), before);
        EXPECT_TRUE(shown().last().startsWith(u"L'articolo non è stato salvato:"_s))
            << qPrintable(shown().join(u'|'));
        Probe::exec(warehouse, u"DROP TRIGGER t"_s);
        card.reset();
    }
}

TEST_F(ArticleCard, BothMarkupModes) {
    struct Case {
        int mode;
        const char* purchase;
        const char* sale;
        const char* markup;  // typed into the markup in mode 1
        const char* expectSale;
        const char* expectMarkup;
        const char* expectList1;
    } cases[] = {
        {0, "10", "15", nullptr, "15", "50,00", "15"},
        {0, "0", "15", nullptr, "15", "", "15"},
        {1, "10", "12", "30", "13", "30", "0"},
        {1, "10", "0", "30", "0", "30", "0"},  // no sale price: the markup computes nothing
    };
    for (const Case& c : cases) {
        settings->setValue(u"Magazzino", u"Calcolo ricarico articolo", c.mode);
        open();
        click(u"btn_nuovo"_s);
        type(u"edt_prezzo_acq"_s, QString::fromLatin1(c.purchase));
        w<QLineEdit>(u"edt_ricarico"_s)->clear();
        type(u"edt_prezzo_ven"_s, QString::fromLatin1(c.sale));
        if (c.markup) type(u"edt_ricarico"_s, QString::fromLatin1(c.markup));
        EXPECT_EQ(text(u"edt_prezzo_ven"_s), QString::fromLatin1(c.expectSale)) << c.mode;
        EXPECT_EQ(text(u"edt_ricarico"_s), QString::fromLatin1(c.expectMarkup)) << c.mode;
        EXPECT_EQ(text(u"edt_listino1"_s), QString::fromLatin1(c.expectList1)) << c.mode;
        card.reset();
    }
}

TEST_F(ArticleCard, MinimumStockStatesAndTheStockPanel) {
    struct Case {
        double qca, qsc, fm, minimum, tolerance;
        const char* giacenza;
        const char* state;
    } cases[] = {
        {5, 0, 1, 5, 2, "5", "Attenz."},   // equal to the minimum
        {0, 0, 1, 0, 0, "0", "Attenz."},   // minimum and tolerance 0, stock 0
        {0, 1, 1, 0, 0, "-1", "Allarme"},  // one below
        {10, 2, 4, 2, 0, "8", "Attenz."},  // 8 pieces are 2 units of 4
        {10, 2, 4, 1, 0, "8", "OK"},      {10, 2, 0, 5, 2, "8", "OK"},  // a factor 0 counts as 1
        {3, 0, 1, 5, 0, "3", "Allarme"},
    };
    int n = 0;
    for (const Case& c : cases)
        seed(u"S%1"_s.arg(n++), u"Scorta"_s, c.qca, c.qsc, c.fm, c.minimum, c.tolerance, 12.5);
    open();
    for (const Case& c : cases) {
        const int row = int(&c - cases);
        EXPECT_EQ(text(u"lbl_giacenza"_s), QString::fromLatin1(c.giacenza)) << row;
        EXPECT_EQ(text(u"lbl_stato_scorta"_s), QString::fromLatin1(c.state)) << row;
        EXPECT_EQ(w<QLabel>(u"img_scorta"_s)->toolTip(),
                  article::stockStateHint(article::stockState(
                      article::stockUnits(c.qca, c.qsc, c.fm), c.minimum, c.tolerance)));
        click(u"btn_avanti"_s);
    }
    card->btn_inizioClick();
    // 5 in stock at 12,50 and the second currency at 1936,27.
    EXPECT_EQ(text(u"lbl_valore_ven"_s), u"62,50"_s);
    EXPECT_EQ(text(u"lbl_valuta2"_s), u"24.203,38 Lire it."_s);
    EXPECT_EQ(text(u"lbl_legenda_attenzione"_s), u"da 5 a 7"_s);
}

TEST_F(ArticleCard, CodesDifferingOnlyInLetterCaseAreDuplicates) {
    seed(u"AB1"_s, u"Primo"_s);
    seed(u"X9"_s, u"Secondo"_s);
    open();
    const QString before = Probe::dump(warehouse);
    Dialogs::instance().queueAnswer(DlgButton::No);  // no code by character from "X9"
    click(u"btn_nuovo"_s);
    type(u"edt_cod"_s, u"ab1"_s);
    type(u"edt_des"_s, u"Copia"_s);
    Dialogs::instance().reset();
    click(u"btn_conferma"_s);
    EXPECT_EQ(shown().value(0), u"L'articolo con codice ab1 esiste già"_s);
    EXPECT_TRUE(card->isNewCard());
    click(u"btn_annulla"_s);
    card->btn_fineClick();
    ASSERT_EQ(text(u"edt_cod"_s), u"X9"_s);
    type(u"edt_cod"_s, u"Ab1"_s);
    click(u"btn_conferma"_s);
    EXPECT_EQ(
        shown().value(1),
        u"Il codice inserito è già presente in magazzino.\r\nModificarlo e ripetere l'operazione"_s);
    EXPECT_EQ(Probe::dump(warehouse), before);
    // The article's own code is no duplicate of itself.
    type(u"edt_cod"_s, u"x9"_s);
    EXPECT_TRUE(card->btn_confermaClick());
    EXPECT_EQ(articles().value(1).value(1).toString(), u"x9"_s);
    Dialogs::instance().reset();
    card->verificaDuplicati();
    EXPECT_EQ(shown().value(0), u"Non esistono altri articoli con questo codice\r\n"_s);
}

TEST_F(ArticleCard, ApostropheAndPercentAreStoredAndFoundLiterally) {
    seed(u"1"_s, u"Vite 100 pezzi"_s);
    open();
    click(u"btn_nuovo"_s);
    type(u"edt_cod"_s, u"2"_s);
    type(u"edt_des"_s, u"Sconto 10% sull'olio"_s);
    Dialogs::instance().queueAnswer(DlgButton::No);
    ASSERT_TRUE(card->btn_confermaClick());
    EXPECT_EQ(articles().value(1).value(2).toString(), u"Sconto 10% sull'olio"_s);
    search(1, u"10%"_s);
    EXPECT_EQ(listedCodes(), QStringList{u"2"_s});
    search(1, u"l'o"_s);
    EXPECT_EQ(listedCodes(), QStringList{u"2"_s});
    search(1, u"10"_s);
    EXPECT_EQ(listedCodes(), (QStringList{u"1"_s, u"2"_s}));
    search(1, u"_"_s);
    EXPECT_TRUE(listedCodes().isEmpty());
    Probe::exec(warehouse, u"UPDATE magazzino SET DES = 'Olio di CITTÀ' WHERE COD = '1'"_s);
    card->FormShow();
    search(1, u"SCONTO"_s);
    EXPECT_EQ(listedCodes(), QStringList{u"2"_s}) << "any letter case";
    w<QLineEdit>(u"edt_cerca"_s)->setText(u"di città"_s);
    card->settleSearch();
    EXPECT_EQ(listedCodes(), QStringList{u"1"_s}) << "accented letters too";
}

TEST_F(ArticleCard, ProgressiveSearchOverEveryFilterChoice) {
    seed(u"A10"_s, u"Martello"_s, 0, 0, 1, 0, 0, 12.5);
    seed(u"B20"_s, u"Pinza"_s, 0, 0, 1, 0, 0, 7);
    Probe::exec(warehouse,
                u"UPDATE magazzino SET PREZZO_ACQ = 4, POS = 'S1', CAT = 'Utensili', COD_FORN = "
                u"'F7', COD_CLI = 'C3', "
                "IMMAGINE2 = '/tmp/x.png', A_DES1 = 'rosso', A_DES2 = 'ferro', A_DES3 = 'grande', "
                "A_DES4 = 'nuovo' "
                "WHERE COD = 'B20'"_s);
    open();
    const struct {
        int filter;
        const char* text;
    } cases[] = {{0, "b2"},    {1, "PINZ"},  {2, "7"},    {3, "4,00"}, {4, "s1"},
                 {5, "utens"}, {6, "f7"},    {7, "c3"},   {8, ""},     {9, "ross"},
                 {10, "ferr"}, {11, "gran"}, {12, "nuov"}};
    for (const auto& c : cases) {
        search(c.filter, QString::fromLatin1(c.text));
        if (c.filter == 8) card->settleSearch();
        EXPECT_EQ(listedCodes(), QStringList{u"B20"_s}) << c.filter;
        EXPECT_EQ(text(u"edt_cod"_s), u"B20"_s) << c.filter;
    }
    search(2, u"abc"_s);
    EXPECT_TRUE(listedCodes().isEmpty());
    click(u"btn_togli_filtro"_s);
    EXPECT_EQ(listedCodes(), (QStringList{u"A10"_s, u"B20"_s}));
    EXPECT_EQ(text(u"lbl_num_articoli"_s), u"Articoli: 2"_s);
}

TEST_F(ArticleCard, WhileANewCardIsTypedListMovesAskFirst) {
    seed(u"1"_s, u"Uno"_s);
    seed(u"2"_s, u"Due"_s);
    open();
    click(u"btn_nuovo"_s);
    type(u"edt_des"_s, u"In corso"_s);
    auto* grid = w<QTableView>(u"grid_articoli"_s);
    Dialogs::instance().queueAnswer(DlgButton::No);
    grid->setCurrentIndex(grid->model()->index(1, 0));
    EXPECT_EQ(shown().value(0), u"Annullare l'inserimento della nuova scheda?"_s);
    EXPECT_TRUE(card->isNewCard());
    EXPECT_EQ(text(u"edt_des"_s), u"In corso"_s);
    Dialogs::instance().queueAnswer(DlgButton::Yes);
    grid->setCurrentIndex(grid->model()->index(1, 0));
    EXPECT_FALSE(card->isNewCard());
    EXPECT_EQ(text(u"edt_cod"_s), u"2"_s);
}

TEST_F(ArticleCard, ConfirmWithoutACardInsertsNothing) {
    open();
    EXPECT_FALSE(card->btn_confermaClick());
    type(u"edt_des"_s, u"Niente"_s);
    QTest::keyClick(w<QLineEdit>(u"edt_des"_s), Qt::Key_Return);
    EXPECT_TRUE(articles().isEmpty());
}

TEST_F(ArticleCard, ConfirmWritesStockOnlyWhenTheUserChangedIt) {
    seed(u"K1"_s, u"Chiodo"_s, 10, 2);
    open();
    // A load made through the load window is re-read when it closes.
    card->runLoadWindow = [this](const QString& code) {
        EXPECT_EQ(code, u"K1"_s);
        Probe::exec(warehouse, u"UPDATE magazzino SET QCA = QCA + 5 WHERE COD = 'K1'"_s);
    };
    click(u"btn_carico_scarico"_s);
    EXPECT_EQ(text(u"edt_qca"_s), u"15"_s);
    EXPECT_EQ(text(u"lbl_giacenza"_s), u"13"_s);
    // Another module moves stock while the card is on screen.
    Probe::exec(warehouse, u"UPDATE magazzino SET QSC = QSC + 1, QCA = QCA + 1 WHERE COD = 'K1'"_s);
    type(u"edt_des"_s, u"Chiodo zincato"_s);
    type(u"edt_fm"_s, u"0"_s);
    ASSERT_TRUE(card->btn_confermaClick());
    EXPECT_EQ(articles().value(0), (QVariantList{1, u"K1"_s, u"Chiodo zincato"_s, 16.0, 3.0, 1.0}));
    // A figure the user typed is written as typed, without a movement row.
    type(u"edt_qsc"_s, u"4"_s);
    ASSERT_TRUE(card->btn_confermaClick());
    EXPECT_EQ(articles().value(0).value(4).toDouble(), 4.0);
    EXPECT_TRUE(movements().isEmpty());
}

TEST_F(ArticleCard, NonNumericFiguresAreRefusedByName) {
    seed(u"P1"_s, u"Pialla"_s, 1);
    open();
    const QString before = Probe::dump(warehouse);
    const std::pair<const char*, const char*> cases[] = {{"edt_prezzo_ven", "Pr. vendita"},
                                                         {"edt_qca", "Tot. carico"}};
    for (const auto& [field, caption] : cases) {
        Dialogs::instance().reset();
        const QString old = text(QString::fromLatin1(field));
        type(QString::fromLatin1(field), u"12a"_s);
        EXPECT_FALSE(card->btn_confermaClick());
        EXPECT_TRUE(shown().value(0).contains(u"\"%1\""_s.arg(QString::fromUtf8(caption))))
            << qPrintable(shown().value(0));
        type(QString::fromLatin1(field), old);
    }
    EXPECT_EQ(Probe::dump(warehouse), before);
}

TEST_F(ArticleCard, CurrencyConversionAndVatRemoval) {
    Probe::exec(
        data(u"valute.db"_s),
        u"INSERT INTO valute (CODICE, NOME, TASSO) VALUES ('USD', 'Dollaro', 2), ('ZZZ', 'Zero', 0)"_s);
    seed(u"V1"_s, u"Valvola"_s, 0, 0, 1, 0, 0, 122);
    Probe::exec(warehouse, u"UPDATE magazzino SET VALUTA = 'ITL'"_s);
    open();
    auto* currency = w<QComboBox>(u"cmb_valuta"_s);
    EXPECT_EQ(currency->currentText(), u"ITL"_s) << "a currency no longer listed stays on the card";
    currency->setCurrentIndex(currency->findText(u"USD"_s));
    EXPECT_EQ(currency->toolTip(), u"Tasso di cambio per 1€: 2"_s);
    type(u"edt_prezzo_acq"_s, u"10"_s);
    QTest::keyClick(w<QLineEdit>(u"edt_prezzo_acq"_s), Qt::Key_C,
                    Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(text(u"edt_cambio"_s), u"20"_s);
    type(u"edt_cambio"_s, u"30"_s);
    QTest::keyClick(w<QLineEdit>(u"edt_cambio"_s), Qt::Key_C,
                    Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(text(u"edt_prezzo_acq"_s), u"15"_s);
    currency->setCurrentIndex(currency->findText(u"ZZZ"_s));
    QTest::keyClick(w<QLineEdit>(u"edt_cambio"_s), Qt::Key_C,
                    Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(shown().value(0), u"Valore diviso per 0 non valido!"_s);
    EXPECT_EQ(text(u"edt_prezzo_acq"_s), u"15"_s);
    w<QComboBox>(u"cmb_iva"_s)->setCurrentText(u"22"_s);
    QTest::keyClick(w<QLineEdit>(u"edt_prezzo_ven"_s), Qt::Key_I,
                    Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(text(u"edt_prezzo_ven"_s), u"100"_s);
    click(u"btn_ricalcola"_s);
    EXPECT_EQ(text(u"edt_prezzo_ivato"_s), u"122,00"_s);
}

TEST_F(ArticleCard, DeletionAsksBacksUpAndKeepsTheMovements) {
    seed(u"D1"_s, u"Da togliere"_s);
    seed(u"D2"_s, u"Resta"_s);
    Probe::exec(
        movementsFile,
        u"INSERT INTO dett_ddt26 (ID, COD, QUANT, CAUSALE, DATA) VALUES (1, 'D1', 4, 'Carico merce', '2026-12-01')"_s);
    open();
    Dialogs::instance().queueAnswer(DlgButton::No);
    click(u"btn_cancella"_s);
    EXPECT_EQ(shown().value(0), u"Sei sicuro di voler cancellare l'articolo D1 - Da togliere?"_s);
    EXPECT_EQ(articles().size(), 2);
    Dialogs::instance().queueAnswer(DlgButton::Yes);
    click(u"btn_cancella"_s);
    EXPECT_EQ(articles().size(), 1);
    EXPECT_EQ(movements().size(), 1);
    EXPECT_TRUE(QFile::exists(warehouse + u".bak"_s));
    EXPECT_EQ(TrayNotice::instance().shown().value(0).text, u"Eseguito backup degli archivi."_s);
    EXPECT_EQ(text(u"edt_cod"_s), u"D2"_s);
}

TEST_F(ArticleCard, HistoryPageShowsTheLastMovementsOfEachKind) {
    seed(u"H1"_s, u"Storico"_s);
    Probe::exec(
        movementsFile,
        u"INSERT INTO dett_ddt26 (ID, BOLLA, COD, QUANT, CAUSALE, DATA) VALUES "
        "(1, 5, 'H1', 10, 'Carico merce', '2026-11-01'), (2, 9, 'H1', 25, 'Carico merce', "
        "'2026-12-05'), "
        "(3, 12, 'H1', 3, '', '2026-12-07'), (4, 0, 'H1', 2, 'Scarico manuale', '2025-06-01'), "
        "(5, 0, 'H2', 99, 'Carico merce', '2026-12-10')"_s);
    open();
    card->showPage(Tfrm_articoli::Storico);
    EXPECT_EQ(text(u"lbl_ult_carico"_s), u"05/12/2026  sab  (6 gg)   Quantità: 25"_s);
    EXPECT_EQ(text(u"lbl_ult_scarico_ddt"_s), u"07/12/2026  lun  (4 gg)   Quantità: 3"_s);
    EXPECT_EQ(text(u"lbl_ult_scarico_veloce"_s), u"-"_s);
    EXPECT_EQ(text(u"lbl_max_scarico"_s), u"07/12/2026  lun  (4 gg)   Quantità: 3"_s);
    EXPECT_EQ(text(u"lbl_mov_mese"_s), u"2 movimenti, quantità 28"_s);
    EXPECT_EQ(text(u"lbl_mov_anno"_s), u"3 movimenti, quantità 38"_s);
    settings->setValue(u"Magazzino", u"Analisi movimenti in tempo reale", false);
    open();
    EXPECT_FALSE(w<QTabWidget>(u"page_articoli"_s)->isTabVisible(Tfrm_articoli::Storico));
}

TEST_F(ArticleCard, OldArticlesAreHiddenAndShownAgain) {
    seed(u"N1"_s, u"Nuovo"_s);
    seed(u"O1"_s, u"Vecchio"_s);
    Probe::exec(warehouse, u"UPDATE magazzino SET DIP = '2025-01-01' WHERE COD = 'O1'"_s);
    settings->setValue(u"Magazzino", u"Giorni emivita articolo", 30);
    open();
    click(u"btn_vecchia_data"_s);
    EXPECT_EQ(listedCodes(), QStringList{u"N1"_s});
    EXPECT_EQ(w<QPushButton>(u"btn_vecchia_data"_s)->text(), u"Mostra art.di \nvecchia data"_s);
    click(u"btn_vecchia_data"_s);
    EXPECT_EQ(listedCodes(), (QStringList{u"N1"_s, u"O1"_s}));
}

TEST_F(ArticleCard, PrintsAndUsageCounter) {
    seed(u"L2"_s, u"Lima"_s, 4, 1, 1, 0, 0, 9.9);
    seed(u"L1"_s, u"Livella"_s, 0, 0, 1, 0, 0, 25);
    open();
    click(u"btn_stampa_listino"_s);
    EXPECT_TRUE(previewed.contains(u"L1 | Livella | 25,00 | 22"_s)) << qPrintable(previewed);
    EXPECT_LT(previewed.indexOf(u"L1 |"_s), previewed.indexOf(u"L2 |"_s));
    click(u"btn_avanti"_s);  // L2
    click(u"btn_stampa_scheda"_s);
    EXPECT_TRUE(previewed.contains(u"L2 - Lima"_s)) << qPrintable(previewed);
    EXPECT_TRUE(previewed.contains(u"Giacenza | 3"_s)) << qPrintable(previewed);
    EXPECT_TRUE(previewed.contains(u"Valore Ven. | 29,70"_s)) << qPrintable(previewed);
    card->reject();
    const UsageRecord r = UsageCounters(base.path()).read(u"Magazzino"_s);
    EXPECT_EQ(r.uses, 1);
    EXPECT_TRUE(r.stringa.endsWith(u"Articoli in archivio: 2"_s)) << qPrintable(r.stringa);
}

TEST_F(ArticleCard, SupplierCodeSideListAndKeys) {
    Probe::exec(
        data(u"anagrafica.db"_s),
        u"INSERT INTO anagrafica (COD_CLI, NOME, EXTRA_DATA) VALUES "
        "('F100', 'Ferro Srl', '01100000000000000000'), ('F101', 'Cliente', '01000000000000000000')"_s);
    seed(u"A"_s, u"Uno"_s);
    seed(u"B"_s, u"Due"_s);
    seed(u"C"_s, u"Tre"_s);
    open();
    card->show();
    type(u"edt_cod_forn"_s, u"f1"_s);
    auto* list = card->findChild<QListWidget*>(u"lst_codici"_s);
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->item(0)->text(), u"F100.Ferro Srl"_s);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(0)).center());
    EXPECT_EQ(text(u"edt_cod_forn"_s), u"F100"_s);
    EXPECT_FALSE(list->isVisible());
    type(u"edt_cod_cli"_s, u"F10"_s);
    QStringList customers;
    for (int i = 0; i < list->count(); ++i) customers << list->item(i)->text();
    EXPECT_EQ(customers, (QStringList{u"F100.Ferro Srl"_s, u"F101.Cliente"_s}))
        << "both are customers";
    QTest::keyClick(card.get(), Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(text(u"edt_cod"_s), u"C"_s);
    QTest::keyClick(card.get(), Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(text(u"edt_cod"_s), u"B"_s);
    QTest::keyClick(card.get(), Qt::Key_F6);
    EXPECT_EQ(w<QTabWidget>(u"page_articoli"_s)->currentIndex(), int(Tfrm_articoli::Legenda));
}

TEST_F(ArticleCard, PictureSlotsPickScaleRemoveAndPaste) {
    QImage img(100, 50, QImage::Format_RGB32);
    img.fill(Qt::blue);
    const QString file = base.file(u"foto.png"_s);
    ASSERT_TRUE(img.save(file));
    seed(u"F1"_s, u"Con foto"_s);
    open();
    FileDialogs::instance().setScripted(true);
    FileDialogs::instance().queueAnswer(file);
    card->showPage(Tfrm_articoli::Foto);
    auto* slot1 = w<QLabel>(u"img_foto1"_s);
    QTest::mouseDClick(slot1, Qt::LeftButton);
    EXPECT_EQ(text(u"edt_immagine1"_s), file);
    EXPECT_EQ(slot1->pixmap().size(), QSize(216, 108)) << "proportional, fitted to the slot";
    w<QComboBox>(u"cmb_modo_foto1"_s)->setCurrentText(u"Esteso"_s);
    EXPECT_EQ(slot1->pixmap().size(), QSize(216, 216));
    w<QCheckBox>(u"chk_adattato1"_s)->setChecked(false);
    EXPECT_EQ(slot1->pixmap().size(), QSize(100, 50)) << "a small picture keeps its size";
    QApplication::clipboard()->setImage(img);
    card->pasteFromClipboard(3);
    const QString first = text(u"edt_immagine3"_s);
    EXPECT_TRUE(QFile::exists(first));
    card->pasteFromClipboard(3);
    EXPECT_NE(text(u"edt_immagine3"_s), first) << "an earlier picture is not overwritten";
    EXPECT_TRUE(QFile::exists(text(u"edt_immagine3"_s)));
    EXPECT_FALSE(w<QLabel>(u"img_foto3"_s)->pixmap().isNull());
    ASSERT_TRUE(card->btn_confermaClick());
    auto row = articles(u"IMMAGINE1, IMMAGINE3"_s).value(0);
    EXPECT_EQ(row.value(0).toString(), file);
    EXPECT_EQ(row.value(1).toString(), text(u"edt_immagine3"_s));
    click(u"btn_cancella_foto1"_s);
    EXPECT_TRUE(slot1->pixmap().isNull());
    ASSERT_TRUE(card->btn_confermaClick());
    EXPECT_EQ(articles(u"IMMAGINE1"_s).value(0).value(0).toString(), QString());
    search(8, QString());
    EXPECT_EQ(listedCodes(), QStringList{u"F1"_s}) << "still has picture 3";
}

TEST_F(ArticleCard, OutsideReferencesOpenWithTheirProgram) {
    seed(u"R1"_s, u"Riferimenti"_s);
    const QString file = base.file(u"scheda.pdf"_s);
    base.write(u"scheda.pdf"_s, "%PDF-1.4");
    open();
    QStringList opened;
    card->openFile = [&opened](const QString& p) {
        opened << p;
        return true;
    };
    type(u"edt_rif_des_ext1"_s, u"Scheda tecnica"_s);
    type(u"edt_rif_ext1"_s, file);
    click(u"btn_apri1"_s);
    EXPECT_EQ(opened, QStringList{file});
    type(u"edt_rif_ext2"_s, base.file(u"manca.pdf"_s));
    click(u"btn_apri2"_s);
    EXPECT_EQ(shown().value(0), u"File non trovato: "_s + base.file(u"manca.pdf"_s));
    ASSERT_TRUE(card->btn_confermaClick());
    EXPECT_EQ(articles(u"RIF_DES_EXT1, RIF_EXT1"_s).value(0),
              (QVariantList{u"Scheda tecnica"_s, file}));
}

TEST_F(ArticleCard, OutsideWarehouseStockReplacesTheMainOne) {
    settings->setValue(u"Magazzino", u"Visualizza Panel mag esterni", true);
    seed(u"E1"_s, u"Esterno"_s, 3, 1);
    Probe::exec(data(u"mag_ext.db"_s),
                u"INSERT INTO mag_ext (COD_MAG, COD, QCA, QSC) VALUES ('M2', 'E1', 20, 5)"_s);
    open();
    EXPECT_EQ(text(u"lbl_giacenza"_s), u"2"_s);
    auto* outside = w<QComboBox>(u"cmb_mag_ext"_s);
    ASSERT_EQ(outside->count(), 2);
    outside->setCurrentIndex(1);
    EXPECT_EQ(outside->currentText(), u"M2"_s);
    EXPECT_EQ(text(u"lbl_giacenza"_s), u"15"_s);
}

TEST_F(ArticleCard, CustomerCodeDoubleClickOpensTheSearchOnCustomers) {
    seed(u"C1"_s, u"Cliente"_s);
    open();
    QString mode;
    card->runSearch = [&mode](Tfrm_cerca& d) { mode = d.mode(); };
    QTest::mouseDClick(w<QLineEdit>(u"edt_cod_cli"_s), Qt::LeftButton);
    EXPECT_EQ(mode, u"clienti"_s);
    QTest::mouseDClick(w<QLineEdit>(u"edt_cod_forn"_s), Qt::LeftButton);
    EXPECT_EQ(mode, u"fornitori"_s);
    EXPECT_EQ(text(u"edt_cod_cli"_s), QString()) << "nothing chosen, nothing written";
}

TEST_F(ArticleCard, EnterConfirmsOnlyWithoutProgressiveSearch) {
    seed(u"1"_s, u"Prima"_s);
    for (const bool progressive : {true, false}) {
        settings->setValue(u"Magazzino", u"Ricerca progressiva in digitazione", progressive);
        open();
        type(u"edt_des"_s, progressive ? u"Con ricerca"_s : u"Senza ricerca"_s);
        QTest::keyClick(w<QLineEdit>(u"edt_des"_s), Qt::Key_Return);
        EXPECT_EQ(articles().value(0).value(2).toString(),
                  progressive ? u"Prima"_s : u"Senza ricerca"_s);
        card.reset();
    }
}

TEST_F(ArticleCard, ShowingTheWindowAgainKeepsItsStateUntilItCloses) {
    seed(u"1"_s, u"Uno"_s);
    seed(u"2"_s, u"Due"_s);
    open();
    card->show();
    search(1, u"due"_s);
    card->hide();
    card->show();
    EXPECT_EQ(text(u"edt_cerca"_s), u"due"_s);
    EXPECT_EQ(card->listCount(), 1);
    card->reject();
    card->show();
    EXPECT_EQ(text(u"edt_cerca"_s), QString()) << "a new use opens afresh";
    EXPECT_EQ(card->listCount(), 2);
}

TEST_F(ArticleCard, PriceListGoesToPdf) {
    seed(u"1"_s, u"Uno"_s, 0, 0, 1, 0, 0, 3);
    report::Rows rows{{{u"COD"_s, u"1"_s},
                       {u"DES"_s, u"Uno"_s},
                       {u"UM"_s, u"Pz."_s},
                       {u"PREZZO_VEN"_s, 3.0},
                       {u"IVA"_s, 22.0}}};
    const report::PageModel m = Tqr_listino(*settings, QDate(2026, 12, 11)).render(rows);
    EXPECT_TRUE(m.text().contains(u"1 | Uno | Pz. | 3,00 | 22"_s)) << qPrintable(m.text());
    const QString pdf = base.file(u"listino.pdf"_s);
    ASSERT_TRUE(report::writePdf(m, pdf));
    EXPECT_TRUE(base.read(u"listino.pdf"_s).startsWith("%PDF"));
}

TEST_F(ArticleCard, LoadWindowOpensOnTheArticleAndItsLoadIsReadBack) {
    seed(u"M1"_s, u"Morsa"_s, 2);
    seed(u"M2"_s, u"Mola"_s, 1);
    open();
    click(u"btn_avanti"_s);
    QString article;
    QTimer::singleShot(0, [&article, this] {
        auto* load = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(load, nullptr);
        EXPECT_EQ(load->objectName(), u"Tmulti_art"_s);
        article = load->findChild<QComboBox*>(u"cmb_articolo"_s)->currentText();
        // A load made meanwhile by the window.
        Probe::exec(warehouse, u"UPDATE magazzino SET QCA = QCA + 7 WHERE COD = 'M2'"_s);
        load->done(0);
    });
    click(u"btn_carico_scarico"_s);
    EXPECT_TRUE(article.startsWith(u"M2"_s)) << qPrintable(article);
    EXPECT_EQ(text(u"edt_qca"_s), u"8"_s);
    EXPECT_EQ(text(u"edt_cod"_s), u"M2"_s);
}

TEST_F(ArticleCard, ADeletionThatFailsLeavesTheArticleAndSaysSo) {
    seed(u"Z1"_s, u"Resta"_s);
    open();
    Probe::exec(
        warehouse,
        u"CREATE TRIGGER t BEFORE DELETE ON magazzino BEGIN SELECT RAISE(ABORT, 'disco pieno'); END"_s);
    const QString before = Probe::dump(warehouse);
    Dialogs::instance().queueAnswer(DlgButton::Yes);
    click(u"btn_cancella"_s);
    EXPECT_EQ(Probe::dump(warehouse), before);
    EXPECT_TRUE(shown().last().startsWith(u"L'articolo non è stato cancellato:"_s))
        << qPrintable(shown().join(u'|'));
    EXPECT_EQ(text(u"edt_cod"_s), u"Z1"_s);
}

TEST_F(ArticleCard, TheListReadsOnlyTheRowsOnScreen) {
    Probe::exec(warehouse,
                u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000) "
                "INSERT INTO magazzino (ID, COD, DES, QCA, QSC, FM, PREZZO_VEN, IVA) "
                "SELECT i, printf('A%05d', i), 'Riga', i, 1, 2, 10, 22 FROM n"_s);
    open();
    card->show();
    QApplication::processEvents();
    EXPECT_EQ(card->listCount(), 3000);
    auto* grid = w<QTableView>(u"grid_articoli"_s);
    auto* model = qobject_cast<ArticleListModel*>(grid->model());
    ASSERT_NE(model, nullptr);
    EXPECT_LE(model->cachedBlocks(), 2);
    card->btn_fineClick();
    QApplication::processEvents();
    EXPECT_EQ(text(u"edt_cod"_s), u"A03000"_s);
    EXPECT_LE(model->cachedBlocks(), 4);
    const QModelIndex last = model->index(2999, 2);
    EXPECT_EQ(last.data().toString(), u"1.499,5"_s) << "(3000 - 1) / 2 in units of the factor";
    EXPECT_EQ(model->index(2999, 4).data().toString(), u"12,20"_s);
}

TEST_F(ArticleCard, AnArchiveWithoutTheNewerColumnsSavesTheRestAndSaysWhich) {
    const struct {
        const char* dropped;
        const char* message;
    } cases[] = {
        {"RIF_EXT1",
         "Non sono stati aggiornati i campi aggiuntivi dell'articolo.\r\nAbilitare la funzione di "
         "controllo degli archivi nel setup!"},
        {"LISTINO4",
         "Non sono stati aggiornati i campi dell'articolo.\r\nAbilitare la funzione di controllo "
         "degli archivi nel setup!"},
    };
    seed(u"U1"_s, u"Vecchio archivio"_s);
    for (const auto& c : cases) {
        Dialogs::instance().reset();
        Probe::exec(warehouse,
                    u"ALTER TABLE magazzino DROP COLUMN %1"_s.arg(QString::fromLatin1(c.dropped)));
        open();
        type(u"edt_des"_s, QString::fromLatin1(c.dropped));
        ASSERT_TRUE(card->btn_confermaClick());
        EXPECT_EQ(shown().value(0), QString::fromUtf8(c.message));
        EXPECT_EQ(articles().value(0).value(2).toString(), QString::fromLatin1(c.dropped));
        card.reset();
    }
}

TEST_F(ArticleCard, CostSheetComputesThePurchasePrice) {
    const struct {
        int mode;
        const char *price, *lot, *piece;
        const char* expected;  // purchase price, or the message
    } cases[] = {
        {0, "8", "0", "0,5", "6,60"},   // 8 x 0,5 - 0,4 + 0,1 h x 20 + 1
        {1, "30", "6", "0,5", "5,10"},  // 30 / (6 / 0,5) = 2,5
        {1, "30", "0", "0,5", "Valore diviso per 0 non valido!"},
        {0, "0", "6", "0,5", "Verificare importi inseriti, non sono accettati valori=0"},
    };
    seed(u"W1"_s, u"Lavorato"_s);
    for (const auto& c : cases) {
        Dialogs::instance().reset();
        settings->setValue(u"Magazzino", u"Calcolo costo articolo", c.mode);
        open();
        card->showPage(Tfrm_articoli::Legenda);
        type(u"edt_prezzo_acq"_s, u"1"_s);
        type(u"edt_prezzo_materiale"_s, QString::fromLatin1(c.price));
        type(u"edt_peso_materiale"_s, QString::fromLatin1(c.lot));
        type(u"edt_peso_pezzo"_s, QString::fromLatin1(c.piece));
        type(u"edt_recupero_mat"_s, u"0,4"_s);
        type(u"edt_ore"_s, u"0,1"_s);
        type(u"edt_costo_agg1"_s, u"1"_s);
        click(u"btn_calcola"_s);
        const QString expected = QString::fromUtf8(c.expected);
        if (expected.front().isDigit()) {
            EXPECT_TRUE(shown().isEmpty()) << qPrintable(shown().join(u'|'));
            EXPECT_EQ(text(u"edt_prezzo_acq"_s), expected) << c.mode;
        } else {
            EXPECT_EQ(shown().value(0), expected);
            EXPECT_EQ(text(u"edt_prezzo_acq"_s), u"1"_s) << "nothing written";
        }
        card.reset();
    }
}
