// Building the conversion window's controls, and its accessors where something is missing.
#include <QLabel>

#include "conversion/design_records.h"
#include "conversion/window_controls.h"
#include "conversion_fixture.h"

namespace conversion_test {
namespace {

using ConversionLayout = ConversionWindowTest;

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
