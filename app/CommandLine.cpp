#include "app/CommandLine.h"

#include <QCommandLineParser>
#include <QDir>

#include "core/Clock.h"
#include "core/Notifier.h"
#include "ddt/DdtPrintCommand.h"
#include "deadlines/DeadlinePrintCommand.h"
#include "invoices/InvoicePrintCommand.h"
#include "invoices/MonthEndCommand.h"
#include "orders/Tqr_ord.h"
#include "quotes/QuotePrintCommand.h"
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
    {u"--stampa-fattura N", u"scrive la stampa della fattura numero N nel file PDF di --pdf FILE, con le impostazioni "
                            u"di stampa correnti; --anno AAAA sceglie l'archivio dell'anno"},
    {u"--fatture-differite", u"emette una fattura differita per ciascun cliente con DDT da fatturare tra --dal "
                             u"AAAA-MM-GG e --al AAAA-MM-GG, con data --data-fattura AAAA-MM-GG (predefinita: --al)"},
    {u"--scadenze", u"scrive l'elenco delle scadenze tra --dal AAAA-MM-GG e --al AAAA-MM-GG nel file PDF di --pdf "
                    u"FILE; --non-pagate solo quelle non pagate"},
    {u"--stampa-ordine N", u"scrive la stampa dell'ordine numero N nel file PDF di --pdf FILE"},
    {u"--stampa-preventivo N", u"scrive la stampa del preventivo numero N nel file PDF di --pdf FILE"},
    {u"-h, --help", u"mostra questo aiuto ed esce"},
};

void describe(QCommandLineParser& p) {
    p.addOption({{QStringLiteral("h"), QStringLiteral("help")}, QString()});
    p.addOption({QStringLiteral("base"), QString(), QStringLiteral("cartella")});
    p.addOption({QStringLiteral("init"), QString()});
    p.addOption({QStringLiteral("today"), QString(), QStringLiteral("data")});
    p.addOption({QStringLiteral("stampa-ddt"), QString(), QStringLiteral("numero")});
    p.addOption({QStringLiteral("stampa-fattura"), QString(), QStringLiteral("numero")});
    p.addOption({QStringLiteral("anno"), QString(), QStringLiteral("anno")});
    p.addOption({QStringLiteral("cliente"), QString(), QStringLiteral("codice")});
    p.addOption({QStringLiteral("pdf"), QString(), QStringLiteral("file")});
    p.addOption({QStringLiteral("fatture-differite"), QString()});
    p.addOption({QStringLiteral("dal"), QString(), QStringLiteral("data")});
    p.addOption({QStringLiteral("al"), QString(), QStringLiteral("data")});
    p.addOption({QStringLiteral("data-fattura"), QString(), QStringLiteral("data")});
    p.addOption({QStringLiteral("scadenze"), QString()});
    p.addOption({QStringLiteral("non-pagate"), QString()});
    p.addOption({QStringLiteral("stampa-ordine"), QString(), QStringLiteral("numero")});
    p.addOption({QStringLiteral("stampa-preventivo"), QString(), QStringLiteral("numero")});
}

}  // namespace

QString CommandLine::usage() {
    QString text = QStringLiteral("Zelvarin - Gestione aziendale\n\n"
                                  "Uso: zelvarin [--base CARTELLA] [--init] [--today AAAA-MM-GG] [--help]\n"
                                  "     zelvarin [--base CARTELLA] --stampa-ddt N [--anno AAAA] [--cliente CODICE] "
                                  "--pdf FILE\n"
                                  "     zelvarin [--base CARTELLA] --stampa-fattura N [--anno AAAA] --pdf FILE\n"
                                  "     zelvarin [--base CARTELLA] --fatture-differite --dal AAAA-MM-GG --al AAAA-MM-GG "
                                  "[--data-fattura AAAA-MM-GG]\n"
                                  "     zelvarin [--base CARTELLA] --scadenze --dal AAAA-MM-GG --al AAAA-MM-GG "
                                  "[--non-pagate] --pdf FILE\n"
                                  "     zelvarin [--base CARTELLA] --stampa-ordine N --pdf FILE\n"
                                  "     zelvarin [--base CARTELLA] --stampa-preventivo N --pdf FILE\n\n");
    for (const OptionText& o : kOptions)
        text += QStringLiteral("  %1%2\n").arg(QString::fromUtf16(o.names), -22).arg(QString::fromUtf16(o.text));
    text += QStringLiteral(
        "\nCodici di uscita di --init: 0 fatto; 1 una cartella non si può creare; 2 riga di comando non "
        "valida; 3 un archivio non si può aprire, creare o aggiornare, oppure è danneggiato; 4 un file di "
        "impostazioni non si può scrivere; 5 la cartella è già in uso da un'altra sessione di Zelvarin.\n"
        "Codici di uscita di --stampa-ddt: 0 fatto; 2 DDT inesistente o riga di comando non valida; 3 un archivio "
        "non si può leggere; 5 la cartella è già in uso; 6 il file PDF non si può scrivere.\n"
        "Codici di uscita di --stampa-fattura: 0 fatto; 2 fattura inesistente o riga di comando non valida; 3 un "
        "archivio non si può leggere; 5 la cartella è già in uso; 6 il file PDF non si può scrivere.\n"
        "Codici di uscita di --fatture-differite: 0 fatto o nulla da fatturare; 2 fatture rifiutate (nulla scritto) o "
        "riga di comando non valida; 3 un archivio non si può usare; 5 la cartella è già in uso.\n"
        "Codici di uscita di --scadenze: 0 fatto; 2 nessuna scadenza nel periodo o riga di comando non valida; 3 un "
        "archivio non si può leggere; 5 la cartella è già in uso; 6 il file PDF non si può scrivere.\n"
        "Codici di uscita di --stampa-ordine: 0 fatto; 2 ordine inesistente o riga di comando non valida; 3 un "
        "archivio non si può leggere; 5 la cartella è già in uso; 6 il file PDF non si può scrivere.\n"
        "Codici di uscita di --stampa-preventivo: 0 fatto; 2 preventivo inesistente o riga di comando non valida; "
        "3 un archivio non si può leggere; 5 la cartella è già in uso; 6 il file PDF non si può scrivere.\n");
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
    cmd.printInvoice = p.isSet(QStringLiteral("stampa-fattura"));
    if (cmd.printDdt && cmd.printInvoice) {
        cmd.error = QStringLiteral("--stampa-ddt e --stampa-fattura non si possono usare insieme");
        return cmd;
    }
    if (cmd.printInvoice) {
        bool ok = false;
        const QString number = p.value(QStringLiteral("stampa-fattura"));
        cmd.invoiceNumber = number.toLongLong(&ok);
        if (!ok || cmd.invoiceNumber <= 0) {
            cmd.error = QStringLiteral("Numero di fattura non valido: %1").arg(number);
            return cmd;
        }
        if (p.isSet(QStringLiteral("cliente"))) {
            cmd.error = QStringLiteral("--cliente vale solo con --stampa-ddt");
            return cmd;
        }
        if (p.isSet(QStringLiteral("anno"))) {
            cmd.ddtYear = p.value(QStringLiteral("anno")).toInt(&ok);
            if (!ok || cmd.ddtYear < 2000 || cmd.ddtYear > 2099) {
                cmd.error = QStringLiteral("Anno non valido per --anno: %1").arg(p.value(QStringLiteral("anno")));
                return cmd;
            }
        }
        if (p.value(QStringLiteral("pdf")).trimmed().isEmpty()) {
            cmd.error = QStringLiteral("--stampa-fattura richiede --pdf FILE");
            return cmd;
        }
        cmd.pdf = QDir(QDir::currentPath()).absoluteFilePath(p.value(QStringLiteral("pdf")));
    }
    cmd.printQuote = p.isSet(QStringLiteral("stampa-preventivo"));
    if (cmd.printQuote) {
        if (cmd.printDdt || cmd.printInvoice || p.isSet(QStringLiteral("stampa-ordine")) ||
            p.isSet(QStringLiteral("scadenze")) || p.isSet(QStringLiteral("fatture-differite")) ||
            p.isSet(QStringLiteral("anno")) || p.isSet(QStringLiteral("cliente")) || p.isSet(QStringLiteral("dal")) ||
            p.isSet(QStringLiteral("al")) || p.isSet(QStringLiteral("data-fattura")) ||
            p.isSet(QStringLiteral("non-pagate"))) {
            cmd.error = QStringLiteral("--stampa-preventivo accetta solo --pdf FILE");
            return cmd;
        }
        bool ok = false;
        cmd.quoteNumber = p.value(QStringLiteral("stampa-preventivo")).toLongLong(&ok);
        if (!ok || cmd.quoteNumber <= 0) {
            cmd.error = QStringLiteral("Numero di preventivo non valido: %1")
                            .arg(p.value(QStringLiteral("stampa-preventivo")));
            return cmd;
        }
        if (p.value(QStringLiteral("pdf")).trimmed().isEmpty()) {
            cmd.error = QStringLiteral("--stampa-preventivo richiede --pdf FILE");
            return cmd;
        }
        cmd.pdf = QDir(QDir::currentPath()).absoluteFilePath(p.value(QStringLiteral("pdf")));
        return cmd;
    }
    cmd.printOrder = p.isSet(QStringLiteral("stampa-ordine"));
    if (cmd.printOrder) {
        if (cmd.printDdt || cmd.printInvoice || p.isSet(QStringLiteral("scadenze")) ||
            p.isSet(QStringLiteral("fatture-differite")) || p.isSet(QStringLiteral("anno")) ||
            p.isSet(QStringLiteral("cliente")) || p.isSet(QStringLiteral("dal")) || p.isSet(QStringLiteral("al")) ||
            p.isSet(QStringLiteral("data-fattura")) || p.isSet(QStringLiteral("non-pagate"))) {
            cmd.error = QStringLiteral("--stampa-ordine accetta solo --pdf FILE");
            return cmd;
        }
        bool ok = false;
        cmd.orderNumber = p.value(QStringLiteral("stampa-ordine")).toLongLong(&ok);
        if (!ok || cmd.orderNumber <= 0) {
            cmd.error = QStringLiteral("Numero d'ordine non valido: %1").arg(p.value(QStringLiteral("stampa-ordine")));
            return cmd;
        }
        if (p.value(QStringLiteral("pdf")).trimmed().isEmpty()) {
            cmd.error = QStringLiteral("--stampa-ordine richiede --pdf FILE");
            return cmd;
        }
        cmd.pdf = QDir(QDir::currentPath()).absoluteFilePath(p.value(QStringLiteral("pdf")));
        return cmd;
    }
    cmd.printDeadlines = p.isSet(QStringLiteral("scadenze"));
    if (cmd.printDeadlines && (cmd.printDdt || cmd.printInvoice || p.isSet(QStringLiteral("fatture-differite")))) {
        cmd.error = QStringLiteral("--scadenze non si può usare con altri comandi");
        return cmd;
    }
    if (p.isSet(QStringLiteral("non-pagate")) && !cmd.printDeadlines) {
        cmd.error = QStringLiteral("--non-pagate vale solo con --scadenze");
        return cmd;
    }
    if (cmd.printDeadlines) {
        cmd.unpaidOnly = p.isSet(QStringLiteral("non-pagate"));
        if (p.isSet(QStringLiteral("anno")) || p.isSet(QStringLiteral("cliente")) || p.isSet(QStringLiteral("data-fattura"))) {
            cmd.error = QStringLiteral("--scadenze accetta solo --dal, --al, --non-pagate e --pdf");
            return cmd;
        }
        cmd.from = QDate::fromString(p.value(QStringLiteral("dal")), Qt::ISODate);
        cmd.to = QDate::fromString(p.value(QStringLiteral("al")), Qt::ISODate);
        if (!cmd.from.isValid() || !cmd.to.isValid() || cmd.to < cmd.from) {
            cmd.error = QStringLiteral("--scadenze richiede un periodo valido: --dal AAAA-MM-GG --al AAAA-MM-GG");
            return cmd;
        }
        if (p.value(QStringLiteral("pdf")).trimmed().isEmpty()) {
            cmd.error = QStringLiteral("--scadenze richiede --pdf FILE");
            return cmd;
        }
        cmd.pdf = QDir(QDir::currentPath()).absoluteFilePath(p.value(QStringLiteral("pdf")));
        return cmd;
    }
    const bool ddtOnly = p.isSet(QStringLiteral("anno")) || p.isSet(QStringLiteral("cliente")) || p.isSet(QStringLiteral("pdf"));
    if (!cmd.printDdt && !cmd.printInvoice && ddtOnly) {
        cmd.error = QStringLiteral("--anno, --cliente e --pdf valgono solo con --stampa-ddt o --stampa-fattura");
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
    cmd.monthEnd = p.isSet(QStringLiteral("fatture-differite"));
    const bool monthEndOnly =
        p.isSet(QStringLiteral("dal")) || p.isSet(QStringLiteral("al")) || p.isSet(QStringLiteral("data-fattura"));
    if (!cmd.monthEnd && monthEndOnly) {
        cmd.error = QStringLiteral("--dal, --al e --data-fattura valgono solo con --fatture-differite");
        return cmd;
    }
    if (cmd.monthEnd) {
        const QString names[3] = {QStringLiteral("dal"), QStringLiteral("al"), QStringLiteral("data-fattura")};
        QDate* dates[3] = {&cmd.from, &cmd.to, &cmd.invoiceDate};
        for (int i = 0; i < 3; ++i) {
            if (!p.isSet(names[i])) continue;
            *dates[i] = QDate::fromString(p.value(names[i]), Qt::ISODate);
            if (!dates[i]->isValid()) {
                cmd.error = QStringLiteral("Data non valida per --%1: %2").arg(names[i], p.value(names[i]));
                return cmd;
            }
        }
        if (!cmd.from.isValid() || !cmd.to.isValid() || cmd.to < cmd.from) {
            cmd.error = QStringLiteral("--fatture-differite richiede un periodo valido: --dal AAAA-MM-GG --al AAAA-MM-GG");
            return cmd;
        }
    }
    return cmd;
}

int runMonthEnd(const CommandLine& cmd) { return runMonthEndBatch({cmd.base, cmd.from, cmd.to, cmd.invoiceDate}); }

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

int runPrintDeadlines(const CommandLine& cmd) {
    return runDeadlinePrint({cmd.base, cmd.from, cmd.to, cmd.unpaidOnly, cmd.pdf});
}

int runPrintOrder(const CommandLine& cmd) { return runOrderPrint(cmd.base, cmd.orderNumber, cmd.pdf); }

int runPrintQuote(const CommandLine& cmd) { return runQuotePrint(cmd.base, cmd.quoteNumber, cmd.pdf); }

int runPrintInvoice(const CommandLine& cmd) {
    return runInvoicePrint({cmd.base, cmd.invoiceNumber, cmd.ddtYear, cmd.pdf});
}

int runInit(const CommandLine& cmd) {
    StderrNotifier notifier;
    Settings settings(cmd.base);
    DataStartup startup(cmd.base, settings, notifier);
    startup.installReferenceTables = installReferenceTables;
    return startup.runAll();
}

}  // namespace zel
