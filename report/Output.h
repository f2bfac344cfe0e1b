#pragma once

#include <QImage>
#include <QString>

#include "report/Layout.h"
#include "report/PageModel.h"

class QPainter;
class QPrinter;

namespace zel::report {

// Paints one page with the painter's device at dpi pixels per inch, origin at the
// paper's top-left corner.
void paintPage(QPainter& painter, const Page& page, double dpi);

// The page as a picture at dpi (preview, thumbnails), white background.
QImage pageImage(const PageModel& model, int index, double dpi);

// Prints every page on an already chosen printer, copies times (at least once).
bool printModel(const PageModel& model, QPrinter& printer, int copies, QString* error = nullptr);

// Writes the document as a PDF file. Works without a display (offscreen platform).
bool writePdf(const PageModel& model, const QString& path, QString* error = nullptr);

// The batch path: renders a layout over its rows straight to a PDF file.
bool renderToPdf(const Layout& layout, const Rows& rows, const QString& path,
                 QString* error = nullptr);

}  // namespace zel::report
