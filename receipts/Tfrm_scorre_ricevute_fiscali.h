#pragma once

#include <QDialog>
#include <functional>

#include "ui/AppContext.h"
#include "warehouse/ReceiptPrint.h"

class QLabel;
class QTableWidget;

namespace zel {

namespace report {
class PageModel;
}

// The fiscal receipts of the archive, one entry per receipt number, with the lines of
// the current one; reprints a receipt, keeps its printed copy, prints the list.
class Tfrm_scorre_ricevute_fiscali : public QDialog {
    Q_OBJECT
public:
    Tfrm_scorre_ricevute_fiscali(AppContext& ctx, QWidget* parent = nullptr);
    ~Tfrm_scorre_ricevute_fiscali() override;

    // Previews and the printer; tests replace them.
    std::function<void(const report::PageModel&)> showPreview;
    std::function<bool(const report::PageModel&)> print;
    // Chooses a saved copy to open; tests replace it.
    std::function<QString()> chooseSavedCopy;

    void FormShow();
    void btn_ristampaClick();
    void btn_stampa_elencoClick();
    void btn_apriClick();

    // The current receipt as printed.
    ReceiptDocument currentReceipt() const;

private:
    void loadReceipts();
    void loadLines();
    QString path() const;
    QString yearOf(const QString& anno, const QString& data) const;

    AppContext& m_ctx;
    QTableWidget* m_receipts = nullptr;
    QTableWidget* m_lines = nullptr;
    QLabel* m_count = nullptr;
    QLabel* m_totals = nullptr;
};

}  // namespace zel
