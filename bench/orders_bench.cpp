#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QTableView>
#include <cstring>
#include <vector>

#include "bench/Generator.h"
#include "core/Paths.h"
#include "orders/OrderArchive.h"
#include "orders/Tfrm_scorre_ordini.h"
#include "settings/Settings.h"
#include "store/Store.h"
#include "warehouse/StockOps.h"

namespace {

constexpr int kBrowserLines = 200000;

struct Fixture {
    QString base = zel::bench::sharedLargeBase();
    std::unique_ptr<zel::Settings> settings;
    std::unique_ptr<zel::Store> store;
    zel::AppContext ctx;
    zel::StockArchives archives;
    qint64 openLine = 0;
    Fixture() {
        settings = std::make_unique<zel::Settings>(base);
        settings->load();
        store = std::make_unique<zel::Store>(zel::dataDir(base));
        ctx = zel::AppContext{base, settings.get(), store.get(), nullptr};
        archives = zel::StockArchives::fromSettings(*settings);
        const QString t = store->table(archives.orders);
        // Ten-line supplier orders over the article range, up to the browser's volume.
        const qint64 have = store->scalar(QStringLiteral("SELECT COUNT(*) FROM %1").arg(t)).toLongLong();
        store->exec(QStringLiteral("WITH RECURSIVE n(x) AS (SELECT 0 UNION ALL SELECT x + 1 FROM n WHERE x + 1 < ?) "
                                   "INSERT INTO %1 (ordine, data, COD_FORN, COD_ART, DES, QUANT, CHIUSO, CONSEGNE, "
                                   "CONSEGNATO_quant, TIPO) SELECT 100000 + x / 10, '2026-12-01', 'F1', "
                                   "printf('ART%06d', x % 100000), 'Riga d''ordine', 1, 0, 0, 0, 'F' FROM n")
                        .arg(t),
                    {std::max<qint64>(0, kBrowserLines - have)});
        // A line that stays open however many loads arrive.
        store->exec(QStringLiteral("INSERT INTO %1 (ordine, data, COD_FORN, COD_ART, DES, QUANT, CHIUSO, CONSEGNE, "
                                   "CONSEGNATO_quant, TIPO) VALUES (99999, '2026-12-01', 'F1', 'ART000500', 'x', "
                                   "1e12, 0, 0, 0, 'F')")
                        .arg(t));
        openLine = store->scalar(QStringLiteral("SELECT last_insert_rowid()")).toLongLong();
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
        exec("PRAGMA m.synchronous=FULL; PRAGMA w.synchronous=FULL; PRAGMA o.synchronous=FULL");
    }
    ~RawDb() { sqlite3_close(db); }
    void attach(const QString& path, const char* alias) {
        exec(QStringLiteral("ATTACH DATABASE '%1' AS %2").arg(path, QString::fromLatin1(alias)).toUtf8().constData());
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

zel::OrderDraft hundredLines(qint64 number) {
    zel::OrderDraft d;
    d.number = number;
    d.date = QDate(2026, 12, 11);
    d.kind = zel::OrderKind::Supplier;
    d.party = QStringLiteral("F1");
    for (int i = 0; i < 100; ++i) {
        zel::OrderLine l;
        l.codArt = QStringLiteral("ART%1").arg(i * 997 % 100000, 6, 10, QLatin1Char('0'));
        l.des = QStringLiteral("Articolo %1").arg(i);
        l.quant = 2.5;
        l.prezzo = 4.5;
        l.iva = 22;
        d.lines.append(l);
    }
    d.deliveryDates = {QDate(2026, 12, 20), QDate(), QDate()};
    return d;
}

// Saving a 100-line supplier order: lines, delivery dates, number and qord, committed.
void BM_OrderSave100Lines(benchmark::State& state) {
    Fixture& f = fixture();
    zel::OrderArchive orders(*f.store, f.archives.orders, f.archives.warehouse, f.archives.movements);
    static qint64 number = 500000;  // the runner calls this more than once
    for (auto _ : state) orders.save(hundredLines(++number));
}
BENCHMARK(BM_OrderSave100Lines)->Unit(benchmark::kMillisecond);

// The same 100 inserts and 100 qord updates in plain SQLite, prepared, in one transaction.
void BM_OrderSave100LinesRawSqlite(benchmark::State& state) {
    Fixture& f = fixture();
    RawDb raw(f);
    const QByteArray ins = "INSERT INTO o.\"" + tableOf(f.archives.orders) +
                           "\" (ordine, data, cod_art, des, cod_forn, prezzo, iva, quant, chiuso, consegne, tipo, "
                           "data_cons1) VALUES (?, '2026-12-11', ?, ?, 'F1', 4.5, 22, 2.5, 0, 0, 'F', '2026-12-20')";
    const QByteArray upd =
        "UPDATE w.\"" + tableOf(f.archives.warehouse) + "\" SET qord = COALESCE(qord, 0) + 2.5 WHERE cod = ?";
    sqlite3_stmt* si = nullptr;
    sqlite3_stmt* su = nullptr;
    sqlite3_prepare_v2(raw.db, ins.constData(), -1, &si, nullptr);
    sqlite3_prepare_v2(raw.db, upd.constData(), -1, &su, nullptr);
    qint64 number = 800000;
    for (auto _ : state) {
        raw.exec("BEGIN");
        ++number;
        for (int i = 0; i < 100; ++i) {
            const QByteArray code = QStringLiteral("ART%1").arg(i * 997 % 100000, 6, 10, QLatin1Char('0')).toUtf8();
            const QByteArray des = QStringLiteral("Articolo %1").arg(i).toUtf8();
            sqlite3_bind_int64(si, 1, number);
            sqlite3_bind_text(si, 2, code.constData(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(si, 3, des.constData(), -1, SQLITE_TRANSIENT);
            sqlite3_step(si);
            sqlite3_reset(si);
            sqlite3_bind_text(su, 1, code.constData(), -1, SQLITE_TRANSIENT);
            sqlite3_step(su);
            sqlite3_reset(su);
        }
        raw.exec("COMMIT");
    }
    sqlite3_finalize(si);
    sqlite3_finalize(su);
}
BENCHMARK(BM_OrderSave100LinesRawSqlite)->Unit(benchmark::kMillisecond);

// A load from order: movement, stock through StockOps and the order line, committed.
void BM_LoadFromOrder(benchmark::State& state) {
    Fixture& f = fixture();
    zel::OrderArchive orders(*f.store, f.archives.orders, f.archives.warehouse, f.archives.movements);
    zel::OrderLoadRequest r;
    r.lineRowid = f.openLine;
    r.quantity = 1;
    r.price = zel::UnitPrice(250, 2);
    r.ddtNumber = 1;
    r.supplier = QStringLiteral("F1");
    r.today = QDate(2026, 12, 11);
    for (auto _ : state) orders.load(r);
}
BENCHMARK(BM_LoadFromOrder)->Unit(benchmark::kMillisecond);

// The same writes in plain SQLite, the order line by rowid, in one transaction.
void BM_LoadFromOrderRawSqlite(benchmark::State& state) {
    Fixture& f = fixture();
    RawDb raw(f);
    const QByteArray mt = "m.\"" + tableOf(f.archives.movements) + "\"";
    const QByteArray wt = "w.\"" + tableOf(f.archives.warehouse) + "\"";
    const QByteArray ot = "o.\"" + tableOf(f.archives.orders) + "\"";
    const QByteArray sql =
        "BEGIN; INSERT INTO " + mt +
        " (bolla, cod, des, data, cod_forn, quant, prezzo, causale, fattura, flag) VALUES (1, 'ART000500', 'x', "
        "'2026-12-11', 'F1', 1, 2.5, 'Carico merce', 'X', 'X'); UPDATE " +
        wt + " SET qca = qca + 1, qord = qord - 1, costo_med = 2, valo3 = 2.5 WHERE cod = 'ART000500'; UPDATE " + ot +
        " SET quant = quant - 1, consegnato_quant = consegnato_quant + 1, consegne = consegne + 1, consegnato = 1 "
        "WHERE rowid = " + QByteArray::number(f.openLine) + "; COMMIT";
    for (auto _ : state) raw.exec(sql.constData());
}
BENCHMARK(BM_LoadFromOrderRawSqlite)->Unit(benchmark::kMillisecond);

// The order browser opening over the order lines: keys, order and the first screen of rows.
void BM_OrderBrowserOpen(benchmark::State& state) {
    Fixture& f = fixture();
    zel::Tfrm_scorre_ordini w(f.ctx);
    w.resize(1000, 700);
    auto* view = w.findChild<QTableView*>(QStringLiteral("DBGrid1"));
    for (auto _ : state) {
        w.FormShow();
        for (int r = 0; r < 30; ++r) benchmark::DoNotOptimize(view->model()->index(r, 5).data());
    }
    state.counters["rows"] = view->model()->rowCount();
}
BENCHMARK(BM_OrderBrowserOpen)->Unit(benchmark::kMillisecond);

// The same in plain SQLite: every key in order, then the first 200 lines' texts.
void BM_OrderBrowserOpenRawSqlite(benchmark::State& state) {
    Fixture& f = fixture();
    RawDb raw(f);
    const QByteArray ot = "o.\"" + tableOf(f.archives.orders) + "\"";
    const QByteArray keys = "SELECT rowid, ordine FROM " + ot + " WHERE COALESCE(ordine, 0) <> 0 ORDER BY ordine, rowid";
    const QByteArray first = "SELECT ordine, data, cod_cli, cod_forn, cod_art, des, quant FROM " + ot +
                             " WHERE COALESCE(ordine, 0) <> 0 ORDER BY ordine, rowid LIMIT 200";
    for (auto _ : state) {
        std::vector<std::pair<qint64, qint64>> ids;
        ids.reserve(kBrowserLines + 20000);
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(raw.db, keys.constData(), -1, &st, nullptr);
        while (sqlite3_step(st) == SQLITE_ROW) ids.emplace_back(sqlite3_column_int64(st, 0), sqlite3_column_int64(st, 1));
        sqlite3_finalize(st);
        sqlite3_prepare_v2(raw.db, first.constData(), -1, &st, nullptr);
        size_t n = 0;
        while (sqlite3_step(st) == SQLITE_ROW) n += std::strlen(reinterpret_cast<const char*>(sqlite3_column_text(st, 5)));
        sqlite3_finalize(st);
        benchmark::DoNotOptimize(ids.data());
        benchmark::DoNotOptimize(n);
    }
}
BENCHMARK(BM_OrderBrowserOpenRawSqlite)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return zel::bench::runBenchmarks(argc, argv); }
