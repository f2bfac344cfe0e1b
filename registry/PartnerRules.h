#pragma once

#include <QString>
#include <array>
#include <functional>

namespace zel::partner {

// Italian VAT number (partita IVA): 11 digits, the last one the check digit.
bool isValidVatNumber(const QString& vat);
// Italian fiscal code of a person: 16 characters, the last one the check letter.
bool isValidFiscalCode(const QString& code);

// What the card's confirmation does with a fiscal code while its check is on.
enum class FiscalCodeVerdict {
    Accept,        // valid, empty, or equal to the VAT number
    Warn,          // saved, with "CODICE FISCALE non valido!"
    Refuse,        // not saved: neither 16 characters nor an 11-digit number
};
FiscalCodeVerdict judgeFiscalCode(const QString& fiscalCode, const QString& vatNumber);

// The code after the last one: with a letter in it, its last character moves one up
// ("A12B" -> "A12C"); made of digits, the number plus one ("0047" -> "48"). Anything
// else cannot be incremented: error is set and the result is empty.
QString incrementCode(const QString& last, QString* error);
// Leading zeros up to length; a longer code is not cut.
QString padCode(const QString& code, int length);

// The code proposed for a new card from the highest code in text order.
// taken tells whether a code is already used; the proposal moves past used codes.
struct CodeProposal {
    QString code;
    QString error;  // when the last code cannot be incremented
};
CodeProposal proposeCode(const QString& lastCode, bool autoIncrement, bool leadingZeros, int length,
                         const std::function<bool(const QString&)>& taken);

// The 20-digit type string: trust level, then twelve kind flags, then zeros.
inline constexpr int kKindCount = 12;
enum Kind {
    Cliente = 0,
    Fornitore,
    Libera1,
    Libera2,
    Libera3,
    Libera4,
    ProduttoreMateriePrime,
    ContoLavorazione,
    Importatore,
    Distributore,
    Dettagliante,
    EntePubblico,
};
struct TypeString {
    int trust = 0;
    std::array<bool, kKindCount> kinds{};

    static TypeString parse(const QString& stored);
    QString toString() const;
};

// Captions of the twelve kinds; the four free ones come from the settings.
QString kindCaption(int kind);

}  // namespace zel::partner
