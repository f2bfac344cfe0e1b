#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "quotes/QuoteArchive.h"
#include "quotes/Tfrm_scorre_prev.h"
#include "tests/WindowFixture.h"

using namespace zel;
using namespace zel::test;
using namespace Qt::Literals::StringLiterals;

namespace {

class QuoteBrowserTest : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        QuoteArchive quotes(*store, *settings);
        quotes.clearWorking();
        for (const auto& [cod, quant, price, discount, rate] :
             {std::tuple{u"A1", 3.0, 10.0, 10.0, 22.0}, std::tuple{u"A2", 1.0, 100.0, 0.0, 10.0}}) {
            QuoteLine l;
            l.cod = QString::fromUtf16(cod);
            l.quant = quant;
            l.prezzo = price;
            l.sconto = discount;
            l.percIva = rate;
            quotes.appendWorking(l, u"C1"_s, QDate(2026, 12, 11));
        }
        QuoteHeader h;
        h.number = 1;
        h.date = QDate(2026, 12, 11);
        h.codCli = u"C1"_s;
        h.nomeCli = u"Rossi Mario"_s;
        quotes.save(h);
        window = std::make_unique<Tfrm_scorre_prev>(ctx);
        window->prepare();
    }
    void TearDown() override {
        window.reset();
        WindowFixture::TearDown();
    }
    QString header() const { return settings->text(u"Path", u"Archivio preventivi Master"); }
    QString lines() const { return settings->text(u"Path", u"Archivio preventivi Detail"); }
    template <class T>
    T* child(const QString& name) const {
        T* w = window->findChild<T*>(name);
        EXPECT_NE(w, nullptr) << name.toStdString();
        return w;
    }
    void click(const QString& name) const { QTest::mouseClick(child<QPushButton>(name), Qt::LeftButton); }
    QString label(const QString& name) const { return child<QLabel>(name)->text(); }
    QVariantList stored(int number) const {
        const auto r = Probe::rows(header(), u"SELECT IMP_TOT, IVA9, IVA19, IVA_TOT, TOT_FATT "
                                             "FROM preventivi WHERE FATTURA = %1"_s.arg(number));
        return r.isEmpty() ? QVariantList() : r.first();
    }
    std::unique_ptr<Tfrm_scorre_prev> window;
};

TEST_F(QuoteBrowserTest, QuantityChangeAndRecomputeGiveTheSameFiguresTwice) {
    ASSERT_EQ(window->current(), 1);
    QTableWidget* grid = child<QTableWidget>(u"grid_dettagli"_s);
    ASSERT_EQ(grid->rowCount(), 2);
    grid->item(0, 2)->setText(u"4"_s);
    for (int press = 0; press < 2; ++press) {
        click(u"btn_aggiorna"_s);
        EXPECT_EQ(label(u"lbl_imponibile"_s), u"136,00"_s);
        EXPECT_EQ(label(u"lbl_iva3"_s), u"7,92"_s);
        EXPECT_EQ(label(u"lbl_totale"_s), u"153,92"_s);
        EXPECT_EQ(stored(1), (QVariantList{136.0, 10.0, 7.92, 17.92, 153.92}));
    }
}

TEST_F(QuoteBrowserTest, PrintShowsTheCurrentQuoteOnTheChosenModelAndWarnsOfAMissingCustomer) {
    qint64 printed = 0;
    std::optional<Trpt_preventivo::Model> layout;
    window->showPrint = [&](const QuotePrintData& d, const QuotePrintOptions&,
                            Trpt_preventivo::Model m) {
        printed = d.header.value(u"FATTURA"_s).toLongLong();
        layout = m;
    };
    child<QComboBox>(u"cmb_modello"_s)->setCurrentIndex(1);
    click(u"btn_stampa"_s);
    EXPECT_EQ(printed, 1);
    EXPECT_EQ(layout, Trpt_preventivo::Model::Simple);
    ASSERT_EQ(Dialogs::instance().shown().size(), 1);
    EXPECT_EQ(Dialogs::instance().shown().first().title, u"Codice cliente non trovato"_s);
}

TEST_F(QuoteBrowserTest, CreaFatturaOpensTheInvoiceOnTheCurrentQuoteAndCustomer) {
    QString customer;
    qint64 quote = 0;
    window->openInvoiceFromQuote = [&](const QString& c, qint64 q) {
        customer = c;
        quote = q;
    };
    click(u"btn_crea_fattura"_s);
    EXPECT_EQ(customer, u"C1"_s);
    EXPECT_EQ(quote, 1);
}

TEST_F(QuoteBrowserTest, DeletingALineUpdatesTheHeaderAtOnce) {
    QTableWidget* grid = child<QTableWidget>(u"grid_dettagli"_s);
    grid->setCurrentCell(1, 0);
    click(u"btn_cancella_riga"_s);
    EXPECT_EQ(grid->rowCount(), 1);
    EXPECT_EQ(label(u"lbl_totale"_s), u"32,94"_s);
    EXPECT_EQ(stored(1), (QVariantList{27.0, 0.0, 5.94, 5.94, 32.94}));
}

TEST_F(QuoteBrowserTest, AFailedLineWriteLeavesQuoteAndLinesAndSaysSo) {
    Probe::exec(header(), u"CREATE TRIGGER fail_update BEFORE UPDATE ON preventivi BEGIN SELECT "
                          "RAISE(ABORT, 'disco pieno'); END"_s);
    const QString before = Probe::dump(header()) + Probe::dump(lines());
    QTableWidget* grid = child<QTableWidget>(u"grid_dettagli"_s);
    grid->item(0, 2)->setText(u"4"_s);
    EXPECT_EQ(Probe::dump(header()) + Probe::dump(lines()), before);
    EXPECT_EQ(grid->item(0, 2)->text(), u"3,00"_s);
    ASSERT_FALSE(Dialogs::instance().shown().isEmpty());
    EXPECT_TRUE(Dialogs::instance().shown().last().text.contains(u"disco pieno"_s));
}

TEST_F(QuoteBrowserTest, ARateOutsideTheConfiguredOnesIsRefused) {
    QTableWidget* grid = child<QTableWidget>(u"grid_dettagli"_s);
    grid->item(0, 5)->setText(u"7"_s);
    EXPECT_EQ(stored(1)[4], 142.94);
    EXPECT_EQ(grid->item(0, 5)->text(), u"22"_s);
}

TEST_F(QuoteBrowserTest, DuplicateShowsTheCopyAndDeleteRemovesIt) {
    click(u"btn_duplica"_s);
    EXPECT_EQ(window->current(), 2);
    EXPECT_EQ(child<QTableWidget>(u"grid_dettagli"_s)->rowCount(), 2);
    EXPECT_EQ(label(u"lbl_totale"_s), u"142,94"_s);
    Dialogs::instance().queueAnswer(DlgButton::Yes);
    click(u"btn_cancella_preventivo"_s);
    EXPECT_EQ(window->current(), 1);
    EXPECT_TRUE(stored(2).isEmpty());
    QTest::keyClicks(child<QLineEdit>(u"edt_cerca_num"_s), u"1"_s);
    click(u"btn_cerca_num"_s);
    EXPECT_EQ(window->current(), 1);
}

}  // namespace
