#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <functional>
#include <memory>
#include <vector>

#include "core/InstanceLock.h"
#include "store/ArchiveCatalogue.h"
#include "store/DataStartup.h"
#include "tests/TestSupport.h"
#include "tests/store/SqliteProbe.h"

using namespace zel;
using namespace zel::test;
using namespace Qt::Literals::StringLiterals;

namespace {

struct Result {
    int code;
    QString err;
};

Result run(const QStringList& args, QString* out = nullptr) {
    const CommandOutcome o = runZelvarin(args);
    if (out) *out = o.out;
    return {o.code, o.err};
}

Result runInit(const QString& base, const QStringList& extra = {}) {
    return run(QStringList{u"--base"_s, base, u"--init"_s} + extra);
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

TEST(InitCommand, HelpAndUnknownOptionsNeedNoDisplay) {
    QString out;
    const Result help = run({u"--help"_s}, &out);
    EXPECT_EQ(help.code, kExitDone) << qPrintable(help.err);
    EXPECT_TRUE(out.contains(u"Uso: zelvarin"_s) && out.contains(u"--init"_s)) << qPrintable(out);
    const Result wrong = run({u"--nessuna"_s});
    EXPECT_EQ(wrong.code, kExitUsage);
    EXPECT_TRUE(wrong.err.startsWith(u"Opzione sconosciuta: nessuna"_s) && wrong.err.contains(u"Uso: zelvarin"_s))
        << qPrintable(wrong.err);
}

TEST(InitCommand, ExitCodeTellsWhatWentWrong) {
    struct Case {
        const char* name;
        std::function<void(const TempBase&)> prepare;
        int code;
        const char* says;
    };
    const Case cases[] = {
        {"done", [](const TempBase&) {}, kExitDone, ""},
        {"folder", [](const TempBase& t) { t.write(u"base"_s, "un file"); }, kExitFolder, "Non riesco a creare"},
        {"damaged archive",
         [](const TempBase& t) { t.write(u"base/Dati/magazzino.db"_s, QByteArray(5000, 'x')); }, kExitArchive,
         "è danneggiato o non è un archivio: non è stato modificato"},
        {"settings not written",
         [](const TempBase& t) {
             QDir().mkpath(t.file(u"base"_s));
             QFile::link(t.file(u"manca/zelvarin.ini"_s), t.file(u"base/zelvarin.ini"_s));
         },
         kExitSettings, "Impossibile scrivere la configurazione"},
    };
    for (const Case& c : cases) {
        TempBase tmp;
        c.prepare(tmp);
        const Result r = runInit(tmp.file(u"base"_s));
        EXPECT_EQ(r.code, c.code) << c.name << ": " << qPrintable(r.err);
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.says))) << c.name << ": " << qPrintable(r.err);
    }
    TempBase tmp;
    zel::InstanceLock held(tmp.path());
    ASSERT_TRUE(held.tryLock());
    const Result locked = runInit(tmp.path());
    EXPECT_EQ(locked.code, kExitInUse);
    EXPECT_TRUE(locked.err.contains(u"Zelvarin è già in uso su questa cartella"_s)) << qPrintable(locked.err);
    for (const QString& print : {u"--stampa-ddt"_s, u"--stampa-fattura"_s}) {
        const Result r = run({u"--base"_s, tmp.path(), print, u"1"_s, u"--pdf"_s, tmp.file(u"x.pdf"_s)});
        EXPECT_EQ(r.code, kExitInUse) << qPrintable(print) << ' ' << qPrintable(r.err);
        EXPECT_TRUE(r.err.contains(u"Zelvarin è già in uso su questa cartella (processo "_s)) << qPrintable(r.err);
    }
}

TEST(InitCommand, TwoStartsRacingOnOneEmptyFolderLeaveEveryArchive) {
    for (int round = 0; round < 3; ++round) {
        TempBase tmp;
        std::vector<std::unique_ptr<QProcess>> runs;
        for (int i = 0; i < 2; ++i) {
            runs.push_back(std::make_unique<QProcess>());
            runs.back()->start(QString::fromUtf8(ZELVARIN_BINARY),
                               {u"--base"_s, tmp.path(), u"--init"_s, u"--today"_s, u"2026-03-02"_s});
        }
        QList<int> codes;
        for (auto& p : runs) {
            ASSERT_TRUE(p->waitForFinished(120000));
            codes << p->exitCode();
        }
        EXPECT_TRUE(codes.contains(kExitDone)) << round;
        for (const int c : codes) EXPECT_TRUE(c == kExitDone || c == kExitInUse) << c;
        for (const zel::CreationStep& s : zel::creationOrder()) {
            const QString path = zel::archiveLocation(tmp.path(), *zel::findArchive(s.file), u"26"_s);
            EXPECT_EQ(Probe::tables(path).size(), 1) << qPrintable(path);
        }
    }
}
