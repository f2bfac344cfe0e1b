#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>

#include "deadlines/DeadlineArchive.h"
#include "deadlines/DeadlineFields.h"
#include "deadlines/DeadlineListModel.h"
#include "deadlines/Tfiltra_scad.h"
#include "deadlines/Tfrm_scad.h"
#include "deadlines/Tfrm_scadenza.h"
#include "tests/WindowFixture.h"
#include "tests/store/SqliteProbe.h"
#include "ui/DateEdit.h"
#include "ui/Dialogs.h"

using namespace zel;
using namespace zel::test;
using namespace Qt::Literals::StringLiterals;

namespace {

class DeadlineWindows : public WindowFixture {
protected:
    void TearDown() override {
        card.reset();
        browser.reset();
        filter.reset();
        WindowFixture::TearDown();
    }
    QString scad() const { return data(u"scad.db"_s); }
    void row(int id, const QString& due, const QString& des, double dare, double avere,
             const QString& paid, const QString& payDate = {}) {
        Probe::exec(
            scad(),
            u"INSERT INTO scad (id, data, cod, des, dare, avere, pagato, datapag, cod_cli) VALUES "
            u"(%1, '%2', 'Contanti', '%3', %4, %5, '%6', %7, 'C1')"_s.arg(id)
                .arg(due, QString(des).replace(u"'"_s, u"''"_s))
                .arg(dare)
                .arg(avere)
                .arg(paid, payDate.isEmpty() ? u"NULL"_s : u"'"_s + payDate + u"'"_s));
    }
    template <class W>
    static void click(W* w, const QString& name) {
        auto* b = w->template findChild<QPushButton*>(name);
        ASSERT_NE(b, nullptr) << name.toStdString();
        QTest::mouseClick(b, Qt::LeftButton);
    }
    template <class W>
    static void type(W* w, const QString& name, const QString& text) {
        auto* e = w->template findChild<QLineEdit*>(name);
        ASSERT_NE(e, nullptr) << name.toStdString();
        e->clear();
        QTest::keyClicks(e, text);
        QTest::keyClick(e, Qt::Key_Tab);
    }
    QList<QVariantList> stored() {
        return Probe::rows(scad(),
                           u"SELECT id, data, avere, pagato, cod FROM scad ORDER BY rowid"_s);
    }
    void openCard() {
        card = std::make_unique<Tfrm_scadenza>(ctx);
        card->FormShow();
    }
    // A new deadline of 30/01/2026, avere 100,00, "Ricevuta Bancaria", in the given paid state.
    void newDeadline(const QString& paid) {
        click(card.get(), u"btn_nuovo"_s);
        type(card.get(), u"edt_data"_s, u"30/01/2026"_s);
        card->findChild<QComboBox*>(u"cmb_cod"_s)->setCurrentText(u"Ricevuta Bancaria"_s);
        type(card.get(), u"edt_avere"_s, u"100,00"_s);
        card->findChild<QComboBox*>(u"cmb_pagato"_s)->setCurrentText(paid);
        click(card.get(), u"btn_conferma"_s);
    }
    void repeatMonthly(bool endOfMonth) {
        QTest::mouseClick(card->findChild<QCheckBox*>(u"chk_ripetizione"_s), Qt::LeftButton);
        card->findChild<QCheckBox*>(u"chk_fine_mese"_s)->setChecked(endOfMonth);
        type(card.get(), u"edt_dal"_s, u"30/01/2026"_s);
        type(card.get(), u"edt_al"_s, u"31/05/2026"_s);
        click(card.get(), u"btn_genera"_s);
    }

    std::unique_ptr<Tfrm_scadenza> card;
    std::unique_ptr<Tfrm_scad> browser;
    std::unique_ptr<Tfiltra_scad> filter;
};

TEST_F(DeadlineWindows, EmptyArchiveGivesIdOneAndRepetitionMakesUnpaidCopies) {
    struct Case {
        bool endOfMonth;
        QStringList dates;
    };
    const QList<Case> cases{
        {false, {u"2026-02-28"_s, u"2026-03-30"_s, u"2026-04-30"_s, u"2026-05-30"_s}},
        {true, {u"2026-02-28"_s, u"2026-03-31"_s, u"2026-04-30"_s, u"2026-05-31"_s}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.endOfMonth);
        Probe::exec(scad(), u"DELETE FROM scad"_s);
        openCard();
        click(card.get(), u"btn_nuovo"_s);
        EXPECT_EQ(card->findChild<QLabel*>(u"lbl_id"_s)->text(), u"1"_s);
        newDeadline(u"S"_s);
        Dialogs::instance().reset();
        repeatMonthly(c.endOfMonth);
        const auto rows = stored();
        ASSERT_EQ(rows.size(), 5);
        EXPECT_EQ(rows[0][0].toInt(), 1);
        EXPECT_EQ(rows[0][3].toString(), u"S"_s);
        for (int i = 1; i < 5; ++i) {
            EXPECT_EQ(rows[i][0].toInt(), i + 1);
            EXPECT_EQ(rows[i][1].toString(), c.dates[i - 1]);
            EXPECT_EQ(rows[i][2].toDouble(), 100.0);
            EXPECT_EQ(rows[i][3].toString(), u"N"_s);
            EXPECT_EQ(rows[i][4].toString(), u"Ricevuta Bancaria"_s);
        }
        EXPECT_TRUE(
            Dialogs::instance().shownTexts().contains(u"Sono state generate 4 scadenze."_s));
    }
}

TEST_F(DeadlineWindows, PaidTwiceChangesNothingMore) {
    openCard();
    newDeadline(u"N"_s);
    EXPECT_EQ(card->findChild<QLabel*>(u"lbl_pagato"_s)->text(), u"Non pagato"_s);
    click(card.get(), u"btn_pagato"_s);
    const QString once = Probe::dump(scad());
    EXPECT_EQ(card->findChild<QLabel*>(u"lbl_pagato"_s)->text(), u"Pagato"_s);
    EXPECT_EQ(stored()[0][3].toString(), u"S"_s);
    click(card.get(), u"btn_pagato"_s);
    EXPECT_EQ(Probe::dump(scad()), once);
}

TEST_F(DeadlineWindows, FailedRepetitionLeavesArchiveAndSaysSo) {
    openCard();
    newDeadline(u"N"_s);
    Probe::exec(scad(),
                u"CREATE TRIGGER guasto BEFORE INSERT ON scad WHEN NEW.data = '2026-05-30' "
                u"BEGIN SELECT RAISE(ABORT, 'guasto'); END"_s);
    const QString withTrigger = Probe::dump(scad());
    Dialogs::instance().reset();
    repeatMonthly(false);
    EXPECT_EQ(Probe::dump(scad()), withTrigger);
    ASSERT_FALSE(Dialogs::instance().shown().isEmpty());
    EXPECT_TRUE(Dialogs::instance().shown().last().text.startsWith(
        u"Nessuna scadenza è stata generata."_s));
}

TEST_F(DeadlineWindows, RepetitionDatesCountFromTheFirstDate) {
    struct Case {
        Repetition r;
        QList<QDate> expected;
    };
    const QList<Case> cases{
        {{false, false, QDate(2026, 1, 31), QDate(2026, 4, 30)},
         {QDate(2026, 2, 28), QDate(2026, 3, 31), QDate(2026, 4, 30)}},
        {{false, true, QDate(2028, 1, 31), QDate(2028, 3, 31)},
         {QDate(2028, 2, 29), QDate(2028, 3, 31)}},
        {{true, false, QDate(2024, 2, 29), QDate(2026, 3, 1)},
         {QDate(2025, 2, 28), QDate(2026, 2, 28)}},
        {{false, false, QDate(2026, 1, 15), QDate(2026, 2, 14)}, {}},
    };
    for (const Case& c : cases) EXPECT_EQ(DeadlineArchive::repetitionDates(c.r), c.expected);
}

TEST_F(DeadlineWindows, DaysCountFromPaymentDateWhenSetAfter1900) {
    pinDate(QDate(2026, 3, 10));
    row(1, u"2026-03-20"_s, u"a"_s, 0, 10, u"N"_s);
    row(2, u"2026-03-20"_s, u"b"_s, 0, 10, u"N"_s, u"2026-03-05"_s);
    row(3, u"2026-03-20"_s, u"c"_s, 0, 10, u"N"_s, u"1900-01-01"_s);
    openCard();
    click(card.get(), u"btn_inizio"_s);
    const QStringList expected{u"10"_s, u"-5"_s, u"10"_s};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(card->findChild<QLabel*>(u"lbl_giorni"_s)->text(), expected[i]) << i;
        if (i < 2) click(card.get(), u"btn_avanti"_s);
    }
    // A click on a payment date before 1900 puts today there; 01/01/1900 itself stays.
    auto* payDate = card->findChild<DateEdit*>(u"edt_datapag"_s);
    QTest::mouseClick(payDate, Qt::LeftButton);
    EXPECT_EQ(payDate->date(), QDate(1900, 1, 1));
    payDate->setDate(QDate(1899, 12, 30));
    QTest::mouseClick(payDate, Qt::LeftButton);
    EXPECT_EQ(payDate->date(), QDate(2026, 3, 10));
}

TEST_F(DeadlineWindows, KindIsLimitedToItsColumn) {
    openCard();
    auto* kind = card->findChild<QComboBox*>(u"cmb_cod"_s);
    EXPECT_EQ(kind->lineEdit()->maxLength(), 30);
}

TEST_F(DeadlineWindows, CardDeletesAfterItsQuestion) {
    row(7, u"2026-03-01"_s, u"primo"_s, 5, 0, u"N"_s);
    row(7, u"2026-03-02"_s, u"secondo"_s, 6, 0, u"N"_s);
    openCard();
    click(card.get(), u"btn_inizio"_s);
    Dialogs::instance().queueAnswer(DlgButton::No);
    click(card.get(), u"btn_cancella"_s);
    EXPECT_EQ(Probe::count(scad()), 2);
    EXPECT_EQ(
        Dialogs::instance().shown().last().text,
        u"Confermi la cancellazione IRREVERSIBILE\r\ndella scadenza n. 7\r\ndel 01/03/2026 ?"_s);
    Dialogs::instance().queueAnswer(DlgButton::Yes);
    click(card.get(), u"btn_cancella"_s);
    const auto rows = Probe::rows(scad(), u"SELECT id, des FROM scad"_s);
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0][1].toString(), u"secondo"_s);
    EXPECT_TRUE(card->toolTip().endsWith(u" scadenze: 1"_s));
}

TEST_F(DeadlineWindows, BrowserHides1900AndColoursOverdueUnpaidRows) {
    pinDate(QDate(2026, 3, 10));
    row(1, u"2026-03-09"_s, u"scaduta"_s, 0, 10, u"N"_s);
    row(2, u"2026-03-09"_s, u"pagata"_s, 0, 10, u"S"_s);
    row(3, u"2026-03-09"_s, u"acconto"_s, 0, 10, u"A"_s);
    row(4, u"2026-03-10"_s, u"oggi"_s, 0, 10, u" n"_s);
    row(5, u"1900-01-01"_s, u"vecchia"_s, 0, 10, u"N"_s);
    row(6, u"1899-12-31"_s, u"vecchissima"_s, 0, 10, u"N"_s);
    browser = std::make_unique<Tfrm_scad>(ctx);
    browser->FormShow();
    auto* grid = browser->findChild<QTableView*>(u"grid_scad"_s);
    ASSERT_EQ(grid->model()->rowCount(), 4);
    for (int r = 0; r < 4; ++r) {
        const QString des = grid->model()->index(r, 3).data().toString();
        const QColor c = grid->model()->index(r, 3).data(Qt::ForegroundRole).value<QColor>();
        EXPECT_EQ(c == QColor(Qt::red), des == u"scaduta"_s) << des.toStdString();
    }
}

TEST_F(DeadlineWindows, BrowserFiltersBindTheirValues) {
    row(1, u"2026-03-01"_s, u"L'acconto 50%"_s, 0, 10, u"N"_s, u"2026-03-05"_s);
    row(2, u"2026-03-02"_s, u"L'acconto 50x"_s, 0, 10, u"N"_s, u"2026-04-05"_s);
    row(3, u"2026-04-02"_s, u"Affitto"_s, 0, 10, u"N"_s, u"2026-04-05"_s);
    browser = std::make_unique<Tfrm_scad>(ctx);
    browser->FormShow();
    auto* grid = browser->findChild<QTableView*>(u"grid_scad"_s);
    auto* state = browser->findChild<QLabel*>(u"lbl_filtro"_s);
    EXPECT_EQ(state->text(), u"non attivo"_s);
    type(browser.get(), u"edt_filtro_des"_s, u"'acconto 50%"_s);
    click(browser.get(), u"btn_imposta_filtri"_s);
    EXPECT_EQ(state->text(), u"attivo"_s);
    ASSERT_EQ(grid->model()->rowCount(), 1);
    EXPECT_EQ(grid->model()->index(0, 3).data().toString(), u"L'acconto 50%"_s);

    browser->findChild<QLineEdit*>(u"edt_filtro_des"_s)->clear();
    browser->findChild<QCheckBox*>(u"chk_pag_dal"_s)->setChecked(true);
    type(browser.get(), u"edt_pag_dal"_s, u"01/04/2026"_s);
    click(browser.get(), u"btn_imposta_filtri"_s);
    EXPECT_EQ(grid->model()->rowCount(), 2);
    click(browser.get(), u"btn_azzera_filtri"_s);
    EXPECT_EQ(state->text(), u"non attivo"_s);
    EXPECT_EQ(grid->model()->rowCount(), 3);
}

TEST_F(DeadlineWindows, BrowserEditsByRowidAndPrintsTotals) {
    row(3, u"2026-03-01"_s, u"Fornitore"_s, 120.5, 0, u"N"_s);
    row(3, u"2026-03-02"_s, u"Cliente"_s, 10, 80.25, u"S"_s);
    browser = std::make_unique<Tfrm_scad>(ctx);
    QString printed;
    browser->showPreview = [&printed](const report::PageModel& m) { printed = m.text(); };
    browser->FormShow();
    browser->selectRow(1);
    type(browser.get(), u"edt_des"_s, u"Cliente rivisto"_s);
    click(browser.get(), u"btn_conferma"_s);
    const auto rows = Probe::rows(scad(), u"SELECT des FROM scad ORDER BY rowid"_s);
    EXPECT_EQ(rows[0][0].toString(), u"Fornitore"_s);
    EXPECT_EQ(rows[1][0].toString(), u"Cliente rivisto"_s);
    click(browser.get(), u"btn_stampa"_s);
    EXPECT_TRUE(printed.contains(u"120,50"_s));
    EXPECT_TRUE(printed.contains(u"130,50"_s));  // total of dare
    EXPECT_TRUE(printed.contains(u"80,25"_s));
    EXPECT_TRUE(printed.contains(u"Cliente rivisto"_s));

    Dialogs::instance().queueAnswer(DlgButton::Yes);
    click(browser.get(), u"btn_cancella"_s);
    EXPECT_EQ(
        Dialogs::instance().shown().last().text,
        u"Confermi la cancellazione IRREVERSIBILE\r\ndella scadenza di Cliente rivisto\r\ndel 02/03/2026 ?"_s);
    EXPECT_EQ(Probe::count(scad()), 1);
}

TEST_F(DeadlineWindows, FilterWindowCountsListsAndRefusesEmptyPrint) {
    for (int i = 1; i <= 6; ++i)
        row(i, u"2026-0%1-10"_s.arg(i), u"Rata %1"_s.arg(i), 0, 10 * i, u"N"_s);
    filter = std::make_unique<Tfiltra_scad>(ctx);
    bool previewed = false;
    filter->showPreview = [&previewed](const report::PageModel&) { previewed = true; };
    filter->FormShow();
    type(filter.get(), u"edt_dal"_s, u"01/02/2026"_s);
    type(filter.get(), u"edt_al"_s, u"30/04/2026"_s);
    click(filter.get(), u"btn_elenca"_s);
    EXPECT_EQ(filter->findChild<QLabel*>(u"lbl_conteggio"_s)->text(),
              u"Sono presenti 3 elementi su un totale di 6"_s);
    EXPECT_EQ(filter->findChild<QTableView*>(u"grid_elenco"_s)->model()->rowCount(), 3);
    click(filter.get(), u"btn_stampa"_s);
    EXPECT_TRUE(previewed);

    previewed = false;
    type(filter.get(), u"edt_des"_s, u"nessuna"_s);
    click(filter.get(), u"btn_stampa"_s);
    EXPECT_FALSE(previewed);
    EXPECT_EQ(Dialogs::instance().shown().last().text,
              u"Non ci sono scadenze che soddisfano il filtro di ricerca"_s);
}

TEST_F(DeadlineWindows, CtrlAltITakesTheVatOutOfAnAmount) {
    settings->setValue(u"Magazzino"_s, u"Perc IVA predefinita"_s, 22);
    openCard();
    click(card.get(), u"btn_nuovo"_s);
    auto* dare = card->findChild<QLineEdit*>(u"edt_dare"_s);
    dare->clear();
    QTest::keyClicks(dare, u"1220,00"_s);
    QTest::keyClick(dare, Qt::Key_I, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(dare->text(), u"1000,00"_s);
}

TEST_F(DeadlineWindows, FailedBrowserWritesLeaveTheArchiveAndSaySo) {
    row(1, u"2026-03-01"_s, u"Affitto"_s, 500, 0, u"N"_s);
    Probe::exec(
        scad(),
        u"CREATE TRIGGER guasto_u BEFORE UPDATE ON scad BEGIN SELECT RAISE(ABORT, 'guasto'); END"_s);
    Probe::exec(
        scad(),
        u"CREATE TRIGGER guasto_d BEFORE DELETE ON scad BEGIN SELECT RAISE(ABORT, 'guasto'); END"_s);
    browser = std::make_unique<Tfrm_scad>(ctx);
    browser->FormShow();
    const QString before = Probe::dump(scad());
    type(browser.get(), u"edt_des"_s, u"Affitto marzo"_s);
    click(browser.get(), u"btn_conferma"_s);
    EXPECT_EQ(Probe::dump(scad()), before);
    EXPECT_TRUE(
        Dialogs::instance().shown().last().text.startsWith(u"La scadenza non è stata salvata."_s));
    Dialogs::instance().queueAnswer(DlgButton::Yes);
    click(browser.get(), u"btn_cancella"_s);
    EXPECT_EQ(Probe::dump(scad()), before);
    EXPECT_TRUE(Dialogs::instance().shown().last().text.startsWith(
        u"La scadenza non è stata cancellata."_s));
}

TEST_F(DeadlineWindows, PartyDoubleClickTakesTheSearchedCodeAndShowsItsDetails) {
    Probe::exec(data(u"anagrafica.db"_s),
                u"INSERT INTO anagrafica (cod_cli, nome, via, citta, tel) VALUES "
                u"('ROSSI', 'Rossi Srl', 'Via Roma 1', 'Torino', '011 555')"_s);
    openCard();
    auto* fields = card->findChild<DeadlineFields*>();
    ASSERT_NE(fields, nullptr);
    fields->pickParty = [] { return u"ROSSI"_s; };
    QTest::mouseDClick(fields->cmb_cod_for->lineEdit(), Qt::LeftButton);
    EXPECT_EQ(fields->cmb_cod_for->currentText(), u"ROSSI"_s);
    EXPECT_EQ(card->findChild<QLabel*>(u"lbl_dati_cli"_s)->text(),
              u"Via Roma 1 - Torino - Tel. 011 555"_s);
    // Typing filters the list by the code's beginning.
    fields->cmb_cod_for->setEditText(QString());
    QTest::keyClicks(fields->cmb_cod_for->lineEdit(), u"ro"_s);
    EXPECT_EQ(fields->cmb_cod_for->findText(u"ROSSI"_s) >= 0, true);
}

TEST_F(DeadlineWindows, CardSearchesOneDateAndResets) {
    row(1, u"2026-03-01"_s, u"primo"_s, 5, 0, u"N"_s);
    row(2, u"2026-03-02"_s, u"secondo"_s, 6, 0, u"N"_s);
    row(3, u"2026-03-02"_s, u"terzo"_s, 7, 0, u"N"_s);
    openCard();
    type(card.get(), u"edt_cerca_data"_s, u"02/03/2026"_s);
    click(card.get(), u"btn_cerca"_s);
    EXPECT_EQ(card->list().size(), 2);
    EXPECT_EQ(card->shown().des, u"secondo"_s);
    click(card.get(), u"btn_reset"_s);
    EXPECT_EQ(card->list().size(), 3);
    EXPECT_EQ(card->shown().des, u"primo"_s);
}

TEST_F(DeadlineWindows, BrowserSortsByTitleAndSetsTodayInTheDateFilters) {
    pinDate(QDate(2026, 3, 10));
    row(1, u"2026-03-01"_s, u"Zeta"_s, 5, 0, u"N"_s);
    row(2, u"2026-03-02"_s, u"Alfa"_s, 6, 0, u"N"_s);
    browser = std::make_unique<Tfrm_scad>(ctx);
    browser->FormShow();
    auto* grid = browser->findChild<QTableView*>(u"grid_scad"_s);
    EXPECT_EQ(grid->model()->index(0, 3).data().toString(), u"Zeta"_s);
    browser->gridTitleClick(static_cast<int>(DeadlineArchive::columns().indexOf(u"DES"_s)));
    EXPECT_EQ(grid->model()->index(0, 3).data().toString(), u"Alfa"_s);
    click(browser.get(), u"btn_oggi"_s);
    for (const char16_t* name : {u"edt_data_dal", u"edt_data_al", u"edt_pag_dal", u"edt_pag_al"})
        EXPECT_EQ(browser->findChild<DateEdit*>(QString::fromUtf16(name))->date(),
                  QDate(2026, 3, 10));
    EXPECT_FALSE(browser->findChild<QPushButton*>(u"btn_analisi"_s)->isEnabled());
}

TEST_F(DeadlineWindows, FilterWindowCriteriaAndOrder) {
    Probe::exec(scad(),
                u"INSERT INTO scad (id, data, cod, banca, des, des2, pagato) VALUES "
                u"(1, '2026-03-01', 'Contanti', 'Banca Uno', 'Bolletta luce', 'rif A', 'N'), "
                u"(2, '2026-03-02', 'Ricevuta Bancaria', 'Banca Due', 'Affitto', 'rif B', 'S'), "
                u"(3, '2026-03-03', 'Ricevuta Bancaria', 'Banca Uno', 'Canone', 'rif C', 'A')"_s);
    filter = std::make_unique<Tfiltra_scad>(ctx);
    filter->FormShow();
    struct Case {
        QString kind, bank, paid, des;
        int order;
        QList<qint64> ids;
    };
    const QList<Case> cases{
        {u"ricevuta"_s, {}, {}, {}, 0, {2, 3}},
        {{}, u"uno"_s, {}, {}, 2, {1, 3}},
        {{}, {}, u"A. Acconto versato"_s, {}, 0, {3}},
        {{}, {}, {}, u"LUCE"_s, 0, {1}},
        {{}, {}, {}, {}, 1, {2, 1, 3}},
    };
    for (const Case& c : cases) {
        filter->findChild<QComboBox*>(u"cmb_tipologia"_s)->setCurrentText(c.kind);
        filter->findChild<QComboBox*>(u"cmb_banca"_s)->setCurrentText(c.bank);
        filter->findChild<QComboBox*>(u"cmb_pagato"_s)->setCurrentText(c.paid);
        filter->findChild<QLineEdit*>(u"edt_des"_s)->setText(c.des);
        filter->findChild<QComboBox*>(u"cmb_ordina"_s)->setCurrentIndex(c.order);
        click(filter.get(), u"btn_elenca"_s);
        auto* grid = filter->findChild<QTableView*>(u"grid_elenco"_s);
        QList<qint64> ids;
        for (int r = 0; r < grid->model()->rowCount(); ++r)
            ids << grid->model()->index(r, 0).data().toLongLong();
        EXPECT_EQ(ids, c.ids) << c.kind.toStdString() << c.bank.toStdString()
                              << c.des.toStdString();
    }
}

}  // namespace
