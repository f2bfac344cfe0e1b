#include "app/MenuTree.h"

namespace zel {

namespace {

using K = MenuKind;

constexpr MenuItemDef kTree[] = {
    {u"", u"mnu_file", u"&File", K::Menu},
    {u"mnu_file", u"mnu_esci", u"&Esci", K::Command},

    {u"", u"mnu_magazzino", u"&Magazzino", K::Menu},
    {u"mnu_magazzino", u"mnu_articoli", u"&Articoli", K::Menu},
    {u"mnu_articoli", u"mnu_articoli_inserimento", u"Inserimento / Ricerca / Modifica", K::Command},
    {u"mnu_articoli", u"mnu_variazione_prezzi", u"&Variazione prezzi vendita", K::Command},
    {u"mnu_articoli", u"mnu_scorrimento_movimenti", u"Scorrimento movimenti", K::Command},
    {u"mnu_articoli", u"mnu_sottoscorta", u"Articoli sotto scorta minima", K::Command},
    {u"mnu_magazzino", u"mnu_carico_scarico", u"Carico / Scarico", K::Menu},
    {u"mnu_carico_scarico", u"mnu_carico", u"&Carico merce a magazzino", K::Command},
    {u"mnu_carico_scarico", u"mnu_scarico", u"&Scarico merce da magazzino", K::Command},
    {u"mnu_carico_scarico", u"mnu_carico_esterno", u"Carico da magazzino esterno", K::Command},
    {u"mnu_magazzino", u"mnu_stampe_magazzino", u"&Stampe", K::Menu},
    {u"mnu_stampe_magazzino", u"mnu_stampa_articoli", u"Articoli di magazzino", K::Command},
    {u"mnu_stampe_magazzino", u"mnu_stampa_sottoscorta", u"Articoli in sottoscorta", K::Command},
    {u"mnu_stampe_magazzino", u"mnu_stampa_listino", u"Listino", K::Command},
    {u"mnu_stampe_magazzino", u"mnu_stampa_listino_foto", u"Listino con foto", K::Command},
    {u"mnu_stampe_magazzino", u"mnu_stampa_listino_barcode", u"Listino barcode", K::Command},
    {u"mnu_stampe_magazzino", u"mnu_stampa_etichette_barcode", u"Etichette barcode", K::Command},
    {u"mnu_magazzino", u"mnu_catalogo", u"Catalogo", K::Menu},
    {u"mnu_catalogo", u"mnu_catalogo_visualizza", u"Visualizza", K::Command},
    {u"mnu_catalogo", u"mnu_carico_da_ordine", u"Carico da ordine", K::Command},
    {u"mnu_catalogo", u"mnu_shop", u"Vendita al Banco - Shop", K::Command},

    {u"", u"mnu_ddt", u"&DDT", K::Menu},
    {u"mnu_ddt", u"mnu_nuovo_ddt", u"&Nuovo DDT", K::Command},
    {u"mnu_ddt", u"mnu_nuovo_ddt_esterno", u"Nuovo DDT a Magazzino esterno", K::Command},
    {u"mnu_ddt", u"mnu_nuovo_ddt_ordine", u"Nuovo DDT da &Ordine Cliente", K::Command},
    {u"mnu_ddt", u"mnu_scorre_ddt", u"&Scorrimento e Stampa", K::Command},
    {u"mnu_ddt", u"mnu_ddt_movimenti", u"Scorrimento movimenti", K::Command},

    {u"", u"mnu_fatture", u"&Fatture", K::Menu},
    {u"mnu_fatture", u"mnu_fatture_nuova", u"&Nuova", K::Menu},
    {u"mnu_fatture_nuova", u"mnu_fattura_da_ddt", u"Riepilogativa da DDT", K::Command},
    {u"mnu_fatture_nuova", u"mnu_fattura_da_preventivo", u"Da Preventivo", K::Command},
    {u"mnu_fatture_nuova", u"mnu_fattura_libera", u"Libera", K::Command},
    {u"mnu_fatture", u"mnu_fatturazione_differita", u"Fatturazione differita di fine periodo", K::Command},
    {u"mnu_fatture", u"mnu_fatture_scorrimento", u"&Scorrimento / Stampa singola", K::Menu},
    // Captioned at start with the names of the two invoice archives.
    {u"mnu_fatture_scorrimento", u"mnu_scorre_fatture1", u"Principale", K::Command},
    {u"mnu_fatture_scorrimento", u"mnu_scorre_fatture2", u"Secondario", K::Command},
    {u"mnu_fatture_scorrimento", u"mnu_stampa_raggruppata", u"Stampa raggruppata", K::Command},
    {u"mnu_fatture", u"mnu_fatture_analisi", u"Analisi e S&tatistiche", K::Menu},
    {u"mnu_fatture_analisi", u"mnu_fatture_statistiche", u"Statistiche", K::Command},
    {u"mnu_fatture_analisi", u"mnu_analisi_utili", u"Analisi degli utili", K::Command},

    {u"", u"mnu_preventivi", u"Preventivi", K::Menu},
    {u"mnu_preventivi", u"mnu_nuovo_preventivo", u"Nuovo preventivo", K::Command},
    {u"mnu_preventivi", u"mnu_scorre_preventivi", u"Scorrimento e Stampa", K::Command},
    {u"mnu_preventivi", u"mnu_fattura_preventivo", u"Crea fattura da preventivo", K::Command},

    {u"", u"mnu_scadenze", u"&Scadenze", K::Menu},
    {u"mnu_scadenze", u"mnu_nuova_scadenza", u"Nuova scadenza", K::Command},
    {u"mnu_scadenze", u"mnu_visualizza_scadenza", u"Visualizza Scadenza", K::Command},
    {u"mnu_scadenze", u"mnu_scorre_scadenze", u"Scorrimento scadenze", K::Command},
    {u"mnu_scadenze", u"mnu_scadenze_statistiche", u"Analisi e statistiche", K::Command},
    {u"mnu_scadenze", u"mnu_filtra_scadenze", u"Ricerca - Elenca e &Stampa", K::Command},
    {u"mnu_scadenze", u"mnu_scadenze_mese", u"Scadenze attive del mese in corso", K::Command},
    {u"mnu_scadenze", u"mnu_scadenze_tutte", u"Scadenze attive (tutte)", K::Command},
    {u"mnu_scadenze", u"mnu_alert_scadenze", u"Alert scadenze nel giorno", K::Toggle},

    {u"", u"mnu_prima_nota", u"Prima nota", K::Menu},
    {u"mnu_prima_nota", u"mnu_prima_nota_scorrimento", u"Scorrimento", K::Command},
    {u"mnu_prima_nota", u"mnu_prima_nota_analisi", u"Analisi e statistiche", K::Command},

    {u"", u"mnu_anagrafica", u"Anagrafica", K::Menu},
    {u"mnu_anagrafica", u"mnu_anagrafica_inserimento", u"Inserimento / Ricerca / Modifica", K::Command},
    {u"mnu_anagrafica", u"mnu_anagrafica_stampe", u"Stampe Listati", K::Command},
    {u"mnu_anagrafica", u"mnu_trova_cap", u"Trova CAP, Città, Provincia e Prefisso Tel", K::Command},
    {u"mnu_anagrafica", u"mnu_contatti", u"Contatti", K::Menu},
    {u"mnu_contatti", u"mnu_contatti_elenco", u"Elenco generale", K::Command},
    {u"mnu_contatti", u"mnu_contatti_oggi", u"Appuntamenti / contatti di oggi", K::Command},
    {u"mnu_anagrafica", u"mnu_alert_contatti", u"Alert impegni / contatti", K::Toggle},
    {u"mnu_anagrafica", u"mnu_cf_come_piva", u"Aggiorna CF  come P.IVA", K::Command},

    {u"", u"mnu_ordini", u"&Ordini", K::Menu},
    {u"mnu_ordini", u"mnu_nuovo_ordine", u"Nuovo ordine", K::Command},
    {u"mnu_ordini", u"mnu_scorre_ordini", u"Scorrimento, modifica e stampa", K::Command},

    // Hidden until a configured program exists; captioned from the settings.
    {u"", u"mnu_applicazioni_esterne", u"Applicazioni esterne", K::Menu},
    {u"mnu_applicazioni_esterne", u"mnu_custom_app1", u"", K::Command},
    {u"mnu_applicazioni_esterne", u"mnu_custom_app2", u"", K::Command},
    {u"mnu_applicazioni_esterne", u"mnu_custom_app3", u"", K::Command},
    {u"mnu_applicazioni_esterne", u"mnu_custom_app4", u"", K::Command},
    {u"mnu_applicazioni_esterne", u"mnu_custom_app5", u"", K::Command},

    {u"", u"mnu_strumenti", u"Strumenti e Utilità", K::Menu},
    {u"mnu_strumenti", u"mnu_sfondi", u"Sfondi per le applicazioni", K::Command},
    {u"mnu_strumenti", u"mnu_opzioni", u"Opzioni e Setup", K::Menu},
    {u"mnu_opzioni", u"mnu_setup", u"Setup - Configurazione programma", K::Command},
    {u"mnu_opzioni", u"mnu_cambia_sfondo", u"Cambia Sfondo Menù principale", K::Command},
    {u"mnu_strumenti", u"mnu_utilita", u"Utilità", K::Menu},
    {u"mnu_utilita", u"mnu_ricerca_abi_cab", u"Ricerca ABI e CAB", K::Command},
    {u"mnu_utilita", u"mnu_ricerca_cap", u"Ricerca C.A.P. e Città", K::Command},
    {u"mnu_utilita", u"mnu_privacy", u"Lettera di consenso al trattamento dei dati personali", K::Command},
    {u"mnu_utilita", u"mnu_dbutils", u"DBUtils32: Strumento per il recupero dei dati", K::Command},
    {u"mnu_utilita", u"mnu_allarme", u"Allarme", K::Command},
    {u"mnu_strumenti", u"mnu_browser", u"Internet browser", K::Command},
    {u"mnu_strumenti", u"mnu_traduttore", u"Traduttore", K::Command},
    {u"mnu_strumenti", u"mnu_mappa", u"Mappa", K::Command},
    {u"mnu_strumenti", u"mnu_lettore", u"Lettore audio/video", K::Command},
    {u"mnu_strumenti", u"mnu_calcolatrice", u"Calcolatrice", K::Command},

    {u"", u"mnu_backup", u"Backup", K::Menu},
    {u"mnu_backup", u"mnu_backup_remoto_anno", u"Backup remoto compresso dei dati dell'anno in corso", K::Command},
    {u"mnu_backup", u"mnu_backup_remoto_completo", u"Backup remoto di dati e configurazione", K::Command},
    {u"mnu_backup", u"mnu_backup_locale", u"Backup locale immediato", K::Command},
    {u"mnu_backup", u"mnu_area_riservata", u"Area riservata remota", K::Command},

    {u"", u"mnu_aiuto", u"Aiuto", K::Menu},
    {u"mnu_aiuto", u"mnu_legenda", u"Legenda, Primo aiuto", K::Command},
    {u"mnu_aiuto", u"mnu_assistenza", u"Richiesta di assistenza e consigli via E-mail", K::Command},
    {u"mnu_aiuto", u"mnu_informazioni", u"Informazioni", K::Command},
    {u"mnu_aiuto", u"mnu_pagine_supporto", u"Pagine di supporto", K::Command},
    {u"mnu_aiuto", u"mnu_riconoscimenti", u"Riconoscimenti", K::Command},

    {u"", u"mnu_novita", u"Novità", K::Command},
    {u"", u"mnu_donate", u"Donate", K::Command},
    {u"", u"mnu_aggiornamenti", u"Cerca aggiornamenti", K::Command},
};

constexpr QStringView kPages[] = {u"Anagrafica", u"Magazzino art.", u"DDT",    u"Fatture", u"Preventivi",
                                  u"Scadenze",   u"Ordini",         u"Setup", u"Backup"};

constexpr ButtonDef kButtons[] = {
    {u"Anagrafica", u"btn_anagrafica", u"Anagrafica\nclienti / fornitori", u"mnu_anagrafica_inserimento"},
    {u"Anagrafica", u"btn_contatti", u"Contatti", u"mnu_contatti_elenco"},
    {u"Anagrafica", u"btn_contatti_oggi", u"Contatti\ndi oggi", u"mnu_contatti_oggi"},
    {u"Anagrafica", u"btn_stampe_anagrafica", u"Stampe\nlistati", u"mnu_anagrafica_stampe"},
    {u"Magazzino art.", u"btn_articoli", u"Articoli", u"mnu_articoli_inserimento"},
    {u"Magazzino art.", u"btn_carico", u"Carico\nmerce", u"mnu_carico"},
    {u"Magazzino art.", u"btn_scarico", u"Scarico\nmerce", u"mnu_scarico"},
    {u"Magazzino art.", u"btn_movimenti", u"Scorrimento\nmovimenti", u"mnu_scorrimento_movimenti"},
    {u"Magazzino art.", u"btn_sottoscorta", u"Articoli\nsotto scorta", u"mnu_sottoscorta"},
    {u"Magazzino art.", u"btn_shop", u"Vendita\nal banco", u"mnu_shop"},
    {u"DDT", u"btn_nuovo_ddt", u"Nuovo\nDDT", u"mnu_nuovo_ddt"},
    {u"DDT", u"btn_ddt_ordine", u"DDT da\nordine cliente", u"mnu_nuovo_ddt_ordine"},
    {u"DDT", u"btn_scorre_ddt", u"Scorrimento\ne stampa", u"mnu_scorre_ddt"},
    {u"Fatture", u"btn_fattura_ddt", u"Fattura\nda DDT", u"mnu_fattura_da_ddt"},
    {u"Fatture", u"btn_fattura_libera", u"Fattura\nlibera", u"mnu_fattura_libera"},
    {u"Fatture", u"btn_scorre_fatture1", u"Archivio\nfatture 1", u"mnu_scorre_fatture1"},
    {u"Fatture", u"btn_scorre_fatture2", u"Archivio\nfatture 2", u"mnu_scorre_fatture2"},
    {u"Preventivi", u"btn_nuovo_preventivo", u"Nuovo\npreventivo", u"mnu_nuovo_preventivo"},
    {u"Preventivi", u"btn_scorre_preventivi", u"Scorrimento\ne stampa", u"mnu_scorre_preventivi"},
    {u"Preventivi", u"btn_fattura_preventivo", u"Fattura da\npreventivo", u"mnu_fattura_preventivo"},
    {u"Scadenze", u"btn_nuova_scadenza", u"Nuova\nscadenza", u"mnu_nuova_scadenza"},
    {u"Scadenze", u"btn_scorre_scadenze", u"Scorrimento\nscadenze", u"mnu_scorre_scadenze"},
    {u"Scadenze", u"btn_scadenze_mese", u"Scadenze\ndel mese", u"mnu_scadenze_mese"},
    {u"Ordini", u"btn_nuovo_ordine", u"Nuovo\nordine", u"mnu_nuovo_ordine"},
    {u"Ordini", u"btn_scorre_ordini", u"Scorrimento\nordini", u"mnu_scorre_ordini"},
    {u"Setup", u"btn_setup", u"Setup\nprogramma", u"mnu_setup"},
    {u"Setup", u"btn_sfondi", u"Sfondi", u"mnu_sfondi"},
    {u"Backup", u"btn_backup_locale", u"Backup\nlocale", u"mnu_backup_locale"},
    {u"Backup", u"btn_backup_remoto", u"Backup\nremoto", u"mnu_backup_remoto_completo"},
};

constexpr TotalDef kTotals[] = {
    {u"lbl_tot_clienti", u"Clienti/Fornitori", u"num_cli", u"Archivio anagrafica", u"Anagrafica clienti",
     u"mnu_anagrafica_inserimento"},
    {u"lbl_tot_articoli", u"Mag. articoli", u"num_articoli", u"Archivio Magazzino", u"Magazzino articoli",
     u"mnu_articoli_inserimento"},
    {u"lbl_tot_ddt", u"Doc. di Trasporto", u"num_ddt", u"Archivio DDT Master", u"DDT", u"mnu_scorre_ddt"},
    {u"lbl_tot_fatture", u"Fatture", u"num_fatture", u"Archivio fatture Master", u"Fatture",
     u"mnu_scorre_fatture1"},
    {u"lbl_tot_scadenze", u"Scadenze", u"num_scadenze", u"Archivio scadenze", u"Scadenze",
     u"mnu_scorre_scadenze"},
    {u"lbl_tot_ordini", u"Ordini", u"num_ordini", u"Archivio Ordini", u"Ordini", u"mnu_scorre_ordini"},
    {u"lbl_tot_preventivi", u"Preventivi", u"num_preventivi", u"Archivio preventivi Master", u"Preventivi",
     u"mnu_scorre_preventivi"},
};

}  // namespace

std::span<const MenuItemDef> menuTree() { return kTree; }
std::span<const QStringView> menuPages() { return kPages; }
std::span<const ButtonDef> menuButtons() { return kButtons; }
std::span<const TotalDef> totalsPanel() { return kTotals; }

}  // namespace zel
