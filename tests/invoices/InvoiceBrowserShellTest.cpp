#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "core/Paths.h"
#include "invoices/Tscorre_fatt.h"
#include "tests/app/ShellFixture.h"
#include "tests/store/SqliteProbe.h"

using namespace zel;
using namespace zel::test;
using namespace Qt::Literals::StringLiterals;

namespace {

class InvoiceBrowserShell : public ShellFixture {};

TEST_F(InvoiceBrowserShell, ThePartnerCardsQuickViewOpensTheBrowserOnTheCustomer) {
    prepareArchives();
    const QString data = dataDir(base.path());
    Probe::exec(
        data + u"/anagrafica.db"_s,
        u"INSERT INTO anagrafica (COD_CLI, NOME, CLIENTE) VALUES ('C1', 'Rossi Mario', 1)"_s);
    for (const auto& [n, cli] : {std::pair{4, "C1"}, {5, "C9"}, {6, "C1"}})
        Probe::exec(data + u"/fatture26.db"_s,
                    u"INSERT INTO fatture26 (fattura, cod_cli, data, tipodoc, tot_fatt) VALUES "
                    u"(%1, '%2', '2026-12-01', "
                    u"'Fattura', 10)"_s.arg(n)
                        .arg(QString::fromLatin1(cli)));
    start();
    QString filter;
    QStringList numbers;
    onModal<QDialog>([](QDialog& card) {
        EXPECT_EQ(card.objectName(), u"Tfrm_clienti1"_s);
        // After this action returns, so that the browser is served by the next one.
        QTimer::singleShot(0, &card, [&card] {
            QTest::mouseClick(card.findChild<QPushButton*>(u"btn_qv_fatture"_s), Qt::LeftButton);
            card.reject();
        });
    });
    onModal<QDialog>([&](QDialog& browser) {
        EXPECT_EQ(browser.objectName(), u"Tscorre_fatt"_s);
        filter = browser.findChild<QLineEdit*>(u"edt_filtro_cliente"_s)->text();
        auto* grid = browser.findChild<QTableView*>(u"grid_fatture"_s);
        for (int r = 0; r < grid->model()->rowCount(); ++r)
            numbers << grid->model()->index(r, InvoiceListModel::Numero).data().toString();
        browser.reject();
    });
    trigger(u"mnu_anagrafica_inserimento"_s);
    EXPECT_TRUE(waitFor([this] { return modalsServed(); }));
    EXPECT_EQ(filter, u"C1"_s);
    EXPECT_EQ(numbers, (QStringList{u"6"_s, u"4"_s}));
}

}  // namespace
