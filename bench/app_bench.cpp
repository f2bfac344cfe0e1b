#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include "app/TMain.h"
#include "bench/Generator.h"
#include "ui/Dialogs.h"

namespace {

QString largeBase() { return zel::bench::sharedLargeBase(); }

// From the main window's creation to the end of its start-up sequence, on large archives.
void BM_MainWindowOpensOnLargeArchives(benchmark::State& state) {
    const QString base = largeBase();
    zel::Dialogs::instance().setScripted(true);
    for (auto _ : state) {
        zel::TMain main(base);
        main.setOfflineCheck([] { return false; });
        main.show();
        while (!main.startupDone()) QApplication::processEvents(QEventLoop::AllEvents, 5);
        state.PauseTiming();
        zel::Dialogs::instance().reset();
        main.close();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_MainWindowOpensOnLargeArchives)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv) { return zel::bench::runBenchmarks(argc, argv); }
