#include <gtest/gtest.h>

#include "quotes/QuoteArchive.h"
#include "store/Store.h"
#include "tests/WindowFixture.h"

using namespace zel;
using namespace zel::test;
using namespace Qt::Literals::StringLiterals;

namespace {

class QuoteArchiveTest : public WindowFixture {
public:
    void SetUp() override {
        WindowFixture::SetUp();
        quotes = std::make_unique<QuoteArchive>(*store, *settings);
        quotes->clearWorking();
    }
    void TearDown() override {
        quotes.reset();
        WindowFixture::TearDown();
    }
    QString header() const { return settings->text(u"Path", u"Archivio preventivi Master"); }
    QString lines() const { return settings->text(u"Path", u"Archivio preventivi Detail"); }
    QString working() const { return data(u"prev_tmp.db"_s); }

    static QuoteLine line(const QString& cod, double quant, double prezzo, double sconto,
                          double iva) {
        QuoteLine l;
        l.cod = cod;
        l.des = u"Articolo "_s + cod;
        l.unitamis = u"Pz."_s;
        l.quant = quant;
        l.prezzo = prezzo;
        l.sconto = sconto;
        l.percIva = iva;
        return l;
    }
    QuoteHeader headerOf(qint64 number, const QString& cli = u"C1"_s) const {
        QuoteHeader h;
        h.number = number;
        h.date = QDate(2026, 12, 11);
        h.codCli = cli;
        h.nomeCli = u"Rossi Mario"_s;
        for (QDate& d : h.dates) d = h.date;
        return h;
    }
    // 3 × 10.00 − 10 % at 22 % and 1 × 100.00 at 10 %, typed before the number was known.
    void firstQuoteLines() {
        quotes->appendWorking(line(u"A1"_s, 3, 10.0, 10, 22), u"OLD"_s, QDate(2026, 1, 2));
        quotes->appendWorking(line(u"A2"_s, 1, 100.0, 0, 10), u"OLD"_s, QDate(2026, 1, 2));
    }
    QVariantList storedHeader(qint64 number) const {
        const auto r = Probe::rows(
            header(), u"SELECT COD_CLI, DATA, TIPODOC, IMP_TOT, IMP_GLOB, IVA4, IVA9, IVA19, "
                      "IVA_TOT, TOT_FATT FROM preventivi WHERE FATTURA = %1"_s.arg(number));
        return r.isEmpty() ? QVariantList() : r.first();
    }
    QString snapshot() const {
        return Probe::dump(header()) + Probe::dump(lines()) + Probe::dump(working());
    }
    void failOn(const QString& file, const QString& table) const {
        Probe::exec(file, u"CREATE TRIGGER fail_insert BEFORE INSERT ON %1 BEGIN SELECT "
                          "RAISE(ABORT, 'disco pieno'); END"_s.arg(table));
    }
    std::unique_ptr<QuoteArchive> quotes;
};

TEST_F(QuoteArchiveTest, FirstQuoteSavesTheInvoicingRuleFiguresAndItsLines) {
    EXPECT_EQ(quotes->proposeNumber(), 1);
    firstQuoteLines();
    quotes->save(headerOf(1));
    EXPECT_EQ(storedHeader(1), (QVariantList{u"C1"_s, u"2026-12-11"_s, u"Preventivo"_s, 127.0,
                                             127.0, 0.0, 10.0, 5.94, 15.94, 142.94}));
    const auto l = Probe::rows(lines(), u"SELECT FATTURA, DATA, COD_CLI, COD, QUANT, PREZZONETT, "
                                        "PREZZOTOT, ID FROM preventivi_dett ORDER BY rowid"_s);
    ASSERT_EQ(l.size(), 2);
    EXPECT_EQ(l[0], (QVariantList{1, u"2026-12-11"_s, u"C1"_s, u"A1"_s, 3.0, 9.0, 27.0, 1}));
    EXPECT_EQ(l[1], (QVariantList{1, u"2026-12-11"_s, u"C1"_s, u"A2"_s, 1.0, 100.0, 100.0, 2}));
    EXPECT_EQ(Probe::count(working()), 0);
    EXPECT_EQ(quotes->proposeNumber(), 2);
}

TEST_F(QuoteArchiveTest, SecondQuoteTotalsOnlyItsOwnLines) {
    firstQuoteLines();
    quotes->save(headerOf(1));
    quotes->appendWorking(line(u"A3"_s, 1, 5.0, 0, 4), u"C2"_s, QDate(2026, 12, 11));
    quotes->save(headerOf(2, u"C2"_s));
    const QVariantList h = storedHeader(2);
    ASSERT_FALSE(h.isEmpty());
    EXPECT_EQ(h[5], 0.2);  // iva4
    EXPECT_EQ(h[9], 5.2);  // tot_fatt
    EXPECT_EQ(quotes->linesOf(2).size(), 1);
}

TEST_F(QuoteArchiveTest, ChangedQuantityRecomputesFromZeroAndDeletingALineUpdatesTheHeader) {
    firstQuoteLines();
    quotes->save(headerOf(1));
    QuoteLine first = quotes->linesOf(1).first();
    first.quant = 4;
    quotes->updateLine(1, first);
    for (int press = 0; press < 2; ++press) {
        const QuoteFigures f = quotes->recompute(1);
        EXPECT_EQ(f.taxable.cents(), 13600);
        EXPECT_EQ(f.vat[2].cents(), 792);
        EXPECT_EQ(f.total.cents(), 15392);
    }
    EXPECT_EQ(storedHeader(1)[9], 153.92);
    quotes->removeLine(1, quotes->linesOf(1).at(1).rowid);
    EXPECT_EQ(storedHeader(1), (QVariantList{u"C1"_s, u"2026-12-11"_s, u"Preventivo"_s, 36.0,
                                             36.0, 0.0, 0.0, 7.92, 7.92, 43.92}));
}

TEST_F(QuoteArchiveTest, ATakenNumberIsRefusedAndNothingIsWritten) {
    firstQuoteLines();
    quotes->save(headerOf(1));
    quotes->appendWorking(line(u"A3"_s, 1, 5.0, 0, 4), u"C1"_s, QDate(2026, 12, 11));
    const QString before = snapshot();
    EXPECT_THROW(quotes->save(headerOf(1)), StoreError);
    EXPECT_EQ(snapshot(), before);
}

TEST_F(QuoteArchiveTest, RefusalsLeaveEveryArchiveAsItWas) {
    struct Case {
        const char* name;
        std::function<void(QuoteArchiveTest&)> prepare;
        const char16_t* named;  // what the message names
    };
    const QList<Case> cases = {
        {"line copy fails",
         [](QuoteArchiveTest& t) { t.failOn(t.lines(), u"preventivi_dett"_s); }, u"disco pieno"},
        {"rate not configured",
         [](QuoteArchiveTest& t) {
             t.quotes->appendWorking(line(u"A9"_s, 1, 10.0, 0, 7), u"C1"_s, QDate(2026, 12, 11));
         },
         u"7"},
        {"unit too long",
         [](QuoteArchiveTest& t) {
             QuoteLine l = line(u"A9"_s, 1, 10.0, 0, 22);
             l.unitamis = u"Confezione"_s;
             t.quotes->appendWorking(l, u"C1"_s, QDate(2026, 12, 11));
         },
         u"Unità di misura"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        firstQuoteLines();
        c.prepare(*this);
        const QString before = snapshot();
        try {
            quotes->save(headerOf(1));
            ADD_FAILURE() << "saved";
        } catch (const StoreError& e) {
            EXPECT_TRUE(e.message().contains(QString::fromUtf16(c.named))) << e.what();
        }
        EXPECT_EQ(snapshot(), before);
    }
}

TEST_F(QuoteArchiveTest, ExemptQuoteChargesNoVat) {
    firstQuoteLines();
    QuoteHeader h = headerOf(1);
    h.titoloesen = u"Art. 8"_s;
    const QuoteFigures f = quotes->save(h);
    EXPECT_EQ(f.vatTotal.cents(), 0);
    EXPECT_EQ(storedHeader(1)[9], 127.0);
}

TEST_F(QuoteArchiveTest, LineEditsThatFailLeaveQuoteAndHeaderAsTheyWere) {
    firstQuoteLines();
    quotes->save(headerOf(1));
    Probe::exec(header(), u"CREATE TRIGGER fail_update BEFORE UPDATE ON preventivi BEGIN SELECT "
                          "RAISE(ABORT, 'disco pieno'); END"_s);
    const QString before = snapshot();
    QuoteLine first = quotes->linesOf(1).first();
    first.quant = 4;
    EXPECT_THROW(quotes->updateLine(1, first), StoreError);
    EXPECT_THROW(quotes->removeLine(1, first.rowid), StoreError);
    EXPECT_THROW(quotes->addLine(1, line(u"A5"_s, 1, 1.0, 0, 4)), StoreError);
    EXPECT_THROW(quotes->changeCustomer(1, u"C9"_s, u"Verdi"_s), StoreError);
    EXPECT_EQ(snapshot(), before);
}

TEST_F(QuoteArchiveTest, DuplicateCopiesHeaderAndLinesUnderTheNextNumber) {
    firstQuoteLines();
    quotes->save(headerOf(1));
    pinDate(QDate(2026, 12, 20));
    EXPECT_EQ(quotes->duplicate(1), 2);
    const QVariantList h = storedHeader(2);
    ASSERT_FALSE(h.isEmpty());
    EXPECT_EQ(h[1], u"2026-12-20"_s);
    EXPECT_EQ(h[9], 142.94);
    EXPECT_EQ(quotes->linesOf(2).size(), 2);
    quotes->changeCustomer(2, u"C2"_s, u"Bianchi"_s);
    EXPECT_EQ(Probe::rows(lines(), u"SELECT COUNT(*) FROM preventivi_dett WHERE FATTURA = 2 AND "
                                   "COD_CLI = 'C2'"_s)[0][0], 2);
    quotes->removeQuote(1);
    EXPECT_TRUE(storedHeader(1).isEmpty());
    EXPECT_TRUE(quotes->linesOf(1).isEmpty());
    EXPECT_EQ(quotes->linesOf(2).size(), 2);
}

}  // namespace
