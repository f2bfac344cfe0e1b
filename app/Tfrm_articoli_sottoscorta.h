#pragma once

#include <QDialog>
#include <QList>
#include <QVariant>

#include "ui/AppContext.h"

class QLabel;
class QPushButton;
class QStandardItemModel;
class QTableView;

namespace zel {

// The articles under their minimum stock, as the check found them.
class Tfrm_articoli_sottoscorta : public QDialog {
    Q_OBJECT
public:
    Tfrm_articoli_sottoscorta(AppContext& ctx, QWidget* parent);

    void setRows(const QList<QVariantList>& rows);
    int rowCount() const;

private:
    void buildUi();
    void btn_chiudiClick();

    QTableView* DBGrid1 = nullptr;
    QStandardItemModel* m_model = nullptr;
    QLabel* lbl_totale = nullptr;
    QPushButton* btn_chiudi = nullptr;
};

}  // namespace zel
