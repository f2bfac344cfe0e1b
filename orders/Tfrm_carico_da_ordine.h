#pragma once

#include <QDialog>

#include "ui/AppContext.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace zel {

// Goods received against a supplier order, one open order line at a time.
class Tfrm_carico_da_ordine : public QDialog {
    Q_OBJECT
public:
    explicit Tfrm_carico_da_ordine(AppContext& ctx, QWidget* parent = nullptr);
    ~Tfrm_carico_da_ordine() override;

    void FormShow();
    void cmb_fornitoreSelect();
    void lst_ordiniClick();
    void lst_righeClick();
    void btn_confermaClick();

private:
    void buildUi();
    QString path(const char16_t* key) const;
    void clearEntry();

    AppContext& m_ctx;
    QComboBox* m_supplierList = nullptr;
    QListWidget* m_orders = nullptr;
    QListWidget* m_lines = nullptr;
    QLabel* m_article = nullptr;
    QLabel* m_lastPrice = nullptr;
    QLabel* m_averageCost = nullptr;
    QLabel* m_stock = nullptr;
    QLineEdit* m_quant = nullptr;
    QLineEdit* m_weight = nullptr;
    QLineEdit* m_parcels = nullptr;
    QLineEdit* m_price = nullptr;
    QLineEdit* m_ddt = nullptr;
    QLineEdit* m_supplier = nullptr;
    QPlainTextEdit* m_note = nullptr;
    qint64 m_lineRowid = 0;
    QString m_code;
    QString m_des;
};

}  // namespace zel
