#include "app/Tfrm_articoli_sottoscorta.h"

#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

#include "app/ShellQueries.h"

namespace zel {

Tfrm_articoli_sottoscorta::Tfrm_articoli_sottoscorta(AppContext&, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Tfrm_articoli_sottoscorta"));
    buildUi();
}

void Tfrm_articoli_sottoscorta::buildUi() {
    setWindowTitle(QStringLiteral("Articoli sotto la scorta minima"));
    resize(900, 500);
    auto* lay = new QVBoxLayout(this);
    m_model = new QStandardItemModel(this);
    m_model->setHorizontalHeaderLabels(underStockHeaders());
    DBGrid1 = new QTableView(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setModel(m_model);
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1->horizontalHeader()->setStretchLastSection(true);
    lay->addWidget(DBGrid1);
    auto* row = new QHBoxLayout;
    lbl_totale = new QLabel(this);
    lbl_totale->setObjectName(QStringLiteral("lbl_totale"));
    row->addWidget(lbl_totale, 1);
    btn_chiudi = new QPushButton(QStringLiteral("&Chiudi"), this);
    btn_chiudi->setObjectName(QStringLiteral("btn_chiudi"));
    row->addWidget(btn_chiudi);
    lay->addLayout(row);
    connect(btn_chiudi, &QPushButton::clicked, this, &Tfrm_articoli_sottoscorta::btn_chiudiClick);
}

void Tfrm_articoli_sottoscorta::setRows(const QList<QVariantList>& rows) {
    const QLocale it(QLocale::Italian, QLocale::Italy);
    m_model->removeRows(0, m_model->rowCount());
    for (const QVariantList& r : rows) {
        QList<QStandardItem*> items;
        for (qsizetype c = 0; c < r.size(); ++c) {
            const bool amount = c >= 2 && c <= 5;
            auto* item = new QStandardItem(amount ? it.toString(r[c].toDouble(), 'f', 2) : r[c].toString());
            if (amount) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            items << item;
        }
        m_model->appendRow(items);
    }
    lbl_totale->setText(underStockHint(rows.size()));
}

int Tfrm_articoli_sottoscorta::rowCount() const { return m_model->rowCount(); }

void Tfrm_articoli_sottoscorta::btn_chiudiClick() { accept(); }

}  // namespace zel
