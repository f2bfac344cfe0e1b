#include <gtest/gtest.h>

#include <QDir>

#include "settings/IniFile.h"
#include "tests/TestSupport.h"

using namespace zel;

TEST(IniFile, MatchesSectionsAndKeysWithoutRegardToCase) {
    IniFile ini;
    ini.parse(QStringLiteral("[System]\nRichiesta Password=1\n[Città]\nÈlenco=sì\n"));
    EXPECT_EQ(ini.value(QStringLiteral("SYSTEM"), QStringLiteral("richiesta password")), QStringLiteral("1"));
    EXPECT_EQ(ini.value(QStringLiteral("CITTÀ"), QStringLiteral("èLENCO")), QStringLiteral("sì"));
    ini.setValue(QStringLiteral("system"), QStringLiteral("RICHIESTA PASSWORD"), QStringLiteral("0"));
    EXPECT_EQ(ini.toText(), QStringLiteral("[System]\nRichiesta Password=0\n[Città]\nÈlenco=sì\n"));
}

TEST(IniFile, TrailingSpacesOfASectionNameArePartOfIt) {
    IniFile ini;
    ini.parse(QStringLiteral("[Appuntamento ]\nattivo=0\n[Appuntamento]\nattivo=1\n"));
    EXPECT_EQ(ini.value(QStringLiteral("Appuntamento "), QStringLiteral("attivo")), QStringLiteral("0"));
    EXPECT_EQ(ini.value(QStringLiteral("Appuntamento"), QStringLiteral("attivo")), QStringLiteral("1"));
    ini.setValue(QStringLiteral("Nuova "), QStringLiteral("k"), QStringLiteral("v"));
    EXPECT_TRUE(ini.toText().endsWith(QStringLiteral("[Nuova ]\nk=v\n")));
}

TEST(IniFile, RewriteKeepsOrderCommentsAndUnknownKeys) {
    test::TempBase base;
    base.write(QStringLiteral("a.ini"),
               "; scritto a mano\r\n[Zeta]\r\nsconosciuta=42\r\nNote DDT =3\r\n\r\n[Alfa]\r\nx=1\r\n");
    IniFile ini(base.file(QStringLiteral("a.ini")));
    ASSERT_TRUE(ini.load());
    ini.setValue(QStringLiteral("Zeta"), QStringLiteral("nuova"), QStringLiteral("n"));
    ini.setValue(QStringLiteral("Alfa"), QStringLiteral("X"), QStringLiteral("2"));
    ini.setValue(QStringLiteral("zeta"), QStringLiteral("Note DDT "), QStringLiteral("4"));
    ASSERT_TRUE(ini.save());
    EXPECT_EQ(base.read(QStringLiteral("a.ini")),
              QByteArray("; scritto a mano\n[Zeta]\nsconosciuta=42\nNote DDT =4\nnuova=n\n\n[Alfa]\nx=2\n"));
    EXPECT_TRUE(QDir(base.path()).entryList(QDir::Files) == QStringList{QStringLiteral("a.ini")})
        << "no temporary file left behind";
}

TEST(IniFile, ReadsUtf8AndFallsBackToWindows1252) {
    struct Case {
        QByteArray bytes;
        QString expected;
    } cases[] = {
        {"[S]\nk=citt\xC3\xA0 \xE2\x82\xAC\n", QStringLiteral("città €")},
        {"\xEF\xBB\xBF[S]\nk=pi\xC3\xB9\n", QStringLiteral("più")},
        {"[S]\nk=citt\xE0 \x80 \x96 \x93ok\x94\n", QStringLiteral("città € – “ok”")},
    };
    test::TempBase base;
    for (const Case& c : cases) {
        base.write(QStringLiteral("x.ini"), c.bytes);
        IniFile ini(base.file(QStringLiteral("x.ini")));
        ASSERT_TRUE(ini.load());
        EXPECT_EQ(ini.value(QStringLiteral("s"), QStringLiteral("K")), c.expected);
        ASSERT_TRUE(ini.save());
        IniFile again(base.file(QStringLiteral("x.ini")));
        ASSERT_TRUE(again.load());
        EXPECT_EQ(again.value(QStringLiteral("S"), QStringLiteral("k")), c.expected) << "written back as UTF-8";
    }
}

TEST(IniFile, MissingFileIsEmptyAndUnwritableFolderFails) {
    IniFile missing(QStringLiteral("/nonexistent-dir/zelvarin.ini"));
    EXPECT_TRUE(missing.load());
    EXPECT_FALSE(missing.value(QStringLiteral("System"), QStringLiteral("x")).has_value());
    missing.setValue(QStringLiteral("System"), QStringLiteral("x"), QStringLiteral("1"));
    EXPECT_FALSE(missing.save());
    EXPECT_FALSE(missing.errorString().isEmpty());
}
