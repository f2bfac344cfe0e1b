#pragma once

#include <QMap>
#include <QString>

#include "documents/Money.h"
#include "documents/VatRates.h"

namespace zel {

class Store;
struct DdtLine;

// The figures of a delivery note's header, summed over its lines: the goods at their
// net prices, the VAT of each rate, parcels, weight, the three processings and waste.
// Amounts are rounded per line and per rate only; kilograms are summed exactly to the
// ten-thousandth.
class DdtTotals {
public:
    struct Processing {
        qint64 kgUnits = 0;  // 1/10000 kg
        Money cost;          // kilograms × price per kilogram, rounded per line
        double kg() const;
    };

    // Adds one line: quantity × net price at its VAT rate, parcels, weight, processing, waste.
    void add(const DdtLine& line);

    // The lines of one registered DDT: number and recipient name it whole; trace rows
    // of a restore and supplier loads are not its lines.
    static DdtTotals ofDdt(Store& store, const QString& linesPath, qint64 number,
                           const QString& recipient);
    // Every line of a temporary table.
    static DdtTotals ofTable(Store& store, const QString& path);

    // Writes the figures into the header of that DDT (prezzo, iva, tot_colli, tot_peso,
    // the processing columns, scarto), inside the caller's transaction.
    void writeHeader(Store& store, const QString& headerPath, qint64 number,
                     const QString& recipient) const;

    Money goods() const { return m_goods; }
    // Σ over the rates of round(taxable at that rate × rate / 100).
    Money vat() const;
    const QMap<VatRate, Money>& taxableByRate() const { return m_taxable; }
    qint64 parcels() const { return m_parcels; }
    double weight() const;
    const Processing& processing(int i) const { return m_processing[i]; }
    double waste() const;
    int lines() const { return m_lines; }

private:
    static DdtTotals sum(Store& store, const QString& path, const QString& where,
                         const QVariantList& params);

    Money m_goods;
    QMap<VatRate, Money> m_taxable;
    qint64 m_parcels = 0;
    qint64 m_weightUnits = 0;
    Processing m_processing[3];
    qint64 m_wasteUnits = 0;
    int m_lines = 0;
};

}  // namespace zel
