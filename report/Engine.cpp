#include "report/Engine.h"

#include <QFontDatabase>

#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <algorithm>
#include <array>
#include <memory>

#include "ui/Formats.h"

namespace zel::report {

namespace {

constexpr double kMeasureDpi = 1200.0;
constexpr double kMmPerPx = 25.4 / kMeasureDpi;

// Metrics at the PDF resolution; a paint device with that resolution gives them
// without any screen.
class MetricsCache {
public:
    static MetricsCache& instance() {
        static MetricsCache cache;
        return cache;
    }
    const QFontMetricsF& get(const QFont& font) {
        // Items hand their font on by copy, so a few shared fonts come back all the time.
        for (const Recent& r : m_recent)
            if (r.metrics && font.isCopyOf(r.font)) return *r.metrics;
        const QString key = font.key();
        auto it = m_cache.find(key);
        if (it == m_cache.end())
            it = m_cache.insert(key, std::make_shared<QFontMetricsF>(font, &m_device));
        Recent& slot = m_recent[m_next];
        m_next = (m_next + 1) % m_recent.size();
        slot.font = font;
        slot.metrics = it.value().get();
        return *slot.metrics;
    }

private:
    MetricsCache() : m_device(1, 1, QImage::Format_Mono) {
        const int dpm = static_cast<int>(kMeasureDpi / 0.0254 + 0.5);
        m_device.setDotsPerMeterX(dpm);
        m_device.setDotsPerMeterY(dpm);
    }
    QImage m_device;
    QHash<QString, std::shared_ptr<QFontMetricsF>> m_cache;
    struct Recent {
        QFont font;
        const QFontMetricsF* metrics = nullptr;
    };
    std::array<Recent, 16> m_recent;
    size_t m_next = 0;
};

QRectF fitImage(const QRectF& box, const QImage& img, ImageFit fit) {
    if (fit == ImageFit::Stretch || img.width() <= 0 || img.height() <= 0) return box;
    if (fit == ImageFit::Natural) {
        const double dpmX = img.dotsPerMeterX() > 0 ? img.dotsPerMeterX() : 96.0 / 0.0254;
        const double dpmY = img.dotsPerMeterY() > 0 ? img.dotsPerMeterY() : 96.0 / 0.0254;
        return {box.topLeft(), QSizeF(img.width() / dpmX * 1000.0, img.height() / dpmY * 1000.0)};
    }
    const double s = std::min(box.width() / img.width(), box.height() / img.height());
    return {box.topLeft(), QSizeF(img.width() * s, img.height() * s)};
}

struct LaidOutBand {
    std::vector<PageItem> items;  // relative to the band's top
    double height = 0.0;
};

LaidOutBand layOut(const Band& band, const Context& ctx) {
    LaidOutBand out;
    if (band.visible && !band.visible(ctx)) return out;
    out.height = band.height;
    double growth = 0.0;
    std::vector<size_t> stretchers;
    out.items.reserve(band.items.size());
    for (const Item& it : band.items) {
        if (it.visible && !it.visible(ctx)) continue;
        PageItem pi;
        pi.rect = it.rect;
        pi.font = it.font;
        pi.alignment = it.alignment;
        pi.color = it.color;
        pi.fill = it.fill;
        pi.penWidth = it.penWidth;
        switch (it.kind) {
            case Item::Kind::Label:
            case Item::Kind::Field:
            case Item::Kind::Expression: {
                QString text;
                if (it.kind == Item::Kind::Label) text = it.text;
                else if (it.kind == Item::Kind::Field) text = fmt::value(ctx.value(it.fieldName), it.format);
                else if (it.expr) text = it.expr(ctx);
                if (text.isEmpty()) continue;
                pi.kind = PageItem::Kind::Text;
                if (!it.wordWrap) {
                    pi.text = TextMetrics::fit(it.font, text, it.rect.width());
                    out.items.push_back(std::move(pi));
                    break;
                }
                const QStringList lines = TextMetrics::wrap(it.font, text, it.rect.width());
                const double lh = TextMetrics::lineHeight(it.font);
                const double needed = lh * static_cast<double>(lines.size());
                growth = std::max(growth, needed - it.rect.height());
                // A single line keeps the item's own vertical alignment.
                if (lines.size() == 1) {
                    pi.text = lines.front();
                    out.items.push_back(std::move(pi));
                    break;
                }
                const Qt::Alignment horiz = it.alignment & Qt::AlignHorizontal_Mask;
                for (qsizetype i = 0; i < lines.size(); ++i) {
                    PageItem line = pi;
                    line.text = lines[i];
                    line.alignment = horiz | Qt::AlignTop;
                    line.rect = QRectF(it.rect.left(), it.rect.top() + lh * static_cast<double>(i),
                                       it.rect.width(), lh);
                    out.items.push_back(std::move(line));
                }
                break;
            }
            case Item::Kind::Image: {
                const QImage img = it.imageExpr ? it.imageExpr(ctx) : it.image;
                if (img.isNull()) continue;
                pi.kind = PageItem::Kind::Image;
                pi.rect = fitImage(it.rect, img, it.fit);
                pi.image = img;
                out.items.push_back(std::move(pi));
                break;
            }
            case Item::Kind::Line:
                pi.kind = PageItem::Kind::Line;
                out.items.push_back(std::move(pi));
                break;
            case Item::Kind::Frame:
                pi.kind = PageItem::Kind::Frame;
                out.items.push_back(std::move(pi));
                break;
            case Item::Kind::Rect:
                pi.kind = PageItem::Kind::Rect;
                out.items.push_back(std::move(pi));
                break;
        }
        if (it.stretch && !out.items.empty()) stretchers.push_back(out.items.size() - 1);
    }
    if (growth > 0.0) {
        out.height += growth;
        for (size_t i : stretchers) out.items[i].rect.setHeight(out.items[i].rect.height() + growth);
    }
    return out;
}

class Runner {
public:
    Runner(const Layout& layout, const Rows& rows) : m_layout(layout), m_rows(rows) {
        m_ctx.rows = &m_rows;
        m_model.pageSize = layout.pageSize;
        m_model.title = layout.name;
        m_footerHeight = layout.pageFooter.height;
    }

    PageModel run() {
        newPage();
        std::vector<QVariant> keys(m_layout.groups.size());
        for (qsizetype r = 0; r < m_rows.size(); ++r) {
            const int prev = m_ctx.rowIndex;
            // Group footers speak about the rows they close.
            size_t changed = keys.size();
            std::vector<QVariant> next(keys.size());
            m_ctx.row = &m_rows[r];
            m_ctx.rowIndex = static_cast<int>(r);
            for (size_t g = 0; g < keys.size(); ++g) {
                const auto& key = m_layout.groups[g].key;
                next[g] = key ? key(m_ctx) : QVariant();
                if (changed == keys.size() && (r == 0 || next[g] != keys[g])) changed = g;
            }
            if (r > 0 && changed < keys.size()) {
                m_ctx.row = &m_rows[prev];
                m_ctx.rowIndex = prev;
                for (size_t g = keys.size(); g-- > changed;) place(m_layout.groups[g].footer);
                m_ctx.row = &m_rows[r];
                m_ctx.rowIndex = static_cast<int>(r);
            }
            for (size_t g = changed; g < keys.size(); ++g) place(m_layout.groups[g].header);
            keys = std::move(next);
            place(m_layout.detail);
        }
        if (!m_rows.isEmpty())
            for (size_t g = keys.size(); g-- > 0;) place(m_layout.groups[g].footer);
        if (!m_layout.summary.isEmpty()) {
            m_ctx.lastPageKnown = true;
            m_ctx.lastPage = true;
            place(m_layout.summary);
        }
        finishFooters();
        return std::move(m_model);
    }

private:
    double bottomLimit() const {
        return m_layout.pageSize.height() - m_layout.margins.bottom() - m_footerHeight;
    }

    void newPage() {
        m_model.pages.emplace_back();
        m_pageLastRow.push_back(m_ctx.rowIndex);
        m_ctx.page = static_cast<int>(m_model.pages.size());
        m_y = m_layout.margins.top();
        m_inHeaders = true;
        if (m_ctx.page > 1 || m_layout.pageHeaderOnFirstPage) place(m_layout.pageHeader);
        if (m_ctx.page == 1) place(m_layout.title);
        place(m_layout.columnHeader);
        m_inHeaders = false;
        m_bodyStart = m_y;
    }

    void place(const Band& band) {
        if (band.isEmpty()) return;
        LaidOutBand lb = layOut(band, m_ctx);
        if (lb.height <= 0.0 && lb.items.empty()) return;
        // Move to a new page unless the page has nothing but its headers, so a band
        // taller than a page cannot loop.
        if (!m_inHeaders && m_y + lb.height > bottomLimit() + 1e-6 && m_y > m_bodyStart + 1e-6) {
            newPage();
            lb = layOut(band, m_ctx);
        }
        put(lb, m_y);
        m_y += lb.height;
    }

    void put(LaidOutBand& lb, double top) {
        Page& page = m_model.pages.back();
        m_pageLastRow.back() = m_ctx.rowIndex;
        const double left = m_layout.margins.left();
        for (PageItem& pi : lb.items) {
            pi.rect.translate(left, top);
            page.items.push_back(std::move(pi));
        }
    }

    void finishFooters() {
        if (m_layout.pageFooter.isEmpty()) return;
        const int count = m_model.pageCount();
        const double top = m_layout.pageSize.height() - m_layout.margins.bottom() - m_footerHeight;
        for (int p = 0; p < count; ++p) {
            Context ctx = m_ctx;
            ctx.page = p + 1;
            ctx.pageCount = count;
            ctx.lastPageKnown = true;
            ctx.lastPage = p + 1 == count;
            // Footers speak about the last row printed on their page.
            ctx.rowIndex = m_pageLastRow[static_cast<size_t>(p)];
            ctx.row = ctx.rowIndex >= 0 ? &m_rows[ctx.rowIndex] : nullptr;
            LaidOutBand lb = layOut(m_layout.pageFooter, ctx);
            Page& page = m_model.pages[static_cast<size_t>(p)];
            for (PageItem& pi : lb.items) {
                pi.rect.translate(m_layout.margins.left(), top);
                page.items.push_back(std::move(pi));
            }
        }
    }

    const Layout& m_layout;
    const Rows& m_rows;
    Context m_ctx;
    PageModel m_model;
    std::vector<int> m_pageLastRow;
    double m_y = 0.0;
    double m_bodyStart = 0.0;
    double m_footerHeight = 0.0;
    bool m_inHeaders = false;
};

}  // namespace

QString printableFamily(const QString& wanted) {
    // Without the family itself, the system's own stand-in depends on which fonts happen to
    // be installed; a fixed one keeps line breaks, and so pages, the same on every machine.
    static const QString standIn = QStringLiteral("DejaVu Sans");
    if (QFontDatabase::hasFamily(wanted) || !QFontDatabase::hasFamily(standIn)) return wanted;
    return standIn;
}

QFont defaultFont() {
    QFont f(printableFamily(QStringLiteral("Arial")));
    f.setPointSizeF(9.0);
    return f;
}

QVariant Context::value(QStringView field) const {
    if (!row) return {};
    const QString name = field.toString();
    auto it = row->constFind(name);
    if (it != row->constEnd()) return it.value();
    it = row->constFind(name.toUpper());
    if (it != row->constEnd()) return it.value();
    for (auto i = row->constBegin(); i != row->constEnd(); ++i)
        if (i.key().compare(name, Qt::CaseInsensitive) == 0) return i.value();
    return {};
}

double Context::number(QStringView field) const {
    const QVariant v = value(field);
    if (v.typeId() == QMetaType::QString) return fmt::parseNumber(v.toString());
    return v.toDouble();
}

Item Item::label(const QRectF& mm, const QString& text) {
    Item it;
    it.kind = Kind::Label;
    it.rect = mm;
    it.text = text;
    it.font = defaultFont();
    return it;
}

Item Item::field(const QRectF& mm, const QString& name, const QString& format) {
    Item it = label(mm, {});
    it.kind = Kind::Field;
    it.fieldName = name;
    it.format = format;
    return it;
}

Item Item::expression(const QRectF& mm, Expr e) {
    Item it = label(mm, {});
    it.kind = Kind::Expression;
    it.expr = std::move(e);
    return it;
}

Item Item::picture(const QRectF& mm, const QImage& img, ImageFit fit) {
    Item it = label(mm, {});
    it.kind = Kind::Image;
    it.image = img;
    it.fit = fit;
    return it;
}

Item Item::picture(const QRectF& mm, ImageExpr e, ImageFit fit) {
    Item it = label(mm, {});
    it.kind = Kind::Image;
    it.imageExpr = std::move(e);
    it.fit = fit;
    return it;
}

Item Item::line(const QRectF& mm, double penMm) {
    Item it = label(mm, {});
    it.kind = Kind::Line;
    it.penWidth = penMm;
    return it;
}

Item Item::frame(const QRectF& mm, double penMm) {
    Item it = label(mm, {});
    it.kind = Kind::Frame;
    it.penWidth = penMm;
    return it;
}

Item Item::filled(const QRectF& mm, const QColor& fill) {
    Item it = label(mm, {});
    it.kind = Kind::Rect;
    it.fill = fill;
    return it;
}

double TextMetrics::width(const QFont& font, const QString& text) {
    return MetricsCache::instance().get(font).horizontalAdvance(text) * kMmPerPx;
}

double TextMetrics::lineHeight(const QFont& font) {
    return MetricsCache::instance().get(font).height() * kMmPerPx;
}

QString TextMetrics::fit(const QFont& font, const QString& text, double widthMm) {
    QString first = text;
    const qsizetype nl = first.indexOf(u'\n');
    if (nl >= 0) first.truncate(nl);
    if (first.endsWith(u'\r')) first.chop(1);
    const QFontMetricsF& fm = MetricsCache::instance().get(font);
    const double limit = widthMm / kMmPerPx;
    // Short texts in wide boxes need no shaping at all.
    if (static_cast<double>(first.size()) * fm.maxWidth() <= limit) return first;
    if (fm.horizontalAdvance(first) <= limit) return first;
    qsizetype lo = 0, hi = first.size();
    while (lo < hi) {
        const qsizetype mid = (lo + hi + 1) / 2;
        if (fm.horizontalAdvance(first.left(mid)) <= limit) lo = mid;
        else hi = mid - 1;
    }
    return first.left(lo);
}

QStringList TextMetrics::wrap(const QFont& font, const QString& text, double widthMm) {
    const QFontMetricsF& fm = MetricsCache::instance().get(font);
    const double limit = widthMm / kMmPerPx;
    QStringList lines;
    const bool plain = !text.contains(u'\n') && !text.contains(u'\r');
    if (plain && (static_cast<double>(text.size()) * fm.maxWidth() <= limit ||
                  fm.horizontalAdvance(text) <= limit))
        return {text};
    QString normal = text;
    normal.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    normal.replace(QStringLiteral("\n\r"), QStringLiteral("\n"));
    normal.replace(u'\r', u'\n');
    const QStringList paragraphs = normal.split(u'\n');
    for (const QString& para : paragraphs) {
        const QStringList words = para.split(u' ', Qt::SkipEmptyParts);
        QString current;
        for (QString word : words) {
            const QString candidate = current.isEmpty() ? word : current + u' ' + word;
            if (fm.horizontalAdvance(candidate) <= limit) {
                current = candidate;
                continue;
            }
            if (!current.isEmpty()) lines << current;
            current.clear();
            while (fm.horizontalAdvance(word) > limit && word.size() > 1) {
                QString piece = fit(font, word, widthMm);
                if (piece.isEmpty()) piece = word.left(1);
                lines << piece;
                word = word.mid(piece.size());
            }
            current = word;
        }
        lines << current;
    }
    while (lines.size() > 1 && lines.back().isEmpty()) lines.removeLast();
    return lines;
}

PageModel render(const Layout& layout, const Rows& rows) { return Runner(layout, rows).run(); }

}  // namespace zel::report
