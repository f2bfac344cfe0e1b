#pragma once

#include <QString>
#include <QStringList>

namespace zel {

struct CommandLine {
    QString base;   // absolute base folder
    bool baseGiven = false;  // --base was on the command line
    bool init = false;
    QString error;  // set when the arguments cannot be understood

    static CommandLine parse(const QStringList& arguments);
};

// Runs the data start-up without any window, writing its messages to standard error.
int runInit(const CommandLine& cmd);

// Applies --today, which pins the program's date (for checking year changes).
bool applyToday(const QStringList& arguments, QString* error);

}  // namespace zel
