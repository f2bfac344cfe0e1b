#include "invoices/MonthEndCommand.h"

#include <QDir>
#include <QFileInfo>
#include <cstdio>

#include "core/InstanceLock.h"
#include "core/Paths.h"
#include "invoices/MonthEndInvoicing.h"
#include "settings/Settings.h"
#include "store/Store.h"

namespace zel {

namespace {

constexpr int kExitArchive = 3;

void say(const QString& text) { std::fprintf(stderr, "%s\n", qUtf8Printable(text)); }

}  // namespace

int runMonthEndBatch(const MonthEndRequest& r) {
    InstanceLock lock(r.base);
    if (!lock.tryLock()) {
        say(lock.refusal());
        return kExitMonthEndBusy;
    }
    if (!QFileInfo(dataDir(r.base)).isDir()) {
        say(QStringLiteral("La cartella dei dati %1 non esiste.")
                .arg(QDir::toNativeSeparators(dataDir(r.base))));
        return kExitArchive;
    }
    Settings settings(r.base);
    settings.load();
    const QDate invoiceDate = r.invoiceDate.isValid() ? r.invoiceDate : r.to;
    try {
        Store store(dataDir(r.base));
        MonthEndInvoicing run(store, settings, r.from, r.to);
        const MonthEndInvoicing::Outcome out =
            run.run(invoiceDate, MonthEndInvoicing::defaultKind());
        for (const QString& s : out.skipped) say(s);
        if (!out.refusals.isEmpty()) {
            for (const QString& s : out.refusals) say(s);
            say(QStringLiteral("Nessuna fattura emessa."));
            return kExitMonthEndRefused;
        }
        if (out.made.isEmpty()) {
            say(MonthEndInvoicing::nothingMessage());
            return 0;
        }
        for (const MonthEndInvoicing::Made& m : out.made)
            std::fprintf(
                stdout, "%s\n",
                qUtf8Printable(
                    QStringLiteral("%1\t%2\t%3").arg(m.number).arg(m.customer, m.total.format())));
        say(QStringLiteral("Fatture emesse: %1.").arg(out.made.size()));
        return 0;
    } catch (const StoreError& e) {
        say(QStringLiteral("Nessuna fattura emessa: %1").arg(e.message()));
        return kExitArchive;
    }
}

}  // namespace zel
