// Whole-program tests on a real X server: the program starts on an Xvfb of the tests' own,
// without a window manager, by its real start-up (the splash window's timer included), and
// the tests run inside its event loop, giving it real input through XTEST.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "program_session.h"
#include "x_display.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
    VirtualDisplay display;
    if (!display.Running()) {
        std::fprintf(stderr, "xvfb: Xvfb did not start\n");
        return 1;
    }
    setenv("DISPLAY", display.Name().c_str(), 1);
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    setenv("QT_IM_MODULE", "compose", 1);  // Qt's own input method on X11
    setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 1);
    unsetenv("WAYLAND_DISPLAY");
    XInput input(display.Name());
    if (!input.Connected()) {
        std::fprintf(stderr, "xvfb: no XTEST on %s\n", display.Name().c_str());
        return 1;
    }
    return xvfb::RunSession(input);
}
