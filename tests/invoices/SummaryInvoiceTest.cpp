#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>

#include "invoices/InvoiceRegistration.h"
#include "invoices/Tfrm_fattnew.h"
#include "store/Store.h"
#include "tests/WindowFixture.h"
#include "tests/invoices/InvoiceTestData.h"
#include "ui/DateEdit.h"
#include "ui/Dialogs.h"

using namespace zel;
using namespace zel::test;
using namespace Qt::Literals::StringLiterals;

namespace {

class SummaryInvoice : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        seed = std::make_unique<InvoiceSeed>(base.file(u"Dati"_s));
        seed->twoDdtOfC1();
        pinDate(QDate(2026, 4, 10));  // "mese scorso" is March
    }
    void TearDown() override {
        window.reset();
        WindowFixture::TearDown();
    }
    template <class T>
    T* w(const QString& name) {
        T* found = window->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }
    void click(const QString& name) { QTest::mouseClick(w<QPushButton>(name), Qt::LeftButton); }
    void type(const QString& name, const QString& text) {
        auto* e = w<QLineEdit>(name);
        e->clear();
        QTest::keyClicks(e, text);
    }
    QString text(const QString& name) { return w<QLineEdit>(name)->text(); }
    void open() {
        window = std::make_unique<Tfrm_fattnew>(ctx);
        window->FormShow();
        window->show();
    }
    // Steps 1 to 3 on the customer C1, March, invoice date 15/12/2026.
    void registerC1(const QString& number = {}) {
        if (!window) open();
        type(u"edt_cod_cli"_s, u"C1"_s);
        click(u"btn_avanti_cli"_s);
        click(u"btn_mese_scorso"_s);
        type(u"edt_data_fatt"_s, u"15/12/2026"_s);
        if (!number.isEmpty()) type(u"edt_num_fatt"_s, number);
        w<QComboBox>(u"cmb_tipodoc"_s)->setCurrentText(u"Fattura riepilogativa"_s);
        click(u"btn_avanti"_s);
        click(u"btn_conferma"_s);
    }
    QString snapshot() {
        return Probe::dump(seed->header()) + Probe::dump(seed->lines()) +
               Probe::dump(seed->deadlines()) + Probe::dump(seed->ddtHeader()) +
               Probe::dump(seed->ddtLines()) + Probe::dump(seed->warehouse());
    }
    bool shown(const QString& part) {
        for (const QString& t : Dialogs::instance().shownTexts())
            if (t.contains(part)) return true;
        return false;
    }
    std::unique_ptr<InvoiceSeed> seed;
    std::unique_ptr<Tfrm_fattnew> window;
};

TEST_F(SummaryInvoice, TwoDdtBecomeOneInvoiceWithItsTotalsAndDeadlines) {
    const QString stock = Probe::dump(seed->warehouse());
    Probe::exec(
        seed->file(u"note_fattura.db"_s),
        u"INSERT INTO note_fattura (ID, testo1, testo2, testo3) VALUES (1, 'Grazie', 'Riga due', '')"_s);
    registerC1();
    EXPECT_TRUE(shown(u"Il numero della ultima fattura registrata è 0"_s));
    EXPECT_EQ(text(u"edt_num_fatt"_s), u"1"_s);
    EXPECT_EQ(w<QTableWidget>(u"grid_ddt"_s)->rowCount(), 2);
    EXPECT_EQ(w<QTableWidget>(u"grid_righe"_s)->rowCount(), 4);
    ASSERT_EQ(window->step(), 4);

    const auto lines =
        Probe::rows(seed->lines(),
                    u"SELECT des, cod_cli, fattura, unitamis, quant, prezzotot, perc_iva "
                    u"FROM dett_fatture26 ORDER BY rowid"_s);
    ASSERT_EQ(lines.size(), 6);
    EXPECT_EQ(lines[0][0].toString(), u"DDT n. 7 del 05/03/2026"_s);
    EXPECT_EQ(
        Probe::rows(seed->lines(),
                    u"SELECT COUNT(*) FROM dett_fatture26 WHERE cod IS NULL OR unitamis IS NULL "
                    u"OR flag IS NULL"_s)
            .value(0)
            .value(0)
            .toInt(),
        0);
    EXPECT_EQ(lines[1][3].toString(), u"Conf."_s);  // the unit whole
    EXPECT_DOUBLE_EQ(lines[1][5].toDouble(), 135.0);
    EXPECT_EQ(lines[3][0].toString(), u"DDT n. 9 del 12/03/2026"_s);
    EXPECT_DOUBLE_EQ(lines[5][5].toDouble(), 7.75);
    for (const auto& l : lines) {
        EXPECT_EQ(l[1].toString(), u"C1"_s);
        EXPECT_EQ(l[2].toLongLong(), 1);
    }
    EXPECT_EQ(Probe::count(seed->header()), 1);

    type(u"ed_spese_imp"_s, u"10"_s);
    type(u"ed_spese_esiva"_s, u"2"_s);
    EXPECT_EQ(text(u"imp_netto"_s), u"241,72"_s);
    EXPECT_EQ(text(u"edt_iva3"_s), u"45,09"_s);
    EXPECT_EQ(text(u"edt_iva2"_s), u"2,90"_s);
    EXPECT_EQ(text(u"edt_iva1"_s), u"0,31"_s);
    EXPECT_EQ(text(u"tot_fatt"_s), u"292,02"_s);
    type(u"ed_sconto"_s, u"5"_s);
    EXPECT_EQ(text(u"tot_fatt"_s), u"277,52"_s);
    type(u"ed_sconto"_s, u""_s);

    w<QComboBox>(u"cmb_scadenza"_s)->setCurrentText(u"30-60-90-120 GG F.M."_s);
    const QStringList dates{text(u"edt_scad1"_s), text(u"edt_scad2"_s), text(u"edt_scad3"_s),
                            text(u"edt_scad4"_s)};
    EXPECT_EQ(dates,
              (QStringList{u"31/01/2027"_s, u"28/02/2027"_s, u"31/03/2027"_s, u"30/04/2027"_s}));
    const QStringList parts{text(u"edt_imp_scad1"_s), text(u"edt_imp_scad2"_s),
                            text(u"edt_imp_scad3"_s), text(u"edt_imp_scad4"_s)};
    EXPECT_EQ(parts, (QStringList{u"73,00"_s, u"73,00"_s, u"73,00"_s, u"73,02"_s}));
    QTest::mouseClick(w<QRadioButton>(u"rb_piu10"_s), Qt::LeftButton);
    const QStringList shifted{text(u"edt_scad1"_s), text(u"edt_scad2"_s), text(u"edt_scad3"_s),
                              text(u"edt_scad4"_s)};
    EXPECT_EQ(shifted,
              (QStringList{u"10/02/2027"_s, u"10/03/2027"_s, u"10/04/2027"_s, u"10/05/2027"_s}));

    click(u"btn_attiva"_s);
    const auto head =
        Probe::rows(seed->header(),
                    u"SELECT imp_tot, iva19, iva9, iva4, iva_tot, tot_fatt, spese, "
                    u"speseesiva, cscadpag1, cscadpag4, flagpag1, tipodoc FROM fatture26"_s);
    ASSERT_EQ(head.size(), 1);
    EXPECT_EQ(head[0][0].toDouble(), 241.72);
    EXPECT_EQ(head[0][1].toDouble(), 45.09);
    EXPECT_EQ(head[0][2].toDouble(), 2.90);
    EXPECT_EQ(head[0][3].toDouble(), 0.31);
    EXPECT_EQ(head[0][4].toDouble(), 48.30);
    EXPECT_EQ(head[0][5].toDouble(), 292.02);
    EXPECT_EQ(head[0][6].toDouble(), 10.0);
    EXPECT_EQ(head[0][7].toDouble(), 2.0);
    EXPECT_EQ(head[0][8].toString(), u"2027-02-10"_s);
    EXPECT_EQ(head[0][9].toString(), u"2027-05-10"_s);
    EXPECT_EQ(head[0][10].toInt(), 1);
    EXPECT_EQ(head[0][11].toString(), u"Fattura riepilogativa"_s);
    EXPECT_EQ(Probe::rows(seed->header(), u"SELECT note, note2 FROM fatture26"_s).value(0),
              (QVariantList{u"Grazie"_s, u"Riga due"_s}));

    click(u"btn_scadenzario"_s);
    const auto deadlines =
        Probe::rows(seed->deadlines(),
                    u"SELECT id, data, avere, pagato, fattura, cod_cli, des, des2 "
                    u"FROM scad ORDER BY id"_s);
    ASSERT_EQ(deadlines.size(), 4);  // every instalment, printed or not
    qint64 cents = 0;
    for (const auto& d : deadlines) cents += qRound64(d[2].toDouble() * 100);
    EXPECT_EQ(cents, 29202);
    EXPECT_EQ(deadlines[3][2].toDouble(), 73.02);
    EXPECT_EQ(deadlines[0][1].toString(), u"2027-02-10"_s);
    EXPECT_EQ(deadlines[0][3].toString(), u"N"_s);
    EXPECT_EQ(deadlines[0][6].toString(), u"Fattura riepilogativa N° 1 del 15/12/2026"_s);
    EXPECT_EQ(deadlines[0][7].toString(), u"Rossi Mario"_s);
    EXPECT_TRUE(shown(u"Sono state registrate le seguenti scadenze:"_s));
    EXPECT_TRUE(shown(u"10/05/2027 di € 73,02"_s));

    click(u"btn_scadenzario"_s);  // a second press adds nothing
    EXPECT_EQ(Probe::count(seed->deadlines()), 4);
    EXPECT_TRUE(shown(u"già nello scadenzario"_s));
    EXPECT_EQ(Probe::dump(seed->warehouse()), stock);

    // Printing goes through the invoice browser, on this invoice.
    qint64 browsed = 0;
    window->openBrowser = [&browsed](qint64 number, const QString& customer, const QDate& date) {
        EXPECT_EQ(customer, u"C1"_s);
        EXPECT_EQ(date, QDate(2026, 12, 15));
        browsed = number;
    };
    click(u"btn_stampa"_s);
    EXPECT_EQ(browsed, 1);
}

TEST_F(SummaryInvoice, LastLineInsertFailingLeavesNoHeaderAndNoLine) {
    Probe::exec(seed->lines(),
                u"CREATE TRIGGER fail_last BEFORE INSERT ON dett_fatture26 WHEN NEW.cod = 'A4' "
                u"BEGIN SELECT RAISE(ABORT, 'prova'); END"_s);
    const QString before = snapshot();
    registerC1();
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(Probe::count(seed->header()), 0);
    EXPECT_EQ(Probe::count(seed->lines()), 0);
    EXPECT_TRUE(shown(u"La fattura non è stata registrata."_s));
    EXPECT_EQ(window->step(), 3);
}

TEST_F(SummaryInvoice, ATypedNumberAlreadyInTheArchiveIsRefused) {
    Probe::exec(seed->header(),
                u"INSERT INTO fatture26 (FATTURA, COD_CLI, DATA) VALUES (4, 'C9', '2026-02-01')"_s);
    const QString before = snapshot();
    registerC1(u"4"_s);
    EXPECT_TRUE(shown(u"Esiste già una fattura con questo numero!"_s));
    EXPECT_EQ(snapshot(), before);
    EXPECT_FALSE(window->registeredNumber().has_value());
}

TEST_F(SummaryInvoice, ANumberTakenMeanwhileIsRefusedInsideTheTransaction) {
    InvoiceRegistration r(*store, *settings, InvoiceArchives::fromSettings(*settings, 2026));
    const InvoicePlan plan =
        r.plan(u"C1"_s, r.ddtsOf(u"C1"_s, QDate(2026, 3, 1), QDate(2026, 3, 31)));
    ASSERT_EQ(plan.lineCount(), 4);
    EXPECT_EQ(plan.totals.goods().cents(), 23172);
    Probe::exec(seed->header(),
                u"INSERT INTO fatture26 (FATTURA, COD_CLI, DATA) VALUES (1, 'C9', '2026-03-20')"_s);
    const QString before = snapshot();
    try {
        r.registerLines(plan, 1, QDate(2026, 3, 31), u"Fattura"_s);
        ADD_FAILURE() << "a taken number was written";
    } catch (const StoreError& e) {
        EXPECT_EQ(e.message(), InvoiceRegistration::takenMessage());
    }
    EXPECT_EQ(snapshot(), before);
}

TEST_F(SummaryInvoice, ADdtWithoutMatchingLinesIsNamedAndSkipped) {
    const QDate d(2026, 3, 20);
    seed->ddt(11, d, u"C1"_s, 10);
    Probe::exec(seed->ddtLines(),
                u"INSERT INTO dett_ddt26 (BOLLA, DATA, COD_CLI, COD, QUANT, PREZZONETT, PERC_IVA, "
                u"FATTURA, FLAG) VALUES (11, '2026-03-20', 'C1', 'Z', 1, 10, 22, 'S', 'X')"_s);
    registerC1();
    EXPECT_TRUE(shown(u"Non ci sono movimenti coerenti per questa bolla 11"_s));
    EXPECT_EQ(Probe::count(seed->lines()), 6);
}

TEST_F(SummaryInvoice, ALineAtARateOutsideTheThreeStopsRegistration) {
    seed->line(9, QDate(2026, 3, 12), u"C1"_s, u"A7"_s, 1, 50, 7);
    const QString before = snapshot();
    registerC1();
    EXPECT_EQ(snapshot(), before);
    EXPECT_TRUE(shown(u"DDT n. 9 del 12/03/2026, riga 3 (A7"_s));
    EXPECT_TRUE(shown(u"7%"_s));
}

TEST_F(SummaryInvoice, TheSameDdtInvoicedAgainIsAllowedWithAWarning) {
    registerC1();
    ASSERT_EQ(window->registeredNumber(), 1);
    click(u"btn_nuova"_s);
    EXPECT_EQ(window->step(), 1);
    Dialogs::instance().reset();
    registerC1();
    EXPECT_EQ(window->registeredNumber(), 2);
    EXPECT_TRUE(shown(u"Il DDT n. 7 del 05/03/2026 è già nella fattura n. 1."_s));
    EXPECT_EQ(Probe::count(seed->lines()), 12);
}

TEST_F(SummaryInvoice, FailedCompletionAndDeadlinesLeaveTheArchivesAsTheyWere) {
    registerC1();
    ASSERT_EQ(window->step(), 4);
    type(u"ed_spese_imp"_s, u"10"_s);
    Probe::exec(seed->header(),
                u"CREATE TRIGGER fail_upd BEFORE UPDATE ON fatture26 "
                u"BEGIN SELECT RAISE(ABORT, 'prova'); END"_s);
    QString before = snapshot();
    click(u"btn_attiva"_s);
    EXPECT_EQ(snapshot(), before);
    EXPECT_TRUE(shown(u"I dati della fattura non sono stati registrati."_s));

    w<QComboBox>(u"cmb_scadenza"_s)->setCurrentText(u"30-60-90 GG F.M."_s);
    Probe::exec(seed->deadlines(),
                u"CREATE TRIGGER fail_third BEFORE INSERT ON scad WHEN NEW.data = '2027-03-31' "
                u"BEGIN SELECT RAISE(ABORT, 'prova'); END"_s);
    before = snapshot();
    click(u"btn_scadenzario"_s);
    EXPECT_EQ(snapshot(), before);
    EXPECT_TRUE(shown(u"Le scadenze non sono state registrate."_s));
}

TEST_F(SummaryInvoice, InstalmentsThatDoNotAddUpToTheTotalAreNotWritten) {
    registerC1();
    ASSERT_EQ(window->step(), 4);
    w<QComboBox>(u"cmb_scadenza"_s)->setCurrentText(u"30-60 GG F.M."_s);
    EXPECT_EQ(text(u"edt_imp_scad1"_s), u"138,91"_s);
    EXPECT_EQ(text(u"edt_imp_scad2"_s), u"138,91"_s);
    type(u"edt_imp_scad2"_s, u"100"_s);
    click(u"btn_scadenzario"_s);
    EXPECT_EQ(Probe::count(seed->deadlines()), 0);
    EXPECT_TRUE(shown(u"non corrispondono al totale della fattura (€ 277,82)"_s));
    type(u"edt_imp_scad2"_s, u"138,91"_s);
    click(u"btn_scadenzario"_s);
    EXPECT_EQ(Probe::count(seed->deadlines()), 2);
}

TEST_F(SummaryInvoice, DefaultsPeriodButtonsAndAnnulla) {
    settings->setValue(u"Fatturazione", u"Tipo predefinito", u"Fattura differita"_s);
    settings->setValue(u"Fatturazione", u"Contrassegno predefinito", u"S"_s);
    open();
    auto* kinds = w<QComboBox>(u"cmb_tipodoc"_s);
    EXPECT_EQ(kinds->count(), 7);
    EXPECT_EQ(kinds->currentText(), u"Fattura differita"_s);
    EXPECT_EQ(w<QComboBox>(u"cmb_contrass"_s)->currentText(), u"S"_s);
    EXPECT_EQ(w<QComboBox>(u"cmb_scadenza"_s)->currentText(), u"30 GG F.M."_s);
    type(u"edt_cod_cli"_s, u"C1"_s);
    click(u"btn_avanti_cli"_s);
    EXPECT_EQ(window->step(), 2);
    EXPECT_EQ(text(u"edt_nome"_s), u"Rossi Mario"_s);
    click(u"btn_fine_mese"_s);
    EXPECT_EQ(text(u"edt_dal"_s), u"01/04/2026"_s);
    EXPECT_EQ(text(u"edt_al"_s), u"30/04/2026"_s);
    click(u"btn_mese_scorso"_s);
    EXPECT_EQ(text(u"edt_dal"_s), u"01/03/2026"_s);
    EXPECT_EQ(text(u"edt_al"_s), u"31/03/2026"_s);
    click(u"btn_annulla"_s);
    EXPECT_EQ(window->step(), 1);
    EXPECT_TRUE(text(u"edt_cod_cli"_s).isEmpty());
    EXPECT_TRUE(w<DateEdit>(u"edt_dal"_s)->isEmpty());
    EXPECT_TRUE(w<DateEdit>(u"edt_al"_s)->isEmpty());
}

TEST_F(SummaryInvoice, AnEmptyCustomerCodeIsAskedAbout) {
    open();
    Dialogs::instance().queueAnswer(DlgButton::No);
    click(u"btn_avanti_cli"_s);
    EXPECT_TRUE(shown(u"Confermi il codice cliente vuoto?"_s));
    EXPECT_EQ(window->step(), 1);
}

}  // namespace
