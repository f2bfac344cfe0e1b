#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTest>

#include "documents/DueDates.h"
#include "invoices/InvoiceRegistration.h"
#include "invoices/Tscorre_fatt.h"
#include "tests/WindowFixture.h"
#include "tests/invoices/InvoiceTestData.h"
#include "ui/DateEdit.h"
#include "ui/Dialogs.h"

using namespace zel;
using namespace zel::test;
using namespace Qt::Literals::StringLiterals;

namespace {

class InvoiceBrowserWindow : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        seed = std::make_unique<InvoiceSeed>(base.file(u"Dati"_s));
        seed->twoDdtOfC1();
        registerC1();
        // Invoice 2 of C2, paid; invoice 3 of C1, a credit note without deadlines.
        invoice(2, u"C2"_s, u"2026-11-10"_s, u"Fattura"_s, 100, 22, 122);
        invoice(3, u"C1"_s, u"2026-12-20"_s, u"Nota di accredito"_s, 10, 2.2, 12.2);
        deadline(2, u"C2"_s, u"2026-11-10"_s, u"2026-12-31"_s, 122, u"S"_s);
        // Invoice 1 of C1 of the year before: its deadline is not this invoice's.
        deadline(1, u"C1"_s, u"2025-12-15"_s, u"2026-01-31"_s, 50, u"N"_s);
    }
    void TearDown() override {
        window.reset();
        WindowFixture::TearDown();
    }
    void registerC1() {
        InvoiceRegistration reg(*store, *settings, InvoiceArchives::fromSettings(*settings));
        InvoicePlan plan =
            reg.plan(u"C1"_s, reg.ddtsOf(u"C1"_s, QDate(2026, 3, 1), QDate(2026, 3, 31)));
        const QDate date(2026, 12, 15);
        reg.registerLines(plan, 1, date, u"Fattura riepilogativa"_s);
        DocumentTotals t = plan.totals;
        t.setTaxableExpenses(Money::fromCents(1000));
        t.setExemptExpenses(Money::fromCents(200));
        InvoiceFooter f;
        f.date = date;
        f.tipodoc = u"Fattura riepilogativa"_s;
        f.taxableExpenses = Money::fromCents(1000);
        f.exemptExpenses = Money::fromCents(200);
        f.paymentMethod = u"Ri.Ba."_s;
        f.paymentTerm = u"30-60-90-120 GG F.M."_s;
        f.dueDates = DueDates::dates(f.paymentTerm, date).value_or(QList<QDate>{});
        f.instalments = DueDates::instalments(t.total(), static_cast<int>(f.dueDates.size()));
        reg.complete(1, u"C1"_s, t, f);
        ASSERT_TRUE(reg.writeDeadlines(1, u"C1"_s, f));
    }
    void invoice(int n, const QString& cli, const QString& date, const QString& kind,
                 double taxable, double vat, double total) {
        Probe::exec(
            seed->header(),
            u"INSERT INTO fatture26 (fattura, cod_cli, data, tipodoc, imp_tot, iva_tot, tot_fatt) "
            u"VALUES (%1, '%2', '%3', '%4', %5, %6, %7)"_s.arg(n)
                .arg(cli, date, kind)
                .arg(taxable)
                .arg(vat)
                .arg(total));
        Probe::exec(
            seed->lines(),
            u"INSERT INTO dett_fatture26 (fattura, cod_cli, cod, des, quant, prezzo, prezzonett, "
            u"perc_iva) VALUES (%1, '%2', 'X%1', 'Riga della fattura %1', 1, %3, %3, 22)"_s.arg(n)
                .arg(cli)
                .arg(taxable));
    }
    void deadline(int n, const QString& cli, const QString& invoiceDate, const QString& due,
                  double amount, const QString& paid) {
        Probe::exec(
            seed->deadlines(),
            u"INSERT INTO scad (data, cod_cli, des, avere, pagato, fattura, data_fatt) VALUES "
            u"('%1', '%2', 'Rata', %3, '%4', %5, '%6')"_s.arg(due, cli)
                .arg(amount)
                .arg(paid)
                .arg(n)
                .arg(invoiceDate));
    }
    void open() {
        window = std::make_unique<Tscorre_fatt>(ctx);
        window->showPreview = [this](const report::PageModel& m, int copies) {
            previewed = m.text();
            previewCopies = copies;
        };
        window->FormShow();
        window->show();
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
    QStringList listed(int column) {
        QStringList out;
        auto* grid = w<QTableView>(u"grid_fatture"_s);
        for (int r = 0; r < grid->model()->rowCount(); ++r)
            out << grid->model()->index(r, column).data().toString();
        return out;
    }
    void selectNumber(qint64 n) {
        const QStringList numbers = listed(InvoiceListModel::Numero);
        const int row = static_cast<int>(numbers.indexOf(QString::number(n)));
        ASSERT_GE(row, 0);
        auto* grid = w<QTableView>(u"grid_fatture"_s);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->visualRect(grid->model()->index(row, 1)).center());
        ASSERT_EQ(window->currentKey()->number, n);
    }
    QString snapshot() {
        return Probe::dump(seed->header()) + Probe::dump(seed->lines()) +
               Probe::dump(seed->deadlines());
    }
    bool shown(const QString& part) {
        for (const QString& t : Dialogs::instance().shownTexts())
            if (t.contains(part)) return true;
        return false;
    }
    std::unique_ptr<InvoiceSeed> seed;
    std::unique_ptr<Tscorre_fatt> window;
    QString previewed;
    int previewCopies = 0;
};

TEST_F(InvoiceBrowserWindow, ListsNewestFirstWithFiguresPaymentStateAndTheCurrentLines) {
    open();
    EXPECT_EQ(listed(InvoiceListModel::Numero), (QStringList{u"3"_s, u"1"_s, u"2"_s}));
    EXPECT_EQ(listed(InvoiceListModel::Data),
              (QStringList{u"20/12/2026"_s, u"15/12/2026"_s, u"10/11/2026"_s}));
    EXPECT_EQ(listed(InvoiceListModel::Nome),
              (QStringList{u"Rossi Mario"_s, u"Rossi Mario"_s, u"Bianchi Srl"_s}));
    EXPECT_EQ(listed(InvoiceListModel::Imponibile),
              (QStringList{u"10,00"_s, u"241,72"_s, u"100,00"_s}));
    EXPECT_EQ(listed(InvoiceListModel::Iva), (QStringList{u"2,20"_s, u"48,30"_s, u"22,00"_s}));
    EXPECT_EQ(listed(InvoiceListModel::Totale),
              (QStringList{u"12,20"_s, u"292,02"_s, u"122,00"_s}));
    EXPECT_EQ(listed(InvoiceListModel::Pagamento),
              (QStringList{u"Nessuna scadenza"_s, u"Da pagare"_s, u"Pagata"_s}));
    EXPECT_EQ(w<QLabel>(u"lbl_conta"_s)->text(), u"Fatture: 3"_s);

    selectNumber(1);
    auto* lines = w<QTableWidget>(u"grid_righe"_s);
    ASSERT_EQ(lines->rowCount(), 6);
    EXPECT_EQ(lines->item(0, 1)->text(), u"DDT n. 7 del 05/03/2026"_s);
    EXPECT_EQ(lines->item(0, 3)->text(), QString());  // a heading line shows its text only
    EXPECT_EQ(lines->item(1, 7)->text(), u"135,00"_s);

    Probe::exec(seed->deadlines(),
                u"UPDATE scad SET pagato = 'S' WHERE fattura = 1 AND data = '2027-01-31'"_s);
    click(u"btn_set_filtro"_s);
    EXPECT_EQ(listed(InvoiceListModel::Pagamento)[1], u"Pagata in parte"_s);
}

struct FilterCase {
    const char* name;
    const char16_t* customer;
    const char16_t* from;
    const char16_t* to;
    const char16_t* number;
    const char16_t* kind;
    QStringList expected;
};

class InvoiceBrowserFilters : public InvoiceBrowserWindow,
                              public ::testing::WithParamInterface<FilterCase> {};

TEST_P(InvoiceBrowserFilters, NarrowTheList) {
    open();
    const FilterCase& c = GetParam();
    type(u"edt_filtro_cliente"_s, QString::fromUtf16(c.customer));
    type(u"edt_filtro_dal"_s, QString::fromUtf16(c.from));
    type(u"edt_filtro_al"_s, QString::fromUtf16(c.to));
    type(u"edt_filtro_numero"_s, QString::fromUtf16(c.number));
    w<QComboBox>(u"cmb_filtro_tipo"_s)->setCurrentText(QString::fromUtf16(c.kind));
    click(u"btn_set_filtro"_s);
    EXPECT_EQ(listed(InvoiceListModel::Numero), c.expected);
    click(u"btn_reset_filtro"_s);
    EXPECT_EQ(listed(InvoiceListModel::Numero).size(), 3);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, InvoiceBrowserFilters,
    ::testing::Values(FilterCase{"Customer", u"c1", u"", u"", u"", u"", {u"3"_s, u"1"_s}},
                      FilterCase{
                          "DateRange", u"", u"01/12/2026", u"16/12/2026", u"", u"", {u"1"_s}},
                      FilterCase{"Number", u"", u"", u"", u"2", u"", {u"2"_s}},
                      FilterCase{"Kind", u"", u"", u"", u"", u"Nota di accredito", {u"3"_s}},
                      FilterCase{"Nothing", u"C2", u"", u"", u"1", u"", {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(InvoiceBrowserWindow, DeletionTakesHeaderLinesAndItsDeadlinesOnly) {
    open();
    selectNumber(1);
    Dialogs::instance().queueAnswer(DlgButton::Yes);
    click(u"btn_elimina_fattura"_s);
    EXPECT_TRUE(shown(u"La fattura n. 1 è stata eliminata con 6 righe e 4 scadenze."_s));
    EXPECT_EQ(Probe::count(seed->header()), 2);
    EXPECT_EQ(
        Probe::rows(seed->lines(), u"SELECT COUNT(*) FROM dett_fatture26 WHERE fattura = 1"_s)[0][0]
            .toInt(),
        0);
    const auto left =
        Probe::rows(seed->deadlines(), u"SELECT fattura, data_fatt FROM scad ORDER BY fattura"_s);
    ASSERT_EQ(left.size(), 2);  // invoice 2's, and the year-before invoice 1's
    EXPECT_EQ(left[0][1].toString(), u"2025-12-15"_s);
    EXPECT_EQ(listed(InvoiceListModel::Numero), (QStringList{u"3"_s, u"2"_s}));
}

TEST_F(InvoiceBrowserWindow, APaidDeadlineStopsTheDeletionNamingIt) {
    Probe::exec(seed->deadlines(),
                u"UPDATE scad SET pagato = 'S' WHERE fattura = 1 AND data = '2027-02-28'"_s);
    open();
    selectNumber(1);
    const QString before = snapshot();
    Dialogs::instance().queueAnswer(DlgButton::Yes);
    click(u"btn_elimina_fattura"_s);
    EXPECT_TRUE(shown(u"la scadenza del 28/02/2027 di € 73,00"_s))
        << Dialogs::instance().shownTexts().join(u'\n').toStdString();
    EXPECT_EQ(snapshot(), before);
}

TEST_F(InvoiceBrowserWindow, ANoOrAFailedLastWriteChangesNothing) {
    open();
    selectNumber(1);
    const QString before = snapshot();
    Dialogs::instance().queueAnswer(DlgButton::No);
    click(u"btn_elimina_fattura"_s);
    EXPECT_EQ(snapshot(), before);

    Probe::exec(seed->header(),
                u"CREATE TRIGGER guasto BEFORE DELETE ON fatture26 BEGIN "
                u"SELECT RAISE(ABORT, 'disco pieno'); END"_s);
    const QString armed = snapshot();
    Dialogs::instance().queueAnswer(DlgButton::Yes);
    click(u"btn_elimina_fattura"_s);
    EXPECT_TRUE(shown(u"La fattura n. 1 non è stata eliminata"_s));
    EXPECT_EQ(snapshot(), armed);
    EXPECT_EQ(listed(InvoiceListModel::Numero), (QStringList{u"3"_s, u"1"_s, u"2"_s}));
}

TEST_F(InvoiceBrowserWindow, ReprintsTheCurrentInvoiceWithTheTickedOptions) {
    open();
    selectNumber(1);
    // On the box itself: a stretched check box does not take clicks beyond its text.
    auto tick = [this](const QString& name) {
        auto* box = w<QCheckBox>(name);
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
    };
    tick(u"chk_copia_conforme"_s);
    ASSERT_TRUE(w<QCheckBox>(u"chk_copia_conforme"_s)->isChecked());
    if (!w<QCheckBox>(u"chk_anno"_s)->isChecked()) tick(u"chk_anno"_s);
    click(u"btn_stampa"_s);
    EXPECT_TRUE(previewed.contains(u"Totale documento | 292,02"_s)) << previewed.toStdString();
    EXPECT_TRUE(previewed.contains(u"Copia conforme all'originale"_s)) << previewed.toStdString();
    EXPECT_TRUE(previewed.contains(u"Num. | 1/26"_s));
    EXPECT_EQ(previewCopies, settings->integer(u"Fatturazione", u"Numero copie stampa fatture"));
}

TEST_F(InvoiceBrowserWindow, SwitchesToAnotherYearsArchive) {
    const QString header25 = seed->file(u"fatture25.db"_s),
                  lines25 = seed->file(u"dett_fatture25.db"_s);
    store->createEmptyCopy(seed->header(), header25);
    store->createEmptyCopy(seed->lines(), lines25);
    Probe::exec(header25,
                u"INSERT INTO fatture25 (fattura, cod_cli, data, tipodoc, tot_fatt) "
                u"VALUES (9, 'C2', '2025-06-30', 'Fattura', 50)"_s);
    open();
    auto* years = w<QComboBox>(u"cmb_archivio"_s);
    const int i = years->findText(u"2025"_s);
    ASSERT_GE(i, 0);
    years->setCurrentIndex(i);
    Q_EMIT years->activated(i);
    EXPECT_EQ(window->shownYear(), 2025);
    EXPECT_EQ(listed(InvoiceListModel::Numero), (QStringList{u"9"_s}));
    EXPECT_EQ(listed(InvoiceListModel::Totale), (QStringList{u"50,00"_s}));
}

}  // namespace
