#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSysInfo>

#include "core/InstanceLock.h"
#include "store/ArchiveCatalogue.h"
#include "store/Store.h"
#include "tests/store/StartupFixture.h"

using namespace zel;
using namespace zel::test;
using namespace Qt::Literals::StringLiterals;

namespace {

using Safety = StartupFixture;

QByteArray bytesOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void overwrite(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

}  // namespace

TEST_F(Safety, DamagedArchivesAreNamedOnceAtTheEndAndLeftAsTheyAre) {
    ASSERT_EQ(runStartup(), kExitDone);
    {
        Store store(data(u""_s));
        const QString t = store.table(data(u"dett_ddt26.db"_s));
        Transaction tx(store);
        for (int i = 0; i < 2000; ++i)
            store.exec(u"INSERT INTO %1 (COD, DES, BOLLA) VALUES (?, ?, ?)"_s.arg(t),
                       {u"A%1"_s.arg(i), u"Articolo con una descrizione lunga %1"_s.arg(i), i});
        tx.commit();
    }
    const QByteArray lines = bytesOf(data(u"dett_ddt26.db"_s));
    ASSERT_GT(lines.size(), 8 * 4096);
    QByteArray noise(20000, '\0');
    for (int i = 0; i < noise.size(); ++i) noise[i] = char((i * 131 + 7) % 251);
    const struct {
        const char* file;
        QByteArray bytes;
    } damaged[] = {{"anagrafica.db", noise}, {"dett_ddt26.db", lines.left(3 * 4096)}, {"scad.db", QByteArray()}};
    for (const auto& d : damaged) overwrite(data(QString::fromLatin1(d.file)), d.bytes);

    EXPECT_EQ(runStartup(), kExitArchive);
    ASSERT_FALSE(notifier.entries.isEmpty());
    const QString last = notifier.entries.last().text;
    for (const auto& d : damaged) {
        EXPECT_EQ(bytesOf(data(QString::fromLatin1(d.file))), d.bytes) << d.file;
        EXPECT_TRUE(last.contains(u"L'archivio "_s + QDir::toNativeSeparators(data(QString::fromLatin1(d.file))) +
                                  u" è danneggiato o non è un archivio: non è stato modificato"_s))
            << qPrintable(last);
    }
    for (const QString& t : notifier.texts()) EXPECT_FALSE(t.contains(u"cancell"_s, Qt::CaseInsensitive)) << qPrintable(t);
    EXPECT_FALSE(QFileInfo::exists(data(u"ddt26.db-journal"_s)));

    // The windows that need one are told when they open it.
    Store store(data(u""_s));
    store.markDamaged(data(u"anagrafica.db"_s), u"cause"_s);
    try {
        store.table(data(u"anagrafica.db"_s));
        ADD_FAILURE() << "a damaged archive opened";
    } catch (const StoreError& e) {
        EXPECT_TRUE(e.message().startsWith(Store::damagedMessage(data(u"anagrafica.db"_s)))) << qPrintable(e.message());
    }
}

TEST(StoreMessages, EngineFailuresAreToldInItalianWithTheirCause) {
    const struct {
        int code;
        const char* words;
    } cases[] = {{8, "sola lettura"},     {13, "disco pieno"},      {5, "bloccato"},
                 {11, "danneggiato"},     {26, "non è un archivio"}, {14, "impossibile aprire"},
                 {1032, "sola lettura"},  {266, "lettura o scrittura"}};
    for (const auto& c : cases) {
        const QString text = Store::engineMessage(c.code, u"engine text"_s);
        EXPECT_TRUE(text.contains(QString::fromUtf8(c.words))) << c.code << ' ' << qPrintable(text);
        EXPECT_TRUE(text.endsWith(u"(engine text)"_s)) << qPrintable(text);
    }
}

TEST_F(Safety, ASecondInstanceOnALockedBaseStopsWithTheMessage) {
    InstanceLock first(base.path());
    ASSERT_TRUE(first.tryLock());
    EXPECT_EQ(runStartup(), kExitInUse);
    ASSERT_EQ(notifier.entries.size(), 1);
    EXPECT_TRUE(notifier.entries[0].text.startsWith(u"Zelvarin è già in uso su questa cartella (processo "_s +
                                                     QString::number(QCoreApplication::applicationPid())))
        << qPrintable(notifier.entries[0].text);
    EXPECT_FALSE(QFileInfo::exists(data(u"magazzino.db"_s))) << "nothing made while another instance works";
}

TEST_F(Safety, ALockLeftByACrashedInstanceIsTakenOver) {
    QProcess gone;
    gone.start(u"/bin/true"_s);
    ASSERT_TRUE(gone.waitForStarted());
    const qint64 deadPid = gone.processId();
    ASSERT_TRUE(gone.waitForFinished());
    base.write(InstanceLock::fileName(), QByteArray::number(deadPid) + "\nzelvarin\n" +
                                             QSysInfo::machineHostName().toUtf8() + "\n");
    EXPECT_EQ(runStartup(), kExitDone) << qPrintable(notifier.texts().join(u'\n'));
    EXPECT_TRUE(QFileInfo::exists(data(u"magazzino.db"_s)));
}

TEST_F(Safety, LeftoverSuperJournalsAreRemovedOnceTheirArchivesAreSettled) {
    ASSERT_EQ(runStartup(), kExitDone);
    const QByteArray names = data(u"ddt26.db-journal"_s).toUtf8() + '\0' + data(u"dett_ddt26.db-journal"_s).toUtf8() + '\0';
    base.write(u"Dati/.zelvarin-store-mjAB12CD34"_s, names);
    base.write(u"Dati/.zelvarin-store-mj99887766"_s, names);
    const QString ddt = Probe::dump(data(u"ddt26.db"_s));
    ASSERT_EQ(runStartup(), kExitDone);
    EXPECT_EQ(QDir(data(u""_s)).entryList({u".zelvarin-store-mj*"_s}, QDir::Files | QDir::Hidden), QStringList());
    EXPECT_EQ(Probe::dump(data(u"ddt26.db"_s)), ddt);
}

TEST_F(Safety, CreationNeverRemovesAFileItDidNotMake) {
    ASSERT_EQ(runStartup(), kExitDone);
    Store store(data(u""_s));
    base.write(u"Dati/altrui.db"_s, "dati di un altro");
    EXPECT_THROW(store.createArchive(data(u"altrui.db"_s), u"A INTEGER"_s), StoreError);
    EXPECT_EQ(base.read(u"Dati/altrui.db"_s), QByteArray("dati di un altro"));
    // A failing creation removes the file it made, and only that.
    EXPECT_THROW(store.createArchive(data(u"nuovo.db"_s), u"A INTEGER,,"_s), StoreError);
    EXPECT_FALSE(QFileInfo::exists(data(u"nuovo.db"_s)));
}

namespace {
void copyTree(const QString& from, const QString& to) {
    QDir().mkpath(to);
    const QDir src(from);
    for (const QFileInfo& fi : src.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)) {
        if (fi.fileName() == InstanceLock::fileName()) continue;
        if (fi.isDir()) copyTree(fi.filePath(), QDir(to).filePath(fi.fileName()));
        else QFile::copy(fi.filePath(), QDir(to).filePath(fi.fileName()));
    }
}
}  // namespace

TEST_F(Safety, ACopiedBaseFolderWorksOnItsOwnArchives) {
    ASSERT_EQ(runStartup(), kExitDone);
    Probe::exec(data(u"magazzino.db"_s), u"INSERT INTO magazzino (COD, FM, ID) VALUES ('ORIG', 1, 1)"_s);
    TempBase copy;
    copyTree(base.path(), copy.file(u"copia"_s));
    const QString original = Probe::dump(data(u"magazzino.db"_s));

    RecordingNotifier quiet;
    Settings settings(copy.file(u"copia"_s));
    DataStartup startup(copy.file(u"copia"_s), settings, quiet);
    ASSERT_EQ(startup.runAll(), kExitDone) << qPrintable(quiet.texts().join(u'\n'));
    const QString warehouse = settings.text(u"Path", u"Archivio Magazzino");
    EXPECT_EQ(warehouse, copy.file(u"copia/Dati/magazzino.db"_s));
    Store& store = *startup.store();
    store.exec(u"UPDATE %1 SET COD = 'COPIA'"_s.arg(store.table(warehouse)));
    EXPECT_EQ(Probe::dump(data(u"magazzino.db"_s)), original) << "the original base is not touched";
    EXPECT_EQ(Probe::rows(copy.file(u"copia/Dati/magazzino.db"_s), u"SELECT COD FROM magazzino"_s).first().first(),
              QVariant(u"COPIA"_s));
}

TEST_F(Safety, ManyBadValuesGiveOneMessageListingThemAll) {
    base.write(u"zelvarin.ini"_s, "[System]\nUser skill=molto\nRichiesta Password=SI\n[DDT]\nMargine superiore=dieci\n");
    ASSERT_EQ(runStartup(), kExitDone);
    ASSERT_EQ(notifier.entries.size(), 1) << qPrintable(notifier.texts().join(u'\n'));
    const QString text = notifier.entries[0].text;
    for (const QString& key : {u"User skill"_s, u"Richiesta Password"_s, u"Margine superiore"_s})
        EXPECT_TRUE(text.contains(key)) << qPrintable(key) << ' ' << qPrintable(text);
    EXPECT_EQ(text.count(u"\r\n"_s), 2);
}
