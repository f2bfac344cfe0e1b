// A list of 10,000 partners rendered to PDF must take under 3 s.
#include <benchmark/benchmark.h>

#include "bench/Generator.h"

#include <QGuiApplication>
#include <QTemporaryDir>

#include "report/Output.h"
#include "report/PartnerListReports.h"
#include "settings/Settings.h"

namespace {

zel::report::Rows partners(int n) {
    zel::report::Rows rows;
    rows.reserve(n);
    for (int i = 1; i <= n; ++i) {
        rows.append({{QStringLiteral("COD_CLI"), QStringLiteral("C%1").arg(i, 6, 10, QChar(u'0'))},
                     {QStringLiteral("NOME"), QStringLiteral("Ragione sociale del partner numero %1 S.r.l.").arg(i)},
                     {QStringLiteral("VIA"), QStringLiteral("Via Giuseppe Garibaldi %1").arg(i % 300)},
                     {QStringLiteral("CITTA"), QStringLiteral("Reggio nell'Emilia")},
                     {QStringLiteral("TEL"), QStringLiteral("0522 %1").arg(400000 + i)},
                     {QStringLiteral("CELL"), QStringLiteral("347 %1").arg(1000000 + i)},
                     {QStringLiteral("EMAIL"), QStringLiteral("amministrazione%1@esempio.it").arg(i)}});
    }
    return rows;
}

void BM_PartnerListToPdf(benchmark::State& state) {
    QTemporaryDir dir;
    zel::Settings settings(dir.path());
    for (int n = 1; n <= 5; ++n)
        settings.setValue(u"Utente", QStringLiteral("riga %1").arg(n), QStringLiteral("Riga di intestazione %1").arg(n));
    zel::report::Tqr_lista_anagrafica rpt(settings);
    rpt.setRows(partners(static_cast<int>(state.range(0))));
    rpt.setKind(zel::report::PartnerKind::Clienti);
    const QString path = dir.filePath(QStringLiteral("lista.pdf"));
    int pages = 0;
    for (auto _ : state) {
        const zel::report::PageModel m = rpt.render();
        pages = m.pageCount();
        if (!zel::report::writePdf(m, path)) state.SkipWithError("PDF not written");
    }
    state.counters["pagine"] = pages;
}
BENCHMARK(BM_PartnerListToPdf)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_PartnerListRenderOnly(benchmark::State& state) {
    QTemporaryDir dir;
    zel::Settings settings(dir.path());
    zel::report::Tqr_lista_anagrafica rpt(settings);
    rpt.setRows(partners(static_cast<int>(state.range(0))));
    for (auto _ : state) benchmark::DoNotOptimize(rpt.render());
}
BENCHMARK(BM_PartnerListRenderOnly)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) { return zel::bench::runBenchmarks(argc, argv); }
