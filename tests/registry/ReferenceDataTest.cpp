#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "registry/ReferenceData.h"
#include "tests/TestSupport.h"
#include "tests/store/SqliteProbe.h"

using namespace zel;
using namespace zel::test;
using namespace Qt::Literals::StringLiterals;

namespace {

QString built(const QString& name) { return QDir(QStringLiteral(ZELVARIN_REFDATA_DIR)).filePath(name); }

QList<QVariantList> capRows(const QString& where) {
    return Probe::rows(built(u"cap.db"_s), u"SELECT localita, cap, prov, prefissoTel FROM cap WHERE "_s + where);
}

}  // namespace

TEST(ReferenceTables, HaveTheirColumnsAndEveryMunicipalityAndBranch) {
    EXPECT_EQ(Probe::columns(built(u"cap.db"_s)),
              (QStringList{u"localita CHAR(60)"_s, u"cap CHAR(5)"_s, u"prov CHAR(2)"_s, u"prefissoTel CHAR(6)"_s}));
    EXPECT_EQ(Probe::columns(built(u"banche.db"_s)),
              (QStringList{u"abi CHAR(5)"_s, u"cab CHAR(5)"_s, u"banca CHAR(150)"_s, u"sportello CHAR(60)"_s,
                           u"indirizzo CHAR(150)"_s, u"cap CHAR(5)"_s, u"comune CHAR(60)"_s}));
    // 7,896 municipalities, some with several CAPs; 18,959 branches.
    EXPECT_EQ(Probe::rows(built(u"cap.db"_s), u"SELECT COUNT(DISTINCT localita || prov) FROM cap"_s)[0][0], 7896);
    EXPECT_EQ(Probe::count(built(u"cap.db"_s)), 8474);
    EXPECT_EQ(Probe::count(built(u"banche.db"_s)), 18959);
    EXPECT_EQ(Probe::rows(built(u"cap.db"_s), u"SELECT COUNT(*) FROM cap WHERE length(cap) <> 5 OR length(prov) <> 2"_s)[0][0], 0);
    EXPECT_EQ(Probe::rows(built(u"banche.db"_s),
                          u"SELECT COUNT(*) FROM banche WHERE length(abi) <> 5 OR length(cab) <> 5 OR banca = ''"_s)[0][0],
              0);
    EXPECT_EQ(capRows(u"localita = 'Roma'"_s).size(), 73);
    EXPECT_EQ(capRows(u"localita = 'Milano'"_s).size(), 38);
}

TEST(ReferenceTables, MendTheKnownFaultsOfTheSources) {
    struct Case {
        QString town, cap, prov, prefix;
    };
    const Case cases[] = {
        {u"Ozzano dell'Emilia"_s, u"40064"_s, u"BO"_s, u"051"_s},
        {u"Vicchio"_s, u"50039"_s, u"FI"_s, u"055"_s},
        {u"Moransengo-Tonengo"_s, u"14023"_s, u"AT"_s, u"0141"_s},
    };
    for (const Case& c : cases) {
        const auto rows = Probe::rows(built(u"cap.db"_s),
                                      u"SELECT localita, cap, prov, prefissoTel FROM cap WHERE localita = '"_s +
                                          QString(c.town).replace(u"'"_s, u"''"_s) + u"'"_s);
        ASSERT_EQ(rows.size(), 1) << qPrintable(c.town);
        EXPECT_EQ(rows[0], (QVariantList{c.town, c.cap, c.prov, c.prefix}));
    }
}

TEST(ReferenceTables, GiveABranchTheCapOfItsTownOnlyWhenTheTownHasOne) {
    const auto rows = Probe::rows(built(u"banche.db"_s),
                                  u"SELECT comune, cap, indirizzo, sportello FROM banche WHERE abi = '08473' AND cab IN "
                                  "('15400', '77250') ORDER BY cab"_s);
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0], (QVariantList{u"PESCARA"_s, QString(), u"CORSO VITTORIO EMANUELE II, 350"_s, QString()}))
        << "Pescara has several CAPs";
    EXPECT_EQ(rows[1][0], u"CITTA' SANT'ANGELO"_s);
    EXPECT_EQ(rows[1][1], capRows(u"localita = 'Città Sant''Angelo'"_s)[0][1]) << "accents written as apostrophes";
}

TEST(ReferenceTables, InstallCopiesMissingTablesAndNeverOverwrites) {
    TempBase base;
    base.write(u"banche.db"_s, "mine");
    EXPECT_TRUE(installReferenceTables(base.path()).isEmpty());
    EXPECT_EQ(Probe::count(base.file(u"cap.db"_s)), Probe::count(built(u"cap.db"_s)));
    EXPECT_EQ(base.read(u"banche.db"_s), QByteArray("mine"));
    EXPECT_TRUE(QFileInfo(base.file(u"cap.db"_s)).isWritable());

    TempBase empty, other;
    qputenv("ZELVARIN_REFDATA", empty.path().toLocal8Bit());
    const QStringList failures = installReferenceTables(other.path());
    qunsetenv("ZELVARIN_REFDATA");
    EXPECT_EQ(failures.size(), 2);
    EXPECT_FALSE(QFile::exists(other.file(u"cap.db"_s)));
}
