#include <gtest/gtest.h>

#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "quotes/QuoteArchive.h"
#include "quotes/Tfrm_preventivi_tools.h"
#include "tests/WindowFixture.h"

using namespace zel;
using namespace zel::test;
using namespace Qt::Literals::StringLiterals;

namespace {

class QuoteToolsTest : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        QuoteArchive quotes(*store, *settings);
        quotes.clearWorking();
        for (const auto& [cod, quant, price, discount, rate] :
             {std::tuple{u"A1", 3.0, 10.0, 10.0, 22.0}, std::tuple{u"A2", 1.0, 100.0, 0.0, 10.0},
              std::tuple{u"A3", 1.0, 5.0, 0.0, 4.0}}) {
            QuoteLine l;
            l.cod = QString::fromUtf16(cod);
            l.quant = quant;
            l.prezzo = price;
            l.sconto = discount;
            l.percIva = rate;
            quotes.appendWorking(l, u"C1"_s, QDate(2026, 12, 1));
        }
        QuoteHeader h;
        h.number = 1;
        h.date = QDate(2026, 12, 1);
        h.codCli = u"C1"_s;
        quotes.save(h);
        // An invoice already there: the one from the quote is the next.
        Probe::exec(master(), u"INSERT INTO %1 (FATTURA, COD_CLI, DATA) VALUES (4, 'X', "
                              "'2026-12-01')"_s.arg(QFileInfo(master()).baseName()));
        window = std::make_unique<Tfrm_preventivi_tools>(ctx);
        window->prepare(u"C1"_s, 1);
    }
    void TearDown() override {
        window.reset();
        WindowFixture::TearDown();
    }
    QString master() const { return settings->text(u"Path", u"Archivio fatture Master"); }
    template <class T>
    T* child(const QString& name) const {
        T* w = window->findChild<T*>(name);
        EXPECT_NE(w, nullptr) << name.toStdString();
        return w;
    }
    void click(const QString& name) const {
        QPushButton* b = child<QPushButton>(name);
        ASSERT_TRUE(b->isEnabled()) << name.toStdString();
        QTest::mouseClick(b, Qt::LeftButton);
    }
    std::unique_ptr<Tfrm_preventivi_tools> window;
};

TEST_F(QuoteToolsTest, TheQuoteBecomesInvoiceNPlusOneAndTheNumberIsNotTakenTwice) {
    EXPECT_EQ(child<QLineEdit>(u"edt_num_fatt"_s)->text(), u"5"_s);
    click(u"btn_conferma"_s);
    click(u"freccia_all1"_s);
    click(u"btn_conferma1"_s);
    for (int press = 0; press < 2; ++press) {
        click(u"btn_calcola"_s);
        EXPECT_EQ(child<QLabel>(u"lbl_imponibile"_s)->text(), u"132,00"_s);
        EXPECT_EQ(child<QLabel>(u"lbl_iva1"_s)->text(), u"0,20"_s);
        EXPECT_EQ(child<QLabel>(u"lbl_iva2"_s)->text(), u"10,00"_s);
        EXPECT_EQ(child<QLabel>(u"lbl_iva3"_s)->text(), u"5,94"_s);
        EXPECT_EQ(child<QLabel>(u"lbl_totale"_s)->text(), u"148,14"_s);
    }
    click(u"btn_avanti2"_s);
    click(u"btn_avanti3"_s);
    const auto h = Probe::rows(master(), u"SELECT COD_CLI, IMP_TOT, IVA4, IVA9, IVA19, TOT_FATT "
                                         "FROM %1 WHERE FATTURA = 5"_s.arg(QFileInfo(master()).baseName()));
    ASSERT_EQ(h.size(), 1);
    EXPECT_EQ(h[0], (QVariantList{u"C1"_s, 132.0, 0.2, 10.0, 5.94, 148.14}));
    EXPECT_EQ(Dialogs::instance().shown().last().text, u"La fattura è stata creata!"_s);
    EXPECT_FALSE(child<QPushButton>(u"btn_avanti3"_s)->isEnabled());

    click(u"btn_nuova_fatt"_s);
    window->prepare(u"C1"_s, 1);
    click(u"btn_conferma"_s);
    click(u"freccia_all1"_s);
    click(u"btn_conferma1"_s);
    click(u"btn_calcola"_s);
    click(u"btn_avanti2"_s);
    child<QLineEdit>(u"edt_num_fatt"_s)->setText(u"5"_s);
    const qint64 before = Probe::count(master());
    click(u"btn_avanti3"_s);
    EXPECT_EQ(Probe::count(master()), before);
    EXPECT_TRUE(child<QPushButton>(u"btn_avanti3"_s)->isEnabled());
    EXPECT_TRUE(Dialogs::instance().shown().last().text.contains(u"non è stata registrata"_s));
}

TEST_F(QuoteToolsTest, InserisciInScadenzarioWritesTheDeadlinesOnce) {
    click(u"btn_conferma"_s);
    click(u"freccia_all1"_s);
    click(u"btn_conferma1"_s);
    child<QComboBox>(u"cmb_scadenza"_s)->setCurrentText(u"30-60 GG F.M."_s);
    click(u"btn_calcola"_s);
    click(u"btn_avanti2"_s);
    click(u"btn_avanti3"_s);
    const QString deadlines = settings->text(u"Path", u"Archivio scadenze");
    const qint64 before = Probe::count(deadlines);
    click(u"btn_scadenzario"_s);
    EXPECT_EQ(Probe::count(deadlines), before + 2);
    click(u"btn_scadenzario"_s);
    EXPECT_EQ(Probe::count(deadlines), before + 2);
}

TEST_F(QuoteToolsTest, NoChosenLineIsRefused) {
    click(u"btn_conferma"_s);
    click(u"btn_conferma1"_s);
    click(u"btn_calcola"_s);
    click(u"btn_avanti2"_s);
    const qint64 before = Probe::count(master());
    click(u"btn_avanti3"_s);
    EXPECT_EQ(Probe::count(master()), before);
    EXPECT_TRUE(Dialogs::instance().shown().last().text.contains(u"Nessuna voce"_s));
}

}  // namespace
