#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include "bench/Generator.h"
#include "core/Paths.h"
#include "settings/Settings.h"
#include "store/Store.h"
#include "warehouse/CounterSale.h"
#include "warehouse/Receipt.h"

namespace {

struct Fixture {
    QString base = zel::bench::sharedLargeBase();
    std::unique_ptr<zel::Settings> settings;
    std::unique_ptr<zel::Store> store;
    zel::StockArchives archives;
    QString receipts;
    QString registry;
    Fixture() {
        settings = std::make_unique<zel::Settings>(base);
        settings->load();
        store = std::make_unique<zel::Store>(zel::dataDir(base));
        archives = zel::StockArchives::fromSettings(*settings);
        receipts = settings->text(u"Path", u"Archivio ricevute fiscali");
        registry = settings->text(u"Path", u"Archivio anagrafica");
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

struct RawDb {
    sqlite3* db = nullptr;
    explicit RawDb(const Fixture& f) {
        sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE, nullptr);
        attach(zel::resolvePath(f.archives.movements), "m");
        attach(zel::resolvePath(f.archives.warehouse), "w");
        attach(zel::resolvePath(f.receipts), "r");
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

// A code typed at the counter, its article found, its stock unloaded and its movement
// logged, on 100,000 articles and 1,000,000 movement lines.
void BM_CounterLineLookUpAndUnload(benchmark::State& state) {
    Fixture& f = fixture();
    zel::CounterSale sale(*f.store, f.archives);
    int i = 0;
    for (auto _ : state) {
        const QString code = QStringLiteral("ART%1").arg(1 + (i++ * 7919) % 100000, 6, 10, QLatin1Char('0'));
        const auto a = sale.find(code, true);
        if (!a) state.SkipWithError("article not found");
        sale.unloadLine(zel::makeSaleLine(a->cod, a->des, 1, a->price, a->rate), QDate::currentDate());
    }
}
BENCHMARK(BM_CounterLineLookUpAndUnload)->Unit(benchmark::kMillisecond);

// The same work in plain SQLite: the code look-up, the stock update and the movement row.
void BM_CounterLineLookUpAndUnloadRawSqlite(benchmark::State& state) {
    Fixture& f = fixture();
    RawDb raw(f);
    const QByteArray w = "w.\"" + tableOf(f.archives.warehouse) + "\"";
    const QByteArray m = "m.\"" + tableOf(f.archives.movements) + "\"";
    const QByteArray find = "SELECT COD, DES, PREZZO_VEN, IVA FROM " + w +
                            " WHERE COD = ?1 LIMIT 1";
    const QByteArray upd = "UPDATE " + w + " SET QSC = QSC + 1 WHERE COD = ?1";
    const QByteArray ins = "INSERT INTO " + m +
                           " (ID, BOLLA, COD, DES, DATA, QUANT, CAUSALE) VALUES ((SELECT MAX(ID) + 1 FROM " + m +
                           "), 0, ?1, 'x', date('now'), 1, 'Scarico veloce')";
    int i = 0;
    for (auto _ : state) {
        const QByteArray code = QStringLiteral("ART%1").arg(1 + (i++ * 7919) % 100000, 6, 10, QLatin1Char('0')).toUtf8();
        raw.exec("BEGIN");
        for (const QByteArray* sql : {&find, &upd, &ins}) {
            sqlite3_stmt* st = nullptr;
            sqlite3_prepare_v2(raw.db, sql->constData(), -1, &st, nullptr);
            sqlite3_bind_text(st, 1, code.constData(), -1, SQLITE_TRANSIENT);
            while (sqlite3_step(st) == SQLITE_ROW) {
            }
            sqlite3_finalize(st);
        }
        raw.exec("COMMIT");
    }
}
BENCHMARK(BM_CounterLineLookUpAndUnloadRawSqlite)->Unit(benchmark::kMillisecond);

// Closing a 30-line receipt with a loyalty customer.
void BM_CloseReceipt30Lines(benchmark::State& state) {
    Fixture& f = fixture();
    const QString code = f.store
                             ->scalar(QStringLiteral("SELECT COD_CLI FROM %1 WHERE COD_CLI <> '' LIMIT 1")
                                          .arg(f.store->table(f.registry)))
                             .toString();
    QList<zel::CounterSaleLine> lines;
    for (int i = 0; i < 30; ++i)
        lines.append(zel::makeSaleLine(QStringLiteral("ART%1").arg(i + 1, 6, 10, QLatin1Char('0')), QStringLiteral("Riga"),
                                       2, zel::Money::fromCents(1250), zel::VatRate::fromDouble(22)));
    zel::ReceiptWriter writer(*f.store, f.receipts, f.registry);
    for (auto _ : state) benchmark::DoNotOptimize(writer.close(lines, QDateTime::currentDateTime(), code).numero);
}
BENCHMARK(BM_CloseReceipt30Lines)->Unit(benchmark::kMillisecond);

void BM_CloseReceipt30LinesRawSqlite(benchmark::State& state) {
    Fixture& f = fixture();
    RawDb raw(f);
    const QByteArray r = "r.\"" + tableOf(f.receipts) + "\"";
    const QByteArray ins = "INSERT INTO " + r +
                           " (ANNO, DATA, DES, IMPONIBILE, IMPORTO, IVA1, COD_IVA1, NUMERO, ORA, QUANT, NOTE, ID) VALUES "
                           "('26', date('now'), 'Riga', 20.49, 25, 4.51, 22, (SELECT COALESCE(MAX(NUMERO), 0) + 1 FROM " +
                           r + "), '10:00:00', 2, 'Ricevuta fiscale', (SELECT COALESCE(MAX(ID), 0) + 1 FROM " + r + "))";
    for (auto _ : state) {
        raw.exec("BEGIN");
        for (int i = 0; i < 30; ++i) raw.exec(ins.constData());
        raw.exec("COMMIT");
    }
}
BENCHMARK(BM_CloseReceipt30LinesRawSqlite)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return zel::bench::runBenchmarks(argc, argv); }
