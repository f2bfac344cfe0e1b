#include <gtest/gtest.h>

#include <QFile>

#include "ddt/TQR1.h"
#include "tests/WindowFixture.h"
#include "tests/ddt/DdtBrowserSeed.h"

using namespace zel;
using namespace zel::test;

namespace {

QString ddtRef(const QString& name) {
    return QStringLiteral(ZELVARIN_SOURCE_DIR "/tests/ddt/refs/") + name;
}

// The page model's text against a reference file; ZELVARIN_WRITE_REFS=1 rewrites it.
void expectMatchesDdtReference(const report::PageModel& model, const QString& name) {
    const QString text = model.text();
    QFile f(ddtRef(name));
    if (qEnvironmentVariableIntValue("ZELVARIN_WRITE_REFS") == 1) {
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text.toUtf8());
        return;
    }
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << "missing reference " << name.toStdString();
    EXPECT_EQ(text.toStdString(), QString::fromUtf8(f.readAll()).toStdString())
        << name.toStdString();
}

class TQR1Print : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        seed.emplace(DdtSeed{*store, *settings});
        seed->partner(QStringLiteral("C1"), QStringLiteral("Rossi Mario Srl"));
        seed->header(7, QStringLiteral("C1"), QDate(2026, 12, 10));
        store->exec(QStringLiteral(
                        "UPDATE %1 SET tot_colli = 3, tot_peso = 4.5, ordine = '44', dataord = ?")
                        .arg(store->table(seed->headers())),
                    {QDate(2026, 11, 30)});
    }
    DdtPrintData load(qint64 n = 7, const QString& cli = QStringLiteral("C1")) {
        auto d = TQR1::load(*store, DdtYearArchives::fromSettings(*settings), {n, cli});
        EXPECT_TRUE(d.has_value());
        return d.value_or(DdtPrintData{});
    }
    DdtPrintOptions options() const {
        DdtPrintOptions o = DdtPrintOptions::fromSettings(*settings);
        o.destStreet = QStringLiteral("Via Po 3");
        o.destCity = QStringLiteral("Torino");
        o.carrier1 = QStringLiteral("Trasporti Bianchi");
        o.pickupDate = QDate(2026, 12, 11);
        o.pickupDateOn = true;
        o.pickupTime = QTime(9, 30);
        o.note = QStringLiteral("Fragile");
        return o;
    }
    std::optional<DdtSeed> seed;
};

TEST_F(TQR1Print, OnePageDdtMatchesItsReference) {
    const QDate d(2026, 12, 10);
    seed->line(7, QStringLiteral("C1"), QStringLiteral("A1"), QStringLiteral("Vite 6x20"), 5, 9, 22,
               1, 2.5, d, QStringLiteral("12"), QDate(2026, 11, 2));
    seed->line(7, QStringLiteral("C1"), QStringLiteral("_NOTA"),
               QStringLiteral("Consegna parziale"), 1, 0, 0, 0, 1, d);
    seed->line(7, QStringLiteral("C1"), QStringLiteral("A2"), QStringLiteral("Dado M6"), 3, 4.5, 10,
               2, 2, d, QStringLiteral("0"), QDate(2026, 11, 3));
    settings->setValue(u"Utente", u"riga 1", QStringLiteral("Ditta Esempio Srl"));
    settings->setValue(u"Utente", u"riga 5", QStringLiteral("P.IVA 09876543210"));
    settings->setValue(u"DDT", u"Stampa solo logo", false);
    settings->setValue(u"DDT", u"Stampa solo intestazioni", true);
    DdtPrintOptions o = options();
    o.pickupTimeOn = true;
    o.weightColumn = true;
    o.orderColumn = true;
    o.orderDateColumn = true;
    o.yourRefField = true;
    o.packingField = true;
    const report::PageModel m = TQR1(*settings).render(load(), o);
    ASSERT_EQ(m.pageCount(), 1);
    EXPECT_FALSE(m.pageText(0).contains(TQR1::continuedText()));
    expectMatchesDdtReference(m, QStringLiteral("tqr1_una_pagina.txt"));
}

TEST_F(TQR1Print, ThreePageDdtMatchesItsReferenceAndContinuesOnAllButTheLastPage) {
    for (int i = 1; i <= 70; ++i)
        seed->line(7, QStringLiteral("C1"), QStringLiteral("ART%1").arg(i, 3, 10, QLatin1Char('0')),
                   QStringLiteral("Articolo numero %1").arg(i), i, 1.25, 22, 1, 0.5,
                   QDate(2026, 12, 10));
    const report::PageModel m = TQR1(*settings).render(load(), options());
    ASSERT_EQ(m.pageCount(), 3);
    for (int p = 0; p < 3; ++p) {
        EXPECT_EQ(m.pageText(p).contains(TQR1::continuedText()), p < 2) << "page " << p + 1;
        // Every sheet names its DDT and recipient.
        EXPECT_TRUE(m.pageText(p).contains(QStringLiteral("Rossi Mario Srl"))) << "page " << p + 1;
    }
    expectMatchesDdtReference(m, QStringLiteral("tqr1_tre_pagine.txt"));
}

struct ColumnCase {
    const char* name;
    bool weight;
    bool order;
    double qtyUnits;  // right edge of the quantity column, in report units
};

class TQR1Columns : public TQR1Print, public ::testing::WithParamInterface<ColumnCase> {};

TEST_P(TQR1Columns, QuantitySitsWhereTheColumnsLeaveIt) {
    seed->line(7, QStringLiteral("C1"), QStringLiteral("A1"), QStringLiteral("Vite"), 5, 9, 22, 1,
               2.5, QDate(2026, 12, 10));
    DdtPrintOptions o = options();
    o.weightColumn = GetParam().weight;
    o.orderColumn = GetParam().order;
    const report::PageModel m = TQR1(*settings).render(load(), o);
    const double left = settings->number(u"DDT", u"Margine sinistro");
    bool found = false;
    for (const report::PageItem& it : m.pages[0].items)
        if (it.kind == report::PageItem::Kind::Text && it.text == QStringLiteral("5,00")) {
            found = true;
            EXPECT_NEAR(it.rect.right(), left + report::unitsToMm(GetParam().qtyUnits - 4 + 56),
                        0.01);
        }
    EXPECT_TRUE(found);
}

INSTANTIATE_TEST_SUITE_P(Geometry, TQR1Columns,
                         ::testing::Values(ColumnCase{"NoOrderNoWeight", false, false, 650},
                                           ColumnCase{"WeightNoOrder", true, false, 600},
                                           ColumnCase{"Order", false, true, 506},
                                           ColumnCase{"OrderAndWeight", true, true, 506}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(TQR1Print, DescriptiveLinesAndMissingOrdersPrintBlank) {
    const QDate d(2026, 12, 10);
    seed->line(7, QStringLiteral("C1"), QStringLiteral("_TXT"), QStringLiteral("Solo testo"), 4, 0,
               0, 0, 3, d, QStringLiteral("9"), QDate(2026, 1, 5));
    seed->line(7, QStringLiteral("C1"), QStringLiteral("B1"), QStringLiteral("Senza ordine"), 2, 1,
               22, 0, 1, d, QStringLiteral("0"), QDate(2026, 1, 6));
    seed->line(7, QStringLiteral("C1"), QStringLiteral("B2"), QStringLiteral("Data vuota"), 3, 1,
               22, 0, 1, d, QStringLiteral("15"), QDate(1899, 12, 31));
    DdtPrintOptions o = options();
    o.weightColumn = o.orderColumn = o.orderDateColumn = true;
    const QString text = TQR1(*settings).render(load(), o).pageText(0);
    EXPECT_TRUE(text.contains(QStringLiteral("_TXT | Solo testo | N. | 9 | 05/01/2026\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("B1 | Senza ordine | N. | 2,00 | 1,00\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("B2 | Data vuota | N. | 3,00 | 1,00 | 15\n")));
}

TEST_F(TQR1Print, DeletedRecipientCardStillPrintsAndHiddenLinesDoNot) {
    seed->header(8, QStringLiteral("GONE"), QDate(2026, 12, 9));
    seed->line(8, QStringLiteral("GONE"), QStringLiteral("A1"), QStringLiteral("Visibile"), 1, 1,
               22, 0, 0, QDate(2026, 12, 9));
    store->exec(QStringLiteral("INSERT INTO %1 (bolla, cod_cli, cod_forn, cod, des, flag) VALUES "
                               "(8, 'GONE', '', 'A9', "
                               "'Nascosta', 'X')")
                    .arg(store->table(seed->lines())));
    const QString text = TQR1(*settings).render(load(8, QStringLiteral("GONE")), options()).text();
    EXPECT_TRUE(text.contains(QStringLiteral("GONE")));
    EXPECT_TRUE(text.contains(QStringLiteral("Visibile")));
    EXPECT_FALSE(text.contains(QStringLiteral("Nascosta")));
    EXPECT_FALSE(
        TQR1::load(*store, DdtYearArchives::fromSettings(*settings), {8, QStringLiteral("C1")})
            .has_value());
}

}  // namespace
