#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTest>
#include <memory>

#include "bench/Generator.h"
#include "core/Clock.h"
#include "core/Paths.h"
#include "settings/Settings.h"
#include "store/Store.h"
#include "warehouse/Tfrm_articoli.h"

namespace {

using namespace Qt::Literals::StringLiterals;

// The shared large base folder (100,000 articles, 1,000,000 movement lines) with its
// settings and store, and the same archives opened with plain SQLite for the raw figures.
struct Fixture {
    QString base;
    std::unique_ptr<zel::Settings> settings;
    std::unique_ptr<zel::Store> store;
    zel::AppContext ctx;
    sqlite3* raw = nullptr;
    QByteArray historySql;

    Fixture() : base(zel::bench::sharedLargeBase()) {
        settings = std::make_unique<zel::Settings>(base);
        settings->load();
        store = std::make_unique<zel::Store>(zel::dataDir(base));
        ctx = zel::AppContext{base, settings.get(), store.get(), nullptr};
        const QByteArray main = zel::dataFile(base, u"magazzino.db"_s).toUtf8();
        if (sqlite3_open_v2(main.constData(), &raw, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
            qFatal("raw open failed");
        const QByteArray attach =
            "ATTACH '" + settings->text(u"Path", u"Archivio DDT Detail").toUtf8() + "' AS m";
        sqlite3_exec(raw, attach.constData(), nullptr, nullptr, nullptr);
        historySql = "SELECT data, quant, causale, bolla FROM m.dett_ddt" +
                     zel::Clock::yearSuffix().toUtf8() + " WHERE cod = ?";
    }
    ~Fixture() { sqlite3_close(raw); }
    static Fixture& get() {
        static Fixture f;
        return f;
    }
    // Steps a statement to its end; returns the rows.
    int rawRows(const char* sql, const char* text = nullptr) {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(raw, sql, -1, &st, nullptr) != SQLITE_OK)
            qFatal("raw prepare: %s", sqlite3_errmsg(raw));
        if (text) sqlite3_bind_text(st, 1, text, -1, SQLITE_TRANSIENT);
        int n = 0;
        while (sqlite3_step(st) == SQLITE_ROW) ++n;
        sqlite3_finalize(st);
        return n;
    }
};

void BM_ArticleCardOpens(benchmark::State& state) {
    Fixture& f = Fixture::get();
    for (auto _ : state) {
        zel::Tfrm_articoli card(f.ctx);
        card.show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(card.listCount());
        state.PauseTiming();
        card.hide();
        state.ResumeTiming();
    }
}
void BM_ArticleCardOpensRawQuery(benchmark::State& state) {
    Fixture& f = Fixture::get();
    for (auto _ : state) {
        benchmark::DoNotOptimize(f.rawRows("SELECT rowid FROM magazzino ORDER BY cod, rowid"));
        benchmark::DoNotOptimize(f.rawRows("SELECT * FROM magazzino WHERE rowid = 1"));
        // The description the search box filters, read at opening.
        benchmark::DoNotOptimize(f.rawRows("SELECT rowid, des FROM magazzino ORDER BY cod, rowid"));
    }
}

// One keystroke in "Dato da cercare" on the description: query, list refill, repaint.
void keystroke(benchmark::State& state, const QString& before, char key) {
    Fixture& f = Fixture::get();
    static std::unique_ptr<zel::Tfrm_articoli> card;
    if (!card) {
        card = std::make_unique<zel::Tfrm_articoli>(f.ctx);
        card->show();
    }
    auto* edit = card->findChild<QLineEdit*>(u"edt_cerca"_s);
    for (auto _ : state) {
        state.PauseTiming();
        edit->blockSignals(true);
        edit->setText(before);
        edit->blockSignals(false);
        state.ResumeTiming();
        QTest::keyClick(edit, key);
        card->settleSearch();
        QApplication::processEvents();
    }
    state.counters["lines"] = card->listCount();
}
void BM_ArticleSearchKeystrokeMatchingAll(benchmark::State& s) { keystroke(s, {}, 'a'); }
void BM_ArticleSearchKeystrokeMatchingFew(benchmark::State& s) {
    keystroke(s, u"numero 1234"_s, '5');
}
void BM_ArticleSearchRawQueryMatchingAll(benchmark::State& state) {
    Fixture& f = Fixture::get();
    for (auto _ : state)
        benchmark::DoNotOptimize(f.rawRows(
            "SELECT rowid FROM magazzino WHERE LOWER(des) LIKE ? ORDER BY cod, rowid", "%a%"));
}
void BM_ArticleSearchRawQueryMatchingFew(benchmark::State& state) {
    Fixture& f = Fixture::get();
    for (auto _ : state)
        benchmark::DoNotOptimize(
            f.rawRows("SELECT rowid FROM magazzino WHERE LOWER(des) LIKE ? ORDER BY cod, rowid",
                      "%numero 12345%"));
}

// Page F4 of one article among 1,000,000 movement lines.
void BM_ArticleHistoryPageFills(benchmark::State& state) {
    Fixture& f = Fixture::get();
    zel::Tfrm_articoli card(f.ctx);
    card.show();
    card.showPage(zel::Tfrm_articoli::Generalita);
    for (auto _ : state) {
        card.showPage(zel::Tfrm_articoli::Storico);
        QApplication::processEvents();
        state.PauseTiming();
        card.showPage(zel::Tfrm_articoli::Generalita);
        state.ResumeTiming();
    }
}
void BM_ArticleHistoryRawQuery(benchmark::State& state) {
    Fixture& f = Fixture::get();
    for (auto _ : state) benchmark::DoNotOptimize(f.rawRows(f.historySql.constData(), "ART000001"));
}

BENCHMARK(BM_ArticleCardOpens)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_ArticleCardOpensRawQuery)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_ArticleSearchKeystrokeMatchingAll)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_ArticleSearchRawQueryMatchingAll)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_ArticleSearchKeystrokeMatchingFew)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_ArticleSearchRawQueryMatchingFew)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_ArticleHistoryPageFills)->Unit(benchmark::kMillisecond)->Iterations(50);
BENCHMARK(BM_ArticleHistoryRawQuery)->Unit(benchmark::kMillisecond)->Iterations(50);

}  // namespace

int main(int argc, char** argv) { return zel::bench::runBenchmarks(argc, argv); }
