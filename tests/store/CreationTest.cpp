#include <QDir>
#include <QFileInfo>

#include "store/ArchiveCatalogue.h"
#include "store/ArchiveMaintenance.h"
#include "tests/store/StartupFixture.h"

using namespace zel;
using namespace Qt::Literals::StringLiterals;
using namespace zel::test;

namespace {

QStringList catalogueColumns(QStringView file) {
    QStringList out;
    for (const QString& c : findArchive(file)->columns.toString().split(QStringLiteral(", "))) out << c.trimmed();
    return out;
}

QStringList seq(const QString& pattern, int from, int to) {
    QStringList out;
    for (int i = from; i <= to; ++i) out << pattern.arg(i);
    return out;
}

using Creation = StartupFixture;

}  // namespace

TEST_F(Creation, FirstStartCreatesEveryArchiveWithCatalogueColumnsPlusUpgrade) {
    ASSERT_EQ(runStartup(), 0);
    EXPECT_TRUE(notifier.entries.isEmpty()) << qPrintable(notifier.texts().join(u'\n'));

    // What the column upgrade adds on top of the creation statements.
    const QMap<QString, QStringList> added = {
        {QStringLiteral("magazzino.db"),
         seq(QStringLiteral("RIF_EXT%1 CHAR(120)"), 1, 5) + seq(QStringLiteral("RIF_DES_EXT%1 CHAR(70)"), 1, 5) +
             QStringList{QStringLiteral("num_mag INTEGER"), QStringLiteral("nome_mag CHAR(20)"),
                         QStringLiteral("tipo_mag INTEGER"), QStringLiteral("ST_UBIC CHAR(15)")} +
             seq(QStringLiteral("costo_agg%1 FLOAT"), 1, 6)},
        {QStringLiteral("anagrafica.db"), {QStringLiteral("nome_sleg CHAR(70)")}},
        {QStringLiteral("fatture26.db"), {QStringLiteral("iban CHAR(31)"), QStringLiteral("art_esiva CHAR(30)")}},
        {QStringLiteral("fatture2_26.db"), {QStringLiteral("iban CHAR(31)"), QStringLiteral("art_esiva CHAR(30)")}},
        {QStringLiteral("preventivi.db"), {QStringLiteral("oggetto CHAR(100)")}},
        {QStringLiteral("ordini.db"),
         {QStringLiteral("mod_pagam CHAR(50)"), QStringLiteral("scad_pagam CHAR(50)"),
          QStringLiteral("firmatario CHAR(50)"), QStringLiteral("ID INTEGER")}},
    };
    for (const CreationStep& step : creationOrder()) {
        const ArchiveDef* def = findArchive(step.file);
        ASSERT_NE(def, nullptr);
        const QString file = archiveFileName(def->file, QStringLiteral("26"));
        const QString path = def->kind == ArchiveKind::Playlist ? base.file(file) : data(file);
        ASSERT_TRUE(QFileInfo(path).isFile()) << qPrintable(path);
        EXPECT_EQ(Probe::tables(path), QStringList{QFileInfo(file).completeBaseName()});
        QStringList expected =
            def->copyOf.isEmpty() ? catalogueColumns(def->file) : catalogueColumns(findArchive(def->copyOf)->file);
        if (file == QStringLiteral("ordini.db"))  // the upgrade widens the order codes
            for (const char* c : {"COD_CLI CHAR(10)", "COD_FORN CHAR(10)", "COD_ART CHAR(15)"})
                expected.replaceInStrings(QString::fromLatin1(c),
                                          QString::fromLatin1(c).section(u' ', 0, 0) + QStringLiteral(" CHAR(20)"));
        expected += added.value(file);
        EXPECT_EQ(Probe::columns(path), expected) << qPrintable(file);
        EXPECT_EQ(Probe::count(path), 0) << qPrintable(file);
    }
    EXPECT_TRUE(QFileInfo(base.file(QStringLiteral("music_list.msl"))).isFile());
    EXPECT_FALSE(QFileInfo::exists(data(QStringLiteral("music_list.msl"))));
    EXPECT_TRUE(QFileInfo(base.file(QStringLiteral("ricfisc"))).isDir());
    for (const char* f : {"prev_tmp.db", "mov_tmp.db", "dett_ddt_tmp.db", "fatt_tmp.db", "ddt_tmp26.db"})
        EXPECT_TRUE(QFileInfo::exists(data(QString::fromLatin1(f)))) << f;
    // Every file the setup's confirm writes, not only the main one.
    for (const QString& f : settingsWriteOrder() + QStringList{QStringLiteral("partner.ini")})
        EXPECT_TRUE(QFileInfo::exists(base.file(f))) << qPrintable(f);
}

TEST_F(Creation, CatalogueSpellsTheDeadlinesArchiveAsDelivered) {
    EXPECT_EQ(catalogueColumns(u"scad.db"),
              (QStringList{u"ID INTEGER"_s, u"DATA DATE"_s, u"COD CHAR(30)"_s, u"COD_CLI CHAR(20)"_s, u"DES CHAR(120)"_s,
                           u"DES2 CHAR(70)"_s, u"DES3 CHAR(70)"_s, u"DES4 CHAR(70)"_s, u"DARE FLOAT"_s, u"AVERE FLOAT"_s,
                           u"BANCA CHAR(70)"_s, u"PAGATO CHAR(1)"_s, u"DATAPAG DATE"_s, u"FATTURA INTEGER"_s,
                           u"DATA_FATT DATE"_s, u"REMINDER BOOLEAN"_s}));
    const QStringList registry = catalogueColumns(u"anagrafica.db");
    EXPECT_EQ(registry.size(), 73);
    EXPECT_EQ(registry.first(), QStringLiteral("ABI CHAR(7)"));
    EXPECT_EQ(registry.last(), QStringLiteral("SCAD_PAG CHAR(20)"));
}

TEST_F(Creation, AFailingCreationIsReportedAndTheOthersAreStillMade) {
    QDir().mkpath(data(QStringLiteral("gruppi.db")));  // a folder where the file should go
    EXPECT_EQ(runStartup(), kExitArchive);
    ASSERT_FALSE(notifier.entries.isEmpty());
    EXPECT_TRUE(notifier.entries.first().text.contains(QStringLiteral("gruppi.db")))
        << qPrintable(notifier.entries.first().text);
    for (const char* f : {"marche.db", "fatture26.db", "my_password.db"})
        EXPECT_TRUE(QFileInfo(data(QString::fromLatin1(f))).isFile()) << f;
}

TEST_F(Creation, AMissingSecondLinesArchiveIsAnEmptyCopyOfTheFirstUnlessItsHeaderHasRows) {
    for (const bool headerRows : {false, true}) {
        ASSERT_EQ(runStartup(), kExitDone);
        Probe::exec(data(u"dett_fatture26.db"_s), u"INSERT INTO dett_fatture26 (COD, QUANT) VALUES ('A1', 2.5)"_s);
        if (headerRows) Probe::exec(data(u"fatture2_26.db"_s), u"INSERT INTO fatture2_26 (FATTURA) VALUES (7)"_s);
        const QString header = Probe::dump(data(u"fatture2_26.db"_s));
        QFile::remove(data(u"dett_fatture2_26.db"_s));
        // Lines made anew and empty under a header that lists invoices would lose them silently.
        EXPECT_EQ(runStartup(), headerRows ? kExitArchive : kExitDone) << headerRows;
        EXPECT_EQ(QFileInfo::exists(data(u"dett_fatture2_26.db"_s)), !headerRows);
        if (!headerRows) {
            EXPECT_EQ(Probe::count(data(u"dett_fatture2_26.db"_s)), 0);
        }
        EXPECT_EQ(Probe::count(data(u"dett_fatture26.db"_s)), 1);
        EXPECT_EQ(Probe::dump(data(u"fatture2_26.db"_s)), header) << "the second archive's header stays";
        const QStringList shown = notifier.texts();
        EXPECT_EQ(shown.size(), headerRows ? 1 : 0) << qPrintable(shown.join(u'\n'));
        if (headerRows) {
            EXPECT_TRUE(shown[0].contains(u"dett_fatture2_26.db"_s) && shown[0].contains(u"fatture2_26.db"_s))
                << qPrintable(shown[0]);
        }
        QFile::remove(data(u"fatture2_26.db"_s));
        QFile::remove(data(u"dett_fatture2_26.db"_s));
        QFile::remove(data(u"dett_fatture26.db"_s));
    }
}

TEST_F(Creation, NewYearCreatesItsArchivesAndLeavesLastYearAlone) {
    ASSERT_EQ(runStartup(), 0);
    Probe::exec(data(QStringLiteral("ddt26.db")), QStringLiteral("INSERT INTO ddt26 (BOLLA, COD_CLI) VALUES (1, 'C')"));
    QMap<QString, QString> before;
    for (const QString& f : QDir(base.file(QStringLiteral("Dati"))).entryList({QStringLiteral("*26.db")}))
        if (!f.startsWith(u"ddt_tmp")) before[f] = Probe::dump(data(f));

    pinDate(QDate(2027, 1, 1));
    ASSERT_EQ(runStartup(), 0);
    const QStringList yearly = {u"fatture27.db"_s,  u"fatture2_27.db"_s,      u"dett_fatture27.db"_s,
                                u"dett_fatture2_27.db"_s, u"ddt27.db"_s,      u"dett_ddt27.db"_s,
                                u"ricevute_fiscali27.db"_s, u"fatt_proforma27.db"_s, u"fatt_proforma_dett27.db"_s};
    for (const QString& f : yearly) {
        EXPECT_TRUE(QFileInfo(data(f)).isFile()) << qPrintable(f);
        EXPECT_EQ(Probe::count(data(f)), 0);
    }
    for (auto it = before.cbegin(); it != before.cend(); ++it)
        EXPECT_EQ(Probe::dump(data(it.key())), it.value()) << qPrintable(it.key());

    // The paths still name last year's files until the user moves them.
    Settings settings(base.path());
    settings.load();
    EXPECT_EQ(settings.text(u"Path", u"Archivio DDT Master"), data(QStringLiteral("ddt26.db")));
    EXPECT_EQ(switchToCurrentYear(settings, QStringLiteral("27")), 9) << "no cash book of 2027 exists";
    EXPECT_EQ(settings.text(u"Path", u"Archivio DDT Master"), data(QStringLiteral("ddt27.db")));
    EXPECT_EQ(settings.text(u"Path", u"Archivio fatture Detail 2"), data(QStringLiteral("dett_fatture2_27.db")));
    EXPECT_EQ(settings.text(u"Path", u"Archivio Prima nota"), data(QStringLiteral("prima_nota26.db")))
        << "no cash book of this year to move to";
    EXPECT_TRUE(yearSwitchMessage().startsWith(QStringLiteral("Locazione archivi modificata. \r\n")));
}
