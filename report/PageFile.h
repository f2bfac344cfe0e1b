#pragma once

#include <QString>
#include <optional>

#include "report/PageModel.h"

namespace zel::report {

// The page model saved as a file (".qrp"), so that a printed document can be opened
// again in the preview exactly as it was printed.
// Writes through a temporary file; false with the cause in *error on failure.
bool savePageFile(const PageModel& model, const QString& path, QString* error = nullptr);
// Nothing when the file is missing, unreadable or not a page file.
std::optional<PageModel> loadPageFile(const QString& path, QString* error = nullptr);

}  // namespace zel::report
