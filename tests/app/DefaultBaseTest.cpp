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
        bool current;
    };
    const Case cases[] = {
        {u"empty folder"_s, {}, {}, false},
        {u"settings file"_s, u"zelvarin.ini"_s, {}, true},
        {u"data folder"_s, {}, u"Dati"_s, true},
        {u"names written on Windows"_s, u"ZELVARIN.INI"_s, u"DATI"_s, true},
        {u"a file called Dati"_s, u"Dati"_s, {}, false},
        {u"other things only"_s, u"note.txt"_s, u"Documenti"_s, false},
    };
    for (const Case& c : cases) {
        TempBase current, home;
        if (!c.file.isEmpty()) current.write(c.file, "x");
        if (!c.folder.isEmpty()) {
            ASSERT_TRUE(QDir(current.path()).mkdir(c.folder));
        }
        const QString user = home.file(u".local/share/Zelvarin"_s);
        EXPECT_EQ(defaultBaseFolder(current.path(), user), c.current ? current.path() : user) << qPrintable(c.what);
        EXPECT_EQ(QFileInfo(user).isDir(), !c.current) << "made only when used: " << qPrintable(c.what);
    }
}

TEST(DefaultBase, TheProgramWithoutBaseUsesTheCurrentBaseOrTheUserDataFolder) {
    for (const bool currentHoldsBase : {false, true}) {
        TempBase current, home;
        if (currentHoldsBase) {
            ASSERT_TRUE(QDir(current.path()).mkdir(u"Dati"_s));
        }
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"HOME"_s, home.path());
        env.remove(u"XDG_DATA_HOME"_s);
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(current.path());
        p.start(QString::fromUtf8(ZELVARIN_BINARY), {u"--init"_s});
        ASSERT_TRUE(p.waitForFinished(120000));
        EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().constData();
        const QString user = home.file(u".local/share/Zelvarin"_s);
        const QString used = currentHoldsBase ? current.path() : user;
        const QString unused = currentHoldsBase ? user : current.path();
        for (const QString& name : {u"zelvarin.ini"_s, u"cap.db"_s, u"banche.db"_s}) {
            EXPECT_TRUE(QFileInfo::exists(QDir(used).filePath(name))) << qPrintable(used + u'/' + name);
            EXPECT_FALSE(QFileInfo::exists(QDir(unused).filePath(name))) << qPrintable(unused + u'/' + name);
        }
    }
}
