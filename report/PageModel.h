#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <vector>

namespace zel::report {

// One thing placed on a page, in millimetres from the page's top-left corner.
struct PageItem {
    enum class Kind { Text, Line, Frame, Rect, Image };
    Kind kind = Kind::Text;
    QRectF rect;
    // Text: one printed line, already cut to its box.
    QString text;
    QFont font;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop;
    QColor color = Qt::black;
    // Rect: fill colour; Frame: optional fill behind the border.
    QColor fill;
    double penWidth = 0.2;  // mm
    // Image: the picture, drawn into rect (already fitted).
    QImage image;
};

struct Page {
    std::vector<PageItem> items;
};

// The rendered document: what every output (printer, PDF, preview) paints and what
// tests read.
class PageModel {
public:
    QSizeF pageSize{210.0, 297.0};  // mm, portrait A4 unless the layout says otherwise
    std::vector<Page> pages;
    QString title;  // document name for the printer queue and the PDF

    int pageCount() const { return static_cast<int>(pages.size()); }
    // Text of one page (0-based): text items grouped in rows by their top edge,
    // rows from top to bottom, items of a row from left to right joined by " | ".
    QString pageText(int index) const;
    // Every page, each introduced by "=== Pagina N ===".
    QString text() const;
};

}  // namespace zel::report
