#include "app/WindowFactories.h"

#include "app/TMain.h"
#include "ddt/Tfrm_ddtnew.h"
#include "ddt/Tscorre_ddt.h"
#include "core/Clock.h"
#include "deadlines/DeadlineArchive.h"
#include "store/Store.h"
#include "ui/Dialogs.h"
#include "deadlines/Tfiltra_scad.h"
#include "deadlines/Tfrm_scad.h"
#include "deadlines/Tfrm_scadenza.h"
#include "invoices/Tfrm_fattnew.h"
#include "invoices/Tfrm_fatturazione_differita.h"
#include "invoices/Tscorre_fatt.h"
#include "orders/Tfrm_carico_da_ordine.h"
#include "orders/Tfrm_ordini.h"
#include "orders/Tfrm_scorre_ordini.h"
#include "quotes/Tfrm_nuovo_preventivo.h"
#include "receipts/Tfrm_scorre_ricevute_fiscali.h"
#include "quotes/Tfrm_preventivi_tools.h"
#include "quotes/Tfrm_scorre_prev.h"
#include "registry/Tfrm_cerca.h"
#include "registry/Tfrm_clienti1.h"
#include "setup/Tfrm_setup.h"
#include "warehouse/Tmov_check.h"
#include "warehouse/Tmulti_art.h"
#include "warehouse/Tfrm_articoli.h"
#include "warehouse/Tfrm_scarico_veloce.h"

namespace zel {

void registerWindowFactories(TMain& main) {
    main.setSetupFactory([](AppContext& ctx, QWidget* parent) { return new Tfrm_setup(ctx, parent); });

    auto openCard = [&main](int page) {
        Tfrm_clienti1& card = main.window<Tfrm_clienti1>();
        card.openInvoices = [&main](const QString& code) {
            Tscorre_fatt& w = main.window<Tscorre_fatt>();
            w.showCustomer(code);
            w.exec();
        };
        card.showPage(page);
        card.exec();
    };
    main.setCommandAction(QStringLiteral("mnu_anagrafica_inserimento"), [openCard] { openCard(0); });
    main.setCommandAction(QStringLiteral("mnu_anagrafica_stampe"), [openCard] { openCard(Tfrm_clienti1::kPrintPage); });
    auto postcodes = [&main] { main.window<Tfrm_cerca>().openPostcodeLookup(); };
    main.setCommandAction(QStringLiteral("mnu_trova_cap"), postcodes);
    main.setCommandAction(QStringLiteral("mnu_ricerca_cap"), postcodes);
    main.setCommandAction(QStringLiteral("mnu_ricerca_abi_cab"), [&main] { main.window<Tfrm_cerca>().openBankLookup(); });

    auto openStock = [&main](int page) {
        Tmulti_art& w = main.window<Tmulti_art>();
        w.prepare(page);
        w.exec();
    };
    main.setCommandAction(QStringLiteral("mnu_carico"), [openStock] { openStock(Tmulti_art::kLoadPage); });
    main.setCommandAction(QStringLiteral("mnu_carico_esterno"), [&main] {
        Tmulti_art& w = main.window<Tmulti_art>();
        w.prepareOutside();
        w.exec();
    });
    main.setCommandAction(QStringLiteral("mnu_scarico"), [openStock] { openStock(Tmulti_art::kUnloadPage); });
    auto openMovements = [&main] {
        Tmov_check& w = main.window<Tmov_check>();
        w.FormShow();
        w.exec();
    };
    main.setCommandAction(QStringLiteral("mnu_scorrimento_movimenti"), openMovements);
    main.setCommandAction(QStringLiteral("mnu_shop"), [&main] {
        Tfrm_scarico_veloce& w = main.window<Tfrm_scarico_veloce>();
        w.openReceipts = [&main] {
            Tfrm_scorre_ricevute_fiscali& r = main.window<Tfrm_scorre_ricevute_fiscali>();
            r.FormShow();
            r.exec();
        };
        w.FormShow();
        w.exec();
    });
    main.setCommandAction(QStringLiteral("mnu_ddt_movimenti"), openMovements);
    main.setCommandAction(QStringLiteral("mnu_scorre_fatture1"), [&main] {
        Tscorre_fatt& w = main.window<Tscorre_fatt>();
        w.FormShow();
        w.exec();
    });
    main.setCommandAction(QStringLiteral("mnu_fattura_da_ddt"), [&main] {
        Tfrm_fattnew& w = main.window<Tfrm_fattnew>();
        w.openBrowser = [&main](qint64 number, const QString& customer, const QDate& date) {
            Tscorre_fatt& b = main.window<Tscorre_fatt>();
            b.showInvoice({number, customer}, date);
            b.exec();
        };
        w.FormShow();
        w.exec();
    });
    main.setCommandAction(QStringLiteral("mnu_fatturazione_differita"), [&main] {
        Tfrm_fatturazione_differita& w = main.window<Tfrm_fatturazione_differita>();
        w.FormShow();
        w.exec();
    });
    main.setCommandAction(QStringLiteral("mnu_scorre_ddt"), [&main] {
        Tscorre_ddt& w = main.window<Tscorre_ddt>();
        w.FormShow();
        w.exec();
    });
    auto openNewDdt = [&main](Tfrm_ddtnew::Mode mode) {
        Tfrm_ddtnew& w = main.window<Tfrm_ddtnew>();
        if (w.prepare(mode)) w.exec();
    };
    main.setCommandAction(QStringLiteral("mnu_nuovo_ddt"), [openNewDdt] { openNewDdt(Tfrm_ddtnew::Mode::Warehouse); });
    main.setCommandAction(QStringLiteral("mnu_nuovo_ddt_ordine"), [openNewDdt] { openNewDdt(Tfrm_ddtnew::Mode::Orders); });
    main.setCommandAction(QStringLiteral("mnu_nuovo_preventivo"), [&main] {
        Tfrm_nuovo_preventivo& w = main.window<Tfrm_nuovo_preventivo>();
        w.runCustomerCard = [&main] {
            Tfrm_clienti1& card = main.window<Tfrm_clienti1>();
            card.showPage(0);
            card.exec();
        };
        w.prepare();
        w.exec();
    });
    auto openInvoiceFromQuote = [&main](const QString& customer, qint64 quote) {
        Tfrm_preventivi_tools& w = main.window<Tfrm_preventivi_tools>();
        w.prepare(customer, quote);
        w.exec();
    };
    main.setCommandAction(QStringLiteral("mnu_scorre_preventivi"), [&main, openInvoiceFromQuote] {
        Tfrm_scorre_prev& w = main.window<Tfrm_scorre_prev>();
        w.openInvoiceFromQuote = openInvoiceFromQuote;
        w.prepare();
        w.exec();
    });
    main.setCommandAction(QStringLiteral("mnu_fattura_preventivo"), [openInvoiceFromQuote] { openInvoiceFromQuote({}, 0); });
    main.setCommandAction(QStringLiteral("mnu_fattura_da_preventivo"), [openInvoiceFromQuote] { openInvoiceFromQuote({}, 0); });
    main.setCommandAction(QStringLiteral("mnu_nuovo_ordine"), [&main] {
        Tfrm_ordini& w = main.window<Tfrm_ordini>();
        w.prepare();
        w.exec();
    });
    main.setCommandAction(QStringLiteral("mnu_carico_da_ordine"), [&main] {
        Tfrm_carico_da_ordine& w = main.window<Tfrm_carico_da_ordine>();
        w.FormShow();
        w.exec();
    });
    main.setCommandAction(QStringLiteral("mnu_scorre_ordini"), [&main] {
        Tfrm_scorre_ordini& w = main.window<Tfrm_scorre_ordini>();
        w.FormShow();
        w.exec();
    });
    main.setCommandAction(QStringLiteral("mnu_articoli_inserimento"), [&main] {
        Tfrm_articoli& articles = main.window<Tfrm_articoli>();
        articles.showPage(Tfrm_articoli::Generalita);
        articles.exec();
    });
    main.setCommandAction(QStringLiteral("mnu_stampa_listino"), [&main] { main.window<Tfrm_articoli>().btn_stampa_listinoClick(); });

    auto deadlineCard = [&main](const QList<qint64>& list, int index) {
        Tfrm_scadenza& card = main.window<Tfrm_scadenza>();
        card.showList(list, index);
        card.exec();
    };
    main.setCommandAction(QStringLiteral("mnu_nuova_scadenza"), [&main] {
        Tfrm_scadenza& card = main.window<Tfrm_scadenza>();
        card.openNew();
        card.exec();
    });
    main.setCommandAction(QStringLiteral("mnu_visualizza_scadenza"), [&main] {
        Tfrm_scadenza& card = main.window<Tfrm_scadenza>();
        card.FormShow();
        card.exec();
    });
    main.setCommandAction(QStringLiteral("mnu_scorre_scadenze"), [&main, deadlineCard] {
        Tfrm_scad& w = main.window<Tfrm_scad>();
        w.openCard = deadlineCard;
        w.FormShow();
        w.exec();
    });
    // The unpaid deadlines of this month, or all of them, in the browser.
    auto unpaidDeadlines = [&main, deadlineCard](bool monthOnly, const QString& caption) {
        const QDate today = Clock::today();
        QList<qint64> rows;
        try {
            DeadlineArchive archive = DeadlineArchive::fromSettings(*main.store(), *main.context().settings);
            rows = monthOnly ? archive.unpaidBetween(QDate(today.year(), today.month(), 1),
                                                     QDate(today.year(), today.month(), today.daysInMonth()))
                             : archive.unpaidBetween(QDate(1900, 1, 2), QDate(9999, 12, 31));
        } catch (const StoreError& e) {
            Dialogs::instance().error(QStringLiteral("Scadenze"), e.message(), &main);
            return;
        }
        Tfrm_scad& w = main.window<Tfrm_scad>();
        w.openCard = deadlineCard;
        w.showSelection(rows, caption);
        w.exec();
    };
    main.setCommandAction(QStringLiteral("mnu_scadenze_mese"), [unpaidDeadlines] {
        unpaidDeadlines(true, QStringLiteral("Scadenze in corso nel mese corrente"));
    });
    main.setCommandAction(QStringLiteral("mnu_scadenze_tutte"), [unpaidDeadlines] {
        unpaidDeadlines(false, QStringLiteral("Scadenze non pagate (tutte)"));
    });
    main.setCommandAction(QStringLiteral("mnu_filtra_scadenze"), [&main] {
        Tfiltra_scad& w = main.window<Tfiltra_scad>();
        w.FormShow();
        w.exec();
    });
}

}  // namespace zel
