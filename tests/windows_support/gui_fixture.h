// The whole tool with its windows on fake ports, the first ping's write
// pause passed, for window tests: controls are found by name.
#pragma once

#include "support/app_harness.h"
#include "windows/core_window.h"
#include "windows/gui.h"

#include <QApplication>

#include <gtest/gtest.h>

namespace orlix::test {

struct GuiFixture : ::testing::Test {
    GuiFixture() {
        h.mapPorts();
        gui.start();
        h.advance(100);
        QApplication::processEvents();
    }

    template <typename T>
    T* find(WindowId id, const char* name) {
        QWidget* window = gui.window(id);
        T* child = window ? window->findChild<T*>(name) : nullptr;
        EXPECT_NE(child, nullptr) << name;
        return child;
    }

    AppHarness h;
    windows::Gui gui{h.app};
};

} // namespace orlix::test
