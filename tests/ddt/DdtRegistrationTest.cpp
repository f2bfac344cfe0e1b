#include <gtest/gtest.h>

#include "ddt/DdtDraft.h"
#include "ddt/DdtRegistration.h"
#include "documents/NextNumber.h"
#include "store/Store.h"
#include "tests/ddt/DdtTestData.h"

using namespace zel;
using namespace zel::test;
using namespace Qt::Literals::StringLiterals;

namespace {

class DdtRegistrationTest : public DdtData {
protected:
    void SetUp() override {
        DdtData::SetUp();
        mainPathData();
        draft = std::make_unique<DdtDraft>(*store, temporary());
        draft->clear(lines());
    }
    void TearDown() override {
        draft.reset();
        DdtData::TearDown();
    }
    DdtHeader headerOf(qint64 number) const {
        DdtHeader h;
        h.number = number;
        h.recipient = u"C1"_s;
        h.date = QDate(2026, 12, 11);
        h.causale = u"Vendita"_s;
        h.porto = u"Franco"_s;
        return h;
    }
    // Lines typed before the number, recipient and date were changed.
    void twoStaleLines() {
        for (DdtLine l : {a1Line(), a2Line()}) {
            l.bolla = 99;
            l.codCli = u"OLD"_s;
            l.data = QDate(2026, 1, 2);
            draft->append(l);
        }
    }
    void registerDdt(const DdtHeader& h) {
        DdtRegistration r(*store, *settings);
        r.write(h, r.plan(h));
    }
    std::unique_ptr<DdtDraft> draft;
};

TEST_F(DdtRegistrationTest, TwoLinesBecomeTheDdtWithItsNumberRecipientDateAndTotals) {
    twoStaleLines();
    registerDdt(headerOf(1));
    const auto l =
        Probe::rows(lines(),
                    u"SELECT ID, BOLLA, COD_CLI, DATA, COD, QUANT, PREZZONETT, CAUSALE, "
                    "COALESCE(CONTROLLO, ''), COD_FORN, FLAG FROM dett_ddt26 ORDER BY rowid"_s);
    ASSERT_EQ(l.size(), 2);
    EXPECT_EQ(l[0], (QVariantList{1, 1, u"C1"_s, u"2026-12-11"_s, u"A1"_s, 5.0, 9.0, u"Vendita"_s,
                                  u""_s, u""_s, u"*"_s}));
    EXPECT_EQ(l[1], (QVariantList{2, 1, u"C1"_s, u"2026-12-11"_s, u"A2"_s, 3.0, 4.5, u"Vendita"_s,
                                  u""_s, u""_s, u"*"_s}));
    // qsc, csc, psc grow by the line; qcons grows and qord shrinks by the quantity.
    EXPECT_EQ(stockOf(u"A1"_s), (QVariantList{6.0, 2, 3.0, 5.0, 15.0}));
    EXPECT_EQ(stockOf(u"A2"_s), (QVariantList{4.0, 2, 1.7, 3.0, -3.0}));
    EXPECT_EQ(orderLine(12), (QVariantList{5.0, 5.0, 1}));
    const auto h =
        Probe::rows(header(),
                    u"SELECT BOLLA, COD_CLI, DATA_MOV, PREZZO, IVA, TOT_COLLI, TOT_PESO, "
                    "CONTROLLO, FLAG, CAUSALE, PORTO FROM ddt26"_s);
    ASSERT_EQ(h.size(), 1);
    EXPECT_EQ(h[0], (QVariantList{1, u"C1"_s, u"2026-12-11"_s, 58.5, 11.25, 2.0, 3.7, u"*"_s,
                                  u"*"_s, u"Vendita"_s, u"Franco"_s}));
    EXPECT_EQ(Probe::count(temporary()), 0);
}

TEST_F(DdtRegistrationTest, DeliveredOnlySettingLeavesTheOrderedQuantity) {
    settings->setValue(u"Ordine", u"Aggiorna ordini quant consegnata", true);
    draft->append(a1Line());
    registerDdt(headerOf(1));
    EXPECT_EQ(orderLine(12), (QVariantList{10.0, 5.0, 1}));
}

TEST_F(DdtRegistrationTest, AFailedWriteLeavesEveryArchiveAsItWas) {
    twoStaleLines();
    struct Case {
        QString file;
        QString table;
        QString expected;
    };
    for (const Case& c :
         {Case{header(), u"ddt26"_s, DdtRegistration::headerErrorMessage(u"disco pieno"_s)},
          Case{lines(), u"dett_ddt26"_s, DdtRegistration::lineErrorMessage(u"disco pieno"_s)}}) {
        SCOPED_TRACE(c.table.toStdString());
        failOn(c.file, c.table);
        const QString before = snapshot();
        try {
            registerDdt(headerOf(1));
            ADD_FAILURE() << "registered";
        } catch (const StoreError& e) {
            EXPECT_TRUE(e.message().startsWith(c.expected.left(60))) << e.message().toStdString();
            EXPECT_TRUE(e.message().contains(u"disco pieno"_s));
        }
        EXPECT_EQ(snapshot(), before);
        EXPECT_EQ(Probe::count(temporary()), 2);
        dropFail(c.file);
    }
    // A retry after the failure unloads once.
    registerDdt(headerOf(1));
    EXPECT_EQ(stockOf(u"A1"_s), (QVariantList{6.0, 2, 3.0, 5.0, 15.0}));
}

TEST_F(DdtRegistrationTest, ALineNotUnloadedMovesNoStockAndSaysSo) {
    DdtLine l = a1Line();
    l.unload = false;
    draft->append(l);
    const QVariantList before = stockOf(u"A1"_s);
    registerDdt(headerOf(1));
    EXPECT_EQ(stockOf(u"A1"_s), before);
    EXPECT_EQ(Probe::rows(lines(), u"SELECT CONTROLLO FROM dett_ddt26"_s),
              (QList<QVariantList>{{QString::fromUtf16(kLineNotUnloaded)}}));
    EXPECT_EQ(orderLine(12), (QVariantList{5.0, 5.0, 1}));
}

TEST_F(DdtRegistrationTest, AnOutsideWarehouseUnloadsItsOwnRowOnly) {
    settings->setValue(u"Magazzino", u"Codice magazzino predefinito", u"2.Esterno"_s);
    Probe::exec(outside(),
                u"INSERT INTO mag_ext (COD_MAG, COD, QSC, CSC, PSC) VALUES ('3', 'A1', 7, 1, 1)"_s);
    draft->append(a1Line());
    draft->append(a1Line());
    const QVariantList mainBefore = stockOf(u"A1"_s);
    registerDdt(headerOf(1));
    EXPECT_EQ(
        Probe::rows(outside(),
                    u"SELECT COD_MAG, COD, QSC, CSC, PSC FROM mag_ext ORDER BY COD_MAG"_s),
        (QList<QVariantList>{{u"2"_s, u"A1"_s, 10.0, 2, 5.0}, {u"3"_s, u"A1"_s, 7.0, 1, 1.0}}));
    EXPECT_EQ(stockOf(u"A1"_s), mainBefore);
}

TEST_F(DdtRegistrationTest, LeftOutLinesAndLetteredOrdersAreNamedBeforeWriting) {
    DdtLine otherMark = a2Line();
    otherMark.flag = u"A"_s;
    DdtLine notBilled = a2Line();
    notBilled.fattura = u"X"_s;
    DdtLine noCode = a2Line();
    noCode.cod.clear();
    noCode.des = u"Nota"_s;
    DdtLine lettered = a1Line();
    lettered.ordine = u"12B"_s;
    for (const DdtLine& l : {otherMark, notBilled, noCode, lettered}) draft->append(l);
    DdtRegistration r(*store, *settings);
    const DdtHeader h = headerOf(1);
    const DdtPlan p = r.plan(h);
    ASSERT_EQ(p.lines.size(), 1);
    EXPECT_EQ(p.leftOut.size(), 3);
    const QString q = DdtRegistration::question(p);
    EXPECT_TRUE(q.startsWith(u"3 righe non saranno registrate"_s)) << q.toStdString();
    for (const QString& part :
         {u"A2 - Articolo A2 (contrassegno \"A\""_s, u"(contrassegno fatturazione X)"_s,
          u" - Nota (senza codice articolo)"_s, u"Numero ordine contiene dati alfabetici"_s,
          u"ordine \"12B\""_s})
        EXPECT_TRUE(q.contains(part)) << part.toStdString();
    r.write(h, p);
    EXPECT_EQ(Probe::count(lines()), 1);
    EXPECT_EQ(orderLine(12), (QVariantList{10.0, 0.0, 0}));  // no order moves for "12B"
    EXPECT_EQ(Probe::count(temporary()), 0);
}

TEST(DdtOrderNumbers, OnlyWholePositiveNumbersNameAnOrder) {
    const struct {
        const char* typed;
        std::optional<qint64> order;
        bool letters;
    } cases[] = {{"12", 12, false},           {" 7 ", 7, false},
                 {"", std::nullopt, false},   {"0", std::nullopt, false},
                 {"12B", std::nullopt, true}, {"1,5", std::nullopt, true}};
    for (const auto& c : cases) {
        EXPECT_EQ(DdtRegistration::orderNumber(QString::fromLatin1(c.typed)), c.order) << c.typed;
        EXPECT_EQ(DdtRegistration::hasLetters(QString::fromLatin1(c.typed)), c.letters) << c.typed;
    }
}

TEST_F(DdtRegistrationTest, ALineWithoutOrderOrKnownArticleMovesNothingElse) {
    DdtLine l = a2Line();
    l.cod = u"ZZ"_s;
    draft->append(l);
    const QString before = Probe::dump(warehouse()) + Probe::dump(orders());
    registerDdt(headerOf(1));
    EXPECT_EQ(Probe::dump(warehouse()) + Probe::dump(orders()), before);
    EXPECT_EQ(Probe::count(lines()), 1);
}

TEST_F(DdtRegistrationTest, ATakenNumberIsRefusedUnlessTheWarningWasAccepted) {
    Probe::exec(header(), u"INSERT INTO ddt26 (BOLLA, COD_CLI, COD_FORN) VALUES (1, 'C9', '')"_s);
    draft->append(a2Line());
    DdtHeader h = headerOf(1);
    const QString before = snapshot();
    try {
        registerDdt(h);
        ADD_FAILURE() << "registered";
    } catch (const StoreError& e) {
        EXPECT_EQ(e.message(), NextNumber::takenMessage(1));
    }
    EXPECT_EQ(snapshot(), before);
    h.duplicateAccepted = true;
    registerDdt(h);
    EXPECT_EQ(Probe::count(header()), 2);
}

TEST_F(DdtRegistrationTest, BackupsAreTakenOnceAndNeverOverwritten) {
    DdtRegistration r(*store, *settings);
    ASSERT_TRUE(r.backups());
    base.write(u"Dati/ddt26.db.bak"_s, "kept");
    draft->append(a2Line());
    registerDdt(headerOf(1));
    ASSERT_TRUE(r.backups());
    EXPECT_EQ(base.read(u"Dati/ddt26.db.bak"_s), "kept");
    for (const QString& p : {lines(), orders()})
        EXPECT_TRUE(QFileInfo::exists(p + u".bak"_s)) << p.toStdString();
}

}  // namespace
