#include "tests/store/StartupFixture.h"

using namespace zel;
using namespace zel::test;
using namespace Qt::Literals::StringLiterals;

namespace {

class UnitWidening : public StartupFixture {
protected:
    QString lines() const { return data(u"dett_fatture26.db"_s); }
    QString tableSql() const {
        return Probe::rows(lines(), u"SELECT sql FROM sqlite_master WHERE type = 'table'"_s)
            .value(0)
            .value(0)
            .toString();
    }
    QStringList indexes() const {
        QStringList names;
        for (const auto& r : Probe::rows(
                 lines(), u"SELECT name FROM sqlite_master WHERE type = 'index' ORDER BY name"_s))
            names << r[0].toString();
        return names;
    }
};

TEST_F(UnitWidening, AnOldNarrowUnitColumnIsWidenedKeepingEveryRow) {
    ASSERT_EQ(runStartup(), 0);
    const QString wide = tableSql();
    ASSERT_TRUE(wide.contains(u"UNITAMIS CHAR(20)"_s)) << wide.toStdString();
    const QStringList made = indexes();
    EXPECT_TRUE(made.contains(u"idx_des"_s));

    // An archive of an older release: the unit in four characters.
    Probe::exec(lines(), u"DROP TABLE dett_fatture26"_s);
    Probe::exec(lines(), QString(wide).replace(u"UNITAMIS CHAR(20)"_s, u"UNITAMIS CHAR(4)"_s));
    Probe::exec(lines(),
                u"INSERT INTO dett_fatture26 (rowid, FATTURA, DES, UNITAMIS, QUANT) VALUES "
                u"(5, 1, 'DDT n. 7 del 05/03/2026', '', 0), (9, 1, 'Viti', 'Conf.', 2.5)"_s);
    const auto rowsOf = [this] {
        return Probe::rows(
            lines(),
            u"SELECT rowid, FATTURA, DES, UNITAMIS, QUANT FROM dett_fatture26 ORDER BY rowid"_s);
    };
    const auto rows = rowsOf();

    ASSERT_EQ(runStartup(), 0);
    EXPECT_EQ(tableSql(), wide);
    EXPECT_EQ(rowsOf(), rows);
    EXPECT_EQ(Probe::rows(lines(), u"SELECT rowid FROM dett_fatture26 WHERE UNITAMIS = 'Conf.'"_s)
                  .value(0)
                  .value(0)
                  .toInt(),
              9);
    EXPECT_EQ(indexes(), made);

    // Once wide, a start leaves the file alone.
    const QByteArray bytes = base.read(u"Dati/dett_fatture26.db"_s);
    ASSERT_EQ(runStartup(), 0);
    EXPECT_EQ(base.read(u"Dati/dett_fatture26.db"_s), bytes);
}

}  // namespace
