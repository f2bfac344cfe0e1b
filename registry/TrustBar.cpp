#include "registry/TrustBar.h"

#include <QMouseEvent>

namespace zel {

TrustBar::TrustBar(QWidget* parent) : QProgressBar(parent) {
    setRange(0, 9);
    setFormat(QStringLiteral("%v"));
    setTextVisible(true);
    setMaximumHeight(18);
}

void TrustBar::mousePressEvent(QMouseEvent* e) {
    const int step = e->position().x() < width() / 2.0 ? -1 : 1;
    Q_EMIT levelClicked(qBound(minimum(), value() + step, maximum()));
}

}  // namespace zel
