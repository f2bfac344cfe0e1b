#include "quotes/Tfrm_preventivi_tools.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/Clock.h"
#include "documents/DueDates.h"
#include "documents/VatRates.h"
#include "quotes/QuoteInvoicing.h"
#include "settings/Settings.h"
#include "store/Store.h"
#include "ui/DateEdit.h"
#include "ui/Dialogs.h"

namespace zel {

namespace {

const QString kTitle = QStringLiteral("Zelvarin - Fattura da Preventivo");
const QString kProforma = QStringLiteral("Fattura proforma");

}  // namespace

Tfrm_preventivi_tools::Tfrm_preventivi_tools(AppContext& ctx, QWidget* parent)
    : QDialog(parent), m_ctx(ctx) {
    setObjectName(QStringLiteral("Tfrm_preventivi_tools"));
    setWindowTitle(kTitle);
    auto* v = new QVBoxLayout(this);
    m_pages = new QStackedWidget(this);
    m_pages->setObjectName(QStringLiteral("page_fattura"));
    v->addWidget(m_pages);
    QStringList titles = {QStringLiteral("Scegli il preventivo"),
                          QStringLiteral("Seleziona le voci da fatturare"),
                          QStringLiteral("Termina la fattura"), QStringLiteral("Registra e Stampa")};
    QList<QFormLayout*> forms;
    for (int i = 0; i < 4; ++i) {
        auto* w = new QWidget;
        auto* f = new QFormLayout(w);
        f->addRow(new QLabel(titles[i]));
        forms.append(f);
        m_pages->addWidget(w);
    }
    auto edit = [this](QFormLayout* f, const QString& name, const QString& label) {
        auto* e = new QLineEdit;
        e->setObjectName(name);
        m_edits.insert(name, e);
        f->addRow(label, e);
        return e;
    };
    auto combo = [this](QFormLayout* f, const QString& name, const QString& label,
                        const QStringList& items) {
        auto* c = new QComboBox;
        c->setObjectName(name);
        c->addItems(items);
        m_combos.insert(name, c);
        f->addRow(label, c);
        return c;
    };
    auto label = [this](QFormLayout* f, const QString& name, const QString& caption) {
        auto* l = new QLabel;
        l->setObjectName(name);
        m_labels.insert(name, l);
        f->addRow(caption, l);
    };
    auto button = [this](QFormLayout* f, const QString& name, const QString& text,
                         void (Tfrm_preventivi_tools::*slot)()) {
        auto* b = new QPushButton(text);
        b->setObjectName(name);
        connect(b, &QPushButton::clicked, this, [this, slot] { (this->*slot)(); });
        m_buttons.insert(name, b);
        f->addRow(b);
    };
    // Page 1.
    edit(forms[0], QStringLiteral("edt_cod_cli1"), QStringLiteral("Codice cliente"));
    button(forms[0], QStringLiteral("btn_ok_art"), QStringLiteral("Conferma"),
           &Tfrm_preventivi_tools::btn_ok_artClick);
    label(forms[0], QStringLiteral("memo_info"), QString());
    combo(forms[0], QStringLiteral("cmb_prev1"), QStringLiteral("Preventivo"), {});
    auto* tipodoc = combo(forms[0], QStringLiteral("cmb_tipodoc"), QStringLiteral("Tipo documento"),
                          {QStringLiteral("Fattura"), QStringLiteral("Fattura accompagnatoria"),
                           QStringLiteral("Fattura differita"), kProforma,
                           QStringLiteral("Fattura quitanzata"), QStringLiteral("Nota di accredito"),
                           QStringLiteral("Nota di addebito")});
    connect(tipodoc, &QComboBox::activated, this, [this] { cmb_tipodocSelect(); });
    edit(forms[0], QStringLiteral("edt_num_fatt"), QStringLiteral("Numero fattura"));
    m_date = new DateEdit;
    m_date->setObjectName(QStringLiteral("dt_fatt"));
    forms[0]->addRow(QStringLiteral("Data fattura"), m_date);
    button(forms[0], QStringLiteral("btn_conferma"), QStringLiteral("Conferma e prosegui"),
           &Tfrm_preventivi_tools::btn_confermaClick);
    // Page 2.
    m_source = new QTableWidget(0, 6);
    m_source->setObjectName(QStringLiteral("grid_voci_preventivo"));
    m_chosen = new QTableWidget(0, 6);
    m_chosen->setObjectName(QStringLiteral("grid_voci_fattura"));
    for (QTableWidget* g : {m_source, m_chosen}) {
        g->setHorizontalHeaderLabels({QStringLiteral("Codice"), QStringLiteral("Descrizione"),
                                      QStringLiteral("Quantità"), QStringLiteral("Prezzo"),
                                      QStringLiteral("IVA"), QStringLiteral("Totale")});
        g->setEditTriggers(QAbstractItemView::NoEditTriggers);
        g->setSelectionBehavior(QAbstractItemView::SelectRows);
    }
    forms[1]->addRow(m_source);
    button(forms[1], QStringLiteral("freccia_all1"), QStringLiteral("Aggiungi tutte le voci"),
           &Tfrm_preventivi_tools::freccia_all1Click);
    button(forms[1], QStringLiteral("btn_aggiunge_singolo"),
           QStringLiteral("Aggiungi la voce selezionata e tutte le voci con lo stesso codice"),
           &Tfrm_preventivi_tools::btn_aggiunge_singoloClick);
    button(forms[1], QStringLiteral("btn_elimina_voce"), QStringLiteral("Elimina la voce selezionata"),
           &Tfrm_preventivi_tools::btn_elimina_voceClick);
    forms[1]->addRow(m_chosen);
    button(forms[1], QStringLiteral("btn_conferma1"), QStringLiteral("Avanti"),
           &Tfrm_preventivi_tools::btn_conferma1Click);
    // Page 3.
    combo(forms[2], QStringLiteral("cmb_mod_pagam"), QStringLiteral("Modalità di pagamento"),
          {QStringLiteral("Rimessa diretta"), QStringLiteral("Bonifico Bancario"),
           QStringLiteral("Ricevuta Bancaria"), QStringLiteral("Cambiale"), QStringLiteral("Assegno"),
           QStringLiteral("Contanti"), QStringLiteral("Fattura quietanzata"),
           QStringLiteral("Carta di credito"), QStringLiteral("Carta di debito"),
           QStringLiteral("Poste Pay"), QStringLiteral("Pay Pal"), QStringLiteral("Finanziamento")});
    m_combos[QStringLiteral("cmb_mod_pagam")]->setCurrentText(QStringLiteral("Ricevuta Bancaria"));
    combo(forms[2], QStringLiteral("cmb_scadenza"), QStringLiteral("Scadenza"), DueDates::terms());
    m_combos[QStringLiteral("cmb_scadenza")]->setCurrentText(QStringLiteral("30 GG F.M."));
    edit(forms[2], QStringLiteral("ed_sconto"), QStringLiteral("Sconto finale %"));
    edit(forms[2], QStringLiteral("ed_spese_imp"), QStringLiteral("Spese imponibili"));
    edit(forms[2], QStringLiteral("ed_lavoraz"), QStringLiteral("Lavorazioni"));
    edit(forms[2], QStringLiteral("ed_spese_esiva"), QStringLiteral("Spese esenti IVA"));
    edit(forms[2], QStringLiteral("ed_esenz"), QStringLiteral("Titolo di esenzione"));
    for (int i = 1; i <= 3; ++i)
        edit(forms[2], QStringLiteral("edt_banca%1").arg(i), QStringLiteral("Banca"));
    for (int i = 1; i <= 3; ++i)
        edit(forms[2], QStringLiteral("edt_note%1").arg(i), QStringLiteral("Note"));
    button(forms[2], QStringLiteral("btn_calcola"), QStringLiteral("Calcola\r\nimporti fattura"),
           &Tfrm_preventivi_tools::btn_calcolaClick);
    for (const char16_t* n : {u"lbl_imponibile", u"lbl_iva1", u"lbl_iva2", u"lbl_iva3", u"lbl_totale"})
        label(forms[2], QString::fromUtf16(n), QString::fromUtf16(n).mid(4));
    button(forms[2], QStringLiteral("btn_avanti2"), QStringLiteral("Avanti"),
           &Tfrm_preventivi_tools::btn_avanti2Click);
    // Page 4.
    label(forms[3], QStringLiteral("lbl_riepilogo"), QString());
    button(forms[3], QStringLiteral("btn_avanti3"), QStringLiteral("Registra la Fattura"),
           &Tfrm_preventivi_tools::btn_avanti3Click);
    button(forms[3], QStringLiteral("btn_nuova_fatt"), QStringLiteral("Crea una nuova fattura"),
           &Tfrm_preventivi_tools::btn_nuova_fattClick);
    button(forms[3], QStringLiteral("btn_scadenzario"), QStringLiteral("Inserisci in scadenzario"),
           &Tfrm_preventivi_tools::btn_scadenzarioClick);
    for (int i = 1; i < 4; ++i) {
        auto* back = new QPushButton(QStringLiteral("Indietro"));
        back->setObjectName(QStringLiteral("btn_indietro%1").arg(i));
        connect(back, &QPushButton::clicked, this, [this, i] { m_pages->setCurrentIndex(i - 1); });
        forms[i]->addRow(back);
    }
}

Tfrm_preventivi_tools::~Tfrm_preventivi_tools() = default;

void Tfrm_preventivi_tools::prepare(const QString& customer, qint64 quote) {
    m_edits[QStringLiteral("edt_cod_cli1")]->setText(customer);
    m_date->setDate(Clock::today());
    m_chosenLines.clear();
    m_buttons[QStringLiteral("btn_avanti3")]->setEnabled(true);
    m_buttons[QStringLiteral("btn_nuova_fatt")]->setEnabled(false);
    m_buttons[QStringLiteral("btn_scadenzario")]->setEnabled(false);
    m_registered = 0;
    m_buttons[QStringLiteral("btn_conferma")]->setEnabled(false);
    m_buttons[QStringLiteral("btn_avanti2")]->setEnabled(false);
    m_pages->setCurrentIndex(0);
    btn_ok_artClick();
    if (quote > 0) {
        QComboBox* c = m_combos[QStringLiteral("cmb_prev1")];
        c->setCurrentIndex(c->findText(QString::number(quote)));
    }
}

qint64 Tfrm_preventivi_tools::quoteNumber() const {
    return m_combos[QStringLiteral("cmb_prev1")]->currentText().toLongLong();
}

bool Tfrm_preventivi_tools::proforma() const {
    return m_combos[QStringLiteral("cmb_tipodoc")]->currentText() == kProforma;
}

void Tfrm_preventivi_tools::btn_ok_artClick() {
    const QuoteArchives a = QuoteArchives::fromSettings(*m_ctx.settings);
    const QString code = m_edits[QStringLiteral("edt_cod_cli1")]->text().trimmed();
    QComboBox* quotes = m_combos[QStringLiteral("cmb_prev1")];
    quotes->clear();
    if (!Store::exists(a.header)) return;
    const QString where = code.isEmpty() ? QString() : QStringLiteral(" WHERE cod_cli = ?");
    const auto rows = m_ctx.store->rows(
        QStringLiteral("SELECT fattura FROM %1%2 ORDER BY fattura").arg(m_ctx.store->table(a.header), where),
        code.isEmpty() ? QVariantList() : QVariantList{code});
    for (const QVariantList& r : rows) quotes->addItem(r[0].toString());
    QStringList info;
    const QString registry = m_ctx.settings->text(u"Path", u"Archivio anagrafica");
    if (!code.isEmpty() && Store::exists(registry)) {
        const auto c = m_ctx.store->rows(
            QStringLiteral("SELECT nome, via, cap, citta, prov1, piva, cf, pagam, scadpag, banca, "
                           "banca1, banca2 FROM %1 WHERE cod_cli = ? LIMIT 1")
                .arg(m_ctx.store->table(registry)),
            {code});
        if (!c.isEmpty()) {
            const QVariantList& r = c[0];
            info << r[0].toString() << r[1].toString()
                 << QStringLiteral("%1 %2 %3").arg(r[2].toString(), r[3].toString(), r[4].toString())
                 << QString()
                 << QStringLiteral("P.IVA: %1   C.F.: %2").arg(r[5].toString(), r[6].toString());
            if (!r[7].toString().isEmpty()) m_combos[QStringLiteral("cmb_mod_pagam")]->setCurrentText(r[7].toString());
            if (!r[8].toString().isEmpty()) m_combos[QStringLiteral("cmb_scadenza")]->setCurrentText(r[8].toString());
            for (int i = 0; i < 3; ++i)
                m_edits[QStringLiteral("edt_banca%1").arg(i + 1)]->setText(r[9 + i].toString());
        }
    }
    info << QStringLiteral("Sono presenti %1 preventivi.").arg(rows.size());
    m_labels[QStringLiteral("memo_info")]->setText(info.join(QLatin1Char('\n')));
    m_combos[QStringLiteral("cmb_tipodoc")]->setCurrentText(QStringLiteral("Fattura"));
    cmb_tipodocSelect();
    m_buttons[QStringLiteral("btn_conferma")]->setEnabled(!rows.isEmpty());
}

void Tfrm_preventivi_tools::cmb_tipodocSelect() {
    QuoteInvoicing invoicing(*m_ctx.store, *m_ctx.settings, proforma());
    m_edits[QStringLiteral("edt_num_fatt")]->setText(QString::number(invoicing.proposeNumber()));
}

void Tfrm_preventivi_tools::showLines(QTableWidget* grid, const QList<QuoteLine>& lines) {
    grid->setRowCount(static_cast<int>(lines.size()));
    for (int i = 0; i < lines.size(); ++i) {
        const QuoteLine& l = lines[i];
        const QStringList cells = {l.cod, l.des, QString::number(l.quant),
                                   Money::fromDouble(l.prezzo).format(),
                                   VatRate::fromDouble(l.percIva).text(), l.amount().format()};
        for (int c = 0; c < cells.size(); ++c) grid->setItem(i, c, new QTableWidgetItem(cells[c]));
    }
}

void Tfrm_preventivi_tools::btn_confermaClick() {
    QuoteArchive quotes(*m_ctx.store, *m_ctx.settings);
    m_quoteLines = quotes.linesOf(quoteNumber());
    m_chosenLines.clear();
    showLines(m_source, m_quoteLines);
    showLines(m_chosen, m_chosenLines);
    m_pages->setCurrentIndex(1);
}

void Tfrm_preventivi_tools::freccia_all1Click() {
    m_chosenLines += m_quoteLines;
    showLines(m_chosen, m_chosenLines);
}

void Tfrm_preventivi_tools::btn_aggiunge_singoloClick() {
    const int row = m_source->currentRow();
    if (row < 0 || row >= m_quoteLines.size()) return;
    m_chosenLines.append(m_quoteLines[row]);
    showLines(m_chosen, m_chosenLines);
}

void Tfrm_preventivi_tools::btn_elimina_voceClick() {
    const int row = m_chosen->currentRow();
    if (row < 0 || row >= m_chosenLines.size()) return;
    m_chosenLines.removeAt(row);
    showLines(m_chosen, m_chosenLines);
}

void Tfrm_preventivi_tools::btn_conferma1Click() { m_pages->setCurrentIndex(2); }

std::optional<InvoiceFooter> Tfrm_preventivi_tools::footer(QString* error) const {
    InvoiceFooter f;
    f.date = m_date->date();
    f.tipodoc = m_combos[QStringLiteral("cmb_tipodoc")]->currentText();
    auto money = [&](const QString& name, const QString& label, Money* out) {
        const auto m = Money::parse(m_edits[name]->text());
        if (!m) {
            *error = QStringLiteral("Importo non valido in \"%1\": %2").arg(label, m_edits[name]->text());
            return false;
        }
        *out = *m;
        return true;
    };
    if (!money(QStringLiteral("ed_spese_imp"), QStringLiteral("Spese imponibili"), &f.taxableExpenses) ||
        !money(QStringLiteral("ed_spese_esiva"), QStringLiteral("Spese esenti IVA"), &f.exemptExpenses) ||
        !money(QStringLiteral("ed_lavoraz"), QStringLiteral("Lavorazioni"), &f.generalProcessing))
        return std::nullopt;
    const auto discount = decimal::parse(m_edits[QStringLiteral("ed_sconto")]->text(), 2);
    if (!discount) {
        *error = QStringLiteral("Sconto non valido: %1").arg(m_edits[QStringLiteral("ed_sconto")]->text());
        return std::nullopt;
    }
    f.discountPercent = static_cast<double>(*discount) / 100.0;
    f.exemption = m_edits[QStringLiteral("ed_esenz")]->text().trimmed();
    f.paymentMethod = m_combos[QStringLiteral("cmb_mod_pagam")]->currentText();
    f.paymentTerm = m_combos[QStringLiteral("cmb_scadenza")]->currentText();
    // Each bank line trimmed first, then joined, so the three fit the column.
    QStringList bank;
    for (int i = 1; i <= 3; ++i) {
        const QString b = m_edits[QStringLiteral("edt_banca%1").arg(i)]->text().trimmed();
        if (!b.isEmpty()) bank.append(b);
    }
    f.bank = bank.join(QLatin1Char(' '));
    if (f.bank.size() > 60) {
        *error = QStringLiteral("Il campo \"Banca\" supera la lunghezza massima di 60 caratteri.");
        return std::nullopt;
    }
    for (int i = 1; i <= 3; ++i) {
        QString* note = i == 1 ? &f.note1 : i == 2 ? &f.note2 : &f.note3;
        *note = m_edits[QStringLiteral("edt_note%1").arg(i)]->text();
        if (note->size() > 80) {
            *error = QStringLiteral("Il campo \"Note %1\" supera la lunghezza massima di 80 caratteri.").arg(i);
            return std::nullopt;
        }
    }
    f.dueDates = DueDates::dates(f.paymentTerm, f.date).value_or(QList<QDate>{f.date});
    if (f.dueDates.isEmpty()) f.dueDates = {f.date};
    return f;
}

void Tfrm_preventivi_tools::btn_calcolaClick() {
    QString error;
    const auto f = footer(&error);
    if (!f) {
        Dialogs::instance().warning(kTitle, error, this);
        return;
    }
    QStringList refusals;
    QuoteInvoicing invoicing(*m_ctx.store, *m_ctx.settings, proforma());
    // From zero every time: pressing twice gives the same figures.
    const DocumentTotals t = invoicing.totalsOf(m_chosenLines, *f, &refusals);
    if (!refusals.isEmpty()) {
        Dialogs::instance().warning(kTitle, refusals.join(QStringLiteral("\r\n")), this);
        return;
    }
    m_labels[QStringLiteral("lbl_imponibile")]->setText(t.netTaxable().format());
    for (int i = 0; i < 3; ++i) m_labels[QStringLiteral("lbl_iva%1").arg(i + 1)]->setText(t.vatAt(i).format());
    m_labels[QStringLiteral("lbl_totale")]->setText(t.total().format());
    m_buttons[QStringLiteral("btn_avanti2")]->setEnabled(true);
}

void Tfrm_preventivi_tools::btn_avanti2Click() {
    QStringList s;
    for (const char16_t* n : {u"lbl_imponibile", u"lbl_iva1", u"lbl_iva2", u"lbl_iva3", u"lbl_totale"})
        s << QString::fromUtf16(n).mid(4) + QStringLiteral(": ") + m_labels[QString::fromUtf16(n)]->text();
    m_labels[QStringLiteral("lbl_riepilogo")]->setText(s.join(QLatin1Char('\n')));
    m_pages->setCurrentIndex(3);
}

void Tfrm_preventivi_tools::btn_avanti3Click() {
    QString error;
    auto f = footer(&error);
    bool ok = false;
    const qint64 number = m_edits[QStringLiteral("edt_num_fatt")]->text().trimmed().toLongLong(&ok);
    if (f && (!ok || number <= 0)) error = QStringLiteral("Numero di fattura non valido.");
    if (!f || !error.isEmpty()) {
        Dialogs::instance().warning(kTitle, error, this);
        return;
    }
    QuoteInvoicing invoicing(*m_ctx.store, *m_ctx.settings, proforma());
    try {
        const DocumentTotals t = invoicing.totalsOf(m_chosenLines, *f);
        f->instalments = DueDates::instalments(t.total(), static_cast<int>(f->dueDates.size()));
        invoicing.registerInvoice(quoteNumber(), m_chosenLines, number, *f);
    } catch (const StoreError& e) {
        Dialogs::instance().error(kTitle, QStringLiteral("La fattura non è stata registrata.\r\n") + e.message(), this);
        return;
    }
    Dialogs::instance().info(QStringLiteral("Conferma"), QStringLiteral("La fattura è stata creata!"), this);
    m_buttons[QStringLiteral("btn_avanti3")]->setEnabled(false);
    m_buttons[QStringLiteral("btn_nuova_fatt")]->setEnabled(true);
    m_registered = number;
    // Deadlines belong to fiscal invoices only.
    m_buttons[QStringLiteral("btn_scadenzario")]->setEnabled(!proforma());
}

void Tfrm_preventivi_tools::btn_scadenzarioClick() {
    if (m_registered == 0 || proforma()) return;
    QString error;
    auto f = footer(&error);
    if (!f) {
        Dialogs::instance().warning(kTitle, error, this);
        return;
    }
    QuoteInvoicing invoicing(*m_ctx.store, *m_ctx.settings, false);
    InvoiceRegistration registration(*m_ctx.store, *m_ctx.settings, invoicing.archives());
    try {
        const auto q = m_ctx.store->rows(
            QStringLiteral("SELECT cod_cli, tot_fatt FROM %1 WHERE fattura = ? LIMIT 1")
                .arg(m_ctx.store->table(invoicing.archives().header)),
            {m_registered});
        if (q.isEmpty()) throw StoreError(QStringLiteral("La fattura n. %1 non è più nell'archivio.").arg(m_registered));
        f->instalments = DueDates::instalments(Money::fromDouble(q[0][1].toDouble()),
                                               static_cast<int>(f->dueDates.size()));
        if (!registration.writeDeadlines(m_registered, q[0][0].toString(), *f)) {
            Dialogs::instance().info(kTitle, InvoiceRegistration::deadlinesThereMessage(m_registered), this);
            return;
        }
        Dialogs::instance().info(kTitle, InvoiceRegistration::deadlinesMessage(*f), this);
    } catch (const StoreError& e) {
        Dialogs::instance().error(kTitle, QStringLiteral("Le scadenze non sono state registrate.\n") + e.message(), this);
    }
}

void Tfrm_preventivi_tools::btn_nuova_fattClick() {
    m_combos[QStringLiteral("cmb_prev1")]->clear();
    m_edits[QStringLiteral("edt_cod_cli1")]->clear();
    m_combos[QStringLiteral("cmb_tipodoc")]->setCurrentIndex(0);
    m_buttons[QStringLiteral("btn_avanti3")]->setEnabled(true);
    m_buttons[QStringLiteral("btn_nuova_fatt")]->setEnabled(false);
    m_buttons[QStringLiteral("btn_scadenzario")]->setEnabled(false);
    m_registered = 0;
    m_buttons[QStringLiteral("btn_ok_art")]->setEnabled(true);
    m_pages->setCurrentIndex(0);
}

}  // namespace zel
