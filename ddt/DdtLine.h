#pragma once

#include <QDate>
#include <QString>

namespace zel {

// A line of a delivery note as the window collects it in its temporary table and as
// registration writes it into the year's lines archive.
struct DdtLine {
    qint64 rowid = 0;  // in the temporary table; 0 for a new line
    QString cod;
    QString des;
    double prezzo = 0;      // sale price before the discount
    double prezzonett = 0;  // net unit price, as shown (rounded to its decimals)
    double sconto = 0;      // whole percent
    double percIva = 0;
    QString unitamis;
    double quant = 0;
    double peso = 0;
    qint64 colli = 0;
    double scarto = 0;
    double ptropic = 0, ctropic = 0;
    double pzincat = 0, czincat = 0;
    double pdorat = 0, cdorat = 0;
    QString ordine;
    QDate dataord;
    QString fattura = QStringLiteral("S");
    QString flag = QStringLiteral("*");  // billing mark, one character
    QString note;
    qint64 contatore = 0;
    // False when the user answered "NO per non scaricare": the line is registered
    // without unloading, and says so in its `controllo` column.
    bool unload = true;
    // Filled when read back; registration takes them from the header instead.
    qint64 bolla = 0;
    QDate data;
    QString codCli;
};

// The mark a registered line carries in `controllo` when it left no stock: a restore
// must not give back what was never unloaded.
inline constexpr char16_t kLineNotUnloaded[] = u"N";
// The causal of a temporary line.
inline constexpr char16_t kDdtLineCause[] = u"Scarico da DDT";

}  // namespace zel
