#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTranslator>
#include <memory>

#include "tests/TestSupport.h"
#include "ui/Dialogs.h"
#include "ui/Translations.h"

using namespace zel;
using namespace Qt::Literals::StringLiterals;

namespace {

QString plain(const QAbstractButton* b) { return b->text().remove(u'&'); }

class QtTranslations : public ::testing::Test {
protected:
    void SetUp() override {
        m_translator.reset(installQtTranslations(*QCoreApplication::instance()));
        ASSERT_TRUE(m_translator) << "Qt's Italian catalogue (qt6-translations-l10n) is missing";
    }
    // Deleting the translator takes it out of the application again.
    std::unique_ptr<QTranslator> m_translator;
};

}  // namespace

TEST_F(QtTranslations, AQuestionBoxAnswersWithSiAndNo) {
    Dialogs& dialogs = Dialogs::instance();
    const bool wasScripted = dialogs.scripted();
    dialogs.reset();
    dialogs.setScripted(false);
    QStringList seen;
    // The box runs its own loop; the timer reads it and presses "No" like a user.
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        poll.stop();
        for (QAbstractButton* b : box->buttons()) seen.append(plain(b));
        QTest::mouseClick(box->button(QMessageBox::No), Qt::LeftButton);
    });
    poll.start();
    const DlgButton answer = dialogs.show(
        MsgIcon::Question, u"Conferma"_s, u"Continuare?"_s,
        static_cast<int>(DlgButton::Yes) | static_cast<int>(DlgButton::No), DlgButton::Yes);
    dialogs.setScripted(wasScripted);
    dialogs.reset();
    seen.sort();
    EXPECT_EQ(seen, (QStringList{u"No"_s, u"Sì"_s}));
    EXPECT_EQ(answer, DlgButton::No);
}

TEST_F(QtTranslations, TheFileAndPrintDialogsSpeakItalian) {
    QFileDialog files(nullptr, u"Scegli il file"_s);
    files.setOption(QFileDialog::DontUseNativeDialog);
    auto* buttons = files.findChild<QDialogButtonBox*>();
    ASSERT_TRUE(buttons);
    EXPECT_EQ(plain(buttons->button(QDialogButtonBox::Cancel)), u"Annulla"_s);
    EXPECT_EQ(plain(buttons->button(QDialogButtonBox::Open)), u"Apri"_s);

    QPrinter printer;
    QPrintDialog print(&printer);
    buttons = print.findChild<QDialogButtonBox*>();
    ASSERT_TRUE(buttons);
    EXPECT_EQ(print.windowTitle(), u"Stampa"_s);
    EXPECT_EQ(plain(buttons->button(QDialogButtonBox::Cancel)), u"Annulla"_s);
}
