#include "warehouse/Tmov_check.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include "core/Clock.h"
#include "core/Paths.h"
#include "report/PreviewWindow.h"
#include "settings/Settings.h"
#include "store/Store.h"
#include "ui/Dialogs.h"
#include "ui/Formats.h"
#include "warehouse/MovementWindowModel.h"
#include "warehouse/StockOps.h"
#include "warehouse/Tqr_mov.h"

namespace zel {

namespace {

const QString kTitle = QStringLiteral("Movimenti di magazzino");

// Text criteria: edit, caption, archive column, compared upper-cased.
struct TextCriterion {
    const char16_t* edit;
    const char16_t* caption;
    const char16_t* column;
    bool upper;
};
constexpr TextCriterion kTextCriteria[] = {
    {u"edt_codice", u"Codice articolo", u"cod", true},
    {u"edt_cliente", u"Cliente", u"cod_cli", false},
    {u"edt_fornitore", u"Fornitore", u"cod_forn", false},
    {u"edt_trasporto", u"Trasporto", u"trasporto", true},
    {u"edt_ordine", u"Ordine", u"ordine", false},
    {u"edt_descrizione", u"Descrizione", u"des", true},
    {u"edt_seriale", u"Seriale", u"seriale", true},
    {u"edt_note", u"Note", u"note", true},
    {u"edt_aspetto", u"Aspetto", u"aspetto", true},
};

QLabel* total(const QString& name, QWidget* parent) {
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->setFrameShape(QFrame::StyledPanel);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    l->setMinimumWidth(100);
    return l;
}

QDate typedDate(const QString& text) {
    QDate d = QDate::fromString(text.trimmed(), QStringLiteral("dd/MM/yyyy"));
    if (!d.isValid()) d = QDate::fromString(text.trimmed(), QStringLiteral("d/M/yyyy"));
    return d;
}

}  // namespace

Tmov_check::Tmov_check(AppContext& ctx, QWidget* parent) : QDialog(parent), m_ctx(ctx) {
    setObjectName(QStringLiteral("Tmov_check"));
    setWindowTitle(QStringLiteral("Scorrimento / ricerca movimenti"));
    showPreview = [this](const report::PageModel& m) { report::PreviewWindow::run(m, 1, this); };
    buildUi();
}

Tmov_check::~Tmov_check() = default;

QLineEdit* Tmov_check::criterion(const QString& name) { return m_criteria.value(name); }

void Tmov_check::buildUi() {
    auto* root = new QVBoxLayout(this);
    auto* head = new QHBoxLayout;
    head->addWidget(new QLabel(QStringLiteral("Archivio movimenti"), this));
    m_archive = new QComboBox(this);
    m_archive->setObjectName(QStringLiteral("cmb_archivio"));
    connect(m_archive, &QComboBox::activated, this, &Tmov_check::cmb_archivioChange);
    head->addWidget(m_archive);
    head->addStretch();
    root->addLayout(head);

    auto* grid = new QGridLayout;
    int cell = 0;
    auto place = [&](const QString& caption, QWidget* w) {
        grid->addWidget(new QLabel(caption, this), cell / 4, (cell % 4) * 2);
        grid->addWidget(w, cell / 4, (cell % 4) * 2 + 1);
        ++cell;
    };
    for (const auto& [name, caption] :
         {std::pair{u"edt_data_dal", u"Dalla data"}, std::pair{u"edt_data_al", u"Alla data"}}) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QString::fromUtf16(name));
        e->setPlaceholderText(QStringLiteral("gg/mm/aaaa"));
        e->setMaxLength(10);
        m_criteria.insert(e->objectName(), e);
        place(QString::fromUtf16(caption), e);
    }
    auto* ddt = new QLineEdit(this);
    ddt->setObjectName(QStringLiteral("edt_bolla"));
    m_criteria.insert(ddt->objectName(), ddt);
    place(QStringLiteral("N° DDT"), ddt);
    for (const TextCriterion& c : kTextCriteria) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QString::fromUtf16(c.edit));
        m_criteria.insert(e->objectName(), e);
        place(QString::fromUtf16(c.caption), e);
    }
    m_cause = new QComboBox(this);
    m_cause->setObjectName(QStringLiteral("cmb_causale"));
    m_cause->setEditable(true);
    m_cause->addItems({QStringLiteral("Tutti"), QString::fromUtf16(kCauseLoad),
                       QString::fromUtf16(kCauseManualUnload),
                       QString::fromUtf16(kCauseInitialLoad), QString::fromUtf16(kCauseQuickUnload),
                       QString::fromUtf16(kCauseRestore)});
    place(QStringLiteral("Causale"), m_cause);
    m_nonZero = new QCheckBox(QStringLiteral("Solo movimenti con quantità diversa da 0"), this);
    m_nonZero->setObjectName(QStringLiteral("chk_quant_diversa_zero"));
    grid->addWidget(m_nonZero, cell / 4 + 1, 0, 1, 4);
    root->addLayout(grid);

    auto* buttons = new QHBoxLayout;
    auto button = [&](const QString& name, const QString& caption, void (Tmov_check::*slot)()) {
        auto* b = new QPushButton(
            QString(caption).replace(QStringLiteral("\r\n"), QStringLiteral("\n")), this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, slot);
        buttons->addWidget(b);
        return b;
    };
    button(QStringLiteral("btn_filtra"), QStringLiteral("Filtra"), &Tmov_check::btn_filtraClick);
    button(QStringLiteral("btn_togli_filtro"), QStringLiteral("Togli filtro"),
           &Tmov_check::btn_togli_filtroClick);
    button(QStringLiteral("btn_stampa"), QStringLiteral("Stampa elenco"),
           &Tmov_check::btn_stampaClick);
    buttons->addStretch();
    buttons->addWidget(new QLabel(QStringLiteral("DDT n°"), this));
    m_deleteDdt = new QLineEdit(this);
    m_deleteDdt->setObjectName(QStringLiteral("edt_elimina_bolla"));
    m_deleteDdt->setMaximumWidth(80);
    buttons->addWidget(m_deleteDdt);
    buttons->addWidget(new QLabel(QStringLiteral("Cliente"), this));
    m_deleteCustomer = new QLineEdit(this);
    m_deleteCustomer->setObjectName(QStringLiteral("edt_elimina_cliente"));
    m_deleteCustomer->setMaxLength(20);
    m_deleteCustomer->setMaximumWidth(120);
    buttons->addWidget(m_deleteCustomer);
    button(QStringLiteral("btn_elimina"), QStringLiteral("Elimina\r\nmovimenti"),
           &Tmov_check::btn_eliminaClick);
    root->addLayout(buttons);

    m_model = new MovementWindowModel(*m_ctx.store, this);
    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("grid_movimenti"));
    m_grid->setModel(m_model);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Fixed row heights: the view never measures rows it does not show.
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->verticalHeader()->setDefaultSectionSize(22);
    m_grid->verticalHeader()->setVisible(false);
    m_grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    root->addWidget(m_grid, 1);

    auto* totals = new QHBoxLayout;
    totals->addWidget(new QLabel(QStringLiteral("Movimenti"), this));
    m_rows = total(QStringLiteral("lbl_numero_movimenti"), this);
    totals->addWidget(m_rows);
    totals->addWidget(new QLabel(QStringLiteral("Tot. quantità"), this));
    m_quantity = total(QStringLiteral("lbl_tot_quantita"), this);
    totals->addWidget(m_quantity);
    totals->addWidget(new QLabel(QStringLiteral("Tot. peso"), this));
    m_weight = total(QStringLiteral("lbl_tot_peso"), this);
    totals->addWidget(m_weight);
    totals->addWidget(new QLabel(QStringLiteral("Tot. colli"), this));
    m_parcels = total(QStringLiteral("lbl_tot_colli"), this);
    totals->addWidget(m_parcels);
    totals->addStretch();
    auto* exit = new QPushButton(QStringLiteral("Uscita"), this);
    exit->setObjectName(QStringLiteral("btn_uscita"));
    exit->setAutoDefault(false);
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
    totals->addWidget(exit);
    root->addLayout(totals);
    resize(1000, 680);
}

void Tmov_check::FormShow() {
    const QString current = m_archive->currentText();
    m_archive->clear();
    m_archive->addItem(globalChoice());
    // Every year's movement archive in the data folder, the newest first.
    const QStringList files =
        QDir(dataDir(m_ctx.base))
            .entryList({QStringLiteral("dett_ddt*.db")}, QDir::Files, QDir::Name | QDir::Reversed);
    static const QRegularExpression year(QStringLiteral("^dett_ddt(\\d\\d)\\.db$"),
                                         QRegularExpression::CaseInsensitiveOption);
    for (const QString& f : files) {
        const auto m = year.match(f);
        if (m.hasMatch()) m_archive->addItem(QStringLiteral("20") + m.captured(1));
    }
    const int keep = m_archive->findText(current);
    m_archive->setCurrentIndex(keep < 0 ? 0 : keep);
    run(false);
}

QString Tmov_check::movementsPath() const {
    const QString choice = m_archive->currentText();
    if (choice.isEmpty() || choice == globalChoice())
        return m_ctx.settings->text(u"Path", u"Archivio DDT Detail");
    return dataFile(m_ctx.base, QStringLiteral("dett_ddt%1.db").arg(choice.right(2)));
}

QString Tmov_check::headersPath() const {
    const QString choice = m_archive->currentText();
    if (choice.isEmpty() || choice == globalChoice())
        return m_ctx.settings->text(u"Path", u"Archivio DDT Master");
    return dataFile(m_ctx.base, QStringLiteral("ddt%1.db").arg(choice.right(2)));
}

void Tmov_check::cmb_archivioChange() { run(m_filtered); }

void Tmov_check::btn_filtraClick() { run(true); }

void Tmov_check::btn_togli_filtroClick() {
    for (QLineEdit* e : std::as_const(m_criteria)) e->clear();
    m_cause->setCurrentIndex(0);
    m_nonZero->setChecked(false);
    run(false);
}

void Tmov_check::run(bool filtered) {
    QStringList where;
    QVariantList params;
    if (filtered) {
        where << QStringLiteral("id > 0");
        for (const auto& [name, op] :
             {std::pair{u"edt_data_dal", u">="}, std::pair{u"edt_data_al", u"<="}}) {
            const QString text = criterion(QString::fromUtf16(name))->text().trimmed();
            if (text.isEmpty()) continue;
            const QDate d = typedDate(text);
            if (!d.isValid()) {
                Dialogs::instance().warning(QStringLiteral("Attenzione"),
                                            QStringLiteral("Data non valida (gg/mm/aaaa): ") + text,
                                            this);
                return;
            }
            where << QStringLiteral("data %1 ?").arg(QString::fromUtf16(op));
            params << d;
        }
        const QString ddt = criterion(QStringLiteral("edt_bolla"))->text().trimmed();
        if (!ddt.isEmpty()) {
            bool ok = false;
            const qint64 n = ddt.toLongLong(&ok);
            if (!ok) {
                Dialogs::instance().warning(
                    QStringLiteral("Attenzione"),
                    QStringLiteral("Il numero del DDT deve essere un numero intero: ") + ddt, this);
                return;
            }
            where << QStringLiteral("bolla = ?");
            params << n;
        }
        for (const TextCriterion& c : kTextCriteria) {
            const QString text = criterion(QString::fromUtf16(c.edit))->text().trimmed();
            if (text.isEmpty()) continue;
            const QString column = QString::fromUtf16(c.column);
            where << (c.upper ? QStringLiteral("upper(%1) LIKE ? ESCAPE '\\'").arg(column)
                              : QStringLiteral("%1 LIKE ? ESCAPE '\\'").arg(column));
            params << QStringLiteral("%") + Store::likeLiteral(c.upper ? text.toUpper() : text) +
                          QStringLiteral("%");
        }
        const QString cause = m_cause->currentText().trimmed();
        if (!cause.isEmpty() && cause != QStringLiteral("Tutti")) {
            where << QStringLiteral("upper(causale) LIKE ? ESCAPE '\\'");
            params << QStringLiteral("%") + Store::likeLiteral(cause.toUpper()) +
                          QStringLiteral("%");
        }
        if (m_nonZero->isChecked()) where << QStringLiteral("quant <> 0");
    }
    try {
        // Every movement: the list first, its totals right after, so the window opens at once.
        m_model->select(movementsPath(), where.join(QStringLiteral(" AND ")), params, filtered);
        m_filtered = filtered;
    } catch (const StoreError& e) {
        m_model->clear();
        Dialogs::instance().error(kTitle, e.message(), this);
    }
    showTotals();
    if (!m_model->hasTotals() && m_model->rowCount() > 0)
        QTimer::singleShot(0, this, [this] {
            try {
                m_model->computeTotals();
            } catch (const StoreError& e) {
                Dialogs::instance().error(kTitle, e.message(), this);
            }
            showTotals();
        });
}

void Tmov_check::showTotals() {
    const auto& t = m_model->totals();
    if (!m_model->hasTotals() && t.rows > 0) {
        for (QLabel* l : {m_quantity, m_weight, m_parcels}) l->clear();
        m_rows->setText(fmt::number(static_cast<double>(t.rows), u"###,##0"));
        return;
    }
    m_rows->setText(fmt::number(static_cast<double>(t.rows), u"###,##0"));
    m_quantity->setText(fmt::number(t.quantity, u"###,##0.00"));
    m_weight->setText(fmt::number(t.weight, u"###,##0.00"));
    m_parcels->setText(fmt::number(t.parcels, u"###,##0"));
}

void Tmov_check::btn_stampaClick() {
    if (m_model->rowCount() == 0) {
        Dialogs::instance().info(kTitle, QStringLiteral("Nessun movimento da stampare."), this);
        return;
    }
    report::Rows rows;
    try {
        const QStringList& names = MovementWindowModel::columnNames();
        for (const QVariantList& r : m_model->rowsAt(0, m_model->rowCount())) {
            report::Row row;
            for (int i = 0; i < names.size(); ++i) row.insert(names[i], r.value(i));
            rows.append(row);
        }
    } catch (const StoreError& e) {
        Dialogs::instance().error(kTitle, e.message(), this);
        return;
    }
    showPreview(Tqr_mov::render(rows, QStringLiteral("Archivio: ") + m_archive->currentText()));
}

void Tmov_check::btn_eliminaClick() {
    Dialogs& dlg = Dialogs::instance();
    bool ok = false;
    const QString ddtText = m_deleteDdt->text().trimmed();
    const qint64 ddt = ddtText.toLongLong(&ok);
    if (!ok) {
        dlg.warning(QStringLiteral("Attenzione"),
                    QStringLiteral("Inserire il numero del DDT di cui cancellare i movimenti."),
                    this);
        return;
    }
    const QString customer = m_deleteCustomer->text().trimmed();
    // The same condition counts and deletes: that DDT, that customer (none when empty),
    // no supplier.
    const QString where =
        QStringLiteral("bolla = ? AND COALESCE(cod_cli, '') = ? AND COALESCE(cod_forn, '') = ''");
    const QVariantList params{ddt, customer};
    const QString lines = movementsPath();
    const QString headers = headersPath();
    const bool hasHeaders = Store::exists(headers);
    qint64 lineCount = 0, headerCount = 0;
    try {
        lineCount = m_ctx.store
                        ->scalar(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2")
                                     .arg(m_ctx.store->table(lines), where),
                                 params)
                        .toLongLong();
        if (hasHeaders)
            headerCount = m_ctx.store
                              ->scalar(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2")
                                           .arg(m_ctx.store->table(headers), where),
                                       params)
                              .toLongLong();
    } catch (const StoreError& e) {
        dlg.error(kTitle, e.message(), this);
        return;
    }
    const QString who = customer.isEmpty() ? QStringLiteral("(nessun cliente)") : customer;
    if (lineCount + headerCount == 0) {
        dlg.info(kTitle,
                 QStringLiteral("Nessun movimento trovato per DDT n° %1 del cliente codice %2")
                     .arg(ddt)
                     .arg(who),
                 this);
        return;
    }
    const int okCancel = int(DlgButton::Ok) | int(DlgButton::Cancel);
    if (lineCount > 1 &&
        dlg.show(
            MsgIcon::Warning, QStringLiteral("Attenzione"),
            QStringLiteral(
                "Esiste un DDT di scarico con questo numero, confermate la \r\ncancellazione dei "
                "movimenti e del DDT associato?"),
            okCancel, DlgButton::Cancel, this) != DlgButton::Ok)
        return;
    const QString question =
        QStringLiteral(
            "Confermate la cancellazione dei movimenti selezionati\n\rper DDT n° %1 del "
            "cliente codice %2\r\n(%3 righe di movimento e %4 testate DDT)")
            .arg(ddt)
            .arg(who)
            .arg(lineCount)
            .arg(headerCount);
    if (dlg.show(MsgIcon::Question, kTitle, question, okCancel, DlgButton::Cancel, this) !=
        DlgButton::Ok)
        return;

    QString failure;
    try {
        m_ctx.store->backupOnce(lines);
        if (hasHeaders) m_ctx.store->backupOnce(headers);
        const QString lt = m_ctx.store->table(lines);
        const QString ht = hasHeaders ? m_ctx.store->table(headers) : QString();
        Transaction tx(*m_ctx.store);
        m_ctx.store->exec(QStringLiteral("DELETE FROM %1 WHERE %2").arg(lt, where), params);
        const qint64 deletedLines = m_ctx.store->changes();
        qint64 deletedHeaders = 0;
        if (hasHeaders) {
            m_ctx.store->exec(QStringLiteral("DELETE FROM %1 WHERE %2").arg(ht, where), params);
            deletedHeaders = m_ctx.store->changes();
        }
        if (deletedLines != lineCount || deletedHeaders != headerCount)
            throw StoreError(QStringLiteral("Gli archivi sono cambiati dopo il conteggio."));
        tx.commit();
    } catch (const StoreError& e) {
        failure = e.message();
    }
    if (!failure.isEmpty()) {
        dlg.error(kTitle, QStringLiteral("Nessun movimento è stato cancellato.\r\n") + failure,
                  this);
        return;
    }
    run(m_filtered);
    dlg.info(kTitle,
             QStringLiteral("Cancellate %1 righe di movimento e %2 testate DDT.")
                 .arg(lineCount)
                 .arg(headerCount),
             this);
}

}  // namespace zel
