#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include "quotes/Tfrm_nuovo_preventivo.h"
#include "tests/WindowFixture.h"

using namespace zel;
using namespace zel::test;
using namespace Qt::Literals::StringLiterals;

namespace {

class NewQuoteTest : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        Probe::exec(path(u"Archivio Magazzino"),
                    u"INSERT INTO magazzino (ID, COD, DES, PREZZO_VEN, IVA) VALUES "
                    "(1, 'A1', 'Vite', 10, '22'), (2, 'A2', 'Pompa', 100, '10'), "
                    "(3, 'A3', 'Dado', 5, '4')"_s);
        Probe::exec(path(u"Archivio anagrafica"),
                    u"INSERT INTO anagrafica (COD_CLI, NOME, PIVA, CF) VALUES "
                    "('C1', 'Rossi Mario', '01234567890', 'RSSMRA'), ('C2', 'Bianchi', '', "
                    "'BNCLGU')"_s);
        window = std::make_unique<Tfrm_nuovo_preventivo>(ctx);
        window->prepare();
    }
    void TearDown() override {
        window.reset();
        WindowFixture::TearDown();
    }
    QString path(const char16_t* key) const { return settings->text(u"Path", key); }
    template <class T>
    T* child(const QString& name) const {
        T* w = window->findChild<T*>(name);
        EXPECT_NE(w, nullptr) << name.toStdString();
        return w;
    }
    void click(const QString& button) const {
        QPushButton* b = child<QPushButton>(button);
        ASSERT_TRUE(b->isEnabled()) << button.toStdString();
        QTest::mouseClick(b, Qt::LeftButton);
    }
    void type(const QString& edit, const QString& text) const {
        QLineEdit* e = child<QLineEdit>(edit);
        e->clear();
        QTest::keyClicks(e, text);
    }
    void chooseCustomer(const QString& code) const {
        QComboBox* c = child<QComboBox>(u"cmb_cod_cli"_s);
        c->setCurrentIndex(c->findText(code, Qt::MatchStartsWith));
        Q_EMIT c->activated(c->currentIndex());
        click(u"btn_conferma_cliente"_s);
    }
    void addLine(const QString& cod, const QString& quant, const QString& discount) const {
        QComboBox* a = child<QComboBox>(u"cmb_articolo"_s);
        a->setCurrentIndex(a->findText(cod));
        Q_EMIT a->activated(a->currentIndex());
        type(u"edt_quant"_s, quant);
        type(u"edt_sconto"_s, discount);
        click(u"Btn_conferma"_s);
    }
    QVariantList header(int number) const {
        const auto r = Probe::rows(path(u"Archivio preventivi Master"),
                                   u"SELECT COD_CLI, PIVA, IMP_TOT, IVA4, IVA9, IVA19, IVA_TOT, "
                                   "TOT_FATT FROM preventivi WHERE FATTURA = %1"_s.arg(number));
        return r.isEmpty() ? QVariantList() : r.first();
    }
    qint64 lineCount(int number) const {
        return Probe::rows(path(u"Archivio preventivi Detail"),
                           u"SELECT COUNT(*) FROM preventivi_dett WHERE FATTURA = %1"_s.arg(number))
            .first()
            .first()
            .toLongLong();
    }
    std::unique_ptr<Tfrm_nuovo_preventivo> window;
};

TEST_F(NewQuoteTest, TwoQuotesFromTheWidgetsEachWithItsOwnLinesAndFigures) {
    EXPECT_EQ(child<QLineEdit>(u"edt_num_prev"_s)->text(), u"1"_s);
    chooseCustomer(u"C1"_s);
    EXPECT_EQ(child<QLineEdit>(u"edt_piva"_s)->text(), u"01234567890"_s);
    addLine(u"A1"_s, u"3"_s, u"10"_s);
    addLine(u"A2"_s, u"1"_s, u""_s);
    click(u"btn_avanti"_s);
    EXPECT_EQ(child<QLabel>(u"lbl_imponibile"_s)->text(), u"127,00"_s);
    EXPECT_EQ(child<QLabel>(u"lbl_iva3_caption"_s)->text(), u"Iva 22% sul totale"_s);
    EXPECT_EQ(child<QLabel>(u"lbl_iva3"_s)->text(), u"5,94"_s);
    EXPECT_EQ(child<QLabel>(u"lbl_totale"_s)->text(), u"142,94"_s);
    click(u"btn_registra_preventivo"_s);
    EXPECT_EQ(header(1), (QVariantList{u"C1"_s, u"01234567890"_s, 127.0, 0.0, 10.0, 5.94, 15.94,
                                       142.94}));
    EXPECT_EQ(lineCount(1), 2);
    EXPECT_FALSE(child<QPushButton>(u"btn_registra_preventivo"_s)->isEnabled());

    click(u"btn_nuovo_preventivo"_s);
    EXPECT_EQ(child<QLineEdit>(u"edt_num_prev"_s)->text(), u"2"_s);
    chooseCustomer(u"C2"_s);
    addLine(u"A3"_s, u"1"_s, u""_s);
    click(u"btn_avanti"_s);
    click(u"btn_registra_preventivo"_s);
    EXPECT_EQ(header(2), (QVariantList{u"C2"_s, u""_s, 5.0, 0.2, 0.0, 0.0, 0.2, 5.2}));
    EXPECT_EQ(lineCount(2), 1);
}

TEST_F(NewQuoteTest, PrintAfterSavePrintsThatQuoteOnTheChosenModel) {
    EXPECT_FALSE(child<QPushButton>(u"btn_stampa_prev"_s)->isEnabled());
    chooseCustomer(u"C1"_s);
    addLine(u"A1"_s, u"3"_s, u"10"_s);
    click(u"btn_avanti"_s);
    click(u"btn_registra_preventivo"_s);
    struct Case {
        int model;
        Trpt_preventivo::Model layout;
        bool heading;
    };
    for (const Case& c : {Case{0, Trpt_preventivo::Model::Full, true},
                          Case{1, Trpt_preventivo::Model::Simple, true},
                          Case{2, Trpt_preventivo::Model::Simple, false}}) {
        child<QComboBox>(u"cmb_tipo_prev"_s)->setCurrentIndex(c.model);
        QSpinBox* copies = child<QSpinBox>(u"n_copie"_s);
        copies->setValue(12);
        qint64 printed = 0;
        std::optional<QuotePrintOptions> options;
        std::optional<Trpt_preventivo::Model> layout;
        window->showPrint = [&](const QuotePrintData& d, const QuotePrintOptions& o,
                                Trpt_preventivo::Model m) {
            printed = d.header.value(u"FATTURA"_s).toLongLong();
            options = o;
            layout = m;
        };
        click(u"btn_stampa_prev"_s);
        EXPECT_EQ(printed, 1);
        ASSERT_TRUE(options && layout);
        EXPECT_EQ(*layout, c.layout);
        EXPECT_EQ(options->companyHeading, c.heading);
        EXPECT_EQ(options->copies, 10);
        EXPECT_EQ(lineCount(static_cast<int>(printed)), 1);
    }
    click(u"btn_nuovo_preventivo"_s);
    EXPECT_FALSE(child<QPushButton>(u"btn_stampa_prev"_s)->isEnabled());
}

TEST_F(NewQuoteTest, LineFiguresFollowTheTypedFields) {
    chooseCustomer(u"C1"_s);
    QComboBox* a = child<QComboBox>(u"cmb_articolo"_s);
    a->setCurrentIndex(a->findText(u"A1"_s));
    Q_EMIT a->activated(a->currentIndex());
    type(u"edt_quant"_s, u"3"_s);
    type(u"edt_sconto"_s, u"10"_s);
    const QStringList expected = {u"30,00"_s, u"27,00"_s, u"5,94"_s, u"32,94"_s};
    const QStringList labels = {u"lbl_totale_iva_escl"_s, u"lbl_netto_iva_escl"_s,
                                u"lbl_totale_iva"_s, u"lbl_totale_ivato"_s};
    for (int i = 0; i < labels.size(); ++i)
        EXPECT_EQ(child<QLabel>(labels[i])->text(), expected[i]) << labels[i].toStdString();
}

TEST_F(NewQuoteTest, ARateOutsideTheConfiguredOnesIsRefusedWhenEntered) {
    chooseCustomer(u"C1"_s);
    QComboBox* a = child<QComboBox>(u"cmb_articolo"_s);
    a->setCurrentIndex(a->findText(u"A1"_s));
    Q_EMIT a->activated(a->currentIndex());
    child<QComboBox>(u"cmb_iva"_s)->setEditText(u"7"_s);
    click(u"Btn_conferma"_s);
    ASSERT_EQ(Dialogs::instance().shown().size(), 1);
    EXPECT_TRUE(Dialogs::instance().shown().first().text.contains(u"7"_s));
    EXPECT_EQ(Probe::count(data(u"prev_tmp.db"_s)), 0);
}

TEST_F(NewQuoteTest, FailedLineCopyWritesNoHeaderAndKeepsSaveEnabled) {
    chooseCustomer(u"C1"_s);
    addLine(u"A1"_s, u"3"_s, u"10"_s);
    click(u"btn_avanti"_s);
    Probe::exec(path(u"Archivio preventivi Detail"),
                u"CREATE TRIGGER fail_insert BEFORE INSERT ON preventivi_dett BEGIN SELECT "
                "RAISE(ABORT, 'disco pieno'); END"_s);
    click(u"btn_registra_preventivo"_s);
    EXPECT_TRUE(header(1).isEmpty());
    EXPECT_EQ(Probe::count(data(u"prev_tmp.db"_s)), 1);
    EXPECT_TRUE(child<QPushButton>(u"btn_registra_preventivo"_s)->isEnabled());
    ASSERT_FALSE(Dialogs::instance().shown().isEmpty());
    EXPECT_TRUE(Dialogs::instance().shown().last().text.contains(u"non è stato registrato"_s));
}

TEST_F(NewQuoteTest, ATypedNumberAlreadyTakenIsRefused) {
    chooseCustomer(u"C1"_s);
    addLine(u"A3"_s, u"1"_s, u""_s);
    click(u"btn_avanti"_s);
    click(u"btn_registra_preventivo"_s);
    click(u"btn_nuovo_preventivo"_s);
    chooseCustomer(u"C2"_s);
    addLine(u"A3"_s, u"2"_s, u""_s);
    type(u"edt_num_prev"_s, u"1"_s);
    click(u"btn_avanti"_s);
    click(u"btn_registra_preventivo"_s);
    EXPECT_EQ(header(1)[0], u"C1"_s);
    EXPECT_EQ(lineCount(1), 1);
    EXPECT_TRUE(child<QPushButton>(u"btn_registra_preventivo"_s)->isEnabled());
}

TEST_F(NewQuoteTest, ChangingCustomerClearsThePreviousOnesFields) {
    chooseCustomer(u"C1"_s);
    QComboBox* c = child<QComboBox>(u"cmb_cod_cli"_s);
    c->setEditText(u"ZZ"_s);
    Dialogs::instance().queueAnswer(DlgButton::No);
    Q_EMIT c->activated(-1);
    EXPECT_EQ(child<QLineEdit>(u"edt_piva"_s)->text(), u""_s);
    EXPECT_EQ(child<QLineEdit>(u"edt_nome"_s)->text(), u""_s);
    ASSERT_FALSE(Dialogs::instance().shown().isEmpty());
    EXPECT_EQ(Dialogs::instance().shown().last().title, u"Codice cliente inesistente"_s);
}

TEST_F(NewQuoteTest, AnUnknownCustomerOpensTheCardOnYesAndTheListIsReadAgain) {
    int opened = 0;
    window->runCustomerCard = [&] {
        ++opened;
        Probe::exec(path(u"Archivio anagrafica"),
                    u"INSERT INTO anagrafica (COD_CLI, NOME) VALUES ('ZZ', 'Nuovo')"_s);
    };
    QComboBox* c = child<QComboBox>(u"cmb_cod_cli"_s);
    c->setEditText(u"ZZ"_s);
    Dialogs::instance().queueAnswer(DlgButton::Yes);
    Q_EMIT c->activated(-1);
    EXPECT_EQ(opened, 1);
    EXPECT_GE(c->findText(u"ZZ"_s, Qt::MatchStartsWith), 0);
}

TEST_F(NewQuoteTest, ExitAsksAndStaysOnNo) {
    window->show();
    Dialogs::instance().queueAnswer(DlgButton::No);
    click(u"btn_uscita"_s);
    EXPECT_TRUE(window->isVisible());
    Dialogs::instance().queueAnswer(DlgButton::Yes);
    click(u"btn_uscita"_s);
    EXPECT_FALSE(window->isVisible());
}

}  // namespace
