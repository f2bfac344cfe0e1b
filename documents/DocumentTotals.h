#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <optional>

#include "documents/Money.h"
#include "documents/VatRates.h"

namespace zel {

// One line of a document as its totals see it. A line with quantity 0 (a heading) adds
// nothing.
struct TotalsLine {
    QString name;  // how a message names it ("DDT 7 del 05/03/2026, riga 2")
    double quant = 0;
    double prezzonett = 0;
    double percIva = 0;
    // The three processings: kilograms and price per kilogram.
    double ptropic = 0, ctropic = 0;
    double pzincat = 0, czincat = 0;
    double pdorat = 0, cdorat = 0;
};

// The figures of an invoice, a quote or an order, from its lines and the amounts typed in
// its footer. Rounding happens at fixed points only: each line amount, each processing
// cost of a line, the discount of each rate's taxable and the VAT of each rate; every
// total is a sum of those rounded parts, so taxable + VAT + exempt expenses is the total.
//
// Expenses, the general processing cost and the processing costs of the lines are taxed
// at the third configured rate. The general processing cost is counted once.
class DocumentTotals {
public:
    explicit DocumentTotals(VatRates rates);

    // Adds a line; refuses (and adds nothing) a non-zero rate that is not configured,
    // returning the message that names the line.
    std::optional<QString> addLine(const TotalsLine& line);

    void setTaxableExpenses(Money m) { m_expenses = m; }               // ed_spese_imp
    void setExemptExpenses(Money m) { m_exemptExpenses = m; }          // ed_spese_esiva
    void setGeneralProcessing(Money m) { m_generalProcessing = m; }    // ed_lavoraz
    void setDiscountPercent(double percent) { m_discount = percent; }  // ed_sconto
    // With an exemption article no VAT is charged.
    void setExemption(const QString& article) { m_exemption = article.trimmed(); }

    const VatRates& rates() const { return m_rates; }
    int lines() const { return m_lines; }

    // Σ line amounts.
    Money goods() const { return m_goods; }
    // Processing i (0..2): kilograms and cost summed over the lines.
    double processingKg(int i) const;
    Money processingCost(int i) const { return m_processingCost[i]; }
    Money processingCosts() const;
    Money taxableExpenses() const { return m_expenses; }
    Money exemptExpenses() const { return m_exemptExpenses; }
    Money generalProcessing() const { return m_generalProcessing; }
    double discountPercent() const { return m_discount; }
    const QString& exemption() const { return m_exemption; }
    bool exempt() const { return !m_exemption.isEmpty(); }

    // Taxable before expenses and discount: goods + processing costs + general processing.
    Money taxableBeforeExpenses() const;
    // Plus taxable expenses, before the discount.
    Money grossTaxable() const;
    // Each rate's taxable after the discount (rate 0 included).
    QMap<VatRate, Money> netTaxableByRate() const;
    // Σ netTaxableByRate: imp_netto.
    Money netTaxable() const;
    // The VAT of configured rate i (0..2) after the discount; 0 when exempt.
    Money vatAt(int i) const;
    // The VAT of any rate after the discount; 0 when exempt.
    Money vatOf(const VatRate& rate) const;
    Money vatTotal() const;
    // netTaxable + vatTotal + exempt expenses.
    Money total() const;

private:
    VatRate expenseRate() const;
    Money discounted(Money m) const;
    QMap<VatRate, Money> grossByRate() const;

    VatRates m_rates;
    QMap<VatRate, Money> m_lineTaxable;
    Money m_goods;
    qint64 m_processingKgUnits[3] = {0, 0, 0};
    Money m_processingCost[3];
    Money m_expenses;
    Money m_exemptExpenses;
    Money m_generalProcessing;
    double m_discount = 0;
    QString m_exemption;
    int m_lines = 0;
};

}  // namespace zel
