#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QPrinter>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>

#include "report/Engine.h"
#include "report/PreviewWindow.h"
#include "tests/report/ReportTestSupport.h"
#include "tests/TestSupport.h"
#include "ui/Dialogs.h"

using namespace zel;
using namespace zel::report;

namespace {

PageModel threePages() {
    Layout l;
    l.name = QStringLiteral("Prova anteprima");
    l.pageSize = QSizeF(100, 60);
    l.margins = QMarginsF(5, 5, 5, 5);
    l.detail.height = 10;
    l.detail.add(Item::field(QRectF(0, 0, 80, 8), QStringLiteral("T")));
    Rows rows;
    for (int i = 1; i <= 12; ++i) rows << Row{{QStringLiteral("T"), QStringLiteral("Voce%1").arg(i)}};
    return render(l, rows);
}

template <typename W>
W* child(QWidget& w, const char* name) {
    W* c = w.findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(c, nullptr) << name;
    return c;
}

}  // namespace

TEST(PreviewWindow, NavigatesZoomsPrintsAndExports) {
    test::TempBase base;
    Dialogs::instance().setScripted(true);
    Dialogs::instance().reset();
    const PageModel model = threePages();
    ASSERT_EQ(model.pageCount(), 3);
    PreviewWindow w(model, 2);
    w.show();

    auto* label = child<QLabel>(w, "lbl_pagina");
    auto* canvas = child<QLabel>(w, "img_pagina");
    ASSERT_TRUE(label && canvas);
    EXPECT_EQ(label->text(), QStringLiteral("Pagina 1 di 3"));
    EXPECT_FALSE(child<QToolButton>(w, "btn_precedente")->isEnabled());
    QTest::mouseClick(child<QToolButton>(w, "btn_successiva"), Qt::LeftButton);
    EXPECT_EQ(label->text(), QStringLiteral("Pagina 2 di 3"));
    QTest::mouseClick(child<QToolButton>(w, "btn_ultima"), Qt::LeftButton);
    EXPECT_EQ(label->text(), QStringLiteral("Pagina 3 di 3"));
    EXPECT_FALSE(child<QToolButton>(w, "btn_successiva")->isEnabled());
    QTest::mouseClick(child<QToolButton>(w, "btn_prima"), Qt::LeftButton);
    EXPECT_EQ(w.currentPage(), 0);

    const int width100 = canvas->pixmap().width();
    auto* zoom = child<QComboBox>(w, "cmb_zoom");
    zoom->setCurrentIndex(zoom->findText(QStringLiteral("200%")));
    EXPECT_DOUBLE_EQ(w.zoom(), 2.0);
    EXPECT_NEAR(canvas->pixmap().width(), 2 * width100, 2);

    // Print: the caller's copies reach the printer; the chooser stands in for the dialog.
    EXPECT_EQ(child<QSpinBox>(w, "num_copie")->value(), 2);
    const QString printed = base.file(QStringLiteral("stampa.pdf"));
    int askedCopies = 0;
    w.setPrinterChooser([&](QPrinter& p) {
        askedCopies = p.copyCount();
        p.setOutputFormat(QPrinter::PdfFormat);
        p.setOutputFileName(printed);
        return true;
    });
    QTest::mouseClick(child<QToolButton>(w, "btn_stampa"), Qt::LeftButton);
    EXPECT_EQ(askedCopies, 2);

    const QString exported = base.file(QStringLiteral("esportato.pdf"));
    w.setPdfPathChooser([&] { return exported; });
    auto* pdfButton = child<QToolButton>(w, "btn_esporta_pdf");
    EXPECT_EQ(pdfButton->text(), QStringLiteral("Esporta PDF"));
    QTest::mouseClick(pdfButton, Qt::LeftButton);
    EXPECT_TRUE(Dialogs::instance().shown().isEmpty());

    bool available = false;
    const QStringList printedPages = test::pdfPages(printed, &available);
    const QStringList exportedPages = test::pdfPages(exported, &available);
    if (available) {
        EXPECT_EQ(printedPages.size(), 6);  // two copies of three pages
        ASSERT_EQ(exportedPages.size(), 3);
        EXPECT_TRUE(exportedPages[2].contains(QStringLiteral("Voce12")));
    }

    // A file that cannot be written is reported, not ignored.
    w.setPdfPathChooser([&] { return base.file(QStringLiteral("manca/qui.pdf")); });
    QTest::mouseClick(pdfButton, Qt::LeftButton);
    ASSERT_EQ(Dialogs::instance().shown().size(), 1);
    EXPECT_EQ(Dialogs::instance().shown()[0].title, QStringLiteral("Esporta PDF"));

    QTest::mouseClick(child<QToolButton>(w, "btn_chiudi"), Qt::LeftButton);
    EXPECT_FALSE(w.isVisible());
    Dialogs::instance().reset();
    Dialogs::instance().setScripted(false);
}
