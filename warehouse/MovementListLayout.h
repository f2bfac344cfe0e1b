#pragma once

#include <QList>
#include <QString>

#include "report/Layout.h"

namespace zel {

// One column of a movement list print.
struct MovementListColumn {
    QString field;  // column of the movement archive
    QString caption;
    double width;    // mm
    QString format;  // number pattern; empty for text and dates
    bool total = false;
};

// A list of movement rows: title and print date on top, captions, one line per row,
// the totals of the marked columns after the last row, page numbers at the bottom.
report::Layout movementListLayout(const QString& name, const QString& title,
                                  const QString& subtitle,
                                  const QList<MovementListColumn>& columns);

}  // namespace zel
