#include <gtest/gtest.h>

#include <QDir>
#include <QMap>
#include <QSet>

#include "core/Clock.h"
#include "settings/IniFile.h"
#include "settings/Settings.h"
#include "tests/TestSupport.h"
#include "tests/core/FileSizeLimit.h"

using namespace zel;

namespace {

IniFile readBack(const test::TempBase& base, const QString& file) {
    IniFile ini(base.file(file));
    ini.load();
    return ini;
}

class PinnedClock : public ::testing::Test {
protected:
    void SetUp() override { Clock::pin(QDateTime(QDate(2026, 12, 11), QTime(9, 30))); }
    void TearDown() override { Clock::unpin(); }
    test::TempBase base;
};

}  // namespace

TEST(SettingsCatalogue, HoldsEveryKeyOfTheMainFileOnceWithItsSection) {
    const QMap<QString, int> expected = {
        {QStringLiteral("System"), 30},      {QStringLiteral("Path"), 37},     {QStringLiteral("Cloud"), 8},
        {QStringLiteral("Email"), 7},        {QStringLiteral("BACKUP VIA EMAIL"), 12},
        {QStringLiteral("Azienda"), 20},     {QStringLiteral("Utente"), 16},   {QStringLiteral("Logo"), 8},
        {QStringLiteral("Totali in Main"), 8}, {QStringLiteral("MAIN"), 3},    {QStringLiteral("CopyReport"), 1},
        {QStringLiteral("Anagrafica"), 21},  {QStringLiteral("Magazzino"), 63}, {QStringLiteral("DDT"), 48},
        {QStringLiteral("Fatturazione"), 77}, {QStringLiteral("Preventivi"), 18}, {QStringLiteral("Ordine"), 13},
        {QStringLiteral("Shop"), 12},        {QStringLiteral("Label Form"), 3},
    };
    QMap<QString, int> found;
    QSet<QString> seen;
    for (const SettingDef& d : settingsCatalogue()) {
        const QString id = d.file.toString() + QLatin1Char('|') + d.section.toString().toLower() +
                           QLatin1Char('|') + d.key.toString().trimmed().toLower();
        EXPECT_FALSE(seen.contains(id)) << qPrintable(id);
        seen.insert(id);
        if (d.file == u"zelvarin.ini") ++found[d.section.toString()];
    }
    EXPECT_EQ(found, expected);
}

TEST_F(PinnedClock, FirstWriteHoldsEveryMainKeyWithItsDefault) {
    Settings s(base.path());
    ASSERT_TRUE(s.writeMissingFiles());
    const IniFile ini = readBack(base, QStringLiteral("zelvarin.ini"));
    Settings again(base.path());
    EXPECT_EQ(again.load(), QStringList());
    const auto cat = settingsCatalogue();
    for (size_t i = 0; i < cat.size(); ++i) {
        const SettingDef& d = cat[i];
        if (d.file != u"zelvarin.ini") continue;
        const auto stored = ini.value(d.section.toString(), d.key.toString());
        ASSERT_TRUE(stored.has_value()) << qPrintable(d.section.toString() + u' ' + d.key.toString());
        // Paths are written relative to the base folder and read back whole.
        EXPECT_EQ(again.valueAt(int(i)), s.defaultValue(d)) << qPrintable(d.key.toString());
    }
    struct Sample {
        const char16_t* section;
        const char16_t* key;
        QString text;
    } samples[] = {
        {u"System", u"Separatore cod-des", QStringLiteral("|")},
        {u"System", u"Controlla campi archivi", QStringLiteral("1")},
        {u"System", u"Richiesta Password", QStringLiteral("0")},
        {u"DDT", u"Quantità", QStringLiteral("-1")},
        {u"Magazzino", u"Valuta secondaria cambio", QStringLiteral("1936,27")},
        {u"Path", u"Archivio DDT Master", QStringLiteral("Dati/ddt26.db")},
        {u"Path", u"Archivio fatture Detail 2", QStringLiteral("Dati/dett_fatture2_26.db")},
        {u"Path", u"Posizione archivi backup locale", QStringLiteral("Dati/backup")},
        {u"Path", u"Programma", QStringLiteral("./")},
    };
    for (const Sample& x : samples)
        EXPECT_EQ(ini.value(QString::fromUtf16(x.section), QString::fromUtf16(x.key), QStringLiteral("?")), x.text);
    EXPECT_NE(ini.value(QStringLiteral("System"), QStringLiteral("Password"), QString()), QStringLiteral("vko"))
        << "password stored scrambled";
}

TEST_F(PinnedClock, ConfirmWritesFilesWithoutReadOnlyKeysAndWithWriteOnlyOnes) {
    Settings s(base.path());
    s.setValue(u"Magazzino", u"Visualizza valuta estera articolo", false);
    s.setValue(u"Magazzino", u"Scambia campi destinazione", true);
    ASSERT_TRUE(s.save());
    const IniFile main = readBack(base, QStringLiteral("zelvarin.ini"));
    for (const auto& [section, key] : {std::pair{u"Path", u"Distinta base"}, {u"Path", u"Distinta base Chain"},
                                       {u"Magazzino", u"Scambia campi destinazione"},
                                       {u"Magazzino", u"Visualizza valuta estera articolo"},
                                       {u"DDT", u"Note DDT "}, {u"CopyReport", u"NPC"}})
        EXPECT_FALSE(main.contains(QString::fromUtf16(section), QString::fromUtf16(key)))
            << qPrintable(QString::fromUtf16(key));
    EXPECT_EQ(main.value(QStringLiteral("Magazzino"), QStringLiteral("Visualizza campi valuta estera articolo")),
              QStringLiteral("0"));
    EXPECT_EQ(main.value(QStringLiteral("Fatturazione"), QStringLiteral("Scambia campi destinazione")),
              QStringLiteral("1"));
    EXPECT_TRUE(main.contains(QStringLiteral("Fatturazione"), QStringLiteral("Decimali totale articolo ")));
    for (const char* f : {"zel_banca.ini", "zel_sound.ini", "setup_avanzato.ini", "zel_reparti.ini",
                          "zel_fatt_email.ini"})
        EXPECT_TRUE(readBack(base, QString::fromLatin1(f)).fileExists()) << f;
    EXPECT_FALSE(readBack(base, QStringLiteral("zel_alert.ini")).fileExists()) << "the reminder writes it";
    EXPECT_EQ(readBack(base, QStringLiteral("zel_reparti.ini"))
                  .value(QStringLiteral("Shop"), QStringLiteral("Nome Reparto 15")),
              QStringLiteral("Reparto 15"));
}

TEST_F(PinnedClock, LoadReadsTypesBoolsAndEmptyTexts) {
    base.write(QStringLiteral("zelvarin.ini"),
               "[system]\nrichiesta password=SI\nBackup dati avvio=2\nUser skill=3\n"
               "[Magazzino]\nValuta secondaria=\nCosto orario=12,5\n"
               "[Path]\nArchivio DDT Master=C:\\vecchio\\dati\\ddt25.db\n");
    base.write(QStringLiteral("zel_alert.ini"), "[Appuntamento ]\nattivo=0\n");
    Settings s(base.path());
    const QStringList errors = s.load();
    ASSERT_EQ(errors.size(), 1) << qPrintable(errors.join(u'\n'));
    EXPECT_TRUE(errors[0].contains(QStringLiteral("[System]")) && errors[0].contains(QStringLiteral("\"SI\" non è 1 o 0")))
        << qPrintable(errors[0]);
    EXPECT_FALSE(s.flag(u"System", u"Richiesta Password")) << "a yes/no key that is not a number keeps its default";
    EXPECT_TRUE(s.flag(u"System", u"Backup dati avvio"));
    EXPECT_EQ(s.integer(u"System", u"User skill"), 3);
    EXPECT_EQ(s.text(u"Magazzino", u"Valuta secondaria"), QString()) << "present but empty stays empty";
    EXPECT_EQ(s.text(u"Magazzino", u"Valuta primaria"), QStringLiteral("7499176")) << "missing gives default";
    EXPECT_DOUBLE_EQ(s.number(u"Magazzino", u"Costo orario"), 12.5);
    EXPECT_EQ(s.text(u"Path", u"Archivio DDT Master"), QStringLiteral("C:\\vecchio\\dati\\ddt25.db"));
    EXPECT_EQ(s.text(u"Path", u"Archivio DDT Detail"), base.path() + QStringLiteral("/Dati/dett_ddt26.db"));
    EXPECT_FALSE(s.flag(u"Appuntamento ", u"attivo"));
    EXPECT_EQ(s.text(u"Appuntamento ", u"data"), QStringLiteral("10/12/2026"));
    EXPECT_EQ(s.text(u"Appuntamento ", u"time"), QStringLiteral("09:30"));
}

TEST_F(PinnedClock, AValueThatCannotBeConvertedKeepsEveryLaterKey) {
    base.write(QStringLiteral("zelvarin.ini"),
               "[System]\nUser skill=molto\nLimite monitoraggio memoria=1000\n"
               "[DDT]\nMargine superiore=dieci\nNumero copie stampa DDT=5\n[Shop]\nLarghezza campo descrizione=70\n");
    Settings s(base.path());
    const QStringList errors = s.load();
    ASSERT_EQ(errors.size(), 2);
    EXPECT_TRUE(errors[0].startsWith(QStringLiteral("Errore ")));
    EXPECT_TRUE(errors[0].contains(QStringLiteral("[System]")) && errors[0].contains(QStringLiteral("User skill")))
        << qPrintable(errors[0]);
    EXPECT_TRUE(errors[1].contains(QStringLiteral("[DDT]")) && errors[1].contains(QStringLiteral("Margine superiore")));
    EXPECT_EQ(s.integer(u"System", u"User skill"), 1);
    EXPECT_DOUBLE_EQ(s.number(u"DDT", u"Margine superiore"), 10);
    EXPECT_EQ(s.integer(u"System", u"Limite monitoraggio memoria"), 1000);
    EXPECT_EQ(s.integer(u"DDT", u"Numero copie stampa DDT"), 5);
    EXPECT_DOUBLE_EQ(s.number(u"Shop", u"Larghezza campo descrizione"), 70);
}

TEST_F(PinnedClock, PasswordsRoundTripScrambled) {
    for (const QString& pw : {QStringLiteral("vko"), QStringLiteral("Pàss wörd;=[x]"), QString()}) {
        Settings s(base.path());
        s.setValue(u"System", u"Password", pw);
        s.setValue(u"Email", u"Password", pw);
        ASSERT_TRUE(s.save());
        const QByteArray text = base.read(QStringLiteral("zelvarin.ini"));
        if (!pw.isEmpty()) {
            EXPECT_FALSE(text.contains(pw.toUtf8()));
        }
        Settings again(base.path());
        again.load();
        EXPECT_EQ(again.text(u"System", u"Password"), pw);
        EXPECT_EQ(again.text(u"Email", u"Password"), pw);
    }
}

TEST_F(PinnedClock, ASaveThatCannotBeWrittenKeepsEveryFileAsItWas) {
    Settings s(base.path());
    ASSERT_TRUE(s.save());
    s.setValue(u"System", u"User skill", 3);
    s.setValue(u"Banca", u"Nome Banca 1", QStringLiteral("Banca nuova"));
    QMap<QString, QByteArray> before;
    for (const QString& f : settingsWriteOrder()) before[f] = base.read(f);
    // The main file is the largest: the small files before it fit, it does not.
    ASSERT_GT(before.value(QStringLiteral("zelvarin.ini")).size(), 4096);
    QString error;
    {
        const test::FileSizeLimit full(4096);
        EXPECT_FALSE(s.save(&error));
    }
    EXPECT_TRUE(error.contains(QStringLiteral("zelvarin.ini"))) << qPrintable(error);
    for (const QString& f : settingsWriteOrder()) EXPECT_EQ(base.read(f), before.value(f)) << qPrintable(f);
    EXPECT_EQ(QDir(base.path()).entryList(QDir::Files | QDir::Hidden).size(), before.size()) << "no temporary files left";
}

TEST_F(PinnedClock, PathsAreRelativeToTheBaseAndOldPlacesFallBackToThisDataFolder) {
    base.write(QStringLiteral("Dati/ddt26.db"), "");
    base.write(QStringLiteral("altrove/clienti.db"), "");
    const QString outside = base.file(QStringLiteral("altrove/clienti.db"));
    base.write(QStringLiteral("zelvarin.ini"),
               QByteArray("[Path]\nArchivio DDT Master=/non-esiste/vecchia base/Dati/ddt26.db\n"
                          "Archivio DDT Detail=C:\\Zelvarin\\dati\\dett_ddt26.db\n"
                          "Archivio scadenze=Dati/scad.db\nArchivio anagrafica=") +
                   outside.toUtf8() + "\nArchivio Ordini=/non-esiste/altro/ordini.db\nProgramma=./\n");
    Settings s(base.path());
    EXPECT_EQ(s.load(), QStringList());
    EXPECT_EQ(s.text(u"Path", u"Archivio DDT Master"), base.file(QStringLiteral("Dati/ddt26.db")));
    EXPECT_EQ(s.text(u"Path", u"Archivio DDT Detail"), QStringLiteral("C:\\Zelvarin\\dati\\dett_ddt26.db"))
        << "this data folder has no such file";
    EXPECT_EQ(s.text(u"Path", u"Archivio scadenze"), base.file(QStringLiteral("Dati/scad.db")));
    EXPECT_EQ(s.text(u"Path", u"Archivio anagrafica"), outside);
    EXPECT_EQ(s.text(u"Path", u"Archivio Ordini"), QStringLiteral("/non-esiste/altro/ordini.db"));
    EXPECT_EQ(s.text(u"Path", u"Programma"), base.path() + QStringLiteral("/"));
    ASSERT_EQ(s.loadNotes().size(), 1);
    EXPECT_TRUE(s.loadNotes()[0].contains(QStringLiteral("/non-esiste/vecchia base/Dati/ddt26.db")));

    ASSERT_TRUE(s.save());
    const IniFile ini = readBack(base, QStringLiteral("zelvarin.ini"));
    EXPECT_EQ(ini.value(QStringLiteral("Path"), QStringLiteral("Archivio DDT Master"), QString()),
              QStringLiteral("Dati/ddt26.db"));
    EXPECT_EQ(ini.value(QStringLiteral("Path"), QStringLiteral("Archivio anagrafica"), QString()),
              QStringLiteral("altrove/clienti.db"));
    EXPECT_EQ(ini.value(QStringLiteral("Path"), QStringLiteral("Archivio Ordini"), QString()),
              QStringLiteral("/non-esiste/altro/ordini.db"));
}
