#include "setup/LookupTablePage.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QSet>
#include <QTableWidget>
#include <QVBoxLayout>

#include "ui/Dialogs.h"
#include "ui/Formats.h"

namespace zel {

namespace {
constexpr int kRowIdRole = Qt::UserRole + 1;

}  // namespace

LookupTablePage::LookupTablePage(Store& store, QString path, QString name, QWidget* parent)
    : QWidget(parent), m_store(store), m_path(std::move(path)) {
    setObjectName(QStringLiteral("page_") + name);
    m_grid = new QTableWidget(this);
    m_grid->setObjectName(QStringLiteral("grid_") + name);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_add = new QPushButton(QStringLiteral("&Aggiungi"), this);
    m_add->setObjectName(QStringLiteral("btn_aggiungi_") + name);
    m_delete = new QPushButton(QStringLiteral("&Elimina"), this);
    m_delete->setObjectName(QStringLiteral("btn_elimina_") + name);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_add);
    buttons->addWidget(m_delete);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_grid);
    layout->addLayout(buttons);
    connect(m_add, &QPushButton::clicked, this, [this] { btn_aggiungiClick(); });
    connect(m_delete, &QPushButton::clicked, this, [this] { btn_eliminaClick(); });
    connect(m_grid, &QTableWidget::itemChanged, this, &LookupTablePage::gridItemChanged);
}

void LookupTablePage::reload() {
    m_loading = true;
    m_grid->clear();
    m_grid->setRowCount(0);
    try {
        m_columns = m_store.columns(m_path);
        QStringList headers, names;
        for (const ColumnInfo& c : std::as_const(m_columns)) {
            headers << c.name;
            names << Store::quoteName(c.name);
        }
        m_grid->setColumnCount(static_cast<int>(m_columns.size()));
        m_grid->setHorizontalHeaderLabels(headers);
        const QList<QVariantList> rows = m_store.rows(
            QStringLiteral("SELECT rowid, %1 FROM %2 ORDER BY rowid").arg(names.join(u", "), m_store.table(m_path)));
        m_grid->setRowCount(static_cast<int>(rows.size()));
        for (int r = 0; r < rows.size(); ++r) {
            for (int c = 0; c < m_columns.size(); ++c) {
                const QVariant v = rows[r][c + 1];
                auto* item = new QTableWidgetItem(v.typeId() == QMetaType::Double ? fmt::value(v) : v.toString());
                item->setData(kRowIdRole, rows[r][0]);
                m_grid->setItem(r, c, item);
            }
        }
        setEnabled(true);
    } catch (const StoreError& e) {
        setEnabled(false);
        m_grid->setToolTip(e.message());
    }
    m_loading = false;
}

QVariant LookupTablePage::toValue(int column, const QString& text, QString* error) const {
    const QString type = m_columns[column].type.toUpper();
    const QString t = text.trimmed();
    if (type.contains(u"INT") || type.contains(u"FLOA") || type.contains(u"REAL")) {
        if (t.isEmpty()) return QVariant();
        bool ok = false;
        const double n = fmt::parseNumber(t, &ok);
        if (!ok || (type.contains(u"INT") && n != static_cast<double>(static_cast<qint64>(n)))) {
            *error = QStringLiteral("\"%1\" non è un numero valido per il campo %2").arg(t, m_columns[column].name);
            return QVariant();
        }
        return type.contains(u"INT") ? QVariant(static_cast<qlonglong>(n)) : QVariant(n);
    }
    const int max = m_columns[column].maxLength();
    if (max > 0 && text.size() > max) {
        *error = QStringLiteral("Il campo %1 accetta al massimo %2 caratteri").arg(m_columns[column].name).arg(max);
        return QVariant();
    }
    return text;
}

void LookupTablePage::gridItemChanged(QTableWidgetItem* item) {
    if (m_loading || !item) return;
    QString error;
    const QVariant value = toValue(item->column(), item->text(), &error);
    if (error.isEmpty()) {
        try {
            Transaction tx(m_store);
            m_store.exec(QStringLiteral("UPDATE %1 SET %2 = ? WHERE rowid = ?")
                             .arg(m_store.table(m_path), Store::quoteName(m_columns[item->column()].name)),
                         {value, item->data(kRowIdRole)});
            tx.commit();
        } catch (const StoreError& e) {
            error = e.message();
        }
    }
    if (!error.isEmpty()) Dialogs::instance().error(QStringLiteral("Errore"), error, this);
    reload();
}

bool LookupTablePage::btn_aggiungiClick() {
    try {
        Transaction tx(m_store);
        const QString t = m_store.table(m_path);
        bool hasId = false;
        for (const ColumnInfo& c : std::as_const(m_columns)) hasId = hasId || c.name.compare(u"ID", Qt::CaseInsensitive) == 0;
        if (hasId)
            m_store.exec(QStringLiteral("INSERT INTO %1 (ID) SELECT COALESCE(MAX(ID), 0) + 1 FROM %1").arg(t));
        else
            m_store.exec(QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(t));
        tx.commit();
    } catch (const StoreError& e) {
        Dialogs::instance().error(QStringLiteral("Errore"), e.message(), this);
        return false;
    }
    reload();
    m_grid->setCurrentCell(m_grid->rowCount() - 1, 0);
    return true;
}

bool LookupTablePage::btn_eliminaClick() {
    QSet<qlonglong> ids;
    for (const QTableWidgetItem* item : m_grid->selectedItems()) ids.insert(item->data(kRowIdRole).toLongLong());
    if (ids.isEmpty()) return false;
    if (!Dialogs::instance().yesNo(MsgIcon::Question, QStringLiteral("Conferma"),
                                   QStringLiteral("Eliminare %1 righe selezionate?").arg(ids.size()), this))
        return false;
    try {
        Transaction tx(m_store);
        const QString t = m_store.table(m_path);
        for (const qlonglong id : std::as_const(ids)) m_store.exec(QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(t), {id});
        tx.commit();
    } catch (const StoreError& e) {
        Dialogs::instance().error(QStringLiteral("Errore"), e.message(), this);
        return false;
    }
    reload();
    return true;
}

}  // namespace zel
