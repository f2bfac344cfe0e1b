#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTemporaryDir>

#include "bench/Generator.h"
#include "core/Notifier.h"
#include "core/Paths.h"
#include "registry/Tfrm_clienti1.h"
#include "settings/Settings.h"
#include "store/Store.h"

namespace {

struct Fixture {
    QString base = zel::bench::sharedLargeBase();
    std::unique_ptr<zel::Settings> settings;
    std::unique_ptr<zel::Store> store;
    zel::AppContext ctx;
    Fixture() {
        settings = std::make_unique<zel::Settings>(base);
        settings->load();
        store = std::make_unique<zel::Store>(zel::dataDir(base));
        ctx = zel::AppContext{base, settings.get(), store.get(), nullptr};
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

// Opening the card: the window shows the list of all 50,000 partners and the first card.
void BM_OpenCardOn50000Partners(benchmark::State& state) {
    Fixture& f = fixture();
    zel::Tfrm_clienti1 card(f.ctx);
    for (auto _ : state) card.FormShow();
    state.counters["rows"] = card.listCount();
}
BENCHMARK(BM_OpenCardOn50000Partners)->Unit(benchmark::kMillisecond);

// One keystroke of the quick search by name: the list is re-run and refilled.
void BM_QuickSearchKeystroke(benchmark::State& state) {
    Fixture& f = fixture();
    zel::Tfrm_clienti1 card(f.ctx);
    card.FormShow();
    card.findChild<QComboBox*>(QStringLiteral("cmb_campo_ricerca"))->setCurrentIndex(1);  // Nome
    auto* edit = card.findChild<QLineEdit*>(QStringLiteral("edt_ricerca"));
    // Every partner matches the first text, a handful the second.
    const QString texts[2][2] = {{QStringLiteral("d"), QStringLiteral("di")},
                                 {QStringLiteral("ditta 4999"), QStringLiteral("ditta 49999")}};
    const auto& pair = texts[state.range(0)];
    int i = 0;
    for (auto _ : state) edit->setText(pair[i++ % 2]);
    state.counters["rows"] = card.listCount();
}
BENCHMARK(BM_QuickSearchKeystroke)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The query part alone, for the case where every partner matches.
void BM_QuickSearchQueryOnly(benchmark::State& state) {
    Fixture& f = fixture();
    zel::PartnerArchive archive(*f.store, *f.settings);
    const zel::PartnerQuery q = zel::PartnerQuery::quickSearch(1, false, QStringLiteral("d"), 0);
    qsizetype n = 0;
    for (auto _ : state) n = archive.list(q).size();
    state.counters["rows"] = double(n);
}
BENCHMARK(BM_QuickSearchQueryOnly)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return zel::bench::runBenchmarks(argc, argv); }
