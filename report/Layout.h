#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QList>
#include <QMarginsF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QVariant>
#include <QVariantMap>
#include <functional>
#include <vector>

namespace zel::report {

// One data row: column name to value. Field names are matched without regard to case,
// as the archives and the layouts spell them both ways.
using Row = QVariantMap;
using Rows = QList<Row>;

// What an expression or a condition can ask while the engine runs.
class Context {
public:
    const Rows* rows = nullptr;
    const Row* row = nullptr;  // the current row; in a summary or footer the last one printed
    int rowIndex = -1;         // 0-based index of row in rows
    int page = 1;              // 1-based page being filled
    // Known only in the page footer, which is laid out once all pages exist.
    int pageCount = 0;
    bool lastPageKnown = false;
    bool lastPage = false;

    int rowCount() const { return rows ? static_cast<int>(rows->size()) : 0; }
    QVariant value(QStringView field) const;
    QString text(QStringView field) const { return value(field).toString(); }
    double number(QStringView field) const;
    // True on the last page; in bands other than the page footer it is only true once
    // the engine knows (the summary), so "-- segue -->" belongs in the page footer.
    bool isLastPage() const { return lastPageKnown && lastPage; }
};

using Expr = std::function<QString(const Context&)>;
using Condition = std::function<bool(const Context&)>;
using ImageExpr = std::function<QImage(const Context&)>;

enum class ImageFit {
    Proportional,  // as large as the box allows, aspect kept, from the box's top-left
    Stretch,       // fills the box
    Natural        // the picture's own size (its resolution, 96 dpi when it has none)
};

// A printable thing inside a band, placed in millimetres from the band's top-left.
struct Item {
    enum class Kind { Label, Field, Expression, Image, Line, Frame, Rect };
    Kind kind = Kind::Label;
    QRectF rect;
    QString text;    // label text
    QString fieldName;
    QString format;  // picture pattern of ui/Formats
    Expr expr;
    QImage image;
    ImageExpr imageExpr;
    ImageFit fit = ImageFit::Proportional;
    QFont font;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    QColor color = Qt::black;
    QColor fill;
    double penWidth = 0.2;
    bool wordWrap = false;  // breaks into lines and makes the band grow
    bool stretch = false;   // follows the band's growth (frames and vertical lines)
    Condition visible;

    static Item label(const QRectF& mm, const QString& text);
    static Item field(const QRectF& mm, const QString& name, const QString& format = {});
    static Item expression(const QRectF& mm, Expr e);
    static Item picture(const QRectF& mm, const QImage& img, ImageFit fit = ImageFit::Proportional);
    static Item picture(const QRectF& mm, ImageExpr e, ImageFit fit = ImageFit::Proportional);
    // A line from the rect's top-left to its bottom-right; zero height or width gives a
    // horizontal or vertical rule.
    static Item line(const QRectF& mm, double penMm = 0.2);
    static Item frame(const QRectF& mm, double penMm = 0.2);
    static Item filled(const QRectF& mm, const QColor& fill);

    Item& withFont(const QFont& f) { font = f; return *this; }
    Item& withPointSize(double pt) { font.setPointSizeF(pt); return *this; }
    Item& bold(bool on = true) { font.setBold(on); return *this; }
    Item& align(Qt::Alignment a) { alignment = a; return *this; }
    Item& withColor(const QColor& c) { color = c; return *this; }
    Item& withFill(const QColor& c) { fill = c; return *this; }
    Item& withFormat(const QString& f) { format = f; return *this; }
    Item& when(Condition c) { visible = std::move(c); return *this; }
    Item& wrap(bool on = true) { wordWrap = on; return *this; }
    Item& stretchWithBand(bool on = true) { stretch = on; return *this; }
};

struct Band {
    double height = 0.0;  // mm, the least height; grows with wrapped text
    std::vector<Item> items;
    Condition visible;

    Item& add(Item it) {
        items.push_back(std::move(it));
        return items.back();
    }
    bool isEmpty() const { return height <= 0.0 && items.empty(); }
};

// Rows with the same key in a run print between one header and one footer.
struct Group {
    std::function<QVariant(const Context&)> key;
    Band header;
    Band footer;
};

// A banded layout. Order on a page: page header, title (first page only), column
// header, group headers, detail rows, group footers, summary (after the last row),
// page footer at the bottom of every page.
struct Layout {
    QString name;
    QSizeF pageSize{210.0, 297.0};
    QMarginsF margins{10.0, 10.0, 10.0, 10.0};
    Band pageHeader;
    bool pageHeaderOnFirstPage = true;
    Band title;
    Band columnHeader;
    std::vector<Group> groups;
    Band detail;
    Band summary;
    Band pageFooter;

    double contentWidth() const { return pageSize.width() - margins.left() - margins.right(); }
};

// The font items start with: Arial 9 pt (its stand-in where Arial is missing).
QFont defaultFont();
// The family itself when installed, else one fixed stand-in.
QString printableFamily(const QString& wanted);

// Legacy layouts and several settings give sizes in screen units of 96 per inch.
constexpr double kMmPerUnit = 25.4 / 96.0;
constexpr double unitsToMm(double units) { return units * kMmPerUnit; }

}  // namespace zel::report
