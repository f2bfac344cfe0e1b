#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTemporaryDir>
#include <cstdio>

#include "bench/Generator.h"
#include "core/Paths.h"
#include "registry/PartnerListModel.h"
#include "registry/Tfrm_clienti1.h"
#include "settings/Settings.h"
#include "store/Store.h"

namespace {

using namespace Qt::Literals::StringLiterals;

struct Context {
    std::unique_ptr<zel::Settings> settings;
    std::unique_ptr<zel::Store> store;
    zel::AppContext ctx;
    explicit Context(const QString& base) {
        settings = std::make_unique<zel::Settings>(base);
        settings->load();
        store = std::make_unique<zel::Store>(zel::dataDir(base));
        ctx = zel::AppContext{base, settings.get(), store.get(), nullptr};
    }
};

// The standard volumes: 50,000 partners.
Context& standard() {
    static Context c(zel::bench::sharedLargeBase());
    return c;
}

// 500,000 partners and next to nothing else, with the card's name index made once (its
// cost printed, as a first opening pays it).
struct Large {
    QTemporaryDir dir;
    std::unique_ptr<Context> c;
    Large() {
        zel::bench::Volumes v;
        v.articles = 100;
        v.partners = 500000;
        v.ddtNotes = 100;
        v.ddtLines = 100;
        v.invoiceLines = 100;
        QString error;
        if (!zel::bench::generateArchives(dir.path(), v, &error))
            qFatal("generation failed: %s", qUtf8Printable(error));
        c = std::make_unique<Context>(dir.path());
        QElapsedTimer t;
        t.start();
        zel::PartnerArchive(*c->store, *c->settings).ensureNameIndex();
        std::fprintf(stderr, "name index on 500,000 partners made in %lld ms\n",
                     static_cast<long long>(t.elapsed()));
    }
    QString registry() const { return zel::dataDir(dir.path()) + u"/anagrafica.db"_s; }
};

Large& large() {
    static Large l;
    return l;
}

// Opening the card: the first window of the list, the count and the first card.
void BM_OpenCard(benchmark::State& state) {
    Context& c = state.range(0) == 0 ? standard() : *large().c;
    zel::Tfrm_clienti1 card(c.ctx);
    for (auto _ : state) card.FormShow();
    state.counters["rows"] = card.listCount();
}
BENCHMARK(BM_OpenCard)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// One quick search by name as it runs when typing pauses: the list shows its first
// window and the first card; a large selection's count follows between keystrokes.
void BM_QuickSearch(benchmark::State& state) {
    zel::Tfrm_clienti1 card(large().c->ctx);
    card.FormShow();
    card.findChild<QComboBox*>(u"cmb_campo_ricerca"_s)->setCurrentIndex(1);  // Nome
    auto* edit = card.findChild<QLineEdit*>(u"edt_ricerca"_s);
    // One letter that every partner matches, and a name that one partner matches.
    const QString texts[2][2] = {{u"d"_s, u"a"_s}, {u"ditta 499999 "_s, u"ditta 250000 "_s}};
    const auto& pair = texts[state.range(0)];
    int i = 0;
    for (auto _ : state) {
        edit->blockSignals(true);
        edit->setText(pair[i++ % 2]);
        edit->blockSignals(false);
        card.edt_ricercaChange();
    }
    state.counters["shown"] = card.findChild<zel::PartnerListModel*>()->rowCount();
}
BENCHMARK(BM_QuickSearch)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The count of a one-letter search, done in slices after the list shows.
void BM_QuickSearchCount(benchmark::State& state) {
    zel::Tfrm_clienti1 card(large().c->ctx);
    card.FormShow();
    card.findChild<QComboBox*>(u"cmb_campo_ricerca"_s)->setCurrentIndex(1);
    auto* edit = card.findChild<QLineEdit*>(u"edt_ricerca"_s);
    int rows = 0;
    for (auto _ : state) {
        edit->blockSignals(true);
        edit->setText(u"d"_s);
        edit->blockSignals(false);
        card.edt_ricercaChange();
        rows = card.listCount();
    }
    state.counters["rows"] = rows;
}
BENCHMARK(BM_QuickSearchCount)->Unit(benchmark::kMillisecond);

// The same work on the same file through plain SQLite (built-in ASCII upper and LIKE,
// no program code): 0 the first window, 1 the count, 2 every match in name order, as the
// list read it before it loaded windows.
void BM_RawSqlite(benchmark::State& state) {
    const QByteArray file = large().registry().toUtf8();
    large();
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(file.constData(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
        qFatal("cannot open");
    const char* sql[3] = {
        "SELECT rowid, cod_cli, nome, citta, prov1, tel, cell, email, fax, nome FROM anagrafica "
        "WHERE upper(nome) LIKE '%D%' ORDER BY nome, rowid LIMIT 256",
        "SELECT count(*) FROM anagrafica WHERE upper(nome) LIKE '%D%'",
        "SELECT rowid, cod_cli, nome, citta, prov1, tel, cell, email, fax FROM anagrafica "
        "WHERE upper(nome) LIKE '%D%' ORDER BY nome"};
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, sql[state.range(0)], -1, &st, nullptr);
    qint64 rows = 0;
    for (auto _ : state) {
        rows = 0;
        while (sqlite3_step(st) == SQLITE_ROW) {
            ++rows;
            benchmark::DoNotOptimize(sqlite3_column_text(st, 1));
        }
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
    state.counters["rows"] = double(rows);
}
BENCHMARK(BM_RawSqlite)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return zel::bench::runBenchmarks(argc, argv); }
