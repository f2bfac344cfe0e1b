#include "deadlines/Tfrm_scadenza.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/Clock.h"
#include "deadlines/DeadlineFields.h"
#include "settings/Settings.h"
#include "store/Store.h"
#include "ui/DateEdit.h"
#include "ui/Dialogs.h"
#include "ui/Formats.h"

using namespace Qt::Literals::StringLiterals;

namespace zel {

namespace {
const QString kTitle = u"Scheda scadenza"_s;
}

Tfrm_scadenza::Tfrm_scadenza(AppContext& ctx, QWidget* parent)
    : QDialog(parent),
      m_ctx(ctx),
      m_archive(DeadlineArchive::fromSettings(*ctx.store, *ctx.settings)) {
    setObjectName(u"Tfrm_scadenza"_s);
    setWindowTitle(kTitle);
    buildUi();
}

void Tfrm_scadenza::buildUi() {
    auto* top = new QVBoxLayout(this);
    auto button = [this](const QString& name, const QString& text, void (Tfrm_scadenza::*slot)()) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        connect(b, &QPushButton::clicked, this, slot);
        return b;
    };
    auto* nav = new QHBoxLayout;
    btn_inizio = button(u"btn_inizio"_s, u"Inizio"_s, &Tfrm_scadenza::btn_inizioClick);
    btn_indietro = button(u"btn_indietro"_s, u"Indietro"_s, &Tfrm_scadenza::btn_indietroClick);
    btn_avanti = button(u"btn_avanti"_s, u"Avanti"_s, &Tfrm_scadenza::btn_avantiClick);
    btn_fine = button(u"btn_fine"_s, u"Fine"_s, &Tfrm_scadenza::btn_fineClick);
    for (QPushButton* b : {btn_inizio, btn_indietro, btn_avanti, btn_fine}) nav->addWidget(b);
    edt_cerca_data = new DateEdit(this);
    edt_cerca_data->setObjectName(u"edt_cerca_data"_s);
    nav->addWidget(edt_cerca_data);
    nav->addWidget(button(u"btn_cerca"_s, u"Cerca"_s, &Tfrm_scadenza::btn_cercaClick));
    nav->addWidget(button(u"btn_reset"_s, u"Reset"_s, &Tfrm_scadenza::btn_resetClick));
    top->addLayout(nav);

    m_fields = new DeadlineFields(m_ctx, this);
    top->addWidget(m_fields);
    connect(m_fields->edt_datapag, &DateEdit::dateChanged, this, [this] { refreshDays(); });
    connect(m_fields->edt_data, &DateEdit::dateChanged, this, [this] { refreshDays(); });

    auto* state = new QHBoxLayout;
    lbl_pagato = new QLabel(this);
    lbl_pagato->setObjectName(u"lbl_pagato"_s);
    lbl_giorni = new QLabel(this);
    lbl_giorni->setObjectName(u"lbl_giorni"_s);
    state->addWidget(lbl_pagato);
    state->addWidget(new QLabel(u"Giorni alla scadenza"_s, this));
    state->addWidget(lbl_giorni, 1);
    top->addLayout(state);

    auto* actions = new QHBoxLayout;
    auto* add = button(u"btn_nuovo"_s, u"Nuovo"_s, &Tfrm_scadenza::btn_nuovoClick);
    add->setToolTip(u"Aggiungi nuovo articolo"_s);
    auto* confirm = button(u"btn_conferma"_s, u"Conferma"_s, &Tfrm_scadenza::btn_confermaClick);
    confirm->setToolTip(u"Conferma inserimento o modifica"_s);
    auto* paid = button(u"btn_pagato"_s, u"Pagato!"_s, &Tfrm_scadenza::btn_pagatoClick);
    btn_cancella = button(u"btn_cancella"_s, u"Cancella"_s, &Tfrm_scadenza::btn_cancellaClick);
    btn_cancella->setToolTip(u"Cancella articolo selezionato"_s);
    for (QPushButton* b : {add, confirm, paid, btn_cancella}) actions->addWidget(b);
    top->addLayout(actions);

    auto* rep = new QGroupBox(this);
    auto* repLayout = new QHBoxLayout(rep);
    chk_ripetizione = new QCheckBox(u"Crea Ripetizione della scadenza"_s, rep);
    chk_ripetizione->setObjectName(u"chk_ripetizione"_s);
    rb_mese = new QRadioButton(u"Ogni mese"_s, rep);
    rb_mese->setObjectName(u"rb_mese"_s);
    rb_mese->setChecked(true);
    rb_anno = new QRadioButton(u"Una volta all'anno"_s, rep);
    rb_anno->setObjectName(u"rb_anno"_s);
    edt_dal = new DateEdit(rep);
    edt_dal->setObjectName(u"edt_dal"_s);
    edt_al = new DateEdit(rep);
    edt_al->setObjectName(u"edt_al"_s);
    chk_fine_mese = new QCheckBox(u"Fine mese"_s, rep);
    chk_fine_mese->setObjectName(u"chk_fine_mese"_s);
    btn_genera = button(u"btn_genera"_s, u"Genera scadenze"_s, &Tfrm_scadenza::btn_generaClick);
    btn_genera->setEnabled(false);
    repLayout->addWidget(chk_ripetizione);
    repLayout->addWidget(rb_mese);
    repLayout->addWidget(rb_anno);
    repLayout->addWidget(new QLabel(u"Dal"_s, rep));
    repLayout->addWidget(edt_dal);
    repLayout->addWidget(new QLabel(u"al"_s, rep));
    repLayout->addWidget(edt_al);
    repLayout->addWidget(chk_fine_mese);
    repLayout->addWidget(btn_genera);
    top->addWidget(rep);
    connect(chk_ripetizione, &QCheckBox::toggled, btn_genera, &QPushButton::setEnabled);
}

void Tfrm_scadenza::showList(const QList<qint64>& rowids, int index) {
    m_list = rowids;
    m_fields->loadLists();
    setAdding(false);
    showAt(index);
}

void Tfrm_scadenza::FormShow() {
    m_fields->loadLists();
    reloadByDate(0);
    showAt(static_cast<int>(m_list.size()) - 1);
}

void Tfrm_scadenza::openNew() {
    m_fields->loadLists();
    reloadByDate(0);
    btn_nuovoClick();
}

void Tfrm_scadenza::showAt(int index) {
    m_shown = Deadline{};
    m_index = -1;
    if (index >= 0 && index < m_list.size()) {
        try {
            if (const auto d = m_archive.load(m_list[index])) m_shown = *d;
            m_index = index;
        } catch (const StoreError& e) {
            Dialogs::instance().error(kTitle, e.message(), this);
        }
    }
    if (m_index < 0) m_shown.pagato.clear();
    m_fields->setDeadline(m_shown);
    lbl_pagato->setText(m_shown.paidLabel());
    btn_cancella->setEnabled(m_index >= 0);
    refreshDays();
}

void Tfrm_scadenza::refreshDays() {
    Deadline d;
    d.data = m_fields->edt_data->date();
    d.datapag = m_fields->edt_datapag->date();
    lbl_giorni->setText(d.data.isValid() || d.datapag.isValid()
                            ? QString::number(d.daysToDeadline(Clock::today()))
                            : QString());
}

void Tfrm_scadenza::setAdding(bool on) {
    m_adding = on;
    for (QPushButton* b : {btn_inizio, btn_indietro, btn_avanti, btn_fine, btn_cancella})
        b->setEnabled(!on);
}

void Tfrm_scadenza::reloadByDate(qint64 keepRowid) {
    try {
        m_list = [&] {
            QList<qint64> all;
            m_ctx.store->forEachRow(u"SELECT rowid FROM "_s + m_ctx.store->table(m_archive.path()) +
                                        u" ORDER BY data, rowid"_s,
                                    {}, [&all](const StoreRow& r) { all.append(r.integer(0)); });
            return all;
        }();
    } catch (const StoreError& e) {
        m_list.clear();
        Dialogs::instance().error(kTitle, e.message(), this);
    }
    m_index = keepRowid ? static_cast<int>(m_list.indexOf(keepRowid)) : -1;
}

void Tfrm_scadenza::btn_inizioClick() { showAt(0); }
void Tfrm_scadenza::btn_indietroClick() { showAt(std::max(0, m_index - 1)); }
void Tfrm_scadenza::btn_avantiClick() {
    showAt(std::min(static_cast<int>(m_list.size()) - 1, m_index + 1));
}
void Tfrm_scadenza::btn_fineClick() { showAt(static_cast<int>(m_list.size()) - 1); }

void Tfrm_scadenza::btn_nuovoClick() {
    try {
        m_fields->clearForNew(m_archive.nextId(), Clock::today());
    } catch (const StoreError& e) {
        Dialogs::instance().error(kTitle, e.message(), this);
        return;
    }
    lbl_pagato->setText(u"Non pagato"_s);
    setAdding(true);
    refreshDays();
}

void Tfrm_scadenza::btn_confermaClick() {
    const std::optional<qint64> saved = m_fields->save(m_archive, m_adding, kTitle);
    if (!saved) return;
    const qint64 keep = *saved;
    setAdding(false);
    reloadByDate(keep);
    showAt(m_index);
}

void Tfrm_scadenza::btn_pagatoClick() {
    if (m_adding || m_index < 0) return;
    m_fields->cmb_pagato->setCurrentText(u"S"_s);
    btn_confermaClick();
}

void Tfrm_scadenza::btn_cancellaClick() {
    if (m_adding || m_index < 0) return;
    const Deadline d = m_shown;
    if (!Dialogs::instance().yesNo(
            MsgIcon::Question, kTitle,
            u"Confermi la cancellazione IRREVERSIBILE\r\ndella scadenza n. "_s +
                QString::number(d.id) + u"\r\ndel "_s + fmt::date(d.data) + u" ?"_s,
            this))
        return;
    try {
        m_archive.remove(d.rowid);
    } catch (const StoreError& e) {
        Dialogs::instance().error(kTitle,
                                  u"La scadenza non è stata cancellata.\r\n"_s + e.message(), this);
        return;
    }
    const int at = m_index;
    reloadByDate(0);
    showAt(std::min(at, static_cast<int>(m_list.size()) - 1));
    recordHint();
}

void Tfrm_scadenza::recordHint() {
    try {
        setToolTip(fmt::dateTime(Clock::now(), u"dd/mm/yyyy HH:mm") + u" scadenze: "_s +
                   QString::number(m_archive.count()));
    } catch (const StoreError&) {
    }
}

void Tfrm_scadenza::btn_cercaClick() {
    if (edt_cerca_data->isEmpty()) return;
    try {
        QList<qint64> found;
        m_ctx.store->forEachRow(u"SELECT rowid FROM "_s + m_ctx.store->table(m_archive.path()) +
                                    u" WHERE data = ? ORDER BY rowid"_s,
                                {edt_cerca_data->date().toString(Qt::ISODate)},
                                [&found](const StoreRow& r) { found.append(r.integer(0)); });
        m_list = found;
    } catch (const StoreError& e) {
        Dialogs::instance().error(kTitle, e.message(), this);
        return;
    }
    setAdding(false);
    showAt(0);
}

void Tfrm_scadenza::btn_resetClick() {
    setAdding(false);
    reloadByDate(0);
    showAt(0);
}

void Tfrm_scadenza::btn_generaClick() {
    std::optional<Deadline> d = m_fields->deadline(kTitle);
    if (!d) return;
    Repetition r;
    r.yearly = rb_anno->isChecked();
    r.endOfMonth = chk_fine_mese->isChecked();
    r.from = edt_dal->date();
    r.to = edt_al->date();
    if (DeadlineArchive::repetitionDates(r).isEmpty()) {
        Dialogs::instance().warning(
            kTitle, u"Nessuna scadenza da generare tra le due date indicate."_s, this);
        return;
    }
    int made = 0;
    try {
        made = m_archive.repeat(*d, r);
    } catch (const StoreError& e) {
        Dialogs::instance().error(kTitle, u"Nessuna scadenza è stata generata.\r\n"_s + e.message(),
                                  this);
        return;
    }
    reloadByDate(m_shown.rowid);
    Dialogs::instance().info(
        kTitle, u"Sono state generate "_s + QString::number(made) + u" scadenze."_s, this);
    recordHint();
}

}  // namespace zel
