#pragma once

#include <QDialog>
#include <optional>

#include "documents/Money.h"
#include "ui/AppContext.h"
#include "warehouse/CounterSale.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace zel {

// A simple till: a code typed or scanned and Enter finds the article by its exact code
// and sells it (status "Vendita") or only shows it ("Consultazione"); department
// buttons sell a typed amount at their own VAT rate without an article.
class Tfrm_shop : public QDialog {
    Q_OBJECT
public:
    static constexpr int kDepartments = 14;

    Tfrm_shop(AppContext& ctx, QWidget* parent = nullptr);
    ~Tfrm_shop() override;

    void FormShow();
    bool edt_codiceEnter();
    bool btn_okClick();
    bool btn_repartoClick(int n);

    Money total() const { return m_total; }

private:
    CounterSale sale() const;
    void addToTotal(Money amount, const QString& line);

    AppContext& m_ctx;
    std::optional<SaleArticle> m_article;
    Money m_price;
    Money m_total;
    QLineEdit* m_code = nullptr;
    QLineEdit* m_quantity = nullptr;
    QLineEdit* m_amount = nullptr;
    QLabel* m_des = nullptr;
    QLabel* m_priceLabel = nullptr;
    QLabel* m_price2 = nullptr;
    QLabel* m_stock = nullptr;
    QLabel* m_picture = nullptr;
    QLabel* m_totalLabel = nullptr;
    QListWidget* m_list = nullptr;
    QRadioButton* m_sell = nullptr;
    QRadioButton* m_look = nullptr;
};

}  // namespace zel
