#include <gtest/gtest.h>

#include <QFileInfo>

#include "quotes/QuoteInvoicing.h"
#include "store/Store.h"
#include "tests/WindowFixture.h"

using namespace zel;
using namespace zel::test;
using namespace Qt::Literals::StringLiterals;

namespace {

class QuoteInvoicingTest : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        QuoteArchive quotes(*store, *settings);
        quotes.clearWorking();
        for (const auto& [cod, quant, price, discount, rate] :
             {std::tuple{u"A1", 3.0, 10.0, 10.0, 22.0}, std::tuple{u"A2", 1.0, 100.0, 0.0, 10.0},
              std::tuple{u"A3", 1.0, 5.0, 0.0, 4.0}}) {
            QuoteLine l;
            l.cod = QString::fromUtf16(cod);
            l.quant = quant;
            l.prezzo = price;
            l.sconto = discount;
            l.percIva = rate;
            quotes.appendWorking(l, u"C1"_s, QDate(2026, 12, 1));
        }
        QuoteHeader h;
        h.number = 1;
        h.date = QDate(2026, 12, 1);
        h.codCli = u"C1"_s;
        h.piva = u"01234567890"_s;
        quotes.save(h);
        lines = quotes.linesOf(1);
    }
    QString path(const char16_t* key) const { return settings->text(u"Path", key); }
    InvoiceFooter footer() const {
        InvoiceFooter f;
        f.date = QDate(2026, 12, 11);
        f.tipodoc = u"Fattura"_s;
        f.taxableExpenses = Money::fromCents(1000);
        f.dueDates = {QDate(2027, 1, 31)};
        f.instalments = {Money::fromCents(16034)};
        return f;
    }
    QVariantList header(const QString& archive, const QString& table, int number) const {
        const auto r = Probe::rows(archive, u"SELECT COD_CLI, DATA, PIVA, IMP_TOT, IVA4, IVA9, "
                                            "IVA19, IVA_TOT, TOT_FATT, SPESE, TIPODOC FROM %1 "
                                            "WHERE FATTURA = %2"_s.arg(table).arg(number));
        return r.isEmpty() ? QVariantList() : r.first();
    }
    QString snapshot() const {
        QString s;
        for (const char16_t* k : {u"Archivio fatture Master", u"Archivio fatture Detail",
                                  u"Archivio fatture proforma Master",
                                  u"Archivio fatture proforma Detail",
                                  u"Archivio preventivi Master", u"Archivio preventivi Detail"})
            s += Probe::dump(path(k));
        return s;
    }
    QList<QuoteLine> lines;
};

TEST_F(QuoteInvoicingTest, TheQuoteBecomesTheNextInvoiceByTheInvoicingRule) {
    QuoteInvoicing invoicing(*store, *settings, false);
    const QString quoteBefore =
        Probe::dump(path(u"Archivio preventivi Master")) + Probe::dump(path(u"Archivio preventivi Detail"));
    const qint64 n = invoicing.proposeNumber();
    EXPECT_EQ(invoicing.totalsOf(lines, footer()).total(), invoicing.totalsOf(lines, footer()).total());
    const DocumentTotals t = invoicing.registerInvoice(1, lines, n, footer());
    EXPECT_EQ(t.total().cents(), 16034);
    const QString fatture = QFileInfo(path(u"Archivio fatture Master")).baseName();
    EXPECT_EQ(header(path(u"Archivio fatture Master"), fatture, n),
              (QVariantList{u"C1"_s, u"2026-12-11"_s, u"01234567890"_s, 142.0, 0.2, 10.0, 8.14,
                            18.34, 160.34, 10.0, u"Fattura"_s}));
    const auto l = Probe::rows(path(u"Archivio fatture Detail"),
                               u"SELECT COD_CLI, DATA, COD, PREZZOTOT FROM %1 WHERE FATTURA = %2 "
                               "ORDER BY rowid"_s
                                   .arg(QFileInfo(path(u"Archivio fatture Detail")).baseName())
                                   .arg(n));
    ASSERT_EQ(l.size(), 3);
    EXPECT_EQ(l[0], (QVariantList{u"C1"_s, u"2026-12-11"_s, u"A1"_s, 27.0}));
    EXPECT_EQ(Probe::dump(path(u"Archivio preventivi Master")) +
                  Probe::dump(path(u"Archivio preventivi Detail")),
              quoteBefore);
    EXPECT_EQ(invoicing.proposeNumber(), n + 1);
    const QString before = snapshot();
    EXPECT_THROW(invoicing.registerInvoice(1, lines, n, footer()), StoreError);
    EXPECT_EQ(snapshot(), before);
}

TEST_F(QuoteInvoicingTest, ProformaGoesToItsOwnArchivesWithItsOwnNumbering) {
    QuoteInvoicing fiscal(*store, *settings, false);
    fiscal.registerInvoice(1, lines, fiscal.proposeNumber(), footer());
    QuoteInvoicing proforma(*store, *settings, true);
    EXPECT_EQ(proforma.proposeNumber(), 1);
    const qint64 fiscalCount = Probe::count(path(u"Archivio fatture Master"));
    InvoiceFooter f = footer();
    f.tipodoc = u"Fattura proforma"_s;
    proforma.registerInvoice(1, lines, 1, f);
    EXPECT_EQ(Probe::count(path(u"Archivio fatture Master")), fiscalCount);
    EXPECT_EQ(Probe::count(path(u"Archivio fatture proforma Master")), 1);
    EXPECT_EQ(Probe::count(path(u"Archivio fatture proforma Detail")), 3);
}

TEST_F(QuoteInvoicingTest, RefusalsAndFailuresLeaveEveryArchiveAsItWas) {
    QuoteInvoicing invoicing(*store, *settings, false);
    const QString master = path(u"Archivio fatture Master");
    struct Case {
        const char* name;
        QList<QuoteLine> lines;
        bool failHeader;
    };
    for (const Case& c : {Case{"no line", {}, false}, Case{"header write fails", lines, true}}) {
        SCOPED_TRACE(c.name);
        if (c.failHeader)
            Probe::exec(master, u"CREATE TRIGGER fail_insert BEFORE INSERT ON %1 BEGIN SELECT "
                                "RAISE(ABORT, 'disco pieno'); END"_s
                                    .arg(QFileInfo(master).baseName()));
        const QString before = snapshot();
        EXPECT_THROW(invoicing.registerInvoice(1, c.lines, invoicing.proposeNumber(), footer()),
                     StoreError);
        EXPECT_EQ(snapshot(), before);
    }
}

}  // namespace
