#include "ddt/DdtPrintCommand.h"

#include <QDir>
#include <QFileInfo>
#include <cstdio>

#include "core/Paths.h"
#include "ddt/TQR1.h"
#include "settings/Settings.h"
#include "store/DataStartup.h"
#include "store/Store.h"

namespace zel {

namespace {

void say(const QString& text) { std::fprintf(stderr, "%s\n", qUtf8Printable(text)); }

}  // namespace

int runDdtPrint(const DdtPrintRequest& r) {
    Settings settings(r.base);
    settings.load();
    const DdtYearArchives archives = r.year > 0 ? DdtYearArchives::ofYear(settings, r.year)
                                                : DdtYearArchives::fromSettings(settings);
    const int year = archives.year();
    if (!QFileInfo(dataDir(r.base)).isDir()) {
        say(QStringLiteral("La cartella dei dati %1 non esiste.")
                .arg(QDir::toNativeSeparators(dataDir(r.base))));
        return kExitArchive;
    }
    if (!Store::exists(archives.header)) {
        say(QStringLiteral("Nessun archivio DDT dell'anno %1 (%2).")
                .arg(year)
                .arg(QDir::toNativeSeparators(archives.header)));
        return kExitUnknownDdt;
    }
    try {
        Store store(dataDir(r.base));
        QStringList recipients;
        for (const QVariantList& row : store.rows(
                 QStringLiteral("SELECT DISTINCT cod_cli FROM %1 WHERE bolla = ? ORDER BY cod_cli")
                     .arg(store.table(archives.header)),
                 {r.number}))
            recipients << row.value(0).toString();
        if (!r.recipient.isEmpty())
            recipients =
                recipients.contains(r.recipient) ? QStringList{r.recipient} : QStringList{};
        if (recipients.isEmpty()) {
            say(r.recipient.isEmpty()
                    ? QStringLiteral("Nessun DDT n° %1 nell'archivio %2.").arg(r.number).arg(year)
                    : TQR1::missingMessage({r.number, r.recipient}, year) + u'.');
            return kExitUnknownDdt;
        }
        if (recipients.size() > 1) {
            say(QStringLiteral("Il numero %1 è di più DDT (clienti %2): indicare --cliente CODICE.")
                    .arg(r.number)
                    .arg(recipients.join(QStringLiteral(", "))));
            return kExitUnknownDdt;
        }
        const DdtKey key{r.number, recipients.first()};
        const std::optional<DdtPrintData> data = TQR1::load(store, archives, key);
        if (!data) {
            say(TQR1::missingMessage(key, year) + u'.');
            return kExitUnknownDdt;
        }
        DdtPrintOptions options = DdtPrintOptions::fromSettings(settings);
        options.note = rowValue(data->header, u"NOTE1").toString().trimmed();
        QString error;
        if (!TQR1(settings).exportPdf(*data, options, r.pdf, &error)) {
            say(QStringLiteral("Il PDF %1 non si può scrivere: %2")
                    .arg(QDir::toNativeSeparators(r.pdf), error));
            return kExitPdf;
        }
        say(QStringLiteral("DDT n° %1 del cliente %2 (%3 righe) scritto in %4.")
                .arg(key.number)
                .arg(key.recipient.isEmpty() ? QStringLiteral("-") : key.recipient)
                .arg(data->lines.size())
                .arg(QDir::toNativeSeparators(r.pdf)));
        return kExitDone;
    } catch (const StoreError& e) {
        say(QStringLiteral("Archivio DDT non leggibile: %1").arg(e.message()));
        return kExitArchive;
    }
}

}  // namespace zel
