#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <optional>

#include "documents/DocumentTotals.h"
#include "documents/Money.h"

namespace zel {

class Settings;
class Store;

// The archives a quote lives in.
struct QuoteArchives {
    QString header;   // preventivi
    QString lines;    // preventivi_dett
    QString working;  // Dati/prev_tmp.db
    static QuoteArchives fromSettings(const Settings& settings);
};

// One line of a quote, in the working table or in the line archive (by rowid).
struct QuoteLine {
    qint64 rowid = 0;
    qint64 id = 0;
    QString cod, des, note, unitamis, prezzoAlfa, immagine;
    bool stampaAlfa = false;
    double quant = 0, prezzo = 0, sconto = 0, percIva = 0;

    // prezzo − prezzo / 100 × sconto.
    double prezzonett() const { return prezzo - prezzo / 100.0 * sconto; }
    // The net amount of the line: round(quant × prezzonett).
    Money amount() const;
};

// The header fields a quote is saved with.
struct QuoteHeader {
    qint64 number = 0;
    QDate date;
    QString codCli, nomeCli, piva, cf;
    QString oggetto, pagam, ordine, note, note2, consegna, firma, catFisc;
    QString titoloesen;  // exemption title: no VAT
    QDate validita;
    QDate dates[3];
    bool flags[3] = {true, false, false};
};

// The figures stored in a quote's header.
struct QuoteFigures {
    Money taxable, vat[3], vatTotal, total;
};

// Quotes: the working table of the quote being written, saving, the line edits of the
// browser, deleting and duplicating. Every write is one transaction and throws
// StoreError with an Italian message, leaving the archives as they were.
class QuoteArchive {
public:
    QuoteArchive(Store& store, const Settings& settings, QuoteArchives archives);
    QuoteArchive(Store& store, const Settings& settings);

    const QuoteArchives& archives() const { return m_archives; }

    // MAX(fattura) + 1, 1 for an empty archive.
    qint64 proposeNumber() const;
    bool numberTaken(qint64 number) const;

    // Working table.
    void clearWorking();
    qint64 appendWorking(const QuoteLine& line, const QString& codCli, const QDate& date);
    void removeWorking(qint64 rowid);
    QList<QuoteLine> workingLines() const;

    // The totals of lines by the invoicing rule; the refusals of lines at a rate that is
    // not configured are appended to refusals when given.
    DocumentTotals totalsOf(const QList<QuoteLine>& lines, const QString& exemption,
                            QStringList* refusals = nullptr) const;
    static QuoteFigures figuresOf(const DocumentTotals& totals);

    // Header and every working line under the header's number, date and customer; the
    // working table is emptied. Refuses a taken number, a line at a rate not configured
    // and text longer than its column.
    QuoteFigures save(const QuoteHeader& header);

    // The lines of a saved quote, in stored order.
    QList<QuoteLine> linesOf(qint64 number) const;
    // The stored figures of a quote; nothing when there is no such quote.
    std::optional<QuoteFigures> storedFigures(qint64 number) const;

    // Browser edits, each with the header's figures recomputed from zero.
    QuoteFigures recompute(qint64 number);
    QuoteFigures updateLine(qint64 number, const QuoteLine& line);
    QuoteFigures addLine(qint64 number, const QuoteLine& line);
    QuoteFigures removeLine(qint64 number, qint64 rowid);
    // Changes the customer of the quote and of every line.
    void changeCustomer(qint64 number, const QString& codCli, const QString& nomeCli);
    void removeQuote(qint64 number);
    // A copy under MAX + 1 dated today; returns its number.
    qint64 duplicate(qint64 number);

    static QString saveErrorMessage(const QString& cause);
    static QString writeErrorMessage(const QString& cause);

private:
    void checkLengths(const QuoteHeader& header, const QList<QuoteLine>& lines) const;
    void insertLine(const QString& archive, const QuoteLine& line, qint64 number,
                    const QDate& date, const QString& codCli, qint64 id);
    QuoteFigures writeFigures(qint64 number);
    void renumber(const QString& archive, qint64 number);

    Store& m_store;
    const Settings& m_settings;
    QuoteArchives m_archives;
};

}  // namespace zel
