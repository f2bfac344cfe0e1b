#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "app/LocalBackup.h"
#include "app/ShellQueries.h"
#include "app/TSplashForm.h"
#include "core/Clock.h"
#include "core/Notifier.h"
#include "core/Paths.h"
#include "settings/Settings.h"
#include "store/DataStartup.h"
#include "store/Store.h"
#include "tests/TestSupport.h"
#include "tests/core/FileSizeLimit.h"

namespace zel::test {
namespace {

class ShellRulesTest : public ::testing::Test {
protected:
    void SetUp() override {
        Clock::pin(QDateTime(QDate(2026, 12, 11), QTime(10, 0)));
        DataStartup startup(base.path(), settings, quiet);
        ASSERT_EQ(startup.runAll(), 0);
        store = startup.takeStore();
    }
    void TearDown() override { Clock::unpin(); }
    QString table(const char* file) { return store->table(dataFile(base.path(), QString::fromLatin1(file))); }

    TempBase base;
    RecordingNotifier quiet;
    Settings settings{base.path()};
    std::unique_ptr<Store> store;
};

TEST_F(ShellRulesTest, UnderStockComparesLoadedLessUnloadedWithTheMinimum) {
    const QString sql = QStringLiteral("INSERT INTO %1 (COD, DES, QCA, QSC, SCORTAMIN) VALUES (?, ?, ?, ?, ?)").arg(table("magazzino.db"));
    store->exec(sql, {QStringLiteral("Z"), QStringLiteral("Zeta"), 5.0, 1.0, 10.0});
    store->exec(sql, {QStringLiteral("E"), QStringLiteral("Esatto"), 5.0, 0.0, 5.0});
    store->exec(sql, {QStringLiteral("A"), QStringLiteral("Alfa"), 2.0, 0.5, 1.0});
    store->exec(sql, {QStringLiteral("B"), QStringLiteral("Beta"), 0.0, 0.0, 0.5});
    const QList<QVariantList> rows = underStockArticles(*store, settings);
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0][0].toString(), QStringLiteral("B"));
    EXPECT_EQ(rows[1][0].toString(), QStringLiteral("Z"));
    EXPECT_DOUBLE_EQ(rows[1][2].toDouble(), 4.0);
    EXPECT_EQ(rows[1].size(), underStockHeaders().size());
}

TEST_F(ShellRulesTest, CallBacksAreTodaysContactsNotYetCalled) {
    const QString sql =
        QStringLiteral("INSERT INTO %1 (COD_CLI, DATARICONT, ORARIO, PERSCONT, TEL, RICONTEFF) VALUES (?, ?, ?, ?, ?, ?)")
            .arg(table("contatti.db"));
    store->exec(sql, {QStringLiteral("ROSSI"), QDate(2026, 12, 11), QStringLiteral("15:00"), QStringLiteral("Mario"),
                      QStringLiteral("0101"), QVariant()});
    store->exec(sql, {QStringLiteral("NERI"), QDate(2026, 12, 11), QStringLiteral("09:00"), QStringLiteral("Anna"),
                      QStringLiteral("0202"), true});
    store->exec(sql, {QStringLiteral("GIALLI"), QDate(2026, 12, 10), QStringLiteral("09:00"), QStringLiteral("Ugo"),
                      QStringLiteral("0303"), false});
    const qint64 before = recordCount(*store, settings.text(u"Path", u"Archivio Contatti"));
    const QList<ContactAlert> rows = callBacksOn(*store, settings, QDate(2026, 12, 11));
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(contactAlertText(rows), QStringLiteral("15:00 ROSSI Mario 0101"));
    EXPECT_EQ(recordCount(*store, settings.text(u"Path", u"Archivio Contatti")), before);
}

TEST_F(ShellRulesTest, BackupIntoAFolderThatCannotBeMadeCopiesNothing) {
    base.write(QStringLiteral("unfile"), "x");
    settings.setValue(u"Path", u"Posizione archivi backup locale", base.file(QStringLiteral("unfile/backup")));
    const BackupOutcome out = LocalBackup(base.path(), settings, store.get()).run(Clock::now());
    EXPECT_TRUE(out.folderMissing);
    EXPECT_TRUE(out.copied.isEmpty());
    EXPECT_EQ(LocalBackup::folderMessage(out.folder),
              QStringLiteral("Non riesco a creare la cartella ") + out.folder +
                  QStringLiteral(", controllare la destinazione ") + out.folder);
}

TEST_F(ShellRulesTest, BackupRefusesToCopyInTheMiddleOfATransaction) {
    Transaction tx(*store);
    EXPECT_THROW(LocalBackup(base.path(), settings, store.get()).run(Clock::now()), StoreError);
}

TEST(ShellRules, AlertIntervalsFollowTheFrequencyChoice) {
    EXPECT_EQ(deadlineAlertInterval(0), 1800000);
    EXPECT_EQ(deadlineAlertInterval(1), 3600000);
    EXPECT_EQ(deadlineAlertInterval(2), 7200000);
    EXPECT_EQ(contactAlertInterval(0), 600000);
    EXPECT_EQ(contactAlertInterval(1), 1800000);
    EXPECT_EQ(contactAlertInterval(2), 5400000);
}

TEST(ShellRules, AvailableMemoryIsFreeRamPlusFreeSwap) {
    EXPECT_EQ(availableMemoryKb(QStringLiteral("MemTotal:  8000 kB\nMemFree: 100 kB\nMemAvailable:  3000 kB\n"
                                               "SwapTotal: 900 kB\nSwapFree:   500 kB\n")),
              3500);
    EXPECT_EQ(availableMemoryKb(QStringLiteral("MemTotal: 8000 kB\n")), -1);
    EXPECT_GT(availableMemoryKb(), 0);
}

TEST(ShellRules, SplashStepShiftsItsThreeLines) {
    AppContext ctx;
    TSplashForm splash(ctx, nullptr);
    for (const char* t : {"uno", "due", "tre", "quattro"}) splash.step(QString::fromLatin1(t));
    EXPECT_EQ(splash.lines(), (QStringList{QStringLiteral("due"), QStringLiteral("tre"), QStringLiteral("quattro")}));
}

}  // namespace
}  // namespace zel::test

namespace zel::test {
namespace {

TEST_F(ShellRulesTest, AFailedBackupKeepsThePreviousCopiesWhole) {
    ASSERT_TRUE(LocalBackup(base.path(), settings, store.get()).run(Clock::now()).failed.isEmpty());
    const QDir folder(base.file(QStringLiteral("Dati/backup")));
    QMap<QString, QByteArray> before;
    for (const QString& f : folder.entryList(QDir::Files)) before[f] = base.read(QStringLiteral("Dati/backup/") + f);
    ASSERT_TRUE(before.contains(QStringLiteral("magazzino.db")));
    {
        const QString t = table("magazzino.db");
        Transaction tx(*store);
        for (int i = 0; i < 3000; ++i)
            store->exec(QStringLiteral("INSERT INTO %1 (COD, DES) VALUES (?, ?)").arg(t),
                        {QStringLiteral("ART%1").arg(i), QStringLiteral("Articolo di prova numero %1").arg(i)});
        tx.commit();
    }
    BackupOutcome out;
    {
        const FileSizeLimit full(64 * 1024);
        out = LocalBackup(base.path(), settings, store.get()).run(Clock::now());
    }
    EXPECT_TRUE(out.failed.contains(dataFile(base.path(), QStringLiteral("magazzino.db")))) << qPrintable(out.failed.join(u' '));
    EXPECT_EQ(LocalBackup::statusText(out).startsWith(QStringLiteral("Backup dati: ")), true);
    for (auto it = before.cbegin(); it != before.cend(); ++it)
        EXPECT_EQ(base.read(QStringLiteral("Dati/backup/") + it.key()), it.value()) << qPrintable(it.key());
    EXPECT_EQ(folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).size(), before.size())
        << "nothing left over";
}

}  // namespace
}  // namespace zel::test
