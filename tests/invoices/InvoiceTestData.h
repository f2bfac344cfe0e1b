#pragma once

#include <QDate>
#include <QString>

#include "tests/store/SqliteProbe.h"

namespace zel::test {

// Registered DDT and customers written straight into the year-26 archives.
class InvoiceSeed {
public:
    explicit InvoiceSeed(QString dataDir) : m_dir(std::move(dataDir)) {}

    QString file(const QString& name) const { return m_dir + QLatin1Char('/') + name; }
    QString ddtHeader() const { return file(QStringLiteral("ddt26.db")); }
    QString ddtLines() const { return file(QStringLiteral("dett_ddt26.db")); }
    QString header() const { return file(QStringLiteral("fatture26.db")); }
    QString lines() const { return file(QStringLiteral("dett_fatture26.db")); }
    QString deadlines() const { return file(QStringLiteral("scad.db")); }
    QString registry() const { return file(QStringLiteral("anagrafica.db")); }
    QString warehouse() const { return file(QStringLiteral("magazzino.db")); }

    void customer(const QString& code, const QString& name, const QString& term = {},
                  const QString& pagam = {}) const {
        Probe::exec(
            registry(),
            QStringLiteral("INSERT INTO anagrafica (COD_CLI, NOME, SCADPAG, PAGAM, BANCA, CLIENTE) "
                           "VALUES ('%1', '%2', '%3', '%4', 'Banca Uno', 1)")
                .arg(code, name, term, pagam));
    }
    void ddt(qint64 number, const QDate& date, const QString& customer, double goods = 0) const {
        Probe::exec(
            ddtHeader(),
            QStringLiteral("INSERT INTO ddt26 (BOLLA, DATA_MOV, COD_CLI, COD_FORN, FATTURA, FLAG, "
                           "CONTROLLO, PREZZO) VALUES (%1, '%2', '%3', '', 'S', '*', '*', %4)")
                .arg(number)
                .arg(date.toString(Qt::ISODate), customer)
                .arg(goods));
    }
    void line(qint64 number, const QDate& date, const QString& customer, const QString& cod,
              double quant, double price, double rate,
              const QString& unit = QStringLiteral("Pz")) const {
        Probe::exec(
            ddtLines(),
            QStringLiteral(
                "INSERT INTO dett_ddt26 (BOLLA, DATA, COD_CLI, COD_FORN, COD, DES, QUANT, "
                "PREZZO, PREZZONETT, SCONTO, PERC_IVA, UNITAMIS, FATTURA, FLAG) VALUES "
                "(%1, '%2', '%3', '', '%4', 'Articolo %4', %5, %6, %6, 0, %7, '%8', 'S', '*')")
                .arg(number)
                .arg(date.toString(Qt::ISODate), customer, cod)
                .arg(quant)
                .arg(price)
                .arg(rate)
                .arg(unit));
    }
    // The invoice of the examples: DDT 7 and 9 of C1, and a DDT 7 of the same day for C2.
    void twoDdtOfC1() const {
        customer(QStringLiteral("C1"), QStringLiteral("Rossi Mario"));
        customer(QStringLiteral("C2"), QStringLiteral("Bianchi Srl"));
        const QDate d7(2026, 3, 5), d9(2026, 3, 12);
        ddt(7, d7, QStringLiteral("C1"), 164.00);
        line(7, d7, QStringLiteral("C1"), QStringLiteral("A1"), 10, 13.50, 22,
             QStringLiteral("Conf."));
        line(7, d7, QStringLiteral("C1"), QStringLiteral("A2"), 4, 7.25, 10);
        ddt(9, d9, QStringLiteral("C1"), 67.72);
        line(9, d9, QStringLiteral("C1"), QStringLiteral("A3"), 3, 19.99, 22);
        line(9, d9, QStringLiteral("C1"), QStringLiteral("A4"), 2.5, 3.10, 4);
        ddt(7, d7, QStringLiteral("C2"), 500);
        line(7, d7, QStringLiteral("C2"), QStringLiteral("B1"), 1, 500, 22);
    }

private:
    QString m_dir;
};

}  // namespace zel::test
