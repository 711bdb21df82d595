// The windows as built: their design records, the conversion window's controls, frame, help
// text, pictures and menu-item accessors, and the control table stopping at a failing record.
#include <QLabel>
#include <QTextEdit>
#include <string_view>

#include "conversion/main_wnd_design.h"
#include "conversion_fixture.h"
#include "shell/credits.h"
#include "shell/menu.h"
#include "shell/pictures.h"
#include "shell/window_design/records.h"
#include "splash/splash_wnd.h"

namespace conversion_test {
namespace {

// The help text as the "?" button shows it: 321 bytes of UTF-8.
constexpr std::string_view kHelp =
    "The Fisher Z-Transformation is a way to transform the sampling distribution of Pearson’s r "
    "(i.e. the correlation coefficient) so that it becomes normally distributed. The formula to "
    "transform r to a z-score is: z’ = .5[ln(1+r) – ln(1-r)]. The formula to transform a Fisher "
    "z to an r is: (exp(2*z')-1 / exp(2*z')+1).";

TEST(WindowDesignRecords, HaveTheirByteLengths) {
    auto main = MainWnd::ControlDesigns();
    auto splash = SplashWnd::ControlDesigns();
    const size_t credit = kCreditLine.size();
    // clang-format off
    const std::tuple<const char*, String, size_t> records[] = {
        {"MainWnd", MainWnd::WindowRecord(), 374},     {"rEdit", main[0].record, 548},
        {"Canvas2", main[1].record, 322},              {"StaticText1", main[2].record, 425 + credit},
        {"CalcBtn", main[3].record, 384},              {"ClearBtn", main[4].record, 381},
        {"zEdit", main[5].record, 566},                {"Label1", main[6].record, 421},
        {"Label2", main[7].record, 421},               {"Canvas1", main[8].record, 308},
        {"describeTxt", main[9].record, 984},          {"qBtn", main[10].record, 373},
        {"SplashWnd", SplashWnd::WindowRecord(), 367}, {"StaticText2", splash[0].record, 425 + credit},
        {"Canvas1", splash[1].record, 322},            {"Timer1", splash[2].record, 31},
    };
    // clang-format on
    for (const auto& [name, record, bytes] : records) EXPECT_EQ(record.Size(), bytes) << name;
    std::string_view help = main[9].record.View();
    EXPECT_EQ(help.substr(help.find("Value ") + 6, 4 + 321),
              std::string("\x41\x01\x00\x00", 4) + std::string(kHelp));
}

using ConversionLayout = ConversionWindowTest;

TEST_F(ConversionLayout, HoldsTheElevenControlsReachedByTheirAccessors) {
    // In creation order, which is also the order of their accessors' slots.
    // clang-format off
    const std::pair<const char*, ClassRecord* (*)()> controls[] = {
        {"rEdit", &TextField::dunder_Lookup},  {"Canvas2", &Canvas::dunder_Lookup},
        {"StaticText1", &Label::dunder_Lookup}, {"CalcBtn", &PushButton::dunder_Lookup},
        {"ClearBtn", &PushButton::dunder_Lookup}, {"zEdit", &TextField::dunder_Lookup},
        {"Label1", &Label::dunder_Lookup},     {"Label2", &Label::dunder_Lookup},
        {"Canvas1", &Canvas::dunder_Lookup},   {"describeTxt", &TextArea::dunder_Lookup},
        {"qBtn", &PushButton::dunder_Lookup}};
    // clang-format on
    uint32_t slot = W::kREditSlot;
    for (const auto& [name, cls] : controls) {
        Ref<Object> control = ControlOf(window(), name);
        ASSERT_TRUE(control) << name;
        EXPECT_EQ(control->cls, cls()) << name;
        EXPECT_NE(QtControl(window(), name), nullptr) << name;
        const int32_t held = control->refcount;
        EXPECT_EQ(Accessor(slot++).get(), control.get()) << name;
        EXPECT_EQ(control->refcount, held) << name << ": the accessor's reference is the caller's";
    }
    EXPECT_EQ(ToolkitWindowWidget(window())
                  ->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)
                  .size(),
              11);
    // The canvases show their pictures.
    EXPECT_EQ(canvasBackdropGetter(ControlOf(window(), "Canvas2").get(), 0).get(),
              under_x_corvane::corvane().get());
    EXPECT_EQ(canvasBackdropGetter(ControlOf(window(), "Canvas1").get(), 0).get(),
              under_x_Checks::Checks().get());
    EXPECT_TRUE(under_x_Checks::Checks() && under_x_corvane::corvane());
}

TEST_F(ConversionLayout, FixedCorvaneWindowWithTheSharedMenuBarAndTheHiddenHelpText) {
    EXPECT_EQ(ToolkitWindowWidget(window())->size(), QSize(450, 300));
    EXPECT_EQ(Top()->windowTitle(), "Corvane");
    EXPECT_TRUE(Top()->isVisible());
    EXPECT_EQ(Top()->minimumSize(), Top()->maximumSize()) << "not resizable";
    EXPECT_EQ(Top()->windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint |
                                      Qt::WindowMaximizeButtonHint),
              Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint);
    EXPECT_EQ(WindowMenuBarGetter(window(), 0).get(), ::Menu::Menu().get());

    auto* help = QtControl<QTextEdit>(window(), "describeTxt");
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isHidden());
    EXPECT_TRUE(help->isReadOnly());
    EXPECT_EQ(help->toPlainText().toStdString(), kHelp) << "315 characters";
}

TEST_F(ConversionLayout, MenuItemAccessorsFindItemsAtAnyDepthAndRaiseWithoutABar) {
    // In the order of their accessors' slots: top-level menus last to first, each followed by
    // its items last to first.
    // clang-format off
    const std::pair<const char*, ClassRecord* (*)()> items[] = {
        {"UntitledMenu3", &MenuItem::dunder_Lookup}, {"UntitledMenu0", &MenuItem::dunder_Lookup},
        {"UntitledMenu4", &AppleMenuItem::dunder_Lookup}, {"About", &AppleMenuItem::dunder_Lookup},
        {"UntitledMenu5", &MenuItem::dunder_Lookup}, {"EditClear", &MenuItem::dunder_Lookup},
        {"EditPaste", &MenuItem::dunder_Lookup},     {"EditCopy", &MenuItem::dunder_Lookup},
        {"EditCut", &MenuItem::dunder_Lookup},       {"UntitledMenu1", &MenuItem::dunder_Lookup},
        {"EditUndo", &MenuItem::dunder_Lookup},      {"UntitledMenu2", &MenuItem::dunder_Lookup},
        {"UntitledMenu6", &MenuItem::dunder_Lookup}, {"FileQuit", &QuitMenuItem::dunder_Lookup},
        {"Apple", &MenuItem::dunder_Lookup}};
    // clang-format on
    for (uint32_t slot = W::kUntitledMenu3Slot; const auto& [name, cls] : items) {
        Ref<Object> item = Accessor(slot++);
        ASSERT_TRUE(item) << name;
        EXPECT_EQ(RuntimeMenuItemNameGetter(item.get(), 0).Std(), name);
        EXPECT_EQ(item->cls, cls()) << name;
    }
    Ref<Object> bar = WindowMenuBarGetter(window(), 0);
    WindowMenuBarSetter(window(), 0, nullptr);
    for (uint32_t slot = W::kUntitledMenu3Slot; const auto& [name, cls] : items) {
        try {
            Accessor(slot++);
            ADD_FAILURE() << name << " raised nothing";
        } catch (const RaisedException& raised) {
            EXPECT_EQ(raised.ExceptionObject()->cls, NilObjectException::dunder_Lookup()) << name;
        }
    }
    EXPECT_TRUE(Accessor(W::kQBtnSlot)) << "control accessors need no bar";
    WindowMenuBarSetter(window(), 0, bar.get());
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
