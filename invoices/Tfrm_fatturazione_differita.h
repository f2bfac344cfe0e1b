#pragma once

#include <QDialog>
#include <QList>

#include "invoices/MonthEndInvoicing.h"
#include "ui/AppContext.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace zel {

class DateEdit;

// "Fatturazione differita di fine periodo": the customers with DDT to invoice in a
// period, then one summary invoice each, all or none.
class Tfrm_fatturazione_differita : public QDialog {
    Q_OBJECT
public:
    Tfrm_fatturazione_differita(AppContext& ctx, QWidget* parent = nullptr);

    static QString title() { return QStringLiteral("Fatturazione differita di fine periodo"); }

    void FormShow();
    const QList<MonthEndInvoicing::Customer>& customers() const { return m_customers; }

    void btn_cercaClick();
    void btn_confermaClick();

private:
    void buildUi();

    AppContext& m_ctx;
    QList<MonthEndInvoicing::Customer> m_customers;
    DateEdit* edt_dal = nullptr;
    DateEdit* edt_al = nullptr;
    DateEdit* edt_data_fatt = nullptr;
    QComboBox* cmb_tipodoc = nullptr;
    QPushButton* btn_cerca = nullptr;
    QTableWidget* grid_clienti = nullptr;
    QLabel* lbl_esito = nullptr;
    QPushButton* btn_conferma = nullptr;
};

}  // namespace zel
