#pragma once

#include "report/Layout.h"
#include "report/PageModel.h"

namespace zel::report {

// Runs a layout over its rows and returns the pages. Needs a QGuiApplication (the
// offscreen platform is enough) for font metrics; no display, no widgets.
PageModel render(const Layout& layout, const Rows& rows);

// Width and height of text in millimetres, as the engine measures it (the resolution
// of the PDF output, so what fits here fits there).
class TextMetrics {
public:
    static double width(const QFont& font, const QString& text);
    static double lineHeight(const QFont& font);
    // Breaks text into lines no wider than widthMm: at blanks, inside a word only when
    // the word alone is too long; '\n' always breaks.
    static QStringList wrap(const QFont& font, const QString& text, double widthMm);
    // The longest beginning of text (the first line of it) that fits widthMm.
    static QString fit(const QFont& font, const QString& text, double widthMm);
};

}  // namespace zel::report
