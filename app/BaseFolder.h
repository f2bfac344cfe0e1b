#pragma once

#include <QString>

namespace zel {

// The base folder of a start without --base: `current` when it already holds a base
// (zelvarin.ini or the data folder, in any letter case), otherwise `userFolder`, made
// when missing. In the home folder, where the menu starts the program, only zelvarin.ini
// counts: a "Dati" folder there is the user's own. A folder that cannot be made is still
// returned: the start-up then stops with its own message.
QString defaultBaseFolder(const QString& current, const QString& home, const QString& userFolder);

// The user's data folder for Zelvarin: ~/.local/share/Zelvarin ($XDG_DATA_HOME/Zelvarin).
QString userBaseFolder();

}  // namespace zel
