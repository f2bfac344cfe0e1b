#include "registry/Tfrm_clienti1.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QComboBox>
#include <QDateTime>
#include <QDesktopServices>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLocale>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTimer>
#include <QUrl>
#include <limits>
#include <QVBoxLayout>

#include "core/Clock.h"
#include "core/Paths.h"
#include "registry/PartnerListModel.h"
#include "registry/PartnerRules.h"
#include "registry/PrivacyLetter.h"
#include "registry/Tfrm_cerca.h"
#include "registry/TrustBar.h"
#include "report/PartnerListReports.h"
#include "report/PreviewWindow.h"
#include "settings/Settings.h"
#include "store/Store.h"
#include "ui/DateEdit.h"
#include "ui/Dialogs.h"
#include "ui/FieldLength.h"
#include "ui/FileDialogs.h"
#include "ui/LengthDelegate.h"
#include "ui/Formats.h"
#include "ui/PictureView.h"
#include "ui/TrayNotice.h"
#include "ui/UsageCounters.h"

namespace zel {

namespace {

enum FieldKind { Text, Upper, Date, Number, Integer, Memo, Combo };

const QString kTitle = QStringLiteral("Attenzione");

QString settingText(const Settings& s, const QString& key) { return s.text(u"Anagrafica", key); }

// The time separator of the user's locale: "." where times read 14.30, ":" elsewhere.
QString timeSeparator() {
    const QString format = QLocale().timeFormat(QLocale::ShortFormat);
    const qsizetype hour = format.indexOf(u'h', 0, Qt::CaseInsensitive);
    for (qsizetype i = hour + 1; hour >= 0 && i < format.size(); ++i)
        if (!format[i].isLetter()) return format[i] == u'.' ? QStringLiteral(".") : QStringLiteral(":");
    return QStringLiteral(":");
}

QPushButton* button(QHash<QString, QPushButton*>& all, const QString& name, const QString& caption) {
    auto* b = new QPushButton(Dialogs::displayText(caption));
    b->setObjectName(name);
    all.insert(name, b);
    return b;
}

}  // namespace

Tfrm_clienti1::Tfrm_clienti1(AppContext& ctx, QWidget* parent)
    : QDialog(parent), m_ctx(ctx), m_archive(*ctx.store, *ctx.settings) {
    setObjectName(QStringLiteral("Tfrm_clienti1"));
    setWindowTitle(QStringLiteral("Anagrafica"));
    showPreview = [this](const report::PageModel& m) { report::PreviewWindow::run(m, 1, this); };
    runSearch = [](Tfrm_cerca& dialog) { dialog.execModal(); };
    buildUi();
}

Tfrm_clienti1::~Tfrm_clienti1() = default;

QWidget* Tfrm_clienti1::addField(const QString& column, const QString& name, int kind) {
    QWidget* w = nullptr;
    switch (kind) {
        case Date: w = new DateEdit; break;
        case Memo: w = new QPlainTextEdit; break;
        case Combo: {
            auto* c = new QComboBox;
            c->setEditable(true);
            w = c;
            break;
        }
        default: w = new QLineEdit;
    }
    limitLength(w, m_maxLengths.value(column));
    w->setObjectName(name);
    w->setProperty("fieldKind", kind);
    m_fields.insert(column, w);
    return w;
}

void Tfrm_clienti1::buildUi() {
    try {
        m_maxLengths = m_archive.maxLengths();
    } catch (const StoreError&) {
        // Without the archive the edits take any length; saving reports the failure.
    }
    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("page_anagrafica"));
    // Each page scrolls, so the list below stays on screen on small displays.
    auto scrolled = [](QWidget* page) {
        auto* area = new QScrollArea;
        area->setWidgetResizable(true);
        area->setFrameShape(QFrame::NoFrame);
        area->setWidget(page);
        return area;
    };
    m_pages->addTab(scrolled(buildCardPage()), QStringLiteral("Anagrafica F2"));
    m_pages->addTab(scrolled(buildTypePage()), QStringLiteral("Tipologia - dettagli F3"));
    m_pages->addTab(buildContactsPage(), QStringLiteral("Contatti F4"));
    m_pages->addTab(buildQuickViewPage(), QStringLiteral("Quick view F5"));
    m_pages->addTab(scrolled(buildPhotoPage()), QStringLiteral("Foto e Logo F6"));
    m_pages->addTab(buildAttachmentsPage(), QStringLiteral("Allegati F7"));
    m_pages->addTab(scrolled(buildFilterPage()), QStringLiteral("Filtri e Stampe F8"));
    m_pages->addTab(scrolled(buildVehiclePage()), QStringLiteral("Vetture"));

    // Quick search
    auto* search = new QGroupBox(QStringLiteral("Filtro di ricerca"));
    search->setObjectName(QStringLiteral("panel_ricerca"));
    m_searchBox = search;
    m_searchField = new QComboBox;
    m_searchField->setObjectName(QStringLiteral("cmb_campo_ricerca"));
    m_searchField->addItems(quickSearchFields());
    m_searchMode = new QComboBox;
    m_searchMode->setObjectName(QStringLiteral("cmb_modo_ricerca"));
    m_searchMode->addItems({QStringLiteral("Contiene"), QStringLiteral("Comincia con")});
    m_searchKind = new QComboBox;
    m_searchKind->setObjectName(QStringLiteral("cmb_filtro_esteso"));
    m_searchKind->addItems({QStringLiteral("Tutti"), QStringLiteral("solo Clienti"), QStringLiteral("solo Fornitori"),
                            QStringLiteral("Clienti e Fonitori")});
    m_searchText = new QLineEdit;
    m_searchText->setObjectName(QStringLiteral("edt_ricerca"));
    auto* clear = button(m_buttons, QStringLiteral("btn_pulisci_ricerca"), QStringLiteral("X"));
    auto* sl = new QHBoxLayout(search);
    sl->addWidget(m_searchField);
    sl->addWidget(m_searchMode);
    sl->addWidget(m_searchKind);
    sl->addWidget(m_searchText, 1);
    sl->addWidget(clear);
    // Typing runs the search once the keys pause, not once per key.
    m_searchTimer = new QTimer(this);
    m_searchTimer->setSingleShot(true);
    m_searchTimer->setInterval(kSearchPauseMs);
    connect(m_searchTimer, &QTimer::timeout, this, &Tfrm_clienti1::edt_ricercaChange);
    connect(m_searchText, &QLineEdit::textChanged, this, [this] {
        if (!m_loading) m_searchTimer->start();
    });
    m_countTimer = new QTimer(this);
    m_countTimer->setInterval(0);
    connect(m_countTimer, &QTimer::timeout, this, &Tfrm_clienti1::countStep);
    for (QComboBox* c : {m_searchField, m_searchMode}) {
        connect(c, &QComboBox::currentIndexChanged, this, [this] {
            if (m_searchText->text().isEmpty()) quickSearchChanged();
            else m_searchText->clear();
        });
    }
    connect(m_searchKind, &QComboBox::currentIndexChanged, this, &Tfrm_clienti1::quickSearchChanged);
    connect(clear, &QPushButton::clicked, m_searchText, &QLineEdit::clear);

    // List
    m_model = new PartnerListModel(this);
    m_grid = new QTableView;
    m_grid->setObjectName(QStringLiteral("grid_anagrafica"));
    m_grid->setModel(m_model);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->verticalHeader()->setDefaultSectionSize(20);
    m_grid->horizontalHeader()->setSectionsClickable(true);
    connect(m_grid->horizontalHeader(), &QHeaderView::sectionClicked, this, &Tfrm_clienti1::sortByColumn);
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& i) {
                if (!m_loading && i.isValid() && i.row() != m_current) showRow(i.row());
            });
    m_grid->installEventFilter(this);

    m_count = new QLabel;
    m_count->setObjectName(QStringLiteral("lbl_num_schede"));
    m_insertPanel = new QLabel(QStringLiteral("Inserimento dati"));
    m_insertPanel->setObjectName(QStringLiteral("panel_inserimento"));
    m_insertPanel->setStyleSheet(QStringLiteral("background:#ffd; font-weight:bold; padding:4px"));
    m_insertPanel->hide();

    auto* nav = new QHBoxLayout;
    const std::pair<const char*, const char*> navButtons[] = {
        {"btn_inizio", "Inizio"}, {"btn_precedente", "Precedente"}, {"btn_successivo", "Successivo"}, {"btn_fine", "Fine"},
        {"btn_nuova", "Aggiungi nuova scheda"}, {"btn_conferma", "Conferma"}, {"btn_annulla", "Annulla inserimento"},
        {"btn_cancella", "Cancella scheda selezionata"}};
    for (const auto& [name, caption] : navButtons)
        nav->addWidget(button(m_buttons, QString::fromLatin1(name), QString::fromUtf8(caption)));
    nav->addStretch();
    nav->addWidget(m_insertPanel);
    nav->addWidget(m_count);
    connect(m_buttons[QStringLiteral("btn_inizio")], &QPushButton::clicked, this, &Tfrm_clienti1::btn_inizioClick);
    connect(m_buttons[QStringLiteral("btn_precedente")], &QPushButton::clicked, this, &Tfrm_clienti1::btn_precedenteClick);
    connect(m_buttons[QStringLiteral("btn_successivo")], &QPushButton::clicked, this, &Tfrm_clienti1::btn_successivoClick);
    connect(m_buttons[QStringLiteral("btn_fine")], &QPushButton::clicked, this, &Tfrm_clienti1::btn_fineClick);
    connect(m_buttons[QStringLiteral("btn_nuova")], &QPushButton::clicked, this, &Tfrm_clienti1::btn_nuovaClick);
    connect(m_buttons[QStringLiteral("btn_conferma")], &QPushButton::clicked, this, [this] { btn_confermaClick(); });
    connect(m_buttons[QStringLiteral("btn_annulla")], &QPushButton::clicked, this, &Tfrm_clienti1::btn_annullaClick);
    connect(m_buttons[QStringLiteral("btn_cancella")], &QPushButton::clicked, this, &Tfrm_clienti1::btn_cancellaClick);
    m_buttons[QStringLiteral("btn_annulla")]->setEnabled(false);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pages, 5);
    layout->addWidget(search);
    layout->addLayout(nav);
    layout->addWidget(m_grid, 2);
    connect(static_cast<QLineEdit*>(m_fields[QStringLiteral("foto1")]), &QLineEdit::textChanged, m_smallPicture,
            &PictureView::setFile);
    m_grid->setColumnWidth(1, 320);
    m_grid->setColumnWidth(2, 180);
    resize(1200, 760);
}

QWidget* Tfrm_clienti1::buildCardPage() {
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    auto* main = new QFormLayout;
    auto* code = addField(QStringLiteral("cod_cli"), QStringLiteral("edt_cod_cli"), Upper);
    m_badges = new QLabel;
    m_badges->setObjectName(QStringLiteral("lbl_tipologia"));
    auto* codeRow = new QHBoxLayout;
    codeRow->addWidget(code);
    codeRow->addWidget(m_badges);
    m_trustBars[0] = new TrustBar;
    m_trustBars[0]->setObjectName(QStringLiteral("bar_trust_anagrafica"));
    codeRow->addWidget(m_trustBars[0]);
    main->addRow(QStringLiteral("Codice"), codeRow);
    const struct {
        const char* column;
        const char* name;
        const char* caption;
        int kind;
    } fields[] = {
        {"nome", "edt_nome", "Denominazione ditta / Nome", Text},
        {"nome_sleg", "edt_nome_sleg", "Sede legale / Nome alternativo", Text},
        {"via", "edt_via", "Indirizzo Sede", Text},
        {"cap", "edt_cap", "CAP", Text},
        {"citta", "edt_citta", "Città", Text},
        {"prov1", "edt_prov", "Prov", Upper},
        {"tel", "edt_tel", "Telefono", Text},
        {"fax", "edt_fax", "Fax", Text},
        {"cell", "edt_cell", "Cellulare", Text},
        {"email", "edt_email", "E-mail", Text},
        {"url", "edt_url", "Indirizzo Web", Text},
        {"piva", "edt_piva", "Partita IVA", Text},
        {"cf", "edt_cf", "Codice Fiscale", Upper},
        {"pagam", "edt_pagam", "Modalità di pagamento", Text},
        {"scad_pag", "edt_scad_pag", "Scadenze di pagamento", Text},
        {"es_iva", "edt_es_iva", "Es.IVA?", Upper},
        {"art_esiva", "edt_art_esiva", "Tit. Esenzione", Text},
        {"csconto", "edt_csconto", "Cod. Sconto", Number},
        {"listino", "edt_listino", "Listino", Integer},
        {"contatto", "edt_contatto", "Persona di riferimento", Text},
        {"agente", "edt_agente", "Codice Agente", Text},
        {"provv", "edt_provv", "Provv. %", Number},
        {"mag_ext", "edt_mag_ext", "Magazzino esterno", Integer},
        {"gruppo", "cmb_gruppo", "Gruppo di appartenenza", Combo},
        {"cat_fisc", "cmb_cat_fisc", "Categoria fiscale", Combo},
    };
    auto* second = new QFormLayout;
    int n = 0;
    for (const auto& f : fields)
        (n++ < 12 ? main : second)
            ->addRow(QString::fromUtf8(f.caption), addField(QString::fromLatin1(f.column), QString::fromLatin1(f.name), f.kind));
    auto* copyVat = button(m_buttons, QStringLiteral("btn_piva_cf"), QStringLiteral("Ricopia la Partita IVA nel Codice Fiscale"));
    connect(copyVat, &QPushButton::clicked, this, &Tfrm_clienti1::btn_piva_cfClick);
    auto* findCap = button(m_buttons, QStringLiteral("btn_trova_cap"), QStringLiteral("Trova\r\n CAP / Città"));
    connect(findCap, &QPushButton::clicked, this, &Tfrm_clienti1::btn_trova_capClick);
    auto* tools = new QHBoxLayout;
    tools->addWidget(copyVat);
    tools->addWidget(findCap);
    second->addRow(QString(), tools);

    m_bankPanel = new QGroupBox(QStringLiteral("Banca"));
    m_bankPanel->setObjectName(QStringLiteral("panel_banca"));
    auto* bank = new QFormLayout(m_bankPanel);
    bank->addRow(QStringLiteral("Banca"), addField(QStringLiteral("banca"), QStringLiteral("cmb_banca"), Combo));
    bank->addRow(QString(), addField(QStringLiteral("banca1"), QStringLiteral("cmb_banca1"), Combo));
    bank->addRow(QString(), addField(QStringLiteral("banca2"), QStringLiteral("cmb_banca2"), Combo));
    bank->addRow(QStringLiteral("ABI"), addField(QStringLiteral("abi"), QStringLiteral("edt_abi"), Text));
    bank->addRow(QStringLiteral("CAB"), addField(QStringLiteral("cab"), QStringLiteral("edt_cab"), Text));
    bank->addRow(QStringLiteral("CIN."), addField(QStringLiteral("cin"), QStringLiteral("edt_cin"), Upper));
    bank->addRow(QStringLiteral("Conto Corr."), addField(QStringLiteral("contocorr"), QStringLiteral("edt_contocorr"), Text));
    bank->addRow(QStringLiteral("IBAN"), addField(QStringLiteral("iban"), QStringLiteral("edt_iban"), Upper));
    bank->addRow(QStringLiteral("Dare"), addField(QStringLiteral("dare"), QStringLiteral("edt_dare"), Number));

    m_altAddress = new QGroupBox(QStringLiteral("Indirizzo alternativo"));
    m_altAddress->setObjectName(QStringLiteral("panel_sede_alternativa"));
    auto* alt = new QFormLayout(m_altAddress);
    alt->addRow(QStringLiteral("Indirizzo"), addField(QStringLiteral("via_sleg"), QStringLiteral("edt_via_sleg"), Text));
    alt->addRow(QStringLiteral("CAP"), addField(QStringLiteral("cap_sleg"), QStringLiteral("edt_cap_sleg"), Text));
    alt->addRow(QStringLiteral("Città"), addField(QStringLiteral("citta_sleg"), QStringLiteral("edt_citta_sleg"), Text));
    alt->addRow(QStringLiteral("Prov"), addField(QStringLiteral("prov2"), QStringLiteral("edt_prov2"), Upper));
    alt->addRow(QStringLiteral("Telefono"), addField(QStringLiteral("tel_sleg"), QStringLiteral("edt_tel_sleg"), Text));
    alt->addRow(QStringLiteral("Fax"), addField(QStringLiteral("fax_sleg"), QStringLiteral("edt_fax_sleg"), Text));

    for (const char* column : {"banca", "abi", "cab"}) {
        QWidget* w = m_fields[QString::fromLatin1(column)];
        if (auto* c = qobject_cast<QComboBox*>(w)) w = c->lineEdit();
        w->installEventFilter(this);
        w->setProperty("bankField", QString::fromLatin1(column));
    }

    auto* notes = new QFormLayout;
    notes->addRow(QStringLiteral("Attività svolte da questa ditta"),
                  addField(QStringLiteral("attivita"), QStringLiteral("memo_attivita"), Memo));
    notes->addRow(QStringLiteral("Note accessorie"), addField(QStringLiteral("note"), QStringLiteral("memo_note"), Memo));
    m_dataAcq = new QLabel;
    m_dataAcq->setObjectName(QStringLiteral("lbl_data_acq"));
    notes->addRow(QStringLiteral("Data ultima modifica"), m_dataAcq);

    grid->addLayout(main, 0, 0, 2, 1);
    grid->addLayout(second, 0, 1, 2, 1);
    grid->addWidget(m_bankPanel, 0, 2);
    m_smallPicture = new PictureView;
    m_smallPicture->setObjectName(QStringLiteral("img_foto_anagrafica"));
    m_smallPicture->setFixedSize(120, 90);
    m_pictures.append(m_smallPicture);
    grid->addWidget(m_smallPicture, 0, 3, Qt::AlignTop);
    grid->addWidget(m_altAddress, 1, 2);
    grid->addLayout(notes, 2, 0, 1, 3);

    auto* city = static_cast<QLineEdit*>(m_fields[QStringLiteral("citta")]);
    connect(city, &QLineEdit::textEdited, this, [this, city] {
        cityChanged(city, static_cast<QLineEdit*>(m_fields[QStringLiteral("cap")]),
                    static_cast<QLineEdit*>(m_fields[QStringLiteral("prov1")]));
    });
    auto* altCity = static_cast<QLineEdit*>(m_fields[QStringLiteral("citta_sleg")]);
    connect(altCity, &QLineEdit::textEdited, this, [this, altCity] {
        cityChanged(altCity, static_cast<QLineEdit*>(m_fields[QStringLiteral("cap_sleg")]),
                    static_cast<QLineEdit*>(m_fields[QStringLiteral("prov2")]));
    });
    return page;
}

QWidget* Tfrm_clienti1::buildTypePage() {
    auto* page = new QWidget;
    auto* form = new QFormLayout(page);
    m_trust = new QSpinBox;
    m_trust->setObjectName(QStringLiteral("num_trust"));
    m_trust->setRange(0, 9);
    form->addRow(QStringLiteral("Trust level - Livello di affidabilità"), m_trust);
    m_trustBars[1] = new TrustBar;
    m_trustBars[1]->setObjectName(QStringLiteral("bar_trust"));
    for (TrustBar* bar : m_trustBars) connect(bar, &TrustBar::levelClicked, m_trust, &QSpinBox::setValue);
    connect(m_trust, &QSpinBox::valueChanged, this, [this](int v) {
        for (TrustBar* b : m_trustBars) b->setValue(v);
    });
    form->addRow(QString(), m_trustBars[1]);
    const char* names[12] = {"chk_cliente",     "chk_fornitore",    "chk_tipo1",        "chk_tipo2",
                             "chk_tipo3",       "chk_tipo4",        "chk_mat_prime",    "chk_conto_lav",
                             "chk_importatore", "chk_distributore", "chk_dettagliante", "chk_ente_pubblico"};
    for (int i = 0; i < 12; ++i) {
        m_kinds[i] = new QCheckBox(partner::kindCaption(i));
        m_kinds[i]->setObjectName(QString::fromLatin1(names[i]));
        connect(m_kinds[i], &QCheckBox::toggled, this, &Tfrm_clienti1::updateBadges);
        form->addRow(QString(), m_kinds[i]);
    }
    form->addRow(QStringLiteral("Tipo documento"),
                 addField(QStringLiteral("tipo_documento"), QStringLiteral("edt_tipo_documento"), Text));
    form->addRow(QStringLiteral("Numero documento"),
                 addField(QStringLiteral("num_documento"), QStringLiteral("edt_num_documento"), Text));
    form->addRow(QStringLiteral("Data rilascio"),
                 addField(QStringLiteral("data_documento"), QStringLiteral("dt_data_documento"), Date));
    form->addRow(QStringLiteral("Data di nascita"),
                 addField(QStringLiteral("data_nascita"), QStringLiteral("dt_data_nascita"), Date));
    return page;
}

QWidget* Tfrm_clienti1::buildContactsPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    m_contacts = new QTableWidget(0, 6);
    m_contacts->setObjectName(QStringLiteral("grid_contatti"));
    m_contacts->setHorizontalHeaderLabels({QStringLiteral("Data contatto"), QStringLiteral("Richiamare il"),
                                           QStringLiteral("Ora"), QStringLiteral("Persona contattata"),
                                           QStringLiteral("Note"), QStringLiteral("ricontattato?")});
    auto* lengths = new LengthDelegate(m_contacts);
    try {
        for (const ColumnInfo& c : m_ctx.store->columns(m_ctx.settings->text(u"Path", u"Archivio Contatti"))) {
            if (c.name.compare(u"perscont", Qt::CaseInsensitive) == 0) lengths->setLength(3, c.maxLength());
            if (c.name.compare(u"note", Qt::CaseInsensitive) == 0) lengths->setLength(4, c.maxLength());
        }
    } catch (const StoreError&) {
    }
    m_contacts->setItemDelegate(lengths);
    connect(m_contacts, &QTableWidget::itemChanged, this, [this] {
        if (!m_loading) m_contactsDirty = true;
    });
    auto* add = button(m_buttons, QStringLiteral("btn_nuovo_contatto"), QStringLiteral("Aggiungi nuovo contatto"));
    auto* save = button(m_buttons, QStringLiteral("btn_conferma_contatto"), QStringLiteral("Conferma"));
    auto* del = button(m_buttons, QStringLiteral("btn_cancella_contatto"), QStringLiteral("Cancella contatto selezionato"));
    connect(add, &QPushButton::clicked, this, [this] {
        const QString code = m_currentCode;
        if (code.isEmpty()) return;
        writeSideArchive(m_ctx.settings->text(u"Path", u"Archivio Contatti"), QStringLiteral("INSERT INTO %1 (COD_CLI, DATACONT, RICONTEFF) VALUES (?, ?, 0)"), {code, Clock::today()});
        loadContacts();
    });
    connect(save, &QPushButton::clicked, this, [this] { saveContacts(); });
    connect(del, &QPushButton::clicked, this, [this] {
        const int r = m_contacts->currentRow();
        if (r < 0) return;
        if (!Dialogs::instance().yesNo(MsgIcon::Question, kTitle, QStringLiteral("Confermi la cancellazione?"), this)) return;
        writeSideArchive(m_ctx.settings->text(u"Path", u"Archivio Contatti"), QStringLiteral("DELETE FROM %1 WHERE rowid = ?"), {m_contacts->item(r, 0)->data(Qt::UserRole)});
        loadContacts();
    });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(add);
    buttons->addWidget(save);
    buttons->addWidget(del);
    buttons->addStretch();
    m_noContacts = new QLabel(QStringLiteral("Nessun contatto presente per questa scheda anagrafica"));
    m_noContacts->setObjectName(QStringLiteral("panel_nessun_contatto"));
    m_noContacts->setAlignment(Qt::AlignCenter);
    layout->addWidget(m_noContacts);
    layout->addWidget(m_contacts);
    layout->addLayout(buttons);
    return page;
}

QWidget* Tfrm_clienti1::buildQuickViewPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* buttons = new QHBoxLayout;
    const char* names[6] = {"btn_qv_movimenti", "btn_qv_fatture", "btn_qv_scadenze", "btn_qv_ordini", "btn_qv_preventivi",
                            "btn_qv_articoli"};
    const char* captions[6] = {"Movimenti", "Fatture", "Scadenze", "Ordini", "Preventivi", "Articoli di Magazzino"};
    for (int i = 0; i < 6; ++i) {
        auto* b = button(m_buttons, QString::fromLatin1(names[i]), QString::fromUtf8(captions[i]));
        connect(b, &QPushButton::clicked, this, [this, i] { quickViewClick(i); });
        buttons->addWidget(b);
    }
    buttons->addStretch();
    m_quickView = new QTableWidget;
    m_quickView->setObjectName(QStringLiteral("grid_quick_view"));
    m_quickView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    layout->addLayout(buttons);
    layout->addWidget(m_quickView);
    return page;
}

PictureView* Tfrm_clienti1::addPicture(const QString& column, const QString& name) {
    auto* view = new PictureView;
    view->setObjectName(name);
    m_pictures.append(view);
    // Set once the field exists; the field's text is the picture's path.
    if (auto* path = qobject_cast<QLineEdit*>(m_fields.value(column)))
        connect(path, &QLineEdit::textChanged, view, &PictureView::setFile);
    return view;
}

bool Tfrm_clienti1::fitsField(const QString& file, const QLineEdit* field) {
    if (file.isEmpty()) return false;
    if (file.size() <= field->maxLength()) return true;
    // A cut path would name another file: refuse it whole.
    Dialogs::instance().warning(kTitle,
                                QStringLiteral("Il percorso del file è più lungo dei %1 caratteri che l'archivio può "
                                               "contenere:\r\n%2\r\nSpostare il file in una cartella con un percorso più breve.")
                                    .arg(field->maxLength())
                                    .arg(file),
                                this);
    return false;
}

void Tfrm_clienti1::pickPicture(const QString& column) {
    auto* path = static_cast<QLineEdit*>(m_fields[column]);
    const QString file = FileDialogs::instance().openFile(this, QStringLiteral("Scegli la foto"),
                                                          QStringLiteral("Immagini (*.jpg *.jpeg *.png *.bmp *.gif)"));
    if (fitsField(file, path)) path->setText(file);
}

QWidget* Tfrm_clienti1::buildPhotoPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* modes = new QHBoxLayout;
    auto* proportional = new QCheckBox(QStringLiteral("Proporzionale"));
    proportional->setObjectName(QStringLiteral("chk_proporzionale"));
    auto* stretched = new QCheckBox(QStringLiteral("Adattato"));
    stretched->setObjectName(QStringLiteral("chk_adattato"));
    proportional->setChecked(true);
    stretched->setChecked(true);
    connect(proportional, &QCheckBox::toggled, this, [this](bool on) {
        for (PictureView* v : std::as_const(m_pictures)) v->setProportional(on);
    });
    connect(stretched, &QCheckBox::toggled, this, [this](bool on) {
        for (PictureView* v : std::as_const(m_pictures)) v->setStretched(on);
    });
    modes->addWidget(proportional);
    modes->addWidget(stretched);
    modes->addStretch();
    layout->addLayout(modes);
    auto* frames = new QGridLayout;
    for (int i = 1; i <= 3; ++i) {
        const QString column = QStringLiteral("foto%1").arg(i);
        auto* edit = addField(column, QStringLiteral("edt_foto%1").arg(i), Text);
        PictureView* view = addPicture(column, QStringLiteral("img_foto%1").arg(i));
        view->setMinimumSize(200, 160);
        view->setToolTip(QStringLiteral("Clic per scegliere la foto"));
        connect(view, &PictureView::clicked, this, [this, column] { pickPicture(column); });
        auto* pick = button(m_buttons, QStringLiteral("btn_scegli_foto%1").arg(i), QStringLiteral("Scegli..."));
        connect(pick, &QPushButton::clicked, this, [this, column] { pickPicture(column); });
        auto* clear = button(m_buttons, QStringLiteral("btn_svuota_foto%1").arg(i), QStringLiteral("Svuota la foto"));
        connect(clear, &QPushButton::clicked, edit, [edit] { static_cast<QLineEdit*>(edit)->clear(); });
        auto* commands = new QHBoxLayout;
        commands->addWidget(pick);
        commands->addWidget(clear);
        frames->addWidget(view, 0, i - 1);
        frames->addWidget(edit, 1, i - 1);
        frames->addLayout(commands, 2, i - 1);
    }
    layout->addLayout(frames, 1);
    return page;
}

QWidget* Tfrm_clienti1::buildAttachmentsPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    m_attachments = new QTableWidget(0, 4);
    m_attachments->setObjectName(QStringLiteral("grid_allegati"));
    m_attachments->setHorizontalHeaderLabels({QStringLiteral("Data"), QStringLiteral("Nome o descrizione"),
                                              QStringLiteral("Riservatezza"), QStringLiteral("File")});
    m_attachments->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_attachments->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_attachments->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(m_attachments, &QTableWidget::currentCellChanged, this, [this](int row) {
        if (!m_loading) showAttachment(row);
    });

    // The entry being edited: nothing is written before its "Conferma".
    auto* editor = new QGroupBox(QStringLiteral("Allegato"));
    auto* form = new QFormLayout(editor);
    m_attDate = new DateEdit;
    m_attDate->setObjectName(QStringLiteral("dt_data_allegato"));
    m_attDes = new QLineEdit;
    m_attDes->setObjectName(QStringLiteral("edt_des_allegato"));
    m_attPrivacy = new QSpinBox;
    m_attPrivacy->setObjectName(QStringLiteral("num_riservatezza"));
    m_attPrivacy->setRange(0, 99);
    m_attBar = new TrustBar;
    m_attBar->setObjectName(QStringLiteral("bar_riservatezza"));
    m_attBar->setRange(0, 99);
    connect(m_attBar, &TrustBar::levelClicked, m_attPrivacy, &QSpinBox::setValue);
    connect(m_attPrivacy, &QSpinBox::valueChanged, m_attBar, &TrustBar::setValue);
    auto* lower = button(m_buttons, QStringLiteral("btn_riservatezza_meno"), QStringLiteral("<"));
    auto* raise = button(m_buttons, QStringLiteral("btn_riservatezza_piu"), QStringLiteral(">"));
    connect(lower, &QPushButton::clicked, m_attPrivacy, [this] { m_attPrivacy->stepBy(-1); });
    connect(raise, &QPushButton::clicked, m_attPrivacy, [this] { m_attPrivacy->stepBy(1); });
    auto* privacy = new QHBoxLayout;
    privacy->addWidget(lower);
    privacy->addWidget(m_attBar, 1);
    privacy->addWidget(raise);
    privacy->addWidget(m_attPrivacy);
    m_attFile = new QLineEdit;
    m_attFile->setObjectName(QStringLiteral("edt_file_allegato"));
    m_attFile->setPlaceholderText(QStringLiteral("Doppio clic per scegliere il documento"));
    m_attFile->installEventFilter(this);
    try {
        const QString path = dataFile(m_ctx.base, QStringLiteral("alleg_anag.db"));
        for (const ColumnInfo& c : m_ctx.store->columns(path)) {
            if (c.name.compare(u"des", Qt::CaseInsensitive) == 0) limitLength(m_attDes, c.maxLength());
            if (c.name.compare(u"nome", Qt::CaseInsensitive) == 0) limitLength(m_attFile, c.maxLength());
        }
    } catch (const StoreError&) {
        // Without the archive nothing can be attached; the commands report it.
    }
    form->addRow(QStringLiteral("Data"), m_attDate);
    form->addRow(QStringLiteral("Nome o descrizione"), m_attDes);
    form->addRow(QStringLiteral("Riservatezza"), privacy);
    form->addRow(QStringLiteral("Documento"), m_attFile);

    auto* add = button(m_buttons, QStringLiteral("btn_nuovo_allegato"), QStringLiteral("Aggiungi nuovo allegato"));
    auto* save = button(m_buttons, QStringLiteral("btn_conferma_allegato"), QStringLiteral("Conferma"));
    auto* del = button(m_buttons, QStringLiteral("btn_cancella_allegato"), QStringLiteral("Cancella scheda allegato corrente"));
    auto* open = button(m_buttons, QStringLiteral("btn_apri_doc"), QStringLiteral("Apri Doc"));
    connect(add, &QPushButton::clicked, this, &Tfrm_clienti1::btn_nuovo_allegatoClick);
    connect(save, &QPushButton::clicked, this, [this] { btn_conferma_allegatoClick(); });
    connect(del, &QPushButton::clicked, this, &Tfrm_clienti1::btn_cancella_allegatoClick);
    connect(open, &QPushButton::clicked, this, [this] {
        const QString file = m_attFile->text().trimmed();
        if (file.isEmpty()) return;
        QString error;
        if (!QFileInfo(file).isFile()) error = QStringLiteral("File non trovato: ") + file;
        else if (!QDesktopServices::openUrl(QUrl::fromLocalFile(file)))
            error = QStringLiteral("Nessun programma associato a questo tipo di file");
        if (!error.isEmpty())
            Dialogs::instance().error(kTitle, QStringLiteral("Errore apertura documento:\n\rTipo errore: ") + error, this);
    });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(add);
    buttons->addWidget(save);
    buttons->addWidget(del);
    buttons->addWidget(open);
    buttons->addStretch();
    layout->addWidget(m_attachments, 1);
    layout->addWidget(editor);
    layout->addLayout(buttons);
    return page;
}

void Tfrm_clienti1::showAttachment(int row) {
    m_attNew = false;
    QTableWidgetItem* first = row >= 0 ? m_attachments->item(row, 0) : nullptr;
    m_attRowid = first ? first->data(Qt::UserRole).toLongLong() : -1;
    m_attDate->setValue(first ? first->data(Qt::UserRole + 1) : QVariant());
    m_attDes->setText(first ? m_attachments->item(row, 1)->text() : QString());
    m_attPrivacy->setValue(first ? m_attachments->item(row, 2)->text().toInt() : 0);
    m_attBar->setValue(m_attPrivacy->value());
    m_attFile->setText(first ? m_attachments->item(row, 3)->text() : QString());
}

void Tfrm_clienti1::btn_nuovo_allegatoClick() {
    if (m_currentCode.isEmpty()) return;
    m_loading = true;
    m_attachments->setCurrentCell(-1, -1);
    m_loading = false;
    m_attNew = true;
    m_attRowid = -1;
    m_attDate->setDate(Clock::today());
    m_attDes->clear();
    m_attPrivacy->setValue(1);
    m_attFile->clear();
    m_attDes->setFocus();
}

bool Tfrm_clienti1::btn_conferma_allegatoClick() {
    if (!m_attNew && m_attRowid < 0) return false;
    const QString path = dataFile(m_ctx.base, QStringLiteral("alleg_anag.db"));
    const QVariantList values = {m_attDate->value(), m_attDes->text().trimmed(), m_attPrivacy->value(),
                                 m_attFile->text().trimmed()};
    bool ok = false;
    if (m_attNew) {
        ok = writeSideArchive(path, QStringLiteral("INSERT INTO %1 (data, des, privacy, nome, cod_cli) VALUES (?, ?, ?, ?, ?)"),
                              values + QVariantList{m_currentCode});
        if (ok) m_attRowid = m_ctx.store->lastInsertId();
    } else {
        ok = writeSideArchive(path, QStringLiteral("UPDATE %1 SET data = ?, des = ?, privacy = ?, nome = ? WHERE rowid = ?"),
                              values + QVariantList{m_attRowid});
    }
    if (!ok) return false;  // the entry stays as typed
    loadAttachments(m_attRowid);
    return true;
}

void Tfrm_clienti1::btn_cancella_allegatoClick() {
    if (m_attNew) {
        loadAttachments();
        return;
    }
    if (m_attRowid < 0) return;
    if (writeSideArchive(dataFile(m_ctx.base, QStringLiteral("alleg_anag.db")), QStringLiteral("DELETE FROM %1 WHERE rowid = ?"),
                         {m_attRowid}))
        loadAttachments();
}

QWidget* Tfrm_clienti1::buildFilterPage() {
    auto* page = new QWidget;
    auto* layout = new QGridLayout(page);
    const QStringList captions = {QStringLiteral("Denominazione"), QStringLiteral("Città"), QStringLiteral("Telefono"),
                                  QStringLiteral("Cellulare"), QStringLiteral("Email"), QStringLiteral("Partita IVA"),
                                  QStringLiteral("Codice Fiscale"), QStringLiteral("Categoria Fiscale"), QStringLiteral("Gruppo")};
    const QStringList cols = filterColumns();
    for (int i = 0; i < cols.size(); ++i) {
        auto* from = new QLineEdit;
        from->setObjectName(QStringLiteral("edt_filtro_%1_da").arg(cols[i].toLower()));
        auto* to = new QLineEdit;
        to->setObjectName(QStringLiteral("edt_filtro_%1_a").arg(cols[i].toLower()));
        m_filterFrom.insert(cols[i], from);
        m_filterTo.insert(cols[i], to);
        layout->addWidget(new QLabel(captions[i]), i, 0);
        layout->addWidget(from, i, 1);
        layout->addWidget(to, i, 2);
    }
    m_filterAgent = new QLineEdit;
    m_filterAgent->setObjectName(QStringLiteral("edt_filtro_agente"));
    layout->addWidget(new QLabel(QStringLiteral("Agente")), int(cols.size()), 0);
    layout->addWidget(m_filterAgent, int(cols.size()), 1);

    auto* modes = new QGroupBox(QStringLiteral("Modalità"));
    auto* ml = new QVBoxLayout(modes);
    m_filterBetween = new QRadioButton(QStringLiteral("Compreso tra due valori"));
    m_filterBetween->setObjectName(QStringLiteral("rb_compreso"));
    auto* contains = new QRadioButton(QStringLiteral("Che contiene un valore"));
    contains->setObjectName(QStringLiteral("rb_contiene"));
    contains->setChecked(true);
    ml->addWidget(m_filterBetween);
    ml->addWidget(contains);

    auto* kinds = new QGroupBox(QStringLiteral("Categorie"));
    auto* kl = new QVBoxLayout(kinds);
    const char* kindCaptions[4] = {"Stampa tutte le categorie", "Stampa Elenco Clienti", "Stampa Elenco Fornitori",
                                   "Stampa Elenco Clienti + Fornitori"};
    const char* kindNames[4] = {"rb_stampa_tutti", "rb_stampa_clienti", "rb_stampa_fornitori", "rb_stampa_clienti_fornitori"};
    for (int i = 0; i < 4; ++i) {
        m_printKinds[i] = new QRadioButton(QString::fromLatin1(kindCaptions[i]));
        m_printKinds[i]->setObjectName(QString::fromLatin1(kindNames[i]));
        kl->addWidget(m_printKinds[i]);
    }
    m_printKinds[0]->setChecked(true);

    m_filterOrder = new QComboBox;
    m_filterOrder->setObjectName(QStringLiteral("cmb_ordinamento"));
    m_filterOrder->addItems({QStringLiteral("Nome"), QStringLiteral("Città"), QStringLiteral("Telefono"),
                             QStringLiteral("Cellulare"), QStringLiteral("Email"), QStringLiteral("Partita IVA"),
                             QStringLiteral("Codice")});
    m_reportChoice = new QComboBox;
    m_reportChoice->setObjectName(QStringLiteral("cmb_report"));
    m_reportChoice->addItems(report::PartnerListReport::choices());
    auto* activate = button(m_buttons, QStringLiteral("btn_attiva_filtro"), QStringLiteral("Attiva filtro"));
    auto* print = button(m_buttons, QStringLiteral("btn_stampa_elenco"), QStringLiteral("Stampa elenco"));
    print->setEnabled(false);
    connect(activate, &QPushButton::clicked, this, &Tfrm_clienti1::btn_attiva_filtroClick);
    connect(print, &QPushButton::clicked, this, &Tfrm_clienti1::btn_stampa_elencoClick);

    auto* side = new QVBoxLayout;
    side->addWidget(modes);
    side->addWidget(kinds);
    side->addWidget(new QLabel(QStringLiteral("Ordina per")));
    side->addWidget(m_filterOrder);
    side->addWidget(new QLabel(QStringLiteral("Seleziona il report di stampa")));
    side->addWidget(m_reportChoice);
    side->addWidget(activate);
    side->addWidget(print);
    side->addStretch();
    layout->addLayout(side, 0, 3, int(cols.size()) + 1, 1);
    return page;
}

QWidget* Tfrm_clienti1::buildVehiclePage() {
    auto* page = new QWidget;
    auto* form = new QFormLayout(page);
    const struct {
        const char* column;
        const char* caption;
        int kind;
    } fields[] = {{"marca_vettura", "Marca", Combo},       {"modello_vettura", "Modello", Text},
                  {"targa_vettura", "Targa", Upper},      {"km_vettura", "Km", Text},
                  {"num_serie_vettura", "Numero di serie", Text}, {"num_imm_vettura", "Numero immatricolazione", Text},
                  {"telaio_vettura", "Telaio", Text},     {"tipo_vettura", "Tipo", Text},
                  {"omolog_vettura", "Omologazione", Text}, {"cat_vettura", "Categoria", Text},
                  {"data_immatricolazione", "Data immatricolazione", Date}, {"data_revisione", "Data revisione", Date},
                  {"data_intervento", "Data intervento", Date}, {"foto_vettura", "Foto", Text}};
    for (const auto& f : fields) {
        const QString col = QString::fromLatin1(f.column);
        const QString prefix = f.kind == Date ? QStringLiteral("dt_") : f.kind == Combo ? QStringLiteral("cmb_") : QStringLiteral("edt_");
        form->addRow(QString::fromUtf8(f.caption), addField(col, prefix + col, f.kind));
    }
    PictureView* photo = addPicture(QStringLiteral("foto_vettura"), QStringLiteral("img_foto_vettura"));
    photo->setMinimumSize(200, 150);
    photo->setToolTip(QStringLiteral("Doppio clic per caricare la foto"));
    connect(photo, &PictureView::doubleClicked, this, [this] { pickPicture(QStringLiteral("foto_vettura")); });
    auto* dropPhoto = button(m_buttons, QStringLiteral("btn_elimina_foto_vettura"), QStringLiteral("Elimina foto"));
    connect(dropPhoto, &QPushButton::clicked, this,
            [this] { static_cast<QLineEdit*>(m_fields[QStringLiteral("foto_vettura")])->clear(); });
    auto* photoRow = new QHBoxLayout;
    photoRow->addWidget(photo, 1);
    photoRow->addWidget(dropPhoto, 0, Qt::AlignBottom);
    form->addRow(QString(), photoRow);
    m_vehicleField = new QComboBox;
    m_vehicleField->setObjectName(QStringLiteral("cmb_cerca_vettura"));
    m_vehicleField->addItems({QStringLiteral("Marca"), QStringLiteral("Modello"), QStringLiteral("Targa"),
                              QStringLiteral("Numero immatricolazione"), QStringLiteral("Categoria")});
    m_vehicleText = new QLineEdit;
    m_vehicleText->setObjectName(QStringLiteral("edt_cerca_vettura"));
    auto* find = button(m_buttons, QStringLiteral("btn_cerca_vettura"), QStringLiteral("Cerca"));
    auto* reset = button(m_buttons, QStringLiteral("btn_cancella_vettura"), QStringLiteral("Cancella"));
    connect(find, &QPushButton::clicked, this, &Tfrm_clienti1::btn_cerca_vetturaClick);
    connect(reset, &QPushButton::clicked, this, &Tfrm_clienti1::btn_cancella_vetturaClick);
    auto* row = new QHBoxLayout;
    row->addWidget(m_vehicleField);
    row->addWidget(m_vehicleText, 1);
    row->addWidget(find);
    row->addWidget(reset);
    form->addRow(QStringLiteral("Ricerca vetture"), row);
    return page;
}

// ---- behaviour ----

void Tfrm_clienti1::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    // Only an opening runs the opening: a window restored from the task bar keeps the
    // card being typed.
    if (!m_opened) FormShow();
}

void Tfrm_clienti1::applySettings() {
    const Settings& s = *m_ctx.settings;
    const bool simple = s.flag(u"Anagrafica", u"Visualizzazione semplice");
    m_bankPanel->setVisible(!simple);
    m_trustBars[0]->setVisible(s.flag(u"Anagrafica", u"Visualizza Trust bar"));
    m_altAddress->setVisible(!simple);
    m_pages->setTabVisible(7, s.flag(u"Anagrafica", u"Visualizza modulo vetture"));
    m_pages->setTabVisible(5, s.flag(u"Anagrafica", u"Visualizza modulo allegati"));
    m_pages->setTabVisible(2, s.flag(u"Anagrafica", u"Visualizza modulo contatti"));
    for (int i = 0; i < 4; ++i)
        m_kinds[partner::Libera1 + i]->setText(settingText(s, QStringLiteral("Tipologia libera %1").arg(i + 1)));
    m_searchField->setCurrentIndex(qBound(0, s.integer(u"Anagrafica", u"Filtro ricerca predefinito"), 13));
}

void Tfrm_clienti1::fillPickLists() {
    auto fill = [this](const QString& column, const QString& file, const QString& field, const QString& order) {
        auto* combo = qobject_cast<QComboBox*>(m_fields.value(column));
        if (!combo) return;
        combo->clear();
        try {
            Store& s = *m_ctx.store;
            for (const QVariantList& r : s.rows(QStringLiteral("SELECT %1 FROM %2 ORDER BY %3")
                                                    .arg(field, s.table(dataFile(m_ctx.base, file)), order)))
                if (!r[0].toString().trimmed().isEmpty()) combo->addItem(r[0].toString().trimmed());
        } catch (const StoreError&) {
        }
        combo->setCurrentIndex(-1);
    };
    fill(QStringLiteral("gruppo"), QStringLiteral("gruppi.db"), QStringLiteral("cod"), QStringLiteral("cod"));
    fill(QStringLiteral("cat_fisc"), QStringLiteral("cat_fisc.db"), QStringLiteral("cod"), QStringLiteral("cod"));
    fill(QStringLiteral("banca"), QStringLiteral("elenco_banche.db"), QStringLiteral("testo1"), QStringLiteral("rowid"));
    fill(QStringLiteral("banca1"), QStringLiteral("elenco_banche.db"), QStringLiteral("testo2"), QStringLiteral("rowid"));
    fill(QStringLiteral("banca2"), QStringLiteral("elenco_banche.db"), QStringLiteral("testo3"), QStringLiteral("rowid"));
    fill(QStringLiteral("marca_vettura"), QStringLiteral("marche.db"), QStringLiteral("des"), QStringLiteral("des"));
}

void Tfrm_clienti1::FormShow() {
    m_opened = true;
    applySettings();
    fillPickLists();
    m_newCard = false;
    setBrowsing(true);
    PartnerQuery all;
    runQuery(all, m_currentRowid);
}

void Tfrm_clienti1::showPage(int page) { m_pages->setCurrentIndex(page); }

int Tfrm_clienti1::listCount() {
    if (m_searchTimer->isActive()) edt_ricercaChange();
    while (m_countTimer->isActive()) countStep();
    return int(m_listTotal);
}

void Tfrm_clienti1::runQuery(const PartnerQuery& q, qint64 keepRowid, int fallbackRow) {
    m_query = q;
    m_countTimer->stop();
    QString failure;
    m_loading = true;  // the grid's selection follows, it does not lead
    try {
        m_archive.ensureNameIndex();
        m_model->setSelection(m_archive, q);
    } catch (const StoreError& e) {
        failure = e.message();
    }
    int row = keepRowid >= 0 ? m_model->loadUntilRowid(keepRowid) : -1;
    if (row < 0) {
        m_model->loadUntilRow(fallbackRow);
        row = qMin(fallbackRow, m_model->rowCount() - 1);
    }
    m_loading = false;
    if (!failure.isEmpty()) Dialogs::instance().error(kTitle, failure, this);
    startCount();
    showRow(row);
}

void Tfrm_clienti1::startCount() {
    m_listTotal = m_model->rowCount();
    if (m_model->complete()) {
        showCount();
        return;
    }
    try {
        if (m_query.where.isEmpty()) {
            m_listTotal = m_archive.count();
            showCount();
            return;
        }
        // A selection larger than its first window is counted in slices between
        // keystrokes, so that the list shows at once.
        const auto [first, last] = m_archive.rowidRange();
        m_countNext = first;
        m_countEnd = last;
        m_listTotal = 0;
    } catch (const StoreError&) {
        showCount();
        return;
    }
    m_count->setText(QStringLiteral("Conteggio delle schede in corso..."));
    m_countTimer->start();
}

void Tfrm_clienti1::countStep() {
    constexpr qint64 kSlice = 50000;
    const qint64 to = qMin(m_countNext + kSlice - 1, m_countEnd);
    try {
        m_listTotal += m_archive.countRange(m_query, m_countNext, to);
    } catch (const StoreError&) {
        m_countEnd = to;  // gives up with what was counted
    }
    m_countNext = to + 1;
    if (m_countNext > m_countEnd) {
        m_countTimer->stop();
        showCount();
    }
}

void Tfrm_clienti1::showCount() { m_count->setText(QStringLiteral("%1 schede in archivio").arg(m_listTotal)); }

void Tfrm_clienti1::showRow(int row) {
    m_current = row;
    if (row < 0 || row >= m_model->rowCount()) {
        m_current = -1;
        m_currentRowid = -1;
        m_currentCode.clear();
        clearCard();
        return;
    }
    m_currentRowid = m_model->row(row).rowid;
    m_loading = true;
    m_grid->setCurrentIndex(m_model->index(row, 0));
    m_loading = false;
    try {
        showCard(m_archive.card(m_currentRowid));
    } catch (const StoreError& e) {
        Dialogs::instance().error(kTitle, e.message(), this);
    }
    loadContacts();
    loadAttachments();
}

void Tfrm_clienti1::clearCard() {
    m_loading = true;
    for (auto it = m_fields.begin(); it != m_fields.end(); ++it) {
        if (auto* d = qobject_cast<DateEdit*>(it.value())) d->setDate({});
        else if (auto* e = qobject_cast<QLineEdit*>(it.value())) e->clear();
        else if (auto* m = qobject_cast<QPlainTextEdit*>(it.value())) m->clear();
        else if (auto* c = qobject_cast<QComboBox*>(it.value())) c->setCurrentText(QString());
    }
    for (QCheckBox* k : m_kinds) k->setChecked(false);
    m_trust->setValue(0);
    m_dataAcq->clear();
    m_loading = false;
    updateBadges();
}

void Tfrm_clienti1::showCard(const QVariantMap& card) {
    clearCard();
    m_loading = true;
    for (auto it = m_fields.begin(); it != m_fields.end(); ++it) {
        const QVariant v = card.value(it.key());
        const int kind = it.value()->property("fieldKind").toInt();
        if (auto* d = qobject_cast<DateEdit*>(it.value())) {
            if (!d->setValue(v))
                Dialogs::instance().show(MsgIcon::Warning, QStringLiteral("Dati inesatti o errati"),
                                         QStringLiteral("Il campo \"%1\" non contiene un valore data valido").arg(it.key()),
                                         int(DlgButton::Ok), DlgButton::Ok, this);
        } else if (auto* e = qobject_cast<QLineEdit*>(it.value())) {
            e->setText(kind == Number ? (v.isNull() ? QString() : fmt::value(v.toDouble())) : v.toString().trimmed());
        } else if (auto* m = qobject_cast<QPlainTextEdit*>(it.value())) {
            m->setPlainText(v.toString());
        } else if (auto* c = qobject_cast<QComboBox*>(it.value())) {
            c->setCurrentText(v.toString().trimmed());
        }
    }
    // A commission that an older card (or archive) lacks reads as none.
    if (card.value(QStringLiteral("provv")).isNull())
        static_cast<QLineEdit*>(m_fields[QStringLiteral("provv")])->setText(QStringLiteral("0"));
    m_currentCode = card.value(QStringLiteral("cod_cli")).toString();
    const partner::TypeString type = partner::TypeString::parse(card.value(QStringLiteral("extra_data")).toString());
    m_trust->setValue(type.trust);
    for (int i = 0; i < 12; ++i) m_kinds[i]->setChecked(type.kinds[size_t(i)]);
    // These two follow their own columns, as older cards may only have those.
    m_kinds[partner::ProduttoreMateriePrime]->setChecked(card.value(QStringLiteral("mat_prime")).toBool());
    m_kinds[partner::ContoLavorazione]->setChecked(card.value(QStringLiteral("conto_lav")).toBool());
    const QDate changed = QDate::fromString(card.value(QStringLiteral("data_acq")).toString().left(10), Qt::ISODate);
    m_dataAcq->setText(changed.isValid() ? fmt::date(changed, u"dd/mm/yyyy dddd") : QString());
    m_loading = false;
    m_contactsDirty = false;
    updateBadges();
}

void Tfrm_clienti1::updateBadges() {
    QStringList b;
    if (m_kinds[partner::Cliente]->isChecked()) b << QStringLiteral("Cl");
    if (m_kinds[partner::Fornitore]->isChecked()) b << QStringLiteral("Fo");
    for (int i = 0; i < 4; ++i)
        if (m_kinds[partner::Libera1 + i]->isChecked())
            b << settingText(*m_ctx.settings, QStringLiteral("Tipologia libera %1a").arg(i + 1));
    m_badges->setText(b.join(u' '));
    auto* code = m_fields.value(QStringLiteral("cod_cli"));
    code->setStyleSheet(m_kinds[partner::Fornitore]->isChecked() ? QStringLiteral("color: red")
                                                                  : QStringLiteral("color: green"));
}

QVariantMap Tfrm_clienti1::cardFields() const {
    QVariantMap out;
    for (auto it = m_fields.cbegin(); it != m_fields.cend(); ++it) {
        const int kind = it.value()->property("fieldKind").toInt();
        if (auto* d = qobject_cast<DateEdit*>(it.value())) {
            out.insert(it.key(), d->value());
            continue;
        }
        QString text;
        if (auto* e = qobject_cast<QLineEdit*>(it.value())) text = e->text().trimmed();
        else if (auto* m = qobject_cast<QPlainTextEdit*>(it.value())) text = m->toPlainText();
        else if (auto* c = qobject_cast<QComboBox*>(it.value())) text = c->currentText().trimmed();
        switch (kind) {
            case Upper: out.insert(it.key(), text.toUpper()); break;
            case Number: out.insert(it.key(), fmt::parseNumber(text)); break;
            case Integer: out.insert(it.key(), int(fmt::parseNumber(text))); break;
            default: out.insert(it.key(), text);
        }
    }
    partner::TypeString type;
    type.trust = m_trust->value();
    for (int i = 0; i < 12; ++i) type.kinds[size_t(i)] = m_kinds[i]->isChecked();
    out.insert(QStringLiteral("extra_data"), type.toString());
    out.insert(QStringLiteral("cliente"), type.kinds[partner::Cliente]);
    out.insert(QStringLiteral("fornitore"), type.kinds[partner::Fornitore]);
    out.insert(QStringLiteral("mat_prime"), type.kinds[partner::ProduttoreMateriePrime]);
    out.insert(QStringLiteral("conto_lav"), type.kinds[partner::ContoLavorazione]);
    out.insert(QStringLiteral("scadpag"), out.value(QStringLiteral("scad_pag")));
    if (out.value(QStringLiteral("es_iva")).toString().isEmpty()) out.insert(QStringLiteral("es_iva"), QStringLiteral("N"));
    out.insert(QStringLiteral("data_acq"), Clock::today());
    return out;
}

void Tfrm_clienti1::setBrowsing(bool browsing) {
    // While a new card is typed, nothing may show another card over it, and the side
    // archives have no code to file their rows under yet.
    for (const char* name : {"btn_nuova", "btn_cancella", "btn_inizio", "btn_precedente", "btn_successivo", "btn_fine",
                             "btn_nuovo_contatto", "btn_conferma_contatto", "btn_cancella_contatto", "btn_nuovo_allegato",
                             "btn_conferma_allegato", "btn_cancella_allegato", "btn_apri_doc", "btn_qv_movimenti",
                             "btn_qv_fatture", "btn_qv_scadenze", "btn_qv_ordini", "btn_qv_preventivi", "btn_qv_articoli",
                             "btn_attiva_filtro", "btn_cerca_vettura", "btn_cancella_vettura"})
        m_buttons[QString::fromLatin1(name)]->setEnabled(browsing);
    m_grid->setEnabled(browsing);
    m_searchBox->setEnabled(browsing);
    m_buttons[QStringLiteral("btn_annulla")]->setEnabled(!browsing);
    m_insertPanel->setVisible(!browsing);
}

void Tfrm_clienti1::btn_nuovaClick() {
    const Settings& s = *m_ctx.settings;
    const partner::CodeProposal p = partner::proposeCode(
        m_archive.lastCode().trimmed(), s.flag(u"Anagrafica", u"Incremento automatico del codice"),
        s.flag(u"Anagrafica", u"Inserisci zeri in testa"), int(s.number(u"Anagrafica", u"Lunghezza codice con zeri in testa")),
        [this](const QString& code) { return m_archive.codeTaken(code); });
    if (!p.error.isEmpty()) {
        Dialogs::instance().error(kTitle, p.error, this);
        return;
    }
    clearCard();
    m_loading = true;
    static_cast<QLineEdit*>(m_fields[QStringLiteral("cod_cli")])->setText(p.code);
    static_cast<QLineEdit*>(m_fields[QStringLiteral("listino")])->setText(QStringLiteral("1"));
    static_cast<QLineEdit*>(m_fields[QStringLiteral("provv")])->setText(QStringLiteral("0"));
    m_kinds[partner::Cliente]->setChecked(true);
    m_trust->setValue(1);
    m_loading = false;
    updateBadges();
    m_newCard = true;
    setBrowsing(false);
    m_pages->setCurrentIndex(0);
    m_fields[QStringLiteral("nome")]->setFocus();
}

void Tfrm_clienti1::btn_annullaClick() {
    m_newCard = false;
    setBrowsing(true);
}

bool Tfrm_clienti1::btn_confermaClick() {
    const Settings& s = *m_ctx.settings;
    QVariantMap fields = cardFields();
    const QString code = fields.value(QStringLiteral("cod_cli")).toString();
    const QString vat = fields.value(QStringLiteral("piva")).toString();
    const QString cf = fields.value(QStringLiteral("cf")).toString();
    Dialogs& d = Dialogs::instance();
    if (!m_newCard && m_currentRowid < 0) {
        d.info(kTitle, QStringLiteral("Nessuna scheda da confermare.\r\nPer inserirne una premere \"Aggiungi nuova scheda\"."),
               this);
        return false;
    }
    try {
        const bool checkVat = s.flag(u"Anagrafica", u"Controlla partita iva");
        if (checkVat && m_archive.vatTaken(vat, m_newCard ? -1 : m_currentRowid)) {
            d.warning(kTitle, QStringLiteral("Numero di Partita IVA già esistente!"), this);
            return false;
        }
        if (checkVat && !vat.isEmpty() && !partner::isValidVatNumber(vat))
            d.warning(kTitle, QStringLiteral("Numero di Partita IVA non valido!"), this);
        if (s.flag(u"Anagrafica", u"Controlla codice fiscale")) {
            const partner::FiscalCodeVerdict verdict = partner::judgeFiscalCode(cf, vat);
            if (verdict != partner::FiscalCodeVerdict::Accept)
                d.warning(kTitle, QStringLiteral("CODICE FISCALE non valido!"), this);
            if (verdict == partner::FiscalCodeVerdict::Refuse) return false;
        }
        if (code.isEmpty()) {
            d.warning(QStringLiteral("Inserimento nuova scheda anagrafica"),
                      QStringLiteral("Attenzione: Campo codice vuoto!\r\nIl campo codice non può essere vuoto!"), this);
            return false;
        }
        if (m_archive.codeTaken(code, m_newCard ? -1 : m_currentRowid)) {
            d.warning(QStringLiteral("Inserimento nuova scheda anagrafica"),
                      QStringLiteral("Questo codice esiste già!\r\nSostituirlo con uno diverso!"), this);
            return false;
        }
        const qint64 before = m_archive.count();
        if (m_newCard) {
            if (m_archive.backup())
                TrayNotice::instance().show(QStringLiteral("Anagrafica"), QStringLiteral("Eseguito backup degli archivi."),
                                            TrayNotice::kStandardSeconds, TrayNotice::Kind::Info);
        }
        const qint64 rowid = m_archive.save(fields, m_newCard ? -1 : m_currentRowid);
        const bool wasNew = m_newCard;
        m_newCard = false;
        setBrowsing(true);
        m_loading = true;
        m_searchText->clear();
        m_loading = false;
        runQuery(PartnerQuery{}, rowid);
        if (m_archive.count() > before)
            TrayNotice::instance().show(QStringLiteral("Anagrafica clienti/fornitori"),
                                        QStringLiteral("L'inserimento di una nuova scheda ha avuto successo"),
                                        TrayNotice::kStandardSeconds, TrayNotice::Kind::Info);
        if (wasNew &&
            d.yesNo(MsgIcon::Question, QStringLiteral("Art. 13 D.Lgs. n° 196/2003 "),
                    QStringLiteral("Vuoi preparare la lettera di consenso per la Privacy?"), this)) {
            const Tqr_privacy1 letter(
                s,
                {fields.value(QStringLiteral("nome")).toString(), fields.value(QStringLiteral("via")).toString(),
                 Tqr_privacy1::cityLine(fields.value(QStringLiteral("cap")).toString(),
                                        fields.value(QStringLiteral("citta")).toString(),
                                        fields.value(QStringLiteral("prov1")).toString())},
                Clock::today());
            showPreview(letter.render());
        }
        return true;
    } catch (const StoreError& e) {
        d.error(kTitle, QStringLiteral("La scheda non è stata salvata:\r\n") + e.message(), this);
        return false;
    }
}

void Tfrm_clienti1::btn_cancellaClick() {
    if (m_currentRowid < 0) return;
    Dialogs& d = Dialogs::instance();
    if (d.show(MsgIcon::Warning, kTitle, QStringLiteral("Confermi la cancellazione?"),
               int(DlgButton::Yes) | int(DlgButton::No), DlgButton::No, this) != DlgButton::Yes)
        return;
    try {
        if (m_archive.backup())
            TrayNotice::instance().show(QStringLiteral("Anagrafica"), QStringLiteral("Eseguito backup dell'archivio anagrafica."),
                                        TrayNotice::kStandardSeconds, TrayNotice::Kind::Info);
        const int row = m_current;
        m_archive.remove(m_currentRowid);
        runQuery(PartnerQuery{}, -1, row);
    } catch (const StoreError& e) {
        d.error(kTitle, e.message(), this);
    }
}

void Tfrm_clienti1::btn_inizioClick() { showRow(0); }

void Tfrm_clienti1::btn_fineClick() {
    m_model->loadUntilRow(std::numeric_limits<int>::max() - 1);
    showRow(m_model->rowCount() - 1);
}

void Tfrm_clienti1::btn_precedenteClick() {
    if (m_contactsDirty &&
        Dialogs::instance().show(MsgIcon::Question, kTitle,
                                 QStringLiteral("I contatti sono stati modificati, confermi l'uscita senza salvare?"),
                                 int(DlgButton::Yes) | int(DlgButton::No), DlgButton::No, this) != DlgButton::Yes)
        return;
    if (m_current > 0) showRow(m_current - 1);
}

void Tfrm_clienti1::btn_successivoClick() {
    if (m_contactsDirty &&
        Dialogs::instance().show(MsgIcon::Question, kTitle,
                                 QStringLiteral("I contatti sono stati modificati, confermi l'uscita senza salvare?"),
                                 int(DlgButton::Yes) | int(DlgButton::No), DlgButton::No, this) != DlgButton::Yes)
        return;
    m_model->loadUntilRow(m_current + 1);
    if (m_current + 1 < m_model->rowCount()) showRow(m_current + 1);
}

void Tfrm_clienti1::btn_piva_cfClick() {
    static_cast<QLineEdit*>(m_fields[QStringLiteral("cf")])
        ->setText(static_cast<QLineEdit*>(m_fields[QStringLiteral("piva")])->text());
}

void Tfrm_clienti1::edt_ricercaChange() {
    m_searchTimer->stop();
    quickSearchChanged();
}

void Tfrm_clienti1::quickSearchChanged() {
    if (m_loading || m_newCard) return;
    runQuery(PartnerQuery::quickSearch(m_searchField->currentIndex(), m_searchMode->currentIndex() == 1,
                                       m_searchText->text(), m_searchKind->currentIndex()));
}

void Tfrm_clienti1::sortByColumn(int column) {
    PartnerQuery q;
    q.orderBy = sortableColumns().value(column, QStringLiteral("cod_cli"));
    runQuery(q, m_currentRowid);
}

void Tfrm_clienti1::cityChanged(QLineEdit* city, QLineEdit* cap, QLineEdit* prov) {
    if (!m_ctx.settings->flag(u"Anagrafica", u"Ricerca CAP") || city->text().trimmed().isEmpty()) return;
    const QString capTable = QDir(m_ctx.base).filePath(QStringLiteral("cap.db"));
    if (!Store::exists(capTable)) return;
    try {
        Store& s = *m_ctx.store;
        const QList<QVariantList> rows =
            s.rows(QStringLiteral("SELECT cap, prov FROM %1 WHERE Upper(localita) LIKE ? ESCAPE '\\' LIMIT 1").arg(s.table(capTable)),
                   {QStringLiteral("%") + Store::likeLiteral(city->text().trimmed().toUpper())});
        if (rows.isEmpty()) return;
        cap->setText(rows[0][0].toString().trimmed());
        prov->setText(rows[0][1].toString().trimmed());
    } catch (const StoreError&) {
        QApplication::beep();
    }
}

void Tfrm_clienti1::btn_attiva_filtroClick() {
    QPushButton* b = m_buttons[QStringLiteral("btn_attiva_filtro")];
    if (m_filterActive) {
        m_filterActive = false;
        b->setText(QStringLiteral("Attiva filtro"));
        m_buttons[QStringLiteral("btn_stampa_elenco")]->setEnabled(false);
        runQuery(PartnerQuery::filter({}, QString(), 0, QStringLiteral("NOME")));
        return;
    }
    QList<PartnerQuery::Criterion> criteria;
    for (const QString& col : filterColumns())
        criteria.append({col, m_filterFrom[col]->text(), m_filterBetween->isChecked() ? m_filterTo[col]->text() : QString()});
    int kind = 0;
    for (int i = 0; i < 4; ++i)
        if (m_printKinds[i]->isChecked()) kind = i;
    static const QStringList orders = {QStringLiteral("NOME"),  QStringLiteral("CITTA"), QStringLiteral("TEL"),
                                       QStringLiteral("CELL"),  QStringLiteral("EMAIL"), QStringLiteral("PIVA"),
                                       QStringLiteral("COD_CLI")};
    runQuery(PartnerQuery::filter(criteria, m_filterAgent->text(), kind, orders.value(m_filterOrder->currentIndex())));
    m_filterActive = true;
    b->setText(QStringLiteral("Toglie filtro"));
    m_buttons[QStringLiteral("btn_stampa_elenco")]->setEnabled(true);
}

void Tfrm_clienti1::btn_stampa_elencoClick() {
    if (m_model->rowCount() == 0) {
        Dialogs::instance().info(kTitle, QStringLiteral("Non ci sono schede che soddisfano la ricerca"), this);
        return;
    }
    report::Rows rows;
    try {
        Store& s = *m_ctx.store;
        const QList<ColumnInfo> cols = s.columns(m_archive.path());
        const QList<QVariantList> data = s.rows(
            QStringLiteral("SELECT * FROM %1%2 ORDER BY %3")
                .arg(s.table(m_archive.path()), m_query.where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + m_query.where,
                     m_query.orderBy),
            m_query.params);
        for (const QVariantList& r : data) {
            report::Row row;
            for (int i = 0; i < cols.size(); ++i) row.insert(cols[i].name.toUpper(), r.value(i));
            rows.append(row);
        }
    } catch (const StoreError& e) {
        Dialogs::instance().error(kTitle, e.message(), this);
        return;
    }
    if (rows.isEmpty()) {
        Dialogs::instance().info(QStringLiteral("Impostazioni di ricerca"),
                                 QStringLiteral("Non sono stati trovati elementi oppure la ricerca non è stata impostata correttamente"),
                                 this);
        return;
    }
    auto rpt = report::PartnerListReport::create(m_reportChoice->currentIndex(), *m_ctx.settings);
    rpt->setRows(rows);
    int kind = 0;
    for (int i = 0; i < 4; ++i)
        if (m_printKinds[i]->isChecked()) kind = i;
    rpt->setKind(static_cast<report::PartnerKind>(kind));
    showPreview(rpt->render());
}

void Tfrm_clienti1::quickViewClick(int which) {
    const QString code = m_currentCode;
    if (which == 1 && openInvoices) {
        openInvoices(code);
        return;
    }
    const Settings& s = *m_ctx.settings;
    struct View {
        const char16_t* pathKey;
        const char* where;
        const char* order;
        int params;
    };
    static const View views[6] = {
        {u"Archivio DDT Detail", "cod_cli = ? OR cod_forn = ?", "data, bolla", 2},
        {u"Archivio fatture Master", "cod_cli = ?", "data, fattura", 1},
        {u"Archivio scadenze", "cod_cli = ?", "data", 1},
        {u"Archivio Ordini", "cod_cli = ?", "data", 1},
        {u"Archivio preventivi Master", "cod_cli = ?", "data", 1},
        {u"Archivio Magazzino", "cod_forn = ?", "cod", 1},
    };
    static const char* titles[6] = {"Movimenti", "Fatture", "Scadenze", "Ordini", "Preventivi", "Articoli di Magazzino"};
    // Columns and captions of the views that show a choice of columns; the others show all.
    QList<QPair<QString, QString>> shownColumns;
    auto add = [&shownColumns](const char* column, const QString& caption) {
        shownColumns.append({QString::fromLatin1(column), caption});
    };
    if (which == 0) {
        for (const auto& [c, t] : {std::pair{"data", "Data"}, {"bolla", "Bolla"}, {"causale", "Causale"},
                                   {"cod", "Cod.articolo"}, {"des", "Descrizione"}, {"unitamis", "Un. mis."},
                                   {"quant", "Quantità"}, {"perc_iva", "% Iva"}, {"prezzo", "Prezzo"},
                                   {"prezzonett", "Prezzo netto"}})
            add(c, QString::fromUtf8(t));
    } else if (which == 1) {
        add("data", QStringLiteral("Data"));
        add("fattura", QStringLiteral("Numero"));
        add("tipodoc", QStringLiteral("Tipo documento"));
        add("iva4", QStringLiteral("IVA ") + s.text(u"Magazzino", u"IVA 1 predefinita"));
        add("iva9", QStringLiteral("IVA ") + s.text(u"Magazzino", u"IVA 2 predefinita"));
        add("iva19", QStringLiteral("IVA ") + s.text(u"Magazzino", u"IVA 3 predefinita"));
        add("imp_glob", QStringLiteral("Tot. imponib."));
        add("tot_fatt", QStringLiteral("Tot. fattura"));
        for (int i = 1; i <= 3; ++i) add(QStringLiteral("cscadpag%1").arg(i).toLatin1().constData(), QStringLiteral("Scad. pag. %1").arg(i));
        for (int i = 1; i <= 3; ++i) add(QStringLiteral("flagpag%1").arg(i).toLatin1().constData(), QStringLiteral("Pagato %1").arg(i));
    } else if (which == 5) {
        for (const auto& [c, t] : {std::pair{"cod", "Codice"}, {"des", "Descrizione"}, {"cat", "Categoria"}, {"pos", "Pos1"},
                                   {"pos2", "Pos2"}, {"qca", "Tot carico"}, {"qsc", "Tot scarico"},
                                   {"prezzo_acq", "Prezzo acq."}, {"prezzo_ven", "Prezzo ven."}, {"iva", "IVA"},
                                   {"scortamin", "Sc. min."}, {"dum", "Data Ult.mov."}})
            add(c, QString::fromUtf8(t));
    }
    const View& v = views[which];
    try {
        Store& st = *m_ctx.store;
        const QString path = s.text(u"Path", v.pathKey);
        QVariantList params;
        for (int i = 0; i < v.params; ++i) params << code;
        if (shownColumns.isEmpty())
            for (const ColumnInfo& c : st.columns(path)) shownColumns.append({c.name, c.name});
        QStringList names, headers;
        for (const auto& [column, caption] : std::as_const(shownColumns)) {
            names << column;
            headers << caption;
        }
        const QList<QVariantList> rows = st.rows(QStringLiteral("SELECT %1 FROM %2 WHERE %3 ORDER BY %4")
                                                     .arg(names.join(u", "), st.table(path), QString::fromLatin1(v.where),
                                                          QString::fromLatin1(v.order)),
                                                 params);
        m_quickView->clear();
        m_quickView->setColumnCount(int(headers.size()));
        m_quickView->setHorizontalHeaderLabels(headers);
        m_quickView->setRowCount(int(rows.size()));
        for (int r = 0; r < rows.size(); ++r)
            for (int c = 0; c < headers.size(); ++c) {
                const QVariant value = rows[r][c];
                const QDate d = value.typeId() == QMetaType::QString ? QDate::fromString(value.toString(), Qt::ISODate) : QDate();
                m_quickView->setItem(r, c, new QTableWidgetItem(d.isValid() ? fmt::date(d) : fmt::value(value)));
            }
        m_pages->setTabText(3, QStringLiteral("Quick view F5 - ") + QString::fromUtf8(titles[which]));
    } catch (const StoreError&) {
        // An archive that cannot be read leaves the page as it was.
    }
}

void Tfrm_clienti1::loadContacts() {
    m_loading = true;
    m_contacts->setRowCount(0);
    const QString code = m_currentCode;
    try {
        Store& s = *m_ctx.store;
        const QList<QVariantList> rows =
            s.rows(QStringLiteral("SELECT rowid, DATACONT, DATARICONT, ORARIO, PERSCONT, NOTE, RICONTEFF FROM %1 WHERE COD_CLI = ? "
                                  "ORDER BY rowid")
                       .arg(s.table(m_ctx.settings->text(u"Path", u"Archivio Contatti"))),
                   {code});
        m_contacts->setRowCount(int(rows.size()));
        for (int r = 0; r < rows.size(); ++r) {
            for (int c = 0; c < 5; ++c) {
                const QVariant v = rows[r][c + 1];
                const QDate d = c < 2 ? QDate::fromString(v.toString(), Qt::ISODate) : QDate();
                auto* item = new QTableWidgetItem(c < 2 ? fmt::date(d) : v.toString());
                item->setData(Qt::UserRole, rows[r][0]);
                m_contacts->setItem(r, c, item);
            }
            auto* done = new QTableWidgetItem(rows[r][6].toBool() ? QStringLiteral("Si") : QStringLiteral("No"));
            m_contacts->setItem(r, 5, done);
        }
    } catch (const StoreError&) {
    }
    m_noContacts->setVisible(m_contacts->rowCount() == 0);
    m_contacts->setVisible(m_contacts->rowCount() > 0);
    m_contactsDirty = false;
    m_loading = false;
}

bool Tfrm_clienti1::saveContacts() {
    try {
        Store& s = *m_ctx.store;
        const QString t = s.table(m_ctx.settings->text(u"Path", u"Archivio Contatti"));
        Transaction tx(s);
        for (int r = 0; r < m_contacts->rowCount(); ++r) {
            auto text = [&](int c) { return m_contacts->item(r, c) ? m_contacts->item(r, c)->text().trimmed() : QString(); };
            const QDate cont = QDate::fromString(text(0), QStringLiteral("dd/MM/yyyy"));
            const QDate back = QDate::fromString(text(1), QStringLiteral("dd/MM/yyyy"));
            const QTime time = QTime::fromString(QString(text(2)).replace(u'.', u':'), QStringLiteral("HH:mm"));
            s.exec(QStringLiteral("UPDATE %1 SET DATACONT = ?, DATARICONT = ?, ORARIO = ?, PERSCONT = ?, NOTE = ?, RICONTEFF = ? "
                                  "WHERE rowid = ?")
                       .arg(t),
                   {cont.isValid() ? QVariant(cont) : QVariant(), back.isValid() ? QVariant(back) : QVariant(),
                    time.isValid() ? time.toString(QStringLiteral("HH") + timeSeparator() + QStringLiteral("mm")) : QString(), text(3), text(4),
                    text(5).startsWith(u'S', Qt::CaseInsensitive), m_contacts->item(r, 0)->data(Qt::UserRole)});
        }
        tx.commit();
    } catch (const StoreError& e) {
        Dialogs::instance().error(kTitle, e.message(), this);
        return false;
    }
    loadContacts();
    return true;
}

void Tfrm_clienti1::loadAttachments(qint64 selectRowid) {
    m_loading = true;
    m_attachments->setRowCount(0);
    int select = 0;
    try {
        Store& s = *m_ctx.store;
        const QList<QVariantList> rows =
            s.rows(QStringLiteral("SELECT rowid, data, des, privacy, nome FROM %1 WHERE cod_cli = ? ORDER BY rowid")
                       .arg(s.table(dataFile(m_ctx.base, QStringLiteral("alleg_anag.db")))),
                   {m_currentCode});
        m_attachments->setRowCount(int(rows.size()));
        for (int r = 0; r < rows.size(); ++r) {
            const QString cells[4] = {fmt::date(QDate::fromString(rows[r][1].toString().left(10), Qt::ISODate)),
                                      rows[r][2].toString(), rows[r][3].toString(), rows[r][4].toString()};
            for (int c = 0; c < 4; ++c) m_attachments->setItem(r, c, new QTableWidgetItem(cells[c]));
            m_attachments->item(r, 0)->setData(Qt::UserRole, rows[r][0]);
            m_attachments->item(r, 0)->setData(Qt::UserRole + 1, rows[r][1]);
            if (rows[r][0].toLongLong() == selectRowid) select = r;
        }
    } catch (const StoreError&) {
    }
    const int row = m_attachments->rowCount() > 0 ? select : -1;
    m_attachments->setCurrentCell(row, 0);
    m_loading = false;
    showAttachment(row);
}

void Tfrm_clienti1::keyPressEvent(QKeyEvent* e) {
    const int k = e->key();
    if (k >= Qt::Key_F2 && k <= Qt::Key_F8) {
        m_pages->setCurrentIndex(k - Qt::Key_F2);
        return;
    }
    QDialog::keyPressEvent(e);
}

bool Tfrm_clienti1::writeSideArchive(const QString& path, const QString& sql, const QVariantList& params) {
    try {
        Store& s = *m_ctx.store;
        s.exec(sql.arg(s.table(path)), params);
        return true;
    } catch (const StoreError& e) {
        Dialogs::instance().error(kTitle, e.message(), this);
        return false;
    }
}

Tfrm_cerca& Tfrm_clienti1::searchDialog() {
    if (m_ctx.windows) return m_ctx.windows->window<Tfrm_cerca>();
    if (!m_ownSearch) m_ownSearch = std::make_unique<Tfrm_cerca>(m_ctx, this);
    return *m_ownSearch;
}

void Tfrm_clienti1::btn_trova_capClick() {
    Tfrm_cerca& dialog = searchDialog();
    dialog.setMode(QStringLiteral("cap"));
    runSearch(dialog);
}

void Tfrm_clienti1::openBankSearch(QObject* field) {
    const QString which = field->property("bankField").toString();
    QString text;
    if (auto* e = qobject_cast<QLineEdit*>(field)) text = e->text().trimmed();
    Tfrm_cerca& dialog = searchDialog();
    dialog.setMode(QStringLiteral("abi"));
    if (which == u"banca") {
        dialog.prefill(text);
        dialog.btn_avvia_nomeClick();
    }
    else if (which == u"abi") dialog.prefillBank(text, QString());
    else dialog.prefillBank(QString(), text);
    runSearch(dialog);
}

void Tfrm_clienti1::btn_cerca_vetturaClick() {
    static const char* columns[5] = {"marca_vettura", "modello_vettura", "targa_vettura", "num_imm_vettura", "cat_vettura"};
    PartnerQuery q;
    q.where = QStringLiteral("Upper(%1) LIKE ? ESCAPE '\\'").arg(QString::fromLatin1(columns[qBound(0, m_vehicleField->currentIndex(), 4)]));
    q.params << QStringLiteral("%") + Store::likeLiteral(m_vehicleText->text().trimmed().toUpper()) + QStringLiteral("%");
    q.orderBy = QStringLiteral("nome ASC");
    runQuery(q);
}

void Tfrm_clienti1::btn_cancella_vetturaClick() {
    PartnerQuery q;
    q.where = QStringLiteral("cod_cli <> ''");
    runQuery(q);
}

bool Tfrm_clienti1::eventFilter(QObject* watched, QEvent* e) {
    if (watched == m_grid && e->type() == QEvent::KeyPress) {
        const QString text = static_cast<QKeyEvent*>(e)->text();
        if (text.size() == 1 && text[0].isPrint()) {
            m_searchField->setCurrentIndex(1);  // Nome
            m_searchText->setFocus();
            m_searchText->setText(text);
            return true;
        }
    }
    if (e->type() == QEvent::MouseButtonDblClick && watched == m_attFile) {
        const QString file = FileDialogs::instance().openFile(this, QStringLiteral("Scegli il documento"));
        if (fitsField(file, m_attFile)) m_attFile->setText(file);
        return true;
    }
    if (e->type() == QEvent::MouseButtonDblClick && watched->property("bankField").isValid()) {
        openBankSearch(watched);
        return true;
    }
    return QDialog::eventFilter(watched, e);
}

void Tfrm_clienti1::done(int r) {
    qint64 cards = 0;
    try {
        cards = m_archive.count();
    } catch (const StoreError&) {
    }
    if (!UsageCounters(m_ctx.base).recordUse(QStringLiteral("Anagrafica"), cards, Clock::now(),
                                             QStringLiteral("    Schede in archivio: ")))
        QApplication::beep();
    m_opened = false;
    QDialog::done(r);
}

}  // namespace zel
