#include "app/WindowFactories.h"

#include "app/TMain.h"

namespace zel {

void registerWindowFactories(TMain& main) {
    // The setup window registers here:
    //   main.setSetupFactory([](AppContext& ctx, QWidget* parent) { return new Tfrm_setup(ctx, parent); });
    (void)main;
}

}  // namespace zel
