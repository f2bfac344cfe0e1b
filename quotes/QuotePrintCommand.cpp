#include "quotes/QuotePrintCommand.h"

#include <QDir>
#include <QFileInfo>
#include <cstdio>

#include "core/Paths.h"
#include "quotes/Trpt_preventivo.h"
#include "settings/Settings.h"
#include "store/DataStartup.h"
#include "store/Store.h"

namespace zel {

int runQuotePrint(const QString& base, qint64 number, const QString& pdf) {
    const auto say = [](const QString& t) { std::fprintf(stderr, "%s\n", qUtf8Printable(t)); };
    Settings settings(base);
    settings.load();
    if (!QFileInfo(dataDir(base)).isDir()) {
        say(QStringLiteral("La cartella dei dati %1 non esiste.").arg(QDir::toNativeSeparators(dataDir(base))));
        return kExitArchive;
    }
    try {
        Store store(dataDir(base));
        const auto data = Trpt_preventivo::load(store, settings, number);
        if (!data) {
            say(Trpt_preventivo::missingMessage(number));
            return kExitUnknownQuote;
        }
        QString error;
        if (!Trpt_preventivo(settings, Trpt_preventivo::Model::Full).exportPdf(*data, {}, pdf, &error)) {
            say(QStringLiteral("Il PDF %1 non si può scrivere: %2").arg(QDir::toNativeSeparators(pdf), error));
            return kExitQuotePdf;
        }
        say(QStringLiteral("Preventivo n° %1 (%2 righe) scritto in %3.")
                .arg(number)
                .arg(data->lines.size())
                .arg(QDir::toNativeSeparators(pdf)));
        return kExitDone;
    } catch (const StoreError& e) {
        say(QStringLiteral("Archivio preventivi non leggibile: %1").arg(e.message()));
        return kExitArchive;
    }
}

}  // namespace zel
