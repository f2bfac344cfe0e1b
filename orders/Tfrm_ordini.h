#pragma once

#include <QDialog>
#include <functional>

#include "orders/OrderArchive.h"
#include "report/PageModel.h"
#include "ui/AppContext.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTableWidget;

namespace zel {

class DateEdit;

// A new customer or supplier order: counterpart, lines, delivery dates and save.
class Tfrm_ordini : public QDialog {
    Q_OBJECT
public:
    explicit Tfrm_ordini(AppContext& ctx, QWidget* parent = nullptr);
    ~Tfrm_ordini() override;

    // Opens the article card on an unknown code; the line is written either way.
    std::function<void(const QString& code, const QString& des)> runArticleCard;
    // Opens the customer card for a counterpart not on file.
    std::function<void()> runCustomerCard;
    // Shows the print of the saved order with its copies; the preview unless replaced.
    std::function<void(report::PageModel, int copies)> showPreview;

    // Fresh number, today's date, first page.
    void prepare();

    void btn_avantiClick();
    void cmb_articoloSelect();
    void Btn_confermaClick();
    void btn_registra_fatturaClick();
    void btn_stampaClick();

private:
    void buildUi();
    void loadParties();
    void loadArticles();
    void partyChosen();
    void recompute();
    QString partyCode() const;
    QString path(const char16_t* key) const;
    OrderArchive archive() const;
    OrderKind kind() const;
    void showTotals();

    AppContext& m_ctx;
    QTabWidget* m_pages = nullptr;
    QLineEdit* m_number = nullptr;
    DateEdit* m_date = nullptr;
    QComboBox* m_party = nullptr;
    QLabel* m_partyName = nullptr;
    QRadioButton* m_customer = nullptr;
    QRadioButton* m_supplier = nullptr;
    QTableWidget* m_earlier = nullptr;
    QComboBox* m_article = nullptr;
    QCheckBox* m_underStock = nullptr;
    QLineEdit* m_des = nullptr;
    QLabel* m_priceLabel = nullptr;
    QLineEdit* m_price = nullptr;
    QLineEdit* m_discount = nullptr;
    QLineEdit* m_vat = nullptr;
    QLineEdit* m_quant = nullptr;
    QLineEdit* m_weight = nullptr;
    QLineEdit* m_parcels = nullptr;
    QLineEdit* m_rif = nullptr;
    QLineEdit* m_agent = nullptr;
    QLabel* m_finalPrice = nullptr;
    QLabel* m_vatPrice = nullptr;
    QLabel* m_stock = nullptr;
    QLabel* m_totals = nullptr;
    QTableWidget* m_lines = nullptr;
    DateEdit* m_cons[3] = {nullptr, nullptr, nullptr};
    QPushButton* m_save = nullptr;
    QPushButton* m_print = nullptr;
    QLineEdit* m_copies = nullptr;
    QCheckBox* m_extraLogo = nullptr;
    qint64 m_savedNumber = 0;

    QList<OrderLine> m_draftLines;
    Money m_amount;
    double m_totalQuant = 0;
    double m_totalWeight = 0;
    qint64 m_totalParcels = 0;
    bool m_saved = false;
};

}  // namespace zel
