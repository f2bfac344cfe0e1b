#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSet>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>

#include "settings/IniFile.h"
#include "setup/LookupTablePage.h"
#include "setup/Tfrm_setup.h"
#include "store/ArchiveMaintenance.h"
#include "store/Store.h"
#include "tests/WindowFixture.h"
#include "ui/Dialogs.h"

using namespace zel;
using namespace zel::test;
using namespace Qt::Literals::StringLiterals;

namespace {

class SetupDialog : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        open();
    }
    void TearDown() override {
        dialog.reset();
        WindowFixture::TearDown();
    }
    void open() {
        dialog.reset();
        openContext();
        dialog = std::make_unique<Tfrm_setup>(ctx);
        dialog->FormShow();
    }
    template <class T>
    T* control(const QString& name) {
        T* w = dialog->findChild<T*>(name);
        EXPECT_NE(w, nullptr) << qPrintable(name);
        return w;
    }
    void click(const QString& button) { QTest::mouseClick(control<QPushButton>(button), Qt::LeftButton); }
    IniFile file(const QString& name) {
        IniFile ini(base.file(name));
        ini.load();
        return ini;
    }

    std::unique_ptr<Tfrm_setup> dialog;
};

}  // namespace

TEST_F(SetupDialog, EveryShownKeyHasExactlyOneControlWithItsName) {
    QSet<QString> names;
    for (const SettingDef& d : settingsCatalogue()) {
        if (d.control.isEmpty() || !d.valueFrom.isEmpty()) continue;
        const QString name = d.control.toString();
        EXPECT_FALSE(names.contains(name)) << qPrintable(name);
        names.insert(name);
        EXPECT_EQ(dialog->findChildren<QWidget*>(name).size(), 1) << qPrintable(name);
    }
    for (const QString& page : {u"System"_s, u"Path"_s, u"Banca (zel_banca.ini)"_s, u"Screen Saver (setup_avanzato.ini)"_s,
                                u"Gruppi"_s, u"Valute"_s, u"Voci aggiuntive"_s})
        EXPECT_TRUE(dialog->pageTitles().contains(page)) << qPrintable(page);
    EXPECT_FALSE(control<QLineEdit>(u"edt_distinta_base"_s)->isEnabled()) << "read-only key";
    EXPECT_TRUE(control<QCheckBox>(u"chk_scambia_destinatari"_s)->isEnabled()) << "written under another key";
}

TEST_F(SetupDialog, ConfirmWritesEveryTypeToItsFile) {
    control<QCheckBox>(u"chk_pw"_s)->setChecked(true);
    control<QSpinBox>(u"trackbar_skill"_s)->setValue(4);
    control<QDoubleSpinBox>(u"num_costo_orario"_s)->setValue(33.5);
    QLineEdit* currency = control<QLineEdit>(u"edt_valuta_secondaria"_s);
    currency->clear();
    QTest::keyClicks(currency, u"Dollari USA"_s);
    control<QLineEdit>(u"edt_nome_banca1"_s)->setText(u"Banca dell'Adriatico"_s);
    control<QDoubleSpinBox>(u"num_idle_time"_s)->setValue(120);
    control<QLineEdit>(u"lbl_password"_s)->setText(u"segreta"_s);
    control<QLineEdit>(u"riga1"_s)->setText(u"Rossi & Figli S.n.c."_s);
    control<QCheckBox>(u"chk_scambia_destinatari"_s)->setChecked(true);
    click(u"btn_conferma_setup"_s);

    const IniFile main = file(u"zelvarin.ini"_s);
    EXPECT_EQ(main.value(u"System"_s, u"Richiesta Password"_s), u"1"_s);
    EXPECT_EQ(main.value(u"System"_s, u"User skill"_s), u"4"_s);
    EXPECT_EQ(main.value(u"Magazzino"_s, u"Costo orario"_s), u"33.5"_s);
    EXPECT_EQ(main.value(u"Magazzino"_s, u"Valuta secondaria"_s), u"Dollari USA"_s);
    EXPECT_EQ(main.value(u"Utente"_s, u"riga 1"_s), u"Rossi & Figli S.n.c."_s);
    EXPECT_EQ(main.value(u"Fatturazione"_s, u"Scambia campi destinazione"_s), u"1"_s);
    EXPECT_NE(main.value(u"System"_s, u"Password"_s), u"segreta"_s);
    EXPECT_EQ(file(u"zel_banca.ini"_s).value(u"Banca"_s, u"Nome Banca 1"_s), u"Banca dell'Adriatico"_s);
    EXPECT_EQ(file(u"setup_avanzato.ini"_s).value(u"Screen Saver"_s, u"idle time"_s), u"120"_s);
    EXPECT_TRUE(ctx.settings->flag(u"System", u"Richiesta Password")) << "the running program has the new value";

    Settings reread(base.path());
    reread.load();
    EXPECT_EQ(reread.text(u"System", u"Password"), u"segreta"_s);
    EXPECT_EQ(reread.integer(u"System", u"User skill"), 4);
}

TEST_F(SetupDialog, CancelLeavesFilesAndLiveValuesAlone) {
    const QByteArray before = base.read(u"zelvarin.ini"_s);
    control<QCheckBox>(u"chk_pw"_s)->setChecked(true);
    click(u"btn_annulla"_s);
    EXPECT_EQ(base.read(u"zelvarin.ini"_s), before);
    EXPECT_FALSE(ctx.settings->flag(u"System", u"Richiesta Password"));
    dialog->FormShow();
    EXPECT_FALSE(control<QCheckBox>(u"chk_pw"_s)->isChecked()) << "shown again from the live values";
}

TEST_F(SetupDialog, YearSwitchMovesThePathFieldsUntilConfirmed) {
    pinDate(QDate(2027, 1, 2));
    ASSERT_EQ(runStartup(), 0);
    open();
    const QByteArray before = base.read(u"zelvarin.ini"_s);
    click(u"btn_aggiorna_anno"_s);
    EXPECT_EQ(control<QLineEdit>(u"edt_ddt"_s)->text(), data(u"ddt27.db"_s));
    EXPECT_EQ(control<QLineEdit>(u"edt_fatture_proforma_detail"_s)->text(), data(u"fatt_proforma_dett27.db"_s));
    EXPECT_EQ(control<QLineEdit>(u"edt_prima_nota"_s)->text(), data(u"prima_nota26.db"_s));
    ASSERT_EQ(Dialogs::instance().shown().size(), 1);
    EXPECT_EQ(Dialogs::instance().shown().first().text, yearSwitchMessage());
    EXPECT_EQ(base.read(u"zelvarin.ini"_s), before);
    click(u"btn_conferma_setup"_s);
    EXPECT_EQ(file(u"zelvarin.ini"_s).value(u"Path"_s, u"Archivio DDT Master"_s), u"Dati/ddt27.db"_s) << "inside the base, relative";
}

TEST_F(SetupDialog, RenumberButtonRewritesTheChosenFile) {
    Probe::exec(data(u"scad.db"_s), u"INSERT INTO scad (DES, ID) VALUES ('a', 9), ('b', 9), ('c', NULL)"_s);
    QTest::keyClicks(control<QLineEdit>(u"edt_file_ricostruzione"_s), data(u"scad.db"_s));
    click(u"btn_ricostruzione"_s);
    const auto rows = Probe::rows(data(u"scad.db"_s), u"SELECT ID FROM scad ORDER BY rowid"_s);
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[2][0].toLongLong(), 3);
    EXPECT_EQ(control<QProgressBar>(u"ProgressBar_ricostruzione"_s)->value(), 3);
    control<QLineEdit>(u"edt_file_ricostruzione"_s)->setText(data(u"manca.db"_s));
    click(u"btn_ricostruzione"_s);
    ASSERT_EQ(Dialogs::instance().shown().size(), 1);
    EXPECT_TRUE(Dialogs::instance().shown().first().text.startsWith(u"Archivio non trovato"_s));
}

TEST_F(SetupDialog, LookupGridSavesEachChangeAndRefusesTooLongText) {
    ASSERT_TRUE(dialog->showPage(u"Gruppi"_s));
    LookupTablePage* page = dialog->lookupPage(u"gruppi"_s);
    QTableWidget* grid = page->grid();
    click(u"btn_aggiungi_gruppi"_s);
    click(u"btn_aggiungi_gruppi"_s);
    ASSERT_EQ(grid->rowCount(), 2);
    EXPECT_EQ(Probe::count(data(u"gruppi.db"_s)), 2);
    grid->item(0, 1)->setText(u"FER"_s);
    grid->item(0, 2)->setText(u"Ferramenta d'Agostino & C."_s);
    grid->item(1, 1)->setText(u"TROPPO LUNGO"_s);  // cod is 10 characters
    ASSERT_EQ(Dialogs::instance().shown().size(), 1);
    EXPECT_TRUE(Dialogs::instance().shown().first().text.contains(u"10"_s));
    auto rows = Probe::rows(data(u"gruppi.db"_s), u"SELECT ID, cod, des FROM gruppi ORDER BY rowid"_s);
    EXPECT_EQ(rows[0], (QVariantList{1LL, u"FER"_s, u"Ferramenta d'Agostino & C."_s}));
    EXPECT_TRUE(rows[1][1].isNull());
    grid->selectRow(0);
    Dialogs::instance().queueAnswer(DlgButton::Yes);
    click(u"btn_elimina_gruppi"_s);
    rows = Probe::rows(data(u"gruppi.db"_s), u"SELECT ID FROM gruppi"_s);
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0][0].toLongLong(), 2);
    EXPECT_EQ(grid->rowCount(), 1);
}

TEST_F(SetupDialog, ConfirmKeepsTheDecimalsOfNumbersAndOneConaiBoxServesBothKeys) {
    IniFile ini = file(u"zelvarin.ini"_s);
    ini.setValue(u"Magazzino"_s, u"Costo orario"_s, u"12,125"_s);
    ini.setValue(u"Fatturazione"_s, u"Stampa contributo CONAI"_s, u"0"_s);
    ini.setValue(u"Preventivi"_s, u"Stampa contributo CONAI"_s, u"1"_s);
    ASSERT_TRUE(ini.save());
    open();
    EXPECT_EQ(dialog->findChildren<QCheckBox*>(u"chk_vis_conai"_s).size(), 1);
    EXPECT_TRUE(control<QCheckBox>(u"chk_vis_conai"_s)->isChecked()) << "the key read last";
    click(u"btn_conferma_setup"_s);
    const IniFile main = file(u"zelvarin.ini"_s);
    EXPECT_EQ(main.value(u"Magazzino"_s, u"Costo orario"_s), u"12.125"_s);
    EXPECT_EQ(main.value(u"Fatturazione"_s, u"Stampa contributo CONAI"_s), u"1"_s);
    EXPECT_EQ(main.value(u"Preventivi"_s, u"Stampa contributo CONAI"_s), u"1"_s);

    control<QCheckBox>(u"chk_vis_conai"_s)->setChecked(false);
    click(u"btn_conferma_setup"_s);
    const IniFile again = file(u"zelvarin.ini"_s);
    EXPECT_EQ(again.value(u"Fatturazione"_s, u"Stampa contributo CONAI"_s), u"0"_s);
    EXPECT_EQ(again.value(u"Preventivi"_s, u"Stampa contributo CONAI"_s), u"0"_s);
    EXPECT_FALSE(ctx.settings->flag(u"Preventivi", u"Stampa contributo CONAI"));
}

TEST_F(SetupDialog, ARenumberingWhoseLastWriteFailsLeavesTheArchiveAndSaysSo) {
    Probe::exec(data(u"scad.db"_s), u"INSERT INTO scad (DES, ID) VALUES ('a', 9), ('b', 9), ('c', 9)"_s);
    Probe::exec(data(u"scad.db"_s), u"CREATE TRIGGER stop_last BEFORE UPDATE ON scad WHEN NEW.ID = 3 "
                                    "BEGIN SELECT RAISE(ABORT, 'scrittura rifiutata'); END"_s);
    const QString before = Probe::dump(data(u"scad.db"_s));
    QTest::keyClicks(control<QLineEdit>(u"edt_file_ricostruzione"_s), data(u"scad.db"_s));
    click(u"btn_ricostruzione"_s);
    EXPECT_EQ(Probe::dump(data(u"scad.db"_s)), before);
    ASSERT_EQ(Dialogs::instance().shown().size(), 1);
    EXPECT_TRUE(Dialogs::instance().shown().first().text.contains(u"scrittura rifiutata"_s))
        << qPrintable(Dialogs::instance().shown().first().text);
}
