#include <gtest/gtest.h>

#include "core/Clock.h"
#include "report/PartnerListReports.h"
#include "tests/report/ReportTestSupport.h"
#include "settings/Settings.h"
#include "tests/TestSupport.h"

using namespace zel;
using namespace zel::report;

namespace {

const char16_t* const kCities[] = {u"Milano", u"Torino", u"Bologna", u"Città di Castello", u"Forlì"};

// Registry rows as the archive gives them (lower-case columns, as SQLite returns them).
Rows partners(int n) {
    Rows rows;
    for (int i = 1; i <= n; ++i) {
        const QString code = QStringLiteral("C%1").arg(i, 4, 10, QChar(u'0'));
        rows << Row{{QStringLiteral("cod_cli"), code},
                    {QStringLiteral("nome"), QStringLiteral("Ditta %1 S.r.l.").arg(i)},
                    {QStringLiteral("via"), QStringLiteral("Via Roma %1").arg(i)},
                    {QStringLiteral("cap"), QStringLiteral("20100")},
                    {QStringLiteral("citta"), QString::fromUtf16(kCities[i % 5])},
                    {QStringLiteral("prov1"), QStringLiteral("MI")},
                    {QStringLiteral("tel"), QStringLiteral("02 %1").arg(100000 + i)},
                    {QStringLiteral("cell"), QStringLiteral("333 %1").arg(200000 + i)},
                    {QStringLiteral("email"), QStringLiteral("info%1@ditta.it").arg(i)},
                    {QStringLiteral("piva"), QStringLiteral("%1").arg(1000000000LL + i, 11, 10, QChar(u'0'))},
                    {QStringLiteral("cf"), QStringLiteral("RSSMRA80A01F205%1").arg(QChar(u'A' + i % 26))},
                    {QStringLiteral("gruppo"), QStringLiteral("G%1").arg(i % 3)},
                    {QStringLiteral("cat_fisc"), QStringLiteral("CF%1").arg(i % 2)}};
    }
    return rows;
}

class PartnerLists : public ::testing::Test {
protected:
    void SetUp() override {
        Clock::pin(QDateTime(QDate(2026, 3, 5), QTime(10, 0)));
        const char* lines[] = {"Ferramenta Bianchi S.n.c.", "di Bianchi Mario & C.", "Via Garibaldi 12 - 40100 Bologna",
                               "Tel. 051 123456", "info@ferramentabianchi.it", "P.IVA 01234567890"};
        for (int n = 1; n <= 6; ++n)
            settings.setValue(u"Utente", QStringLiteral("riga %1").arg(n), QString::fromUtf8(lines[n - 1]));
    }
    void TearDown() override { Clock::unpin(); }

    test::TempBase base;
    Settings settings{base.path()};
};

}  // namespace

TEST_F(PartnerLists, TitleByKind) {
    EXPECT_EQ(PartnerListReport::titleFor(PartnerKind::Clienti), QStringLiteral("Anagrafica Clienti"));
    EXPECT_EQ(PartnerListReport::titleFor(PartnerKind::Fornitori), QStringLiteral("Anagrafica Fornitori"));
    EXPECT_EQ(PartnerListReport::titleFor(PartnerKind::ClientiFornitori),
              QStringLiteral("Anagrafica Clienti e Fornitori"));
    EXPECT_EQ(PartnerListReport::titleFor(PartnerKind::Tutti), QStringLiteral("Anagrafica"));
    const QStringList choices = PartnerListReport::choices();
    ASSERT_EQ(choices.size(), 3);
    for (int i = 0; i < 3; ++i) {
        // Each choice's caption names the columns of the report it creates.
        const auto rpt = PartnerListReport::create(i, settings);
        QStringList captions;
        for (const auto& c : rpt->columns()) captions << c.caption;
        EXPECT_EQ(captions.join(QStringLiteral(" - ")), QString(choices[i]).replace(QStringLiteral("C.F. G"), QStringLiteral("C.F. - G")));
    }
}

// One reference per situation; the reference files are the expected prints.
TEST_F(PartnerLists, RenderMatchesReferences) {
    struct Case {
        int choice;
        PartnerKind kind;
        int rows;
        const char* hidden;
        const char* ref;
        int pages;
    };
    const Case cases[] = {
        {0, PartnerKind::Clienti, 4, nullptr, "lista1_una_pagina.txt", 1},
        {1, PartnerKind::Fornitori, 110, nullptr, "lista2_piu_pagine.txt", 3},
        {2, PartnerKind::ClientiFornitori, 3, nullptr, "lista3_una_pagina.txt", 1},
        {0, PartnerKind::Tutti, 0, nullptr, "lista1_vuota.txt", 1},
        {0, PartnerKind::Clienti, 4, "CELL", "lista1_senza_cell.txt", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ref);
        auto rpt = PartnerListReport::create(c.choice, settings);
        rpt->setRows(partners(c.rows));
        rpt->setKind(c.kind);
        if (c.hidden) rpt->setColumnHidden(QString::fromLatin1(c.hidden), true);
        const PageModel m = rpt->render();
        EXPECT_EQ(m.pageCount(), c.pages);
        for (int p = 0; p < m.pageCount(); ++p) {
            const QString t = m.pageText(p);
            EXPECT_TRUE(t.startsWith(QStringLiteral("Ferramenta Bianchi S.n.c.")));
            EXPECT_TRUE(t.contains(QStringLiteral("info@ferramentabianchi.it")));
            EXPECT_FALSE(t.contains(QStringLiteral("P.IVA 01234567890")));  // line 6 is not part of it
            EXPECT_EQ(t.contains(QStringLiteral("-- segue -->")), p + 1 < m.pageCount()) << p;
        }
        if (c.hidden) {
            EXPECT_FALSE(m.text().contains(QStringLiteral("333 ")));
        }
        test::expectMatchesReference(m, QString::fromLatin1(c.ref));
    }
}

TEST_F(PartnerLists, LongNamesGrowTheirRow) {
    Rows rows = partners(3);
    rows[1][QStringLiteral("nome")] = QStringLiteral(
        "Consorzio Agrario Provinciale delle Cooperative Riunite della Bassa Romagna e del Ferrarese Soc. Coop.");
    Tqr_lista_anagrafica rpt(settings);
    rpt.setRows(rows);
    const PageModel m = rpt.render();
    double top2 = -1, top3 = -1, top1 = -1;
    for (const PageItem& it : m.pages[0].items) {
        if (it.text == u"C0001") top1 = it.rect.top();
        if (it.text == u"C0002") top2 = it.rect.top();
        if (it.text == u"C0003") top3 = it.rect.top();
    }
    ASSERT_GT(top1, 0);
    EXPECT_GT(top3 - top2, 1.5 * (top2 - top1));
    test::expectMatchesReference(m, QStringLiteral("lista1_riga_che_cresce.txt"));
}

TEST_F(PartnerLists, BatchPdfHoldsTheSameText) {
    Tqr_lista_anagrafica2 rpt(settings);
    rpt.setRows(partners(110));
    rpt.setKind(PartnerKind::Clienti);
    const QString pdf = base.file(QStringLiteral("lista.pdf"));
    QString error;
    ASSERT_TRUE(rpt.exportPdf(pdf, &error)) << error.toStdString();
    bool available = false;
    const QStringList pages = test::pdfPages(pdf, &available);
    if (!available) GTEST_SKIP() << "pdftotext not installed";
    const PageModel m = rpt.render();
    ASSERT_EQ(pages.size(), m.pageCount());
    for (int p = 0; p < m.pageCount(); ++p) {
        // Row by row: each printed row reads the same in the PDF, in the same order.
        QStringList expected;
        for (const QString& row : m.pageText(p).split(u'\n', Qt::SkipEmptyParts))
            expected << test::words(row).join(u' ');
        QStringList got;
        for (const QString& row : pages[p].split(u'\n', Qt::SkipEmptyParts))
            if (!row.trimmed().isEmpty()) got << test::words(row).join(u' ');
        EXPECT_EQ(got, expected) << "page " << p + 1;
    }
}
