#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QFile>
#include <QTableView>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "bench/Generator.h"
#include "core/Paths.h"
#include "settings/Settings.h"
#include "store/Store.h"
#include "warehouse/MovementWindowModel.h"
#include "warehouse/StockOps.h"
#include "warehouse/Tmov_check.h"
#include "warehouse/Tmulti_art.h"

namespace {

struct Fixture {
    QString base = zel::bench::sharedLargeBase();
    std::unique_ptr<zel::Settings> settings;
    std::unique_ptr<zel::Store> store;
    zel::AppContext ctx;
    zel::StockArchives archives;
    Fixture() {
        settings = std::make_unique<zel::Settings>(base);
        settings->load();
        store = std::make_unique<zel::Store>(zel::dataDir(base));
        ctx = zel::AppContext{base, settings.get(), store.get(), nullptr};
        archives = zel::StockArchives::fromSettings(*settings);
        store->exec(
            QStringLiteral("INSERT INTO %1 (ordine, COD_FORN, COD_ART, QUANT, CONSEGNATO_quant, "
                           "CONSEGNATO_colli) VALUES (777, 'F1', 'ART000500', 1000, 0, 0)")
                .arg(store->table(archives.orders)));
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

// Plain SQLite on the same files, for the figures beside ours.
struct RawDb {
    sqlite3* db = nullptr;
    explicit RawDb(const Fixture& f) {
        sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE, nullptr);
        attach(zel::resolvePath(f.archives.movements), "m");
        attach(zel::resolvePath(f.archives.warehouse), "w");
        attach(zel::resolvePath(f.archives.orders), "o");
    }
    ~RawDb() { sqlite3_close(db); }
    void attach(const QString& path, const char* alias) {
        exec(QStringLiteral("ATTACH DATABASE '%1' AS %2")
                 .arg(path, QString::fromLatin1(alias))
                 .toUtf8()
                 .constData());
    }
    void exec(const char* sql) {
        char* err = nullptr;
        if (sqlite3_exec(db, sql, nullptr, nullptr, &err) != SQLITE_OK) {
            qWarning("raw sqlite: %s", err);
            sqlite3_free(err);
        }
    }
};

QByteArray tableOf(const QString& path) { return zel::fileStem(path).toUtf8(); }

// The movement browser's opening on 1,000,000 movement lines: window, keys, sort, totals
// and the first screen of rows.
void BM_MovementBrowserOpen(benchmark::State& state) {
    Fixture& f = fixture();
    zel::Tmov_check w(f.ctx);
    w.resize(1000, 700);
    for (auto _ : state) {
        w.FormShow();
        benchmark::DoNotOptimize(w.model().index(0, 0).data());
    }
    state.counters["rows"] = w.model().rowCount();
    // Indexes of the movement archive made by the store's upgrade (the article code one).
    state.counters["indexes"] =
        f.store
            ->scalar(
                QStringLiteral(
                    "SELECT COUNT(*) FROM %1.sqlite_master WHERE type = 'index' AND tbl_name = ?")
                    .arg(f.store->schemaOf(f.archives.movements)),
                {f.store->tableNameOf(f.archives.movements)})
            .toDouble();
}
BENCHMARK(BM_MovementBrowserOpen)->Unit(benchmark::kMillisecond);

// The same work in plain SQLite: every row's key, date and figures, ordered by date and
// stored order (packed into one integer, as the model does).
void BM_MovementBrowserOpenRawSqlite(benchmark::State& state) {
    Fixture& f = fixture();
    RawDb raw(f);
    const QByteArray sql =
        "SELECT rowid, data, quant, peso, colli FROM m.\"" + tableOf(f.archives.movements) + "\"";
    for (auto _ : state) {
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(raw.db, sql.constData(), -1, &st, nullptr);
        std::vector<quint64> keys;
        keys.reserve(1000000);
        double q = 0, p = 0, c = 0;
        while (sqlite3_step(st) == SQLITE_ROW) {
            const auto* d = reinterpret_cast<const char*>(sqlite3_column_text(st, 1));
            quint64 day = 0;
            if (d && std::strlen(d) >= 10)
                day = ((std::atoi(d) * 13ull + std::atoi(d + 5)) * 32 + std::atoi(d + 8)) &
                      ((1ull << 23) - 1);
            keys.push_back((day << 40) | static_cast<quint64>(sqlite3_column_int64(st, 0)));
            q += sqlite3_column_double(st, 2);
            p += sqlite3_column_double(st, 3);
            c += sqlite3_column_double(st, 4);
        }
        sqlite3_finalize(st);
        std::sort(keys.begin(), keys.end());
        benchmark::DoNotOptimize(q + p + c);
    }
}

// The keys alone in plain SQLite (rowid and date, packed and sorted): what the opening
// reads before the totals follow.
void BM_MovementKeysOnlyRawSqlite(benchmark::State& state) {
    Fixture& f = fixture();
    RawDb raw(f);
    const QByteArray sql = "SELECT rowid, data FROM m.\"" + tableOf(f.archives.movements) + "\"";
    for (auto _ : state) {
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(raw.db, sql.constData(), -1, &st, nullptr);
        std::vector<quint64> keys;
        keys.reserve(1000000);
        while (sqlite3_step(st) == SQLITE_ROW) {
            const auto* d = reinterpret_cast<const char*>(sqlite3_column_text(st, 1));
            quint64 day = 0;
            if (d && std::strlen(d) >= 10)
                day = ((std::atoi(d) * 13ull + std::atoi(d + 5)) * 32 + std::atoi(d + 8)) &
                      ((1ull << 23) - 1);
            keys.push_back((day << 40) | static_cast<quint64>(sqlite3_column_int64(st, 0)));
        }
        sqlite3_finalize(st);
        std::sort(keys.begin(), keys.end());
        benchmark::DoNotOptimize(keys.data());
    }
}
BENCHMARK(BM_MovementKeysOnlyRawSqlite)->Unit(benchmark::kMillisecond);

// The query alone, stepped to its end: the floor under any opening that reads every row.
void BM_MovementScanOnlyRawSqlite(benchmark::State& state) {
    Fixture& f = fixture();
    RawDb raw(f);
    const QByteArray sql =
        "SELECT rowid, data, quant, peso, colli FROM m.\"" + tableOf(f.archives.movements) + "\"";
    for (auto _ : state) {
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(raw.db, sql.constData(), -1, &st, nullptr);
        sqlite3_int64 n = 0;
        while (sqlite3_step(st) == SQLITE_ROW) n += sqlite3_column_int64(st, 0);
        sqlite3_finalize(st);
        benchmark::DoNotOptimize(n);
    }
}
BENCHMARK(BM_MovementScanOnlyRawSqlite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MovementBrowserOpenRawSqlite)->Unit(benchmark::kMillisecond);

// The selection alone, without the window around it.
void BM_MovementModelSelect(benchmark::State& state) {
    Fixture& f = fixture();
    zel::MovementWindowModel m(*f.store);
    for (auto _ : state) m.select(f.archives.movements, {}, {}, state.range(0) != 0);
    state.counters["rows"] = m.rowCount();
}
BENCHMARK(BM_MovementModelSelect)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Scrolling: one window of 256 rows read far down the list.
void BM_MovementBrowserScrollWindow(benchmark::State& state) {
    Fixture& f = fixture();
    zel::MovementWindowModel m(*f.store);
    m.select(f.archives.movements, {}, {});
    int row = 0;
    for (auto _ : state) {
        row = (row + 7919 * zel::MovementWindowModel::kWindow) % m.rowCount();
        benchmark::DoNotOptimize(m.index(row, 3).data());
    }
    state.counters["windows"] = m.windowsRead();
}
BENCHMARK(BM_MovementBrowserScrollWindow)->Unit(benchmark::kMicrosecond);

// The load/unload window's opening: the list of 100,000 articles and the bill emptied.
void BM_LoadWindowOpen(benchmark::State& state) {
    Fixture& f = fixture();
    zel::Tmulti_art w(f.ctx);
    for (auto _ : state) w.prepare(zel::Tmulti_art::kLoadPage, QStringLiteral("ART050000"));
}
BENCHMARK(BM_LoadWindowOpen)->Unit(benchmark::kMillisecond);

// A load: movement, stock, order line and renumbering, committed.
void BM_LoadCommit(benchmark::State& state) {
    Fixture& f = fixture();
    zel::StockOps ops(*f.store, f.archives);
    zel::LoadRequest r;
    r.movement.bolla = 1;
    r.movement.cod = QStringLiteral("ART000500");
    r.movement.des = QStringLiteral("Articolo di prova numero 500");
    r.movement.data = QDate::currentDate();
    r.movement.codForn = QStringLiteral("F1");
    r.movement.quant = 1;
    r.quantity = 1;
    r.price = zel::UnitPrice(250, 2);
    r.order = 777;
    r.matchSupplier = true;
    for (auto _ : state) ops.load(r);
}
BENCHMARK(BM_LoadCommit)->Unit(benchmark::kMillisecond);

// The same writes in plain SQLite, by rowid, in one transaction.
void BM_LoadCommitRawSqlite(benchmark::State& state) {
    Fixture& f = fixture();
    RawDb raw(f);
    raw.exec("PRAGMA m.synchronous=FULL; PRAGMA w.synchronous=FULL; PRAGMA o.synchronous=FULL");
    const QByteArray mt = "m.\"" + tableOf(f.archives.movements) + "\"";
    const QByteArray wt = "w.\"" + tableOf(f.archives.warehouse) + "\"";
    const QByteArray ot = "o.\"" + tableOf(f.archives.orders) + "\"";
    const QByteArray sql =
        "BEGIN; INSERT INTO " + mt +
        " (bolla, cod, des, data, cod_forn, quant, prezzo, causale, fattura, flag) VALUES (1, "
        "'ART000500', 'x', "
        "'2026-12-11', 'F1', 1, 2.5, 'Carico merce', 'X', 'X'); UPDATE " +
        mt + " SET ID = (SELECT COUNT(*) FROM " + mt +
        ") WHERE rowid = last_insert_rowid(); UPDATE " + wt +
        " SET qca = qca + 1, qcons = qcons + 1, qord = qord - 1, costo_med = 2, valo3 = 2.5 WHERE "
        "cod = 'ART000500'; "
        "UPDATE " +
        ot + " SET consegnato_quant = consegnato_quant + 1 WHERE rowid = (SELECT rowid FROM " + ot +
        " WHERE ordine = 777 AND cod_art = 'ART000500' LIMIT 1); COMMIT";
    for (auto _ : state) raw.exec(sql.constData());
}
BENCHMARK(BM_LoadCommitRawSqlite)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return zel::bench::runBenchmarks(argc, argv); }
