// The splash window over a whole run with its real 4000 ms timer: shown from the start,
// hidden at 4000 ms when the conversion window comes up, hidden earlier by a press or a key,
// and shown again as the About box; its answer to a key, and its timer.
#include <QTest>

#include "framework/toolkit/program_code.h"
#include "splash/splash_wnd.h"
#include "splash/timer_wrapper.h"
#include "startup_fixture.h"

namespace {

using conversion_test::ControlOf;

class SplashTimelineTest : public ProgramRunTest {
  protected:
    static int ShownWindows() {
        int shown = 0;
        for (int64_t i = 0; i < RuntimeWindowCount(); ++i) shown += Shown(RuntimeWindowAt(i));
        return shown;
    }
    Object* splash_ = nullptr;
};

TEST_F(SplashTimelineTest, IsShownForFourSecondsThenTheConversionWindowComesUpWithEmptyFields) {
    At(50, [&] {
        EXPECT_TRUE(Shown(Splash()));
        splash_ = Splash().get();
    });
    At(3800, [] {
        EXPECT_TRUE(Shown(Splash()));
        EXPECT_FALSE(Conversion()) << "only the timer creates the conversion window";
    });
    At(4300, [&] {
        ASSERT_TRUE(Shown(Conversion()));
        EXPECT_FALSE(Shown(Splash()));
        EXPECT_EQ(Splash().get(), splash_) << "hidden, not closed";
        for (const char* field : {"rEdit", "zEdit"})
            EXPECT_EQ(editTextGetter(ControlOf(Conversion().get(), field).get(), 0).Std(), "");
        Close(Conversion().get());
    });
    EXPECT_EQ(Run(), 0);
}

// A person who does not wait: a click, or a key.
class EarlyGestureTest : public SplashTimelineTest, public testing::WithParamInterface<bool> {};

TEST_P(EarlyGestureTest, HidesTheSplashAtOnceAndNoWindowIsShownUntilTheTimerFires) {
    At(1000, [] {
        ASSERT_TRUE(Shown(Splash()));
        QWidget* splash = ToolkitWindowWidget(Splash().get());
        if (GetParam()) {
            QTest::mouseClick(splash, Qt::LeftButton, {}, QPoint(10, 10));
        } else {
            QTest::keyClick(splash, Qt::Key_Space);
        }
        EXPECT_FALSE(Shown(Splash()));
    });
    for (int ms : {1100, 2500, 3800})
        At(ms, [ms] { EXPECT_EQ(ShownWindows(), 0) << "at " << ms << " ms"; });
    At(4300, [] {
        EXPECT_TRUE(Shown(Conversion()));
        Close(Conversion().get());
    });
    EXPECT_EQ(Run(), 0);
}

INSTANTIATE_TEST_SUITE_P(ClickOrKey, EarlyGestureTest, testing::Bool(),
                         [](const auto& info) { return info.param ? "Click" : "Key"; });

TEST_F(SplashTimelineTest, AboutShowsTheSameWindowWithoutATimerUntilAPressOrAnActivationHidesIt) {
    At(50, [&] { splash_ = Splash().get(); });
    At(4300, [&] {
        ASSERT_TRUE(Choose(Conversion().get(), "About Corvane"));
        EXPECT_TRUE(Shown(Splash()));
        EXPECT_EQ(Splash().get(), splash_);
        EXPECT_FALSE(RuntimeTimerArmed(
            RuntimeCallSlot<Ref<Object>>(splash_, SplashWnd::SplashWnd::kTimer1Slot).get()));
        QTest::mouseClick(ToolkitWindowWidget(splash_), Qt::LeftButton, {}, QPoint(10, 10));
        EXPECT_FALSE(Shown(Splash()));
        ASSERT_TRUE(Choose(Conversion().get(), "About Corvane"));
        EXPECT_TRUE(Shown(Splash())) << "shown a second time";
    });
    At(5800, [] {
        EXPECT_TRUE(Shown(Splash())) << "the About box stays up";
        QApplication::setActiveWindow(TopLevel(Conversion().get()));
    });
    At(6000, [] {
        EXPECT_FALSE(Shown(Splash())) << "activating the conversion window hides it";
        Close(Conversion().get());
    });
    EXPECT_EQ(Run(), 0);
}

TEST(SplashWindow, AKeyHidesItAndIsReportedAsNotHandled) {
    ToolkitResetForTesting();
    Ref<Object> splash = SplashWnd::SplashWnd();
    ASSERT_TRUE(RuntimeWindowVisible(splash.get()));
    EXPECT_FALSE(RaiseClassEvent<bool>(splash.get(), Window::kKeyDown, true, String("a")));
    EXPECT_FALSE(RuntimeWindowVisible(splash.get()));
    ToolkitResetForTesting();
}

// The splash window's timer as the framework reaches it through _PaneChild: its owner
// window, given when the window made it and held only through a WeakRef, and its index.
TEST(SplashTimerWrapper, HoldsItsWindowWeaklyAndKeepsItsIndex) {
    using Wrapper = SplashWnd::_wrapper_Timer1;
    ToolkitResetForTesting();
    Ref<Object> splash = SplashWnd::SplashWnd();
    Ref<Object> timer1 =
        RuntimeCallSlot<Ref<Object>>(splash.get(), SplashWnd::SplashWnd::kTimer1Slot);
    EXPECT_EQ(RuntimeCallSlot<Ref<Object>>(timer1.get(), Wrapper::kWindowSlot), splash);
    ToolkitResetForTesting();

    Ref<Object> timer = RuntimeNewObject(Wrapper::dunder_Lookup());
    const InterfaceEntry* pane = RuntimeInterfaceOf(timer.get(), under_PaneChild::dunder_Lookup());
    ASSERT_NE(pane, nullptr);
    auto setWindow =
        reinterpret_cast<void (*)(Object*, Object*)>(pane->table[under_PaneChild::kSetWindow]);
    auto owner = reinterpret_cast<Ref<Object> (*)(Object*)>(pane->table[under_PaneChild::kWindow]);
    EXPECT_FALSE(owner(timer.get()));
    Ref<Object> window = RuntimeNewObject(Window::dunder_Lookup());
    setWindow(timer.get(), window.get());
    EXPECT_EQ(owner(timer.get()), window);
    EXPECT_EQ(window->refcount, 1) << "no strong reference to the window";
    window.Reset();
    EXPECT_FALSE(owner(timer.get())) << "a window that is gone gives nil";
    reinterpret_cast<void (*)(Object*, int64_t)>(pane->table[under_PaneChild::kSetIndex])(
        timer.get(), 3);
    EXPECT_EQ(RuntimeCallSlot<int64_t>(timer.get(), Wrapper::kIndexSlot), 3);
}

}  // namespace
