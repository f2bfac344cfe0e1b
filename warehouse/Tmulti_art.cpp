#include "warehouse/Tmulti_art.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStringListModel>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cmath>

#include "core/Clock.h"
#include "core/Paths.h"
#include "documents/VatRates.h"
#include "registry/Tfrm_cerca.h"
#include "report/PreviewWindow.h"
#include "settings/Settings.h"
#include "store/Store.h"
#include "ui/Dialogs.h"
#include "ui/Formats.h"
#include "warehouse/OrderDelivery.h"
#include "warehouse/Tqr_bolletta_scarico.h"

namespace zel {

namespace {

const QString kAttention = QStringLiteral("Attenzione");

QLineEdit* edit(const QString& name, QWidget* parent, int maxLength = 0) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    if (maxLength > 0) e->setMaxLength(maxLength);
    return e;
}

QLabel* figure(const QString& name, QWidget* parent) {
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->setFrameShape(QFrame::StyledPanel);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    l->setMinimumWidth(90);
    return l;
}

QTableWidget* list(const QString& name, const QStringList& captions, QWidget* parent) {
    auto* t = new QTableWidget(0, static_cast<int>(captions.size()), parent);
    t->setObjectName(name);
    t->setHorizontalHeaderLabels(captions);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->horizontalHeader()->setStretchLastSection(true);
    t->verticalHeader()->setVisible(false);
    return t;
}

void appendLine(QTableWidget* t, const QStringList& cells) {
    const int r = t->rowCount();
    t->insertRow(r);
    for (int c = 0; c < cells.size(); ++c) t->setItem(r, c, new QTableWidgetItem(cells[c]));
}

QString plain(double v) { return fmt::value(QVariant(v)); }

}  // namespace

Tmulti_art::Tmulti_art(AppContext& ctx, QWidget* parent)
    : QDialog(parent),
      m_ctx(ctx),
      m_ops(std::make_unique<StockOps>(*ctx.store, StockArchives::fromSettings(*ctx.settings))) {
    setObjectName(QStringLiteral("Tmulti_art"));
    setWindowTitle(QStringLiteral("Carico / Scarico merce"));
    showPreview = [this](const report::PageModel& m) { report::PreviewWindow::run(m, 1, this); };
    runSearch = [](Tfrm_cerca& dialog) { dialog.execModal(); };
    buildUi();
}

Tmulti_art::~Tmulti_art() = default;

void Tmulti_art::buildUi() {
    auto* root = new QVBoxLayout(this);
    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("PageControl1"));
    m_pages->addTab(buildLoadPage(), QStringLiteral("Carico merce"));
    m_pages->addTab(buildUnloadPage(), QStringLiteral("Scarico merce"));
    root->addWidget(m_pages);
    auto* exit = new QPushButton(QStringLiteral("Uscita"), this);
    exit->setObjectName(QStringLiteral("btn_uscita"));
    exit->setAutoDefault(false);
    connect(exit, &QPushButton::clicked, this, &Tmulti_art::btn_uscitaClick);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(exit);
    root->addLayout(bottom);
    resize(900, 640);
}

QWidget* Tmulti_art::buildLoadPage() {
    auto* page = new QWidget(this);
    auto* v = new QVBoxLayout(page);
    auto* top = new QHBoxLayout;
    auto* form = new QFormLayout;
    m_articleModel = new QStringListModel(this);
    m_article = new QComboBox(page);
    m_article->setObjectName(QStringLiteral("cmb_articolo"));
    m_article->setEditable(true);
    m_article->setInsertPolicy(QComboBox::NoInsert);
    m_article->setModel(m_articleModel);
    m_article->completer()->setCaseSensitivity(Qt::CaseInsensitive);
    m_article->completer()->setFilterMode(Qt::MatchContains);
    m_article->setMinimumWidth(320);
    connect(m_article, &QComboBox::activated, this, [this] { articleChosen(true); });
    connect(m_article->lineEdit(), &QLineEdit::editingFinished, this,
            [this] { articleChosen(true); });
    form->addRow(QStringLiteral("Articolo"), m_article);
    m_ddt = edit(QStringLiteral("edt_ddt"), page, 10);
    form->addRow(QStringLiteral("DDT"), m_ddt);
    m_supplier = edit(QStringLiteral("edt_fornitore"), page, 20);
    m_supplier->setToolTip(QStringLiteral("Doppio clic per cercare il fornitore"));
    m_supplier->installEventFilter(this);
    form->addRow(QStringLiteral("Fornitore"), m_supplier);
    m_quantity = edit(QStringLiteral("edt_quantita"), page);
    form->addRow(QStringLiteral("Quantità"), m_quantity);
    m_parcels = edit(QStringLiteral("edt_colli"), page);
    form->addRow(QStringLiteral("Colli"), m_parcels);
    m_weight = edit(QStringLiteral("edt_peso"), page);
    form->addRow(QStringLiteral("Peso"), m_weight);
    m_price = edit(QStringLiteral("edt_prezzo"), page);
    form->addRow(QStringLiteral("Prezzo unitario acq."), m_price);
    m_vat = new QComboBox(page);
    m_vat->setObjectName(QStringLiteral("cmb_iva"));
    m_vat->setEditable(true);
    form->addRow(QStringLiteral("IVA %"), m_vat);
    m_serial = edit(QStringLiteral("edt_seriale"), page, 80);
    form->addRow(QStringLiteral("Seriale"), m_serial);
    m_factor = edit(QStringLiteral("edt_fm"), page);
    auto* factorRow = new QHBoxLayout;
    factorRow->addWidget(m_factor);
    m_mode1 = new QRadioButton(QStringLiteral("Modo 1 (x pezzo)"), page);
    m_mode1->setObjectName(QStringLiteral("rb_modo1"));
    m_mode1->setChecked(true);
    m_mode2 = new QRadioButton(QStringLiteral("Modo 2 (x confez.)"), page);
    m_mode2->setObjectName(QStringLiteral("rb_modo2"));
    factorRow->addWidget(m_mode1);
    factorRow->addWidget(m_mode2);
    form->addRow(QStringLiteral("Fattore molt."), factorRow);
    m_order = edit(QStringLiteral("edt_ordine"), page, 10);
    form->addRow(QStringLiteral("N° Ordine"), m_order);
    m_orderDate = edit(QStringLiteral("edt_data_ordine"), page, 10);
    m_orderDate->setPlaceholderText(QStringLiteral("gg/mm/aaaa"));
    form->addRow(QStringLiteral("Data ordine"), m_orderDate);
    m_loadDate = edit(QStringLiteral("edt_data_carico"), page, 10);
    m_loadDate->setPlaceholderText(QStringLiteral("gg/mm/aaaa"));
    form->addRow(QStringLiteral("Data carico"), m_loadDate);
    m_note = edit(QStringLiteral("edt_note"), page, 80);
    form->addRow(QStringLiteral("Note"), m_note);
    m_place = new QComboBox(page);
    m_place->setObjectName(QStringLiteral("cmb_magazzino"));
    m_place->setToolTip(QStringLiteral("Imposta il magazzino su cui effettuare il carico"));
    form->addRow(QStringLiteral("Magazzino"), m_place);
    top->addLayout(form, 3);

    auto* box = new QGroupBox(QStringLiteral("Situazione articolo"), page);
    auto* g = new QFormLayout(box);
    m_stockLabel = figure(QStringLiteral("lbl_giacenza"), box);
    g->addRow(QStringLiteral("Giacenza"), m_stockLabel);
    m_availableLabel = figure(QStringLiteral("lbl_disponibile"), box);
    g->addRow(QStringLiteral("Disponibile"), m_availableLabel);
    m_weightLabel = figure(QStringLiteral("lbl_peso_giacenza"), box);
    g->addRow(QStringLiteral("Peso giacenza"), m_weightLabel);
    m_parcelsLabel = figure(QStringLiteral("lbl_colli_giacenti"), box);
    g->addRow(QStringLiteral("Colli giacenti"), m_parcelsLabel);
    m_costLabel = figure(QStringLiteral("lbl_costo_medio"), box);
    g->addRow(QStringLiteral("Costo medio"), m_costLabel);
    m_minimumLabel = figure(QStringLiteral("lbl_scorta_minima"), box);
    g->addRow(QStringLiteral("Scorta minima"), m_minimumLabel);
    m_lastPriceLabel = figure(QStringLiteral("lbl_ultimo_prezzo"), box);
    g->addRow(QStringLiteral("Ultimo prezzo"), m_lastPriceLabel);
    m_lowPriceLabel = figure(QStringLiteral("lbl_prezzo_minimo"), box);
    g->addRow(QStringLiteral("Prezzo acq. minimo"), m_lowPriceLabel);
    m_highPriceLabel = figure(QStringLiteral("lbl_prezzo_massimo"), box);
    g->addRow(QStringLiteral("Prezzo acq. massimo"), m_highPriceLabel);
    top->addWidget(box, 2);
    v->addLayout(top);

    auto* confirm = new QPushButton(QStringLiteral("Conferma"), page);
    confirm->setObjectName(QStringLiteral("btn_conferma_carico"));
    confirm->setAutoDefault(false);
    connect(confirm, &QPushButton::clicked, this, [this] { btn_conferma_caricoClick(); });
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(confirm);
    v->addLayout(row);
    m_loadList = list(QStringLiteral("grid_carico"),
                      {QStringLiteral("DDT"), QStringLiteral("Codice"),
                       QStringLiteral("Descrizione articolo"), QStringLiteral("Quantità"),
                       QStringLiteral("Peso"), QStringLiteral("Colli"), QStringLiteral("Prezzo")},
                      page);
    v->addWidget(m_loadList, 1);
    return page;
}

QWidget* Tmulti_art::buildUnloadPage() {
    auto* page = new QWidget(this);
    auto* v = new QVBoxLayout(page);
    auto* form = new QFormLayout;
    m_uArticle = new QComboBox(page);
    m_uArticle->setObjectName(QStringLiteral("cmb_articolo_scarico"));
    m_uArticle->setEditable(true);
    m_uArticle->setInsertPolicy(QComboBox::NoInsert);
    m_uArticle->setModel(m_articleModel);
    m_uArticle->completer()->setCaseSensitivity(Qt::CaseInsensitive);
    m_uArticle->completer()->setFilterMode(Qt::MatchContains);
    m_uArticle->setMinimumWidth(320);
    connect(m_uArticle, &QComboBox::activated, this, [this] { articleChosen(false); });
    connect(m_uArticle->lineEdit(), &QLineEdit::editingFinished, this,
            [this] { articleChosen(false); });
    form->addRow(QStringLiteral("Articolo"), m_uArticle);
    m_uQuantity = edit(QStringLiteral("edt_quantita_scarico"), page);
    form->addRow(QStringLiteral("Quantità"), m_uQuantity);
    m_uFactor = edit(QStringLiteral("edt_fm_scarico"), page);
    form->addRow(QStringLiteral("Fattore molt."), m_uFactor);
    m_uWeight = edit(QStringLiteral("edt_peso_scarico"), page);
    form->addRow(QStringLiteral("Peso"), m_uWeight);
    m_uParcels = edit(QStringLiteral("edt_colli_scarico"), page);
    form->addRow(QStringLiteral("Colli"), m_uParcels);
    m_uPrice = edit(QStringLiteral("edt_prezzo_scarico"), page);
    form->addRow(QStringLiteral("Prezzo vendita"), m_uPrice);
    m_uVat = new QComboBox(page);
    m_uVat->setObjectName(QStringLiteral("cmb_iva_scarico"));
    m_uVat->setEditable(true);
    form->addRow(QStringLiteral("IVA %"), m_uVat);
    m_consignee = edit(QStringLiteral("edt_destinatario"), page, 20);
    m_consignee->setToolTip(QStringLiteral("Doppio clic per cercare il destinatario"));
    m_consignee->installEventFilter(this);
    form->addRow(QStringLiteral("Destinatario"), m_consignee);
    m_operator = edit(QStringLiteral("edt_operatore"), page, 35);
    form->addRow(QStringLiteral("Operatore"), m_operator);
    m_billDate = edit(QStringLiteral("edt_data_bolletta"), page, 10);
    m_billDate->setPlaceholderText(QStringLiteral("gg/mm/aaaa"));
    form->addRow(QStringLiteral("Data bolletta"), m_billDate);
    m_uOrderDate = edit(QStringLiteral("edt_data_ordine_scarico"), page, 10);
    m_uOrderDate->setPlaceholderText(QStringLiteral("gg/mm/aaaa"));
    form->addRow(QStringLiteral("Data ordine"), m_uOrderDate);
    m_uNote = edit(QStringLiteral("edt_note_scarico"), page, 80);
    form->addRow(QStringLiteral("Note"), m_uNote);
    m_writeMovement = new QCheckBox(QStringLiteral("Aggiorna archivio movimenti articoli"), page);
    m_writeMovement->setObjectName(QStringLiteral("chk_aggiorna_movimenti"));
    m_writeMovement->setChecked(true);
    form->addRow(QString(), m_writeMovement);
    v->addLayout(form);

    auto* row = new QHBoxLayout;
    auto* print = new QPushButton(
        QStringLiteral("Stampa\r\nbolletta").replace(QStringLiteral("\r\n"), QStringLiteral("\n")),
        page);
    print->setObjectName(QStringLiteral("btn_stampa_bolletta"));
    print->setAutoDefault(false);
    connect(print, &QPushButton::clicked, this, &Tmulti_art::btn_stampa_bollettaClick);
    auto* confirm = new QPushButton(QStringLiteral("Conferma"), page);
    confirm->setObjectName(QStringLiteral("btn_conferma_scarico"));
    confirm->setAutoDefault(false);
    connect(confirm, &QPushButton::clicked, this, [this] { btn_conferma_scaricoClick(); });
    row->addStretch();
    row->addWidget(print);
    row->addWidget(confirm);
    v->addLayout(row);
    m_unloadList = list(QStringLiteral("grid_scarico"),
                        {QStringLiteral("Dest"), QStringLiteral("Cod. Art."),
                         QStringLiteral("Descrizione"), QStringLiteral("Quantità"),
                         QStringLiteral("Peso"), QStringLiteral("Colli"), QStringLiteral("Prezzo")},
                        page);
    v->addWidget(m_unloadList, 1);
    return page;
}

void Tmulti_art::prepare(int page, const QString& code) {
    FormShow();
    m_pages->setCurrentIndex(page == kUnloadPage ? kUnloadPage : kLoadPage);
    if (code.isEmpty()) return;
    std::optional<QString> des;
    try {
        des = storedDescription(code);
    } catch (const StoreError& e) {
        Dialogs::instance().error(QStringLiteral("Articoli di magazzino"), e.message(), this);
        return;
    }
    if (!des) return;
    QComboBox* combo = page == kUnloadPage ? m_uArticle : m_article;
    combo->setCurrentText(code + m_ctx.settings->text(u"System", u"Separatore cod-des") + *des);
    articleChosen(page != kUnloadPage);
}

void Tmulti_art::prepareOutside() {
    prepare(kLoadPage);
    if (m_place->count() > 1) m_place->setCurrentIndex(1);
    m_place->setFocus();
}

void Tmulti_art::FormShow() {
    // The archive paths may have changed in the setup since the last opening.
    m_ops = std::make_unique<StockOps>(*m_ctx.store, StockArchives::fromSettings(*m_ctx.settings));
    m_filling = true;
    loadArticles();
    loadWarehouses();
    const VatRates rates(*m_ctx.settings);
    for (QComboBox* c : {m_vat, m_uVat}) {
        c->clear();
        c->addItems(rates.choices());
        c->setCurrentText(rates.defaultRate() ? rates.defaultRate()->text() : QString());
    }
    const QString today = fmt::date(Clock::today());
    m_loadDate->setText(today);
    m_billDate->setText(today);
    m_filling = false;
    // The unload bill starts empty at every opening.
    try {
        const QString bill = billPath();
        if (!Store::exists(bill)) m_ctx.store->createEmptyCopy(m_ops->archives().movements, bill);
        m_ctx.store->exec(QStringLiteral("DELETE FROM %1").arg(m_ctx.store->table(bill)));
    } catch (const StoreError& e) {
        Dialogs::instance().error(
            QStringLiteral("Bolletta di Scarico"),
            QStringLiteral("Impossibile preparare l'archivio della bolletta di scarico.\r\n") +
                e.message(),
            this);
    }
}

QString Tmulti_art::billPath() const { return dataFile(m_ctx.base, QStringLiteral("mov_tmp.db")); }

void Tmulti_art::loadArticles() {
    QStringList items;
    const QString sep = m_ctx.settings->text(u"System", u"Separatore cod-des");
    try {
        m_ctx.store->forEachRow(
            QStringLiteral("SELECT cod, des FROM %1 ORDER BY cod")
                .arg(m_ctx.store->table(m_ops->archives().warehouse)),
            {}, [&](const StoreRow& r) { items.append(r.text(0) + sep + r.text(1)); });
    } catch (const StoreError& e) {
        Dialogs::instance().error(QStringLiteral("Articoli di magazzino"), e.message(), this);
    }
    const QString load = m_article->currentText();
    const QString unload = m_uArticle->currentText();
    m_articleModel->setStringList(items);
    m_article->setCurrentText(load);
    m_uArticle->setCurrentText(unload);
}

void Tmulti_art::loadWarehouses() {
    m_place->clear();
    m_place->addItem(QStringLiteral("Principale"), QString());
    const QString types = dataFile(m_ctx.base, QStringLiteral("mag_tipo.db"));
    if (!Store::exists(types)) return;
    try {
        for (const QVariantList& r :
             m_ctx.store->rows(QStringLiteral("SELECT COD_MAG, DES FROM %1 WHERE COALESCE(COD_MAG, "
                                              "'') <> '' ORDER BY COD_MAG")
                                   .arg(m_ctx.store->table(types))))
            m_place->addItem(r[0].toString() + QStringLiteral(" - ") + r[1].toString(),
                             r[0].toString());
    } catch (const StoreError& e) {
        Dialogs::instance().error(QStringLiteral("Magazzini esterni"), e.message(), this);
    }
}

std::optional<QString> Tmulti_art::storedDescription(const QString& code) const {
    const QVariant des =
        m_ctx.store->scalar(QStringLiteral("SELECT COALESCE(des, '') FROM %1 WHERE cod = ? LIMIT 1")
                                .arg(m_ctx.store->table(m_ops->archives().warehouse)),
                            {code});
    if (!des.isValid()) return std::nullopt;
    return des.toString();
}

Tmulti_art::ArticleItem Tmulti_art::splitItem(const QString& item) const {
    const QString sep = m_ctx.settings->text(u"System", u"Separatore cod-des");
    const qsizetype at = sep.isEmpty() ? -1 : item.indexOf(sep);
    if (at < 0) return {item.trimmed(), QString()};
    return {item.left(at).trimmed(), item.mid(at + sep.size()).trimmed()};
}

void Tmulti_art::articleChosen(bool loadPage) {
    if (m_filling) return;
    const ArticleItem a = splitItem((loadPage ? m_article : m_uArticle)->currentText());
    if (a.code.isEmpty()) {
        clearFigures();
        return;
    }
    try {
        const QList<QVariantList> r = m_ctx.store->rows(
            QStringLiteral("SELECT prezzo_acq, prezzo_ven, fm, iva FROM %1 WHERE cod = ? LIMIT 1")
                .arg(m_ctx.store->table(m_ops->archives().warehouse)),
            {a.code});
        if (r.isEmpty()) {
            clearFigures();
            return;
        }
        const double fm = r[0][2].toDouble() == 0 ? 1.0 : r[0][2].toDouble();
        const QString vat = VatRate::fromDouble(r[0][3].toDouble()).text();
        if (loadPage) {
            m_price->setText(plain(r[0][0].toDouble()));
            m_factor->setText(plain(fm));
            m_vat->setCurrentText(vat);
        } else {
            m_uPrice->setText(plain(r[0][1].toDouble()));
            m_uFactor->setText(plain(fm));
            m_uVat->setCurrentText(vat);
        }
        showFigures(a.code);
    } catch (const StoreError& e) {
        Dialogs::instance().error(QStringLiteral("Articoli di magazzino"), e.message(), this);
    }
}

void Tmulti_art::clearFigures() {
    for (QLabel* l : {m_stockLabel, m_availableLabel, m_weightLabel, m_parcelsLabel, m_costLabel,
                      m_minimumLabel, m_lastPriceLabel, m_lowPriceLabel, m_highPriceLabel})
        l->clear();
}

void Tmulti_art::showFigures(const QString& code) {
    const QList<QVariantList> r =
        m_ctx.store->rows(QStringLiteral("SELECT COALESCE(qca, 0) - COALESCE(qsc, 0), qcons, "
                                         "COALESCE(pca, 0) - COALESCE(psc, 0), "
                                         "COALESCE(cca, 0) - COALESCE(csc, 0), costo_med, "
                                         "scortamin, valo3 FROM %1 WHERE cod = ? LIMIT 1")
                              .arg(m_ctx.store->table(m_ops->archives().warehouse)),
                          {code});
    if (r.isEmpty()) return clearFigures();
    const int stockDecimals = m_ctx.settings->integer(u"Magazzino", u"Decimali giacenza articolo");
    const QString stockPattern = stockDecimals > 0
                                     ? QStringLiteral("###,##0.") + QString(stockDecimals, u'0')
                                     : QStringLiteral("###,##0");
    m_stockLabel->setText(fmt::number(r[0][0].toDouble(), stockPattern));
    m_availableLabel->setText(fmt::number(r[0][1].toDouble(), stockPattern));
    m_weightLabel->setText(fmt::number(r[0][2].toDouble(), u"###,##0.00"));
    m_parcelsLabel->setText(fmt::number(r[0][3].toDouble(), u"###,##0"));
    m_costLabel->setText(fmt::number(r[0][4].toDouble(), u"###,##0.00"));
    m_minimumLabel->setText(fmt::number(r[0][5].toDouble(), stockPattern));
    m_lastPriceLabel->setText(fmt::number(r[0][6].toDouble(), u"###,##0.000"));
    const auto [low, high] = m_ops->purchasePriceRange(code);
    m_lowPriceLabel->setText(fmt::number(low, u"###,##0.00"));
    m_highPriceLabel->setText(fmt::number(high, u"###,##0.00"));
}

bool Tmulti_art::number(QLineEdit* e, const QString& caption, double* out) {
    bool ok = false;
    *out = fmt::parseNumber(e->text(), &ok);
    if (ok) return true;
    Dialogs::instance().warning(
        kAttention,
        QStringLiteral("Il campo \"%1\" non contiene un numero valido: %2\r\n"
                       "Correggerlo e ripetere l'operazione.")
            .arg(caption, e->text().trimmed()),
        this);
    e->setFocus();
    return false;
}

bool Tmulti_art::date(QLineEdit* e, const QString& caption, QDate* out, bool required) {
    const QString t = e->text().trimmed();
    *out = QDate();
    if (t.isEmpty() && !required) return true;
    *out = QDate::fromString(t, QStringLiteral("dd/MM/yyyy"));
    if (!out->isValid()) *out = QDate::fromString(t, QStringLiteral("d/M/yyyy"));
    if (out->isValid()) return true;
    Dialogs::instance().warning(
        kAttention,
        QStringLiteral("Il campo \"%1\" non contiene una data valida (gg/mm/aaaa): %2")
            .arg(caption, t),
        this);
    e->setFocus();
    return false;
}

bool Tmulti_art::btn_conferma_caricoClick() {
    Dialogs& dlg = Dialogs::instance();
    const QString itemText = m_article->currentText().trimmed();
    ArticleItem a = splitItem(itemText);
    if (a.code.isEmpty()) {
        dlg.warning(kAttention, QStringLiteral("Il campo articolo non può essere vuoto!"), this);
        return false;
    }
    if (m_ddt->text().trimmed().isEmpty()) {
        dlg.warning(kAttention, QStringLiteral("Campo DDT non può essere vuoto"), this);
        return false;
    }
    if (m_supplier->text().trimmed().isEmpty()) {
        dlg.warning(kAttention, QStringLiteral("Campo Fornitore non può essere vuoto"), this);
        return false;
    }
    double ddt = 0, quantity = 0, parcels = 0, weight = 0, factor = 0, order = 0;
    if (!number(m_ddt, QStringLiteral("DDT"), &ddt) ||
        !number(m_quantity, QStringLiteral("Quantità"), &quantity) ||
        !number(m_parcels, QStringLiteral("Colli"), &parcels) ||
        !number(m_weight, QStringLiteral("Peso"), &weight) ||
        !number(m_factor, QStringLiteral("Fattore molt."), &factor) ||
        !number(m_order, QStringLiteral("N° Ordine"), &order))
        return false;
    for (const auto& [value, field, caption] :
         {std::tuple{ddt, m_ddt, QStringLiteral("DDT")},
          std::tuple{parcels, m_parcels, QStringLiteral("Colli")},
          std::tuple{order, m_order, QStringLiteral("N° Ordine")}}) {
        if (value != std::trunc(value)) {
            dlg.warning(kAttention,
                        QStringLiteral("Il campo \"%1\" deve contenere un numero intero: %2")
                            .arg(caption, field->text().trimmed()),
                        this);
            field->setFocus();
            return false;
        }
    }
    const int priceDecimals =
        m_ctx.settings->integer(u"DDT", u"Decimali prezzo movimenti articolo");
    const auto price = UnitPrice::parse(m_price->text(), priceDecimals);
    if (!price) {
        double dummy = 0;
        number(m_price, QStringLiteral("Prezzo unitario acq."), &dummy);
        return false;
    }
    const auto vat = VatRate::parse(m_vat->currentText());
    if (!vat) {
        dlg.warning(kAttention,
                    QStringLiteral("Il campo \"IVA %\" non contiene un numero valido: %1")
                        .arg(m_vat->currentText()),
                    this);
        return false;
    }
    QDate orderDate, loadDate;
    if (!date(m_orderDate, QStringLiteral("Data ordine"), &orderDate, false) ||
        !date(m_loadDate, QStringLiteral("Data carico"), &loadDate, false))
        return false;
    if (factor == 0) factor = 1;
    try {
        const std::optional<QString> stored = storedDescription(a.code);
        if (!stored) {
            dlg.error(QStringLiteral("Carico merce"), StockOps::unknownArticleMessage(a.code),
                      this);
            return false;
        }
        // A code typed without its description takes the stored one.
        if (a.description.isEmpty()) a.description = *stored;
    } catch (const StoreError& e) {
        dlg.error(QStringLiteral("Carico merce"), e.message(), this);
        return false;
    }
    const bool perPiece = m_mode1->isChecked();
    const double q = perPiece ? quantity * factor : quantity / factor;
    const QString question = QStringLiteral("Confermi il carico del materiale per l'articolo\n\r") +
                             itemText + QStringLiteral("\r\nQuantità ") + plain(quantity) +
                             (perPiece ? QStringLiteral(" X ") : QStringLiteral(" / ")) +
                             plain(factor) + QStringLiteral(" = ") +
                             fmt::number(q, u"###,###,###.00") + QStringLiteral(" ?");
    if (dlg.show(MsgIcon::Question, QStringLiteral("Conferma Carico"), question,
                 int(DlgButton::Ok) | int(DlgButton::Cancel), DlgButton::Ok, this) != DlgButton::Ok)
        return false;

    LoadRequest r;
    r.movement.bolla = static_cast<qint64>(ddt);
    r.movement.cod = a.code;
    r.movement.des = a.description;
    r.movement.data = loadDate;
    r.movement.codForn = m_supplier->text().trimmed();
    r.movement.percIva = vat->percent();
    r.movement.prezzo = price->toDouble();
    r.movement.peso = weight;
    r.movement.seriale = m_serial->text().trimmed();
    r.movement.quant = quantity;
    r.movement.colli = static_cast<qint64>(parcels);
    r.movement.note = m_note->text().trimmed();
    r.movement.dataOrd = orderDate;
    r.quantity = q;
    r.price = *price;
    r.place.outsideCode = m_place->currentData().toString();
    r.order = static_cast<qint64>(order);
    r.matchSupplier = m_ctx.settings->flag(u"Ordine", u"Aggiorna ordini in magazzino con cod forn");
    LoadOutcome out;
    try {
        m_ctx.store->backupOnce(m_ops->archives().movements);
        out = m_ops->load(r);
    } catch (const StoreError& e) {
        dlg.error(
            QStringLiteral("Carico merce"),
            QStringLiteral(
                "Il carico non è stato registrato: magazzino, movimenti e ordini sono rimasti "
                "come prima.\r\n") +
                e.message(),
            this);
        return false;
    }
    if (out.orderSearched && !out.orderFound)
        dlg.warning(OrderDelivery::notFoundTitle(), OrderDelivery::notFoundMessage(), this);
    appendLine(m_loadList,
               {QString::number(r.movement.bolla), a.code, a.description, plain(quantity),
                plain(weight), QString::number(r.movement.colli), price->format()});
    dlg.info(QStringLiteral("Carico merce"),
             QStringLiteral("I movimenti di carico merce sono stati effettuati.\n\r") +
                 (r.place.isOutside()
                      ? QStringLiteral("Le quantità nel magazzino esterno sono state aggiornate")
                      : QStringLiteral("Le quantità nel magazzino sono state aggiornate")),
             this);
    for (QLineEdit* e : {m_quantity, m_parcels, m_weight, m_price}) e->clear();
    try {
        showFigures(a.code);
    } catch (const StoreError&) {
        clearFigures();
    }
    return true;
}

bool Tmulti_art::btn_conferma_scaricoClick() {
    Dialogs& dlg = Dialogs::instance();
    const QString itemText = m_uArticle->currentText().trimmed();
    ArticleItem a = splitItem(itemText);
    if (a.code.isEmpty()) {
        dlg.warning(kAttention, QStringLiteral("Il campo articolo non può essere vuoto!"), this);
        return false;
    }
    double quantity = 0, factor = 0, weight = 0, parcels = 0, price = 0;
    if (!number(m_uQuantity, QStringLiteral("Quantità"), &quantity) ||
        !number(m_uFactor, QStringLiteral("Fattore molt."), &factor) ||
        !number(m_uWeight, QStringLiteral("Peso"), &weight) ||
        !number(m_uParcels, QStringLiteral("Colli"), &parcels) ||
        !number(m_uPrice, QStringLiteral("Prezzo vendita"), &price))
        return false;
    if (parcels != std::trunc(parcels)) {
        dlg.warning(kAttention,
                    QStringLiteral("Il campo \"Colli\" deve contenere un numero intero: %1")
                        .arg(m_uParcels->text().trimmed()),
                    this);
        return false;
    }
    const auto vat = VatRate::parse(m_uVat->currentText());
    if (!vat) {
        dlg.warning(kAttention,
                    QStringLiteral("Il campo \"IVA %\" non contiene un numero valido: %1")
                        .arg(m_uVat->currentText()),
                    this);
        return false;
    }
    QDate billDate, orderDate;
    if (!date(m_billDate, QStringLiteral("Data bolletta"), &billDate, false) ||
        !date(m_uOrderDate, QStringLiteral("Data ordine"), &orderDate, false))
        return false;
    if (factor == 0) factor = 1;
    try {
        const std::optional<QString> stored = storedDescription(a.code);
        if (!stored) {
            dlg.error(QStringLiteral("Scarico merce"), StockOps::unknownArticleMessage(a.code),
                      this);
            return false;
        }
        // A code typed without its description takes the stored one.
        if (a.description.isEmpty()) a.description = *stored;
    } catch (const StoreError& e) {
        dlg.error(QStringLiteral("Scarico merce"), e.message(), this);
        return false;
    }
    const double q = quantity * factor;
    const QString question =
        QStringLiteral("Confermi lo scarico del materiale per l'articolo\n\r") + itemText +
        QStringLiteral("\r\nQuantità ") + plain(quantity) + QStringLiteral(" X ") + plain(factor) +
        QStringLiteral(" = ") + fmt::number(q, u"###,###,###.00") + QStringLiteral(" ?");
    if (dlg.show(MsgIcon::Question, QStringLiteral("Conferma Scarico manuale"), question,
                 int(DlgButton::Ok) | int(DlgButton::Cancel), DlgButton::Ok, this) != DlgButton::Ok)
        return false;

    Movement m;
    m.bolla = 0;
    m.cod = a.code;
    m.des = a.description;
    m.data = billDate;
    m.codForn = m_consignee->text().trimmed();
    m.percIva = vat->percent();
    m.prezzo = price;
    m.peso = weight;
    m.quant = quantity;
    m.colli = static_cast<qint64>(parcels);
    m.note = m_uNote->text().trimmed();
    m.dataOrd = orderDate;
    UnloadRequest r;
    r.cod = a.code;
    r.quantity = q;
    r.weight = weight;
    r.parcels = m.colli;
    const bool withMovement = m_writeMovement->isChecked();
    if (withMovement) r.movement = m;
    Movement bill = m;
    bill.causale = m_operator->text().trimmed();
    r.billPath = billPath();
    r.billRow = bill;
    try {
        if (withMovement) m_ctx.store->backupOnce(m_ops->archives().movements);
        m_ops->manualUnload(r);
    } catch (const StoreError& e) {
        dlg.error(
            QStringLiteral("Scarico merce"),
            QStringLiteral(
                "Lo scarico non è stato registrato: magazzino, movimenti e bolletta sono rimasti "
                "come prima.\r\n") +
                e.message(),
            this);
        return false;
    }
    appendLine(m_unloadList, {m.codForn, a.code, a.description, plain(quantity), plain(weight),
                              QString::number(m.colli), fmt::number(price, u"###,##0.00")});
    dlg.info(
        QStringLiteral("Scarico merce"),
        QStringLiteral("Scarico merce effettuato!\n\rArticolo: ") + itemText +
            (withMovement ? QStringLiteral("\r\nSono stati aggiornati i movimenti") : QString()),
        this);
    return true;
}

void Tmulti_art::btn_stampa_bollettaClick() {
    report::Rows rows;
    try {
        const QStringList names{
            QStringLiteral("DATA"),  QStringLiteral("COD_FORN"), QStringLiteral("COD"),
            QStringLiteral("DES"),   QStringLiteral("QUANT"),    QStringLiteral("PESO"),
            QStringLiteral("COLLI"), QStringLiteral("PREZZO"),   QStringLiteral("CAUSALE")};
        for (const QVariantList& r : m_ctx.store->rows(
                 QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid")
                     .arg(names.join(QStringLiteral(", ")), m_ctx.store->table(billPath())))) {
            report::Row row;
            for (int i = 0; i < names.size(); ++i) row.insert(names[i], r[i]);
            rows.append(row);
        }
    } catch (const StoreError& e) {
        Dialogs::instance().error(Tqr_bolletta_scarico::title(), e.message(), this);
        return;
    }
    if (rows.isEmpty()) {
        Dialogs::instance().info(
            Tqr_bolletta_scarico::title(),
            QStringLiteral("Nessun articolo scaricato da stampare nella bolletta."), this);
        return;
    }
    showPreview(Tqr_bolletta_scarico::render(rows));
}

void Tmulti_art::btn_uscitaClick() { reject(); }

void Tmulti_art::reject() {
    if (!Dialogs::instance().yesNo(
            MsgIcon::Question, QStringLiteral("Uscita"),
            QStringLiteral("Confermi l'uscita e l'azzeramento dell'elenco articoli?"), this))
        return;
    m_loadList->setRowCount(0);
    m_unloadList->setRowCount(0);
    QDialog::reject();
}

QString Tmulti_art::pickSupplier(const QString& typed) {
    Tfrm_cerca* dialog = nullptr;
    if (m_ctx.windows) {
        dialog = &m_ctx.windows->window<Tfrm_cerca>();
    } else {
        if (!m_ownSearch) m_ownSearch = std::make_unique<Tfrm_cerca>(m_ctx, this);
        dialog = m_ownSearch.get();
    }
    dialog->setMode(QString());
    dialog->choosePage(Tfrm_cerca::Page::SupplierByName);
    if (!typed.isEmpty()) dialog->prefill(typed);
    runSearch(*dialog);
    return dialog->outcome() == 1 ? dialog->foundCode() : QString();
}

void Tmulti_art::edt_fornitoreDblClick() {
    const QString code = pickSupplier(m_supplier->text().trimmed());
    if (!code.isEmpty()) m_supplier->setText(code);
}

void Tmulti_art::edt_destinatarioDblClick() {
    const QString code = pickSupplier(m_consignee->text().trimmed());
    if (!code.isEmpty()) m_consignee->setText(code);
}

bool Tmulti_art::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::MouseButtonDblClick) {
        if (watched == m_supplier) {
            edt_fornitoreDblClick();
            return true;
        }
        if (watched == m_consignee) {
            edt_destinatarioDblClick();
            return true;
        }
    }
    return QDialog::eventFilter(watched, e);
}

void Tmulti_art::showEvent(QShowEvent* e) { QDialog::showEvent(e); }

}  // namespace zel
