#pragma once

#include <QPixmap>
#include <QSize>

namespace zel {

// The built-in product logo, drawn rather than loaded so that it is always there.
QPixmap productLogo(const QSize& size);
// A round status light of the given colour.
QPixmap statusLight(const QColor& colour, int diameter = 14);

}  // namespace zel
