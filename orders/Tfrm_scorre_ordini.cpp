#include "orders/Tfrm_scorre_ordini.h"

#include <QAbstractTableModel>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHash>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTableView>
#include <QVBoxLayout>

#include "core/Clock.h"
#include "orders/OrderArchive.h"
#include "orders/Tqr_ord.h"
#include "report/Engine.h"
#include "report/PreviewWindow.h"
#include "settings/Settings.h"
#include "store/Store.h"
#include "ui/Dialogs.h"
#include "warehouse/StockOps.h"

namespace zel {

namespace {
const QString kTitle = QStringLiteral("Ordini");
}

// The lines of the list by rowid; their texts are read a block at a time as they are
// shown, so that a long archive opens at once.
class OrderLinesModel : public QAbstractTableModel {
public:
    explicit OrderLinesModel(Store& store, QObject* parent) : QAbstractTableModel(parent), m_store(store) {}
    static inline const QStringList kHeaders{
        QStringLiteral("Ordine"),   QStringLiteral("Data"),        QStringLiteral("Cliente"),
        QStringLiteral("Fornitore"), QStringLiteral("Articolo"),   QStringLiteral("Descrizione"),
        QStringLiteral("Quantità"), QStringLiteral("Consegnato"), QStringLiteral("Chiuso")};
    static constexpr int kBlock = 200;
    int rowCount(const QModelIndex& p = {}) const override { return p.isValid() ? 0 : static_cast<int>(m_ids.size()); }
    int columnCount(const QModelIndex& p = {}) const override { return p.isValid() ? 0 : static_cast<int>(kHeaders.size()); }
    QVariant data(const QModelIndex& i, int role) const override {
        if (role != Qt::DisplayRole || !i.isValid() || i.row() >= m_ids.size()) return {};
        const int block = i.row() / kBlock;
        auto it = m_blocks.find(block);
        if (it == m_blocks.end()) it = m_blocks.insert(block, readBlock(block));
        return it->value(i.row() % kBlock).value(i.column());
    }
    QVariant headerData(int s, Qt::Orientation o, int role) const override {
        if (role != Qt::DisplayRole || o != Qt::Horizontal) return {};
        return kHeaders.value(s);
    }
    void setLines(QString table, QList<qint64> ids, QList<qint64> orders) {
        beginResetModel();
        m_table = std::move(table);
        m_ids = std::move(ids);
        m_orders = std::move(orders);
        m_blocks.clear();
        endResetModel();
    }
    qint64 orderAt(int row) const { return row >= 0 && row < m_orders.size() ? m_orders[row] : 0; }
    qint64 idAt(int row) const { return row >= 0 && row < m_ids.size() ? m_ids[row] : 0; }
    int rowOf(qint64 id) const { return static_cast<int>(m_ids.indexOf(id)); }

private:
    QList<QStringList> readBlock(int block) const {
        const int first = block * kBlock;
        const int n = std::min<int>(kBlock, static_cast<int>(m_ids.size()) - first);
        QVariantList params;
        QHash<qint64, int> at;
        for (int k = 0; k < n; ++k) {
            params.append(m_ids[first + k]);
            at.insert(m_ids[first + k], k);
        }
        QList<QStringList> out(n);
        try {
            m_store.forEachRow(
                QStringLiteral("SELECT rowid, ordine, data, COALESCE(cod_cli, ''), COALESCE(cod_forn, ''), "
                               "COALESCE(cod_art, ''), COALESCE(des, ''), COALESCE(quant, 0), "
                               "COALESCE(consegnato_quant, 0), COALESCE(chiuso, 0) FROM %1 WHERE rowid IN (%2)")
                    .arg(m_table, QStringLiteral("?,").repeated(n - 1) + QStringLiteral("?")),
                params, [&](const StoreRow& r) {
                    out[at.value(r.integer(0))] = QStringList{
                        r.text(1), QDate::fromString(r.text(2), Qt::ISODate).toString(u"dd/MM/yyyy"),
                        r.text(3), r.text(4), r.text(5), r.text(6),
                        QString::number(r.value(7).toDouble()), QString::number(r.value(8).toDouble()),
                        r.integer(9) ? QStringLiteral("Sì") : QStringLiteral("No")};
                });
        } catch (const StoreError&) {
            // The rows stay blank; the next reload reports the archive's fault.
        }
        return out;
    }

    Store& m_store;
    QString m_table;
    QList<qint64> m_ids;
    QList<qint64> m_orders;
    mutable QHash<int, QList<QStringList>> m_blocks;
};

Tfrm_scorre_ordini::Tfrm_scorre_ordini(AppContext& ctx, QWidget* parent) : QDialog(parent), m_ctx(ctx) {
    setObjectName(QStringLiteral("Tfrm_scorre_ordini"));
    setWindowTitle(kTitle);
    buildUi();
}

Tfrm_scorre_ordini::~Tfrm_scorre_ordini() = default;

void Tfrm_scorre_ordini::buildUi() {
    auto* root = new QVBoxLayout(this);
    auto* nav = new QHBoxLayout;
    const QList<std::pair<const char*, QString>> buttons{{"btn_inizio", QStringLiteral("Inizio")},
                                                         {"btn_indietro", QStringLiteral("Indietro")},
                                                         {"btn_avanti", QStringLiteral("Avanti")},
                                                         {"btn_fine", QStringLiteral("Fine")}};
    for (int i = 0; i < buttons.size(); ++i) {
        auto* b = new QPushButton(buttons[i].second, this);
        b->setObjectName(QString::fromLatin1(buttons[i].first));
        nav->addWidget(b);
        connect(b, &QPushButton::clicked, this, [this, i] { move(i); });
    }
    auto* del = new QPushButton(QStringLiteral("Elimina\r\nOrdine"), this);
    del->setObjectName(QStringLiteral("btn_elimina_ordine"));
    nav->addWidget(del);
    connect(del, &QPushButton::clicked, this, &Tfrm_scorre_ordini::btn_elimina_ordineClick);
    auto* printOrder = new QPushButton(QStringLiteral("Stampa\r\nordine"), this);
    printOrder->setObjectName(QStringLiteral("btn_stampa_ordine"));
    nav->addWidget(printOrder);
    connect(printOrder, &QPushButton::clicked, this, &Tfrm_scorre_ordini::btn_stampa_ordineClick);
    auto* printList = new QPushButton(QStringLiteral("Stampa\r\nelenco"), this);
    printList->setObjectName(QStringLiteral("btn_stampa_elenco"));
    nav->addWidget(printList);
    connect(printList, &QPushButton::clicked, this, &Tfrm_scorre_ordini::btn_stampa_elencoClick);
    showPreview = [this](report::PageModel m) { report::PreviewWindow::run(std::move(m), 1, this); };
    root->addLayout(nav);

    m_model = new OrderLinesModel(*m_ctx.store, this);
    m_view = new QTableView(this);
    m_view->setObjectName(QStringLiteral("DBGrid1"));
    m_view->setModel(m_model);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->verticalHeader()->setDefaultSectionSize(20);
    m_view->setToolTip(QStringLiteral("doppio clic per filtrare questo ordine"));
    root->addWidget(m_view);
    connect(m_view, &QTableView::doubleClicked, this, [this](const QModelIndex& i) {
        const qint64 number = m_model->orderAt(i.row());
        if (number == 0) return;
        m_fOrder->setText(QString::number(number));
        m_filtered = false;
        btn_filtraClick();
    });

    m_panelToggle = new QPushButton(QStringLiteral("Visualizza pannello di ricerca"), this);
    m_panelToggle->setObjectName(QStringLiteral("btn_pannello_ricerca"));
    root->addWidget(m_panelToggle);
    m_panel = new QWidget(this);
    m_panel->setObjectName(QStringLiteral("pnl_ricerca"));
    m_panel->setWindowTitle(QStringLiteral("Ricerca e filtri"));
    m_panel->setVisible(false);
    connect(m_panelToggle, &QPushButton::clicked, this, [this] {
        m_panel->setVisible(!m_panel->isVisible());
        m_panelToggle->setText(m_panel->isVisible() ? QStringLiteral("Nascondi pannello di ricerca")
                                                    : QStringLiteral("Visualizza pannello di ricerca"));
    });
    auto* f = new QFormLayout(m_panel);
    auto edit = [this, f](const char* name, const QString& label) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QString::fromLatin1(name));
        f->addRow(label, e);
        return e;
    };
    m_fOrder = edit("edt_filtro_ordine", QStringLiteral("Ordine"));
    m_fArticle = edit("edt_filtro_articolo", QStringLiteral("Articolo"));
    m_fCustomer = edit("edt_filtro_cliente", QStringLiteral("Cliente"));
    m_fSupplier = edit("edt_filtro_fornitore", QStringLiteral("Fornitore"));
    m_fDes = edit("edt_filtro_des", QStringLiteral("Descrizione"));
    m_fCustomers = new QRadioButton(QStringLiteral("Ordini da clienti"), this);
    m_fCustomers->setObjectName(QStringLiteral("radio_ordini_clienti"));
    m_fSuppliers = new QRadioButton(QStringLiteral("Ordini a fornitori"), this);
    m_fSuppliers->setObjectName(QStringLiteral("radio_ordini_fornitori"));
    m_fCustomers->setAutoExclusive(false);
    m_fSuppliers->setAutoExclusive(false);
    f->addRow(m_fCustomers);
    f->addRow(m_fSuppliers);
    m_filter = new QPushButton(QStringLiteral("Filtra"), this);
    m_filter->setObjectName(QStringLiteral("btn_filtra"));
    f->addRow(m_filter);
    root->addWidget(m_panel);
    connect(m_filter, &QPushButton::clicked, this, &Tfrm_scorre_ordini::btn_filtraClick);

    // The line editor: the fields of the current line, written back by rowid.
    auto* lineBox = new QWidget(this);
    lineBox->setObjectName(QStringLiteral("pnl_riga"));
    auto* lf = new QFormLayout(lineBox);
    const QList<std::pair<const char*, QString>> fields{
        {"edt_ordine", QStringLiteral("Ordine")},       {"edt_data", QStringLiteral("Data")},
        {"edt_cod_cli", QStringLiteral("Cliente")},     {"edt_cod_forn", QStringLiteral("Fornitore")},
        {"edt_cod_art", QStringLiteral("Articolo")},    {"edt_des", QStringLiteral("Descrizione")},
        {"edt_quant", QStringLiteral("Quantità")},      {"edt_peso", QStringLiteral("Peso")},
        {"edt_colli", QStringLiteral("Colli")},         {"edt_prezzo", QStringLiteral("Prezzo")},
        {"edt_iva", QStringLiteral("IVA")},             {"edt_data_cons1", QStringLiteral("Consegna 1")},
        {"edt_data_cons2", QStringLiteral("Consegna 2")}, {"edt_data_cons3", QStringLiteral("Consegna 3")},
        {"edt_agente", QStringLiteral("Agente")},       {"edt_rif", QStringLiteral("Riferimento")}};
    for (const auto& [name, label] : fields) {
        auto* e = new QLineEdit(lineBox);
        e->setObjectName(QString::fromLatin1(name));
        lf->addRow(label, e);
        m_edit.insert(QString::fromLatin1(name), e);
    }
    auto* lineButtons = new QHBoxLayout;
    const QList<std::tuple<const char*, QString, void (Tfrm_scorre_ordini::*)()>> lineCommands{
        {"btn_aggiungi", QStringLiteral("Aggiungi nuovo elemento"), &Tfrm_scorre_ordini::btn_aggiungiClick},
        {"btn_conferma", QStringLiteral("Conferma inserimento o modifica"), &Tfrm_scorre_ordini::btn_confermaClick},
        {"btn_annulla", QStringLiteral("Annulla inserimento"), &Tfrm_scorre_ordini::btn_annullaClick},
        {"btn_elimina_riga", QStringLiteral("Elimina riga"), &Tfrm_scorre_ordini::btn_elimina_rigaClick}};
    for (const auto& [name, text, slot] : lineCommands) {
        auto* b = new QPushButton(text, lineBox);
        b->setObjectName(QString::fromLatin1(name));
        b->setToolTip(text);
        lineButtons->addWidget(b);
        connect(b, &QPushButton::clicked, this, slot);
    }
    lf->addRow(lineButtons);
    root->addWidget(lineBox);
    connect(m_view->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] {
        m_appending = false;
        showCurrentLine();
    });

    auto* exit = new QPushButton(QStringLiteral("Uscita"), this);
    exit->setObjectName(QStringLiteral("btn_uscita"));
    root->addWidget(exit);
    connect(exit, &QPushButton::clicked, this, &QDialog::close);
}

void Tfrm_scorre_ordini::FormShow() {
    m_filtered = false;
    m_filter->setText(QStringLiteral("Filtra"));
    reload();
}

void Tfrm_scorre_ordini::reload() {
    QString where = QStringLiteral(" WHERE COALESCE(ordine, 0) <> 0");
    QVariantList params;
    if (m_filtered) {
        const auto like = [&](const QLineEdit* e, const char* column) {
            const QString t = e->text().trimmed();
            if (t.isEmpty()) return;
            where += QStringLiteral(" AND upper(%1) LIKE ? ESCAPE '\\'").arg(QString::fromLatin1(column));
            params.append(QStringLiteral("%") + Store::likeLiteral(t.toUpper()) + QStringLiteral("%"));
        };
        like(m_fArticle, "cod_art");
        like(m_fCustomer, "cod_cli");
        like(m_fSupplier, "cod_forn");
        like(m_fDes, "des");
        if (const QString n = m_fOrder->text().trimmed(); !n.isEmpty()) {
            where += QStringLiteral(" AND ordine = ?");
            params.append(n.toLongLong());
        }
        if (m_fCustomers->isChecked()) where += QStringLiteral(" AND COALESCE(cod_cli, '') <> ''");
        if (m_fSuppliers->isChecked()) where += QStringLiteral(" AND COALESCE(cod_forn, '') <> ''");
    }
    QList<qint64> ids;
    QList<qint64> orders;
    QString table;
    try {
        table = m_ctx.store->table(m_ctx.settings->text(u"Path", u"Archivio Ordini"));
        m_ctx.store->forEachRow(
            QStringLiteral("SELECT rowid, ordine FROM %1%2 ORDER BY ordine, rowid").arg(table, where), params,
            [&](const StoreRow& r) {
                ids.append(r.integer(0));
                orders.append(r.integer(1));
            });
    } catch (const StoreError& e) {
        Dialogs::instance().error(kTitle, e.message(), this);
    }
    m_model->setLines(table, std::move(ids), std::move(orders));
    if (m_model->rowCount() > 0) m_view->selectRow(0);
    m_appending = false;
    showCurrentLine();
}

void Tfrm_scorre_ordini::reloadAt(qint64 rowid) {
    reload();
    if (const int row = m_model->rowOf(rowid); row >= 0) m_view->selectRow(row);
}

qint64 Tfrm_scorre_ordini::currentRowid() const {
    return m_view->currentIndex().isValid() ? m_model->idAt(m_view->currentIndex().row()) : 0;
}

namespace {
QString dateText(const QDate& d) { return d.isValid() ? d.toString(u"dd/MM/yyyy") : QString(); }
QString numberText(double v) { return QString::number(v, 'f', 3).remove(QRegularExpression(QStringLiteral("\\.?0+$"))).replace(u'.', u','); }
// A typed "." or "," is the decimal comma; an empty field is 0.
std::optional<double> parseNumber(const QString& text) {
    QString t = text.trimmed();
    if (t.isEmpty()) return 0.0;
    t.replace(u',', u'.');
    bool ok = false;
    const double v = t.toDouble(&ok);
    return ok ? std::optional<double>(v) : std::nullopt;
}
std::optional<QDate> parseDate(const QString& text) {
    if (text.trimmed().isEmpty()) return QDate();
    const QDate d = QDate::fromString(text.trimmed(), u"dd/MM/yyyy");
    return d.isValid() ? std::optional<QDate>(d) : std::nullopt;
}
}  // namespace

void Tfrm_scorre_ordini::showCurrentLine() {
    std::optional<OrderLineRecord> l;
    if (const qint64 id = currentRowid(); id != 0) {
        try {
            const StockArchives a = StockArchives::fromSettings(*m_ctx.settings);
            l = OrderArchive(*m_ctx.store, a.orders, a.warehouse).line(id);
        } catch (const StoreError&) {
        }
    }
    const OrderLineRecord r = l.value_or(OrderLineRecord{});
    const bool any = l.has_value();
    m_edit[QStringLiteral("edt_ordine")]->setText(any ? QString::number(r.ordine) : QString());
    m_edit[QStringLiteral("edt_data")]->setText(dateText(r.data));
    m_edit[QStringLiteral("edt_cod_cli")]->setText(r.codCli);
    m_edit[QStringLiteral("edt_cod_forn")]->setText(r.codForn);
    m_edit[QStringLiteral("edt_cod_art")]->setText(r.codArt);
    m_edit[QStringLiteral("edt_des")]->setText(r.des);
    m_edit[QStringLiteral("edt_quant")]->setText(any ? numberText(r.quant) : QString());
    m_edit[QStringLiteral("edt_peso")]->setText(any ? numberText(r.peso) : QString());
    m_edit[QStringLiteral("edt_colli")]->setText(any ? QString::number(r.colli) : QString());
    m_edit[QStringLiteral("edt_prezzo")]->setText(any ? numberText(r.prezzo) : QString());
    m_edit[QStringLiteral("edt_iva")]->setText(any ? numberText(r.iva) : QString());
    for (int k = 0; k < 3; ++k)
        m_edit[QStringLiteral("edt_data_cons%1").arg(k + 1)]->setText(dateText(r.deliveryDates[k]));
    m_edit[QStringLiteral("edt_agente")]->setText(r.agente);
    m_edit[QStringLiteral("edt_rif")]->setText(r.rif);
}

void Tfrm_scorre_ordini::btn_aggiungiClick() {
    Dialogs::instance().warning(
        kTitle,
        QStringLiteral("Attenzione, l'inserimento di codice cliente diverso per lo stesso ordine può comportare "
                       "errori nei dati"),
        this);
    // The new line starts from the current one's order and party; the article fields are blank.
    for (const char* name : {"edt_cod_art", "edt_des", "edt_quant", "edt_peso", "edt_colli", "edt_prezzo", "edt_iva",
                             "edt_data_cons1", "edt_data_cons2", "edt_data_cons3", "edt_rif"})
        m_edit[QString::fromLatin1(name)]->clear();
    if (m_edit[QStringLiteral("edt_data")]->text().isEmpty())
        m_edit[QStringLiteral("edt_data")]->setText(dateText(Clock::today()));
    m_appending = true;
    m_edit[QStringLiteral("edt_cod_art")]->setFocus();
}

void Tfrm_scorre_ordini::btn_annullaClick() {
    m_appending = false;
    showCurrentLine();
}

void Tfrm_scorre_ordini::btn_confermaClick() {
    Dialogs& dlg = Dialogs::instance();
    const qint64 rowid = m_appending ? 0 : currentRowid();
    if (!m_appending && rowid == 0) return;
    const auto text = [this](const char* name) { return m_edit[QString::fromLatin1(name)]->text().trimmed(); };
    OrderLineRecord l;
    bool okOrder = false;
    l.ordine = text("edt_ordine").toLongLong(&okOrder);
    const auto date = parseDate(text("edt_data"));
    const auto quant = parseNumber(text("edt_quant"));
    const auto peso = parseNumber(text("edt_peso"));
    const auto prezzo = parseNumber(text("edt_prezzo"));
    const auto iva = parseNumber(text("edt_iva"));
    bool okColli = true;
    l.colli = text("edt_colli").isEmpty() ? 0 : text("edt_colli").toLongLong(&okColli);
    std::array<std::optional<QDate>, 3> cons{parseDate(text("edt_data_cons1")), parseDate(text("edt_data_cons2")),
                                             parseDate(text("edt_data_cons3"))};
    if (!okOrder || l.ordine <= 0 || !date || !date->isValid() || !quant || !peso || !prezzo || !iva || !okColli ||
        !cons[0] || !cons[1] || !cons[2]) {
        dlg.error(kTitle, QStringLiteral("Controllare numero d'ordine, date (gg/mm/aaaa) e valori numerici."), this);
        return;
    }
    l.data = *date;
    l.quant = *quant;
    l.peso = *peso;
    l.prezzo = *prezzo;
    l.iva = *iva;
    for (int k = 0; k < 3; ++k) l.deliveryDates[k] = *cons[k];
    l.codArt = text("edt_cod_art");
    l.des = text("edt_des");
    l.codCli = text("edt_cod_cli");
    l.codForn = text("edt_cod_forn");
    l.agente = text("edt_agente");
    l.rif = text("edt_rif");
    const StockArchives a = StockArchives::fromSettings(*m_ctx.settings);
    qint64 saved = 0;
    try {
        saved = OrderArchive(*m_ctx.store, a.orders, a.warehouse).saveLine(rowid, l);
    } catch (const StoreError& e) {
        dlg.error(kTitle, QStringLiteral("Salvataggio non riuscito, nessun dato è stato modificato.\r\n%1")
                              .arg(e.message()),
                  this);
        return;
    }
    m_appending = false;
    reloadAt(saved);
}

void Tfrm_scorre_ordini::btn_elimina_rigaClick() {
    Dialogs& dlg = Dialogs::instance();
    const qint64 rowid = currentRowid();
    if (rowid == 0 || m_appending) return;
    if (!dlg.yesNo(MsgIcon::Question, kTitle, QStringLiteral("Confermi la cancellazione della riga selezionata ?"),
                   this))
        return;
    const StockArchives a = StockArchives::fromSettings(*m_ctx.settings);
    try {
        OrderArchive(*m_ctx.store, a.orders, a.warehouse).deleteLine(rowid);
    } catch (const StoreError& e) {
        dlg.error(kTitle, QStringLiteral("Cancellazione non riuscita, nessun dato è stato modificato.\r\n%1")
                              .arg(e.message()),
                  this);
        return;
    }
    reload();
}

void Tfrm_scorre_ordini::move(int to) {
    const int n = m_model->rowCount();
    if (n == 0) return;
    const int cur = m_view->currentIndex().isValid() ? m_view->currentIndex().row() : 0;
    const int target = to == 0 ? 0 : to == 1 ? std::max(0, cur - 1) : to == 2 ? std::min(n - 1, cur + 1) : n - 1;
    m_view->selectRow(target);
}

qint64 Tfrm_scorre_ordini::currentOrder() const {
    return m_view->currentIndex().isValid() ? m_model->orderAt(m_view->currentIndex().row()) : 0;
}

void Tfrm_scorre_ordini::btn_filtraClick() {
    m_filtered = !m_filtered;
    m_filter->setText(m_filtered ? QStringLiteral("Cancella\r\nfiltro") : QStringLiteral("Filtra"));
    reload();
}

void Tfrm_scorre_ordini::btn_stampa_ordineClick() {
    const qint64 number = currentOrder();
    if (number == 0) return;
    std::optional<OrderPrintData> data;
    try {
        data = Tqr_ord::load(*m_ctx.store, *m_ctx.settings, number);
    } catch (const StoreError& e) {
        Dialogs::instance().error(kTitle, e.message(), this);
        return;
    }
    if (!data) return;
    const Tqr_ord print(*m_ctx.settings);
    showPreview(report::render(print.layout(*data, m_ctx.settings->flag(u"Ordine", u"Stampa extra logo")),
                               data->lines));
}

void Tfrm_scorre_ordini::btn_stampa_elencoClick() {
    report::Rows rows;
    try {
        rows = Tqr_ord::listRows(*m_ctx.store, *m_ctx.settings);
    } catch (const StoreError& e) {
        Dialogs::instance().error(kTitle, e.message(), this);
        return;
    }
    showPreview(report::render(Tqr_ord::listLayout(), rows));
}

void Tfrm_scorre_ordini::btn_elimina_ordineClick() {
    Dialogs& dlg = Dialogs::instance();
    const qint64 number = currentOrder();
    if (number == 0) return;
    if (!dlg.yesNo(MsgIcon::Question, kTitle,
                   QStringLiteral("Confermi la cancellazione dell'ordine n° %1 ?").arg(number), this))
        return;
    const StockArchives a = StockArchives::fromSettings(*m_ctx.settings);
    try {
        OrderArchive(*m_ctx.store, a.orders, a.warehouse).deleteOrder(number);
    } catch (const StoreError& e) {
        dlg.error(kTitle, QStringLiteral("Cancellazione non riuscita, nessun dato è stato modificato.\r\n%1")
                              .arg(e.message()),
                  this);
        return;
    }
    reload();
}

}  // namespace zel
