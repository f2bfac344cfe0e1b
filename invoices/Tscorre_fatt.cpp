#include "invoices/Tscorre_fatt.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QSplitter>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "ddt/DdtArchive.h"
#include "documents/Money.h"
#include "invoices/TQRfatt.h"
#include "report/PreviewWindow.h"
#include "settings/Settings.h"
#include "store/Store.h"
#include "ui/DateEdit.h"
#include "ui/Dialogs.h"
#include "ui/Formats.h"

namespace zel {

namespace {

constexpr int kDecimals[4] = {2, 1, 3, 0};

template <class W>
W* named(W* w, const char* name) {
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

}  // namespace

Tscorre_fatt::Tscorre_fatt(AppContext& ctx, QWidget* parent) : QDialog(parent), m_ctx(ctx) {
    setObjectName(QStringLiteral("Tscorre_fatt"));
    showPreview = [this](const report::PageModel& m, int copies) {
        report::PreviewWindow::run(m, copies, this);
    };
    buildUi();
}

void Tscorre_fatt::buildUi() {
    setWindowTitle(title());
    auto* root = new QVBoxLayout(this);

    auto* filters = new QGroupBox(QStringLiteral("Filtro"), this);
    auto* fl = new QGridLayout(filters);
    edt_filtro_cliente = named(new QLineEdit(filters), "edt_filtro_cliente");
    edt_filtro_cliente->setMaxLength(20);
    edt_filtro_dal = named(new DateEdit(filters), "edt_filtro_dal");
    edt_filtro_al = named(new DateEdit(filters), "edt_filtro_al");
    edt_filtro_numero = named(new QLineEdit(filters), "edt_filtro_numero");
    cmb_filtro_tipo = named(new QComboBox(filters), "cmb_filtro_tipo");
    auto* setFilter =
        named(new QPushButton(QStringLiteral("Applica filtro"), filters), "btn_set_filtro");
    auto* resetFilter =
        named(new QPushButton(QStringLiteral("Tutte"), filters), "btn_reset_filtro");
    cmb_archivio = named(new QComboBox(filters), "cmb_archivio");
    fl->addWidget(new QLabel(QStringLiteral("Cliente"), filters), 0, 0);
    fl->addWidget(edt_filtro_cliente, 0, 1);
    fl->addWidget(new QLabel(QStringLiteral("Dal"), filters), 0, 2);
    fl->addWidget(edt_filtro_dal, 0, 3);
    fl->addWidget(new QLabel(QStringLiteral("Al"), filters), 0, 4);
    fl->addWidget(edt_filtro_al, 0, 5);
    fl->addWidget(new QLabel(QStringLiteral("Numero"), filters), 1, 0);
    fl->addWidget(edt_filtro_numero, 1, 1);
    fl->addWidget(new QLabel(QStringLiteral("Tipo documento"), filters), 1, 2);
    fl->addWidget(cmb_filtro_tipo, 1, 3);
    fl->addWidget(setFilter, 1, 4);
    fl->addWidget(resetFilter, 1, 5);
    fl->addWidget(new QLabel(QStringLiteral("Archivio"), filters), 0, 6);
    fl->addWidget(cmb_archivio, 0, 7);
    root->addWidget(filters);

    auto* split = new QSplitter(Qt::Vertical, this);
    m_model = new InvoiceListModel(this);
    grid_fatture = named(new QTableView(split), "grid_fatture");
    grid_fatture->setModel(m_model);
    grid_fatture->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_fatture->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_fatture->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_fatture->verticalHeader()->setDefaultSectionSize(22);
    grid_fatture->verticalHeader()->hide();
    grid_righe = named(new QTableWidget(0, 8, split), "grid_righe");
    grid_righe->setHorizontalHeaderLabels(
        {QStringLiteral("Codice"), QStringLiteral("Descrizione"), QStringLiteral("U.M."),
         QStringLiteral("Quant."), QStringLiteral("Prz.unit."), QStringLiteral("Sc.%"),
         QStringLiteral("Pz. netto"), QStringLiteral("Imponibile")});
    grid_righe->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_righe->verticalHeader()->hide();
    root->addWidget(split, 1);
    lbl_conta = named(new QLabel(this), "lbl_conta");
    root->addWidget(lbl_conta);

    auto* print = new QGroupBox(QStringLiteral("Opzioni di stampa"), this);
    auto* pl = new QGridLayout(print);
    struct Tick {
        QCheckBox** box;
        const char* name;
        const char16_t* text;
    };
    const Tick ticks[] = {
        {&chk_scadenze, "chk_scadenze", u"Stampa campi scadenza"},
        {&chk_valuta, "chk_valuta", u"Visualizza simbolo valuta in fattura"},
        {&chk_anno, "chk_anno", u"Stampa anno a fianco al numero fattura"},
        {&chk_iban, "chk_iban", u"Stampa campi Coordinate bancarie IBAN"},
        {&chk_um, "chk_um", u"Visualizza e stampa unità di misura in fattura"},
        {&chk_quant, "chk_quant", u"Visualizza e stampa quantità in fattura"},
        {&chk_kg, "chk_kg", u"Visualizza e stampa KG  in fattura"},
        {&chk_conai, "chk_conai", u"Visualizza e stampa \"Contributo CONAI assolto\"  in fattura"},
        {&chk_ci, "chk_vis_CI", u"Visualizza e stampa C.I. in alternativa a KG  in fattura"},
        {&chk_logo_aggiuntivo, "chk_logo_aggiuntivo", u"Stampa logo aggiuntivo"},
        {&chk_sconto_zero, "chk_sconto_zero", u"Sconto ZERO"},
        {&chk_copia_conforme, "chk_copia_conforme", u"Copia conforme"},
        {&chk_valuta_secondaria, "chk_valuta_secondaria", u"Totale fattura in valuta secondaria"},
    };
    int i = 0;
    for (const Tick& t : ticks) {
        *t.box = named(new QCheckBox(QString::fromUtf16(t.text), print), t.name);
        pl->addWidget(*t.box, i / 3, i % 3);
        ++i;
    }
    auto* decimals = new QHBoxLayout;
    const char16_t* formats[4] = {u"###,##0.00", u"###,##0.0", u"###,##0.000", u"###,##0"};
    for (int k = 0; k < 4; ++k) {
        rb_decimali[k] = new QRadioButton(QString::fromUtf16(formats[k]), print);
        rb_decimali[k]->setObjectName(QStringLiteral("rb_decimali%1").arg(k + 1));
        decimals->addWidget(rb_decimali[k]);
    }
    num_copie = named(new QSpinBox(print), "num_copie");
    num_copie->setRange(1, 99);
    decimals->addWidget(new QLabel(QStringLiteral("Copie"), print));
    decimals->addWidget(num_copie);
    pl->addLayout(decimals, i / 3 + 1, 0, 1, 3);
    root->addWidget(print);

    auto* buttons = new QHBoxLayout;
    auto* btnPrint = named(new QPushButton(QStringLiteral("Stampa fattura"), this), "btn_stampa");
    auto* btnDelete =
        named(new QPushButton(QStringLiteral("Elimina fattura"), this), "btn_elimina_fattura");
    auto* btnClose = named(new QPushButton(QStringLiteral("Chiudi"), this), "btn_chiudi");
    buttons->addWidget(btnPrint);
    buttons->addWidget(btnDelete);
    buttons->addStretch();
    buttons->addWidget(btnClose);
    root->addLayout(buttons);

    connect(setFilter, &QPushButton::clicked, this, &Tscorre_fatt::btn_set_filtroClick);
    connect(resetFilter, &QPushButton::clicked, this, &Tscorre_fatt::btn_reset_filtroClick);
    connect(edt_filtro_cliente, &QLineEdit::returnPressed, this,
            &Tscorre_fatt::btn_set_filtroClick);
    connect(edt_filtro_numero, &QLineEdit::returnPressed, this, &Tscorre_fatt::btn_set_filtroClick);
    connect(cmb_archivio, &QComboBox::activated, this, [this](int k) {
        if (k >= 0) showYear(cmb_archivio->itemText(k).toInt());
    });
    connect(grid_fatture->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { showCurrent(); });
    connect(btnPrint, &QPushButton::clicked, this, &Tscorre_fatt::btn_stampaClick);
    connect(btnDelete, &QPushButton::clicked, this, &Tscorre_fatt::btn_elimina_fatturaClick);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::accept);
    resize(1100, 800);
}

void Tscorre_fatt::FormShow() {
    m_archives = InvoiceArchives::fromSettings(*m_ctx.settings);
    const InvoicePrintOptions o = InvoicePrintOptions::fromSettings(*m_ctx.settings);
    chk_scadenze->setChecked(o.dueDates);
    chk_valuta->setChecked(o.currencySymbol);
    chk_anno->setChecked(o.yearSuffix);
    chk_iban->setChecked(o.iban);
    chk_um->setChecked(o.unitColumn);
    chk_quant->setChecked(o.quantityColumn);
    chk_kg->setChecked(o.weightColumn);
    chk_conai->setChecked(o.conai);
    chk_ci->setChecked(o.vatColumn);
    chk_logo_aggiuntivo->setChecked(o.extraLogo);
    chk_sconto_zero->setChecked(false);
    chk_copia_conforme->setChecked(false);
    chk_valuta_secondaria->setChecked(false);
    const int* d = std::find(std::begin(kDecimals), std::end(kDecimals), o.amountDecimals);
    rb_decimali[d == std::end(kDecimals) ? 0 : d - std::begin(kDecimals)]->setChecked(true);
    num_copie->setValue(o.copies);
    btn_reset_filtroClick();
}

void Tscorre_fatt::showCustomer(const QString& code) {
    FormShow();
    edt_filtro_cliente->setText(code);
    btn_set_filtroClick();
}

void Tscorre_fatt::showInvoice(const InvoiceKey& key, const QDate& date) {
    FormShow();
    if (date.isValid() && date.year() != shownYear()) showYear(date.year());
    edt_filtro_cliente->setText(key.customer);
    btn_set_filtroClick();
    const int row = m_model->rowOf(key);
    if (row >= 0) selectRow(row);
}

QList<int> Tscorre_fatt::archiveYears() const { return invoiceYears(m_ctx.base); }

void Tscorre_fatt::showYear(int year) {
    m_archives = invoiceArchivesOfYear(*m_ctx.settings, year);
    setWindowTitle(QStringLiteral("%1 - archivio %2").arg(title()).arg(year));
    fillKinds();
    reload(0);
}

void Tscorre_fatt::fillKinds() {
    const QString kept = cmb_filtro_tipo->currentText();
    cmb_filtro_tipo->clear();
    cmb_filtro_tipo->addItem(QString());
    try {
        if (Store::exists(m_archives.header))
            cmb_filtro_tipo->addItems(InvoiceBrowser(*m_ctx.store, m_archives).kinds());
    } catch (const StoreError&) {
        // The list is read again with the rows, which says what is wrong.
    }
    cmb_filtro_tipo->setCurrentText(kept);
    cmb_archivio->clear();
    for (int y : archiveYears()) cmb_archivio->addItem(QString::number(y));
    cmb_archivio->setCurrentText(QString::number(shownYear()));
}

void Tscorre_fatt::btn_set_filtroClick() {
    InvoiceFilter f;
    f.customer = edt_filtro_cliente->text().trimmed();
    f.from = edt_filtro_dal->date();
    f.to = edt_filtro_al->date();
    const QString number = edt_filtro_numero->text().trimmed();
    if (!number.isEmpty()) {
        bool ok = false;
        f.number = number.toLongLong(&ok);
        if (!ok || f.number <= 0) {
            Dialogs::instance().warning(
                title(), QStringLiteral("Numero di fattura non valido: %1").arg(number), this);
            return;
        }
    }
    f.kind = cmb_filtro_tipo->currentText();
    m_filter = f;
    reload(0);
}

void Tscorre_fatt::btn_reset_filtroClick() {
    edt_filtro_cliente->clear();
    edt_filtro_dal->setDate({});
    edt_filtro_al->setDate({});
    edt_filtro_numero->clear();
    cmb_filtro_tipo->setCurrentIndex(0);
    m_filter = InvoiceFilter{};
    if (m_archives.header.isEmpty()) m_archives = InvoiceArchives::fromSettings(*m_ctx.settings);
    fillKinds();
    reload(0);
}

void Tscorre_fatt::reload(int keepRow) {
    try {
        m_model->select(*m_ctx.store, m_archives, m_filter);
    } catch (const StoreError& e) {
        m_model->clear();
        Dialogs::instance().error(title(), e.message(), this);
    }
    lbl_conta->setText(QStringLiteral("Fatture: %1").arg(m_model->rowCount()));
    if (m_model->rowCount() == 0) {
        showCurrent();
        return;
    }
    selectRow(std::clamp(keepRow, 0, m_model->rowCount() - 1));
}

void Tscorre_fatt::selectRow(int row) {
    if (row < 0 || row >= m_model->rowCount()) return;
    grid_fatture->setCurrentIndex(m_model->index(row, 0));
    showCurrent();
}

std::optional<InvoiceKey> Tscorre_fatt::currentKey() const {
    const int row = grid_fatture->currentIndex().row();
    if (row < 0 || row >= m_model->rowCount()) return std::nullopt;
    return m_model->entry(row).key();
}

void Tscorre_fatt::showCurrent() {
    m_lines.clear();
    grid_righe->setRowCount(0);
    const std::optional<InvoiceKey> key = currentKey();
    if (!key) return;
    try {
        m_lines = InvoiceBrowser(*m_ctx.store, m_archives).lines(*key);
    } catch (const StoreError& e) {
        Dialogs::instance().error(title(), e.message(), this);
        return;
    }
    grid_righe->setRowCount(static_cast<int>(m_lines.size()));
    for (int r = 0; r < m_lines.size(); ++r) {
        const QVariantMap& l = m_lines[r];
        const double quant = rowValue(l, u"QUANT").toDouble();
        const bool heading = decimal::scaled(quant, 6) == 0;
        auto num = [heading](double v) {
            return heading || v == 0 ? QString() : fmt::number(v, u"###,##0.00");
        };
        const Money amount =
            Money::lineAmount(quant, decimal::scaled(rowValue(l, u"PREZZONETT").toDouble(), 6), 6);
        const QString cells[8] = {rowValue(l, u"COD").toString(),
                                  rowValue(l, u"DES").toString(),
                                  rowValue(l, u"UNITAMIS").toString(),
                                  num(quant),
                                  num(rowValue(l, u"PREZZO").toDouble()),
                                  num(rowValue(l, u"SCONTO").toDouble()),
                                  num(rowValue(l, u"PREZZONETT").toDouble()),
                                  amount.isZero() ? QString() : amount.format()};
        for (int c = 0; c < 8; ++c) grid_righe->setItem(r, c, new QTableWidgetItem(cells[c]));
    }
}

InvoicePrintOptions Tscorre_fatt::printOptions() const {
    InvoicePrintOptions o;
    o.dueDates = chk_scadenze->isChecked();
    o.currencySymbol = chk_valuta->isChecked();
    o.yearSuffix = chk_anno->isChecked();
    o.iban = chk_iban->isChecked();
    o.unitColumn = chk_um->isChecked();
    o.quantityColumn = chk_quant->isChecked();
    o.weightColumn = chk_kg->isChecked();
    o.conai = chk_conai->isChecked();
    o.vatColumn = chk_ci->isChecked();
    o.extraLogo = chk_logo_aggiuntivo->isChecked();
    o.zeroDiscount = chk_sconto_zero->isChecked();
    o.certifiedCopy = chk_copia_conforme->isChecked();
    o.secondCurrency = chk_valuta_secondaria->isChecked();
    for (int k = 0; k < 4; ++k)
        if (rb_decimali[k]->isChecked()) o.amountDecimals = kDecimals[k];
    o.copies = num_copie->value();
    return o;
}

void Tscorre_fatt::btn_stampaClick() {
    const std::optional<InvoiceKey> key = currentKey();
    if (!key) {
        Dialogs::instance().warning(title(), QStringLiteral("Nessuna fattura selezionata."), this);
        return;
    }
    std::optional<InvoicePrintData> data;
    try {
        data = TQRfatt::load(*m_ctx.store, m_archives, *key);
    } catch (const StoreError& e) {
        Dialogs::instance().error(title(), e.message(), this);
        return;
    }
    if (!data) {
        Dialogs::instance().warning(
            title(),
            QStringLiteral("La fattura n. %1 del cliente %2 non è più presente in archivio.")
                .arg(key->number)
                .arg(key->customer),
            this);
        reload(0);
        return;
    }
    const InvoicePrintOptions o = printOptions();
    showPreview(TQRfatt(*m_ctx.settings).render(*data, o), o.copies);
}

void Tscorre_fatt::btn_elimina_fatturaClick() {
    const std::optional<InvoiceKey> key = currentKey();
    if (!key) return;
    Dialogs& d = Dialogs::instance();
    const QString caption = QStringLiteral("Elimina fattura");
    if (!d.yesNo(MsgIcon::Question, caption, InvoiceBrowser::deleteQuestion(*key), this)) return;
    const int row = grid_fatture->currentIndex().row();
    InvoiceDeletion out;
    try {
        // Safety copies first, while no transaction is open.
        for (const QString& path : {m_archives.header, m_archives.lines, m_archives.deadlines})
            if (Store::exists(path)) m_ctx.store->backupOnce(path);
        out = InvoiceBrowser(*m_ctx.store, m_archives).remove(*key);
    } catch (const StoreError& e) {
        d.error(caption,
                QStringLiteral(
                    "La fattura n. %1 non è stata eliminata: archivi e scadenze sono rimasti come "
                    "prima.\r\n%2")
                    .arg(key->number)
                    .arg(e.message()),
                this);
        reload(row);
        return;
    }
    if (!out.deleted) {
        d.warning(caption, out.refusal, this);
        reload(row);
        return;
    }
    d.info(caption,
           QStringLiteral("La fattura n. %1 è stata eliminata con %2 righe e %3 scadenze.")
               .arg(key->number)
               .arg(out.lines)
               .arg(out.deadlines),
           this);
    fillKinds();
    reload(row);
}

}  // namespace zel
