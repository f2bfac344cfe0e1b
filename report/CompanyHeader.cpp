#include "report/CompanyHeader.h"

#include <QFileInfo>

#include "settings/Settings.h"

namespace zel::report {

namespace {

ImageFit fitFrom(bool autosize, bool compressed) {
    if (autosize) return ImageFit::Natural;
    return compressed ? ImageFit::Stretch : ImageFit::Proportional;
}

QImage loadIfExists(const QString& file) {
    if (file.trimmed().isEmpty() || !QFileInfo::exists(file)) return {};
    return QImage(file);
}

}  // namespace

QString headerModeCaption(HeaderMode mode) {
    switch (mode) {
        case HeaderMode::LogoOnly: return QStringLiteral("Stampa logo Ditta");
        case HeaderMode::LogoAndLines: return QStringLiteral("Stampa logo e dati fiscali Ditta");
        case HeaderMode::LinesOnly:
            return QStringLiteral("Stampa solo intestazione e dati fiscali ditta");
        case HeaderMode::Nothing:
            return QStringLiteral("Non stampare nè logo nè dati fiscali - spazio vuoto");
    }
    return {};
}

QString CompanyHeader::sectionOf(DocumentKind kind) {
    switch (kind) {
        case DocumentKind::Ddt: return QStringLiteral("DDT");
        case DocumentKind::Fattura: return QStringLiteral("Fatturazione");
        case DocumentKind::Preventivo: return QStringLiteral("Preventivi");
        case DocumentKind::Ordine: return QStringLiteral("Ordine");
    }
    return {};
}

HeaderMode CompanyHeader::modeFrom(const Settings& s, DocumentKind kind) {
    const QString sec = sectionOf(kind);
    if (s.flag(sec, u"Stampa solo logo")) return HeaderMode::LogoOnly;
    if (s.flag(sec, u"Stampa logo e intestazioni")) return HeaderMode::LogoAndLines;
    if (s.flag(sec, u"Stampa solo intestazioni")) return HeaderMode::LinesOnly;
    return HeaderMode::Nothing;
}

CompanyHeader::CompanyHeader(const Settings& s, DocumentKind kind) {
    const QString sec = sectionOf(kind);
    m_mode = modeFrom(s, kind);
    if (kind == DocumentKind::Ddt) m_hideFirstFour = !s.flag(u"DDT", u"Stampa prime 4 righe intestazione");
    for (int i = 0; i < 8; ++i) {
        m_lines[i] = s.text(u"Utente", QStringLiteral("riga %1").arg(i + 1));
        m_fonts[i] = s.text(u"Utente", QStringLiteral("riga %1 font").arg(i + 1));
    }
    m_logo = loadIfExists(s.text(u"Logo", u"Logo file"));
    m_logoRect = QRectF(unitsToMm(s.number(u"System", u"Posizione sinistra logo")),
                        unitsToMm(s.number(u"System", u"Posizione superiore logo")),
                        unitsToMm(s.number(u"System", u"Larghezza logo")),
                        unitsToMm(s.number(u"System", u"Altezza logo")));
    m_logoFit = fitFrom(s.flag(u"Logo", u"Logo - autosize"), s.flag(u"Logo", u"Logo - compresso"));
    m_secondary = loadIfExists(s.text(u"Logo", u"Logo secondario"));
    m_secondaryRect = QRectF(unitsToMm(s.number(sec, u"Extra logo left")),
                             unitsToMm(s.number(sec, u"Extra logo top")),
                             unitsToMm(s.number(u"Logo", u"Logo secondario - larghezza")),
                             unitsToMm(s.number(u"Logo", u"Logo secondario - altezza")));
    m_secondaryFit = fitFrom(s.flag(u"Logo", u"Logo secondario - autosize"),
                             s.flag(u"Logo", u"Logo secondario - compresso"));
    m_printSecondary = s.flag(sec, u"Stampa extra logo");
}

QString CompanyHeader::line(int n) const {
    if (n < 1 || n > 8) return {};
    return m_lines[n - 1];
}

QFont CompanyHeader::lineFont(int n) const {
    QFont f = defaultFont();
    if (n >= 1 && n <= 8 && !m_fonts[n - 1].trimmed().isEmpty()) f.setFamily(printableFamily(m_fonts[n - 1]));
    f.setPointSizeF(n == 1 ? 13.0 : 8.0);
    f.setBold(n == 1);
    return f;
}

bool CompanyHeader::lineShown(int n) const {
    if (n < 1 || n > 8) return false;
    if (n <= 4 && m_hideFirstFour) return false;
    switch (m_mode) {
        case HeaderMode::LinesOnly: return true;
        case HeaderMode::LogoAndLines: return n >= 5;
        case HeaderMode::LogoOnly:
        case HeaderMode::Nothing: return false;
    }
    return false;
}

bool CompanyHeader::logoShown() const {
    return !m_logo.isNull() && (m_mode == HeaderMode::LogoOnly || m_mode == HeaderMode::LogoAndLines);
}

bool CompanyHeader::secondaryLogoShown() const { return m_printSecondary && !m_secondary.isNull(); }

double CompanyHeader::slotHeight() { return 4.2; }

void CompanyHeader::addTo(Band& band, const QPointF& linesTopLeft, double linesWidth) const {
    if (logoShown()) band.add(Item::picture(m_logoRect, m_logo, m_logoFit));
    double y = linesTopLeft.y();
    for (int n = 1; n <= 8; ++n) {
        const double h = n == 1 ? 6.0 : slotHeight();
        if (lineShown(n) && !line(n).isEmpty())
            band.add(Item::label(QRectF(linesTopLeft.x(), y, linesWidth, h), line(n)).withFont(lineFont(n)));
        y += h;
    }
    if (secondaryLogoShown()) band.add(Item::picture(m_secondaryRect, m_secondary, m_secondaryFit));
}

}  // namespace zel::report
