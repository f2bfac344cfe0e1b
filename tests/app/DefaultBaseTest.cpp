#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include "app/BaseFolder.h"
#include "tests/TestSupport.h"

using namespace zel;
using namespace zel::test;
using namespace Qt::Literals::StringLiterals;

TEST(DefaultBase, TheCurrentFolderOnlyWhenItHoldsABase) {
    struct Case {
        QString what, file, folder;
        bool inHome, current;
    };
    const Case cases[] = {
        {u"empty folder"_s, {}, {}, false, false},
        {u"settings file"_s, u"zelvarin.ini"_s, {}, false, true},
        {u"data folder"_s, {}, u"Dati"_s, false, true},
        {u"names written on Windows"_s, u"ZELVARIN.INI"_s, u"DATI"_s, false, true},
        {u"a file called Dati"_s, u"Dati"_s, {}, false, false},
        {u"other things only"_s, u"note.txt"_s, u"Documenti"_s, false, false},
        {u"the user's own Dati in the home folder"_s, {}, u"Dati"_s, true, false},
        {u"settings file in the home folder"_s, u"zelvarin.ini"_s, u"Dati"_s, true, true},
    };
    for (const Case& c : cases) {
        TempBase elsewhere, home;
        const TempBase& current = c.inHome ? home : elsewhere;
        if (!c.file.isEmpty()) current.write(c.file, "x");
        if (!c.folder.isEmpty()) {
            ASSERT_TRUE(QDir(current.path()).mkdir(c.folder));
        }
        const QString user = home.file(u".local/share/Zelvarin"_s);
        EXPECT_EQ(defaultBaseFolder(current.path(), home.path(), user),
                  c.current ? current.path() : user)
            << qPrintable(c.what);
        EXPECT_EQ(QFileInfo(user).isDir(), !c.current)
            << "made only when used: " << qPrintable(c.what);
    }
}

TEST(DefaultBase, TheProgramWithoutBaseUsesTheCurrentBaseOrTheUserDataFolder) {
    struct Case {
        QString what;
        bool inHome, usesCurrent;
    };
    // Started from the menu, the program runs in the home folder.
    const Case cases[] = {
        {u"a folder holding a base"_s, false, true},
        {u"the home folder with the user's own Dati"_s, true, false},
    };
    for (const Case& c : cases) {
        TempBase elsewhere, home;
        const QString current = c.inHome ? home.path() : elsewhere.path();
        ASSERT_TRUE(QDir(current).mkdir(u"Dati"_s));
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"HOME"_s, home.path());
        env.remove(u"XDG_DATA_HOME"_s);
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(current);
        p.start(QString::fromUtf8(ZELVARIN_BINARY), {u"--init"_s});
        ASSERT_TRUE(p.waitForFinished(120000));
        EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().constData();
        const QString user = home.file(u".local/share/Zelvarin"_s);
        const QString used = c.usesCurrent ? current : user;
        const QString unused = c.usesCurrent ? user : current;
        for (const QString& name : {u"zelvarin.ini"_s, u"cap.db"_s, u"banche.db"_s}) {
            EXPECT_TRUE(QFileInfo::exists(QDir(used).filePath(name)))
                << qPrintable(c.what + u": "_s + name);
            EXPECT_FALSE(QFileInfo::exists(QDir(unused).filePath(name)))
                << qPrintable(c.what + u": "_s + name);
        }
        EXPECT_EQ(QDir(current + u"/Dati"_s).isEmpty(), !c.usesCurrent) << qPrintable(c.what);
    }
}
