#pragma once

#include <QDate>
#include <QString>
#include <QVariantList>

#include "settings/Settings.h"
#include "store/Store.h"

namespace zel::test {

// Registered DDT written straight into the year archives, as registration leaves them.
struct DdtSeed {
    Store& store;
    const Settings& settings;

    QString headers() const { return settings.text(u"Path", u"Archivio DDT Master"); }
    QString lines() const { return settings.text(u"Path", u"Archivio DDT Detail"); }
    QString registry() const { return settings.text(u"Path", u"Archivio anagrafica"); }
    QString warehouse() const { return settings.text(u"Path", u"Archivio Magazzino"); }

    void partner(const QString& code, const QString& name,
                 const QString& city = QStringLiteral("Milano")) const {
        store.exec(
            QStringLiteral("INSERT INTO %1 (cod_cli, nome, via, cap, citta, prov1, piva, cliente) "
                           "VALUES (?, ?, 'Via Roma 1', '20100', ?, 'MI', '01234567890', 1)")
                .arg(store.table(registry())),
            {code, name, city});
    }
    void article(const QString& cod, const QString& des, double qca, double qsc, double psc = 0,
                 qint64 csc = 0) const {
        store.exec(
            QStringLiteral("INSERT INTO %1 (cod, des, qca, qsc, psc, csc, pca, cca, qcons, qord) "
                           "VALUES (?, ?, ?, ?, ?, ?, 0, 0, 0, 0)")
                .arg(store.table(warehouse())),
            {cod, des, qca, qsc, psc, csc});
    }
    void header(qint64 bolla, const QString& cli, const QDate& date,
                const QString& fattura = QStringLiteral("S"), const QString& forn = QString(),
                const QString& controllo = QStringLiteral("*")) const {
        store.exec(
            QStringLiteral(
                "INSERT INTO %1 (bolla, cod_cli, cod_forn, data_mov, controllo, fattura, causale, "
                "aspetto, porto, trasporto, imballo, ordine, tot_colli, tot_peso, prezzo, iva, "
                "flag, "
                "note1, note2) VALUES (?, ?, ?, ?, ?, ?, 'Vendita', 'Scatole', 'Franco', "
                "'Mittente', "
                "'Cartone', '', 0, 0, 0, 0, '*', '', '')")
                .arg(store.table(headers())),
            {bolla, cli, forn, date, controllo, fattura});
    }
    // A DDT line; `controllo` "N" marks one registered without unloading.
    void line(qint64 bolla, const QString& cli, const QString& cod, const QString& des,
              double quant, double net, double vat, qint64 colli, double peso, const QDate& date,
              const QString& ordine = QString(), const QDate& dataord = QDate(),
              const QString& controllo = QString()) const {
        store.exec(
            QStringLiteral(
                "INSERT INTO %1 (bolla, cod_cli, cod_forn, cod, des, quant, prezzo, prezzonett, "
                "perc_iva, sconto, colli, peso, data, ordine, dataord, fattura, flag, causale, "
                "unitamis, controllo) VALUES (?, ?, '', ?, ?, ?, ?, ?, ?, 0, ?, ?, ?, ?, ?, 'S', "
                "'*', "
                "'Vendita', 'N.', ?)")
                .arg(store.table(lines())),
            {bolla, cli, cod, des, quant, net, net, vat, colli, peso, date, ordine,
             dataord.isValid() ? QVariant(dataord) : QVariant(), controllo});
    }
    // A supplier's load that carries the supplier's DDT number.
    void supplierLoad(qint64 bolla, const QString& forn, const QString& cod, double quant,
                      const QDate& date) const {
        store.exec(
            QStringLiteral(
                "INSERT INTO %1 (bolla, cod_cli, cod_forn, cod, des, quant, colli, peso, data, "
                "fattura, flag, causale) VALUES (?, '', ?, ?, 'Carico', ?, 0, 0, ?, 'X', 'X', "
                "'Carico merce')")
                .arg(store.table(lines())),
            {bolla, forn, cod, quant, date});
    }
};

}  // namespace zel::test
