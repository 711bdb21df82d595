// The splash window over a whole run with its real 4000 ms timer: shown from the start,
// hidden at 4000 ms when the conversion window comes up, hidden earlier by a press or a key,
// and shown again as the About box.
#include <QTest>

#include "startup_fixture.h"

namespace {

using startup_test::ProgramRunTest;

class SplashTimelineTest : public ProgramRunTest {
protected:
    // The last step of every run: the person closes the conversion window.
    void CloseConversionWindowAt(int ms) {
        At(ms, [] {
            Ref<Object> conversion = ConversionWindow();
            ASSERT_TRUE(conversion);
            CloseWindow(conversion.get());
        });
    }
    static void ClickSplash() {
        Ref<Object> splash = SplashWindow();
        ASSERT_TRUE(Shown(splash));
        QTest::mouseClick(ToolkitWindowWidget(splash.get()), Qt::LeftButton, {}, QPoint(10, 10));
    }
};

TEST_F(SplashTimelineTest, IsShownForFourSecondsThenTheConversionWindowWithEmptyFields) {
    Object* splashSeen = nullptr;
    At(50, [&] {
        Ref<Object> splash = SplashWindow();
        EXPECT_TRUE(Shown(splash));
        EXPECT_FALSE(ConversionWindow());
        splashSeen = splash.get();
    });
    At(3800, [] {
        EXPECT_TRUE(Shown(SplashWindow()));
        EXPECT_FALSE(ConversionWindow()) << "the conversion window comes only with the timer";
    });
    At(4300, [&] {
        Ref<Object> conversion = ConversionWindow();
        ASSERT_TRUE(Shown(conversion));
        EXPECT_FALSE(Shown(SplashWindow()));
        EXPECT_EQ(SplashWindow().get(), splashSeen) << "hidden, not closed";
        EXPECT_EQ(FieldText(conversion.get(), "rEdit"), "");
        EXPECT_EQ(FieldText(conversion.get(), "zEdit"), "");
    });
    CloseConversionWindowAt(4500);
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(RuntimeUnhandledExceptionCount(), 0);
}

TEST_F(SplashTimelineTest, APressHidesItAtOnceAndNothingIsShownUntilTheTimerFires) {
    At(1000, [] {
        ClickSplash();
        EXPECT_FALSE(Shown(SplashWindow())) << "hidden at once";
    });
    for (int ms : {1100, 2500, 3800}) {
        At(ms, [ms] {
            EXPECT_EQ(VisibleWindows(), 0) << "at " << ms << " ms";
            EXPECT_FALSE(ConversionWindow()) << "at " << ms << " ms";
        });
    }
    At(4300, [] {
        EXPECT_TRUE(Shown(ConversionWindow())) << "the timer still brings up the conversion window";
        EXPECT_FALSE(Shown(SplashWindow()));
    });
    CloseConversionWindowAt(4500);
    EXPECT_EQ(Run(), 0);
}

TEST_F(SplashTimelineTest, AKeyPressHidesItTheSameWay) {
    At(1000, [] {
        Ref<Object> splash = SplashWindow();
        ASSERT_TRUE(Shown(splash));
        QTest::keyClick(ToolkitWindowWidget(splash.get()), Qt::Key_Space);
        EXPECT_FALSE(Shown(SplashWindow()));
    });
    At(3800, [] { EXPECT_EQ(VisibleWindows(), 0); });
    At(4300, [] { EXPECT_TRUE(Shown(ConversionWindow())); });
    CloseConversionWindowAt(4500);
    EXPECT_EQ(Run(), 0);
}

TEST_F(SplashTimelineTest, AboutShowsTheSameWindowWithoutATimerUntilTheConversionWindowIsActivated) {
    Object* splashSeen = nullptr;
    At(50, [&] { splashSeen = SplashWindow().get(); });
    At(4300, [&] {
        Ref<Object> conversion = ConversionWindow();
        ASSERT_TRUE(Shown(conversion));
        ASSERT_TRUE(Choose(conversion.get(), "About Corvane"));
        Ref<Object> splash = SplashWindow();
        EXPECT_TRUE(Shown(splash));
        EXPECT_EQ(splash.get(), splashSeen);
        Ref<Object> timer = RuntimeCallSlot<Ref<Object>, String>(splash.get(), Window::kControlByNameSlot,
                                                                 String("Timer1"));
        ASSERT_TRUE(timer);
        EXPECT_FALSE(RuntimeTimerArmed(timer.get())) << "About starts no timer";
    });
    At(5800, [] { EXPECT_TRUE(Shown(SplashWindow())) << "the About box stays up"; });
    At(5900, [] {
        QWidget* conversion = TopLevel(ConversionWindow().get());
        ASSERT_NE(conversion, nullptr);
        conversion->activateWindow();
        QApplication::setActiveWindow(conversion);
    });
    At(6100, [] {
        EXPECT_FALSE(Shown(SplashWindow())) << "activating the conversion window hides it";
        EXPECT_TRUE(Shown(ConversionWindow()));
    });
    CloseConversionWindowAt(6200);
    EXPECT_EQ(Run(), 0);
}

TEST_F(SplashTimelineTest, AboutTwiceWithAPressBetweenShowsItTwice) {
    At(4300, [] {
        Ref<Object> conversion = ConversionWindow();
        ASSERT_TRUE(conversion);
        ASSERT_TRUE(Choose(conversion.get(), "About Corvane"));
        EXPECT_TRUE(Shown(SplashWindow()));
        ClickSplash();
        EXPECT_FALSE(Shown(SplashWindow()));
        ASSERT_TRUE(Choose(conversion.get(), "About Corvane"));
        EXPECT_TRUE(Shown(SplashWindow()));
        EXPECT_EQ(RuntimeWindowCount(), 2) << "no second splash window";
    });
    CloseConversionWindowAt(4500);
    EXPECT_EQ(Run(), 0);
}

TEST_F(SplashTimelineTest, FileQuitEndsTheRunWithStatusZero) {
    At(4300, [] {
        Ref<Object> conversion = ConversionWindow();
        ASSERT_TRUE(conversion);
        Choose(conversion.get(), "Quit");
    });
    EXPECT_EQ(Run(), 0);
}

}  // namespace
