#include "ui/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace zel {

QTranslator* installQtTranslations(QCoreApplication& app) {
    auto* translator = new QTranslator(&app);
    // "qt_it" is a meta catalogue: loading it also loads qtbase_it and the modules' files.
    if (!translator->load(QStringLiteral("qt_it"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return nullptr;
    }
    return translator;
}

}  // namespace zel
