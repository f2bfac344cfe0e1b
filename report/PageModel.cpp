#include "report/PageModel.h"

#include <algorithm>
#include <cmath>

namespace zel::report {

QString PageModel::pageText(int index) const {
    if (index < 0 || index >= pageCount()) return {};
    const Page& page = pages[static_cast<size_t>(index)];
    std::vector<const PageItem*> texts;
    for (const PageItem& it : page.items)
        if (it.kind == PageItem::Kind::Text && !it.text.isEmpty()) texts.push_back(&it);
    // Rows by their top edge at a tenth of a millimetre, so float noise does not split them.
    auto rowOf = [](const PageItem* it) { return std::lround(it->rect.top() * 10.0); };
    std::stable_sort(texts.begin(), texts.end(), [&](const PageItem* a, const PageItem* b) {
        const long ra = rowOf(a), rb = rowOf(b);
        if (ra != rb) return ra < rb;
        return a->rect.left() < b->rect.left();
    });
    QString out;
    long currentRow = 0;
    bool first = true;
    for (const PageItem* it : texts) {
        const long r = rowOf(it);
        if (first || r != currentRow) {
            if (!first) out += u'\n';
            currentRow = r;
        } else {
            out += u" | ";
        }
        out += it->text;
        first = false;
    }
    if (!first) out += u'\n';
    return out;
}

QString PageModel::text() const {
    QString out;
    for (int i = 0; i < pageCount(); ++i) {
        out += QStringLiteral("=== Pagina %1 ===\n").arg(i + 1);
        out += pageText(i);
    }
    return out;
}

}  // namespace zel::report
