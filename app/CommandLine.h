#pragma once

#include <QString>
#include <QStringList>

namespace zel {

struct CommandLine {
    QString base;   // absolute base folder
    bool baseGiven = false;  // --base was on the command line
    bool init = false;
    bool help = false;
    QString error;  // set when the arguments cannot be understood

    // Commands that run without a window, and so without a display.
    bool batch() const { return init || help || !error.isEmpty(); }

    static CommandLine parse(const QStringList& arguments);
    // The usage text in Italian, with the exit codes.
    static QString usage();
};

// Runs the data start-up without any window, writing its messages to standard error.
int runInit(const CommandLine& cmd);

// Applies --today, which pins the program's date (for checking year changes).
bool applyToday(const QStringList& arguments, QString* error);

}  // namespace zel
