// Toolkit tests run the real Qt widgets on the offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>

#include "framework/toolkit/toolkit.h"
#include "framework/toolkit/toolkit_testing.h"
#include "tests/toolkit/exception_hook.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    RuntimeInit(argc, argv);
    RuntimeInitExternalClasses();
    InstallTestExceptionHook();
    ToolkitRecordMessageBoxes(true);
    return RUN_ALL_TESTS();
}
