#include <gtest/gtest.h>

#include "tests/TestSupport.h"
#include "ui/TrayNotice.h"
#include "ui/UsageCounters.h"

namespace zel::test {
namespace {

TEST(UsageCounters, CountsEachUseAndKeepsTheLastInItsModuleSection) {
    TempBase base;
    UsageCounters counters(base.path());
    ASSERT_TRUE(counters.recordUse(QStringLiteral("Anagrafica"), 12, QDateTime(QDate(2026, 3, 4), QTime(9, 5))));
    ASSERT_TRUE(counters.recordUse(QStringLiteral("Anagrafica"), 13, QDateTime(QDate(2026, 3, 5), QTime(18, 30))));
    ASSERT_TRUE(counters.recordUse(QStringLiteral("Fattura da DDT"), 2, QDateTime(QDate(2026, 3, 5), QTime(8, 0))));
    EXPECT_EQ(QString::fromUtf8(base.read(QStringLiteral("survey.zel"))),
              QStringLiteral("[Anagrafica]\nstringa=Ultimo utilizzo: 05/03/2026 18:30 13\nnumero utilizzi=2\n"
                             "[Fattura da DDT]\nstringa=Ultimo utilizzo: 05/03/2026 08:00 2\nnumero utilizzi=1\n"));
    EXPECT_EQ(counters.read(QStringLiteral("Anagrafica")).uses, 2);
}

TEST(TrayNotice, OptionalKindsFollowTheSettingAndExtraAlwaysShows) {
    TrayNotice& tray = TrayNotice::instance();
    tray.reset();
    bool enabled = false;
    tray.setEnabledCheck([&enabled] { return enabled; });
    tray.show(QStringLiteral("a"), QStringLiteral("info"), 45, TrayNotice::Kind::Info);
    tray.show(QStringLiteral("b"), QStringLiteral("extra"), 45, TrayNotice::Kind::Extra);
    enabled = true;
    tray.show(QStringLiteral("c"), QStringLiteral("error"), 45, TrayNotice::Kind::Error);
    QStringList texts;
    for (const auto& s : tray.shown()) texts << s.text;
    EXPECT_EQ(texts, (QStringList{QStringLiteral("extra"), QStringLiteral("error")}));
    tray.setEnabledCheck({});
    tray.reset();
}

}  // namespace
}  // namespace zel::test
