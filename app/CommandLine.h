#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

namespace zel {

struct CommandLine {
    QString base;   // absolute base folder
    bool baseGiven = false;  // --base was on the command line
    bool init = false;
    bool help = false;
    // --stampa-ddt N [--anno AAAA] [--cliente CODICE] --pdf FILE
    bool printDdt = false;
    qint64 ddtNumber = 0;
    int ddtYear = 0;
    QString ddtRecipient;
    QString pdf;
    // --stampa-fattura N [--anno AAAA] --pdf FILE
    bool printInvoice = false;
    qint64 invoiceNumber = 0;
    // --fatture-differite --dal AAAA-MM-GG --al AAAA-MM-GG [--data-fattura AAAA-MM-GG]
    bool monthEnd = false;
    QDate from, to, invoiceDate;
    // --scadenze --dal AAAA-MM-GG --al AAAA-MM-GG [--non-pagate] --pdf FILE
    bool printDeadlines = false;
    bool unpaidOnly = false;
    // --stampa-ordine N --pdf FILE
    bool printOrder = false;
    qint64 orderNumber = 0;
    // --stampa-preventivo N --pdf FILE
    bool printQuote = false;
    qint64 quoteNumber = 0;
    QString error;  // set when the arguments cannot be understood

    // Commands that run without a window, and so without a display.
    bool batch() const { return init || help || printDdt || printInvoice || monthEnd || printDeadlines || printOrder || printQuote || !error.isEmpty(); }
    // Batch commands that draw (prints to PDF) need fonts, off screen.
    bool batchDraws() const { return (printDdt || printInvoice || printDeadlines || printOrder || printQuote) && error.isEmpty(); }

    static CommandLine parse(const QStringList& arguments);
    // The usage text in Italian, with the exit codes.
    static QString usage();
};

// Runs the data start-up without any window, writing its messages to standard error.
int runInit(const CommandLine& cmd);

// Writes DDT --stampa-ddt of the base folder to the --pdf file, without any window.
int runPrintDdt(const CommandLine& cmd);

// Writes invoice --stampa-fattura of the base folder to the --pdf file, without any window.
int runPrintInvoice(const CommandLine& cmd);

// Month-end invoicing of --dal .. --al, without any window.
int runMonthEnd(const CommandLine& cmd);

// Writes the deadlines due --dal .. --al to the --pdf file, without any window.
int runPrintDeadlines(const CommandLine& cmd);

// Writes order --stampa-ordine of the base folder to the --pdf file, without any window.
int runPrintOrder(const CommandLine& cmd);

// Writes quote --stampa-preventivo of the base folder to the --pdf file, without any window.
int runPrintQuote(const CommandLine& cmd);
// Applies --today, which pins the program's date (for checking year changes).
bool applyToday(const QStringList& arguments, QString* error);

}  // namespace zel
