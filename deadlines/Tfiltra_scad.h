#pragma once

#include <QDialog>
#include <functional>

#include "deadlines/DeadlineArchive.h"
#include "report/PageModel.h"
#include "ui/AppContext.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QTableView;

namespace zel {

class DateEdit;
class DeadlineListModel;

// "Cerca le scadenze": a selection by due dates, kind, bank, paid state and
// descriptions, its count, its list and its print.
class Tfiltra_scad : public QDialog {
    Q_OBJECT
public:
    Tfiltra_scad(AppContext& ctx, QWidget* parent = nullptr);
    ~Tfiltra_scad() override;

    void FormShow();
    DeadlineSearch criteria() const;
    const QList<qint64>& selection() const { return m_selection; }

    void btn_elencaClick();
    void btn_stampaClick();

    std::function<void(const report::PageModel&)> showPreview;

private:
    bool runSearch();

    AppContext& m_ctx;
    DeadlineArchive m_archive;
    QList<qint64> m_selection;
    DeadlineListModel* m_model = nullptr;

    DateEdit* edt_dal = nullptr;
    DateEdit* edt_al = nullptr;
    QComboBox* cmb_tipologia = nullptr;
    QComboBox* cmb_banca = nullptr;
    QComboBox* cmb_pagato = nullptr;
    QLineEdit* edt_des = nullptr;
    QLineEdit* edt_des2 = nullptr;
    QComboBox* cmb_ordina = nullptr;
    QLabel* lbl_conteggio = nullptr;
    QTableView* m_grid = nullptr;
};

}  // namespace zel
