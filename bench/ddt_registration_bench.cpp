#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QTemporaryDir>

#include "bench/Generator.h"
#include "core/Clock.h"
#include "core/Paths.h"
#include "ddt/DdtDraft.h"
#include "ddt/DdtRegistration.h"
#include "settings/Settings.h"
#include "store/Store.h"

namespace {

constexpr int kLines = 100;

// 100,000 DDT and 1,000,000 DDT lines in the year archives, 100,000 articles, and an
// order line for each article the benchmark's DDT carries.
struct Fixture {
    QTemporaryDir dir;
    QString base = dir.path();
    std::unique_ptr<zel::Settings> settings;
    std::unique_ptr<zel::Store> store;
    zel::DdtArchives archives;
    qint64 next = 0;
    Fixture() {
        zel::bench::Volumes v;
        v.ddtNotes = 100000;
        v.invoiceLines = 1;
        QString error;
        if (!zel::bench::generateArchives(base, v, &error))
            qFatal("generation failed: %s", qUtf8Printable(error));
        settings = std::make_unique<zel::Settings>(base);
        settings->load();
        store = std::make_unique<zel::Store>(zel::dataDir(base));
        archives = zel::DdtArchives::fromSettings(*settings);
        for (int i = 0; i < kLines; ++i)
            store->exec(
                QStringLiteral("INSERT INTO %1 (ordine, COD_CLI, COD_ART, QUANT, CONSEGNATO_quant, "
                               "CONSEGNATO_colli) VALUES (?, '00001', ?, 1000000, 0, 0)")
                    .arg(store->table(archives.orders)),
                {900 + i, article(i)});
        next =
            store
                ->scalar(
                    QStringLiteral("SELECT MAX(bolla) FROM %1").arg(store->table(archives.header)))
                .toLongLong();
    }
    static QString article(int i) {
        return QStringLiteral("ART%1").arg(1 + i * 997 % 100000, 6, 10, QLatin1Char('0'));
    }
    void fillDraft() {
        zel::DdtDraft draft(*store, archives.temporary);
        draft.clear(archives.lines);
        zel::Transaction tx(*store);
        for (int i = 0; i < kLines; ++i) {
            zel::DdtLine l;
            l.cod = article(i);
            l.des = QStringLiteral("Articolo di prova");
            l.prezzo = 10;
            l.sconto = 10;
            l.prezzonett = 9;
            l.percIva = i % 2 ? 22 : 10;
            l.quant = 1 + i % 5;
            l.colli = 1;
            l.peso = 0.5;
            l.ordine = QString::number(900 + i);
            l.contatore = i + 1;
            draft.append(l);
        }
        tx.commit();
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

// Registering a 100-line DDT: the plan, the check of the safety copies and the one
// transaction over lines, stock, orders, renumbering, header and the temporary table.
// The copies themselves are taken once, before the first registration is measured.
void BM_DdtRegistration100Lines(benchmark::State& state) {
    Fixture& f = fixture();
    zel::DdtRegistration reg(*f.store, *f.settings);
    if (!reg.backups()) state.SkipWithError("backup failed");
    for (auto _ : state) {
        state.PauseTiming();
        f.fillDraft();
        zel::DdtHeader h;
        h.number = ++f.next;
        h.recipient = QStringLiteral("00001");
        h.date = zel::Clock::today();
        h.causale = QStringLiteral("Vendita");
        state.ResumeTiming();
        const zel::DdtPlan plan = reg.plan(h);
        if (!reg.backups()) state.SkipWithError("backup failed");
        reg.write(h, plan);
    }
    state.counters["lines"] =
        f.store
            ->scalar(
                QStringLiteral("SELECT COUNT(*) FROM %1").arg(f.store->table(f.archives.lines)))
            .toDouble();
}
BENCHMARK(BM_DdtRegistration100Lines)->Unit(benchmark::kMillisecond)->Iterations(20);

// The same writes in plain SQLite on the same files, with prepared statements: read the
// temporary lines, insert them, unload, deliver the order lines, number the new rows,
// insert the header and empty the temporary table, in one transaction.
void BM_DdtRegistration100LinesRawSqlite(benchmark::State& state) {
    Fixture& f = fixture();
    sqlite3* db = nullptr;
    sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE, nullptr);
    auto exec = [db](const QString& sql) {
        char* err = nullptr;
        if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &err) != SQLITE_OK) {
            qWarning("raw sqlite: %s", err);
            sqlite3_free(err);
        }
    };
    const std::pair<QString, const char*> files[] = {{f.archives.lines, "l"},
                                                     {f.archives.header, "h"},
                                                     {f.archives.warehouse, "w"},
                                                     {f.archives.orders, "o"},
                                                     {f.archives.temporary, "t"}};
    for (const auto& [path, alias] : files) {
        exec(QStringLiteral("ATTACH DATABASE '%1' AS %2")
                 .arg(zel::resolvePath(path), QString::fromLatin1(alias)));
        exec(QStringLiteral("PRAGMA %1.synchronous = FULL").arg(QString::fromLatin1(alias)));
    }
    const QString yy = zel::Clock::yearSuffix();
    const QString lines = QStringLiteral("l.dett_ddt") + yy, header = QStringLiteral("h.ddt") + yy;
    auto prepare = [db](const QString& sql) {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &st, nullptr) != SQLITE_OK)
            qWarning("raw sqlite: %s", sqlite3_errmsg(db));
        return st;
    };
    sqlite3_stmt* read = prepare(
        QStringLiteral("SELECT cod, des, prezzo, prezzonett, perc_iva, sconto, quant, peso, "
                       "colli, ordine FROM t.dett_ddt_tmp ORDER BY rowid"));
    sqlite3_stmt* insert =
        prepare(QStringLiteral("INSERT INTO %1 (bolla, cod, cod_cli, des, prezzo, prezzonett, "
                               "perc_iva, sconto, quant, peso, colli, data, ordine, causale, "
                               "cod_forn, flag) VALUES (?, ?, '00001', ?, ?, ?, ?, ?, ?, ?, ?, "
                               "date('now'), ?, 'Vendita', '', '*')")
                    .arg(lines));
    sqlite3_stmt* unload = prepare(
        QStringLiteral("UPDATE w.magazzino SET qsc = qsc + ?1, psc = COALESCE(psc, 0) + ?2, "
                       "csc = COALESCE(csc, 0) + ?3, qcons = COALESCE(qcons, 0) + ?1, "
                       "qord = COALESCE(qord, 0) - ?1 WHERE cod = ?4"));
    sqlite3_stmt* deliver =
        prepare(QStringLiteral("UPDATE o.ordini SET quant = quant - ?1, consegnato_quant = "
                               "consegnato_quant + ?1 WHERE rowid = (SELECT rowid FROM o.ordini "
                               "WHERE ordine = ?2 AND cod_art = ?3 LIMIT 1)"));
    sqlite3_stmt* headerInsert =
        prepare(QStringLiteral("INSERT INTO %1 (bolla, cod_cli, cod_forn, data_mov, prezzo, "
                               "iva, tot_colli, tot_peso) VALUES (?, '00001', '', "
                               "date('now'), ?, ?, ?, ?)")
                    .arg(header));
    for (auto _ : state) {
        state.PauseTiming();
        f.fillDraft();
        f.store->releaseAll();
        const qint64 number = ++f.next;
        state.ResumeTiming();
        exec(QStringLiteral("BEGIN"));
        sqlite3_stmt* last =
            prepare(QStringLiteral("SELECT MAX(rowid), COUNT(*) FROM %1").arg(lines));
        sqlite3_step(last);
        const qint64 lastRowid = sqlite3_column_int64(last, 0),
                     count = sqlite3_column_int64(last, 1);
        sqlite3_finalize(last);
        double goods = 0, weight = 0, parcels = 0;
        while (sqlite3_step(read) == SQLITE_ROW) {
            sqlite3_bind_int64(insert, 1, number);
            for (int c = 0; c < 10; ++c)
                sqlite3_bind_value(insert, c + 2, sqlite3_column_value(read, c));
            sqlite3_step(insert);
            sqlite3_reset(insert);
            sqlite3_bind_double(unload, 1, sqlite3_column_double(read, 6));
            sqlite3_bind_double(unload, 2, sqlite3_column_double(read, 7));
            sqlite3_bind_int64(unload, 3, sqlite3_column_int64(read, 8));
            sqlite3_bind_value(unload, 4, sqlite3_column_value(read, 0));
            sqlite3_step(unload);
            sqlite3_reset(unload);
            sqlite3_bind_double(deliver, 1, sqlite3_column_double(read, 6));
            sqlite3_bind_int64(deliver, 2, sqlite3_column_int64(read, 9));
            sqlite3_bind_value(deliver, 3, sqlite3_column_value(read, 0));
            sqlite3_step(deliver);
            sqlite3_reset(deliver);
            goods += sqlite3_column_double(read, 3) * sqlite3_column_double(read, 6);
            weight += sqlite3_column_double(read, 7);
            parcels += sqlite3_column_double(read, 8);
        }
        sqlite3_reset(read);
        exec(QStringLiteral("UPDATE %1 AS t SET ID = r.n + %2 FROM (SELECT rowid AS rid, "
                            "row_number() OVER (ORDER BY "
                            "rowid) AS n FROM %1 WHERE rowid > %3) AS r WHERE t.rowid = r.rid")
                 .arg(lines)
                 .arg(count)
                 .arg(lastRowid));
        sqlite3_bind_int64(headerInsert, 1, number);
        sqlite3_bind_double(headerInsert, 2, goods);
        sqlite3_bind_double(headerInsert, 3, goods * 0.22);
        sqlite3_bind_double(headerInsert, 4, parcels);
        sqlite3_bind_double(headerInsert, 5, weight);
        sqlite3_step(headerInsert);
        sqlite3_reset(headerInsert);
        exec(QStringLiteral("DELETE FROM t.dett_ddt_tmp"));
        exec(QStringLiteral("COMMIT"));
    }
    for (sqlite3_stmt* st : {read, insert, unload, deliver, headerInsert}) sqlite3_finalize(st);
    sqlite3_close(db);
}
BENCHMARK(BM_DdtRegistration100LinesRawSqlite)->Unit(benchmark::kMillisecond)->Iterations(20);

// The floor under both: one row written in each of the five files and committed, with
// the same journal and synchronous settings (the commit's disk flushes alone).
void BM_CommitFloorFiveFilesRawSqlite(benchmark::State& state) {
    Fixture& f = fixture();
    f.store->releaseAll();
    sqlite3* db = nullptr;
    sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE, nullptr);
    const QString yy = zel::Clock::yearSuffix();
    const std::tuple<QString, const char*, QString> files[] = {
        {f.archives.lines, "l", QStringLiteral("dett_ddt") + yy},
        {f.archives.header, "h", QStringLiteral("ddt") + yy},
        {f.archives.warehouse, "w", QStringLiteral("magazzino")},
        {f.archives.orders, "o", QStringLiteral("ordini")},
        {f.archives.temporary, "t", QStringLiteral("dett_ddt_tmp")}};
    QString writes;
    for (const auto& [path, alias, table] : files) {
        const QString a = QString::fromLatin1(alias);
        sqlite3_exec(db,
                     QStringLiteral("ATTACH DATABASE '%1' AS %2; PRAGMA %2.synchronous = FULL")
                         .arg(zel::resolvePath(path), a)
                         .toUtf8()
                         .constData(),
                     nullptr, nullptr, nullptr);
        writes +=
            QStringLiteral(
                "UPDATE %1.%2 SET rowid = rowid WHERE rowid = (SELECT MIN(rowid) FROM %1.%2);")
                .arg(a, table);
    }
    const QByteArray sql = (QStringLiteral("BEGIN;") + writes + QStringLiteral("COMMIT;")).toUtf8();
    for (auto _ : state) sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr);
    sqlite3_close(db);
}
BENCHMARK(BM_CommitFloorFiveFilesRawSqlite)->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace

int main(int argc, char** argv) { return zel::bench::runBenchmarks(argc, argv); }
