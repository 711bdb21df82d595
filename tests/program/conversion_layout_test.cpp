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

TEST(WindowControlTable, ARecordThatFailsStopsTheTableThereAndLeavesNothingBehind) {
    using namespace Design;
    const LabelLook look{kBlack, "text", false, false, 12.0f};
    const RecordEntry unknownKey[] = {{"NoSuchKey", Int(1)}};
    const ControlDesign designs[] = {
        {"First", &Label::dunder_Lookup, LabelRecord({"First", 0, 0, 50, 20}, look), nullptr, {}},
        {"Failing", &Label::dunder_Lookup, EncodePropertyRecord(unknownKey), nullptr, {}},
        {"Never", &Label::dunder_Lookup, LabelRecord({"Never", 0, 30, 50, 20}, look), nullptr, {}},
    };
    const int64_t before = RuntimeLiveObjectCount();
    {
        Ref<Object> window = RuntimeNewObject(Window::dunder_Lookup());
        RuntimeCallSlot<void>(window.get(), Window::kConstructorSlot);
        EXPECT_THROW(CreateControls(window.get(), designs), RaisedException);
        EXPECT_EQ(ToolkitWindowWidget(window.get())->findChild<QLabel*>("First")->text(), "text");
        EXPECT_TRUE(ControlOf(window.get(), "Failing")) << "added before its record failed";
        EXPECT_FALSE(ControlOf(window.get(), "Never"));
        RuntimeCloseWindow(window.get());
    }
    CloseBothWindows();  // lets Qt delete the closed window
    EXPECT_EQ(RuntimeLiveObjectCount(), before) << "nothing of the broken build is left";
}

}  // namespace
}  // namespace conversion_test
