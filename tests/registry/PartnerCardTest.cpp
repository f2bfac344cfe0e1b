#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QHeaderView>
#include <QListView>
#include <QPlainTextEdit>
#include <QTableView>
#include <QTest>

#include "core/Clock.h"
#include "registry/ReferenceData.h"
#include "registry/Tfrm_cerca.h"
#include "registry/Tfrm_clienti1.h"
#include "report/PageModel.h"
#include "settings/IniFile.h"
#include "settings/Settings.h"
#include "store/Store.h"
#include "tests/WindowFixture.h"
#include "ui/DateEdit.h"
#include "ui/Dialogs.h"
#include "ui/FileDialogs.h"
#include "ui/PictureView.h"
#include "ui/TrayNotice.h"

using namespace zel;
using namespace zel::test;
using namespace Qt::Literals::StringLiterals;

namespace {

class PartnerCard : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        TrayNotice::instance().reset();
        FileDialogs::instance().setScripted(true);
        FileDialogs::instance().reset();
        settings->setValue(u"Anagrafica", u"Incremento automatico del codice", true);
    }
    void TearDown() override {
        card.reset();
        FileDialogs::instance().setScripted(false);
        FileDialogs::instance().reset();
        WindowFixture::TearDown();
    }
    void open() {
        card = std::make_unique<Tfrm_clienti1>(ctx);
        card->showPreview = [this](const report::PageModel& m) { previewed = m.text(); };
        card->FormShow();
    }
    void seed(const QString& code, const QString& name, const QString& extra, const QString& vat = QString()) {
        Probe::exec(data(u"anagrafica.db"_s),
                    u"INSERT INTO anagrafica (COD_CLI, NOME, EXTRA_DATA, PIVA, CITTA) VALUES ('%1', '%2', '%3', '%4', 'Forlì')"_s
                        .arg(code, QString(name).replace(u"'"_s, u"''"_s), extra, vat));
    }
    template <class T>
    T* w(const QString& name) {
        T* x = card->findChild<T*>(name);
        EXPECT_NE(x, nullptr) << qPrintable(name);
        return x;
    }
    void click(const QString& name) { QTest::mouseClick(w<QPushButton>(name), Qt::LeftButton); }
    void type(const QString& name, const QString& text) {
        QLineEdit* e = w<QLineEdit>(name);
        e->clear();
        // QTest types only ASCII keys; other text goes in as the input method would put it.
        bool ascii = true;
        for (const QChar c : text) ascii = ascii && c.unicode() < 128;
        if (ascii) QTest::keyClicks(e, text);
        else e->insert(text);
    }
    QList<QVariantList> partners() {
        return Probe::rows(data(u"anagrafica.db"_s), u"SELECT COD_CLI, NOME, EXTRA_DATA, CF FROM anagrafica ORDER BY rowid"_s);
    }
    QStringList shown() const { return Dialogs::instance().shownTexts(); }

    std::unique_ptr<Tfrm_clienti1> card;
    QString previewed;
};

}  // namespace

TEST_F(PartnerCard, NewCardInAnEmptyArchiveGetsCodeOneAndIsSavedWhole) {
    for (const bool zeros : {false, true}) {
        settings->setValue(u"Anagrafica", u"Inserisci zeri in testa", zeros);
        open();
        click(u"btn_nuova"_s);
        const QString expected = zeros ? u"00001"_s : u"1"_s;
        EXPECT_EQ(w<QLineEdit>(u"edt_cod_cli"_s)->text(), expected);
        EXPECT_FALSE(w<QPushButton>(u"btn_nuova"_s)->isEnabled());
        type(u"edt_nome"_s, u"Ferramenta D'Angelo & C."_s);
        type(u"edt_cf"_s, u"rssmra85t10a562s"_s);
        Dialogs::instance().queueAnswer(DlgButton::No);  // no privacy letter
        click(u"btn_conferma"_s);
        const auto rows = partners();
        ASSERT_EQ(rows.size(), 1);
        EXPECT_EQ(rows[0][0].toString(), expected);
        EXPECT_EQ(rows[0][1].toString(), u"Ferramenta D'Angelo & C."_s);
        EXPECT_EQ(rows[0][2].toString(), u"11000000000000000000"_s) << "trust 1, customer";
        EXPECT_EQ(rows[0][3].toString(), u"RSSMRA85T10A562S"_s);
        EXPECT_TRUE(QFile::exists(data(u"anagrafica.db.bak"_s)));
        EXPECT_TRUE(shown().contains(u"Vuoi preparare la lettera di consenso per la Privacy?"_s));
        EXPECT_EQ(card->listCount(), 1);
        EXPECT_TRUE(w<QPushButton>(u"btn_nuova"_s)->isEnabled());
        QStringList notices;
        for (const auto& n : TrayNotice::instance().shown()) notices << n.text;
        EXPECT_TRUE(notices.contains(u"L'inserimento di una nuova scheda ha avuto successo"_s));
        Probe::exec(data(u"anagrafica.db"_s), u"DELETE FROM anagrafica"_s);
        Dialogs::instance().reset();
    }
}

TEST_F(PartnerCard, DuplicateCodesAreRefusedForNewAndEditedCards) {
    seed(u"10"_s, u"Alfa"_s, u"01000000000000000000"_s);
    seed(u"9"_s, u"Beta"_s, u"01000000000000000000"_s);
    open();
    click(u"btn_nuova"_s);
    EXPECT_EQ(w<QLineEdit>(u"edt_cod_cli"_s)->text(), u"11"_s) << "10 is taken, although 9 sorts last";
    type(u"edt_cod_cli"_s, u"9"_s);
    type(u"edt_nome"_s, u"Gamma"_s);
    click(u"btn_conferma"_s);
    EXPECT_EQ(shown().value(0), u"Questo codice esiste già!\r\nSostituirlo con uno diverso!"_s);
    EXPECT_EQ(partners().size(), 2);
    click(u"btn_annulla"_s);

    Dialogs::instance().reset();
    click(u"btn_fine"_s);  // "9", last in code order
    EXPECT_EQ(w<QLineEdit>(u"edt_nome"_s)->text(), u"Beta"_s);
    type(u"edt_cod_cli"_s, u"10"_s);
    click(u"btn_conferma"_s);
    EXPECT_EQ(shown().value(0), u"Questo codice esiste già!\r\nSostituirlo con uno diverso!"_s);
    EXPECT_EQ(partners()[1][0].toString(), u"9"_s);
    type(u"edt_cod_cli"_s, u"12"_s);
    click(u"btn_conferma"_s);
    EXPECT_EQ(partners()[1][0].toString(), u"12"_s) << "a free code may replace the old one";
    EXPECT_EQ(partners().size(), 2);
}

TEST_F(PartnerCard, VatAndFiscalCodeChecks) {
    settings->setValue(u"Anagrafica", u"Controlla partita iva", true);
    seed(u"1"_s, u"Alfa"_s, u"01000000000000000000"_s, u"01234567897"_s);
    open();
    struct Case {
        QString vat;
        QString cf;
        QStringList messages;
        bool saved;
    } cases[] = {
        {u"01234567897"_s, u""_s, {u"Numero di Partita IVA già esistente!"_s}, false},
        {u"12345678901"_s, u""_s, {u"Numero di Partita IVA non valido!"_s}, true},
        {u"12345678903"_s, u"RSSMRA85T10A562T"_s, {u"CODICE FISCALE non valido!"_s}, true},
        {u"12345678903"_s, u"XYZ"_s, {u"CODICE FISCALE non valido!"_s}, false},
        {u"12345678903"_s, u"12345678903"_s, {}, true},
    };
    for (const Case& c : cases) {
        Dialogs::instance().reset();
        const qsizetype before = partners().size();
        click(u"btn_nuova"_s);
        type(u"edt_nome"_s, u"Nuova"_s);
        type(u"edt_piva"_s, c.vat);
        type(u"edt_cf"_s, c.cf);
        Dialogs::instance().queueAnswer(DlgButton::Ok);
        Dialogs::instance().queueAnswer(DlgButton::No);
        click(u"btn_conferma"_s);
        QStringList messages = shown();
        messages.removeAll(u"Vuoi preparare la lettera di consenso per la Privacy?"_s);
        EXPECT_EQ(messages, c.messages) << qPrintable(c.vat + u' ' + c.cf);
        EXPECT_EQ(partners().size(), before + (c.saved ? 1 : 0)) << qPrintable(c.cf);
        if (!c.saved) click(u"btn_annulla"_s);
        Probe::exec(data(u"anagrafica.db"_s), u"DELETE FROM anagrafica WHERE COD_CLI <> '1'"_s);
        card->FormShow();
    }
}

TEST_F(PartnerCard, TypeStringShowsAndSavesBack) {
    seed(u"7"_s, u"Dettaglio Rossi"_s, u"51000000000100000000"_s);
    open();
    EXPECT_EQ(w<QSpinBox>(u"num_trust"_s)->value(), 5);
    const QStringList names = {u"chk_cliente"_s, u"chk_fornitore"_s, u"chk_tipo1"_s, u"chk_tipo4"_s,
                               u"chk_dettagliante"_s, u"chk_ente_pubblico"_s};
    const QList<bool> expected = {true, false, false, false, true, false};
    for (int i = 0; i < names.size(); ++i) EXPECT_EQ(w<QCheckBox>(names[i])->isChecked(), expected[i]) << qPrintable(names[i]);
    click(u"btn_conferma"_s);
    EXPECT_EQ(partners()[0][2].toString(), u"51000000000100000000"_s);
    w<QCheckBox>(u"chk_fornitore"_s)->setChecked(true);
    // The bar: a click on its right half raises the level, on its left half lowers it.
    QWidget* bar = w<QWidget>(u"bar_trust"_s);
    bar->resize(200, 18);
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(180, 9));
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(180, 9));
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(20, 9));
    EXPECT_EQ(w<QSpinBox>(u"num_trust"_s)->value(), 6);
    click(u"btn_conferma"_s);
    EXPECT_EQ(partners()[0][2].toString(), u"61100000000100000000"_s);
}

TEST_F(PartnerCard, QuickSearchAndKindFilters) {
    seed(u"1"_s, u"Rossi Mario"_s, u"01000000000000000000"_s);
    seed(u"2"_s, u"Bianchi & C."_s, u"00100000000000000000"_s);
    seed(u"3"_s, u"D'Amico 100%"_s, u"01100000000000000000"_s);
    seed(u"4"_s, u"Città 1000"_s, u"00000000000000000000"_s);
    open();
    EXPECT_EQ(card->listCount(), 4);
    w<QComboBox>(u"cmb_campo_ricerca"_s)->setCurrentIndex(1);  // Nome
    struct Case {
        QString text;
        int mode;
        int kind;
        int rows;
    } cases[] = {
        {u"ross"_s, 0, 0, 1}, {u"100%"_s, 0, 0, 1}, {u"100"_s, 0, 0, 2}, {u"CITTÀ"_s, 0, 0, 1}, {u"i"_s, 1, 0, 0},
        {u"b"_s, 1, 0, 1},    {u""_s, 0, 1, 2},     {u""_s, 0, 2, 2},    {u""_s, 0, 3, 1},      {u"'"_s, 0, 0, 1},
    };
    for (const Case& c : cases) {
        w<QComboBox>(u"cmb_modo_ricerca"_s)->setCurrentIndex(c.mode);
        w<QComboBox>(u"cmb_filtro_esteso"_s)->setCurrentIndex(c.kind);
        type(u"edt_ricerca"_s, c.text);
        EXPECT_EQ(card->listCount(), c.rows) << qPrintable(c.text) << " mode " << c.mode << " kind " << c.kind;
    }
    w<QComboBox>(u"cmb_filtro_esteso"_s)->setCurrentIndex(0);
    click(u"btn_pulisci_ricerca"_s);
    EXPECT_EQ(card->listCount(), 4);
}

TEST_F(PartnerCard, FilteredListPrintsThroughTheReport) {
    seed(u"1"_s, u"Rossi Mario"_s, u"01000000000000000000"_s);
    seed(u"2"_s, u"Bianchi Fornitore"_s, u"00100000000000000000"_s);
    open();
    EXPECT_FALSE(w<QPushButton>(u"btn_stampa_elenco"_s)->isEnabled());
    w<QRadioButton>(u"rb_stampa_clienti"_s)->setChecked(true);
    click(u"btn_attiva_filtro"_s);
    EXPECT_EQ(w<QPushButton>(u"btn_attiva_filtro"_s)->text(), u"Toglie filtro"_s);
    EXPECT_EQ(card->listCount(), 1);
    click(u"btn_stampa_elenco"_s);
    EXPECT_TRUE(previewed.contains(u"Anagrafica Clienti"_s)) << qPrintable(previewed);
    EXPECT_TRUE(previewed.contains(u"Rossi Mario"_s));
    EXPECT_FALSE(previewed.contains(u"Bianchi"_s));
    type(u"edt_filtro_nome_da"_s, u"nessuno"_s);
    click(u"btn_attiva_filtro"_s);  // off
    click(u"btn_attiva_filtro"_s);  // on, matching nothing
    EXPECT_EQ(card->listCount(), 0);
    click(u"btn_stampa_elenco"_s);
    EXPECT_EQ(shown().value(0), u"Non ci sono schede che soddisfano la ricerca"_s);
}

TEST_F(PartnerCard, ConsentLetterAfterANewCard) {
    open();
    click(u"btn_nuova"_s);
    type(u"edt_cod_cli"_s, u"C1"_s);
    type(u"edt_nome"_s, u"Bar Sport di Neri Anna"_s);
    type(u"edt_via"_s, u"Corso Garibaldi 12"_s);
    type(u"edt_cap"_s, u"47121"_s);
    type(u"edt_citta"_s, u"Forlì"_s);
    type(u"edt_prov"_s, u"fc"_s);
    Dialogs::instance().queueAnswer(DlgButton::Yes);
    click(u"btn_conferma"_s);
    for (const QString& part : {u"Bar Sport di Neri Anna"_s, u"Corso Garibaldi 12"_s, u"47121 Forlì (FC)"_s,
                                Clock::today().toString(u"dd/MM/yyyy"_s), u"Regolamento (UE) 2016/679"_s,
                                u"D.Lgs. n. 101/2018"_s})
        EXPECT_TRUE(previewed.contains(part)) << qPrintable(part) << "\n" << qPrintable(previewed);
}

TEST_F(PartnerCard, CityFillsPostCodeAndLookupsOpenTheSearchDialog) {
    ASSERT_TRUE(installReferenceTables(base.path()).isEmpty());
    settings->setValue(u"Anagrafica", u"Ricerca CAP", true);
    seed(u"1"_s, u"Alfa"_s, u"01000000000000000000"_s);
    open();
    QLineEdit* city = w<QLineEdit>(u"edt_citta"_s);
    city->clear();
    QTest::keyClicks(city, u"Cesenatico"_s);
    EXPECT_EQ(w<QLineEdit>(u"edt_cap"_s)->text(), u"47042"_s);
    EXPECT_EQ(w<QLineEdit>(u"edt_prov"_s)->text(), u"FC"_s);

    QList<int> pages;
    card->runSearch = [&](Tfrm_cerca& d) { pages << d.currentPage(); };
    click(u"btn_trova_cap"_s);
    type(u"edt_abi"_s, u"03069"_s);
    QTest::mouseDClick(w<QLineEdit>(u"edt_abi"_s), Qt::LeftButton);
    EXPECT_EQ(pages, (QList<int>{5, 6}));

    // The first bank line looks the bank up by name at once.
    qsizetype banks = 0;
    card->runSearch = [&](Tfrm_cerca& d) { banks = d.findChild<QListView*>(u"memo_banche"_s)->model()->rowCount(); };
    QComboBox* bank = w<QComboBox>(u"cmb_banca"_s);
    bank->setCurrentText(u"Intesa Sanpaolo"_s);
    QTest::mouseDClick(bank->lineEdit(), Qt::LeftButton);
    EXPECT_GT(banks, 0);
}

TEST_F(PartnerCard, VehicleSearchAndTypingIntoTheList) {
    seed(u"1"_s, u"Alfa"_s, u"01000000000000000000"_s);
    seed(u"2"_s, u"Beta"_s, u"01000000000000000000"_s);
    Probe::exec(data(u"anagrafica.db"_s), u"UPDATE anagrafica SET targa_vettura = 'AB123CD' WHERE COD_CLI = '2'"_s);
    open();
    w<QComboBox>(u"cmb_cerca_vettura"_s)->setCurrentIndex(2);  // Targa
    type(u"edt_cerca_vettura"_s, u"b12"_s);
    click(u"btn_cerca_vettura"_s);
    ASSERT_EQ(card->listCount(), 1);
    EXPECT_EQ(w<QLineEdit>(u"edt_nome"_s)->text(), u"Beta"_s);
    click(u"btn_cancella_vettura"_s);
    EXPECT_EQ(card->listCount(), 2);
    QTest::keyClicks(w<QTableView>(u"grid_anagrafica"_s), u"a"_s);
    EXPECT_EQ(w<QComboBox>(u"cmb_campo_ricerca"_s)->currentText(), u"Nome"_s);
    EXPECT_EQ(w<QLineEdit>(u"edt_ricerca"_s)->text(), u"a"_s);
    EXPECT_EQ(card->listCount(), 2);
}

TEST_F(PartnerCard, QuickViewListsThePartnersDocuments) {
    seed(u"C7"_s, u"Alfa"_s, u"01000000000000000000"_s);
    Probe::exec(data(u"dett_ddt26.db"_s),
                u"INSERT INTO dett_ddt26 (BOLLA, COD_CLI, COD, DES, QUANT, DATA) VALUES (3, 'C7', 'A1', 'Vite', 2.5, '2026-05-04'),"
                " (4, 'ALTRO', 'A2', 'Dado', 1, '2026-05-05'), (5, 'X', 'A3', 'Rondella', 7, '2026-05-06')"_s);
    Probe::exec(data(u"dett_ddt26.db"_s), u"UPDATE dett_ddt26 SET COD_FORN = 'C7' WHERE BOLLA = 5"_s);
    open();
    click(u"btn_qv_movimenti"_s);
    QTableWidget* grid = w<QTableWidget>(u"grid_quick_view"_s);
    ASSERT_EQ(grid->rowCount(), 2);
    EXPECT_EQ(grid->horizontalHeaderItem(3)->text(), u"Cod.articolo"_s);
    EXPECT_EQ(grid->item(0, 0)->text(), u"04/05/2026"_s);
    EXPECT_EQ(grid->item(1, 4)->text(), u"Rondella"_s);
    click(u"btn_qv_fatture"_s);
    EXPECT_EQ(grid->rowCount(), 0);
    EXPECT_EQ(grid->horizontalHeaderItem(5)->text(), u"IVA 22"_s);
    card->showPage(2);
    EXPECT_TRUE(w<QLabel>(u"panel_nessun_contatto"_s)->isVisibleTo(card.get()));
    EXPECT_FALSE(w<QTableWidget>(u"grid_contatti"_s)->isVisibleTo(card.get()));
}

TEST_F(PartnerCard, SimpleViewUnsavedContactsAndUsageRecord) {
    settings->setValue(u"Anagrafica", u"Visualizzazione semplice", true);
    seed(u"1"_s, u"Alfa"_s, u"01000000000000000000"_s);
    seed(u"2"_s, u"Beta"_s, u"01000000000000000000"_s);
    open();
    EXPECT_FALSE(w<QWidget>(u"panel_banca"_s)->isVisibleTo(card.get()));
    EXPECT_FALSE(w<QWidget>(u"panel_sede_alternativa"_s)->isVisibleTo(card.get()));

    click(u"btn_nuovo_contatto"_s);
    QTableWidget* contacts = w<QTableWidget>(u"grid_contatti"_s);
    ASSERT_EQ(contacts->rowCount(), 1);
    contacts->item(0, 3)->setText(u"Sig. Neri"_s);
    click(u"btn_successivo"_s);  // default answer: No, stay
    EXPECT_EQ(w<QLineEdit>(u"edt_nome"_s)->text(), u"Alfa"_s);
    EXPECT_EQ(shown().value(0), u"I contatti sono stati modificati, confermi l'uscita senza salvare?"_s);
    click(u"btn_conferma_contatto"_s);
    EXPECT_EQ(Probe::rows(data(u"contatti.db"_s), u"SELECT PERSCONT FROM contatti"_s).value(0).value(0).toString(),
              u"Sig. Neri"_s);
    click(u"btn_successivo"_s);
    EXPECT_EQ(w<QLineEdit>(u"edt_nome"_s)->text(), u"Beta"_s);

    card->accept();
    IniFile survey(base.file(u"survey.zel"_s));
    survey.load();
    EXPECT_EQ(survey.value(u"Anagrafica"_s, u"numero utilizzi"_s), u"1"_s);
    EXPECT_TRUE(survey.value(u"Anagrafica"_s, u"stringa"_s, QString()).endsWith(u"    Schede in archivio: 2"_s));
}

TEST_F(PartnerCard, AttachmentIsWrittenOnlyByItsConfirmation) {
    seed(u"A1"_s, u"Alfa"_s, u"01000000000000000000"_s);
    open();
    const QString file = data(u"alleg_anag.db"_s);
    click(u"btn_nuovo_allegato"_s);
    EXPECT_EQ(w<DateEdit>(u"dt_data_allegato"_s)->date(), Clock::today());
    EXPECT_EQ(w<QSpinBox>(u"num_riservatezza"_s)->value(), 1);
    type(u"edt_des_allegato"_s, u"Contratto d'affitto 100%"_s);
    click(u"btn_riservatezza_piu"_s);
    click(u"btn_riservatezza_piu"_s);
    click(u"btn_riservatezza_meno"_s);
    EXPECT_EQ(Probe::count(file), 0) << "nothing is written before Conferma";
    click(u"btn_conferma_allegato"_s);
    auto rows = [&] { return Probe::rows(file, u"SELECT cod_cli, des, privacy, data FROM alleg_anag"_s); };
    ASSERT_EQ(rows().size(), 1);
    EXPECT_EQ(rows()[0], (QVariantList{u"A1"_s, u"Contratto d'affitto 100%"_s, 2LL, Clock::today().toString(Qt::ISODate)}));

    // The level stays within 0..99, by the arrows as by the bar.
    QSpinBox* level = w<QSpinBox>(u"num_riservatezza"_s);
    level->setValue(99);
    click(u"btn_riservatezza_piu"_s);
    EXPECT_EQ(level->value(), 99);
    QWidget* bar = w<QWidget>(u"bar_riservatezza"_s);
    bar->resize(200, 18);
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(20, 9));
    EXPECT_EQ(level->value(), 98);
    type(u"edt_des_allegato"_s, u"Contratto rinnovato"_s);
    click(u"btn_conferma_allegato"_s);
    ASSERT_EQ(rows().size(), 1) << "the current entry is edited, not appended";
    EXPECT_EQ(rows()[0][1].toString(), u"Contratto rinnovato"_s);
    EXPECT_EQ(rows()[0][2].toLongLong(), 98);

    click(u"btn_nuovo_allegato"_s);
    click(u"btn_cancella_allegato"_s);  // abandons the new entry
    EXPECT_EQ(rows().size(), 1);
    click(u"btn_apri_doc"_s);  // no file: nothing to open
    FileDialogs::instance().queueAnswer(base.file(u"manca.pdf"_s));
    QTest::mouseDClick(w<QLineEdit>(u"edt_file_allegato"_s), Qt::LeftButton);
    EXPECT_EQ(w<QLineEdit>(u"edt_file_allegato"_s)->text(), base.file(u"manca.pdf"_s));
    click(u"btn_apri_doc"_s);
    EXPECT_TRUE(shown().value(0).startsWith(u"Errore apertura documento:\n\rTipo errore: "_s)) << qPrintable(shown().value(0));
    click(u"btn_cancella_allegato"_s);
    EXPECT_EQ(Probe::count(file), 0);
}

TEST_F(PartnerCard, FailedWritesLeaveTheArchivesAndSaySo) {
    seed(u"A1"_s, u"Alfa"_s, u"01000000000000000000"_s);
    open();
    const QString registry = data(u"anagrafica.db"_s);
    const QString attachments = data(u"alleg_anag.db"_s);
    Probe::exec(attachments, u"CREATE TRIGGER fail BEFORE INSERT ON alleg_anag BEGIN SELECT RAISE(ABORT, 'disco pieno'); END"_s);
    Probe::exec(registry, u"CREATE TRIGGER fail BEFORE UPDATE ON anagrafica BEGIN SELECT RAISE(ABORT, 'disco pieno'); END"_s);
    const QString before = Probe::dump(registry) + Probe::dump(attachments);

    click(u"btn_nuovo_allegato"_s);
    type(u"edt_des_allegato"_s, u"Visura"_s);
    click(u"btn_conferma_allegato"_s);
    EXPECT_EQ(w<QLineEdit>(u"edt_des_allegato"_s)->text(), u"Visura"_s) << "the entry stays as typed";

    type(u"edt_nome"_s, u"Alfa Due"_s);
    click(u"btn_conferma"_s);
    EXPECT_EQ(Probe::dump(registry) + Probe::dump(attachments), before);
    ASSERT_EQ(shown().size(), 2);
    EXPECT_TRUE(shown()[0].contains(u"disco pieno"_s)) << qPrintable(shown()[0]);
    EXPECT_TRUE(shown()[1].startsWith(u"La scheda non è stata salvata:"_s)) << qPrintable(shown()[1]);
    EXPECT_EQ(w<QLineEdit>(u"edt_nome"_s)->text(), u"Alfa Due"_s);
}

TEST_F(PartnerCard, ConfirmWithoutACardWritesNothing) {
    seed(u"1"_s, u"Alfa"_s, u"01000000000000000000"_s);
    open();
    w<QComboBox>(u"cmb_campo_ricerca"_s)->setCurrentIndex(1);
    type(u"edt_ricerca"_s, u"nessuno"_s);
    ASSERT_EQ(card->listCount(), 0);
    type(u"edt_nome"_s, u"Fantasma"_s);
    click(u"btn_conferma"_s);
    EXPECT_EQ(partners().size(), 1);
    EXPECT_FALSE(QFile::exists(data(u"anagrafica.db.bak"_s)));
    EXPECT_EQ(shown(), QStringList{u"Nessuna scheda da confermare.\r\nPer inserirne una premere \"Aggiungi nuova scheda\"."_s});
}

TEST_F(PartnerCard, NewCardCannotBeOverwrittenNorFileSideRowsElsewhere) {
    seed(u"1"_s, u"Alfa"_s, u"01000000000000000000"_s);
    seed(u"2"_s, u"Beta"_s, u"01000000000000000000"_s);
    open();
    card->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(card.get()));
    click(u"btn_nuova"_s);
    type(u"edt_nome"_s, u"Nuova"_s);
    for (const char* name : {"btn_nuovo_contatto", "btn_nuovo_allegato", "btn_conferma_allegato", "btn_qv_movimenti"})
        EXPECT_FALSE(w<QPushButton>(QString::fromLatin1(name))->isEnabled()) << name;

    QTableView* grid = w<QTableView>(u"grid_anagrafica"_s);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(grid->model()->index(1, 1)).center());
    QHeaderView* header = grid->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(header->sectionViewportPosition(1) + 5, 5));
    QTest::keyClicks(w<QLineEdit>(u"edt_ricerca"_s), u"a"_s);
    EXPECT_EQ(w<QLineEdit>(u"edt_nome"_s)->text(), u"Nuova"_s);
    EXPECT_TRUE(card->isNewCard());

    Dialogs::instance().queueAnswer(DlgButton::No);  // no privacy letter
    click(u"btn_conferma"_s);
    EXPECT_EQ(w<QLineEdit>(u"edt_cod_cli"_s)->text(), u"3"_s);
    click(u"btn_nuovo_allegato"_s);
    type(u"edt_des_allegato"_s, u"Visura"_s);
    click(u"btn_conferma_allegato"_s);
    click(u"btn_nuovo_contatto"_s);
    EXPECT_EQ(Probe::rows(data(u"alleg_anag.db"_s), u"SELECT cod_cli FROM alleg_anag"_s), (QList<QVariantList>{{u"3"_s}}));
    EXPECT_EQ(Probe::rows(data(u"contatti.db"_s), u"SELECT cod_cli FROM contatti"_s), (QList<QVariantList>{{u"3"_s}}));
}

TEST_F(PartnerCard, ShowingAgainKeepsTheCardBeingTyped) {
    seed(u"1"_s, u"Alfa"_s, u"01000000000000000000"_s);
    card = std::make_unique<Tfrm_clienti1>(ctx);
    card->show();  // opened: the opening runs
    EXPECT_EQ(w<QLineEdit>(u"edt_nome"_s)->text(), u"Alfa"_s);
    click(u"btn_nuova"_s);
    type(u"edt_nome"_s, u"Nuova"_s);
    card->showMinimized();
    card->showNormal();
    card->hide();
    card->show();
    EXPECT_TRUE(card->isNewCard());
    EXPECT_EQ(w<QLineEdit>(u"edt_nome"_s)->text(), u"Nuova"_s);
    card->reject();  // closed: the next opening starts afresh
    card->show();
    EXPECT_FALSE(card->isNewCard());
    EXPECT_EQ(w<QLineEdit>(u"edt_nome"_s)->text(), u"Alfa"_s);
}

TEST_F(PartnerCard, EditingTheCodeDoesNotClashWithTheCardsOwnVatNumber) {
    settings->setValue(u"Anagrafica", u"Controlla partita iva", true);
    seed(u"1"_s, u"Alfa"_s, u"01000000000000000000"_s, u"01234567897"_s);
    open();
    type(u"edt_cod_cli"_s, u"A1"_s);
    click(u"btn_conferma"_s);
    EXPECT_EQ(shown(), QStringList());
    EXPECT_EQ(partners()[0][0].toString(), u"A1"_s);
}

TEST_F(PartnerCard, DatesNotFilledStayEmpty) {
    seed(u"1"_s, u"Alfa"_s, u"01000000000000000000"_s);
    open();
    auto dates = [&] {
        return Probe::rows(data(u"anagrafica.db"_s),
                           u"SELECT data_documento, data_nascita, data_revisione FROM anagrafica ORDER BY rowid"_s);
    };
    EXPECT_TRUE(w<DateEdit>(u"dt_data_nascita"_s)->isEmpty());
    QTest::keyClicks(w<DateEdit>(u"dt_data_documento"_s), u"01022025"_s);
    click(u"btn_conferma"_s);
    EXPECT_EQ(dates().value(0), (QVariantList{u"2025-02-01"_s, QVariant(), QVariant()}));

    click(u"btn_nuova"_s);
    EXPECT_TRUE(w<DateEdit>(u"dt_data_documento"_s)->isEmpty());
    type(u"edt_nome"_s, u"Nuova"_s);
    click(u"btn_conferma"_s);
    EXPECT_EQ(dates().value(1), (QVariantList{QVariant(), QVariant(), QVariant()}));
}

TEST_F(PartnerCard, FieldsTakeTheirColumnsLength) {
    seed(u"1"_s, u"Alfa"_s, u"01000000000000000000"_s);
    open();
    QPlainTextEdit* note = w<QPlainTextEdit>(u"memo_note"_s);
    note->clear();
    QTest::keyClicks(note, QString(205, u'x'));
    EXPECT_EQ(note->toPlainText().size(), 200);
    EXPECT_EQ(w<QLineEdit>(u"edt_nome"_s)->maxLength(), 70);
    EXPECT_EQ(w<QLineEdit>(u"edt_des_allegato"_s)->maxLength(), 60);
    click(u"btn_nuovo_contatto"_s);
    QTableWidget* contacts = w<QTableWidget>(u"grid_contatti"_s);
    contacts->editItem(contacts->item(0, 3));  // "Persona contattata", PERSCONT CHAR(60)
    auto* cell = contacts->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->maxLength(), 60);
    click(u"btn_conferma"_s);
    EXPECT_EQ(shown(), QStringList());
    EXPECT_EQ(Probe::rows(data(u"anagrafica.db"_s), u"SELECT length(note) FROM anagrafica"_s).value(0).value(0), 200LL);
}

TEST_F(PartnerCard, CommissionAndExternalStore) {
    seed(u"1"_s, u"Alfa"_s, u"01000000000000000000"_s);
    open();
    EXPECT_EQ(w<QLineEdit>(u"edt_provv"_s)->text(), u"0"_s);
    type(u"edt_mag_ext"_s, u"3"_s);
    click(u"btn_conferma"_s);
    EXPECT_EQ(Probe::rows(data(u"anagrafica.db"_s), u"SELECT mag_ext, provv FROM anagrafica"_s).value(0),
              (QVariantList{3LL, 0.0}));
}

TEST_F(PartnerCard, ContactTimeUsesTheLocalesSeparator) {
    seed(u"1"_s, u"Alfa"_s, u"01000000000000000000"_s);
    open();
    const struct {
        QLocale::Language language;
        QString stored;
    } cases[] = {{QLocale::Italian, u"14:30"_s}, {QLocale::Finnish, u"14.30"_s}};
    click(u"btn_nuovo_contatto"_s);
    for (const auto& c : cases) {
        QLocale::setDefault(QLocale(c.language));
        w<QTableWidget>(u"grid_contatti"_s)->item(0, 2)->setText(u"14:30"_s);
        click(u"btn_conferma_contatto"_s);
        EXPECT_EQ(Probe::rows(data(u"contatti.db"_s), u"SELECT orario FROM contatti"_s).value(0).value(0).toString(), c.stored);
    }
    QLocale::setDefault(QLocale::system());
}

TEST_F(PartnerCard, PicturesShowByTheirModeAndUnreadableFilesBeep) {
    const QString photo = base.file(u"logo.png"_s);
    QImage image(200, 100, QImage::Format_RGB32);
    image.fill(Qt::red);
    ASSERT_TRUE(image.save(photo));
    const QString broken = base.file(u"rotta.png"_s);
    QFile f(broken);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write("non è una foto") > 0);
    f.close();
    seed(u"1"_s, u"Alfa"_s, u"01000000000000000000"_s);
    Probe::exec(data(u"anagrafica.db"_s), u"UPDATE anagrafica SET foto1 = '%1', foto2 = '%2'"_s.arg(photo, broken));
    open();
    auto* first = w<PictureView>(u"img_foto1"_s);
    auto* small = w<PictureView>(u"img_foto_anagrafica"_s);
    QTRY_VERIFY(first->hasPicture() && small->hasPicture() && !w<PictureView>(u"img_foto2"_s)->isLoading());
    EXPECT_EQ(first->image().pixelColor(0, 0), QColor(Qt::red));
    EXPECT_FALSE(w<PictureView>(u"img_foto2"_s)->hasPicture());
    EXPECT_EQ(w<QLineEdit>(u"edt_foto2"_s)->text(), broken) << "the path is kept";
    EXPECT_EQ(Dialogs::instance().beeps(), 1);

    first->resize(300, 300);
    const struct {
        bool proportional;
        bool stretched;
        QSize shown;
    } modes[] = {{true, true, {300, 150}}, {false, true, {300, 300}}, {false, false, {200, 100}}};
    for (const auto& m : modes) {
        w<QCheckBox>(u"chk_proporzionale"_s)->setChecked(m.proportional);
        w<QCheckBox>(u"chk_adattato"_s)->setChecked(m.stretched);
        EXPECT_EQ(first->pictureRect().size(), m.shown) << m.proportional << m.stretched;
    }

    // Chosen by a click on the slot, a button, or a double click on the vehicle's picture.
    FileDialogs::instance().queueAnswer(photo);
    FileDialogs::instance().queueAnswer(photo);
    FileDialogs::instance().queueAnswer(photo);
    QTest::mouseClick(w<PictureView>(u"img_foto3"_s), Qt::LeftButton);
    click(u"btn_scegli_foto2"_s);
    QTest::mouseDClick(w<PictureView>(u"img_foto_vettura"_s), Qt::LeftButton);
    EXPECT_EQ(w<QLineEdit>(u"edt_foto3"_s)->text(), photo);
    EXPECT_EQ(w<QLineEdit>(u"edt_foto2"_s)->text(), photo);
    EXPECT_EQ(w<QLineEdit>(u"edt_foto_vettura"_s)->text(), photo);
    QTRY_VERIFY(w<PictureView>(u"img_foto_vettura"_s)->hasPicture() && w<PictureView>(u"img_foto2"_s)->hasPicture());
    click(u"btn_scegli_foto2"_s);  // cancelled: the picture stays
    EXPECT_EQ(w<QLineEdit>(u"edt_foto2"_s)->text(), photo);
    const QString tooLong = base.file(QString(160, u'x') + u".png"_s);
    FileDialogs::instance().queueAnswer(tooLong);
    click(u"btn_scegli_foto2"_s);
    EXPECT_EQ(w<QLineEdit>(u"edt_foto2"_s)->text(), photo) << "a path is never cut";
    EXPECT_TRUE(shown().value(0).contains(tooLong)) << qPrintable(shown().value(0));
    w<QLineEdit>(u"edt_foto2"_s)->setText(broken);
    click(u"btn_elimina_foto_vettura"_s);
    click(u"btn_svuota_foto1"_s);
    EXPECT_FALSE(w<PictureView>(u"img_foto_vettura"_s)->hasPicture());
    EXPECT_FALSE(small->hasPicture());
    click(u"btn_conferma"_s);
    EXPECT_EQ(Probe::rows(data(u"anagrafica.db"_s), u"SELECT foto1, foto2, foto3, foto_vettura FROM anagrafica"_s).value(0),
              (QVariantList{u""_s, broken, photo, u""_s}));
}

TEST_F(PartnerCard, ListLoadsByWindowsInTheSelectionsOrder) {
    // 600 cards, names repeating across window borders, a few without a name.
    Probe::exec(data(u"anagrafica.db"_s),
                u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 600) "
                "INSERT INTO anagrafica (COD_CLI, NOME, EXTRA_DATA) SELECT printf('C%03d', i), "
                "CASE WHEN i % 97 = 0 THEN NULL ELSE 'Ditta ' || (i % 40) END, '01000000000000000000' FROM n"_s);
    open();
    QTableView* grid = w<QTableView>(u"grid_anagrafica"_s);
    QAbstractItemModel* model = grid->model();
    EXPECT_EQ(model->rowCount(), 256) << "one window, not every card";
    EXPECT_EQ(card->listCount(), 600);
    EXPECT_EQ(w<QLabel>(u"lbl_num_schede"_s)->text(), u"600 schede in archivio"_s);

    auto shownCodes = [&] {
        QVariantList codes;
        for (int r = 0; r < model->rowCount(); ++r) codes << model->index(r, 0).data().toString();
        return codes;
    };
    auto expected = [&](const QString& sql) {
        QVariantList codes;
        for (const QVariantList& r : Probe::rows(data(u"anagrafica.db"_s), sql)) codes << r[0];
        return codes;
    };
    card->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(card.get()));
    QHeaderView* header = grid->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(header->sectionViewportPosition(1) + 5, 5));
    click(u"btn_fine"_s);
    const QVariantList byName = expected(u"SELECT cod_cli FROM anagrafica ORDER BY nome, rowid"_s);
    EXPECT_EQ(shownCodes(), byName);
    EXPECT_EQ(w<QLineEdit>(u"edt_cod_cli"_s)->text(), byName.last().toString());

    // Typing fast runs one search when the keys pause; its count follows the list.
    int searches = 0;
    QObject::connect(model, &QAbstractItemModel::modelReset, [&] { ++searches; });
    w<QComboBox>(u"cmb_campo_ricerca"_s)->setCurrentIndex(1);  // Nome
    searches = 0;
    QTest::keyClicks(w<QLineEdit>(u"edt_ricerca"_s), u"ditta 1"_s);
    EXPECT_EQ(searches, 0);
    QTRY_COMPARE(searches, 1);
    EXPECT_EQ(shownCodes(), expected(u"SELECT cod_cli FROM anagrafica WHERE nome LIKE '%ditta 1%' ORDER BY nome, rowid"_s));
    QTest::keyClick(w<QLineEdit>(u"edt_ricerca"_s), Qt::Key_Backspace);
    const QString all = u"SELECT cod_cli FROM anagrafica WHERE nome LIKE '%ditta %' ORDER BY nome, rowid"_s;
    QTRY_COMPARE(w<QLabel>(u"lbl_num_schede"_s)->text(), u"%1 schede in archivio"_s.arg(expected(all).size()));
    EXPECT_EQ(searches, 2);
    EXPECT_EQ(model->rowCount(), 256);
    while (model->canFetchMore({})) model->fetchMore({});
    EXPECT_EQ(shownCodes(), expected(all));
}

TEST_F(PartnerCard, DeletionAsksAndKeepsABackup) {
    seed(u"1"_s, u"Alfa"_s, u"01000000000000000000"_s);
    seed(u"2"_s, u"Beta"_s, u"01000000000000000000"_s);
    open();
    click(u"btn_cancella"_s);  // default answer: No
    EXPECT_EQ(partners().size(), 2);
    Dialogs::instance().queueAnswer(DlgButton::Yes);
    click(u"btn_cancella"_s);
    ASSERT_EQ(partners().size(), 1);
    EXPECT_EQ(partners()[0][0].toString(), u"2"_s);
    EXPECT_TRUE(QFile::exists(data(u"anagrafica.db.bak"_s)));
    EXPECT_EQ(w<QLineEdit>(u"edt_nome"_s)->text(), u"Beta"_s);
}
