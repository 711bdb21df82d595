// A picture file that cannot be loaded leaves its canvas empty; the window still opens.
#include <QTemporaryDir>

#include "conversion_fixture.h"
#include "shell/pictures.h"

namespace conversion_test {
namespace {

TEST(ConversionMissingPictures, CanvasesStayEmptyAndTheWindowStillOpens) {
    QTemporaryDir empty;
    ASSERT_TRUE(empty.isValid());
    ToolkitSetResourceFolder(empty.path().toStdString());
    struct RestoreFolder {
        ~RestoreFolder() { ToolkitSetResourceFolder(CORVANE_RESOURCE_FOLDER); }
    } restore;
    if (Ref<Object> cached = _x_corvane::corvane())
        GTEST_SKIP() << "the pictures were loaded earlier in this process and stay cached";

    RuntimeSetExitStatus(0);
    Ref<Object> window = MainWnd::MainWnd();
    ASSERT_TRUE(window);
    EXPECT_TRUE(RuntimeWindowVisible(window.get()));
    for (const char* name : {"Canvas2", "Canvas1"}) {
        Ref<Object> canvas = ControlOf(window.get(), name);
        ASSERT_TRUE(canvas) << name;
        EXPECT_FALSE(canvasBackdropGetter(canvas.get(), 0)) << name;
    }
    // The rest of the window works as ever.
    Ref<Object> calc = ControlOf(window.get(), "CalcBtn");
    EXPECT_TRUE(calc);
    RuntimeCloseWindow(window.get());
    RuntimeSetExitStatus(0);
}

}  // namespace
}  // namespace conversion_test
