#include "orders/Tfrm_ordini.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/Clock.h"
#include "documents/NextNumber.h"
#include "orders/Tqr_ord.h"
#include "report/Engine.h"
#include "report/PreviewWindow.h"
#include "registry/Tfrm_clienti1.h"
#include "settings/Settings.h"
#include "store/Store.h"
#include "ui/DateEdit.h"
#include "ui/Dialogs.h"
#include "ui/TrayNotice.h"
#include "warehouse/Tfrm_articoli.h"

namespace zel {

namespace {

const QString kTitle = QStringLiteral("Nuovo ordine");
constexpr int kPriceDecimals = 2;

double typed(const QLineEdit* e, int decimals = 4) {
    const auto v = decimal::parse(e->text(), decimals);
    return v ? static_cast<double>(*v) / static_cast<double>(decimal::scale(decimals)) : 0.0;
}

QLineEdit* numberEdit(const QString& name, QWidget* parent) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setText(QStringLiteral("0"));
    return e;
}

}  // namespace

Tfrm_ordini::Tfrm_ordini(AppContext& ctx, QWidget* parent) : QDialog(parent), m_ctx(ctx) {
    setObjectName(QStringLiteral("Tfrm_ordini"));
    setWindowTitle(kTitle);
    buildUi();
    runArticleCard = [this](const QString& code, const QString& des) {
        std::unique_ptr<Tfrm_articoli> own;
        Tfrm_articoli* card = m_ctx.windows ? &m_ctx.windows->window<Tfrm_articoli>() : nullptr;
        if (!card) {
            own = std::make_unique<Tfrm_articoli>(m_ctx, this);
            card = own.get();
        }
        card->showPage(Tfrm_articoli::Generalita);
        card->FormShow();
        card->btn_nuovoClick();
        const std::pair<const char*, QString> fields[] = {{"edt_cod", code}, {"edt_des", des}};
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
}

Tfrm_ordini::~Tfrm_ordini() = default;

QString Tfrm_ordini::path(const char16_t* key) const { return m_ctx.settings->text(u"Path", key); }

OrderArchive Tfrm_ordini::archive() const {
    return OrderArchive(*m_ctx.store, path(u"Archivio Ordini"), path(u"Archivio Magazzino"));
}

OrderKind Tfrm_ordini::kind() const {
    return m_supplier->isChecked() ? OrderKind::Supplier : OrderKind::Customer;
}

void Tfrm_ordini::buildUi() {
    auto* root = new QVBoxLayout(this);
    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("PageControl1"));
    root->addWidget(m_pages);

    // First page: number, date, counterpart and its kind.
    auto* p1 = new QWidget;
    auto* f1 = new QFormLayout(p1);
    m_number = new QLineEdit(p1);
    m_number->setObjectName(QStringLiteral("edt_numero"));
    f1->addRow(QStringLiteral("Ordine n°"), m_number);
    m_date = new DateEdit(p1);
    m_date->setObjectName(QStringLiteral("edt_data"));
    f1->addRow(QStringLiteral("Data"), m_date);
    m_party = new QComboBox(p1);
    m_party->setObjectName(QStringLiteral("cmb_cod_cli"));
    m_party->setEditable(true);
    f1->addRow(QStringLiteral("Codice"), m_party);
    m_partyName = new QLabel(p1);
    m_partyName->setObjectName(QStringLiteral("lbl_nome"));
    f1->addRow(QStringLiteral("Nome"), m_partyName);
    m_customer = new QRadioButton(QStringLiteral("Ordine da cliente"), p1);
    m_customer->setObjectName(QStringLiteral("radio_cliente"));
    m_supplier = new QRadioButton(QStringLiteral("Ordine a fornitore"), p1);
    m_supplier->setObjectName(QStringLiteral("radio_fornitore"));
    auto* kinds = new QHBoxLayout;
    kinds->addWidget(m_customer);
    kinds->addWidget(m_supplier);
    f1->addRow(kinds);
    m_earlier = new QTableWidget(0, 5, p1);
    m_earlier->setObjectName(QStringLiteral("grid_ordini"));
    m_earlier->setHorizontalHeaderLabels({QStringLiteral("Ordine"), QStringLiteral("Data"),
                                          QStringLiteral("Articolo"), QStringLiteral("Descrizione"),
                                          QStringLiteral("Quantità")});
    m_earlier->setEditTriggers(QAbstractItemView::NoEditTriggers);
    f1->addRow(m_earlier);
    auto* next = new QPushButton(QStringLiteral("Avanti"), p1);
    next->setObjectName(QStringLiteral("btn_avanti"));
    f1->addRow(next);
    m_pages->addTab(p1, QStringLiteral("Destinatario"));
    connect(next, &QPushButton::clicked, this, &Tfrm_ordini::btn_avantiClick);
    connect(m_party, &QComboBox::currentTextChanged, this, &Tfrm_ordini::partyChosen);
    connect(m_customer, &QRadioButton::toggled, this, &Tfrm_ordini::partyChosen);

    // Second page: the lines.
    auto* p2 = new QWidget;
    auto* f2 = new QFormLayout(p2);
    m_article = new QComboBox(p2);
    m_article->setObjectName(QStringLiteral("cmb_articolo"));
    m_article->setEditable(true);
    f2->addRow(QStringLiteral("Articolo"), m_article);
    m_underStock = new QCheckBox(QStringLiteral("Solo articoli in sottoscorta"), p2);
    m_underStock->setObjectName(QStringLiteral("chk_sottoscorta"));
    f2->addRow(m_underStock);
    m_des = new QLineEdit(p2);
    m_des->setObjectName(QStringLiteral("edt_des"));
    m_des->setMaxLength(70);
    f2->addRow(QStringLiteral("Descrizione"), m_des);
    m_priceLabel = new QLabel(QStringLiteral("Prezzo vend."), p2);
    m_priceLabel->setObjectName(QStringLiteral("lbl_prezzo"));
    m_price = numberEdit(QStringLiteral("edt_prezzo"), p2);
    f2->addRow(m_priceLabel, m_price);
    m_discount = numberEdit(QStringLiteral("edt_sconto"), p2);
    f2->addRow(QStringLiteral("Sconto %"), m_discount);
    m_vat = numberEdit(QStringLiteral("edt_iva"), p2);
    f2->addRow(QStringLiteral("IVA %"), m_vat);
    m_quant = numberEdit(QStringLiteral("edt_quant"), p2);
    f2->addRow(QStringLiteral("Quantità"), m_quant);
    m_weight = numberEdit(QStringLiteral("edt_peso"), p2);
    f2->addRow(QStringLiteral("Peso"), m_weight);
    m_parcels = numberEdit(QStringLiteral("edt_colli"), p2);
    f2->addRow(QStringLiteral("Colli"), m_parcels);
    m_rif = new QLineEdit(p2);
    m_rif->setObjectName(QStringLiteral("edt_rif"));
    f2->addRow(QStringLiteral("Riferimento"), m_rif);
    m_agent = new QLineEdit(p2);
    m_agent->setObjectName(QStringLiteral("edt_agente"));
    f2->addRow(QStringLiteral("Agente"), m_agent);
    m_finalPrice = new QLabel(p2);
    m_finalPrice->setObjectName(QStringLiteral("lbl_prezzo_finale"));
    f2->addRow(QStringLiteral("Prezzo finale"), m_finalPrice);
    m_vatPrice = new QLabel(p2);
    m_vatPrice->setObjectName(QStringLiteral("lbl_prezzo_ivato"));
    f2->addRow(QStringLiteral("Prezzo ivato"), m_vatPrice);
    m_stock = new QLabel(p2);
    m_stock->setObjectName(QStringLiteral("lbl_giacenza"));
    f2->addRow(QStringLiteral("Giacenza"), m_stock);
    auto* confirm = new QPushButton(QStringLiteral("Conferma l'inserimento dei dati"), p2);
    confirm->setObjectName(QStringLiteral("Btn_conferma"));
    f2->addRow(confirm);
    m_lines = new QTableWidget(0, 5, p2);
    m_lines->setObjectName(QStringLiteral("grid_righe"));
    m_lines->setHorizontalHeaderLabels({QStringLiteral("Articolo"), QStringLiteral("Descrizione"),
                                        QStringLiteral("Quantità"), QStringLiteral("Prezzo"),
                                        QStringLiteral("Importo")});
    m_lines->setEditTriggers(QAbstractItemView::NoEditTriggers);
    f2->addRow(m_lines);
    m_totals = new QLabel(p2);
    m_totals->setObjectName(QStringLiteral("lbl_totali"));
    f2->addRow(m_totals);
    m_pages->addTab(p2, QStringLiteral("Articoli"));
    connect(m_article, &QComboBox::textActivated, this, &Tfrm_ordini::cmb_articoloSelect);
    connect(m_underStock, &QCheckBox::toggled, this, &Tfrm_ordini::loadArticles);
    connect(confirm, &QPushButton::clicked, this, &Tfrm_ordini::Btn_confermaClick);
    // A typed point is the decimal comma.
    for (QLineEdit* e : {m_price, m_discount, m_vat}) {
        connect(e, &QLineEdit::textEdited, this, [this, e](const QString& t) {
            if (t.contains(QLatin1Char('.'))) {
                const int at = e->cursorPosition();
                e->setText(QString(t).replace(QLatin1Char('.'), QLatin1Char(',')));
                e->setCursorPosition(at);
            }
            recompute();
        });
    }

    // Third page: delivery dates and save.
    auto* p3 = new QWidget;
    auto* f3 = new QFormLayout(p3);
    for (int i = 0; i < 3; ++i) {
        m_cons[i] = new DateEdit(p3);
        m_cons[i]->setObjectName(QStringLiteral("edt_data_cons%1").arg(i + 1));
        f3->addRow(QStringLiteral("Consegna %1").arg(i + 1), m_cons[i]);
    }
    m_save = new QPushButton(QStringLiteral("Conferma l'ordine\r\n e registralo"), p3);
    m_save->setObjectName(QStringLiteral("btn_registra_fattura"));
    f3->addRow(m_save);
    m_extraLogo = new QCheckBox(QStringLiteral("Stampa logo aggiuntivo"), p3);
    m_extraLogo->setObjectName(QStringLiteral("chk_extra_logo"));
    f3->addRow(m_extraLogo);
    auto* copies = new QHBoxLayout;
    m_copies = new QLineEdit(QStringLiteral("1"), p3);
    m_copies->setObjectName(QStringLiteral("edt_copie"));
    m_copies->setReadOnly(true);
    auto* plus = new QPushButton(QStringLiteral("+"), p3);
    plus->setObjectName(QStringLiteral("btn_piu"));
    auto* minus = new QPushButton(QStringLiteral("-"), p3);
    minus->setObjectName(QStringLiteral("btn_meno"));
    copies->addWidget(m_copies);
    copies->addWidget(plus);
    copies->addWidget(minus);
    f3->addRow(QStringLiteral("Copie"), copies);
    connect(plus, &QPushButton::clicked, this, [this] { m_copies->setText(QString::number(m_copies->text().toInt() + 1)); });
    connect(minus, &QPushButton::clicked, this,
            [this] { m_copies->setText(QString::number(std::max(1, m_copies->text().toInt() - 1))); });
    m_print = new QPushButton(QStringLiteral("Stampa \r\nquesto ordine"), p3);
    m_print->setObjectName(QStringLiteral("btn_stampa"));
    f3->addRow(m_print);
    connect(m_print, &QPushButton::clicked, this, &Tfrm_ordini::btn_stampaClick);
    showPreview = [this](report::PageModel m, int n) { report::PreviewWindow::run(std::move(m), n, this); };
    m_pages->addTab(p3, QStringLiteral("Consegna e registrazione"));
    connect(m_save, &QPushButton::clicked, this, &Tfrm_ordini::btn_registra_fatturaClick);

    auto* exit = new QPushButton(QStringLiteral("Uscita"), this);
    exit->setObjectName(QStringLiteral("btn_uscita"));
    root->addWidget(exit);
    connect(exit, &QPushButton::clicked, this, &QDialog::close);
}

void Tfrm_ordini::prepare() {
    m_pages->setCurrentIndex(0);
    m_pages->setTabEnabled(1, false);
    m_pages->setTabEnabled(2, false);
    m_draftLines.clear();
    m_lines->setRowCount(0);
    m_saved = false;
    m_save->setEnabled(true);
    m_print->setEnabled(false);
    m_extraLogo->setChecked(m_ctx.settings->flag(u"Ordine", u"Stampa extra logo"));
    m_date->setDate(Clock::today());
    try {
        m_number->setText(QString::number(archive().proposeNumber()));
    } catch (const StoreError& e) {
        Dialogs::instance().error(kTitle, e.message(), this);
    }
    loadParties();
}

void Tfrm_ordini::loadParties() {
    const QString sep = m_ctx.settings->text(u"System", u"Separatore cod-des");
    QStringList items;
    try {
        m_ctx.store->forEachRow(
            QStringLiteral("SELECT COALESCE(cod_cli, ''), COALESCE(nome, '') FROM %1 ORDER BY cod_cli")
                .arg(m_ctx.store->table(path(u"Archivio anagrafica"))),
            {}, [&](const StoreRow& r) { items.append(r.text(0) + sep + r.text(1)); });
    } catch (const StoreError& e) {
        Dialogs::instance().error(kTitle, e.message(), this);
    }
    m_party->clear();
    m_party->addItems(items);
    m_party->setCurrentIndex(-1);
    m_party->setEditText(QString());
}

QString Tfrm_ordini::partyCode() const {
    const QString sep = m_ctx.settings->text(u"System", u"Separatore cod-des");
    const QString t = m_party->currentText();
    const qsizetype at = sep.isEmpty() ? -1 : t.indexOf(sep);
    return (at < 0 ? t : t.left(at)).trimmed();
}

void Tfrm_ordini::partyChosen() {
    const QString code = partyCode();
    m_earlier->setRowCount(0);
    m_partyName->clear();
    if (code.isEmpty()) return;
    try {
        const QVariant name = m_ctx.store->scalar(
            QStringLiteral("SELECT COALESCE(nome, '') FROM %1 WHERE cod_cli = ? LIMIT 1")
                .arg(m_ctx.store->table(path(u"Archivio anagrafica"))),
            {code});
        m_partyName->setText(name.toString());
        const QString column =
            m_supplier->isChecked() ? QStringLiteral("cod_forn") : QStringLiteral("cod_cli");
        const auto rows = m_ctx.store->rows(
            QStringLiteral("SELECT ordine, data, cod_art, des, quant FROM %1 WHERE %2 = ? "
                           "ORDER BY data LIMIT 500")
                .arg(m_ctx.store->table(path(u"Archivio Ordini")), column),
            {code});
        m_earlier->setRowCount(static_cast<int>(rows.size()));
        for (int r = 0; r < rows.size(); ++r)
            for (int c = 0; c < 5; ++c)
                m_earlier->setItem(r, c, new QTableWidgetItem(rows[r][c].toString()));
    } catch (const StoreError& e) {
        Dialogs::instance().error(kTitle, e.message(), this);
    }
}

void Tfrm_ordini::btn_avantiClick() {
    Dialogs& dlg = Dialogs::instance();
    const QString code = partyCode();
    if (code.isEmpty()) {
        dlg.warning(QStringLiteral("Dati mancanti"),
                    QStringLiteral("Il codice cliente non può essere vuoto"), this);
        return;
    }
    if (!m_customer->isChecked() && !m_supplier->isChecked()) {
        dlg.warning(QStringLiteral("Dati mancanti"),
                    QStringLiteral("Selezionare il destinatario - cliente o fornitore"), this);
        return;
    }
    if (m_number->text().trimmed().isEmpty()) return;
    bool ok = false;
    const qint64 number = m_number->text().trimmed().toLongLong(&ok);
    try {
        const OrderArchive a = archive();
        if (!ok || number <= 0) {
            dlg.warning(kTitle, QStringLiteral("Il numero d'ordine non è valido."), this);
            return;
        }
        if (a.isTaken(number)) {
            dlg.warning(kTitle, NextNumber::takenMessage(number), this);
            return;
        }
        const QString tooLong = a.codeTooLong(
            m_supplier->isChecked() ? QStringLiteral("cod_forn") : QStringLiteral("cod_cli"), code);
        if (!tooLong.isEmpty()) {
            dlg.warning(kTitle, tooLong, this);
            return;
        }
        const bool known =
            m_ctx.store
                ->scalar(QStringLiteral("SELECT 1 FROM %1 WHERE cod_cli = ? LIMIT 1")
                             .arg(m_ctx.store->table(path(u"Archivio anagrafica"))),
                         {code})
                .isValid();
        if (!known && dlg.yesNo(MsgIcon::Question, QStringLiteral("Codice cliente inesistente"),
                                QStringLiteral("Non esiste il nome in anagrafica. Vuoi aggiungerlo?"),
                                this)) {
            TrayNotice::instance().show(kTitle, QStringLiteral("Inserimento nuovo cliente"),
                                        TrayNotice::kStandardSeconds, TrayNotice::Kind::Info);
            if (runCustomerCard) runCustomerCard();
        }
    } catch (const StoreError& e) {
        dlg.error(kTitle, e.message(), this);
        return;
    }
    const bool supplier = m_supplier->isChecked();
    m_priceLabel->setText(supplier ? QStringLiteral("Prezzo acq.") : QStringLiteral("Prezzo vend."));
    m_amount = Money();
    m_totalQuant = m_totalWeight = 0;
    m_totalParcels = 0;
    m_draftLines.clear();
    m_lines->setRowCount(0);
    showTotals();
    for (DateEdit* d : m_cons) d->setDate(Clock::today());
    loadArticles();
    m_pages->setTabEnabled(1, true);
    m_pages->setTabEnabled(2, true);
    m_pages->setCurrentIndex(1);
}

void Tfrm_ordini::loadArticles() {
    QStringList codes;
    try {
        const QString where = m_underStock->isChecked()
                                  ? QStringLiteral(" WHERE (COALESCE(qca, 0) - COALESCE(qsc, 0)) < "
                                                   "COALESCE(scortamin, 0)")
                                  : QString();
        m_ctx.store->forEachRow(QStringLiteral("SELECT cod FROM %1%2 ORDER BY cod")
                                    .arg(m_ctx.store->table(path(u"Archivio Magazzino")), where),
                                {}, [&](const StoreRow& r) { codes.append(r.text(0)); });
    } catch (const StoreError& e) {
        Dialogs::instance().error(kTitle, e.message(), this);
    }
    m_article->clear();
    m_article->addItems(codes);
    m_article->setCurrentIndex(-1);
    m_article->setEditText(QString());
}

void Tfrm_ordini::cmb_articoloSelect() {
    const QString code = m_article->currentText().trimmed();
    if (code.isEmpty()) return;
    try {
        const QString wh = m_ctx.store->table(path(u"Archivio Magazzino"));
        const auto r = m_ctx.store->rows(
            QStringLiteral("SELECT COALESCE(des, ''), COALESCE(prezzo_ven, 0), COALESCE(prezzo_acq, 0), "
                           "COALESCE(sconto, 0), COALESCE(iva, 0), COALESCE(qca, 0) - COALESCE(qsc, 0), "
                           "COALESCE(scortamin, 0) FROM %1 WHERE upper(cod) = upper(?) LIMIT 1")
                .arg(wh),
            {code});
        if (r.isEmpty()) return;
        m_des->setText(r[0][0].toString());
        const double price = (m_supplier->isChecked() ? r[0][2] : r[0][1]).toDouble();
        m_price->setText(decimal::format(decimal::scaled(price, kPriceDecimals), kPriceDecimals, false));
        m_discount->setText(decimal::format(decimal::scaled(r[0][3].toDouble(), 2), 2, false));
        m_vat->setText(decimal::format(decimal::scaled(r[0][4].toDouble(), 2), 2, false));
        m_quant->setText(QStringLiteral("1"));
        const auto onOrder = m_ctx.store->rows(
            QStringLiteral("SELECT COALESCE(SUM(quant), 0) FROM %1 WHERE cod_art = ?")
                .arg(m_ctx.store->table(path(u"Archivio Ordini"))),
            {code});
        m_stock->setText(QStringLiteral("Disponibile: %1  Scorta minima: %2  In ordine: %3")
                             .arg(r[0][5].toDouble())
                             .arg(r[0][6].toDouble())
                             .arg(onOrder.isEmpty() ? 0.0 : onOrder[0][0].toDouble()));
    } catch (const StoreError& e) {
        Dialogs::instance().error(kTitle, e.message(), this);
    }
    recompute();
}

void Tfrm_ordini::recompute() {
    const double price = typed(m_price);
    const double finalPrice = price - price / 100.0 * typed(m_discount);
    const double withVat = finalPrice + finalPrice / 100.0 * typed(m_vat);
    m_finalPrice->setText(decimal::format(decimal::scaled(finalPrice, kPriceDecimals), kPriceDecimals));
    m_vatPrice->setText(decimal::format(decimal::scaled(withVat, kPriceDecimals), kPriceDecimals));
}

void Tfrm_ordini::showTotals() {
    m_totals->setText(QStringLiteral("Totale: %1  Quantità: %2  Peso: %3  Colli: %4")
                          .arg(m_amount.format())
                          .arg(m_totalQuant)
                          .arg(m_totalWeight)
                          .arg(m_totalParcels));
}

void Tfrm_ordini::Btn_confermaClick() {
    Dialogs& dlg = Dialogs::instance();
    const QString code = m_article->currentText().trimmed().toUpper();
    if (code.isEmpty()) return;
    const double quant = typed(m_quant);
    if (quant == 0 &&
        dlg.show(MsgIcon::Question, kTitle,
                 QStringLiteral("Attenzione, la quantità indicata è \"0\". Confermi?\n\rYes per "
                                "confermare, Annulla per uscire"),
                 static_cast<int>(DlgButton::Yes) | static_cast<int>(DlgButton::Cancel),
                 DlgButton::Yes, this) !=
            DlgButton::Yes)
        return;
    try {
        const OrderArchive a = archive();
        const QString tooLong = a.codeTooLong(QStringLiteral("cod_art"), code);
        if (!tooLong.isEmpty()) {
            dlg.warning(kTitle, tooLong, this);
            return;
        }
        const bool known =
            m_ctx.store
                ->scalar(QStringLiteral("SELECT 1 FROM %1 WHERE upper(cod) = ? LIMIT 1")
                             .arg(m_ctx.store->table(path(u"Archivio Magazzino"))),
                         {code})
                .isValid();
        if (!known &&
            dlg.yesNo(MsgIcon::Question, kTitle,
                      QStringLiteral("L'articolo %1 non è presente in magazzino, vuoi aggiungerlo?")
                          .arg(code),
                      this) &&
            runArticleCard)
            runArticleCard(code, m_des->text());
    } catch (const StoreError& e) {
        dlg.error(kTitle, e.message(), this);
        return;
    }
    const double price = typed(m_price);
    const qint64 finalUnits =
        decimal::scaled(price - price / 100.0 * typed(m_discount), kPriceDecimals);
    OrderLine l;
    l.codArt = code;
    l.des = m_des->text();
    l.quant = quant;
    l.peso = typed(m_weight);
    l.colli = static_cast<qint64>(typed(m_parcels, 0));
    l.prezzo = static_cast<double>(finalUnits) / static_cast<double>(decimal::scale(kPriceDecimals));
    l.iva = typed(m_vat);
    l.rif = m_rif->text();
    l.agente = m_agent->text();
    m_draftLines.append(l);
    const Money amount = Money::lineAmount(quant, finalUnits, kPriceDecimals);
    m_amount += amount;
    m_totalQuant += quant;
    m_totalWeight += l.peso;
    m_totalParcels += l.colli;
    const int row = m_lines->rowCount();
    m_lines->insertRow(row);
    const QStringList cells{code, l.des, QString::number(quant),
                            decimal::format(finalUnits, kPriceDecimals), amount.format()};
    for (int c = 0; c < cells.size(); ++c) m_lines->setItem(row, c, new QTableWidgetItem(cells[c]));
    showTotals();
    for (QLineEdit* e : {m_price, m_discount, m_vat, m_quant, m_weight, m_parcels})
        e->setText(QStringLiteral("0"));
    m_des->clear();
    m_article->setEditText(QString());
    m_article->setFocus();
}

void Tfrm_ordini::btn_registra_fatturaClick() {
    Dialogs& dlg = Dialogs::instance();
    if (m_saved) return;
    if (m_draftLines.isEmpty()) {
        dlg.warning(kTitle, QStringLiteral("L'ordine non contiene righe."), this);
        return;
    }
    OrderDraft d;
    d.number = m_number->text().trimmed().toLongLong();
    d.date = m_date->date();
    d.kind = kind();
    d.party = partyCode();
    d.lines = m_draftLines;
    for (int i = 0; i < 3; ++i) d.deliveryDates[static_cast<size_t>(i)] = m_cons[i]->date();
    try {
        archive().save(d);
    } catch (const StoreError& e) {
        dlg.error(kTitle, OrderArchive::saveFailedMessage(e.message()), this);
        return;
    }
    m_saved = true;
    m_savedNumber = d.number;
    m_save->setEnabled(false);
    m_print->setEnabled(true);
    dlg.info(kTitle, QStringLiteral("Ordine n° %1 registrato.").arg(d.number), this);
}

void Tfrm_ordini::btn_stampaClick() {
    if (!m_saved) return;
    std::optional<OrderPrintData> data;
    try {
        data = Tqr_ord::load(*m_ctx.store, *m_ctx.settings, m_savedNumber);
    } catch (const StoreError& e) {
        Dialogs::instance().error(kTitle, e.message(), this);
        return;
    }
    if (!data) return;
    showPreview(report::render(Tqr_ord(*m_ctx.settings).layout(*data, m_extraLogo->isChecked()), data->lines),
                std::max(1, m_copies->text().toInt()));
}

}  // namespace zel
