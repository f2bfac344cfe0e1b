#include "report/Output.h"

#include <QFile>
#include <QFontMetricsF>
#include <optional>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

#include "report/Engine.h"

namespace zel::report {

namespace {

QRectF toDevice(const QRectF& mm, double k) {
    return {mm.left() * k, mm.top() * k, mm.width() * k, mm.height() * k};
}

QPageSize pageSizeOf(const PageModel& model) {
    return QPageSize(model.pageSize, QPageSize::Millimeter, QString(), QPageSize::ExactMatch);
}

void paintAll(QPainter& painter, const PageModel& model, QPagedPaintDevice& device, int copies,
              double dpi) {
    bool first = true;
    for (int c = 0; c < copies; ++c) {
        for (const Page& page : model.pages) {
            if (!first) device.newPage();
            first = false;
            paintPage(painter, page, dpi);
        }
    }
}

}  // namespace

void paintPage(QPainter& painter, const Page& page, double dpi) {
    const double k = dpi / 25.4;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    QFont lastFont;
    bool fontSet = false;
    std::optional<QFontMetricsF> fm;
    for (const PageItem& it : page.items) {
        const QRectF r = toDevice(it.rect, k);
        switch (it.kind) {
            case PageItem::Kind::Text:
            {
                if (!fontSet || !(it.font.isCopyOf(lastFont) || it.font == lastFont)) {
                    painter.setFont(it.font);
                    lastFont = it.font;
                    fontSet = true;
                    fm.emplace(it.font, painter.device());
                }
                painter.setPen(it.color);
                // Placing the baseline here is much cheaper than a laid-out rect draw,
                // and the engine already cut the text to its box.
                double x = r.left();
                if (it.alignment & (Qt::AlignRight | Qt::AlignHCenter)) {
                    const double w = fm->horizontalAdvance(it.text);
                    x = (it.alignment & Qt::AlignRight) ? r.right() - w : r.left() + (r.width() - w) / 2;
                }
                double y = r.top() + fm->ascent();
                if (it.alignment & Qt::AlignBottom) y = r.bottom() - fm->descent();
                else if (it.alignment & Qt::AlignVCenter) y = r.top() + (r.height() - fm->height()) / 2 + fm->ascent();
                painter.drawText(QPointF(x, y), it.text);
                break;
            }
            case PageItem::Kind::Line:
                painter.setPen(QPen(it.color, std::max(1.0, it.penWidth * k)));
                painter.drawLine(r.topLeft(), r.bottomRight());
                break;
            case PageItem::Kind::Frame:
                if (it.fill.isValid()) painter.fillRect(r, it.fill);
                painter.setPen(QPen(it.color, std::max(1.0, it.penWidth * k)));
                painter.setBrush(Qt::NoBrush);
                painter.drawRect(r);
                break;
            case PageItem::Kind::Rect:
                painter.fillRect(r, it.fill.isValid() ? it.fill : it.color);
                break;
            case PageItem::Kind::Image:
                painter.drawImage(r, it.image);
                break;
        }
    }
    painter.restore();
}

QImage pageImage(const PageModel& model, int index, double dpi) {
    if (index < 0 || index >= model.pageCount()) return {};
    const double k = dpi / 25.4;
    QImage img(QSize(static_cast<int>(model.pageSize.width() * k + 0.5),
                     static_cast<int>(model.pageSize.height() * k + 0.5)),
               QImage::Format_RGB32);
    const int dpm = static_cast<int>(dpi / 0.0254 + 0.5);
    img.setDotsPerMeterX(dpm);
    img.setDotsPerMeterY(dpm);
    img.fill(Qt::white);
    QPainter p(&img);
    paintPage(p, model.pages[static_cast<size_t>(index)], dpi);
    return img;
}

bool printModel(const PageModel& model, QPrinter& printer, int copies, QString* error) {
    printer.setFullPage(true);
    printer.setDocName(model.title);
    printer.setPageSize(pageSizeOf(model));
    printer.setPageOrientation(model.pageSize.width() > model.pageSize.height()
                                   ? QPageLayout::Landscape
                                   : QPageLayout::Portrait);
    printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    // Copies through the printer when it can collate them; by repeating pages otherwise.
    const int n = std::max(1, copies);
    const bool byPrinter = printer.supportsMultipleCopies();
    printer.setCopyCount(byPrinter ? n : 1);
    const int repeat = byPrinter ? 1 : n;
    QPainter painter;
    if (!painter.begin(&printer)) {
        if (error) *error = QStringLiteral("Impossibile avviare la stampa.");
        return false;
    }
    paintAll(painter, model, printer, repeat, printer.resolution());
    painter.end();
    return true;
}

bool writePdf(const PageModel& model, const QString& path, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        if (error) *error = file.errorString();
        return false;
    }
    QPdfWriter writer(&file);
    writer.setResolution(1200);
    writer.setTitle(model.title);
    writer.setCreator(QStringLiteral("Zelvarin"));
    writer.setPageSize(pageSizeOf(model));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    QPainter painter;
    if (!painter.begin(&writer)) {
        if (error) *error = QStringLiteral("Impossibile scrivere il file PDF.");
        return false;
    }
    if (model.pages.empty()) {
        painter.end();
        return true;
    }
    paintAll(painter, model, writer, 1, writer.resolution());
    painter.end();
    file.close();
    if (file.error() != QFileDevice::NoError) {
        if (error) *error = file.errorString();
        return false;
    }
    return true;
}

bool renderToPdf(const Layout& layout, const Rows& rows, const QString& path, QString* error) {
    return writePdf(render(layout, rows), path, error);
}

}  // namespace zel::report
