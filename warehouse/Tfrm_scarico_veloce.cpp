#include "warehouse/Tfrm_scarico_veloce.h"

#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

#include "registry/Tfrm_cerca.h"
#include "report/Output.h"
#include "report/PreviewWindow.h"
#include "settings/Settings.h"
#include "store/Store.h"
#include "ui/Dialogs.h"
#include "ui/TrayNotice.h"
#include "warehouse/Receipt.h"
#include "warehouse/ReceiptPrint.h"

namespace zel {

namespace {

const QString kTitle = QStringLiteral("Vendita/Scarico veloce");
const QString kTrayTitle = QStringLiteral("Zelvarin: Shop");

QLineEdit* edit(const QString& name, QWidget* parent, const QString& hint = {}) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setToolTip(hint);
    return e;
}
QLabel* label(const QString& name, QWidget* parent) {
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    return l;
}
QPushButton* button(const QString& name, const QString& text, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

std::optional<double> typedNumber(const QString& text) {
    const auto v = decimal::parse(text, 3);
    if (!v) return std::nullopt;
    return static_cast<double>(*v) / 1000.0;
}

}  // namespace

Tfrm_scarico_veloce::Tfrm_scarico_veloce(AppContext& ctx, QWidget* parent) : QDialog(parent), m_ctx(ctx) {
    setObjectName(QStringLiteral("Tfrm_scarico_veloce"));
    setWindowTitle(kTitle);
    auto* form = new QFormLayout;
    m_code = edit(QStringLiteral("edt_codice"), this);
    m_column = new QComboBox(this);
    m_column->setObjectName(QStringLiteral("cmb_campo"));
    m_column->addItems({QStringLiteral("Codice"), QStringLiteral("Categoria"), m_ctx.settings->text(u"Magazzino", u"Campo aggiuntivo 1"),
                        m_ctx.settings->text(u"Magazzino", u"Campo aggiuntivo 2"), m_ctx.settings->text(u"Magazzino", u"Campo aggiuntivo 3"),
                        m_ctx.settings->text(u"Magazzino", u"Campo aggiuntivo 4")});
    m_quantity = edit(QStringLiteral("edt_quantita"), this, QStringLiteral("quantità da scaricare. Negativo=Storno"));
    m_quantity->setText(QStringLiteral("1"));
    m_discount = edit(QStringLiteral("edt_sconto"), this, QStringLiteral("Sconto praticato"));
    m_amount = edit(QStringLiteral("edt_importo"), this);
    m_customer = edit(QStringLiteral("edt_cliente"), this, QStringLiteral("Codice del cliente fidelizzato"));
    m_customerName = label(QStringLiteral("lbl_cliente"), this);
    m_cashEdit = edit(QStringLiteral("edt_contante"), this);
    form->addRow(QStringLiteral("Codice"), m_code);
    form->addRow(QStringLiteral("Cerca in"), m_column);
    form->addRow(QStringLiteral("Quantità"), m_quantity);
    form->addRow(QStringLiteral("Sconto %"), m_discount);
    form->addRow(QStringLiteral("Importo"), m_amount);
    form->addRow(QStringLiteral("Cliente"), m_customer);
    form->addRow(QString(), m_customerName);
    form->addRow(QStringLiteral("Contante"), m_cashEdit);

    m_des = label(QStringLiteral("lbl_descrizione"), this);
    m_price = label(QStringLiteral("lbl_prezzo"), this);
    m_vat = label(QStringLiteral("lbl_iva"), this);
    m_stock = label(QStringLiteral("lbl_giacenza"), this);
    m_totalLabel = label(QStringLiteral("lbl_totale"), this);
    m_total2Label = label(QStringLiteral("lbl_totale2"), this);
    m_change = label(QStringLiteral("lbl_resto"), this);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("lst_scarico"));
    QFont mono(QStringLiteral("Courier New"));
    mono.setStyleHint(QFont::Monospace);
    m_list->setFont(mono);

    auto* buttons = new QGridLayout;
    auto* confirm = button(QStringLiteral("btn_conferma"), QStringLiteral("Conferma l'articolo"), this);
    auto* cash = button(QStringLiteral("btn_contante"), QStringLiteral("Contante"), this);
    auto* card = button(QStringLiteral("btn_carta"), QStringLiteral("Carta\ndi credito"), this);
    auto* receipt = button(QStringLiteral("btn_ricevuta"), QStringLiteral("Ricevuta\nfiscale"), this);
    auto* reset = button(QStringLiteral("btn_azzera"), QStringLiteral("Azzera\n totale"), this);
    auto* clear = button(QStringLiteral("btn_cancella"), QStringLiteral("Cancella\nelenco"), this);
    auto* print = button(QStringLiteral("btn_stampa"), QStringLiteral("Stampa"), this);
    auto* issued = button(QStringLiteral("btn_ricevute_emesse"), QStringLiteral("Ricevute\nemesse"), this);
    int col = 0;
    for (auto* b : {confirm, cash, card, receipt, reset, clear, print, issued}) buttons->addWidget(b, 0, col++);
    connect(issued, &QPushButton::clicked, this, [this] {
        if (openReceipts) openReceipts();
    });

    auto* figures = new QVBoxLayout;
    for (auto* l : {m_des, m_price, m_vat, m_stock, m_totalLabel, m_total2Label, m_change}) figures->addWidget(l);
    auto* top = new QHBoxLayout;
    top->addLayout(form);
    top->addLayout(figures);
    auto* main = new QVBoxLayout(this);
    main->addLayout(top);
    main->addWidget(m_list);
    main->addLayout(buttons);

    connect(m_code, &QLineEdit::returnPressed, this, [this] { btn_confermaClick(); });
    connect(confirm, &QPushButton::clicked, this, [this] { btn_confermaClick(); });
    connect(cash, &QPushButton::clicked, this, [this] { btn_contanteClick(); });
    connect(card, &QPushButton::clicked, this, [this] { btn_cartaClick(); });
    connect(receipt, &QPushButton::clicked, this, [this] { btn_ricevutaClick(); });
    connect(reset, &QPushButton::clicked, this, [this] { btn_azzeraClick(); });
    connect(clear, &QPushButton::clicked, this, [this] { btn_cancellaClick(); });
    connect(print, &QPushButton::clicked, this, [this] { btn_stampaClick(); });
    connect(m_customer, &QLineEdit::editingFinished, this, [this] { checkCustomer(); });

    showPreview = [this](const report::PageModel& m) { report::PreviewWindow::run(m, 1, this); };
    runSearch = [](Tfrm_cerca& dialog) { dialog.execModal(); };
    m_code->installEventFilter(this);
    m_customer->installEventFilter(this);
    printDirect = [](const report::PageModel& m) {
        QPrinter printer(QPrinter::HighResolution);
        return report::printModel(m, printer, 1);
    };
    showTotal();
}

Tfrm_scarico_veloce::~Tfrm_scarico_veloce() = default;

void Tfrm_scarico_veloce::FormShow() {
    findChild<QPushButton*>(QStringLiteral("btn_ricevute_emesse"))->setVisible(bool(openReceipts));
    m_code->clear();
    m_code->setFocus();
}

QString Tfrm_scarico_veloce::pick(int page, const QString& typed) {
    Tfrm_cerca* dialog = nullptr;
    if (m_ctx.windows) {
        dialog = &m_ctx.windows->window<Tfrm_cerca>();
    } else {
        if (!m_ownSearch) m_ownSearch = std::make_unique<Tfrm_cerca>(m_ctx, this);
        dialog = m_ownSearch.get();
    }
    dialog->setMode(QString());
    dialog->choosePage(page);
    if (!typed.isEmpty()) dialog->prefill(typed);
    runSearch(*dialog);
    return dialog->outcome() == 1 ? dialog->foundCode() : QString();
}

void Tfrm_scarico_veloce::edt_codiceDblClick() {
    const QString code = pick(int(Tfrm_cerca::Page::ArticleByCode), m_code->text().trimmed());
    if (code.isEmpty()) return;
    m_code->setText(code);
    btn_confermaClick();
}

void Tfrm_scarico_veloce::edt_clienteDblClick() {
    const QString code = pick(int(Tfrm_cerca::Page::CustomerByName), {});
    if (code.isEmpty()) return;
    m_customer->setText(code);
    checkCustomer();
}

bool Tfrm_scarico_veloce::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::MouseButtonDblClick) {
        if (watched == m_code) {
            edt_codiceDblClick();
            return true;
        }
        if (watched == m_customer) {
            edt_clienteDblClick();
            return true;
        }
    }
    return QDialog::eventFilter(watched, e);
}

CounterSale Tfrm_scarico_veloce::sale() const {
    return CounterSale(*m_ctx.store, StockArchives::fromSettings(*m_ctx.settings));
}

void Tfrm_scarico_veloce::showTotal() {
    m_totalLabel->setText(m_total.format());
    const auto rate = typedNumber(m_ctx.settings->text(u"Magazzino", u"Valuta secondaria cambio"));
    const Money second = Money::lineAmount(rate.value_or(0), m_total.cents(), 2);
    m_total2Label->setText(second.format());
}

void Tfrm_scarico_veloce::checkCustomer() {
    const QString code = m_customer->text().trimmed();
    if (code.isEmpty()) {
        m_customerName->clear();
        return;
    }
    try {
        const QString name = ReceiptWriter(*m_ctx.store, m_ctx.settings->text(u"Path", u"Archivio ricevute fiscali"),
                                           m_ctx.settings->text(u"Path", u"Archivio anagrafica"))
                                 .customerName(code);
        m_customerName->setText(name.isEmpty() ? QStringLiteral("Nome non in archivio!") : name);
    } catch (const StoreError& e) {
        m_customerName->setText(e.message());
    }
}

bool Tfrm_scarico_veloce::btn_confermaClick() {
    if (m_closed) clearSale();
    const QString typed = m_code->text().trimmed();
    const auto quantity = typedNumber(m_quantity->text().trimmed().isEmpty() ? QStringLiteral("1") : m_quantity->text());
    const auto discount = typedNumber(m_discount->text());
    if (!quantity || *quantity == 0 || !discount || *discount < 0 || *discount > 100) {
        Dialogs::instance().warning(kTitle, QStringLiteral("Quantità o sconto non validi"), this);
        return false;
    }
    CounterSaleLine line;
    std::optional<SaleArticle> found;
    try {
        if (typed == QStringLiteral(".")) {
            const auto amount = Money::parse(m_amount->text());
            const auto rate = VatRate::parse(m_ctx.settings->text(u"Magazzino", u"Perc IVA predefinita"));
            if (!amount || amount->isZero() || !rate) {
                Dialogs::instance().warning(kTitle, QStringLiteral("Digitare l'importo da vendere"), this);
                return false;
            }
            line = makeSaleLine({}, QStringLiteral("Vendita manuale"), *quantity, *amount, *rate);
        } else {
            found = typed.isEmpty() ? m_last
                                    : sale().find(typed, m_ctx.settings->flag(u"Shop", u"Abilita ricerca ciclica"),
                                                  SaleSearchColumn(qMax(0, m_column->currentIndex())));
            if (!found) {
                Dialogs::instance().beep();
                return false;
            }
            line = makeSaleLine(found->cod, found->des, *quantity, discounted(found->price, *discount), found->rate);
            sale().unloadLine(line, now().date());
            m_last = found;
        }
    } catch (const StoreError& e) {
        Dialogs::instance().error(kTitle, QStringLiteral("Vendita non registrata: lo scarico non è stato eseguito.\r\n") +
                                              e.message(), this);
        return false;
    }
    const QTime time = now().time();
    m_lines.append(line);
    m_times.append(time);
    m_total += line.importo;
    m_list->addItem(line.listText(time));
    m_des->setText(line.des);
    m_price->setText(line.price.format());
    m_vat->setText(QStringLiteral("IVA %1 COMPRESA").arg(line.rate.text()));
    if (found) {
        const auto now = sale().article(found->cod);
        const double stock = now ? now->stock() : 0;
        m_stock->setText(QLocale(QLocale::Italian).toString(stock));
        m_stock->setStyleSheet(stock < 1 ? QStringLiteral("background-color: red") : QStringLiteral("background-color: white"));
    }
    Dialogs::instance().beep();
    showTotal();
    m_code->clear();
    m_code->setFocus();
    return true;
}

void Tfrm_scarico_veloce::btn_contanteClick() {
    const auto cash = Money::parse(m_cashEdit->text());
    if (!cash) {
        Dialogs::instance().warning(kTitle, QStringLiteral("Importo contante non valido"), this);
        return;
    }
    m_cash = *cash;
    m_card = false;
    m_change->setText((*cash - m_total).format());
}

void Tfrm_scarico_veloce::btn_cartaClick() {
    m_card = true;
    m_cash.reset();
    m_change->clear();
}

bool Tfrm_scarico_veloce::btn_ricevutaClick() {
    if (m_lines.isEmpty() || m_closed) return false;
    TrayNotice::instance().show(kTrayTitle, QStringLiteral("Stampa Ricevuta fiscale in corso... "),
                                TrayNotice::kStandardSeconds, TrayNotice::Kind::Info);
    const QDateTime when = now();
    ClosedReceipt closed;
    try {
        closed = ReceiptWriter(*m_ctx.store, m_ctx.settings->text(u"Path", u"Archivio ricevute fiscali"),
                               m_ctx.settings->text(u"Path", u"Archivio anagrafica"))
                     .close(m_lines, when, m_customer->text().trimmed());
    } catch (const StoreError& e) {
        Dialogs::instance().error(kTitle, QStringLiteral("Ricevuta fiscale non registrata: nulla è stato scritto.\r\n") +
                                              e.message(), this);
        return false;
    }
    ReceiptDocument doc;
    doc.numero = closed.numero;
    doc.yy = when.date().toString(QStringLiteral("yy"));
    doc.date = when.date();
    doc.ora = when.time().toString(QStringLiteral("HH:mm:ss"));
    for (const auto& l : m_lines) doc.lines.append({l.des.left(kReceiptDesLength), l.quantity, l.importo, l.rate, l.iva});
    doc.cash = m_cash;
    doc.card = m_card;
    const auto model = renderReceipt(doc, VatRates(*m_ctx.settings));
    bool printed = true;
    if (m_ctx.settings->flag(u"Shop", u"Stampa diretta senza anteprima"))
        printed = printDirect(model);
    else
        showPreview(model);
    if (printed)
        TrayNotice::instance().show(kTrayTitle, QStringLiteral("Stampa Ricevuta fiscale terminata! "),
                                    TrayNotice::kStandardSeconds, TrayNotice::Kind::Info);
    m_closed = true;
    return true;
}

bool Tfrm_scarico_veloce::confirmClear() {
    if (m_closed) return true;
    const bool unloaded = std::any_of(m_lines.begin(), m_lines.end(), [](const auto& l) { return l.isArticle(); });
    if (!unloaded) return true;
    return Dialogs::instance().yesNo(
        MsgIcon::Question, kTitle,
        QStringLiteral("Gli articoli dell'elenco sono già stati scaricati dal magazzino.\r\n"
                       "Per restituirli usare una quantità negativa (storno).\r\nCancellare comunque?"),
        this);
}

void Tfrm_scarico_veloce::clearSale() {
    m_lines.clear();
    m_times.clear();
    m_list->clear();
    m_total = {};
    m_cash.reset();
    m_card = false;
    m_closed = false;
    m_cashEdit->clear();
    m_change->clear();
    showTotal();
}

void Tfrm_scarico_veloce::btn_azzeraClick() {
    if (confirmClear()) clearSale();
}

void Tfrm_scarico_veloce::btn_cancellaClick() {
    if (confirmClear()) m_list->clear();
}

void Tfrm_scarico_veloce::btn_stampaClick() {
    using report::PageItem;
    report::PageModel m;
    m.title = QStringLiteral("Zelvarin - Lista movimenti di scarico veloce");
    report::Page page;
    double y = 10;
    QFont font(QStringLiteral("Courier New"), 9);
    const auto row = [&](const QString& t) {
        if (y > 280) {
            m.pages.push_back(std::move(page));
            page = {};
            y = 10;
        }
        PageItem i;
        i.rect = QRectF(10, y, 190, 5);
        i.text = t;
        i.font = font;
        page.items.push_back(i);
        y += 5;
    };
    row(m.title);
    for (int i = 0; i < m_list->count(); ++i) row(m_list->item(i)->text());
    row(QStringLiteral("Totale ") + m_total.format());
    m.pages.push_back(std::move(page));
    showPreview(m);
}

}  // namespace zel
