#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include "ui/Dialogs.h"
#include "ui/FieldLength.h"

using namespace zel;
using namespace Qt::Literals::StringLiterals;

namespace {

class FieldLengthTest : public ::testing::Test {
protected:
    void SetUp() override {
        Dialogs::instance().setScripted(true);
        Dialogs::instance().reset();
    }
    void TearDown() override {
        Dialogs::instance().setScripted(false);
        Dialogs::instance().reset();
    }
};

}  // namespace

TEST_F(FieldLengthTest, EditsTakeTheColumnsLength) {
    QLineEdit line;
    QComboBox combo;
    combo.setEditable(true);
    QLineEdit untouched;
    const int before = untouched.maxLength();
    limitLengths({{u"nome"_s, &line}, {u"gruppo"_s, &combo}, {u"listino"_s, &untouched}},
                 {{u"nome"_s, 70}, {u"gruppo"_s, 50}, {u"listino"_s, 0}});
    EXPECT_EQ(line.maxLength(), 70);
    EXPECT_EQ(combo.lineEdit()->maxLength(), 50);
    EXPECT_EQ(untouched.maxLength(), before);
    QTest::keyClicks(&line, QString(75, u'a'));
    EXPECT_EQ(line.text().size(), 70);
}

TEST_F(FieldLengthTest, MemoDropsWhatGoesBeyondWhereItWasTyped) {
    QPlainTextEdit memo;
    memo.setPlainText(u"inizio fine"_s);
    limitLength(&memo, 14);
    QTextCursor c = memo.textCursor();
    c.setPosition(7);
    memo.setTextCursor(c);
    memo.insertPlainText(u"123456"_s);  // a paste in the middle
    EXPECT_EQ(memo.toPlainText(), u"inizio 123fine"_s);
    EXPECT_EQ(Dialogs::instance().beeps(), 1);
    QTest::keyClicks(&memo, u"x"_s);
    EXPECT_EQ(memo.toPlainText(), u"inizio 123fine"_s);
    EXPECT_EQ(Dialogs::instance().beeps(), 2);
    limitLength(&memo, 6);  // a tighter limit applies at once, to the text already there
    EXPECT_EQ(memo.toPlainText().size(), 6);
}
