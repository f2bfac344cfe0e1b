#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

#include "documents/DocumentTotals.h"
#include "documents/Money.h"

namespace zel {

class Settings;
class Store;

// The archives a summary invoice reads and writes.
struct InvoiceArchives {
    QString header;     // fatture<YY>
    QString lines;      // dett_fatture<YY>
    QString ddtHeader;  // ddt<YY>
    QString ddtLines;   // dett_ddt<YY>
    QString registry;   // anagrafica
    QString deadlines;  // scad
    // The configured archives; the DDT ones of `ddtYear` when given.
    static InvoiceArchives fromSettings(const Settings& settings, int ddtYear = 0);
};

// A DDT of the customer that can be invoiced.
struct InvoiceDdt {
    qint64 bolla = 0;
    QDate data;
    QString flag;  // its billing mark
    QString codCli;
    Money amount;             // the goods of its header
    QString heading() const;  // "DDT n. 7 del 05/03/2026"
};

// A DDT line copied into the invoice.
struct InvoiceLine {
    qint64 bolla = 0;
    QString cod, des, unitamis, flag;
    double quant = 0, prezzo = 0, prezzonett = 0, sconto = 0, percIva = 0, peso = 0;
    double ptropic = 0, pzincat = 0, pdorat = 0, ctropic = 0, czincat = 0, cdorat = 0;
};

// What registering the lines will write, known before anything is written.
struct InvoicePlan {
    QString customer;
    QList<InvoiceDdt> ddts;           // with at least one line, in number order
    QList<QList<InvoiceLine>> lines;  // per DDT of ddts
    QList<InvoiceDdt> skipped;        // no matching line
    QStringList refusals;             // lines at a rate outside the configured ones
    QStringList earlierInvoices;      // warnings: a DDT already in another invoice
    DocumentTotals totals;
    int lineCount() const;
    bool empty() const { return ddts.isEmpty(); }
};

// The footer of an invoice: what header completion writes.
struct InvoiceFooter {
    QDate date;
    QString tipodoc;
    Money taxableExpenses, exemptExpenses, generalProcessing;
    double discountPercent = 0;
    QString exemption;      // titoloesen
    QString paymentMethod;  // cmb_tipo_pagam: deadline kind
    QString paymentTerm;    // cmb_scadenza
    QString bank;
    QString note1, note2, note3;
    QString gruppo, catFisc;
    QList<QDate> dueDates;     // up to four
    QList<Money> instalments;  // one per due date
    bool printDate[4] = {true, false, false, false};
    bool paid = false;
};

// The summary invoice from DDT: lines and header in one transaction, header completion
// in one, deadlines in one. Each throws StoreError on failure, nothing written.
class InvoiceRegistration {
public:
    InvoiceRegistration(Store& store, const Settings& settings, InvoiceArchives archives);

    const InvoiceArchives& archives() const { return m_archives; }

    // The number of the last invoice, 0 when there is none; the proposal is it + 1.
    qint64 lastNumber() const;
    bool numberTaken(qint64 number) const;
    static QString lastNumberMessage(qint64 last);
    static QString takenMessage();

    // The invoiceable DDT of a customer in a date range, by number.
    QList<InvoiceDdt> ddtsOf(const QString& customer, const QDate& from, const QDate& to) const;
    // The candidate lines: range, invoiceable, customer and mark.
    QList<InvoiceLine> candidateLines(const QString& customer, const QDate& from, const QDate& to,
                                      const QString& mark) const;
    // Reads the lines of each DDT (number, date, mark and customer) and their totals.
    InvoicePlan plan(const QString& customer, const QList<InvoiceDdt>& ddts) const;

    // Header and lines: a heading line per DDT then its lines. Refuses a plan with
    // refusals, an empty plan and a number already taken (checked inside).
    void registerLines(const InvoicePlan& plan, qint64 number, const QDate& date,
                       const QString& tipodoc);
    // Writes the footer and the totals into the header.
    void complete(qint64 number, const QString& customer, const DocumentTotals& totals,
                  const InvoiceFooter& footer);
    // The deadlines of the invoice; false (nothing written) when they are already there.
    bool writeDeadlines(qint64 number, const QString& customer, const InvoiceFooter& footer);
    bool hasDeadlines(qint64 number, const QString& customer, const QDate& date) const;
    static QString deadlinesMessage(const InvoiceFooter& footer);
    static QString deadlinesThereMessage(qint64 number);

    // The registry name of a customer.
    QString customerName(const QString& customer) const;

    // The same steps inside the caller's transaction (the month-end run).
    void insertInvoice(const InvoicePlan& plan, qint64 number, const QDate& date,
                       const QString& tipodoc);
    void updateHeader(qint64 number, const QString& customer, const DocumentTotals& totals,
                      const InvoiceFooter& footer);
    void insertDeadlines(qint64 number, const QString& customer, const InvoiceFooter& footer);

private:
    Store& m_store;
    const Settings& m_settings;
    InvoiceArchives m_archives;
};

}  // namespace zel
