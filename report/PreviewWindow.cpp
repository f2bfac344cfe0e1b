#include "report/PreviewWindow.h"

#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPrintDialog>
#include <QPrinter>
#include <QScrollArea>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

#include "report/Output.h"
#include "ui/Dialogs.h"

namespace zel::report {

namespace {

constexpr double kScreenDpi = 96.0;
const double kZooms[] = {0.5, 0.75, 1.0, 1.25, 1.5, 2.0};

QToolButton* button(QWidget* parent, const char* name, const QString& text) {
    auto* b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setText(text);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    return b;
}

}  // namespace

PreviewWindow::PreviewWindow(PageModel model, int copies, QWidget* parent)
    : QDialog(parent), m_model(std::move(model)) {
    setObjectName(QStringLiteral("frm_anteprima"));
    setWindowTitle(m_model.title.isEmpty() ? QStringLiteral("Anteprima di stampa")
                                           : QStringLiteral("Anteprima di stampa - ") + m_model.title);
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint);

    auto* bar = new QHBoxLayout;
    m_first = button(this, "btn_prima", QStringLiteral("Prima pagina"));
    m_prev = button(this, "btn_precedente", QStringLiteral("Pagina precedente"));
    m_next = button(this, "btn_successiva", QStringLiteral("Pagina successiva"));
    m_last = button(this, "btn_ultima", QStringLiteral("Ultima pagina"));
    m_pageLabel = new QLabel(this);
    m_pageLabel->setObjectName(QStringLiteral("lbl_pagina"));
    m_zoomBox = new QComboBox(this);
    m_zoomBox->setObjectName(QStringLiteral("cmb_zoom"));
    for (double z : kZooms) m_zoomBox->addItem(QStringLiteral("%1%").arg(qRound(z * 100)), z);
    m_zoomBox->setCurrentIndex(2);
    auto* copiesLabel = new QLabel(QStringLiteral("Copie"), this);
    m_copies = new QSpinBox(this);
    m_copies->setObjectName(QStringLiteral("num_copie"));
    m_copies->setRange(1, 99);
    m_copies->setValue(std::max(1, copies));
    auto* print = button(this, "btn_stampa", QStringLiteral("Stampa"));
    auto* pdf = button(this, "btn_esporta_pdf", QStringLiteral("Esporta PDF"));
    auto* close = button(this, "btn_chiudi", QStringLiteral("Chiudi"));
    for (QWidget* w : {static_cast<QWidget*>(m_first), static_cast<QWidget*>(m_prev),
                       static_cast<QWidget*>(m_pageLabel), static_cast<QWidget*>(m_next),
                       static_cast<QWidget*>(m_last)})
        bar->addWidget(w);
    bar->addSpacing(16);
    bar->addWidget(m_zoomBox);
    bar->addSpacing(16);
    bar->addWidget(copiesLabel);
    bar->addWidget(m_copies);
    bar->addWidget(print);
    bar->addWidget(pdf);
    bar->addStretch(1);
    bar->addWidget(close);

    m_canvas = new QLabel;
    m_canvas->setObjectName(QStringLiteral("img_pagina"));
    m_canvas->setAlignment(Qt::AlignCenter);
    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("scroll_pagina"));
    m_scroll->setAlignment(Qt::AlignHCenter);
    m_scroll->setBackgroundRole(QPalette::Dark);
    m_scroll->setWidget(m_canvas);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(m_scroll, 1);

    connect(m_first, &QToolButton::clicked, this, [this] { setPage(0); });
    connect(m_prev, &QToolButton::clicked, this, [this] { setPage(m_page - 1); });
    connect(m_next, &QToolButton::clicked, this, [this] { setPage(m_page + 1); });
    connect(m_last, &QToolButton::clicked, this, [this] { setPage(m_model.pageCount() - 1); });
    connect(m_zoomBox, &QComboBox::currentIndexChanged, this,
            [this](int i) { setZoom(m_zoomBox->itemData(i).toDouble()); });
    connect(print, &QToolButton::clicked, this, [this] { printDocument(); });
    connect(pdf, &QToolButton::clicked, this, [this] { exportPdf(); });
    connect(close, &QToolButton::clicked, this, &QDialog::accept);
    refresh();
}

void PreviewWindow::run(PageModel model, int copies, QWidget* parent) {
    PreviewWindow w(std::move(model), copies, parent);
    w.setWindowState(w.windowState() | Qt::WindowMaximized);
    w.exec();
}

void PreviewWindow::setPage(int index) {
    const int clamped = std::clamp(index, 0, std::max(0, m_model.pageCount() - 1));
    m_page = clamped;
    refresh();
}

void PreviewWindow::setZoom(double factor) {
    if (factor <= 0) return;
    m_zoom = factor;
    for (int i = 0; i < m_zoomBox->count(); ++i) {
        if (qFuzzyCompare(m_zoomBox->itemData(i).toDouble(), factor)) {
            const QSignalBlocker block(m_zoomBox);
            m_zoomBox->setCurrentIndex(i);
        }
    }
    refresh();
}

int PreviewWindow::copies() const { return m_copies->value(); }

void PreviewWindow::refresh() {
    const int count = m_model.pageCount();
    m_pageLabel->setText(QStringLiteral("Pagina %1 di %2").arg(count == 0 ? 0 : m_page + 1).arg(count));
    m_first->setEnabled(m_page > 0);
    m_prev->setEnabled(m_page > 0);
    m_next->setEnabled(m_page + 1 < count);
    m_last->setEnabled(m_page + 1 < count);
    if (count == 0) {
        m_canvas->setPixmap(QPixmap());
        return;
    }
    const QImage img = pageImage(m_model, m_page, kScreenDpi * m_zoom);
    m_canvas->setPixmap(QPixmap::fromImage(img));
    m_canvas->resize(img.size());
}

bool PreviewWindow::choosePrinter(QPrinter& printer) {
    if (m_chooser) return m_chooser(printer);
    QPrintDialog dlg(&printer, this);
    dlg.setWindowTitle(QStringLiteral("Stampa"));
    return dlg.exec() == QDialog::Accepted;
}

QString PreviewWindow::choosePdfPath() {
    if (m_pdfChooser) return m_pdfChooser();
    const QString name = (m_model.title.isEmpty() ? QStringLiteral("documento") : m_model.title) +
                         QStringLiteral(".pdf");
    return QFileDialog::getSaveFileName(this, QStringLiteral("Esporta PDF"), name,
                                        QStringLiteral("Documenti PDF (*.pdf)"));
}

bool PreviewWindow::printDocument() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setCopyCount(copies());
    if (!choosePrinter(printer)) return false;
    // The dialog may have changed the number; it then wins over the field.
    const int n = printer.copyCount() > 1 ? printer.copyCount() : copies();
    QString error;
    if (!printModel(m_model, printer, n, &error)) {
        Dialogs::instance().error(QStringLiteral("Stampa"), error, this);
        return false;
    }
    return true;
}

bool PreviewWindow::exportPdf() {
    QString path = choosePdfPath();
    if (path.isEmpty()) return false;
    if (!path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) path += QStringLiteral(".pdf");
    QString error;
    if (!writePdf(m_model, path, &error)) {
        Dialogs::instance().error(QStringLiteral("Esporta PDF"),
                                  QStringLiteral("Impossibile salvare il file PDF:\r\n") + error, this);
        return false;
    }
    return true;
}

}  // namespace zel::report
