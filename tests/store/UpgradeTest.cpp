#include <QDir>
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

QStringList seq(const QString& pattern, int from, int to) {
    QStringList out;
    for (int i = from; i <= to; ++i) out << pattern.arg(i);
    return out;
}

class Upgrade : public StartupFixture {
protected:
    // Archives created without running the upgrade, so a test can plant old ones.
    void SetUp() override {
        StartupFixture::SetUp();
        base.write(u"zelvarin.ini"_s, "[System]\nControlla campi archivi=0\n");
        ASSERT_EQ(runStartup(), 0);
    }
    UpgradeOutcome upgrade() {
        Settings settings(base.path());
        settings.load();
        Store store(base.file(u"Dati"_s));
        return upgradeColumns(store, settings, notifier);
    }
    void plant(const QString& file, const QString& columns, const QStringList& inserts) {
        QFile::remove(data(file));
        {
            Store store(base.file(u"Dati"_s));
            store.createArchive(data(file), columns);
        }
        const QString table = QFileInfo(file).completeBaseName();
        for (const QString& sql : inserts) Probe::exec(data(file), sql.arg(table));
    }
};

}  // namespace

TEST_F(Upgrade, OldArchivesGainExactlyTheMissingColumnsAndKeepTheirRows) {
    plant(u"magazzino.db"_s, u"COD CHAR(20), DES CHAR(70), QCA FLOAT, QSC FLOAT, FM FLOAT, ID INTEGER"_s,
          {u"INSERT INTO %1 VALUES ('A1', 'Vite M6', 10, 4, 0, 9)"_s,
           u"INSERT INTO %1 VALUES ('A2', 'Dado l''8', 3, 0, NULL, 9)"_s});
    QString quoteColumns = findArchive(u"preventivi.db")->columns.toString();
    plant(u"preventivi.db"_s, quoteColumns, {u"INSERT INTO %1 (FATTURA, NOME_CLI) VALUES (5, 'Rossi')"_s});

    const UpgradeOutcome out = upgrade();
    EXPECT_TRUE(out.failure.isEmpty()) << qPrintable(out.failure);

    const QStringList warehouse =
        QStringList{u"COD CHAR(20)"_s, u"DES CHAR(70)"_s, u"QCA FLOAT"_s, u"QSC FLOAT"_s, u"FM FLOAT"_s,
                    u"ID INTEGER"_s} +
        seq(u"RIF_EXT%1 CHAR(120)"_s, 1, 5) + seq(u"RIF_DES_EXT%1 CHAR(70)"_s, 1, 5) +
        QStringList{u"COSTO_MAT_PRIMA FLOAT"_s, u"RECUPERO_MAT FLOAT"_s} + seq(u"listino%1 FLOAT"_s, 1, 4) +
        QStringList{u"SERIALE CHAR(80)"_s, u"um CHAR(10)"_s, u"noloquant1 FLOAT"_s, u"noloquant2 FLOAT"_s,
                    u"giac FLOAT"_s} +
        seq(u"VALO%1 FLOAT"_s, 1, 5) +
        QStringList{u"VALUTA CHAR(10)"_s, u"CAMBIO FLOAT"_s, u"note CHAR(100)"_s, u"CAT_FISC CHAR(50)"_s,
                    u"GRUPPO CHAR(50)"_s, u"num_mag INTEGER"_s, u"nome_mag CHAR(20)"_s, u"tipo_mag INTEGER"_s,
                    u"ST_UBIC CHAR(15)"_s} +
        seq(u"costo_agg%1 FLOAT"_s, 1, 6);
    EXPECT_EQ(Probe::columns(data(u"magazzino.db"_s)), warehouse);
    const auto rows = Probe::rows(data(u"magazzino.db"_s), u"SELECT COD, DES, QCA FROM magazzino ORDER BY rowid"_s);
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[1][1].toString(), u"Dado l'8"_s);

    const QStringList quotes = Probe::columns(data(u"preventivi.db"_s));
    EXPECT_EQ(quotes.last(), u"oggetto CHAR(100)"_s);
    EXPECT_EQ(quotes.size(), quoteColumns.split(u", "_s).size() + 1);
    EXPECT_EQ(Probe::count(data(u"preventivi.db"_s)), 1);
}

TEST_F(Upgrade, RunsNoAlterationOnArchivesThatHaveEveryColumn) {
    EXPECT_GT(upgrade().columnsAdded, 0);
    QMap<QString, QString> before;
    for (const QString& f : QDir(base.file(u"Dati"_s)).entryList({u"*.db"_s})) before[f] = Probe::dump(data(f));
    const UpgradeOutcome again = upgrade();
    EXPECT_EQ(again.columnsAdded, 0);
    EXPECT_TRUE(again.failure.isEmpty());
    for (auto it = before.cbegin(); it != before.cend(); ++it)
        EXPECT_EQ(Probe::dump(data(it.key())), it.value()) << qPrintable(it.key());
}

TEST_F(Upgrade, TheFirstFailureEndsTheUpgradeAndLeavesThatArchiveAsItWas) {
    base.write(u"Dati/rotto.db"_s, "questo non e' un archivio");
    IniFile ini(base.file(u"zelvarin.ini"_s));
    ini.load();
    ini.setValue(u"Path"_s, u"Archivio Contatti"_s, data(u"rotto.db"_s));
    ini.save();
    const UpgradeOutcome out = upgrade();
    EXPECT_FALSE(out.failure.isEmpty());
    EXPECT_EQ(base.read(u"Dati/rotto.db"_s), QByteArray("questo non e' un archivio"));
    EXPECT_TRUE(Probe::columns(data(u"anagrafica.db"_s)).contains(u"nome_sleg CHAR(70)"_s)) << "probes before it ran";
    EXPECT_FALSE(Probe::columns(data(u"ordini.db"_s)).contains(u"mod_pagam CHAR(50)"_s)) << "probes after it did not";
}

TEST_F(Upgrade, IntegerQuantitiesBecomeDecimalsOnlyWhenTheUserAgrees) {
    const QString lines = u"dett_fatture26.db"_s;
    const QString old = findArchive(u"dett_fatture@YY@.db")->columns.toString().replace(u"QUANT FLOAT"_s,
                                                                                         u"QUANT INTEGER"_s);
    for (const bool agree : {false, true}) {
        plant(lines, old,
              {u"INSERT INTO %1 (COD, QUANT, PREZZO) VALUES ('A', 3, 1.5)"_s,
               u"INSERT INTO %1 (COD, QUANT, PREZZO) VALUES ('B', 7, 2)"_s});
        notifier.answers = {agree};
        upgrade();
        int asked = 0;
        for (const auto& e : notifier.entries)
            if (e.question && e.text.startsWith(u"Il database Dettaglio Fatture non supporta i decimali"_s)) ++asked;
        EXPECT_EQ(asked, 1) << "archive 2 is empty and is not asked about";
        const QStringList cols = Probe::columns(data(lines));
        const qsizetype at = old.split(u", "_s).indexOf(u"QUANT INTEGER"_s);
        EXPECT_EQ(cols.at(at), agree ? u"QUANT FLOAT"_s : u"QUANT INTEGER"_s);
        const auto rows = Probe::rows(data(lines), u"SELECT COD, QUANT, PREZZO FROM dett_fatture26 ORDER BY rowid"_s);
        ASSERT_EQ(rows.size(), 2);
        EXPECT_EQ(rows[0][0].toString(), u"A"_s);
        EXPECT_DOUBLE_EQ(rows[1][1].toDouble(), 7.0);
        EXPECT_DOUBLE_EQ(rows[0][2].toDouble(), 1.5);
        EXPECT_EQ(QFile::exists(data(u"fatt.db"_s)), agree);
        notifier = RecordingNotifier{};
    }
    // Once decimal, the question is not asked again.
    upgrade();
    EXPECT_TRUE(notifier.entries.isEmpty());
}

TEST_F(Upgrade, NarrowOrderCodesAreWidenedKeepingRowsAndRowids) {
    const QString old = findArchive(u"ordini.db")->columns.toString();
    plant(u"ordini.db"_s, old,
          {u"INSERT INTO %1 (rowid, ordine, COD_CLI, COD_FORN, COD_ART, QUANT) VALUES (4, 1, '', 'F001', 'A1', 2.5)"_s,
           u"INSERT INTO %1 (rowid, ordine, COD_CLI, COD_FORN, COD_ART, QUANT) VALUES (7, 2, 'C001', '', 'A2', 3)"_s});
    const auto rowsOf = [this] {
        return Probe::rows(data(u"ordini.db"_s),
                           u"SELECT rowid, ordine, COD_CLI, COD_FORN, COD_ART, QUANT FROM ordini ORDER BY rowid"_s);
    };
    const auto before = rowsOf();
    const UpgradeOutcome out = upgrade();
    EXPECT_TRUE(out.failure.isEmpty()) << qPrintable(out.failure);
    const QStringList columns = Probe::columns(data(u"ordini.db"_s));
    for (const QString& c : {u"COD_CLI CHAR(20)"_s, u"COD_FORN CHAR(20)"_s, u"COD_ART CHAR(20)"_s})
        EXPECT_TRUE(columns.contains(c)) << qPrintable(columns.join(u", "));
    EXPECT_EQ(columns.indexOf(u"COD_CLI CHAR(20)"_s), old.split(u", "_s).indexOf(u"COD_CLI CHAR(10)"_s));
    EXPECT_EQ(rowsOf(), before);
}
