#pragma once

#include <QDate>
#include <QString>
#include <QVariantMap>
#include <optional>

#include "report/Layout.h"

namespace zel {

class Settings;
class Store;

struct OrderPrintData {
    qint64 number = 0;
    QDate date;
    bool supplier = false;
    QString partyCode;
    QVariantMap party;  // empty when the card was deleted: the code alone prints
    QString agent;
    report::Rows lines;
};

// The order print: company header, the party, the lines with their amounts.
class Tqr_ord {
public:
    explicit Tqr_ord(const Settings& settings) : m_settings(settings) {}

    static std::optional<OrderPrintData> load(Store& store, const Settings& settings, qint64 number);
    report::Layout layout(const OrderPrintData& data, bool extraLogo) const;
    bool exportPdf(const OrderPrintData& data, const QString& path, QString* error = nullptr) const;

    // Every numbered order line with its party's name; a line whose card was deleted
    // still prints, with its code.
    static report::Rows listRows(Store& store, const Settings& settings);
    static report::Layout listLayout();

private:
    const Settings& m_settings;
};

// Exit code besides 0 and 3: no order with that number; 6 the PDF cannot be written.
inline constexpr int kExitUnknownOrder = 2;
inline constexpr int kExitOrderPdf = 6;

// The batch print of one order to a PDF; reports on standard error, returns the exit code.
int runOrderPrint(const QString& base, qint64 number, const QString& pdf);

}  // namespace zel
