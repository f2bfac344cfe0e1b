#pragma once

#include <QDialog>
#include <QHash>
#include <functional>

#include "ui/AppContext.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QTableView;

namespace zel {

namespace report {
class PageModel;
}
class MovementWindowModel;

// "scorrimento/ricerca movimenti": the movements of a year's archive (or of the current
// one, "GLOBALE"), filtered by any of the criteria, with the totals of quantity, weight
// and parcels, the list print and the deletion of a delivery note's movements.
class Tmov_check : public QDialog {
    Q_OBJECT
public:
    static QString globalChoice() { return QStringLiteral("GLOBALE"); }

    Tmov_check(AppContext& ctx, QWidget* parent = nullptr);
    ~Tmov_check() override;

    std::function<void(const report::PageModel&)> showPreview;

    void FormShow();
    void cmb_archivioChange();
    void btn_filtraClick();
    void btn_togli_filtroClick();
    void btn_stampaClick();
    void btn_eliminaClick();

    MovementWindowModel& model() { return *m_model; }
    // The movement and header archives of the archive choice.
    QString movementsPath() const;
    QString headersPath() const;

private:
    void buildUi();
    void run(bool filtered);
    void showTotals();
    QLineEdit* criterion(const QString& name);

    AppContext& m_ctx;
    MovementWindowModel* m_model = nullptr;
    QTableView* m_grid = nullptr;
    QComboBox* m_archive = nullptr;
    QHash<QString, QLineEdit*> m_criteria;
    QComboBox* m_cause = nullptr;
    QCheckBox* m_nonZero = nullptr;
    QLineEdit* m_deleteDdt = nullptr;
    QLineEdit* m_deleteCustomer = nullptr;
    QLabel* m_rows = nullptr;
    QLabel* m_quantity = nullptr;
    QLabel* m_weight = nullptr;
    QLabel* m_parcels = nullptr;
    bool m_filtered = false;
};

}  // namespace zel
