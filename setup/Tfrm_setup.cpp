#include "setup/Tfrm_setup.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QSet>
#include <QSpinBox>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "core/Clock.h"
#include "core/Paths.h"
#include "settings/Settings.h"
#include "setup/LookupTablePage.h"
#include "store/ArchiveMaintenance.h"
#include "ui/Dialogs.h"

namespace zel {

namespace {

struct LookupTable {
    const char16_t* table;
    const char16_t* title;
};
constexpr LookupTable kLookups[] = {
    {u"note_fattura", u"Note fattura"},      {u"note_ddt", u"Note DDT"},
    {u"elenco_banche", u"Elenco banche"},    {u"unita_misura", u"Unità di misura"},
    {u"gruppi", u"Gruppi"},                  {u"marche", u"Marche"},
    {u"cat_merc", u"Categorie merceologiche"}, {u"cat_fisc", u"Categorie fiscali"},
    {u"anag_vettori", u"Vettori"},           {u"valute", u"Valute"},
    {u"piano_conti", u"Piano dei conti"},    {u"sottoconti", u"Sottoconti"},
    {u"voci_agg", u"Voci aggiuntive"},
};

QString pageTitle(QStringView file, QStringView section) {
    const QString s = section.trimmed().toString();
    return file == u"zelvarin.ini" ? s : s + QStringLiteral(" (") + file.toString() + QLatin1Char(')');
}

// A key is shown when it has a control; a read-only key only when something writes its value.
bool shown(const SettingDef& d) { return !d.control.isEmpty() && d.valueFrom.isEmpty(); }

bool writtenBack(const SettingDef& d) {
    if (d.access != Access::ReadOnly) return true;
    static const QSet<QString> sources = [] {
        QSet<QString> out;
        for (const SettingDef& other : settingsCatalogue())
            if (!other.valueFrom.isEmpty()) out.insert(other.valueFrom.toString());
        return out;
    }();
    return sources.contains(d.section.toString() + QLatin1Char('|') + d.key.toString());
}

}  // namespace

Tfrm_setup::Tfrm_setup(AppContext& ctx, QWidget* parent) : QDialog(parent), m_ctx(ctx) {
    setObjectName(QStringLiteral("Tfrm_setup"));
    setWindowTitle(QStringLiteral("Setup - Configurazione programma"));
    buildUi();
}

void Tfrm_setup::buildUi() {
    m_pages = new QListWidget(this);
    m_pages->setObjectName(QStringLiteral("list_pagine"));
    m_pages->setMaximumWidth(260);
    m_stack = new QStackedWidget(this);
    m_stack->setObjectName(QStringLiteral("page_setup"));
    auto addPage = [this](const QString& title, QWidget* page) {
        m_pages->addItem(title);
        m_stack->addWidget(page);
    };

    QStringList seen;
    for (const SettingDef& d : settingsCatalogue()) {
        const QString title = pageTitle(d.file, d.section);
        if (!shown(d) || seen.contains(title)) continue;
        seen << title;
        addPage(title, buildSettingsPage(d.file.toString(), d.section.toString()));
    }
    addPage(QStringLiteral("Archivi"), buildToolsPage());
    for (const LookupTable& l : kLookups) {
        const QString table = QString::fromUtf16(l.table);
        auto* page = new LookupTablePage(*m_ctx.store, dataFile(m_ctx.base, table + QStringLiteral(".db")), table, this);
        m_lookups.insert(table, page);
        addPage(QString::fromUtf16(l.title), page);
    }
    connect(m_pages, &QListWidget::currentRowChanged, m_stack, &QStackedWidget::setCurrentIndex);

    auto* confirm = new QPushButton(Dialogs::displayText(QStringLiteral("Conferma\r\nSetup")), this);
    confirm->setObjectName(QStringLiteral("btn_conferma_setup"));
    auto* cancel = new QPushButton(QStringLiteral("Annulla"), this);
    cancel->setObjectName(QStringLiteral("btn_annulla"));
    connect(confirm, &QPushButton::clicked, this, [this] {
        if (btn_conferma_setupClick()) accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(confirm);
    buttons->addWidget(cancel);
    auto* body = new QHBoxLayout;
    body->addWidget(m_pages);
    body->addWidget(m_stack, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body, 1);
    layout->addLayout(buttons);
    resize(1000, 700);
    m_pages->setCurrentRow(0);
}

QWidget* Tfrm_setup::buildSettingsPage(const QString& file, const QString& section) {
    auto* inner = new QWidget;
    auto* form = new QFormLayout(inner);
    const auto cat = settingsCatalogue();
    for (size_t i = 0; i < cat.size(); ++i) {
        const SettingDef& d = cat[i];
        if (d.file != file || d.section != section || !shown(d)) continue;
        QWidget* control = nullptr;
        const QString label = d.key.trimmed().toString();
        switch (d.type) {
            case SettingType::Bool: {
                auto* c = new QCheckBox(label);
                control = c;
                form->addRow(QString(), c);
                break;
            }
            case SettingType::Int: {
                auto* c = new QSpinBox;
                c->setRange(-1, 999999999);
                control = c;
                form->addRow(label, c);
                break;
            }
            case SettingType::Number: {
                auto* c = new QDoubleSpinBox;
                c->setRange(-999999999, 999999999);
                c->setDecimals(2);
                control = c;
                form->addRow(label, c);
                break;
            }
            case SettingType::Text: {
                auto* c = new QLineEdit;
                if (d.scrambled) c->setEchoMode(QLineEdit::Password);
                control = c;
                form->addRow(label, c);
                break;
            }
        }
        control->setObjectName(d.control.toString());
        control->setEnabled(writtenBack(d));
        m_controls.insert(static_cast<int>(i), control);
    }
    auto* scroll = new QScrollArea;
    scroll->setWidgetResizable(true);
    scroll->setWidget(inner);
    return scroll;
}

QWidget* Tfrm_setup::buildToolsPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* help = new QLabel(QStringLiteral(
        "Il nome di un archivio per anno è formato dal tipo seguito dalle due cifre dell'anno "
        "(per esempio ddt26.db). Per passare a un nuovo anno basta cambiare la parte finale del nome; "
        "un archivio che non si trova viene creato vuoto al prossimo avvio."));
    help->setWordWrap(true);
    auto* year = new QPushButton(Dialogs::displayText(QStringLiteral("Aggiorna \r\nal corrente\r\nanno")));
    year->setObjectName(QStringLiteral("btn_aggiorna_anno"));
    year->setToolTip(QStringLiteral("Aggiorna i nomi degli archivi all'anno corrente"));
    connect(year, &QPushButton::clicked, this, &Tfrm_setup::btn_aggiorna_annoClick);

    m_renumberFile = new QLineEdit;
    m_renumberFile->setObjectName(QStringLiteral("edt_file_ricostruzione"));
    auto* renumber = new QPushButton(Dialogs::displayText(QStringLiteral("Conferma\r\nricostruzione")));
    renumber->setObjectName(QStringLiteral("btn_ricostruzione"));
    connect(renumber, &QPushButton::clicked, this, &Tfrm_setup::btn_ricostruzioneClick);
    m_progress = new QProgressBar;
    m_progress->setObjectName(QStringLiteral("ProgressBar_ricostruzione"));
    m_progress->setValue(0);

    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Archivio da rinumerare:")));
    row->addWidget(m_renumberFile, 1);
    row->addWidget(renumber);
    layout->addWidget(help);
    layout->addWidget(year, 0, Qt::AlignLeft);
    layout->addLayout(row);
    layout->addWidget(m_progress);
    layout->addStretch();
    return page;
}

void Tfrm_setup::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    FormShow();
}

void Tfrm_setup::FormShow() {
    writeControls(*m_ctx.settings);
    for (LookupTablePage* p : std::as_const(m_lookups)) p->reload();
}

void Tfrm_setup::writeControls(const Settings& from) {
    for (auto it = m_controls.cbegin(); it != m_controls.cend(); ++it) {
        const QVariant v = from.valueAt(it.key());
        if (auto* c = qobject_cast<QCheckBox*>(it.value())) c->setChecked(v.toBool());
        else if (auto* s = qobject_cast<QSpinBox*>(it.value())) s->setValue(v.toInt());
        else if (auto* d = qobject_cast<QDoubleSpinBox*>(it.value())) {
            // As many decimals as the value has, so that confirming does not round it.
            const QString text = QString::number(v.toDouble(), 'f', 10);
            const qsizetype dot = text.indexOf(u'.');
            qsizetype last = text.size() - 1;
            while (last > dot && text[last] == u'0') --last;
            d->setDecimals(int(qMax<qsizetype>(2, last - dot)));
            d->setValue(v.toDouble());
        }
        else if (auto* l = qobject_cast<QLineEdit*>(it.value())) l->setText(v.toString());
    }
}

void Tfrm_setup::readControls(Settings& into) const {
    for (auto it = m_controls.cbegin(); it != m_controls.cend(); ++it) {
        QVariant v;
        if (auto* c = qobject_cast<QCheckBox*>(it.value())) v = c->isChecked();
        else if (auto* s = qobject_cast<QSpinBox*>(it.value())) v = s->value();
        else if (auto* d = qobject_cast<QDoubleSpinBox*>(it.value())) v = d->value();
        else if (auto* l = qobject_cast<QLineEdit*>(it.value())) v = l->text();
        into.setValueAt(it.key(), v);
    }
}

bool Tfrm_setup::btn_conferma_setupClick() {
    Settings edited = *m_ctx.settings;
    readControls(edited);
    QString error;
    if (!edited.save(&error)) {
        Dialogs::instance().error(QStringLiteral("Errore"),
                                  QStringLiteral("Impossibile salvare la configurazione: i file delle impostazioni "
                                                 "sono rimasti come erano.\r\n") +
                                      error,
                                  this);
        return false;
    }
    *m_ctx.settings = edited;
    if (onApplied) onApplied();
    return true;
}

void Tfrm_setup::btn_ricostruzioneClick() {
    const QString path = m_renumberFile->text().trimmed();
    if (path.isEmpty() || !Store::exists(path)) {
        Dialogs::instance().warning(QStringLiteral("Ricostruzione"),
                                    QStringLiteral("Archivio non trovato: ") + path, this);
        return;
    }
    try {
        m_progress->setValue(0);
        Transaction tx(*m_ctx.store);
        const qint64 rows = renumberIds(*m_ctx.store, path);
        tx.commit();
        m_progress->setMaximum(static_cast<int>(std::max<qint64>(rows, 1)));
        m_progress->setValue(m_progress->maximum());
    } catch (const StoreError& e) {
        Dialogs::instance().error(QStringLiteral("Ricostruzione"), QStringLiteral("Errore ") + e.message(), this);
    }
}

void Tfrm_setup::btn_aggiorna_annoClick() {
    Settings edited = *m_ctx.settings;
    readControls(edited);
    switchToCurrentYear(edited, Clock::yearSuffix());
    writeControls(edited);
    Dialogs::instance().info(QString(), yearSwitchMessage(), this);
}

bool Tfrm_setup::showPage(const QString& title) {
    const auto found = m_pages->findItems(title, Qt::MatchExactly);
    if (found.isEmpty()) return false;
    m_pages->setCurrentItem(found.first());
    return true;
}

QStringList Tfrm_setup::pageTitles() const {
    QStringList out;
    for (int i = 0; i < m_pages->count(); ++i) out << m_pages->item(i)->text();
    return out;
}

LookupTablePage* Tfrm_setup::lookupPage(const QString& table) const { return m_lookups.value(table); }

}  // namespace zel
