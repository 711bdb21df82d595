// The two windows as they show on screen, and the conversion window's accessors where
// something is missing.
#include <QLabel>

#include "shell/window_design/records.h"
#include "shell/window_design/controls.h"
#include "conversion_fixture.h"

namespace conversion_test {
namespace {

using ConversionLayout = ConversionWindowTest;

TEST_F(ConversionLayout, TheWindowsShowTheirFramesSizesAndTitles) {
    EXPECT_EQ(ToolkitWindowWidget(window())->size(), QSize(450, 300));
    EXPECT_EQ(Top()->windowTitle(), "Corvane");
    EXPECT_EQ(Top()->minimumSize(), Top()->maximumSize()) << "not resizable";
    EXPECT_EQ(Top()->windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint |
                                      Qt::WindowMaximizeButtonHint | Qt::FramelessWindowHint),
              Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint);
    QWidget* splash =
        ToolkitWindowWidget(RuntimeGetImplicitWindow(String("SplashWnd.SplashWnd")).get());
    EXPECT_EQ(splash->size(), QSize(330, 165));
    EXPECT_TRUE(splash->window()->windowFlags() & Qt::FramelessWindowHint)
        << "no title or close button";
}

TEST_F(ConversionLayout, WithoutAMenuBarTheMenuItemAccessorsRaiseAndTheControlAccessorsWork) {
    Ref<Object> bar = WindowMenuBarGetter(window(), 0);
    WindowMenuBarSetter(window(), 0, nullptr);
    for (uint32_t slot = W::kUntitledMenu3Slot; slot <= W::kAppleSlot; ++slot) {
        try {
            Accessor(slot);
            ADD_FAILURE() << "slot " << slot << " raised nothing";
        } catch (const RaisedException& raised) {
            EXPECT_EQ(raised.ExceptionObject()->cls, NilObjectException::dunder_Lookup()) << slot;
        }
    }
    EXPECT_TRUE(Accessor(W::kQBtnSlot)) << "control accessors need no bar";
    WindowMenuBarSetter(window(), 0, bar.get());
    EXPECT_FALSE(ControlOf(window(), "NoSuchControl")) << "an unknown name gives nil";
}

}  // namespace
}  // namespace conversion_test
