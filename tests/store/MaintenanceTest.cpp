#include <QFileInfo>
#include <QFile>

#include "settings/IniFile.h"
#include "store/ArchiveCatalogue.h"
#include "store/ArchiveMaintenance.h"
#include "store/Store.h"
#include "tests/store/StartupFixture.h"

using namespace zel;
using namespace zel::test;
using namespace Qt::Literals::StringLiterals;

namespace {
using Maintenance = StartupFixture;
}

TEST_F(Maintenance, RenumberingWritesOneToNInStoredOrder) {
    ASSERT_EQ(runStartup(), 0);
    const QString wh = data(u"magazzino.db"_s);
    Probe::exec(wh, u"INSERT INTO magazzino (COD, ID) VALUES ('a', 7), ('b', NULL), ('c', 7), ('d', 2)"_s);
    Store store(base.file(u"Dati"_s));
    EXPECT_EQ(renumberIds(store, wh), 4);
    const auto ids = [&] {
        QList<qlonglong> out;
        for (const auto& r : Probe::rows(wh, u"SELECT ID FROM magazzino ORDER BY rowid"_s)) out << r[0].toLongLong();
        return out;
    };
    EXPECT_EQ(ids(), (QList<qlonglong>{1, 2, 3, 4}));
    store.exec(u"DELETE FROM %1 WHERE COD = ?"_s.arg(store.table(wh)), {u"b"_s});
    renumberIds(store, wh);
    EXPECT_EQ(ids(), (QList<qlonglong>{1, 2, 3}));
    EXPECT_EQ(renumberIds(store, data(u"non_esiste.db"_s)), 0);
    EXPECT_FALSE(QFile::exists(data(u"non_esiste.db"_s)));
}

TEST_F(Maintenance, StartRenumbersAndRepairsTheUnitFactor) {
    ASSERT_EQ(runStartup(), 0);
    Probe::exec(data(u"magazzino.db"_s),
                u"INSERT INTO magazzino (COD, FM, ID) VALUES ('a', 0, 5), ('b', NULL, 5), ('c', 2.5, 5), ('d', '  ', 5)"_s);
    Probe::exec(data(u"scad.db"_s), u"INSERT INTO scad (DES, ID) VALUES ('x', 40), ('y', 40)"_s);
    ASSERT_EQ(runStartup(), 0);
    const auto rows = Probe::rows(data(u"magazzino.db"_s), u"SELECT FM, ID FROM magazzino ORDER BY rowid"_s);
    ASSERT_EQ(rows.size(), 4);
    EXPECT_DOUBLE_EQ(rows[0][0].toDouble(), 1);
    EXPECT_DOUBLE_EQ(rows[1][0].toDouble(), 1);
    EXPECT_DOUBLE_EQ(rows[2][0].toDouble(), 2.5);
    EXPECT_EQ(rows[3][0], QVariant(1.0)) << "a blank factor too";
    EXPECT_EQ(rows[3][1].toLongLong(), 4);
    EXPECT_EQ(Probe::rows(data(u"scad.db"_s), u"SELECT MAX(ID) FROM scad"_s)[0][0].toLongLong(), 2);
}

TEST_F(Maintenance, EmptyArchivePathsGetTheirDefaultsWithOneWarning) {
    base.write(u"zelvarin.ini"_s, "[Path]\nArchivio Magazzino=\nArchivio scadenze=  \nArchivio Ordini=/altrove/ordini.db\n");
    ASSERT_EQ(runStartup(), 0);
    ASSERT_EQ(notifier.entries.size(), 1) << qPrintable(notifier.texts().join(u'\n'));
    EXPECT_EQ(notifier.entries[0].title, u"Archivi mancanti"_s);
    EXPECT_EQ(notifier.entries[0].text,
              u"Attenzione sono stati trovati 2 archivi mancanti. Impostati archivi predefiniti!"_s);
    Settings s(base.path());
    s.load();
    EXPECT_EQ(fillMissingPaths(s), 2);
    EXPECT_EQ(s.text(u"Path", u"Archivio Magazzino"), data(u"magazzino.db"_s));
    EXPECT_EQ(s.text(u"Path", u"Archivio Ordini"), u"/altrove/ordini.db"_s);
}

TEST_F(Maintenance, WorkingTablesAreEmptiedAndQuoteLinesFollowTheirArchive) {
    ASSERT_EQ(runStartup(), 0);
    Probe::exec(data(u"dett_ddt_tmp.db"_s), u"INSERT INTO dett_ddt_tmp (COD) VALUES ('x')"_s);
    Probe::exec(data(u"mov_tmp.db"_s), u"INSERT INTO mov_tmp (COD) VALUES ('x')"_s);
    Probe::exec(data(u"fatt_tmp.db"_s), u"INSERT INTO fatt_tmp (COD) VALUES ('x')"_s);
    Probe::exec(data(u"preventivi_dett.db"_s), u"ALTER TABLE preventivi_dett ADD COLUMN extra CHAR(5)"_s);
    ASSERT_EQ(runStartup(), 0);
    EXPECT_TRUE(notifier.entries.isEmpty());
    for (const QString& f : {u"dett_ddt_tmp.db"_s, u"mov_tmp.db"_s, u"fatt_tmp.db"_s, u"prev_tmp.db"_s})
        EXPECT_EQ(Probe::count(data(f)), 0) << qPrintable(f);
    EXPECT_EQ(Probe::columns(data(u"prev_tmp.db"_s)).last(), u"extra CHAR(5)"_s);
    EXPECT_FALSE(Probe::columns(data(u"dett_ddt_tmp.db"_s)).contains(u"extra CHAR(5)"_s));
}

TEST_F(Maintenance, AWarehouseThatCannotBeOpenedIsReportedWithItsCauseAndStartGoesOn) {
    base.write(u"zelvarin.ini"_s, "[System]\nControlla campi archivi=0\n[Path]\nArchivio Magazzino=" +
                                      base.file(u"altrove/magazzino.db"_s).toUtf8() + "\n");
    EXPECT_EQ(runStartup(), kExitArchive);
    ASSERT_EQ(notifier.entries.size(), 1) << qPrintable(notifier.texts().join(u'\n'));
    EXPECT_EQ(notifier.entries[0].title, u"Archivio Magazzino articoli"_s);
    EXPECT_TRUE(notifier.entries[0].text.startsWith(u"Errore nell'apertura dell'archivio."_s));
    EXPECT_TRUE(notifier.entries[0].text.contains(u"altrove"_s)) << qPrintable(notifier.entries[0].text);
    EXPECT_FALSE(notifier.entries[0].text.contains(u"cancell"_s)) << "never advise deleting an archive";
    EXPECT_FALSE(QFileInfo::exists(base.file(u"altrove/magazzino.db"_s)));
}

TEST_F(Maintenance, LookUpIndexesLiveInTheArchivesAndANumberedArchiveIsNotRewritten) {
    ASSERT_EQ(runStartup(), kExitDone);
    const struct {
        const char* file;
        QStringView index;
        const char* sql;
    } expected[] = {
        {"dett_ddt26.db", kMovementArticleIndex, "CREATE INDEX \"idx_movimenti_cod\" ON \"dett_ddt26\" (COD)"},
        {"anagrafica.db", u"idx_cod_cli", "CREATE INDEX \"idx_cod_cli\" ON \"anagrafica\" (COD_CLI)"},
        {"magazzino.db", u"idx_cod", "CREATE INDEX \"idx_cod\" ON \"magazzino\" (COD)"},
        {"ddt26.db", u"idx_bolla", "CREATE INDEX \"idx_bolla\" ON \"ddt26\" (BOLLA)"},
        {"fatture26.db", u"idx_fattura", "CREATE INDEX \"idx_fattura\" ON \"fatture26\" (FATTURA)"},
        {"alleg_anag.db", u"idx_cod_cli", "CREATE INDEX \"idx_cod_cli\" ON \"alleg_anag\" (cod_cli)"},
    };
    for (const auto& e : expected) {
        const auto rows = Probe::rows(data(QString::fromLatin1(e.file)),
                                      u"SELECT sql FROM sqlite_master WHERE type = 'index' AND name = ?"_s.replace(
                                          u"?"_s, u"'"_s + e.index.toString() + u"'"_s));
        ASSERT_EQ(rows.size(), 1) << e.file;
        EXPECT_EQ(rows.first().first().toString(), QString::fromLatin1(e.sql));
    }
    Probe::exec(data(u"magazzino.db"_s), u"INSERT INTO magazzino (COD, FM, ID) VALUES ('A', 1, 1), ('B', 1, 2)"_s);
    Probe::exec(data(u"scad.db"_s), u"INSERT INTO scad (COD, ID) VALUES ('X', 1)"_s);
    const QByteArray warehouse = base.read(u"Dati/magazzino.db"_s);
    const QByteArray deadlines = base.read(u"Dati/scad.db"_s);
    ASSERT_EQ(runStartup(), kExitDone);
    EXPECT_EQ(base.read(u"Dati/magazzino.db"_s), warehouse) << "already 1..N: not a byte written";
    EXPECT_EQ(base.read(u"Dati/scad.db"_s), deadlines);
}

TEST_F(Maintenance, AWorkingTableThatCannotBeEmptiedSaysWhy) {
    ASSERT_EQ(runStartup(), kExitDone);
    Probe::exec(data(u"mov_tmp.db"_s), u"INSERT INTO mov_tmp (COD) VALUES ('resta')"_s);
    Probe::exec(data(u"mov_tmp.db"_s),
                u"CREATE TRIGGER no_delete BEFORE DELETE ON mov_tmp BEGIN SELECT RAISE(ABORT, 'bloccato'); END"_s);
    EXPECT_EQ(runStartup(), kExitArchive);
    ASSERT_EQ(notifier.texts().size(), 1) << qPrintable(notifier.texts().join(u'\n'));
    EXPECT_TRUE(notifier.texts()[0].startsWith(u"Il database mov_tmp non può essere svuotato: "_s))
        << qPrintable(notifier.texts()[0]);
    EXPECT_TRUE(notifier.texts()[0].contains(u"bloccato"_s));
    EXPECT_EQ(Probe::count(data(u"mov_tmp.db"_s)), 1);
}

TEST_F(Maintenance, AStartRenumberingWhoseLastWriteFailsLeavesEveryArchiveAsItWas) {
    ASSERT_EQ(runStartup(), kExitDone);
    Probe::exec(data(u"magazzino.db"_s), u"INSERT INTO magazzino (COD, FM, ID) VALUES ('a', 1, 7), ('b', 1, 7)"_s);
    Probe::exec(data(u"scad.db"_s), u"INSERT INTO scad (DES, ID) VALUES ('x', 40), ('y', 40)"_s);
    Probe::exec(data(u"scad.db"_s), u"CREATE TRIGGER stop_last BEFORE UPDATE ON scad WHEN NEW.ID = 2 "
                                    "BEGIN SELECT RAISE(ABORT, 'scrittura rifiutata'); END"_s);
    const QString warehouse = Probe::dump(data(u"magazzino.db"_s));
    const QString deadlines = Probe::dump(data(u"scad.db"_s));
    EXPECT_EQ(runStartup(), kExitArchive);
    EXPECT_EQ(Probe::dump(data(u"magazzino.db"_s)), warehouse) << "one transaction over the six archives";
    EXPECT_EQ(Probe::dump(data(u"scad.db"_s)), deadlines);
    ASSERT_EQ(notifier.texts().size(), 1);
    EXPECT_TRUE(notifier.texts()[0].contains(u"scrittura rifiutata"_s)) << qPrintable(notifier.texts()[0]);
}
