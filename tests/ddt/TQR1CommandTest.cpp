#include <gtest/gtest.h>

#include <QFileInfo>

#include "ddt/DdtPrintCommand.h"
#include "tests/TestSupport.h"
#include "tests/WindowFixture.h"
#include "tests/ddt/DdtBrowserSeed.h"

using namespace zel;
using namespace zel::test;
using namespace Qt::Literals::StringLiterals;

namespace {

class PrintDdtCommand : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        DdtSeed seed{*store, *settings};
        seed.partner(u"C1"_s, u"Rossi Mario Srl"_s);
        seed.partner(u"C2"_s, u"Verdi Anna"_s);
        const QDate d(2026, 12, 10);
        seed.header(5, u"C1"_s, d);
        seed.line(5, u"C1"_s, u"A1"_s, u"Vite inox 6x20"_s, 5, 9, 22, 1, 2.5, d);
        seed.line(5, u"C1"_s, u"A2"_s, u"Dado autobloccante M6"_s, 3, 4.5, 10, 1, 1.2, d);
        seed.header(9, u"C1"_s, d);
        seed.header(9, u"C2"_s, d);
        seed.line(9, u"C2"_s, u"B7"_s, u"Rondella piana"_s, 7, 1, 22, 0, 0, d);
        store.reset();  // the batch command opens the archives itself
    }
    QStringList args(const QStringList& extra) const {
        return QStringList{u"--base"_s, base.path(), u"--today"_s, u"2026-12-11"_s,
                           u"--stampa-ddt"_s} +
               extra;
    }
};

TEST_F(PrintDdtCommand, WritesThePdfOfTheDdtWithNumberRecipientAndLines) {
    const QString pdf = base.file(u"ddt5.pdf"_s);
    const CommandOutcome r = runZelvarin(args({u"5"_s, u"--pdf"_s, pdf}));
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(u"DDT n° 5 del cliente C1"_s)) << r.err.toStdString();
    ASSERT_TRUE(QFileInfo(pdf).size() > 0);
    const QString text = pdfText(pdf);
    if (text.isEmpty()) GTEST_SKIP() << "pdftotext is not installed";
    for (const QString& w :
         {u"Documento di trasporto (DDT)"_s, u"Num. 5"_s, u"10/12/2026"_s, u"Rossi Mario Srl"_s,
          u"Vite inox 6x20"_s, u"Dado autobloccante M6"_s, u"5,00"_s, u"3,00"_s})
        EXPECT_TRUE(text.simplified().contains(w)) << w.toStdString() << "\n" << text.toStdString();
}

TEST_F(PrintDdtCommand, ASharedNumberNeedsItsRecipient) {
    const QString pdf = base.file(u"ddt9.pdf"_s);
    CommandOutcome r = runZelvarin(args({u"9"_s, u"--pdf"_s, pdf}));
    EXPECT_EQ(r.code, kExitUnknownDdt);
    EXPECT_TRUE(r.err.contains(u"--cliente"_s)) << r.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(pdf));
    r = runZelvarin(args({u"9"_s, u"--cliente"_s, u"c2"_s, u"--pdf"_s, pdf}));
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QString text = pdfText(pdf);
    if (text.isEmpty()) GTEST_SKIP() << "pdftotext is not installed";
    EXPECT_TRUE(text.contains(u"Verdi Anna"_s));
    EXPECT_TRUE(text.contains(u"Rondella piana"_s));
}

struct RefusalCase {
    const char* name;
    QStringList extra;
    int code;
    const char* says;
};

class PrintDdtRefusals : public PrintDdtCommand,
                         public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(PrintDdtRefusals, SayWhyAndWriteNothing) {
    const QString pdf = base.file(u"out.pdf"_s);
    QStringList extra = GetParam().extra;
    extra.replaceInStrings(u"@PDF"_s, pdf);
    const CommandOutcome r = runZelvarin(args(extra));
    EXPECT_EQ(r.code, GetParam().code);
    EXPECT_TRUE(r.err.contains(QString::fromUtf8(GetParam().says))) << r.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(pdf));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PrintDdtRefusals,
    ::testing::Values(
        RefusalCase{"UnknownNumber", {u"77"_s, u"--pdf"_s, u"@PDF"_s}, 2, "Nessun DDT n° 77"},
        RefusalCase{"WrongRecipient",
                    {u"5"_s, u"--cliente"_s, u"C2"_s, u"--pdf"_s, u"@PDF"_s},
                    2,
                    "Nessun DDT n° 5 del cliente C2"},
        RefusalCase{"YearWithoutArchive",
                    {u"5"_s, u"--anno"_s, u"2019"_s, u"--pdf"_s, u"@PDF"_s},
                    2,
                    "anno 2019"},
        RefusalCase{"NoPdf", {u"5"_s}, 2, "--pdf"},
        RefusalCase{"NotANumber", {u"cinque"_s, u"--pdf"_s, u"@PDF"_s}, 2, "cinque"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
