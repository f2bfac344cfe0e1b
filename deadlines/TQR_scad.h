#pragma once

#include <QList>

#include "deadlines/DeadlineArchive.h"
#include "report/Layout.h"
#include "report/PageModel.h"

namespace zel {

class Settings;

// The deadline list print: date, kind, description, party, dare, avere, paid; the
// totals of dare and avere; the company's first two letterhead lines on top.
class TQR_scad {
public:
    static report::Layout layout(const Settings& settings);
    static report::Rows rows(const QList<Deadline>& list);
    static report::PageModel render(const Settings& settings, const QList<Deadline>& list);
};

}  // namespace zel
