#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include "ddt/DdtLine.h"
#include "ddt/DdtTotals.h"
#include "warehouse/StockOps.h"

namespace zel {

class Settings;
class Store;

// The archives a delivery note is written into.
struct DdtArchives {
    QString header;     // ddt<YY>
    QString lines;      // dett_ddt<YY>
    QString temporary;  // the window's lines, dett_ddt_tmp
    QString warehouse;
    QString outside;
    QString orders;
    static DdtArchives fromSettings(const Settings& settings);
};

// What the closing page gives the header.
struct DdtHeader {
    qint64 number = 0;
    QString recipient;
    QDate date;
    QString causale;
    QString contrass = QStringLiteral("*");  // billing mark: header controllo and flag
    QString fattura = QStringLiteral("S");
    QString ordine;
    QDate dataord;
    QString aspetto, porto, trasporto, imballo;
    QString note1, note2;
    QString agente;
    // The user typed a number that exists and accepted the warning.
    bool duplicateAccepted = false;
};

// A line that registration leaves out, and why.
struct LeftOutLine {
    DdtLine line;
    QString reason;
};

// What registration will do, known before anything is written.
struct DdtPlan {
    QList<DdtLine> lines;
    QList<LeftOutLine> leftOut;
    QList<DdtLine> letteredOrders;  // order numbers with letters: registered without an order
    DdtTotals totals;
    StockPlace place;
};

// Registration of a new delivery note: the lines of the temporary table become the
// DDT's lines with its number, recipient and date; stock leaves the warehouse (main or
// outside), order lines receive the goods, the lines archive is renumbered, the header
// gets the sums of its lines and the temporary table is emptied, all in one transaction.
class DdtRegistration {
public:
    DdtRegistration(Store& store, const Settings& settings);
    DdtRegistration(Store& store, DdtArchives archives, StockPlace place, bool deliveredOnly);

    const DdtArchives& archives() const { return m_archives; }

    // Reads the temporary lines and sorts them into kept and left out.
    DdtPlan plan(const DdtHeader& header) const;

    // The question naming the lines left out and the order numbers with letters;
    // empty when there is nothing to ask.
    static QString question(const DdtPlan& plan);
    static QString questionTitle();
    // The refusal of a DDT without a line to register.
    static QString noLinesMessage(const DdtHeader& header);

    // ".bak" copies of the lines, header and orders archives, each only when it does not
    // exist yet. False when a copy could not be made.
    bool backups() const;

    // The one transaction. Throws StoreError with the Italian cause; nothing is then
    // written and the temporary lines stay.
    void write(const DdtHeader& header, const DdtPlan& plan);

    // The whole number an order field holds, if it holds one; empty means no order.
    static std::optional<qint64> orderNumber(const QString& text);
    // An order field that is not a whole number: its line moves no order.
    static bool hasLetters(const QString& order);
    // The temporary lines, in order.
    QList<DdtLine> temporaryLines() const;

    static QString lineErrorMessage(const QString& cause);
    static QString headerErrorMessage(const QString& cause);
    static QString failedMessage(qint64 number);
    static QString doneMessage(qint64 number);

private:
    Store& m_store;
    DdtArchives m_archives;
    StockPlace m_place;
    bool m_deliveredOnly = false;
};

}  // namespace zel
