#pragma once

#include <QDialog>

#include "ui/AppContext.h"

class QLabel;
class QProgressBar;

namespace zel {

// The start-up splash, also shown as the about box.
class TSplashForm : public QDialog {
    Q_OBJECT
public:
    TSplashForm(AppContext& ctx, QWidget* parent);

    // Moves the history lines up by one and writes text into the last.
    void step(const QString& text);
    void progress(int n);
    void setPhase(const QString& phase);
    void showBar(bool on);

    // While active, Escape ends the program and a click closes the splash.
    void setActive(bool on) { m_active = on; }
    bool active() const { return m_active; }
    // 2 = about box: Escape closes it.
    void setTag(int tag) { m_tag = tag; }
    int tag() const { return m_tag; }

    QStringList lines() const;

Q_SIGNALS:
    void abortRequested();

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;

private:
    void buildUi();

    QLabel* m_logo = nullptr;
    QLabel* lbl_proc = nullptr;
    QLabel* m_lines[3] = {nullptr, nullptr, nullptr};
    QProgressBar* ProgressBar1 = nullptr;
    QLabel* lbl_perc = nullptr;
    bool m_active = false;
    int m_tag = 0;
};

}  // namespace zel
