// Program tests drive the real program code and Qt widgets on the offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>

#include "framework/toolkit/toolkit.h"
#include "framework/toolkit/toolkit_testing.h"
#include "shell/startup.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    RuntimeInit(argc, argv);
    RuntimeInitExternalClasses();
    // Program code runs through the hook that the start-up installs; tests that open windows
    // without the start-up install the same hook here.
    RuntimeSetExceptionHelper(AsGenericFn(&under_CallFunctionWithExceptionHandling));
    ToolkitRecordMessageBoxes(true);
    ToolkitSetResourceFolder(CORVANE_RESOURCE_FOLDER);
    return RUN_ALL_TESTS();
}
