#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>

#include "bench/Generator.h"
#include "core/Notifier.h"
#include "core/Paths.h"
#include "settings/Settings.h"
#include "store/ArchiveMaintenance.h"
#include "store/DataStartup.h"
#include "setup/Tfrm_setup.h"
#include "store/Store.h"

namespace {

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
