#include <gtest/gtest.h>

#include <QFileInfo>

#include "tests/TestSupport.h"
#include "tests/WindowFixture.h"
#include "tests/store/SqliteProbe.h"

using namespace zel;
using namespace zel::test;
using namespace Qt::Literals::StringLiterals;

namespace {

class DeadlineCommand : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        const QString scad = data(u"scad.db"_s);
        Probe::exec(scad,
                    u"INSERT INTO scad (id, data, des, dare, avere, pagato) VALUES "
                    u"(1, '2026-03-05', 'Affitto', 500.10, 0, 'N'), "
                    u"(2, '2026-03-20', 'Fattura 7', 0, 1220.45, ' n'), "
                    u"(3, '2026-03-25', 'Fattura 8', 0, 99.99, 'S'), "
                    u"(4, '2026-04-01', 'Luce', 80, 0, 'N')"_s);
        store.reset();  // the command opens the archives itself
    }
    QStringList args(const QString& from, const QString& to, const QString& pdf,
                     bool unpaid) const {
        QStringList a{u"--base"_s, base.path(), u"--scadenze"_s, u"--dal"_s, from,
                      u"--al"_s,   to,          u"--pdf"_s,      pdf};
        if (unpaid) a << u"--non-pagate"_s;
        return a;
    }
};

TEST_F(DeadlineCommand, PrintsThePeriodsDeadlinesWithTotals) {
    struct Case {
        bool unpaid;
        QString said;
    };
    const QList<Case> cases{
        {true, u"2 scadenze dal 01/03/2026 al 31/03/2026 (dare 500,10, avere 1.220,45)"_s},
        {false, u"3 scadenze dal 01/03/2026 al 31/03/2026 (dare 500,10, avere 1.320,44)"_s},
    };
    for (const Case& c : cases) {
        const QString pdf = base.file(c.unpaid ? u"non_pagate.pdf"_s : u"tutte.pdf"_s);
        const CommandOutcome o = runZelvarin(args(u"2026-03-01"_s, u"2026-03-31"_s, pdf, c.unpaid));
        EXPECT_EQ(o.code, 0) << o.err.toStdString();
        EXPECT_TRUE(o.err.contains(c.said)) << o.err.toStdString();
        ASSERT_TRUE(QFileInfo(pdf).size() > 0);
        const QString text = pdfText(pdf);
        if (!text.isEmpty()) {
            EXPECT_TRUE(text.contains(u"Affitto"_s));
            EXPECT_EQ(text.contains(u"Fattura 8"_s), !c.unpaid);
            EXPECT_FALSE(text.contains(u"Luce"_s));
        }
    }
}

TEST_F(DeadlineCommand, EmptyPeriodAndBadLinesWriteNothing) {
    const QString pdf = base.file(u"vuoto.pdf"_s);
    CommandOutcome o = runZelvarin(args(u"2025-01-01"_s, u"2025-12-31"_s, pdf, false));
    EXPECT_EQ(o.code, 2);
    EXPECT_TRUE(o.err.contains(u"Non ci sono scadenze che soddisfano il filtro di ricerca"_s));
    EXPECT_FALSE(QFileInfo::exists(pdf));
    o = runZelvarin({u"--base"_s, base.path(), u"--scadenze"_s, u"--dal"_s, u"2026-03-01"_s, u"--al"_s,
                  u"2026-03-31"_s});
    EXPECT_EQ(o.code, 2);
    EXPECT_TRUE(o.err.contains(u"--scadenze richiede --pdf FILE"_s));
}

}  // namespace
