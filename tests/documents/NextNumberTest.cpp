#include <gtest/gtest.h>

#include "documents/NextNumber.h"
#include "store/Store.h"
#include "tests/TestSupport.h"
#include "tests/store/SqliteProbe.h"

using namespace Qt::Literals::StringLiterals;

namespace zel {
namespace {

class NextNumberTest : public ::testing::Test {
protected:
    void SetUp() override {
        store = std::make_unique<Store>(base.file(u"Dati"_s));
        path = base.file(u"Dati/ddt26.db"_s);
        store->createArchive(path, u"BOLLA INTEGER, NUMERO CHAR(10), TIPO CHAR(1)"_s);
    }
    void add(const QVariant& bolla, const QString& numero, const QString& tipo = u"A"_s) {
        store->exec(
            u"INSERT INTO %1 (BOLLA, NUMERO, TIPO) VALUES (?, ?, ?)"_s.arg(store->table(path)),
            {bolla, numero, tipo});
    }
    test::TempBase base;
    std::unique_ptr<Store> store;
    QString path;
};

TEST_F(NextNumberTest, EmptyArchiveStartsAtOne) {
    EXPECT_EQ(NextNumber(*store, path, u"BOLLA"_s).propose(), 1);
}

TEST_F(NextNumberTest, NumbersAreComparedAsNumbersEvenInText) {
    add(9, u"9"_s);
    add(10, u"10"_s);
    add(2, u"2"_s);
    EXPECT_EQ(NextNumber(*store, path, u"NUMERO"_s).propose(), 11);
    EXPECT_EQ(NextNumber(*store, path, u"BOLLA"_s).propose(), 11);
    add(40, u"40"_s, u"B"_s);
    EXPECT_EQ(NextNumber(*store, path, u"BOLLA"_s, u"TIPO = ?"_s, {u"A"_s}).propose(), 11);
}

TEST_F(NextNumberTest, ClaimInsideTheTransactionRefusesANumberTakenMeanwhile) {
    add(1, u"1"_s);
    const NextNumber numbers(*store, path, u"NUMERO"_s);
    const qint64 proposed = numbers.propose();
    // Another writer takes the proposed number before this document is written.
    test::Probe::exec(path, u"INSERT INTO ddt26 (BOLLA, NUMERO) VALUES (2, '2')"_s);
    Transaction tx(*store);
    try {
        numbers.claim(proposed);
        FAIL() << "number 2 was accepted twice";
    } catch (const StoreError& e) {
        EXPECT_EQ(e.message(), NextNumber::takenMessage(2));
    }
    EXPECT_NO_THROW(numbers.claim(3));
}

}  // namespace
}  // namespace zel
