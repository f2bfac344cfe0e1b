#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QTemporaryDir>
#include <memory>

#include "bench/Generator.h"
#include "core/Paths.h"
#include "ddt/DdtArchive.h"
#include "ddt/DdtPrintCommand.h"
#include "ddt/Tscorre_ddt.h"
#include "settings/Settings.h"
#include "store/Store.h"

// 100,000 DDT in the year archive and 1,000,000 lines: the shared base's 50,000 DDT, and
// 50,000 more named like the generated lines (number n, recipient n, 20 lines each),
// plus DDT 900000 of 100 lines for the print.

namespace {

constexpr qint64 kPrinted = 900000;

struct Fixture {
    QString base = zel::bench::sharedLargeBase();
    std::unique_ptr<zel::Settings> settings;
    std::unique_ptr<zel::Store> store;
    zel::AppContext ctx;
    zel::DdtYearArchives archives;
    std::unique_ptr<zel::Tscorre_ddt> window;
    QTemporaryDir out;

    Fixture() {
        settings = std::make_unique<zel::Settings>(base);
        settings->load();
        store = std::make_unique<zel::Store>(zel::dataDir(base));
        ctx = zel::AppContext{base, settings.get(), store.get(), nullptr};
        archives = zel::DdtYearArchives::fromSettings(*settings);
        const QString h = store->table(archives.header);
        const QString l = store->table(archives.lines);
        zel::Transaction tx(*store);
        store->exec(
            QStringLiteral(
                "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 50000) "
                "INSERT INTO %1 (BOLLA, COD_CLI, COD_FORN, DATA_MOV, FATTURA, CONTROLLO) SELECT i, "
                "printf('%05d', i), '', date('now', printf('-%d days', i % 300)), 'S', '*' FROM n")
                .arg(h));
        store->exec(
            QStringLiteral(
                "INSERT INTO %1 (BOLLA, COD_CLI, COD_FORN, DATA_MOV, FATTURA, CONTROLLO, CAUSALE) "
                "VALUES (?, '00001', '', date('now'), 'S', '*', 'Vendita')")
                .arg(h),
            {kPrinted});
        store->exec(
            QStringLiteral(
                "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 100) "
                "INSERT INTO %1 (BOLLA, COD_CLI, COD_FORN, COD, DES, QUANT, PESO, UNITAMIS, FLAG, "
                "DATA) SELECT ?, '00001', '', printf('ART%06d', i), printf('Articolo di prova %d', "
                "i), "
                "i, i / 10.0, 'N.', '*', date('now') FROM n")
                .arg(l),
            {kPrinted});
        tx.commit();
        window = std::make_unique<zel::Tscorre_ddt>(ctx);
        zel::bench::onBenchmarksDone([this] { window.reset(); });
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

// Plain SQLite on the same files.
struct RawDb {
    sqlite3* db = nullptr;
    explicit RawDb(const Fixture& f) {
        sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE, nullptr);
        attach(zel::resolvePath(f.archives.header), "h");
        attach(zel::resolvePath(f.archives.lines), "l");
        attach(zel::resolvePath(f.archives.registry), "r");
        headerTable = zel::fileStem(f.archives.header);
        linesTable = zel::fileStem(f.archives.lines);
    }
    QString headerTable;
    QString linesTable;
    ~RawDb() { sqlite3_close(db); }
    void attach(const QString& path, const char* alias) {
        const QByteArray sql = QStringLiteral("ATTACH DATABASE '%1' AS %2")
                                   .arg(path, QString::fromLatin1(alias))
                                   .toUtf8();
        sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr);
    }
    // Steps through every row; returns how many.
    int run(const char* text, qint64 a = -1, const char* b = nullptr) {
        const QByteArray sql = QString::fromUtf8(text)
                                   .replace(QStringLiteral("%H"), headerTable)
                                   .replace(QStringLiteral("%L"), linesTable)
                                   .toUtf8();
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db, sql.constData(), -1, &st, nullptr);
        if (a >= 0) sqlite3_bind_int64(st, 1, a);
        if (b) sqlite3_bind_text(st, 2, b, -1, SQLITE_TRANSIENT);
        int rows = 0;
        while (sqlite3_step(st) == SQLITE_ROW) ++rows;
        sqlite3_finalize(st);
        return rows;
    }
};

void BM_BrowserOpens(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        f.window->FormShow();
        benchmark::DoNotOptimize(f.window->currentLines().size());
    }
    state.counters["ddt"] = f.window->listModel().rowCount();
}
BENCHMARK(BM_BrowserOpens)->Unit(benchmark::kMillisecond);

void BM_RawListKeysAndFirstWindow(benchmark::State& state) {
    Fixture& f = fixture();
    RawDb raw(f);
    for (auto _ : state) {
        benchmark::DoNotOptimize(raw.run(
            "SELECT rowid FROM h.%H WHERE COALESCE(controllo, '') <> 'X' ORDER BY bolla, rowid"));
        benchmark::DoNotOptimize(
            raw.run("SELECT m.bolla, m.cod_cli, (SELECT nome FROM r.anagrafica c WHERE c.cod_cli = "
                    "m.cod_cli LIMIT 1) FROM h.%H m ORDER BY bolla LIMIT 256"));
        benchmark::DoNotOptimize(
            raw.run("SELECT * FROM l.%L WHERE bolla = ? AND cod_cli = ?", 1, "00001"));
    }
}
BENCHMARK(BM_RawListKeysAndFirstWindow)->Unit(benchmark::kMillisecond);

void BM_BrowserMovesToAnotherDdt(benchmark::State& state) {
    Fixture& f = fixture();
    f.window->FormShow();
    const int rows = f.window->listModel().rowCount();
    int row = 1;
    qint64 lines = 0;
    for (auto _ : state) {
        row = (row + 7919) % rows;
        f.window->selectRow(row);
        lines += f.window->currentLines().size();
    }
    state.counters["lines_per_ddt"] =
        benchmark::Counter(static_cast<double>(lines), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_BrowserMovesToAnotherDdt)->Unit(benchmark::kMillisecond);

void BM_RawLinesOfADdt(benchmark::State& state) {
    Fixture& f = fixture();
    RawDb raw(f);
    qint64 n = 1;
    for (auto _ : state) {
        n = n % 50000 + 1;
        const QByteArray code = QStringLiteral("%1").arg(n, 5, 10, QLatin1Char('0')).toUtf8();
        benchmark::DoNotOptimize(
            raw.run("SELECT rowid, * FROM l.%L WHERE bolla = ? AND cod_cli = ? AND "
                    "upper(COALESCE(flag, '')) <> 'X'",
                    n, code.constData()));
    }
}
BENCHMARK(BM_RawLinesOfADdt)->Unit(benchmark::kMillisecond);

void BM_PrintDdtOf100LinesToPdf(benchmark::State& state) {
    Fixture& f = fixture();
    const QString pdf = f.out.filePath(QStringLiteral("ddt.pdf"));
    for (auto _ : state) {
        if (zel::runDdtPrint({f.base, kPrinted, 0, QStringLiteral("00001"), pdf}) != 0)
            state.SkipWithError("print failed");
    }
}
BENCHMARK(BM_PrintDdtOf100LinesToPdf)->Unit(benchmark::kMillisecond);

void BM_RawPrintQueries(benchmark::State& state) {
    Fixture& f = fixture();
    RawDb raw(f);
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            raw.run("SELECT * FROM h.%H WHERE bolla = ? AND cod_cli = ?", kPrinted, "00001"));
        benchmark::DoNotOptimize(
            raw.run("SELECT * FROM l.%L WHERE bolla = ? AND cod_cli = ?", kPrinted, "00001"));
    }
}
BENCHMARK(BM_RawPrintQueries)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return zel::bench::runBenchmarks(argc, argv); }
