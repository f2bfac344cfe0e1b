#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "deadlines/Tfrm_scad.h"
#include "settings/IniFile.h"
#include "tests/app/ShellFixture.h"
#include "tests/store/SqliteProbe.h"

using namespace zel;
using namespace zel::test;
using namespace Qt::Literals::StringLiterals;

namespace {

class DeadlineShell : public ShellFixture {
protected:
    void setIni(const QString& section, const QString& key, const QString& value) {
        IniFile ini(base.file(u"zelvarin.ini"_s));
        ini.load();
        ini.setValue(section, key, value);
        ASSERT_TRUE(ini.save());
    }
    void deadline(const QString& due, const QString& paid, double avere) {
        Probe::exec(
            base.file(u"Dati/scad.db"_s),
            u"INSERT INTO scad (id, data, des, avere, pagato) VALUES (1, '%1', 'Rata', %2, '%3')"_s
                .arg(due)
                .arg(avere)
                .arg(paid));
    }
};

TEST_F(DeadlineShell, StartupOffersTheMonthsUnpaidDeadlinesInTheBrowser) {
    prepareArchives();
    setIni(u"System"_s, u"Visualizza scadenze"_s, u"1"_s);
    deadline(u"2026-12-03"_s, u"N"_s, 10);
    deadline(u"2026-12-28"_s, u" n"_s, 20);
    deadline(u"2026-12-15"_s, u"S"_s, 30);
    for (const QString& d :
         {u"2026-11-30"_s, u"2027-01-01"_s, u"2026-01-15"_s, u"2025-12-10"_s, u"2027-12-10"_s})
        deadline(d, u"N"_s, 5);
    Dialogs::instance().queueAnswer(DlgButton::Yes);
    int listed = -1;
    QString caption;
    onModal<Tfrm_scad>([&](Tfrm_scad& w) {
        listed = w.findChild<QTableView*>(u"grid_scad"_s)->model()->rowCount();
        caption = w.findChild<QLabel*>(u"lbl_filtro"_s)->text();
        w.close();
    });
    TMain& m = start();
    ASSERT_TRUE(waitFor([this] { return modalsServed(); }));
    EXPECT_EQ(listed, 2);
    EXPECT_EQ(caption, u"Scadenze in corso nel mese corrente"_s);
    EXPECT_TRUE(Dialogs::instance().shownTexts().contains(
        u"Ci sono 2 scadenze non pagate nel mese corrente!\n\rVuoi vederle?\n\rSI per vederle, NO per ignorarle e proseguire"_s));
    ASSERT_FALSE(TrayNotice::instance().shown().isEmpty());
    EXPECT_EQ(TrayNotice::instance().shown().last().title, u"Zelvarin: Scadenze in corso"_s);
    EXPECT_TRUE(m.statusPanels()[2].contains(u"Scadenze "_s));
}

TEST_F(DeadlineShell, BrowserOpensFromTheMenu) {
    prepareArchives();
    deadline(u"2026-12-03"_s, u"N"_s, 10);
    deadline(u"1900-01-01"_s, u"N"_s, 10);
    int listed = -1;
    onModal<Tfrm_scad>([&](Tfrm_scad& w) {
        listed = w.findChild<QTableView*>(u"grid_scad"_s)->model()->rowCount();
        w.close();
    });
    start();
    trigger(u"mnu_scorre_scadenze"_s);
    ASSERT_TRUE(waitFor([this] { return modalsServed(); }));
    EXPECT_EQ(listed, 1);
}

TEST_F(DeadlineShell, BrowserHandsItsCurrentListToTheCard) {
    prepareArchives();
    deadline(u"2026-12-03"_s, u"N"_s, 10);
    deadline(u"2026-12-05"_s, u"N"_s, 20);
    deadline(u"2026-12-07"_s, u"S"_s, 30);
    qsizetype listed = -1;
    int index = -1;
    onModal<Tfrm_scad>([&](Tfrm_scad& w) {
        w.openCard = [&](const QList<qint64>& list, int at) {
            listed = list.size();
            index = at;
        };
        w.selectRow(1);
        QTest::mouseClick(w.findChild<QPushButton*>(u"btn_modifica"_s), Qt::LeftButton);
        w.close();
    });
    start();
    trigger(u"mnu_scorre_scadenze"_s);
    ASSERT_TRUE(waitFor([this] { return modalsServed(); }));
    EXPECT_EQ(listed, 3);
    EXPECT_EQ(index, 1);
}

TEST_F(DeadlineShell, ActiveDeadlineCommandsListTheMonthsOrEveryUnpaidOne) {
    prepareArchives();
    deadline(u"2026-12-03"_s, u"N"_s, 10);
    deadline(u"2026-12-20"_s, u"S"_s, 20);
    deadline(u"2026-11-30"_s, u"N"_s, 30);
    deadline(u"2027-02-01"_s, u"n"_s, 40);
    deadline(u"1900-01-01"_s, u"N"_s, 50);
    struct Case {
        const char* command;
        int rows;
        const char* caption;
    };
    const Case cases[] = {
        {"mnu_scadenze_mese", 1, "Scadenze in corso nel mese corrente"},
        {"mnu_scadenze_tutte", 3, "Scadenze non pagate (tutte)"},
    };
    start();
    for (const Case& c : cases) {
        int listed = -1;
        QString caption;
        onModal<Tfrm_scad>([&](Tfrm_scad& w) {
            listed = w.findChild<QTableView*>(u"grid_scad"_s)->model()->rowCount();
            caption = w.findChild<QLabel*>(u"lbl_filtro"_s)->text();
            w.close();
        });
        trigger(QString::fromLatin1(c.command));
        ASSERT_TRUE(waitFor([this] { return modalsServed(); })) << c.command;
        EXPECT_EQ(listed, c.rows) << c.command;
        EXPECT_EQ(caption, QString::fromUtf8(c.caption)) << c.command;
    }
}

}  // namespace
