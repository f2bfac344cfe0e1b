#include "app/Tfrm_ss.h"

#include <QLabel>
#include <QVBoxLayout>

namespace zel {

Tfrm_ss::Tfrm_ss(AppContext&, QWidget* parent) : QDialog(parent, Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("Tfrm_ss"));
    setStyleSheet(QStringLiteral("background-color: black;"));
    setMouseTracking(true);
    auto* lay = new QVBoxLayout(this);
    img_logo = new QLabel(this);
    img_logo->setObjectName(QStringLiteral("img_logo"));
    img_logo->setAlignment(Qt::AlignCenter);
    img_logo->setMouseTracking(true);
    lay->addWidget(img_logo);
    setWindowState(Qt::WindowFullScreen);
}

void Tfrm_ss::setLogo(const QPixmap& logo) { img_logo->setPixmap(logo); }

void Tfrm_ss::keyPressEvent(QKeyEvent*) { accept(); }
void Tfrm_ss::mousePressEvent(QMouseEvent*) { accept(); }
void Tfrm_ss::mouseMoveEvent(QMouseEvent*) { accept(); }

}  // namespace zel
