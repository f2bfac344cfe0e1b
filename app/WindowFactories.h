#pragma once

namespace zel {

class TMain;

// Gives the main window the factories of the windows that live in other folders.
void registerWindowFactories(TMain& main);

}  // namespace zel
