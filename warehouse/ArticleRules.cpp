#include "warehouse/ArticleRules.h"

#include <cmath>

#include "ui/Formats.h"

namespace zel::article {

namespace {
constexpr double kEpsilon = 1e-9;

bool isWholeNumber(const QString& s) {
    if (s.isEmpty()) return false;
    for (const QChar c : s)
        if (!c.isDigit() || c.unicode() > 127) return false;
    return true;
}
}  // namespace

QString padWithZeros(const QString& code, int length) {
    if (code.isEmpty() || code.size() >= length) return code;
    return QString(length - code.size(), u'0') + code;
}

CodeProposal proposeCode(const QString& lastCode, bool autoIncrement, bool leadingZeros,
                         int length) {
    CodeProposal p;
    if (!autoIncrement) return p;
    const QString last = lastCode.trimmed();
    if (last.isEmpty()) {
        p.code = QStringLiteral("1");
    } else if (isWholeNumber(last)) {
        // Long digit runs would overflow a 64-bit number; add one digit by digit.
        QString next = last;
        int i = int(next.size()) - 1;
        while (i >= 0 && next[i] == u'9') next[i--] = u'0';
        if (i < 0)
            next.prepend(u'1');
        else
            next[i] = QChar(next[i].unicode() + 1);
        while (next.size() > 1 && next[0] == u'0') next.remove(0, 1);
        p.code = next;
    } else {
        p.needsAsciiQuestion = true;
        QString next = last;
        next[next.size() - 1] = QChar(next[next.size() - 1].unicode() + 1);
        p.asciiCode = next;
    }
    if (leadingZeros) {
        p.code = padWithZeros(p.code, length);
        p.asciiCode = padWithZeros(p.asciiCode, length);
    }
    return p;
}

double stockUnits(double loaded, double unloaded, double factor) {
    return (loaded - unloaded) / (factor == 0 ? 1.0 : factor);
}

StockState stockState(double units, double minimum, double tolerance) {
    if (units < minimum - kEpsilon) return StockState::Alarm;
    if (units <= minimum + tolerance + kEpsilon) return StockState::Attention;
    return StockState::Ok;
}

QString stockStateLabel(StockState s) {
    switch (s) {
        case StockState::Alarm:
            return QStringLiteral("Allarme");
        case StockState::Attention:
            return QStringLiteral("Attenz.");
        case StockState::Ok:
            break;
    }
    return QStringLiteral("OK");
}

QString stockStateHint(StockState s) {
    switch (s) {
        case StockState::Alarm:
            return QStringLiteral("Articolo sotto scorta minima");
        case StockState::Attention:
            return QStringLiteral("Articolo vicino scorta minima");
        case StockState::Ok:
            break;
    }
    return QStringLiteral("Quantità articolo abbondante");
}

double markupFromPrices(double purchase, double sale) {
    if (purchase == 0 || sale == 0) return 0;
    return sale * 100.0 / purchase - 100.0;
}

double saleFromMarkup(double purchase, double markup) {
    return purchase / 100.0 * markup + purchase;
}

double withVat(double sale, double vatRate) { return sale / 100.0 * vatRate + sale; }

double withoutVat(double price, double vatRate) {
    if (100.0 + vatRate == 0) return price;
    return price * 100.0 / (100.0 + vatRate);
}

CostResult computeCost(const CostSheet& sheet, int mode, double hourlyCost) {
    CostResult r;
    if (sheet.materialPrice == 0 || sheet.pieceWeight == 0) {
        r.error = QStringLiteral("Verificare importi inseriti, non sono accettati valori=0");
        return r;
    }
    if (mode == 1) {
        if (sheet.materialWeight == 0) {
            r.error = QStringLiteral("Valore diviso per 0 non valido!");
            return r;
        }
        r.rawMaterial = sheet.materialPrice * sheet.pieceWeight / sheet.materialWeight;
    } else {
        r.rawMaterial = sheet.materialPrice * sheet.pieceWeight;
    }
    r.cost = r.rawMaterial - sheet.recovered + sheet.hours * hourlyCost + sheet.extras;
    return r;
}

double parseField(const QString& text, const QString& caption, QString* error) {
    bool ok = false;
    const double v = fmt::parseNumber(text.trimmed(), &ok);
    if (!ok || !std::isfinite(v)) {
        if (error)
            *error = QStringLiteral("Il valore \"%1\" del campo \"%2\" non è un numero valido.")
                         .arg(text.trimmed(), caption);
        return 0;
    }
    return v;
}

}  // namespace zel::article
