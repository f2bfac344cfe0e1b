#include "warehouse/Tfrm_articoli.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImage>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QShowEvent>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#include "core/Clock.h"
#include "documents/Money.h"
#include "documents/VatRates.h"
#include "registry/Tfrm_cerca.h"
#include "report/PreviewWindow.h"
#include "settings/Settings.h"
#include "store/Store.h"
#include "ui/Dialogs.h"
#include "ui/FileDialogs.h"
#include "ui/Formats.h"
#include "ui/TrayNotice.h"
#include "ui/UsageCounters.h"
#include "warehouse/ArticleListModel.h"
#include "warehouse/ArticleReports.h"
#include "warehouse/ArticleRules.h"
#include "warehouse/Tmulti_art.h"

namespace zel {

namespace {

enum FieldKind { Text, Number, Combo };

const QString kTitle = QStringLiteral("Attenzione");
constexpr int kSearchPauseMs = 150;

// Stock columns are written back only when the user changed them on the card, so a
// load made meanwhile elsewhere is never overwritten with the figures read before it.
const QStringList& stockColumns() {
    static const QStringList cols = {QStringLiteral("qca"),  QStringLiteral("qsc"),
                                     QStringLiteral("pca"),  QStringLiteral("psc"),
                                     QStringLiteral("cca"),  QStringLiteral("csc"),
                                     QStringLiteral("qord"), QStringLiteral("qcons")};
    return cols;
}

// Columns added by the archive upgrade; without them the card says the extra fields were not saved.
bool isExtraColumn(const QString& c) {
    return c.startsWith(u"rif_") || c.startsWith(u"costo_agg") || c == u"costo_mat_prima" ||
           c == u"recupero_mat";
}

QString stockPattern(int decimals) {
    decimals = qBound(0, decimals, 6);
    return decimals == 0 ? QStringLiteral("###,##0")
                         : QStringLiteral("###,##0.") + QString(decimals, u'0');
}

QPixmap statePicture(article::StockState s) {
    QPixmap pm(18, 18);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(s == article::StockState::Alarm       ? QColor(210, 0, 0)
               : s == article::StockState::Attention ? QColor(240, 170, 0)
                                                     : QColor(0, 160, 0));
    p.setPen(Qt::NoPen);
    p.drawEllipse(1, 1, 16, 16);
    return pm;
}

}  // namespace

Tfrm_articoli::Tfrm_articoli(AppContext& ctx, QWidget* parent)
    : QDialog(parent), m_ctx(ctx), m_archive(*ctx.store, *ctx.settings, ctx.base) {
    setObjectName(QStringLiteral("Tfrm_articoli"));
    setWindowTitle(QStringLiteral("Articoli di magazzino"));
    showPreview = [this](const report::PageModel& m) { report::PreviewWindow::run(m, 1, this); };
    runSearch = [](Tfrm_cerca& dialog) { dialog.execModal(); };
    openFile = [](const QString& path) {
        return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    };
    runLoadWindow = [this](const QString& code) {
        Tmulti_art* load = m_ctx.windows ? &m_ctx.windows->window<Tmulti_art>() : nullptr;
        if (!load) {
            if (!m_ownLoad) m_ownLoad = std::make_unique<Tmulti_art>(m_ctx, this);
            load = m_ownLoad.get();
        }
        load->prepare(Tmulti_art::kLoadPage, code);
        load->exec();
    };
    buildUi();
}

Tfrm_articoli::~Tfrm_articoli() = default;

QPushButton* Tfrm_articoli::addButton(const QString& name, const QString& caption) {
    auto* b = new QPushButton(Dialogs::displayText(caption));
    b->setObjectName(name);
    b->setAutoDefault(false);
    m_buttons.insert(name, b);
    return b;
}

QWidget* Tfrm_articoli::addField(const QString& column, const QString& name, int kind,
                                 const QString& caption) {
    QWidget* w = nullptr;
    if (kind == Combo) {
        auto* c = new QComboBox;
        c->setEditable(true);
        const int max = m_maxLengths.value(column);
        if (max > 0) c->lineEdit()->setMaxLength(max);
        w = c;
    } else {
        auto* e = new QLineEdit;
        const int max = m_maxLengths.value(column);
        if (kind == Text && max > 0) e->setMaxLength(max);
        if (kind == Number) e->setAlignment(Qt::AlignRight);
        e->installEventFilter(this);
        w = e;
    }
    w->setObjectName(name);
    w->setProperty("fieldKind", kind);
    m_fields.insert(column, w);
    m_fieldOrder << column;
    m_captions.insert(column, caption);
    return w;
}

QLineEdit* Tfrm_articoli::edit(const QString& column) const {
    return qobject_cast<QLineEdit*>(m_fields.value(column));
}

void Tfrm_articoli::buildUi() {
    try {
        m_maxLengths = m_archive.maxLengths();
    } catch (const StoreError&) {
        // Without the archive the edits take any length; saving reports the failure.
    }
    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("page_articoli"));
    auto scrolled = [](QWidget* page) {
        auto* area = new QScrollArea;
        area->setWidgetResizable(true);
        area->setFrameShape(QFrame::NoFrame);
        area->setWidget(page);
        return area;
    };
    m_pages->addTab(scrolled(buildGeneralPage()), QStringLiteral("Generalità - F2"));
    m_pages->addTab(scrolled(buildPhotoPage()), QStringLiteral("Foto articolo - F3"));
    m_pages->addTab(scrolled(buildHistoryPage()), QStringLiteral("Storico movimenti - F4"));
    m_pages->addTab(scrolled(buildExtraPage()), QStringLiteral("Extra dati - F5"));
    m_pages->addTab(scrolled(buildLegendPage()), QStringLiteral("Legenda e Dati lavorazione - F6"));
    connect(m_pages, &QTabWidget::currentChanged, this, [this](int page) {
        if (page == Storico) fillHistory();
        if (page == Foto)
            for (int i = 1; i <= 3; ++i) showPicture(i);
    });

    // Search
    auto* search = new QGroupBox(QStringLiteral("Ricerca"));
    m_filter = new QComboBox;
    m_filter->setObjectName(QStringLiteral("cmb_filtro"));
    m_filter->addItems(searchFilters());
    m_filter->setCurrentIndex(1);
    m_search = new QLineEdit;
    m_search->setObjectName(QStringLiteral("edt_cerca"));
    m_search->setPlaceholderText(QStringLiteral("Dato da cercare"));
    m_searchTimer = new QTimer(this);
    m_searchTimer->setSingleShot(true);
    m_searchTimer->setInterval(kSearchPauseMs);
    connect(m_searchTimer, &QTimer::timeout, this, &Tfrm_articoli::runSearchNow);
    connect(m_search, &QLineEdit::textChanged, this, &Tfrm_articoli::searchChanged);
    connect(m_filter, &QComboBox::currentIndexChanged, this, [this] {
        if (m_filter->currentIndex() == 8 || !m_search->text().isEmpty()) searchChanged();
    });
    auto* clear = addButton(QStringLiteral("btn_togli_filtro"), QStringLiteral("Togli\r\n filtro"));
    connect(clear, &QPushButton::clicked, this, &Tfrm_articoli::btn_togli_filtroClick);
    auto* old = addButton(QStringLiteral("btn_vecchia_data"),
                          QStringLiteral("Nascondi art.di \r\nvecchia data"));
    connect(old, &QPushButton::clicked, this, &Tfrm_articoli::btn_vecchia_dataClick);
    auto* sl = new QHBoxLayout(search);
    sl->addWidget(new QLabel(QStringLiteral("Filtro")));
    sl->addWidget(m_filter);
    sl->addWidget(new QLabel(QStringLiteral("Dato da cercare")));
    sl->addWidget(m_search, 1);
    sl->addWidget(clear);
    sl->addWidget(old);

    // Grid
    m_model = new ArticleListModel(
        [this](const QList<qint64>& ids) {
            try {
                return m_archive.listRows(ids);
            } catch (const StoreError&) {
                return QList<ArticleListRow>{};
            }
        },
        this);
    m_grid = new QTableView;
    m_grid->setObjectName(QStringLiteral("grid_articoli"));
    m_grid->setModel(m_model);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->verticalHeader()->setDefaultSectionSize(20);
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->setColumnWidth(1, 320);
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_grid, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu menu(this);
        menu.addAction(QStringLiteral("Verifica esistenza duplicati"), this,
                       &Tfrm_articoli::verificaDuplicati);
        menu.exec(m_grid->viewport()->mapToGlobal(at));
    });
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& i) {
                if (m_loading || !i.isValid() || (i.row() == m_current && !m_newCard)) return;
                if (!leaveNewCard()) {
                    m_loading = true;
                    m_grid->setCurrentIndex(m_model->index(m_current, 0));
                    m_loading = false;
                    return;
                }
                showRow(i.row());
            });

    // Commands
    auto* nav = new QHBoxLayout;
    const std::pair<const char*, const char*> commands[] = {
        {"btn_nuovo", "Aggiungi nuovo articolo"},
        {"btn_conferma", "Conferma inserimento o modifica"},
        {"btn_annulla", "Annulla inserimento"},
        {"btn_cancella", "Cancella articolo selezionato"},
        {"btn_inizio", "Inizio"},
        {"btn_indietro", "Indietro"},
        {"btn_avanti", "Avanti"},
        {"btn_fine", "Fine"},
        {"btn_carico_scarico", "Carico/Scarico manuale"},
        {"btn_stampa_listino", "Stampa listino articoli"},
        {"btn_stampa_scheda", "Stampa Scheda articolo"},
        {"btn_uscita", "Uscita"}};
    for (const auto& [name, caption] : commands)
        nav->addWidget(addButton(QString::fromLatin1(name), QString::fromUtf8(caption)));
    auto on = [this](const char* name, void (Tfrm_articoli::*f)()) {
        connect(m_buttons[QString::fromLatin1(name)], &QPushButton::clicked, this, f);
    };
    on("btn_nuovo", &Tfrm_articoli::btn_nuovoClick);
    connect(m_buttons[QStringLiteral("btn_conferma")], &QPushButton::clicked, this,
            [this] { btn_confermaClick(); });
    on("btn_annulla", &Tfrm_articoli::btn_annullaClick);
    on("btn_cancella", &Tfrm_articoli::btn_cancellaClick);
    on("btn_inizio", &Tfrm_articoli::btn_inizioClick);
    on("btn_indietro", &Tfrm_articoli::btn_indietroClick);
    on("btn_avanti", &Tfrm_articoli::btn_avantiClick);
    on("btn_fine", &Tfrm_articoli::btn_fineClick);
    on("btn_carico_scarico", &Tfrm_articoli::btn_carico_scaricoClick);
    on("btn_stampa_listino", &Tfrm_articoli::btn_stampa_listinoClick);
    on("btn_stampa_scheda", &Tfrm_articoli::btn_stampa_schedaClick);
    connect(m_buttons[QStringLiteral("btn_uscita")], &QPushButton::clicked, this, &QDialog::reject);
    auto* count = new QLabel;
    count->setObjectName(QStringLiteral("lbl_num_articoli"));
    m_labels.insert(QStringLiteral("lbl_num_articoli"), count);
    auto* status = new QHBoxLayout;
    auto* insert = new QLabel(QStringLiteral("Inserimento nuovo articolo"));
    insert->setObjectName(QStringLiteral("panel_inserimento"));
    insert->setStyleSheet(QStringLiteral("background:#ffd; font-weight:bold; padding:4px"));
    insert->hide();
    m_labels.insert(QStringLiteral("panel_inserimento"), insert);
    status->addWidget(insert);
    status->addStretch();
    status->addWidget(count);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pages, 5);
    layout->addLayout(nav);
    layout->addWidget(search);
    layout->addLayout(status);
    layout->addWidget(m_grid, 2);
    resize(1240, 800);
    setBrowsing(true);
}

QWidget* Tfrm_articoli::buildGeneralPage() {
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    auto label = [this](const QString& name) {
        auto* l = new QLabel;
        l->setObjectName(name);
        m_labels.insert(name, l);
        return l;
    };

    auto* identity = new QFormLayout;
    auto* codeRow = new QHBoxLayout;
    codeRow->addWidget(addField(QStringLiteral("cod"), QStringLiteral("edt_cod"), Text,
                                QStringLiteral("Codice *")));
    codeRow->addWidget(new QLabel(QStringLiteral("ID")));
    codeRow->addWidget(label(QStringLiteral("lbl_id")));
    identity->addRow(QStringLiteral("Codice *"), codeRow);
    const struct {
        const char* column;
        const char* name;
        const char* caption;
        int kind;
    } idFields[] = {{"des", "edt_des", "Descrizione *", Text},
                    {"cat", "edt_cat", "Categoria", Text},
                    {"um", "cmb_um", "Un. misura", Combo},
                    {"pos", "edt_pos", "Posizione", Text},
                    {"pos2", "edt_pos2", "Posizione 2", Text},
                    {"cod_forn", "edt_cod_forn", "Cod. Fornitore", Text},
                    {"cod_cli", "edt_cod_cli", "Cod. Cliente", Text},
                    {"seriale", "edt_seriale", "Seriale", Text},
                    {"note", "edt_note", "Note", Text},
                    {"chiave", "edt_chiave", "Chiave", Number},
                    {"diam", "edt_diam", "Diametro", Number},
                    {"lungh", "edt_lungh", "Lunghezza", Number},
                    {"peso", "edt_peso", "Peso unitario", Number}};
    for (const auto& f : idFields)
        identity->addRow(QString::fromUtf8(f.caption),
                         addField(QString::fromLatin1(f.column), QString::fromLatin1(f.name),
                                  f.kind, QString::fromUtf8(f.caption)));
    auto* um = qobject_cast<QComboBox*>(m_fields[QStringLiteral("um")]);
    um->addItems({QStringLiteral("N."), QStringLiteral("Kg."), QStringLiteral("Pz."),
                  QStringLiteral("gr."), QStringLiteral("l."), QStringLiteral("Conf."),
                  QStringLiteral("mtr")});
    m_sideList = new QListWidget;
    m_sideList->setObjectName(QStringLiteral("lst_codici"));
    m_sideList->setMaximumHeight(110);
    m_sideList->hide();
    identity->addRow(QString(), m_sideList);
    connect(m_sideList, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        if (m_sideListField) m_sideListField->setText(item->text().section(u'.', 0, 0));
        m_sideList->hide();
    });
    connect(edit(QStringLiteral("cod_forn")), &QLineEdit::textEdited, this,
            [this] { sideList(edit(QStringLiteral("cod_forn")), QStringLiteral("__1%")); });
    connect(edit(QStringLiteral("cod_cli")), &QLineEdit::textEdited, this,
            [this] { sideList(edit(QStringLiteral("cod_cli")), QStringLiteral("_1%")); });

    auto* prices = new QGroupBox(QStringLiteral("Prezzi"));
    auto* pf = new QFormLayout(prices);
    pf->addRow(QStringLiteral("Pr.acq. base"),
               addField(QStringLiteral("prezzo_acq"), QStringLiteral("edt_prezzo_acq"), Number,
                        QStringLiteral("Pr.acq. base")));
    auto* currency = new QComboBox;
    currency->setObjectName(QStringLiteral("cmb_valuta"));
    m_fields.insert(QStringLiteral("valuta"), currency);
    m_fieldOrder << QStringLiteral("valuta");
    currency->setProperty("fieldKind", Combo);
    m_captions.insert(QStringLiteral("valuta"), QStringLiteral("Valuta"));
    connect(currency, &QComboBox::currentIndexChanged, this, [this, currency](int i) {
        const double rate = currency->itemData(i).toDouble();
        currency->setToolTip(i > 0 ? QStringLiteral("Tasso di cambio per 1€: ") + fmt::value(rate)
                                   : QString());
    });
    pf->addRow(QStringLiteral("Valuta"), currency);
    pf->addRow(QStringLiteral("Pr.acq. in valuta estera"),
               addField(QStringLiteral("cambio"), QStringLiteral("edt_cambio"), Number,
                        QStringLiteral("Pr.acq. in valuta estera")));
    m_markup = new QLineEdit;
    m_markup->setObjectName(QStringLiteral("edt_ricarico"));
    m_markup->setAlignment(Qt::AlignRight);
    pf->addRow(QStringLiteral("Marg. %"), m_markup);
    pf->addRow(QStringLiteral("Pr. vendita"),
               addField(QStringLiteral("prezzo_ven"), QStringLiteral("edt_prezzo_ven"), Number,
                        QStringLiteral("Pr. vendita")));
    m_priceWithVat = new QLineEdit;
    m_priceWithVat->setObjectName(QStringLiteral("edt_prezzo_ivato"));
    m_priceWithVat->setReadOnly(true);
    m_priceWithVat->setAlignment(Qt::AlignRight);
    auto* recompute =
        addButton(QStringLiteral("btn_ricalcola"), QStringLiteral("Ricalcola il prezzo"));
    connect(recompute, &QPushButton::clicked, this, &Tfrm_articoli::btn_ricalcolaClick);
    auto* vatRow = new QHBoxLayout;
    vatRow->addWidget(m_priceWithVat);
    vatRow->addWidget(recompute);
    pf->addRow(QStringLiteral("Pr. IVA incl."), vatRow);
    for (int i = 1; i <= 4; ++i)
        pf->addRow(
            QStringLiteral("Listino %1").arg(i),
            addField(QStringLiteral("listino%1").arg(i), QStringLiteral("edt_listino%1").arg(i),
                     Number, QStringLiteral("Listino %1").arg(i)));
    pf->addRow(QStringLiteral("Sconto"),
               addField(QStringLiteral("sconto"), QStringLiteral("edt_sconto"), Number,
                        QStringLiteral("Sconto")));
    pf->addRow(QStringLiteral("IVA"), addField(QStringLiteral("iva"), QStringLiteral("cmb_iva"),
                                               Combo, QStringLiteral("IVA")));
    pf->addRow(QStringLiteral("Valuta secondaria"), label(QStringLiteral("lbl_valuta2")));
    pf->addRow(QStringLiteral("Listini 2-4 in valuta sec."),
               label(QStringLiteral("lbl_listini_valuta2")));
    connect(edit(QStringLiteral("prezzo_ven")), &QLineEdit::textEdited, this,
            &Tfrm_articoli::salePriceEdited);
    connect(m_markup, &QLineEdit::textEdited, this, &Tfrm_articoli::markupEdited);

    auto* stock = new QGroupBox(QStringLiteral("Giacenze"));
    auto* sf = new QFormLayout(stock);
    const struct {
        const char* column;
        const char* caption;
    } stockFields[] = {{"qca", "Tot. carico"},
                       {"qsc", "Tot. scarico"},
                       {"pca", "Peso caricato"},
                       {"psc", "Peso scaricato"},
                       {"cca", "Colli caricati"},
                       {"csc", "Colli scaricati"},
                       {"qord", "In ordine"},
                       {"qcons", "Disponibile"},
                       {"quant_iniz", "Quantità iniziale"},
                       {"scortamin", "Scorta minima"},
                       {"tolleranza", "Tolleranza"},
                       {"fm", "Fattore molt."}};
    for (const auto& f : stockFields) {
        const QString col = QString::fromLatin1(f.column);
        sf->addRow(QString::fromUtf8(f.caption), addField(col, QStringLiteral("edt_") + col, Number,
                                                          QString::fromUtf8(f.caption)));
        if (stockColumns().contains(col) || col == u"fm" || col == u"scortamin" ||
            col == u"tolleranza")
            connect(edit(col), &QLineEdit::textEdited, this, &Tfrm_articoli::updateStockPanel);
    }
    m_outside = new QComboBox;
    m_outside->setObjectName(QStringLiteral("cmb_mag_ext"));
    connect(m_outside, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_loading) updateStockPanel();
    });
    sf->addRow(QStringLiteral("Magazzino ext."), m_outside);

    auto* figures = new QGroupBox(QStringLiteral("Valorizzazione articolo"));
    auto* ff = new QFormLayout(figures);
    ff->addRow(QStringLiteral("Giacenza"), label(QStringLiteral("lbl_giacenza")));
    ff->addRow(QStringLiteral("Peso giacenza"), label(QStringLiteral("lbl_peso_giacenza")));
    ff->addRow(QStringLiteral("Colli giacenti"), label(QStringLiteral("lbl_colli_giacenti")));
    ff->addRow(QStringLiteral("Da  consegnare"), label(QStringLiteral("lbl_da_consegnare")));
    ff->addRow(QStringLiteral("Valore Acq."), label(QStringLiteral("lbl_valore_acq")));
    ff->addRow(QStringLiteral("Valore Ven."), label(QStringLiteral("lbl_valore_ven")));
    ff->addRow(QStringLiteral("Valore C.M."), label(QStringLiteral("lbl_valore_cm")));
    auto* stateRow = new QHBoxLayout;
    stateRow->addWidget(label(QStringLiteral("img_scorta")));
    QLabel* state = label(QStringLiteral("lbl_stato_scorta"));
    QFont bold = state->font();
    bold.setBold(true);
    state->setFont(bold);
    stateRow->addWidget(state);
    stateRow->addStretch();
    ff->addRow(QStringLiteral("Scorta"), stateRow);
    label(QStringLiteral("lbl_costo_med"));
    ff->addRow(QStringLiteral("Costo medio"), m_labels[QStringLiteral("lbl_costo_med")]);

    auto* load = addButton(QStringLiteral("btn_carico_scarico_pagina"),
                           QStringLiteral("Carico/Scarico manuale"));
    connect(load, &QPushButton::clicked, this, &Tfrm_articoli::btn_carico_scaricoClick);
    ff->addRow(QString(), load);

    grid->addLayout(identity, 0, 0);
    grid->addWidget(prices, 0, 1);
    grid->addWidget(stock, 0, 2);
    grid->addWidget(figures, 0, 3);
    return page;
}

QWidget* Tfrm_articoli::buildPhotoPage() {
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    for (int i = 0; i < 3; ++i) {
        const int slot = i + 1;
        m_pictures[i] = new QLabel;
        m_pictures[i]->setObjectName(QStringLiteral("img_foto%1").arg(slot));
        m_pictures[i]->setFixedSize(220, 220);
        m_pictures[i]->setFrameShape(QFrame::Box);
        m_pictures[i]->setAlignment(Qt::AlignCenter);
        m_pictures[i]->installEventFilter(this);
        m_pictures[i]->setProperty("pictureSlot", slot);
        m_pictures[i]->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(m_pictures[i], &QWidget::customContextMenuRequested, this,
                [this, i](const QPoint& at) {
                    QMenu menu(this);
                    for (int s = 1; s <= 3; ++s)
                        menu.addAction(QStringLiteral("Incolla dagli appunti nella foto %1").arg(s),
                                       this, [this, s] { pasteFromClipboard(s); });
                    menu.exec(m_pictures[i]->mapToGlobal(at));
                });
        auto* path = addField(QStringLiteral("immagine%1").arg(slot),
                              QStringLiteral("edt_immagine%1").arg(slot), Text,
                              QStringLiteral("Foto %1").arg(slot));
        connect(static_cast<QLineEdit*>(path), &QLineEdit::textChanged, this, [this, slot] {
            if (!m_loading) showPicture(slot);
        });
        m_pictureModes[i] = new QComboBox;
        m_pictureModes[i]->setObjectName(QStringLiteral("cmb_modo_foto%1").arg(slot));
        m_pictureModes[i]->addItems({QStringLiteral("Proporzionale"), QStringLiteral("Esteso")});
        m_pictureFit[i] = new QCheckBox(QStringLiteral("Adattato"));
        m_pictureFit[i]->setObjectName(QStringLiteral("chk_adattato%1").arg(slot));
        m_pictureFit[i]->setChecked(true);
        connect(m_pictureModes[i], &QComboBox::currentIndexChanged, this,
                [this, slot] { showPicture(slot); });
        connect(m_pictureFit[i], &QCheckBox::toggled, this, [this, slot] { showPicture(slot); });
        auto* remove = addButton(QStringLiteral("btn_cancella_foto%1").arg(slot),
                                 QStringLiteral("Cancella la foto dell'articolo"));
        connect(remove, &QPushButton::clicked, this,
                [this, slot] { edit(QStringLiteral("immagine%1").arg(slot))->clear(); });
        grid->addWidget(m_pictures[i], 0, i);
        grid->addWidget(path, 1, i);
        grid->addWidget(m_pictureModes[i], 2, i);
        grid->addWidget(m_pictureFit[i], 3, i);
        grid->addWidget(remove, 4, i);
    }
    return page;
}

QWidget* Tfrm_articoli::buildHistoryPage() {
    auto* page = new QWidget;
    auto* form = new QFormLayout(page);
    const std::pair<const char*, const char*> rows[] = {
        {"lbl_ult_carico", "Ultimo carico merce"},
        {"lbl_ult_scarico_ddt", "Ultimo scarico da DDT"},
        {"lbl_ult_scarico_veloce", "Ultimo scarico veloce"},
        {"lbl_ult_scarico_manuale", "Ultimo scarico manuale"},
        {"lbl_ult_ripristino", "Ultimo ripristino movimento"},
        {"lbl_max_carico", "Carico più grande"},
        {"lbl_max_scarico", "Scarico più grande"},
        {"lbl_mov_mese", "Movimenti del mese"},
        {"lbl_mov_anno", "Movimenti dell'anno"}};
    for (const auto& [name, caption] : rows) {
        auto* l = new QLabel;
        l->setObjectName(QString::fromLatin1(name));
        m_labels.insert(QString::fromLatin1(name), l);
        form->addRow(QString::fromUtf8(caption), l);
    }
    return page;
}

QWidget* Tfrm_articoli::buildExtraPage() {
    auto* page = new QWidget;
    auto* form = new QFormLayout(page);
    for (int i = 1; i <= 4; ++i) {
        auto* caption = new QLabel;
        caption->setObjectName(QStringLiteral("lbl_a_des%1").arg(i));
        m_labels.insert(caption->objectName(), caption);
        form->addRow(caption, addField(QStringLiteral("a_des%1").arg(i),
                                       QStringLiteral("edt_a_des%1").arg(i), Text,
                                       QStringLiteral("Etichetta %1").arg(i)));
    }
    auto* refs = new QGroupBox(QStringLiteral("Riferimenti esterni"));
    refs->setObjectName(QStringLiteral("panel_riferimenti"));
    auto* rg = new QGridLayout(refs);
    for (int i = 1; i <= 5; ++i) {
        rg->addWidget(addField(QStringLiteral("rif_des_ext%1").arg(i),
                               QStringLiteral("edt_rif_des_ext%1").arg(i), Text,
                               QStringLiteral("Descrizione riferimento %1").arg(i)),
                      i, 0);
        rg->addWidget(
            addField(QStringLiteral("rif_ext%1").arg(i), QStringLiteral("edt_rif_ext%1").arg(i),
                     Text, QStringLiteral("Riferimento %1").arg(i)),
            i, 1);
        auto* open = addButton(QStringLiteral("btn_apri%1").arg(i), QStringLiteral("Apri"));
        connect(open, &QPushButton::clicked, this, [this, i] {
            const QString file = edit(QStringLiteral("rif_ext%1").arg(i))->text().trimmed();
            if (file.isEmpty()) return;
            if (!QFileInfo(file).exists()) {
                Dialogs::instance().error(kTitle, QStringLiteral("File non trovato: ") + file,
                                          this);
                return;
            }
            if (!openFile(file))
                Dialogs::instance().error(
                    kTitle, QStringLiteral("Nessun programma associato a questo tipo di file"),
                    this);
        });
        rg->addWidget(open, i, 2);
    }
    form->addRow(refs);
    return page;
}

QWidget* Tfrm_articoli::buildLegendPage() {
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    auto* legend = new QGroupBox(QStringLiteral("Legenda scorta minima"));
    auto* lf = new QFormLayout(legend);
    const std::pair<const char*, article::StockState> rows[] = {
        {"lbl_legenda_ok", article::StockState::Ok},
        {"lbl_legenda_attenzione", article::StockState::Attention},
        {"lbl_legenda_allarme", article::StockState::Alarm}};
    for (const auto& [name, state] : rows) {
        auto* pic = new QLabel;
        pic->setPixmap(statePicture(state));
        auto* l = new QLabel;
        l->setObjectName(QString::fromLatin1(name));
        m_labels.insert(l->objectName(), l);
        auto* row = new QHBoxLayout;
        row->addWidget(pic);
        row->addWidget(l, 1);
        lf->addRow(article::stockStateLabel(state), row);
    }
    auto* costs = new QGroupBox(QStringLiteral("Dati lavorazione"));
    auto* cf = new QFormLayout(costs);
    const Settings& s = *m_ctx.settings;
    const std::pair<const char*, int> costFields[] = {
        {"prezzo_materiale", 1}, {"costo_mat_prima", 2}, {"recupero_mat", 3},
        {"peso_materiale", 4},   {"peso_pezzo", 5},      {"ore", 6}};
    for (const auto& [column, n] : costFields) {
        const QString caption =
            s.text(u"Magazzino", QStringLiteral("Etichetta costo articolo %1").arg(n));
        cf->addRow(caption,
                   addField(QString::fromLatin1(column),
                            QStringLiteral("edt_") + QString::fromLatin1(column), Number, caption));
    }
    for (int i = 1; i <= 6; ++i) {
        const QString caption =
            s.text(u"Magazzino", QStringLiteral("Etichetta costo articolo %1").arg(i + 6));
        cf->addRow(caption, addField(QStringLiteral("costo_agg%1").arg(i),
                                     QStringLiteral("edt_costo_agg%1").arg(i), Number,
                                     QStringLiteral("Costo aggiuntivo %1").arg(i)));
    }
    const char* steps[3] = {"tropic", "zincat", "dorat"};
    for (int i = 0; i < 3; ++i) {
        const QString caption = s.text(u"Magazzino", QStringLiteral("Lavorazione %1").arg(i + 1));
        cf->addRow(caption, addField(QString::fromLatin1(steps[i]),
                                     QStringLiteral("edt_") + QString::fromLatin1(steps[i]), Number,
                                     caption));
    }
    grid->addWidget(legend, 0, 0);
    auto* calc = addButton(QStringLiteral("btn_calcola"), QStringLiteral("Calcola"));
    connect(calc, &QPushButton::clicked, this, &Tfrm_articoli::btn_calcolaClick);
    cf->addRow(QString(), calc);
    grid->addWidget(costs, 0, 1);
    return page;
}

// ---- behaviour ----

void Tfrm_articoli::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    // The opening runs once per use of the window, not when it comes back from behind another.
    if (!e->spontaneous() && !m_opened) FormShow();
}

void Tfrm_articoli::applySettings() {
    const Settings& s = *m_ctx.settings;
    m_pages->setTabVisible(Storico, s.flag(u"Magazzino", u"Analisi movimenti in tempo reale"));
    for (int i = 1; i <= 4; ++i)
        m_labels[QStringLiteral("lbl_a_des%1").arg(i)]->setText(
            s.text(u"Magazzino", QStringLiteral("Campo aggiuntivo %1").arg(i)));
    if (auto* refs = findChild<QWidget*>(QStringLiteral("panel_riferimenti")))
        refs->setVisible(s.flag(u"Magazzino", u"Visualizza riferimenti esterni articolo"));
    m_outside->setVisible(s.flag(u"Magazzino", u"Visualizza Panel mag esterni"));
    auto* vat = qobject_cast<QComboBox*>(m_fields[QStringLiteral("iva")]);
    vat->clear();
    // Exempt articles carry no rate; the others one of the configured ones.
    vat->addItem(VatRate().text());
    for (const QString& rate : VatRates(s).choices())
        if (vat->findText(rate) < 0) vat->addItem(rate);
}

void Tfrm_articoli::fillCurrencies() {
    auto* c = qobject_cast<QComboBox*>(m_fields[QStringLiteral("valuta")]);
    m_loading = true;
    c->clear();
    c->addItem(QString(), 0.0);
    try {
        m_currencies = m_archive.currencies();
    } catch (const StoreError&) {
        m_currencies.clear();
    }
    for (const Currency& cur : std::as_const(m_currencies)) c->addItem(cur.code, cur.rate);
    m_loading = false;
}

void Tfrm_articoli::FormShow() {
    m_opened = true;
    applySettings();
    fillCurrencies();
    m_newCard = false;
    setBrowsing(true);
    m_loading = true;
    m_search->clear();
    m_loading = false;
    m_oldHidden = false;
    m_buttons[QStringLiteral("btn_vecchia_data")]->setText(
        Dialogs::displayText(QStringLiteral("Nascondi art.di \r\nvecchia data")));
    runQuery(ArticleQuery{}, m_currentRowid);
    // The search box starts on the description: read it now, so the first keystroke is quick too.
    m_archive.forgetTextSearch();
    try {
        m_archive.prepareTextSearch(QStringLiteral("des"));
    } catch (const StoreError&) {
    }
}

void Tfrm_articoli::showPage(int page) {
    if (page == Storico && !m_pages->isTabVisible(Storico)) return;
    m_pages->setCurrentIndex(page);
}

int Tfrm_articoli::listCount() const { return m_model->rowCount(); }

void Tfrm_articoli::runQuery(const ArticleQuery& q, qint64 keepRowid, int fallbackRow) {
    m_query = q;
    QList<qint64> ids;
    try {
        ids = m_archive.ids(q);
    } catch (const StoreError& e) {
        Dialogs::instance().error(kTitle, e.message(), this);
    }
    m_loading = true;
    m_model->setIds(std::move(ids));
    m_loading = false;
    m_labels[QStringLiteral("lbl_num_articoli")]->setText(
        QStringLiteral("Articoli: %1").arg(m_model->rowCount()));
    int row = keepRowid >= 0 ? m_model->indexOfRowid(keepRowid) : -1;
    if (row < 0) row = qMin(fallbackRow, m_model->rowCount() - 1);
    showRow(row);
}

void Tfrm_articoli::showRow(int row) {
    m_current = row;
    if (row < 0 || row >= m_model->rowCount()) {
        m_current = -1;
        m_currentRowid = -1;
        m_currentCode.clear();
        clearCard();
        return;
    }
    m_currentRowid = m_model->rowidAt(row);
    m_loading = true;
    m_grid->setCurrentIndex(m_model->index(row, 0));
    m_loading = false;
    try {
        showCard(m_archive.card(m_currentRowid));
    } catch (const StoreError& e) {
        Dialogs::instance().error(kTitle, e.message(), this);
    }
}

void Tfrm_articoli::clearCard() {
    m_loading = true;
    for (auto it = m_fields.begin(); it != m_fields.end(); ++it) {
        if (auto* e = qobject_cast<QLineEdit*>(it.value()))
            e->clear();
        else if (auto* c = qobject_cast<QComboBox*>(it.value())) {
            if (c->isEditable())
                c->setCurrentText(QString());
            else
                c->setCurrentIndex(0);
        }
    }
    m_markup->clear();
    m_priceWithVat->clear();
    m_labels[QStringLiteral("lbl_id")]->clear();
    m_shownStock.clear();
    m_averageCost = 0;
    m_labels[QStringLiteral("lbl_costo_med")]->clear();
    m_outside->clear();
    m_outsideRows.clear();
    m_sideList->hide();
    for (QLabel* p : m_pictures) p->clear();
    m_loading = false;
    updateStockPanel();
}

void Tfrm_articoli::showCard(const QVariantMap& card) {
    clearCard();
    m_loading = true;
    for (auto it = m_fields.begin(); it != m_fields.end(); ++it) {
        const QVariant v = card.value(it.key());
        const int kind = it.value()->property("fieldKind").toInt();
        if (auto* e = qobject_cast<QLineEdit*>(it.value())) {
            e->setText(kind == Number
                           ? (v.isNull() ? QStringLiteral("0") : fmt::value(v.toDouble()))
                           : v.toString().trimmed());
        } else if (auto* c = qobject_cast<QComboBox*>(it.value())) {
            const QString text = kind == Combo && it.key() == u"iva" && !v.isNull()
                                     ? fmt::value(v.toDouble())
                                     : v.toString().trimmed();
            if (c->isEditable()) {
                c->setCurrentText(text);
            } else {
                // A currency no longer in the list stays on the card rather than being lost at the
                // next save.
                if (!text.isEmpty() && c->findText(text) < 0) c->addItem(text, 0.0);
                c->setCurrentIndex(qMax(0, c->findText(text)));
            }
        }
    }
    for (const QString& col : stockColumns())
        if (QLineEdit* e = edit(col)) m_shownStock.insert(col, e->text());
    m_currentCode = card.value(QStringLiteral("cod")).toString().trimmed();
    const QVariant id = card.value(QStringLiteral("id"));
    m_labels[QStringLiteral("lbl_id")]->setText(id.isNull() ? QString() : id.toString());
    m_averageCost = card.value(QStringLiteral("costo_med")).toDouble();
    m_labels[QStringLiteral("lbl_costo_med")]->setText(fmt::number(m_averageCost, u"###,##0.00"));
    try {
        m_outsideRows = m_archive.outsideStock(m_currentCode);
    } catch (const StoreError&) {
        m_outsideRows.clear();
    }
    m_outside->addItem(QStringLiteral("Principale"));
    for (const OutsideStock& o : std::as_const(m_outsideRows)) m_outside->addItem(o.warehouse);
    m_loading = false;
    updateMarkup();
    updateStockPanel();
    btn_ricalcolaClick();
    if (m_ctx.settings->flag(u"Magazzino", u"Carica foto in tempo reale") ||
        m_pages->currentIndex() == Foto)
        for (int i = 1; i <= 3; ++i) showPicture(i);
    if (m_pages->currentIndex() == Storico) fillHistory();
}

double Tfrm_articoli::fieldNumber(const QString& column) const {
    const QWidget* w = m_fields.value(column);
    QString text;
    if (auto* e = qobject_cast<const QLineEdit*>(w))
        text = e->text();
    else if (auto* c = qobject_cast<const QComboBox*>(w))
        text = c->currentText();
    return fmt::parseNumber(text.trimmed());
}

void Tfrm_articoli::updateMarkup() {
    const double markup = article::markupFromPrices(fieldNumber(QStringLiteral("prezzo_acq")),
                                                    fieldNumber(QStringLiteral("prezzo_ven")));
    m_markup->setText(fmt::number(markup, u"#0.00"));
    updateSecondCurrency();
}

void Tfrm_articoli::updateSecondCurrency() {
    const Settings& s = *m_ctx.settings;
    const double rate = fmt::parseNumber(s.text(u"Magazzino", u"Valuta secondaria cambio"));
    const QString name = s.text(u"Magazzino", u"Valuta secondaria");
    m_labels[QStringLiteral("lbl_valuta2")]->setText(
        fmt::number(fieldNumber(QStringLiteral("prezzo_ven")) * rate, u"###,##0.00") +
        QStringLiteral(" ") + name);
    QStringList lists;
    for (int i = 2; i <= 4; ++i)
        lists << fmt::number(fieldNumber(QStringLiteral("listino%1").arg(i)) * rate, u"###,##0.00");
    m_labels[QStringLiteral("lbl_listini_valuta2")]->setText(lists.join(QStringLiteral("  ")));
}

void Tfrm_articoli::updateStockPanel() {
    const Settings& s = *m_ctx.settings;
    double qca = fieldNumber(QStringLiteral("qca")), qsc = fieldNumber(QStringLiteral("qsc"));
    double pca = fieldNumber(QStringLiteral("pca")), psc = fieldNumber(QStringLiteral("psc"));
    double cca = fieldNumber(QStringLiteral("cca")), csc = fieldNumber(QStringLiteral("csc"));
    const int outside = m_outside->currentIndex() - 1;
    if (outside >= 0 && outside < m_outsideRows.size()) {
        const OutsideStock& o = m_outsideRows[outside];
        qca = o.qca;
        qsc = o.qsc;
        pca = o.pca;
        psc = o.psc;
        cca = o.cca;
        csc = o.csc;
    }
    const double stock = qca - qsc;
    QLabel* giac = m_labels[QStringLiteral("lbl_giacenza")];
    giac->setText(
        fmt::number(stock, stockPattern(s.integer(u"Magazzino", u"Decimali giacenza articolo"))));
    giac->setStyleSheet(
        stock > 0 ? QString()
                  : QStringLiteral("color: white; background: #c00000; padding: 1px 4px"));
    m_labels[QStringLiteral("lbl_peso_giacenza")]->setText(fmt::number(pca - psc, u"###,##0.###"));
    m_labels[QStringLiteral("lbl_colli_giacenti")]->setText(fmt::number(cca - csc, u"###,##0"));
    m_labels[QStringLiteral("lbl_da_consegnare")]->setText(fmt::number(
        fieldNumber(QStringLiteral("qord")) - fieldNumber(QStringLiteral("qcons")), u"###,##0.##"));
    auto money = [&](const char* name, double value, bool highlight) {
        QLabel* l = m_labels[QString::fromLatin1(name)];
        l->setText(Money::fromDouble(value).format());
        l->setStyleSheet(highlight && value < 0 ? QStringLiteral("color: #c00000") : QString());
    };
    money("lbl_valore_acq", stock * fieldNumber(QStringLiteral("prezzo_acq")), true);
    money("lbl_valore_ven", stock * fieldNumber(QStringLiteral("prezzo_ven")), true);
    money("lbl_valore_cm", stock * (m_newCard ? 0.0 : m_averageCost), false);

    const double minimum = fieldNumber(QStringLiteral("scortamin"));
    const double tolerance = fieldNumber(QStringLiteral("tolleranza"));
    const article::StockState state = article::stockState(
        article::stockUnits(qca, qsc, fieldNumber(QStringLiteral("fm"))), minimum, tolerance);
    QLabel* pic = m_labels[QStringLiteral("img_scorta")];
    pic->setPixmap(statePicture(state));
    pic->setToolTip(article::stockStateHint(state));
    QLabel* label = m_labels[QStringLiteral("lbl_stato_scorta")];
    label->setText(article::stockStateLabel(state));
    label->setToolTip(article::stockStateHint(state));
    label->setProperty("stockState", int(state));
    const QString pattern = stockPattern(s.integer(u"Magazzino", u"Decimali giacenza articolo"));
    m_labels[QStringLiteral("lbl_legenda_ok")]->setText(QStringLiteral("sopra ") +
                                                        fmt::number(minimum + tolerance, pattern));
    m_labels[QStringLiteral("lbl_legenda_attenzione")]->setText(
        QStringLiteral("da ") + fmt::number(minimum, pattern) + QStringLiteral(" a ") +
        fmt::number(minimum + tolerance, pattern));
    m_labels[QStringLiteral("lbl_legenda_allarme")]->setText(QStringLiteral("sotto ") +
                                                             fmt::number(minimum, pattern));
}

void Tfrm_articoli::salePriceEdited() {
    if (m_loading) return;
    if (m_ctx.settings->integer(u"Magazzino", u"Calcolo ricarico articolo") == 0) {
        const double purchase = fieldNumber(QStringLiteral("prezzo_acq"));
        const double sale = fieldNumber(QStringLiteral("prezzo_ven"));
        if (purchase != 0 && sale != 0)
            m_markup->setText(fmt::number(article::markupFromPrices(purchase, sale), u"#0.00"));
        // Only a number is copied, so a typing slip is reported once, for the sale price.
        bool ok = false;
        fmt::parseNumber(edit(QStringLiteral("prezzo_ven"))->text().trimmed(), &ok);
        if (ok)
            edit(QStringLiteral("listino1"))->setText(edit(QStringLiteral("prezzo_ven"))->text());
        try {
            m_archive.backup();
        } catch (const StoreError&) {
            QApplication::beep();
        }
    }
    updateSecondCurrency();
    updateStockPanel();
}

void Tfrm_articoli::markupEdited() {
    if (m_loading || m_ctx.settings->integer(u"Magazzino", u"Calcolo ricarico articolo") != 1)
        return;
    const double purchase = fieldNumber(QStringLiteral("prezzo_acq"));
    const double sale = fieldNumber(QStringLiteral("prezzo_ven"));
    bool ok = false;
    const double markup = fmt::parseNumber(m_markup->text().trimmed(), &ok);
    if (!ok || purchase == 0 || sale == 0 || markup == 0) return;
    edit(QStringLiteral("prezzo_ven"))
        ->setText(fmt::value(article::saleFromMarkup(purchase, markup)));
    updateSecondCurrency();
    updateStockPanel();
}

void Tfrm_articoli::btn_ricalcolaClick() {
    m_priceWithVat->setText(fmt::number(article::withVat(fieldNumber(QStringLiteral("prezzo_ven")),
                                                         fieldNumber(QStringLiteral("iva"))),
                                        u"###,##0.00"));
}

void Tfrm_articoli::btn_calcolaClick() {
    QString error;
    auto num = [this, &error](const QString& column) {
        return article::parseField(edit(column)->text(), m_captions.value(column), &error);
    };
    article::CostSheet sheet;
    sheet.materialPrice = num(QStringLiteral("prezzo_materiale"));
    sheet.materialWeight = num(QStringLiteral("peso_materiale"));
    sheet.pieceWeight = num(QStringLiteral("peso_pezzo"));
    sheet.recovered = num(QStringLiteral("recupero_mat"));
    sheet.hours = num(QStringLiteral("ore"));
    for (int i = 1; i <= 6; ++i) sheet.extras += num(QStringLiteral("costo_agg%1").arg(i));
    for (const char* step : {"tropic", "zincat", "dorat"})
        sheet.extras += num(QString::fromLatin1(step));
    if (!error.isEmpty()) {
        Dialogs::instance().warning(QStringLiteral("Dati inesatti o errati"), error, this);
        return;
    }
    const Settings& s = *m_ctx.settings;
    const article::CostResult r =
        article::computeCost(sheet, s.integer(u"Magazzino", u"Calcolo costo articolo"),
                             s.number(u"Magazzino", u"Costo orario"));
    if (!r.error.isEmpty()) {
        Dialogs::instance().error(kTitle, r.error, this);
        return;
    }
    edit(QStringLiteral("costo_mat_prima"))->setText(fmt::number(r.rawMaterial, u"#0.00##"));
    edit(QStringLiteral("prezzo_acq"))->setText(fmt::number(r.cost, u"#0.00##"));
    updateMarkup();
    updateStockPanel();
}

void Tfrm_articoli::scorporoIva() {
    QLineEdit* sale = edit(QStringLiteral("prezzo_ven"));
    sale->setText(fmt::value(article::withoutVat(fieldNumber(QStringLiteral("prezzo_ven")),
                                                 fieldNumber(QStringLiteral("iva")))));
    updateMarkup();
    updateStockPanel();
}

void Tfrm_articoli::convertCurrency(QLineEdit* from) {
    QLineEdit* purchase = edit(QStringLiteral("prezzo_acq"));
    QLineEdit* foreign = edit(QStringLiteral("cambio"));
    if (from != purchase && from != foreign) return;
    auto* currency = qobject_cast<QComboBox*>(m_fields[QStringLiteral("valuta")]);
    const double rate = currency->currentIndex() > 0 ? currency->currentData().toDouble() : 0.0;
    if (rate == 0) {
        Dialogs::instance().error(kTitle, QStringLiteral("Valore diviso per 0 non valido!"), this);
        return;
    }
    QString error;
    const double value =
        article::parseField(from->text(),
                            m_captions.value(from == purchase ? QStringLiteral("prezzo_acq")
                                                              : QStringLiteral("cambio")),
                            &error);
    if (!error.isEmpty()) {
        Dialogs::instance().error(kTitle, error, this);
        return;
    }
    if (from == foreign)
        purchase->setText(fmt::value(value / rate));
    else
        foreign->setText(fmt::value(value * rate));
    updateMarkup();
    updateStockPanel();
}

void Tfrm_articoli::showPicture(int slot) {
    QLabel* target = m_pictures[slot - 1];
    const QString path = edit(QStringLiteral("immagine%1").arg(slot))->text().trimmed();
    if (path.isEmpty()) {
        target->clear();
        return;
    }
    QImageReader reader(path);
    const QImage img = reader.read();
    if (img.isNull()) {
        target->setText(QStringLiteral("Foto non disponibile"));
        QApplication::beep();
        return;
    }
    QPixmap pm = QPixmap::fromImage(img);
    const QSize box = target->size() - QSize(4, 4);
    if (m_pictureFit[slot - 1]->isChecked() || pm.width() > box.width() ||
        pm.height() > box.height()) {
        const bool stretch = m_pictureModes[slot - 1]->currentIndex() == 1;
        pm = pm.scaled(box, stretch ? Qt::IgnoreAspectRatio : Qt::KeepAspectRatio,
                       Qt::SmoothTransformation);
    }
    target->setPixmap(pm);
}

void Tfrm_articoli::pasteFromClipboard(int slot) {
    if (slot < 1 || slot > 3) return;
    const QImage img = QApplication::clipboard()->image();
    if (img.isNull()) {
        QApplication::beep();
        return;
    }
    const QString dir = QDir(m_ctx.base).filePath(QStringLiteral("foto_articoli"));
    // Named after the code on screen, which on a new card is not stored yet.
    QString name = edit(QStringLiteral("cod"))->text().trimmed();
    for (QChar& c : name)
        if (!c.isLetterOrNumber()) c = u'_';
    if (name.isEmpty()) name = QStringLiteral("articolo");
    // A picture already there, pasted before or put by the user, is never overwritten.
    QString file = QDir(dir).filePath(QStringLiteral("%1_%2.png").arg(name).arg(slot));
    for (int n = 2; QFileInfo::exists(file); ++n)
        file = QDir(dir).filePath(QStringLiteral("%1_%2_%3.png").arg(name).arg(slot).arg(n));
    if (!QDir().mkpath(dir) || !img.save(file, "PNG")) {
        Dialogs::instance().error(kTitle, QStringLiteral("Impossibile salvare la foto in ") + file,
                                  this);
        return;
    }
    edit(QStringLiteral("immagine%1").arg(slot))->setText(file);
    showPicture(slot);
}

void Tfrm_articoli::fillHistory() {
    const QString code = m_newCard ? QString() : m_currentCode;
    const QDate today = Clock::today();
    MovementStats st;
    if (!code.isEmpty()) {
        try {
            st = m_archive.movementStats(code, today);
        } catch (const StoreError&) {
            // No movement archive for this year yet: nothing to show.
        }
    }
    auto entry = [&today](const MovementStats::Entry& e) {
        if (!e.found) return QStringLiteral("-");
        QString when = e.date.isValid() ? fmt::date(e.date, u"dd/mm/yyyy  ddd") +
                                              QStringLiteral("  (%1 gg)").arg(e.date.daysTo(today))
                                        : QStringLiteral("senza data");
        return when + QStringLiteral("   Quantità: ") + fmt::number(e.quantity, u"###,##0.##");
    };
    m_labels[QStringLiteral("lbl_ult_carico")]->setText(entry(st.lastLoad));
    m_labels[QStringLiteral("lbl_ult_scarico_ddt")]->setText(entry(st.lastDdtUnload));
    m_labels[QStringLiteral("lbl_ult_scarico_veloce")]->setText(entry(st.lastQuickUnload));
    m_labels[QStringLiteral("lbl_ult_scarico_manuale")]->setText(entry(st.lastManualUnload));
    m_labels[QStringLiteral("lbl_ult_ripristino")]->setText(entry(st.lastRestore));
    m_labels[QStringLiteral("lbl_max_carico")]->setText(entry(st.largestLoad));
    m_labels[QStringLiteral("lbl_max_scarico")]->setText(entry(st.largestUnload));
    m_labels[QStringLiteral("lbl_mov_mese")]->setText(
        QStringLiteral("%1 movimenti, quantità %2")
            .arg(st.monthCount)
            .arg(fmt::number(st.monthQuantity, u"###,##0.##")));
    m_labels[QStringLiteral("lbl_mov_anno")]->setText(
        QStringLiteral("%1 movimenti, quantità %2")
            .arg(st.yearCount)
            .arg(fmt::number(st.yearQuantity, u"###,##0.##")));
}

void Tfrm_articoli::setBrowsing(bool browsing) {
    for (const char* name :
         {"btn_nuovo", "btn_cancella", "btn_inizio", "btn_indietro", "btn_avanti", "btn_fine",
          "btn_carico_scarico", "btn_carico_scarico_pagina", "btn_stampa_scheda"})
        if (QPushButton* b = m_buttons.value(QString::fromLatin1(name))) b->setEnabled(browsing);
    m_buttons[QStringLiteral("btn_annulla")]->setEnabled(!browsing);
    m_labels[QStringLiteral("panel_inserimento")]->setVisible(!browsing);
}

bool Tfrm_articoli::leaveNewCard() {
    if (!m_newCard) return true;
    if (Dialogs::instance().show(MsgIcon::Question, kTitle,
                                 QStringLiteral("Annullare l'inserimento della nuova scheda?"),
                                 int(DlgButton::Yes) | int(DlgButton::No), DlgButton::No,
                                 this) != DlgButton::Yes)
        return false;
    m_newCard = false;
    setBrowsing(true);
    return true;
}

void Tfrm_articoli::btn_nuovoClick() {
    if (m_newCard) return;
    const Settings& s = *m_ctx.settings;
    QPair<qint64, QString> last;
    try {
        last = m_archive.lastById();
    } catch (const StoreError& e) {
        Dialogs::instance().error(kTitle, e.message(), this);
        return;
    }
    const article::CodeProposal p = article::proposeCode(
        last.second, s.flag(u"Magazzino", u"Incrementa automaticamente codice articolo"),
        s.flag(u"Magazzino", u"Inserisce zeri intesta codice articolo"),
        s.integer(u"Magazzino", u"Zeri in testa codice articolo"));
    QString code = p.code;
    if (p.needsAsciiQuestion)
        code =
            Dialogs::instance().yesNo(
                MsgIcon::Question, QStringLiteral("Codice alfanumerico"),
                QStringLiteral("Non è possibile effettuare l'incremento automatico del codice \r\n"
                               "articolo se esso è alfanumerico. Incrementare in modalità ASCII?"),
                this)
                ? p.asciiCode
                : QString();
    m_currentRowid = m_model->rowidAt(m_current);
    clearCard();
    m_loading = true;
    for (auto it = m_fields.begin(); it != m_fields.end(); ++it)
        if (it.value()->property("fieldKind").toInt() == Number)
            static_cast<QLineEdit*>(it.value())->setText(QStringLiteral("0"));
    edit(QStringLiteral("fm"))->setText(QStringLiteral("1"));
    edit(QStringLiteral("quant_iniz"))
        ->setText(s.flag(u"Magazzino", u"Quantità iniziale uguale a uno") ? QStringLiteral("1")
                                                                          : QStringLiteral("0"));
    qobject_cast<QComboBox*>(m_fields[QStringLiteral("iva")])
        ->setCurrentText(s.text(u"Magazzino", u"Perc IVA predefinita").trimmed());
    edit(QStringLiteral("cod"))->setText(code.left(m_maxLengths.value(QStringLiteral("cod"), 20)));
    m_labels[QStringLiteral("lbl_id")]->setText(QString::number(last.first + 1));
    m_loading = false;
    m_newCard = true;
    setBrowsing(false);
    updateMarkup();
    updateStockPanel();
    btn_ricalcolaClick();
    fillHistory();
    m_pages->setCurrentIndex(Generalita);
    edit(QStringLiteral("des"))->setFocus();
}

void Tfrm_articoli::btn_annullaClick() {
    if (!m_newCard) return;
    m_newCard = false;
    setBrowsing(true);
    showRow(m_model->indexOfRowid(m_currentRowid));
}

QVariantMap Tfrm_articoli::cardFields(QString* error) const {
    QVariantMap out;
    // In the order of the card, so the first field in error is the one named.
    for (const QString& column : m_fieldOrder) {
        const QWidget* w = m_fields.value(column);
        const int kind = w->property("fieldKind").toInt();
        QString text;
        if (auto* e = qobject_cast<const QLineEdit*>(w))
            text = e->text().trimmed();
        else if (auto* c = qobject_cast<const QComboBox*>(w))
            text = c->currentText().trimmed();
        if (kind == Number || column == u"iva") {
            QString err;
            const double v = article::parseField(text, m_captions.value(column), &err);
            if (!err.isEmpty() && error && error->isEmpty()) *error = err;
            out.insert(column, v);
        } else {
            out.insert(column, text);
        }
    }
    if (out.value(QStringLiteral("fm")).toDouble() == 0) out.insert(QStringLiteral("fm"), 1.0);
    return out;
}

bool Tfrm_articoli::btn_confermaClick() {
    Dialogs& d = Dialogs::instance();
    // Without a card on screen there is nothing to confirm.
    if (!m_newCard && m_currentRowid < 0) {
        QApplication::beep();
        return false;
    }
    QString error;
    QVariantMap fields = cardFields(&error);
    if (!error.isEmpty()) {
        d.warning(QStringLiteral("Dati inesatti o errati"),
                  error + QStringLiteral("\r\nL'articolo non è stato salvato."), this);
        return false;
    }
    const QString code = fields.value(QStringLiteral("cod")).toString();
    if (code.isEmpty()) {
        d.warning(kTitle, QStringLiteral("Il campo Codice non può essere vuoto!"), this);
        return false;
    }
    if (fields.value(QStringLiteral("des")).toString().isEmpty()) {
        d.warning(kTitle, QStringLiteral("Il campo Descrizione non può essere vuoto!"), this);
        return false;
    }
    const QDate today = Clock::today();
    try {
        if (m_newCard) {
            if (m_archive.sameCodeCount(code) > 0) {
                d.warning(QStringLiteral("Codice articolo esistente"),
                          QStringLiteral("L'articolo con codice %1 esiste già").arg(code), this);
                return false;
            }
        } else if (m_archive.sameCodeCount(code, m_currentRowid) > 0) {
            d.warning(kTitle,
                      QStringLiteral("Il codice inserito è già presente in "
                                     "magazzino.\r\nModificarlo e ripetere l'operazione"),
                      this);
            return false;
        }
        fields.insert(QStringLiteral("data"), today);
        InitialLoad load;
        bool withLoad = false;
        if (m_newCard) {
            fields.insert(QStringLiteral("dip"), today);
            fields.insert(QStringLiteral("dum"), today);
            for (const char* c : {"costo_ap", "esist_iniz", "costo_med", "rim"})
                fields.insert(QString::fromLatin1(c), 0.0);
            if (m_ctx.settings->flag(u"Magazzino", u"Richiede inserimento movimento iniziale")) {
                load.quantity = fields.value(QStringLiteral("quant_iniz")).toDouble();
                load.price = fields.value(QStringLiteral("prezzo_acq")).toDouble();
                load.vat = fields.value(QStringLiteral("iva")).toDouble();
                load.supplier = fields.value(QStringLiteral("cod_forn")).toString();
                withLoad = d.show(MsgIcon::Question, QStringLiteral("Carico iniziale"),
                                  QStringLiteral("Vuoi inserire il movimento di carico merce per "
                                                 "la quantità iniziale di\r\n%1  pezzi?")
                                      .arg(fmt::value(load.quantity)),
                                  int(DlgButton::Yes) | int(DlgButton::No), DlgButton::No,
                                  this) == DlgButton::Yes;
            }
            m_archive.backup();
        } else {
            if (m_archive.card(m_currentRowid).value(QStringLiteral("id")).isNull())
                d.warning(kTitle, QStringLiteral("Attenzione ID Articoli di magazzino non trovato"),
                          this);
            for (const QString& col : stockColumns())
                if (edit(col)->text() == m_shownStock.value(col)) fields.remove(col);
        }
        const ArticleArchive::Saved saved =
            m_archive.save(fields, m_newCard ? -1 : m_currentRowid, withLoad ? &load : nullptr);
        m_newCard = false;
        setBrowsing(true);
        QStringList skipped = saved.skipped;
        skipped.removeIf([](const QString& c) { return c == u"dip" || c == u"dum"; });
        if (!skipped.isEmpty()) {
            const bool extra = std::all_of(skipped.cbegin(), skipped.cend(), isExtraColumn);
            d.warning(kTitle,
                      extra ? QStringLiteral("Non sono stati aggiornati i campi aggiuntivi "
                                             "dell'articolo.\r\nAbilitare la funzione di "
                                             "controllo degli archivi nel setup!")
                            : QStringLiteral("Non sono stati aggiornati i campi "
                                             "dell'articolo.\r\nAbilitare la funzione di controllo "
                                             "degli archivi nel setup!"),
                      this);
        }
        runQuery(m_query, saved.rowid);
        if (m_model->indexOfRowid(saved.rowid) < 0) {
            m_loading = true;
            m_search->clear();
            m_loading = false;
            runQuery(ArticleQuery{}, saved.rowid);
        }
        return true;
    } catch (const StoreError& e) {
        d.error(kTitle, QStringLiteral("L'articolo non è stato salvato:\r\n") + e.message(), this);
        return false;
    }
}

void Tfrm_articoli::btn_cancellaClick() {
    if (m_newCard || m_currentRowid < 0) return;
    Dialogs& d = Dialogs::instance();
    const QString text = QStringLiteral("Sei sicuro di voler cancellare l'articolo %1 - %2?")
                             .arg(m_currentCode, edit(QStringLiteral("des"))->text().trimmed());
    if (d.show(MsgIcon::Warning, QStringLiteral("Confermare cancellazione articolo"), text,
               int(DlgButton::Yes) | int(DlgButton::No), DlgButton::No, this) != DlgButton::Yes)
        return;
    try {
        m_archive.backup();
        TrayNotice::instance().show(QStringLiteral("Articoli di magazzino"),
                                    QStringLiteral("Eseguito backup degli archivi."),
                                    TrayNotice::kStandardSeconds, TrayNotice::Kind::Info);
        const int row = m_current;
        m_archive.remove(m_currentRowid);
        m_loading = true;
        m_search->clear();
        m_loading = false;
        runQuery(ArticleQuery{}, -1, row);
    } catch (const StoreError& e) {
        d.error(kTitle, QStringLiteral("L'articolo non è stato cancellato:\r\n") + e.message(),
                this);
    }
}

void Tfrm_articoli::btn_inizioClick() {
    if (!m_newCard) showRow(0);
}
void Tfrm_articoli::btn_fineClick() {
    if (!m_newCard) showRow(m_model->rowCount() - 1);
}
void Tfrm_articoli::btn_indietroClick() {
    if (!m_newCard && m_current > 0) showRow(m_current - 1);
}
void Tfrm_articoli::btn_avantiClick() {
    if (!m_newCard && m_current + 1 < m_model->rowCount()) showRow(m_current + 1);
}

void Tfrm_articoli::btn_carico_scaricoClick() {
    if (m_newCard || m_currentRowid < 0 || !runLoadWindow) return;
    const qint64 rowid = m_currentRowid;
    runLoadWindow(m_currentCode);
    m_archive.forgetTextSearch();
    // The load window changed the stock: show what the archive holds now.
    m_model->invalidate();
    const int row = m_model->indexOfRowid(rowid);
    if (row >= 0)
        showRow(row);
    else
        runQuery(m_query);
}

void Tfrm_articoli::searchChanged() {
    if (m_loading) return;
    if (m_ctx.settings->flag(u"Magazzino", u"Ricerca progressiva in digitazione"))
        m_searchTimer->start();
}

void Tfrm_articoli::settleSearch() {
    if (!m_searchTimer->isActive()) return;
    m_searchTimer->stop();
    runSearchNow();
}

void Tfrm_articoli::runSearchNow() {
    m_searchTimer->stop();
    if (!leaveNewCard()) return;
    runQuery(ArticleQuery::search(m_filter->currentIndex(), m_search->text()));
}

void Tfrm_articoli::btn_togli_filtroClick() {
    if (!leaveNewCard()) return;
    m_loading = true;
    m_search->clear();
    m_loading = false;
    m_searchTimer->stop();
    m_oldHidden = false;
    m_buttons[QStringLiteral("btn_vecchia_data")]->setText(
        Dialogs::displayText(QStringLiteral("Nascondi art.di \r\nvecchia data")));
    runQuery(ArticleQuery{}, m_currentRowid);
}

void Tfrm_articoli::btn_vecchia_dataClick() {
    if (!leaveNewCard()) return;
    m_oldHidden = !m_oldHidden;
    m_buttons[QStringLiteral("btn_vecchia_data")]->setText(
        Dialogs::displayText(m_oldHidden ? QStringLiteral("Mostra art.di \r\nvecchia data")
                                         : QStringLiteral("Nascondi art.di \r\nvecchia data")));
    if (m_oldHidden)
        runQuery(ArticleQuery::recent(
                     int(m_ctx.settings->number(u"Magazzino", u"Giorni emivita articolo")),
                     Clock::today()),
                 m_currentRowid);
    else
        runQuery(ArticleQuery{}, m_currentRowid);
}

void Tfrm_articoli::verificaDuplicati() {
    if (m_newCard || m_currentRowid < 0) return;
    try {
        const qint64 n = m_archive.sameCodeCount(m_currentCode, m_currentRowid);
        if (n == 0)
            Dialogs::instance().info(
                kTitle, QStringLiteral("Non esistono altri articoli con questo codice\r\n"), this);
        else
            Dialogs::instance().warning(
                kTitle,
                QStringLiteral("Esistono %1 altri articoli con il codice %2")
                    .arg(n)
                    .arg(m_currentCode),
                this);
    } catch (const StoreError& e) {
        Dialogs::instance().error(kTitle, e.message(), this);
    }
}

void Tfrm_articoli::btn_stampa_listinoClick() {
    report::Rows rows;
    try {
        Store& s = *m_ctx.store;
        s.forEachRow(
            QStringLiteral("SELECT cod, des, um, prezzo_ven, iva FROM %1%2 ORDER BY cod, rowid")
                .arg(s.table(m_archive.path()), m_query.where.isEmpty()
                                                    ? QString()
                                                    : QStringLiteral(" WHERE ") + m_query.where),
            m_query.params, [&rows](const StoreRow& r) {
                report::Row row;
                row.insert(QStringLiteral("COD"), r.text(0).trimmed());
                row.insert(QStringLiteral("DES"), r.text(1).trimmed());
                row.insert(QStringLiteral("UM"), r.text(2).trimmed());
                row.insert(QStringLiteral("PREZZO_VEN"), r.value(3).toDouble());
                row.insert(QStringLiteral("IVA"), r.value(4).toDouble());
                rows.append(row);
            });
    } catch (const StoreError& e) {
        Dialogs::instance().error(kTitle, e.message(), this);
        return;
    }
    if (rows.isEmpty()) {
        Dialogs::instance().info(kTitle, QStringLiteral("Non ci sono articoli da stampare"), this);
        return;
    }
    showPreview(Tqr_listino(*m_ctx.settings, Clock::today()).render(rows));
}

void Tfrm_articoli::btn_stampa_schedaClick() {
    if (m_newCard || m_currentRowid < 0) return;
    report::Rows rows;
    try {
        const QVariantMap card = m_archive.card(m_currentRowid);
        report::Row row;
        for (auto it = card.cbegin(); it != card.cend(); ++it)
            row.insert(it.key().toUpper(), it.value());
        rows.append(row);
    } catch (const StoreError& e) {
        Dialogs::instance().error(kTitle, e.message(), this);
        return;
    }
    showPreview(Tqr_scheda_articolo(*m_ctx.settings, Clock::today()).render(rows));
}

void Tfrm_articoli::sideList(QLineEdit* field, const QString& pattern) {
    m_sideList->clear();
    m_sideListField = field;
    const QString text = field->text().trimmed();
    if (!text.isEmpty()) {
        try {
            m_sideList->addItems(m_archive.partnersLike(text, pattern));
        } catch (const StoreError&) {
            QApplication::beep();
        }
    }
    m_sideList->setVisible(m_sideList->count() > 0);
}

Tfrm_cerca& Tfrm_articoli::searchDialog() {
    if (m_ctx.windows) return m_ctx.windows->window<Tfrm_cerca>();
    if (!m_ownSearch) m_ownSearch = std::make_unique<Tfrm_cerca>(m_ctx, this);
    return *m_ownSearch;
}

void Tfrm_articoli::openPartnerSearch(QLineEdit* field, const QString& mode) {
    Tfrm_cerca& dialog = searchDialog();
    dialog.setMode(mode);
    runSearch(dialog);
    if (dialog.outcome() == 1 && !dialog.foundCode().isEmpty()) field->setText(dialog.foundCode());
}

void Tfrm_articoli::keyPressEvent(QKeyEvent* e) {
    const int k = e->key();
    if (k >= Qt::Key_F2 && k <= Qt::Key_F6) {
        showPage(k - Qt::Key_F2);
        return;
    }
    if (e->modifiers() & Qt::ControlModifier && !(e->modifiers() & Qt::AltModifier)) {
        switch (k) {
            case Qt::Key_Home:
                btn_inizioClick();
                return;
            case Qt::Key_Left:
                btn_indietroClick();
                return;
            case Qt::Key_Right:
                btn_avantiClick();
                return;
            case Qt::Key_End:
                btn_fineClick();
                return;
            default:
                break;
        }
    }
    if (k == Qt::Key_Return || k == Qt::Key_Enter) {
        if (!m_ctx.settings->flag(u"Magazzino", u"Ricerca progressiva in digitazione")) {
            if (m_search->hasFocus())
                runSearchNow();
            else
                btn_confermaClick();
        } else if (m_search->hasFocus()) {
            settleSearch();
        }
        return;
    }
    QDialog::keyPressEvent(e);
}

bool Tfrm_articoli::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::KeyPress) {
        auto* ke = static_cast<QKeyEvent*>(e);
        const Qt::KeyboardModifiers mods =
            ke->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier);
        if (mods == (Qt::ControlModifier | Qt::AltModifier)) {
            if (ke->key() == Qt::Key_I) {
                scorporoIva();
                return true;
            }
            if (ke->key() == Qt::Key_C) {
                convertCurrency(qobject_cast<QLineEdit*>(watched));
                return true;
            }
        }
    }
    if (e->type() == QEvent::MouseButtonDblClick) {
        if (watched == edit(QStringLiteral("cod_forn"))) {
            openPartnerSearch(edit(QStringLiteral("cod_forn")), QStringLiteral("fornitori"));
            return true;
        }
        if (watched == edit(QStringLiteral("cod_cli"))) {
            openPartnerSearch(edit(QStringLiteral("cod_cli")), QStringLiteral("clienti"));
            return true;
        }
        const int slot = watched->property("pictureSlot").toInt();
        if (slot >= 1 && slot <= 3) {
            const QString file = FileDialogs::instance().openFile(
                this, QStringLiteral("Scegli la foto dell'articolo"),
                QStringLiteral("Immagini (*.jpg *.jpeg *.png *.bmp *.gif)"));
            if (!file.isEmpty()) edit(QStringLiteral("immagine%1").arg(slot))->setText(file);
            return true;
        }
    }
    return QDialog::eventFilter(watched, e);
}

void Tfrm_articoli::done(int r) {
    m_searchTimer->stop();
    m_opened = false;
    qint64 articles = 0;
    try {
        articles = m_archive.count();
    } catch (const StoreError&) {
    }
    if (!UsageCounters(m_ctx.base)
             .recordUse(QStringLiteral("Magazzino"), articles, Clock::now(),
                        QStringLiteral("    Articoli in archivio: ")))
        QApplication::beep();
    QDialog::done(r);
}

}  // namespace zel
