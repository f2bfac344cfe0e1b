#include <gtest/gtest.h>

#include <QSet>

#include "registry/PartnerArchive.h"
#include "registry/PartnerRules.h"
#include "tests/TestSupport.h"

using namespace zel;
using namespace zel::partner;
using namespace Qt::Literals::StringLiterals;

TEST(PartnerRules, VatNumberCheckDigit) {
    struct Case {
        QString vat;
        bool valid;
    } cases[] = {{u"01234567897"_s, true},  {u"12345678903"_s, true},  {u"12345678901"_s, false},
                 {u"1234567890"_s, false},  {u"1234567890A"_s, false}, {u""_s, false},
                 {u"123456789031"_s, false}};
    for (const Case& c : cases) EXPECT_EQ(isValidVatNumber(c.vat), c.valid) << qPrintable(c.vat);
}

TEST(PartnerRules, FiscalCodeVerdicts) {
    EXPECT_TRUE(isValidFiscalCode(u"RSSMRA85T10A562S"_s));
    EXPECT_TRUE(isValidFiscalCode(u"bnclra90a41f205i"_s)) << "letter case does not matter";
    EXPECT_FALSE(isValidFiscalCode(u"RSSMRA85T10A562T"_s));
    struct Case {
        QString cf;
        QString vat;
        FiscalCodeVerdict verdict;
    } cases[] = {
        {u""_s, u""_s, FiscalCodeVerdict::Accept},
        {u"VRDGPP70C01H501W"_s, u""_s, FiscalCodeVerdict::Accept},
        {u"VRDGPP70C01H501X"_s, u""_s, FiscalCodeVerdict::Warn},
        {u"01234567897"_s, u""_s, FiscalCodeVerdict::Accept},         // a company's code
        {u"01234567890"_s, u""_s, FiscalCodeVerdict::Warn},
        {u"01234567890"_s, u"01234567890"_s, FiscalCodeVerdict::Accept},  // same as the VAT number: not tested
        {u"ABC"_s, u""_s, FiscalCodeVerdict::Refuse},
        {u"RSSMRA85T10A562"_s, u""_s, FiscalCodeVerdict::Refuse},
        {u"0123456789A"_s, u""_s, FiscalCodeVerdict::Refuse},
    };
    for (const Case& c : cases) EXPECT_EQ(judgeFiscalCode(c.cf, c.vat), c.verdict) << qPrintable(c.cf);
}

TEST(PartnerRules, NextCodeProposals) {
    struct Case {
        QString last;
        bool autoIncrement;
        bool zeros;
        QString expected;
    } cases[] = {
        {u""_s, true, false, u"1"_s},           {u""_s, true, true, u"00001"_s},
        {u"A12B"_s, true, false, u"A12C"_s},    {u"AB9"_s, true, false, u"AB:"_s},
        {u"ZZ"_s, true, false, u"Z["_s},        {u"0047"_s, true, false, u"48"_s},
        {u"0099"_s, true, false, u"100"_s},     {u"0099"_s, true, true, u"00100"_s},
        {u"1234567"_s, true, true, u"1234568"_s}, {u"42"_s, false, true, u"00000"_s},
        {u"42"_s, false, false, u""_s},
    };
    for (const Case& c : cases) {
        const CodeProposal p = proposeCode(c.last, c.autoIncrement, c.zeros, 5, {});
        EXPECT_EQ(p.code, c.expected) << qPrintable(c.last);
        EXPECT_TRUE(p.error.isEmpty());
    }
    EXPECT_FALSE(proposeCode(u"12-3"_s, true, false, 5, {}).error.isEmpty());
    // Codes sort as text: after 9 comes 10, which is taken, so 11 is proposed.
    const QSet<QString> taken = {u"9"_s, u"10"_s};
    EXPECT_EQ(proposeCode(u"9"_s, true, false, 5, [&](const QString& c) { return taken.contains(c); }).code, u"11"_s);
}

TEST(PartnerRules, TypeStringRoundTrip) {
    const TypeString t = TypeString::parse(u"51000000000100000000"_s);
    EXPECT_EQ(t.trust, 5);
    for (int k = 0; k < kKindCount; ++k) EXPECT_EQ(t.kinds[size_t(k)], k == Cliente || k == Dettagliante) << k;
    EXPECT_EQ(t.toString(), u"51000000000100000000"_s);
    EXPECT_EQ(TypeString::parse(u"9111"_s).toString(), u"00000000000000000000"_s) << "short strings read as zeros";
    TypeString agent;
    agent.trust = 3;
    agent.kinds[Libera4] = true;
    EXPECT_EQ(agent.toString(), u"30000010000000000000"_s) << "the agent flag is the seventh character";
}

TEST(PartnerRules, SearchTextIsMatchedLiterally) {
    const PartnerQuery q = PartnerQuery::quickSearch(1, false, u"100%_a\\"_s, 3);
    EXPECT_EQ(q.params, (QVariantList{u"%100\\%\\_A\\\\%"_s, u"_11%"_s}));
    EXPECT_FALSE(q.where.contains(u"100"_s)) << "no user text in the statement";
}
