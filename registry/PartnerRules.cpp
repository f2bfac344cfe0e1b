#include "registry/PartnerRules.h"

#include <QRegularExpression>

namespace zel::partner {

bool isValidVatNumber(const QString& vat) {
    if (vat.size() != 11) return false;
    int sum = 0;
    for (int i = 0; i < 11; ++i) {
        if (!vat[i].isDigit() || vat[i].unicode() > '9') return false;
    }
    for (int i = 0; i < 10; ++i) {
        const int d = vat[i].unicode() - '0';
        if (i % 2 == 0) {
            sum += d;
        } else {
            const int twice = d * 2;
            sum += twice / 10 + twice % 10;
        }
    }
    return (10 - sum % 10) % 10 == vat[10].unicode() - '0';
}

namespace {
// Values of digits and letters in odd positions (1st, 3rd, ...), '0'-'9' then 'A'-'Z'.
constexpr int kOddDigits[10] = {1, 0, 5, 7, 9, 13, 15, 17, 19, 21};
constexpr int kOddLetters[26] = {1, 0, 5, 7, 9, 13, 15, 17, 19, 21, 2, 4, 18, 20, 11, 3, 6, 8, 12, 14, 16, 10, 22, 25, 24, 23};

int charValue(QChar c, bool odd) {
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9') return odd ? kOddDigits[u - '0'] : u - '0';
    if (u >= 'A' && u <= 'Z') return odd ? kOddLetters[u - 'A'] : u - 'A';
    return 0;
}
}  // namespace

bool isValidFiscalCode(const QString& code) {
    const QString c = code.toUpper();
    if (c.size() != 16) return false;
    int sum = 0;
    for (int i = 0; i < 15; ++i) sum += charValue(c[i], i % 2 == 0);
    return c[15] == QChar(u'A' + sum % 26);
}

FiscalCodeVerdict judgeFiscalCode(const QString& fiscalCode, const QString& vatNumber) {
    const QString cf = fiscalCode.trimmed().toUpper();
    if (cf.isEmpty() || cf == vatNumber.trimmed()) return FiscalCodeVerdict::Accept;
    if (cf.size() == 16) return isValidFiscalCode(cf) ? FiscalCodeVerdict::Accept : FiscalCodeVerdict::Warn;
    static const QRegularExpression elevenDigits(QStringLiteral("^[0-9]{11}$"));
    if (elevenDigits.match(cf).hasMatch())  // a company's fiscal code follows the VAT rule
        return isValidVatNumber(cf) ? FiscalCodeVerdict::Accept : FiscalCodeVerdict::Warn;
    return FiscalCodeVerdict::Refuse;
}

QString incrementCode(const QString& last, QString* error) {
    bool hasLetter = false;
    for (const QChar c : last) hasLetter = hasLetter || c.isLower() || c.isUpper();
    if (hasLetter) return last.left(last.size() - 1) + QChar(last.back().unicode() + 1);
    bool ok = false;
    const qlonglong n = last.trimmed().toLongLong(&ok);
    if (!ok) {
        if (error) *error = QStringLiteral("\"%1\" non è un valore intero valido").arg(last);
        return QString();
    }
    return QString::number(n + 1);
}

QString padCode(const QString& code, int length) {
    return code.size() >= length ? code : QString(length - code.size(), QLatin1Char('0')) + code;
}

CodeProposal proposeCode(const QString& lastCode, bool autoIncrement, bool leadingZeros, int length,
                         const std::function<bool(const QString&)>& taken) {
    CodeProposal out;
    if (!autoIncrement) {
        out.code = leadingZeros ? padCode(QString(), length) : QString();
        return out;
    }
    QString base = lastCode.isEmpty() ? QStringLiteral("0") : lastCode;
    // Codes sort as text, so the last one may be followed by a code already in use.
    for (int guard = 0; guard < 100000; ++guard) {
        base = incrementCode(base, &out.error);
        if (!out.error.isEmpty()) return {QString(), out.error};
        const QString code = leadingZeros ? padCode(base, length) : base;
        if (!taken || !taken(code)) {
            out.code = code;
            return out;
        }
    }
    out.error = QStringLiteral("Nessun codice libero dopo %1").arg(lastCode);
    return out;
}

TypeString TypeString::parse(const QString& stored) {
    const QString s = stored.size() < 20 ? QStringLiteral("00000000000000000000") : stored;
    TypeString t;
    t.trust = s[0].isDigit() ? s[0].digitValue() : 0;
    for (int i = 0; i < kKindCount; ++i) t.kinds[static_cast<size_t>(i)] = s[i + 1] == u'1';
    return t;
}

QString TypeString::toString() const {
    QString s = QString::number(qBound(0, trust, 9));
    for (const bool k : kinds) s += k ? u'1' : u'0';
    return (s + QStringLiteral("00000000")).left(20);
}

QString kindCaption(int kind) {
    static const char16_t* captions[kKindCount] = {
        u"Cliente", u"Fornitore", u"Cliente potenziale", u"Collaboratore", u"Dipendente", u"Agente di vendita",
        u"Produttore Materie Prime", u"Conto Lavorazione", u"Importatore", u"Distributore / Grossista",
        u"Dettagliante", u"Ente pubblico"};
    return kind >= 0 && kind < kKindCount ? QString::fromUtf16(captions[kind]) : QString();
}

}  // namespace zel::partner
