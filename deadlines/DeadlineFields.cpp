#include "deadlines/DeadlineFields.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

#include "core/Clock.h"
#include "registry/Tfrm_cerca.h"
#include "settings/Settings.h"
#include "store/Store.h"
#include "ui/AppContext.h"
#include "ui/DateEdit.h"
#include "ui/Dialogs.h"
#include "ui/FieldLength.h"

using namespace Qt::Literals::StringLiterals;

namespace zel {

namespace {
const QStringList kKinds{u"Rimessa diretta"_s,
                         u"Bonifico Bancario"_s,
                         u"Ricevuta Bancaria"_s,
                         u"Cambiale"_s,
                         u"Assegno"_s,
                         u"Contanti"_s,
                         u"Fattura quietanzata"_s,
                         u"Carta di credito"_s,
                         u"Carta di debito"_s,
                         u"Poste Pay"_s,
                         u"Pay Pal"_s,
                         u"Finanziamento"_s,
                         u"R.I.D."_s};
const QStringList kPaid{u"N"_s, u"S"_s, u"A"_s};
constexpr int kPartyListMax = 200;
}  // namespace

DeadlineFields::DeadlineFields(AppContext& ctx, QWidget* parent) : QWidget(parent), m_ctx(ctx) {
    auto* form = new QFormLayout(this);
    auto named = [this](auto* w, const QString& name) {
        w->setObjectName(name);
        return w;
    };
    lbl_id = named(new QLabel(this), u"lbl_id"_s);
    form->addRow(u"N."_s, lbl_id);
    edt_data = named(new DateEdit(this), u"edt_data"_s);
    form->addRow(u"Data scadenza pagamento"_s, edt_data);
    cmb_cod = named(new QComboBox(this), u"cmb_cod"_s);
    cmb_cod->setEditable(true);
    cmb_cod->addItems(kKinds);
    form->addRow(u"Tipologia"_s, cmb_cod);
    edt_des = named(new QLineEdit(this), u"edt_des"_s);
    form->addRow(u"Descrizione"_s, edt_des);
    edt_des2 = named(new QLineEdit(this), u"edt_des2"_s);
    form->addRow(u"Riferimento"_s, edt_des2);
    edt_des3 = named(new QLineEdit(this), u"edt_des3"_s);
    form->addRow(u"Riferimento 2"_s, edt_des3);
    edt_dare = named(new QLineEdit(this), u"edt_dare"_s);
    edt_dare->setToolTip(u"Inserisci qui l'importo che devi versare alla scadenza"_s);
    form->addRow(u"Dare"_s, edt_dare);
    edt_avere = named(new QLineEdit(this), u"edt_avere"_s);
    edt_avere->setToolTip(u"Inserisci qui l'importo che devi ricevere alla scadenza"_s);
    form->addRow(u"Avere"_s, edt_avere);
    for (QLineEdit* e : {edt_dare, edt_avere}) {
        e->installEventFilter(this);
        e->setStatusTip(u"Ctrl-Alt-I per scorporare l'IVA"_s);
    }
    cmb_banca = named(new QComboBox(this), u"cmb_banca"_s);
    cmb_banca->setEditable(true);
    form->addRow(u"Banca"_s, cmb_banca);
    cmb_pagato = named(new QComboBox(this), u"cmb_pagato"_s);
    cmb_pagato->addItems(kPaid);
    form->addRow(u"Pagato"_s, cmb_pagato);
    edt_datapag = named(new DateEdit(this), u"edt_datapag"_s);
    form->addRow(u"Data pagamento"_s, edt_datapag);
    edt_datapag->installEventFilter(this);
    auto* party = new QHBoxLayout;
    cmb_cod_for = named(new QComboBox(this), u"cmb_cod_for"_s);
    cmb_cod_for->setEditable(true);
    cmb_cod_for->setInsertPolicy(QComboBox::NoInsert);
    cmb_cod_for->setToolTip(u"doppio clic per cercare il cliente / fornitore"_s);
    lbl_dati_cli = named(new QLabel(this), u"lbl_dati_cli"_s);
    party->addWidget(cmb_cod_for);
    party->addWidget(lbl_dati_cli, 1);
    form->addRow(u"Cliente / Fornitore"_s, party);
    edt_fattura = named(new QLineEdit(this), u"edt_fattura"_s);
    form->addRow(u"Fattura"_s, edt_fattura);
    edt_data_fatt = named(new DateEdit(this), u"edt_data_fatt"_s);
    form->addRow(u"Data fattura"_s, edt_data_fatt);
    chk_reminder = named(new QCheckBox(u"Promemoria"_s, this), u"chk_reminder"_s);
    form->addRow(QString(), chk_reminder);

    cmb_cod_for->lineEdit()->installEventFilter(this);
    pickParty = [this]() -> QString {
        Tfrm_cerca* own = nullptr;
        Tfrm_cerca& dialog = m_ctx.windows ? m_ctx.windows->window<Tfrm_cerca>()
                                           : *(own = new Tfrm_cerca(m_ctx, this));
        dialog.choosePage(Tfrm_cerca::Page::CustomerByName);
        const bool ok = dialog.execModal() == 1;
        const QString code = ok ? dialog.foundCode() : QString();
        delete own;
        return code;
    };
    connect(cmb_cod_for, &QComboBox::textActivated, this, &DeadlineFields::cmb_cod_forSelect);
    connect(cmb_cod_for->lineEdit(), &QLineEdit::textEdited, this,
            &DeadlineFields::cmb_cod_forChange);

    // Each text gets its column's length at entry, so a save never fails on it.
    try {
        QHash<QString, int> lengths;
        for (const ColumnInfo& c :
             m_ctx.store->columns(m_ctx.settings->text(u"Path", u"Archivio scadenze")))
            lengths.insert(c.name.toLower(), c.maxLength());
        limitLengths({{u"cod"_s, cmb_cod},
                      {u"des"_s, edt_des},
                      {u"des2"_s, edt_des2},
                      {u"des3"_s, edt_des3},
                      {u"banca"_s, cmb_banca},
                      {u"cod_cli"_s, cmb_cod_for}},
                     lengths);
    } catch (const StoreError&) {
    }
}

void DeadlineFields::loadLists() {
    const QString kind = cmb_cod->currentText();
    const QString bank = cmb_banca->currentText();
    cmb_banca->clear();
    try {
        const QString banks = QDir(m_ctx.base).filePath(u"Dati/elenco_banche.db"_s);
        if (m_ctx.store->usable(banks))
            for (const QVariantList& r :
                 m_ctx.store->rows(u"SELECT testo1 FROM "_s + m_ctx.store->table(banks) +
                                   u" WHERE trim(coalesce(testo1, '')) <> '' ORDER BY testo1"_s))
                cmb_banca->addItem(r[0].toString());
    } catch (const StoreError&) {
        Dialogs::instance().beep();
    }
    cmb_cod->setCurrentText(kind);
    cmb_banca->setCurrentText(bank);
    cmb_cod_forChange(cmb_cod_for->currentText());
}

void DeadlineFields::cmb_cod_forChange(const QString& text) {
    // A prefix search over the party codes, so a large registry never fills the list whole.
    QStringList codes;
    try {
        const QString t = m_ctx.store->table(m_ctx.settings->text(u"Path", u"Archivio anagrafica"));
        // Codes are upper case: a key range reads the code index instead of the whole registry.
        const QString prefix = text.trimmed().toUpper();
        for (const QVariantList& r : m_ctx.store->rows(
                 u"SELECT cod_cli FROM "_s + t +
                     u" WHERE cod_cli >= ? AND cod_cli < ? ORDER BY cod_cli LIMIT ?"_s,
                 {prefix, prefix + QChar(0xFFFF), kPartyListMax}))
            codes << r[0].toString();
    } catch (const StoreError&) {
        Dialogs::instance().beep();
    }
    const QSignalBlocker block(cmb_cod_for);
    const int cursor = cmb_cod_for->lineEdit()->cursorPosition();
    cmb_cod_for->clear();
    cmb_cod_for->addItems(codes);
    cmb_cod_for->setEditText(text);
    cmb_cod_for->lineEdit()->setCursorPosition(cursor);
}

void DeadlineFields::cmb_cod_forSelect(const QString& code) {
    lbl_dati_cli->clear();
    if (code.trimmed().isEmpty()) return;
    try {
        const QString t = m_ctx.store->table(m_ctx.settings->text(u"Path", u"Archivio anagrafica"));
        const auto rows = m_ctx.store->rows(
            u"SELECT via, citta, tel FROM "_s + t + u" WHERE cod_cli = ? LIMIT 1"_s, {code});
        if (!rows.isEmpty())
            lbl_dati_cli->setText(rows[0][0].toString().trimmed() + u" - "_s +
                                  rows[0][1].toString().trimmed() + u" - Tel. "_s +
                                  rows[0][2].toString().trimmed());
    } catch (const StoreError&) {
        Dialogs::instance().beep();
    }
}

void DeadlineFields::setDeadline(const Deadline& d) {
    m_rowid = d.rowid;
    m_id = d.id;
    lbl_id->setText(d.id ? QString::number(d.id) : QString());
    edt_data->setDate(d.data);
    cmb_cod->setCurrentText(d.cod);
    edt_des->setText(d.des);
    edt_des2->setText(d.des2);
    edt_des3->setText(d.des3);
    edt_dare->setText(d.dare.editText());
    edt_avere->setText(d.avere.editText());
    cmb_banca->setCurrentText(d.banca);
    const int paid = cmb_pagato->findText(d.paidLetter());
    cmb_pagato->setCurrentIndex(paid < 0 ? 0 : paid);
    edt_datapag->setDate(d.datapag);
    cmb_cod_for->setEditText(d.codCli);
    cmb_cod_forSelect(d.codCli);
    edt_fattura->setText(d.fattura ? QString::number(d.fattura) : QString());
    edt_data_fatt->setDate(d.dataFatt);
    chk_reminder->setChecked(d.reminder);
}

void DeadlineFields::clearForNew(qint64 id, const QDate& today) {
    Deadline d;
    d.id = id;
    d.data = today;
    d.datapag = today;
    setDeadline(d);
}

std::optional<Deadline> DeadlineFields::deadline(const QString& title) const {
    Deadline d;
    d.rowid = m_rowid;
    d.id = m_id;
    const auto dare = Money::parse(edt_dare->text());
    const auto avere = Money::parse(edt_avere->text());
    bool okInvoice = true;
    const qint64 fattura = edt_fattura->text().trimmed().isEmpty()
                               ? 0
                               : edt_fattura->text().trimmed().toLongLong(&okInvoice);
    if (!dare || !avere || !okInvoice) {
        Dialogs::instance().warning(
            title, u"Importo o numero non valido: correggere il campo e riprovare."_s);
        return std::nullopt;
    }
    d.data = edt_data->date();
    d.cod = cmb_cod->currentText();
    d.des = edt_des->text();
    d.des2 = edt_des2->text();
    d.des3 = edt_des3->text();
    d.dare = *dare;
    d.avere = *avere;
    d.banca = cmb_banca->currentText();
    d.pagato = cmb_pagato->currentText();
    d.datapag = edt_datapag->date();
    d.codCli = cmb_cod_for->currentText().trimmed().toUpper();
    d.fattura = fattura;
    d.dataFatt = edt_data_fatt->date();
    d.reminder = chk_reminder->isChecked();
    return d;
}

bool DeadlineFields::eventFilter(QObject* o, QEvent* e) {
    // A payment date from before 1900 is a placeholder: a click puts today in its place.
    if (e->type() == QEvent::MouseButtonPress && o == edt_datapag && !edt_datapag->isEmpty() &&
        edt_datapag->date() < QDate(1900, 1, 1))
        edt_datapag->setDate(Clock::today());
    if (e->type() == QEvent::MouseButtonDblClick && o == cmb_cod_for->lineEdit() && pickParty) {
        const QString code = pickParty();
        if (!code.isEmpty()) {
            cmb_cod_for->setEditText(code);
            cmb_cod_forSelect(code);
        }
        return true;
    }
    if (e->type() == QEvent::KeyPress && (o == edt_dare || o == edt_avere)) {
        auto* k = static_cast<QKeyEvent*>(e);
        if (k->key() == Qt::Key_I && (k->modifiers() & Qt::ControlModifier) &&
            (k->modifiers() & Qt::AltModifier)) {
            auto* edit = static_cast<QLineEdit*>(o);
            const auto amount = Money::parse(edit->text());
            const double rate = m_ctx.settings->number(u"Magazzino", u"Perc IVA predefinita");
            if (amount && rate > -100.0) {
                // The taxable part of a gross amount, to the cent.
                edit->setText(
                    Money::fromDouble(amount->toDouble() * 100.0 / (100.0 + rate)).editText());
            } else {
                Dialogs::instance().beep();
            }
            return true;
        }
    }
    return QWidget::eventFilter(o, e);
}

std::optional<qint64> DeadlineFields::save(DeadlineArchive& archive, bool adding, const QString& title) {
    std::optional<Deadline> d = deadline(title);
    if (!d) return std::nullopt;
    if (!adding && d->rowid == 0) return std::nullopt;
    try {
        if (adding) return archive.insert(*d);
        if (!archive.update(*d)) {
            Dialogs::instance().warning(
                title, QStringLiteral("La scadenza non esiste più: nessuna modifica è stata salvata."), this);
            return std::nullopt;
        }
    } catch (const StoreError& e) {
        Dialogs::instance().error(title, QStringLiteral("La scadenza non è stata salvata.\r\n") + e.message(), this);
        return std::nullopt;
    }
    return d->rowid;
}

}  // namespace zel
