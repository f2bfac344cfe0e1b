#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "core/Paths.h"
#include "report/PageModel.h"
#include "settings/Settings.h"
#include "store/Store.h"
#include "tests/WindowFixture.h"
#include "ui/Dialogs.h"
#include "warehouse/MovementWindowModel.h"
#include "warehouse/Tmov_check.h"

using namespace zel;
using namespace zel::test;
using namespace Qt::Literals::StringLiterals;

namespace {

class MovementBrowser : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        lines = settings->text(u"Path", u"Archivio DDT Detail");
        headers = settings->text(u"Path", u"Archivio DDT Master");
        // ID, BOLLA, COD, DES, DATA, COD_CLI, COD_FORN, QUANT, PESO, COLLI, CAUSALE, TRASPORTO,
        // ORDINE, SERIALE, NOTE, ASPETTO
        Probe::exec(
            lines,
            u"INSERT INTO dett_ddt26 (ID, BOLLA, COD, DES, DATA, COD_CLI, COD_FORN, QUANT, PESO, "
            u"COLLI, CAUSALE, "
            "TRASPORTO, ORDINE, SERIALE, NOTE, ASPETTO) VALUES "
            "(1, 10, 'ab1', 'Vite 50%', '2026-03-05', 'C1', '', 2, 1.5, 1, '', 'Corriere', 'O-1', "
            "'S1', 'urgente', 'Sfuso'),"
            "(2, 10, 'AB2', 'Dado', '2026-03-01', 'C1', '', 3, 0.25, 2, '', 'Mittente', '', '', "
            "'', ''),"
            "(3, 0, 'AB1', 'Vite 50%', '2026-02-01', '', 'F1', 10, 0, 0, 'Carico merce', '', '', "
            "'', '', ''),"
            "(4, 11, 'ZZ', 'Rondella', '2026-04-01', '', '', 0, 0, 0, '', '', '', '', '', ''),"
            "(5, 11, 'ZZ', 'Rondella', '2026-04-02', '', '', 1, 0, 0, '', '', '', '', '', ''),"
            "(6, 0, 'AB1', 'Vite 5', '2026-05-01', '', 'CLI', 4, 0, 0, 'Scarico manuale', '', '', '', '', '')"_s);
        Probe::exec(
            headers,
            u"INSERT INTO ddt26 (BOLLA, COD_CLI, COD_FORN) VALUES (10, 'C1', ''), (11, '', ''), (11, 'C1', '')"_s);
    }
    void TearDown() override {
        win.reset();
        WindowFixture::TearDown();
    }
    void open() {
        win = std::make_unique<Tmov_check>(ctx);
        win->showPreview = [this](const report::PageModel& m) { previewed = m.text(); };
        win->FormShow();
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
    QString cell(int row, int column) { return win->model().index(row, column).data().toString(); }
    QString totals() {
        QCoreApplication::processEvents();  // the totals of the whole archive follow the list
        return w<QLabel>(u"lbl_numero_movimenti"_s)->text() + u" | "_s +
               w<QLabel>(u"lbl_tot_quantita"_s)->text() + u" | "_s +
               w<QLabel>(u"lbl_tot_peso"_s)->text() + u" | "_s +
               w<QLabel>(u"lbl_tot_colli"_s)->text();
    }

    QString lines, headers;
    std::unique_ptr<Tmov_check> win;
    QString previewed;
};

TEST_F(MovementBrowser, OpensOnEveryMovementByDateWithItsTotals) {
    open();
    EXPECT_EQ(w<QComboBox>(u"cmb_archivio"_s)->currentText(), u"GLOBALE"_s);
    ASSERT_EQ(win->model().rowCount(), 6);
    const QStringList dates{cell(0, 0), cell(1, 0), cell(2, 0), cell(3, 0), cell(4, 0), cell(5, 0)};
    EXPECT_EQ(dates, (QStringList{u"01/02/2026"_s, u"01/03/2026"_s, u"05/03/2026"_s,
                                  u"01/04/2026"_s, u"02/04/2026"_s, u"01/05/2026"_s}));
    EXPECT_EQ(cell(0, 4), u"10,00"_s);
    EXPECT_EQ(totals(), u"6 | 20,00 | 1,75 | 3"_s);
}

TEST_F(MovementBrowser, EachCriterionNarrowsTheListAndItsTotals) {
    open();
    const struct {
        const char16_t* edit;
        const char16_t* text;
        const char16_t* totals;
    } cases[] = {
        {u"edt_data_dal", u"01/03/2026", u"5 | 10,00 | 1,75 | 3"},
        {u"edt_data_al", u"01/03/2026", u"2 | 13,00 | 0,25 | 2"},
        {u"edt_codice", u"ab1", u"3 | 16,00 | 1,50 | 1"},
        {u"edt_cliente", u"C1", u"2 | 5,00 | 1,75 | 3"},
        {u"edt_fornitore", u"F", u"1 | 10,00 | 0,00 | 0"},
        {u"edt_bolla", u"11", u"2 | 1,00 | 0,00 | 0"},
        {u"edt_trasporto", u"corr", u"1 | 2,00 | 1,50 | 1"},
        {u"edt_ordine", u"O-", u"1 | 2,00 | 1,50 | 1"},
        {u"edt_descrizione", u"50%", u"2 | 12,00 | 1,50 | 1"},
        {u"edt_seriale", u"s1", u"1 | 2,00 | 1,50 | 1"},
        {u"edt_note", u"URG", u"1 | 2,00 | 1,50 | 1"},
        {u"edt_aspetto", u"sfu", u"1 | 2,00 | 1,50 | 1"},
    };
    for (const auto& c : cases) {
        click(u"btn_togli_filtro"_s);
        type(QString::fromUtf16(c.edit), QString::fromUtf16(c.text));
        click(u"btn_filtra"_s);
        EXPECT_EQ(totals(), QString::fromUtf16(c.totals))
            << QString::fromUtf16(c.edit).toStdString();
    }
    click(u"btn_togli_filtro"_s);
    w<QComboBox>(u"cmb_causale"_s)->setCurrentText(u"Carico merce"_s);
    click(u"btn_filtra"_s);
    EXPECT_EQ(totals(), u"1 | 10,00 | 0,00 | 0"_s);
    w<QComboBox>(u"cmb_causale"_s)->setCurrentText(u"Tutti"_s);
    {
        QCheckBox* box = w<QCheckBox>(u"chk_quant_diversa_zero"_s);
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
    }
    click(u"btn_filtra"_s);
    EXPECT_EQ(totals(), u"5 | 20,00 | 1,75 | 3"_s);
    click(u"btn_togli_filtro"_s);
    EXPECT_EQ(totals(), u"6 | 20,00 | 1,75 | 3"_s);
}

TEST_F(MovementBrowser, YearArchiveIsBrowsedAndPrinted) {
    const QString old = dataFile(base.path(), u"dett_ddt25.db"_s);
    store->createEmptyCopy(lines, old);
    store->releaseAll();
    Probe::exec(
        old,
        u"INSERT INTO dett_ddt25 (ID, COD, DES, DATA, QUANT) VALUES (1, 'OLD', 'Vecchio', '2025-06-01', 7)"_s);
    open();
    QComboBox* archive = w<QComboBox>(u"cmb_archivio"_s);
    const int at = archive->findText(u"2025"_s);
    ASSERT_GE(at, 0);
    archive->setCurrentIndex(at);
    win->cmb_archivioChange();
    ASSERT_EQ(win->model().rowCount(), 1);
    EXPECT_EQ(cell(0, 2), u"OLD"_s);
    EXPECT_EQ(totals(), u"1 | 7,00 | 0,00 | 0"_s);
    click(u"btn_stampa"_s);
    EXPECT_TRUE(previewed.contains(u"Elenco movimenti di magazzino"_s));
    EXPECT_TRUE(previewed.contains(u"Archivio: 2025"_s));
    EXPECT_TRUE(previewed.contains(u"Vecchio"_s));
    EXPECT_TRUE(previewed.contains(u"7,00"_s));
}

TEST_F(MovementBrowser, DeletionTakesExactlyTheRowsItNamesFromTheBrowsedYear) {
    open();
    // DDT 11 with an empty customer: the two lines and the header without customer,
    // never DDT 11 of customer C1.
    type(u"edt_elimina_bolla"_s, u"11"_s);
    Dialogs::instance().reset();
    Dialogs::instance().queueAnswer(DlgButton::Ok);
    Dialogs::instance().queueAnswer(DlgButton::Ok);
    click(u"btn_elimina"_s);
    const auto& boxes = Dialogs::instance().shown();
    ASSERT_EQ(boxes.size(), 3);
    EXPECT_EQ(boxes[0].text,
              u"Esiste un DDT di scarico con questo numero, confermate la \r\ncancellazione dei "
              u"movimenti "
              "e del DDT associato?"_s);
    EXPECT_EQ(boxes[1].text,
              u"Confermate la cancellazione dei movimenti selezionati\n\rper DDT n° 11 del cliente "
              u"codice "
              "(nessun cliente)\r\n(2 righe di movimento e 1 testate DDT)"_s);
    EXPECT_EQ(Probe::count(lines), 4);
    const auto left = Probe::rows(headers, u"SELECT BOLLA, COD_CLI FROM ddt26 ORDER BY rowid"_s);
    ASSERT_EQ(left.size(), 2);
    EXPECT_EQ(left[1][1].toString(), u"C1"_s);
    EXPECT_EQ(win->model().rowCount(), 4);
    // Stock is not given back by this deletion; a cancelled question deletes nothing.
    const QString before = Probe::dump(lines) + Probe::dump(headers);
    type(u"edt_elimina_bolla"_s, u"10"_s);
    type(u"edt_elimina_cliente"_s, u"C1"_s);
    Dialogs::instance().reset();
    Dialogs::instance().queueAnswer(DlgButton::Ok);
    Dialogs::instance().queueAnswer(DlgButton::Cancel);
    click(u"btn_elimina"_s);
    EXPECT_EQ(Probe::dump(lines) + Probe::dump(headers), before);
}

TEST_F(MovementBrowser, DeletionWhoseLastWriteFailsDeletesNothingAndSaysSo) {
    Probe::exec(
        headers,
        u"CREATE TRIGGER fail_last BEFORE DELETE ON ddt26 BEGIN SELECT RAISE(ABORT, 'disco pieno'); END"_s);
    const QString before = Probe::dump(lines) + Probe::dump(headers);
    open();
    type(u"edt_elimina_bolla"_s, u"10"_s);
    type(u"edt_elimina_cliente"_s, u"C1"_s);
    Dialogs::instance().reset();
    Dialogs::instance().queueAnswer(DlgButton::Ok);
    Dialogs::instance().queueAnswer(DlgButton::Ok);
    click(u"btn_elimina"_s);
    EXPECT_EQ(Probe::dump(lines) + Probe::dump(headers), before);
    EXPECT_EQ(Dialogs::instance().shown().last().icon, MsgIcon::Error);
    EXPECT_TRUE(Dialogs::instance().shown().last().text.startsWith(
        u"Nessun movimento è stato cancellato."_s));
}

TEST_F(MovementBrowser, GridReadsOnlyTheWindowsItShows) {
    Probe::exec(lines,
                u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000) "
                "INSERT INTO dett_ddt26 (ID, COD, DATA, QUANT) SELECT 100 + i, printf('G%04d', i), "
                "date('2026-06-01', printf('+%d days', i % 100)), 1 FROM n"_s);
    open();
    MovementWindowModel& m = win->model();
    ASSERT_EQ(m.rowCount(), 3006);
    win->resize(800, 400);
    QTest::qWait(20);
    const int afterShow = m.windowsRead();
    EXPECT_LE(afterShow, 2);
    // The last row comes from its own window, still in date order.
    EXPECT_EQ(cell(3005, 0), u"08/09/2026"_s);
    EXPECT_EQ(m.windowsRead(), afterShow + 1);
    EXPECT_EQ(w<QLabel>(u"lbl_numero_movimenti"_s)->text(), u"3.006"_s);
}

}  // namespace
