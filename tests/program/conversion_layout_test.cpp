// The conversion window as built: its design records, its eleven controls with their
// pictures and bindings, its frame and menu bar, and its accessors by name.
#include <QTextEdit>
#include <QPlainTextEdit>

#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "conversion/help_text.h"
#include "conversion/main_wnd_design.h"
#include "conversion_fixture.h"
#include "shell/credits.h"
#include "shell/menu.h"
#include "shell/pictures.h"

namespace conversion_test {
namespace {

std::vector<std::string> Words(const char* text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string word; in >> word;) words.push_back(word);
    return words;
}

// The keys of `record`, decoded by the property types that `cls` declares; fails when a key
// names no property or the last value does not end exactly at the record's end.
std::vector<std::string> DecodeKeys(const String& record, ClassRecord* cls) {
    std::string_view bytes = record.View();
    std::vector<std::string> keys;
    size_t at = 0;
    while (at < bytes.size()) {
        size_t blank = bytes.find(' ', at);
        if (blank == std::string_view::npos) {
            ADD_FAILURE() << "record ends inside a key at " << at;
            break;
        }
        std::string key(bytes.substr(at, blank - at));
        const PropertyEntry* entry = RuntimeFindProperty(cls, key);
        if (!entry) {
            ADD_FAILURE() << cls->name << " has no property " << key;
            break;
        }
        at = blank + 1;
        const char type = entry->typeText[0];
        const std::string typeText = entry->typeText;
        if (type == 'b') {
            at += 1;
        } else if (typeText.rfind("u1", 0) == 0) {
            at += 1;
        } else if (type == 'i' || typeText == "f8") {
            at += 8;
        } else if (typeText == "f4" || type == 'c') {
            at += 4;
        } else if (type == 's') {
            uint32_t length = 0;
            std::memcpy(&length, bytes.data() + at, 4);
            at += 4 + length;
        } else {
            ADD_FAILURE() << "unexpected type " << typeText << " of " << key;
            break;
        }
        keys.push_back(key);
    }
    EXPECT_EQ(at, bytes.size()) << "the last value does not end at the record's end";
    return keys;
}

const char* const kHead =
    "Name Index Left Top Width Height LockLeft LockTop LockRight LockBottom TabIndex "
    "TabPanelIndex TabStop AllowAutoDeactivate ";
const char* const kTextFieldKeys =
    "BackgroundColor HasBorder Enabled Format Tooltip Password TextColor Transparent "
    "AllowFocusRing Visible FontName FontSize FontUnit Bold Italic Underline Hint Value "
    "AllowTabs TextAlignment AllowSpellChecking MaximumCharactersAllowed ValidationMask "
    "ReadOnly DataSource DataField";
const char* const kLabelKeys =
    "Enabled Tooltip Multiline Selectable TextAlignment TextColor Transparent Value Visible "
    "Bold Italic FontName Underline FontSize FontUnit DataSource DataField InitialParent";
const char* const kButtonKeys =
    "MacButtonStyle Cancel Caption Default Enabled Tooltip Transparent Visible FontName "
    "FontSize FontUnit Bold Italic Underline InitialParent";
const char* const kCanvasKeys =
    "Enabled Tooltip AllowFocusRing Visible AllowFocus AllowTabs Transparent";
const char* const kTextAreaKeys =
    "BackgroundColor HasBorder Enabled Format Tooltip HideSelection LineHeight LineSpacing "
    "Multiline HasHorizontalScrollbar HasVerticalScrollbar AllowStyledText TextColor "
    "Transparent AllowFocusRing Visible Bold Italic FontName FontSize FontUnit Underline Value "
    "AllowTabs TextAlignment AllowSpellChecking MaximumCharactersAllowed ValidationMask "
    "ReadOnly DataSource DataField";

struct ControlExpectation {
    const char* name;
    ClassRecord* (*cls)();
    size_t bytes;
    std::string keys;
};

std::vector<ControlExpectation> Expectations() {
    const std::string head = kHead;
    const std::string credit = std::string(kCreditLine);
    return {
        {"rEdit", &TextField::dunder_Lookup, 548, head + kTextFieldKeys},
        {"Canvas2", &Canvas::dunder_Lookup, 322,
         head + kCanvasKeys + " DoubleBuffer Transparent InitialParent"},
        {"StaticText1", &Label::dunder_Lookup, 425 + credit.size(), head + kLabelKeys},
        {"CalcBtn", &PushButton::dunder_Lookup, 384, head + kButtonKeys},
        {"ClearBtn", &PushButton::dunder_Lookup, 381, head + kButtonKeys},
        {"zEdit", &TextField::dunder_Lookup, 566, head + kTextFieldKeys + " InitialParent"},
        {"Label1", &Label::dunder_Lookup, 421, head + kLabelKeys},
        {"Label2", &Label::dunder_Lookup, 421, head + kLabelKeys},
        {"Canvas1", &Canvas::dunder_Lookup, 308, head + kCanvasKeys + " Transparent InitialParent"},
        {"describeTxt", &TextArea::dunder_Lookup, 984, head + kTextAreaKeys},
        {"qBtn", &PushButton::dunder_Lookup, 373, head + kButtonKeys},
    };
}

TEST(ConversionDesign, WindowRecordHoldsTheWindowKeysInOrder) {
    const String& record = MainWnd::WindowRecord();
    EXPECT_EQ(record.Size(), 367u + std::strlen("Corvane"));
    EXPECT_EQ(DecodeKeys(record, W::dunder_Lookup()),
              Words("Width Height MinimumWidth MinimumHeight MaximumWidth MaximumHeight Type "
                    "Title HasCloseButton HasMaximizeButton HasMinimizeButton "
                    "HasFullScreenButton Resizeable Composite MacProcID FullScreen "
                    "DefaultLocation Visible HasBackgroundColor BackgroundColor MenuBarVisible "
                    "LiveResize"));
}

TEST(ConversionDesign, ControlRecordsHaveTheirLengthsAndKeyOrder) {
    auto designs = MainWnd::ControlDesigns();
    auto expected = Expectations();
    ASSERT_EQ(designs.size(), expected.size());
    for (size_t i = 0; i < designs.size(); ++i) {
        SCOPED_TRACE(expected[i].name);
        EXPECT_STREQ(designs[i].name, expected[i].name);
        EXPECT_EQ(designs[i].cls(), expected[i].cls());
        EXPECT_EQ(designs[i].record.Size(), expected[i].bytes);
        EXPECT_EQ(DecodeKeys(designs[i].record, designs[i].cls()), Words(expected[i].keys.c_str()));
    }
}

TEST(ConversionDesign, HelpTextIsStoredWithItsFourByteLength) {
    const String& record = MainWnd::ControlDesigns()[9].record;
    std::string_view bytes = record.View();
    const std::string valueKey = "Value ";
    size_t at = bytes.find(valueKey);
    ASSERT_NE(at, std::string_view::npos);
    at += valueKey.size();
    EXPECT_EQ(bytes.substr(at, 4), std::string_view("\x41\x01\x00\x00", 4));
    EXPECT_EQ(bytes.substr(at + 4, 321), MainWnd::kHelpText);
}

using ConversionLayout = ConversionWindowTest;

TEST_F(ConversionLayout, WindowHoldsTheElevenControlsByName) {
    for (const ControlExpectation& e : Expectations()) {
        Ref<Object> control = ControlOf(window(), e.name);
        ASSERT_TRUE(control) << e.name;
        EXPECT_EQ(control->cls, e.cls()) << e.name;
        EXPECT_EQ(ControlNameGetter(control.get(), 0).Std(), e.name);
        EXPECT_NE(WidgetOf(window(), e.name), nullptr) << e.name;
    }
    // Nothing else: eleven design controls and no other child control object.
    EXPECT_FALSE(ControlOf(window(), "Timer1"));
    EXPECT_FALSE(ControlOf(window(), "StaticText2"));
}

TEST_F(ConversionLayout, FrameIsAFixedCorvaneWindowWithCloseAndMinimize) {
    EXPECT_EQ(IntegerProperty(window(), "Width"), 450);
    EXPECT_EQ(IntegerProperty(window(), "Height"), 300);
    QWidget* top = ToolkitWindowWidget(window());
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(top->windowTitle(), QString("Corvane"));
    EXPECT_TRUE(top->isVisible());
    EXPECT_EQ(top->minimumSize(), top->maximumSize()) << "the window must not be resizable";
    const Qt::WindowFlags flags = top->windowFlags();
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowFullscreenButtonHint);
    // The content holds the controls at their design places.
    QWidget* calc = WidgetOf(window(), "ClearBtn");
    ASSERT_NE(calc, nullptr);
    EXPECT_EQ(calc->geometry(), QRect(340, 240, 90, 40));
}

TEST_F(ConversionLayout, CarriesTheSharedMenuBar) {
    Ref<Object> bar = WindowMenuBarGetter(window(), 0);
    Ref<Object> shared = ::Menu::Menu();
    ASSERT_TRUE(bar);
    EXPECT_EQ(bar.get(), shared.get());
}

TEST_F(ConversionLayout, HelpTextStartsHiddenReadOnlyAndByteForByte) {
    Ref<Object> help = Accessor(W::kDescribeTxtSlot);
    ASSERT_TRUE(help);
    EXPECT_FALSE(ControlVisibleGetter(help.get(), 0));
    EXPECT_EQ(editTextGetter(help.get(), 0).View(), MainWnd::kHelpText);
    QWidget* widget = WidgetOf(window(), "describeTxt");
    ASSERT_NE(widget, nullptr);
    EXPECT_TRUE(widget->isHidden());
    auto* edit = qobject_cast<QTextEdit*>(widget);
    if (!edit) edit = widget->findChild<QTextEdit*>();
    auto* plain = qobject_cast<QPlainTextEdit*>(widget);
    if (!plain) plain = widget->findChild<QPlainTextEdit*>();
    ASSERT_TRUE(edit || plain);
    QString shown = edit ? edit->toPlainText() : plain->toPlainText();
    EXPECT_EQ(shown.toUtf8().toStdString(), std::string(MainWnd::kHelpText));
    EXPECT_EQ(shown.size(), 315);
    EXPECT_TRUE(edit ? edit->isReadOnly() : plain->isReadOnly());
}

TEST_F(ConversionLayout, CanvasesShowTheirPictures) {
    for (const auto& [name, picture] :
         {std::pair{"Canvas2", &_x_corvane::corvane}, std::pair{"Canvas1", &_x_Checks::Checks}}) {
        Ref<Object> canvas = ControlOf(window(), name);
        ASSERT_TRUE(canvas);
        Ref<Object> backdrop = canvasBackdropGetter(canvas.get(), 0);
        Ref<Object> expected = picture();
        ASSERT_TRUE(expected) << "picture of " << name << " did not load";
        EXPECT_EQ(backdrop.get(), expected.get()) << name;
    }
}

TEST_F(ConversionLayout, SixBindingsCallTheWindowsHandlers) {
    struct Bound {
        const char* control;
        uint32_t event;
        uint32_t slot;
        const char* signature;
    };
    const Bound bound[] = {
        {"rEdit", 9, W::kREditKeyDownSlot, "( TextField, String ) as Boolean"},
        {"CalcBtn", 15, W::kCalcBtnActionSlot, "( PushButton )"},
        {"ClearBtn", 15, W::kClearBtnActionSlot, "( PushButton )"},
        {"zEdit", 9, W::kZEditKeyDownSlot, "( TextField, String ) as Boolean"},
        {"qBtn", 15, W::kQBtnActionSlot, "( PushButton )"},
        {"qBtn", 18, W::kQBtnMouseDownSlot, "( PushButton, Integer, Integer ) as Boolean"},
    };
    for (const Bound& b : bound) {
        SCOPED_TRACE(b.control);
        Ref<Object> control = ControlOf(window(), b.control);
        const EventBinding* binding = RuntimeFindEventHandler(control.get(), b.event);
        ASSERT_NE(binding, nullptr);
        EXPECT_EQ(RuntimeDelegateFunction(binding->delegate.get()), window()->vtable[b.slot]);
        EXPECT_STREQ(RuntimeDelegateSignature(binding->delegate.get()), b.signature);
        EXPECT_EQ(RuntimeDelegateTarget(binding->delegate.get()).get(), window());
    }
    for (const char* unbound : {"Canvas2", "StaticText1", "Label1", "Label2", "Canvas1", "describeTxt"}) {
        Ref<Object> control = ControlOf(window(), unbound);
        for (uint32_t event = 0; event < 15; ++event)
            EXPECT_EQ(RuntimeFindEventHandler(control.get(), event), nullptr) << unbound;
    }
}

TEST_F(ConversionLayout, ControlAccessorsReturnTheirControlsAsOwnReferences) {
    struct Accessed {
        uint32_t slot;
        const char* name;
    };
    const Accessed accessed[] = {
        {W::kREditSlot, "rEdit"},       {W::kCanvas2Slot, "Canvas2"}, {W::kStaticText1Slot, "StaticText1"},
        {W::kCalcBtnSlot, "CalcBtn"},   {W::kClearBtnSlot, "ClearBtn"}, {W::kZEditSlot, "zEdit"},
        {W::kLabel1Slot, "Label1"},     {W::kLabel2Slot, "Label2"},   {W::kCanvas1Slot, "Canvas1"},
        {W::kDescribeTxtSlot, "describeTxt"}, {W::kQBtnSlot, "qBtn"},
    };
    for (const Accessed& a : accessed) {
        Ref<Object> byName = ControlOf(window(), a.name);
        const int32_t held = byName->refcount;
        {
            Ref<Object> first = Accessor(a.slot);
            Ref<Object> second = Accessor(a.slot);
            EXPECT_EQ(first.get(), byName.get()) << a.name;
            EXPECT_EQ(second.get(), byName.get()) << a.name;
            EXPECT_EQ(byName->refcount, held + 2) << a.name;
        }
        EXPECT_EQ(byName->refcount, held) << a.name;
    }
}

// The fifteen menu-item accessors with the name they look up and the class they check.
struct MenuAccessor {
    uint32_t slot;
    const char* name;
    ClassRecord* (*cls)();
};
const MenuAccessor kMenuAccessors[] = {
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
    for (const MenuAccessor& m : kMenuAccessors) {
        Ref<Object> item = Accessor(m.slot);
        ASSERT_TRUE(item) << m.name;
        EXPECT_EQ(RuntimeMenuItemNameGetter(item.get(), 0).Std(), m.name);
        EXPECT_EQ(item->cls, m.cls()) << m.name;
    }
    Ref<Object> about = Accessor(W::kAboutSlot);
    EXPECT_EQ(RuntimeMenuItemTextGetter(about.get(), 0).Std(), "About Corvane");
}

bool RaisesNilObject(Object* window, uint32_t slot) {
    try {
        Ref<Object> result = RuntimeCallSlot<Ref<Object>>(window, slot);
    } catch (const RaisedException& raised) {
        return RuntimeObjectIsa(raised.ExceptionObject().get(), NilObjectException::dunder_Lookup());
    }
    return false;
}

TEST_F(ConversionLayout, WithoutAMenuBarMenuAccessorsRaiseAndControlAccessorsStillWork) {
    Ref<Object> bar = WindowMenuBarGetter(window(), 0);
    WindowMenuBarSetter(window(), 0, nullptr);
    for (const MenuAccessor& m : kMenuAccessors)
        EXPECT_TRUE(RaisesNilObject(window(), m.slot)) << m.name;
    for (uint32_t slot = W::kREditSlot; slot <= W::kQBtnSlot; ++slot)
        EXPECT_TRUE(Accessor(slot)) << "control accessor in slot " << slot;
    WindowMenuBarSetter(window(), 0, bar.get());
    EXPECT_TRUE(Accessor(W::kAboutSlot));
}

}  // namespace
}  // namespace conversion_test
