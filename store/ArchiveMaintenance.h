#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace zel {

class Notifier;
class Settings;
class Store;

// Creates every archive of the creation order that is missing. A failing creation
// is reported and the others are still made (copies of a failed source are skipped).
// Returns the failures, each with the engine's message.
QStringList createMissingArchives(Store& store, const QString& base, const QString& yearSuffix);

// Sets every empty required archive path to its default; returns how many.
int fillMissingPaths(Settings& settings);

// The column upgrade. Each probe adds, in one transaction, those of its columns
// that the archive lacks; the first failure ends the upgrade and is returned.
// Missing archive files are skipped. agents receives the names of the sales agents.
struct UpgradeOutcome {
    QString failure;  // empty when the upgrade completed
    int columnsAdded = 0;
    int indexesMade = 0;
    QStringList agents;
};
UpgradeOutcome upgradeColumns(Store& store, const Settings& settings, Notifier& notifier,
                              const std::function<void(const QString&)>& phase = {});

// Turns an integer quantity column of an invoice lines archive into a decimal
// one, keeping every row and the column order. A copy is left in <base>/Dati/fatt.db.
void convertQuantityToDecimal(Store& store, const QString& linesPath, const QString& base);
// Widens a text column to CHAR(width) when it is declared narrower, keeping every row
// with its rowid and the column order, in one transaction. Returns true when it widened.
// The archive's indexes go with the old table: ensureIndexes makes them again.
bool widenTextColumn(Store& store, const QString& path, const QString& column, int width);
// The unit of an invoice line holds a DDT line's unit whole.
inline constexpr int kInvoiceUnitWidth = 20;
inline constexpr int kOrderCodeWidth = 20;

// True when the archive has rows and its QUANT column cannot hold decimals.
bool quantityNeedsDecimals(Store& store, const QString& linesPath);

// Makes the look-up indexes an archive lacks (once: they live in the archive's file).
// Returns how many were made.
int ensureIndexes(Store& store, const Settings& settings);

// True when ID is already 1..N in stored order; reads only.
bool isNumbered(Store& store, const QString& path);
// The start remembers, in the store's own database, each archive it found numbered,
// by the file's change counter and size: an archive nobody wrote since is not read again.
bool knownNumbered(Store& store, const QString& path);
void rememberNumbered(Store& store, const QString& path);
// Rewrites ID as 1..N in stored order, as one statement, unless it is so already; a
// missing or damaged file is skipped. Returns the number of rows.
qint64 renumberIds(Store& store, const QString& path);

// Points every per-year path at this year's file where it exists. Returns how
// many paths changed.
int switchToCurrentYear(Settings& settings, const QString& yearSuffix);
QString yearSwitchMessage();

}  // namespace zel
