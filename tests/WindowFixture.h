#pragma once

#include <memory>

#include "settings/Settings.h"
#include "store/Store.h"
#include "tests/store/StartupFixture.h"
#include "ui/AppContext.h"
#include "ui/Dialogs.h"

namespace zel::test {

// A prepared base folder, its live settings and store, and message boxes answered by
// script: what a module window needs to be driven through its widgets.
class WindowFixture : public StartupFixture {
protected:
    void SetUp() override {
        StartupFixture::SetUp();
        ASSERT_EQ(runStartup(), 0);
        openContext();
    }
    // Derived fixtures destroy their windows before calling this.
    void TearDown() override {
        store.reset();
        Dialogs::instance().setScripted(false);
        Dialogs::instance().reset();
        StartupFixture::TearDown();
    }
    // Fresh settings read from the files and a fresh store, as a new start would have them.
    void openContext() {
        Dialogs::instance().setScripted(true);
        Dialogs::instance().reset();
        store.reset();
        settings = std::make_unique<Settings>(base.path());
        settings->load();
        store = std::make_unique<Store>(base.file(QStringLiteral("Dati")));
        ctx = AppContext{base.path(), settings.get(), store.get(), nullptr};
    }

    std::unique_ptr<Settings> settings;
    std::unique_ptr<Store> store;
    AppContext ctx;
};

}  // namespace zel::test
