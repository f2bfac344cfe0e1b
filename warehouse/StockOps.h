#pragma once

#include <QDate>
#include <QString>
#include <optional>

#include "documents/Money.h"

namespace zel {

class Settings;
class Store;

// The archives stock moves through.
struct StockArchives {
    QString warehouse;  // articles
    QString movements;  // the year's movement archive (the DDT lines)
    QString outside;    // outside warehouses, one stock row per warehouse and article
    QString orders;
    static StockArchives fromSettings(const Settings& settings);
};

// Causes of the movements made by hand.
inline constexpr char16_t kCauseLoad[] = u"Carico merce";
inline constexpr char16_t kCauseManualUnload[] = u"Scarico manuale";
inline constexpr char16_t kCauseInitialLoad[] = u"Carico inziale";
inline constexpr char16_t kCauseQuickUnload[] = u"Scarico veloce";
inline constexpr char16_t kCauseRestore[] = u"Ripristino movimento";

// One row of the movement archive. Empty texts are written as '', empty dates as NULL.
struct Movement {
    qint64 bolla = 0;
    QString cod;
    QString des;
    QDate data;
    QString codForn;  // supplier of a load, consignee of an unload
    QString codCli;
    double percIva = 0;
    double prezzo = 0;
    double peso = 0;
    QString seriale;
    double quant = 0;  // as typed, before the factor
    qint64 colli = 0;
    QString causale;
    QString fattura = QStringLiteral("X");
    QString note;
    QDate dataOrd;
    QString flag = QStringLiteral("X");
};

// Where a quantity goes: the main warehouse, or an outside one by its code (COD_MAG).
struct StockPlace {
    QString outsideCode;  // empty: main warehouse
    bool isOutside() const { return !outsideCode.isEmpty(); }
};

struct LoadRequest {
    Movement movement;    // written as given, with its cause set to kCauseLoad
    double quantity = 0;  // Q: the typed quantity through the factor
    UnitPrice price;      // unit purchase price
    StockPlace place;
    // The order line receiving the goods (order number > 0), matched by supplier too
    // when matchSupplier.
    qint64 order = 0;
    bool matchSupplier = false;
};

struct LoadOutcome {
    bool orderSearched = false;
    bool orderFound = false;
};

struct UnloadRequest {
    QString cod;
    double quantity = 0;  // Q
    double weight = 0;
    qint64 parcels = 0;
    StockPlace place;
    std::optional<Movement> movement;  // written when given
    QString billPath;                  // the unload bill archive; its row when not empty
    std::optional<Movement> billRow;
};

// The one way stock moves. Each operation is a relative update of the stock columns
// with its movement row. Called inside the caller's open transaction it writes there
// (a document writes its lines, stock and header as one); otherwise it runs in a
// transaction of its own. Failures throw StoreError; nothing is ever half written.
class StockOps {
public:
    StockOps(Store& store, StockArchives archives);

    const StockArchives& archives() const { return m_archives; }

    // Text refused for a code the warehouse does not hold.
    static QString unknownArticleMessage(const QString& code);
    bool articleExists(const QString& code) const;

    // A load by hand or from an order: movement, stock (qca, pca, cca, qcons, qord),
    // cost figures (costo_med, valo1..3, cod_forn), the order line, the renumbering.
    // An unknown article throws before anything is written.
    LoadOutcome load(const LoadRequest& request);

    // A manual unload: qsc, psc and csc grow, with the optional movement and bill row.
    void manualUnload(const UnloadRequest& request);

    // A document line leaving the warehouse: qsc = qsc + quantity. Nothing else moves,
    // the line itself being the movement. False when no article has the code.
    bool unload(const QString& code, double quantity);
    // The same line taken back: qsc = qsc - quantity.
    bool giveBack(const QString& code, double quantity);

    // The movement of a new article's initial quantity, and its qca.
    void initialLoad(const Movement& movement);

    // Appends a movement row; returns its rowid. The caller renumbers.
    qint64 appendMovement(const Movement& m);
    // After appending the rows past lastOldRowid: numbers only the new rows when the
    // old ones are 1..N already, the whole archive otherwise.
    void renumberMovements(qint64 lastOldRowid);
    qint64 lastMovementRowid() const;

    // Lowest and highest price of the article's load movements; 0 when there are none.
    std::pair<double, double> purchasePriceRange(const QString& code) const;

private:
    // A movement-shaped row into any archive with the movement columns (the unload bill).
    qint64 appendRow(const QString& path, const Movement& m);
    void addToPlace(const StockPlace& place, const QString& code, double q, double weight,
                    qint64 parcels, bool unload);

    Store& m_store;
    StockArchives m_archives;
};

}  // namespace zel
