#pragma once

#include <QWidget>
#include <functional>

#include "deadlines/DeadlineArchive.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace zel {

class DateEdit;
struct AppContext;

// The fields of one deadline, shared by the card and the browser: the edits with their
// column lengths, the kinds and banks, the party list with its details, and
// Ctrl-Alt-I in the amounts to take the VAT out.
class DeadlineFields : public QWidget {
    Q_OBJECT
public:
    DeadlineFields(AppContext& ctx, QWidget* parent = nullptr);

    void setDeadline(const Deadline& d);
    // The fields as a deadline (rowid and ID of the one shown); nothing when an amount
    // cannot be read, after telling the user.
    std::optional<Deadline> deadline(const QString& title) const;
    // Writes the fields into the archive: a new row when adding, else the shown one. The
    // rowid written, or nothing after telling the user why nothing was saved.
    std::optional<qint64> save(DeadlineArchive& archive, bool adding, const QString& title);
    void clearForNew(qint64 id, const QDate& today);
    // Loads the kinds, banks and party codes.
    void loadLists();

    DateEdit* edt_data = nullptr;
    QComboBox* cmb_cod = nullptr;
    QLineEdit* edt_des = nullptr;
    QLineEdit* edt_des2 = nullptr;
    QLineEdit* edt_des3 = nullptr;
    QLineEdit* edt_dare = nullptr;
    QLineEdit* edt_avere = nullptr;
    QComboBox* cmb_banca = nullptr;
    QComboBox* cmb_pagato = nullptr;
    DateEdit* edt_datapag = nullptr;
    QComboBox* cmb_cod_for = nullptr;
    QLabel* lbl_dati_cli = nullptr;
    QLineEdit* edt_fattura = nullptr;
    DateEdit* edt_data_fatt = nullptr;
    QCheckBox* chk_reminder = nullptr;
    QLabel* lbl_id = nullptr;

    // Seam: the party chosen in the search dialog on a double click (empty when given up).
    std::function<QString()> pickParty;

    void cmb_cod_forChange(const QString& text);
    void cmb_cod_forSelect(const QString& code);

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    AppContext& m_ctx;
    qint64 m_rowid = 0;
    qint64 m_id = 0;
};

}  // namespace zel
