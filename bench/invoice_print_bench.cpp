#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QTemporaryDir>
#include <memory>

#include "bench/Generator.h"
#include "core/Paths.h"
#include "invoices/InvoicePrintCommand.h"
#include "invoices/Tscorre_fatt.h"
#include "settings/Settings.h"
#include "store/Store.h"

// A year of 50,000 invoices over the shared base's 900,000 invoice lines (invoice n has
// customer n), three deadlines each, and invoice 900000 of 100 lines for the print.

namespace {

constexpr qint64 kPrinted = 900000;

struct Fixture {
    QString base = zel::bench::sharedLargeBase();
    std::unique_ptr<zel::Settings> settings;
    std::unique_ptr<zel::Store> store;
    zel::AppContext ctx;
    zel::InvoiceArchives archives;
    std::unique_ptr<zel::Tscorre_fatt> window;
    QTemporaryDir out;

    Fixture() {
        settings = std::make_unique<zel::Settings>(base);
        settings->load();
        store = std::make_unique<zel::Store>(zel::dataDir(base));
        ctx = zel::AppContext{base, settings.get(), store.get(), nullptr};
        archives = zel::InvoiceArchives::fromSettings(*settings);
        const QString h = store->table(archives.header);
        const QString l = store->table(archives.lines);
        const QString s = store->table(archives.deadlines);
        zel::Transaction tx(*store);
        store->exec(
            QStringLiteral(
                "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 50000) "
                "INSERT INTO %1 (FATTURA, COD_CLI, DATA, TIPODOC, IMP_TOT, IVA19, IVA_TOT, "
                "TOT_FATT) "
                "SELECT i, printf('%05d', i), date('now', printf('-%d days', i % 300)), 'Fattura', "
                "100, 22, 22, 122 FROM n")
                .arg(h));
        store->exec(QStringLiteral("UPDATE %1 SET COD_CLI = printf('%05d', FATTURA)").arg(l));
        store->exec(
            QStringLiteral(
                "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 149999) "
                "INSERT INTO %1 (ID, DATA, COD_CLI, DES, AVERE, PAGATO, FATTURA, DATA_FATT) SELECT "
                "i, "
                "date('now'), printf('%05d', 1 + i / 3), 'Rata', 40.67, CASE WHEN i % 2 = 0 THEN "
                "'S' "
                "ELSE 'N' END, 1 + i / 3, date('now', printf('-%d days', (1 + i / 3) % 300)) FROM "
                "n")
                .arg(s));
        store->exec(
            QStringLiteral("INSERT INTO %1 (FATTURA, COD_CLI, DATA, TIPODOC, IMP_GLOB, IMP_TOT, "
                           "IVA19, IVA_TOT, TOT_FATT, PAGAM) VALUES (?, '00001', date('now'), "
                           "'Fattura', 5000, 5000, 1100, 1100, 6100, 'Ri.Ba. 30 GG F.M.')")
                .arg(h),
            {kPrinted});
        store->exec(
            QStringLiteral(
                "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 100) "
                "INSERT INTO %1 (FATTURA, COD_CLI, COD, DES, QUANT, PREZZO, PREZZONETT, PREZZOTOT, "
                "PERC_IVA, UNITAMIS, DATA) SELECT ?, '00001', printf('ART%06d', i), "
                "printf('Articolo di prova %d', i), 2, 25, 25, 50, 22, 'N.', date('now') FROM n")
                .arg(l),
            {kPrinted});
        tx.commit();
        window = std::make_unique<zel::Tscorre_fatt>(ctx);
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
    QString h, l, s;
    explicit RawDb(const Fixture& f) {
        sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE, nullptr);
        attach(zel::resolvePath(f.archives.header), "h");
        attach(zel::resolvePath(f.archives.lines), "l");
        attach(zel::resolvePath(f.archives.registry), "r");
        attach(zel::resolvePath(f.archives.deadlines), "s");
        h = zel::fileStem(f.archives.header);
        l = zel::fileStem(f.archives.lines);
        s = zel::fileStem(f.archives.deadlines);
    }
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
                                   .replace(QStringLiteral("%H"), h)
                                   .replace(QStringLiteral("%L"), l)
                                   .replace(QStringLiteral("%S"), s)
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

void BM_BrowserOpensAYearOf50000Invoices(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        f.window->FormShow();
        benchmark::DoNotOptimize(f.window->currentLines().size());
    }
    state.counters["invoices"] = f.window->listModel().rowCount();
}
BENCHMARK(BM_BrowserOpensAYearOf50000Invoices)->Unit(benchmark::kMillisecond);

void BM_RawListKeysFirstWindowAndLines(benchmark::State& state) {
    Fixture& f = fixture();
    RawDb raw(f);
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            raw.run("SELECT rowid FROM h.%H ORDER BY data DESC, fattura DESC, rowid DESC"));
        benchmark::DoNotOptimize(raw.run(
            "SELECT m.fattura, (SELECT nome FROM r.anagrafica c WHERE c.cod_cli = m.cod_cli LIMIT "
            "1), "
            "(SELECT COUNT(*) FROM s.%S x WHERE x.cod_cli = m.cod_cli AND x.fattura = m.fattura "
            "AND "
            "x.data_fatt = m.data) FROM h.%H m ORDER BY data DESC, fattura DESC LIMIT 256"));
        benchmark::DoNotOptimize(raw.run(
            "SELECT rowid, * FROM l.%L WHERE fattura = ? AND cod_cli = ?", kPrinted, "00001"));
    }
}
BENCHMARK(BM_RawListKeysFirstWindowAndLines)->Unit(benchmark::kMillisecond);

void BM_PrintInvoiceOf100LinesToPdf(benchmark::State& state) {
    Fixture& f = fixture();
    const QString pdf = f.out.filePath(QStringLiteral("fattura.pdf"));
    for (auto _ : state) {
        if (zel::runInvoicePrint({f.base, kPrinted, 0, pdf}) != 0)
            state.SkipWithError("print failed");
    }
}
BENCHMARK(BM_PrintInvoiceOf100LinesToPdf)->Unit(benchmark::kMillisecond);

void BM_RawPrintQueries(benchmark::State& state) {
    Fixture& f = fixture();
    RawDb raw(f);
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            raw.run("SELECT * FROM h.%H WHERE fattura = ? AND cod_cli = ?", kPrinted, "00001"));
        benchmark::DoNotOptimize(
            raw.run("SELECT * FROM l.%L WHERE fattura = ? AND cod_cli = ? ORDER BY rowid", kPrinted,
                    "00001"));
        benchmark::DoNotOptimize(raw.run("SELECT * FROM r.anagrafica WHERE cod_cli = '00001'"));
    }
}
BENCHMARK(BM_RawPrintQueries)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return zel::bench::runBenchmarks(argc, argv); }
