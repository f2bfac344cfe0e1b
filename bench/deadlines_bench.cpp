#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QLineEdit>
#include <QTemporaryDir>
#include <memory>

#include "bench/Generator.h"
#include "core/Paths.h"
#include "deadlines/DeadlineArchive.h"
#include "deadlines/DeadlineListModel.h"
#include "deadlines/Tfrm_scad.h"
#include "settings/Settings.h"
#include "store/Store.h"

// 200,000 deadlines over ten years, a third of them paid, beside a registry of 50,000
// partners: the browser's opening and its filters, each beside plain SQLite doing the
// same reads (the ordered keys and the first screen of rows).

namespace {

constexpr int kDeadlines = 200000;

struct Fixture {
    QTemporaryDir dir;
    QString base = dir.path();
    std::unique_ptr<zel::Settings> settings;
    std::unique_ptr<zel::Store> store;
    zel::AppContext ctx;
    std::unique_ptr<zel::Tfrm_scad> window;
    QString scadPath;

    Fixture() {
        QString error;
        zel::bench::Volumes v;
        v.articles = 100;
        v.ddtNotes = 10;
        v.ddtLines = 100;
        v.invoiceLines = 100;
        if (!zel::bench::generateArchives(base, v, &error)) qFatal("%s", qPrintable(error));
        settings = std::make_unique<zel::Settings>(base);
        settings->load();
        store = std::make_unique<zel::Store>(zel::dataDir(base));
        ctx = zel::AppContext{base, settings.get(), store.get(), nullptr};
        scadPath = settings->text(u"Path", u"Archivio scadenze");
        const QString t = store->table(scadPath);
        zel::Transaction tx(*store);
        store->exec(
            QStringLiteral(
                "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                "INSERT INTO %2 (id, data, cod, cod_cli, des, des2, dare, avere, banca, pagato, "
                "datapag, fattura, reminder) SELECT i, date('2020-01-01', printf('+%d days', i % "
                "3650)), "
                "'Ricevuta Bancaria', printf('%05d', i % 50000), printf('Fattura n. %d', i), '', "
                "CASE WHEN i % 2 = 0 THEN 100 + i % 977 ELSE 0 END, "
                "CASE WHEN i % 2 = 1 THEN 50 + i % 613 ELSE 0 END, 'Banca di prova', "
                "CASE WHEN i % 3 = 0 THEN 'S' ELSE 'N' END, NULL, i, 0 FROM n")
                .arg(kDeadlines)
                .arg(t));
        tx.commit();
        window = std::make_unique<zel::Tfrm_scad>(ctx);
        zel::bench::onBenchmarksDone([this] { window.reset(); });
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

// Plain SQLite on the same file.
struct RawDb {
    sqlite3* db = nullptr;
    explicit RawDb(const Fixture& f) {
        sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE, nullptr);
        const QByteArray sql =
            QStringLiteral("ATTACH DATABASE '%1' AS s").arg(zel::resolvePath(f.scadPath)).toUtf8();
        sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr);
    }
    ~RawDb() { sqlite3_close(db); }
    int run(const char* text, const char* bind = nullptr) {
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db, text, -1, &st, nullptr);
        if (bind) sqlite3_bind_text(st, 2, bind, -1, SQLITE_TRANSIENT);
        if (bind || sqlite3_bind_parameter_count(st) > 0)
            sqlite3_bind_text(st, 1, "1900-01-01", -1, SQLITE_TRANSIENT);
        int rows = 0;
        while (sqlite3_step(st) == SQLITE_ROW) ++rows;
        sqlite3_finalize(st);
        return rows;
    }
};

// What the grid shows at first: the first screen of rows, read and coloured.
void touchFirstScreen(zel::DeadlineListModel& m) {
    for (int r = 0; r < std::min(40, m.rowCount()); ++r) {
        benchmark::DoNotOptimize(m.data(m.index(r, 3), Qt::DisplayRole));
        benchmark::DoNotOptimize(m.data(m.index(r, 3), Qt::ForegroundRole));
    }
}

void BM_BrowserOpens(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        f.window->FormShow();
        touchFirstScreen(f.window->listModel());
    }
    state.counters["rows"] = f.window->listModel().rowCount();
}
BENCHMARK(BM_BrowserOpens)->Unit(benchmark::kMillisecond);

// The ordered keys alone, the part of the opening that grows with the archive.
void BM_BrowserListKeys(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) benchmark::DoNotOptimize(f.window->archive().list({}).size());
}
BENCHMARK(BM_BrowserListKeys)->Unit(benchmark::kMillisecond);

void BM_RawOpen(benchmark::State& state) {
    Fixture& f = fixture();
    RawDb raw(f);
    int keys = 0;
    for (auto _ : state) {
        keys = raw.run("SELECT rowid FROM s.scad WHERE data > ?1 ORDER BY data, rowid");
        benchmark::DoNotOptimize(
            raw.run("SELECT rowid, * FROM s.scad WHERE data > ?1 ORDER BY data, rowid LIMIT 256"));
    }
    state.counters["rows"] = keys;
}
BENCHMARK(BM_RawOpen)->Unit(benchmark::kMillisecond);

void BM_BrowserFiltersByDescription(benchmark::State& state) {
    Fixture& f = fixture();
    f.window->FormShow();
    auto* des = f.window->findChild<QLineEdit*>(QStringLiteral("edt_filtro_des"));
    des->setText(QStringLiteral("n. 1999"));
    for (auto _ : state) {
        f.window->btn_imposta_filtriClick();
        touchFirstScreen(f.window->listModel());
    }
    state.counters["rows"] = f.window->listModel().rowCount();
    des->clear();
}
BENCHMARK(BM_BrowserFiltersByDescription)->Unit(benchmark::kMillisecond);

void BM_RawFilterByDescription(benchmark::State& state) {
    Fixture& f = fixture();
    RawDb raw(f);
    for (auto _ : state)
        benchmark::DoNotOptimize(
            raw.run("SELECT rowid, * FROM s.scad WHERE data > ?1 AND des LIKE ?2 "
                    "ORDER BY data, rowid",
                    "%n. 1999%"));
}
BENCHMARK(BM_RawFilterByDescription)->Unit(benchmark::kMillisecond);

void BM_BrowserFiltersByParty(benchmark::State& state) {
    Fixture& f = fixture();
    f.window->FormShow();
    auto* party = f.window->findChild<QLineEdit*>(QStringLiteral("edt_filtro_cod_cli"));
    party->setText(QStringLiteral("01234"));
    for (auto _ : state) {
        f.window->btn_imposta_filtriClick();
        touchFirstScreen(f.window->listModel());
    }
    state.counters["rows"] = f.window->listModel().rowCount();
    party->clear();
}
BENCHMARK(BM_BrowserFiltersByParty)->Unit(benchmark::kMillisecond);

void BM_RawFilterByParty(benchmark::State& state) {
    Fixture& f = fixture();
    RawDb raw(f);
    for (auto _ : state)
        benchmark::DoNotOptimize(raw.run(
            "SELECT rowid, * FROM s.scad WHERE data > ?1 AND cod_cli = ?2 ORDER BY data, rowid",
            "01234"));
}
BENCHMARK(BM_RawFilterByParty)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return zel::bench::runBenchmarks(argc, argv); }
