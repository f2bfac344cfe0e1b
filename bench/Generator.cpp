#include "bench/Generator.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>
#include <functional>
#include <vector>

#include "core/Clock.h"
#include "core/Notifier.h"
#include "core/Paths.h"
#include "settings/Settings.h"
#include "store/DataStartup.h"
#include "store/Store.h"

namespace zel::bench {

namespace {

// Rows 1..n without a round trip per row.
QString numbers(int n) {
    return QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) ").arg(n);
}

// The check digit of the ten digits in column s, as the Italian VAT number has it:
// odd places count as they are, even places doubled less 9 when over 9.
QString vatCheckDigit() {
    QStringList terms;
    for (int k = 1; k <= 10; ++k) {
        const QString d = QStringLiteral("CAST(substr(s, %1, 1) AS INTEGER)").arg(k);
        terms << (k % 2 ? d : QStringLiteral("(2 * %1 - 9 * (2 * %1 > 9))").arg(d));
    }
    return QStringLiteral("((10 - (%1) % 10) % 10)").arg(terms.join(QStringLiteral(" + ")));
}

std::vector<std::function<void()>>& endHooks() {
    static std::vector<std::function<void()>> hooks;
    return hooks;
}

}  // namespace

bool generateArchives(const QString& base, const Volumes& v, QString* error) {
    RecordingNotifier quiet;
    Settings settings(base);
    DataStartup startup(base, settings, quiet);
    if (startup.runAll() != 0) {
        *error = quiet.texts().join(u'\n');
        return false;
    }
    Store store(dataDir(base));
    const QString yy = Clock::yearSuffix();
    auto path = [&](const char* file) { return dataFile(base, QString::fromLatin1(file).replace(QStringLiteral("YY"), yy)); };
    try {
        Transaction tx(store);
        store.exec(numbers(v.articles) +
                   QStringLiteral("INSERT INTO %1 (ID, COD, DES, QCA, QSC, FM, SCORTAMIN, PREZZO_ACQ, PREZZO_VEN, IVA, "
                                  "UM) SELECT i, printf('ART%06d', i), printf('Articolo di prova numero %d', i), "
                                  "i % 50, i % 7, 1, 10, 1.5 + (i % 100), 3 + (i % 100), 22, 'PZ' FROM n")
                       .arg(store.table(path("magazzino.db"))));
        // Each partner its own valid VAT number: a registration number, an office code, the check digit.
        store.exec(numbers(v.partners) +
                   QStringLiteral(", p(i, s) AS (SELECT i, printf('%07d%03d', i, 1 + i % 100) FROM n) "
                                  "INSERT INTO %1 (ID, COD_CLI, NOME, VIA, CAP, CITTA, PROV1, TEL, PIVA, CLIENTE, "
                                  "FORNITORE, EXTRA_DATA) SELECT i, printf('%05d', i), printf('Ditta %d S.r.l.', i), "
                                  "printf('Via Roma %d', i % 300), '47121', 'Forlì', 'FC', '0543 000000', "
                                  "s || %2, i % 3 <> 0, i % 3 = 0, "
                                  "CASE WHEN i % 500 = 0 THEN '00000010000000000000' ELSE '00000000000000000000' END "
                                  "FROM p")
                       .arg(store.table(path("anagrafica.db")), vatCheckDigit()));
        store.exec(numbers(v.ddtNotes) +
                   QStringLiteral("INSERT INTO %1 (BOLLA, COD_CLI, DATA_MOV, FATTURA) SELECT i, printf('%05d', 1 + i % "
                                  "%2), date('now', printf('-%d days', i % 300)), 'S' FROM n")
                       .arg(store.table(path("ddtYY.db")))
                       .arg(v.partners));
        store.exec(numbers(v.ddtLines) +
                   QStringLiteral("INSERT INTO %1 (ID, BOLLA, COD, DES, QUANT, PREZZO, PERC_IVA, DATA, COD_CLI) SELECT "
                                  "i, 1 + i % %2, printf('ART%06d', 1 + i % %3), 'Riga', 1 + i % 5, 2.5, 22, "
                                  "date('now', printf('-%d days', i % 300)), printf('%05d', 1 + i % %4) FROM n")
                       .arg(store.table(path("dett_ddtYY.db")))
                       .arg(v.ddtNotes)
                       .arg(v.articles)
                       .arg(v.partners));
        store.exec(numbers(v.invoiceLines) +
                   QStringLiteral("INSERT INTO %1 (ID, FATTURA, COD, DES, QUANT, PREZZO, PREZZONETT, PREZZOTOT, "
                                  "PERC_IVA) SELECT i, 1 + i / 10, printf('ART%06d', 1 + i % %2), 'Riga', 2, 5, 5, "
                                  "10, 22 FROM n")
                       .arg(store.table(path("dett_fattureYY.db")))
                       .arg(v.articles));
        tx.commit();
    } catch (const StoreError& e) {
        *error = e.message();
        return false;
    }
    return true;
}

QString sharedLargeBase() {
    static QTemporaryDir dir;
    static const bool ready = [] {
        QString error;
        if (!generateArchives(dir.path(), {}, &error)) qFatal("generation failed: %s", qUtf8Printable(error));
        return true;
    }();
    (void)ready;
    return dir.path();
}

int runBenchmarks(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QGuiApplication::setQuitOnLastWindowClosed(false);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    // Windows made by the benchmarks go while the application still exists.
    for (const auto& hook : endHooks()) hook();
    endHooks().clear();
    return 0;
}

void onBenchmarksDone(std::function<void()> hook) { endHooks().push_back(std::move(hook)); }

}  // namespace zel::bench
