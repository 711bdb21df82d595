// Whole-program tests on a real X server: the program starts on an Xvfb of the tests' own,
// without a window manager, by its real start-up (the splash window's timer included), and
// the tests run inside its event loop, giving it real input through XTEST.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "program_session.h"
#include "x_display.h"

// `--quit-from-splash`: only Ctrl+Q in the splash window, which must end the program before
// the splash window's timer fires; no test runs. Otherwise every test, in one start-up.
int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
    xvfb::Session session = xvfb::Session::kTests;
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--quit-from-splash") == 0)
            session = xvfb::Session::kQuitFromSplash;
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
    return xvfb::RunSession(input, session);
}
