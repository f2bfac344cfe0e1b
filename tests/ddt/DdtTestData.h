#pragma once

#include <QString>

#include "ddt/DdtLine.h"
#include "settings/Settings.h"
#include "tests/WindowFixture.h"

namespace zel::test {

// Articles A1 and A2, customer C1 and the order line 12 of A1: the data of a DDT's
// main path.
class DdtData : public WindowFixture {
protected:
    QString path(const char16_t* key) const { return settings->text(u"Path", key); }
    QString header() const { return path(u"Archivio DDT Master"); }
    QString lines() const { return path(u"Archivio DDT Detail"); }
    QString warehouse() const { return path(u"Archivio Magazzino"); }
    QString orders() const { return path(u"Archivio Ordini"); }
    QString registry() const { return path(u"Archivio anagrafica"); }
    QString temporary() const { return data(QStringLiteral("dett_ddt_tmp.db")); }
    QString outside() const { return data(QStringLiteral("mag_ext.db")); }

    void article(const QString& cod, double price, double qca, double qord) const {
        Probe::exec(
            warehouse(),
            QStringLiteral("INSERT INTO magazzino (ID, COD, DES, PREZZO_VEN, LISTINO1, LISTINO2, "
                           "SCONTO, QCA, QSC, PCA, PSC, CCA, CSC, QCONS, QORD, SCORTAMIN, "
                           "TOLLERANZA, UM, FM) VALUES ((SELECT COUNT(*) + 1 FROM magazzino), "
                           "'%1', 'Articolo %1', %2, %2, %2, 0, %3, 1, 10, 0.5, 10, 1, 0, %4, 2, "
                           "1, 'Pz.', 1)")
                .arg(cod)
                .arg(price)
                .arg(qca)
                .arg(qord));
    }
    void customer(const QString& cod, const QString& name, int listino = 1) const {
        Probe::exec(registry(),
                    QStringLiteral("INSERT INTO anagrafica (COD_CLI, NOME, LISTINO, AGENTE) VALUES "
                                   "('%1', '%2', %3, '')")
                        .arg(cod, name)
                        .arg(listino));
    }
    void order(int number, const QString& cod, const QString& cli, double quant) const {
        Probe::exec(orders(),
                    QStringLiteral(
                        "INSERT INTO ordini (ordine, COD_CLI, COD_FORN, COD_ART, DES, DATA, QUANT, "
                        "CONSEGNATO_quant, CONSEGNATO_colli, PREZZO) VALUES (%1, '%3', '', '%2', "
                        "'Articolo %2', '2026-12-01', %4, 0, 0, 10)")
                        .arg(number)
                        .arg(cod, cli)
                        .arg(quant));
    }
    void mainPathData() const {
        article(QStringLiteral("A1"), 10.0, 100, 20);
        article(QStringLiteral("A2"), 4.5, 50, 0);
        customer(QStringLiteral("C1"), QStringLiteral("Rossi Mario"));
        order(12, QStringLiteral("A1"), QStringLiteral("C1"), 10);
    }
    // Columns of the stock the main path moves, A1's row.
    QVariantList stockOf(const QString& cod) const {
        const auto r = Probe::rows(
            warehouse(), QStringLiteral("SELECT QSC, CSC, PSC, QCONS, QORD FROM magazzino WHERE "
                                        "COD = '%1'")
                             .arg(cod));
        return r.isEmpty() ? QVariantList() : r.first();
    }
    QVariantList orderLine(int number) const {
        const auto r = Probe::rows(
            orders(), QStringLiteral("SELECT QUANT, CONSEGNATO_quant, CONSEGNATO_colli FROM "
                                     "ordini WHERE ordine = %1")
                          .arg(number));
        return r.isEmpty() ? QVariantList() : r.first();
    }
    QString snapshot() const {
        return Probe::dump(header()) + Probe::dump(lines()) + Probe::dump(warehouse()) +
               Probe::dump(orders()) + Probe::dump(outside()) + Probe::dump(temporary());
    }
    void failOn(const QString& file, const QString& table) const {
        Probe::exec(file,
                    QStringLiteral(
                        "CREATE TRIGGER fail_insert BEFORE INSERT ON %1 BEGIN SELECT RAISE(ABORT, "
                        "'disco pieno'); END")
                        .arg(table));
    }
    void dropFail(const QString& file) const {
        Probe::exec(file, QStringLiteral("DROP TRIGGER fail_insert"));
    }

    static DdtLine a1Line() {
        DdtLine l;
        l.cod = QStringLiteral("A1");
        l.des = QStringLiteral("Articolo A1");
        l.prezzo = 10;
        l.sconto = 10;
        l.prezzonett = 9;
        l.percIva = 22;
        l.quant = 5;
        l.colli = 1;
        l.peso = 2.5;
        l.ordine = QStringLiteral("12");
        l.unitamis = QStringLiteral("Pz.");
        return l;
    }
    static DdtLine a2Line() {
        DdtLine l;
        l.cod = QStringLiteral("A2");
        l.des = QStringLiteral("Articolo A2");
        l.prezzo = 4.5;
        l.prezzonett = 4.5;
        l.percIva = 10;
        l.quant = 3;
        l.colli = 1;
        l.peso = 1.2;
        l.unitamis = QStringLiteral("Pz.");
        return l;
    }
};

}  // namespace zel::test
