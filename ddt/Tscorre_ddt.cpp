#include "ddt/Tscorre_ddt.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTimeEdit>
#include <QVBoxLayout>

#include "core/Clock.h"
#include "core/Paths.h"
#include "ddt/TQR1.h"
#include "documents/Money.h"
#include "documents/VatRates.h"
#include "registry/Tfrm_cerca.h"
#include "report/PreviewWindow.h"
#include "settings/Settings.h"
#include "store/Store.h"
#include "ui/DateEdit.h"
#include "ui/Dialogs.h"
#include "ui/Formats.h"
#include "ui/TrayNotice.h"
#include "warehouse/Tmov_check.h"

namespace zel {

namespace {

QPushButton* button(const QString& name, const QString& caption, QWidget* parent) {
    auto* b = new QPushButton(
        QString(caption).replace(QStringLiteral("\r\n"), QStringLiteral("\n")), parent);
    b->setObjectName(name);
    return b;
}

template <class W>
W* named(W* w, const QString& name) {
    w->setObjectName(name);
    return w;
}

QComboBox* combo(const QString& name, const QStringList& items, QWidget* parent,
                 bool editable = true) {
    auto* c = named(new QComboBox(parent), name);
    c->setEditable(editable);
    c->addItems(items);
    return c;
}

void setComboText(QComboBox* c, const QString& text) {
    const int i = c->findText(text);
    if (i >= 0)
        c->setCurrentIndex(i);
    else if (c->isEditable())
        c->setEditText(text);
}

QString text(const QVariantMap& row, QStringView column) {
    return rowValue(row, column).toString().trimmed();
}
double number(const QVariantMap& row, QStringView column) {
    return rowValue(row, column).toDouble();
}
double parsed(const QLineEdit* e) { return fmt::parseNumber(e->text()); }

}  // namespace

Tscorre_ddt::Tscorre_ddt(AppContext& ctx, QWidget* parent) : QDialog(parent), m_ctx(ctx) {
    setObjectName(QStringLiteral("Tscorre_ddt"));
    setWindowTitle(QStringLiteral("Scorrimento DDT"));
    m_archives = DdtYearArchives::fromSettings(*ctx.settings);
    buildUi();
    pickCustomer = [this]() -> QString {
        Tfrm_cerca* own = nullptr;
        Tfrm_cerca& dialog = m_ctx.windows ? m_ctx.windows->window<Tfrm_cerca>()
                                           : *(own = new Tfrm_cerca(m_ctx, this));
        dialog.choosePage(Tfrm_cerca::Page::CustomerByName);
        const bool ok = dialog.execModal() == 1;
        const QString code = ok ? dialog.foundCode() : QString();
        delete own;
        return code;
    };
    showPreview = [this](const report::PageModel& m, int copies) {
        report::PreviewWindow::run(m, copies, this);
    };
}

void Tscorre_ddt::buildUi() {
    auto* root = new QVBoxLayout(this);

    // Filter and commands.
    auto* filters = new QGridLayout;
    m_chkFatturabili = named(new QCheckBox(QStringLiteral("Solo fatturabili"), this),
                             QStringLiteral("chk_fatturabili"));
    m_chkCarico =
        named(new QCheckBox(QStringLiteral("Carico merce"), this), QStringLiteral("chk_carico"));
    m_chkScarico =
        named(new QCheckBox(QStringLiteral("Scarico merce"), this), QStringLiteral("chk_scarico"));
    m_fNumero = named(new QLineEdit(this), QStringLiteral("edt_filtro_ddt"));
    m_fCliente = named(new QLineEdit(this), QStringLiteral("edt_filtro_cliente"));
    m_fFornitore = named(new QLineEdit(this), QStringLiteral("edt_filtro_fornitore"));
    m_fOrdine = named(new QLineEdit(this), QStringLiteral("edt_filtro_ordine"));
    m_cerca = named(new QLineEdit(this), QStringLiteral("edt_cerca"));
    filters->addWidget(m_chkFatturabili, 0, 0);
    filters->addWidget(m_chkCarico, 0, 1);
    filters->addWidget(m_chkScarico, 0, 2);
    filters->addWidget(new QLabel(QStringLiteral("Num DDT"), this), 1, 0);
    filters->addWidget(m_fNumero, 1, 1);
    filters->addWidget(new QLabel(QStringLiteral("Cod. cliente"), this), 1, 2);
    filters->addWidget(m_fCliente, 1, 3);
    filters->addWidget(new QLabel(QStringLiteral("Cod. fornitore"), this), 2, 0);
    filters->addWidget(m_fFornitore, 2, 1);
    filters->addWidget(new QLabel(QStringLiteral("Ordine"), this), 2, 2);
    filters->addWidget(m_fOrdine, 2, 3);
    QPushButton* setFilter =
        button(QStringLiteral("btn_set_filtro"), QStringLiteral("Set Filtro"), this);
    QPushButton* resetFilter =
        button(QStringLiteral("btn_reset_filtro"), QStringLiteral("Reset Filtro"), this);
    QPushButton* all = button(QStringLiteral("btn_tutti"), QStringLiteral("Tutti i movim."), this);
    QPushButton* search = button(QStringLiteral("btn_cerca"), QStringLiteral("Cerca"), this);
    filters->addWidget(setFilter, 0, 4);
    filters->addWidget(resetFilter, 1, 4);
    filters->addWidget(all, 2, 4);
    filters->addWidget(m_cerca, 0, 5);
    filters->addWidget(search, 1, 5);
    QPushButton* archive =
        button(QStringLiteral("btn_cambia_archivio"), QStringLiteral("Cambia\r\narchivio"), this);
    m_archivio = combo(QStringLiteral("cmb_archivio"), {}, this, false);
    filters->addWidget(archive, 0, 6);
    filters->addWidget(m_archivio, 1, 6);
    root->addLayout(filters);

    auto* commands = new QHBoxLayout;
    QPushButton* del =
        button(QStringLiteral("btn_elimina_ddt"), QStringLiteral("Elimina\r\nDDT"), this);
    QPushButton* print =
        button(QStringLiteral("btn_stampa_ddt"), QStringLiteral("Stampa\r\nDDT"), this);
    QPushButton* recipient = button(QStringLiteral("btn_cambia_destinatario"),
                                    QStringLiteral("Cambia\r\ndestinatario"), this);
    QPushButton* moves =
        button(QStringLiteral("btn_movimenti"),
               QStringLiteral("Visualizza\r\nelenco movimenti\r\ndi magazzino"), this);
    QPushButton* edit = button(QStringLiteral("btn_edit"), QStringLiteral("EDIT"), this);
    QPushButton* detail = button(QStringLiteral("btn_dett"), QStringLiteral("DETT."), this);
    for (QPushButton* b : {del, print, recipient, moves, edit, detail}) commands->addWidget(b);
    m_count = named(new QLabel(this), QStringLiteral("lbl_conta_ddt"));
    commands->addStretch();
    commands->addWidget(m_count);
    root->addLayout(commands);

    m_model = new DdtListModel(this);
    m_grid = named(new QTableView(this), QStringLiteral("grid_ddt"));
    m_grid->setModel(m_model);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->verticalHeader()->setDefaultSectionSize(20);
    m_grid->verticalHeader()->hide();
    root->addWidget(m_grid, 3);

    m_pages = named(new QTabWidget(this), QStringLiteral("pages"));
    root->addWidget(m_pages, 4);

    // Lines of the current DDT.
    auto* detailPage = new QWidget(m_pages);
    auto* dl = new QVBoxLayout(detailPage);
    m_linesGrid = named(new QTableWidget(0, 10, detailPage), QStringLiteral("grid_righe"));
    m_linesGrid->setHorizontalHeaderLabels(
        {QStringLiteral("Data"), QStringLiteral("Num DDT"), QStringLiteral("Cod. articolo"),
         QStringLiteral("Descrizione articolo"), QStringLiteral("Prz. unitario"),
         QStringLiteral("Prz netto"), QStringLiteral("Un. mis."), QStringLiteral("Quant."),
         QStringLiteral("Peso"), QStringLiteral("Colli")});
    m_linesGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_linesGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_linesGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_linesGrid->verticalHeader()->hide();
    m_noLines = named(
        new QLabel(QStringLiteral("Non sono presenti movimenti per questo D.D.T."), detailPage),
        QStringLiteral("lbl_nessun_movimento"));
    m_noLines->hide();
    m_totals = named(new QLabel(detailPage), QStringLiteral("lbl_totali"));
    dl->addWidget(m_noLines);
    dl->addWidget(m_linesGrid);
    dl->addWidget(m_totals);
    m_pages->addTab(detailPage, QStringLiteral("Dettaglio"));

    // Editing page.
    auto* editPage = new QWidget(m_pages);
    auto* el = new QGridLayout(editPage);
    auto* lineForm = new QFormLayout;
    m_cod = named(new QLineEdit(editPage), QStringLiteral("edt_cod"));
    m_des = named(new QLineEdit(editPage), QStringLiteral("edt_des"));
    m_prezzo = named(new QLineEdit(editPage), QStringLiteral("edt_prezzo"));
    m_sconto = named(new QLineEdit(editPage), QStringLiteral("edt_sconto"));
    m_prezzoNett = named(new QLineEdit(editPage), QStringLiteral("edt_prezzonett"));
    m_prezzoNett->setReadOnly(true);
    const VatRates rates(*m_ctx.settings);
    m_iva = combo(QStringLiteral("cmb_iva"), rates.choices(), editPage);
    m_um = combo(
        QStringLiteral("cmb_um"),
        {QStringLiteral("N."), QStringLiteral("Kg."), QStringLiteral("Pz."), QStringLiteral("gr."),
         QStringLiteral("l."), QStringLiteral("Conf."), QStringLiteral("mtr")},
        editPage);
    m_quant = named(new QLineEdit(editPage), QStringLiteral("edt_quant"));
    m_peso = named(new QLineEdit(editPage), QStringLiteral("edt_peso"));
    m_colli = named(new QLineEdit(editPage), QStringLiteral("edt_colli"));
    m_ordine = named(new QLineEdit(editPage), QStringLiteral("edt_ordine"));
    m_dataOrd = named(new DateEdit(editPage), QStringLiteral("dte_dataord"));
    m_dataRiga = named(new DateEdit(editPage), QStringLiteral("dte_data"));
    m_fatturaRiga = combo(QStringLiteral("cmb_fattura_riga"),
                          {QStringLiteral("S"), QStringLiteral("N")}, editPage, false);
    m_flag = named(new QLineEdit(editPage), QStringLiteral("edt_flag"));
    m_flag->setMaxLength(1);
    lineForm->addRow(QStringLiteral("Cod. articolo"), m_cod);
    lineForm->addRow(QStringLiteral("Descrizione articolo"), m_des);
    lineForm->addRow(QStringLiteral("Prz. unitario"), m_prezzo);
    lineForm->addRow(QStringLiteral("Sconto %"), m_sconto);
    lineForm->addRow(QStringLiteral("Prz netto"), m_prezzoNett);
    lineForm->addRow(QStringLiteral("IVA %"), m_iva);
    lineForm->addRow(QStringLiteral("Un. mis."), m_um);
    lineForm->addRow(QStringLiteral("Quant."), m_quant);
    lineForm->addRow(QStringLiteral("Peso"), m_peso);
    lineForm->addRow(QStringLiteral("Colli"), m_colli);
    lineForm->addRow(QStringLiteral("Ordine"), m_ordine);
    lineForm->addRow(QStringLiteral("Data ordine"), m_dataOrd);
    lineForm->addRow(QStringLiteral("Data"), m_dataRiga);
    lineForm->addRow(QStringLiteral("Fatturare"), m_fatturaRiga);
    lineForm->addRow(QStringLiteral("Contrassegno"), m_flag);
    el->addLayout(lineForm, 0, 0);

    auto* headForm = new QFormLayout;
    m_causale =
        combo(QStringLiteral("cmb_causale"),
              {QStringLiteral("Vendita"), QStringLiteral("C/to lavorazione"),
               QStringLiteral("C/to riparazione"), QStringLiteral("C/to visione"),
               QStringLiteral("Reso in garanzia"), QStringLiteral("Reso non conforme"), QString()},
              editPage);
    m_porto = combo(
        QStringLiteral("cmb_porto"),
        {QStringLiteral("Assegnato"), QStringLiteral("Franco"), QStringLiteral("Franco fabbrica")},
        editPage);
    m_aspetto =
        combo(QStringLiteral("cmb_aspetto"),
              {QStringLiteral("A vista"), QStringLiteral("Alla rinfusa"), QStringLiteral("Bidoni"),
               QStringLiteral("Casse"), QStringLiteral("Container"), QStringLiteral("Contenitori"),
               QStringLiteral("Pallet"), QStringLiteral("Sacchi"), QStringLiteral("Scatole")},
              editPage);
    m_trasporto = combo(
        QStringLiteral("cmb_trasporto"),
        {QStringLiteral("Destinatario"), QStringLiteral("Mittente"), QStringLiteral("Vettore")},
        editPage);
    m_imballo = named(new QLineEdit(editPage), QStringLiteral("edt_imballo"));
    m_ordineDdt = named(new QLineEdit(editPage), QStringLiteral("edt_ordine_ddt"));
    m_note1 = named(new QLineEdit(editPage), QStringLiteral("edt_note1"));
    m_note2 = named(new QLineEdit(editPage), QStringLiteral("edt_note2"));
    m_fatturaDdt = combo(QStringLiteral("cmb_fattura"), {QStringLiteral("S"), QStringLiteral("N")},
                         editPage, false);
    m_dataDdt = named(new DateEdit(editPage), QStringLiteral("dte_data_ddt"));
    headForm->addRow(QStringLiteral("Causale"), m_causale);
    headForm->addRow(QStringLiteral("Porto"), m_porto);
    headForm->addRow(QStringLiteral("Aspetto"), m_aspetto);
    headForm->addRow(QStringLiteral("Trasporto"), m_trasporto);
    headForm->addRow(QStringLiteral("Imballo"), m_imballo);
    headForm->addRow(QStringLiteral("Ordine DDT"), m_ordineDdt);
    headForm->addRow(QStringLiteral("Note"), m_note1);
    headForm->addRow(QString(), m_note2);
    headForm->addRow(QStringLiteral("Impostazione primaria\nper la fatturazione."), m_fatturaDdt);
    headForm->addRow(QStringLiteral("Data DDT"), m_dataDdt);
    el->addLayout(headForm, 0, 1);

    auto* editButtons = new QHBoxLayout;
    m_aggiorna = button(QStringLiteral("btn_aggiorna"), QStringLiteral("Aggiorna"), editPage);
    QPushButton* add =
        button(QStringLiteral("btn_aggiungi"), QStringLiteral("Aggiungi nuovo elemento"), editPage);
    m_conferma = button(QStringLiteral("btn_conferma"), QStringLiteral("Conferma"), editPage);
    m_conferma->setEnabled(false);
    QPushButton* remove = button(QStringLiteral("btn_cancella_elemento"),
                                 QStringLiteral("Cancella elemento selezionato"), editPage);
    m_setData = button(QStringLiteral("btn_set_data"), QStringLiteral("Set DATA"), editPage);
    m_setData->hide();
    for (QPushButton* b : {m_aggiorna, add, m_conferma, remove, m_setData})
        editButtons->addWidget(b);
    el->addLayout(editButtons, 1, 0, 1, 2);
    m_pages->addTab(editPage, QStringLiteral("Editing/Modifica"));

    // Print settings.
    auto* printPage = new QWidget(m_pages);
    auto* pl = new QFormLayout(printPage);
    m_destNome = named(new QLineEdit(QStringLiteral("MEDESIMA"), printPage),
                       QStringLiteral("edt_dest_nome"));
    m_destVia = named(new QLineEdit(printPage), QStringLiteral("edt_dest_via"));
    m_destCap = named(new QLineEdit(printPage), QStringLiteral("edt_dest_cap"));
    m_destCitta = named(new QLineEdit(printPage), QStringLiteral("edt_dest_citta"));
    m_destProv = named(new QLineEdit(printPage), QStringLiteral("edt_dest_prov"));
    QStringList carriers{QString()};
    try {
        const QString path = dataFile(m_ctx.base, QStringLiteral("anag_vettori.db"));
        if (Store::exists(path))
            for (const QVariantList& r :
                 m_ctx.store->rows(QStringLiteral("SELECT nome FROM %1 ORDER BY nome")
                                       .arg(m_ctx.store->table(path))))
                carriers << r.value(0).toString();
    } catch (const StoreError&) {
        // No carriers to offer; the names can still be typed.
    }
    m_vettore1 = combo(QStringLiteral("cmb_vettore1"), carriers, printPage);
    m_vettore2 = combo(QStringLiteral("cmb_vettore2"), carriers, printPage);
    m_chkDataRitiro = named(new QCheckBox(QStringLiteral("Data ritiro"), printPage),
                            QStringLiteral("chk_data_ritiro"));
    m_dataRitiro = named(new DateEdit(printPage), QStringLiteral("dte_data_ritiro"));
    m_chkOraRitiro = named(new QCheckBox(QStringLiteral("Ora ritiro"), printPage),
                           QStringLiteral("chk_ora_ritiro"));
    m_oraRitiro = named(new QTimeEdit(printPage), QStringLiteral("tme_ora_ritiro"));
    m_oraRitiro->setDisplayFormat(QStringLiteral("HH:mm"));
    m_notaStampa = named(new QLineEdit(printPage), QStringLiteral("edt_nota_stampa"));
    m_colUm = named(new QCheckBox(QStringLiteral("Stampa colonna \"Unita di mis,\""), printPage),
                    QStringLiteral("chk_ddt_stampa_um"));
    m_colPeso = named(new QCheckBox(QStringLiteral("Stampa colonna \"Peso\""), printPage),
                      QStringLiteral("chk_ddt_stampa_peso"));
    m_colOrdine = named(new QCheckBox(QStringLiteral("Stampa colonna \"Ordine\""), printPage),
                        QStringLiteral("chk_ddt_stampa_ordine"));
    m_colDataOrdine =
        named(new QCheckBox(QStringLiteral("Stampa colonna \"Data Ordine\""), printPage),
              QStringLiteral("chk_ddt_stampa_data_ordine"));
    m_campoScarto = named(new QCheckBox(QStringLiteral("Campo \"Scarto\""), printPage),
                          QStringLiteral("chk_ddt_stampa_scarto"));
    m_campoVsRif = named(new QCheckBox(QStringLiteral("Campo  \"Vs. Rif.\""), printPage),
                         QStringLiteral("chk_ddt_stampa_vsrif"));
    m_campoImballo = named(new QCheckBox(QStringLiteral("Campo  \"Imballo.\""), printPage),
                           QStringLiteral("chk_ddt_stampa_imballo"));
    m_logoAggiuntivo = named(new QCheckBox(QStringLiteral("Stampa logo aggiuntivo"), printPage),
                             QStringLiteral("chk_logo_aggiuntivo"));
    m_copie = named(new QSpinBox(printPage), QStringLiteral("num_copie"));
    m_copie->setRange(1, 99);
    QPushButton* plus = button(QStringLiteral("btn_copie_piu"), QStringLiteral("+"), printPage);
    QPushButton* minus = button(QStringLiteral("btn_copie_meno"), QStringLiteral("-"), printPage);
    auto* copies = new QHBoxLayout;
    copies->addWidget(m_copie);
    copies->addWidget(plus);
    copies->addWidget(minus);
    pl->addRow(QStringLiteral("Destinazione (se diversa) - Destinatario"), m_destNome);
    pl->addRow(QStringLiteral("Via"), m_destVia);
    pl->addRow(QStringLiteral("CAP"), m_destCap);
    pl->addRow(QStringLiteral("Città"), m_destCitta);
    pl->addRow(QStringLiteral("Prov."), m_destProv);
    pl->addRow(QStringLiteral("Vettore 1"), m_vettore1);
    pl->addRow(QStringLiteral("Vettore 2"), m_vettore2);
    pl->addRow(m_chkDataRitiro, m_dataRitiro);
    pl->addRow(m_chkOraRitiro, m_oraRitiro);
    pl->addRow(QStringLiteral("Note"), m_notaStampa);
    for (QCheckBox* c : {m_colUm, m_colPeso, m_colOrdine, m_colDataOrdine, m_campoScarto,
                         m_campoVsRif, m_campoImballo, m_logoAggiuntivo})
        pl->addRow(c);
    pl->addRow(QStringLiteral("Copie"), copies);
    m_pages->addTab(printPage, QStringLiteral("Impostazioni di Stampa"));

    connect(setFilter, &QPushButton::clicked, this, &Tscorre_ddt::btn_set_filtroClick);
    connect(resetFilter, &QPushButton::clicked, this, &Tscorre_ddt::btn_reset_filtroClick);
    connect(all, &QPushButton::clicked, this, &Tscorre_ddt::btn_tuttiClick);
    connect(search, &QPushButton::clicked, this, &Tscorre_ddt::btn_cercaClick);
    connect(m_cerca, &QLineEdit::returnPressed, this, &Tscorre_ddt::btn_cercaClick);
    connect(archive, &QPushButton::clicked, this, &Tscorre_ddt::btn_cambia_archivioClick);
    connect(m_archivio, &QComboBox::activated, this, [this](int i) {
        if (i >= 0) showYear(m_archivio->itemText(i).toInt());
    });
    connect(m_grid->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &Tscorre_ddt::gridTitleClick);
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { showCurrent(); });
    connect(del, &QPushButton::clicked, this, &Tscorre_ddt::btn_elimina_ddtClick);
    connect(print, &QPushButton::clicked, this, &Tscorre_ddt::btn_stampa_ddtClick);
    connect(recipient, &QPushButton::clicked, this, &Tscorre_ddt::btn_cambia_destinatarioClick);
    connect(moves, &QPushButton::clicked, this, &Tscorre_ddt::btn_movimentiClick);
    connect(edit, &QPushButton::clicked, this, &Tscorre_ddt::btn_editClick);
    connect(detail, &QPushButton::clicked, this, &Tscorre_ddt::btn_dettClick);
    connect(m_aggiorna, &QPushButton::clicked, this, &Tscorre_ddt::btn_aggiornaClick);
    connect(add, &QPushButton::clicked, this, &Tscorre_ddt::btn_aggiungiClick);
    connect(m_conferma, &QPushButton::clicked, this, &Tscorre_ddt::btn_confermaClick);
    connect(remove, &QPushButton::clicked, this, &Tscorre_ddt::btn_cancella_elementoClick);
    connect(m_setData, &QPushButton::clicked, this, &Tscorre_ddt::btn_set_dataClick);
    connect(m_linesGrid, &QTableWidget::currentCellChanged, this,
            [this](int row) { showLine(row); });
    connect(m_prezzo, &QLineEdit::textEdited, this, [this] { recomputeNet(); });
    connect(m_sconto, &QLineEdit::textEdited, this, [this] { recomputeNet(); });
    connect(plus, &QPushButton::clicked, this, [this] { m_copie->setValue(m_copie->value() + 1); });
    connect(minus, &QPushButton::clicked, this,
            [this] { m_copie->setValue(m_copie->value() - 1); });
    resize(1100, 800);
}

void Tscorre_ddt::FormShow() {
    m_archives = DdtYearArchives::fromSettings(*m_ctx.settings);
    const DdtPrintOptions o = DdtPrintOptions::fromSettings(*m_ctx.settings);
    m_colUm->setChecked(o.unitColumn);
    m_colPeso->setChecked(o.weightColumn);
    m_colOrdine->setChecked(o.orderColumn);
    m_colDataOrdine->setChecked(o.orderDateColumn);
    m_campoScarto->setChecked(o.wasteField);
    m_campoVsRif->setChecked(o.yourRefField);
    m_campoImballo->setChecked(o.packingField);
    m_logoAggiuntivo->setChecked(o.extraLogo);
    m_copie->setValue(o.copies);
    m_dataRitiro->setDate(o.pickupDate);
    m_oraRitiro->setTime(o.pickupTime);
    setWindowTitle(QStringLiteral("Scorrimento DDT"));
    m_query = DdtQuery{};
    m_pages->setCurrentIndex(0);
    reload(0);
}

QList<int> Tscorre_ddt::archiveYears() const { return DdtYearArchives::existingYears(m_ctx.base); }

void Tscorre_ddt::showYear(int year) {
    m_archives = DdtYearArchives::ofYear(*m_ctx.settings, year);
    m_query = DdtQuery{};
    m_query.kind = DdtQuery::Kind::Reset;
    setWindowTitle(QStringLiteral("Scorrimento DDT - archivio %1").arg(year));
    reload(0);
}

void Tscorre_ddt::reload(int keepRow) {
    try {
        m_model->select(*m_ctx.store, m_archives, m_query);
    } catch (const StoreError& e) {
        m_model->clear();
        Dialogs::instance().error(QStringLiteral("Scorrimento DDT"), e.message(), this);
    }
    m_count->setText(QStringLiteral("DDT: %1").arg(m_model->rowCount()));
    if (m_model->rowCount() == 0) {
        showCurrent();
        return;
    }
    selectRow(std::clamp(keepRow, 0, m_model->rowCount() - 1));
}

void Tscorre_ddt::selectRow(int row) {
    if (row < 0 || row >= m_model->rowCount()) return;
    const QModelIndex idx = m_model->index(row, 0);
    if (m_grid->currentIndex().row() == row) {
        showCurrent();
        return;
    }
    m_grid->setCurrentIndex(idx);
    m_grid->scrollTo(idx);
}

std::optional<DdtKey> Tscorre_ddt::currentKey() const {
    const int row = m_grid->currentIndex().row();
    if (row < 0 || row >= m_model->rowCount()) return std::nullopt;
    return m_model->entry(row).key();
}

void Tscorre_ddt::showCurrent() {
    // A line being added belongs to the DDT it was started on.
    m_adding = false;
    m_conferma->setEnabled(false);
    m_lines.clear();
    m_header.reset();
    m_linesGrid->setRowCount(0);
    const std::optional<DdtKey> key = currentKey();
    if (!key) {
        m_totals->clear();
        m_noLines->hide();
        return;
    }
    DdtArchive archive(*m_ctx.store, m_archives);
    try {
        m_header = archive.header(*key);
        m_lines = archive.lines(*key);
    } catch (const StoreError& e) {
        Dialogs::instance().error(QStringLiteral("Scorrimento DDT"), e.message(), this);
        return;
    }
    m_noLines->setVisible(m_lines.isEmpty());
    m_linesGrid->setRowCount(static_cast<int>(m_lines.size()));
    for (int i = 0; i < m_lines.size(); ++i) {
        const QVariantMap& l = m_lines[i];
        const QStringList cells{fmt::date(rowDate(l, u"DATA")),
                                text(l, u"BOLLA"),
                                text(l, u"COD"),
                                text(l, u"DES"),
                                fmt::number(number(l, u"PREZZO"), u"###,##0.00"),
                                fmt::number(number(l, u"PREZZONETT"), u"###,##0.00"),
                                text(l, u"UNITAMIS"),
                                fmt::number(number(l, u"QUANT"), u"##0.00"),
                                fmt::number(number(l, u"PESO"), u"##0.00"),
                                fmt::number(number(l, u"COLLI"), u"##0")};
        for (int c = 0; c < cells.size(); ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            if (c >= 4 && c != 6) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_linesGrid->setItem(i, c, item);
        }
    }
    refreshTotals(*key);
    if (m_header) {
        const QVariantMap& h = *m_header;
        setComboText(m_causale, text(h, u"CAUSALE"));
        setComboText(m_porto, text(h, u"PORTO"));
        setComboText(m_aspetto, text(h, u"ASPETTO"));
        setComboText(m_trasporto, text(h, u"TRASPORTO"));
        m_imballo->setText(text(h, u"IMBALLO"));
        m_ordineDdt->setText(text(h, u"ORDINE"));
        m_note1->setText(text(h, u"NOTE1"));
        m_note2->setText(text(h, u"NOTE2"));
        setComboText(m_fatturaDdt, text(h, u"FATTURA").toUpper());
        m_dataDdt->setDate(rowDate(h, u"DATA_MOV"));
        m_notaStampa->setText(text(h, u"NOTE1"));
    }
    if (!m_lines.isEmpty())
        selectLineRow(0);
    else
        clearLineEditor();
    if (m_header && text(*m_header, u"FATTURA").isEmpty()) {
        const DlgButton b = Dialogs::instance().show(
            MsgIcon::Warning, QStringLiteral("Anomalia nel DDT"),
            QStringLiteral("Attenzione, non è stato definito se il Ddt è da fatturare oppure "
                           "no.\n\rFa clic su OK per "
                           "impostare SI."),
            static_cast<int>(DlgButton::Ok) | static_cast<int>(DlgButton::Cancel), DlgButton::Ok,
            this);
        if (b == DlgButton::Ok) {
            try {
                archive.setInvoiceable(*key);
                (*m_header)[QStringLiteral("FATTURA")] = QStringLiteral("S");
                setComboText(m_fatturaDdt, QStringLiteral("S"));
                m_model->refresh();
            } catch (const StoreError& e) {
                Dialogs::instance().error(QStringLiteral("Anomalia nel DDT"), e.message(), this);
            }
        }
    }
}

void Tscorre_ddt::refreshTotals(const DdtKey& key) {
    try {
        const DdtArchive::LineTotals t = DdtArchive(*m_ctx.store, m_archives).lineTotals(key);
        m_totals->setText(QStringLiteral("Totali  Peso: %1  Colli: %2  Quant.: %3")
                              .arg(fmt::number(t.peso, u"##0.00"), fmt::number(t.colli, u"##0"),
                                   fmt::number(t.quant, u"##0")));
    } catch (const StoreError&) {
        m_totals->clear();
    }
}

void Tscorre_ddt::selectLineRow(int index) {
    if (m_linesGrid->currentRow() == index)
        showLine(index);
    else
        m_linesGrid->setCurrentCell(index, 0);
}

int Tscorre_ddt::currentLineIndex() const {
    const int r = m_linesGrid->currentRow();
    return r >= 0 && r < m_lines.size() ? r : -1;
}

void Tscorre_ddt::clearLineEditor() {
    for (QLineEdit* e : {m_cod, m_des, m_ordine, m_flag}) e->clear();
    for (QLineEdit* e : {m_prezzo, m_sconto, m_prezzoNett, m_quant, m_peso, m_colli})
        e->setText(QStringLiteral("0"));
    m_dataOrd->setDate({});
    m_dataRiga->setDate(m_dataDdt->date());
    m_dataRiga->setStyleSheet({});
    m_setData->hide();
    const std::optional<VatRate> def = VatRates(*m_ctx.settings).defaultRate();
    if (def) setComboText(m_iva, def->text());
}

void Tscorre_ddt::showLine(int index) {
    if (m_adding) return;
    if (index < 0 || index >= m_lines.size()) {
        clearLineEditor();
        return;
    }
    const QVariantMap& l = m_lines[index];
    const int priceDecimals = m_ctx.settings->integer(u"DDT", u"Decimali prezzo articolo");
    const QString pricePattern = priceDecimals > 0
                                     ? QStringLiteral("0.") + QString(priceDecimals, u'0')
                                     : QStringLiteral("0");
    m_cod->setText(text(l, u"COD"));
    m_des->setText(text(l, u"DES"));
    m_prezzo->setText(fmt::number(number(l, u"PREZZO"), pricePattern));
    m_sconto->setText(fmt::number(number(l, u"SCONTO"), u"0"));
    m_prezzoNett->setText(fmt::number(number(l, u"PREZZONETT"), pricePattern));
    setComboText(m_iva, VatRate::fromDouble(number(l, u"PERC_IVA")).text());
    setComboText(m_um, text(l, u"UNITAMIS"));
    m_quant->setText(fmt::value(number(l, u"QUANT")));
    m_peso->setText(fmt::value(number(l, u"PESO")));
    m_colli->setText(QString::number(rowValue(l, u"COLLI").toLongLong()));
    m_ordine->setText(text(l, u"ORDINE"));
    m_dataOrd->setValue(rowValue(l, u"DATAORD"));
    m_dataRiga->setValue(rowValue(l, u"DATA"));
    setComboText(m_fatturaRiga, text(l, u"FATTURA").toUpper());
    m_flag->setText(text(l, u"FLAG"));
    const bool wrongDate =
        m_strictDates && m_header && rowDate(l, u"DATA") != rowDate(*m_header, u"DATA_MOV");
    m_dataRiga->setStyleSheet(wrongDate ? QStringLiteral("color: red;") : QString());
    m_setData->setVisible(wrongDate);
    if (wrongDate)
        TrayNotice::instance().show(
            QStringLiteral("Attenzione: dato non corretto in DDT."),
            QStringLiteral("La data del movimento non coincide con la data del DDT"),
            TrayNotice::kStandardSeconds, TrayNotice::Kind::Error);
}

void Tscorre_ddt::recomputeNet() {
    const int decimals = m_ctx.settings->integer(u"DDT", u"Decimali prezzo articolo");
    const double price = parsed(m_prezzo);
    const double discount = parsed(m_sconto);
    const double net = price - price / 100.0 * discount;
    m_prezzoNett->setText(fmt::number(
        net, decimals > 0 ? QStringLiteral("0.") + QString(decimals, u'0') : QStringLiteral("0")));
}

DdtLineFields Tscorre_ddt::lineFromEditor() const {
    DdtLineFields f;
    const int index = currentLineIndex();
    if (!m_adding && index >= 0) {
        // What the editor does not show stays as it was.
        const QVariantMap& l = m_lines[index];
        f.ptropic = number(l, u"PTROPIC");
        f.ctropic = number(l, u"CTROPIC");
        f.pzincat = number(l, u"PZINCAT");
        f.czincat = number(l, u"CZINCAT");
        f.pdorat = number(l, u"PDORAT");
        f.cdorat = number(l, u"CDORAT");
        f.scarto = rowValue(l, u"SCARTO").toLongLong();
    }
    f.cod = m_cod->text().trimmed();
    f.des = m_des->text().trimmed();
    f.prezzo = parsed(m_prezzo);
    f.sconto = parsed(m_sconto);
    f.prezzoNett = parsed(m_prezzoNett);
    f.percIva = VatRate::parse(m_iva->currentText()).value_or(VatRate{}).percent();
    f.unitaMis = m_um->currentText();
    f.quant = parsed(m_quant);
    f.peso = parsed(m_peso);
    f.colli = static_cast<qint64>(std::llround(parsed(m_colli)));
    f.ordine = m_ordine->text().trimmed();
    f.dataOrd = m_dataOrd->date();
    f.data = m_dataRiga->date();
    f.fattura = m_fatturaRiga->currentText();
    f.flag = m_flag->text().left(1);
    return f;
}

DdtHeaderFields Tscorre_ddt::headerFromEditor() const {
    DdtHeaderFields h;
    h.causale = m_causale->currentText();
    h.porto = m_porto->currentText();
    h.aspetto = m_aspetto->currentText();
    h.trasporto = m_trasporto->currentText();
    h.imballo = m_imballo->text().trimmed();
    h.ordine = m_ordineDdt->text().trimmed();
    h.note1 = m_note1->text().trimmed();
    h.note2 = m_note2->text().trimmed();
    h.fattura = m_fatturaDdt->currentText();
    h.data = m_dataDdt->date();
    return h;
}

// ---- list commands ---------------------------------------------------------------

void Tscorre_ddt::btn_set_filtroClick() {
    using K = DdtCondition::Kind;
    if (m_query.kind != DdtQuery::Kind::Filter) {
        m_query = DdtQuery{};
        m_query.kind = DdtQuery::Kind::Filter;
    }
    if (m_chkFatturabili->isChecked()) m_query.conditions.append({K::Invoiceable, {}});
    if (m_chkCarico->isChecked()) m_query.conditions.append({K::Load, {}});
    if (m_chkScarico->isChecked()) m_query.conditions.append({K::Unload, {}});
    bool ok = false;
    const qint64 n = m_fNumero->text().trimmed().toLongLong(&ok);
    if (ok) m_query.conditions.append({K::Number, QString::number(n)});
    if (!m_fCliente->text().trimmed().isEmpty())
        m_query.conditions.append({K::Customer, m_fCliente->text().trimmed().toUpper()});
    if (!m_fFornitore->text().trimmed().isEmpty())
        m_query.conditions.append({K::Supplier, m_fFornitore->text().trimmed().toUpper()});
    if (!m_fOrdine->text().trimmed().isEmpty())
        m_query.conditions.append({K::Order, m_fOrdine->text().trimmed()});
    reload(0);
}

namespace {

void clearFilterFields(std::initializer_list<QCheckBox*> ticks,
                       std::initializer_list<QLineEdit*> fields) {
    for (QCheckBox* c : ticks) c->setChecked(false);
    for (QLineEdit* e : fields) e->clear();
}

}  // namespace

void Tscorre_ddt::btn_reset_filtroClick() {
    clearFilterFields({m_chkFatturabili, m_chkCarico, m_chkScarico},
                      {m_fNumero, m_fCliente, m_fFornitore, m_fOrdine});
    m_query = DdtQuery{};
    m_query.kind = DdtQuery::Kind::Reset;
    reload(0);
}

void Tscorre_ddt::btn_tuttiClick() {
    clearFilterFields({m_chkFatturabili, m_chkCarico, m_chkScarico},
                      {m_fNumero, m_fCliente, m_fFornitore, m_fOrdine});
    m_query = DdtQuery{};
    m_query.kind = DdtQuery::Kind::All;
    reload(0);
}

void Tscorre_ddt::btn_cercaClick() {
    bool ok = false;
    const qint64 n = m_cerca->text().trimmed().toLongLong(&ok);
    if (!ok) {
        Dialogs::instance().beep();
        return;
    }
    m_query = DdtQuery{};
    m_query.kind = DdtQuery::Kind::Search;
    m_query.number = n;
    reload(0);
}

void Tscorre_ddt::gridTitleClick(int column) {
    if (!DdtListModel::sortable(column)) return;
    const bool descending =
        m_query.kind == DdtQuery::Kind::Sorted && m_lastSort == column && !m_query.descending;
    m_query = DdtQuery{};
    m_query.kind = DdtQuery::Kind::Sorted;
    m_query.sortColumn = column;
    m_query.descending = descending;
    m_lastSort = column;
    reload(0);
}

void Tscorre_ddt::btn_cambia_archivioClick() {
    m_archivio->clear();
    for (int y : archiveYears()) m_archivio->addItem(QString::number(y));
    m_archivio->setCurrentText(QString::number(shownYear()));
    if (isVisible()) m_archivio->showPopup();
}

// ---- DDT commands ----------------------------------------------------------------

void Tscorre_ddt::backupWithNotice(const QString& path, const QString& notice) {
    const bool existed = QFileInfo::exists(path + QStringLiteral(".bak"));
    if (m_ctx.store->backupOnce(path) && !existed && !notice.isEmpty())
        TrayNotice::instance().show(QStringLiteral("Zelvarin: DDT"), notice, 10,
                                    TrayNotice::Kind::Info);
}

void Tscorre_ddt::btn_elimina_ddtClick() {
    const std::optional<DdtKey> key = currentKey();
    if (!key) return;
    Dialogs& d = Dialogs::instance();
    if (!d.yesNo(MsgIcon::Question, QStringLiteral("Cancellazione DDT"),
                 QStringLiteral("Sei sicuro di voler cancellare il DDT n°%1 del cliente %2?")
                     .arg(key->number)
                     .arg(key->recipient),
                 this))
        return;
    const bool restore =
        d.yesNo(MsgIcon::Question, QStringLiteral("Ripristino giacenza articoli"),
                QStringLiteral("Vuoi ripristinare la giacenza precedente al DDT %1 da cancellare?")
                    .arg(key->number),
                this);
    const int row = m_grid->currentIndex().row();
    DeleteOutcome out;
    try {
        backupWithNotice(m_archives.lines, {});
        backupWithNotice(m_archives.header, {});
        out = DdtArchive(*m_ctx.store, m_archives).deleteDdt(*key, restore);
    } catch (const StoreError& e) {
        d.error(QStringLiteral("Cancellazione DDT"),
                QStringLiteral("Il DDT n° %1 del cliente %2 non è stato cancellato e la giacenza "
                               "non è cambiata.\r\n%3")
                    .arg(key->number)
                    .arg(key->recipient, e.message()),
                this);
        reload(row);
        return;
    }
    if (!out.deleted)
        d.warning(QStringLiteral("Cancellazione DDT"),
                  DdtArchive::notDeletedMessage(key->number, key->recipient), this);
    else if (restore)
        d.info(QStringLiteral("Ripristino giacenza articoli"),
               DdtArchive::restoredMessage(out.restored, key->number), this);
    clearFilterFields({m_chkFatturabili, m_chkCarico, m_chkScarico},
                      {m_fNumero, m_fCliente, m_fFornitore, m_fOrdine});
    m_query = DdtQuery{};
    m_query.kind = DdtQuery::Kind::Reset;
    reload(row);
}

DdtPrintOptions Tscorre_ddt::printOptions() const {
    DdtPrintOptions o;
    o.destName = m_destNome->text();
    o.destStreet = m_destVia->text();
    o.destCap = m_destCap->text();
    o.destCity = m_destCitta->text();
    o.destProv = m_destProv->text();
    o.carrier1 = m_vettore1->currentText();
    o.carrier2 = m_vettore2->currentText();
    o.pickupDate = m_dataRitiro->date();
    o.pickupDateOn = m_chkDataRitiro->isChecked() && o.pickupDate.isValid();
    o.pickupTime = m_oraRitiro->time();
    o.pickupTimeOn = m_chkOraRitiro->isChecked();
    o.note = m_notaStampa->text();
    o.unitColumn = m_colUm->isChecked();
    o.weightColumn = m_colPeso->isChecked();
    o.orderColumn = m_colOrdine->isChecked();
    o.orderDateColumn = m_colDataOrdine->isChecked();
    o.wasteField = m_campoScarto->isChecked();
    o.yourRefField = m_campoVsRif->isChecked();
    o.packingField = m_campoImballo->isChecked();
    o.extraLogo = m_logoAggiuntivo->isChecked();
    o.copies = m_copie->value();
    return o;
}

void Tscorre_ddt::btn_stampa_ddtClick() {
    const std::optional<DdtKey> key = currentKey();
    if (!key) return;
    const DdtPrintOptions o = printOptions();
    o.writeBack(*m_ctx.settings);
    std::optional<DdtPrintData> data;
    try {
        data = TQR1::load(*m_ctx.store, m_archives, *key);
    } catch (const StoreError& e) {
        Dialogs::instance().error(QStringLiteral("Stampa DDT"), e.message(), this);
        return;
    }
    if (!data) {
        Dialogs::instance().warning(QStringLiteral("Stampa DDT"),
                                    TQR1::missingMessage(*key, shownYear()), this);
        return;
    }
    showPreview(TQR1(*m_ctx.settings).render(*data, o), o.copies);
}

void Tscorre_ddt::btn_cambia_destinatarioClick() {
    const std::optional<DdtKey> key = currentKey();
    if (!key || !pickCustomer) return;
    const QString code = pickCustomer().trimmed().toUpper();
    if (code.isEmpty()) return;
    const int row = m_grid->currentIndex().row();
    try {
        backupWithNotice(m_archives.header, {});
        backupWithNotice(m_archives.lines, {});
        if (!DdtArchive(*m_ctx.store, m_archives).changeRecipient(*key, code))
            Dialogs::instance().warning(QStringLiteral("Tabella intestazioni DDT"),
                                        DdtArchive::notDeletedMessage(key->number, key->recipient),
                                        this);
    } catch (const StoreError& e) {
        Dialogs::instance().error(
            QStringLiteral("Tabella intestazioni DDT"),
            QStringLiteral(
                "Non è stato possibile cambiare il codice cliente, verificare archivio.") +
                QStringLiteral("\r\n") + e.message(),
            this);
    }
    reload(row);
}

void Tscorre_ddt::btn_movimentiClick() {
    if (!m_ctx.windows) return;
    Tmov_check& w = m_ctx.windows->window<Tmov_check>();
    w.FormShow();
    w.exec();
}

// ---- editing ---------------------------------------------------------------------

void Tscorre_ddt::btn_editClick() {
    m_adding = false;
    m_aggiorna->setEnabled(true);
    m_conferma->setEnabled(false);
    m_pages->setCurrentIndex(1);
}

void Tscorre_ddt::btn_dettClick() {
    m_adding = false;
    m_conferma->setEnabled(false);
    m_pages->setCurrentIndex(0);
}

void Tscorre_ddt::btn_aggiornaClick() {
    const std::optional<DdtKey> key = currentKey();
    const int index = currentLineIndex();
    if (!key || index < 0 || m_adding) return;
    const DdtLineFields line = lineFromEditor();
    Dialogs& d = Dialogs::instance();
    if (!d.yesNo(MsgIcon::Question, QStringLiteral("Aggiornamento DDT"),
                 QStringLiteral("DDT n°%1 - Articolo%2 - %3\r\nI dati stanno per essere aggiornati "
                                "e modificati, confermi? ")
                     .arg(key->number)
                     .arg(line.cod, line.des),
                 this))
        return;
    const int row = m_grid->currentIndex().row();
    try {
        DdtArchive(*m_ctx.store, m_archives)
            .updateLine(*key, rowValue(m_lines[index], u"ROWID").toLongLong(), line,
                        headerFromEditor());
    } catch (const StoreError& e) {
        d.error(QStringLiteral("Aggiornamento DDT"),
                QStringLiteral("Errore nell'aggiornamento dei movimenti\n\r") + e.message(), this);
        return;
    }
    d.info(QStringLiteral("Aggiornamento DDT"),
           QStringLiteral("Aggiornamento dei dati\n\ravvenuto con successo!"), this);
    reload(row);
    selectLineRow(std::min(index, static_cast<int>(m_lines.size()) - 1));
}

void Tscorre_ddt::btn_aggiungiClick() {
    if (!currentKey()) return;
    m_pages->setCurrentIndex(1);
    m_adding = true;
    clearLineEditor();
    m_conferma->setEnabled(true);
}

void Tscorre_ddt::btn_confermaClick() {
    const std::optional<DdtKey> key = currentKey();
    if (!key || !m_adding) return;
    Dialogs& d = Dialogs::instance();
    if (key->recipient.trimmed().isEmpty()) {
        d.warning(QStringLiteral("Inserimento nuova voce"),
                  QStringLiteral("Il codice cliente è obbligatorio, inserendo un codice differente "
                                 "per questa voce\r\nil "
                                 "DDT potrebbe risultare scorretto."),
                  this);
        return;
    }
    const DdtLineFields line = lineFromEditor();
    if (!d.yesNo(MsgIcon::Question, QStringLiteral("Inserimento nuova voce"),
                 QStringLiteral("Confermi l'inserimento della voce\r\n%1 - %2\r\n nel DDT n° %3?")
                     .arg(line.cod, line.des)
                     .arg(key->number),
                 this))
        return;
    const int row = m_grid->currentIndex().row();
    try {
        backupWithNotice(m_archives.lines,
                         QStringLiteral("Eseguito backup dell' archivio movimenti."));
        DdtArchive(*m_ctx.store, m_archives).addLine(*key, line);
    } catch (const StoreError& e) {
        d.error(QStringLiteral("Inserimento nuova voce"),
                QStringLiteral("La voce non è stata inserita nel DDT.\r\n") + e.message(), this);
        return;
    }
    m_adding = false;
    m_conferma->setEnabled(false);
    m_aggiorna->setEnabled(false);
    d.info(QStringLiteral("Inserimento nuova voce"),
           QStringLiteral("I dati sono stati scritti correttamente nel DDT.\n\rPer riabilitare il "
                          "tasto \"Aggiorna\" "
                          "uscire da editing e rientrare"),
           this);
    reload(row);
}

void Tscorre_ddt::btn_cancella_elementoClick() {
    const std::optional<DdtKey> key = currentKey();
    const int index = currentLineIndex();
    if (!key || index < 0) return;
    const QVariantMap line = m_lines[index];
    Dialogs& d = Dialogs::instance();
    if (d.show(MsgIcon::Question, QStringLiteral("Cancellazione voce DDT"),
               QStringLiteral("Conferma la cancellazione irreversibile dell'elemento %1 ?")
                   .arg(text(line, u"DES")),
               static_cast<int>(DlgButton::Yes) | static_cast<int>(DlgButton::No), DlgButton::No,
               this) != DlgButton::Yes)
        return;
    const int row = m_grid->currentIndex().row();
    try {
        backupWithNotice(m_archives.lines,
                         QStringLiteral("Eseguito backup degli archivi movimenti ddt."));
        if (!DdtArchive(*m_ctx.store, m_archives)
                 .deleteLine(*key, rowValue(line, u"ROWID").toLongLong()))
            d.warning(QStringLiteral("Cancellazione voce DDT"),
                      QStringLiteral("La voce non appartiene più al DDT n° %1.").arg(key->number),
                      this);
    } catch (const StoreError& e) {
        d.error(QStringLiteral("Cancellazione voce DDT"),
                QStringLiteral("La voce non è stata cancellata.\r\n") + e.message(), this);
        return;
    }
    reload(row);
}

void Tscorre_ddt::btn_set_dataClick() {
    m_dataRiga->setDate(m_dataDdt->date());
    m_dataRiga->setStyleSheet({});
}

void Tscorre_ddt::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape) {
        if (m_pages->currentIndex() == 1)
            Dialogs::instance().warning(
                QStringLiteral("Scorrimento DDT"),
                QStringLiteral("Attenzione! Uscendo ogni modifica non confermata\r\nnon sarà "
                               "registrata."),
                this);
        reject();
        return;
    }
    QDialog::keyPressEvent(e);
}

}  // namespace zel
