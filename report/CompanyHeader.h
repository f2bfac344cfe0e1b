#pragma once

#include <QFont>
#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QString>

#include "report/Layout.h"

namespace zel {
class Settings;
}

namespace zel::report {

// The documents whose layouts carry the company header, each with its own keys.
enum class DocumentKind { Ddt, Fattura, Preventivo, Ordine };

enum class HeaderMode {
    LogoOnly,      // "Stampa logo Ditta"
    LogoAndLines,  // "Stampa logo e dati fiscali Ditta": logo and lines 5..8
    LinesOnly,     // "Stampa solo intestazione e dati fiscali ditta": lines 1..8
    Nothing        // "Non stampare nè logo nè dati fiscali - spazio vuoto"
};

QString headerModeCaption(HeaderMode mode);

// The company header rule shared by the document layouts: which of the eight
// letterhead lines and which logos print, where and how large, read from the live
// settings when constructed.
class CompanyHeader {
public:
    CompanyHeader(const Settings& settings, DocumentKind kind);

    static QString sectionOf(DocumentKind kind);
    // The mode the document's four choices select; when several are on, the first in
    // the order above wins, when none is on nothing prints.
    static HeaderMode modeFrom(const Settings& settings, DocumentKind kind);

    HeaderMode mode() const { return m_mode; }
    // Lines 1..4 stay hidden even when the mode shows them (the DDT option
    // "Stampa prime 4 righe intestazione" off).
    void setHideFirstFourLines(bool hide) { m_hideFirstFour = hide; }
    bool hideFirstFourLines() const { return m_hideFirstFour; }
    // The print window's "Stampa logo aggiuntivo" tick; starts from the document's
    // "Stampa extra logo" setting.
    void setPrintSecondaryLogo(bool on) { m_printSecondary = on; }

    QString line(int n) const;  // 1..8, the company lines of the settings
    QFont lineFont(int n) const;
    bool lineShown(int n) const;
    bool logoShown() const;
    bool secondaryLogoShown() const;
    const QImage& logo() const { return m_logo; }
    const QImage& secondaryLogo() const { return m_secondary; }
    // In mm from the band's top-left (the page's printable corner).
    QRectF logoRect() const { return m_logoRect; }
    QRectF secondaryLogoRect() const { return m_secondaryRect; }
    ImageFit logoFit() const { return m_logoFit; }
    ImageFit secondaryLogoFit() const { return m_secondaryFit; }

    // Adds logo, lines and secondary logo to a band. Line n sits in its own slot
    // (slot n-1 below linesTopLeft) so hidden lines leave their space, as the header
    // of a printed form should not move with the mode.
    void addTo(Band& band, const QPointF& linesTopLeft, double linesWidth) const;
    static double slotHeight();

private:
    HeaderMode m_mode = HeaderMode::LogoOnly;
    bool m_hideFirstFour = false;
    bool m_printSecondary = false;
    QString m_lines[8];
    QString m_fonts[8];
    QImage m_logo;
    QImage m_secondary;
    QRectF m_logoRect;
    QRectF m_secondaryRect;
    ImageFit m_logoFit = ImageFit::Proportional;
    ImageFit m_secondaryFit = ImageFit::Proportional;
};

}  // namespace zel::report
