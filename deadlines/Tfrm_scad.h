#pragma once

#include <QDialog>
#include <functional>

#include "deadlines/DeadlineArchive.h"
#include "report/PageModel.h"
#include "ui/AppContext.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace zel {

class DateEdit;
class DeadlineFields;
class DeadlineListModel;

// "Scadenze": the deadline archive in a grid with the current deadline beside it,
// overdue unpaid rows in red, the filters, in-place editing and the list print.
class Tfrm_scad : public QDialog {
    Q_OBJECT
public:
    Tfrm_scad(AppContext& ctx, QWidget* parent = nullptr);
    ~Tfrm_scad() override;

    // Opens on the starting list.
    void FormShow();
    // Opens on a given selection (the month's unpaid deadlines, an alert).
    void showSelection(const QList<qint64>& rowids, const QString& caption);

    DeadlineArchive& archive() { return m_archive; }
    DeadlineListModel& listModel() { return *m_model; }
    int currentRow() const;
    void selectRow(int row);
    // The list the card walks through.
    QList<qint64> currentList() const;

    void btn_inizioClick();
    void btn_indietroClick();
    void btn_avantiClick();
    void btn_fineClick();
    void btn_modificaClick();
    void btn_imposta_filtriClick();
    void btn_azzera_filtriClick();
    void btn_oggiClick();
    void btn_confermaClick();
    void btn_nuovoClick();
    void btn_cancellaClick();
    void btn_stampaClick();
    void gridTitleClick(int column);

    // Seams: the preview of the print and the deadline card.
    std::function<void(const report::PageModel&)> showPreview;
    std::function<void(const QList<qint64>& list, int index)> openCard;

private:
    void buildUi();
    void reload(qint64 keepRowid);
    void showCurrent();
    void recordHint();
    void setEditing(bool adding);

    AppContext& m_ctx;
    DeadlineArchive m_archive;
    DeadlineListModel* m_model = nullptr;
    DeadlineFilter m_filter;
    QString m_order = QStringLiteral("DATA");
    std::optional<QList<qint64>> m_fixedSelection;
    bool m_adding = false;

    QTableView* m_grid = nullptr;
    DeadlineFields* m_fields = nullptr;
    QCheckBox* chk_data_dal = nullptr;
    QCheckBox* chk_data_al = nullptr;
    QCheckBox* chk_pag_dal = nullptr;
    QCheckBox* chk_pag_al = nullptr;
    DateEdit* edt_data_dal = nullptr;
    DateEdit* edt_data_al = nullptr;
    DateEdit* edt_pag_dal = nullptr;
    DateEdit* edt_pag_al = nullptr;
    QLineEdit* edt_filtro_cod_cli = nullptr;
    QLineEdit* edt_filtro_des = nullptr;
    QLabel* lbl_filtro = nullptr;
    QLabel* lbl_conteggio = nullptr;
    QPushButton* btn_cancella = nullptr;
    QPushButton* btn_nuovo = nullptr;
};

}  // namespace zel
