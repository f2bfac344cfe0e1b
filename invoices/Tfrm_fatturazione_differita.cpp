#include "invoices/Tfrm_fatturazione_differita.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

#include "core/Clock.h"
#include "documents/DueDates.h"
#include "invoices/Tfrm_fattnew.h"
#include "settings/Settings.h"
#include "store/Store.h"
#include "ui/DateEdit.h"
#include "ui/Dialogs.h"

namespace zel {

Tfrm_fatturazione_differita::Tfrm_fatturazione_differita(AppContext& ctx, QWidget* parent)
    : QDialog(parent), m_ctx(ctx) {
    setObjectName(QStringLiteral("Tfrm_fatturazione_differita"));
    setWindowTitle(title());
    buildUi();
}

void Tfrm_fatturazione_differita::buildUi() {
    auto* g = new QGridLayout(this);
    edt_dal = new DateEdit(this);
    edt_dal->setObjectName(QStringLiteral("edt_dal"));
    edt_al = new DateEdit(this);
    edt_al->setObjectName(QStringLiteral("edt_al"));
    edt_data_fatt = new DateEdit(this);
    edt_data_fatt->setObjectName(QStringLiteral("edt_data_fatt"));
    cmb_tipodoc = new QComboBox(this);
    cmb_tipodoc->setObjectName(QStringLiteral("cmb_tipodoc"));
    cmb_tipodoc->addItems(Tfrm_fattnew::kinds());
    btn_cerca = new QPushButton(QStringLiteral("Cerca DDT da fatturare"), this);
    btn_cerca->setObjectName(QStringLiteral("btn_cerca"));
    grid_clienti = new QTableWidget(0, 4, this);
    grid_clienti->setObjectName(QStringLiteral("grid_clienti"));
    grid_clienti->setHorizontalHeaderLabels({QStringLiteral("Codice"), QStringLiteral("Cliente"),
                                             QStringLiteral("DDT"), QStringLiteral("Importo")});
    grid_clienti->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lbl_esito = new QLabel(this);
    lbl_esito->setObjectName(QStringLiteral("lbl_esito"));
    btn_conferma = new QPushButton(QStringLiteral("Emetti le fatture"), this);
    btn_conferma->setObjectName(QStringLiteral("btn_conferma"));
    g->addWidget(new QLabel(QStringLiteral("Dal"), this), 0, 0);
    g->addWidget(edt_dal, 0, 1);
    g->addWidget(new QLabel(QStringLiteral("al"), this), 0, 2);
    g->addWidget(edt_al, 0, 3);
    g->addWidget(new QLabel(QStringLiteral("Data fattura"), this), 1, 0);
    g->addWidget(edt_data_fatt, 1, 1);
    g->addWidget(new QLabel(QStringLiteral("Tipo documento"), this), 1, 2);
    g->addWidget(cmb_tipodoc, 1, 3);
    g->addWidget(btn_cerca, 2, 3);
    g->addWidget(grid_clienti, 3, 0, 1, 4);
    g->addWidget(lbl_esito, 4, 0, 1, 3);
    g->addWidget(btn_conferma, 4, 3);
    connect(btn_cerca, &QPushButton::clicked, this, &Tfrm_fatturazione_differita::btn_cercaClick);
    connect(btn_conferma, &QPushButton::clicked, this,
            &Tfrm_fatturazione_differita::btn_confermaClick);
}

void Tfrm_fatturazione_differita::FormShow() {
    const QDate first = QDate(Clock::today().year(), Clock::today().month(), 1).addMonths(-1);
    edt_dal->setDate(first);
    edt_al->setDate(DueDates::endOfMonth(first));
    edt_data_fatt->setDate(DueDates::endOfMonth(first));
    cmb_tipodoc->setCurrentText(MonthEndInvoicing::defaultKind());
    m_customers.clear();
    grid_clienti->setRowCount(0);
    lbl_esito->clear();
    btn_conferma->setEnabled(false);
}

void Tfrm_fatturazione_differita::btn_cercaClick() {
    if (edt_dal->isEmpty() || edt_al->isEmpty() || edt_al->date() < edt_dal->date()) {
        Dialogs::instance().warning(
            title(), QStringLiteral("Indicare un periodo valido (dal ... al ...)."), this);
        return;
    }
    try {
        m_customers =
            MonthEndInvoicing(*m_ctx.store, *m_ctx.settings, edt_dal->date(), edt_al->date())
                .customers();
    } catch (const StoreError& e) {
        Dialogs::instance().error(title(), e.message(), this);
        return;
    }
    grid_clienti->setRowCount(static_cast<int>(m_customers.size()));
    Money sum;
    for (int i = 0; i < m_customers.size(); ++i) {
        const auto& c = m_customers[i];
        const QStringList cells{c.code, c.name, QString::number(c.ddtCount), c.amount.format()};
        for (int col = 0; col < cells.size(); ++col)
            grid_clienti->setItem(i, col, new QTableWidgetItem(cells[col]));
        sum += c.amount;
    }
    lbl_esito->setText(QStringLiteral("Clienti: %1   Importo DDT: € %2")
                           .arg(m_customers.size())
                           .arg(sum.format()));
    btn_conferma->setEnabled(!m_customers.isEmpty());
    if (m_customers.isEmpty())
        Dialogs::instance().info(title(), MonthEndInvoicing::nothingMessage(), this);
}

void Tfrm_fatturazione_differita::btn_confermaClick() {
    Dialogs& dlg = Dialogs::instance();
    if (m_customers.isEmpty()) return;
    if (edt_data_fatt->isEmpty()) {
        dlg.warning(title(), QStringLiteral("Indicare la data delle fatture."), this);
        return;
    }
    if (!dlg.yesNo(MsgIcon::Question, title(),
                   QStringLiteral("Emettere una fattura per ciascuno dei %1 clienti elencati?")
                       .arg(m_customers.size()),
                   this))
        return;
    try {
        MonthEndInvoicing run(*m_ctx.store, *m_ctx.settings, edt_dal->date(), edt_al->date());
        const MonthEndInvoicing::Outcome out =
            run.run(edt_data_fatt->date(), cmb_tipodoc->currentText());
        if (!out.refusals.isEmpty()) {
            dlg.error(title(),
                      out.refusals.join(u'\n') + QStringLiteral("\nNessuna fattura emessa."), this);
            return;
        }
        if (out.made.isEmpty()) {
            dlg.info(title(), MonthEndInvoicing::nothingMessage(), this);
            return;
        }
        btn_conferma->setEnabled(false);
        lbl_esito->setText(QStringLiteral("Fatture emesse: %1").arg(out.made.size()));
        dlg.info(title(), MonthEndInvoicing::outcomeText(out), this);
    } catch (const StoreError& e) {
        dlg.error(title(), QStringLiteral("Nessuna fattura emessa.\n") + e.message(), this);
    }
}

}  // namespace zel
