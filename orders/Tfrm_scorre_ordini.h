#pragma once

#include <QDialog>
#include <QHash>
#include <functional>

#include "report/PageModel.h"

#include "ui/AppContext.h"

class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableView;

namespace zel {

class OrderLinesModel;

// Order lines browsed, filtered, edited one at a time and deleted by whole orders.
class Tfrm_scorre_ordini : public QDialog {
    Q_OBJECT
public:
    explicit Tfrm_scorre_ordini(AppContext& ctx, QWidget* parent = nullptr);
    ~Tfrm_scorre_ordini() override;

    void FormShow();
    void btn_filtraClick();
    void btn_elimina_ordineClick();
    void btn_stampa_ordineClick();
    void btn_stampa_elencoClick();
    void btn_aggiungiClick();
    void btn_confermaClick();
    void btn_annullaClick();
    void btn_elimina_rigaClick();

    // Shows a print; the maximised preview unless replaced.
    std::function<void(report::PageModel)> showPreview;
    // The order number of the current line, 0 without one.
    qint64 currentOrder() const;

private:
    void buildUi();
    void reload();
    void move(int to);
    void showCurrentLine();
    qint64 currentRowid() const;
    void reloadAt(qint64 rowid);

    AppContext& m_ctx;
    OrderLinesModel* m_model = nullptr;
    QTableView* m_view = nullptr;
    QLineEdit* m_fArticle = nullptr;
    QLineEdit* m_fCustomer = nullptr;
    QLineEdit* m_fSupplier = nullptr;
    QLineEdit* m_fDes = nullptr;
    QLineEdit* m_fOrder = nullptr;
    QRadioButton* m_fCustomers = nullptr;
    QRadioButton* m_fSuppliers = nullptr;
    QPushButton* m_filter = nullptr;
    QPushButton* m_panelToggle = nullptr;
    QWidget* m_panel = nullptr;
    bool m_filtered = false;
    bool m_appending = false;
    QHash<QString, QLineEdit*> m_edit;
};

}  // namespace zel
