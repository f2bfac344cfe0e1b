#pragma once

#include <QList>
#include <QString>

#include "ddt/DdtLine.h"
#include "ddt/DdtTotals.h"

namespace zel {

class Store;

// The lines of the delivery note being written, kept in the temporary table until the
// note is registered. Lines are addressed by rowid.
class DdtDraft {
public:
    DdtDraft(Store& store, QString path);

    const QString& path() const { return m_path; }
    // Empties the table, making it from the lines archive when it is missing.
    void clear(const QString& linesArchive);
    // Appends a line; returns its rowid.
    qint64 append(const DdtLine& line);
    // Rewrites the line with line.rowid.
    void update(const DdtLine& line);
    void remove(qint64 rowid);
    QList<DdtLine> lines() const;
    int count() const;
    // The running totals: the sums over the lines the table holds now.
    DdtTotals totals() const;

    // The figures of a line in the order of columns().
    static QVariantList values(const DdtLine& line);
    static QString columns();

private:
    Store& m_store;
    QString m_path;
};

}  // namespace zel
