#include "warehouse/Tfrm_shop.h"

#include <QDir>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "settings/Settings.h"
#include "store/Store.h"
#include "ui/Dialogs.h"

namespace zel {

namespace {

const QString kTitle = QStringLiteral("Shop");

QLabel* label(const QString& name, QWidget* parent) {
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    return l;
}

std::optional<double> typedNumber(const QString& text) {
    const auto v = decimal::parse(text, 3);
    if (!v) return std::nullopt;
    return static_cast<double>(*v) / 1000.0;
}

}  // namespace

Tfrm_shop::Tfrm_shop(AppContext& ctx, QWidget* parent) : QDialog(parent), m_ctx(ctx) {
    setObjectName(QStringLiteral("Tfrm_shop"));
    setWindowTitle(kTitle);
    m_code = new QLineEdit(this);
    m_code->setObjectName(QStringLiteral("edt_codice"));
    m_code->setToolTip(QStringLiteral("Digitare codice o utilizzare Barcode scanner"));
    m_quantity = new QLineEdit(QStringLiteral("1"), this);
    m_quantity->setObjectName(QStringLiteral("edt_quantita"));
    m_quantity->setToolTip(QStringLiteral("quantità da scaricare. Negativo=Storno"));
    m_amount = new QLineEdit(this);
    m_amount->setObjectName(QStringLiteral("edt_importo"));
    m_des = label(QStringLiteral("lbl_descrizione"), this);
    m_priceLabel = label(QStringLiteral("lbl_prezzo"), this);
    m_price2 = label(QStringLiteral("lbl_prezzo2"), this);
    m_stock = label(QStringLiteral("lbl_giacenza"), this);
    m_picture = label(QStringLiteral("img_articolo"), this);
    m_totalLabel = label(QStringLiteral("lbl_totale"), this);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("lst_vendite"));
    QFont mono(QStringLiteral("Courier New"));
    mono.setStyleHint(QFont::Monospace);
    m_list->setFont(mono);
    m_sell = new QRadioButton(QStringLiteral("Vendita"), this);
    m_sell->setObjectName(QStringLiteral("rb_vendita"));
    m_look = new QRadioButton(QStringLiteral("Consultazione"), this);
    m_look->setObjectName(QStringLiteral("rb_consultazione"));
    (m_ctx.settings->flag(u"Shop", u"Modalita predefinita vendita") ? m_sell : m_look)->setChecked(true);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("btn_ok"));
    ok->setAutoDefault(false);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Codice"), m_code);
    form->addRow(QStringLiteral("Quantità"), m_quantity);
    form->addRow(QStringLiteral("Importo reparto"), m_amount);
    form->addRow(QStringLiteral("Descrizione"), m_des);
    form->addRow(QStringLiteral("Prezzo"), m_priceLabel);
    form->addRow(QStringLiteral("Valuta secondaria"), m_price2);
    form->addRow(QStringLiteral("Giacenza"), m_stock);
    form->addRow(QStringLiteral("Totale"), m_totalLabel);
    auto* modes = new QHBoxLayout;
    modes->addWidget(m_sell);
    modes->addWidget(m_look);
    modes->addWidget(ok);
    auto* departments = new QGridLayout;
    for (int n = 1; n <= kDepartments; ++n) {
        auto* b = new QPushButton(m_ctx.settings->text(u"Shop", QStringLiteral("Nome Reparto %1").arg(n)), this);
        b->setObjectName(QStringLiteral("btn_reparto%1").arg(n));
        b->setAutoDefault(false);
        const QString icon = m_ctx.settings->text(u"Shop", QStringLiteral("Icona Reparto %1").arg(n));
        if (!icon.isEmpty()) b->setIcon(QIcon(QDir(m_ctx.base).filePath(icon)));
        departments->addWidget(b, (n - 1) / 7, (n - 1) % 7);
        connect(b, &QPushButton::clicked, this, [this, n] { btn_repartoClick(n); });
    }
    auto* photoArea = new QWidget(this);
    photoArea->setObjectName(QStringLiteral("pnl_foto_reparti"));
    auto* photoLayout = new QVBoxLayout(photoArea);
    photoLayout->addWidget(m_picture);
    photoLayout->addLayout(departments);
    photoArea->setVisible(m_ctx.settings->flag(u"Shop", u"Visualizza area foto e reparti"));
    auto* main = new QVBoxLayout(this);
    main->addLayout(form);
    main->addLayout(modes);
    main->addWidget(m_list);
    main->addWidget(photoArea);

    connect(m_code, &QLineEdit::returnPressed, this, [this] { edt_codiceEnter(); });
    connect(ok, &QPushButton::clicked, this, [this] { btn_okClick(); });
    m_totalLabel->setText(m_total.format());
}

Tfrm_shop::~Tfrm_shop() = default;

void Tfrm_shop::FormShow() {
    m_code->clear();
    m_code->setFocus();
}

CounterSale Tfrm_shop::sale() const { return CounterSale(*m_ctx.store, StockArchives::fromSettings(*m_ctx.settings)); }

bool Tfrm_shop::edt_codiceEnter() {
    try {
        m_article = sale().findExact(m_code->text().trimmed());
    } catch (const StoreError& e) {
        Dialogs::instance().error(kTitle, e.message(), this);
        return false;
    }
    if (!m_article) {
        m_code->setStyleSheet(QStringLiteral("background-color: red"));
        m_code->setToolTip(QStringLiteral("Codice non trovato in archivio, digitarlo a mano"));
        m_code->setFocus();
        return false;
    }
    m_code->setStyleSheet({});
    m_code->setToolTip(QStringLiteral("Digitare codice o utilizzare Barcode scanner"));
    m_price = m_article->price;
    if (m_ctx.settings->flag(u"Magazzino", u"Imposta Iva inclusa in Shop")) m_price += m_article->rate.of(m_price);
    const auto change = typedNumber(m_ctx.settings->text(u"Magazzino", u"Valuta secondaria cambio"));
    m_priceLabel->setText(m_price.format());
    m_price2->setText(Money::lineAmount(change.value_or(0), m_price.cents(), 2).format());
    m_des->setText(m_article->des);
    m_stock->setText(QLocale(QLocale::Italian).toString(m_article->stock()));
    QPixmap picture(QDir(m_ctx.base).filePath(m_article->picture));
    if (m_article->picture.isEmpty() || picture.isNull())
        m_picture->clear();
    else
        m_picture->setPixmap(picture.scaled(160, 160, Qt::KeepAspectRatio));
    return btn_okClick();
}

void Tfrm_shop::addToTotal(Money amount, const QString& line) {
    m_total += amount;
    m_totalLabel->setText(m_total.format());
    m_list->addItem(line);
}

bool Tfrm_shop::btn_okClick() {
    if (!m_article || !m_sell->isChecked()) return false;
    const auto quantity = typedNumber(m_quantity->text().trimmed().isEmpty() ? QStringLiteral("1") : m_quantity->text());
    if (!quantity || *quantity == 0) {
        Dialogs::instance().warning(kTitle, QStringLiteral("Quantità non valida"), this);
        return false;
    }
    try {
        sale().unloadOnly(m_article->cod, *quantity);
    } catch (const StoreError& e) {
        Dialogs::instance().error(kTitle, QStringLiteral("Vendita non registrata: lo scarico non è stato eseguito.\r\n") +
                                              e.message(), this);
        return false;
    }
    const Money amount = Money::lineAmount(*quantity, m_price.cents(), 2);
    addToTotal(amount, m_article->cod.leftJustified(20, u' ') + u' ' + m_article->des.leftJustified(50, u' ') + u' ' +
                           amount.format().leftJustified(8, u' '));
    m_code->clear();
    m_code->setFocus();
    return true;
}

bool Tfrm_shop::btn_repartoClick(int n) {
    if (!m_sell->isChecked()) return false;
    const auto amount = Money::parse(m_amount->text());
    const auto rate = VatRate::parse(m_ctx.settings->text(u"Shop", QStringLiteral("Iva Reparto %1").arg(n)));
    if (!amount || amount->isZero() || !rate) {
        Dialogs::instance().warning(kTitle, QStringLiteral("Digitare l'importo da vendere"), this);
        return false;
    }
    const QString name = m_ctx.settings->text(u"Shop", QStringLiteral("Nome Reparto %1").arg(n));
    addToTotal(*amount, QString().leftJustified(20, u' ') + u' ' + (name + QStringLiteral(" IVA ") + rate->text() + u'%').leftJustified(50, u' ') +
                            u' ' + amount->format().leftJustified(8, u' '));
    m_amount->clear();
    return true;
}

}  // namespace zel
