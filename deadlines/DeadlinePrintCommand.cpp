#include "deadlines/DeadlinePrintCommand.h"

#include <QDir>
#include <QFileInfo>
#include <cstdio>

#include "core/Paths.h"
#include "deadlines/DeadlineArchive.h"
#include "deadlines/TQR_scad.h"
#include "report/Output.h"
#include "settings/Settings.h"
#include "store/DataStartup.h"
#include "store/Store.h"
#include "ui/Formats.h"

using namespace Qt::Literals::StringLiterals;

namespace zel {

namespace {
void say(const QString& text) { std::fprintf(stderr, "%s\n", qUtf8Printable(text)); }
}  // namespace

int runDeadlinePrint(const DeadlinePrintRequest& r) {
    Settings settings(r.base);
    settings.load();
    if (!QFileInfo(dataDir(r.base)).isDir()) {
        say(u"La cartella dei dati %1 non esiste."_s.arg(
            QDir::toNativeSeparators(dataDir(r.base))));
        return kExitArchive;
    }
    try {
        Store store(dataDir(r.base));
        DeadlineArchive archive = DeadlineArchive::fromSettings(store, settings);
        DeadlineSearch s;
        s.from = r.from;
        s.to = r.to;
        s.unpaidOnly = r.unpaidOnly;
        const QList<Deadline> list = archive.loadMany(archive.search(s));
        if (list.isEmpty()) {
            say(u"Non ci sono scadenze che soddisfano il filtro di ricerca"_s);
            return kExitNoDeadlines;
        }
        QString error;
        if (!report::writePdf(TQR_scad::render(settings, list), r.pdf, &error)) {
            say(u"Il PDF %1 non si può scrivere: %2"_s.arg(QDir::toNativeSeparators(r.pdf), error));
            return kExitDeadlinePdf;
        }
        Money dare, avere;
        for (const Deadline& d : list) {
            dare += d.dare;
            avere += d.avere;
        }
        say(u"%1 scadenze dal %2 al %3 (dare %4, avere %5) scritte in %6."_s.arg(list.size())
                .arg(fmt::date(r.from), fmt::date(r.to), dare.format(), avere.format(),
                     QDir::toNativeSeparators(r.pdf)));
        return kExitDone;
    } catch (const StoreError& e) {
        say(u"Archivio scadenze non leggibile: %1"_s.arg(e.message()));
        return kExitArchive;
    }
}

}  // namespace zel
