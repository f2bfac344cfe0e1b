#include "app/TSplashForm.h"

#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

#include "app/ProductLogo.h"

namespace zel {

TSplashForm::TSplashForm(AppContext&, QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("TSplashForm"));
    buildUi();
}

void TSplashForm::buildUi() {
    setFixedSize(480, 320);
    auto* lay = new QVBoxLayout(this);
    m_logo = new QLabel(this);
    m_logo->setObjectName(QStringLiteral("img_logo"));
    m_logo->setAlignment(Qt::AlignCenter);
    m_logo->setPixmap(productLogo(QSize(350, 150)));
    lay->addWidget(m_logo);
    lbl_proc = new QLabel(this);
    lbl_proc->setObjectName(QStringLiteral("lbl_proc"));
    QFont bold = lbl_proc->font();
    bold.setBold(true);
    lbl_proc->setFont(bold);
    lay->addWidget(lbl_proc);
    for (int i = 0; i < 3; ++i) {
        m_lines[i] = new QLabel(this);
        m_lines[i]->setObjectName(QStringLiteral("lbl_linea%1").arg(i + 1));
        lay->addWidget(m_lines[i]);
    }
    auto* row = new QHBoxLayout;
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->hide();
    lbl_perc = new QLabel(this);
    lbl_perc->setObjectName(QStringLiteral("lbl_perc"));
    row->addWidget(ProgressBar1, 1);
    row->addWidget(lbl_perc);
    lay->addLayout(row);
}

void TSplashForm::step(const QString& text) {
    m_lines[0]->setText(m_lines[1]->text());
    m_lines[1]->setText(m_lines[2]->text());
    m_lines[2]->setText(text);
    repaint();
}

void TSplashForm::progress(int n) {
    n = qBound(0, n, 100);
    ProgressBar1->setValue(n);
    lbl_perc->setText(QStringLiteral("%1%").arg(n));
}

void TSplashForm::setPhase(const QString& phase) {
    lbl_proc->setText(phase);
    step(phase);
}

void TSplashForm::showBar(bool on) {
    ProgressBar1->setVisible(on);
    lbl_perc->setVisible(on);
}

QStringList TSplashForm::lines() const { return {m_lines[0]->text(), m_lines[1]->text(), m_lines[2]->text()}; }

void TSplashForm::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape) {
        if (m_active) Q_EMIT abortRequested();
        else reject();
        return;
    }
    QDialog::keyPressEvent(e);
}

void TSplashForm::mousePressEvent(QMouseEvent* e) {
    if (m_active || m_tag == 2) hide();
    QDialog::mousePressEvent(e);
}

}  // namespace zel
