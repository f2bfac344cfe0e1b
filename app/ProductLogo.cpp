#include "app/ProductLogo.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>

namespace zel {

QPixmap productLogo(const QSize& size) {
    QPixmap pm(size.isValid() && !size.isEmpty() ? size : QSize(350, 150));
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(2, 2, pm.width() - 4, pm.height() - 4);
    QLinearGradient g(r.topLeft(), r.bottomRight());
    g.setColorAt(0, QColor(0x1f, 0x4e, 0x79));
    g.setColorAt(1, QColor(0x2e, 0x8b, 0x57));
    p.setBrush(g);
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(r, 18, 18);
    QFont f = p.font();
    f.setBold(true);
    f.setPixelSize(qMax(12, pm.height() / 3));
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(r.adjusted(0, 0, 0, -pm.height() / 6), Qt::AlignCenter, QStringLiteral("Zelvarin"));
    f.setBold(false);
    f.setPixelSize(qMax(8, pm.height() / 9));
    p.setFont(f);
    p.drawText(r.adjusted(0, pm.height() / 2, 0, 0), Qt::AlignCenter, QStringLiteral("Gestione aziendale"));
    return pm;
}

QPixmap statusLight(const QColor& colour, int diameter) {
    QPixmap pm(diameter, diameter);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(colour.darker(160));
    p.setBrush(colour);
    p.drawEllipse(QRectF(1, 1, diameter - 2, diameter - 2));
    return pm;
}

}  // namespace zel
