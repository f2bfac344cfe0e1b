#include "app/CommandLine.h"

#include <QCommandLineParser>
#include <QDir>

#include "core/Clock.h"
#include "core/Notifier.h"
#include "registry/ReferenceData.h"
#include "settings/Settings.h"
#include "store/DataStartup.h"

namespace zel {

namespace {

void describe(QCommandLineParser& p) {
    p.setApplicationDescription(QStringLiteral("Zelvarin - Gestione aziendale"));
    p.addHelpOption();
    p.addOption({QStringLiteral("base"),
                 QStringLiteral("Cartella base del programma (predefinita: la cartella corrente se contiene "
                                "zelvarin.ini o Dati, altrimenti ~/.local/share/Zelvarin)."),
                 QStringLiteral("cartella")});
    p.addOption({QStringLiteral("init"),
                 QStringLiteral("Prepara cartelle, impostazioni e archivi senza finestre, poi esce.")});
    p.addOption({QStringLiteral("today"), QStringLiteral("Data da usare come oggi (AAAA-MM-GG)."),
                 QStringLiteral("data")});
}

}  // namespace

CommandLine CommandLine::parse(const QStringList& arguments) {
    QCommandLineParser p;
    describe(p);
    CommandLine cmd;
    if (!p.parse(arguments)) {
        cmd.error = p.errorText();
        return cmd;
    }
    if (p.isSet(QStringLiteral("help"))) {
        cmd.error = p.helpText();
        return cmd;
    }
    cmd.base = QDir(p.isSet(QStringLiteral("base")) ? p.value(QStringLiteral("base")) : QDir::currentPath())
                   .absolutePath();
    cmd.baseGiven = p.isSet(QStringLiteral("base"));
    cmd.init = p.isSet(QStringLiteral("init"));
    return cmd;
}

bool applyToday(const QStringList& arguments, QString* error) {
    const qsizetype i = arguments.indexOf(QStringLiteral("--today"));
    if (i < 0) return true;
    const QDate d = QDate::fromString(arguments.value(i + 1), Qt::ISODate);
    if (!d.isValid()) {
        *error = QStringLiteral("Data non valida per --today: %1").arg(arguments.value(i + 1));
        return false;
    }
    Clock::pin(QDateTime(d, QTime::currentTime()));
    return true;
}

int runInit(const CommandLine& cmd) {
    StderrNotifier notifier;
    Settings settings(cmd.base);
    DataStartup startup(cmd.base, settings, notifier);
    startup.installReferenceTables = installReferenceTables;
    return startup.runAll();
}

}  // namespace zel
