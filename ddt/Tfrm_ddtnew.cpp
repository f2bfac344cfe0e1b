#include "ddt/Tfrm_ddtnew.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QStringListModel>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimeEdit>
#include <QVBoxLayout>
#include <cmath>

#include "core/Clock.h"
#include "core/Paths.h"
#include "ddt/DdtDraft.h"
#include "ddt/DdtRegistration.h"
#include "ddt/TQR1.h"
#include "documents/Money.h"
#include "documents/NextNumber.h"
#include "documents/VatRates.h"
#include "registry/Tfrm_cerca.h"
#include "registry/Tfrm_clienti1.h"
#include "settings/Settings.h"
#include "store/Store.h"
#include "ui/DateEdit.h"
#include "ui/Dialogs.h"
#include "ui/Formats.h"
#include "ui/TrayNotice.h"
#include "warehouse/Tfrm_articoli.h"

namespace zel {

namespace {

const QString kTitle = QStringLiteral("Inserimento nuovo DDT");
const QString kTempTitle = QStringLiteral("Dettaglio DDT: file temporaneo");
const QString kHelp = QStringLiteral(
    "Fare clic sul bottone Crea DDT per iniziare ad inserire i dati. Seguire le indicazioni e gli "
    "aiuti nei passaggi "
    "guidati.");
const QString kPhase1 = QStringLiteral("1°:  inserimento dati");
const QString kPhase1Edit = QStringLiteral("1°: modifica dati");
const QString kPhase2 = QStringLiteral("2°: chiusura e registrazione DDT");
const QString kPhase3 = QStringLiteral("3°: stampa DDT");

enum LineColumn {
    ColCod,
    ColDes,
    ColQuant,
    ColUnit,
    ColPrice,
    ColDiscount,
    ColNet,
    ColVat,
    ColColli,
    ColPeso,
    ColOrder,
    ColCount
};

// A discount as the editor holds it: a whole percent 0..99.
int wholePercent(double v) {
    return std::isfinite(v) ? static_cast<int>(std::clamp(v, 0.0, 99.0)) : 0;
}

QComboBox* combo(const QString& name, const QStringList& items, bool editable = false) {
    auto* c = new QComboBox;
    c->setObjectName(name);
    c->addItems(items);
    c->setEditable(editable);
    return c;
}

}  // namespace

Tfrm_ddtnew::Tfrm_ddtnew(AppContext& ctx, QWidget* parent) : QDialog(parent), m_ctx(ctx) {
    setObjectName(QStringLiteral("Tfrm_ddtnew"));
    setWindowTitle(kTitle);
    runSearch = [](Tfrm_cerca& dialog) { dialog.execModal(); };
    runArticleCard = [this](const QString& code, const QString& des, double price) {
        std::unique_ptr<Tfrm_articoli> own;
        Tfrm_articoli* card = m_ctx.windows ? &m_ctx.windows->window<Tfrm_articoli>() : nullptr;
        if (!card) {
            own = std::make_unique<Tfrm_articoli>(m_ctx, this);
            card = own.get();
        }
        card->showPage(Tfrm_articoli::Generalita);
        card->FormShow();
        card->btn_nuovoClick();
        const std::pair<const char*, QString> fields[] = {
            {"edt_cod", code}, {"edt_des", des}, {"edt_prezzo_ven", fmt::value(price)}};
        for (const auto& [name, text] : fields)
            if (auto* e = card->findChild<QLineEdit*>(QString::fromLatin1(name))) e->setText(text);
        card->exec();
    };
    runCustomerCard = [this] {
        std::unique_ptr<Tfrm_clienti1> own;
        Tfrm_clienti1* card = m_ctx.windows ? &m_ctx.windows->window<Tfrm_clienti1>() : nullptr;
        if (!card) {
            own = std::make_unique<Tfrm_clienti1>(m_ctx, this);
            card = own.get();
        }
        card->showPage(0);
        card->exec();
    };
    showPrint = [this](const DdtPrintData& data, const DdtPrintOptions& options) {
        TQR1(*m_ctx.settings).preview(data, options, this);
    };
    buildUi();
    reset();
}

Tfrm_ddtnew::~Tfrm_ddtnew() = default;

QString Tfrm_ddtnew::path(const char16_t* key) const { return m_ctx.settings->text(u"Path", key); }
QString Tfrm_ddtnew::warehousePath() const { return path(u"Archivio Magazzino"); }

DdtDraft& Tfrm_ddtnew::draft() {
    if (!m_draft)
        m_draft = std::make_unique<DdtDraft>(
            *m_ctx.store, dataFile(m_ctx.base, QStringLiteral("dett_ddt_tmp.db")));
    return *m_draft;
}

Tfrm_cerca& Tfrm_ddtnew::searchDialog() {
    if (m_ctx.windows) return m_ctx.windows->window<Tfrm_cerca>();
    if (!m_ownSearch) m_ownSearch = std::make_unique<Tfrm_cerca>(m_ctx, this);
    return *m_ownSearch;
}

// ---------------------------------------------------------------- layout

void Tfrm_ddtnew::buildUi() {
    auto* root = new QVBoxLayout(this);
    root->addWidget(buildTop());
    m_steps = new QTabWidget;
    m_steps->setObjectName(QStringLiteral("page_passi"));
    m_steps->addTab(buildLinesPage(), QStringLiteral("1. Inserimento Dati "));
    m_steps->addTab(buildClosingPage(), QStringLiteral("2. Chiusura DDT"));
    m_steps->addTab(buildPrintPage(), QStringLiteral("3. Stampa DDT"));
    root->addWidget(m_steps, 1);
    auto* bottom = new QHBoxLayout;
    m_help = new QLabel;
    m_help->setObjectName(QStringLiteral("lbl_aiuto"));
    m_help->setWordWrap(true);
    bottom->addWidget(m_help, 1);
    for (const auto& [name, caption] :
         {std::pair{"btn_restart", "Nuovo\r\nDDT"}, std::pair{"btn_esci", "Uscita"}}) {
        auto* b = new QPushButton(
            QString::fromUtf8(caption).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        b->setObjectName(QString::fromLatin1(name));
        m_buttons.insert(b->objectName(), b);
        bottom->addWidget(b);
    }
    root->addLayout(bottom);
    connect(m_buttons[QStringLiteral("btn_restart")], &QPushButton::clicked, this,
            &Tfrm_ddtnew::btn_restartClick);
    connect(m_buttons[QStringLiteral("btn_esci")], &QPushButton::clicked, this,
            &Tfrm_ddtnew::btn_esciClick);
    for (QPushButton* b : std::as_const(m_buttons)) b->setAutoDefault(false);
}

QWidget* Tfrm_ddtnew::buildTop() {
    auto* w = new QWidget;
    auto* g = new QGridLayout(w);
    auto* create = new QPushButton(QStringLiteral("Crea DDT"));
    create->setObjectName(QStringLiteral("BTN_NUOVO"));
    m_buttons.insert(create->objectName(), create);
    connect(create, &QPushButton::clicked, this, &Tfrm_ddtnew::BTN_NUOVOClick);
    g->addWidget(create, 0, 0);
    g->addWidget(new QLabel(QStringLiteral("Num. DDT")), 0, 1);
    m_number = new QLineEdit;
    m_number->setObjectName(QStringLiteral("numDDT"));
    connect(m_number, &QLineEdit::editingFinished, this, &Tfrm_ddtnew::numDDTExit);
    g->addWidget(m_number, 0, 2);
    g->addWidget(new QLabel(QStringLiteral("Data")), 0, 3);
    m_date = new DateEdit;
    m_date->setObjectName(QStringLiteral("DataPicker1"));
    g->addWidget(m_date, 0, 4);
    m_phase = new QLabel;
    m_phase->setObjectName(QStringLiteral("lbl_fase"));
    g->addWidget(m_phase, 0, 5, 1, 3);

    g->addWidget(new QLabel(QStringLiteral("Destinatario")), 1, 0);
    m_recipient = combo(QStringLiteral("cmb_cod_cli"), {}, true);
    m_recipient->setInsertPolicy(QComboBox::NoInsert);
    m_recipient->setModel(new QStringListModel(m_recipient));
    m_recipient->lineEdit()->setMaxLength(20);
    m_recipient->lineEdit()->installEventFilter(this);
    connect(m_recipient, &QComboBox::activated, this, &Tfrm_ddtnew::cmb_cod_cliSelect);
    connect(m_recipient->lineEdit(), &QLineEdit::returnPressed, this,
            &Tfrm_ddtnew::cmb_cod_cliSelect);
    connect(m_recipient->lineEdit(), &QLineEdit::textEdited, this, &Tfrm_ddtnew::recipientTyped);
    g->addWidget(m_recipient, 1, 1, 1, 2);
    m_recipientName = new QLineEdit;
    m_recipientName->setObjectName(QStringLiteral("edt_nome"));
    m_recipientName->setReadOnly(true);
    m_recipientName->installEventFilter(this);
    g->addWidget(m_recipientName, 1, 3, 1, 2);
    m_newCustomer = new QPushButton(QStringLiteral("Nuovo cliente"));
    m_newCustomer->setObjectName(QStringLiteral("btn_nuovo_cliente"));
    m_newCustomer->setVisible(false);
    connect(m_newCustomer, &QPushButton::clicked, this, [this] {
        TrayNotice::instance().show(
            QStringLiteral("Inserimento nuovo cliente"),
            QStringLiteral("Fare clic sul bottone \"Nuova scheda\", inserire i dati e confermare "
                           "col bottone \"Conferma\""),
            TrayNotice::kStandardSeconds, TrayNotice::Kind::Info);
        if (runCustomerCard) runCustomerCard();
        fillRecipients();
        recipientTyped();
    });
    g->addWidget(m_newCustomer, 1, 5);
    m_listino = new QProgressBar;
    m_listino->setObjectName(QStringLiteral("num_listino"));
    m_listino->setRange(0, 4);
    m_listino->setFormat(QStringLiteral("Listino %v"));
    g->addWidget(m_listino, 1, 6);
    m_agent = combo(QStringLiteral("cmb_agente"), {}, true);
    m_agent->lineEdit()->setMaxLength(30);
    g->addWidget(m_agent, 1, 7);
    g->addWidget(new QLabel(QStringLiteral("Fatturare?")), 0, 8);
    m_fatt = combo(QStringLiteral("ComboFatt"), {QStringLiteral("N"), QStringLiteral("S")});
    connect(m_fatt, &QComboBox::currentTextChanged, this, [this](const QString& t) {
        m_fatt->setStyleSheet(t == QStringLiteral("S") ? QStringLiteral("color: green")
                                                       : QStringLiteral("color: red"));
    });
    g->addWidget(m_fatt, 1, 8);
    return w;
}

QWidget* Tfrm_ddtnew::buildLinesPage() {
    auto* page = new QWidget;
    auto* v = new QVBoxLayout(page);
    auto* g = new QGridLayout;
    v->addLayout(g);
    auto edit = [this](const QString& name, int maxLength = 0) {
        auto* e = new QLineEdit;
        e->setObjectName(name);
        if (maxLength > 0) e->setMaxLength(maxLength);
        m_edits.insert(name, e);
        return e;
    };
    g->addWidget(new QLabel(QStringLiteral("Codice articolo")), 0, 0);
    m_articleCode = combo(QStringLiteral("cmb_cod_articolo"), {}, true);
    m_articleCode->setInsertPolicy(QComboBox::NoInsert);
    m_articleCode->setModel(new QStringListModel(m_articleCode));
    m_articleCode->lineEdit()->setMaxLength(20);
    m_articleCode->lineEdit()->installEventFilter(this);
    connect(m_articleCode, &QComboBox::activated, this, &Tfrm_ddtnew::cmb_cod_articoloSelect);
    connect(m_articleCode->lineEdit(), &QLineEdit::returnPressed, this,
            &Tfrm_ddtnew::cmb_cod_articoloSelect);
    g->addWidget(m_articleCode, 0, 1);
    auto* byCode = new QPushButton(QStringLiteral("Cerca codice"));
    byCode->setObjectName(QStringLiteral("btn_cerca_codice"));
    connect(byCode, &QPushButton::clicked, this, [this] { openArticleSearch(0); });
    g->addWidget(byCode, 0, 2);
    g->addWidget(new QLabel(QStringLiteral("Descrizione")), 0, 3);
    m_articleDes = combo(QStringLiteral("cmb_des_articolo"), {}, true);
    m_articleDes->setInsertPolicy(QComboBox::NoInsert);
    m_articleDes->setModel(new QStringListModel(m_articleDes));
    m_articleDes->lineEdit()->setMaxLength(70);
    m_articleDes->lineEdit()->installEventFilter(this);
    connect(m_articleDes, &QComboBox::activated, this, &Tfrm_ddtnew::cmb_des_articoloSelect);
    connect(m_articleDes->lineEdit(), &QLineEdit::returnPressed, this,
            &Tfrm_ddtnew::cmb_des_articoloSelect);
    g->addWidget(m_articleDes, 0, 4, 1, 3);
    auto* byDes = new QPushButton(QStringLiteral("Cerca descrizione"));
    byDes->setObjectName(QStringLiteral("btn_cerca_descrizione"));
    connect(byDes, &QPushButton::clicked, this, [this] { openArticleSearch(1); });
    g->addWidget(byDes, 0, 7);

    g->addWidget(new QLabel(QStringLiteral("Magazzino")), 1, 0);
    m_place = combo(QStringLiteral("cmb_mag_ext"), {});
    connect(m_place, &QComboBox::activated, this, &Tfrm_ddtnew::showStock);
    g->addWidget(m_place, 1, 1);
    const char* stockNames[4] = {"lbl_giacenza", "lbl_colli_giacenza", "lbl_peso_giacenza",
                                 "lbl_ordinato"};
    const char* stockCaptions[4] = {"Giacenza", "Colli", "Peso", "Ordinato"};
    for (int i = 0; i < 4; ++i) {
        g->addWidget(new QLabel(QString::fromLatin1(stockCaptions[i])), 1, 2 + i * 2);
        m_stockLabels[i] = new QLabel;
        m_stockLabels[i]->setObjectName(QString::fromLatin1(stockNames[i]));
        g->addWidget(m_stockLabels[i], 2, 2 + i * 2);
    }
    m_indicator = new QLabel;
    m_indicator->setObjectName(QStringLiteral("img_giacenza"));
    g->addWidget(m_indicator, 2, 1);
    m_picture = new QLabel;
    m_picture->setObjectName(QStringLiteral("img_articolo"));
    m_picture->setFixedSize(120, 90);
    m_picture->setScaledContents(true);
    g->addWidget(m_picture, 0, 8, 4, 1);

    auto* f = new QGridLayout;
    v->addLayout(f);
    int col = 0;
    auto field = [&](const QString& caption, QWidget* w) {
        f->addWidget(new QLabel(caption), 0, col);
        f->addWidget(w, 1, col);
        ++col;
    };
    field(QStringLiteral("Listino 1"), edit(QStringLiteral("prz_base")));
    m_edits[QStringLiteral("prz_base")]->setReadOnly(true);
    field(QStringLiteral("Prezzo"), edit(QStringLiteral("prz_art")));
    m_discount = new QSpinBox;
    m_discount->setObjectName(QStringLiteral("SpinSconto"));
    m_discount->setRange(0, 99);
    m_discount->setSuffix(QStringLiteral(" %"));
    field(QStringLiteral("Sconto"), m_discount);
    field(QStringLiteral("Prezzo netto"), edit(QStringLiteral("prz_net")));
    m_edits[QStringLiteral("prz_net")]->setReadOnly(true);
    m_vat = combo(QStringLiteral("iva_art"), {}, true);
    field(QStringLiteral("IVA %"), m_vat);
    field(QStringLiteral("Netto ivato"), edit(QStringLiteral("prz_ivato")));
    m_edits[QStringLiteral("prz_ivato")]->setReadOnly(true);
    m_unit = combo(
        QStringLiteral("ComboQuant"),
        {QStringLiteral("N."), QStringLiteral("Kg."), QStringLiteral("Pz."), QStringLiteral("gr."),
         QStringLiteral("l."), QStringLiteral("Conf."), QStringLiteral("mtr")});
    field(QStringLiteral("Un. mis."), m_unit);
    field(QStringLiteral("Quantità"), edit(QStringLiteral("edt_quant")));
    field(QStringLiteral("Peso Kg"), edit(QStringLiteral("edt_peso")));
    field(QStringLiteral("Colli"), edit(QStringLiteral("edt_colli")));
    field(QStringLiteral("Scarto"), edit(QStringLiteral("edt_scarto")));
    connect(m_edits[QStringLiteral("prz_art")], &QLineEdit::textChanged, this,
            &Tfrm_ddtnew::updatePrices);
    connect(m_discount, &QSpinBox::valueChanged, this, &Tfrm_ddtnew::updatePrices);
    connect(m_vat, &QComboBox::currentTextChanged, this, &Tfrm_ddtnew::updatePrices);

    auto* o = new QHBoxLayout;
    v->addLayout(o);
    o->addWidget(new QLabel(QStringLiteral("Ordine")));
    o->addWidget(edit(QStringLiteral("num_ordine"), 30));
    m_orderDate = new DateEdit;
    m_orderDate->setObjectName(QStringLiteral("DataPicker2"));
    o->addWidget(m_orderDate);
    auto* today = new QPushButton(QStringLiteral("Data ordine = oggi"));
    today->setObjectName(QStringLiteral("btn_data_ordine"));
    connect(today, &QPushButton::clicked, this, [this] { m_orderDate->setDate(m_date->date()); });
    o->addWidget(today);
    o->addWidget(new QLabel(QStringLiteral("Contrassegno")));
    m_flag = edit(QStringLiteral("flag"), 1);
    o->addWidget(m_flag);
    m_orders = new QListWidget;
    m_orders->setObjectName(QStringLiteral("lst_ordini"));
    m_orders->setMaximumHeight(70);
    connect(m_orders, &QListWidget::currentRowChanged, this, &Tfrm_ddtnew::lst_ordiniClick);
    o->addWidget(m_orders, 1);

    m_processing = new QWidget;
    m_processing->setObjectName(QStringLiteral("panel_lavorazioni"));
    auto* p = new QGridLayout(m_processing);
    const char* kg[3] = {"edt_ptropic", "edt_pzincat", "edt_pdorat"};
    const char* price[3] = {"edt_ctropic", "edt_czincat", "edt_cdorat"};
    const char16_t* labels[3] = {u"Lavorazione 1", u"Lavorazione 2", u"Lavorazione 3"};
    for (int i = 0; i < 3; ++i) {
        auto* l = new QLabel;
        l->setObjectName(QStringLiteral("lbl_lavorazione%1").arg(i + 1));
        l->setProperty("settingKey", QString::fromUtf16(labels[i]));
        p->addWidget(l, 0, i * 2, 1, 2);
        p->addWidget(edit(QString::fromLatin1(kg[i])), 1, i * 2);
        p->addWidget(edit(QString::fromLatin1(price[i])), 1, i * 2 + 1);
    }
    v->addWidget(m_processing);

    m_note = new QPlainTextEdit;
    m_note->setObjectName(QStringLiteral("memo_note"));
    m_note->setMaximumHeight(40);
    v->addWidget(m_note);

    auto* buttons = new QHBoxLayout;
    v->addLayout(buttons);
    m_lamp = new QLabel(QStringLiteral("●"));
    m_lamp->setObjectName(QStringLiteral("lbl_stato"));
    buttons->addWidget(m_lamp);
    auto button = [&](const char* name, const QString& caption, void (Tfrm_ddtnew::*slot)()) {
        auto* b = new QPushButton(caption);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        m_buttons.insert(b->objectName(), b);
        connect(b, &QPushButton::clicked, this, slot);
        buttons->addWidget(b);
        return b;
    };
    m_confirm = button("btn_conferma", QStringLiteral("Conferma inserimento"),
                       &Tfrm_ddtnew::btn_confermaClick);
    button("btn_delete", QStringLiteral("Cancella voce DDT selezionata"),
           &Tfrm_ddtnew::btn_deleteClick);
    const char* nav[4] = {"btn_inizio", "btn_indietro", "btn_avanti", "btn_fine"};
    const char* navCaption[4] = {"Inizio", "Indietro", "Avanti", "Fine"};
    for (int i = 0; i < 4; ++i) {
        auto* b = new QPushButton(QString::fromLatin1(navCaption[i]));
        b->setObjectName(QString::fromLatin1(nav[i]));
        b->setAutoDefault(false);
        m_buttons.insert(b->objectName(), b);
        connect(b, &QPushButton::clicked, this, [this, i] {
            const int row = m_grid->currentRow();
            const int last = static_cast<int>(m_rowids.size()) - 1;
            moveTo(i == 0   ? 0
                   : i == 1 ? std::max(0, row - 1)
                   : i == 2 ? std::min(last, row + 1)
                            : last);
        });
        buttons->addWidget(b);
    }
    button("btn_termina", QStringLiteral("Termina inserimento"), &Tfrm_ddtnew::btn_terminaClick);

    m_grid = new QTableWidget(0, ColCount);
    m_grid->setObjectName(QStringLiteral("grid_righe"));
    m_grid->setHorizontalHeaderLabels(
        {QStringLiteral("Codice"), QStringLiteral("Descrizione"), QStringLiteral("Quant."),
         QStringLiteral("Un. mis."), QStringLiteral("Prezzo"), QStringLiteral("Sconto"),
         QStringLiteral("Prz netto"), QStringLiteral("IVA"), QStringLiteral("Colli"),
         QStringLiteral("Peso"), QStringLiteral("Ordine")});
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->verticalHeader()->hide();
    connect(m_grid, &QTableWidget::cellClicked, this,
            [this](int row, int) { grid_righeClick(row); });
    v->addWidget(m_grid, 1);
    return page;
}

QWidget* Tfrm_ddtnew::buildClosingPage() {
    auto* page = new QWidget;
    auto* h = new QHBoxLayout(page);
    auto* form = new QFormLayout;
    h->addLayout(form);
    m_causale =
        combo(QStringLiteral("Cmb2"),
              {QStringLiteral("Vendita"), QStringLiteral("C/to lavorazione"),
               QStringLiteral("C/to riparazione"), QStringLiteral("C/to visione"),
               QStringLiteral("Reso in garanzia"), QStringLiteral("Reso non conforme"), QString()},
              true);
    m_causale->lineEdit()->setMaxLength(30);
    form->addRow(QStringLiteral("Causale"), m_causale);
    m_aspetto =
        combo(QStringLiteral("CmB3"),
              {QStringLiteral("A vista"), QStringLiteral("Alla rinfusa"), QStringLiteral("Bidoni"),
               QStringLiteral("Casse"), QStringLiteral("Container"), QStringLiteral("Contenitori"),
               QStringLiteral("Pallet"), QStringLiteral("Sacchi"), QStringLiteral("Scatole")},
              true);
    m_aspetto->lineEdit()->setMaxLength(20);
    form->addRow(QStringLiteral("Aspetto dei beni"), m_aspetto);
    m_porto = combo(
        QStringLiteral("Cmb1"),
        {QStringLiteral("Assegnato"), QStringLiteral("Franco"), QStringLiteral("Franco fabbrica")},
        true);
    m_porto->lineEdit()->setMaxLength(20);
    form->addRow(QStringLiteral("Porto"), m_porto);
    m_trasporto = combo(
        QStringLiteral("CmB4"),
        {QStringLiteral("Destinatario"), QStringLiteral("Mittente"), QStringLiteral("Vettore")},
        true);
    m_trasporto->lineEdit()->setMaxLength(20);
    form->addRow(QStringLiteral("Trasporto a cura del"), m_trasporto);
    m_contrass = new QLineEdit;
    m_contrass->setObjectName(QStringLiteral("contrass"));
    m_contrass->setMaxLength(1);  // the archives hold one character
    connect(m_contrass, &QLineEdit::textEdited, this, [this](const QString& t) {
        if (t.compare(QStringLiteral("X"), Qt::CaseInsensitive) == 0)
            Dialogs::instance().warning(
                kTitle,
                QStringLiteral("Ogni DDT creato con contrassegno = X non sarà visibile in "
                               "scorrimento DDT"),
                this);
    });
    form->addRow(QStringLiteral("Contrassegno fatturazione"), m_contrass);
    auto* imballo = new QLineEdit;
    imballo->setObjectName(QStringLiteral("imballo"));
    imballo->setMaxLength(20);
    m_edits.insert(imballo->objectName(), imballo);
    form->addRow(QStringLiteral("Imballo"), imballo);
    m_note1 = combo(QStringLiteral("cmb_note"), {}, true);
    m_note1->lineEdit()->setMaxLength(70);
    form->addRow(QStringLiteral("Note 1"), m_note1);
    m_note2 = combo(QStringLiteral("cmb_note2"), {}, true);
    m_note2->lineEdit()->setMaxLength(70);
    form->addRow(QStringLiteral("Note 2"), m_note2);

    m_orderPanel = new QWidget;
    m_orderPanel->setObjectName(QStringLiteral("panel_ordine_bolla"));
    auto* op = new QHBoxLayout(m_orderPanel);
    auto* global = new QLineEdit;
    global->setObjectName(QStringLiteral("Edit1"));
    global->setMaxLength(15);
    m_edits.insert(global->objectName(), global);
    op->addWidget(global);
    m_globalOrderDate = new DateEdit;
    m_globalOrderDate->setObjectName(QStringLiteral("DTP1"));
    op->addWidget(m_globalOrderDate);
    auto* ddtDate = new QPushButton(QStringLiteral("Data DDT"));
    ddtDate->setObjectName(QStringLiteral("btn_data_ddt"));
    connect(ddtDate, &QPushButton::clicked, this,
            [this] { m_globalOrderDate->setDate(m_date->date()); });
    op->addWidget(ddtDate);
    op->addWidget(new QLabel(QStringLiteral("Questo dato non aggiorna\r\nl'archivio degli ordini")
                                 .replace(QStringLiteral("\r\n"), QStringLiteral("\n"))));
    form->addRow(QStringLiteral("Ordine"), m_orderPanel);

    auto* totals = new QWidget;
    totals->setObjectName(QStringLiteral("panel_riepilogo"));
    auto* tf = new QFormLayout(totals);
    tf->addRow(new QLabel(QStringLiteral("Dati riepilogativi del DDT / Bolla")));
    const std::pair<const char*, const char*> rows[] = {
        {"lbl_righe", "Righe"},      {"ncolli", "Colli"},        {"pesotot", "Peso"},
        {"pesotropic", "Peso 1"},    {"pesozincat", "Peso 2"},   {"pesodorat", "Peso 3"},
        {"costotropic", "Costo 1"},  {"costozincat", "Costo 2"}, {"costodorat", "Costo 3"},
        {"costotot", "Costo merce"}, {"scartotot", "Scarto"},    {"ivatot", "IVA"}};
    for (const auto& [name, caption] : rows) {
        auto* l = new QLabel;
        l->setObjectName(QString::fromLatin1(name));
        m_totals.insert(l->objectName(), l);
        auto* c = new QLabel(QString::fromLatin1(caption));
        c->setObjectName(QStringLiteral("cap_") + l->objectName());
        tf->addRow(c, l);
    }
    h->addWidget(totals);

    auto* buttons = new QVBoxLayout;
    h->addLayout(buttons);
    const std::tuple<const char*, const char*, void (Tfrm_ddtnew::*)()> defs[] = {
        {"btn_registra_ddt", "Registra\r\nDDT", &Tfrm_ddtnew::btn_registra_ddtClick},
        {"btn_go_print", "Vai a \r\nStampa", &Tfrm_ddtnew::btn_go_printClick},
        {"btn_annulla", "Annulla\r\nDDT", &Tfrm_ddtnew::btn_restartClick}};
    for (const auto& [name, caption, slot] : defs) {
        auto* b = new QPushButton(
            QString::fromUtf8(caption).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        m_buttons.insert(b->objectName(), b);
        connect(b, &QPushButton::clicked, this, slot);
        buttons->addWidget(b);
    }
    buttons->addStretch();
    return page;
}

QWidget* Tfrm_ddtnew::buildPrintPage() {
    auto* page = new QWidget;
    auto* h = new QHBoxLayout(page);
    auto* form = new QFormLayout;
    h->addLayout(form);
    form->addRow(new QLabel(QStringLiteral("Destinazione (se diversa) - Destinatario")));
    const std::pair<const char*, const char*> dest[] = {{"edt_dest_nome", "Nome"},
                                                        {"edt_dest_via", "Via"},
                                                        {"edt_dest_cap", "CAP"},
                                                        {"edt_dest_citta", "Città"},
                                                        {"edt_dest_prov", "Provincia"}};
    for (const auto& [name, caption] : dest) {
        auto* e = new QLineEdit;
        e->setObjectName(QString::fromLatin1(name));
        e->installEventFilter(this);
        m_edits.insert(e->objectName(), e);
        form->addRow(QString::fromUtf8(caption), e);
    }
    for (int i = 0; i < 2; ++i) {
        m_carriers[i] = combo(QStringLiteral("cmb_vettore%1").arg(i + 1), {}, true);
        form->addRow(QStringLiteral("Vettore %1").arg(i + 1), m_carriers[i]);
    }
    m_pickupDateOn = new QCheckBox(QStringLiteral("Data ritiro"));
    m_pickupDateOn->setObjectName(QStringLiteral("chk_data_ritiro"));
    m_pickupDate = new DateEdit;
    m_pickupDate->setObjectName(QStringLiteral("DataRitiro"));
    form->addRow(m_pickupDateOn, m_pickupDate);
    m_pickupTimeOn = new QCheckBox(QStringLiteral("Ora ritiro"));
    m_pickupTimeOn->setObjectName(QStringLiteral("chk_ora_ritiro"));
    auto* time = new QLineEdit;
    time->setObjectName(QStringLiteral("edt_ora_ritiro"));
    m_edits.insert(time->objectName(), time);
    form->addRow(m_pickupTimeOn, time);
    m_note3 = combo(QStringLiteral("cmb_note3"), {}, true);
    form->addRow(QStringLiteral("Note"), m_note3);

    auto* options = new QVBoxLayout;
    h->addLayout(options);
    const std::pair<const char*, const char*> opts[] = {
        {"Stampa Colonna Unità di misura", "Stampa colonna \"Unita di mis,\""},
        {"Stampa Colonna peso", "Stampa colonna \"Peso\""},
        {"Stampa Colonna ordine", "Stampa colonna \"Ordine\""},
        {"Stampa Colonna data ordine", "Stampa colonna \"Data Ordine\""},
        {"Stampa Campo scarto", "Campo \"Scarto\""},
        {"Stampa Campo vsrif", "Campo  \"Vs. Rif.\""},
        {"Stampa Campo imballo", "Campo  \"Imballo.\""}};
    const char* names[] = {"chk_ddt_stampa_um",     "chk_ddt_stampa_peso",
                           "chk_ddt_stampa_ordine", "chk_ddt_stampa_data_ordine",
                           "chk_ddt_stampa_scarto", "chk_ddt_stampa_vsrif",
                           "chk_ddt_stampa_imballo"};
    int i = 0;
    for (const auto& [key, caption] : opts) {
        auto* c = new QCheckBox(QString::fromUtf8(caption));
        c->setObjectName(QString::fromLatin1(names[i++]));
        m_printOptions.insert(QString::fromUtf8(key), c);
        options->addWidget(c);
    }
    m_extraLogo = new QCheckBox(QStringLiteral("Stampa logo aggiuntivo"));
    m_extraLogo->setObjectName(QStringLiteral("chk_logo_aggiuntivo"));
    options->addWidget(m_extraLogo);
    auto* copies = new QHBoxLayout;
    copies->addWidget(new QLabel(QStringLiteral("Copie")));
    m_copies = new QSpinBox;
    m_copies->setObjectName(QStringLiteral("n_copie"));
    m_copies->setRange(1, 99);
    copies->addWidget(m_copies);
    options->addLayout(copies);
    auto* print = new QPushButton(QStringLiteral("Stampa DDT"));
    print->setObjectName(QStringLiteral("BtnStampa"));
    print->setAutoDefault(false);
    m_buttons.insert(print->objectName(), print);
    connect(print, &QPushButton::clicked, this, &Tfrm_ddtnew::BtnStampaClick);
    options->addWidget(print);
    auto* again = new QPushButton(QStringLiteral("Nuovo\nDDT"));
    again->setObjectName(QStringLiteral("btn_restart2"));
    again->setAutoDefault(false);
    m_buttons.insert(again->objectName(), again);
    connect(again, &QPushButton::clicked, this, &Tfrm_ddtnew::btn_restartClick);
    options->addWidget(again);
    options->addStretch();
    return page;
}

// ---------------------------------------------------------------- state

void Tfrm_ddtnew::setPhase(const QString& text) { m_phase->setText(text); }

void Tfrm_ddtnew::setStepsEnabled(bool enabled) {
    for (int i = 0; i < m_steps->count(); ++i) m_steps->widget(i)->setEnabled(enabled);
}

void Tfrm_ddtnew::reset() {
    const Settings& s = *m_ctx.settings;
    try {
        draft().clear(path(u"Archivio DDT Detail"));
    } catch (const StoreError& e) {
        TrayNotice::instance().show(kTempTitle, e.message(), TrayNotice::kStandardSeconds,
                                    TrayNotice::Kind::Error);
    }
    m_started = m_closing = m_registered = m_duplicateAccepted = false;
    m_editing = 0;
    m_counter = 0;
    m_proposed = 0;
    m_number->clear();
    m_number->setToolTip(QString());
    m_date->setDate(Clock::today());
    m_recipient->setEditText(QString());
    m_recipientName->clear();
    m_listino->setValue(0);
    m_agent->setEditText(QString());
    m_newCustomer->setVisible(false);
    m_fatt->setCurrentText(QStringLiteral("S"));
    clearLineFields();
    m_flag->setText(QStringLiteral("*"));
    m_contrass->setText(QStringLiteral("*"));
    m_edits[QStringLiteral("imballo")]->clear();
    m_edits[QStringLiteral("Edit1")]->clear();
    m_globalOrderDate->setDate(QDate());
    m_note1->setEditText(QString());
    m_note2->setEditText(QString());
    applyClosingDefaults();
    m_processing->setVisible(s.flag(u"DDT", u"Visualizza pannello lavorazioni"));
    const bool processingTotals = s.flag(u"DDT", u"Visualizza pannello riepilogo peso lavorazioni");
    for (const char* n :
         {"pesotropic", "pesozincat", "pesodorat", "costotropic", "costozincat", "costodorat"}) {
        m_totals[QString::fromLatin1(n)]->setVisible(processingTotals);
        findChild<QLabel*>(QStringLiteral("cap_") + QString::fromLatin1(n))
            ->setVisible(processingTotals);
    }
    m_orderPanel->setVisible(s.flag(u"DDT", u"Visualizza pannello ordine bolla"));
    const QString currency = s.text(u"Magazzino", u"Valuta primaria");
    for (int i = 1; i <= 3; ++i) {
        const QString label = s.text(u"Magazzino", QStringLiteral("Lavorazione %1").arg(i));
        findChild<QLabel*>(QStringLiteral("lbl_lavorazione%1").arg(i))
            ->setText(QStringLiteral("%1: Kg x %2/Kg").arg(label, currency));
        static const char* caps[3] = {"cap_pesotropic", "cap_pesozincat", "cap_pesodorat"};
        findChild<QLabel*>(QString::fromLatin1(caps[i - 1]))
            ->setText(QStringLiteral("Peso ") + label);
    }
    m_vat->clear();
    const VatRates rates(s);
    m_vat->addItems(rates.choices());
    if (rates.defaultRate()) m_vat->setCurrentText(rates.defaultRate()->text());
    m_place->clear();
    m_place->addItem(QStringLiteral("Principale"), QString());
    const QString types = dataFile(m_ctx.base, QStringLiteral("mag_tipo.db"));
    if (m_ctx.store->usable(types)) {
        try {
            for (const QVariantList& r :
                 m_ctx.store->rows(QStringLiteral("SELECT COD_MAG, DES FROM %1 WHERE "
                                                  "COALESCE(COD_MAG, '') <> '' ORDER BY COD_MAG")
                                       .arg(m_ctx.store->table(types))))
                m_place->addItem(r[0].toString() + QStringLiteral(".") + r[1].toString(),
                                 r[0].toString());
        } catch (const StoreError&) {
        }
    }
    m_copies->setValue(std::max(1, s.text(u"DDT", u"Copie di stampa").toInt()));
    m_extraLogo->setChecked(false);
    for (auto it = m_printOptions.cbegin(); it != m_printOptions.cend(); ++it)
        it.value()->setChecked(s.flag(u"DDT", it.key()));
    m_edits[QStringLiteral("edt_dest_nome")]->setText(QStringLiteral("MEDESIMA"));
    for (const char* n : {"edt_dest_via", "edt_dest_cap", "edt_dest_citta", "edt_dest_prov"})
        m_edits[QString::fromLatin1(n)]->clear();
    m_pickupDate->setDate(Clock::today());
    m_edits[QStringLiteral("edt_ora_ritiro")]->setText(
        Clock::now().time().toString(QStringLiteral("HH:mm")));
    m_pickupDateOn->setChecked(false);
    m_pickupTimeOn->setChecked(false);
    refreshLines();
    m_help->setText(kHelp);
    setPhase(QString());
    m_steps->setCurrentIndex(0);
    m_steps->setVisible(false);
    setStepsEnabled(false);
    m_confirm->setText(QStringLiteral("Conferma inserimento"));
    m_confirm->setEnabled(true);
    m_buttons[QStringLiteral("btn_termina")]->setEnabled(false);
    m_buttons[QStringLiteral("btn_registra_ddt")]->setEnabled(true);
    m_buttons[QStringLiteral("btn_annulla")]->setEnabled(true);
    m_buttons[QStringLiteral("btn_go_print")]->setEnabled(false);
    m_buttons[QStringLiteral("BtnStampa")]->setEnabled(false);
    m_buttons[QStringLiteral("btn_restart")]->setEnabled(true);
    m_lamp->setStyleSheet(QString());
}

void Tfrm_ddtnew::applyClosingDefaults() {
    const Settings& s = *m_ctx.settings;
    const std::pair<QComboBox*, const char16_t*> defaults[] = {{m_causale, u"Causale"},
                                                               {m_aspetto, u"Aspetto dei beni"},
                                                               {m_porto, u"Porto"},
                                                               {m_trasporto, u"Trasporto"}};
    for (const auto& [c, key] : defaults) {
        const int i = s.integer(u"DDT", key);
        if (i >= 0 && i < c->count())
            c->setCurrentIndex(i);
        else
            c->setEditText(QString());
    }
    const int fatt = s.integer(u"DDT", u"Fatturazione");
    m_fatt->setCurrentIndex(fatt >= 0 && fatt < m_fatt->count() ? fatt : 1);
    // A started DDT is to be invoiced.
    m_fatt->setCurrentText(QStringLiteral("S"));
}

bool Tfrm_ddtnew::prepare(Mode mode) {
    m_mode = mode;
    if (mode == Mode::Orders) {
        QStringList codes;
        try {
            const QString orders = path(u"Archivio Ordini");
            m_ctx.store->forEachRow(
                QStringLiteral("SELECT DISTINCT cod_cli FROM %1 WHERE COALESCE(cod_cli, '') <> '' "
                               "ORDER BY cod_cli")
                    .arg(m_ctx.store->table(orders)),
                {}, [&codes](const StoreRow& r) { codes.append(r.text(0)); });
        } catch (const StoreError& e) {
            Dialogs::instance().error(kTitle, e.message(), this);
            return false;
        }
        if (codes.isEmpty()) {
            Dialogs::instance().warning(
                kTitle, QStringLiteral("Non ci sono ordini Clienti da cui generare DDT!"), this);
            return false;
        }
        reset();
        static_cast<QStringListModel*>(m_recipient->model())->setStringList(codes);
    } else {
        reset();
        fillRecipients();
    }
    m_recipient->setEditText(QString());
    fillArticles();
    fillAgents();
    fillLookups();
    m_date->setDate(Clock::today());
    return true;
}

void Tfrm_ddtnew::fillRecipients() {
    if (m_mode == Mode::Orders) return;
    QStringList codes;
    try {
        m_ctx.store->forEachRow(
            QStringLiteral(
                "SELECT cod_cli FROM %1 WHERE COALESCE(cod_cli, '') <> '' ORDER BY cod_cli")
                .arg(m_ctx.store->table(path(u"Archivio anagrafica"))),
            {}, [&codes](const StoreRow& r) { codes.append(r.text(0)); });
    } catch (const StoreError& e) {
        Dialogs::instance().error(kTitle, e.message(), this);
    }
    const QString typed = m_recipient->currentText();
    static_cast<QStringListModel*>(m_recipient->model())->setStringList(codes);
    m_recipient->setEditText(typed);
}

void Tfrm_ddtnew::fillArticles() {
    QStringList codes, names;
    try {
        const QString sql =
            m_mode == Mode::Orders
                ? QStringLiteral(
                      "SELECT DISTINCT COALESCE(cod_art, ''), COALESCE(des, '') FROM %1 ORDER BY "
                      "cod_art")
                      .arg(m_ctx.store->table(path(u"Archivio Ordini")))
                : QStringLiteral("SELECT COALESCE(cod, ''), COALESCE(des, '') FROM %1 ORDER BY cod")
                      .arg(m_ctx.store->table(warehousePath()));
        m_ctx.store->forEachRow(sql, {}, [&](const StoreRow& r) {
            codes.append(r.text(0));
            names.append(r.text(1));
        });
    } catch (const StoreError& e) {
        Dialogs::instance().error(kTitle, e.message(), this);
    }
    static_cast<QStringListModel*>(m_articleCode->model())->setStringList(codes);
    static_cast<QStringListModel*>(m_articleDes->model())->setStringList(names);
    m_articleCode->setEditText(QString());
    m_articleDes->setEditText(QString());
}

void Tfrm_ddtnew::fillAgents() {
    m_agent->clear();
    if (m_ctx.settings->text(u"Anagrafica", u"Tipologia libera 4").trimmed().toUpper() !=
        QStringLiteral("AGENTE"))
        return;
    try {
        m_ctx.store->forEachRow(
            QStringLiteral(
                "SELECT cod_cli FROM %1 WHERE extra_data LIKE '______1%' ORDER BY cod_cli")
                .arg(m_ctx.store->table(path(u"Archivio anagrafica"))),
            {}, [this](const StoreRow& r) { m_agent->addItem(r.text(0)); });
    } catch (const StoreError&) {
    }
    m_agent->setEditText(QString());
}

void Tfrm_ddtnew::fillLookups() {
    auto fill = [this](const QString& file, const QString& sql, const QList<QComboBox*>& combos) {
        const QString p = dataFile(m_ctx.base, file);
        QStringList items;
        if (m_ctx.store->usable(p)) {
            try {
                m_ctx.store->forEachRow(
                    sql.arg(m_ctx.store->table(p)), {}, [&items](const StoreRow& r) {
                        for (int i = 0; i < 3; ++i)
                            if (!r.value(i).isNull() && !r.text(i).trimmed().isEmpty())
                                items.append(r.text(i));
                    });
            } catch (const StoreError&) {
            }
        }
        for (QComboBox* c : combos) {
            c->clear();
            c->addItems(items);
            c->setEditText(QString());
        }
    };
    fill(QStringLiteral("note_ddt.db"),
         QStringLiteral("SELECT testo1, testo2, testo3 FROM %1 ORDER BY rowid"),
         {m_note1, m_note2, m_note3});
    fill(QStringLiteral("anag_vettori.db"),
         QStringLiteral("SELECT nome, NULL, NULL FROM %1 ORDER BY nome"),
         {m_carriers[0], m_carriers[1]});
}

qint64 Tfrm_ddtnew::lastNumber() const {
    return NextNumber(*m_ctx.store, path(u"Archivio DDT Master"), QStringLiteral("bolla"),
                      QStringLiteral("COALESCE(cod_cli, '') <> ''"))
               .propose() -
           1;
}

// ---------------------------------------------------------------- steps

void Tfrm_ddtnew::BTN_NUOVOClick() {
    qint64 last = 0;
    try {
        last = lastNumber();
        draft().clear(path(u"Archivio DDT Detail"));
    } catch (const StoreError& e) {
        Dialogs::instance().error(kTitle, e.message(), this);
        return;
    }
    m_counter = 0;
    m_editing = 0;
    m_started = true;
    m_closing = m_registered = m_duplicateAccepted = false;
    Dialogs::instance().info(
        QStringLiteral("Ultimo DDT"),
        QStringLiteral("Il numero della ultimo DDT (bolla) registrata è %1\r\nSelezionare il "
                       "destinatario per proseguire")
            .arg(last),
        this);
    m_proposed = last + 1;
    m_number->setText(QString::number(m_proposed));
    m_number->setToolTip(QString());
    m_date->setDate(Clock::today());
    clearLineFields();
    m_flag->setText(QStringLiteral("*"));
    m_fatt->setCurrentText(QStringLiteral("S"));
    refreshLines();
    m_steps->setVisible(true);
    m_steps->setCurrentIndex(0);
    setStepsEnabled(!m_recipient->currentText().trimmed().isEmpty() &&
                    !m_recipientName->text().isEmpty());
    setPhase(kPhase1);
    m_help->setText(QStringLiteral("Selezionare il destinatario, poi inserire le voci del DDT."));
    if (m_ctx.settings->flag(u"DDT", u"Visualizza istruzioni iniziali creazione DDT"))
        TrayNotice::instance().show(
            QStringLiteral("Zelvarin: Nuovo DDT"),
            QStringLiteral("1. Selezionare il destinatario\r\n2. Inserire le voci e confermarle "
                           "una per una\r\n3. Terminare l'inserimento, registrare e stampare il "
                           "DDT"),
            TrayNotice::kStandardSeconds, TrayNotice::Kind::Info);
}

void Tfrm_ddtnew::numDDTExit() {
    if (!m_started || m_closing || m_registered) return;
    bool ok = false;
    const qint64 n = m_number->text().trimmed().toLongLong(&ok);
    m_duplicateAccepted = false;
    if (!ok) return;
    try {
        const NextNumber numbers(*m_ctx.store, path(u"Archivio DDT Master"),
                                 QStringLiteral("bolla"));
        if (!numbers.isTaken(n)) return;
        const qint64 proposal = lastNumber() + 1;
        Dialogs::instance().error(QStringLiteral("DDT duplicato"),
                                  QStringLiteral("Esiste già un DDT con questo numero!"), this);
        m_number->setToolTip(QStringLiteral("Numero DDT corretto = %1").arg(proposal));
        // The number stays as typed: the user has been warned.
        m_duplicateAccepted = true;
    } catch (const StoreError& e) {
        Dialogs::instance().error(kTitle, e.message(), this);
    }
}

void Tfrm_ddtnew::recipientTyped() {
    const QString code = m_recipient->currentText().trimmed();
    bool known = code.isEmpty();
    if (!known) {
        try {
            known =
                m_ctx.store
                    ->scalar(
                        QStringLiteral("SELECT 1 FROM %1 WHERE upper(cod_cli) = upper(?) LIMIT 1")
                            .arg(m_ctx.store->table(path(u"Archivio anagrafica"))),
                        {code})
                    .isValid();
        } catch (const StoreError&) {
            known = true;
        }
    }
    m_newCustomer->setVisible(!known);
}

void Tfrm_ddtnew::cmb_cod_cliSelect() {
    const QString code = m_recipient->currentText().trimmed().toUpper();
    m_recipient->setEditText(code);
    QList<QVariantList> rows;
    try {
        rows = m_ctx.store->rows(
            QStringLiteral("SELECT COALESCE(nome, ''), COALESCE(listino, 0), COALESCE(agente, '') "
                           "FROM %1 WHERE upper(cod_cli) = upper(?) ORDER BY rowid LIMIT 1")
                .arg(m_ctx.store->table(path(u"Archivio anagrafica"))),
            {code});
    } catch (const StoreError& e) {
        Dialogs::instance().error(kTitle, e.message(), this);
        return;
    }
    recipientTyped();
    if (rows.isEmpty()) {
        m_recipientName->clear();
        m_listino->setValue(0);
        setStepsEnabled(false);
        return;
    }
    m_recipientName->setText(rows[0][0].toString());
    m_listino->setValue(std::clamp(rows[0][1].toInt(), 0, 4));
    m_agent->setEditText(rows[0][2].toString());
    if (m_started && !m_registered) {
        setStepsEnabled(true);
        m_help->setText(QStringLiteral(
            "Scegliere l'articolo, inserire quantità, peso e colli e confermare la voce."));
    }
}

void Tfrm_ddtnew::openRecipientSearch(bool byName) {
    Tfrm_cerca& d = searchDialog();
    if (byName) {
        d.setMode(QString());
        d.choosePage(Tfrm_cerca::Page::CustomerByName);
        d.prefill(m_recipientName->text());
    } else {
        d.setMode(QStringLiteral("cod_cli"));
        d.prefill(m_recipient->currentText());
    }
    runSearch(d);
    if (d.outcome() != 1) return;
    m_recipient->setEditText(d.foundCode());
    cmb_cod_cliSelect();
}

void Tfrm_ddtnew::openArticleSearch(int page) {
    Tfrm_cerca& d = searchDialog();
    d.setMode(page == 0 ? QStringLiteral("codice") : QStringLiteral("descrizione"));
    d.prefill(page == 0 ? m_articleCode->currentText() : m_articleDes->currentText());
    runSearch(d);
    if (d.outcome() != 1) return;
    m_articleCode->setEditText(d.foundCode());
    m_articleDes->setEditText(d.foundName());
    selectArticle(true);
}

bool Tfrm_ddtnew::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick) {
        if (watched == m_recipient->lineEdit()) {
            openRecipientSearch(false);
            return true;
        }
        if (watched == m_recipientName ||
            watched->objectName().startsWith(QStringLiteral("edt_dest_"))) {
            openRecipientSearch(true);
            return true;
        }
        if (watched == m_articleCode->lineEdit()) {
            openArticleSearch(0);
            return true;
        }
        if (watched == m_articleDes->lineEdit()) {
            openArticleSearch(1);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

// ---------------------------------------------------------------- the line editor

void Tfrm_ddtnew::clearLineFields() {
    for (const char* n : {"prz_base", "prz_art", "prz_net", "prz_ivato", "edt_quant", "edt_peso",
                          "edt_colli", "edt_scarto", "edt_ptropic", "edt_ctropic", "edt_pzincat",
                          "edt_czincat", "edt_pdorat", "edt_cdorat"})
        m_edits[QString::fromLatin1(n)]->setText(QStringLiteral("0"));
    m_edits[QStringLiteral("num_ordine")]->clear();
    m_orderDate->setDate(QDate());
    m_discount->setValue(0);
    m_unit->setCurrentIndex(0);
    m_note->clear();
    m_orders->clear();
    for (QLabel* l : m_stockLabels) l->clear();
    m_indicator->clear();
    m_indicator->setToolTip(QString());
    m_picture->clear();
    m_stockShown = 0;
}

double Tfrm_ddtnew::number(const QString& name) const {
    return fmt::parseNumber(m_edits.value(name)->text());
}

void Tfrm_ddtnew::cmb_cod_articoloSelect() { selectArticle(true); }
void Tfrm_ddtnew::cmb_des_articoloSelect() { selectArticle(false); }

void Tfrm_ddtnew::selectArticle(bool byCode) {
    const QString code = m_articleCode->currentText().trimmed();
    const QString des = m_articleDes->currentText().trimmed();
    const QString flag = m_flag->text();
    clearLineFields();
    m_flag->setText(flag);
    QVariantMap a;
    try {
        const QString sql =
            QStringLiteral(
                "SELECT cod, des, scortamin, um, tolleranza, listino1, sconto, prezzo_ven, "
                "listino2, listino3, "
                "listino4, immagine1 FROM %1 WHERE upper(%2) = upper(?) ORDER BY rowid LIMIT 1")
                .arg(m_ctx.store->table(warehousePath()),
                     byCode ? QStringLiteral("cod") : QStringLiteral("des"));
        const auto rows = m_ctx.store->rows(sql, {byCode ? code : des});
        if (!rows.isEmpty()) {
            const char* names[] = {"cod",        "des",      "scortamin", "um",
                                   "tolleranza", "listino1", "sconto",    "prezzo_ven",
                                   "listino2",   "listino3", "listino4",  "immagine1"};
            for (int i = 0; i < 12; ++i) a.insert(QString::fromLatin1(names[i]), rows[0][i]);
        }
    } catch (const StoreError& e) {
        TrayNotice::instance().show(
            QStringLiteral("Magazzino articoli"),
            QStringLiteral("Attenzione l'archivio non esiste o è alterato\n\rControllare il "
                           "setup e la posizione degli archivi!"),
            TrayNotice::kStandardSeconds, TrayNotice::Kind::Error);
        Q_UNUSED(e);
    }
    if (a.isEmpty()) {
        if (byCode)
            m_articleDes->setEditText(QString());
        else
            m_articleCode->setEditText(QString());
        return;
    }
    m_articleCode->setEditText(a.value(QStringLiteral("cod")).toString());
    m_articleDes->setEditText(a.value(QStringLiteral("des")).toString());
    // The order lines of this article.
    try {
        const QString orders = path(u"Archivio Ordini");
        if (m_ctx.store->usable(orders))
            m_ctx.store->forEachRow(
                QStringLiteral("SELECT ordine, quant, prezzo, data FROM %1 WHERE upper(cod_art) = "
                               "upper(?) ORDER BY rowid")
                    .arg(m_ctx.store->table(orders)),
                {a.value(QStringLiteral("cod"))}, [this](const StoreRow& r) {
                    const QDate d = QDate::fromString(r.text(3).left(10), Qt::ISODate);
                    auto* item = new QListWidgetItem(
                        QStringLiteral("%1 · Quant: %2 · Prezzo: %3 · Data: %4")
                            .arg(r.text(0), fmt::value(r.value(1)), fmt::value(r.value(2)),
                                 fmt::date(d, u"dd/mm/yyyy ddd")));
                    item->setData(Qt::UserRole, r.text(0));
                    item->setData(Qt::UserRole + 1, d);
                    m_orders->addItem(item);
                });
    } catch (const StoreError&) {
    }
    m_orders->setCurrentRow(-1);
    const int um = m_unit->findText(a.value(QStringLiteral("um")).toString().trimmed());
    if (um >= 0) m_unit->setCurrentIndex(um);
    const int dp = std::clamp(m_ctx.settings->integer(u"DDT", u"Decimali prezzo articolo"), 0, 6);
    m_edits[QStringLiteral("prz_base")]->setText(decimal::format(
        decimal::scaled(a.value(QStringLiteral("listino1")).toDouble(), dp), dp, false));
    static const char* byList[5] = {"prezzo_ven", "prezzo_ven", "listino2", "listino3", "listino4"};
    const double price =
        a.value(QString::fromLatin1(byList[std::clamp(m_listino->value(), 0, 4)])).toDouble();
    m_discount->setValue(wholePercent(a.value(QStringLiteral("sconto")).toDouble()));
    m_edits[QStringLiteral("prz_art")]->setText(
        decimal::format(decimal::scaled(price, dp), dp, false));
    m_indicator->setProperty("scortamin", a.value(QStringLiteral("scortamin")).toDouble());
    m_indicator->setProperty("tolleranza", a.value(QStringLiteral("tolleranza")).toDouble());
    showStock();
    const QString picture = a.value(QStringLiteral("immagine1")).toString().trimmed();
    QPixmap pix;
    const QString file = picture.isEmpty() ? QString() : QDir(m_ctx.base).filePath(picture);
    if (!file.isEmpty() && pix.load(file)) {
        m_picture->setPixmap(pix);
    } else {
        m_picture->clear();
        Dialogs::instance().beep();
    }
    updatePrices();
}

void Tfrm_ddtnew::showStock() {
    const QString code = m_articleCode->currentText().trimmed();
    if (code.isEmpty()) return;
    const QString outside = m_place->currentData().toString();
    QList<QVariantList> rows;
    try {
        if (outside.isEmpty())
            rows = m_ctx.store->rows(
                QStringLiteral("SELECT COALESCE(qca, 0) - COALESCE(qsc, 0), COALESCE(cca, 0) - "
                               "COALESCE(csc, 0), COALESCE(pca, 0) - COALESCE(psc, 0), "
                               "COALESCE(qord, 0) - COALESCE(qcons, 0) FROM %1 WHERE cod = ? "
                               "ORDER BY rowid LIMIT 1")
                    .arg(m_ctx.store->table(warehousePath())),
                {code});
        else
            rows = m_ctx.store->rows(
                QStringLiteral(
                    "SELECT COALESCE(qca, 0) - COALESCE(qsc, 0), COALESCE(cca, 0) - "
                    "COALESCE(csc, 0), COALESCE(pca, 0) - COALESCE(psc, 0), NULL FROM %1 "
                    "WHERE cod_mag = ? AND cod = ? ORDER BY rowid LIMIT 1")
                    .arg(m_ctx.store->table(dataFile(m_ctx.base, QStringLiteral("mag_ext.db")))),
                {outside, code});
    } catch (const StoreError&) {
    }
    const QVariantList r = rows.isEmpty() ? QVariantList{0, 0, 0, QVariant()} : rows[0];
    const double g = r[0].toDouble();
    m_stockShown = g;
    m_stockLabels[0]->setText(fmt::number(g, u"###,##0.00"));
    m_stockLabels[1]->setText(fmt::number(r[1].toDouble(), u"###,##0"));
    m_stockLabels[2]->setText(fmt::number(r[2].toDouble(), u"###,##0.00"));
    m_stockLabels[3]->setText(r[3].isNull() ? QString()
                                            : fmt::number(r[3].toDouble(), u"###,##0.00"));
    const double s = m_indicator->property("scortamin").toDouble();
    const double t = m_indicator->property("tolleranza").toDouble();
    const QString hint = g < s        ? QStringLiteral("Giacenza sotto la scorta minima")
                         : g <= s + t ? QStringLiteral("Giacenza vicina alla scorta minima")
                                      : QStringLiteral("Giacenza oltre la scorta minima");
    m_indicator->setText(g < s        ? QStringLiteral("▼")
                         : g <= s + t ? QStringLiteral("■")
                                      : QStringLiteral("▲"));
    m_indicator->setToolTip(hint);
    m_stockLabels[0]->setStyleSheet(g < 0    ? QStringLiteral("color: red; font-weight: bold")
                                    : g <= s ? QStringLiteral("color: red")
                                             : QStringLiteral("color: green"));
}

void Tfrm_ddtnew::updatePrices() {
    const int dp = std::clamp(m_ctx.settings->integer(u"DDT", u"Decimali prezzo articolo"), 0, 6);
    const auto price = decimal::parse(m_edits[QStringLiteral("prz_art")]->text(), dp + 2);
    // Prices beyond a thousand billions are typing slips; they would not fit the arithmetic.
    if (!price || std::abs(*price) > decimal::scale(9) * 1000) return;
    // net = price − price / 100 × discount, computed exactly with two more decimals.
    const qint64 exact =
        *price * (100 - m_discount->value());  // in 1/100 of a price unit at dp + 2
    const qint64 atDp = decimal::scaled(static_cast<double>(exact) / 100.0 / 100.0, 0);
    const double net = static_cast<double>(atDp) / static_cast<double>(decimal::scale(dp));
    m_edits[QStringLiteral("prz_net")]->setText(decimal::format(atDp, dp, false));
    if (exact % 10000 != 0)
        TrayNotice::instance().show(
            QStringLiteral("Zelvarin: inserimento DDT"),
            QStringLiteral("Discordanza tra il prezzo dell'articolo prima dello sconto e il prezzo "
                           "netto dopo lo sconto. Verificare in setup il numero dei decimali "
                           "dell'articolo in DDT!"),
            TrayNotice::kStandardSeconds, TrayNotice::Kind::Error);
    const auto rate = VatRate::parse(m_vat->currentText());
    const double vat = rate ? rate->percent() : 0;
    const double withVat = vat == 0 ? net : net + vat * (net / 100.0);
    m_edits[QStringLiteral("prz_ivato")]->setText(fmt::number(withVat, u"##0.00"));
}

void Tfrm_ddtnew::lst_ordiniClick(int row) {
    if (row < 0 || row >= m_orders->count()) return;
    m_edits[QStringLiteral("num_ordine")]->setText(
        m_orders->item(row)->data(Qt::UserRole).toString());
    m_orderDate->setDate(m_orders->item(row)->data(Qt::UserRole + 1).toDate());
}

DdtLine Tfrm_ddtnew::lineFromFields() const {
    DdtLine l;
    l.rowid = m_editing;
    l.bolla = m_number->text().trimmed().toLongLong();
    l.data = m_date->date();
    l.codCli = m_recipient->currentText().trimmed();
    l.cod = m_articleCode->currentText().trimmed();
    l.des = m_articleDes->currentText().trimmed();
    l.prezzo = number(QStringLiteral("prz_art"));
    l.prezzonett = number(QStringLiteral("prz_net"));
    l.sconto = m_discount->value();
    l.percIva = VatRate::parse(m_vat->currentText()).value_or(VatRate()).percent();
    l.unitamis = m_unit->currentText();
    l.quant = number(QStringLiteral("edt_quant"));
    l.peso = number(QStringLiteral("edt_peso"));
    l.colli = static_cast<qint64>(
        std::llround(std::clamp(number(QStringLiteral("edt_colli")), -1e12, 1e12)));
    l.scarto = number(QStringLiteral("edt_scarto"));
    l.ptropic = number(QStringLiteral("edt_ptropic"));
    l.ctropic = number(QStringLiteral("edt_ctropic"));
    l.pzincat = number(QStringLiteral("edt_pzincat"));
    l.czincat = number(QStringLiteral("edt_czincat"));
    l.pdorat = number(QStringLiteral("edt_pdorat"));
    l.cdorat = number(QStringLiteral("edt_cdorat"));
    l.ordine = m_edits.value(QStringLiteral("num_ordine"))->text().trimmed();
    l.dataord = m_orderDate->date();
    l.fattura = m_fatt->currentText();
    l.flag = m_flag->text();
    l.note = m_note->toPlainText().left(80);
    return l;
}

void Tfrm_ddtnew::showLine(const DdtLine& l) {
    m_articleCode->setEditText(l.cod);
    m_articleDes->setEditText(l.des);
    const int dp = std::clamp(m_ctx.settings->integer(u"DDT", u"Decimali prezzo articolo"), 0, 6);
    m_discount->setValue(wholePercent(l.sconto));
    m_edits[QStringLiteral("prz_art")]->setText(
        decimal::format(decimal::scaled(l.prezzo, dp), dp, false));
    m_vat->setCurrentText(VatRate::fromDouble(l.percIva).text());
    const int um = m_unit->findText(l.unitamis);
    m_unit->setCurrentIndex(std::max(0, um));
    auto put = [this](const char* name, double v) {
        m_edits[QString::fromLatin1(name)]->setText(fmt::value(v));
    };
    put("edt_quant", l.quant);
    put("edt_peso", l.peso);
    put("edt_colli", static_cast<double>(l.colli));
    put("edt_scarto", l.scarto);
    put("edt_ptropic", l.ptropic);
    put("edt_ctropic", l.ctropic);
    put("edt_pzincat", l.pzincat);
    put("edt_czincat", l.czincat);
    put("edt_pdorat", l.pdorat);
    put("edt_cdorat", l.cdorat);
    m_edits[QStringLiteral("num_ordine")]->setText(l.ordine);
    m_orderDate->setDate(l.dataord);
    m_flag->setText(l.flag);
    m_note->setPlainText(l.note);
    updatePrices();
}

void Tfrm_ddtnew::btn_confermaClick() {
    if (!m_started || m_registered) return;
    Dialogs& dlg = Dialogs::instance();
    // 1. The billing marks.
    if (m_contrass->text().isEmpty() || m_flag->text().isEmpty()) {
        if (dlg.show(
                MsgIcon::Warning, QStringLiteral("Contrassegno fatturazione"),
                QStringLiteral(
                    "Attenzione. \r\nNon è stato definito alcun contrassegno per fatturazione. "
                    "\r\nConfermare per contrassegno vuoto?"),
                static_cast<int>(DlgButton::Ok) | static_cast<int>(DlgButton::Cancel),
                DlgButton::Cancel, this) != DlgButton::Ok)
            return;
    }
    DdtLine line = lineFromFields();
    // 2. An article the warehouse does not hold may be added to it.
    bool known = true;
    try {
        known = m_ctx.store
                    ->scalar(QStringLiteral("SELECT 1 FROM %1 WHERE upper(des) = upper(?) LIMIT 1")
                                 .arg(m_ctx.store->table(warehousePath())),
                             {line.des})
                    .isValid();
    } catch (const StoreError&) {
        TrayNotice::instance().show(
            QStringLiteral("Magazzino articoli"),
            QStringLiteral("Attenzione l'archivio non esiste o è alterato\n\rControllare il "
                           "setup e la posizione degli archivi!"),
            TrayNotice::kStandardSeconds, TrayNotice::Kind::Error);
    }
    if (!known &&
        dlg.yesNo(MsgIcon::Question, QStringLiteral("Articolo non trovato"),
                  QStringLiteral("L'articolo %1 non è presente in magazzino, vuoi aggiungerlo?")
                      .arg(line.des),
                  this)) {
        if (runArticleCard) runArticleCard(line.cod, line.des, line.prezzo);
    }
    // 3. More than the stock shown.
    if (line.quant > m_stockShown &&
        !m_ctx.settings->flag(u"DDT", u"Disattiva avviso quantita insufficiente per scarico") &&
        !dlg.yesNo(MsgIcon::Warning, QStringLiteral("Scarico articolo oltre disponibilità"),
                   QStringLiteral("Stai scaricando una quantità maggiore di quella "
                                  "disponibile.\n\rFai clic su SI per "
                                  "confermare , NO per annullare"),
                   this))
        return;
    // 5. Unload or not: the answer is kept on the line.
    if (!m_ctx.settings->flag(u"DDT", u"Disattiva scarico per ogni voce nuovo ddt")) {
        line.unload = dlg.yesNo(
            MsgIcon::Question, QStringLiteral("Scarico articolo"),
            QStringLiteral("Confermi lo scarico?\n\rFai clic su SI per scaricare dal magazzino, NO "
                           "per non scaricare"),
            this);
    }
    // 6. and 7. The temporary line, with the article's date of last movement when it
    // leaves the warehouse: both or neither.
    qint64 rowid = m_editing;
    try {
        const QString warehouse = m_ctx.store->table(warehousePath());
        draft().count();  // attaches the temporary table before the transaction
        if (m_editing) {
            for (const DdtLine& o : draft().lines())
                if (o.rowid == m_editing) line.contatore = o.contatore;
        } else {
            line.contatore = m_counter + 1;
        }
        Transaction tx(*m_ctx.store);
        if (line.unload && !line.cod.isEmpty())
            m_ctx.store->exec(
                QStringLiteral("UPDATE %1 SET dum = ? WHERE upper(cod) = upper(?)").arg(warehouse),
                {Clock::today(), line.cod});
        if (m_editing)
            draft().update(line);
        else
            rowid = draft().append(line);
        tx.commit();
    } catch (const StoreError&) {
        m_lamp->setStyleSheet(QStringLiteral("color: red"));
        dlg.show(
            MsgIcon::Error, QStringLiteral("Errore di scrittura su disco"),
            QStringLiteral(
                "Errore nella scrittura nell'archivio temporaneo Dettagli.\r\nIl movimento non può "
                "essere inserito, riprovare"),
            static_cast<int>(DlgButton::Ok), DlgButton::Ok, this);
        return;
    }
    if (!m_editing) ++m_counter;
    m_lamp->setStyleSheet(QStringLiteral("color: green"));
    m_buttons[QStringLiteral("btn_termina")]->setEnabled(true);
    m_editing = 0;
    m_confirm->setText(QStringLiteral("Conferma inserimento"));
    setPhase(kPhase1);
    for (const char* n : {"edt_quant", "edt_peso", "edt_colli"})
        m_edits[QString::fromLatin1(n)]->setText(QStringLiteral("0"));
    m_unit->setCurrentIndex(0);
    m_note->clear();
    refreshLines(rowid);
}

void Tfrm_ddtnew::refreshLines(qint64 currentRowid) {
    QList<DdtLine> lines;
    try {
        lines = draft().lines();
    } catch (const StoreError&) {
    }
    m_rowids.clear();
    m_grid->setRowCount(static_cast<int>(lines.size()));
    int current = -1;
    for (int r = 0; r < lines.size(); ++r) {
        const DdtLine& l = lines[r];
        m_rowids.append(l.rowid);
        if (l.rowid == currentRowid) current = r;
        const QString cells[ColCount] = {l.cod,
                                         l.des,
                                         fmt::value(l.quant),
                                         l.unitamis,
                                         fmt::value(l.prezzo),
                                         fmt::value(l.sconto),
                                         fmt::value(l.prezzonett),
                                         fmt::value(l.percIva),
                                         QString::number(l.colli),
                                         fmt::value(l.peso),
                                         l.ordine};
        for (int c = 0; c < ColCount; ++c) m_grid->setItem(r, c, new QTableWidgetItem(cells[c]));
    }
    if (current >= 0) m_grid->selectRow(current);
    showTotals();
}

void Tfrm_ddtnew::showTotals() {
    DdtTotals t;
    try {
        t = draft().totals();
    } catch (const StoreError&) {
    }
    auto set = [this](const char* name, const QString& text) {
        m_totals[QString::fromLatin1(name)]->setText(text);
    };
    set("lbl_righe", QString::number(t.lines()));
    set("ncolli", fmt::number(static_cast<double>(t.parcels()), u"###,##0"));
    set("pesotot", fmt::number(t.weight(), u"###,##0.00"));
    set("pesotropic", fmt::number(t.processing(0).kg(), u"###,##0.00"));
    set("pesozincat", fmt::number(t.processing(1).kg(), u"###,##0.00"));
    set("pesodorat", fmt::number(t.processing(2).kg(), u"###,##0.00"));
    set("costotropic", t.processing(0).cost.format());
    set("costozincat", t.processing(1).cost.format());
    set("costodorat", t.processing(2).cost.format());
    set("costotot", t.goods().format());
    set("scartotot", fmt::number(t.waste(), u"###,##0.00"));
    set("ivatot", t.vat().format());
}

void Tfrm_ddtnew::grid_righeClick(int row) {
    if (m_steps->currentIndex() != 0 || row < 0 || row >= m_rowids.size() || m_registered) return;
    QList<DdtLine> lines;
    try {
        lines = draft().lines();
    } catch (const StoreError& e) {
        Dialogs::instance().error(kTempTitle, e.message(), this);
        return;
    }
    for (const DdtLine& l : lines) {
        if (l.rowid != m_rowids[row]) continue;
        m_editing = l.rowid;
        showLine(l);
        m_confirm->setText(QStringLiteral("Conferma modifica"));
        setPhase(kPhase1Edit);
    }
    m_grid->selectRow(row);
}

void Tfrm_ddtnew::moveTo(int row) {
    if (row < 0 || row >= m_rowids.size()) return;
    m_grid->setCurrentCell(row, 0);
    grid_righeClick(row);
}

void Tfrm_ddtnew::btn_deleteClick() {
    const int row = m_grid->currentRow();
    if (row < 0 || row >= m_rowids.size() || m_registered) return;
    try {
        draft().remove(m_rowids[row]);
    } catch (const StoreError& e) {
        Dialogs::instance().error(kTempTitle, e.message(), this);
        return;
    }
    m_editing = 0;
    m_confirm->setText(QStringLiteral("Conferma inserimento"));
    setPhase(kPhase1);
    refreshLines();
    m_buttons[QStringLiteral("btn_termina")]->setEnabled(!m_rowids.isEmpty());
}

void Tfrm_ddtnew::btn_terminaClick() {
    m_closing = true;
    m_steps->setCurrentIndex(1);
    setPhase(kPhase2);
    showTotals();
    m_help->setText(QStringLiteral("Completare i dati di chiusura e registrare il DDT."));
}

void Tfrm_ddtnew::btn_registra_ddtClick() {
    if (!m_started || m_registered) return;
    Dialogs& dlg = Dialogs::instance();
    DdtHeader h;
    h.number = m_number->text().trimmed().toLongLong();
    h.recipient = m_recipient->currentText().trimmed();
    h.date = m_date->date();
    h.causale = m_causale->currentText();
    h.contrass = m_contrass->text();
    h.fattura = m_fatt->currentText();
    h.ordine = m_edits[QStringLiteral("Edit1")]->text();
    h.dataord = m_globalOrderDate->date();
    h.aspetto = m_aspetto->currentText();
    h.porto = m_porto->currentText();
    h.trasporto = m_trasporto->currentText();
    h.imballo = m_edits[QStringLiteral("imballo")]->text();
    h.note1 = m_note1->currentText();
    h.note2 = m_note2->currentText();
    h.agente = m_agent->currentText();
    h.duplicateAccepted = m_duplicateAccepted;
    if (h.number <= 0 || h.recipient.isEmpty() || !h.date.isValid()) {
        dlg.error(kTitle, QStringLiteral("Numero, data e destinatario del DDT sono obbligatori."),
                  this);
        return;
    }
    DdtRegistration reg(*m_ctx.store, *m_ctx.settings);
    DdtPlan plan;
    try {
        plan = reg.plan(h);
    } catch (const StoreError& e) {
        dlg.error(kTempTitle, e.message(), this);
        return;
    }
    if (plan.lines.isEmpty()) {
        TrayNotice::instance().show(kTempTitle, DdtRegistration::noLinesMessage(h),
                                    TrayNotice::kStandardSeconds, TrayNotice::Kind::Error);
        dlg.error(kTempTitle, DdtRegistration::noLinesMessage(h), this);
        return;
    }
    const QString question = DdtRegistration::question(plan);
    if (!question.isEmpty() &&
        !dlg.yesNo(MsgIcon::Question, DdtRegistration::questionTitle(), question, this))
        return;
    if (!reg.backups()) {
        dlg.error(
            kTitle,
            QStringLiteral(
                "Non è stato possibile fare la copia di sicurezza degli archivi ddt e ordini: "
                "il DDT non è stato registrato."),
            this);
        return;
    }
    TrayNotice::instance().show(QStringLiteral("Zelvarin: DDT"),
                                QStringLiteral("Eseguito backup degli archivi ddt e ordini."), 10,
                                TrayNotice::Kind::Info);
    QString failure;
    try {
        reg.write(h, plan);
    } catch (const StoreError& e) {
        failure = e.message();
    }
    if (!failure.isEmpty()) {
        ++m_failed;
        dlg.error(kTitle, failure, this);
        dlg.error(kTitle, DdtRegistration::failedMessage(h.number), this);
        refreshLines();
        return;
    }
    ++m_ok;
    m_registered = true;
    refreshLines();
    m_buttons[QStringLiteral("btn_restart")]->setEnabled(true);
    m_buttons[QStringLiteral("BtnStampa")]->setEnabled(true);
    m_buttons[QStringLiteral("btn_go_print")]->setEnabled(true);
    m_buttons[QStringLiteral("btn_annulla")]->setEnabled(false);
    m_confirm->setEnabled(false);
    m_buttons[QStringLiteral("btn_registra_ddt")]->setEnabled(false);
    dlg.info(kTitle, DdtRegistration::doneMessage(h.number), this);
}

void Tfrm_ddtnew::btn_go_printClick() {
    m_steps->setCurrentIndex(2);
    setPhase(kPhase3);
}

DdtPrintOptions Tfrm_ddtnew::printOptions() const {
    DdtPrintOptions o = DdtPrintOptions::fromSettings(*m_ctx.settings);
    o.destName = m_edits.value(QStringLiteral("edt_dest_nome"))->text();
    o.destStreet = m_edits.value(QStringLiteral("edt_dest_via"))->text();
    o.destCap = m_edits.value(QStringLiteral("edt_dest_cap"))->text();
    o.destCity = m_edits.value(QStringLiteral("edt_dest_citta"))->text();
    o.destProv = m_edits.value(QStringLiteral("edt_dest_prov"))->text();
    o.carrier1 = m_carriers[0]->currentText();
    o.carrier2 = m_carriers[1]->currentText();
    o.pickupDate = m_pickupDate->date();
    o.pickupDateOn = m_pickupDateOn->isChecked();
    o.pickupTime = QTime::fromString(m_edits.value(QStringLiteral("edt_ora_ritiro"))->text(),
                                     QStringLiteral("HH:mm"));
    o.pickupTimeOn = m_pickupTimeOn->isChecked();
    o.note = m_note3->currentText();
    auto on = [this](const char16_t* key) {
        return m_printOptions.value(QString::fromUtf16(key))->isChecked();
    };
    o.unitColumn = on(u"Stampa Colonna Unità di misura");
    o.weightColumn = on(u"Stampa Colonna peso");
    o.orderColumn = on(u"Stampa Colonna ordine");
    o.orderDateColumn = on(u"Stampa Colonna data ordine");
    o.wasteField = on(u"Stampa Campo scarto");
    o.yourRefField = on(u"Stampa Campo vsrif");
    o.packingField = on(u"Stampa Campo imballo");
    o.extraLogo = m_extraLogo->isChecked();
    o.copies = m_copies->value();
    return o;
}

void Tfrm_ddtnew::BtnStampaClick() {
    if (!m_registered) return;
    const DdtKey key{m_number->text().trimmed().toLongLong(), m_recipient->currentText().trimmed()};
    const DdtPrintOptions options = printOptions();
    options.writeBack(*m_ctx.settings);
    std::optional<DdtPrintData> data;
    try {
        data = TQR1::load(*m_ctx.store, DdtYearArchives::fromSettings(*m_ctx.settings), key);
    } catch (const StoreError& e) {
        Dialogs::instance().error(kTitle, e.message(), this);
        return;
    }
    if (!data) {
        Dialogs::instance().error(kTitle, TQR1::missingMessage(key, Clock::today().year()), this);
        return;
    }
    if (data->lines.isEmpty())
        TrayNotice::instance().show(kTempTitle,
                                    QStringLiteral("Attenzione l'archivio \"dettagli movimenti\" "
                                                   "sembra non contenere dati\n\rper questo DDT!. "
                                                   "Verificare l'archivio movimenti\n\rControllare "
                                                   "la correttezza del codice cliente e dei "
                                                   "codici articoli \n\rDDT n° %1")
                                        .arg(key.number),
                                    TrayNotice::kStandardSeconds, TrayNotice::Kind::Error);
    showPrint(*data, options);
}

void Tfrm_ddtnew::btn_restartClick() { reset(); }

void Tfrm_ddtnew::btn_esciClick() {
    m_buttons[QStringLiteral("btn_esci")]->setToolTip(
        QStringLiteral("%1 Inserimenti OK: %2 Inserimenti Falliti: %3")
            .arg(fmt::dateTime(Clock::now(), u"dd/mm/yyyy HH:mm"))
            .arg(m_ok)
            .arg(m_failed));
    reset();
    QDialog::reject();
}

void Tfrm_ddtnew::reject() { btn_esciClick(); }

void Tfrm_ddtnew::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape) {
        btn_esciClick();
        return;
    }
    QDialog::keyPressEvent(e);
}

}  // namespace zel
