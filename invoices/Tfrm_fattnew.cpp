#include "invoices/Tfrm_fattnew.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <memory>

#include "core/Clock.h"
#include "core/Paths.h"
#include "documents/DueDates.h"
#include "invoices/Tscorre_fatt.h"
#include "registry/Tfrm_cerca.h"
#include "settings/Settings.h"
#include "store/Store.h"
#include "ui/DateEdit.h"
#include "ui/Dialogs.h"
#include "ui/UsageCounters.h"

namespace zel {

namespace {

QPushButton* button(QWidget* parent, const char* name, const QString& text) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

QLineEdit* edit(QWidget* parent, const QString& name, bool readOnly = false) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setReadOnly(readOnly);
    return e;
}

QString dmy(const QDate& d) { return d.toString(QStringLiteral("dd/MM/yyyy")); }

}  // namespace

QStringList Tfrm_fattnew::kinds() {
    return {QStringLiteral("Fattura"),
            QStringLiteral("Fattura accompagnatoria"),
            QStringLiteral("Fattura differita"),
            QStringLiteral("Fattura quietanzata"),
            QStringLiteral("Fattura riepilogativa"),
            QStringLiteral("Nota di accredito"),
            QStringLiteral("Nota di addebito")};
}

Tfrm_fattnew::Tfrm_fattnew(AppContext& ctx, QWidget* parent) : QDialog(parent), m_ctx(ctx) {
    setObjectName(QStringLiteral("Tfrm_fattnew"));
    setWindowTitle(QStringLiteral("Nuova Fattura da DDT"));
    buildUi();
}

void Tfrm_fattnew::buildUi() {
    auto* root = new QVBoxLayout(this);
    const char* titles[5] = {"1. Destinatario", "2. Periodo, numero e data", "3. DDT e movimenti",
                             "4. Totali, pagamento e scadenze", "5. Stampa"};
    for (int i = 0; i < 5; ++i) {
        m_box[i] = new QGroupBox(QString::fromUtf8(titles[i]), this);
        m_box[i]->setObjectName(QStringLiteral("grp_passo%1").arg(i + 1));
        root->addWidget(m_box[i]);
    }

    auto* g1 = new QHBoxLayout(m_box[0]);
    edt_cod_cli = edit(this, QStringLiteral("edt_cod_cli"));
    edt_cod_cli->setMaxLength(20);
    edt_nome = edit(this, QStringLiteral("edt_nome"), true);
    btn_cerca_cli = button(this, "btn_cerca_cli", QStringLiteral("Cerca"));
    btn_avanti_cli = button(this, "btn_avanti_cli", QStringLiteral("Avanti"));
    g1->addWidget(new QLabel(QStringLiteral("Codice cliente"), this));
    g1->addWidget(edt_cod_cli);
    g1->addWidget(btn_cerca_cli);
    g1->addWidget(edt_nome, 1);
    g1->addWidget(btn_avanti_cli);

    auto* g2 = new QGridLayout(m_box[1]);
    edt_dal = new DateEdit(this);
    edt_dal->setObjectName(QStringLiteral("edt_dal"));
    edt_al = new DateEdit(this);
    edt_al->setObjectName(QStringLiteral("edt_al"));
    btn_mese_scorso = button(this, "btn_mese_scorso", QStringLiteral("mese scorso"));
    btn_fine_mese = button(this, "btn_fine_mese", QStringLiteral("fine mese"));
    edt_num_fatt = edit(this, QStringLiteral("edt_num_fatt"));
    edt_data_fatt = new DateEdit(this);
    edt_data_fatt->setObjectName(QStringLiteral("edt_data_fatt"));
    cmb_tipodoc = new QComboBox(this);
    cmb_tipodoc->setObjectName(QStringLiteral("cmb_tipodoc"));
    cmb_tipodoc->addItems(kinds());
    cmb_contrass = new QComboBox(this);
    cmb_contrass->setObjectName(QStringLiteral("cmb_contrass"));
    cmb_contrass->setEditable(true);
    btn_avanti = button(this, "btn_avanti", QStringLiteral("Avanti"));
    g2->addWidget(new QLabel(QStringLiteral("Dal"), this), 0, 0);
    g2->addWidget(edt_dal, 0, 1);
    g2->addWidget(new QLabel(QStringLiteral("al"), this), 0, 2);
    g2->addWidget(edt_al, 0, 3);
    g2->addWidget(btn_mese_scorso, 0, 4);
    g2->addWidget(btn_fine_mese, 0, 5);
    g2->addWidget(new QLabel(QStringLiteral("Fattura n."), this), 1, 0);
    g2->addWidget(edt_num_fatt, 1, 1);
    g2->addWidget(new QLabel(QStringLiteral("Data"), this), 1, 2);
    g2->addWidget(edt_data_fatt, 1, 3);
    g2->addWidget(cmb_tipodoc, 1, 4);
    g2->addWidget(new QLabel(QStringLiteral("Contrassegno"), this), 2, 0);
    g2->addWidget(cmb_contrass, 2, 1);
    g2->addWidget(btn_avanti, 2, 5);

    auto* g3 = new QVBoxLayout(m_box[2]);
    grid_ddt = new QTableWidget(0, 4, this);
    grid_ddt->setObjectName(QStringLiteral("grid_ddt"));
    grid_ddt->setHorizontalHeaderLabels({QStringLiteral("DDT"), QStringLiteral("Data"),
                                         QStringLiteral("Contr."), QStringLiteral("Importo")});
    grid_righe = new QTableWidget(0, 7, this);
    grid_righe->setObjectName(QStringLiteral("grid_righe"));
    grid_righe->setHorizontalHeaderLabels({QStringLiteral("DDT"), QStringLiteral("Codice"),
                                           QStringLiteral("Descrizione"), QStringLiteral("U.M."),
                                           QStringLiteral("Quant."), QStringLiteral("Pz. netto"),
                                           QStringLiteral("IVA")});
    for (QTableWidget* t : {grid_ddt, grid_righe})
        t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    btn_conferma = button(this, "btn_conferma", QStringLiteral("Conferma, registra\r\ne prosegui"));
    g3->addWidget(grid_ddt);
    g3->addWidget(grid_righe);
    g3->addWidget(btn_conferma);

    auto* g4 = new QGridLayout(m_box[3]);
    edt_tot = edit(this, QStringLiteral("edt_tot"), true);
    ed_spese_imp = edit(this, QStringLiteral("ed_spese_imp"));
    ed_spese_esiva = edit(this, QStringLiteral("ed_spese_esiva"));
    ed_lavoraz = edit(this, QStringLiteral("ed_lavoraz"));
    ed_sconto = edit(this, QStringLiteral("ed_sconto"));
    edt_art_esenzione = edit(this, QStringLiteral("edt_art_esenzione"));
    edt_art_esenzione->setMaxLength(30);
    imp_netto = edit(this, QStringLiteral("imp_netto"), true);
    edt_iva_tot = edit(this, QStringLiteral("edt_iva_tot"), true);
    tot_fatt = edit(this, QStringLiteral("tot_fatt"), true);
    int row = 0;
    auto addPair = [&](const QString& label, QWidget* w, int col) {
        g4->addWidget(new QLabel(label, this), row, col);
        g4->addWidget(w, row, col + 1);
    };
    addPair(QStringLiteral("Imponibile"), edt_tot, 0);
    addPair(QStringLiteral("Spese imponibili"), ed_spese_imp, 2);
    addPair(QStringLiteral("Spese es. IVA"), ed_spese_esiva, 4);
    ++row;
    addPair(QStringLiteral("Spese lavoraz."), ed_lavoraz, 0);
    addPair(QStringLiteral("Sconto fin. %"), ed_sconto, 2);
    addPair(QStringLiteral("Articolo esenzione"), edt_art_esenzione, 4);
    ++row;
    addPair(QStringLiteral("Imponibile netto"), imp_netto, 0);
    for (int i = 0; i < 3; ++i) {
        edt_iva[i] = edit(this, QStringLiteral("edt_iva%1").arg(i + 1), true);
        lbl_iva[i] = new QLabel(this);
        g4->addWidget(lbl_iva[i], row + 1, 2 * i);
        g4->addWidget(edt_iva[i], row + 1, 2 * i + 1);
    }
    addPair(QStringLiteral("Totale IVA"), edt_iva_tot, 2);
    addPair(QStringLiteral("Totale documento"), tot_fatt, 4);
    row += 2;
    cmb_tipo_pagam = new QComboBox(this);
    cmb_tipo_pagam->setObjectName(QStringLiteral("cmb_tipo_pagam"));
    cmb_tipo_pagam->setEditable(true);
    cmb_tipo_pagam->addItems(
        {QStringLiteral("Rimessa diretta"), QStringLiteral("Bonifico Bancario"),
         QStringLiteral("Ricevuta Bancaria"), QStringLiteral("Cambiale"), QStringLiteral("Assegno"),
         QStringLiteral("Contanti"), QStringLiteral("Fattura quietanzata")});
    cmb_scadenza = new QComboBox(this);
    cmb_scadenza->setObjectName(QStringLiteral("cmb_scadenza"));
    cmb_scadenza->addItems(DueDates::terms());
    addPair(QStringLiteral("Modalità di pagamento"), cmb_tipo_pagam, 0);
    addPair(QStringLiteral("Scadenza"), cmb_scadenza, 2);
    auto* shifts = new QHBoxLayout;
    for (int i = 0; i < 4; ++i) {
        const int days = DueDates::shifts()[i];
        rb_shift[i] = new QRadioButton(QStringLiteral("+%1").arg(days), this);
        rb_shift[i]->setObjectName(QStringLiteral("rb_piu%1").arg(days));
        shifts->addWidget(rb_shift[i]);
    }
    rb_shift[0]->setChecked(true);
    g4->addLayout(shifts, row, 4, 1, 2);
    ++row;
    for (int i = 0; i < 4; ++i) {
        edt_scad[i] = new DateEdit(this);
        edt_scad[i]->setObjectName(QStringLiteral("edt_scad%1").arg(i + 1));
        edt_imp_scad[i] = edit(this, QStringLiteral("edt_imp_scad%1").arg(i + 1));
        chk_scad[i] = new QCheckBox(this);
        chk_scad[i]->setObjectName(QStringLiteral("chk_scad%1").arg(i + 1));
        chk_scad[i]->setToolTip(
            QStringLiteral("Selezionare questa casella per stampare la data di scadenza"));
        g4->addWidget(chk_scad[i], row + i, 0);
        g4->addWidget(edt_scad[i], row + i, 1);
        g4->addWidget(edt_imp_scad[i], row + i, 2);
    }
    chk_pagato = new QCheckBox(QStringLiteral("Pagato"), this);
    chk_pagato->setObjectName(QStringLiteral("chk_pagato"));
    edt_banca = edit(this, QStringLiteral("edt_banca"));
    edt_banca->setMaxLength(60);
    g4->addWidget(chk_pagato, row, 3);
    g4->addWidget(new QLabel(QStringLiteral("Banca di appoggio"), this), row + 1, 3);
    g4->addWidget(edt_banca, row + 1, 4, 1, 2);
    for (int i = 0; i < 3; ++i) {
        edt_note[i] = edit(this, QStringLiteral("edt_note%1").arg(i + 1));
        edt_note[i]->setMaxLength(80);
        g4->addWidget(edt_note[i], row + 4 + i, 0, 1, 4);
    }
    btn_attiva = button(this, "btn_attiva", QStringLiteral("Attiva e \r\nconferma \r\ni dati"));
    btn_scadenzario =
        button(this, "btn_scadenzario", QStringLiteral("Inserisci in \r\nscadenzario"));
    g4->addWidget(btn_attiva, row + 2, 4);
    g4->addWidget(btn_scadenzario, row + 2, 5);

    auto* g5 = new QHBoxLayout(m_box[4]);
    btn_stampa = button(this, "btn_stampa", QStringLiteral("Stampa"));
    btn_nuova = button(this, "btn_nuova", QStringLiteral("Nuova\r\nfattura"));
    btn_annulla = button(this, "btn_annulla", QStringLiteral("Annulla"));
    g5->addWidget(btn_stampa);
    g5->addWidget(btn_nuova);
    g5->addWidget(btn_annulla);

    connect(btn_cerca_cli, &QPushButton::clicked, this, &Tfrm_fattnew::btn_cerca_cliClick);
    connect(btn_avanti_cli, &QPushButton::clicked, this, &Tfrm_fattnew::btn_avanti_cliClick);
    connect(btn_mese_scorso, &QPushButton::clicked, this, &Tfrm_fattnew::btn_mese_scorsoClick);
    connect(btn_fine_mese, &QPushButton::clicked, this, &Tfrm_fattnew::btn_fine_meseClick);
    connect(btn_avanti, &QPushButton::clicked, this, &Tfrm_fattnew::btn_avantiClick);
    connect(btn_conferma, &QPushButton::clicked, this, &Tfrm_fattnew::btn_confermaClick);
    connect(btn_attiva, &QPushButton::clicked, this, &Tfrm_fattnew::btn_attivaClick);
    connect(btn_scadenzario, &QPushButton::clicked, this, &Tfrm_fattnew::btn_scadenzarioClick);
    connect(btn_stampa, &QPushButton::clicked, this, &Tfrm_fattnew::btn_stampaClick);
    connect(btn_nuova, &QPushButton::clicked, this, &Tfrm_fattnew::btn_nuovaClick);
    connect(btn_annulla, &QPushButton::clicked, this, &Tfrm_fattnew::btn_annullaClick);
    for (QLineEdit* e : {ed_spese_imp, ed_spese_esiva, ed_lavoraz, ed_sconto, edt_art_esenzione})
        connect(e, &QLineEdit::textChanged, this, [this] { recalc(); });
    connect(cmb_scadenza, &QComboBox::currentIndexChanged, this, [this] { recalcDueDates(); });
    for (QRadioButton* r : rb_shift)
        connect(r, &QRadioButton::toggled, this, [this](bool on) {
            if (on) recalcDueDates();
        });
}

void Tfrm_fattnew::FormShow() {
    const Settings& s = *m_ctx.settings;
    const QString kind = s.text(u"Fatturazione", u"Tipo predefinito").trimmed();
    cmb_tipodoc->setCurrentIndex(std::max(0, static_cast<int>(kinds().indexOf(kind))));
    cmb_contrass->clear();
    cmb_contrass->addItems({QStringLiteral("*"), QStringLiteral("S"), QStringLiteral("N")});
    cmb_contrass->setEditText(s.text(u"Fatturazione", u"Contrassegno predefinito"));
    cmb_scadenza->setCurrentText(QStringLiteral("30 GG F.M."));
    // The footer texts of the setup's "Note fattura".
    const QString notes = dataFile(m_ctx.base, QStringLiteral("note_fattura.db"));
    try {
        if (m_ctx.store->usable(notes)) {
            const auto rows =
                m_ctx.store->rows(QStringLiteral("SELECT COALESCE(testo1, ''), COALESCE(testo2, "
                                                 "''), COALESCE(testo3, '') FROM %1 "
                                                 "ORDER BY rowid LIMIT 1")
                                      .arg(m_ctx.store->table(notes)));
            for (int i = 0; i < 3; ++i) edt_note[i]->setText(rows.value(0).value(i).toString());
        }
    } catch (const StoreError&) {
        // Without the notes archive the texts stay empty; the user may type them.
    }
    btn_nuovaClick();
}

void Tfrm_fattnew::setStep(int step) {
    m_step = step;
    for (int i = 0; i < 5; ++i) m_box[i]->setEnabled(i + 1 == step || (step >= 4 && i >= 3));
    m_box[1]->setEnabled(step == 2 || step == 3);
    m_box[2]->setEnabled(step == 2 || step == 3);
    btn_conferma->setEnabled(step == 3);
    // "Nuova fattura" and "Annulla" start over from any step; printing needs the invoice.
    m_box[4]->setEnabled(true);
    btn_stampa->setEnabled(step >= 4);
}

InvoiceRegistration Tfrm_fattnew::registration() const {
    const QDate from = edt_dal->date().isValid() ? edt_dal->date() : Clock::today();
    return InvoiceRegistration(*m_ctx.store, *m_ctx.settings,
                               InvoiceArchives::fromSettings(*m_ctx.settings, from.year()));
}

void Tfrm_fattnew::btn_cerca_cliClick() {
    if (!m_ctx.windows) return;
    Tfrm_cerca& d = m_ctx.windows->window<Tfrm_cerca>();
    d.choosePage(Tfrm_cerca::Page::CustomerByName);
    if (d.execModal() != 1) return;
    edt_cod_cli->setText(d.foundCode());
    edt_nome->setText(d.foundName());
}

void Tfrm_fattnew::btn_avanti_cliClick() {
    if (edt_cod_cli->text().trimmed().isEmpty() &&
        !Dialogs::instance().yesNo(
            MsgIcon::Question, title(),
            QStringLiteral("Confermi il codice cliente vuoto? Se scegli Si (Yes)\r\n"
                           "si possono verificare anomalie nel funzionamento del programma"),
            this))
        return;
    try {
        const InvoiceRegistration r = registration();
        m_customer = edt_cod_cli->text().trimmed();
        edt_nome->setText(r.customerName(m_customer));
        const qint64 last = r.lastNumber();
        edt_num_fatt->setText(QString::number(last + 1));
        if (edt_data_fatt->isEmpty()) edt_data_fatt->setDate(Clock::today());
        setStep(2);
        Dialogs::instance().info(title(), InvoiceRegistration::lastNumberMessage(last), this);
    } catch (const StoreError& e) {
        Dialogs::instance().error(title(), e.message(), this);
    }
}

void Tfrm_fattnew::btn_mese_scorsoClick() {
    const QDate first = QDate(Clock::today().year(), Clock::today().month(), 1).addMonths(-1);
    edt_dal->setDate(first);
    edt_al->setDate(DueDates::endOfMonth(first));
}

void Tfrm_fattnew::btn_fine_meseClick() {
    const QDate today = Clock::today();
    edt_dal->setDate(QDate(today.year(), today.month(), 1));
    edt_al->setDate(DueDates::endOfMonth(today));
}

void Tfrm_fattnew::btn_avantiClick() {
    if (edt_dal->isEmpty() || edt_al->isEmpty() || edt_al->date() < edt_dal->date()) {
        Dialogs::instance().warning(
            title(), QStringLiteral("Indicare un periodo valido (dal ... al ...)."), this);
        return;
    }
    try {
        const InvoiceRegistration r = registration();
        m_ddts = r.ddtsOf(m_customer, edt_dal->date(), edt_al->date());
        const QList<InvoiceLine> lines = r.candidateLines(
            m_customer, edt_dal->date(), edt_al->date(), cmb_contrass->currentText());
        grid_ddt->setRowCount(static_cast<int>(m_ddts.size()));
        for (int i = 0; i < m_ddts.size(); ++i) {
            auto* num = new QTableWidgetItem(QString::number(m_ddts[i].bolla));
            num->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            num->setCheckState(Qt::Checked);
            grid_ddt->setItem(i, 0, num);
            grid_ddt->setItem(i, 1, new QTableWidgetItem(dmy(m_ddts[i].data)));
            grid_ddt->setItem(i, 2, new QTableWidgetItem(m_ddts[i].flag));
            grid_ddt->setItem(i, 3, new QTableWidgetItem(m_ddts[i].amount.format()));
        }
        grid_righe->setRowCount(static_cast<int>(lines.size()));
        for (int i = 0; i < lines.size(); ++i) {
            const InvoiceLine& l = lines[i];
            const QStringList cells{QString::number(l.bolla),
                                    l.cod,
                                    l.des,
                                    l.unitamis,
                                    QString::number(l.quant),
                                    QString::number(l.prezzonett),
                                    QString::number(l.percIva)};
            for (int c = 0; c < cells.size(); ++c)
                grid_righe->setItem(i, c, new QTableWidgetItem(cells[c]));
        }
        if (m_ddts.isEmpty()) {
            Dialogs::instance().warning(
                title(),
                QStringLiteral("Nessun DDT da fatturare per questo cliente nel periodo indicato."),
                this);
            return;
        }
        setStep(3);
        Dialogs::instance().info(
            title(),
            QStringLiteral(
                "Controllare le voci dei movimenti prelevati dai DDT Confermare e registrare con "
                "\"Conferma.registra e...\".\n\rPer cancellare la fattura dopo qs punto andare in "
                "scorre fatture"),
            this);
    } catch (const StoreError& e) {
        Dialogs::instance().error(title(), e.message(), this);
    }
}

QList<InvoiceDdt> Tfrm_fattnew::checkedDdts() const {
    QList<InvoiceDdt> out;
    for (int i = 0; i < m_ddts.size(); ++i)
        if (grid_ddt->item(i, 0) && grid_ddt->item(i, 0)->checkState() == Qt::Checked)
            out.append(m_ddts[i]);
    return out;
}

void Tfrm_fattnew::btn_confermaClick() {
    Dialogs& dlg = Dialogs::instance();
    bool ok = false;
    const qint64 number = edt_num_fatt->text().trimmed().toLongLong(&ok);
    if (!ok || number <= 0) {
        dlg.warning(title(), QStringLiteral("Numero fattura non valido."), this);
        return;
    }
    const QDate date = edt_data_fatt->date();
    if (!date.isValid()) {
        dlg.warning(title(), QStringLiteral("Indicare la data della fattura."), this);
        return;
    }
    try {
        InvoiceRegistration r = registration();
        if (r.numberTaken(number)) {
            dlg.error(title(), InvoiceRegistration::takenMessage(), this);
            return;
        }
        InvoicePlan plan = r.plan(m_customer, checkedDdts());
        for (const InvoiceDdt& d : plan.skipped)
            dlg.warning(
                title(),
                QStringLiteral("Non ci sono movimenti coerenti per questa bolla %1").arg(d.bolla),
                this);
        if (!plan.refusals.isEmpty()) {
            dlg.error(
                title(),
                plan.refusals.join(u'\n') + QStringLiteral("\nLa fattura non è stata registrata."),
                this);
            return;
        }
        if (plan.empty()) {
            dlg.warning(
                title(),
                QStringLiteral(
                    "Nessun DDT con movimenti da fatturare: la fattura non è stata registrata."),
                this);
            return;
        }
        if (!plan.earlierInvoices.isEmpty())
            dlg.warning(title(), plan.earlierInvoices.join(u'\n'), this);
        const bool copied = m_ctx.store->backupOnce(r.archives().header) |
                            m_ctx.store->backupOnce(r.archives().lines);
        if (copied)
            dlg.info(QStringLiteral("Zelvarin: Fatture"),
                     QStringLiteral("Eseguito backup degli archivi."), this);
        r.registerLines(plan, number, date, cmb_tipodoc->currentText());
        m_registered = number;
        m_date = date;
        m_plan = plan;
        m_customer = plan.customer;
        setStep(4);
        recalc();
    } catch (const StoreError& e) {
        dlg.error(title(), QStringLiteral("La fattura non è stata registrata.\n") + e.message(),
                  this);
    }
}

Money Tfrm_fattnew::amountOf(QLineEdit* e) const {
    return Money::parse(e->text()).value_or(Money());
}

void Tfrm_fattnew::recalc() {
    if (!m_plan) return;
    DocumentTotals t = m_plan->totals;
    t.setTaxableExpenses(amountOf(ed_spese_imp));
    t.setExemptExpenses(amountOf(ed_spese_esiva));
    t.setGeneralProcessing(amountOf(ed_lavoraz));
    t.setDiscountPercent(static_cast<double>(decimal::parse(ed_sconto->text(), 2).value_or(0)) /
                         100.0);
    t.setExemption(edt_art_esenzione->text());
    m_totals = t;
    showTotals();
    recalcDueDates();
}

void Tfrm_fattnew::showTotals() {
    const DocumentTotals& t = *m_totals;
    edt_tot->setText(t.taxableBeforeExpenses().format());
    imp_netto->setText(t.netTaxable().format());
    const auto rates = t.rates().configured();
    for (int i = 0; i < 3; ++i) {
        lbl_iva[i]->setText(QStringLiteral("IVA %1%").arg(rates[i] ? rates[i]->text() : QString()));
        edt_iva[i]->setText(t.vatAt(i).format());
        edt_iva[i]->setEnabled(!t.exempt());
    }
    edt_iva_tot->setText(t.vatTotal().format());
    edt_iva_tot->setEnabled(!t.exempt());
    tot_fatt->setText(t.total().format());
}

void Tfrm_fattnew::recalcDueDates() {
    if (!m_totals) return;
    int shift = 0;
    for (int i = 0; i < 4; ++i)
        if (rb_shift[i]->isChecked()) shift = DueDates::shifts()[i];
    const QList<QDate> dates =
        DueDates::dates(cmb_scadenza->currentText(), m_date, shift).value_or(QList<QDate>{});
    const QList<Money> parts =
        DueDates::instalments(m_totals->total(), static_cast<int>(dates.size()));
    const Settings& s = *m_ctx.settings;
    const bool defaults[4] = {true, s.flag(u"Fatturazione", u"Attiva scadenza 2"),
                              s.flag(u"Fatturazione", u"Attiva scadenza 3"), true};
    for (int i = 0; i < 4; ++i) {
        const bool used = i < dates.size();
        edt_scad[i]->setDate(used ? dates[i] : QDate());
        edt_imp_scad[i]->setText(used ? parts[i].format() : QString());
        chk_scad[i]->setChecked(used && defaults[i]);
    }
}

InvoiceFooter Tfrm_fattnew::footer() const {
    InvoiceFooter f;
    f.date = m_date;
    f.tipodoc = cmb_tipodoc->currentText();
    if (m_totals) {
        f.taxableExpenses = m_totals->taxableExpenses();
        f.exemptExpenses = m_totals->exemptExpenses();
        f.generalProcessing = m_totals->generalProcessing();
        f.discountPercent = m_totals->discountPercent();
        f.exemption = m_totals->exemption();
    }
    f.paymentMethod = cmb_tipo_pagam->currentText();
    f.paymentTerm = cmb_scadenza->currentText();
    f.bank = edt_banca->text();
    f.note1 = edt_note[0]->text();
    f.note2 = edt_note[1]->text();
    f.note3 = edt_note[2]->text();
    for (int i = 0; i < 4; ++i) {
        if (edt_scad[i]->isEmpty()) continue;
        f.printDate[f.dueDates.size()] = chk_scad[i]->isChecked();
        f.dueDates << edt_scad[i]->date();
        f.instalments << amountOf(edt_imp_scad[i]);
    }
    f.paid = chk_pagato->isChecked();
    return f;
}

void Tfrm_fattnew::btn_attivaClick() {
    if (!m_registered || !m_totals) return;
    try {
        registration().complete(*m_registered, m_customer, *m_totals, footer());
        setStep(5);
        m_box[3]->setEnabled(true);
        Dialogs::instance().info(
            title(), QStringLiteral("Dati della fattura n. %1 registrati.").arg(*m_registered),
            this);
    } catch (const StoreError& e) {
        Dialogs::instance().error(
            title(),
            QStringLiteral("I dati della fattura non sono stati registrati.\n") + e.message(),
            this);
    }
}

void Tfrm_fattnew::btn_scadenzarioClick() {
    if (!m_registered || !m_totals) return;
    const InvoiceFooter f = footer();
    Money sum;
    for (const Money& m : f.instalments) sum += m;
    if (f.dueDates.isEmpty() || sum != m_totals->total()) {
        Dialogs::instance().warning(title(),
                                    QStringLiteral("Le rate (€ %1) non corrispondono al totale "
                                                   "della fattura (€ %2): scadenze non registrate.")
                                        .arg(sum.format(), m_totals->total().format()),
                                    this);
        return;
    }
    try {
        if (!registration().writeDeadlines(*m_registered, m_customer, f)) {
            Dialogs::instance().info(
                title(), InvoiceRegistration::deadlinesThereMessage(*m_registered), this);
            return;
        }
        Dialogs::instance().info(title(), InvoiceRegistration::deadlinesMessage(f), this);
    } catch (const StoreError& e) {
        Dialogs::instance().error(
            title(), QStringLiteral("Le scadenze non sono state registrate.\n") + e.message(),
            this);
    }
}

void Tfrm_fattnew::btn_stampaClick() {
    if (m_registered && openBrowser) {
        openBrowser(*m_registered, m_customer, m_date);
        return;
    }
    Dialogs::instance().info(
        title(), QStringLiteral("La stampa della fattura si esegue da Scorrimento fatture."), this);
}

void Tfrm_fattnew::btn_nuovaClick() {
    m_registered.reset();
    m_plan.reset();
    m_totals.reset();
    m_ddts.clear();
    grid_ddt->setRowCount(0);
    grid_righe->setRowCount(0);
    for (QLineEdit* e : {ed_spese_imp, ed_spese_esiva, ed_lavoraz, ed_sconto, edt_art_esenzione,
                         edt_tot, imp_netto, edt_iva_tot, tot_fatt})
        e->clear();
    for (int i = 0; i < 4; ++i) {
        edt_scad[i]->setDate(QDate());
        edt_imp_scad[i]->clear();
        chk_scad[i]->setChecked(false);
    }
    setStep(1);
}

void Tfrm_fattnew::btn_annullaClick() {
    edt_cod_cli->clear();
    edt_nome->clear();
    edt_dal->setDate(QDate());
    edt_al->setDate(QDate());
    btn_nuovaClick();
}

void Tfrm_fattnew::done(int r) {
    qint64 invoices = 0;
    try {
        invoices = m_ctx.store
                       ->scalar(QStringLiteral("SELECT COUNT(*) FROM %1")
                                    .arg(m_ctx.store->table(registration().archives().header)))
                       .toLongLong();
    } catch (const StoreError&) {
    }
    if (!UsageCounters(m_ctx.base)
             .recordUse(QStringLiteral("Fatture"), invoices, Clock::now(),
                        QStringLiteral("    Fatture in archivio: ")))
        QApplication::beep();
    QDialog::done(r);
}

}  // namespace zel
