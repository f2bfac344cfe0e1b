#include "invoices/InvoicePrintCommand.h"

#include <QDir>
#include <QFileInfo>
#include <cstdio>

#include "core/Paths.h"
#include "invoices/TQRfatt.h"
#include "settings/Settings.h"
#include "store/DataStartup.h"
#include "store/Store.h"

namespace zel {

namespace {

void say(const QString& text) { std::fprintf(stderr, "%s\n", qUtf8Printable(text)); }

}  // namespace

int runInvoicePrint(const InvoicePrintRequest& r) {
    Settings settings(r.base);
    settings.load();
    const InvoiceArchives archives = r.year > 0 ? invoiceArchivesOfYear(settings, r.year)
                                                : InvoiceArchives::fromSettings(settings);
    const int year = invoiceYearOf(archives);
    if (!QFileInfo(dataDir(r.base)).isDir()) {
        say(QStringLiteral("La cartella dei dati %1 non esiste.")
                .arg(QDir::toNativeSeparators(dataDir(r.base))));
        return kExitArchive;
    }
    if (!Store::exists(archives.header) || !Store::exists(archives.lines)) {
        say(QStringLiteral("Nessun archivio fatture dell'anno %1 (%2).")
                .arg(year)
                .arg(QDir::toNativeSeparators(archives.header)));
        return kExitUnknownInvoice;
    }
    try {
        Store store(dataDir(r.base));
        QStringList customers;
        for (const QVariantList& row :
             store.rows(QStringLiteral(
                            "SELECT DISTINCT cod_cli FROM %1 WHERE fattura = ? ORDER BY cod_cli")
                            .arg(store.table(archives.header)),
                        {r.number}))
            customers << row.value(0).toString();
        if (customers.isEmpty()) {
            say(QStringLiteral("Nessuna fattura n° %1 nell'archivio %2.").arg(r.number).arg(year));
            return kExitUnknownInvoice;
        }
        if (customers.size() > 1) {
            // A number belongs to one invoice of the year; two are a damaged archive.
            say(QStringLiteral("Il numero %1 è di più fatture (clienti %2) nell'archivio %3.")
                    .arg(r.number)
                    .arg(customers.join(QStringLiteral(", ")))
                    .arg(year));
            return kExitUnknownInvoice;
        }
        const InvoiceKey key{r.number, customers.first()};
        const std::optional<InvoicePrintData> data = TQRfatt::load(store, archives, key);
        if (!data) {
            say(QStringLiteral("Nessuna fattura n° %1 nell'archivio %2.").arg(r.number).arg(year));
            return kExitUnknownInvoice;
        }
        const InvoicePrintOptions options = InvoicePrintOptions::fromSettings(settings);
        QString error;
        if (!TQRfatt(settings).exportPdf(*data, options, r.pdf, &error)) {
            say(QStringLiteral("Il PDF %1 non si può scrivere: %2")
                    .arg(QDir::toNativeSeparators(r.pdf), error));
            return kExitInvoicePdf;
        }
        say(QStringLiteral("Fattura n° %1 del cliente %2 (%3 righe) scritta in %4.")
                .arg(key.number)
                .arg(key.customer.isEmpty() ? QStringLiteral("-") : key.customer)
                .arg(data->lines.size())
                .arg(QDir::toNativeSeparators(r.pdf)));
        return kExitDone;
    } catch (const StoreError& e) {
        say(QStringLiteral("Archivio fatture non leggibile: %1").arg(e.message()));
        return kExitArchive;
    }
}

}  // namespace zel
