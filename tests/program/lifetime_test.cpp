// Windows leave no runtime object behind: once a conversion window or a splash window has
// been built, used and closed, the count of live objects is back where it started.
#include "conversion_fixture.h"
#include "shell/menu.h"
#include "shell/pictures.h"
#include "splash/splash_wnd.h"

namespace conversion_test {
namespace {

class LifetimeTest : public testing::Test {
  protected:
    // The menu bar and the three pictures live for the rest of the process once first asked
    // for; they are made here so that only what a window makes itself is counted.
    void SetUp() override {
        RuntimeSetExitStatus(0);
        Menu::Menu();
        under_x_Checks::Checks();
        under_x_corvane::corvane();
        under_x_corvane2::corvane2();
        start_ = RuntimeLiveObjectCount();
    }
    void TearDown() override {
        CloseBothWindows();
        RuntimeSetExitStatus(0);
    }
    int64_t Extra() const { return RuntimeLiveObjectCount() - start_; }
    int64_t start_ = 0;
};

TEST_F(LifetimeTest, ConversionWindowsBuiltUsedAndClosedLeaveNoObject) {
    for (int round = 0; round < 2; ++round) {
        ToolkitClearMessageBoxes();
        Ref<Object> window = MainWnd::MainWnd();  // opening it builds the splash window too
        QApplication::processEvents();
        auto* r = QtControl<QLineEdit>(window.get(), "rEdit");
        auto click = [&](const char* button) {
            QTest::mouseClick(QtControl<QPushButton>(window.get(), button), Qt::LeftButton);
        };
        ASSERT_NE(r, nullptr);
        QTest::keyClicks(r, "0.5");
        click("CalcBtn");
        click("ClearBtn");
        QTest::keyClicks(QtControl<QLineEdit>(window.get(), "zEdit"), "9");
        click("CalcBtn");         // out of range: the message box
        QTest::keyClick(r, 'a');  // rejected: a beep
        click("qBtn");
        QWidget* top = ToolkitWindowWidget(window.get())->window();
        top->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(top));
        QAction* about = MenuItemOf(top, "About Corvane");
        ASSERT_TRUE(about && about->isEnabled());
        about->trigger();
        EXPECT_EQ(ToolkitMessageBoxes().size(), 1u);
        EXPECT_GT(Extra(), 0) << "the open windows and their controls are counted";
        window.Reset();
        CloseBothWindows();
        EXPECT_EQ(RuntimeWindowCount(), 0);
        EXPECT_EQ(Extra(), 0) << "after round " << round;
    }
}

}  // namespace
}  // namespace conversion_test
