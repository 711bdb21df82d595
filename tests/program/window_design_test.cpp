// What the two windows share in form: records that differ only where their designs do, and
// the control table routine stopping cleanly at a control whose record fails.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <string_view>

#include "conversion/design_records.h"
#include "conversion/main_wnd_design.h"
#include "conversion/window_controls.h"
#include "framework/toolkit/toolkit.h"
#include "framework/toolkit/toolkit_internal.h"
#include "splash/splash_wnd.h"

namespace {

// The bytes of `record` from the entry `from` up to the entry `to` ("" for the end).
std::string_view Span(const String& record, std::string_view from, std::string_view to) {
    std::string_view bytes = record.View();
    size_t start = bytes.find(from);
    size_t end = to.empty() ? bytes.size() : bytes.find(to, start);
    if (start == std::string_view::npos || end == std::string_view::npos) return "(missing)";
    return bytes.substr(start, end - start);
}

struct SharedSpan {
    std::string_view from, to;  // each a key followed by its blank
};

struct RecordPair {
    const char* what;
    String (*conversion)();
    String (*splash)();
    std::initializer_list<SharedSpan> shared;
};

String ConversionCreditLine() {
    return MainWnd::ControlDesigns()[2].record;  // StaticText1
}
String ConversionBanner() {
    return MainWnd::ControlDesigns()[1].record;  // Canvas2, the picture band
}

TEST(WindowDesign, TheTwoWindowsRecordsDifferOnlyWhereTheirDesignsDo) {
    const RecordPair pairs[] = {
        // the window: Width, Height, Type, Title and HasCloseButton set them apart
        {"window",
         [] { return MainWnd::WindowRecord(); },
         &SplashWnd::WindowRecord,
         {{"MinimumWidth ", "Type "}, {"HasMaximizeButton ", ""}}},
        // the credit line: name, place, locks, tab index and font size
        {"credit line",
         &ConversionCreditLine,
         &SplashWnd::StaticText2Record,
         {{"TabPanelIndex ", "FontSize "}, {"FontUnit ", ""}}},
        // the picture band: name, place and tab index
        {"picture band",
         &ConversionBanner,
         &SplashWnd::Canvas1Record,
         {{"LockLeft ", "TabIndex "}, {"TabPanelIndex ", ""}}},
    };
    for (const RecordPair& pair : pairs) {
        String conversion = pair.conversion(), splash = pair.splash();
        EXPECT_NE(conversion.View(), splash.View()) << pair.what;
        for (const SharedSpan& span : pair.shared)
            EXPECT_EQ(Span(conversion, span.from, span.to), Span(splash, span.from, span.to))
                << pair.what << ": " << span.from;
    }
}

class ControlTableTest : public testing::Test {
  protected:
    void SetUp() override { ToolkitResetForTesting(); }
    void TearDown() override { ToolkitResetForTesting(); }
};

TEST_F(ControlTableTest, ARecordThatFailsStopsTheTableThereAndLeavesTheControlsAdded) {
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
        try {
            CreateControls(window.get(), designs);
            ADD_FAILURE() << "the unknown key raised nothing";
        } catch (const RaisedException& raised) {
            EXPECT_TRUE(RuntimeObjectIsa(raised.ExceptionObject().get(),
                                         UnsupportedFormatException::dunder_Lookup()));
        }
        auto byName = [&](const char* name) {
            return RuntimeCallSlot<Ref<Object>, String>(window.get(), Window::kControlByNameSlot,
                                                        String(name));
        };
        Ref<Object> first = byName("First");
        ASSERT_TRUE(first);
        QLabel* shown = ToolkitWindowWidget(window.get())->findChild<QLabel*>("First");
        ASSERT_NE(shown, nullptr);
        EXPECT_EQ(shown->text(), "text") << "its record was applied";
        EXPECT_TRUE(byName("Failing")) << "added before its record was applied";
        EXPECT_FALSE(byName("Never"));
        RuntimeCloseWindow(window.get());
    }
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(RuntimeLiveObjectCount(), before) << "nothing of the broken build is left";
}

}  // namespace
