#pragma once

class QCoreApplication;
class QTranslator;

namespace zel {

// Loads Qt's own Italian texts (standard buttons, file and print dialogs) into the
// application, which owns the returned translator. Null when Qt's catalogue is not
// installed: the program then works with Qt's English texts.
QTranslator* installQtTranslations(QCoreApplication& app);

}  // namespace zel
