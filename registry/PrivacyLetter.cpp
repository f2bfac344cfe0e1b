#include "registry/PrivacyLetter.h"

#include "report/Engine.h"
#include "settings/Settings.h"
#include "ui/Formats.h"

namespace zel {

QString Tqr_privacy1::cityLine(const QString& cap, const QString& city, const QString& prov) {
    QString line = cap.trimmed() + QLatin1Char(' ') + city.trimmed();
    if (!prov.trimmed().isEmpty()) line += QStringLiteral(" (") + prov.trimmed() + QLatin1Char(')');
    return line.trimmed();
}

Tqr_privacy1::Tqr_privacy1(const Settings& settings, Addressee to, QDate date)
    : m_settings(settings), m_to(std::move(to)), m_date(date) {}

report::Layout Tqr_privacy1::layout() const {
    using report::Item;
    report::Layout l;
    l.name = QStringLiteral("Tqr_privacy1");
    l.margins = {20, 15, 20, 15};
    const double w = l.contentWidth();
    double y = 0;
    for (int i = 1; i <= 4; ++i) {
        const QString line = m_settings.text(u"Utente", QStringLiteral("riga %1").arg(i));
        if (line.isEmpty()) continue;
        l.title.add(Item::label({0, y, w, 5}, line)).withPointSize(i == 1 ? 12 : 9).bold(i == 1);
        y += 5.5;
    }
    y += 10;
    const double right = w / 2;
    l.title.add(Item::label({right, y, w - right, 5}, QStringLiteral("Spett.le")));
    l.title.add(Item::label({right, y + 6, w - right, 5}, m_to.name)).bold().wrap();
    l.title.add(Item::label({right, y + 12, w - right, 5}, m_to.address));
    l.title.add(Item::label({right, y + 18, w - right, 5}, m_to.cityLine));
    y += 34;
    l.title.add(Item::label({0, y, w, 5}, QStringLiteral("Data: ") + fmt::date(m_date)));
    y += 10;
    l.title.add(Item::label({0, y, w, 6},
                            QStringLiteral("Informativa e richiesta di consenso al trattamento dei dati personali")))
        .bold()
        .withPointSize(11);
    y += 9;
    const QString body = QStringLiteral(
        "Ai sensi dell'art. 13 del Regolamento (UE) 2016/679 (GDPR) e del D.Lgs. n. 196/2003, come modificato dal "
        "D.Lgs. n. 101/2018, La informiamo che i Suoi dati personali, da Lei forniti o altrimenti acquisiti "
        "nell'ambito della nostra attività, sono trattati per l'adempimento degli obblighi contrattuali, "
        "amministrativi, contabili e fiscali, con strumenti manuali e informatici idonei a garantirne la sicurezza e "
        "la riservatezza, e conservati per il tempo previsto dalla legge. Il conferimento dei dati è necessario per "
        "l'esecuzione dei rapporti in corso; i dati non saranno diffusi e potranno essere comunicati soltanto ai "
        "soggetti cui la comunicazione sia dovuta per legge o per l'esecuzione del contratto. Lei può esercitare in "
        "ogni momento i diritti di cui agli artt. 15-22 del Regolamento (accesso, rettifica, cancellazione, "
        "limitazione, portabilità e opposizione) rivolgendosi al titolare del trattamento indicato in intestazione, "
        "e proporre reclamo al Garante per la protezione dei dati personali.");
    l.title.add(Item::label({0, y, w, 5}, body)).wrap();
    y += 60;
    l.title.add(Item::label({0, y, w, 5},
                            QStringLiteral("Il sottoscritto, letta l'informativa, acconsente al trattamento dei propri "
                                           "dati personali per le finalità indicate.")))
        .wrap();
    y += 25;
    l.title.add(Item::label({0, y, w / 2, 5}, QStringLiteral("Luogo e data ______________________")));
    l.title.add(Item::label({w / 2, y, w / 2, 5}, QStringLiteral("Firma ______________________")))
        .align(Qt::AlignRight | Qt::AlignVCenter);
    l.title.height = y + 8;
    return l;
}

report::PageModel Tqr_privacy1::render() const { return report::render(layout(), {}); }

}  // namespace zel
