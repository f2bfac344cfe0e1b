#pragma once

#include <QDialog>
#include <QHash>
#include <memory>
#include <optional>

#include "quotes/QuoteArchive.h"
#include "ui/AppContext.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;
class QTableWidget;

namespace zel {

class DateEdit;
struct InvoiceFooter;

// "Zelvarin - Fattura da Preventivo": the quote, the lines to invoice, the footer, then
// the invoice registered in the invoice archives (the proforma ones for "Fattura proforma").
class Tfrm_preventivi_tools : public QDialog {
    Q_OBJECT
public:
    explicit Tfrm_preventivi_tools(AppContext& ctx, QWidget* parent = nullptr);
    ~Tfrm_preventivi_tools() override;

    // Page 1 on a customer and quote (empty: every quote).
    void prepare(const QString& customer = {}, qint64 quote = 0);

    void btn_ok_artClick();
    void cmb_tipodocSelect();
    void btn_confermaClick();
    void freccia_all1Click();
    void btn_aggiunge_singoloClick();
    void btn_elimina_voceClick();
    void btn_conferma1Click();
    void btn_calcolaClick();
    void btn_avanti2Click();
    void btn_avanti3Click();
    void btn_nuova_fattClick();
    void btn_scadenzarioClick();

private:
    void showLines(QTableWidget* grid, const QList<QuoteLine>& lines);
    qint64 quoteNumber() const;
    bool proforma() const;
    std::optional<InvoiceFooter> footer(QString* error) const;

    AppContext& m_ctx;
    QStackedWidget* m_pages = nullptr;
    QHash<QString, QLineEdit*> m_edits;
    QHash<QString, QComboBox*> m_combos;
    QHash<QString, QLabel*> m_labels;
    QHash<QString, QPushButton*> m_buttons;
    QTableWidget* m_source = nullptr;
    QTableWidget* m_chosen = nullptr;
    DateEdit* m_date = nullptr;
    QList<QuoteLine> m_quoteLines;
    QList<QuoteLine> m_chosenLines;
    QString m_customer;
    qint64 m_registered = 0;  // the invoice registered last, 0 for none
};

}  // namespace zel
