#include <gtest/gtest.h>

#include <QFile>

#include "quotes/QuoteArchive.h"
#include "quotes/Trpt_preventivo.h"
#include "tests/WindowFixture.h"

using namespace zel;
using namespace zel::test;
using namespace Qt::Literals::StringLiterals;

namespace {

// The page model's text against a reference file; ZELVARIN_WRITE_REFS=1 rewrites it.
void expectMatchesReference(const report::PageModel& model, const QString& name) {
    const QString text = model.text();
    QFile f(QStringLiteral(ZELVARIN_SOURCE_DIR "/tests/quotes/refs/") + name);
    if (qEnvironmentVariableIntValue("ZELVARIN_WRITE_REFS") == 1) {
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text.toUtf8());
        return;
    }
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << "missing reference " << name.toStdString();
    EXPECT_EQ(text.toStdString(), QString::fromUtf8(f.readAll()).toStdString()) << name.toStdString();
}

class QuotePrintTest : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        Probe::exec(settings->text(u"Path", u"Archivio anagrafica"),
                    u"INSERT INTO anagrafica (COD_CLI, NOME, VIA, CAP, CITTA, PROV1, PIVA) VALUES "
                    "('C1', 'Rossi Mario Srl', 'Via Roma 1', '10100', 'Torino', 'TO', "
                    "'01234567890')"_s);
    }
    void saveQuote(int lineCount) {
        QuoteArchive quotes(*store, *settings);
        quotes.clearWorking();
        for (int i = 0; i < lineCount; ++i) {
            QuoteLine l;
            l.cod = u"A%1"_s.arg(i + 1);
            l.des = u"Articolo %1"_s.arg(i + 1);
            l.unitamis = u"Pz."_s;
            l.quant = i == 0 ? 3 : 1;
            l.prezzo = i == 0 ? 10.0 : 100.0;
            l.sconto = i == 0 ? 10 : 0;
            l.percIva = i == 0 ? 22 : 10;
            if (i == 2) {
                l.prezzo = 0;
                l.prezzoAlfa = u"omaggio"_s;
                l.stampaAlfa = true;
            }
            quotes.appendWorking(l, u"C1"_s, QDate(2026, 12, 11));
        }
        QuoteHeader h;
        h.number = 1;
        h.date = QDate(2026, 12, 11);
        h.codCli = u"C1"_s;
        h.nomeCli = u"Rossi Mario Srl"_s;
        h.oggetto = u"Impianto idraulico"_s;
        h.pagam = u"Bonifico 30 gg"_s;
        h.validita = QDate(2027, 1, 31);
        quotes.save(h);
    }
    QuotePrintData load() {
        auto d = Trpt_preventivo::load(*store, *settings, 1);
        EXPECT_TRUE(d.has_value());
        return d.value_or(QuotePrintData{});
    }
};

TEST_F(QuotePrintTest, BothLayoutsMatchTheirReferencePages) {
    saveQuote(3);
    QuotePrintOptions full;
    full.subject = full.validity = true;
    expectMatchesReference(Trpt_preventivo(*settings, Trpt_preventivo::Model::Full).render(load(), full),
                           u"preventivo_completo.txt"_s);
    QuotePrintOptions simple;
    simple.companyHeading = false;
    simple.unit = false;
    simple.currency = true;
    expectMatchesReference(
        Trpt_preventivo(*settings, Trpt_preventivo::Model::Simple).render(load(), simple),
        u"preventivo_semplice.txt"_s);
}

TEST_F(QuotePrintTest, PagesBeforeTheLastSayContinuedAndTheLastShowsTheStoredTotal) {
    saveQuote(60);
    const report::PageModel m =
        Trpt_preventivo(*settings, Trpt_preventivo::Model::Simple).render(load(), {});
    ASSERT_GT(m.pageCount(), 1);
    const QString total = Money::fromDouble(
        Probe::rows(settings->text(u"Path", u"Archivio preventivi Master"),
                    u"SELECT TOT_FATT FROM preventivi"_s)[0][0].toDouble()).format();
    for (int p = 0; p < m.pageCount(); ++p) {
        const bool last = p == m.pageCount() - 1;
        EXPECT_EQ(m.pageText(p).contains(Trpt_preventivo::continuedText()), !last) << p;
        EXPECT_EQ(m.pageText(p).contains(total), last) << p;
    }
}

TEST_F(QuotePrintTest, AMissingQuoteLoadsNothingAndPdfIsWritten) {
    EXPECT_FALSE(Trpt_preventivo::load(*store, *settings, 9).has_value());
    saveQuote(2);
    const QString pdf = base.file(u"prev.pdf"_s);
    QString error;
    EXPECT_TRUE(Trpt_preventivo(*settings, Trpt_preventivo::Model::Full).exportPdf(load(), {}, pdf, &error))
        << error.toStdString();
    QFile f(pdf);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.read(5).startsWith("%PDF"));
}

}  // namespace
