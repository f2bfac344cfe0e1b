#pragma once

#include <QDialog>
#include <QHash>
#include <memory>

#include "quotes/QuoteArchive.h"
#include "quotes/Trpt_preventivo.h"
#include <functional>
#include "ui/AppContext.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QStackedWidget;
class QTableWidget;
class QWidget;

namespace zel {

class DateEdit;

// "Zelvarin - Nuovo preventivo": the customer and the lines on the first page, the
// summary and the saving on the second. The lines wait in the working table until saved.
class Tfrm_nuovo_preventivo : public QDialog {
    Q_OBJECT
public:
    explicit Tfrm_nuovo_preventivo(AppContext& ctx, QWidget* parent = nullptr);
    ~Tfrm_nuovo_preventivo() override;

    // What every showing does: an empty working table, the lists and the number.
    void prepare();

    // Handlers, public so that callers and tests drive them as the buttons do.
    void cmb_cod_cliSelect();
    void btn_conferma_clienteClick();
    void cmb_articoloSelect();
    void Btn_confermaClick();
    void btn_cancella_rigaClick();
    void btn_avantiClick();
    void btn_indietroClick();
    void btn_registra_preventivoClick();
    void btn_nuovo_preventivoClick();
    void btn_azzera_campiClick();
    void btn_uscitaClick();
    void btn_stampa_prevClick();

    // The customer card, to type a new customer; set by the program.
    std::function<void()> runCustomerCard;
    void btn_nuovo_clienteClick();

    // Shows the print of the saved quote (the preview); tests replace it.
    std::function<void(const QuotePrintData&, const QuotePrintOptions&, Trpt_preventivo::Model)>
        showPrint;

protected:
    void reject() override;

private:
    void buildUi();
    QWidget* buildFirstPage();
    QWidget* buildSecondPage();
    void fillCustomers();
    void fillArticles();
    void clearCustomerFields();
    void clearLineFields();
    void recomputeLine();
    void refreshLines();
    void showSummary();
    QString customerCode() const;
    QuoteLine lineFromFields(QString* error) const;
    QuoteArchive& archive();

    AppContext& m_ctx;
    std::unique_ptr<QuoteArchive> m_archive;
    QStackedWidget* m_pages = nullptr;
    QLineEdit* m_number = nullptr;
    DateEdit* m_date = nullptr;
    QComboBox* m_customer = nullptr;
    QLabel* m_marker = nullptr;
    QHash<QString, QLineEdit*> m_fields;  // customer fields by column
    QWidget* m_linePanel = nullptr;
    QComboBox* m_article = nullptr;
    QLineEdit* m_des = nullptr;
    QLineEdit* m_price = nullptr;
    QLineEdit* m_quant = nullptr;
    QLineEdit* m_discount = nullptr;
    QComboBox* m_vat = nullptr;
    QComboBox* m_unit = nullptr;
    QComboBox* m_altText = nullptr;
    QCheckBox* m_altPrint = nullptr;
    QHash<QString, QLabel*> m_lineFigures;
    QTableWidget* m_grid = nullptr;
    QHash<QString, QLabel*> m_summary;
    QLineEdit* m_subject = nullptr;
    QComboBox* m_payment = nullptr;
    QHash<QString, QPushButton*> m_buttons;
    QList<qint64> m_rowids;
    QString m_exemption;
    QComboBox* m_printModel = nullptr;
    QHash<QString, QCheckBox*> m_printOptions;
    QSpinBox* m_copies = nullptr;
    qint64 m_saved = 0;  // the number of the quote saved last, printed by btn_stampa_prev
};

}  // namespace zel
