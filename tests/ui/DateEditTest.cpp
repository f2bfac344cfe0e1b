#include <gtest/gtest.h>

#include <QCalendarWidget>
#include <QTest>

#include "core/Clock.h"
#include "ui/DateEdit.h"
#include "ui/Dialogs.h"

using namespace zel;
using namespace Qt::Literals::StringLiterals;

namespace {

class DateEditTest : public ::testing::Test {
protected:
    void SetUp() override {
        Dialogs::instance().setScripted(true);
        Dialogs::instance().reset();
    }
    void TearDown() override {
        Dialogs::instance().setScripted(false);
        Dialogs::instance().reset();
    }
    DateEdit edit;
};

}  // namespace

TEST_F(DateEditTest, StartsEmptyAndGivesNull) {
    EXPECT_TRUE(edit.isEmpty());
    EXPECT_TRUE(edit.value().isNull());
    EXPECT_FALSE(edit.date().isValid());
}

TEST_F(DateEditTest, TypedDateCountsAndEmptyingGivesNullAgain) {
    QList<QDate> changes;
    QObject::connect(&edit, &DateEdit::dateChanged, [&](const QDate& d) { changes << d; });
    QTest::keyClicks(&edit, u"01022025"_s);
    EXPECT_EQ(edit.date(), QDate(2025, 2, 1));
    EXPECT_EQ(edit.value(), QVariant(QDate(2025, 2, 1)));
    edit.selectAll();
    QTest::keyClick(&edit, Qt::Key_Delete);
    QTest::keyClick(&edit, Qt::Key_Return);
    EXPECT_TRUE(edit.value().isNull());
    EXPECT_EQ(changes, (QList<QDate>{QDate(2025, 2, 1), QDate()}));
}

TEST_F(DateEditTest, TextThatIsNoDateBeepsAndKeepsTheLastDate) {
    edit.setDate(QDate(2024, 3, 5));
    for (const QString& typed : {u"31022025"_s, u"1203"_s}) {
        edit.selectAll();
        QTest::keyClicks(&edit, typed);
        QTest::keyClick(&edit, Qt::Key_Return);
        EXPECT_EQ(edit.date(), QDate(2024, 3, 5)) << qPrintable(typed);
        EXPECT_EQ(edit.text(), u"05/03/2024"_s);
    }
    EXPECT_EQ(Dialogs::instance().beeps(), 2);
}

TEST_F(DateEditTest, StoredValues) {
    const struct {
        QVariant stored;
        QDate shown;
        bool accepted;
    } cases[] = {
        {QVariant(), QDate(), true},
        {u""_s, QDate(), true},
        {u"2024-03-05"_s, QDate(2024, 3, 5), true},
        {u"2024-03-05 10:20:00"_s, QDate(2024, 3, 5), true},
        {QDate(1999, 12, 31), QDate(1999, 12, 31), true},
        {u"05/03/2024"_s, QDate(), false},
    };
    for (const auto& c : cases) {
        edit.setDate(QDate(2000, 1, 1));
        EXPECT_EQ(edit.setValue(c.stored), c.accepted) << qPrintable(c.stored.toString());
        EXPECT_EQ(edit.date(), c.shown) << qPrintable(c.stored.toString());
        EXPECT_EQ(edit.text(), c.shown.isValid() ? c.shown.toString(u"dd/MM/yyyy"_s) : u"//"_s);
    }
}

TEST_F(DateEditTest, MonthViewPicksADate) {
    edit.showCalendar();
    auto* calendar = edit.findChild<QCalendarWidget*>(u"cal_data"_s);
    ASSERT_NE(calendar, nullptr);
    EXPECT_EQ(calendar->selectedDate(), Clock::today()) << "an empty edit opens on today";
    calendar->setSelectedDate(QDate(2026, 7, 14));
    Q_EMIT calendar->activated(calendar->selectedDate());
    EXPECT_EQ(edit.date(), QDate(2026, 7, 14));
    EXPECT_FALSE(calendar->isVisible());
}
