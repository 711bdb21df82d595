// The conversion window as built: design records, controls, pictures, bindings, frame, menu
// bar and the accessors by name.
#include <QTextEdit>

#include "conversion/help_text.h"
#include "conversion/main_wnd_design.h"
#include "conversion_fixture.h"
#include "shell/credits.h"
#include "shell/menu.h"
#include "shell/pictures.h"

namespace conversion_test {
namespace {

struct ControlRow {
    const char* name;
    ClassRecord* (*cls)();
    size_t recordBytes;
    uint32_t accessorSlot;
};
const ControlRow kControls[] = {
    {"rEdit", &TextField::dunder_Lookup, 548, W::kREditSlot},
    {"Canvas2", &Canvas::dunder_Lookup, 322, W::kCanvas2Slot},
    {"StaticText1", &Label::dunder_Lookup, 425 + kCreditLine.size(), W::kStaticText1Slot},
    {"CalcBtn", &PushButton::dunder_Lookup, 384, W::kCalcBtnSlot},
    {"ClearBtn", &PushButton::dunder_Lookup, 381, W::kClearBtnSlot},
    {"zEdit", &TextField::dunder_Lookup, 566, W::kZEditSlot},
    {"Label1", &Label::dunder_Lookup, 421, W::kLabel1Slot},
    {"Label2", &Label::dunder_Lookup, 421, W::kLabel2Slot},
    {"Canvas1", &Canvas::dunder_Lookup, 308, W::kCanvas1Slot},
    {"describeTxt", &TextArea::dunder_Lookup, 984, W::kDescribeTxtSlot},
    {"qBtn", &PushButton::dunder_Lookup, 373, W::kQBtnSlot},
};

TEST(ConversionDesign, RecordsHaveTheirByteLengths) {
    EXPECT_EQ(MainWnd::WindowRecord().Size(), 367u + 7u);  // + "Corvane"
    auto designs = MainWnd::ControlDesigns();
    ASSERT_EQ(designs.size(), std::size(kControls));
    for (size_t i = 0; i < designs.size(); ++i) {
        EXPECT_STREQ(designs[i].name, kControls[i].name);
        EXPECT_EQ(designs[i].record.Size(), kControls[i].recordBytes) << kControls[i].name;
    }
    std::string_view help = designs[9].record.View();
    EXPECT_EQ(help.substr(help.find("Value ") + 6, 4 + 321),
              std::string("\x41\x01\x00\x00", 4) + std::string(MainWnd::kHelpText));
}

using ConversionLayout = ConversionWindowTest;

TEST_F(ConversionLayout, HoldsTheElevenControlsReachedByTheirAccessors) {
    for (const ControlRow& c : kControls) {
        Ref<Object> control = ControlOf(window(), c.name);
        ASSERT_TRUE(control) << c.name;
        EXPECT_EQ(control->cls, c.cls()) << c.name;
        EXPECT_NE(QtControl(window(), c.name), nullptr) << c.name;
        const int32_t held = control->refcount;
        {
            Ref<Object> first = Accessor(c.accessorSlot), second = Accessor(c.accessorSlot);
            EXPECT_TRUE(first.get() == control.get() && second.get() == control.get()) << c.name;
        }
        EXPECT_EQ(control->refcount, held) << "the accessor's references are the caller's";
    }
    EXPECT_EQ(ToolkitWindowWidget(window())
                  ->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)
                  .size(),
              11);
}

TEST_F(ConversionLayout, FixedCorvaneWindowWithCloseMinimizeAndTheSharedMenuBar) {
    QWidget* top = ToolkitWindowWidget(window())->window();
    EXPECT_EQ(ToolkitWindowWidget(window())->size(), QSize(450, 300));
    EXPECT_EQ(top->windowTitle(), "Corvane");
    EXPECT_TRUE(top->isVisible());
    EXPECT_EQ(top->minimumSize(), top->maximumSize());
    EXPECT_TRUE(top->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_TRUE(top->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(top->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(QtControl(window(), "ClearBtn")->geometry(), QRect(340, 240, 90, 40));
    EXPECT_EQ(WindowMenuBarGetter(window(), 0).get(), ::Menu::Menu().get());
}

TEST_F(ConversionLayout, HelpTextIsHiddenReadOnlyAndByteForByte) {
    EXPECT_FALSE(ControlVisibleGetter(Accessor(W::kDescribeTxtSlot).get(), 0));
    EXPECT_EQ(TextOf(W::kDescribeTxtSlot), MainWnd::kHelpText);
    auto* edit = QtControl<QTextEdit>(window(), "describeTxt");
    ASSERT_NE(edit, nullptr);
    EXPECT_TRUE(QtControl(window(), "describeTxt")->isHidden());
    EXPECT_TRUE(edit->isReadOnly());
    EXPECT_EQ(edit->toPlainText().toStdString(), MainWnd::kHelpText);
    EXPECT_EQ(edit->toPlainText().size(), 315);
}

TEST_F(ConversionLayout, CanvasesShowTheirPictures) {
    EXPECT_EQ(canvasBackdropGetter(ControlOf(window(), "Canvas2").get(), 0).get(),
              _x_corvane::corvane().get());
    EXPECT_EQ(canvasBackdropGetter(ControlOf(window(), "Canvas1").get(), 0).get(),
              _x_Checks::Checks().get());
    EXPECT_TRUE(_x_Checks::Checks());
}

TEST_F(ConversionLayout, SixBindingsCallTheWindowsHandlers) {
    const std::tuple<const char*, uint32_t, uint32_t, const char*> bound[] = {
        {"rEdit", 9, W::kREditKeyDownSlot, "( TextField, String ) as Boolean"},
        {"CalcBtn", 15, W::kCalcBtnActionSlot, "( PushButton )"},
        {"ClearBtn", 15, W::kClearBtnActionSlot, "( PushButton )"},
        {"zEdit", 9, W::kZEditKeyDownSlot, "( TextField, String ) as Boolean"},
        {"qBtn", 15, W::kQBtnActionSlot, "( PushButton )"},
        {"qBtn", 18, W::kQBtnMouseDownSlot, "( PushButton, Integer, Integer ) as Boolean"},
    };
    for (const auto& [name, event, slot, signature] : bound) {
        const EventBinding* binding =
            RuntimeFindEventHandler(ControlOf(window(), name).get(), event);
        ASSERT_NE(binding, nullptr) << name;
        EXPECT_EQ(RuntimeDelegateFunction(binding->delegate.get()), window()->vtable[slot]);
        EXPECT_STREQ(RuntimeDelegateSignature(binding->delegate.get()), signature);
        EXPECT_EQ(RuntimeDelegateTarget(binding->delegate.get()).get(), window());
    }
}

const std::tuple<uint32_t, const char*, ClassRecord* (*)()> kMenuItems[] = {
    {W::kUntitledMenu3Slot, "UntitledMenu3", &MenuItem::dunder_Lookup},
    {W::kUntitledMenu0Slot, "UntitledMenu0", &MenuItem::dunder_Lookup},
    {W::kUntitledMenu4Slot, "UntitledMenu4", &AppleMenuItem::dunder_Lookup},
    {W::kAboutSlot, "About", &AppleMenuItem::dunder_Lookup},
    {W::kUntitledMenu5Slot, "UntitledMenu5", &MenuItem::dunder_Lookup},
    {W::kEditClearSlot, "EditClear", &MenuItem::dunder_Lookup},
    {W::kEditPasteSlot, "EditPaste", &MenuItem::dunder_Lookup},
    {W::kEditCopySlot, "EditCopy", &MenuItem::dunder_Lookup},
    {W::kEditCutSlot, "EditCut", &MenuItem::dunder_Lookup},
    {W::kUntitledMenu1Slot, "UntitledMenu1", &MenuItem::dunder_Lookup},
    {W::kEditUndoSlot, "EditUndo", &MenuItem::dunder_Lookup},
    {W::kUntitledMenu2Slot, "UntitledMenu2", &MenuItem::dunder_Lookup},
    {W::kUntitledMenu6Slot, "UntitledMenu6", &MenuItem::dunder_Lookup},
    {W::kFileQuitSlot, "FileQuit", &QuitMenuItem::dunder_Lookup},
    {W::kAppleSlot, "Apple", &MenuItem::dunder_Lookup},
};

TEST_F(ConversionLayout, MenuItemAccessorsFindItemsAtAnyDepthWithTheirClasses) {
    for (const auto& [slot, name, cls] : kMenuItems) {
        Ref<Object> item = Accessor(slot);
        ASSERT_TRUE(item) << name;
        EXPECT_EQ(RuntimeMenuItemNameGetter(item.get(), 0).Std(), name);
        EXPECT_EQ(item->cls, cls()) << name;
    }
}

TEST_F(ConversionLayout, WithoutAMenuBarMenuAccessorsRaiseButControlAccessorsWork) {
    Ref<Object> bar = WindowMenuBarGetter(window(), 0);
    WindowMenuBarSetter(window(), 0, nullptr);
    for (const auto& [slot, name, cls] : kMenuItems) {
        try {
            Accessor(slot);
            ADD_FAILURE() << name << " raised nothing";
        } catch (const RaisedException& raised) {
            EXPECT_TRUE(RuntimeObjectIsa(raised.ExceptionObject().get(),
                                         NilObjectException::dunder_Lookup()));
        }
    }
    for (const ControlRow& c : kControls) EXPECT_TRUE(Accessor(c.accessorSlot)) << c.name;
    WindowMenuBarSetter(window(), 0, bar.get());
}

}  // namespace
}  // namespace conversion_test
