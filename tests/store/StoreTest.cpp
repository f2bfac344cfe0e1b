#include <gtest/gtest.h>

#include <QFile>

#include "store/Store.h"
#include "tests/TestSupport.h"
#include "tests/store/SqliteProbe.h"

using namespace zel;
using namespace zel::test;
using namespace Qt::Literals::StringLiterals;

namespace {

class StoreFixture : public ::testing::Test {
protected:
    QString archive(const QString& name) {
        const QString path = base.file(u"Dati/"_s + name);
        store.createArchive(path, u"COD CHAR(20), DES CHAR(70), QUANT FLOAT"_s);
        return path;
    }
    TempBase base;
    Store store{base.file(u"Dati"_s)};
};

}  // namespace

TEST_F(StoreFixture, UserTextIsStoredAndFoundLiterally) {
    const QString a = archive(u"anagrafica.db"_s);
    const QStringList names = {u"D'Angelo & C."_s, u"100% \"vero\""_s, u"x'); DROP TABLE anagrafica; --"_s,
                               u"Città di Forlì"_s};
    for (const QString& n : names) store.exec(u"INSERT INTO %1 (DES) VALUES (?)"_s.arg(store.table(a)), {n});
    for (const QString& n : names)
        EXPECT_EQ(store.scalar(u"SELECT COUNT(*) FROM %1 WHERE DES = ?"_s.arg(store.table(a)), {n}).toInt(), 1);
    struct Like {
        QString pattern;
        int matches;
    } likes[] = {{u"%CITTÀ%"_s, 1}, {u"città di forlì"_s, 1}, {u"100!%%"_s, 1}, {u"d_angelo%"_s, 1}, {u"%"_s, 4}};
    for (const Like& l : likes)
        EXPECT_EQ(store.scalar(u"SELECT COUNT(*) FROM %1 WHERE DES LIKE ? ESCAPE '!'"_s.arg(store.table(a)),
                               {l.pattern})
                      .toInt(),
                  l.matches)
            << qPrintable(l.pattern);
    EXPECT_EQ(store.scalar(u"SELECT upper(?)"_s, {u"perché più"_s}).toString(), u"PERCHÉ PIÙ"_s);
}

TEST_F(StoreFixture, AWrongPathIsAnErrorNotANewArchive) {
    const QString missing = base.file(u"Dati/nessuno.db"_s);
    EXPECT_THROW(store.table(missing), StoreError);
    EXPECT_FALSE(QFile::exists(missing));
    base.write(u"Dati/testo.db"_s, "solo testo");
    EXPECT_THROW(store.table(base.file(u"Dati/testo.db"_s)), StoreError);
}

TEST_F(StoreFixture, ATransactionOverSeveralArchivesHappensWholeOrNotAtAll) {
    const QString a = archive(u"uno.db"_s);
    const QString b = archive(u"due.db"_s);
    try {
        Transaction tx(store);
        store.exec(u"INSERT INTO %1 (COD) VALUES ('x')"_s.arg(store.table(a)));
        store.exec(u"INSERT INTO %1 (COD) VALUES ('x')"_s.arg(store.table(b)));
        store.exec(u"INSERT INTO %1 (NOPE) VALUES ('x')"_s.arg(store.table(b)));
        tx.commit();
        FAIL() << "the bad column must fail";
    } catch (const StoreError& e) {
        EXPECT_TRUE(e.message().contains(u"NOPE"_s)) << qPrintable(e.message());
    }
    EXPECT_EQ(Probe::count(a), 0);
    EXPECT_EQ(Probe::count(b), 0);
    {
        Transaction tx(store);
        store.exec(u"INSERT INTO %1 (COD) VALUES ('y')"_s.arg(store.table(a)));
        store.exec(u"INSERT INTO %1 (COD) VALUES ('y')"_s.arg(store.table(b)));
        tx.commit();
    }
    EXPECT_EQ(Probe::count(a), 1);
    EXPECT_EQ(Probe::count(b), 1);
}

TEST_F(StoreFixture, ManyArchivesCanBeUsedOneAfterAnother) {
    QStringList paths;
    for (int i = 0; i < 14; ++i) paths << archive(u"a%1.db"_s.arg(i));
    for (int round = 0; round < 2; ++round)
        for (const QString& p : paths) store.exec(u"INSERT INTO %1 (COD) VALUES (?)"_s.arg(store.table(p)), {p});
    for (const QString& p : paths) EXPECT_EQ(Probe::count(p), 2);
    // Inside one transaction, files it has not touched yet are let go to make room.
    Transaction tx(store);
    for (int i = 0; i < 10; ++i) store.exec(u"DELETE FROM %1"_s.arg(store.table(paths[i])));
    EXPECT_THROW(store.table(paths[12]), StoreError);
}
