#include <gtest/gtest.h>

#include <QImage>

#include "report/CompanyHeader.h"
#include "report/Engine.h"
#include "settings/Settings.h"
#include "tests/TestSupport.h"

using namespace zel;
using namespace zel::report;

namespace {

struct ModeCase {
    DocumentKind kind;
    const char16_t* key;  // the one choice switched on
    HeaderMode mode;
};

void setMode(Settings& s, DocumentKind kind, const char16_t* key) {
    const QString sec = CompanyHeader::sectionOf(kind);
    const QString nothing = kind == DocumentKind::Preventivo ? QStringLiteral("Stampa senza logo e intestazioni")
                                                             : QStringLiteral("Stampa nessun logo o intestazione");
    for (const QString& k : {QStringLiteral("Stampa solo logo"), QStringLiteral("Stampa logo e intestazioni"),
                             QStringLiteral("Stampa solo intestazioni"), nothing})
        if (s.indexOf(sec, k) >= 0) s.setValue(sec, k, false);
    if (key) s.setValue(sec, QString::fromUtf16(key), true);
}

QString writeLogo(const test::TempBase& base, const QString& name, int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::blue);
    const QString path = base.file(name);
    img.save(path, "PNG");
    return path;
}

}  // namespace

TEST(CompanyHeader, ModeComesFromTheDocumentsOwnChoices) {
    test::TempBase base;
    Settings s(base.path());
    const ModeCase cases[] = {
        {DocumentKind::Fattura, u"Stampa solo logo", HeaderMode::LogoOnly},
        {DocumentKind::Fattura, u"Stampa logo e intestazioni", HeaderMode::LogoAndLines},
        {DocumentKind::Fattura, u"Stampa solo intestazioni", HeaderMode::LinesOnly},
        {DocumentKind::Fattura, u"Stampa nessun logo o intestazione", HeaderMode::Nothing},
        {DocumentKind::Ddt, u"Stampa solo intestazioni", HeaderMode::LinesOnly},
        {DocumentKind::Preventivo, u"Stampa senza logo e intestazioni", HeaderMode::Nothing},
        {DocumentKind::Preventivo, u"Stampa logo e intestazioni", HeaderMode::LogoAndLines},
        {DocumentKind::Ordine, u"Stampa solo intestazioni", HeaderMode::LinesOnly},
        {DocumentKind::Ordine, nullptr, HeaderMode::Nothing},
    };
    for (const auto& c : cases) {
        setMode(s, c.kind, c.key);
        EXPECT_EQ(CompanyHeader::modeFrom(s, c.kind), c.mode)
            << CompanyHeader::sectionOf(c.kind).toStdString() << " "
            << (c.key ? QString::fromUtf16(c.key).toStdString() : std::string("none"));
    }
    // Defaults: the invoice prints the logo only, the quote logo and lines.
    Settings fresh(base.path());
    EXPECT_EQ(CompanyHeader::modeFrom(fresh, DocumentKind::Fattura), HeaderMode::LogoOnly);
    EXPECT_EQ(CompanyHeader::modeFrom(fresh, DocumentKind::Preventivo), HeaderMode::LogoAndLines);
    EXPECT_EQ(headerModeCaption(HeaderMode::Nothing),
              QStringLiteral("Non stampare nè logo nè dati fiscali - spazio vuoto"));
}

TEST(CompanyHeader, LinesShownByModeAndTheFirstFourOption) {
    test::TempBase base;
    Settings s(base.path());
    for (int n = 1; n <= 8; ++n) s.setValue(u"Utente", QStringLiteral("riga %1").arg(n), QStringLiteral("Riga%1").arg(n));
    struct Case {
        const char16_t* key;
        bool firstFour;
        const char* shown;  // lines printed, as digits
    };
    const Case cases[] = {
        {u"Stampa solo logo", true, ""},
        {u"Stampa logo e intestazioni", true, "5678"},
        {u"Stampa solo intestazioni", true, "12345678"},
        {u"Stampa solo intestazioni", false, "5678"},
        {u"Stampa nessun logo o intestazione", true, ""},
    };
    for (const auto& c : cases) {
        setMode(s, DocumentKind::Ddt, c.key);
        s.setValue(u"DDT", u"Stampa prime 4 righe intestazione", c.firstFour);
        const CompanyHeader h(s, DocumentKind::Ddt);
        Band band;
        band.height = 40;
        h.addTo(band, QPointF(0, 0), 100);
        Layout l;
        l.title = band;
        const PageModel m = render(l, {});
        QString shown;
        for (int n = 1; n <= 8; ++n) {
            EXPECT_EQ(h.lineShown(n), QByteArray(c.shown).contains(char('0' + n))) << n;
            if (m.text().contains(QStringLiteral("Riga%1").arg(n))) shown += QChar(u'0' + n);
        }
        EXPECT_EQ(shown.toStdString(), std::string(c.shown));
    }
}

TEST(CompanyHeader, LogosTakeTheirFileSizeAndPlaceFromTheSettings) {
    test::TempBase base;
    Settings s(base.path());
    setMode(s, DocumentKind::Fattura, u"Stampa logo e intestazioni");
    s.setValue(u"Logo", u"Logo file", base.file(QStringLiteral("manca.png")));
    EXPECT_FALSE(CompanyHeader(s, DocumentKind::Fattura).logoShown());  // a missing file prints nothing

    s.setValue(u"Logo", u"Logo file", writeLogo(base, QStringLiteral("logo.png"), 200, 100));
    s.setValue(u"Logo", u"Logo - compresso", false);
    s.setValue(u"Logo", u"Logo - autosize", false);
    s.setValue(u"System", u"Posizione sinistra logo", 96);
    s.setValue(u"System", u"Posizione superiore logo", 48);
    s.setValue(u"System", u"Larghezza logo", 192);
    s.setValue(u"System", u"Altezza logo", 192);
    s.setValue(u"Logo", u"Logo secondario", writeLogo(base, QStringLiteral("extra.png"), 50, 50));
    s.setValue(u"Fatturazione", u"Extra logo left", 480);
    s.setValue(u"Fatturazione", u"Extra logo top", 0);
    s.setValue(u"Logo", u"Logo secondario - autosize", false);
    s.setValue(u"Logo", u"Logo secondario - compresso", true);
    CompanyHeader h(s, DocumentKind::Fattura);
    ASSERT_TRUE(h.logoShown());
    EXPECT_EQ(h.logoRect(), QRectF(25.4, 12.7, 50.8, 50.8));
    EXPECT_TRUE(h.secondaryLogoShown());
    h.setPrintSecondaryLogo(false);
    EXPECT_FALSE(h.secondaryLogoShown());
    h.setPrintSecondaryLogo(true);

    Layout l;
    l.margins = QMarginsF(10, 10, 10, 10);
    l.title.height = 60;
    h.addTo(l.title, QPointF(100, 0), 90);
    const PageModel m = render(l, {});
    std::vector<QRectF> images;
    for (const PageItem& it : m.pages[0].items)
        if (it.kind == PageItem::Kind::Image) images.push_back(it.rect);
    ASSERT_EQ(images.size(), 2u);
    EXPECT_EQ(images[0], QRectF(35.4, 22.7, 50.8, 25.4));  // proportional: 2:1 in a square box
    EXPECT_NEAR(images[1].left(), 10 + 127.0, 1e-9);       // 480 units from the margin
    EXPECT_NEAR(images[1].width(), 150 * 25.4 / 96, 1e-9);  // stretched to its configured size
    EXPECT_NEAR(images[1].height(), 100 * 25.4 / 96, 1e-9);

    setMode(s, DocumentKind::Fattura, u"Stampa solo intestazioni");
    EXPECT_FALSE(CompanyHeader(s, DocumentKind::Fattura).logoShown());
}
