#include <QCheckBox>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <functional>

#include "registry/ReferenceData.h"
#include "registry/Tfrm_cerca.h"
#include "store/Store.h"
#include "tests/WindowFixture.h"
#include "ui/Dialogs.h"

using namespace zel;
using namespace zel::test;
using namespace Qt::Literals::StringLiterals;

namespace {

class SearchDialog : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        ASSERT_TRUE(installReferenceTables(base.path()).isEmpty());
        article(u"V01"_s, u"Vite a legno"_s, 0.25, 22, 100, 40);
        article(u"D02"_s, u"Dado M8"_s, 0.1, 10, 5, 5);
        article(u"AB - 1"_s, u"Bullone"_s, 1, 22, 1, 0);
        article(u"AB"_s, u"Rondella"_s, 2, 4, 1, 0);
        partner(u"00001"_s, u"Rossi Mario"_s);
        partner(u"00002"_s, u"Bianchi & Figli"_s);
        partner(u"F0003"_s, u"Ferramenta Rossini"_s);
        dialog = std::make_unique<Tfrm_cerca>(ctx);
    }
    void TearDown() override {
        dialog.reset();
        WindowFixture::TearDown();
    }

    void article(const QString& cod, const QString& des, double price, double vat, double loaded, double unloaded,
                 const QString& picture = {}) {
        store->exec(u"INSERT INTO %1 (COD, DES, PREZZO_VEN, IVA, QCA, QSC, IMMAGINE1) VALUES (?, ?, ?, ?, ?, ?, ?)"_s.arg(
                        store->table(data(u"magazzino.db"_s))),
                    {cod, des, price, vat, loaded, unloaded, picture});
    }
    void partner(const QString& code, const QString& name) {
        store->exec(u"INSERT INTO %1 (COD_CLI, NOME) VALUES (?, ?)"_s.arg(store->table(data(u"anagrafica.db"_s))),
                    {code, name});
    }

    template <class T>
    T* control(const QString& name) {
        T* w = dialog->findChild<T*>(name);
        EXPECT_NE(w, nullptr) << qPrintable(name);
        return w;
    }
    QString text(const QString& field) { return control<QLineEdit>(field)->text(); }
    QString label(const QString& name) { return control<QLabel>(name)->text(); }
    void type(const QString& field, const QString& typed) {
        QLineEdit* e = control<QLineEdit>(field);
        e->clear();
        // Qt Test types only ASCII keys; other text arrives as a paste would.
        const bool ascii = std::all_of(typed.begin(), typed.end(), [](QChar c) { return c.unicode() < 0x80; });
        if (ascii)
            QTest::keyClicks(e, typed);
        else
            e->setText(typed);
    }
    void click(const QString& button) { QTest::mouseClick(control<QPushButton>(button), Qt::LeftButton); }
    QStringList lines(const QString& list) {
        QStringList out;
        QAbstractItemModel* m = control<QListView>(list)->model();
        for (int r = 0; r < m->rowCount(); ++r) out.append(m->index(r, 0).data().toString());
        return out;
    }
    void clickLine(const QString& list, const QString& line, bool twice = false) {
        QListView* v = control<QListView>(list);
        const int row = static_cast<int>(lines(list).indexOf(line));
        ASSERT_GE(row, 0) << qPrintable(line);
        const QModelIndex i = v->model()->index(row, 0);
        v->scrollTo(i);
        const QPoint at = v->visualRect(i).center();
        QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, at);
        // A double click arrives as press, release, double-click, release.
        if (twice) {
            QTest::mouseDClick(v->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseRelease(v->viewport(), Qt::LeftButton, {}, at);
        }
    }
    void showPage(int page) {
        dialog->hide();
        dialog->choosePage(page);
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    }
    // Shows the dialog modally, plays the user's part, and returns the outcome the caller reads.
    int runModal(const std::function<void()>& user) {
        QTimer::singleShot(0, dialog.get(), [&] {
            user();
            if (dialog->isVisible()) {
                ADD_FAILURE() << "the dialog was left open";
                dialog->done(0);
            }
        });
        return dialog->execModal();
    }

    std::unique_ptr<Tfrm_cerca> dialog;
};

}  // namespace

TEST_F(SearchDialog, EveryPageHandsItsChoiceToTheCaller) {
    struct Case {
        QString word, search, typed, list, line, expectCode, expectName;
    };
    const Case cases[] = {
        {u"codice"_s, u"Edit_cod"_s, u"v0"_s, u"memo_cod"_s, u"V01 - Vite a legno"_s, u"V01"_s, u"Vite a legno"_s},
        {u"descrizione"_s, u"Edit_cod2"_s, u"DADO"_s, u"memo_des"_s, u"Dado M8"_s, u"D02"_s, u"Dado M8"_s},
        {u"fornitori"_s, u"edt_cerca_cod_forn"_s, u"ross"_s, u"memo_nomi_forn"_s, u"Ferramenta Rossini"_s, u"F0003"_s,
         u"Ferramenta Rossini"_s},
        {u"fornitori"_s, u"edt_cerca_cod_forn"_s, u"ross"_s, u"memo_codici_forn"_s, u"00001"_s, u"00001"_s,
         u"Rossi Mario"_s},
        {u"clienti"_s, u"edt_cerca_cod_cli"_s, u"figli"_s, u"memo_nomi_cli"_s, u"Bianchi & Figli"_s, u"00002"_s,
         u"Bianchi & Figli"_s},
        {u"cod_cli"_s, u"Edit_cod_cli"_s, u"f0"_s, u"memo_nomi_cod_cli"_s, u"Ferramenta Rossini"_s, u"F0003"_s,
         u"Ferramenta Rossini"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(qPrintable(c.list));
        dialog->setMode(c.word);
        const int outcome = runModal([&] {
            type(c.search, c.typed);
            clickLine(c.list, c.line);
            click(u"btn_conferma%1"_s.arg(dialog->currentPage()));
        });
        EXPECT_EQ(outcome, 1);
        EXPECT_EQ(dialog->outcome(), 1);
        EXPECT_EQ(dialog->foundCode(), c.expectCode);
        EXPECT_EQ(dialog->foundName(), c.expectName);
    }
    dialog->setMode(u"codice"_s);
    EXPECT_DOUBLE_EQ(dialog->foundPrice(), 0.25);
    EXPECT_DOUBLE_EQ(dialog->foundVat(), 22);
    EXPECT_DOUBLE_EQ(dialog->foundStock(), 60);
    EXPECT_EQ(text(u"edt_prezzo_unitario"_s), u"0,25"_s);
    dialog->setMode(u"descrizione"_s);
    EXPECT_DOUBLE_EQ(dialog->foundPrice(), 0.1);
    EXPECT_EQ(text(u"edt_iva2"_s), u"10"_s);
}

TEST_F(SearchDialog, ListsRefreshAtEveryKeystrokeAndShowTheWholeArchiveWhenEmpty) {
    showPage(3);
    EXPECT_EQ(lines(u"memo_nomi_cli"_s), (QStringList{u"Bianchi & Figli"_s, u"Ferramenta Rossini"_s, u"Rossi Mario"_s}));
    EXPECT_EQ(lines(u"memo_codici_cli"_s), (QStringList{u"00002"_s, u"F0003"_s, u"00001"_s}));
    QLineEdit* search = control<QLineEdit>(u"edt_cerca_cod_cli"_s);
    QTest::keyClick(search, Qt::Key_R);
    EXPECT_EQ(lines(u"memo_nomi_cli"_s), (QStringList{u"Ferramenta Rossini"_s, u"Rossi Mario"_s}));
    QTest::keyClick(search, Qt::Key_I);
    EXPECT_EQ(lines(u"memo_codici_cli"_s), (QStringList{u"00001"_s}));
    QTest::keyClick(search, Qt::Key_Backspace);
    EXPECT_EQ(lines(u"memo_nomi_cli"_s).size(), 2);
}

TEST_F(SearchDialog, ModeWordWinsOverTheChosenPageUntilReplaced) {
    const std::pair<QString, int> words[] = {{u"codice"_s, 0},  {u"descrizione"_s, 1}, {u"fornitori"_s, 2},
                                             {u"clienti"_s, 3}, {u"cap"_s, 5},         {u"abi"_s, 6},
                                             {u"cod_cli"_s, 7}, {u"altro"_s, 2}};
    dialog->choosePage(2);
    for (const auto& [word, page] : words) {
        dialog->setMode(word);
        dialog->choosePage(3);
        dialog->choosePage(2);
        EXPECT_EQ(dialog->currentPage(), page) << qPrintable(word);
    }
    dialog->setMode({});
    dialog->choosePage(4);
    EXPECT_EQ(dialog->currentPage(), 2) << "4 is no page";
    control<QLineEdit>(u"edt_scheda"_s)->setText(u"cap"_s);
    showPage(1);
    EXPECT_EQ(dialog->currentPage(), 5) << "written straight into the hidden field";
}

TEST_F(SearchDialog, ClosingWithoutConfirmingIsACancelWhateverCameBefore) {
    const std::pair<const char*, std::function<void(Tfrm_cerca&)>> closings[] = {
        {"window frame", [](Tfrm_cerca& d) { d.close(); }},
        {"Escape", [](Tfrm_cerca& d) { QTest::keyClick(&d, Qt::Key_Escape); }},
        {"Annulla", [](Tfrm_cerca& d) {
             QTest::mouseClick(d.findChild<QPushButton*>(u"btn_annulla7"_s), Qt::LeftButton);
         }},
    };
    dialog->choosePage(7);
    for (const auto& [how, close] : closings) {
        ASSERT_EQ(runModal([&] { click(u"btn_conferma7"_s); }), 1);
        EXPECT_EQ(runModal([&] { close(*dialog); }), 0) << how;
        EXPECT_FALSE(dialog->isVisible());
    }
}

TEST_F(SearchDialog, ArticleCodeIsTheLineUpToTheFirstDash) {
    showPage(0);
    type(u"Edit_cod"_s, u"ab"_s);
    EXPECT_EQ(lines(u"memo_cod"_s), (QStringList{u"AB - 1 - Bullone"_s, u"AB - Rondella"_s}));
    clickLine(u"memo_cod"_s, u"AB - 1 - Bullone"_s);
    EXPECT_EQ(text(u"edt_result"_s), u"AB"_s) << "a code holding \" - \" is cut there";
    EXPECT_EQ(text(u"edt_des1"_s), u"Rondella"_s);
}

TEST_F(SearchDialog, StockIsRedUnlessAboveZero) {
    const std::tuple<QString, QString, QColor> cases[] = {
        {u"V01 - Vite a legno"_s, u"60"_s, Qt::black}, {u"D02 - Dado M8"_s, u"0"_s, Qt::red}};
    article(u"N03"_s, u"Negativo"_s, 1, 22, 1, 3);
    showPage(0);
    for (const auto& [line, stock, colour] : cases) {
        clickLine(u"memo_cod"_s, line);
        EXPECT_EQ(text(u"vr_giac_art"_s), stock);
        EXPECT_EQ(control<QLineEdit>(u"vr_giac_art"_s)->palette().color(QPalette::Text), colour) << qPrintable(line);
    }
    clickLine(u"memo_cod"_s, u"N03 - Negativo"_s);
    EXPECT_EQ(text(u"vr_giac_art"_s), u"-2"_s);
    EXPECT_EQ(control<QLineEdit>(u"vr_giac_art"_s)->palette().color(QPalette::Text), QColor(Qt::red));
}

TEST_F(SearchDialog, PictureAppearsOnlyForArticlesWithOneAndLoadsWhenTicked) {
    QImage img(8, 8, QImage::Format_RGB32);
    img.fill(Qt::blue);
    ASSERT_TRUE(img.save(base.file(u"foto.png"_s)));
    article(u"P01"_s, u"Pinza"_s, 5, 22, 3, 0, base.file(u"foto.png"_s));
    const std::tuple<int, QString, QString, QString, QString> pages[] = {
        {0, u"memo_cod"_s, u"P01 - Pinza"_s, u"V01 - Vite a legno"_s, u""_s},
        {1, u"memo_des"_s, u"Pinza"_s, u"Vite a legno"_s, u"2"_s}};
    for (const auto& [page, list, withPicture, without, suffix] : pages) {
        SCOPED_TRACE(page);
        showPage(page);
        QCheckBox* box = control<QCheckBox>(u"chk_vedi_foto"_s + suffix);
        QLabel* panel = control<QLabel>(u"img_foto"_s + suffix);
        clickLine(list, without);
        EXPECT_FALSE(box->isVisible());
        EXPECT_FALSE(panel->isVisible());
        clickLine(list, withPicture);
        EXPECT_TRUE(box->isVisible());
        EXPECT_TRUE(panel->pixmap().isNull());
        box->click();
        EXPECT_FALSE(panel->pixmap().isNull());
        box->click();
        EXPECT_TRUE(panel->pixmap().isNull());
    }
}

TEST_F(SearchDialog, TypedTextIsMatchedLiterally) {
    partner(u"00010"_s, u"Bar dell'Angolo"_s);
    partner(u"00011"_s, u"Sconto 50% Srl"_s);
    partner(u"00012"_s, u"Sconto 500 Srl"_s);
    partner(u"00013"_s, u"Ditta_Uno"_s);
    partner(u"00014"_s, u"DittaXUno"_s);
    partner(u"00015"_s, u"Il \"Ponte\""_s);
    partner(u"00016"_s, u"CAFFÈ DELLA PIAZZA"_s);
    partner(u"00017"_s, u"Caffe Nero"_s);
    const std::pair<QString, QStringList> cases[] = {
        {u"l'a"_s, {u"Bar dell'Angolo"_s}},
        {u"50%"_s, {u"Sconto 50% Srl"_s}},
        {u"a_u"_s, {u"Ditta_Uno"_s}},
        {u"\"p"_s, {u"Il \"Ponte\""_s}},
        {u"'; DROP TABLE anagrafica; --"_s, {}},
        {u"caffè"_s, {u"CAFFÈ DELLA PIAZZA"_s}},
        {u"CAFFE"_s, {u"Caffe Nero"_s}},
        {u"*[k]?"_s, {}},
    };
    showPage(2);
    for (const auto& [typed, expected] : cases) {
        type(u"edt_cerca_cod_forn"_s, typed);
        EXPECT_EQ(lines(u"memo_nomi_forn"_s), expected) << qPrintable(typed);
    }
    type(u"edt_cerca_cod_forn"_s, u"l'a"_s);
    clickLine(u"memo_nomi_forn"_s, u"Bar dell'Angolo"_s);
    EXPECT_EQ(text(u"edt_cod_forn"_s), u"00010"_s);
    EXPECT_TRUE(Dialogs::instance().shown().isEmpty());
}

TEST_F(SearchDialog, PostCodeByCityFillsASingleMatchAndListsSeveral) {
    struct Case {
        QString city, cap, prov, prefix;
        qsizetype listed;
    };
    const Case cases[] = {
        {u"ozzano dell'"_s, u"40064"_s, u"BO"_s, u"051"_s, 0},
        {u"nessun luogo"_s, u""_s, u""_s, u""_s, 0},
        {u"Vicchio"_s, u"50039"_s, u"FI"_s, u"055"_s, 0},
        {u"milano"_s, u""_s, u"MI"_s, u"02"_s, 38},
    };
    showPage(5);
    QWidget* panel = control<QWidget>(u"pnl_trovato"_s);
    EXPECT_FALSE(panel->isVisible());
    for (const Case& c : cases) {
        SCOPED_TRACE(qPrintable(c.city));
        control<QLineEdit>(u"edt_cap"_s)->clear();
        type(u"edt_trova_citta"_s, c.city);
        click(u"btn_avvia_citta"_s);
        EXPECT_TRUE(panel->isVisible());
        EXPECT_EQ(text(u"edt_cap"_s), c.cap);
        EXPECT_EQ(text(u"edt_provincia"_s), c.prov);
        EXPECT_EQ(text(u"edt_prefisso"_s), c.prefix);
        EXPECT_EQ(lines(u"memo_cap"_s).size(), c.listed);
    }
    EXPECT_TRUE(lines(u"memo_cap"_s).contains(u"20121 - Milano - MI"_s));
    clickLine(u"memo_cap"_s, u"20121 - Milano - MI"_s);
    EXPECT_EQ(dialog->foundCap(), u"20121"_s);
    EXPECT_EQ(dialog->foundPrefix(), u"02"_s);
    control<QLineEdit>(u"edt_trova_citta"_s)->clear();
    EXPECT_FALSE(panel->isVisible());
}

TEST_F(SearchDialog, PostCodeOrProvinceSearchUsesTheBoxTypedLast) {
    showPage(5);
    type(u"edt_trova_prov"_s, u"ao"_s);
    type(u"edt_trova_cap"_s, u"5003"_s);
    click(u"btn_avvia_cap"_s);
    EXPECT_TRUE(lines(u"memo_cap"_s).contains(u"50039 - Vicchio - FI"_s));
    EXPECT_FALSE(lines(u"memo_cap"_s).join(u'|').contains(u" - AO"_s));
    type(u"edt_trova_prov"_s, u"ao"_s);
    click(u"btn_avvia_cap"_s);
    const QStringList aosta = lines(u"memo_cap"_s);
    EXPECT_EQ(aosta.filter(u" - AO"_s).size(), aosta.size());
    EXPECT_TRUE(aosta.contains(u"11100 - Aosta - AO"_s));
}

TEST_F(SearchDialog, BankLinesKeepTheirOwnAbiAndCab) {
    const QString banche = base.file(u"banche.db"_s);
    Probe::exec(banche, u"INSERT INTO banche VALUES ('123', '45678', 'Banca Corta', 'Centro', 'Via Breve 1', '40100', "
                        "'BOLOGNA')"_s);
    showPage(6);
    ASSERT_TRUE(control<QPushButton>(u"btn_avvia_nome"_s)->isEnabled());
    type(u"edt_banca"_s, u"corta"_s);
    click(u"btn_avvia_nome"_s);
    ASSERT_EQ(lines(u"memo_banche"_s), (QStringList{u"123.45678 - Banca Corta . BOLOGNA . Via Breve 1"_s}));
    clickLine(u"memo_banche"_s, lines(u"memo_banche"_s).first(), true);
    const Tfrm_cerca::Bank b = dialog->foundBank();
    EXPECT_EQ((QStringList{b.abi, b.cab, b.name, b.branch, b.address, b.cap, b.town}),
              (QStringList{u"123"_s, u"45678"_s, u"Banca Corta"_s, u"Centro"_s, u"Via Breve 1"_s, u"40100"_s,
                           u"BOLOGNA"_s}));
    EXPECT_EQ(label(u"lbl_abi"_s), u"123"_s);

    dialog->prefillBank(u"08473"_s, u"15400"_s);
    ASSERT_EQ(lines(u"memo_banche"_s).size(), 1);
    EXPECT_TRUE(lines(u"memo_banche"_s).first().startsWith(u"08473.15400 - BANCA DI CREDITO COOPERATIVO"_s));
    clickLine(u"memo_banche"_s, lines(u"memo_banche"_s).first(), true);
    EXPECT_EQ(dialog->foundCab(), u"15400"_s);
    EXPECT_EQ(label(u"lbl_comune"_s), u"PESCARA"_s);

    const QStringList before = lines(u"memo_banche"_s);
    type(u"edt_abi"_s, QString());
    type(u"edt_cab"_s, QString());
    click(u"btn_avvia_abi"_s);
    EXPECT_EQ(lines(u"memo_banche"_s), before) << "no ABI and no CAB: nothing happens";
}

TEST_F(SearchDialog, BankButtonsNeedTheBankTable) {
    store->release(base.file(u"banche.db"_s));
    ASSERT_TRUE(QFile::remove(base.file(u"banche.db"_s)));
    showPage(6);
    EXPECT_FALSE(control<QPushButton>(u"btn_avvia_abi"_s)->isEnabled());
    EXPECT_FALSE(control<QPushButton>(u"btn_avvia_nome"_s)->isEnabled());
}

TEST_F(SearchDialog, FailingQueryShowsTheEngineErrorAndLeavesThePage) {
    showPage(5);
    type(u"edt_trova_citta"_s, u"Vicchio"_s);
    click(u"btn_avvia_citta"_s);
    type(u"edt_trova_citta"_s, u"Milano"_s);
    store->release(base.file(u"cap.db"_s));
    ASSERT_TRUE(QFile::remove(base.file(u"cap.db"_s)));
    click(u"btn_avvia_citta"_s);
    ASSERT_EQ(Dialogs::instance().shown().size(), 1);
    EXPECT_TRUE(Dialogs::instance().shown().first().text.contains(u"cap.db"_s))
        << qPrintable(Dialogs::instance().shown().first().text);
    EXPECT_EQ(text(u"edt_cap"_s), u"50039"_s);
    EXPECT_TRUE(lines(u"memo_cap"_s).isEmpty());
}

TEST_F(SearchDialog, MenuLookupsOpenTheirPageAndCloseWithUscita) {
    const std::tuple<std::function<void()>, int> lookups[] = {
        {[&] { dialog->openPostcodeLookup(); }, 5},
        {[&] { dialog->openBankLookup(); }, 6},
    };
    for (const auto& [open, page] : lookups) {
        dialog->setMode(u"codice"_s);
        bool shownPage = false;
        const int pageNo = page;
        QTimer::singleShot(0, dialog.get(), [&] {
            shownPage = dialog->isVisible() && dialog->currentPage() == pageNo;
            click(u"btn_uscita%1"_s.arg(pageNo));
        });
        open();
        EXPECT_TRUE(shownPage) << pageNo;
        EXPECT_EQ(dialog->outcome(), 0);
        EXPECT_FALSE(dialog->isVisible());
    }
}
