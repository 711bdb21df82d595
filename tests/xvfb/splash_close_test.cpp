// A close request from the window system (what Alt+F4 or a title-bar button sends) to the
// splash window, which has no close button: it dismisses the window as a press does and
// closes nothing.
#include "program_session.h"

namespace xvfb {
namespace {

constexpr int kSplashPeriodMs = 4000;

TEST(SplashCloseRequest, AtStartUpHidesItAndTheConversionWindowStillComesWithTheTimer) {
    const StartupRecord& startup = Startup();
    ASSERT_GE(startup.closeRequestAtMs, 0) << "the splash window never showed";
    ASSERT_LT(startup.closeRequestAtMs, kSplashPeriodMs) << "asked too late to tell";
    EXPECT_TRUE(startup.splashHidden);
    EXPECT_TRUE(startup.splashKept) << "the splash window was closed";
    EXPECT_FALSE(startup.conversionEarly);
    EXPECT_GE(startup.conversionAtMs, kSplashPeriodMs) << "-1: the conversion window never came";
}

using AboutBoxCloseRequest = ProgramTest;

TEST_F(AboutBoxCloseRequest, HidesTheBoxWhichAboutShowsAgain) {
    ChooseWithMouse("Edit", "About Corvane");
    ASSERT_TRUE(WaitFor([] { return Shown(Splash()); }));
    Ref<Object> box = Splash();
    Input().RequestClose(TopLevel(box)->winId());
    EXPECT_TRUE(WaitFor([] { return !Shown(Splash()); }));
    EXPECT_EQ(Splash().get(), box.get()) << "the box was closed";
    ChooseWithMouse("Edit", "About Corvane");
    EXPECT_TRUE(WaitFor([] { return Shown(Splash()); }));
    EXPECT_TRUE(Shown(Conversion()));
}

}  // namespace
}  // namespace xvfb
