#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>

#include "tests/TestSupport.h"
#include "tests/store/SqliteProbe.h"

using namespace zel::test;
using namespace Qt::Literals::StringLiterals;

namespace {

struct Result {
    int code;
    QString err;
};

Result runInit(const QString& base, const QStringList& extra = {}) {
    QProcess p;
    p.start(QString::fromUtf8(ZELVARIN_BINARY), QStringList{u"--base"_s, base, u"--init"_s} + extra);
    p.waitForFinished(120000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardError())};
}

// Everything a second start could change: every archive's schema and rows, every settings file.
QMap<QString, QString> snapshot(const QString& base) {
    QMap<QString, QString> out;
    for (const QString& f : QDir(base).entryList({u"*.ini"_s}, QDir::Files)) {
        QFile file(QDir(base).filePath(f));
        file.open(QIODevice::ReadOnly);
        out[f] = QString::fromUtf8(file.readAll());
    }
    const QDir data(QDir(base).filePath(u"Dati"_s));
    for (const QString& f : data.entryList({u"*.db"_s}, QDir::Files)) out[f] = Probe::dump(data.filePath(f));
    out[u"music_list.msl"_s] = Probe::dump(QDir(base).filePath(u"music_list.msl"_s));
    return out;
}

}  // namespace

TEST(InitCommand, PreparesAnEmptyFolderAndASecondRunChangesNothing) {
    TempBase tmp;
    const QString base = tmp.file(u"nuova azienda"_s);
    const Result first = runInit(base, {u"--today"_s, u"2026-03-02"_s});
    EXPECT_EQ(first.code, 0) << qPrintable(first.err);
    EXPECT_TRUE(first.err.isEmpty()) << qPrintable(first.err);
    EXPECT_TRUE(QFile::exists(base + u"/Dati/dett_ddt26.db"_s));
    EXPECT_TRUE(QFile::exists(base + u"/zelvarin.ini"_s));
    EXPECT_GT(Probe::count(base + u"/cap.db"_s), 8000) << "post codes delivered with the program";
    EXPECT_GT(Probe::count(base + u"/banche.db"_s), 18000);
    Probe::exec(base + u"/Dati/magazzino.db"_s, u"INSERT INTO magazzino (COD, FM, ID) VALUES ('A', 1, 1)"_s);
    const auto before = snapshot(base);
    const Result second = runInit(base, {u"--today"_s, u"2026-03-02"_s});
    EXPECT_EQ(second.code, 0);
    EXPECT_TRUE(second.err.isEmpty()) << qPrintable(second.err);
    const auto after = snapshot(base);
    EXPECT_EQ(after.keys(), before.keys());
    for (auto it = before.cbegin(); it != before.cend(); ++it) EXPECT_EQ(after.value(it.key()), it.value()) << qPrintable(it.key());
}

TEST(InitCommand, AFolderThatCannotBeMadeStopsWithItsMessage) {
    TempBase tmp;
    tmp.write(u"un_file"_s, "x");
    const QString base = tmp.file(u"un_file/base"_s);
    const Result r = runInit(base);
    EXPECT_NE(r.code, 0);
    EXPECT_TRUE(r.err.contains(u"Non riesco a creare "_s + base + u"/dati"_s)) << qPrintable(r.err);
}

TEST(InitCommand, MessagesGoToStandardErrorInItalian) {
    TempBase tmp;
    tmp.write(u"zelvarin.ini"_s, "[DDT]\nCausale=tre\n[Path]\nArchivio Magazzino=\n");
    const Result r = runInit(tmp.path());
    EXPECT_EQ(r.code, 0);
    EXPECT_TRUE(r.err.contains(u"Errore "_s) && r.err.contains(u"[DDT]"_s) && r.err.contains(u"Causale"_s))
        << qPrintable(r.err);
    EXPECT_TRUE(r.err.contains(u"Archivi mancanti: Attenzione sono stati trovati 1 archivi mancanti."_s))
        << qPrintable(r.err);
}
