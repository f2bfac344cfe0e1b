#include "quotes/Tfrm_nuovo_preventivo.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/Clock.h"
#include "documents/VatRates.h"
#include "settings/Settings.h"
#include "store/Store.h"
#include "ui/DateEdit.h"
#include "report/PreviewWindow.h"
#include "ui/Dialogs.h"

namespace zel {

namespace {

const QString kTitle = QStringLiteral("Zelvarin - Nuovo preventivo");

double numberOf(const QLineEdit* e) {
    const auto v = decimal::parse(e->text(), 6);
    return v ? static_cast<double>(*v) / 1e6 : 0.0;
}

// Customer columns copied into the header fields.
const char16_t* const kCustomerColumns[] = {u"tel", u"cell", u"nome", u"via", u"citta",
                                            u"prov1", u"cap", u"email", u"piva", u"cf"};

}  // namespace

Tfrm_nuovo_preventivo::Tfrm_nuovo_preventivo(AppContext& ctx, QWidget* parent)
    : QDialog(parent), m_ctx(ctx) {
    setObjectName(QStringLiteral("Tfrm_nuovo_preventivo"));
    setWindowTitle(kTitle);
    buildUi();
}

Tfrm_nuovo_preventivo::~Tfrm_nuovo_preventivo() = default;

QuoteArchive& Tfrm_nuovo_preventivo::archive() {
    if (!m_archive) m_archive = std::make_unique<QuoteArchive>(*m_ctx.store, *m_ctx.settings);
    return *m_archive;
}

void Tfrm_nuovo_preventivo::buildUi() {
    auto* layout = new QVBoxLayout(this);
    m_pages = new QStackedWidget(this);
    m_pages->setObjectName(QStringLiteral("page_preventivo"));
    m_pages->addWidget(buildFirstPage());
    m_pages->addWidget(buildSecondPage());
    layout->addWidget(m_pages);
    auto* exit = new QPushButton(QStringLiteral("Uscita"), this);
    exit->setObjectName(QStringLiteral("btn_uscita"));
    connect(exit, &QPushButton::clicked, this, [this] { btn_uscitaClick(); });
    layout->addWidget(exit);
}

QWidget* Tfrm_nuovo_preventivo::buildFirstPage() {
    auto* page = new QWidget;
    auto* v = new QVBoxLayout(page);
    auto* head = new QFormLayout;
    m_number = new QLineEdit;
    m_number->setObjectName(QStringLiteral("edt_num_prev"));
    head->addRow(QStringLiteral("Numero"), m_number);
    m_date = new DateEdit;
    m_date->setObjectName(QStringLiteral("edt_data"));
    head->addRow(QStringLiteral("Data"), m_date);
    auto* customerRow = new QHBoxLayout;
    m_customer = new QComboBox;
    m_customer->setObjectName(QStringLiteral("cmb_cod_cli"));
    m_customer->setEditable(true);
    connect(m_customer, &QComboBox::activated, this, [this] { cmb_cod_cliSelect(); });
    m_marker = new QLabel;
    m_marker->setObjectName(QStringLiteral("lbl_marker_cliente"));
    m_marker->setFixedSize(12, 12);
    customerRow->addWidget(m_customer, 1);
    customerRow->addWidget(m_marker);
    head->addRow(QStringLiteral("Cliente"), customerRow);
    for (const char16_t* c : kCustomerColumns) {
        auto* e = new QLineEdit;
        e->setObjectName(QStringLiteral("edt_") + QString::fromUtf16(c));
        m_fields.insert(QString::fromUtf16(c), e);
        head->addRow(QString::fromUtf16(c), e);
    }
    v->addLayout(head);
    auto* newCustomer = new QPushButton(QStringLiteral("Nuovo cliente"));
    newCustomer->setObjectName(QStringLiteral("btn_nuovo_cliente"));
    connect(newCustomer, &QPushButton::clicked, this, [this] { btn_nuovo_clienteClick(); });
    v->addWidget(newCustomer);
    auto* confirmCustomer = new QPushButton(QStringLiteral("Conferma"));
    confirmCustomer->setObjectName(QStringLiteral("btn_conferma_cliente"));
    connect(confirmCustomer, &QPushButton::clicked, this, [this] { btn_conferma_clienteClick(); });
    m_buttons.insert(confirmCustomer->objectName(), confirmCustomer);
    v->addWidget(confirmCustomer);

    m_linePanel = new QWidget;
    m_linePanel->setObjectName(QStringLiteral("panel_dettagli"));
    auto* lines = new QVBoxLayout(m_linePanel);
    auto* entry = new QFormLayout;
    m_article = new QComboBox;
    m_article->setObjectName(QStringLiteral("cmb_articolo"));
    m_article->setEditable(true);
    connect(m_article, &QComboBox::activated, this, [this] { cmb_articoloSelect(); });
    entry->addRow(QStringLiteral("Articolo"), m_article);
    m_des = new QLineEdit;
    m_des->setObjectName(QStringLiteral("memo_articolo"));
    entry->addRow(QStringLiteral("Descrizione"), m_des);
    m_unit = new QComboBox;
    m_unit->setObjectName(QStringLiteral("cmb_unitamis"));
    m_unit->addItems({QStringLiteral("N."), QStringLiteral("Pz."), QStringLiteral("Kg."),
                      QStringLiteral("Mt.")});
    entry->addRow(QStringLiteral("U.M."), m_unit);
    auto edit = [&](const QString& name, const QString& label) {
        auto* e = new QLineEdit;
        e->setObjectName(name);
        connect(e, &QLineEdit::textChanged, this, [this] { recomputeLine(); });
        entry->addRow(label, e);
        return e;
    };
    m_price = edit(QStringLiteral("edt_prezzo"), QStringLiteral("Prezzo unitario"));
    m_quant = edit(QStringLiteral("edt_quant"), QStringLiteral("Quantità"));
    m_discount = edit(QStringLiteral("edt_sconto"), QStringLiteral("Sconto %"));
    m_vat = new QComboBox;
    m_vat->setObjectName(QStringLiteral("cmb_iva"));
    m_vat->setEditable(true);
    connect(m_vat, &QComboBox::currentTextChanged, this, [this] { recomputeLine(); });
    entry->addRow(QStringLiteral("IVA %"), m_vat);
    m_altText = new QComboBox;
    m_altText->setObjectName(QStringLiteral("edt_testo_altern"));
    m_altText->addItems({QString(), QStringLiteral("omaggio"), QStringLiteral("capitolato"),
                         QStringLiteral("incluso")});
    m_altPrint = new QCheckBox(QStringLiteral("Testo alternativo"));
    m_altPrint->setObjectName(QStringLiteral("chk_prz_testo"));
    connect(m_altPrint, &QCheckBox::toggled, this, [this](bool on) {
        if (on && !m_altText->currentText().isEmpty()) m_price->setText(QStringLiteral("0"));
    });
    entry->addRow(m_altPrint, m_altText);
    for (const auto& [name, label] :
         {std::pair{u"lbl_totale_iva_escl", u"Totale iva escl"},
          std::pair{u"lbl_netto_iva_escl", u"Netto iva escl"},
          std::pair{u"lbl_totale_iva", u"Totale iva"},
          std::pair{u"lbl_totale_ivato", u"Totale ivato"}}) {
        auto* l = new QLabel;
        l->setObjectName(QString::fromUtf16(name));
        m_lineFigures.insert(l->objectName(), l);
        entry->addRow(QString::fromUtf16(label), l);
    }
    lines->addLayout(entry);
    auto* buttons = new QHBoxLayout;
    auto button = [&](const QString& name, const QString& text, void (Tfrm_nuovo_preventivo::*slot)()) {
        auto* b = new QPushButton(text);
        b->setObjectName(name);
        connect(b, &QPushButton::clicked, this, [this, slot] { (this->*slot)(); });
        m_buttons.insert(name, b);
        buttons->addWidget(b);
        return b;
    };
    button(QStringLiteral("Btn_conferma"), QStringLiteral("Conferma lnserimento"),
           &Tfrm_nuovo_preventivo::Btn_confermaClick);
    button(QStringLiteral("btn_cancella_riga"), QStringLiteral("Cancella riga"),
           &Tfrm_nuovo_preventivo::btn_cancella_rigaClick);
    button(QStringLiteral("btn_avanti"), QStringLiteral("Avanti"),
           &Tfrm_nuovo_preventivo::btn_avantiClick);
    button(QStringLiteral("btn_azzera_campi"), QStringLiteral("Azzera tutto"),
           &Tfrm_nuovo_preventivo::btn_azzera_campiClick);
    m_grid = new QTableWidget(0, 7);
    m_grid->setObjectName(QStringLiteral("grid_righe"));
    m_grid->setHorizontalHeaderLabels({QStringLiteral("Codice"), QStringLiteral("Descrizione"),
                                       QStringLiteral("Quantità"), QStringLiteral("Prezzo"),
                                       QStringLiteral("Sconto"), QStringLiteral("IVA"),
                                       QStringLiteral("Importo")});
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    lines->addLayout(buttons);
    lines->addWidget(m_grid);
    v->addWidget(m_linePanel);
    return page;
}

QWidget* Tfrm_nuovo_preventivo::buildSecondPage() {
    auto* page = new QWidget;
    auto* v = new QVBoxLayout(page);
    v->addWidget(new QLabel(QStringLiteral("2.Chiusura e riepilogo del preventivo")));
    auto* form = new QFormLayout;
    for (const char16_t* name : {u"lbl_num_prev", u"lbl_imponibile", u"lbl_iva1", u"lbl_iva2",
                                 u"lbl_iva3", u"lbl_iva_tot", u"lbl_totale"}) {
        auto* caption = new QLabel;
        caption->setObjectName(QString::fromUtf16(name) + QStringLiteral("_caption"));
        auto* l = new QLabel;
        l->setObjectName(QString::fromUtf16(name));
        m_summary.insert(l->objectName(), l);
        m_summary.insert(caption->objectName(), caption);
        form->addRow(caption, l);
    }
    m_summary[QStringLiteral("lbl_num_prev_caption")]->setText(QStringLiteral("Preventivo n."));
    m_summary[QStringLiteral("lbl_imponibile_caption")]->setText(QStringLiteral("Imponibile"));
    m_summary[QStringLiteral("lbl_iva_tot_caption")]->setText(QStringLiteral("Totale IVA"));
    m_summary[QStringLiteral("lbl_totale_caption")]->setText(QStringLiteral("Totale"));
    m_subject = new QLineEdit;
    m_subject->setObjectName(QStringLiteral("edt_oggetto"));
    form->addRow(QStringLiteral("Oggetto"), m_subject);
    m_payment = new QComboBox;
    m_payment->setObjectName(QStringLiteral("cmb_mod_pagam"));
    m_payment->setEditable(true);
    form->addRow(QStringLiteral("Pagamento"), m_payment);
    v->addLayout(form);
    auto* row = new QHBoxLayout;
    auto button = [&](const QString& name, const QString& text, void (Tfrm_nuovo_preventivo::*slot)()) {
        auto* b = new QPushButton(text);
        b->setObjectName(name);
        connect(b, &QPushButton::clicked, this, [this, slot] { (this->*slot)(); });
        m_buttons.insert(name, b);
        row->addWidget(b);
    };
    button(QStringLiteral("btn_indietro"), QStringLiteral("Indietro, dimenticato qualcosa?"),
           &Tfrm_nuovo_preventivo::btn_indietroClick);
    button(QStringLiteral("btn_registra_preventivo"),
           QStringLiteral("Conferma il preventivo e registralo"),
           &Tfrm_nuovo_preventivo::btn_registra_preventivoClick);
    button(QStringLiteral("btn_nuovo_preventivo"), QStringLiteral("Inserisci un nuovo preventivo"),
           &Tfrm_nuovo_preventivo::btn_nuovo_preventivoClick);
    m_printModel = new QComboBox;
    m_printModel->setObjectName(QStringLiteral("cmb_tipo_prev"));
    m_printModel->addItems({QStringLiteral("Predefinito"), QStringLiteral("Semplice (senza miniature)"),
                            QStringLiteral("Semplice (senza miniature e intestazione)")});
    form->addRow(QStringLiteral("Modello per la stampa"), m_printModel);
    for (const auto& [name, text, on] :
         {std::tuple{u"chk_logo_extra", u"Stampa logo aggiuntivo", false},
          std::tuple{u"chk_stampa_valuta", u"Stampa simbolo valuta", false},
          std::tuple{u"chk_unita_misura", u"Stampa unità di misura", true},
          std::tuple{u"chk_quantita", u"Stampa quantità", true},
          std::tuple{u"chk_piede_fine", u"Stampa piede preventivo solo a fine documento", false},
          std::tuple{u"chk_testo_alternativo", u"Stampa il testo in alternativa al prezzo quando esiste", true},
          std::tuple{u"chk_no_importi", u"Non stampare la riga degli importi", false},
          std::tuple{u"chk_note", u"Stampa campo note (note 1 + note2)", false}}) {
        auto* c = new QCheckBox(QString::fromUtf16(text));
        c->setObjectName(QString::fromUtf16(name));
        c->setChecked(on);
        m_printOptions.insert(c->objectName(), c);
        form->addRow(c);
    }
    m_printOptions[QStringLiteral("chk_logo_extra")]->setChecked(
        m_ctx.settings->flag(u"Preventivi", u"Stampa extra logo"));
    m_copies = new QSpinBox;
    m_copies->setObjectName(QStringLiteral("n_copie"));
    m_copies->setRange(1, 10);
    form->addRow(QStringLiteral("Num. pagine"), m_copies);
    button(QStringLiteral("btn_stampa_prev"), QStringLiteral("Stampa questo preventivo"),
           &Tfrm_nuovo_preventivo::btn_stampa_prevClick);
    m_buttons[QStringLiteral("btn_stampa_prev")]->setEnabled(false);
    v->addLayout(row);
    return page;
}

void Tfrm_nuovo_preventivo::prepare() {
    try {
        archive().clearWorking();
    } catch (const StoreError& e) {
        Dialogs::instance().error(kTitle, e.message(), this);
    }
    fillCustomers();
    fillArticles();
    m_vat->clear();
    const VatRates rates(*m_ctx.settings);
    m_vat->addItems(rates.choices());
    if (rates.defaultRate()) m_vat->setCurrentText(rates.defaultRate()->text());
    btn_azzera_campiClick();
    m_number->setText(QString::number(archive().proposeNumber()));
    m_pages->setCurrentIndex(0);
}

void Tfrm_nuovo_preventivo::fillCustomers() {
    m_customer->clear();
    const QString sep = m_ctx.settings->text(u"System", u"Separatore cod-des");
    const QString registry = m_ctx.settings->text(u"Path", u"Archivio anagrafica");
    if (!Store::exists(registry)) return;
    for (const QVariantList& r : m_ctx.store->rows(
             QStringLiteral("SELECT cod_cli, nome FROM %1 ORDER BY cod_cli")
                 .arg(m_ctx.store->table(registry))))
        m_customer->addItem(r[0].toString() + sep + r[1].toString());
    m_customer->setCurrentIndex(-1);
}

void Tfrm_nuovo_preventivo::fillArticles() {
    m_article->clear();
    const QString warehouse = m_ctx.settings->text(u"Path", u"Archivio Magazzino");
    if (!Store::exists(warehouse)) return;
    for (const QVariantList& r : m_ctx.store->rows(
             QStringLiteral("SELECT cod FROM %1 ORDER BY cod").arg(m_ctx.store->table(warehouse))))
        m_article->addItem(r[0].toString());
    m_article->setCurrentIndex(-1);
}

QString Tfrm_nuovo_preventivo::customerCode() const {
    const QString sep = m_ctx.settings->text(u"System", u"Separatore cod-des");
    const QString text = m_customer->currentText();
    return sep.isEmpty() ? text.trimmed() : text.section(sep, 0, 0).trimmed();
}

void Tfrm_nuovo_preventivo::clearCustomerFields() {
    for (QLineEdit* e : std::as_const(m_fields)) e->clear();
    m_exemption.clear();
}

void Tfrm_nuovo_preventivo::cmb_cod_cliSelect() {
    // Fields of the previous customer never stay beside a new one.
    clearCustomerFields();
    if (m_customer->currentText().trimmed().isEmpty()) {
        m_marker->setStyleSheet(QStringLiteral("background: red"));
        return;
    }
    m_marker->setStyleSheet(QStringLiteral("background: green"));
    m_date->setDate(Clock::today());
    const QString registry = m_ctx.settings->text(u"Path", u"Archivio anagrafica");
    const auto rows = m_ctx.store->rows(
        QStringLiteral("SELECT tel, cell, nome, via, citta, prov1, cap, email, piva, cf, pagam, "
                       "COALESCE(art_esiva, '') FROM %1 WHERE cod_cli = ? LIMIT 1")
            .arg(m_ctx.store->table(registry)),
        {customerCode()});
    if (rows.isEmpty()) {
        m_marker->setStyleSheet(QStringLiteral("background: red"));
        if (Dialogs::instance().yesNo(MsgIcon::Question, QStringLiteral("Codice cliente inesistente"),
                                      QStringLiteral("Non esiste il nome in anagrafica. Vuoi "
                                                     "aggiungerlo?"),
                                      this))
            btn_nuovo_clienteClick();
        return;
    }
    int i = 0;
    for (const char16_t* c : kCustomerColumns)
        m_fields[QString::fromUtf16(c)]->setText(rows[0][i++].toString());
    m_payment->setCurrentText(rows[0][10].toString());
    m_exemption = rows[0][11].toString().trimmed();
    m_buttons[QStringLiteral("btn_conferma_cliente")]->setFocus();
}

void Tfrm_nuovo_preventivo::btn_nuovo_clienteClick() {
    if (!runCustomerCard) return;
    const QString typed = m_customer->currentText();
    runCustomerCard();
    // The card may have added the customer: the list is read again, the text kept.
    fillCustomers();
    m_customer->setEditText(typed);
}

void Tfrm_nuovo_preventivo::btn_conferma_clienteClick() {
    m_linePanel->setVisible(true);
    m_article->setFocus();
}

void Tfrm_nuovo_preventivo::cmb_articoloSelect() {
    const QString warehouse = m_ctx.settings->text(u"Path", u"Archivio Magazzino");
    const auto rows = m_ctx.store->rows(
        QStringLiteral("SELECT des, prezzo_ven, iva FROM %1 WHERE Upper(cod) = ? LIMIT 1")
            .arg(m_ctx.store->table(warehouse)),
        {m_article->currentText().trimmed().toUpper()});
    if (rows.isEmpty()) return;
    if (numberOf(m_quant) == 0) m_quant->setText(QStringLiteral("1"));
    m_des->setText(rows[0][0].toString());
    m_price->setText(Money::fromDouble(rows[0][1].toDouble()).editText());
    const auto rate = VatRate::parse(rows[0][2].toString());
    const VatRates rates(*m_ctx.settings);
    if (rate && rate->hundredths() != 0)
        m_vat->setCurrentText(rate->text());
    else if (rates.defaultRate())
        m_vat->setCurrentText(rates.defaultRate()->text());
}

QuoteLine Tfrm_nuovo_preventivo::lineFromFields(QString* error) const {
    QuoteLine l;
    l.cod = m_article->currentText().trimmed();
    l.des = m_des->text();
    l.unitamis = m_unit->currentText();
    l.prezzo = numberOf(m_price);
    l.quant = numberOf(m_quant);
    l.sconto = numberOf(m_discount);
    const auto rate = VatRate::parse(m_vat->currentText());
    const VatRates rates(*m_ctx.settings);
    if (!rate) {
        if (error) *error = QStringLiteral("Aliquota IVA non valida: %1").arg(m_vat->currentText());
    } else {
        l.percIva = rate->percent();
        if (error && rate->hundredths() != 0 && !rates.isConfigured(*rate))
            *error = VatRates::notConfiguredMessage(
                QStringLiteral("riga %1").arg(l.cod.isEmpty() ? l.des : l.cod), *rate);
    }
    l.prezzoAlfa = m_altText->currentText();
    l.stampaAlfa = m_altPrint->isChecked() && !l.prezzoAlfa.isEmpty();
    return l;
}

void Tfrm_nuovo_preventivo::recomputeLine() {
    if (!m_price || !m_quant || !m_discount || !m_vat) return;
    const QuoteLine l = lineFromFields(nullptr);
    const Money taxable = Money::fromDouble(l.prezzo * l.quant);
    const Money net = l.amount();
    const Money vat = net.percent(l.percIva);
    m_lineFigures[QStringLiteral("lbl_totale_iva_escl")]->setText(taxable.format());
    m_lineFigures[QStringLiteral("lbl_netto_iva_escl")]->setText(net.format());
    m_lineFigures[QStringLiteral("lbl_totale_iva")]->setText(vat.format());
    m_lineFigures[QStringLiteral("lbl_totale_ivato")]->setText((net + vat).format());
}

void Tfrm_nuovo_preventivo::Btn_confermaClick() {
    QString error;
    const QuoteLine l = lineFromFields(&error);
    if (!error.isEmpty()) {
        Dialogs::instance().warning(kTitle, error, this);
        return;
    }
    try {
        archive().appendWorking(l, customerCode(), m_date->date());
    } catch (const StoreError& e) {
        Dialogs::instance().error(kTitle, e.message(), this);
        return;
    }
    clearLineFields();
    refreshLines();
    m_article->setFocus();
}

void Tfrm_nuovo_preventivo::btn_cancella_rigaClick() {
    const int row = m_grid->currentRow();
    if (row < 0 || row >= m_rowids.size()) return;
    try {
        archive().removeWorking(m_rowids[row]);
    } catch (const StoreError& e) {
        Dialogs::instance().error(kTitle, e.message(), this);
    }
    refreshLines();
}

void Tfrm_nuovo_preventivo::clearLineFields() {
    m_article->setCurrentIndex(-1);
    m_article->setEditText(QString());
    m_unit->setCurrentIndex(0);
    for (QLineEdit* e : {m_des, m_price, m_quant, m_discount}) e->clear();
    m_altText->setCurrentIndex(0);
    m_altPrint->setChecked(false);
    for (QLabel* l : std::as_const(m_lineFigures)) l->clear();
}

void Tfrm_nuovo_preventivo::refreshLines() {
    const QList<QuoteLine> lines = archive().workingLines();
    m_rowids.clear();
    m_grid->setRowCount(static_cast<int>(lines.size()));
    int row = 0;
    for (const QuoteLine& l : lines) {
        m_rowids.append(l.rowid);
        const QStringList cells = {l.cod,
                                   l.des,
                                   QString::number(l.quant),
                                   Money::fromDouble(l.prezzo).format(),
                                   QString::number(l.sconto),
                                   VatRate::fromDouble(l.percIva).text(),
                                   l.amount().format()};
        for (int c = 0; c < cells.size(); ++c)
            m_grid->setItem(row, c, new QTableWidgetItem(cells[c]));
        ++row;
    }
    m_buttons[QStringLiteral("btn_avanti")]->setEnabled(!lines.isEmpty());
}

void Tfrm_nuovo_preventivo::showSummary() {
    const DocumentTotals t = archive().totalsOf(archive().workingLines(), m_exemption);
    const QuoteFigures f = QuoteArchive::figuresOf(t);
    const auto rates = t.rates().configured();
    m_summary[QStringLiteral("lbl_num_prev")]->setText(m_number->text());
    m_summary[QStringLiteral("lbl_imponibile")]->setText(f.taxable.format());
    for (int i = 0; i < 3; ++i) {
        const QString n = QStringLiteral("lbl_iva%1").arg(i + 1);
        m_summary[n + QStringLiteral("_caption")]->setText(
            QStringLiteral("Iva ") + (rates[i] ? rates[i]->text() : QString()) +
            QStringLiteral("% sul totale"));
        m_summary[n]->setText(f.vat[i].format());
    }
    m_summary[QStringLiteral("lbl_iva_tot")]->setText(f.vatTotal.format());
    m_summary[QStringLiteral("lbl_totale")]->setText(f.total.format());
}

void Tfrm_nuovo_preventivo::btn_avantiClick() {
    showSummary();
    m_pages->setCurrentIndex(1);
}

void Tfrm_nuovo_preventivo::btn_indietroClick() { m_pages->setCurrentIndex(0); }

void Tfrm_nuovo_preventivo::btn_registra_preventivoClick() {
    bool ok = false;
    QuoteHeader h;
    h.number = m_number->text().trimmed().toLongLong(&ok);
    if (!ok || h.number <= 0) {
        Dialogs::instance().warning(kTitle, QStringLiteral("Numero di preventivo non valido."), this);
        return;
    }
    h.date = m_date->date();
    h.codCli = customerCode();
    h.nomeCli = m_fields[QStringLiteral("nome")]->text();
    h.piva = m_fields[QStringLiteral("piva")]->text();
    h.cf = m_fields[QStringLiteral("cf")]->text();
    h.oggetto = m_subject->text();
    h.pagam = m_payment->currentText();
    h.titoloesen = m_exemption;
    for (QDate& d : h.dates) d = Clock::today();
    h.validita = Clock::today();
    try {
        archive().save(h);
    } catch (const StoreError& e) {
        Dialogs::instance().error(kTitle, QuoteArchive::saveErrorMessage(e.message()), this);
        return;
    }
    // A quote is saved once per writing.
    m_buttons[QStringLiteral("btn_registra_preventivo")]->setEnabled(false);
    m_saved = h.number;
    m_buttons[QStringLiteral("btn_stampa_prev")]->setEnabled(true);
    refreshLines();
}

void Tfrm_nuovo_preventivo::btn_nuovo_preventivoClick() {
    try {
        archive().clearWorking();
    } catch (const StoreError& e) {
        Dialogs::instance().error(kTitle, e.message(), this);
    }
    btn_azzera_campiClick();
    m_number->setText(QString::number(archive().proposeNumber()));
    m_pages->setCurrentIndex(0);
}

void Tfrm_nuovo_preventivo::btn_azzera_campiClick() {
    try {
        archive().clearWorking();
    } catch (const StoreError& e) {
        Dialogs::instance().error(kTitle, e.message(), this);
    }
    m_customer->setCurrentIndex(-1);
    m_customer->setEditText(QString());
    clearCustomerFields();
    clearLineFields();
    m_subject->clear();
    m_date->setDate(Clock::today());
    for (QLabel* l : std::as_const(m_summary))
        if (!l->objectName().endsWith(QStringLiteral("_caption"))) l->clear();
    m_linePanel->setVisible(false);
    m_buttons[QStringLiteral("btn_conferma_cliente")]->setVisible(true);
    m_buttons[QStringLiteral("btn_conferma_cliente")]->setEnabled(true);
    m_buttons[QStringLiteral("btn_registra_preventivo")]->setEnabled(true);
    m_buttons[QStringLiteral("btn_stampa_prev")]->setEnabled(false);
    m_saved = 0;
    refreshLines();
}

void Tfrm_nuovo_preventivo::btn_stampa_prevClick() {
    if (m_saved == 0) return;
    std::optional<QuotePrintData> data;
    try {
        data = Trpt_preventivo::load(*m_ctx.store, *m_ctx.settings, m_saved);
    } catch (const StoreError& e) {
        Dialogs::instance().error(kTitle, e.message(), this);
        return;
    }
    if (!data) {
        Dialogs::instance().warning(kTitle, Trpt_preventivo::missingMessage(m_saved), this);
        return;
    }
    auto on = [this](const char16_t* name) { return m_printOptions[QString::fromUtf16(name)]->isChecked(); };
    QuotePrintOptions o;
    o.companyHeading = m_printModel->currentIndex() != 2;
    o.secondaryLogo = on(u"chk_logo_extra");
    o.currency = on(u"chk_stampa_valuta");
    o.unit = on(u"chk_unita_misura");
    o.quantity = on(u"chk_quantita");
    o.footerOnLastPageOnly = on(u"chk_piede_fine");
    o.altText = on(u"chk_testo_alternativo");
    o.amountsRow = !on(u"chk_no_importi");
    o.notes = on(u"chk_note");
    o.copies = m_copies->value();
    const auto model = m_printModel->currentIndex() <= 0 ? Trpt_preventivo::Model::Full
                                                         : Trpt_preventivo::Model::Simple;
    if (showPrint) {
        showPrint(*data, o, model);
        return;
    }
    report::PreviewWindow::run(Trpt_preventivo(*m_ctx.settings, model).render(*data, o), o.copies,
                               this);
}

void Tfrm_nuovo_preventivo::btn_uscitaClick() {
    if (!Dialogs::instance().yesNo(MsgIcon::Question, QStringLiteral("Uscita da nuovo preventivo"),
                                   QStringLiteral("Confermi l'uscita dall'inserimento?\r\nTutti i "
                                                  "dati inseriti saranno persi \r\ne dovranno "
                                                  "essere reinseriti."),
                                   this))
        return;
    QDialog::reject();
}

void Tfrm_nuovo_preventivo::reject() {
    m_linePanel->setVisible(false);
    m_buttons[QStringLiteral("btn_avanti")]->setEnabled(false);
    QDialog::reject();
}

}  // namespace zel
