// The splash window SplashWnd.SplashWnd built through its accessor: its design records, what
// it shows, its timer, and its answers to a press or a key.
#include <gtest/gtest.h>

#include <QWidget>

#include "framework/toolkit/program_code.h"
#include "framework/toolkit/toolkit.h"
#include "framework/toolkit/toolkit_internal.h"
#include "shell/credits.h"
#include "shell/pictures.h"
#include "splash/splash_wnd.h"
#include "splash/timer_wrapper.h"

namespace {

using Splash = struct SplashWnd::SplashWnd;

TEST(SplashRecords, HaveTheirDocumentedLengthsAndTheTimerRecordItsBytes) {
    EXPECT_EQ(SplashWnd::WindowRecord().Size(), 367u);
    EXPECT_EQ(SplashWnd::StaticText2Record().Size(), 425u + kCreditLine.size());
    EXPECT_EQ(SplashWnd::Canvas1Record().Size(), 322u);
    const char timer[] = "RunMode \x01\0\0\0\0\0\0\0Period \xA0\x0F\0\0\0\0\0";
    EXPECT_EQ(SplashWnd::Timer1Record().View(), std::string_view(timer, sizeof timer));  // 31 bytes
}

class SplashWindowTest : public testing::Test {
  protected:
    void SetUp() override { ToolkitResetForTesting(); }
    void TearDown() override { ToolkitResetForTesting(); }
};

TEST_F(SplashWindowTest, ShowsThePictureAndTheCreditLineWithoutTitleOrCloseButton) {
    Ref<Object> splash = SplashWnd::SplashWnd();
    ASSERT_TRUE(splash);
    EXPECT_TRUE(RuntimeWindowVisible(splash.get())) << "shown at creation";
    QWidget* top = ToolkitWindowWidget(splash.get())->window();
    EXPECT_TRUE(top->windowTitle().isEmpty());
    EXPECT_FALSE(top->windowFlags() & Qt::WindowCloseButtonHint);
    Ref<Object> label = RuntimeCallSlot<Ref<Object>>(splash.get(), Splash::kStaticText2Slot);
    ASSERT_TRUE(label);
    const PropertyEntry* value = RuntimeFindProperty(label->cls, "Value");
    EXPECT_EQ(value->boxedGetter(label.get(), value).AsString().View(), kCreditLine);
    Ref<Object> canvas = RuntimeCallSlot<Ref<Object>>(splash.get(), Splash::kCanvas1Slot);
    ASSERT_TRUE(canvas);
    Ref<Object> backdrop = canvasBackdropGetter(canvas.get(), 0);
    EXPECT_TRUE(backdrop);
    EXPECT_EQ(backdrop.get(), _x_corvane2::corvane2().get());
}

TEST_F(SplashWindowTest, ItsTimerIsArmedAndBoundToTimer1ActionWithTheWindowAsTarget) {
    Ref<Object> splash = SplashWnd::SplashWnd();
    Ref<Object> timer = RuntimeCallSlot<Ref<Object>>(splash.get(), Splash::kTimer1Slot);
    ASSERT_TRUE(timer);
    EXPECT_EQ(timer->cls, SplashWnd::_wrapper_Timer1::dunder_Lookup());
    EXPECT_TRUE(RuntimeTimerArmed(timer.get()));
    const EventBinding* binding = RuntimeFindEventHandler(timer.get(), Timer::kActionEvent);
    ASSERT_NE(binding, nullptr);
    EXPECT_STREQ(RuntimeDelegateSignature(binding->delegate.get()), "( Timer )");
    EXPECT_EQ(RuntimeDelegateFunction(binding->delegate.get()),
              splash->vtable[Splash::kTimer1ActionSlot]);
    EXPECT_EQ(RuntimeDelegateTarget(binding->delegate.get()).get(), splash.get());
}

TEST_F(SplashWindowTest, APressOrAKeyHidesItAndIsReportedAsNotHandled) {
    Ref<Object> splash = SplashWnd::SplashWnd();
    EXPECT_FALSE(
        RaiseClassEvent<bool>(splash.get(), Window::kMouseDown, true, int64_t{3}, int64_t{4}));
    EXPECT_FALSE(RuntimeWindowVisible(splash.get()));
    RuntimeShowWindow(splash.get());
    EXPECT_FALSE(RaiseClassEvent<bool>(splash.get(), Window::kKeyDown, true, String("a")));
    EXPECT_FALSE(RuntimeWindowVisible(splash.get()));
}

}  // namespace
