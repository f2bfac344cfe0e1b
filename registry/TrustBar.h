#pragma once

#include <QProgressBar>

namespace zel {

// The partner's trust level 0..9 as a bar: a click on its left half lowers the level
// by one, on its right half raises it.
class TrustBar : public QProgressBar {
    Q_OBJECT
public:
    explicit TrustBar(QWidget* parent = nullptr);

Q_SIGNALS:
    void levelClicked(int level);

protected:
    void mousePressEvent(QMouseEvent* e) override;
};

}  // namespace zel
