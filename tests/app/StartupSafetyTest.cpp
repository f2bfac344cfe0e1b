#include <QAction>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>

#include "core/InstanceLock.h"
#include "settings/IniFile.h"
#include "store/Store.h"
#include "setup/Tfrm_setup.h"
#include "tests/app/ShellFixture.h"
#include "tests/core/FileSizeLimit.h"

namespace zel::test {
namespace {

using StartupSafety = ShellFixture;
using namespace Qt::Literals::StringLiterals;

bool anyShownContains(const QString& text) {
    for (const QString& t : Dialogs::instance().shownTexts())
        if (t.contains(text)) return true;
    return false;
}

TEST_F(StartupSafety, ASecondInstanceOnALockedBaseSaysSoAndEnds) {
    InstanceLock first(base.path());
    ASSERT_TRUE(first.tryLock());
    TMain& m = start();
    EXPECT_TRUE(m.terminated());
    EXPECT_TRUE(anyShownContains(u"Zelvarin è già in uso su questa cartella (processo "_s))
        << qPrintable(Dialogs::instance().shownTexts().join(u'\n'));
    EXPECT_FALSE(QFileInfo::exists(base.file(u"Dati"_s))) << "the other instance's folder is left alone";
}

TEST_F(StartupSafety, CommandsOnTheArchivesWaitForTheStore) {
    const QStringList needStore = {u"mnu_setup"_s, u"mnu_anagrafica_inserimento"_s, u"mnu_trova_cap"_s};
    {
        TMain before(base.path());
        for (const QString& c : needStore) EXPECT_FALSE(before.command(c)->isEnabled()) << qPrintable(c);
        EXPECT_TRUE(before.command(u"mnu_esci"_s)->isEnabled());
    }
    // A base folder that cannot be made: the start stops before the store exists.
    base.write(u"un_file"_s, "x");
    main = std::make_unique<TMain>(base.file(u"un_file/base"_s));
    main->show();
    ASSERT_TRUE(waitFor([this] { return main->startupDone(); }));
    EXPECT_EQ(main->store(), nullptr);
    EXPECT_TRUE(anyShownContains(u"Non riesco a creare "_s));
    for (const QString& c : needStore) EXPECT_FALSE(main->command(c)->isEnabled()) << qPrintable(c);
    auto* setupButton = main->findChild<QToolButton*>(u"btn_setup"_s);
    EXPECT_FALSE(setupButton->isEnabled());
    QTest::mouseClick(setupButton, Qt::LeftButton);  // nothing opens, nothing breaks
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(StartupSafety, ASetupConfirmThatCannotBeWrittenKeepsTheFilesAndSaysSo) {
    TMain& m = start();
    QMap<QString, QByteArray> before;
    for (const QString& f : {u"zelvarin.ini"_s, u"zel_banca.ini"_s, u"zel_sound.ini"_s, u"zel_fatt_email.ini"_s})
        before[f] = base.read(f);
    Dialogs::instance().reset();
    bool stayedOpen = false;
    onModal<Tfrm_setup>([&stayedOpen](Tfrm_setup& dlg) {
        auto* skill = dlg.findChild<QSpinBox*>(u"trackbar_skill"_s);
        skill->setValue(skill->value() + 2);
        {
            const FileSizeLimit full(4096);
            QTest::mouseClick(dlg.findChild<QPushButton*>(u"btn_conferma_setup"_s), Qt::LeftButton);
        }
        stayedOpen = dlg.isVisible();
        dlg.reject();
    });
    trigger(u"mnu_setup"_s);
    EXPECT_TRUE(modalsServed());
    EXPECT_TRUE(stayedOpen);
    for (auto it = before.cbegin(); it != before.cend(); ++it)
        EXPECT_EQ(base.read(it.key()), it.value()) << qPrintable(it.key());
    ASSERT_EQ(Dialogs::instance().shown().size(), 1);
    const QString text = Dialogs::instance().shown().first().text;
    EXPECT_TRUE(text.startsWith(u"Impossibile salvare la configurazione"_s) && text.contains(u"disco pieno"_s))
        << qPrintable(text);
    EXPECT_EQ(m.settings().integer(u"System", u"User skill"), 1) << "the live value stays with the files";
}

TEST_F(StartupSafety, TheVersionLabelStaysInItsPanelUnderTheDefaultBackground) {
    QDir().mkpath(base.file(u"sfondi"_s));
    QImage img(64, 48, QImage::Format_RGB32);
    img.fill(Qt::darkCyan);
    ASSERT_TRUE(img.save(base.file(u"sfondi/zelvarin.jpg"_s)));
    IniFile ini(base.file(u"zelvarin.ini"_s));
    ini.setValue(u"System"_s, u"Sfondo predefinito"_s, u"1"_s);
    ASSERT_TRUE(ini.save());
    TMain& m = start();
    auto* label = m.findChild<QLabel*>(u"lbl_versione"_s);
    auto* panel = m.findChild<QWidget*>(u"pnl_logo"_s);
    EXPECT_EQ(label->y(), 375);
    EXPECT_TRUE(panel->rect().contains(label->geometry())) << label->y() << ' ' << panel->height();
}

}  // namespace
}  // namespace zel::test

namespace zel::test {
namespace {

TEST_F(StartupSafety, ADamagedArchiveIsNamedAtTheEndAndItsWindowSaysSo) {
    prepareArchives();
    const QString registry = base.file(u"Dati/anagrafica.db"_s);
    QFile f(registry);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(QByteArray(6000, 'z'));
    f.close();
    TMain& m = start();
    EXPECT_FALSE(m.terminated());
    const QStringList shown = Dialogs::instance().shownTexts();
    ASSERT_FALSE(shown.isEmpty());
    EXPECT_EQ(shown.last(), Store::damagedMessage(registry));
    Dialogs::instance().reset();
    onModal<QDialog>([](QDialog& d) { d.reject(); });
    trigger(u"mnu_anagrafica_inserimento"_s);
    waitFor([this] { return modalsServed(); }, 2000);
    EXPECT_TRUE(anyShownContains(u"danneggiato o non è un archivio"_s))
        << qPrintable(Dialogs::instance().shownTexts().join(u'\n'));
    EXPECT_EQ(base.read(u"Dati/anagrafica.db"_s), QByteArray(6000, 'z'));
}

}  // namespace
}  // namespace zel::test
