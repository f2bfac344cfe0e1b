#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include "ddt/DdtDraft.h"
#include "ddt/DdtRegistration.h"
#include "ddt/TQR1.h"
#include "ddt/Tfrm_ddtnew.h"
#include "registry/Tfrm_cerca.h"
#include "store/Store.h"
#include "tests/ddt/DdtTestData.h"
#include "ui/DateEdit.h"
#include "ui/Dialogs.h"
#include "ui/TrayNotice.h"

using namespace zel;
using namespace zel::test;
using namespace Qt::Literals::StringLiterals;

namespace {

class NewDdt : public DdtData {
protected:
    void SetUp() override {
        DdtData::SetUp();
        mainPathData();
        TrayNotice::instance().reset();
    }
    void TearDown() override {
        win.reset();
        DdtData::TearDown();
    }
    bool open(Tfrm_ddtnew::Mode mode = Tfrm_ddtnew::Mode::Warehouse) {
        win = std::make_unique<Tfrm_ddtnew>(ctx);
        win->runArticleCard = [this](const QString& c, const QString& d, double p) {
            card = {c, d, QString::number(p)};
        };
        const bool ok = win->prepare(mode);
        win->show();
        return ok;
    }
    template <class T>
    T* w(const QString& name) {
        T* x = win->findChild<T*>(name);
        EXPECT_NE(x, nullptr) << qPrintable(name);
        return x;
    }
    void type(const QString& name, const QString& text) {
        QLineEdit* e = w<QLineEdit>(name);
        e->selectAll();
        QTest::keyClicks(e, text);
    }
    void typeInCombo(const QString& name, const QString& text) {
        QComboBox* c = w<QComboBox>(name);
        c->lineEdit()->selectAll();
        QTest::keyClicks(c->lineEdit(), text);
        QTest::keyClick(c->lineEdit(), Qt::Key_Return);
    }
    void click(const QString& name) { QTest::mouseClick(w<QPushButton>(name), Qt::LeftButton); }
    QString text(const QString& name) { return w<QLabel>(name)->text(); }
    QString lastShown() {
        return Dialogs::instance().shown().isEmpty() ? QString()
                                                     : Dialogs::instance().shown().last().text;
    }

    void start(const QString& recipient = u"C1"_s) {
        click(u"BTN_NUOVO"_s);
        typeInCombo(u"cmb_cod_cli"_s, recipient);
    }
    // One line through the editor; the answer goes to "Confermi lo scarico?".
    void enterLine(const QString& code, int discount, const QString& vat, const QString& quant,
                   const QString& colli, const QString& peso, int orderRow = -1,
                   DlgButton unload = DlgButton::Yes) {
        typeInCombo(u"cmb_cod_articolo"_s, code);
        w<QSpinBox>(u"SpinSconto"_s)->setValue(discount);
        w<QComboBox>(u"iva_art"_s)->setCurrentText(vat);
        type(u"edt_quant"_s, quant);
        type(u"edt_colli"_s, colli);
        type(u"edt_peso"_s, peso);
        if (orderRow >= 0) {
            QListWidget* orders = w<QListWidget>(u"lst_ordini"_s);
            QTest::mouseClick(orders->viewport(), Qt::LeftButton, {},
                              orders->visualItemRect(orders->item(orderRow)).center());
        }
        Dialogs::instance().queueAnswer(unload);
        click(u"btn_conferma"_s);
    }
    void twoLines() {
        start();
        enterLine(u"A1"_s, 10, u"22"_s, u"5"_s, u"1"_s, u"2,5"_s, 0);
        enterLine(u"A2"_s, 0, u"10"_s, u"3"_s, u"1"_s, u"1,2"_s);
    }

    std::unique_ptr<Tfrm_ddtnew> win;
    QStringList card;
};

TEST_F(NewDdt, CreaDdtProposesTheNextNumberAndTellsTheLastOne) {
    for (const auto& [existing, expected] : {std::pair{0, 1}, std::pair{7, 8}}) {
        if (existing)
            Probe::exec(header(),
                        u"INSERT INTO ddt26 (BOLLA, COD_CLI, COD_FORN) VALUES (%1, 'C1', '')"_s.arg(
                            existing));
        open();
        Dialogs::instance().reset();
        click(u"BTN_NUOVO"_s);
        EXPECT_EQ(w<QLineEdit>(u"numDDT"_s)->text(), QString::number(expected));
        ASSERT_EQ(Dialogs::instance().shown().size(), 1);
        EXPECT_EQ(Dialogs::instance().shown()[0].title, u"Ultimo DDT"_s);
        EXPECT_EQ(lastShown(),
                  u"Il numero della ultimo DDT (bolla) registrata è %1\r\nSelezionare il "
                  u"destinatario per "
                  "proseguire"_s.arg(existing));
    }
}

TEST_F(NewDdt, TheMainPathRegistersTwoLinesWithEveryFigure) {
    open();
    twoLines();
    EXPECT_EQ(w<QLineEdit>(u"edt_nome"_s)->text(), u"Rossi Mario"_s);
    EXPECT_EQ(w<QTableWidget>(u"grid_righe"_s)->rowCount(), 2);
    // The running totals, before registering.
    EXPECT_EQ(text(u"costotot"_s), u"58,50"_s);
    EXPECT_EQ(text(u"ivatot"_s), u"11,25"_s);
    EXPECT_EQ(text(u"ncolli"_s), u"2"_s);
    EXPECT_EQ(text(u"pesotot"_s), u"3,70"_s);
    EXPECT_EQ(text(u"lbl_righe"_s), u"2"_s);
    click(u"btn_termina"_s);
    EXPECT_EQ(w<QLabel>(u"lbl_fase"_s)->text(), u"2°: chiusura e registrazione DDT"_s);
    w<QComboBox>(u"Cmb2"_s)->setCurrentText(u"Vendita"_s);
    click(u"btn_registra_ddt"_s);
    EXPECT_EQ(lastShown(), DdtRegistration::doneMessage(1));

    const auto l = Probe::rows(
        lines(),
        u"SELECT BOLLA, COD_CLI, DATA, COD, QUANT, PREZZO, SCONTO, PREZZONETT, PERC_IVA, "
        "COLLI, PESO, ORDINE FROM dett_ddt26 ORDER BY rowid"_s);
    ASSERT_EQ(l.size(), 2);
    EXPECT_EQ(l[0], (QVariantList{1, u"C1"_s, u"2026-12-11"_s, u"A1"_s, 5.0, 10.0, 10.0, 9.0, 22.0,
                                  1, 2.5, u"12"_s}));
    EXPECT_EQ(l[1], (QVariantList{1, u"C1"_s, u"2026-12-11"_s, u"A2"_s, 3.0, 4.5, 0.0, 4.5, 10.0, 1,
                                  1.2, u""_s}));
    EXPECT_EQ(stockOf(u"A1"_s), (QVariantList{6.0, 2, 3.0, 5.0, 15.0}));
    EXPECT_EQ(orderLine(12), (QVariantList{5.0, 5.0, 1}));
    EXPECT_EQ(Probe::rows(
                  header(),
                  u"SELECT BOLLA, COD_CLI, PREZZO, TOT_COLLI, TOT_PESO, IVA, CAUSALE FROM ddt26"_s),
              (QList<QVariantList>{{1, u"C1"_s, 58.5, 2.0, 3.7, 11.25, u"Vendita"_s}}));
    EXPECT_EQ(Probe::count(temporary()), 0);
    EXPECT_FALSE(w<QPushButton>(u"btn_registra_ddt"_s)->isEnabled());
    EXPECT_FALSE(w<QPushButton>(u"btn_conferma"_s)->isEnabled());
    EXPECT_TRUE(w<QPushButton>(u"btn_go_print"_s)->isEnabled());
    EXPECT_TRUE(w<QPushButton>(u"BtnStampa"_s)->isEnabled());
    EXPECT_EQ(win->registeredOk(), 1);
}

TEST_F(NewDdt, ThePrintStepPrintsTheRegisteredDdtWithThePageOptions) {
    open();
    std::optional<DdtPrintData> printed;
    DdtPrintOptions used;
    win->showPrint = [&](const DdtPrintData& d, const DdtPrintOptions& o) {
        printed = d;
        used = o;
    };
    twoLines();
    click(u"btn_termina"_s);
    click(u"btn_registra_ddt"_s);
    click(u"btn_go_print"_s);
    EXPECT_EQ(w<QLabel>(u"lbl_fase"_s)->text(), u"3°: stampa DDT"_s);
    type(u"edt_dest_nome"_s, u"Cantiere Nord"_s);
    QSpinBox* copies = w<QSpinBox>(u"n_copie"_s);
    copies->setValue(3);
    QTest::mouseClick(w<QCheckBox>(u"chk_ddt_stampa_peso"_s), Qt::LeftButton);
    click(u"BtnStampa"_s);
    ASSERT_TRUE(printed.has_value());
    EXPECT_EQ(printed->header.value(u"BOLLA"_s).toLongLong(), 1);
    EXPECT_EQ(printed->lines.size(), 2);
    EXPECT_EQ(used.destName, u"Cantiere Nord"_s);
    EXPECT_EQ(used.copies, 3);
    EXPECT_TRUE(used.weightColumn);
    // The column options go back to the live settings.
    EXPECT_TRUE(settings->flag(u"DDT", u"Stampa Colonna peso"));
}

TEST_F(NewDdt, AFailedHeaderInsertChangesNothingAndKeepsTheLines) {
    open();
    twoLines();
    click(u"btn_termina"_s);
    failOn(header(), u"ddt26"_s);
    const QString before = Probe::dump(lines()) + Probe::dump(warehouse()) + Probe::dump(orders()) +
                           Probe::dump(header());
    const qint64 typed = Probe::count(temporary());
    click(u"btn_registra_ddt"_s);
    EXPECT_EQ(Probe::dump(lines()) + Probe::dump(warehouse()) + Probe::dump(orders()) +
                  Probe::dump(header()),
              before);
    EXPECT_EQ(Probe::count(temporary()), typed);
    EXPECT_EQ(typed, 2);
    const QStringList texts = Dialogs::instance().shownTexts();
    ASSERT_GE(texts.size(), 2);
    EXPECT_TRUE(texts[texts.size() - 2].startsWith(DdtRegistration::headerErrorMessage({})))
        << texts[texts.size() - 2].toStdString();
    EXPECT_EQ(texts.last(), DdtRegistration::failedMessage(1));
    EXPECT_EQ(win->registeredFailed(), 1);
    // The retry registers once.
    dropFail(header());
    click(u"btn_registra_ddt"_s);
    EXPECT_EQ(lastShown(), DdtRegistration::doneMessage(1));
    EXPECT_EQ(stockOf(u"A1"_s), (QVariantList{6.0, 2, 3.0, 5.0, 15.0}));
    EXPECT_EQ(Probe::count(lines()), 2);
}

TEST_F(NewDdt, AFailedLineWriteChangesNothingAndSaysSo) {
    open();
    start();
    failOn(temporary(), u"dett_ddt_tmp"_s);
    const QString before = Probe::dump(warehouse()) + Probe::dump(temporary());
    enterLine(u"A1"_s, 0, u"22"_s, u"5"_s, u"1"_s, u"2,5"_s);
    EXPECT_EQ(Probe::dump(warehouse()) + Probe::dump(temporary()), before)
        << "the article's date moves with its line";
    EXPECT_EQ(Dialogs::instance().shown().last().title, u"Errore di scrittura su disco"_s);
    EXPECT_EQ(
        lastShown(),
        u"Errore nella scrittura nell'archivio temporaneo Dettagli.\r\nIl movimento non può essere "
        "inserito, riprovare"_s);
    EXPECT_EQ(w<QLineEdit>(u"edt_quant"_s)->text(), u"5"_s) << "what was typed stays";
    EXPECT_EQ(text(u"lbl_righe"_s), u"0"_s);
    dropFail(temporary());
    Dialogs::instance().queueAnswer(DlgButton::Yes);
    click(u"btn_conferma"_s);
    EXPECT_EQ(Probe::count(temporary()), 1);
    EXPECT_EQ(Probe::rows(warehouse(), u"SELECT DUM FROM magazzino WHERE COD = 'A1'"_s),
              (QList<QVariantList>{{u"2026-12-11"_s}}));
}

TEST_F(NewDdt, AnsweringNoToTheUnloadKeepsTheStock) {
    open();
    start();
    enterLine(u"A1"_s, 0, u"22"_s, u"5"_s, u"1"_s, u"2,5"_s, -1, DlgButton::No);
    ASSERT_EQ(DdtDraft(*store, temporary()).lines().size(), 1);
    EXPECT_FALSE(DdtDraft(*store, temporary()).lines()[0].unload);
    const QVariantList before = stockOf(u"A1"_s);
    click(u"btn_termina"_s);
    click(u"btn_registra_ddt"_s);
    EXPECT_EQ(stockOf(u"A1"_s), before);
    EXPECT_EQ(Probe::rows(lines(), u"SELECT CONTROLLO FROM dett_ddt26"_s),
              (QList<QVariantList>{{u"N"_s}}));
}

TEST_F(NewDdt, ArticleSelectionShowsPriceByListStockAndOrders) {
    Probe::exec(registry(), u"UPDATE anagrafica SET LISTINO = 2 WHERE COD_CLI = 'C1'"_s);
    Probe::exec(warehouse(),
                u"UPDATE magazzino SET LISTINO2 = 8.25, SCONTO = 5, QSC = 99 WHERE COD = 'A1'"_s);
    open();
    start();
    typeInCombo(u"cmb_cod_articolo"_s, u"a1"_s);
    EXPECT_EQ(w<QComboBox>(u"cmb_des_articolo"_s)->currentText(), u"Articolo A1"_s);
    EXPECT_EQ(w<QLineEdit>(u"prz_art"_s)->text(), u"8,25"_s);
    EXPECT_EQ(w<QSpinBox>(u"SpinSconto"_s)->value(), 5);
    // 8,25 − 5 % = 7,8375: shown at two decimals, with the notice of the difference.
    EXPECT_EQ(w<QLineEdit>(u"prz_net"_s)->text(), u"7,84"_s);
    ASSERT_FALSE(TrayNotice::instance().shown().isEmpty());
    EXPECT_EQ(TrayNotice::instance().shown().last().title, u"Zelvarin: inserimento DDT"_s);
    // qca − qsc = 1, below the minimum stock of 2.
    EXPECT_EQ(text(u"lbl_giacenza"_s), u"1,00"_s);
    EXPECT_EQ(w<QLabel>(u"img_giacenza"_s)->toolTip(), u"Giacenza sotto la scorta minima"_s);
    QListWidget* orders = w<QListWidget>(u"lst_ordini"_s);
    ASSERT_EQ(orders->count(), 1);
    EXPECT_EQ(orders->item(0)->text(), u"12 · Quant: 10 · Prezzo: 10 · Data: 01/12/2026 mar"_s);
    // An unknown code clears the description.
    typeInCombo(u"cmb_cod_articolo"_s, u"NOPE"_s);
    EXPECT_EQ(w<QComboBox>(u"cmb_des_articolo"_s)->currentText(), QString());
}

TEST_F(NewDdt, TotalsFollowChangedAndDeletedLines) {
    open();
    twoLines();
    QTableWidget* grid = w<QTableWidget>(u"grid_righe"_s);
    for (const auto& [button, code] :
         {std::pair{"btn_fine", "A2"}, std::pair{"btn_inizio", "A1"}, std::pair{"btn_avanti", "A2"},
          std::pair{"btn_indietro", "A1"}}) {
        click(QString::fromLatin1(button));
        EXPECT_EQ(w<QComboBox>(u"cmb_cod_articolo"_s)->currentText(), QString::fromLatin1(code))
            << button;
    }
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      grid->visualItemRect(grid->item(0, 0)).center());
    EXPECT_EQ(w<QPushButton>(u"btn_conferma"_s)->text(), u"Conferma modifica"_s);
    EXPECT_EQ(w<QLabel>(u"lbl_fase"_s)->text(), u"1°: modifica dati"_s);
    type(u"edt_quant"_s, u"2"_s);
    Dialogs::instance().queueAnswer(DlgButton::Yes);
    click(u"btn_conferma"_s);
    EXPECT_EQ(grid->rowCount(), 2);
    EXPECT_EQ(text(u"costotot"_s), u"31,50"_s);  // 2 × 9,00 + 13,50
    EXPECT_EQ(text(u"ivatot"_s), u"5,31"_s);     // 3,96 + 1,35
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      grid->visualItemRect(grid->item(1, 0)).center());
    click(u"btn_delete"_s);
    EXPECT_EQ(grid->rowCount(), 1);
    EXPECT_EQ(text(u"costotot"_s), u"18,00"_s);
    EXPECT_EQ(text(u"pesotot"_s), u"2,50"_s);
    EXPECT_EQ(text(u"lbl_righe"_s), u"1"_s);
}

TEST_F(NewDdt, QuestionsBeforeALineIsAdded) {
    open();
    start();
    // More than the stock, answered No: nothing is added.
    typeInCombo(u"cmb_cod_articolo"_s, u"A2"_s);
    type(u"edt_quant"_s, u"500"_s);
    Dialogs::instance().queueAnswer(DlgButton::No);
    click(u"btn_conferma"_s);
    EXPECT_EQ(Dialogs::instance().shown().last().title, u"Scarico articolo oltre disponibilità"_s);
    EXPECT_EQ(Probe::count(temporary()), 0);
    EXPECT_EQ(text(u"lbl_righe"_s), u"0"_s);
    // An unknown article: the card is offered with code, description and price.
    // A description the warehouse does not know clears the code; the code is typed after.
    typeInCombo(u"cmb_des_articolo"_s, u"Staffa nuova"_s);
    EXPECT_EQ(w<QComboBox>(u"cmb_cod_articolo"_s)->currentText(), QString());
    QTest::keyClicks(w<QComboBox>(u"cmb_cod_articolo"_s)->lineEdit(), u"NUOVO"_s);
    type(u"prz_art"_s, u"7,5"_s);
    type(u"edt_quant"_s, u"-1"_s);
    for (DlgButton b : {DlgButton::Yes, DlgButton::Yes}) Dialogs::instance().queueAnswer(b);
    click(u"btn_conferma"_s);
    EXPECT_EQ(card, (QStringList{u"NUOVO"_s, u"Staffa nuova"_s, u"7.5"_s}));
    EXPECT_EQ(Probe::count(temporary()), 1);
    // An empty billing mark is asked about; Cancel stops.
    w<QLineEdit>(u"flag"_s)->clear();
    Dialogs::instance().queueAnswer(DlgButton::Cancel);
    click(u"btn_conferma"_s);
    EXPECT_EQ(Dialogs::instance().shown().last().title, u"Contrassegno fatturazione"_s);
    EXPECT_EQ(Probe::count(temporary()), 1);
}

TEST_F(NewDdt, TheArticleCardOpensOnANewArticleWithCodeDescriptionAndPrice) {
    win = std::make_unique<Tfrm_ddtnew>(ctx);
    win->prepare(Tfrm_ddtnew::Mode::Warehouse);
    win->show();
    start();
    typeInCombo(u"cmb_des_articolo"_s, u"Staffa nuova"_s);
    QTest::keyClicks(w<QComboBox>(u"cmb_cod_articolo"_s)->lineEdit(), u"NUOVO"_s);
    type(u"prz_art"_s, u"7,5"_s);
    QStringList seen;
    QTimer::singleShot(0, win.get(), [&seen] {
        QWidget* card = QApplication::activeModalWidget();
        ASSERT_NE(card, nullptr);
        seen << card->objectName();
        for (const char* name : {"edt_cod", "edt_des", "edt_prezzo_ven"})
            seen << card->findChild<QLineEdit*>(QString::fromLatin1(name))->text();
        static_cast<QDialog*>(card)->reject();
    });
    for (DlgButton b : {DlgButton::Yes, DlgButton::Yes}) Dialogs::instance().queueAnswer(b);
    click(u"btn_conferma"_s);
    EXPECT_EQ(seen, (QStringList{u"Tfrm_articoli"_s, u"NUOVO"_s, u"Staffa nuova"_s, u"7,5"_s}));
    EXPECT_EQ(Probe::count(temporary()), 1) << "the line is added in either case";
}

TEST_F(NewDdt, LinesLeftOutAreNamedAndANoteWithoutLinesIsRefused) {
    open();
    start();
    enterLine(u"A2"_s, 0, u"10"_s, u"1"_s, u"0"_s, u"0"_s);
    w<QLineEdit>(u"flag"_s)->setText(u"B"_s);
    enterLine(u"A1"_s, 0, u"22"_s, u"1"_s, u"0"_s, u"0"_s);
    click(u"btn_termina"_s);
    const QString before = snapshot();
    Dialogs::instance().queueAnswer(DlgButton::No);
    click(u"btn_registra_ddt"_s);
    EXPECT_EQ(Dialogs::instance().shown().last().title, DdtRegistration::questionTitle());
    EXPECT_TRUE(
        lastShown().startsWith(u"1 righe non saranno registrate nel DDT:\r\nA1 - Articolo A1"_s))
        << lastShown().toStdString();
    EXPECT_EQ(snapshot(), before);
    // With the DDT's mark changed to "B" the other line is left out; with "Z" none is left.
    type(u"contrass"_s, u"Z"_s);
    click(u"btn_registra_ddt"_s);
    EXPECT_EQ(lastShown(), DdtRegistration::noLinesMessage([] {
                  DdtHeader h;
                  h.number = 1;
                  h.recipient = u"C1"_s;
                  h.contrass = u"Z"_s;
                  return h;
              }()));
    EXPECT_EQ(snapshot(), before);
}

TEST_F(NewDdt, ATypedNumberThatExistsIsWarnedAndThenAccepted) {
    Probe::exec(header(), u"INSERT INTO ddt26 (BOLLA, COD_CLI, COD_FORN) VALUES (1, 'C9', '')"_s);
    open();
    start();
    type(u"numDDT"_s, u"1"_s);
    QTest::keyClick(w<QLineEdit>(u"numDDT"_s), Qt::Key_Return);
    EXPECT_EQ(Dialogs::instance().shown().last().title, u"DDT duplicato"_s);
    EXPECT_EQ(lastShown(), u"Esiste già un DDT con questo numero!"_s);
    EXPECT_EQ(w<QLineEdit>(u"numDDT"_s)->toolTip(), u"Numero DDT corretto = 2"_s);
    enterLine(u"A2"_s, 0, u"10"_s, u"1"_s, u"0"_s, u"0"_s);
    click(u"btn_termina"_s);
    click(u"btn_registra_ddt"_s);
    EXPECT_EQ(lastShown(), DdtRegistration::doneMessage(1));
    EXPECT_EQ(Probe::rows(header(), u"SELECT BOLLA, COD_CLI FROM ddt26 ORDER BY rowid"_s),
              (QList<QVariantList>{{1, u"C9"_s}, {1, u"C1"_s}}));
}

TEST_F(NewDdt, OrderModeNeedsCustomerOrdersAndOffersTheirCustomers) {
    Probe::exec(orders(), u"DELETE FROM ordini"_s);
    EXPECT_FALSE(open(Tfrm_ddtnew::Mode::Orders));
    EXPECT_EQ(lastShown(), u"Non ci sono ordini Clienti da cui generare DDT!"_s);
    order(3, u"A2"_s, u"C2"_s, 4);
    order(4, u"A1"_s, u""_s, 4);
    EXPECT_TRUE(open(Tfrm_ddtnew::Mode::Orders));
    QComboBox* recipients = w<QComboBox>(u"cmb_cod_cli"_s);
    ASSERT_EQ(recipients->count(), 1);
    EXPECT_EQ(recipients->itemText(0), u"C2"_s);
    EXPECT_EQ(w<QComboBox>(u"cmb_cod_articolo"_s)->count(), 2);
}

TEST_F(NewDdt, DoubleClicksOpenTheSearchOnTheirPage) {
    open();
    start();
    struct Case {
        QString widget;
        QString mode;
        int page;
    } cases[] = {{u"cmb_cod_cli"_s, u"cod_cli"_s, 7},
                 {u"edt_nome"_s, QString(), 3},
                 {u"edt_dest_via"_s, QString(), 3},
                 {u"cmb_cod_articolo"_s, u"codice"_s, 0},
                 {u"cmb_des_articolo"_s, u"descrizione"_s, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.widget.toStdString());
        QString mode = u"-"_s;
        int page = -1;
        win->runSearch = [&](Tfrm_cerca& d) {
            mode = d.mode();
            page = d.currentPage();
        };
        QWidget* target = win->findChild<QWidget*>(c.widget);
        ASSERT_NE(target, nullptr);
        if (auto* box = qobject_cast<QComboBox*>(target)) target = box->lineEdit();
        QTest::mouseDClick(target, Qt::LeftButton);
        EXPECT_EQ(mode, c.mode);
        EXPECT_EQ(page, c.page);
    }
    EXPECT_EQ(w<QComboBox>(u"cmb_cod_cli"_s)->currentText(), u"C1"_s)
        << "nothing chosen, nothing written";
    EXPECT_EQ(w<QComboBox>(u"cmb_cod_articolo"_s)->currentText(), QString());
    // A pick by code fills code, description and the article's figures.
    win->runSearch = [this](Tfrm_cerca& d) {
        QTimer::singleShot(0, &d, [this, &d] {
            auto* e = d.findChild<QLineEdit*>(u"Edit_cod"_s);
            e->clear();
            QTest::keyClicks(e, u"A2"_s);
            auto* list = d.findChild<QListView*>(u"memo_cod"_s);
            ASSERT_NE(list, nullptr);
            ASSERT_GT(list->model()->rowCount(), 0);
            const QModelIndex i = list->model()->index(0, 0);
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(i).center());
            QTest::mouseClick(d.findChild<QPushButton*>(u"btn_conferma0"_s), Qt::LeftButton);
        });
        d.execModal();
    };
    click(u"btn_cerca_codice"_s);
    EXPECT_EQ(w<QComboBox>(u"cmb_cod_articolo"_s)->currentText(), u"A2"_s);
    EXPECT_EQ(w<QComboBox>(u"cmb_des_articolo"_s)->currentText(), u"Articolo A2"_s);
    EXPECT_EQ(w<QLineEdit>(u"prz_art"_s)->text(), u"4,50"_s);
}

TEST_F(NewDdt, ClosingDefaultsDatesAndTheNetPriceWithVat) {
    settings->setValue(u"DDT", u"Causale", 2);
    settings->setValue(u"DDT", u"Porto", 1);
    settings->setValue(u"DDT", u"Visualizza pannello ordine bolla", true);
    open();
    start();
    EXPECT_EQ(w<QComboBox>(u"Cmb2"_s)->currentText(), u"C/to riparazione"_s);
    EXPECT_EQ(w<QComboBox>(u"Cmb1"_s)->currentText(), u"Franco"_s);
    EXPECT_EQ(w<QComboBox>(u"ComboFatt"_s)->currentText(), u"S"_s);
    EXPECT_EQ(w<QLineEdit>(u"contrass"_s)->text(), u"*"_s);
    typeInCombo(u"cmb_cod_articolo"_s, u"A1"_s);
    w<QSpinBox>(u"SpinSconto"_s)->setValue(10);
    w<QComboBox>(u"iva_art"_s)->setCurrentText(u"22"_s);
    EXPECT_EQ(w<QLineEdit>(u"prz_net"_s)->text(), u"9,00"_s);
    EXPECT_EQ(w<QLineEdit>(u"prz_ivato"_s)->text(), u"10,98"_s);
    click(u"btn_data_ordine"_s);
    EXPECT_EQ(w<DateEdit>(u"DataPicker2"_s)->date(), QDate(2026, 12, 11));
    click(u"btn_termina"_s);
    click(u"btn_data_ddt"_s);
    EXPECT_EQ(w<DateEdit>(u"DTP1"_s)->date(), QDate(2026, 12, 11));
    type(u"contrass"_s, u"X"_s);
    EXPECT_EQ(lastShown(),
              u"Ogni DDT creato con contrassegno = X non sarà visibile in scorrimento DDT"_s);
    EXPECT_EQ(w<QLineEdit>(u"contrass"_s)->maxLength(), 1);
    EXPECT_EQ(w<QLineEdit>(u"flag"_s)->maxLength(), 1);
}

TEST_F(NewDdt, RecipientBringsItsPriceListAndAgentAndAgentsAreListed) {
    settings->setValue(u"Anagrafica", u"Tipologia libera 4", u"AGENTE"_s);
    customer(u"AG1"_s, u"Agente Uno"_s);
    Probe::exec(registry(),
                u"UPDATE anagrafica SET EXTRA_DATA = '0000001000' WHERE COD_CLI = 'AG1'"_s);
    Probe::exec(registry(),
                u"UPDATE anagrafica SET EXTRA_DATA = '0000000000', LISTINO = 3, AGENTE = 'AG1' "
                "WHERE COD_CLI = 'C1'"_s);
    open();
    start(u"c1"_s);
    EXPECT_EQ(w<QComboBox>(u"cmb_cod_cli"_s)->currentText(), u"C1"_s);
    EXPECT_EQ(w<QProgressBar>(u"num_listino"_s)->value(), 3);
    QComboBox* agents = w<QComboBox>(u"cmb_agente"_s);
    EXPECT_EQ(agents->currentText(), u"AG1"_s);
    ASSERT_EQ(agents->count(), 1);
    EXPECT_EQ(agents->itemText(0), u"AG1"_s);
}

TEST_F(NewDdt, AnUnknownRecipientShowsTheNewCustomerButton) {
    open();
    click(u"BTN_NUOVO"_s);
    QComboBox* c = w<QComboBox>(u"cmb_cod_cli"_s);
    QTest::keyClicks(c->lineEdit(), u"ZZ9"_s);
    EXPECT_FALSE(w<QPushButton>(u"btn_nuovo_cliente"_s)->isHidden());
    c->lineEdit()->clear();
    QTest::keyClicks(c->lineEdit(), u"C1"_s);
    EXPECT_TRUE(w<QPushButton>(u"btn_nuovo_cliente"_s)->isHidden());
}

TEST_F(NewDdt, LeavingDiscardsTheTemporaryLinesAndTellsTheCounts) {
    open();
    start();
    enterLine(u"A2"_s, 0, u"10"_s, u"1"_s, u"0"_s, u"0"_s);
    ASSERT_EQ(Probe::count(temporary()), 1);
    QTest::keyClick(win.get(), Qt::Key_Escape);
    EXPECT_EQ(Probe::count(temporary()), 0);
    EXPECT_TRUE(w<QPushButton>(u"btn_esci"_s)
                    ->toolTip()
                    .endsWith(u"Inserimenti OK: 0 Inserimenti Falliti: 0"_s));
    EXPECT_FALSE(win->isVisible());
}

}  // namespace
