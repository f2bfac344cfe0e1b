#include "orders/Tfrm_carico_da_ordine.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/Clock.h"
#include "documents/Money.h"
#include "orders/OrderArchive.h"
#include "settings/Settings.h"
#include "store/Store.h"
#include "ui/Dialogs.h"
#include "warehouse/StockOps.h"

namespace zel {

namespace {

const QString kTitle = QStringLiteral("Carico da ordine");
constexpr int kPriceDecimals = 2;

QLineEdit* edit(const QString& name, QWidget* parent) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    return e;
}

std::optional<double> typed(const QLineEdit* e, int decimals = 4) {
    const auto v = decimal::parse(e->text(), decimals);
    if (!v) return std::nullopt;
    return static_cast<double>(*v) / static_cast<double>(decimal::scale(decimals));
}

QString threeDecimals(double v) { return decimal::format(decimal::scaled(v, 3), 3, false); }

}  // namespace

Tfrm_carico_da_ordine::Tfrm_carico_da_ordine(AppContext& ctx, QWidget* parent)
    : QDialog(parent), m_ctx(ctx) {
    setObjectName(QStringLiteral("Tfrm_carico_da_ordine"));
    setWindowTitle(kTitle);
    buildUi();
}

Tfrm_carico_da_ordine::~Tfrm_carico_da_ordine() = default;

QString Tfrm_carico_da_ordine::path(const char16_t* key) const {
    return m_ctx.settings->text(u"Path", key);
}

void Tfrm_carico_da_ordine::buildUi() {
    auto* f = new QFormLayout(this);
    m_supplierList = new QComboBox(this);
    m_supplierList->setObjectName(QStringLiteral("cmb_fornitore"));
    f->addRow(QStringLiteral("Fornitore"), m_supplierList);
    f->addRow(new QLabel(QStringLiteral("2° =Seleziona ordine"), this));
    m_orders = new QListWidget(this);
    m_orders->setObjectName(QStringLiteral("lst_ordini"));
    f->addRow(m_orders);
    f->addRow(new QLabel(QStringLiteral("3° = Scegli sotto l'articolo da caricare in magazzino"), this));
    m_lines = new QListWidget(this);
    m_lines->setObjectName(QStringLiteral("lst_righe"));
    m_lines->setToolTip(QStringLiteral("Fare clic per selezionare l'articolo"));
    f->addRow(m_lines);
    m_article = new QLabel(this);
    m_article->setObjectName(QStringLiteral("lbl_articolo"));
    f->addRow(m_article);
    m_lastPrice = new QLabel(this);
    m_lastPrice->setObjectName(QStringLiteral("lbl_prezzo_ivato"));
    f->addRow(m_lastPrice);
    m_averageCost = new QLabel(this);
    m_averageCost->setObjectName(QStringLiteral("lbl_costo_medio"));
    f->addRow(m_averageCost);
    m_stock = new QLabel(this);
    m_stock->setObjectName(QStringLiteral("lbl_giacenza"));
    f->addRow(m_stock);
    m_quant = edit(QStringLiteral("edt_quant"), this);
    f->addRow(QStringLiteral("Quantità"), m_quant);
    m_weight = edit(QStringLiteral("edt_peso"), this);
    f->addRow(QStringLiteral("Peso"), m_weight);
    m_parcels = edit(QStringLiteral("edt_colli"), this);
    f->addRow(QStringLiteral("Colli"), m_parcels);
    m_price = edit(QStringLiteral("edt_prezzo"), this);
    f->addRow(QStringLiteral("Prezzo"), m_price);
    m_ddt = edit(QStringLiteral("edt_ddt"), this);
    f->addRow(QStringLiteral("DDT"), m_ddt);
    m_supplier = edit(QStringLiteral("edt_fornitore"), this);
    f->addRow(QStringLiteral("Fornitore"), m_supplier);
    m_note = new QPlainTextEdit(this);
    m_note->setObjectName(QStringLiteral("memo_note"));
    f->addRow(QStringLiteral("Note"), m_note);
    auto* confirm = new QPushButton(QStringLiteral("Conferma"), this);
    confirm->setObjectName(QStringLiteral("btn_conferma"));
    f->addRow(confirm);
    auto* exit = new QPushButton(QStringLiteral("Uscita"), this);
    exit->setObjectName(QStringLiteral("btn_uscita"));
    f->addRow(exit);
    connect(m_supplierList, &QComboBox::activated, this, &Tfrm_carico_da_ordine::cmb_fornitoreSelect);
    connect(m_orders, &QListWidget::itemClicked, this, &Tfrm_carico_da_ordine::lst_ordiniClick);
    connect(m_lines, &QListWidget::itemClicked, this, &Tfrm_carico_da_ordine::lst_righeClick);
    connect(confirm, &QPushButton::clicked, this, &Tfrm_carico_da_ordine::btn_confermaClick);
    connect(exit, &QPushButton::clicked, this, &QDialog::close);
}

void Tfrm_carico_da_ordine::FormShow() {
    m_supplierList->clear();
    m_orders->clear();
    m_lines->clear();
    m_lineRowid = 0;
    m_supplierList->addItem(QStringLiteral("Tutti"));
    try {
        m_ctx.store->forEachRow(
            QStringLiteral("SELECT DISTINCT cod_forn FROM %1 WHERE COALESCE(cod_forn, '') <> '' "
                           "ORDER BY cod_forn")
                .arg(m_ctx.store->table(path(u"Archivio Ordini"))),
            {}, [&](const StoreRow& r) { m_supplierList->addItem(r.text(0)); });
    } catch (const StoreError& e) {
        Dialogs::instance().error(kTitle, e.message(), this);
    }
    m_supplierList->setCurrentIndex(0);
    cmb_fornitoreSelect();
}

void Tfrm_carico_da_ordine::cmb_fornitoreSelect() {
    m_orders->clear();
    m_lines->clear();
    m_lineRowid = 0;
    const bool all = m_supplierList->currentIndex() <= 0;
    // Only supplier orders with lines still open can receive goods.
    QString sql = QStringLiteral(
        "SELECT ordine, MIN(data) FROM %1 WHERE COALESCE(cod_forn, '') <> '' AND NOT "
        "COALESCE(chiuso, 0)%2 GROUP BY ordine ORDER BY ordine");
    QVariantList params;
    if (!all) params.append(m_supplierList->currentText());
    try {
        const auto rows = m_ctx.store->rows(
            sql.arg(m_ctx.store->table(path(u"Archivio Ordini")),
                    all ? QString() : QStringLiteral(" AND cod_forn = ?")),
            params);
        for (const QVariantList& r : rows) {
            auto* item = new QListWidgetItem(
                QStringLiteral("%1 del %2").arg(r[0].toString(), r[1].toDate().toString(QStringLiteral("dd/MM/yyyy"))),
                m_orders);
            item->setData(Qt::UserRole, r[0].toLongLong());
        }
    } catch (const StoreError& e) {
        Dialogs::instance().error(kTitle, e.message(), this);
    }
}

void Tfrm_carico_da_ordine::lst_ordiniClick() {
    m_lines->clear();
    m_lineRowid = 0;
    const QListWidgetItem* order = m_orders->currentItem();
    if (!order) return;
    try {
        const auto rows = m_ctx.store->rows(
            QStringLiteral("SELECT rowid, cod_art, COALESCE(des, '') FROM %1 WHERE ordine = ? AND "
                           "COALESCE(cod_forn, '') <> '' AND NOT COALESCE(chiuso, 0) ORDER BY rowid")
                .arg(m_ctx.store->table(path(u"Archivio Ordini"))),
            {order->data(Qt::UserRole)});
        for (const QVariantList& r : rows) {
            auto* item = new QListWidgetItem(
                QStringLiteral("%1 - %2").arg(r[1].toString(), r[2].toString()), m_lines);
            item->setData(Qt::UserRole, r[0].toLongLong());
        }
    } catch (const StoreError& e) {
        Dialogs::instance().error(kTitle, e.message(), this);
    }
}

void Tfrm_carico_da_ordine::lst_righeClick() {
    const QListWidgetItem* line = m_lines->currentItem();
    if (!line) return;
    try {
        const auto l = m_ctx.store->rows(
            QStringLiteral("SELECT cod_art, COALESCE(des, ''), COALESCE(quant, 0), COALESCE(peso, 0), "
                           "COALESCE(colli, 0), COALESCE(prezzo, 0), COALESCE(cod_forn, '') FROM %1 "
                           "WHERE rowid = ?")
                .arg(m_ctx.store->table(path(u"Archivio Ordini"))),
            {line->data(Qt::UserRole)});
        if (l.isEmpty()) return;
        m_lineRowid = line->data(Qt::UserRole).toLongLong();
        m_code = l[0][0].toString();
        m_des = l[0][1].toString();
        m_quant->setText(decimal::format(decimal::scaled(l[0][2].toDouble(), 3), 3, false));
        m_weight->setText(decimal::format(decimal::scaled(l[0][3].toDouble(), 3), 3, false));
        m_parcels->setText(QString::number(l[0][4].toLongLong()));
        m_price->setText(decimal::format(decimal::scaled(l[0][5].toDouble(), kPriceDecimals), kPriceDecimals, false));
        m_supplier->setText(l[0][6].toString());
        m_article->setText(m_code + QStringLiteral("  ") + m_des);
        const auto a = m_ctx.store->rows(
            QStringLiteral("SELECT COALESCE(prezzo_acq, 0), COALESCE(costo_med, 0), COALESCE(iva, 0), "
                           "COALESCE(qca, 0) - COALESCE(qsc, 0) FROM %1 WHERE upper(cod) = upper(?) LIMIT 1")
                .arg(m_ctx.store->table(path(u"Archivio Magazzino"))),
            {m_code});
        if (a.isEmpty()) {
            m_lastPrice->clear();
            m_averageCost->clear();
            m_stock->clear();
            return;
        }
        const double last = a[0][0].toDouble();
        m_lastPrice->setText(QStringLiteral("Prezzo ivato: ") + threeDecimals(last + last / 100.0 * a[0][2].toDouble()));
        m_averageCost->setText(QStringLiteral("Costo medio: ") + threeDecimals(a[0][1].toDouble()));
        m_stock->setText(QStringLiteral("Giacenza: %1").arg(a[0][3].toDouble()));
    } catch (const StoreError& e) {
        Dialogs::instance().error(kTitle, e.message(), this);
    }
}

void Tfrm_carico_da_ordine::clearEntry() {
    for (QLineEdit* e : {m_quant, m_weight, m_parcels, m_price, m_ddt, m_supplier}) e->clear();
    m_note->clear();
}

void Tfrm_carico_da_ordine::btn_confermaClick() {
    Dialogs& dlg = Dialogs::instance();
    if (m_lineRowid <= 0) {
        dlg.warning(kTitle, QStringLiteral("E' necessario selezionare un articolo"), this);
        return;
    }
    if (m_ddt->text().trimmed().isEmpty()) {
        dlg.warning(kTitle, QStringLiteral("Campo DDT non può essere vuoto"), this);
        return;
    }
    if (m_supplier->text().trimmed().isEmpty()) {
        dlg.warning(kTitle, QStringLiteral("Campo Fornitore non può essere vuoto"), this);
        return;
    }
    const auto q = typed(m_quant);
    if (!q || !(*q > 0)) {
        dlg.warning(kTitle, OrderArchive::quantityMessage(), this);
        return;
    }
    const auto price = UnitPrice::parse(m_price->text(), kPriceDecimals);
    bool ddtOk = false;
    const qint64 ddt = m_ddt->text().trimmed().toLongLong(&ddtOk);
    if (!price || !ddtOk) {
        dlg.warning(kTitle, QStringLiteral("Prezzo o numero DDT non validi."), this);
        return;
    }
    if (dlg.show(MsgIcon::Question, kTitle,
                 QStringLiteral("Confermi il carico del materiale per l'articolo\n\r%1  %2").arg(m_code, m_des),
                 static_cast<int>(DlgButton::Yes) | static_cast<int>(DlgButton::Cancel),
                 DlgButton::Yes, this) != DlgButton::Yes)
        return;
    OrderLoadRequest r;
    r.lineRowid = m_lineRowid;
    r.quantity = *q;
    r.weight = typed(m_weight).value_or(0);
    r.parcels = static_cast<qint64>(typed(m_parcels, 0).value_or(0));
    r.price = *price;
    r.ddtNumber = ddt;
    r.supplier = m_supplier->text().trimmed();
    r.note = m_note->toPlainText();
    r.today = Clock::today();
    const StockArchives a = StockArchives::fromSettings(*m_ctx.settings);
    try {
        OrderArchive(*m_ctx.store, a.orders, a.warehouse, a.movements).load(r);
    } catch (const StoreError& e) {
        dlg.error(kTitle, OrderArchive::saveFailedMessage(e.message()), this);
        return;
    }
    dlg.info(kTitle, QStringLiteral("Carico merce effettuato!"), this);
    clearEntry();
}

}  // namespace zel
