#pragma once

#include <QDialog>
#include <QHash>
#include <memory>

#include "quotes/QuoteArchive.h"
#include "quotes/Trpt_preventivo.h"
#include <functional>
#include "ui/AppContext.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace zel {

// The quote browser: the quotes above, the lines of the current one below. A changed
// line is written at once with the header's figures recomputed.
class Tfrm_scorre_prev : public QDialog {
    Q_OBJECT
public:
    explicit Tfrm_scorre_prev(AppContext& ctx, QWidget* parent = nullptr);
    ~Tfrm_scorre_prev() override;

    // Reads the quotes again and shows the last one.
    void prepare();
    // The number of the quote shown, 0 for none.
    qint64 current() const;

    void btn_aggiornaClick();
    void btn_cerca_numClick();
    void btn_cancella_rigaClick();
    void btn_cancella_preventivoClick();
    void btn_duplicaClick();
    void btn_stampaClick();
    void btn_crea_fatturaClick();

    // Opens the invoice from a quote on a customer and quote; set by the program.
    std::function<void(const QString& customer, qint64 quote)> openInvoiceFromQuote;

    // Shows the print of the current quote (the preview); tests replace it.
    std::function<void(const QuotePrintData&, const QuotePrintOptions&, Trpt_preventivo::Model)>
        showPrint;

private:
    void loadQuotes(qint64 select);
    void showQuote();
    void showFigures(const QuoteFigures& f);
    void lineEdited(int row, int column);
    QuoteArchive& archive();

    AppContext& m_ctx;
    std::unique_ptr<QuoteArchive> m_archive;
    QTableWidget* m_master = nullptr;
    QTableWidget* m_lines = nullptr;
    QLineEdit* m_find = nullptr;
    QHash<QString, QLabel*> m_figures;
    QList<QuoteLine> m_shown;
    QComboBox* m_printModel = nullptr;
    bool m_filling = false;
};

}  // namespace zel
