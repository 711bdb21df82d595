// The conversion window's own events, each raised as the framework raises it.
#include "conversion_fixture.h"
#include "framework/toolkit/class_event.h"
#include "splash/splash_wnd.h"

namespace conversion_test {
namespace {

using ConversionEvents = ConversionWindowTest;

TEST_F(ConversionEvents, OpenActivateEnableMenuItemsAndCloseEachDoTheirPart) {
    Ref<Object> splash = SplashWnd::SplashWnd(), about = Accessor(W::kAboutSlot);
    for (uint32_t field : {W::kREditSlot, W::kZEditSlot})
        editTextSetter(Accessor(field).get(), 0, String("0.5"));
    RuntimeShowWindow(splash.get());
    CallClassEventVoid(window(), Window::kOpen);
    EXPECT_EQ(RText() + ZText(), "") << "Open empties both fields";
    EXPECT_FALSE(SplashShown()) << "Open hides the splash window";

    RuntimeShowWindow(splash.get());
    CallClassEventVoid(window(), Window::kActivate);
    EXPECT_FALSE(SplashShown()) << "an activation hides the splash window";

    RuntimeMenuItemEnabledSetter(about.get(), 0, false);
    CallClassEventVoid(window(), Window::kEnableMenuItems);
    EXPECT_TRUE(RuntimeMenuItemEnabledGetter(about.get(), 0)) << "About is enabled";

    RuntimeSetExitStatus(7);
    CallClassEventVoid(window(), Window::kClose);
    EXPECT_EQ(RuntimeExit(), 0) << "closing the window quits with 0";
}

}  // namespace
}  // namespace conversion_test
