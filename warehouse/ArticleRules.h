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

// The cost sheet: material bought by weight, pieces cut from it, hours of work and the
// extra costs and processing steps.
struct CostSheet {
    double materialPrice = 0;   // prezzo_materiale: per unit of weight (mode 0) or per lot (mode 1)
    double materialWeight = 0;  // peso_materiale: weight of the lot (mode 1)
    double pieceWeight = 0;     // peso_pezzo
    double recovered = 0;       // recupero_mat, per piece
    double hours = 0;           // ore, per piece
    double extras = 0;          // costo_agg1..6 and the processing steps
};
struct CostResult {
    double rawMaterial = 0;  // material of one piece
    double cost = 0;         // the piece's purchase cost
    QString error;           // set when nothing could be computed
};
// Mode 0: material = price x piece weight; mode 1: the lot's price shared by the pieces
// it gives (lot weight / piece weight). Cost = material - recovered + hours x hourly cost
// + extras. Zero price or piece weight is refused; mode 1 with a lot weight of 0 is a
// division by zero.
CostResult computeCost(const CostSheet& sheet, int mode, double hourlyCost);

// A typed number of the card; on failure error names the field in Italian.
double parseField(const QString& text, const QString& caption, QString* error);

}  // namespace zel::article
