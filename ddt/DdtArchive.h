#pragma once

#include <QAbstractTableModel>
#include <QDate>
#include <QHash>
#include <QList>
#include <QString>
#include <QVariant>
#include <QVariantMap>
#include <optional>
#include <vector>

namespace zel {

class Settings;
class Store;

// The archives one DDT year lives in, with the registry and the stock it refers to.
struct DdtYearArchives {
    QString header;     // ddt<YY>
    QString lines;      // dett_ddt<YY>
    QString registry;   // anagrafica
    QString warehouse;  // magazzino
    QString outside;    // mag_ext
    // The warehouse DDT lines leave from ("Codice magazzino predefinito"): empty for the
    // main one, else the outside warehouse's code.
    QString unloadPlace;

    // The archives the settings name.
    static DdtYearArchives fromSettings(const Settings& settings);
    // The archives of a year: the configured ones when they are that year's, else
    // Dati/ddt<YY>.db and Dati/dett_ddt<YY>.db.
    static DdtYearArchives ofYear(const Settings& settings, int year);
    // 2000 + the two digits at the end of the header file's name; 0 when there are none.
    int year() const;
    // Every year whose Dati/ddt<YY>.db exists, and the current year, ascending.
    static QList<int> existingYears(const QString& base);
};

// One DDT, named whole: its number and its recipient, in the year archive at hand.
struct DdtKey {
    qint64 number = 0;
    QString recipient;  // cod_cli
    bool operator==(const DdtKey&) const = default;
};

// A DDT header as the browser lists it.
struct DdtListEntry {
    qint64 rowid = 0;
    qint64 bolla = 0;
    QString fattura;
    QDate data;
    QString codCli;
    QString codForn;
    QString nome;
    QString causale;
    double colli = 0;
    double peso = 0;
    double prezzo = 0;
    DdtKey key() const { return {bolla, codCli}; }
};

// The fields of a line the browser edits or adds.
struct DdtLineFields {
    QString cod;
    QString des;
    QString codCli;
    double prezzo = 0;
    double prezzoNett = 0;
    double sconto = 0;
    double percIva = 0;
    QString unitaMis;
    double quant = 0;
    double peso = 0;
    qint64 colli = 0;
    double ptropic = 0, ctropic = 0, pzincat = 0, czincat = 0, pdorat = 0, cdorat = 0;
    qint64 scarto = 0;
    QString ordine;
    QDate dataOrd;
    QDate data;
    QString fattura;
    QString flag;
};

// The header fields the browser edits.
struct DdtHeaderFields {
    QString causale;
    QString porto;
    QString fattura;
    QString aspetto;
    QString trasporto;
    QString imballo;
    QString ordine;
    QString note1;
    QString note2;
    QDate data;
};

struct DeleteOutcome {
    bool deleted = false;
    int restored = 0;  // stock rows given back
};

// Reads and changes of registered DDT. Every statement that picks a DDT or its lines
// names it whole (number and recipient, in these archives); other DDT with the same
// number and supplier loads that carry a supplier's DDT number are never touched.
// Each change is one transaction: all of it or nothing; failures throw StoreError.
class DdtArchive {
public:
    DdtArchive(Store& store, DdtYearArchives archives);

    const DdtYearArchives& archives() const { return m_archives; }
    Store& store() { return m_store; }

    // The header row of a DDT (archive column names, upper case); nothing when missing.
    std::optional<QVariantMap> header(const DdtKey& key);
    // Its recipient's registry row; empty when the card was deleted.
    QVariantMap recipient(const QString& code);
    // Its visible lines (flag other than "X") in stored order, each with "ROWID".
    QList<QVariantMap> lines(const DdtKey& key);
    struct LineTotals {
        double peso = 0;
        double colli = 0;
        double quant = 0;
    };
    LineTotals lineTotals(const DdtKey& key);

    // Header "fattura" := "S" (the anomaly fix).
    void setInvoiceable(const DdtKey& key);
    // Header and lines change recipient; false when the DDT is no longer there.
    bool changeRecipient(const DdtKey& key, const QString& newCode);
    // One line and the header, then the header's totals from the lines.
    void updateLine(const DdtKey& key, qint64 lineRowid, const DdtLineFields& line,
                    const DdtHeaderFields& header);
    // A new line of the DDT (its number, recipient and date), renumbering, totals.
    void addLine(const DdtKey& key, const DdtLineFields& line);
    // The line with this rowid, if it belongs to the DDT; then the totals.
    bool deleteLine(const DdtKey& key, qint64 lineRowid);
    // The DDT's lines and header, with the optional stock give-back and the trace rows.
    DeleteOutcome deleteDdt(const DdtKey& key, bool restoreStock);

    // Recomputes the header's totals from its registered lines (inside a transaction).
    void recomputeHeader(const DdtKey& key);

    // Texts shown by the window.
    static QString restoredMessage(int count, qint64 number);
    static QString notDeletedMessage(qint64 number, const QString& code);

private:
    // ID 1..N again after lines from `rowid` on were deleted.
    void renumberFrom(qint64 rowid);
    QString headerTable();
    QString linesTable();

    Store& m_store;
    DdtYearArchives m_archives;
};

// One condition of the browser's accumulating filter.
struct DdtCondition {
    enum class Kind { Invoiceable, Load, Unload, Number, Customer, Supplier, Order };
    Kind kind;
    QString value;  // number, code or order; unused for the three ticks
};

// Which DDT the browser lists, in which order.
struct DdtQuery {
    enum class Kind {
        Default,  // headers not marked "X", by number
        Reset,    // every header, by number
        Filter,   // headers with a recipient or supplier meeting every condition, by number
        All,      // every header, by date
        Search,   // one number
        Sorted    // every header by a column of the fixed list
    };
    Kind kind = Kind::Default;
    QList<DdtCondition> conditions;
    qint64 number = 0;
    int sortColumn = 0;  // DdtListModel column
    bool descending = false;
};

// The browser's DDT list over a header archive that can hold 100,000 DDT: a selection
// reads only the rowids in their order; the grid's rows are read a window at a time.
// A DDT whose recipient card was deleted is listed with an empty name, once.
class DdtListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kWindow = 256;
    enum Column {
        Data,
        Bolla,
        Fattura,
        CodCli,
        CodForn,
        Nome,
        Causale,
        Colli,
        Peso,
        Prezzo,
        ColumnCount
    };

    explicit DdtListModel(QObject* parent = nullptr);

    // Throws StoreError.
    void select(Store& store, const DdtYearArchives& archives, const DdtQuery& query);
    void clear();
    // Reads the listed rows again (their rowids stay).
    void refresh();
    // Columns a title click may sort by.
    static bool sortable(int column);

    DdtListEntry entry(int row) const;
    int rowOf(const DdtKey& key) const;  // -1 when not listed
    int windowsRead() const { return m_windowsRead; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation o, int role = Qt::DisplayRole) const override;

private:
    const QList<DdtListEntry>& window(int block) const;
    QString nameExpr() const;

    Store* m_store = nullptr;
    QString m_header;
    QString m_registryTable;
    std::vector<qint64> m_rowids;
    mutable QHash<int, QList<DdtListEntry>> m_cache;
    mutable QList<int> m_cacheOrder;
    mutable int m_windowsRead = 0;
};

// The value of a row by column name, whatever its letter case.
QVariant rowValue(const QVariantMap& row, QStringView column);
// A DATE column's value (ISO text) as a date; invalid when empty.
QDate rowDate(const QVariantMap& row, QStringView column);

}  // namespace zel
