#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>

#include "registry/ReferenceData.h"
#include "tests/TestSupport.h"
#include "tests/store/SqliteProbe.h"

using namespace zel;
using namespace zel::test;
using namespace Qt::Literals::StringLiterals;

namespace {

struct Outcome {
    int code;
    QString output;
};

Outcome run(const QString& program, const QStringList& args) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    if (!p.waitForFinished(120000)) return {-1, u"did not finish"_s};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAll())};
}

QStringList filesUnder(const QString& root) {
    QStringList out;
    QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) out.append(QDir(root).relativeFilePath(it.next()));
    out.sort();
    return out;
}

constexpr int kIconSizes[] = {16, 24, 32, 48, 64, 128, 256};

// The keys of a desktop entry, read as the desktop reads them (no INI escapes).
QMap<QString, QString> desktopEntry(const QString& path) {
    QFile f(path);
    QMap<QString, QString> keys;
    if (!f.open(QIODevice::ReadOnly)) return keys;
    for (const QString& line : QString::fromUtf8(f.readAll()).split(u'\n')) {
        const qsizetype eq = line.indexOf(u'=');
        if (eq > 0) keys.insert(line.left(eq), line.mid(eq + 1));
    }
    return keys;
}

}  // namespace

TEST(ReferenceDataLocation, BesideTheInstalledDataOrInTheBuildTree) {
    struct Case {
        QString what, program, tables;
        bool found;
    };
    const Case cases[] = {
        {u"installed"_s, u"usr/bin"_s, u"usr/share/zelvarin"_s, true},
        {u"build tree"_s, u"build/app"_s, u"build/refdata"_s, true},
        {u"tables elsewhere"_s, u"opt/bin"_s, u"opt/dati"_s, false},
    };
    for (const Case& c : cases) {
        TempBase root;
        ASSERT_TRUE(QDir(root.path()).mkpath(c.program));
        root.write(c.tables + u"/cap.db"_s, "x");
        root.write(c.tables + u"/banche.db"_s, "x");
        EXPECT_EQ(findReferenceData(root.file(c.program)),
                  c.found ? root.file(c.tables) : QString())
            << qPrintable(c.what);
    }
    TempBase empty;
    ASSERT_TRUE(QDir(empty.path()).mkpath(u"usr/bin"_s) &&
                QDir(empty.path()).mkpath(u"usr/share/zelvarin"_s));
    EXPECT_EQ(findReferenceData(empty.file(u"usr/bin"_s)), QString())
        << "a data folder without the tables";
}

TEST(InstalledProgram, InstallsItsFilesAndFindsItsOwnTables) {
    TempBase tmp;
    const QString prefix = tmp.file(u"prefix"_s);
    const Outcome install =
        run(QString::fromUtf8(ZELVARIN_CMAKE),
            {u"--install"_s, QString::fromUtf8(ZELVARIN_BUILD_DIR), u"--prefix"_s, prefix});
    ASSERT_EQ(install.code, 0) << qPrintable(install.output);

    QStringList expected{u"bin/zelvarin"_s,
                         u"share/applications/it.zelvarin.Zelvarin.desktop"_s,
                         u"share/icons/hicolor/scalable/apps/zelvarin.svg"_s,
                         u"share/metainfo/it.zelvarin.Zelvarin.metainfo.xml"_s,
                         u"share/zelvarin/banche.db"_s,
                         u"share/zelvarin/cap.db"_s};
    for (const int size : kIconSizes)
        expected.append(u"share/icons/hicolor/%1x%1/apps/zelvarin.png"_s.arg(size));
    expected.sort();
    EXPECT_EQ(filesUnder(prefix), expected);
    for (const int size : kIconSizes) {
        const QString png =
            u"%1/share/icons/hicolor/%2x%2/apps/zelvarin.png"_s.arg(prefix).arg(size);
        EXPECT_EQ(QImage(png).size(), QSize(size, size)) << qPrintable(png);
    }

    const auto desktop =
        desktopEntry(prefix + u"/share/applications/it.zelvarin.Zelvarin.desktop"_s);
    EXPECT_EQ(desktop.value(u"Name"_s), u"Zelvarin"_s);
    EXPECT_EQ(desktop.value(u"Exec"_s), u"zelvarin"_s) << "starts without --base";
    EXPECT_EQ(desktop.value(u"Icon"_s), u"zelvarin"_s);
    EXPECT_EQ(desktop.value(u"Categories"_s), u"Office;Finance;"_s);

    // A row only the installed copy has shows which table the program took.
    const QString installedCap = prefix + u"/share/zelvarin/cap.db"_s;
    QFile::setPermissions(installedCap, QFile::permissions(installedCap) | QFileDevice::WriteOwner);
    Probe::exec(installedCap,
                u"INSERT INTO cap (localita, cap, prov) VALUES ('Installata', '00000', 'ZZ')"_s);
    const QString base = tmp.file(u"base"_s);
    const Outcome init = run(prefix + u"/bin/zelvarin"_s, {u"--base"_s, base, u"--init"_s});
    ASSERT_EQ(init.code, 0) << qPrintable(init.output);
    EXPECT_EQ(
        Probe::rows(base + u"/cap.db"_s, u"SELECT cap FROM cap WHERE localita = 'Installata'"_s)
            .size(),
        1);
    EXPECT_EQ(Probe::count(base + u"/banche.db"_s),
              Probe::count(prefix + u"/share/zelvarin/banche.db"_s));
}

TEST(InstalledProgram, DesktopEntryAndAppStreamDataPassTheirValidators) {
    const QString packaging = QString::fromUtf8(ZELVARIN_SOURCE_DIR) + u"/packaging/"_s;
    struct Case {
        QString tool;
        QStringList args;
    };
    const Case cases[] = {
        {u"desktop-file-validate"_s, {packaging + u"it.zelvarin.Zelvarin.desktop"_s}},
        {u"appstreamcli"_s,
         {u"validate"_s, u"--no-net"_s, packaging + u"it.zelvarin.Zelvarin.metainfo.xml"_s}},
    };
    for (const Case& c : cases) {
        const QString tool = QStandardPaths::findExecutable(c.tool);
        ASSERT_FALSE(tool.isEmpty()) << qPrintable(c.tool) << " missing: run scripts/deps.sh";
        const Outcome r = run(tool, c.args);
        EXPECT_EQ(r.code, 0) << qPrintable(c.tool + u": "_s + r.output);
    }
}
