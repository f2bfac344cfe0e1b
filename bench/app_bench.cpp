#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include "app/TMain.h"
#include "bench/Generator.h"
#include "ui/Dialogs.h"

namespace {

QString largeBase() {
    static QTemporaryDir dir;
    static const bool ready = [] {
        QString error;
        const bool ok = zel::bench::generateArchives(dir.path(), {}, &error);
        if (!ok) qFatal("generation failed: %s", qUtf8Printable(error));
        return ok;
    }();
    (void)ready;
    return dir.path();
}

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

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QGuiApplication::setQuitOnLastWindowClosed(false);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
