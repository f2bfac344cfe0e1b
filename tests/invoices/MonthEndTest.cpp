#include <QComboBox>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "invoices/MonthEndInvoicing.h"
#include "invoices/Tfrm_fatturazione_differita.h"
#include "tests/WindowFixture.h"
#include "tests/invoices/InvoiceTestData.h"
#include "ui/Dialogs.h"

using namespace zel;
using namespace zel::test;
using namespace Qt::Literals::StringLiterals;

namespace {

class MonthEnd : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        seed = std::make_unique<InvoiceSeed>(base.file(u"Dati"_s));
        seed->customer(u"C1"_s, u"Rossi Mario"_s, u"30-60 GG F.M."_s, u"Ricevuta Bancaria"_s);
        seed->customer(u"C2"_s, u"Bianchi Srl"_s, u"R.F."_s, u"Contanti"_s);
        seed->customer(u"C3"_s, u"Verdi Spa"_s);  // no term on the card
        const QDate a(2026, 11, 3), b(2026, 11, 20), outside(2026, 12, 2);
        seed->ddt(1, a, u"C1"_s, 100);
        seed->line(1, a, u"C1"_s, u"A1"_s, 10, 10, 22);
        seed->ddt(2, b, u"C1"_s, 50);
        seed->line(2, b, u"C1"_s, u"A2"_s, 5, 10, 10);
        seed->ddt(3, a, u"C2"_s, 33.33);
        seed->line(3, a, u"C2"_s, u"A3"_s, 1, 33.33, 4);
        seed->ddt(4, b, u"C3"_s, 20);
        seed->line(4, b, u"C3"_s, u"A4"_s, 2, 10, 22);
        seed->ddt(5, outside, u"C3"_s, 999);
        seed->line(5, outside, u"C3"_s, u"A5"_s, 1, 999, 22);
        Probe::exec(
            seed->header(),
            u"INSERT INTO fatture26 (FATTURA, COD_CLI, DATA) VALUES (4, 'C9', '2026-10-31')"_s);
    }
    void TearDown() override {
        window.reset();
        WindowFixture::TearDown();
    }
    MonthEndInvoicing::Outcome run() {
        return MonthEndInvoicing(*store, *settings, QDate(2026, 11, 1), QDate(2026, 11, 30))
            .run(QDate(2026, 11, 30), MonthEndInvoicing::defaultKind());
    }
    QString snapshot() {
        return Probe::dump(seed->header()) + Probe::dump(seed->lines()) +
               Probe::dump(seed->deadlines()) + Probe::dump(seed->ddtHeader()) +
               Probe::dump(seed->ddtLines());
    }
    void checkThreeInvoices() {
        const auto heads =
            Probe::rows(seed->header(),
                        u"SELECT fattura, cod_cli, tot_fatt, tipodoc, pagam FROM fatture26 "
                        u"WHERE cod_cli <> 'C9' ORDER BY fattura"_s);
        ASSERT_EQ(heads.size(), 3);
        const QStringList customers{u"C1"_s, u"C2"_s, u"C3"_s};
        const double totals[3] = {177.00, 34.66, 24.40};
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(heads[i][0].toLongLong(), 5 + i);
            EXPECT_EQ(heads[i][1].toString(), customers[i]);
            EXPECT_DOUBLE_EQ(heads[i][2].toDouble(), totals[i]);
            EXPECT_EQ(heads[i][3].toString(), u"Fattura differita"_s);
            const auto due = Probe::rows(
                seed->deadlines(),
                u"SELECT data, avere FROM scad WHERE fattura = %1 ORDER BY id"_s.arg(5 + i));
            qint64 cents = 0;
            for (const auto& d : due) cents += qRound64(d[1].toDouble() * 100);
            EXPECT_EQ(cents, qRound64(totals[i] * 100)) << i;
        }
        const auto c1 =
            Probe::rows(seed->deadlines(),
                        u"SELECT data, avere, cod FROM scad WHERE fattura = 5 ORDER BY id"_s);
        ASSERT_EQ(c1.size(), 2);
        EXPECT_EQ(c1[0][0].toString(), u"2026-12-31"_s);
        EXPECT_EQ(c1[1][0].toString(), u"2027-01-31"_s);
        EXPECT_DOUBLE_EQ(c1[0][1].toDouble(), 88.50);
        EXPECT_EQ(c1[0][2].toString(), u"Ricevuta Bancaria"_s);
        // No term on the card: the window's default.
        const auto c3 =
            Probe::rows(seed->deadlines(), u"SELECT data FROM scad WHERE fattura = 7"_s);
        ASSERT_EQ(c3.size(), 1);
        EXPECT_EQ(c3[0][0].toString(), u"2026-12-31"_s);
        // Heading line and lines of each DDT; the December DDT stays out.
        EXPECT_EQ(Probe::count(seed->lines()), 8);
    }
    std::unique_ptr<InvoiceSeed> seed;
    std::unique_ptr<Tfrm_fatturazione_differita> window;
};

TEST_F(MonthEnd, ThreeCustomersGetThreeInvoicesInARowWithTheirDeadlines) {
    const auto customers =
        MonthEndInvoicing(*store, *settings, QDate(2026, 11, 1), QDate(2026, 11, 30)).customers();
    ASSERT_EQ(customers.size(), 3);
    EXPECT_EQ(customers[0].ddtCount, 2);
    EXPECT_EQ(customers[0].amount.cents(), 15000);
    const auto out = run();
    EXPECT_TRUE(out.refusals.isEmpty());
    ASSERT_EQ(out.made.size(), 3);
    checkThreeInvoices();
    // The safety copies hold the archives as they were before.
    EXPECT_EQ(Probe::count(seed->header() + u".bak"_s), 1);
    EXPECT_EQ(Probe::count(seed->lines() + u".bak"_s), 0);
}

TEST_F(MonthEnd, OneLineAtARateOutsideTheThreeMakesNoInvoice) {
    seed->line(4, QDate(2026, 11, 20), u"C3"_s, u"A9"_s, 1, 5, 7);
    const QString before = snapshot();
    const auto out = run();
    EXPECT_TRUE(out.made.isEmpty());
    ASSERT_EQ(out.refusals.size(), 1);
    EXPECT_TRUE(out.refusals[0].contains(u"DDT n. 4 del 20/11/2026, riga 2 (A9"_s))
        << out.refusals[0].toStdString();
    EXPECT_EQ(snapshot(), before);
}

TEST_F(MonthEnd, TheLastDeadlineFailingLeavesEveryArchiveAsItWas) {
    Probe::exec(seed->deadlines(),
                u"CREATE TRIGGER fail_last BEFORE INSERT ON scad WHEN NEW.cod_cli = 'C3' "
                u"BEGIN SELECT RAISE(ABORT, 'prova'); END"_s);
    const QString before = snapshot();
    EXPECT_THROW(run(), StoreError);
    EXPECT_EQ(snapshot(), before);
}

TEST_F(MonthEnd, TheWindowListsTheCustomersAndMakesTheInvoices) {
    pinDate(QDate(2026, 12, 11));
    window = std::make_unique<Tfrm_fatturazione_differita>(ctx);
    window->FormShow();
    window->show();
    EXPECT_EQ(window->findChild<QComboBox*>(u"cmb_tipodoc"_s)->currentText(),
              u"Fattura differita"_s);
    QTest::mouseClick(window->findChild<QPushButton*>(u"btn_cerca"_s), Qt::LeftButton);
    auto* grid = window->findChild<QTableWidget*>(u"grid_clienti"_s);
    ASSERT_EQ(grid->rowCount(), 3);
    EXPECT_EQ(grid->item(0, 2)->text(), u"2"_s);
    EXPECT_EQ(grid->item(0, 3)->text(), u"150,00"_s);
    Dialogs::instance().queueAnswer(DlgButton::Yes);
    QTest::mouseClick(window->findChild<QPushButton*>(u"btn_conferma"_s), Qt::LeftButton);
    checkThreeInvoices();
    bool told = false;
    for (const QString& t : Dialogs::instance().shownTexts())
        told = told || t.contains(u"Fattura n. 7 - C3 Verdi Spa - totale € 24,40"_s);
    EXPECT_TRUE(told);
}

class MonthEndCommand : public MonthEnd {
protected:
    void SetUp() override {
        MonthEnd::SetUp();
        store.reset();  // the command opens the archives itself
    }
    int zelvarin(const QStringList& args, QString* out = nullptr, QString* err = nullptr) {
        const CommandOutcome o = runZelvarin(QStringList{u"--base"_s, base.path()} + args);
        if (out) *out = o.out;
        if (err) *err = o.err;
        return o.code;
    }
};

TEST_F(MonthEndCommand, PrintsOneLinePerInvoice) {
    QString out, err;
    EXPECT_EQ(zelvarin({u"--fatture-differite"_s, u"--dal"_s, u"2026-11-01"_s, u"--al"_s,
                        u"2026-11-30"_s},
                       &out, &err),
              0)
        << err.toStdString();
    EXPECT_EQ(out, u"5\tC1\t177,00\n6\tC2\t34,66\n7\tC3\t24,40\n"_s);
    checkThreeInvoices();
    // Again: the period's DDT stay invoiceable, so it would invoice them again; an empty period
    // says so.
    EXPECT_EQ(zelvarin({u"--fatture-differite"_s, u"--dal"_s, u"2026-01-01"_s, u"--al"_s,
                        u"2026-01-31"_s},
                       &out, &err),
              0);
    EXPECT_TRUE(out.isEmpty());
    EXPECT_TRUE(err.contains(MonthEndInvoicing::nothingMessage())) << err.toStdString();
}

TEST_F(MonthEndCommand, ARefusalExitsTwoAndWritesNothing) {
    seed->line(1, QDate(2026, 11, 3), u"C1"_s, u"A9"_s, 1, 5, 7);
    const QString before = snapshot();
    QString out, err;
    EXPECT_EQ(zelvarin({u"--fatture-differite"_s, u"--dal"_s, u"2026-11-01"_s, u"--al"_s,
                        u"2026-11-30"_s, u"--data-fattura"_s, u"2026-11-30"_s},
                       &out, &err),
              2);
    EXPECT_TRUE(err.contains(u"DDT n. 1 del 03/11/2026, riga 2 (A9"_s)) << err.toStdString();
    EXPECT_TRUE(out.isEmpty());
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(zelvarin({u"--fatture-differite"_s, u"--dal"_s, u"2026-11-31"_s, u"--al"_s,
                        u"2026-11-30"_s}),
              2);
}

}  // namespace
