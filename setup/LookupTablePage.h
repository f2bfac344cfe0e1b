#pragma once

#include <QWidget>

#include "store/Store.h"

class QTableWidget;
class QPushButton;
class QTableWidgetItem;

namespace zel {

// One lookup archive in a grid: every cell edit, addition and deletion is saved at
// once, each in its own transaction, and the grid is reloaded from the archive.
class LookupTablePage : public QWidget {
    Q_OBJECT
public:
    LookupTablePage(Store& store, QString path, QString name, QWidget* parent = nullptr);

    void reload();
    QTableWidget* grid() const { return m_grid; }
    QString archivePath() const { return m_path; }

    // Adds an empty row; returns false with the failure shown.
    bool btn_aggiungiClick();
    // Deletes the selected rows in one transaction.
    bool btn_eliminaClick();

private:
    void gridItemChanged(QTableWidgetItem* item);
    // The typed text as the column's value; an error text when it does not fit.
    QVariant toValue(int column, const QString& text, QString* error) const;

    Store& m_store;
    QString m_path;
    QList<ColumnInfo> m_columns;
    QTableWidget* m_grid = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_delete = nullptr;
    bool m_loading = false;
};

}  // namespace zel
