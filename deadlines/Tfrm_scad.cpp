#include "deadlines/Tfrm_scad.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "core/Clock.h"
#include "deadlines/DeadlineFields.h"
#include "deadlines/DeadlineListModel.h"
#include "deadlines/TQR_scad.h"
#include "report/PreviewWindow.h"
#include "settings/Settings.h"
#include "store/Store.h"
#include "ui/DateEdit.h"
#include "ui/Dialogs.h"
#include "ui/Formats.h"

using namespace Qt::Literals::StringLiterals;

namespace zel {

namespace {
const QString kTitle = u"Scadenze"_s;
}

Tfrm_scad::Tfrm_scad(AppContext& ctx, QWidget* parent)
    : QDialog(parent),
      m_ctx(ctx),
      m_archive(DeadlineArchive::fromSettings(*ctx.store, *ctx.settings)) {
    setObjectName(u"Tfrm_scad"_s);
    setWindowTitle(kTitle);
    m_model = new DeadlineListModel(m_archive, this);
    buildUi();
    showPreview = [this](const report::PageModel& m) { report::PreviewWindow::run(m, 1, this); };
}

Tfrm_scad::~Tfrm_scad() = default;

void Tfrm_scad::buildUi() {
    auto* top = new QVBoxLayout(this);
    auto button = [this](const QString& name, const QString& text, void (Tfrm_scad::*slot)()) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        connect(b, &QPushButton::clicked, this, slot);
        return b;
    };

    auto* filters = new QGridLayout;
    auto dateFilter = [&](int row, int col, const QString& chk, const QString& edt,
                          const QString& caption, QCheckBox*& box, DateEdit*& edit) {
        box = new QCheckBox(caption, this);
        box->setObjectName(chk);
        edit = new DateEdit(this);
        edit->setObjectName(edt);
        filters->addWidget(box, row, col);
        filters->addWidget(edit, row, col + 1);
    };
    dateFilter(0, 0, u"chk_data_dal"_s, u"edt_data_dal"_s, u"Scadenza dal"_s, chk_data_dal,
               edt_data_dal);
    dateFilter(0, 2, u"chk_data_al"_s, u"edt_data_al"_s, u"al"_s, chk_data_al, edt_data_al);
    dateFilter(1, 0, u"chk_pag_dal"_s, u"edt_pag_dal"_s, u"Pagamento dal"_s, chk_pag_dal,
               edt_pag_dal);
    dateFilter(1, 2, u"chk_pag_al"_s, u"edt_pag_al"_s, u"al"_s, chk_pag_al, edt_pag_al);
    edt_filtro_cod_cli = new QLineEdit(this);
    edt_filtro_cod_cli->setObjectName(u"edt_filtro_cod_cli"_s);
    edt_filtro_des = new QLineEdit(this);
    edt_filtro_des->setObjectName(u"edt_filtro_des"_s);
    filters->addWidget(new QLabel(u"Cliente / Fornitore"_s, this), 2, 0);
    filters->addWidget(edt_filtro_cod_cli, 2, 1);
    filters->addWidget(new QLabel(u"Descrizione"_s, this), 2, 2);
    filters->addWidget(edt_filtro_des, 2, 3);
    filters->addWidget(button(u"btn_imposta_filtri"_s, u"Imposta\r\nfiltri"_s,
                              &Tfrm_scad::btn_imposta_filtriClick),
                       0, 4);
    filters->addWidget(
        button(u"btn_azzera_filtri"_s, u"Azzera\r\nfiltri"_s, &Tfrm_scad::btn_azzera_filtriClick),
        1, 4);
    filters->addWidget(button(u"btn_oggi"_s, u"Imposta\r\nOGGI"_s, &Tfrm_scad::btn_oggiClick), 0,
                       5);
    auto* analysis = new QPushButton(u"Analisi\r\nScadenze"_s, this);
    analysis->setObjectName(u"btn_analisi"_s);
    analysis->setEnabled(false);
    filters->addWidget(analysis, 1, 5);
    lbl_filtro = new QLabel(u"non attivo"_s, this);
    lbl_filtro->setObjectName(u"lbl_filtro"_s);
    filters->addWidget(lbl_filtro, 2, 4);
    top->addLayout(filters);

    auto* middle = new QHBoxLayout;
    m_grid = new QTableView(this);
    m_grid->setObjectName(u"grid_scad"_s);
    m_grid->setModel(m_model);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->verticalHeader()->setDefaultSectionSize(20);
    connect(m_grid->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &Tfrm_scad::gridTitleClick);
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { showCurrent(); });
    middle->addWidget(m_grid, 3);
    m_fields = new DeadlineFields(m_ctx, this);
    middle->addWidget(m_fields, 2);
    top->addLayout(middle, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(button(u"btn_inizio"_s, u"Inizio"_s, &Tfrm_scad::btn_inizioClick));
    buttons->addWidget(button(u"btn_indietro"_s, u"Indietro"_s, &Tfrm_scad::btn_indietroClick));
    buttons->addWidget(button(u"btn_avanti"_s, u"Avanti"_s, &Tfrm_scad::btn_avantiClick));
    buttons->addWidget(button(u"btn_fine"_s, u"Fine"_s, &Tfrm_scad::btn_fineClick));
    buttons->addWidget(
        button(u"btn_modifica"_s, u"Modifica\r\nVedi"_s, &Tfrm_scad::btn_modificaClick));
    auto* confirm = button(u"btn_conferma"_s, u"Conferma"_s, &Tfrm_scad::btn_confermaClick);
    confirm->setToolTip(u"Conferma modifica o inserimento"_s);
    buttons->addWidget(confirm);
    btn_nuovo = button(u"btn_nuovo"_s, u"Nuovo"_s, &Tfrm_scad::btn_nuovoClick);
    btn_nuovo->setToolTip(u"Aggiungi nuovo elemento"_s);
    buttons->addWidget(btn_nuovo);
    btn_cancella = button(u"btn_cancella"_s, u"Cancella"_s, &Tfrm_scad::btn_cancellaClick);
    btn_cancella->setToolTip(u"Cancella elemento selezionato"_s);
    buttons->addWidget(btn_cancella);
    buttons->addWidget(button(u"btn_stampa"_s, u"Stampa"_s, &Tfrm_scad::btn_stampaClick));
    lbl_conteggio = new QLabel(this);
    lbl_conteggio->setObjectName(u"lbl_conteggio"_s);
    buttons->addWidget(lbl_conteggio, 1);
    top->addLayout(buttons);
    resize(1100, 650);
}

void Tfrm_scad::FormShow() {
    m_fixedSelection.reset();
    m_filter = {};
    lbl_filtro->setText(u"non attivo"_s);
    m_fields->loadLists();
    reload(0);
}

void Tfrm_scad::showSelection(const QList<qint64>& rowids, const QString& caption) {
    m_fixedSelection = rowids;
    lbl_filtro->setText(caption);
    m_fields->loadLists();
    reload(0);
}

void Tfrm_scad::reload(qint64 keepRowid) {
    setEditing(false);
    try {
        m_model->setToday(Clock::today());
        m_model->setRowids(m_fixedSelection ? *m_fixedSelection
                                            : m_archive.list(m_filter, m_order));
    } catch (const StoreError& e) {
        m_model->setRowids({});
        Dialogs::instance().error(kTitle, e.message(), this);
    }
    lbl_conteggio->setText(u"Scadenze: "_s + QString::number(m_model->rowCount()));
    const int row = keepRowid ? m_model->rowOf(keepRowid) : -1;
    selectRow(row >= 0 ? row : 0);
    if (m_model->rowCount() == 0) showCurrent();
}

int Tfrm_scad::currentRow() const {
    return m_grid->currentIndex().isValid() ? m_grid->currentIndex().row() : -1;
}

void Tfrm_scad::selectRow(int row) {
    if (row < 0 || row >= m_model->rowCount()) return;
    m_grid->setCurrentIndex(m_model->index(row, 1));
    m_grid->scrollTo(m_model->index(row, 1));
}

QList<qint64> Tfrm_scad::currentList() const { return m_model->rowids(); }

void Tfrm_scad::showCurrent() {
    if (m_adding) return;
    const Deadline* d = m_model->deadline(currentRow());
    m_fields->setDeadline(d ? *d : Deadline{});
    btn_cancella->setEnabled(d != nullptr);
}

void Tfrm_scad::setEditing(bool adding) {
    m_adding = adding;
    btn_cancella->setEnabled(!adding && currentRow() >= 0);
}

void Tfrm_scad::btn_inizioClick() { selectRow(0); }
void Tfrm_scad::btn_indietroClick() { selectRow(std::max(0, currentRow() - 1)); }
void Tfrm_scad::btn_avantiClick() {
    selectRow(std::min(m_model->rowCount() - 1, currentRow() + 1));
}
void Tfrm_scad::btn_fineClick() { selectRow(m_model->rowCount() - 1); }

void Tfrm_scad::btn_modificaClick() {
    if (currentRow() < 0 || !openCard) return;
    const qint64 rowid = m_model->rowids().value(currentRow());
    openCard(currentList(), currentRow());
    m_model->invalidate();
    reload(rowid);
}

void Tfrm_scad::btn_imposta_filtriClick() {
    m_fixedSelection.reset();
    DeadlineFilter f;
    auto take = [](QCheckBox* box, DateEdit* edit) -> std::optional<QDate> {
        return box->isChecked() && !edit->isEmpty() ? std::optional<QDate>(edit->date())
                                                    : std::nullopt;
    };
    f.dueFrom = take(chk_data_dal, edt_data_dal);
    f.dueTo = take(chk_data_al, edt_data_al);
    f.payFrom = take(chk_pag_dal, edt_pag_dal);
    f.payTo = take(chk_pag_al, edt_pag_al);
    f.party = edt_filtro_cod_cli->text();
    f.description = edt_filtro_des->text();
    m_filter = f;
    lbl_filtro->setText(u"attivo"_s);
    reload(0);
}

void Tfrm_scad::btn_azzera_filtriClick() {
    m_fixedSelection.reset();
    m_filter = {};
    lbl_filtro->setText(u"non attivo"_s);
    reload(0);
}

void Tfrm_scad::btn_oggiClick() {
    for (DateEdit* e : {edt_data_dal, edt_data_al, edt_pag_dal, edt_pag_al})
        e->setDate(Clock::today());
}

void Tfrm_scad::gridTitleClick(int column) {
    const QStringList& cols = DeadlineArchive::columns();
    if (column < 0 || column >= cols.size()) return;
    m_order = cols[column];
    const qint64 keep = m_model->rowids().value(currentRow());
    if (m_fixedSelection) {
        m_fixedSelection.reset();
        lbl_filtro->setText(u"non attivo"_s);
    }
    reload(keep);
}

void Tfrm_scad::recordHint() {
    try {
        setToolTip(fmt::dateTime(Clock::now(), u"dd/mm/yyyy HH:mm") + u" scadenze: "_s +
                   QString::number(m_archive.count()));
    } catch (const StoreError&) {
    }
}

void Tfrm_scad::btn_nuovoClick() {
    try {
        m_fields->clearForNew(m_archive.nextId(), Clock::today());
    } catch (const StoreError& e) {
        Dialogs::instance().error(kTitle, e.message(), this);
        return;
    }
    setEditing(true);
}

void Tfrm_scad::btn_confermaClick() {
    const std::optional<qint64> saved = m_fields->save(m_archive, m_adding, kTitle);
    if (!saved) return;
    const qint64 keep = *saved;
    m_model->invalidate();
    reload(keep);
    recordHint();
}

void Tfrm_scad::btn_cancellaClick() {
    const Deadline* d = m_model->deadline(currentRow());
    if (!d || m_adding) return;
    const Deadline shown = *d;
    if (!Dialogs::instance().yesNo(
            MsgIcon::Question, kTitle,
            u"Confermi la cancellazione IRREVERSIBILE\r\ndella scadenza di "_s + shown.des +
                u"\r\ndel "_s + fmt::date(shown.data) + u" ?"_s,
            this))
        return;
    try {
        m_archive.remove(shown.rowid);
    } catch (const StoreError& e) {
        Dialogs::instance().error(kTitle,
                                  u"La scadenza non è stata cancellata.\r\n"_s + e.message(), this);
        return;
    }
    const int row = currentRow();
    if (m_fixedSelection) m_fixedSelection->removeAll(shown.rowid);
    m_model->invalidate();
    reload(m_model->rowids().value(row + 1));
    recordHint();
}

void Tfrm_scad::btn_stampaClick() {
    QList<Deadline> list;
    try {
        list = m_archive.loadMany(currentList());
    } catch (const StoreError& e) {
        Dialogs::instance().error(kTitle, e.message(), this);
        return;
    }
    if (list.isEmpty()) {
        Dialogs::instance().info(
            kTitle, u"Non ci sono scadenze che soddisfano il filtro di ricerca"_s, this);
        return;
    }
    showPreview(TQR_scad::render(*m_ctx.settings, list));
}

}  // namespace zel
