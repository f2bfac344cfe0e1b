#pragma once

#include <QDialog>
#include <QList>
#include <QVariantMap>
#include <functional>
#include <optional>

#include "invoices/InvoiceBrowser.h"
#include "invoices/InvoicePrintOptions.h"
#include "report/PageModel.h"
#include "ui/AppContext.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTableView;
class QTableWidget;

namespace zel {

class DateEdit;

// "Scorrimento fatture": the invoices of a year archive, newest first, with their
// payment state; the lines of the current one; its reprint and its deletion.
class Tscorre_fatt : public QDialog {
    Q_OBJECT
public:
    Tscorre_fatt(AppContext& ctx, QWidget* parent = nullptr);

    static QString title() { return QStringLiteral("Scorrimento fatture"); }

    // Opens on the archives the settings name, every invoice listed.
    void FormShow();
    // Opens listing one customer's invoices (the partner card's quick view).
    void showCustomer(const QString& code);
    // Opens on the year of `date`, listing the customer's invoices with this one current.
    void showInvoice(const InvoiceKey& key, const QDate& date);
    QList<int> archiveYears() const;
    void showYear(int year);
    int shownYear() const { return invoiceYearOf(m_archives); }

    InvoiceListModel& listModel() { return *m_model; }
    void selectRow(int row);
    std::optional<InvoiceKey> currentKey() const;
    const QList<QVariantMap>& currentLines() const { return m_lines; }
    InvoicePrintOptions printOptions() const;

    // Handlers, public so the menu and the tests drive them like the buttons do.
    void btn_set_filtroClick();
    void btn_reset_filtroClick();
    void btn_stampaClick();
    void btn_elimina_fatturaClick();

    // Seam: the preview of a print; by default the maximised preview.
    std::function<void(const report::PageModel&, int copies)> showPreview;

private:
    void buildUi();
    void reload(int keepRow);
    void showCurrent();
    void fillKinds();

    AppContext& m_ctx;
    InvoiceArchives m_archives;
    InvoiceFilter m_filter;
    InvoiceListModel* m_model = nullptr;
    QList<QVariantMap> m_lines;

    QTableView* grid_fatture = nullptr;
    QTableWidget* grid_righe = nullptr;
    QLabel* lbl_conta = nullptr;
    QComboBox* cmb_archivio = nullptr;
    QLineEdit* edt_filtro_cliente = nullptr;
    DateEdit* edt_filtro_dal = nullptr;
    DateEdit* edt_filtro_al = nullptr;
    QLineEdit* edt_filtro_numero = nullptr;
    QComboBox* cmb_filtro_tipo = nullptr;
    QCheckBox* chk_scadenze = nullptr;
    QCheckBox* chk_valuta = nullptr;
    QCheckBox* chk_anno = nullptr;
    QCheckBox* chk_iban = nullptr;
    QCheckBox* chk_um = nullptr;
    QCheckBox* chk_quant = nullptr;
    QCheckBox* chk_kg = nullptr;
    QCheckBox* chk_conai = nullptr;
    QCheckBox* chk_ci = nullptr;
    QCheckBox* chk_logo_aggiuntivo = nullptr;
    QCheckBox* chk_sconto_zero = nullptr;
    QCheckBox* chk_copia_conforme = nullptr;
    QCheckBox* chk_valuta_secondaria = nullptr;
    QRadioButton* rb_decimali[4] = {};
    QSpinBox* num_copie = nullptr;
};

}  // namespace zel
