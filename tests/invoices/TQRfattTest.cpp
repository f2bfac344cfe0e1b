#include <gtest/gtest.h>

#include <QFile>

#include "documents/DueDates.h"
#include "invoices/InvoiceRegistration.h"
#include "invoices/TQRfatt.h"
#include "tests/WindowFixture.h"
#include "tests/invoices/InvoiceTestData.h"

using namespace zel;
using namespace zel::test;
using namespace Qt::Literals::StringLiterals;

namespace {

QString refPath(const QString& name) {
    return QStringLiteral(ZELVARIN_SOURCE_DIR "/tests/invoices/refs/") + name;
}

// The page model's text against a reference file; ZELVARIN_WRITE_REFS=1 rewrites it.
void expectMatchesReference(const report::PageModel& model, const QString& name) {
    const QString text = model.text();
    QFile f(refPath(name));
    if (qEnvironmentVariableIntValue("ZELVARIN_WRITE_REFS") == 1) {
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text.toUtf8());
        return;
    }
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << "missing reference " << name.toStdString();
    EXPECT_EQ(text.toStdString(), QString::fromUtf8(f.readAll()).toStdString())
        << name.toStdString();
}

class TQRfattPrint : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        seed = std::make_unique<InvoiceSeed>(base.file(u"Dati"_s));
        seed->twoDdtOfC1();
        Probe::exec(seed->registry(),
                    u"UPDATE anagrafica SET via = 'Via Roma 1', cap = '10100', citta = 'Torino', "
                    u"prov1 = 'TO', piva = '01234567890', abi = '03069', cab = '01000', "
                    u"iban = 'IT60X0542811101000000123456', via_sleg = 'Via Po 3', "
                    u"citta_sleg = 'Moncalieri' WHERE cod_cli = 'C1'"_s);
        settings->setValue(u"Utente", u"riga 1", u"Ditta Esempio Srl"_s);
        settings->setValue(u"Fatturazione", u"Stampa solo logo", false);
        settings->setValue(u"Fatturazione", u"Stampa solo intestazioni", true);
    }
    // The invoice of the examples as invoice n. 1 of 15/12/2026: taxable expenses 10,00,
    // exempt expenses 2,00, "30-60-90-120 GG F.M." and its deadlines.
    void registerC1(const QDate& ddtTo = QDate(2026, 3, 31)) {
        InvoiceRegistration reg(*store, *settings, InvoiceArchives::fromSettings(*settings));
        InvoicePlan plan = reg.plan(u"C1"_s, reg.ddtsOf(u"C1"_s, QDate(2026, 3, 1), ddtTo));
        ASSERT_TRUE(plan.refusals.isEmpty());
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
        f.paymentMethod = u"Ri.Ba."_s;
        f.paymentTerm = u"30-60-90-120 GG F.M."_s;
        f.bank = u"Banca Uno"_s;
        f.note1 = u"Grazie"_s;
        f.dueDates = DueDates::dates(f.paymentTerm, date).value_or(QList<QDate>{});
        f.instalments = DueDates::instalments(t.total(), static_cast<int>(f.dueDates.size()));
        f.printDate[1] = f.printDate[2] = f.printDate[3] = true;
        reg.complete(1, u"C1"_s, t, f);
        ASSERT_TRUE(reg.writeDeadlines(1, u"C1"_s, f));
    }
    InvoicePrintData load() {
        auto d = TQRfatt::load(*store, InvoiceArchives::fromSettings(*settings), {1, u"C1"_s});
        EXPECT_TRUE(d.has_value());
        return d.value_or(InvoicePrintData{});
    }
    InvoicePrintOptions options() const {
        InvoicePrintOptions o = InvoicePrintOptions::fromSettings(*settings);
        o.dueDates = true;
        o.yearSuffix = true;
        return o;
    }
    std::unique_ptr<InvoiceSeed> seed;
};

TEST_F(TQRfattPrint, OnePageInvoiceShowsTheStoredTotalsAndMatchesItsReference) {
    registerC1();
    const report::PageModel m = TQRfatt(*settings).render(load(), options());
    ASSERT_EQ(m.pageCount(), 1);
    const QString page = m.pageText(0);
    EXPECT_FALSE(page.contains(TQRfatt::continuedText()));
    // The printed figures are the stored ones, and they add up.
    const auto h =
        Probe::rows(seed->header(),
                    u"SELECT imp_tot, iva19, iva9, iva4, speseesiva, tot_fatt FROM fatture26"_s);
    ASSERT_EQ(h.size(), 1);
    qint64 cents[6];
    for (int i = 0; i < 6; ++i) cents[i] = Money::fromDouble(h[0][i].toDouble()).cents();
    EXPECT_EQ(cents[0] + cents[1] + cents[2] + cents[3] + cents[4], cents[5]);
    for (const QString& line :
         {u"Imponibile netto | 241,72"_s, u"Totale IVA 22% | 45,09"_s, u"Totale IVA 10% | 2,90"_s,
          u"Totale IVA 4% | 0,31"_s, u"Spese es. IVA | 2,00"_s, u"Totale documento | 292,02"_s,
          u"Spese imponibili | 10,00"_s, u"Num. | 1/26"_s, u"Pagina 1"_s})
        EXPECT_TRUE(page.contains(line)) << line.toStdString() << "\n" << page.toStdString();
    expectMatchesReference(m, u"tqrfatt_una_pagina.txt"_s);
}

TEST_F(TQRfattPrint, MultiPageInvoiceContinuesAndTotalsOnlyOnTheLastPage) {
    const QDate d(2026, 3, 20);
    seed->ddt(11, d, u"C1"_s);
    for (int i = 1; i <= 90; ++i)
        seed->line(11, d, u"C1"_s, u"M%1"_s.arg(i, 2, 10, QLatin1Char('0')), 1, 1.00 + i / 100.0,
                   22);
    registerC1();
    const report::PageModel m = TQRfatt(*settings).render(load(), options());
    ASSERT_GE(m.pageCount(), 2);
    for (int p = 0; p < m.pageCount(); ++p) {
        const bool last = p == m.pageCount() - 1;
        const QString page = m.pageText(p);
        EXPECT_EQ(page.contains(TQRfatt::continuedText()), !last) << p;
        EXPECT_EQ(page.contains(u"Totale documento"_s), last) << p;
        EXPECT_TRUE(page.contains(u"Pagina %1"_s.arg(p + 1))) << p;
        EXPECT_TRUE(page.contains(u"Rossi Mario"_s)) << p;
    }
    expectMatchesReference(m, u"tqrfatt_piu_pagine.txt"_s);
}

TEST_F(TQRfattPrint, LinesPrintInTheOrderWrittenWithHeadingLinesAsText) {
    registerC1();
    // A counter that runs the other way must not reorder the sheet.
    Probe::exec(seed->lines(), u"UPDATE dett_fatture26 SET id = 100 - id"_s);
    const QString page = TQRfatt(*settings).render(load(), options()).pageText(0);
    const QStringList order{u"DDT n. 7 del 05/03/2026\n"_s, u"Articolo A1"_s, u"Articolo A2"_s,
                            u"DDT n. 9 del 12/03/2026\n"_s, u"Articolo A3"_s, u"Articolo A4"_s};
    qsizetype at = -1;
    for (const QString& s : order) {
        const qsizetype next = page.indexOf(s);
        EXPECT_GT(next, at) << s.toStdString() << "\n" << page.toStdString();
        at = next;
    }
}

TEST_F(TQRfattPrint, VatLinesKeepTheRatesTheLinesWereWrittenWith) {
    registerC1();
    settings->setValue(u"Magazzino", u"IVA 3 predefinita", u"23"_s);
    settings->setValue(u"Magazzino", u"IVA 2 predefinita", u"5"_s);
    TQRfatt rpt(*settings);
    EXPECT_EQ(rpt.vatLabels(load()), (QStringList{u"4"_s, u"10"_s, u"22"_s}));
    const QString page = rpt.render(load(), options()).pageText(0);
    EXPECT_TRUE(page.contains(u"Totale IVA 22% | 45,09"_s)) << page.toStdString();
    EXPECT_FALSE(page.contains(u"IVA 23%"_s));
    EXPECT_FALSE(page.contains(u"IVA 5%"_s));
}

TEST_F(TQRfattPrint, DecimalsButtonsShapeTheLinesTotalsStayToTheCent) {
    registerC1();
    InvoicePrintOptions o = options();
    o.amountDecimals = 0;
    o.secondCurrency = true;
    const QString page = TQRfatt(*settings).render(load(), o).pageText(0);
    EXPECT_TRUE(page.contains(u"A1 | Articolo A1 | Conf. | 10,00 | 14 | 14 | 135\n"_s))
        << page.toStdString();
    EXPECT_TRUE(page.contains(u"A4 | Articolo A4 | Pz | 2,50 | 3 | 3 | 8\n"_s));
    EXPECT_TRUE(page.contains(u"Totale documento | 292,02"_s));
    // 292,02 at 1936,27 per euro.
    EXPECT_TRUE(page.contains(u"Totale in Lire it. | 565.429,57"_s)) << page.toStdString();
}

struct NumberCase {
    const char* name;
    bool suffix;
    const char16_t* extension;
    const char16_t* expected;
};

class TQRfattNumber : public TQRfattPrint, public ::testing::WithParamInterface<NumberCase> {};

TEST_P(TQRfattNumber, YearIsTheInvoiceDatesYear) {
    registerC1();
    pinDate(QDate(2027, 1, 10));  // printed in the next year
    Probe::exec(seed->header(), u"UPDATE fatture26 SET extension = '%1'"_s.arg(
                                    QString::fromUtf16(GetParam().extension)));
    InvoicePrintOptions o = options();
    o.yearSuffix = GetParam().suffix;
    const QString page = TQRfatt(*settings).render(load(), o).pageText(0);
    EXPECT_TRUE(page.contains(
        u"Num. | %1 | Data | 15/12/2026"_s.arg(QString::fromUtf16(GetParam().expected))))
        << page.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Cases, TQRfattNumber,
                         ::testing::Values(NumberCase{"Suffix", true, u"", u"1/26"},
                                           NumberCase{"SuffixAndExtension", true, u"bis",
                                                      u"1/26bis"},
                                           NumberCase{"NoSuffix", false, u"", u"1"}),
                         [](const auto& info) { return std::string(info.param.name); });

struct ColumnCase {
    const char* name;
    bool kg, ci, zeroDiscount;
    const char16_t* head;    // expected in the column header, or empty
    const char16_t* absent;  // never in the column header
    const char16_t* a1line;  // the line of article A1
};

class TQRfattColumns : public TQRfattPrint, public ::testing::WithParamInterface<ColumnCase> {};

TEST_P(TQRfattColumns, WeightOrVatCodeOrNeither) {
    registerC1();
    InvoicePrintOptions o = options();
    o.weightColumn = GetParam().kg;
    o.vatColumn = GetParam().ci;
    o.zeroDiscount = GetParam().zeroDiscount;
    const QString page = TQRfatt(*settings).render(load(), o).pageText(0);
    const QString header = page.section(u"Codice"_s, 1, 1).section(u'\n', 0, 0);
    if (*GetParam().head) {
        EXPECT_TRUE(header.contains(QString::fromUtf16(GetParam().head))) << header.toStdString();
    }
    EXPECT_FALSE(header.contains(QString::fromUtf16(GetParam().absent))) << header.toStdString();
    EXPECT_TRUE(page.contains(QString::fromUtf16(GetParam().a1line))) << page.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TQRfattColumns,
    ::testing::Values(
        ColumnCase{"Neither", false, false, false, u"", u"Kg.",
                   u"A1 | Articolo A1 | Conf. | 10,00 | 13,50 | 13,50 | 135,00\n"},
        ColumnCase{"NeitherVat", false, false, false, u"", u"C.I.", u"A1 | Articolo A1 | Conf."},
        ColumnCase{"Weight", true, true, false, u"Kg.", u"C.I.", u"A1 | Articolo A1 | Conf."},
        ColumnCase{"VatCode", false, true, false, u"C.I.", u"Kg.",
                   u"A1 | Articolo A1 | 22 | Conf."},
        ColumnCase{"ZeroDiscount", false, false, true, u"", u"Kg.",
                   u"A1 | Articolo A1 | Conf. | 10,00 | 13,50 | 0 | 13,50 | 135,00\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TQRfattPrint, DueDatesPrintByTheirFlagAndBankByAbiCabOrIban) {
    registerC1();
    Probe::exec(seed->header(), u"UPDATE fatture26 SET flagpag2 = 0"_s);
    InvoicePrintOptions o = options();
    QString page = TQRfatt(*settings).render(load(), o).pageText(0);
    EXPECT_TRUE(page.contains(u"Date di scadenza | 31/01/2027  31/03/2027  30/04/2027"_s))
        << page.toStdString();
    EXPECT_TRUE(page.contains(u"ABI 03069  CAB 01000"_s));
    o.iban = true;
    o.dueDates = false;
    page = TQRfatt(*settings).render(load(), o).pageText(0);
    EXPECT_FALSE(page.contains(u"Date di scadenza"_s));
    EXPECT_TRUE(page.contains(u"IBAN IT60X0542811101000000123456"_s));
}

}  // namespace
