#pragma once

#include <QString>
#include <QStringView>
#include <span>

namespace zel {

enum class ArchiveKind {
    Business,  // documents, registry, warehouse
    Lookup,    // small lists edited in the setup
    Working,   // emptied copies used while a document is being made
    Playlist,  // background music, in the base folder
};

struct ArchiveDef {
    QStringView file;     // lower case; "@YY@" stands for the year suffix
    QStringView pathKey;  // key of section [Path] that names it, or empty
    ArchiveKind kind;
    QStringView columns;  // creation columns, or empty for a copy
    QStringView copyOf;   // the archive whose columns a copy takes
};

struct CreationStep {
    QStringView file;
    // For copies that are made only together with a newly created archive.
    QStringView onlyWhenCreated;
};

std::span<const ArchiveDef> archiveCatalogue();
const ArchiveDef* findArchive(QStringView file);
// Every archive made at start when missing, in the order of creation.
std::span<const CreationStep> creationOrder();

// "fatture@YY@.db" -> "fatture26.db".
QString archiveFileName(QStringView pattern, const QString& yearSuffix);
// Where creation puts an archive: <base>/Dati/<file>, the playlist in <base>.
QString archiveLocation(const QString& base, const ArchiveDef& def, const QString& yearSuffix);

// One probe of the column upgrade: when any column of the additions is missing
// from the archive, the missing ones are added.
struct ColumnProbe {
    QStringView archive;  // [Path] key, or "@M", "@L" for the invoice pair in use
    QStringView probe;
    QStringView additions;  // " ADD name TYPE, ADD ..."
};

std::span<const ColumnProbe> probesBeforeInvoices();
std::span<const ColumnProbe> invoiceProbesFirst();   // before the agents and quantity test
std::span<const ColumnProbe> invoiceProbesSecond();  // after it
std::span<const ColumnProbe> probesAfterInvoices();

// The per-year archives that the year switch moves: [Path] key and name prefix.
struct YearArchive {
    QStringView pathKey;
    QStringView prefix;
};
std::span<const YearArchive> yearArchives();

// Path keys that are reset to their default when found empty at start.
std::span<const QStringView> requiredPathKeys();

// The archives whose ID column is rewritten 1..N at every start.
std::span<const QStringView> renumberedPathKeys();

// Header and lines of one document kind: an archive missing while its companion holds
// rows is reported instead of being made again empty.
struct CompanionPair {
    QStringView header;  // file pattern, "@YY@" for the year
    QStringView lines;
};
std::span<const CompanionPair> companionPairs();
// The companion of a file pattern, or empty.
QStringView companionOf(QStringView file);

// An index the look-ups of the modules need, made once inside the archive's file.
struct ArchiveIndex {
    QStringView archive;  // [Path] key, or a file name in the data folder
    QStringView name;
    QStringView columns;  // "COD_CLI", "BOLLA|COD_CLI", or an expression over the columns
};
std::span<const ArchiveIndex> archiveIndexes();
// The movement archive (the DDT lines) by article code.
inline constexpr QStringView kMovementArticleIndex = u"idx_movimenti_cod";

}  // namespace zel
