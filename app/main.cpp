#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <cstdio>
#include <memory>

#include "app/BaseFolder.h"
#include "app/CommandLine.h"
#include "app/TMain.h"
#include "core/InstanceLock.h"
#include "store/DataStartup.h"
#include "ui/Translations.h"

int main(int argc, char** argv) {
    QStringList raw;
    for (int i = 0; i < argc; ++i) raw << QString::fromLocal8Bit(argv[i]);
    zel::CommandLine cmd = zel::CommandLine::parse(raw);
    // Batch commands need no display; where they draw, they draw off screen.
    if (cmd.batch()) qputenv("QT_QPA_PLATFORM", "offscreen");
    std::unique_ptr<QCoreApplication> app;
    if (cmd.batchDraws())
        app = std::make_unique<QGuiApplication>(argc, argv);
    else if (cmd.batch())
        app = std::make_unique<QCoreApplication>(argc, argv);
    else
        app = std::make_unique<QApplication>(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Zelvarin"));
    // Ties the windows to the installed desktop entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("it.zelvarin.Zelvarin"));
    zel::installQtTranslations(*app);
    const QStringList args = QCoreApplication::arguments();
    if (cmd.help) {
        std::fprintf(stdout, "%s", qUtf8Printable(zel::CommandLine::usage()));
        return zel::kExitDone;
    }
    QString error = cmd.error;
    if (error.isEmpty()) zel::applyToday(args, &error);
    if (!error.isEmpty()) {
        std::fprintf(stderr, "%s\n\n%s", qUtf8Printable(error), qUtf8Printable(zel::CommandLine::usage()));
        return zel::kExitUsage;
    }
    if (!cmd.baseGiven)
        cmd.base = zel::defaultBaseFolder(QDir::currentPath(), QDir::homePath(), zel::userBaseFolder());
    if (cmd.init) return zel::runInit(cmd);
    // The prints work on the base folder too: one instance at a time (--init and the
    // month-end invoicing hold the folder themselves).
    zel::InstanceLock lock(cmd.base);
    if ((cmd.printDdt || cmd.printInvoice || cmd.printDeadlines || cmd.printOrder || cmd.printQuote) && QFileInfo(cmd.base).isDir() && !lock.tryLock()) {
        std::fprintf(stderr, "%s\n", qUtf8Printable(lock.refusal()));
        return zel::kExitInUse;
    }
    if (cmd.printDdt) return zel::runPrintDdt(cmd);
    if (cmd.printInvoice) return zel::runPrintInvoice(cmd);
    if (cmd.printDeadlines) return zel::runPrintDeadlines(cmd);
    if (cmd.printOrder) return zel::runPrintOrder(cmd);
    if (cmd.printQuote) return zel::runPrintQuote(cmd);
    if (cmd.monthEnd) return zel::runMonthEnd(cmd);

    zel::TMain main(cmd.base);
    main.show();
    return app->exec();
}
