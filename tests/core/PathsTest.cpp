#include <gtest/gtest.h>

#include <QDir>

#include "core/Clock.h"
#include "core/Paths.h"
#include "tests/TestSupport.h"

using namespace zel;

TEST(Paths, SettingsPathResolvesToTheExistingFileWhateverItsSpelling) {
    test::TempBase base;
    base.write(QStringLiteral("Dati/ddt26.db"), "x");
    base.write(QStringLiteral("dati2/Mixed.DB"), "x");
    const QString b = base.path();
    struct Case {
        QString written;
        QString expected;
    } cases[] = {
        {b + QStringLiteral("\\dati\\ddt26.db"), b + QStringLiteral("/Dati/ddt26.db")},
        {b + QStringLiteral("/DATI/DDT26.DB"), b + QStringLiteral("/Dati/ddt26.db")},
        {b + QStringLiteral("\\DATI2\\mixed.db"), b + QStringLiteral("/dati2/Mixed.DB")},
        // Not there yet: data folder spelled "Dati", file name in lower case.
        {b + QStringLiteral("\\dati\\FATTURE27.db"), b + QStringLiteral("/Dati/fatture27.db")},
        {b + QStringLiteral("/nuova/DATI/Scad.db"), b + QStringLiteral("/nuova/Dati/scad.db")},
    };
    for (const Case& c : cases) EXPECT_EQ(resolvePath(c.written), c.expected) << qPrintable(c.written);
}

TEST(Paths, DataFolderCopiedFromElsewhereKeepsItsSpelling) {
    test::TempBase base;
    QDir(base.path()).mkpath(QStringLiteral("DATI"));
    EXPECT_EQ(dataDir(base.path()), base.path() + QStringLiteral("/DATI"));
    EXPECT_EQ(dataFile(base.path(), QStringLiteral("Magazzino.db")), base.path() + QStringLiteral("/DATI/magazzino.db"));
}

TEST(Clock, YearSuffixIsTwoDigits) {
    EXPECT_EQ(Clock::yearSuffix(QDate(2026, 12, 11)), QStringLiteral("26"));
    EXPECT_EQ(Clock::yearSuffix(QDate(2105, 1, 1)), QStringLiteral("05"));
}
