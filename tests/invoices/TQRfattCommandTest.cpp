#include <gtest/gtest.h>

#include <QFileInfo>

#include "invoices/InvoicePrintCommand.h"
#include "invoices/InvoiceRegistration.h"
#include "tests/TestSupport.h"
#include "tests/WindowFixture.h"
#include "tests/invoices/InvoiceTestData.h"

using namespace zel;
using namespace zel::test;
using namespace Qt::Literals::StringLiterals;

namespace {

class PrintInvoiceCommand : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        InvoiceSeed seed(base.file(u"Dati"_s));
        seed.twoDdtOfC1();
        InvoiceRegistration reg(*store, *settings, InvoiceArchives::fromSettings(*settings));
        InvoicePlan plan =
            reg.plan(u"C1"_s, reg.ddtsOf(u"C1"_s, QDate(2026, 3, 1), QDate(2026, 3, 31)));
        const QDate date(2026, 12, 15);
        reg.registerLines(plan, 1, date, u"Fattura riepilogativa"_s);
        DocumentTotals t = plan.totals;
        t.setTaxableExpenses(Money::fromCents(1000));
        t.setExemptExpenses(Money::fromCents(200));
        InvoiceFooter f;
        f.date = date;
        f.tipodoc = u"Fattura riepilogativa"_s;
        f.taxableExpenses = Money::fromCents(1000);
        f.exemptExpenses = Money::fromCents(200);
        reg.complete(1, u"C1"_s, t, f);
        store.reset();  // the batch command opens the archives itself
    }
    QStringList args(const QStringList& extra) const {
        return QStringList{u"--base"_s, base.path(), u"--today"_s, u"2026-12-16"_s,
                           u"--stampa-fattura"_s} +
               extra;
    }
};

TEST_F(PrintInvoiceCommand, WritesThePdfWithTheInvoiceTotals) {
    const QString pdf = base.file(u"fattura1.pdf"_s);
    const CommandOutcome r = runZelvarin(args({u"1"_s, u"--pdf"_s, pdf}));
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(u"Fattura n° 1 del cliente C1 (6 righe)"_s)) << r.err.toStdString();
    ASSERT_GT(QFileInfo(pdf).size(), 0);
    const QString text = pdfText(pdf);
    if (text.isEmpty()) GTEST_SKIP() << "pdftotext is not installed";
    for (const QString& w :
         {u"Fattura riepilogativa"_s, u"Rossi Mario"_s, u"DDT n. 7 del 05/03/2026"_s, u"241,72"_s,
          u"45,09"_s, u"2,90"_s, u"0,31"_s, u"292,02"_s, u"Totale documento"_s})
        EXPECT_TRUE(text.simplified().contains(w)) << w.toStdString() << "\n" << text.toStdString();
}

struct RefusalCase {
    const char* name;
    QStringList extra;
    int code;
    const char* says;
};

class PrintInvoiceRefusals : public PrintInvoiceCommand,
                             public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(PrintInvoiceRefusals, SayWhyAndWriteNothing) {
    const QString pdf = base.file(u"out.pdf"_s);
    QStringList extra = GetParam().extra;
    extra.replaceInStrings(u"@PDF"_s, pdf);
    const CommandOutcome r = runZelvarin(args(extra));
    EXPECT_EQ(r.code, GetParam().code);
    EXPECT_TRUE(r.err.contains(QString::fromUtf8(GetParam().says))) << r.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(pdf));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PrintInvoiceRefusals,
    ::testing::Values(RefusalCase{"UnknownNumber",
                                  {u"77"_s, u"--pdf"_s, u"@PDF"_s},
                                  kExitUnknownInvoice,
                                  "Nessuna fattura n° 77"},
                      RefusalCase{"YearWithoutArchive",
                                  {u"1"_s, u"--anno"_s, u"2019"_s, u"--pdf"_s, u"@PDF"_s},
                                  kExitUnknownInvoice,
                                  "anno 2019"},
                      RefusalCase{"NoPdf", {u"1"_s}, 2, "--pdf"},
                      RefusalCase{"NotANumber", {u"uno"_s, u"--pdf"_s, u"@PDF"_s}, 2, "uno"},
                      RefusalCase{"CustomerIsForDdt",
                                  {u"1"_s, u"--cliente"_s, u"C1"_s, u"--pdf"_s, u"@PDF"_s},
                                  2,
                                  "--cliente"},
                      RefusalCase{"PdfInAMissingFolder",
                                  {u"1"_s, u"--pdf"_s, u"/nonexistent-folder/x/out.pdf"_s},
                                  kExitInvoicePdf,
                                  "non si può scrivere"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
