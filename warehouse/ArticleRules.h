#pragma once

#include <QString>

namespace zel::article {

// The code proposed for a new article, from the code of the article inserted last.
struct CodeProposal {
    QString code;       // empty when nothing is proposed
    QString asciiCode;  // the proposal by character code, when the last code is not a number
    bool needsAsciiQuestion = false;
};
// Whole-number codes go up by one ("7" -> "8", none -> "1"); any other code can only
// move its last character to the next character code ("AB9" -> "AB:"). With leading
// zeros on, both are padded with "0" up to length characters.
CodeProposal proposeCode(const QString& lastCode, bool autoIncrement, bool leadingZeros,
                         int length);
QString padWithZeros(const QString& code, int length);

// Where the stock stands against the minimum.
enum class StockState { Alarm, Attention, Ok };
// Stock in units of the factor: (loaded - unloaded) / factor, factor 0 counting as 1.
double stockUnits(double loaded, double unloaded, double factor);
// Below the minimum: alarm; from the minimum up to minimum + tolerance: attention.
StockState stockState(double units, double minimum, double tolerance);
QString stockStateLabel(StockState s);  // "Allarme", "Attenz.", "OK"
QString stockStateHint(StockState s);

// Markup percent from the two prices; 0 when either is 0.
double markupFromPrices(double purchase, double sale);
// Sale price from the purchase price and the markup percent.
double saleFromMarkup(double purchase, double markup);
// The sale price with its VAT added, and the VAT taken out of a price that held it.
double withVat(double sale, double vatRate);
double withoutVat(double price, double vatRate);

// A typed number of the card; on failure error names the field in Italian.
double parseField(const QString& text, const QString& caption, QString* error);

}  // namespace zel::article
