#pragma once

#include <QDialog>

#include "ui/AppContext.h"

class QLabel;

namespace zel {

// The screen saver: the product logo on a dark screen until the user moves.
class Tfrm_ss : public QDialog {
    Q_OBJECT
public:
    Tfrm_ss(AppContext& ctx, QWidget* parent);
    void setLogo(const QPixmap& logo);

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;

private:
    QLabel* img_logo = nullptr;
};

}  // namespace zel
