#pragma once

#include <QDialog>
#include <QList>
#include <functional>
#include <optional>

#include "invoices/InvoiceRegistration.h"
#include "ui/AppContext.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace zel {

class DateEdit;

// "Nuova Fattura da DDT": the DDT of one customer in a period become one summary invoice.
// Steps: recipient; period, number, date and kind; the DDT and their lines, registered;
// totals, payment and due dates, header completion and deadlines; print.
class Tfrm_fattnew : public QDialog {
    Q_OBJECT
public:
    Tfrm_fattnew(AppContext& ctx, QWidget* parent = nullptr);

    static QString title() { return QStringLiteral("Zelvarin: Nuova Fattura da DDT"); }
    static QStringList kinds();

    void FormShow();
    int step() const { return m_step; }
    // The invoice registered by step 3, when there is one.
    std::optional<qint64> registeredNumber() const { return m_registered; }
    // The figures shown now.
    const DocumentTotals* totals() const { return m_totals ? &*m_totals : nullptr; }
    InvoiceFooter footer() const;
    // Opens the invoice browser on the registered invoice, where it is printed.
    std::function<void(qint64 number, const QString& customer, const QDate& date)> openBrowser;

    // Handlers, public so the menu and the tests drive them like the buttons do.
    void btn_cerca_cliClick();
    void btn_avanti_cliClick();
    void btn_mese_scorsoClick();
    void btn_fine_meseClick();
    void btn_avantiClick();
    void btn_confermaClick();
    void btn_attivaClick();
    void btn_scadenzarioClick();
    void btn_stampaClick();
    void btn_nuovaClick();
    void btn_annullaClick();

protected:
    void done(int r) override;

private:
    void buildUi();
    void setStep(int step);
    InvoiceRegistration registration() const;
    QList<InvoiceDdt> checkedDdts() const;
    void recalc();
    void recalcDueDates();
    void showTotals();
    Money amountOf(QLineEdit* e) const;

    AppContext& m_ctx;
    int m_step = 1;
    QList<InvoiceDdt> m_ddts;
    std::optional<InvoicePlan> m_plan;
    std::optional<DocumentTotals> m_totals;
    std::optional<qint64> m_registered;
    QString m_customer;
    QDate m_date;
    bool m_updatingDates = false;

    QGroupBox* m_box[5] = {};
    QLineEdit* edt_cod_cli = nullptr;
    QLineEdit* edt_nome = nullptr;
    QPushButton* btn_cerca_cli = nullptr;
    QPushButton* btn_avanti_cli = nullptr;
    DateEdit* edt_dal = nullptr;
    DateEdit* edt_al = nullptr;
    QPushButton* btn_mese_scorso = nullptr;
    QPushButton* btn_fine_mese = nullptr;
    QLineEdit* edt_num_fatt = nullptr;
    DateEdit* edt_data_fatt = nullptr;
    QComboBox* cmb_tipodoc = nullptr;
    QComboBox* cmb_contrass = nullptr;
    QPushButton* btn_avanti = nullptr;
    QTableWidget* grid_ddt = nullptr;
    QTableWidget* grid_righe = nullptr;
    QPushButton* btn_conferma = nullptr;
    QLineEdit* edt_tot = nullptr;
    QLineEdit* ed_spese_imp = nullptr;
    QLineEdit* ed_spese_esiva = nullptr;
    QLineEdit* ed_lavoraz = nullptr;
    QLineEdit* ed_sconto = nullptr;
    QLineEdit* edt_art_esenzione = nullptr;
    QLineEdit* imp_netto = nullptr;
    QLineEdit* edt_iva[3] = {};
    QLabel* lbl_iva[3] = {};
    QLineEdit* edt_iva_tot = nullptr;
    QLineEdit* tot_fatt = nullptr;
    QComboBox* cmb_tipo_pagam = nullptr;
    QComboBox* cmb_scadenza = nullptr;
    QRadioButton* rb_shift[4] = {};
    DateEdit* edt_scad[4] = {};
    QLineEdit* edt_imp_scad[4] = {};
    QCheckBox* chk_scad[4] = {};
    QCheckBox* chk_pagato = nullptr;
    QLineEdit* edt_banca = nullptr;
    QLineEdit* edt_note[3] = {};
    QPushButton* btn_attiva = nullptr;
    QPushButton* btn_scadenzario = nullptr;
    QPushButton* btn_stampa = nullptr;
    QPushButton* btn_nuova = nullptr;
    QPushButton* btn_annulla = nullptr;
};

}  // namespace zel
