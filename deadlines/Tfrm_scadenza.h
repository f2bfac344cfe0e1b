#pragma once

#include <QDialog>

#include "deadlines/DeadlineArchive.h"
#include "ui/AppContext.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace zel {

class DateEdit;
class DeadlineFields;

// "Scheda scadenza": one deadline at a time over the browser's list; new, confirm,
// "Pagato!", delete, the search by date and the repetition of the deadline.
class Tfrm_scadenza : public QDialog {
    Q_OBJECT
public:
    Tfrm_scadenza(AppContext& ctx, QWidget* parent = nullptr);

    // Shows the list's deadline at index.
    void showList(const QList<qint64>& rowids, int index);
    // Opens on the whole archive by date, on its last deadline.
    void FormShow();
    // Opens ready for a new deadline.
    void openNew();

    const Deadline& shown() const { return m_shown; }
    const QList<qint64>& list() const { return m_list; }
    int index() const { return m_index; }

    void btn_inizioClick();
    void btn_indietroClick();
    void btn_avantiClick();
    void btn_fineClick();
    void btn_nuovoClick();
    void btn_confermaClick();
    void btn_pagatoClick();
    void btn_cancellaClick();
    void btn_cercaClick();
    void btn_resetClick();
    void btn_generaClick();

private:
    void buildUi();
    void showAt(int index);
    void reloadByDate(qint64 keepRowid);
    void recordHint();
    void setAdding(bool on);
    void refreshDays();

    AppContext& m_ctx;
    DeadlineArchive m_archive;
    QList<qint64> m_list;
    int m_index = -1;
    Deadline m_shown;
    bool m_adding = false;

    DeadlineFields* m_fields = nullptr;
    QLabel* lbl_pagato = nullptr;
    QLabel* lbl_giorni = nullptr;
    QPushButton* btn_inizio = nullptr;
    QPushButton* btn_indietro = nullptr;
    QPushButton* btn_avanti = nullptr;
    QPushButton* btn_fine = nullptr;
    QPushButton* btn_cancella = nullptr;
    DateEdit* edt_cerca_data = nullptr;
    QCheckBox* chk_ripetizione = nullptr;
    QRadioButton* rb_mese = nullptr;
    QRadioButton* rb_anno = nullptr;
    DateEdit* edt_dal = nullptr;
    DateEdit* edt_al = nullptr;
    QCheckBox* chk_fine_mese = nullptr;
    QPushButton* btn_genera = nullptr;
};

}  // namespace zel
