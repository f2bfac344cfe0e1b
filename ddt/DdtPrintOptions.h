#pragma once

#include <QDate>
#include <QString>
#include <QTime>

namespace zel {

class Settings;

// What the print pages of the DDT windows add to a DDT's print.
struct DdtPrintOptions {
    // "Destinazione (se diversa) - Destinatario"
    QString destName = QStringLiteral("MEDESIMA");
    QString destStreet;
    QString destCap;
    QString destCity;
    QString destProv;
    QString carrier1;
    QString carrier2;
    QDate pickupDate;
    bool pickupDateOn = false;
    QTime pickupTime;
    bool pickupTimeOn = false;
    QString note;  // QR_note
    bool unitColumn = true;
    bool weightColumn = false;
    bool orderColumn = false;
    bool orderDateColumn = false;
    bool wasteField = false;
    bool yourRefField = false;
    bool packingField = false;
    bool extraLogo = false;
    int copies = 1;

    // Column and footer options and the extra logo from the DDT settings; copies from
    // "Numero copie stampa DDT".
    static DdtPrintOptions fromSettings(const Settings& settings);
    // Writes the column and footer options back to the live settings.
    void writeBack(Settings& settings) const;
};

}  // namespace zel
