#include "app/CommandLine.h"

#include <QCommandLineParser>
#include <QDir>

#include "core/Clock.h"
#include "core/Notifier.h"
#include "ddt/DdtPrintCommand.h"
#include "registry/ReferenceData.h"
#include "settings/Settings.h"
#include "store/DataStartup.h"

namespace zel {

namespace {

struct OptionText {
    const char16_t* names;  // as typed, for the usage
    const char16_t* text;
};
constexpr OptionText kOptions[] = {
    {u"--base CARTELLA",
     u"cartella base del programma (predefinita: la cartella corrente se contiene zelvarin.ini o Dati, "
     u"altrimenti ~/.local/share/Zelvarin)"},
    {u"--init", u"prepara cartelle, impostazioni e archivi senza finestre, poi esce"},
    {u"--today AAAA-MM-GG", u"data da usare come oggi"},
    {u"--stampa-ddt N", u"scrive la stampa del DDT numero N nel file PDF di --pdf FILE, con le impostazioni di stampa "
                        u"correnti; --anno AAAA sceglie l'archivio dell'anno, --cliente CODICE il destinatario quando "
                        u"più DDT hanno quel numero"},
    {u"-h, --help", u"mostra questo aiuto ed esce"},
};

void describe(QCommandLineParser& p) {
    p.addOption({{QStringLiteral("h"), QStringLiteral("help")}, QString()});
    p.addOption({QStringLiteral("base"), QString(), QStringLiteral("cartella")});
    p.addOption({QStringLiteral("init"), QString()});
    p.addOption({QStringLiteral("today"), QString(), QStringLiteral("data")});
    p.addOption({QStringLiteral("stampa-ddt"), QString(), QStringLiteral("numero")});
    p.addOption({QStringLiteral("anno"), QString(), QStringLiteral("anno")});
    p.addOption({QStringLiteral("cliente"), QString(), QStringLiteral("codice")});
    p.addOption({QStringLiteral("pdf"), QString(), QStringLiteral("file")});
}

}  // namespace

QString CommandLine::usage() {
    QString text = QStringLiteral("Zelvarin - Gestione aziendale\n\n"
                                  "Uso: zelvarin [--base CARTELLA] [--init] [--today AAAA-MM-GG] [--help]\n"
                                  "     zelvarin [--base CARTELLA] --stampa-ddt N [--anno AAAA] [--cliente CODICE] "
                                  "--pdf FILE\n\n");
    for (const OptionText& o : kOptions)
        text += QStringLiteral("  %1%2\n").arg(QString::fromUtf16(o.names), -22).arg(QString::fromUtf16(o.text));
    text += QStringLiteral(
        "\nCodici di uscita di --init: 0 fatto; 1 una cartella non si può creare; 2 riga di comando non "
        "valida; 3 un archivio non si può aprire, creare o aggiornare, oppure è danneggiato; 4 un file di "
        "impostazioni non si può scrivere; 5 la cartella è già in uso da un'altra sessione di Zelvarin.\n"
        "Codici di uscita di --stampa-ddt: 0 fatto; 2 DDT inesistente o riga di comando non valida; 3 un archivio "
        "non si può leggere; 6 il file PDF non si può scrivere.\n");
    return text;
}

CommandLine CommandLine::parse(const QStringList& arguments) {
    QCommandLineParser p;
    describe(p);
    CommandLine cmd;
    // Read before any application object exists, so that nothing here needs a display.
    if (!p.parse(arguments)) {
        const QStringList unknown = p.unknownOptionNames();
        cmd.error = unknown.isEmpty()
                        ? QStringLiteral("Riga di comando non valida: %1").arg(p.errorText())
                        : QStringLiteral("Opzione sconosciuta: %1").arg(unknown.join(QStringLiteral(", ")));
        return cmd;
    }
    if (!p.positionalArguments().isEmpty()) {
        cmd.error = QStringLiteral("Argomento non previsto: %1").arg(p.positionalArguments().join(u' '));
        return cmd;
    }
    cmd.help = p.isSet(QStringLiteral("help"));
    cmd.base = QDir(p.isSet(QStringLiteral("base")) ? p.value(QStringLiteral("base")) : QDir::currentPath())
                   .absolutePath();
    cmd.baseGiven = p.isSet(QStringLiteral("base"));
    cmd.init = p.isSet(QStringLiteral("init"));
    cmd.printDdt = p.isSet(QStringLiteral("stampa-ddt"));
    const bool ddtOnly = p.isSet(QStringLiteral("anno")) || p.isSet(QStringLiteral("cliente")) || p.isSet(QStringLiteral("pdf"));
    if (!cmd.printDdt && ddtOnly) {
        cmd.error = QStringLiteral("--anno, --cliente e --pdf valgono solo con --stampa-ddt");
        return cmd;
    }
    if (cmd.printDdt) {
        bool ok = false;
        cmd.ddtNumber = p.value(QStringLiteral("stampa-ddt")).toLongLong(&ok);
        if (!ok || cmd.ddtNumber < 0) {
            cmd.error = QStringLiteral("Numero di DDT non valido: %1").arg(p.value(QStringLiteral("stampa-ddt")));
            return cmd;
        }
        if (p.isSet(QStringLiteral("anno"))) {
            cmd.ddtYear = p.value(QStringLiteral("anno")).toInt(&ok);
            if (!ok || cmd.ddtYear < 2000 || cmd.ddtYear > 2099) {
                cmd.error = QStringLiteral("Anno non valido per --anno: %1").arg(p.value(QStringLiteral("anno")));
                return cmd;
            }
        }
        cmd.ddtRecipient = p.value(QStringLiteral("cliente")).trimmed().toUpper();
        if (p.value(QStringLiteral("pdf")).trimmed().isEmpty()) {
            cmd.error = QStringLiteral("--stampa-ddt richiede --pdf FILE");
            return cmd;
        }
        cmd.pdf = QDir(QDir::currentPath()).absoluteFilePath(p.value(QStringLiteral("pdf")));
    }
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

int runPrintDdt(const CommandLine& cmd) {
    return runDdtPrint({cmd.base, cmd.ddtNumber, cmd.ddtYear, cmd.ddtRecipient, cmd.pdf});
}

int runInit(const CommandLine& cmd) {
    StderrNotifier notifier;
    Settings settings(cmd.base);
    DataStartup startup(cmd.base, settings, notifier);
    startup.installReferenceTables = installReferenceTables;
    return startup.runAll();
}

}  // namespace zel
