#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "core/Paths.h"
#include "receipts/Tfrm_scorre_ricevute_fiscali.h"
#include "report/PageFile.h"
#include "report/PageModel.h"
#include "settings/Settings.h"
#include "tests/WindowFixture.h"
#include "tests/store/SqliteProbe.h"
#include "ui/Dialogs.h"
#include "ui/TrayNotice.h"

using namespace zel;
using namespace zel::test;
using namespace Qt::Literals::StringLiterals;

namespace {

class ReceiptBrowser : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        receipts = settings->text(u"Path", u"Archivio ricevute fiscali");
        TrayNotice::instance().reset();
    }
    void TearDown() override {
        win.reset();
        WindowFixture::TearDown();
    }
    void open() {
        win = std::make_unique<Tfrm_scorre_ricevute_fiscali>(ctx);
        win->showPreview = [this](const report::PageModel& m) { previewed = m.text(); };
        win->print = [this](const report::PageModel& m) {
            printed = m.text();
            return printWorks;
        };
        win->show();
        win->FormShow();
    }
    void row(int numero, int id, const QString& des, double importo, double iva, double rate, const QString& ora,
             const QString& anno = u"24"_s) {
        Probe::exec(receipts, u"INSERT INTO %1 (ANNO, DATA, DES, IMPONIBILE, IMPORTO, IVA1, COD_IVA1, NUMERO, ORA, QUANT, "
                              "NOTE, ID) VALUES ('%2', '2024-03-05', '%3', %4, %5, %6, %7, %8, '%9', 1, "
                              "'Ricevuta fiscale', %10)"_s.arg(fileStem(receipts), anno, des)
                                  .arg(importo - iva)
                                  .arg(importo)
                                  .arg(iva)
                                  .arg(rate)
                                  .arg(numero)
                                  .arg(ora)
                                  .arg(id));
    }
    template <class T>
    T* w(const QString& name) {
        T* x = win->findChild<T*>(name);
        EXPECT_NE(x, nullptr) << qPrintable(name);
        return x;
    }
    void click(const QString& name) { QTest::mouseClick(w<QPushButton>(name), Qt::LeftButton); }
    QString copyPath() const { return QDir(base.file(u"ricfisc"_s)).filePath(u"rf15-24.qrp"_s); }

    QString receipts;
    QString previewed;
    QString printed;
    bool printWorks = true;
    std::unique_ptr<Tfrm_scorre_ricevute_fiscali> win;
};

TEST_F(ReceiptBrowser, ReprintShowsVatUnderItsOwnRateAndSavesACopyThatOpensAgain) {
    row(14, 1, u"Prima"_s, 1.22, 0.22, 22, u"09:00:00"_s);
    row(15, 2, u"Vite"_s, 12.20, 2.20, 22, u"10:11:12"_s);
    row(15, 3, u"Libro"_s, 5.20, 0.20, 4, u"10:11:13"_s);
    QDir(base.file(u"ricfisc"_s)).removeRecursively();
    open();
    auto* list = w<QTableWidget>(u"grid_ricevute"_s);
    ASSERT_EQ(list->rowCount(), 2);
    EXPECT_EQ(w<QLabel>(u"lbl_conta"_s)->text(), u"Ricevute: 2"_s);
    EXPECT_EQ(list->item(1, 2)->text(), u"17,40"_s);
    click(u"btn_inizio"_s);
    EXPECT_EQ(w<QTableWidget>(u"grid_righe"_s)->rowCount(), 1);
    click(u"btn_avanti"_s);
    EXPECT_EQ(w<QTableWidget>(u"grid_righe"_s)->rowCount(), 2);
    EXPECT_EQ(w<QLabel>(u"lbl_totali"_s)->text(), u"Totale 17,40   IVA 4% 0,20   IVA 10% -   IVA 22% 2,20"_s);

    click(u"btn_ristampa"_s);
    EXPECT_TRUE(printed.contains(u"N. 15/24"_s)) << qPrintable(printed);
    EXPECT_TRUE(printed.contains(u"IVA 4% | 0,20"_s)) << qPrintable(printed);
    EXPECT_TRUE(printed.contains(u"IVA 10% | -"_s)) << qPrintable(printed);
    EXPECT_TRUE(printed.contains(u"IVA 22% | 2,20"_s)) << qPrintable(printed);
    EXPECT_TRUE(printed.contains(u"05/03/2024"_s)) << qPrintable(printed);
    ASSERT_TRUE(QFile::exists(copyPath()));
    EXPECT_EQ(TrayNotice::instance().shown().last().text, u"Stampa Ricevuta fiscale terminata! "_s);

    win->chooseSavedCopy = [this] { return copyPath(); };
    click(u"btn_apri"_s);
    EXPECT_EQ(previewed, printed);
}

TEST_F(ReceiptBrowser, RateOutsideTheThreeGetsItsOwnLine) {
    row(1, 1, u"Vite"_s, 10.50, 0.50, 5, u"10:00:00"_s, QString());
    open();
    click(u"btn_ristampa"_s);
    EXPECT_TRUE(printed.contains(u"IVA 5% | 0,50"_s)) << qPrintable(printed);
    EXPECT_TRUE(printed.contains(u"IVA 22% | -"_s)) << qPrintable(printed);
    // The year comes from the receipt's date when its own year is missing.
    EXPECT_TRUE(printed.contains(u"N. 1/24"_s)) << qPrintable(printed);
}

TEST_F(ReceiptBrowser, FailedPrintOrSaveIsToldAndNoticeOnlyAfterARealPrint) {
    row(15, 1, u"Vite"_s, 12.20, 2.20, 22, u"10:11:12"_s);
    open();
    printWorks = false;
    click(u"btn_ristampa"_s);
    EXPECT_TRUE(TrayNotice::instance().shown().isEmpty());
    EXPECT_FALSE(QFile::exists(copyPath()));
    ASSERT_FALSE(Dialogs::instance().shown().isEmpty());

    printWorks = true;
    QDir(base.file(u"ricfisc"_s)).removeRecursively();
    base.write(u"ricfisc"_s, "occupato");  // a file where the folder should be
    click(u"btn_ristampa"_s);
    EXPECT_TRUE(Dialogs::instance().shown().last().text.startsWith(u"Non riesco a creare"_s))
        << qPrintable(Dialogs::instance().shown().last().text);
}

TEST_F(ReceiptBrowser, OpeningAFileThatIsNotASavedPrintIsRefused) {
    base.write(u"altro.qrp"_s, "niente");
    open();
    win->chooseSavedCopy = [this] { return base.file(u"altro.qrp"_s); };
    click(u"btn_apri"_s);
    EXPECT_TRUE(previewed.isEmpty());
    ASSERT_FALSE(Dialogs::instance().shown().isEmpty());
    EXPECT_TRUE(Dialogs::instance().shown().last().text.contains(u"non è una stampa salvata"_s));
}

TEST_F(ReceiptBrowser, ListPrintHasEveryLine) {
    row(2, 2, u"Dado"_s, 1.22, 0.22, 22, u"10:00:00"_s);
    row(1, 1, u"Vite"_s, 12.20, 2.20, 22, u"09:00:00"_s);
    open();
    click(u"btn_stampa_elenco"_s);
    EXPECT_LT(previewed.indexOf(u"Vite"_s), previewed.indexOf(u"Dado"_s));
    EXPECT_TRUE(previewed.contains(u"Totale | 13,42"_s)) << qPrintable(previewed);
}

}  // namespace
