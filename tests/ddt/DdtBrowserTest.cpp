#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include "core/Paths.h"
#include "ddt/Tscorre_ddt.h"
#include "tests/WindowFixture.h"
#include "tests/ddt/DdtBrowserSeed.h"
#include "ui/Dialogs.h"
#include "ui/TrayNotice.h"
#include "warehouse/Tmov_check.h"

using namespace zel;
using namespace zel::test;
using namespace Qt::Literals::StringLiterals;

namespace {

const QDate kDay(2026, 12, 10);

QStringList trayTexts() {
    QStringList out;
    for (const TrayNotice::Shown& n : TrayNotice::instance().shown()) out << n.text;
    return out;
}

class DdtBrowser : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        seed.emplace(DdtSeed{*store, *settings});
        seed->partner(u"C1"_s, u"Rossi Mario Srl"_s);
        seed->partner(u"C2"_s, u"Verdi Anna"_s);
        seed->partner(u"C3"_s, u"Bianchi Spa"_s);
        seed->partner(u"F1"_s, u"Fornitore Uno"_s);
        // A1: 5 unloaded by DDT 5 of C1, 7 by DDT 5 of C2; A2 left by C1's DDT without unloading.
        seed->article(u"A1"_s, u"Vite"_s, 100, 12, 3.5, 3);
        seed->article(u"A2"_s, u"Dado"_s, 50, 0, 0, 0);
        seed->header(5, u"C1"_s, kDay);
        seed->line(5, u"C1"_s, u"A1"_s, u"Vite"_s, 5, 10, 22, 1, 2.5, kDay);
        seed->line(5, u"C1"_s, u"A2"_s, u"Dado"_s, 3, 4.5, 10, 1, 1.2, kDay, {}, {}, u"N"_s);
        seed->header(5, u"C2"_s, kDay.addDays(-1));
        seed->line(5, u"C2"_s, u"A1"_s, u"Vite"_s, 7, 10, 22, 2, 1, kDay.addDays(-1));
        seed->supplierLoad(5, u"F1"_s, u"A1"_s, 10, kDay.addDays(-3));
        store->exec(
            u"UPDATE %1 SET prezzo = 63.5, iva = 12.35, tot_colli = 2, tot_peso = 3.7 WHERE cod_cli = 'C1'"_s
                .arg(store->table(seed->headers())));
    }
    void TearDown() override {
        win.reset();
        TrayNotice::instance().reset();
        WindowFixture::TearDown();
    }
    void open() {
        win = std::make_unique<Tscorre_ddt>(ctx);
        win->showPreview = [this](const report::PageModel& m, int copies) {
            previewed = m.text();
            previewCopies = copies;
        };
        win->FormShow();
        win->show();
    }
    template <class W = QWidget>
    W* w(const QString& name) {
        W* found = win->findChild<W*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }
    void click(const QString& name) { QTest::mouseClick(w<QPushButton>(name), Qt::LeftButton); }
    // Clicks the DDT's row in the list.
    void pick(qint64 number, const QString& code) {
        const int row = win->listModel().rowOf({number, code});
        ASSERT_GE(row, 0) << number << " " << code.toStdString();
        auto* grid = w<QTableView>(u"grid_ddt"_s);
        grid->scrollTo(win->listModel().index(row, 1));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->visualRect(win->listModel().index(row, 1)).center());
        ASSERT_EQ(win->currentKey(), (DdtKey{number, code}));
    }
    void pickLine(int row) {
        auto* grid = w<QTableWidget>(u"grid_righe"_s);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->visualItemRect(grid->item(row, 2)).center());
    }
    double stock(const QString& cod, const char* column) {
        return store
            ->scalar(u"SELECT %1 FROM %2 WHERE cod = ?"_s.arg(QLatin1String(column),
                                                              store->table(seed->warehouse())),
                     {cod})
            .toDouble();
    }
    QList<QVariantList> lineRows(const QString& where) {
        return store->rows(
            u"SELECT bolla, cod_cli, cod_forn, cod, quant, causale, flag FROM %1 WHERE %2 ORDER BY rowid"_s
                .arg(store->table(seed->lines()), where));
    }
    QVariant headerValue(const QString& column, qint64 bolla, const QString& cli) {
        return store->scalar(u"SELECT %1 FROM %2 WHERE bolla = ? AND cod_cli = ?"_s.arg(
                                 column, store->table(seed->headers())),
                             {bolla, cli});
    }
    QStringList shown() const { return Dialogs::instance().shownTexts(); }
    QStringList listed() {
        QStringList out;
        for (int r = 0; r < win->listModel().rowCount(); ++r) {
            const DdtListEntry e = win->listModel().entry(r);
            out << u"%1/%2/%3"_s.arg(e.bolla).arg(e.codCli.isEmpty() ? e.codForn : e.codCli,
                                                  e.nome);
        }
        return out;
    }
    QString dumpAll() {
        return Probe::dump(seed->headers()) + Probe::dump(seed->lines()) +
               Probe::dump(seed->warehouse());
    }

    std::optional<DdtSeed> seed;
    std::unique_ptr<Tscorre_ddt> win;
    QString previewed;
    int previewCopies = 0;
};

TEST_F(DdtBrowser, DeletingDdt5OfC1WithRestoreTouchesOnlyItsOwnLines) {
    open();
    pick(5, u"C1"_s);
    Dialogs::instance().queueAnswer(DlgButton::Yes);
    Dialogs::instance().queueAnswer(DlgButton::Yes);
    click(u"btn_elimina_ddt"_s);

    EXPECT_TRUE(shown().contains(u"Sei sicuro di voler cancellare il DDT n°5 del cliente C1?"_s));
    // A1 went out of the main warehouse; A2 was registered without unloading.
    EXPECT_TRUE(
        shown().contains(u"Sono stati ripristinati 1 valori di giacenza precedenti al DDT n° 5"_s))
        << shown().join(u'|').toStdString();
    EXPECT_DOUBLE_EQ(stock(u"A1"_s, "qsc"), 7.0);
    EXPECT_DOUBLE_EQ(stock(u"A1"_s, "psc"), 1.0);
    EXPECT_DOUBLE_EQ(stock(u"A1"_s, "csc"), 2.0);
    EXPECT_DOUBLE_EQ(stock(u"A2"_s, "qsc"), 0.0);
    EXPECT_FALSE(headerValue(u"bolla"_s, 5, u"C1"_s).isValid());
    EXPECT_TRUE(headerValue(u"bolla"_s, 5, u"C2"_s).isValid());
    // C2's DDT and the supplier's load numbered 5 stay; C1's lines leave their trace rows.
    const QList<QVariantList> rest = lineRows(u"1 = 1"_s);
    ASSERT_EQ(rest.size(), 4);
    EXPECT_EQ(rest[0], (QVariantList{5, u"C2"_s, u""_s, u"A1"_s, 7.0, u"Vendita"_s, u"*"_s}));
    EXPECT_EQ(rest[1], (QVariantList{5, u""_s, u"F1"_s, u"A1"_s, 10.0, u"Carico merce"_s, u"X"_s}));
    EXPECT_EQ(rest[2],
              (QVariantList{0, u"C1"_s, u""_s, u"A1"_s, 5.0, u"Ripristino movimento"_s, u"X"_s}));
    EXPECT_EQ(rest[3],
              (QVariantList{0, u"C1"_s, u""_s, u"A2"_s, 3.0, u"Ripristino movimento"_s, u"X"_s}));
    // The list shows what is left, numbered 1..N again.
    EXPECT_EQ(win->listModel().rowOf({5, u"C1"_s}), -1);
    EXPECT_EQ(store->scalar(u"SELECT group_concat(ID) FROM %1"_s.arg(store->table(seed->lines())))
                  .toString(),
              u"1,2,3,4"_s);
}

TEST_F(DdtBrowser, DeletingWithoutRestoreKeepsTheStockAndLeavesTheTrace) {
    open();
    pick(5, u"C1"_s);
    Dialogs::instance().queueAnswer(DlgButton::Yes);
    Dialogs::instance().queueAnswer(DlgButton::No);
    click(u"btn_elimina_ddt"_s);
    EXPECT_DOUBLE_EQ(stock(u"A1"_s, "qsc"), 12.0);
    EXPECT_EQ(lineRows(u"causale = 'Ripristino movimento'"_s).size(), 2);
    EXPECT_TRUE(lineRows(u"bolla = 5 AND cod_cli = 'C1'"_s).isEmpty());
}

TEST_F(DdtBrowser, AFailedDeletionChangesNothingAndSaysSo) {
    open();
    pick(5, u"C1"_s);
    // The deletion's last writes are the lines' delete and their renumbering.
    const QString before = dumpAll();
    Probe::exec(
        seed->lines(),
        u"CREATE TRIGGER t BEFORE DELETE ON dett_ddt26 BEGIN SELECT RAISE(ABORT, 'disco pieno'); END"_s);
    Dialogs::instance().queueAnswer(DlgButton::Yes);
    Dialogs::instance().queueAnswer(DlgButton::Yes);
    click(u"btn_elimina_ddt"_s);
    Probe::exec(seed->lines(), u"DROP TRIGGER t"_s);
    EXPECT_EQ(dumpAll(), before);
    ASSERT_FALSE(Dialogs::instance().shown().isEmpty());
    EXPECT_EQ(Dialogs::instance().shown().last().icon, MsgIcon::Error);
    EXPECT_TRUE(shown().last().startsWith(u"Il DDT n° 5 del cliente C1 non è stato cancellato"_s))
        << shown().last().toStdString();
}

TEST_F(DdtBrowser, DeletingALineDeletesThatLineOnlyAndRecomputesTheHeader) {
    seed->line(5, u"C1"_s, u"A1"_s, u"Vite"_s, 2, 10, 22, 1, 0.5, kDay);
    open();
    pick(5, u"C1"_s);
    click(u"btn_edit"_s);
    ASSERT_EQ(win->currentLines().size(), 3);
    pickLine(2);
    Dialogs::instance().queueAnswer(DlgButton::Yes);
    click(u"btn_cancella_elemento"_s);
    EXPECT_TRUE(
        shown().contains(u"Conferma la cancellazione irreversibile dell'elemento Vite ?"_s));
    const QList<QVariantList> left = lineRows(u"bolla = 5 AND cod_cli = 'C1'"_s);
    ASSERT_EQ(left.size(), 2);
    EXPECT_EQ(left[0][4], 5.0);  // the first A1 line stays
    // 5 × 10,00 + 3 × 4,50 = 63,50; VAT 11,00 + 1,35.
    EXPECT_DOUBLE_EQ(headerValue(u"prezzo"_s, 5, u"C1"_s).toDouble(), 63.5);
    EXPECT_DOUBLE_EQ(headerValue(u"iva"_s, 5, u"C1"_s).toDouble(), 12.35);
    EXPECT_DOUBLE_EQ(headerValue(u"tot_colli"_s, 5, u"C1"_s).toDouble(), 2.0);
    EXPECT_DOUBLE_EQ(stock(u"A1"_s, "qsc"), 12.0);
    EXPECT_TRUE(QFileInfo::exists(seed->lines() + u".bak"_s));
}

TEST_F(DdtBrowser, UpdatingALineRecomputesTheHeaderAndMovesNoStock) {
    open();
    pick(5, u"C1"_s);
    click(u"btn_edit"_s);
    pickLine(0);
    auto* quant = w<QLineEdit>(u"edt_quant"_s);
    quant->clear();
    QTest::keyClicks(quant, u"6"_s);
    auto* note = w<QLineEdit>(u"edt_note1"_s);
    QTest::keyClicks(note, u"Consegna al piano"_s);
    Dialogs::instance().queueAnswer(DlgButton::Yes);
    click(u"btn_aggiorna"_s);
    EXPECT_TRUE(shown().contains(u"Aggiornamento dei dati\n\ravvenuto con successo!"_s))
        << shown().join(u'|').toStdString();
    EXPECT_EQ(lineRows(u"bolla = 5 AND cod_cli = 'C1' AND cod = 'A1'"_s).value(0).value(4), 6.0);
    // 6 × 10,00 + 3 × 4,50 = 73,50; VAT 13,20 + 1,35 = 14,55.
    EXPECT_DOUBLE_EQ(headerValue(u"prezzo"_s, 5, u"C1"_s).toDouble(), 73.5);
    EXPECT_DOUBLE_EQ(headerValue(u"iva"_s, 5, u"C1"_s).toDouble(), 14.55);
    EXPECT_EQ(headerValue(u"note1"_s, 5, u"C1"_s).toString(), u"Consegna al piano"_s);
    EXPECT_DOUBLE_EQ(stock(u"A1"_s, "qsc"), 12.0);
    EXPECT_EQ(lineRows(u"bolla = 5 AND cod_cli = 'C2'"_s).value(0).value(4), 7.0);
}

TEST_F(DdtBrowser, AFailedUpdateLeavesLineAndHeaderAsTheyWere) {
    open();
    pick(5, u"C1"_s);
    click(u"btn_edit"_s);
    pickLine(0);
    auto* quant = w<QLineEdit>(u"edt_quant"_s);
    quant->clear();
    QTest::keyClicks(quant, u"9"_s);
    // The header's totals are the update's last write.
    const QString before = dumpAll();
    Probe::exec(
        seed->headers(),
        u"CREATE TRIGGER t BEFORE UPDATE OF prezzo ON ddt26 BEGIN SELECT RAISE(ABORT, 'disco pieno'); END"_s);
    Dialogs::instance().queueAnswer(DlgButton::Yes);
    click(u"btn_aggiorna"_s);
    Probe::exec(seed->headers(), u"DROP TRIGGER t"_s);
    EXPECT_EQ(dumpAll(), before);
    EXPECT_TRUE(shown().last().startsWith(u"Errore nell'aggiornamento dei movimenti\n\r"_s))
        << shown().last().toStdString();
}

TEST_F(DdtBrowser, AnAddedLineJoinsTheDdtWithoutStockAndIsNotGivenBackLater) {
    open();
    pick(5, u"C1"_s);
    click(u"btn_aggiungi"_s);
    for (const auto& [name, value] : {std::pair{u"edt_cod"_s, u"A1"_s},
                                      {u"edt_des"_s, u"Vite extra"_s},
                                      {u"edt_prezzo"_s, u"2,00"_s},
                                      {u"edt_quant"_s, u"4"_s},
                                      {u"edt_colli"_s, u"1"_s}}) {
        auto* e = w<QLineEdit>(name);
        e->clear();
        QTest::keyClicks(e, value);
    }
    w<QComboBox>(u"cmb_iva"_s)->setCurrentText(u"22"_s);
    Dialogs::instance().queueAnswer(DlgButton::Yes);
    click(u"btn_conferma"_s);
    EXPECT_TRUE(shown().contains(
        u"Confermi l'inserimento della voce\r\nA1 - Vite extra\r\n nel DDT n° 5?"_s));
    EXPECT_FALSE(w<QPushButton>(u"btn_aggiorna"_s)->isEnabled());
    const QList<QVariantList> added = lineRows(u"des = 'Vite extra'"_s);
    ASSERT_EQ(added.size(), 1);
    EXPECT_EQ(added[0].mid(0, 5), (QVariantList{5, u"C1"_s, u""_s, u"A1"_s, 4.0}));
    // 50,00 + 13,50 + 8,00; VAT 11,00 + 1,76 + 1,35.
    EXPECT_DOUBLE_EQ(headerValue(u"prezzo"_s, 5, u"C1"_s).toDouble(), 71.5);
    EXPECT_DOUBLE_EQ(headerValue(u"iva"_s, 5, u"C1"_s).toDouble(), 14.11);
    EXPECT_DOUBLE_EQ(stock(u"A1"_s, "qsc"), 12.0);
    EXPECT_TRUE(trayTexts().contains(u"Eseguito backup dell' archivio movimenti."_s));

    Dialogs::instance().queueAnswer(DlgButton::Yes);
    Dialogs::instance().queueAnswer(DlgButton::Yes);
    click(u"btn_elimina_ddt"_s);
    EXPECT_DOUBLE_EQ(stock(u"A1"_s, "qsc"), 7.0);  // only the 5 that left the warehouse
}

TEST_F(DdtBrowser, ChangingTheRecipientMovesOnlyThisDdt) {
    open();
    pick(5, u"C1"_s);
    win->pickCustomer = [] { return u"c3"_s; };
    click(u"btn_cambia_destinatario"_s);
    EXPECT_TRUE(headerValue(u"bolla"_s, 5, u"C3"_s).isValid());
    EXPECT_EQ(lineRows(u"cod_cli = 'C3'"_s).size(), 2);
    EXPECT_EQ(lineRows(u"cod_cli = 'C2'"_s).size(), 1);
    EXPECT_EQ(lineRows(u"cod_forn = 'F1'"_s).size(), 1);

    // Onto the recipient of the other DDT 5 the two would become one: refused.
    pick(5, u"C3"_s);
    win->pickCustomer = [] { return u"C2"_s; };
    const QString before = dumpAll();
    click(u"btn_cambia_destinatario"_s);
    EXPECT_EQ(dumpAll(), before);
    EXPECT_TRUE(shown().last().startsWith(
        u"Non è stato possibile cambiare il codice cliente, verificare archivio."_s));
}

TEST_F(DdtBrowser, AFailedRecipientChangeLeavesBothArchives) {
    open();
    pick(5, u"C1"_s);
    win->pickCustomer = [] { return u"C3"_s; };
    const QString before = dumpAll();
    Probe::exec(
        seed->lines(),
        u"CREATE TRIGGER t BEFORE UPDATE ON dett_ddt26 BEGIN SELECT RAISE(ABORT, 'disco pieno'); END"_s);
    click(u"btn_cambia_destinatario"_s);
    Probe::exec(seed->lines(), u"DROP TRIGGER t"_s);
    EXPECT_EQ(dumpAll(), before);
    EXPECT_EQ(Dialogs::instance().shown().last().title, u"Tabella intestazioni DDT"_s);
}

TEST_F(DdtBrowser, ListShowsDeletedCardsOnceHidesMarkedHeadersAndFilters) {
    seed->header(3, u"GONE"_s, kDay.addDays(-5));  // its card was deleted
    seed->header(4, u"C1"_s, kDay.addDays(2), u"N"_s,
                 u"F1"_s);  // both a customer and a supplier card
    seed->header(6, u"C2"_s, kDay.addDays(-9), u"S"_s, {}, u"X"_s);  // hidden by default
    open();
    EXPECT_EQ(listed(), (QStringList{u"3/GONE/"_s, u"4/C1/Rossi Mario Srl"_s,
                                     u"5/C1/Rossi Mario Srl"_s, u"5/C2/Verdi Anna"_s}));
    EXPECT_EQ(w<QLabel>(u"lbl_conta_ddt"_s)->text(), u"DDT: 4"_s);

    click(u"btn_reset_filtro"_s);
    EXPECT_EQ(listed().size(), 5);
    click(u"btn_tutti"_s);
    EXPECT_EQ(listed().first(), u"6/C2/Verdi Anna"_s);  // by date

    // Conditions accumulate over the presses.
    QTest::keyClicks(w<QLineEdit>(u"edt_filtro_cliente"_s), u"c1"_s);
    click(u"btn_set_filtro"_s);
    EXPECT_EQ(listed(), (QStringList{u"4/C1/Rossi Mario Srl"_s, u"5/C1/Rossi Mario Srl"_s}));
    w<QLineEdit>(u"edt_filtro_cliente"_s)->clear();
    QTest::mouseClick(w<QCheckBox>(u"chk_fatturabili"_s), Qt::LeftButton);
    click(u"btn_set_filtro"_s);
    EXPECT_EQ(listed(), (QStringList{u"5/C1/Rossi Mario Srl"_s}));

    QTest::keyClicks(w<QLineEdit>(u"edt_cerca"_s), u"5"_s);
    click(u"btn_cerca"_s);
    EXPECT_EQ(listed().size(), 2);

    // Title clicks sort by the fixed columns, ascending then descending.
    auto* grid = w<QTableView>(u"grid_ddt"_s);
    win->gridTitleClick(DdtListModel::Nome);
    EXPECT_EQ(listed().first(), u"3/GONE/"_s);
    win->gridTitleClick(DdtListModel::Nome);
    EXPECT_EQ(listed().first(), u"5/C2/Verdi Anna"_s);
    EXPECT_EQ(grid->model()->headerData(DdtListModel::Nome, Qt::Horizontal).toString(),
              u"Ragione sociale"_s);
}

TEST_F(DdtBrowser, ADeletedCardsDdtCanStillBePrintedAndDeleted) {
    seed->header(3, u"GONE"_s, kDay);
    seed->line(3, u"GONE"_s, u"A1"_s, u"Vite"_s, 1, 10, 22, 0, 0, kDay);
    open();
    pick(3, u"GONE"_s);
    w<QSpinBox>(u"num_copie"_s)->setValue(2);
    click(u"btn_copie_piu"_s);
    click(u"btn_stampa_ddt"_s);
    EXPECT_TRUE(previewed.contains(u"Cod. | GONE"_s)) << previewed.toStdString();
    EXPECT_EQ(previewCopies, 3);
    Dialogs::instance().queueAnswer(DlgButton::Yes);
    Dialogs::instance().queueAnswer(DlgButton::Yes);
    click(u"btn_elimina_ddt"_s);
    EXPECT_FALSE(headerValue(u"bolla"_s, 3, u"GONE"_s).isValid());
    EXPECT_DOUBLE_EQ(stock(u"A1"_s, "qsc"), 11.0);
}

TEST_F(DdtBrowser, PrintOptionsAreWrittenBackToTheSettings) {
    open();
    pick(5, u"C2"_s);
    QTest::mouseClick(w<QCheckBox>(u"chk_ddt_stampa_peso"_s), Qt::LeftButton);
    click(u"btn_stampa_ddt"_s);
    EXPECT_TRUE(settings->flag(u"DDT", u"Stampa Colonna peso"));
    EXPECT_TRUE(previewed.contains(u"Verdi Anna"_s));
    EXPECT_TRUE(previewed.contains(u"| Peso"_s));
    EXPECT_EQ(previewCopies, 2);
}

TEST_F(DdtBrowser, AnEmptyInvoiceMarkAsksAndOkSetsIt) {
    store->exec(
        u"UPDATE %1 SET fattura = '' WHERE cod_cli = 'C2'"_s.arg(store->table(seed->headers())));
    open();
    Dialogs::instance().queueAnswer(DlgButton::Cancel);
    pick(5, u"C2"_s);
    EXPECT_EQ(headerValue(u"fattura"_s, 5, u"C2"_s).toString(), u""_s);
    pick(5, u"C1"_s);
    Dialogs::instance().queueAnswer(DlgButton::Ok);
    pick(5, u"C2"_s);
    EXPECT_EQ(Dialogs::instance().shown().last().title, u"Anomalia nel DDT"_s);
    EXPECT_EQ(headerValue(u"fattura"_s, 5, u"C2"_s).toString(), u"S"_s);
    EXPECT_EQ(headerValue(u"fattura"_s, 5, u"C1"_s).toString(), u"S"_s);
}

TEST_F(DdtBrowser, ChangeArchiveOffersEveryExistingYear) {
    for (const char* f : {"ddt09", "ddt23"}) {
        const QString name = QString::fromLatin1(f);
        store->createEmptyCopy(seed->headers(), dataFile(base.path(), name + u".db"_s));
        store->createEmptyCopy(seed->lines(), dataFile(base.path(), u"dett_"_s + name + u".db"_s));
    }
    Probe::exec(
        dataFile(base.path(), u"ddt09.db"_s),
        u"INSERT INTO ddt09 (bolla, cod_cli, cod_forn, controllo) VALUES (41, 'C2', '', 'X')"_s);
    open();
    click(u"btn_cambia_archivio"_s);
    auto* years = w<QComboBox>(u"cmb_archivio"_s);
    QStringList offered;
    for (int i = 0; i < years->count(); ++i) offered << years->itemText(i);
    EXPECT_EQ(offered, (QStringList{u"2009"_s, u"2023"_s, u"2026"_s}));
    win->showYear(2009);
    EXPECT_EQ(listed(), (QStringList{u"41/C2/Verdi Anna"_s}));
    EXPECT_EQ(win->currentKey(), (DdtKey{41, u"C2"_s}));
    EXPECT_TRUE(w<QLabel>(u"lbl_nessun_movimento"_s)->isVisibleTo(win.get()));
}

TEST_F(DdtBrowser, StrictDatesMarkALineDatedOtherwise) {
    store->exec(u"UPDATE %1 SET data = ? WHERE cod = 'A2'"_s.arg(store->table(seed->lines())),
                {kDay.addDays(-1)});
    open();
    win->setStrictDates(true);
    pick(5, u"C1"_s);
    click(u"btn_edit"_s);
    pickLine(1);
    EXPECT_TRUE(w<QPushButton>(u"btn_set_data"_s)->isVisibleTo(win.get()));
    EXPECT_TRUE(trayTexts().contains(u"La data del movimento non coincide con la data del DDT"_s));
    click(u"btn_set_data"_s);
    Dialogs::instance().queueAnswer(DlgButton::Yes);
    click(u"btn_aggiorna"_s);
    EXPECT_EQ(
        store->scalar(u"SELECT data FROM %1 WHERE cod = 'A2'"_s.arg(store->table(seed->lines())))
            .toString(),
        u"2026-12-10"_s);
}

TEST_F(DdtBrowser, EscapeFromEditingWarns) {
    open();
    click(u"btn_edit"_s);
    QTest::keyClick(win.get(), Qt::Key_Escape);
    EXPECT_TRUE(shown().contains(
        u"Attenzione! Uscendo ogni modifica non confermata\r\nnon sarà registrata."_s));
    EXPECT_FALSE(win->isVisible());
}

}  // namespace

namespace {

// Adding and deleting a line end with the header's totals: made to fail, they leave
// the lines and the header as they were and say so.
TEST_F(DdtBrowser, FailedLineAddAndDeleteLeaveTheArchives) {
    open();
    pick(5, u"C1"_s);
    const QString before = dumpAll();
    Probe::exec(
        seed->headers(),
        u"CREATE TRIGGER t BEFORE UPDATE OF prezzo ON ddt26 BEGIN SELECT RAISE(ABORT, 'disco pieno'); END"_s);
    click(u"btn_aggiungi"_s);
    QTest::keyClicks(w<QLineEdit>(u"edt_cod"_s), u"A2"_s);
    Dialogs::instance().queueAnswer(DlgButton::Yes);
    click(u"btn_conferma"_s);
    EXPECT_TRUE(shown().last().startsWith(u"La voce non è stata inserita nel DDT."_s))
        << shown().last().toStdString();
    click(u"btn_edit"_s);
    pickLine(0);
    Dialogs::instance().queueAnswer(DlgButton::Yes);
    click(u"btn_cancella_elemento"_s);
    EXPECT_TRUE(shown().last().startsWith(u"La voce non è stata cancellata."_s))
        << shown().last().toStdString();
    Probe::exec(seed->headers(), u"DROP TRIGGER t"_s);
    EXPECT_EQ(dumpAll(), before);
}

}  // namespace

namespace {

// Lines that left an outside warehouse go back to that warehouse's row of the article.
TEST_F(DdtBrowser, RestoreGivesBackToTheOutsideWarehouseTheLinesLeft) {
    settings->setValue(u"Magazzino", u"Codice magazzino predefinito", u"2.Deposito"_s);
    const QString outside = dataFile(base.path(), u"mag_ext.db"_s);
    for (const char* mag : {"2", "3"})
        store->exec(
            u"INSERT INTO %1 (COD_MAG, cod, qca, qsc, pca, psc, cca, csc) VALUES (?, 'A1', 20, 6, 0, 4, 0, 2)"_s
                .arg(store->table(outside)),
            {QString::fromLatin1(mag)});
    open();
    pick(5, u"C1"_s);
    Dialogs::instance().queueAnswer(DlgButton::Yes);
    Dialogs::instance().queueAnswer(DlgButton::Yes);
    click(u"btn_elimina_ddt"_s);
    const QList<QVariantList> rows = store->rows(
        u"SELECT COD_MAG, qsc, psc, csc FROM %1 ORDER BY COD_MAG"_s.arg(store->table(outside)));
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0], (QVariantList{u"2"_s, 1.0, 1.5, 1}));
    EXPECT_EQ(rows[1], (QVariantList{u"3"_s, 6.0, 4.0, 2}));
    EXPECT_DOUBLE_EQ(stock(u"A1"_s, "qsc"), 12.0);
}

}  // namespace

namespace {

// A DDT deleted meanwhile (another window) is not given back a second time.
TEST_F(DdtBrowser, ADdtNoLongerThereIsNeitherDeletedNorRestored) {
    open();
    pick(5, u"C1"_s);
    store->exec(
        u"DELETE FROM %1 WHERE bolla = 5 AND cod_cli = 'C1'"_s.arg(store->table(seed->headers())));
    const QString before = dumpAll();
    Dialogs::instance().queueAnswer(DlgButton::Yes);
    Dialogs::instance().queueAnswer(DlgButton::Yes);
    click(u"btn_elimina_ddt"_s);
    EXPECT_EQ(dumpAll(), before);
    EXPECT_EQ(shown().last(), u"Il DDT n° 5 del cliente C1 non è più presente in archivio."_s);
}

}  // namespace

namespace {

TEST_F(DdtBrowser, LinesAreNumberedAgainAfterADeletion) {
    store->exec(u"UPDATE %1 SET ID = rowid"_s.arg(store->table(seed->lines())));
    open();
    pick(5, u"C2"_s);
    Dialogs::instance().queueAnswer(DlgButton::Yes);
    Dialogs::instance().queueAnswer(DlgButton::No);
    click(u"btn_elimina_ddt"_s);
    EXPECT_EQ(
        store
            ->scalar(
                u"SELECT group_concat(cod_cli || ':' || ID, ' ') FROM (SELECT * FROM %1 ORDER BY rowid)"_s
                    .arg(store->table(seed->lines())))
            .toString(),
        u"C1:1 C1:2 :3 C2:4"_s);
}

}  // namespace

namespace {

TEST_F(DdtBrowser, MovingToAnotherDdtDropsAHalfAddedLine) {
    open();
    pick(5, u"C1"_s);
    click(u"btn_aggiungi"_s);
    EXPECT_TRUE(w<QPushButton>(u"btn_conferma"_s)->isEnabled());
    pick(5, u"C2"_s);
    EXPECT_FALSE(w<QPushButton>(u"btn_conferma"_s)->isEnabled());
    EXPECT_EQ(w<QLineEdit>(u"edt_cod"_s)->text(), u"A1"_s);  // C2's line
    click(u"btn_conferma"_s);
    EXPECT_EQ(lineRows(u"bolla = 5 AND cod_cli = 'C2'"_s).size(), 1);
}

}  // namespace

namespace {

TEST_F(DdtBrowser, TheMovementListOpensFromTheBrowser) {
    WindowHost host(ctx, nullptr);
    ctx.windows = &host;
    open();
    QString opened;
    QTimer::singleShot(0, [&opened] {
        if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            opened = d->objectName();
            d->reject();
        }
    });
    click(u"btn_movimenti"_s);
    EXPECT_EQ(opened, u"Tmov_check"_s);
    win.reset();
    delete host.existing<Tmov_check>();
    ctx.windows = nullptr;
}

}  // namespace
