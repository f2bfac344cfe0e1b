#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QDate>

#include "bench/Generator.h"
#include "core/Paths.h"
#include "documents/DueDates.h"
#include "invoices/InvoiceRegistration.h"
#include "invoices/MonthEndInvoicing.h"
#include "settings/Settings.h"
#include "store/Store.h"

namespace {

constexpr int kBenchDdt = 50;
constexpr int kLinesPerDdt = 20;
constexpr int kMonthEndCustomers = 500;
constexpr int kMonthEndDdtEach = 10;
const QDate kSummaryDate(2026, 1, 5);
const QDate kMonthFrom(2026, 1, 10), kMonthTo(2026, 1, 31);

// On the shared archives (1,000,000 DDT lines) the DDT these benchmarks invoice, dated
// before the generated ones: 50 DDT of 20 lines of one customer, and 500 customers with
// 10 DDT each.
struct Fixture {
    QString base = zel::bench::sharedLargeBase();
    std::unique_ptr<zel::Settings> settings;
    std::unique_ptr<zel::Store> store;
    zel::InvoiceArchives archives;
    Fixture() {
        settings = std::make_unique<zel::Settings>(base);
        settings->load();
        store = std::make_unique<zel::Store>(zel::dataDir(base));
        archives = zel::InvoiceArchives::fromSettings(*settings, kSummaryDate.year());
        const QString header = store->table(archives.ddtHeader);
        const QString lines = store->table(archives.ddtLines);
        // Built by concatenation: the printf patterns hold '%' signs that QString::arg would take.
        auto numbers = [](int n) {
            return QStringLiteral(
                       "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i "
                       "< ") +
                   QString::number(n - 1) + QStringLiteral(") ");
        };
        auto ddtRows = [&](int count, int first, const QString& date, const QString& customer) {
            return numbers(count) + QStringLiteral("INSERT INTO ") + header +
                   QStringLiteral(
                       " (BOLLA, DATA_MOV, COD_CLI, COD_FORN, FATTURA, FLAG, PREZZO) SELECT ") +
                   QString::number(first) + QStringLiteral(" + i, '") + date +
                   QStringLiteral("', ") + customer + QStringLiteral(", '', 'S', '*', 100 FROM n");
        };
        auto lineRows = [&](int count, int first, const QString& date, const QString& customer) {
            return numbers(count) + QStringLiteral("INSERT INTO ") + lines +
                   QStringLiteral(
                       " (BOLLA, DATA, COD_CLI, COD_FORN, COD, DES, QUANT, PREZZO, PREZZONETT, "
                       "SCONTO, "
                       "PERC_IVA, UNITAMIS, FATTURA, FLAG) SELECT ") +
                   QString::number(first) + QStringLiteral(" + i / ") +
                   QString::number(kLinesPerDdt) + QStringLiteral(", '") + date +
                   QStringLiteral("', ") + customer +
                   QStringLiteral(
                       ", '', printf('ART%06d', 1 + i % 100000), 'Riga', 1 + i % 5, 2.55, 2.55, 0, "
                       "CASE i % 3 WHEN 0 THEN 22 WHEN 1 THEN 10 ELSE 4 END, 'Conf.', 'S', '*' "
                       "FROM n");
        };
        zel::Transaction tx(*store);
        store->exec(
            ddtRows(kBenchDdt, 900001, QStringLiteral("2026-01-05"), QStringLiteral("'BENCH1'")));
        store->exec(lineRows(kBenchDdt * kLinesPerDdt, 900001, QStringLiteral("2026-01-05"),
                             QStringLiteral("'BENCH1'")));
        const int monthEndDdt = kMonthEndCustomers * kMonthEndDdtEach;
        store->exec(ddtRows(monthEndDdt, 910000, QStringLiteral("2026-01-20"),
                            QStringLiteral("printf('M%04d', i % 500)")));
        store->exec(lineRows(monthEndDdt * kLinesPerDdt, 910000, QStringLiteral("2026-01-20"),
                             QStringLiteral("printf('M%04d', (i / 20) % 500)")));
        tx.commit();
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

// One summary invoice from 50 DDT of 20 lines: lines read and totalled, header and 1,050
// lines written, header completed, four deadlines written; each its own transaction.
void BM_SummaryInvoice50Ddt(benchmark::State& state) {
    Fixture& f = fixture();
    zel::InvoiceRegistration r(*f.store, *f.settings, f.archives);
    for (auto _ : state) {
        const auto ddts = r.ddtsOf(QStringLiteral("BENCH1"), kSummaryDate, kSummaryDate);
        const zel::InvoicePlan plan = r.plan(QStringLiteral("BENCH1"), ddts);
        const qint64 number = r.lastNumber() + 1;
        r.registerLines(plan, number, kSummaryDate, QStringLiteral("Fattura riepilogativa"));
        zel::InvoiceFooter footer;
        footer.date = kSummaryDate;
        footer.tipodoc = QStringLiteral("Fattura riepilogativa");
        footer.dueDates =
            *zel::DueDates::dates(QStringLiteral("30-60-90-120 GG F.M."), kSummaryDate);
        footer.instalments = zel::DueDates::instalments(plan.totals.total(), 4);
        r.complete(number, plan.customer, plan.totals, footer);
        r.writeDeadlines(number, plan.customer, footer);
        state.counters["lines"] = plan.lineCount();
    }
}
BENCHMARK(BM_SummaryInvoice50Ddt)->Unit(benchmark::kMillisecond)->Iterations(5);

// The same reads and writes in plain SQLite: the 50 DDT's lines by number, date, mark and
// customer, then header and lines inserted in one transaction.
void BM_SummaryInvoice50DdtRawSqlite(benchmark::State& state) {
    Fixture& f = fixture();
    sqlite3* db = nullptr;
    sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE, nullptr);
    auto exec = [db](const QString& sql) {
        sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr);
    };
    exec(QStringLiteral("ATTACH DATABASE '%1' AS d").arg(zel::resolvePath(f.archives.ddtLines)));
    exec(QStringLiteral("ATTACH DATABASE '%1' AS h").arg(zel::resolvePath(f.archives.header)));
    exec(QStringLiteral("ATTACH DATABASE '%1' AS l").arg(zel::resolvePath(f.archives.lines)));
    const QByteArray select =
        QStringLiteral(
            "SELECT cod, des, quant, prezzonett, perc_iva, unitamis FROM d.\"%1\" "
            "WHERE bolla = ? AND data = '2026-01-05' AND flag = '*' AND fattura = 'S' "
            "AND upper(cod_cli) = 'BENCH1'")
            .arg(zel::fileStem(f.archives.ddtLines))
            .toUtf8();
    const QByteArray insert =
        QStringLiteral(
            "INSERT INTO l.\"%1\" (fattura, cod_cli, cod, des, quant, prezzonett, "
            "perc_iva, unitamis) VALUES (999999, 'BENCH1', ?, ?, ?, ?, ?, ?)")
            .arg(zel::fileStem(f.archives.lines))
            .toUtf8();
    for (auto _ : state) {
        exec(QStringLiteral("BEGIN"));
        exec(QStringLiteral("INSERT INTO h.\"%1\" (fattura, cod_cli) VALUES (999999, 'BENCH1')")
                 .arg(zel::fileStem(f.archives.header)));
        sqlite3_stmt* sel = nullptr;
        sqlite3_stmt* ins = nullptr;
        sqlite3_prepare_v2(db, select.constData(), -1, &sel, nullptr);
        sqlite3_prepare_v2(db, insert.constData(), -1, &ins, nullptr);
        for (int b = 0; b < kBenchDdt; ++b) {
            sqlite3_bind_int64(sel, 1, 900001 + b);
            while (sqlite3_step(sel) == SQLITE_ROW) {
                for (int c = 0; c < 6; ++c)
                    sqlite3_bind_value(ins, c + 1, sqlite3_column_value(sel, c));
                sqlite3_step(ins);
                sqlite3_reset(ins);
            }
            sqlite3_reset(sel);
        }
        sqlite3_finalize(sel);
        sqlite3_finalize(ins);
        exec(QStringLiteral("COMMIT"));
    }
    sqlite3_close(db);
}
BENCHMARK(BM_SummaryInvoice50DdtRawSqlite)->Unit(benchmark::kMillisecond)->Iterations(5);

// Month-end invoicing: 500 customers with 10 DDT of 20 lines each, 500 invoices with their
// deadlines in one transaction.
void BM_MonthEnd500Customers(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        zel::MonthEndInvoicing run(*f.store, *f.settings, kMonthFrom, kMonthTo);
        const auto out = run.run(kMonthTo, zel::MonthEndInvoicing::defaultKind());
        state.counters["invoices"] = static_cast<double>(out.made.size());
    }
}
BENCHMARK(BM_MonthEnd500Customers)->Unit(benchmark::kMillisecond)->Iterations(1);

// The same lines read and copied in plain SQLite, one transaction.
void BM_MonthEnd500CustomersRawSqlite(benchmark::State& state) {
    Fixture& f = fixture();
    sqlite3* db = nullptr;
    sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE, nullptr);
    auto exec = [db](const QString& sql) {
        sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr);
    };
    exec(QStringLiteral("ATTACH DATABASE '%1' AS d").arg(zel::resolvePath(f.archives.ddtLines)));
    exec(QStringLiteral("ATTACH DATABASE '%1' AS l").arg(zel::resolvePath(f.archives.lines)));
    for (auto _ : state) {
        exec(QStringLiteral("BEGIN"));
        exec(QStringLiteral(
                 "INSERT INTO l.\"%1\" (fattura, cod_cli, cod, des, quant, prezzonett, perc_iva, "
                 "unitamis) "
                 "SELECT 999998, cod_cli, cod, des, quant, prezzonett, perc_iva, unitamis FROM "
                 "d.\"%2\" "
                 "WHERE bolla BETWEEN 910000 AND 914999 AND data = '2026-01-20' AND flag = '*' "
                 "AND fattura = 'S'")
                 .arg(zel::fileStem(f.archives.lines), zel::fileStem(f.archives.ddtLines)));
        exec(QStringLiteral("COMMIT"));
    }
    sqlite3_close(db);
}
BENCHMARK(BM_MonthEnd500CustomersRawSqlite)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) { return zel::bench::runBenchmarks(argc, argv); }
