#include "deadlines/Tfiltra_scad.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "core/Clock.h"
#include "deadlines/DeadlineListModel.h"
#include "deadlines/TQR_scad.h"
#include "report/PreviewWindow.h"
#include "settings/Settings.h"
#include "store/Store.h"
#include "ui/DateEdit.h"
#include "ui/Dialogs.h"

using namespace Qt::Literals::StringLiterals;

namespace zel {

namespace {
const QString kTitle = u"Cerca le scadenze"_s;
}

Tfiltra_scad::Tfiltra_scad(AppContext& ctx, QWidget* parent)
    : QDialog(parent),
      m_ctx(ctx),
      m_archive(DeadlineArchive::fromSettings(*ctx.store, *ctx.settings)) {
    setObjectName(u"Tfiltra_scad"_s);
    setWindowTitle(kTitle);
    auto* top = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    edt_dal = new DateEdit(this);
    edt_dal->setObjectName(u"edt_dal"_s);
    edt_al = new DateEdit(this);
    edt_al->setObjectName(u"edt_al"_s);
    form->addRow(u"Dal"_s, edt_dal);
    form->addRow(u"al"_s, edt_al);
    cmb_tipologia = new QComboBox(this);
    cmb_tipologia->setObjectName(u"cmb_tipologia"_s);
    cmb_tipologia->setEditable(true);
    form->addRow(u"Tipologia"_s, cmb_tipologia);
    cmb_banca = new QComboBox(this);
    cmb_banca->setObjectName(u"cmb_banca"_s);
    cmb_banca->setEditable(true);
    form->addRow(u"Banca"_s, cmb_banca);
    cmb_pagato = new QComboBox(this);
    cmb_pagato->setObjectName(u"cmb_pagato"_s);
    cmb_pagato->addItems({QString(), u"N. Non pagato"_s, u"S. Pagato"_s, u"A. Acconto versato"_s});
    form->addRow(u"Stato"_s, cmb_pagato);
    edt_des = new QLineEdit(this);
    edt_des->setObjectName(u"edt_des"_s);
    form->addRow(u"Descrizione"_s, edt_des);
    edt_des2 = new QLineEdit(this);
    edt_des2->setObjectName(u"edt_des2"_s);
    form->addRow(u"Riferimento"_s, edt_des2);
    cmb_ordina = new QComboBox(this);
    cmb_ordina->setObjectName(u"cmb_ordina"_s);
    cmb_ordina->addItems(
        {u"Data"_s, u"Descrizione"_s, u"Riferimento"_s, u"Tipologia"_s, u"Banca"_s});
    form->addRow(u"Ordina per"_s, cmb_ordina);
    top->addLayout(form);
    auto* buttons = new QHBoxLayout;
    auto* list = new QPushButton(u"Elenca"_s, this);
    list->setObjectName(u"btn_elenca"_s);
    connect(list, &QPushButton::clicked, this, &Tfiltra_scad::btn_elencaClick);
    auto* print = new QPushButton(u"Stampa"_s, this);
    print->setObjectName(u"btn_stampa"_s);
    connect(print, &QPushButton::clicked, this, &Tfiltra_scad::btn_stampaClick);
    lbl_conteggio = new QLabel(this);
    lbl_conteggio->setObjectName(u"lbl_conteggio"_s);
    buttons->addWidget(list);
    buttons->addWidget(print);
    buttons->addWidget(lbl_conteggio, 1);
    top->addLayout(buttons);
    m_model = new DeadlineListModel(m_archive, this);
    m_grid = new QTableView(this);
    m_grid->setObjectName(u"grid_elenco"_s);
    m_grid->setModel(m_model);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    top->addWidget(m_grid, 1);
    showPreview = [this](const report::PageModel& m) { report::PreviewWindow::run(m, 1, this); };
    resize(900, 600);
}

Tfiltra_scad::~Tfiltra_scad() = default;

void Tfiltra_scad::FormShow() {
    const QDate today = Clock::today();
    if (edt_dal->isEmpty()) edt_dal->setDate(QDate(today.year(), 1, 1));
    if (edt_al->isEmpty()) edt_al->setDate(QDate(today.year(), 12, 31));
    const QString kind = cmb_tipologia->currentText();
    const QString bank = cmb_banca->currentText();
    cmb_tipologia->clear();
    cmb_banca->clear();
    try {
        const QString t = m_ctx.store->table(m_archive.path());
        cmb_tipologia->addItem(QString());
        cmb_banca->addItem(QString());
        for (const QVariantList& r :
             m_ctx.store->rows(u"SELECT DISTINCT cod FROM "_s + t +
                               u" WHERE trim(coalesce(cod, '')) <> '' ORDER BY cod"_s))
            cmb_tipologia->addItem(r[0].toString());
        for (const QVariantList& r :
             m_ctx.store->rows(u"SELECT DISTINCT banca FROM "_s + t +
                               u" WHERE trim(coalesce(banca, '')) <> '' ORDER BY banca"_s))
            cmb_banca->addItem(r[0].toString());
    } catch (const StoreError& e) {
        Dialogs::instance().error(kTitle, e.message(), this);
    }
    cmb_tipologia->setCurrentText(kind);
    cmb_banca->setCurrentText(bank);
}

DeadlineSearch Tfiltra_scad::criteria() const {
    DeadlineSearch s;
    s.from = edt_dal->date();
    s.to = edt_al->date();
    s.kind = cmb_tipologia->currentText();
    s.bank = cmb_banca->currentText();
    s.paid = cmb_pagato->currentText().section(u'.', 0, 0).trimmed();
    s.description = edt_des->text();
    s.description2 = edt_des2->text();
    s.order = static_cast<DeadlineSearch::Order>(std::max(0, cmb_ordina->currentIndex()));
    return s;
}

bool Tfiltra_scad::runSearch() {
    try {
        m_selection = m_archive.search(criteria());
        lbl_conteggio->setText(u"Sono presenti "_s + QString::number(m_selection.size()) +
                               u" elementi su un totale di "_s +
                               QString::number(m_archive.count()));
    } catch (const StoreError& e) {
        m_selection.clear();
        Dialogs::instance().error(kTitle, e.message(), this);
        return false;
    }
    return true;
}

void Tfiltra_scad::btn_elencaClick() {
    if (!runSearch()) return;
    m_model->setToday(Clock::today());
    m_model->setRowids(m_selection);
}

void Tfiltra_scad::btn_stampaClick() {
    if (!runSearch()) return;
    if (m_selection.isEmpty()) {
        Dialogs::instance().info(
            kTitle, u"Non ci sono scadenze che soddisfano il filtro di ricerca"_s, this);
        return;
    }
    try {
        showPreview(TQR_scad::render(*m_ctx.settings, m_archive.loadMany(m_selection)));
    } catch (const StoreError& e) {
        Dialogs::instance().error(kTitle, e.message(), this);
    }
}

}  // namespace zel
