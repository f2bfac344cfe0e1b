#pragma once

#include <QDialog>
#include <QTime>
#include <functional>
#include <memory>
#include <optional>

#include "core/Clock.h"
#include "documents/Money.h"
#include "ui/AppContext.h"
#include "warehouse/CounterSale.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace zel {

namespace report {
class PageModel;
}
class Tfrm_cerca;

// Counter sale with immediate unload: each confirmed article line unloads its stock
// and logs a "Scarico veloce" movement; the sale closes as cash, card or a fiscal receipt.
class Tfrm_scarico_veloce : public QDialog {
    Q_OBJECT
public:
    Tfrm_scarico_veloce(AppContext& ctx, QWidget* parent = nullptr);
    ~Tfrm_scarico_veloce() override;

    // Previews of prints and the direct print; tests replace them.
    std::function<void(const report::PageModel&)> showPreview;
    std::function<bool(const report::PageModel&)> printDirect;
    // The clock of the sale; tests fix it.
    std::function<QDateTime()> now = [] { return Clock::now(); };
    // Opens the browser of the receipts written; its button shows only when set.
    std::function<void()> openReceipts;
    // Shows the search dialog prepared by the window; tests replace it.
    std::function<void(Tfrm_cerca&)> runSearch;

    void FormShow();
    bool btn_confermaClick();
    void btn_contanteClick();
    void btn_cartaClick();
    bool btn_ricevutaClick();
    void btn_azzeraClick();
    void btn_cancellaClick();
    void btn_stampaClick();
    void edt_codiceDblClick();
    void edt_clienteDblClick();

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

    Money total() const { return m_total; }
    const QList<CounterSaleLine>& lines() const { return m_lines; }


private:
    CounterSale sale() const;
    bool confirmClear();
    void clearSale();
    void showTotal();
    void checkCustomer();
    QString pick(int page, const QString& typed);

    AppContext& m_ctx;
    QList<CounterSaleLine> m_lines;
    QList<QTime> m_times;
    std::optional<SaleArticle> m_last;
    Money m_total;
    std::optional<Money> m_cash;
    bool m_card = false;
    bool m_closed = false;
    QLineEdit* m_code = nullptr;
    QComboBox* m_column = nullptr;
    QLineEdit* m_quantity = nullptr;
    QLineEdit* m_discount = nullptr;
    QLineEdit* m_amount = nullptr;
    QLineEdit* m_customer = nullptr;
    QLineEdit* m_cashEdit = nullptr;
    QLabel* m_customerName = nullptr;
    QLabel* m_des = nullptr;
    QLabel* m_price = nullptr;
    QLabel* m_vat = nullptr;
    QLabel* m_stock = nullptr;
    QLabel* m_totalLabel = nullptr;
    QLabel* m_total2Label = nullptr;
    QLabel* m_change = nullptr;
    QListWidget* m_list = nullptr;
    std::unique_ptr<Tfrm_cerca> m_ownSearch;
};

}  // namespace zel
