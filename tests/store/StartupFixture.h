#pragma once

#include <gtest/gtest.h>

#include "core/Clock.h"
#include "core/Notifier.h"
#include "settings/Settings.h"
#include "store/DataStartup.h"
#include "tests/TestSupport.h"
#include "tests/store/SqliteProbe.h"

namespace zel::test {

// A base folder of its own and a fixed date, with the data start-up at hand.
class StartupFixture : public ::testing::Test {
protected:
    void SetUp() override { pinDate(QDate(2026, 12, 11)); }
    void TearDown() override { Clock::unpin(); }

    static void pinDate(const QDate& d) { Clock::pin(QDateTime(d, QTime(10, 0))); }

    int runStartup() {
        notifier = RecordingNotifier{};
        Settings settings(base.path());
        DataStartup startup(base.path(), settings, notifier);
        return startup.runAll();
    }
    QString data(const QString& file) const { return base.file(QStringLiteral("Dati/") + file); }

    TempBase base;
    RecordingNotifier notifier;
};

}  // namespace zel::test
