#include "quotes/Tfrm_scorre_prev.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "documents/VatRates.h"
#include "settings/Settings.h"
#include "store/Store.h"
#include "report/PreviewWindow.h"
#include "ui/Dialogs.h"

namespace zel {

namespace {

const QString kTitle = QStringLiteral("Scorrimento preventivi");

enum LineColumn { kCod, kDes, kQuant, kPrezzo, kSconto, kIva, kImporto, kLineColumns };

QString plain(double v) { return QString::number(v, 'f', 2).replace(QLatin1Char('.'), QLatin1Char(',')); }

std::optional<double> typed(const QString& text) {
    const auto v = decimal::parse(text, 6);
    if (!v) return std::nullopt;
    return static_cast<double>(*v) / 1e6;
}

}  // namespace

Tfrm_scorre_prev::Tfrm_scorre_prev(AppContext& ctx, QWidget* parent) : QDialog(parent), m_ctx(ctx) {
    setObjectName(QStringLiteral("Tfrm_scorre_prev"));
    setWindowTitle(QStringLiteral("Zelvarin - Scorrimento preventivi"));
    auto* v = new QVBoxLayout(this);
    auto* find = new QHBoxLayout;
    m_find = new QLineEdit;
    m_find->setObjectName(QStringLiteral("edt_cerca_num"));
    find->addWidget(m_find);
    auto button = [this](QBoxLayout* row, const QString& name, const QString& text,
                         void (Tfrm_scorre_prev::*slot)()) {
        auto* b = new QPushButton(text);
        b->setObjectName(name);
        connect(b, &QPushButton::clicked, this, [this, slot] { (this->*slot)(); });
        row->addWidget(b);
    };
    button(find, QStringLiteral("btn_cerca_num"), QStringLiteral("Cerca num."),
           &Tfrm_scorre_prev::btn_cerca_numClick);
    v->addLayout(find);
    m_master = new QTableWidget(0, 4);
    m_master->setObjectName(QStringLiteral("grid_preventivi"));
    m_master->setHorizontalHeaderLabels({QStringLiteral("Numero"), QStringLiteral("Data"),
                                         QStringLiteral("Cliente"), QStringLiteral("Totale")});
    m_master->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_master->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_master->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(m_master, &QTableWidget::currentCellChanged, this, [this] { showQuote(); });
    v->addWidget(m_master);
    m_lines = new QTableWidget(0, kLineColumns);
    m_lines->setObjectName(QStringLiteral("grid_dettagli"));
    m_lines->setHorizontalHeaderLabels({QStringLiteral("Codice"), QStringLiteral("Descrizione"),
                                        QStringLiteral("Quantità"), QStringLiteral("Prezzo"),
                                        QStringLiteral("Sconto"), QStringLiteral("IVA"),
                                        QStringLiteral("Importo")});
    connect(m_lines, &QTableWidget::cellChanged, this,
            [this](int row, int column) { lineEdited(row, column); });
    v->addWidget(m_lines);
    auto* figures = new QFormLayout;
    for (const auto& [name, label] :
         {std::pair{u"lbl_imponibile", u"Imponibile"}, std::pair{u"lbl_iva1", u"Iva 1"},
          std::pair{u"lbl_iva2", u"Iva 2"}, std::pair{u"lbl_iva3", u"Iva 3"},
          std::pair{u"lbl_iva_tot", u"Totale IVA"}, std::pair{u"lbl_totale", u"Totale"}}) {
        auto* l = new QLabel;
        l->setObjectName(QString::fromUtf16(name));
        m_figures.insert(l->objectName(), l);
        figures->addRow(QString::fromUtf16(label), l);
    }
    v->addLayout(figures);
    auto* row = new QHBoxLayout;
    button(row, QStringLiteral("btn_aggiorna"), QStringLiteral("Aggiorna e Ricalcola"),
           &Tfrm_scorre_prev::btn_aggiornaClick);
    button(row, QStringLiteral("btn_cancella_riga"), QStringLiteral("Cancella riga"),
           &Tfrm_scorre_prev::btn_cancella_rigaClick);
    button(row, QStringLiteral("btn_cancella_preventivo"), QStringLiteral("Cancella preventivo"),
           &Tfrm_scorre_prev::btn_cancella_preventivoClick);
    button(row, QStringLiteral("btn_duplica"), QStringLiteral("Duplica preventivo"),
           &Tfrm_scorre_prev::btn_duplicaClick);
    m_printModel = new QComboBox;
    m_printModel->setObjectName(QStringLiteral("cmb_modello"));
    m_printModel->addItems({QStringLiteral("Predefinito"), QStringLiteral("Semplice")});
    row->addWidget(m_printModel);
    button(row, QStringLiteral("btn_stampa"), QStringLiteral("Stampa\r\nPreventivo"),
           &Tfrm_scorre_prev::btn_stampaClick);
    button(row, QStringLiteral("btn_crea_fattura"), QStringLiteral("Crea fattura\r\ndal preventivo"),
           &Tfrm_scorre_prev::btn_crea_fatturaClick);
    v->addLayout(row);
}

Tfrm_scorre_prev::~Tfrm_scorre_prev() = default;

QuoteArchive& Tfrm_scorre_prev::archive() {
    if (!m_archive) m_archive = std::make_unique<QuoteArchive>(*m_ctx.store, *m_ctx.settings);
    return *m_archive;
}

void Tfrm_scorre_prev::prepare() { loadQuotes(0); }

qint64 Tfrm_scorre_prev::current() const {
    const int r = m_master->currentRow();
    if (r < 0 || !m_master->item(r, 0)) return 0;
    return m_master->item(r, 0)->text().toLongLong();
}

void Tfrm_scorre_prev::loadQuotes(qint64 select) {
    const QString header = archive().archives().header;
    QList<QVariantList> rows;
    if (Store::exists(header))
        rows = m_ctx.store->rows(
            QStringLiteral("SELECT fattura, data, nome_cli, tot_fatt FROM %1 ORDER BY fattura")
                .arg(m_ctx.store->table(header)));
    m_master->blockSignals(true);
    m_master->setRowCount(static_cast<int>(rows.size()));
    int target = static_cast<int>(rows.size()) - 1;
    for (int i = 0; i < rows.size(); ++i) {
        const QVariantList& r = rows[i];
        m_master->setItem(i, 0, new QTableWidgetItem(r[0].toString()));
        m_master->setItem(i, 1, new QTableWidgetItem(r[1].toDate().toString(QStringLiteral("dd/MM/yyyy"))));
        m_master->setItem(i, 2, new QTableWidgetItem(r[2].toString()));
        m_master->setItem(i, 3, new QTableWidgetItem(Money::fromDouble(r[3].toDouble()).format()));
        if (select != 0 && r[0].toLongLong() == select) target = i;
    }
    m_master->blockSignals(false);
    m_master->setCurrentCell(target, 0);
    showQuote();
}

void Tfrm_scorre_prev::showFigures(const QuoteFigures& f) {
    m_figures[QStringLiteral("lbl_imponibile")]->setText(f.taxable.format());
    for (int i = 0; i < 3; ++i)
        m_figures[QStringLiteral("lbl_iva%1").arg(i + 1)]->setText(f.vat[i].format());
    m_figures[QStringLiteral("lbl_iva_tot")]->setText(f.vatTotal.format());
    m_figures[QStringLiteral("lbl_totale")]->setText(f.total.format());
    const int r = m_master->currentRow();
    if (r >= 0 && m_master->item(r, 3)) m_master->item(r, 3)->setText(f.total.format());
}

void Tfrm_scorre_prev::showQuote() {
    const qint64 n = current();
    m_filling = true;
    m_shown = n ? archive().linesOf(n) : QList<QuoteLine>();
    m_lines->setRowCount(static_cast<int>(m_shown.size()));
    for (int i = 0; i < m_shown.size(); ++i) {
        const QuoteLine& l = m_shown[i];
        const QStringList cells = {l.cod, l.des, plain(l.quant), plain(l.prezzo), plain(l.sconto),
                                   VatRate::fromDouble(l.percIva).text(), l.amount().format()};
        for (int c = 0; c < kLineColumns; ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            if (c == kImporto) item->setFlags(item->flags() & ~Qt::ItemIsEditable);
            m_lines->setItem(i, c, item);
        }
    }
    m_filling = false;
    for (QLabel* l : std::as_const(m_figures)) l->clear();
    if (n)
        if (const auto f = archive().storedFigures(n)) showFigures(*f);
}

void Tfrm_scorre_prev::lineEdited(int row, int column) {
    if (m_filling || row < 0 || row >= m_shown.size()) return;
    QuoteLine l = m_shown[row];
    const QString text = m_lines->item(row, column)->text();
    QString refusal;
    if (column == kCod) {
        l.cod = text;
    } else if (column == kDes) {
        l.des = text;
    } else if (column == kIva) {
        const auto rate = VatRate::parse(text);
        const VatRates rates(*m_ctx.settings);
        if (!rate)
            refusal = QStringLiteral("Aliquota IVA non valida: %1").arg(text);
        else if (rate->hundredths() != 0 && !rates.isConfigured(*rate))
            refusal = VatRates::notConfiguredMessage(QStringLiteral("riga %1").arg(row + 1), *rate);
        else
            l.percIva = rate->percent();
    } else {
        const auto v = typed(text);
        if (!v)
            refusal = QStringLiteral("Valore non valido: %1").arg(text);
        else if (column == kQuant)
            l.quant = *v;
        else if (column == kPrezzo)
            l.prezzo = *v;
        else if (column == kSconto)
            l.sconto = *v;
    }
    if (refusal.isEmpty()) {
        try {
            showFigures(archive().updateLine(current(), l));
            m_shown[row] = l;
        } catch (const StoreError& e) {
            refusal = QuoteArchive::writeErrorMessage(e.message());
        }
    }
    if (!refusal.isEmpty()) Dialogs::instance().warning(kTitle, refusal, this);
    // What is shown is what is stored; the items stay, as their own signal is running.
    const QuoteLine& shown = m_shown[row];
    const QStringList cells = {shown.cod, shown.des, plain(shown.quant), plain(shown.prezzo),
                               plain(shown.sconto), VatRate::fromDouble(shown.percIva).text(),
                               shown.amount().format()};
    m_filling = true;
    for (int c = 0; c < kLineColumns; ++c)
        if (QTableWidgetItem* item = m_lines->item(row, c)) item->setText(cells[c]);
    m_filling = false;
}

void Tfrm_scorre_prev::btn_aggiornaClick() {
    const qint64 n = current();
    if (!n) return;
    try {
        archive().recompute(n);
    } catch (const StoreError& e) {
        Dialogs::instance().error(kTitle, QuoteArchive::writeErrorMessage(e.message()), this);
    }
    showQuote();
}

void Tfrm_scorre_prev::btn_cerca_numClick() {
    bool ok = false;
    const qint64 n = m_find->text().trimmed().toLongLong(&ok);
    for (int r = 0; ok && r < m_master->rowCount(); ++r)
        if (m_master->item(r, 0)->text().toLongLong() == n) {
            m_master->setCurrentCell(r, 0);
            return;
        }
    Dialogs::instance().info(kTitle, QStringLiteral("Preventivo non trovato"), this);
}

void Tfrm_scorre_prev::btn_cancella_rigaClick() {
    const int row = m_lines->currentRow();
    if (!current() || row < 0 || row >= m_shown.size()) return;
    try {
        archive().removeLine(current(), m_shown[row].rowid);
    } catch (const StoreError& e) {
        Dialogs::instance().error(kTitle, QuoteArchive::writeErrorMessage(e.message()), this);
    }
    showQuote();
}

void Tfrm_scorre_prev::btn_cancella_preventivoClick() {
    const qint64 n = current();
    if (!n) return;
    if (!Dialogs::instance().yesNo(MsgIcon::Question, kTitle,
                                   QStringLiteral("Cancellare il preventivo n. %1?").arg(n), this))
        return;
    try {
        archive().removeQuote(n);
    } catch (const StoreError& e) {
        Dialogs::instance().error(kTitle, QuoteArchive::writeErrorMessage(e.message()), this);
    }
    loadQuotes(0);
}

void Tfrm_scorre_prev::btn_duplicaClick() {
    const qint64 n = current();
    if (!n) return;
    try {
        loadQuotes(archive().duplicate(n));
    } catch (const StoreError& e) {
        Dialogs::instance().error(kTitle, QuoteArchive::writeErrorMessage(e.message()), this);
    }
}

void Tfrm_scorre_prev::btn_stampaClick() {
    const qint64 n = current();
    if (!n) return;
    std::optional<QuotePrintData> data;
    try {
        data = Trpt_preventivo::load(*m_ctx.store, *m_ctx.settings, n);
    } catch (const StoreError& e) {
        Dialogs::instance().error(kTitle, e.message(), this);
        return;
    }
    if (!data) {
        Dialogs::instance().warning(kTitle, Trpt_preventivo::missingMessage(n), this);
        return;
    }
    if (data->customer.isEmpty())
        Dialogs::instance().warning(
            QStringLiteral("Codice cliente non trovato"),
            QStringLiteral("Non ho trovato il cliente con codice %1\n\rVerranno utilizzati i dati "
                           "inseriti in preventivo")
                .arg(data->header.value(QStringLiteral("COD_CLI")).toString().trimmed()),
            this);
    const auto model = m_printModel->currentIndex() == 1 ? Trpt_preventivo::Model::Simple
                                                         : Trpt_preventivo::Model::Full;
    const QuotePrintOptions o;
    if (showPrint) {
        showPrint(*data, o, model);
        return;
    }
    report::PreviewWindow::run(Trpt_preventivo(*m_ctx.settings, model).render(*data, o), o.copies,
                               this);
}

void Tfrm_scorre_prev::btn_crea_fatturaClick() {
    const qint64 n = current();
    if (!n || !openInvoiceFromQuote) return;
    const auto r = m_ctx.store->rows(QStringLiteral("SELECT cod_cli FROM %1 WHERE fattura = ? LIMIT 1")
                                         .arg(m_ctx.store->table(archive().archives().header)),
                                     {n});
    openInvoiceFromQuote(r.isEmpty() ? QString() : r[0][0].toString().trimmed(), n);
    loadQuotes(n);
}

}  // namespace zel
