#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <cstdio>
#include <cstring>
#include <memory>

#include "app/BaseFolder.h"
#include "app/CommandLine.h"
#include "app/TMain.h"
#include "ui/Translations.h"

int main(int argc, char** argv) {
    bool batch = false;
    for (int i = 1; i < argc; ++i) batch = batch || std::strcmp(argv[i], "--init") == 0;
    // Batch commands need no display.
    std::unique_ptr<QCoreApplication> app = batch ? std::make_unique<QCoreApplication>(argc, argv)
                                                  : std::make_unique<QApplication>(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Zelvarin"));
    // Ties the windows to the installed desktop entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("it.zelvarin.Zelvarin"));
    zel::installQtTranslations(*app);
    const QStringList args = QCoreApplication::arguments();
    QString error;
    if (!zel::applyToday(args, &error)) {
        std::fprintf(stderr, "%s\n", qUtf8Printable(error));
        return 64;
    }
    zel::CommandLine cmd = zel::CommandLine::parse(args);
    if (!cmd.error.isEmpty()) {
        std::fprintf(stderr, "%s\n", qUtf8Printable(cmd.error));
        return 64;
    }
    if (!cmd.baseGiven) cmd.base = zel::defaultBaseFolder(QDir::currentPath(), zel::userBaseFolder());
    if (cmd.init) return zel::runInit(cmd);

    zel::TMain main(cmd.base);
    main.show();
    return app->exec();
}
