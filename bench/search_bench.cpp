#include <benchmark/benchmark.h>

#include <QAbstractItemModel>
#include <QApplication>
#include <QLineEdit>
#include <QListView>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "bench/Generator.h"
#include "core/Paths.h"
#include "registry/Tfrm_cerca.h"
#include "settings/Settings.h"
#include "store/Store.h"

namespace {

using namespace Qt::Literals::StringLiterals;

// One generated base folder (100,000 articles, 50,000 partners) and one open dialog,
// shared by every benchmark of this run.
struct Fixture {
    QTemporaryDir dir;
    std::unique_ptr<zel::Settings> settings;
    std::unique_ptr<zel::Store> store;
    zel::AppContext ctx;
    std::unique_ptr<zel::Tfrm_cerca> dialog;

    Fixture() {
        zel::bench::Volumes v;
        v.ddtNotes = 100;  // the search reads no document archive
        v.ddtLines = 100;
        v.invoiceLines = 100;
        QString error;
        if (!zel::bench::generateArchives(dir.path(), v, &error)) qFatal("generation failed: %s", qUtf8Printable(error));
        settings = std::make_unique<zel::Settings>(dir.path());
        settings->load();
        store = std::make_unique<zel::Store>(zel::dataDir(dir.path()));
        ctx = zel::AppContext{dir.path(), settings.get(), store.get(), nullptr};
        dialog = std::make_unique<zel::Tfrm_cerca>(ctx);
    }
    // Made on first use and destroyed while the application still exists: the dialog is
    // a widget and must not outlive it (a post routine runs after the application is gone).
    static std::unique_ptr<Fixture>& holder() {
        static std::unique_ptr<Fixture> f;
        return f;
    }
    static Fixture& get() {
        if (!holder()) {
            holder() = std::make_unique<Fixture>();
            zel::bench::onBenchmarksDone([] { holder().reset(); });
        }
        return *holder();
    }
};

// One keystroke in a page's search field: the query, the list refill and the repaint.
void keystroke(benchmark::State& state, int page, const QString& field, const QString& list, const QString& before,
               char key) {
    Fixture& f = Fixture::get();
    f.dialog->hide();
    f.dialog->choosePage(page);
    f.dialog->show();
    auto* edit = f.dialog->findChild<QLineEdit*>(field);
    auto* view = f.dialog->findChild<QListView*>(list);
    for (auto _ : state) {
        state.PauseTiming();
        edit->blockSignals(true);
        edit->setText(before);
        edit->blockSignals(false);
        state.ResumeTiming();
        QTest::keyClick(edit, key);
        QApplication::processEvents();
    }
    state.counters["lines"] = view->model()->rowCount();
}

void BM_CustomerKeystrokeMatchingAll(benchmark::State& s) {
    keystroke(s, 3, u"edt_cerca_cod_cli"_s, u"memo_nomi_cli"_s, {}, 'd');
}
void BM_CustomerKeystrokeMatchingThousand(benchmark::State& s) {
    keystroke(s, 3, u"edt_cerca_cod_cli"_s, u"memo_nomi_cli"_s, u"ditta "_s, '1');
}
void BM_CustomerKeystrokeMatchingOne(benchmark::State& s) {
    keystroke(s, 3, u"edt_cerca_cod_cli"_s, u"memo_nomi_cli"_s, u"ditta 1234"_s, '5');
}
void BM_ArticleCodeKeystrokeMatchingAll(benchmark::State& s) {
    keystroke(s, 0, u"Edit_cod"_s, u"memo_cod"_s, {}, 'a');
}
BENCHMARK(BM_CustomerKeystrokeMatchingAll)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_CustomerKeystrokeMatchingThousand)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_CustomerKeystrokeMatchingOne)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_ArticleCodeKeystrokeMatchingAll)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace

int main(int argc, char** argv) { return zel::bench::runBenchmarks(argc, argv); }
