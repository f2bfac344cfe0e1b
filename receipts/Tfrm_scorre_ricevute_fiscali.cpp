#include "receipts/Tfrm_scorre_ricevute_fiscali.h"

#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/Paths.h"
#include "report/Output.h"
#include "report/PageFile.h"
#include "report/PreviewWindow.h"
#include "settings/Settings.h"
#include "store/Store.h"
#include "ui/Dialogs.h"
#include "ui/TrayNotice.h"

namespace zel {

namespace {

const QString kTitle = QStringLiteral("Ricevute fiscali");

QPushButton* button(const QString& name, const QString& text, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

QTableWidget* table(const QString& name, const QStringList& headers, QWidget* parent) {
    auto* t = new QTableWidget(0, int(headers.size()), parent);
    t->setObjectName(name);
    t->setHorizontalHeaderLabels(headers);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->setSelectionMode(QAbstractItemView::SingleSelection);
    t->verticalHeader()->hide();
    return t;
}

void setCell(QTableWidget* t, int row, int col, const QString& text, const QVariant& data = {}) {
    auto* item = new QTableWidgetItem(text);
    if (data.isValid()) item->setData(Qt::UserRole, data);
    t->setItem(row, col, item);
}

QDate storedDate(const QString& text) {
    QDate d = QDate::fromString(text.left(10), Qt::ISODate);
    if (!d.isValid()) d = QDate::fromString(text, QStringLiteral("MM/dd/yyyy"));
    return d;
}

}  // namespace

Tfrm_scorre_ricevute_fiscali::Tfrm_scorre_ricevute_fiscali(AppContext& ctx, QWidget* parent)
    : QDialog(parent), m_ctx(ctx) {
    setObjectName(QStringLiteral("Tfrm_scorre_ricevute_fiscali"));
    setWindowTitle(kTitle);
    m_receipts = table(QStringLiteral("grid_ricevute"),
                       {QStringLiteral("Numero"), QStringLiteral("Righe"), QStringLiteral("Totale"), QStringLiteral("Data"),
                        QStringLiteral("Ora")},
                       this);
    m_lines = table(QStringLiteral("grid_righe"),
                    {QStringLiteral("Descrizione"), QStringLiteral("Quantità"), QStringLiteral("Importo"),
                     QStringLiteral("IVA %"), QStringLiteral("IVA")},
                    this);
    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("lbl_conta"));
    m_totals = new QLabel(this);
    m_totals->setObjectName(QStringLiteral("lbl_totali"));
    auto* nav = new QHBoxLayout;
    auto* first = button(QStringLiteral("btn_inizio"), QStringLiteral("Inizio"), this);
    auto* prev = button(QStringLiteral("btn_indietro"), QStringLiteral("Indietro"), this);
    auto* next = button(QStringLiteral("btn_avanti"), QStringLiteral("Avanti"), this);
    auto* last = button(QStringLiteral("btn_fine"), QStringLiteral("Fine"), this);
    auto* reprint = button(QStringLiteral("btn_ristampa"), QStringLiteral("Ristampa Ricevuta"), this);
    auto* list = button(QStringLiteral("btn_stampa_elenco"), QStringLiteral("Stampa elenco"), this);
    auto* open = button(QStringLiteral("btn_apri"), QStringLiteral("Apri copia salvata"), this);
    auto* quit = button(QStringLiteral("btn_uscita"), QStringLiteral("Uscita"), this);
    for (auto* b : {first, prev, next, last, reprint, list, open, quit}) nav->addWidget(b);
    auto* main = new QVBoxLayout(this);
    main->addLayout(nav);
    main->addWidget(m_count);
    main->addWidget(m_receipts, 2);
    main->addWidget(m_totals);
    main->addWidget(m_lines, 1);

    const auto go = [this](int delta, bool absolute) {
        const int n = m_receipts->rowCount();
        if (n == 0) return;
        const int row = absolute ? (delta < 0 ? 0 : n - 1) : qBound(0, m_receipts->currentRow() + delta, n - 1);
        m_receipts->selectRow(row);
    };
    connect(first, &QPushButton::clicked, this, [go] { go(-1, true); });
    connect(last, &QPushButton::clicked, this, [go] { go(1, true); });
    connect(prev, &QPushButton::clicked, this, [go] { go(-1, false); });
    connect(next, &QPushButton::clicked, this, [go] { go(1, false); });
    connect(quit, &QPushButton::clicked, this, &QDialog::reject);
    connect(reprint, &QPushButton::clicked, this, [this] { btn_ristampaClick(); });
    connect(list, &QPushButton::clicked, this, [this] { btn_stampa_elencoClick(); });
    connect(open, &QPushButton::clicked, this, [this] { btn_apriClick(); });
    connect(m_receipts, &QTableWidget::currentCellChanged, this, [this] { loadLines(); });

    showPreview = [this](const report::PageModel& m) { report::PreviewWindow::run(m, 1, this); };
    print = [](const report::PageModel& m) {
        QPrinter printer(QPrinter::HighResolution);
        return report::printModel(m, printer, 1);
    };
    chooseSavedCopy = [this] {
        return QFileDialog::getOpenFileName(this, QStringLiteral("Apri copia salvata"),
                                            QDir(m_ctx.base).filePath(QString::fromUtf16(kReceiptFolder)),
                                            QStringLiteral("Ricevute salvate (*.qrp)"));
    };
}

Tfrm_scorre_ricevute_fiscali::~Tfrm_scorre_ricevute_fiscali() = default;

QString Tfrm_scorre_ricevute_fiscali::path() const { return m_ctx.settings->text(u"Path", u"Archivio ricevute fiscali"); }

void Tfrm_scorre_ricevute_fiscali::FormShow() { loadReceipts(); }

void Tfrm_scorre_ricevute_fiscali::loadReceipts() {
    m_receipts->setRowCount(0);
    try {
        // One entry per number: rows of one receipt never split even if their times differ.
        const auto rows = m_ctx.store->rows(
            QStringLiteral("SELECT NUMERO, COUNT(*), SUM(IMPORTO), MIN(DATA), MIN(ORA) FROM %1 "
                           "GROUP BY NUMERO ORDER BY NUMERO")
                .arg(m_ctx.store->table(path())));
        m_receipts->setRowCount(int(rows.size()));
        for (int i = 0; i < rows.size(); ++i) {
            const auto& r = rows[i];
            setCell(m_receipts, i, 0, r[0].toString(), r[0]);
            setCell(m_receipts, i, 1, r[1].toString());
            setCell(m_receipts, i, 2, Money::fromDouble(r[2].toDouble()).format());
            setCell(m_receipts, i, 3, storedDate(r[3].toString()).toString(QStringLiteral("dd/MM/yyyy")));
            setCell(m_receipts, i, 4, r[4].toString());
        }
    } catch (const StoreError& e) {
        Dialogs::instance().error(kTitle, e.message(), this);
    }
    m_count->setText(QStringLiteral("Ricevute: %1").arg(m_receipts->rowCount()));
    if (m_receipts->rowCount() > 0)
        m_receipts->selectRow(m_receipts->rowCount() - 1);
    else
        loadLines();
}

QString Tfrm_scorre_ricevute_fiscali::yearOf(const QString& anno, const QString& data) const {
    if (anno.trimmed().size() == 2) return anno.trimmed();
    const QDate d = storedDate(data);
    if (d.isValid()) return d.toString(QStringLiteral("yy"));
    return fileStem(path()).right(2);
}

ReceiptDocument Tfrm_scorre_ricevute_fiscali::currentReceipt() const {
    ReceiptDocument doc;
    const int row = m_receipts->currentRow();
    if (row < 0) return doc;
    doc.numero = m_receipts->item(row, 0)->data(Qt::UserRole).toLongLong();
    const auto rows = m_ctx.store->rows(
        QStringLiteral("SELECT DES, QUANT, IMPORTO, COD_IVA1, IVA1, ANNO, DATA, ORA FROM %1 WHERE NUMERO = ? ORDER BY ID")
            .arg(m_ctx.store->table(path())),
        {doc.numero});
    for (const auto& r : rows) {
        doc.lines.append({r[0].toString(), r[1].toDouble(), Money::fromDouble(r[2].toDouble()),
                          VatRate::fromDouble(r[3].toDouble()), Money::fromDouble(r[4].toDouble())});
    }
    if (!rows.isEmpty()) {
        doc.yy = yearOf(rows[0][5].toString(), rows[0][6].toString());
        doc.date = storedDate(rows[0][6].toString());
        doc.ora = rows[0][7].toString();
    }
    return doc;
}

void Tfrm_scorre_ricevute_fiscali::loadLines() {
    m_lines->setRowCount(0);
    m_totals->clear();
    try {
        const ReceiptDocument doc = currentReceipt();
        m_lines->setRowCount(int(doc.lines.size()));
        for (int i = 0; i < doc.lines.size(); ++i) {
            const auto& l = doc.lines[i];
            setCell(m_lines, i, 0, l.des);
            setCell(m_lines, i, 1, QLocale(QLocale::Italian).toString(l.quantity));
            setCell(m_lines, i, 2, l.importo.format());
            setCell(m_lines, i, 3, l.rate.text());
            setCell(m_lines, i, 4, l.iva.format());
        }
        if (doc.numero == 0) return;
        QStringList parts{QStringLiteral("Totale ") + doc.total().format()};
        for (const auto& v : receiptVatRows(doc.lines, VatRates(*m_ctx.settings)))
            parts.append(QStringLiteral("IVA ") + v.rateText + QStringLiteral(" ") + v.amount);
        m_totals->setText(parts.join(QStringLiteral("   ")));
    } catch (const StoreError& e) {
        Dialogs::instance().error(kTitle, e.message(), this);
    }
}

void Tfrm_scorre_ricevute_fiscali::btn_ristampaClick() {
    ReceiptDocument doc;
    try {
        doc = currentReceipt();
    } catch (const StoreError& e) {
        Dialogs::instance().error(kTitle, e.message(), this);
        return;
    }
    if (doc.numero == 0 || doc.lines.isEmpty()) return;
    const auto model = renderReceipt(doc, VatRates(*m_ctx.settings));
    if (!print(model)) {
        Dialogs::instance().warning(kTitle, QStringLiteral("Stampa della ricevuta non eseguita"), this);
        return;
    }
    const QString folder = QDir(m_ctx.base).filePath(QString::fromUtf16(kReceiptFolder));
    QString error;
    if (!QDir().mkpath(folder)) {
        error = QStringLiteral("Non riesco a creare ") + folder;
    } else if (!report::savePageFile(model, QDir(folder).filePath(receiptFileName(doc.numero, doc.yy)), &error)) {
        error = QStringLiteral("Copia della ricevuta non salvata in ") +
                QDir(folder).filePath(receiptFileName(doc.numero, doc.yy)) + QStringLiteral("\r\n") + error;
    }
    if (!error.isEmpty()) Dialogs::instance().error(kTitle, error, this);
    TrayNotice::instance().show(QStringLiteral("Zelvarin: Shop"), QStringLiteral("Stampa Ricevuta fiscale terminata! "),
                                TrayNotice::kStandardSeconds, TrayNotice::Kind::Info);
}

void Tfrm_scorre_ricevute_fiscali::btn_apriClick() {
    const QString file = chooseSavedCopy();
    if (file.isEmpty()) return;
    QString error;
    const auto model = report::loadPageFile(file, &error);
    if (!model) {
        Dialogs::instance().error(kTitle, error, this);
        return;
    }
    showPreview(*model);
}

void Tfrm_scorre_ricevute_fiscali::btn_stampa_elencoClick() {
    using report::PageItem;
    report::PageModel m;
    m.title = QStringLiteral("Elenco ricevute fiscali");
    try {
        const auto rows = m_ctx.store->rows(
            QStringLiteral("SELECT NUMERO, DATA, ORA, DES, QUANT, IMPORTO, COD_IVA1, IVA1 FROM %1 ORDER BY NUMERO, ID")
                .arg(m_ctx.store->table(path())));
        report::Page page;
        double y = 10;
        QFont font(QStringLiteral("Courier New"), 8);
        const auto cell = [&](double x, double w, const QString& t, bool right = false) {
            PageItem i;
            i.rect = QRectF(x, y, w, 4.5);
            i.text = t;
            i.font = font;
            i.alignment = (right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop;
            page.items.push_back(i);
        };
        cell(10, 190, m.title);
        y += 8;
        Money total;
        for (const auto& r : rows) {
            if (y > 280) {
                m.pages.push_back(std::move(page));
                page = {};
                y = 10;
            }
            cell(10, 15, r[0].toString(), true);
            cell(28, 22, storedDate(r[1].toString()).toString(QStringLiteral("dd/MM/yyyy")));
            cell(50, 16, r[2].toString());
            cell(66, 80, r[3].toString());
            cell(146, 12, QLocale(QLocale::Italian).toString(r[4].toDouble()), true);
            cell(158, 22, Money::fromDouble(r[5].toDouble()).format(), true);
            cell(180, 20, Money::fromDouble(r[7].toDouble()).format(), true);
            total += Money::fromDouble(r[5].toDouble());
            y += 4.5;
        }
        cell(10, 140, QStringLiteral("Totale"));
        cell(158, 22, total.format(), true);
        m.pages.push_back(std::move(page));
    } catch (const StoreError& e) {
        Dialogs::instance().error(kTitle, e.message(), this);
        return;
    }
    showPreview(m);
}

}  // namespace zel
