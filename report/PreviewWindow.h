#pragma once

#include <QDialog>
#include <functional>

#include "report/PageModel.h"

class QComboBox;
class QLabel;
class QPrinter;
class QScrollArea;
class QSpinBox;
class QToolButton;

namespace zel::report {

// The print preview of every document and list: page navigation, zoom, page count,
// print with the caller's number of copies, and "Esporta PDF".
class PreviewWindow : public QDialog {
    Q_OBJECT
public:
    explicit PreviewWindow(PageModel model, int copies = 1, QWidget* parent = nullptr);

    // Shows the preview maximised and waits until it is closed.
    static void run(PageModel model, int copies, QWidget* parent = nullptr);

    const PageModel& model() const { return m_model; }
    int currentPage() const { return m_page; }  // 0-based
    void setPage(int index);
    double zoom() const { return m_zoom; }
    void setZoom(double factor);
    int copies() const;

    // Test seams and special callers: how the printer and the PDF file are chosen.
    // The chooser returns false (or an empty path) when the user gives up.
    void setPrinterChooser(std::function<bool(QPrinter&)> chooser) { m_chooser = std::move(chooser); }
    void setPdfPathChooser(std::function<QString()> chooser) { m_pdfChooser = std::move(chooser); }

    bool printDocument();
    bool exportPdf();

private:
    void refresh();
    bool choosePrinter(QPrinter& printer);
    QString choosePdfPath();

    PageModel m_model;
    int m_page = 0;
    double m_zoom = 1.0;
    std::function<bool(QPrinter&)> m_chooser;
    std::function<QString()> m_pdfChooser;

    QToolButton* m_first = nullptr;
    QToolButton* m_prev = nullptr;
    QToolButton* m_next = nullptr;
    QToolButton* m_last = nullptr;
    QLabel* m_pageLabel = nullptr;
    QComboBox* m_zoomBox = nullptr;
    QSpinBox* m_copies = nullptr;
    QLabel* m_canvas = nullptr;
    QScrollArea* m_scroll = nullptr;
};

}  // namespace zel::report
