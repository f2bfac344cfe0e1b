#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <functional>
#include <memory>

#include "app/TMain.h"
#include "core/Clock.h"
#include "core/Notifier.h"
#include "settings/Settings.h"
#include "store/DataStartup.h"
#include "store/Store.h"
#include "tests/TestSupport.h"
#include "ui/Dialogs.h"
#include "ui/TrayNotice.h"

namespace zel::test {

inline bool waitFor(const std::function<bool()>& done, int ms = 10000) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

// A base folder and a fixed date; message boxes answered by script; modal windows
// handled by the queued actions, any other modal window closed as a failure.
class ShellFixture : public ::testing::Test {
protected:
    void SetUp() override {
        Clock::pin(QDateTime(QDate(2026, 12, 11), QTime(10, 0)));
        QGuiApplication::setQuitOnLastWindowClosed(false);
        Dialogs::instance().reset();
        Dialogs::instance().setScripted(true);
        TrayNotice::instance().reset();
        m_guard = std::make_unique<QTimer>();
        m_guard->setInterval(5);
        QObject::connect(m_guard.get(), &QTimer::timeout, [this] { serveModal(); });
        m_guard->start();
    }
    void TearDown() override {
        m_guard.reset();
        main.reset();
        Dialogs::instance().reset();
        TrayNotice::instance().reset();
        Clock::unpin();
    }

    // Runs the data start-up alone, so that a test can fill archives before the window opens.
    void prepareArchives() {
        RecordingNotifier quiet;
        Settings s(base.path());
        DataStartup startup(base.path(), s, quiet);
        ASSERT_EQ(startup.runAll(), 0);
    }

    TMain& start() {
        main = std::make_unique<TMain>(base.path());
        main->setOfflineCheck([] { return false; });
        main->show();
        EXPECT_TRUE(waitFor([this] { return main->startupDone(); }));
        return *main;
    }

    // The next modal window of class W gets this action.
    template <class W>
    void onModal(std::function<void(W&)> action) {
        m_actions.push_back([action](QWidget* w) {
            auto* typed = qobject_cast<W*>(w);
            if (!typed) return false;
            action(*typed);
            return true;
        });
    }
    bool modalsServed() const { return m_actions.empty(); }

    void trigger(const QString& command) {
        QAction* a = main->findChild<QAction*>(command);
        ASSERT_NE(a, nullptr) << qPrintable(command);
        ASSERT_TRUE(a->isEnabled()) << qPrintable(command);
        a->trigger();
    }

    TempBase base;
    std::unique_ptr<TMain> main;

private:
    void serveModal() {
        QWidget* w = QApplication::activeModalWidget();
        if (!w || !w->isVisible()) {
            m_unexpected = nullptr;
            return;
        }
        if (!m_actions.empty() && m_actions.front()(w)) {
            m_actions.erase(m_actions.begin());
            return;
        }
        if (w != m_unexpected) {
            m_unexpected = w;
            m_since.start();
        } else if (m_since.elapsed() > 2000) {
            ADD_FAILURE() << "unexpected modal window " << qPrintable(w->objectName());
            w->close();
        }
    }

    std::unique_ptr<QTimer> m_guard;
    std::vector<std::function<bool(QWidget*)>> m_actions;
    QWidget* m_unexpected = nullptr;
    QElapsedTimer m_since;
};

}  // namespace zel::test
