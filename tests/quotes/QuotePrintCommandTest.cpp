#include <gtest/gtest.h>

#include <QFile>

#include "quotes/QuoteArchive.h"
#include "tests/TestSupport.h"
#include "tests/WindowFixture.h"

using namespace zel;
using namespace zel::test;
using namespace Qt::Literals::StringLiterals;

namespace {

class QuotePrintCommandTest : public WindowFixture {};

TEST_F(QuotePrintCommandTest, WritesTheQuotePdfOrSaysWhyNot) {
    {
        QuoteArchive quotes(*store, *settings);
        quotes.clearWorking();
        QuoteLine l;
        l.cod = u"A1"_s;
        l.quant = 1;
        l.prezzo = 5;
        l.percIva = 4;
        quotes.appendWorking(l, u"C1"_s, QDate(2026, 12, 11));
        QuoteHeader h;
        h.number = 1;
        h.date = QDate(2026, 12, 11);
        h.codCli = u"C1"_s;
        quotes.save(h);
    }
    store.reset();
    const QString pdf = base.file(u"prev.pdf"_s);
    struct Case {
        QStringList args;
        int code;
        const char16_t* says;
    };
    const QList<Case> cases = {
        {{u"--stampa-preventivo"_s, u"1"_s, u"--pdf"_s, pdf}, 0, u"Preventivo n° 1 (1 righe)"},
        {{u"--stampa-preventivo"_s, u"9"_s, u"--pdf"_s, pdf}, 2, u"Nessun preventivo n° 9"},
        {{u"--stampa-preventivo"_s, u"x"_s, u"--pdf"_s, pdf}, 2, u"Numero di preventivo non valido"},
        {{u"--stampa-preventivo"_s, u"1"_s}, 2, u"richiede --pdf"},
    };
    for (const Case& c : cases) {
        const CommandOutcome o = runZelvarin(QStringList{u"--base"_s, base.path()} + c.args);
        EXPECT_EQ(o.code, c.code) << o.err.toStdString();
        EXPECT_TRUE(o.err.contains(QString::fromUtf16(c.says))) << o.err.toStdString();
    }
    QFile f(pdf);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.read(5).startsWith("%PDF"));
}

}  // namespace
