#include <gtest/gtest.h>

#include <QImage>

#include "report/Engine.h"
#include "ui/Formats.h"
#include "report/Output.h"
#include "tests/report/ReportTestSupport.h"
#include "tests/TestSupport.h"

using namespace zel;
using namespace zel::report;

namespace {

// A small invoice-like layout: lines with amounts, groups by customer, a footer with
// "-- segue -->" before the last page and the total on the last.
Layout invoiceLike(double pageHeight = 150) {
    Layout l;
    l.name = QStringLiteral("prova");
    l.pageSize = QSizeF(210, pageHeight);
    l.margins = QMarginsF(10, 10, 10, 10);
    l.pageHeader.height = 8;
    l.pageHeader.add(Item::label(QRectF(0, 0, 100, 6), QStringLiteral("Elenco prove")).bold());
    l.pageHeader.add(Item::expression(QRectF(140, 0, 50, 6), [](const Context& c) {
                         return QStringLiteral("Pagina %1").arg(c.page);
                     }).align(Qt::AlignRight));
    l.title.height = 6;
    l.title.add(Item::label(QRectF(0, 0, 100, 5), QStringLiteral("Solo in prima pagina")));
    l.columnHeader.height = 6;
    l.columnHeader.add(Item::label(QRectF(0, 0, 30, 5), QStringLiteral("Codice")));
    l.columnHeader.add(Item::label(QRectF(30, 0, 100, 5), QStringLiteral("Descrizione")));
    l.columnHeader.add(Item::label(QRectF(150, 0, 40, 5), QStringLiteral("Imponibile")).align(Qt::AlignRight));
    l.columnHeader.add(Item::line(QRectF(0, 5.5, 190, 0)));
    l.detail.height = 5;
    l.detail.add(Item::field(QRectF(0, 0, 30, 5), QStringLiteral("cod")));
    l.detail.add(Item::field(QRectF(30, 0, 100, 5), QStringLiteral("DES")).wrap());
    l.detail.add(Item::expression(QRectF(150, 0, 40, 5), [](const Context& c) {
                     return fmt::number(c.number(u"PREZZO") * c.number(u"QUANT"), u"###,##0.00");
                 }).align(Qt::AlignRight));
    l.detail.add(Item::frame(QRectF(0, 0, 190, 5)).stretchWithBand());
    Group g;
    g.key = [](const Context& c) { return c.value(u"COD_CLI"); };
    g.header.height = 6;
    g.header.add(Item::expression(QRectF(0, 0, 100, 5), [](const Context& c) {
        return QStringLiteral("Cliente ") + c.text(u"COD_CLI");
    }).bold());
    g.footer.height = 6;
    g.footer.add(Item::expression(QRectF(100, 0, 90, 5), [](const Context& c) {
        double sum = 0;
        const QVariant key = c.value(u"COD_CLI");
        for (const Row& r : *c.rows)
            if (r.value(QStringLiteral("COD_CLI")) == key)
                sum += r.value(QStringLiteral("PREZZO")).toDouble() * r.value(QStringLiteral("QUANT")).toDouble();
        return QStringLiteral("Totale ") + key.toString() + QStringLiteral(": ") + fmt::number(sum, u"###,##0.00");
    }).align(Qt::AlignRight));
    l.groups.push_back(std::move(g));
    l.summary.height = 6;
    l.summary.add(Item::expression(QRectF(0, 0, 100, 5), [](const Context& c) {
        return QStringLiteral("Righe: %1").arg(c.rowCount());
    }));
    l.pageFooter.height = 6;
    l.pageFooter.add(Item::label(QRectF(0, 0, 190, 5), QStringLiteral("-- segue -->"))
                         .align(Qt::AlignRight)
                         .when([](const Context& c) { return !c.isLastPage(); }));
    l.pageFooter.add(Item::expression(QRectF(0, 0, 100, 5), [](const Context& c) {
                         return QStringLiteral("Fine documento, pagine: %1").arg(c.pageCount);
                     }).when([](const Context& c) { return c.isLastPage(); }));
    return l;
}

Row line(const char* cli, const char* cod, const QString& des, double prezzo, double quant) {
    return {{QStringLiteral("COD_CLI"), QString::fromLatin1(cli)},
            {QStringLiteral("COD"), QString::fromLatin1(cod)},
            {QStringLiteral("des"), des},
            {QStringLiteral("PREZZO"), prezzo},
            {QStringLiteral("QUANT"), quant}};
}

Rows manyLines() {
    Rows rows;
    for (int i = 1; i <= 14; ++i)
        rows << line(i <= 8 ? "C1" : "C2", QStringLiteral("A%1").arg(i, 3, 10, QChar(u'0')).toLatin1().constData(),
                     QStringLiteral("Articolo %1").arg(i), 10.5 * i, i % 3 + 1);
    return rows;
}

double bodyBottom(const Page& page, double footerTop) {
    double bottom = 0;
    for (const PageItem& it : page.items)
        if (it.rect.top() < footerTop - 0.01) bottom = std::max(bottom, it.rect.bottom());
    return bottom;
}

}  // namespace

TEST(ReportEngine, OnePageWithGroupsAndSummary) {
    const Rows rows = {line("C1", "A1", QStringLiteral("Vite"), 1234.5, 2),
                       line("C1", "A2", QStringLiteral("Dado"), 0.25, 4),
                       line("C2", "B1", QStringLiteral("Rondella"), 3, 1)};
    const PageModel m = render(invoiceLike(), rows);
    ASSERT_EQ(m.pageCount(), 1);
    test::expectMatchesReference(m, QStringLiteral("engine_one_page.txt"));
}

TEST(ReportEngine, DetailFlowsOverPagesAndFootersKnowTheLastPage) {
    const Layout l = invoiceLike(80);  // short pages, so a few rows paginate
    const PageModel m = render(l, manyLines());
    ASSERT_GE(m.pageCount(), 3);
    const double footerTop = l.pageSize.height() - l.margins.bottom() - l.pageFooter.height;
    for (int p = 0; p < m.pageCount(); ++p) {
        const QString text = m.pageText(p);
        const bool last = p + 1 == m.pageCount();
        EXPECT_EQ(text.contains(QStringLiteral("-- segue -->")), !last) << p;
        EXPECT_EQ(text.contains(QStringLiteral("Fine documento")), last) << p;
        EXPECT_TRUE(text.contains(QStringLiteral("Pagina %1").arg(p + 1))) << p;
        EXPECT_TRUE(text.contains(QStringLiteral("Codice | Descrizione | Imponibile"))) << p;
        EXPECT_EQ(text.contains(QStringLiteral("Solo in prima pagina")), p == 0) << p;
        EXPECT_LE(bodyBottom(m.pages[static_cast<size_t>(p)], footerTop), footerTop + 1e-6) << p;
    }
    // Every row printed once, in order.
    const QString all = m.text();
    qsizetype at = 0;
    for (int i = 1; i <= 14; ++i) {
        const qsizetype found = all.indexOf(QStringLiteral("A%1").arg(i, 3, 10, QChar(u'0')), at);
        ASSERT_GE(found, at) << i;
        at = found;
    }
    test::expectMatchesReference(m, QStringLiteral("engine_many_pages.txt"));
}

TEST(ReportEngine, BandGrowsWithWrappedTextAndPushesTheNextRow) {
    const QString longText = QStringLiteral(
        "Descrizione molto lunga che non sta in una sola riga della colonna e quindi va a capo "
        "più volte, spingendo in basso la riga seguente senza sovrapporsi");
    const Rows rows = {line("C1", "A1", longText, 1, 1), line("C1", "A2", QStringLiteral("Breve"), 2, 1)};
    const PageModel m = render(invoiceLike(), rows);
    ASSERT_EQ(m.pageCount(), 1);
    const Page& page = m.pages[0];
    double a1Top = -1, a2Top = -1, frameHeight = -1, lastDesBottom = 0;
    int desLines = 0;
    for (const PageItem& it : page.items) {
        if (it.text == u"A1") a1Top = it.rect.top();
        if (it.text == u"A2") a2Top = it.rect.top();
        if (it.kind == PageItem::Kind::Frame && frameHeight < 0) frameHeight = it.rect.height();
        if (it.kind == PageItem::Kind::Text && it.rect.left() > 39 && it.rect.left() < 41 &&
            a1Top >= 0 && a2Top < 0) {
            ++desLines;
            lastDesBottom = std::max(lastDesBottom, it.rect.bottom());
        }
    }
    ASSERT_GE(a1Top, 0);
    EXPECT_GE(desLines, 2);
    EXPECT_GT(frameHeight, 5.0);  // the frame followed the growth
    EXPECT_GE(a2Top + 1e-6, lastDesBottom);
    EXPECT_NEAR(a2Top - a1Top, frameHeight, 1e-6);
    test::expectMatchesReference(m, QStringLiteral("engine_grows.txt"));
}

TEST(ReportEngine, EmptyRowsGiveOnePageWithHeadersAndSummary) {
    const PageModel m = render(invoiceLike(), {});
    ASSERT_EQ(m.pageCount(), 1);
    EXPECT_FALSE(m.text().contains(QStringLiteral("Cliente")));
    EXPECT_TRUE(m.text().contains(QStringLiteral("Righe: 0")));
    EXPECT_FALSE(m.text().contains(QStringLiteral("-- segue -->")));
}

TEST(ReportEngine, ImagesFitTheirBoxAndConditionsHideItems) {
    QImage wide(400, 100, QImage::Format_RGB32);
    wide.fill(Qt::red);
    Layout l;
    l.title.height = 40;
    l.title.add(Item::picture(QRectF(0, 0, 80, 40), wide, ImageFit::Proportional));
    l.title.add(Item::picture(QRectF(100, 0, 80, 40), wide, ImageFit::Stretch));
    l.title.add(Item::picture(QRectF(0, 0, 80, 40), QImage(), ImageFit::Stretch));
    l.title.add(Item::label(QRectF(0, 30, 50, 5), QStringLiteral("nascosto"))
                    .when([](const Context&) { return false; }));
    l.title.add(Item::filled(QRectF(0, 35, 50, 5), QColor(230, 230, 230)));
    const PageModel m = render(l, {});
    ASSERT_EQ(m.pageCount(), 1);
    std::vector<QRectF> images;
    int fills = 0;
    for (const PageItem& it : m.pages[0].items) {
        if (it.kind == PageItem::Kind::Image) images.push_back(it.rect);
        if (it.kind == PageItem::Kind::Rect) ++fills;
    }
    ASSERT_EQ(images.size(), 2u);
    EXPECT_EQ(images[0], QRectF(10, 10, 80, 20));  // aspect 4:1 kept inside 80 x 40
    EXPECT_EQ(images[1], QRectF(110, 10, 80, 40));
    EXPECT_EQ(fills, 1);
    EXPECT_FALSE(m.text().contains(QStringLiteral("nascosto")));
}

TEST(ReportEngine, TextTooWideForItsBoxIsCut) {
    Layout l;
    l.detail.height = 5;
    l.detail.add(Item::field(QRectF(0, 0, 12, 5), QStringLiteral("NOME")));
    const PageModel m = render(l, {{{QStringLiteral("NOME"), QStringLiteral("Ragione sociale lunghissima")}}});
    ASSERT_EQ(m.pageCount(), 1);
    const QString printed = m.pageText(0).trimmed();
    EXPECT_FALSE(printed.isEmpty());
    EXPECT_TRUE(QStringLiteral("Ragione sociale lunghissima").startsWith(printed));
    EXPECT_LT(printed.size(), 27);
    EXPECT_LE(TextMetrics::width(defaultFont(), printed), 12.0);
}

TEST(ReportEngine, BatchPdfHoldsThePageModelText) {
    test::TempBase base;
    const Layout l = invoiceLike(80);
    const Rows rows = manyLines();
    const QString pdf = base.file(QStringLiteral("prova.pdf"));
    QString error;
    ASSERT_TRUE(renderToPdf(l, rows, pdf, &error)) << error.toStdString();
    bool available = false;
    const QStringList pages = test::pdfPages(pdf, &available);
    if (!available) GTEST_SKIP() << "pdftotext not installed";
    const PageModel m = render(l, rows);
    ASSERT_EQ(pages.size(), m.pageCount());
    for (int p = 0; p < m.pageCount(); ++p) {
        QStringList expected = test::words(m.pageText(p));
        QStringList got = test::words(pages[p]);
        std::sort(expected.begin(), expected.end());
        std::sort(got.begin(), got.end());
        EXPECT_EQ(got, expected) << "page " << p + 1;
    }
}
