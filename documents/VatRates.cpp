#include "documents/VatRates.h"

#include "settings/Settings.h"

namespace zel {

VatRate VatRate::fromDouble(double percent) { return VatRate(decimal::scaled(percent, 2)); }

std::optional<VatRate> VatRate::parse(QStringView text) {
    QString t = text.trimmed().toString();
    if (t.endsWith(u'%')) t.chop(1);
    const auto h = decimal::parse(t, 2);
    if (!h || *h < 0) return std::nullopt;
    return VatRate(*h);
}

QString VatRate::text() const {
    QString s = decimal::format(m_hundredths, 2, false);
    while (s.endsWith(u'0')) s.chop(1);
    if (s.endsWith(u',')) s.chop(1);
    return s;
}

Money VatRate::of(Money taxable) const { return taxable.percent(percent()); }

VatRates::VatRates(const std::optional<VatRate>& r1, const std::optional<VatRate>& r2,
                   const std::optional<VatRate>& r3, const std::optional<VatRate>& defaultRate)
    : m_rates{r1, r2, r3}, m_default(defaultRate) {}

VatRates::VatRates(const Settings& settings)
    : VatRates(VatRate::parse(settings.text(u"Magazzino", u"IVA 1 predefinita")),
               VatRate::parse(settings.text(u"Magazzino", u"IVA 2 predefinita")),
               VatRate::parse(settings.text(u"Magazzino", u"IVA 3 predefinita")),
               VatRate::parse(settings.text(u"Magazzino", u"Perc IVA predefinita"))) {}

int VatRates::indexOf(const VatRate& rate) const {
    for (int i = 0; i < m_rates.size(); ++i)
        if (m_rates[i] && *m_rates[i] == rate) return i;
    return -1;
}

QStringList VatRates::choices() const {
    QStringList out;
    for (const auto& r : m_rates)
        if (r && !out.contains(r->text())) out.append(r->text());
    if (m_default && !out.contains(m_default->text())) out.append(m_default->text());
    return out;
}

QString VatRates::notConfiguredMessage(const QString& line, const VatRate& rate) {
    return QStringLiteral(
               "L'aliquota IVA %1% della riga %2 non è tra le tre aliquote impostate nel setup.")
        .arg(rate.text(), line);
}

}  // namespace zel
