#include "store/ArchiveCatalogue.h"

#include <QDir>

#include "core/Paths.h"

namespace zel {

namespace {

constexpr ArchiveDef kArchives[] = {
#include "store/ArchiveCatalogueData.inc"
};

constexpr CreationStep kCreation[] = {
    {u"magazzino.db", u""},
    {u"anagrafica.db", u""},
    {u"alleg_anag.db", u""},
    {u"users.db", u""},
    {u"anag_vettori.db", u""},
    {u"gruppi.db", u""},
    {u"marche.db", u""},
    {u"cat_fisc.db", u""},
    {u"cat_merc.db", u""},
    {u"elenco_tab_palmare.db", u""},
    {u"fatture@YY@.db", u""},
    {u"fatture2_@YY@.db", u""},
    {u"dett_fatture@YY@.db", u""},
    {u"fatt_tmp.db", u"dett_fatture@YY@.db"},
    {u"dett_fatture2_@YY@.db", u""},
    {u"dett_ddt@YY@.db", u""},
    {u"ddt@YY@.db", u""},
    {u"dett_ddt_tmp.db", u"ddt@YY@.db"},
    {u"ddt_tmp@YY@.db", u"ddt@YY@.db"},
    {u"ordini.db", u""},
    {u"scad.db", u""},
    {u"contatti.db", u""},
    {u"preventivi_foto.db", u""},
    {u"preventivi_dett.db", u""},
    {u"preventivi.db", u""},
    {u"piano_conti.db", u""},
    {u"sottoconti.db", u""},
    {u"note_fattura.db", u""},
    {u"note_ddt.db", u""},
    {u"unita_misura.db", u""},
    {u"elenco_banche.db", u""},
    {u"ricevute_fiscali@YY@.db", u""},
    {u"fatt_proforma_dett@YY@.db", u""},
    {u"fatt_proforma@YY@.db", u""},
    {u"valute.db", u""},
    {u"mag_ext.db", u""},
    {u"mag_tipo.db", u""},
    {u"voci_agg.db", u""},
    {u"music_list.msl", u""},
    {u"my_password.db", u""},
};

constexpr char16_t kWarehouse[] = u"Archivio Magazzino";
constexpr char16_t kQuotes[] = u"Archivio preventivi Master";
constexpr char16_t kDdt[] = u"Archivio DDT Master";
constexpr char16_t kDdtLines[] = u"Archivio DDT Detail";
constexpr char16_t kRegistry[] = u"Archivio anagrafica";
constexpr char16_t kContacts[] = u"Archivio Contatti";
constexpr char16_t kOrders[] = u"Archivio Ordini";
constexpr char16_t kCashBook[] = u"Archivio Prima nota";
constexpr char16_t kProforma[] = u"Archivio fatture proforma Master";
constexpr char16_t kProformaLines[] = u"Archivio fatture proforma Detail";
constexpr char16_t kMaster[] = u"@M";
constexpr char16_t kLines[] = u"@L";

constexpr char16_t kCatFisc[] = u" ADD CAT_FISC CHAR(50), ADD GRUPPO CHAR(50)";
constexpr char16_t kExtraItems[] =
    u" ADD DES_VOCE_AGG_1 CHAR(100), ADD DES_VOCE_AGG_2 CHAR(100), ADD DES_VOCE_AGG_3 CHAR(100),"
    u" ADD DES_VOCE_AGG_4 CHAR(100), ADD IVA_VOCE_AGG_1 INTEGER, ADD IVA_VOCE_AGG_2 INTEGER,"
    u" ADD IVA_VOCE_AGG_3 INTEGER, ADD IVA_VOCE_AGG_4 INTEGER, ADD IMP_VOCE_AGG_1 FLOAT,"
    u" ADD IMP_VOCE_AGG_2 FLOAT, ADD IMP_VOCE_AGG_3 FLOAT, ADD IMP_VOCE_AGG_4 FLOAT,"
    u" ADD DES_VOCE_AGG_DEST CHAR(50)";

constexpr ColumnProbe kBefore[] = {
    {kWarehouse, u"RIF_EXT1",
     u" ADD RIF_EXT1 CHAR (120),ADD RIF_EXT2 CHAR (120),ADD RIF_EXT3 CHAR (120),ADD RIF_EXT4 CHAR (120),"
     u"ADD RIF_EXT5 CHAR (120), ADD RIF_DES_EXT1 CHAR (70),ADD RIF_DES_EXT2 CHAR (70),ADD RIF_DES_EXT3 CHAR (70),"
     u"ADD RIF_DES_EXT4 CHAR (70),ADD RIF_DES_EXT5 CHAR (70) "},
    {kWarehouse, u"COSTO_MAT_PRIMA", u" ADD COSTO_MAT_PRIMA floaT "},
    {kWarehouse, u"RECUPERO_MAT", u"ADD RECUPERO_MAT FLOAT"},
    {kWarehouse, u"listino1", u" ADD listino1 float,ADD listino2 float,ADD listino3 float,ADD listino4 float"},
    {kWarehouse, u"seriale", u" ADD SERIALE CHAR(80)"},
    {kWarehouse, u"um", u" ADD um char(10),ADD fm FLOAT,ADD noloquant1 FLOAT,ADD noloquant2 FLOAT"},
    {kWarehouse, u"fm", u" ADD fm FLOAT"},
    {kWarehouse, u"GIAC", u" ADD giac FLOAT"},
    {kWarehouse, u"VALO1", u" ADD VALO1 FLOAT, ADD VALO2 FLOAT, ADD VALO3 FLOAT, ADD VALO4 FLOAT, ADD VALO5 FLOAT"},
    {kWarehouse, u"VALUTA", u" ADD VALUTA CHAR(10), ADD CAMBIO FLOAT"},
    {kWarehouse, u"note", u" ADD note CHAR(100), ADD CAT_FISC CHAR(50), ADD GRUPPO CHAR(50)"},
    {kWarehouse, u"num_mag",
     u" ADD num_mag integer, ADD nome_mag CHAR(20), ADD tipo_mag integer, add ST_UBIC char(15)"},
    {kWarehouse, u"costo_agg1",
     u" ADD costo_agg1 FLOAT, ADD costo_agg2 FLOAT, ADD costo_agg3 FLOAT, ADD costo_agg4 FLOAT,"
     u" ADD costo_agg5 FLOAT, ADD costo_agg6 FLOAT"},
    {kQuotes, u"oggetto", u" ADD oggetto CHAR(100)"},
    {kQuotes, u"agente", u" ADD agente CHAR(30)"},
    {kQuotes, u"CAT_FISC", kCatFisc},
};

constexpr ColumnProbe kInvoiceFirst[] = {
    {kMaster, u"note2", u" ADD note2 CHAR(70), ADD note3 CHAR(70)"},
    {kMaster, u"agente", u" ADD agente CHAR(30)"},
    {u"Archivio fatture Master 2", u"agente", u" ADD agente CHAR(30)"},
    {kMaster, u"iva4", u" ADD iva4 FLOAT"},
    {kMaster, u"iban", u" ADD iban char(31)"},
    {kRegistry, u"nome_sleg", u" ADD nome_sleg CHAR(70)"},
};

constexpr ColumnProbe kInvoiceSecond[] = {
    {kLines, u"prezzo_acq", u" ADD prezzo_acq FLOAT"},
    {kProformaLines, u"prezzo_acq", u" ADD prezzo_acq FLOAT"},
    {kProforma, u"flagpag4", u" ADD flagpag4 BOOLEAN"},
    {kProforma, u"NOME", u" ADD NOME CHAR(70)"},
    {kMaster, u"CSCADPAG4", u" ADD CSCADPAG4 DATE, ADD FLAGPAG4 BOOLEAN"},
    {kMaster, u"EXTENSION", u" ADD EXTENSION CHAR(5)"},
    {kMaster, u"SCADENZA_PAGAM", u" ADD SCADENZA_PAGAM CHAR(30)"},
    {kMaster, u"CAT_FISC", kCatFisc},
    {kMaster, u"nome",
     u" ADD CITTA CHAR(50), ADD NOME CHAR(70), ADD VIA CHAR(30), ADD PROV1 CHAR(2), ADD ES_IVA CHAR(1),"
     u" ADD art_esiva CHAR(30), ADD CAP CHAR(6), ADD SCADPAG CHAR(20)"},
    {kProforma, u"CAT_FISC", kCatFisc},
    {kMaster, u"DES_VOCE_AGG_1", kExtraItems},
    {kProforma, u"DES_VOCE_AGG_1", kExtraItems},
    {kRegistry, u"foto_vettura",
     u" ADD foto_vettura CHAR(120), ADD marca_vettura CHAR(30), ADD modello_vettura CHAR(40),"
     u" ADD targa_vettura CHAR(10), ADD km_vettura CHAR(10), ADD num_serie_vettura CHAR(30),"
     u" ADD num_imm_vettura CHAR(30), ADD telaio_vettura CHAR(30), ADD tipo_vettura CHAR(30),"
     u" ADD omolog_vettura CHAR(50), ADD cat_vettura CHAR(50), ADD data_immatricolazione date,"
     u" ADD data_revisione DATE, ADD data_intervento DATE"},
};

constexpr ColumnProbe kAfter[] = {
    {kDdt, u"agente", u" ADD agente CHAR(30)"},
    {kDdt, u"NOTE1", u" ADD NOTE1 CHAR(70), ADD NOTE2 CHAR(70), ADD NOTE3 CHAR(70)"},
    {kDdtLines, u"seriale", u" ADD SERIALE CHAR(80)"},
    {kDdtLines, u"CAT_FISC", kCatFisc},
    {kRegistry, u"agente", u" ADD agente CHAR(70), ADD provv FLOAT"},
    {kRegistry, u"listino", u" ADD listino INTEGER"},
    {kContacts, u"tel", u" ADD tel CHAR(30) , ADD fax CHAR(30) , ADD email CHAR(40), ADD web CHAR(70)"},
    {kRegistry, u"tipo_documento", u" ADD tipo_documento char(40), ADD num_documento char (30)"},
    {kRegistry, u"data_DOCUMENTO", u" ADD data_DOCUMENTO DATE, ADD data_NASCITA DATE"},
    {kRegistry, u"prov1", u" ADD prov1 CHAR(2), ADD prov2 CHAR(2)"},
    {kContacts, u"orario", u" ADD orario CHAR(5)"},
    {kRegistry, u"CAT_FISC", kCatFisc},
    {kRegistry, u"IBAN", u" ADD IBAN CHAR(30)"},
    {kOrders, u"mod_pagam", u" ADD mod_pagam CHAR(50), ADD scad_pagam CHAR(50), ADD firmatario CHAR(50)"},
    {kOrders, u"consegnato_quant", u" ADD consegnato_quant FLOAT"},
    {kOrders, u"ID", u" ADD ID integer"},
    {kOrders, u"CAT_FISC", kCatFisc},
    {kCashBook, u"iva_entrata",
     u" ADD iva_entrata FLOAT, ADD iva_uscita FLOAT, ADD es_iva_entrata FLOAT, ADD es_iva_uscita FLOAT,"
     u" ADD perc_iva INTEGER, ADD art_es_iva CHAR(50)"},
    {kCashBook, u"CAT_FISC", kCatFisc},
    {kCashBook, u"n_conto", u" ADD n_conto INTEGER, ADD n_sottoconto INTEGER"},
    {kOrders, u"id", u" ADD ID INTEGER"},
};

constexpr YearArchive kYear[] = {
    {u"Archivio fatture Master", u"fatture"},
    {u"Archivio fatture Detail", u"dett_fatture"},
    {u"Archivio fatture Master 2", u"fatture2_"},
    {u"Archivio fatture Detail 2", u"dett_fatture2_"},
    {u"Archivio DDT Master", u"ddt"},
    {u"Archivio DDT Detail", u"dett_ddt"},
    {u"Archivio Prima nota", u"prima_nota"},
    {u"Archivio fatture proforma Master", u"fatt_proforma"},
    {u"Archivio fatture proforma Detail", u"fatt_proforma_dett"},
    {u"Archivio ricevute fiscali", u"ricevute_fiscali"},
};

constexpr QStringView kRequired[] = {
    u"Archivio anagrafica",        u"Archivio Contatti",
    u"Archivio Magazzino",         u"Archivio fatture Master",
    u"Archivio fatture Master 2",  u"Archivio fatture Detail",
    u"Archivio fatture Detail 2",  u"Archivio fatture proforma Master",
    u"Archivio fatture proforma Detail", u"Archivio DDT Master",
    u"Archivio DDT Detail",        u"Archivio scadenze",
    u"Archivio Prima nota",        u"Archivio preventivi Master",
    u"Archivio preventivi Detail", u"Archivio Conti",
    u"Archivio Sottoconti",        u"Archivio Ordini",
    u"Archivio ricevute fiscali",  u"Archivio Nota Spese",
};

constexpr QStringView kRenumbered[] = {
    u"Archivio fatture Master",          u"Archivio fatture Detail",
    u"Archivio fatture proforma Master", u"Archivio fatture proforma Detail",
    u"Archivio Magazzino",               u"Archivio scadenze",
};

constexpr CompanionPair kCompanions[] = {
    {u"ddt@YY@.db", u"dett_ddt@YY@.db"},
    {u"fatture@YY@.db", u"dett_fatture@YY@.db"},
    {u"fatture2_@YY@.db", u"dett_fatture2_@YY@.db"},
    {u"fatt_proforma@YY@.db", u"fatt_proforma_dett@YY@.db"},
    {u"preventivi.db", u"preventivi_dett.db"},
};

constexpr ArchiveIndex kIndexes[] = {
    {kRegistry, u"idx_cod_cli", u"COD_CLI"},
    {kRegistry, u"idx_agente", u"substr(EXTRA_DATA, 7, 1)"},
    {kWarehouse, u"idx_cod", u"COD"},
    {kWarehouse, u"idx_fm", u"FM"},
    {kDdt, u"idx_bolla", u"BOLLA"},
    {kDdt, u"idx_cod_cli", u"COD_CLI"},
    {kDdtLines, u"idx_bolla_cod_cli", u"BOLLA|COD_CLI"},
    {kDdtLines, kMovementArticleIndex, u"COD"},
    {u"Archivio fatture Master", u"idx_fattura", u"FATTURA"},
    {u"Archivio fatture Detail", u"idx_fattura", u"FATTURA"},
    {u"Archivio fatture Master 2", u"idx_fattura", u"FATTURA"},
    {u"Archivio fatture Detail 2", u"idx_fattura", u"FATTURA"},
    // The heading line of each DDT an invoice gathers: finds the invoices a DDT is in.
    {u"Archivio fatture Detail", u"idx_des", u"DES"},
    {u"Archivio fatture Detail 2", u"idx_des", u"DES"},
    {kContacts, u"idx_cod_cli", u"COD_CLI"},
    {u"alleg_anag.db", u"idx_cod_cli", u"cod_cli"},
    {kOrders, u"idx_cod_cli", u"COD_CLI"},
    {kOrders, u"idx_cod_forn", u"COD_FORN"},
    {kOrders, u"idx_cod_art", u"COD_ART"},
    {u"Archivio scadenze", u"idx_cod_cli", u"COD_CLI"},
};

}  // namespace

std::span<const CompanionPair> companionPairs() { return kCompanions; }
std::span<const ArchiveIndex> archiveIndexes() { return kIndexes; }

QStringView companionOf(QStringView file) {
    for (const CompanionPair& p : kCompanions) {
        if (p.header.compare(file, Qt::CaseInsensitive) == 0) return p.lines;
        if (p.lines.compare(file, Qt::CaseInsensitive) == 0) return p.header;
    }
    return {};
}

std::span<const ArchiveDef> archiveCatalogue() { return kArchives; }
std::span<const CreationStep> creationOrder() { return kCreation; }
std::span<const ColumnProbe> probesBeforeInvoices() { return kBefore; }
std::span<const ColumnProbe> invoiceProbesFirst() { return kInvoiceFirst; }
std::span<const ColumnProbe> invoiceProbesSecond() { return kInvoiceSecond; }
std::span<const ColumnProbe> probesAfterInvoices() { return kAfter; }
std::span<const YearArchive> yearArchives() { return kYear; }
std::span<const QStringView> requiredPathKeys() { return kRequired; }
std::span<const QStringView> renumberedPathKeys() { return kRenumbered; }

const ArchiveDef* findArchive(QStringView file) {
    for (const ArchiveDef& a : kArchives)
        if (a.file.compare(file, Qt::CaseInsensitive) == 0) return &a;
    return nullptr;
}

QString archiveFileName(QStringView pattern, const QString& yearSuffix) {
    QString name = pattern.toString();
    name.replace(QStringLiteral("@YY@"), yearSuffix);
    return name;
}

QString archiveLocation(const QString& base, const ArchiveDef& def, const QString& yearSuffix) {
    const QString name = archiveFileName(def.file, yearSuffix);
    return def.kind == ArchiveKind::Playlist ? QDir(base).filePath(name) : dataFile(base, name);
}

}  // namespace zel
