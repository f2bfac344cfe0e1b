#include <QAction>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "app/LocalBackup.h"
#include "app/TPasswordDlg.h"
#include "app/TSplashForm.h"
#include "registry/Tfrm_clienti1.h"
#include "app/Tfrm_articoli_sottoscorta.h"
#include "core/Paths.h"
#include "settings/IniFile.h"
#include "store/ArchiveCatalogue.h"
#include "tests/app/ShellFixture.h"

namespace zel::test {
namespace {

const QString kResolution = QStringLiteral("La risoluzione video deve essere almeno 1280x720 per utilizzare Zelvarin.");

// Every message shown except the resolution warning of the small offscreen screen.
QStringList shownBesidesResolution() {
    QStringList out = Dialogs::instance().shownTexts();
    out.removeAll(kResolution);
    return out;
}

void writeIni(const TempBase& base, const QString& section, const QString& key, const QString& value) {
    IniFile ini(base.file(QStringLiteral("zelvarin.ini")));
    ini.load();
    ini.setValue(section, key, value);
    ASSERT_TRUE(ini.save());
}

using MainWindowTest = ShellFixture;

QStringList strings(std::initializer_list<const char*> texts) {
    QStringList out;
    for (const char* t : texts) out << QString::fromUtf8(t);
    return out;
}

TEST_F(MainWindowTest, FirstStartInAnEmptyFolderMakesEveryFileAndOpensTheWindow) {
    TMain& m = start();
    EXPECT_FALSE(m.terminated());
    EXPECT_TRUE(m.isVisible());
    EXPECT_EQ(m.windowTitle(), QStringLiteral("Zelvarin  - Gestione aziendale"));
    EXPECT_EQ(m.minimumSize(), QSize(1024, 720));
    EXPECT_EQ(m.maximumSize(), QSize(1280, 800));
    EXPECT_EQ(shownBesidesResolution(), QStringList());

    QStringList missing;
    for (const QString& dir : {QStringLiteral("Dati"), QStringLiteral("ricfisc")})
        if (!QFileInfo(base.file(dir)).isDir()) missing << dir;
    for (const CreationStep& s : creationOrder()) {
        const QString path = archiveLocation(base.path(), *findArchive(s.file), QStringLiteral("26"));
        if (!QFileInfo::exists(path)) missing << path;
    }
    for (const QString& f : {QStringLiteral("partner.ini"), QStringLiteral("zelvarin.ini")})
        if (!QFileInfo::exists(base.file(f))) missing << f;
    EXPECT_EQ(missing, QStringList());

    const auto* splash = m.findChild<TSplashForm*>();
    ASSERT_NE(splash, nullptr);
    EXPECT_FALSE(splash->isVisible());
    EXPECT_EQ(m.findChild<QTabWidget*>(QStringLiteral("page_menu"))->currentIndex(), 0);
    EXPECT_FALSE(m.findChild<QStatusBar*>(QStringLiteral("StatusBar2"))->isVisibleTo(&m));
    EXPECT_TRUE(m.findChild<QTimer*>(QStringLiteral("Timer2"))->isActive());
    EXPECT_TRUE(m.findChild<QTimer*>(QStringLiteral("Timer_temp"))->isActive());
    EXPECT_EQ(m.totalText(QStringLiteral("num_articoli")), QStringLiteral("0"));
}

struct PasswordCase {
    const char* name;
    QStringList typed;  // each try; empty means cancel
    bool opens;
};

class PasswordTest : public ShellFixture, public ::testing::WithParamInterface<PasswordCase> {};

TEST_P(PasswordTest, OnlyTheConfiguredPasswordOpensTheProgram) {
    writeIni(base, QStringLiteral("System"), QStringLiteral("Richiesta Password"), QStringLiteral("1"));
    writeIni(base, QStringLiteral("System"), QStringLiteral("Password"), Settings::scramble(QStringLiteral("segreta")));
    const PasswordCase c = GetParam();
    onModal<TPasswordDlg>([c](TPasswordDlg& dlg) {
        if (c.typed.isEmpty()) {
            QTest::mouseClick(dlg.findChild<QPushButton*>(QStringLiteral("CancelBtn")), Qt::LeftButton);
            return;
        }
        for (const QString& t : c.typed) {
            if (!dlg.isVisible()) break;
            auto* edit = dlg.findChild<QLineEdit*>(QStringLiteral("Password"));
            edit->clear();
            QTest::keyClicks(edit, t);
            QTest::mouseClick(dlg.findChild<QPushButton*>(QStringLiteral("OKBtn")), Qt::LeftButton);
        }
    });
    TMain& m = start();
    EXPECT_TRUE(modalsServed());
    EXPECT_EQ(m.terminated(), !c.opens);
    EXPECT_EQ(m.isVisible(), c.opens);
    EXPECT_TRUE(m.statusPanels()[2].contains(QStringLiteral("Password ")));
    // The later steps run only for an accepted password.
    EXPECT_EQ(m.findChild<QTimer*>(QStringLiteral("Timer2"))->isActive(), c.opens);
}

INSTANTIATE_TEST_SUITE_P(
    Tries, PasswordTest,
    ::testing::Values(PasswordCase{"right", {QStringLiteral("segreta")}, true},
                      PasswordCase{"wrong_then_right", {QStringLiteral("x"), QStringLiteral("segreta")}, true},
                      PasswordCase{"wrong_three_times", {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}, false},
                      PasswordCase{"master_password_refused",
                                   {QStringLiteral("vko"), QStringLiteral("vko"), QStringLiteral("vko")}, false},
                      PasswordCase{"cancel", {}, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MainWindowTest, AnEmptyArchivePathGetsItsDefaultAndIsCounted) {
    writeIni(base, QStringLiteral("Path"), QStringLiteral("Archivio Magazzino"), QString());
    writeIni(base, QStringLiteral("Path"), QStringLiteral("Archivio scadenze"), QString());
    TMain& m = start();
    EXPECT_EQ(shownBesidesResolution(),
              QStringList{QStringLiteral("Attenzione sono stati trovati 2 archivi mancanti. Impostati archivi predefiniti!")});
    EXPECT_EQ(Dialogs::instance().shown().last().title, QStringLiteral("Archivi mancanti"));
    EXPECT_EQ(QFileInfo(m.settings().text(u"Path", u"Archivio Magazzino")).fileName(), QStringLiteral("magazzino.db"));
}

struct UnderStockCase {
    const char* name;
    bool atStartup;
    QList<QVariantList> articles;  // cod, des, qca, qsc, scortamin
    int expected;
};

class UnderStockTest : public ShellFixture, public ::testing::WithParamInterface<UnderStockCase> {};

TEST_P(UnderStockTest, ListsTheArticlesBelowTheirMinimum) {
    const UnderStockCase c = GetParam();
    prepareArchives();
    {
        Store store(dataDir(base.path()));
        const QString t = store.table(dataFile(base.path(), QStringLiteral("magazzino.db")));
        for (const QVariantList& a : c.articles)
            store.exec(QStringLiteral("INSERT INTO %1 (COD, DES, QCA, QSC, SCORTAMIN, FM) VALUES (?, ?, ?, ?, ?, 1)").arg(t), a);
    }
    if (c.atStartup)
        writeIni(base, QStringLiteral("Magazzino"), QStringLiteral("Controllo articoli sottoscorta"), QStringLiteral("1"));
    int listed = -1;
    if (c.expected > 0) onModal<Tfrm_articoli_sottoscorta>([&listed](Tfrm_articoli_sottoscorta& w) {
            listed = w.rowCount();
            QTest::mouseClick(w.findChild<QPushButton*>(QStringLiteral("btn_chiudi")), Qt::LeftButton);
        });
    TMain& m = start();
    Dialogs::instance().reset();
    if (!c.atStartup) {
        // The big button calls the menu command's handler.
        QTest::mouseClick(m.findChild<QToolButton*>(QStringLiteral("btn_sottoscorta")), Qt::LeftButton);
    }
    EXPECT_TRUE(waitFor([this] { return modalsServed(); }, 3000));
    EXPECT_EQ(listed, c.expected > 0 ? c.expected : -1);
    auto* light = m.findChild<QLabel*>(QStringLiteral("img_sottoscorta"));
    EXPECT_EQ(light->isVisibleTo(&m), c.expected > 0);
    EXPECT_EQ(light->toolTip(), c.expected > 0 ? QStringLiteral("Sono presenti %1 articoli sotto la scorta minima").arg(c.expected)
                                               : QStringLiteral("Non ci sono articoli sotto la scorta minima"));
    // The information box belongs to the menu command only.
    const bool box = c.expected == 0 && !c.atStartup;
    EXPECT_EQ(shownBesidesResolution(),
              box ? QStringList{QStringLiteral("Non ci sono articoli sotto la scorta minima")} : QStringList());
    EXPECT_EQ(m.totalText(QStringLiteral("num_articoli")), QString::number(c.articles.size()));
}

const QList<QVariantList> kMixed = {{QStringLiteral("A1"), QStringLiteral("Bulloni"), 10.0, 8.0, 5.0},
                                    {QStringLiteral("A2"), QStringLiteral("Viti"), 10.0, 2.0, 5.0},
                                    {QStringLiteral("A3"), QStringLiteral("Dadi"), 3.0, 0.0, 4.0}};
const QList<QVariantList> kStocked = {{QStringLiteral("B1"), QStringLiteral("Rondelle"), 10.0, 0.0, 5.0}};

INSTANTIATE_TEST_SUITE_P(Cases, UnderStockTest,
                         ::testing::Values(UnderStockCase{"menu_with_articles", false, kMixed, 2},
                                           UnderStockCase{"menu_without", false, kStocked, 0},
                                           UnderStockCase{"startup_with_articles", true, kMixed, 2},
                                           UnderStockCase{"startup_without", true, kStocked, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

class BackupTest : public ShellFixture, public ::testing::WithParamInterface<bool> {};

TEST_P(BackupTest, CopiesEveryArchiveSettingsFileAndThePlaylist) {
    const bool atStartup = GetParam();
    prepareArchives();
    // An archive kept outside the data folder is found through its path setting.
    QDir().mkpath(base.file(QStringLiteral("altrove")));
    ASSERT_TRUE(QFile::copy(base.file(QStringLiteral("Dati/anagrafica.db")), base.file(QStringLiteral("altrove/clienti.db"))));
    writeIni(base, QStringLiteral("Path"), QStringLiteral("Archivio anagrafica"), base.file(QStringLiteral("altrove/clienti.db")));
    if (atStartup) writeIni(base, QStringLiteral("System"), QStringLiteral("Backup dati avvio"), QStringLiteral("1"));
    TMain& m = start();
    if (!atStartup) trigger(QStringLiteral("mnu_backup_locale"));

    const QString folder = base.file(QStringLiteral("Dati/backup"));
    const QStringList sources = LocalBackup(base.path(), m.settings(), m.store()).sources();
    QStringList names;
    for (const QString& s : sources) {
        const QString name = QFileInfo(s).fileName();
        names << name;
        QFile a(s), b(QDir(folder).filePath(name));
        ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly)) << qPrintable(name);
        EXPECT_EQ(a.readAll(), b.readAll()) << qPrintable(name);
    }
    for (const char* expected : {"clienti.db", "magazzino.db", "scad.db", "dett_ddt26.db", "valute.db", "cat_fisc.db",
                                 "music_list.msl", "zelvarin.ini", "partner.ini"})
        EXPECT_TRUE(names.contains(QString::fromLatin1(expected))) << expected;
    EXPECT_FALSE(names.contains(QStringLiteral("anagrafica.db")));
    EXPECT_FALSE(names.contains(QStringLiteral("fatt_tmp.db")));

    QFile log(QDir(folder).filePath(QStringLiteral("backup_log.txt")));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_EQ(log.readAll(), QByteArray("In data 11/12/2026 10:00:00\n"));
    ASSERT_FALSE(TrayNotice::instance().shown().isEmpty());
    EXPECT_EQ(TrayNotice::instance().shown().first().title, QStringLiteral("Backup dati"));
    EXPECT_EQ(TrayNotice::instance().shown().first().text,
              QStringLiteral("I dati sono salvati sulla cartella ") + folder + QStringLiteral(". Attendere il completamento!"));
    auto* bar2 = m.findChild<QStatusBar*>(QStringLiteral("StatusBar2"));
    EXPECT_TRUE(bar2->isVisibleTo(&m));
    EXPECT_EQ(bar2->findChild<QLabel*>(QStringLiteral("StatusBar2_panel1"))->text(),
              QStringLiteral("Backup dati eseguito con successo!"));
}

INSTANTIATE_TEST_SUITE_P(When, BackupTest, ::testing::Values(false, true),
                         [](const auto& info) { return std::string(info.param ? "at_startup" : "from_menu"); });

// The menu tree as "menu > submenu > command"; hidden entries are marked.
void walk(const QList<QAction*>& actions, const QString& prefix, QStringList& out) {
    for (QAction* a : actions) {
        if (a->isSeparator() || a->text().isEmpty()) continue;
        const QString path = prefix.isEmpty() ? a->text() : prefix + QStringLiteral(" > ") + a->text();
        out << path + (a->isVisible() ? QString() : QStringLiteral(" [nascosto]"));
        if (a->menu()) walk(a->menu()->actions(), path, out);
    }
}

TEST_F(MainWindowTest, MenuTreeHasTheCaptionsOfTheTable) {
    TMain& m = start();
    QStringList tree;
    walk(m.menuBar()->actions(), QString(), tree);
    const QStringList expected = strings({
        "&File", "&File > &Esci",
        "&Magazzino", "&Magazzino > &Articoli",
        "&Magazzino > &Articoli > Inserimento / Ricerca / Modifica",
        "&Magazzino > &Articoli > &Variazione prezzi vendita",
        "&Magazzino > &Articoli > Scorrimento movimenti",
        "&Magazzino > &Articoli > Articoli sotto scorta minima",
        "&Magazzino > Carico / Scarico",
        "&Magazzino > Carico / Scarico > &Carico merce a magazzino",
        "&Magazzino > Carico / Scarico > &Scarico merce da magazzino",
        "&Magazzino > Carico / Scarico > Carico da magazzino esterno",
        "&Magazzino > &Stampe",
        "&Magazzino > &Stampe > Articoli di magazzino",
        "&Magazzino > &Stampe > Articoli in sottoscorta",
        "&Magazzino > &Stampe > Listino",
        "&Magazzino > &Stampe > Listino con foto",
        "&Magazzino > &Stampe > Listino barcode [nascosto]",
        "&Magazzino > &Stampe > Etichette barcode [nascosto]",
        "&Magazzino > Catalogo", "&Magazzino > Catalogo > Visualizza",
        "&Magazzino > Catalogo > Carico da ordine",
        "&Magazzino > Catalogo > Vendita al Banco - Shop",
        "&DDT", "&DDT > &Nuovo DDT", "&DDT > Nuovo DDT a Magazzino esterno",
        "&DDT > Nuovo DDT da &Ordine Cliente", "&DDT > &Scorrimento e Stampa", "&DDT > Scorrimento movimenti",
        "&Fatture", "&Fatture > &Nuova", "&Fatture > &Nuova > Riepilogativa da DDT",
        "&Fatture > &Nuova > Da Preventivo", "&Fatture > &Nuova > Libera",
        "&Fatture > Fatturazione differita di fine periodo",
        "&Fatture > &Scorrimento / Stampa singola",
        "&Fatture > &Scorrimento / Stampa singola > Principale",
        "&Fatture > &Scorrimento / Stampa singola > Secondario",
        "&Fatture > &Scorrimento / Stampa singola > Stampa raggruppata",
        "&Fatture > Analisi e S&tatistiche", "&Fatture > Analisi e S&tatistiche > Statistiche",
        "&Fatture > Analisi e S&tatistiche > Analisi degli utili",
        "Preventivi", "Preventivi > Nuovo preventivo", "Preventivi > Scorrimento e Stampa",
        "Preventivi > Crea fattura da preventivo",
        "&Scadenze", "&Scadenze > Nuova scadenza", "&Scadenze > Visualizza Scadenza",
        "&Scadenze > Scorrimento scadenze", "&Scadenze > Analisi e statistiche",
        "&Scadenze > Ricerca - Elenca e &Stampa", "&Scadenze > Scadenze attive del mese in corso",
        "&Scadenze > Scadenze attive (tutte)", "&Scadenze > Alert scadenze nel giorno",
        "Prima nota", "Prima nota > Scorrimento", "Prima nota > Analisi e statistiche",
        "Anagrafica", "Anagrafica > Inserimento / Ricerca / Modifica", "Anagrafica > Stampe Listati",
        "Anagrafica > Trova CAP, Città, Provincia e Prefisso Tel", "Anagrafica > Contatti",
        "Anagrafica > Contatti > Elenco generale", "Anagrafica > Contatti > Appuntamenti / contatti di oggi",
        "Anagrafica > Alert impegni / contatti", "Anagrafica > Aggiorna CF  come P.IVA",
        "&Ordini", "&Ordini > Nuovo ordine", "&Ordini > Scorrimento, modifica e stampa",
        "Applicazioni esterne [nascosto]",
        "Strumenti e Utilità", "Strumenti e Utilità > Sfondi per le applicazioni",
        "Strumenti e Utilità > Opzioni e Setup",
        "Strumenti e Utilità > Opzioni e Setup > Setup - Configurazione programma",
        "Strumenti e Utilità > Opzioni e Setup > Cambia Sfondo Menù principale",
        "Strumenti e Utilità > Utilità", "Strumenti e Utilità > Utilità > Ricerca ABI e CAB",
        "Strumenti e Utilità > Utilità > Ricerca C.A.P. e Città",
        "Strumenti e Utilità > Utilità > Lettera di consenso al trattamento dei dati personali",
        "Strumenti e Utilità > Utilità > DBUtils32: Strumento per il recupero dei dati [nascosto]",
        "Strumenti e Utilità > Utilità > Allarme", "Strumenti e Utilità > Internet browser",
        "Strumenti e Utilità > Traduttore", "Strumenti e Utilità > Mappa",
        "Strumenti e Utilità > Lettore audio/video [nascosto]", "Strumenti e Utilità > Calcolatrice",
        "Backup", "Backup > Backup remoto compresso dei dati dell'anno in corso",
        "Backup > Backup remoto di dati e configurazione", "Backup > Backup locale immediato",
        "Backup > Area riservata remota",
        "Aiuto", "Aiuto > Legenda, Primo aiuto", "Aiuto > Richiesta di assistenza e consigli via E-mail",
        "Aiuto > Informazioni", "Aiuto > Pagine di supporto", "Aiuto > Riconoscimenti",
        "Novità", "Donate", "Cerca aggiornamenti"});
    EXPECT_EQ(tree, expected);
}

TEST_F(MainWindowTest, OnlyTheBuiltCommandsAreEnabledAndSetupWaitsForItsWindow) {
    TMain& m = start();
    QStringList enabled;
    for (QAction* a : m.menuBar()->findChildren<QAction*>())
        if (a->isEnabled() && !a->menu() && !a->objectName().isEmpty()) enabled << a->objectName();
    enabled.sort();
    // One command a line, sorted: each module adds its own.
    // Joined, so a failure prints the whole list.
    EXPECT_EQ(enabled.join(u' ').toStdString(), strings({
                           "mnu_alert_contatti",
                           "mnu_alert_scadenze",
                           "mnu_anagrafica_inserimento",
                           "mnu_anagrafica_stampe",
                           "mnu_articoli_inserimento",
                           "mnu_backup_locale",
                           "mnu_carico",
                           "mnu_carico_da_ordine",
                           "mnu_carico_esterno",
                           "mnu_ddt_movimenti",
                           "mnu_esci",
                           "mnu_fattura_da_ddt",
                           "mnu_fattura_da_preventivo",
                           "mnu_fattura_preventivo",
                           "mnu_fatturazione_differita",
                           "mnu_filtra_scadenze",
                           "mnu_informazioni",
                           "mnu_nuova_scadenza",
                           "mnu_nuovo_ddt",
                           "mnu_nuovo_ddt_ordine",
                           "mnu_nuovo_ordine",
                           "mnu_nuovo_preventivo",
                           "mnu_ricerca_abi_cab",
                           "mnu_ricerca_cap",
                           "mnu_scadenze_mese",
                           "mnu_scadenze_tutte",
                           "mnu_scarico",
                           "mnu_scorre_ddt",
                           "mnu_scorre_fatture1",
                           "mnu_scorre_ordini",
                           "mnu_scorre_preventivi",
                           "mnu_scorre_scadenze",
                           "mnu_scorrimento_movimenti",
                           "mnu_setup",
                           "mnu_shop",
                           "mnu_sottoscorta",
                           "mnu_stampa_listino",
                           "mnu_trova_cap",
                           "mnu_visualizza_scadenza",
                       }).join(u' ').toStdString());
    EXPECT_TRUE(m.findChild<QToolButton*>(QStringLiteral("btn_nuovo_ddt"))->isEnabled());
    EXPECT_FALSE(m.findChild<QToolButton*>(QStringLiteral("btn_fattura_libera"))->isEnabled());

    auto* setupButton = m.findChild<QToolButton*>(QStringLiteral("btn_setup"));
    m.setSetupFactory({});
    EXPECT_FALSE(setupButton->isEnabled()) << "no setup window, no command";
    int made = 0;
    m.setSetupFactory([&made](AppContext& ctx, QWidget* parent) {
        ++made;
        EXPECT_NE(ctx.store, nullptr);
        auto* d = new QDialog(parent);
        d->setObjectName(QStringLiteral("Tfrm_setup"));
        return d;
    });
    EXPECT_TRUE(setupButton->isEnabled());
    for (int i = 0; i < 2; ++i) {
        onModal<QDialog>([](QDialog& d) { d.accept(); });
        QTest::mouseClick(setupButton, Qt::LeftButton);
        EXPECT_TRUE(modalsServed());
    }
    EXPECT_EQ(made, 1);
}

TEST_F(MainWindowTest, RegistryAndSetupOpenFromTheMenu) {
    start();
    struct Case {
        const char* command;
        const char* window;
        int page;  // of the card; -1 for other windows
    } cases[] = {{"mnu_anagrafica_inserimento", "Tfrm_clienti1", 0},
                 {"mnu_anagrafica_stampe", "Tfrm_clienti1", Tfrm_clienti1::kPrintPage},
                 {"mnu_trova_cap", "Tfrm_cerca", -1},
                 {"mnu_ricerca_abi_cab", "Tfrm_cerca", -1},
                 {"mnu_setup", "Tfrm_setup", -1},
                 {"mnu_articoli_inserimento", "Tfrm_articoli", -1},
                 {"mnu_carico", "Tmulti_art", -1},
                 {"mnu_carico_esterno", "Tmulti_art", -1},
                 {"mnu_scarico", "Tmulti_art", -1},
                 {"mnu_scorrimento_movimenti", "Tmov_check", -1},
                 {"mnu_ddt_movimenti", "Tmov_check", -1},
                 {"mnu_nuovo_ddt", "Tfrm_ddtnew", -1},
                 {"mnu_scorre_ddt", "Tscorre_ddt", -1},
                 {"mnu_scorre_fatture1", "Tscorre_fatt", -1},
                 {"mnu_fattura_da_ddt", "Tfrm_fattnew", -1},
                 {"mnu_fatturazione_differita", "Tfrm_fatturazione_differita", -1},
                 {"mnu_nuovo_preventivo", "Tfrm_nuovo_preventivo", -1},
                 {"mnu_scorre_preventivi", "Tfrm_scorre_prev", -1},
                 {"mnu_fattura_preventivo", "Tfrm_preventivi_tools", -1},
                 {"mnu_fattura_da_preventivo", "Tfrm_preventivi_tools", -1}};
    for (const Case& c : cases) {
        QString opened;
        int page = -1;
        onModal<QDialog>([&](QDialog& d) {
            opened = d.objectName();
            if (auto* tabs = d.findChild<QTabWidget*>(QStringLiteral("page_anagrafica"))) page = tabs->currentIndex();
            d.reject();
        });
        trigger(QString::fromLatin1(c.command));
        EXPECT_TRUE(modalsServed()) << c.command;
        EXPECT_EQ(opened, QString::fromLatin1(c.window)) << c.command;
        if (c.page >= 0) {
            EXPECT_EQ(page, c.page) << c.command;
        }
    }
    EXPECT_TRUE(QFile::exists(base.file(QStringLiteral("cap.db")))) << "reference tables installed at start";
    EXPECT_TRUE(QFile::exists(base.file(QStringLiteral("banche.db"))));
}

TEST_F(MainWindowTest, AlertTogglesSwitchTheLiveSettingAndTheirTimer) {
    TMain& m = start();
    const struct {
        const char* command;
        const char16_t* key;
        const char* timer;
        const char* light;
    } toggles[] = {{"mnu_alert_scadenze", u"Show alert scad", "Timer_scad", "img_alert_scadenze"},
                   {"mnu_alert_contatti", u"Show alert contatti", "Timer_contatti", "img_alert_contatti"}};
    for (const auto& t : toggles) {
        const bool before = m.settings().flag(u"System", t.key);
        trigger(QString::fromLatin1(t.command));
        EXPECT_EQ(m.settings().flag(u"System", t.key), !before) << t.command;
        EXPECT_EQ(m.findChild<QTimer*>(QString::fromLatin1(t.timer))->isActive(), !before) << t.command;
        EXPECT_EQ(m.findChild<QLabel*>(QString::fromLatin1(t.light))->isVisibleTo(&m), !before) << t.command;
        EXPECT_EQ(m.command(QString::fromLatin1(t.command))->isChecked(), !before) << t.command;
    }
}

TEST_F(MainWindowTest, DeadlineAlertTellsTodaysUnpaidDeadlinesInTheTray) {
    prepareArchives();
    {
        Store store(dataDir(base.path()));
        const QString t = store.table(dataFile(base.path(), QStringLiteral("scad.db")));
        const QString sql = QStringLiteral("INSERT INTO %1 (DATA, COD_CLI, DES, DARE, PAGATO) VALUES (?, ?, ?, ?, ?)").arg(t);
        store.exec(sql, {QDate(2026, 12, 11), QStringLiteral("ROSSI"), QStringLiteral("Rata 1"), 100.5, QStringLiteral("N")});
        store.exec(sql, {QDate(2026, 12, 11), QStringLiteral("BIANCHI"), QStringLiteral("Pagata"), 50.0, QStringLiteral("S")});
        store.exec(sql, {QDate(2026, 12, 12), QStringLiteral("VERDI"), QStringLiteral("Domani"), 70.0, QStringLiteral("N")});
    }
    writeIni(base, QStringLiteral("System"), QStringLiteral("Show alert scad"), QStringLiteral("1"));
    TMain& m = start();
    TrayNotice::instance().reset();
    m.findChild<QTimer*>(QStringLiteral("Timer_scad"))->setInterval(1);
    ASSERT_TRUE(waitFor([] { return !TrayNotice::instance().shown().isEmpty(); }, 3000));
    EXPECT_EQ(TrayNotice::instance().shown().first().text, QStringLiteral("ROSSI Rata 1 100,50"));
}

TEST_F(MainWindowTest, AboutBoxIsTheSplashAndEscapeClosesIt) {
    TMain& m = start();
    bool seen = false;
    onModal<TSplashForm>([&seen](TSplashForm& s) {
        seen = s.tag() == 2 && !s.active();
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(&s, &escape);
    });
    trigger(QStringLiteral("mnu_informazioni"));
    EXPECT_TRUE(seen);
    EXPECT_FALSE(m.terminated());
    EXPECT_TRUE(m.isVisible());
}

}  // namespace
}  // namespace zel::test
