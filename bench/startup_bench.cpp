#include <benchmark/benchmark.h>

#include <sqlite3.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include "bench/Generator.h"
#include "core/Clock.h"
#include "core/Notifier.h"
#include "core/Paths.h"
#include "settings/Settings.h"
#include "store/ArchiveMaintenance.h"
#include "store/DataStartup.h"
#include "setup/Tfrm_setup.h"
#include "store/Store.h"

namespace {

using namespace Qt::Literals::StringLiterals;

// One generated base folder shared by every benchmark of this run.
QString largeBase() { return zel::bench::sharedLargeBase(); }

// The whole data start-up, as `zelvarin --init` runs it, on large archives.
void BM_InitOnLargeArchives(benchmark::State& state) {
    const QString base = largeBase();
    for (auto _ : state) {
        zel::RecordingNotifier quiet;
        zel::Settings settings(base);
        zel::DataStartup startup(base, settings, quiet);
        benchmark::DoNotOptimize(startup.runAll());
    }
}
BENCHMARK(BM_InitOnLargeArchives)->Unit(benchmark::kMillisecond)->Iterations(5);

// The same through the command line, as a user runs it: process start included.
void BM_InitCommandOnLargeArchives(benchmark::State& state) {
    const QString base = largeBase();
    for (auto _ : state) {
        QProcess p;
        p.start(QStringLiteral(ZELVARIN_BINARY), {QStringLiteral("--base"), base, QStringLiteral("--init")});
        p.waitForFinished(600000);
        if (p.exitCode() != 0) state.SkipWithError("zelvarin --init failed");
    }
}
BENCHMARK(BM_InitCommandOnLargeArchives)->Unit(benchmark::kMillisecond)->Iterations(5);

namespace raw {
void run(sqlite3* db, const QString& sql) {
    const QByteArray text = sql.toUtf8();
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, text.constData(), -1, &st, nullptr);
    while (sqlite3_step(st) == SQLITE_ROW) {
    }
    sqlite3_finalize(st);
}
}  // namespace raw

// What the start-up reads, in plain SQLite, for comparison: every archive opened and its
// first row read, the unit factor repair and the agents through their indexes.
void BM_RawSqliteStartupChecks(benchmark::State& state) {
    const QString base = largeBase();
    const QDir data(zel::dataDir(base));
    const QStringList files = data.entryList({QStringLiteral("*.db")}, QDir::Files);
    for (auto _ : state) {
        for (const QString& f : files) {
            sqlite3* db = nullptr;
            sqlite3_open_v2(QFile::encodeName(data.filePath(f)).constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
            const QString table = QFileInfo(f).completeBaseName();
            raw::run(db, u"SELECT name FROM sqlite_master"_s);
            raw::run(db, u"SELECT * FROM \"%1\" LIMIT 1"_s.arg(table));
            if (table == u"magazzino")
                raw::run(db, u"UPDATE magazzino SET FM = 1 WHERE FM IS NULL OR FM = 0 OR (FM >= '' AND TRIM(FM) = '')"_s);
            if (table == u"anagrafica")
                raw::run(db, u"SELECT nome FROM anagrafica WHERE substr(extra_data, 7, 1) = '1'"_s);
            sqlite3_close(db);
        }
    }
}
BENCHMARK(BM_RawSqliteStartupChecks)->Unit(benchmark::kMillisecond)->Iterations(5);

// After a write into the 900,000 invoice lines the next start checks their numbering
// again: the program's check, then the same query in plain SQLite.
void BM_NumberingCheckOfInvoiceLines(benchmark::State& state) {
    const QString base = largeBase();
    zel::Store store(zel::dataDir(base));
    const QString lines = zel::dataFile(base, u"dett_fatture"_s + zel::Clock::yearSuffix() + u".db"_s);
    for (auto _ : state) benchmark::DoNotOptimize(zel::isNumbered(store, lines));
}
BENCHMARK(BM_NumberingCheckOfInvoiceLines)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_RawNumberingCheckOfInvoiceLines(benchmark::State& state) {
    const QString base = largeBase();
    const QString table = u"dett_fatture"_s + zel::Clock::yearSuffix();
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(zel::dataFile(base, table + u".db"_s)).constData(), &db, SQLITE_OPEN_READWRITE,
                    nullptr);
    for (auto _ : state) {
        raw::run(db, u"SELECT COUNT(*), MAX(rowid) FROM \"%1\""_s.arg(table));
        raw::run(db, u"SELECT EXISTS (SELECT 1 FROM \"%1\" WHERE ID IS NOT rowid)"_s.arg(table));
    }
    sqlite3_close(db);
}
BENCHMARK(BM_RawNumberingCheckOfInvoiceLines)->Unit(benchmark::kMillisecond)->Iterations(5);

// Worst case of the start-up renumbering: every ID of 100,000 articles is wrong.
void BM_RenumberEveryArticle(benchmark::State& state) {
    const QString base = largeBase();
    zel::Store store(zel::dataDir(base));
    const QString wh = zel::dataFile(base, QStringLiteral("magazzino.db"));
    for (auto _ : state) {
        state.PauseTiming();
        store.exec(QStringLiteral("UPDATE %1 SET ID = -ID").arg(store.table(wh)));
        state.ResumeTiming();
        zel::Transaction tx(store);
        benchmark::DoNotOptimize(zel::renumberIds(store, wh));
        tx.commit();
    }
}
BENCHMARK(BM_RenumberEveryArticle)->Unit(benchmark::kMillisecond)->Iterations(5);

// The setup dialog: built once, then shown (every control filled from the live settings,
// every lookup grid reloaded).
void BM_SetupDialogOpens(benchmark::State& state) {
    const QString base = largeBase();
    zel::Settings settings(base);
    settings.load();
    zel::Store store(zel::dataDir(base));
    zel::AppContext ctx{base, &settings, &store, nullptr};
    for (auto _ : state) {
        zel::Tfrm_setup dialog(ctx);
        dialog.FormShow();
    }
}
BENCHMARK(BM_SetupDialogOpens)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv) { return zel::bench::runBenchmarks(argc, argv); }
