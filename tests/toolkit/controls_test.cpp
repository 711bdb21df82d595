// Controls in a real window: their class records, what their design records make the
// widgets show, the edge locks and the focus order, and the events that reach the program.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <functional>
#include <string>
#include <vector>

#include "framework/toolkit/toolkit.h"
#include "framework/toolkit/toolkit_internal.h"
#include "tests/toolkit/raised.h"

namespace {

// ---- a window class whose CreateControls runs what the test asks -------------------------

std::function<void(Object* window)> gCreateControls;

void CreateControls(Object* window) {
    if (gCreateControls) gCreateControls(window);
}

constexpr uint32_t kCreateControlsSlot = Window::kSlotCount;

void TestWindowInit();
ClassCell gTestWindow{nullptr, &TestWindowInit};

void TestWindowInit() {
    static const MethodRow methods[] = {
        Method("CreateControls", kPublicVirtual, "%%", &CreateControls, kCreateControlsSlot),
    };
    static const HandlerRow handlers[] = {{Window::kCreateControls, kCreateControlsSlot}};
    static const ClassSpec spec{.name = "Test.ControlsWindow",
                                .superclass = &Window::dunder_Lookup,
                                .methodCount = Window::kMethodCount + 1,
                                .interfaceCount = 0,
                                .eventCount = Window::kEventCount,
                                .propertyCount = Window::kPropertyCount,
                                .instanceDataSize = Window::kInstanceDataSize,
                                .slotCount = Window::kSlotCount + 1,
                                .methods = methods,
                                .handlers = handlers};
    RuntimeBuildClass(gTestWindow, spec);
}

// Creates, constructs and adds one control the way a window's CreateControls does, then
// applies its record to the control as the window returns it by name.
Ref<Object> AddControl(Object* window, ClassRecord* cls, const char* name,
                       std::span<const RecordEntry> record) {
    Ref<Object> made = WindowAllocateObject(window, cls);
    RectControlDefaultConstructor(made.get());
    WindowAddControl(window, name, made.get());
    made.Reset();
    Ref<Object> control = RuntimeControlReference(window, name);
    RuntimeMassPropertySetter(control.get(), EncodePropertyRecord(record));
    return control;
}

// ---- handlers the tests bind ------------------------------------------------------------

struct EventLog {
    std::vector<std::string> entries;
    bool answer = false;  // what a Boolean handler returns
};
EventLog gLog;

bool KeyDownHandler(Object*, Object*, String key) {
    gLog.entries.push_back("KeyDown " + key.Std());
    return gLog.answer;
}
void ActionHandler(Object*, Object*) {
    gLog.entries.push_back("Action");
}
bool MouseDownHandler(Object*, Object*, int64_t x, int64_t y) {
    gLog.entries.push_back("MouseDown " + std::to_string(x) + "," + std::to_string(y));
    return gLog.answer;
}

void BindKeyDown(Object* control, Object* window) {
    Ref<Object> delegate = RuntimeCreateDelegate(
        DelegateInvocation<bool, Object*, String>(), AsGenericFn(&KeyDownHandler), window,
        "( TextField, String ) as Boolean", kDelegateWeakTarget);
    RuntimeAddEventHandler(control, RectControl::kKeyDownEvent,
                           EventDispatchRoutine<bool, String>(), delegate.get());
}

void BindButton(Object* button, Object* window) {
    Ref<Object> action =
        RuntimeCreateDelegate(DelegateInvocation<void, Object*>(), AsGenericFn(&ActionHandler),
                              window, "( PushButton )", kDelegateWeakTarget);
    RuntimeAddEventHandler(button, PushButton::kActionEvent, EventDispatchRoutine<void>(),
                           action.get());
    Ref<Object> mouseDown = RuntimeCreateDelegate(
        DelegateInvocation<bool, Object*, int64_t, int64_t>(), AsGenericFn(&MouseDownHandler),
        window, "( PushButton, Integer, Integer ) as Boolean", kDelegateWeakTarget);
    RuntimeAddEventHandler(button, PushButton::kMouseDownEvent,
                           EventDispatchRoutine<bool, int64_t, int64_t>(), mouseDown.get());
}

// ---- records ------------------------------------------------------------------------------

// The head every control record starts with.
std::vector<RecordEntry> Head(std::string_view name, int64_t left, int64_t top, int64_t width,
                              int64_t height, int64_t tabIndex = 0) {
    return {{"Name", Str(name)},         {"Index", Int(-2147483648)},
            {"Left", Int(left)},         {"Top", Int(top)},
            {"Width", Int(width)},       {"Height", Int(height)},
            {"LockLeft", Bool(true)},    {"LockTop", Bool(true)},
            {"LockRight", Bool(false)},  {"LockBottom", Bool(false)},
            {"TabIndex", Int(tabIndex)}, {"TabPanelIndex", Int(0)},
            {"TabStop", Bool(true)},     {"AllowAutoDeactivate", Bool(true)}};
}

std::vector<RecordEntry> With(std::vector<RecordEntry> head,
                              std::initializer_list<RecordEntry> rest) {
    head.insert(head.end(), rest.begin(), rest.end());
    return head;
}

// A number field as the conversion window has it.
std::vector<RecordEntry> NumberField(std::string_view name, int64_t left, int64_t tabIndex) {
    return With(Head(name, left, 174, 80, 22, tabIndex),
                {{"BackgroundColor", Rgba(0xFF, 0xFF, 0xFF, 0)},
                 {"HasBorder", Bool(true)},
                 {"Enabled", Bool(true)},
                 {"Format", Str("")},
                 {"Tooltip", Str("")},
                 {"Password", Bool(false)},
                 {"TextColor", Rgba(0, 0, 0, 0)},
                 {"Transparent", Bool(true)},
                 {"AllowFocusRing", Bool(true)},
                 {"Visible", Bool(true)},
                 {"FontName", Str("System")},
                 {"FontSize", Sgl(12.0f)},
                 {"FontUnit", Byte(0)},
                 {"Bold", Bool(false)},
                 {"Italic", Bool(false)},
                 {"Underline", Bool(false)},
                 {"Hint", Str("")},
                 {"Value", Str("")},
                 {"AllowTabs", Bool(false)},
                 {"TextAlignment", Int(2)},
                 {"AllowSpellChecking", Bool(true)},
                 {"MaximumCharactersAllowed", Int(9)},
                 {"ValidationMask", Str("")},
                 {"ReadOnly", Bool(false)},
                 {"DataSource", Str("")},
                 {"DataField", Str("")}});
}

// ---- the fixture ------------------------------------------------------------------------------

class ControlsTest : public LeakCheckedTest {
  protected:
    void SetUp() override {
        LeakCheckedTest::SetUp();
        gLog = EventLog{};
        window_ = RuntimeNewObject(RuntimeLookupClass(gTestWindow));
        RuntimeCallSlot<void>(window_.get(), Window::kConstructorSlot);
        content_ = ToolkitWindowWidget(window_.get());
        ASSERT_NE(content_, nullptr);
        content_->window()->resize(500, 400);
        QApplication::setActiveWindow(content_->window());
        ASSERT_TRUE(QTest::qWaitForWindowExposed(content_->window()));
    }
    void TearDown() override {
        gCreateControls = nullptr;
        if (window_) RuntimeCloseWindow(window_.get());
        window_.Reset();
        LeakCheckedTest::TearDown();
    }

    Ref<Object> Add(ClassRecord* cls, const std::vector<RecordEntry>& record) {
        return AddControl(window_.get(), cls, std::string(record.front().value.text).c_str(),
                          record);
    }

    template <class W>
    W* WidgetNamed(const char* name) {
        auto* widget = content_->findChild<W*>(QString::fromUtf8(name), Qt::FindDirectChildrenOnly);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    Ref<Object> window_;
    QWidget* content_ = nullptr;
};

// ---- class records ------------------------------------------------------------------------

TEST_F(ControlsTest, EventsAreNumberedThroughTheClassChain) {
    struct Case {
        ClassRecord* cls;
        const char* event;
        int32_t index;
    };
    const Case cases[] = {
        {RectControl::dunder_Lookup(), "Open", 1},
        {RectControl::dunder_Lookup(), "KeyDown", 9},
        {TextField::dunder_Lookup(), "KeyDown", 9},
        {TextArea::dunder_Lookup(), "KeyDown", 9},
        {TextField::dunder_Lookup(), "TextChange", 18},
        {PushButton::dunder_Lookup(), "Action", 15},
        {PushButton::dunder_Lookup(), "MouseDown", 18},
        {Canvas::dunder_Lookup(), "MouseWheel", 14},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RuntimeFindEvent(c.cls, c.event), c.index) << c.cls->name << " " << c.event;
    EXPECT_EQ(Control::dunder_Lookup()->eventCount, 3u);
    EXPECT_EQ(RectControl::dunder_Lookup()->eventCount, 15u);
}

TEST_F(ControlsTest, EveryControlClassConstructsThroughRectControlsSlotSix) {
    for (ClassRecord* cls :
         {TextField::dunder_Lookup(), TextArea::dunder_Lookup(), Label::dunder_Lookup(),
          PushButton::dunder_Lookup(), Canvas::dunder_Lookup()}) {
        const MethodEntry* constructor = RuntimeMethodForSlot(cls, RectControl::kConstructorSlot);
        ASSERT_NE(constructor, nullptr) << cls->name;
        EXPECT_STREQ(constructor->name, "Constructor");
        EXPECT_STREQ(constructor->signature, "%%");
        EXPECT_EQ(cls->vtable[RectControl::kConstructorSlot],
                  AsGenericFn(&RectControlDefaultConstructor));
    }
}

// Every design key of a control record, with its declared type and declaring class, found
// from each class whose records hold it.
struct KeyRow {
    const char* key;
    const char* type;
    const char* declaredIn;  // "" when each class declares its own
    const char* classes;     // TF TA LB PB CV
};
constexpr KeyRow kKeyTable[] = {
    {"Name", "s", "Control", "TF TA LB PB CV"},
    {"Index", "i8", "Control", "TF TA LB PB CV"},
    {"Left", "i8", "RectControl", "TF TA LB PB CV"},
    {"Top", "i8", "RectControl", "TF TA LB PB CV"},
    {"Width", "i8", "RectControl", "TF TA LB PB CV"},
    {"Height", "i8", "RectControl", "TF TA LB PB CV"},
    {"LockLeft", "b", "RectControl", "TF TA LB PB CV"},
    {"LockTop", "b", "RectControl", "TF TA LB PB CV"},
    {"LockRight", "b", "RectControl", "TF TA LB PB CV"},
    {"LockBottom", "b", "RectControl", "TF TA LB PB CV"},
    {"TabIndex", "i8", "RectControl", "TF TA LB PB CV"},
    {"TabPanelIndex", "i8", "Control", "TF TA LB PB CV"},
    {"TabStop", "b", "RectControl", "TF TA LB PB CV"},
    {"AllowAutoDeactivate", "b", "RectControl", "TF TA LB PB CV"},
    {"Enabled", "b", "RectControl", "TF TA LB PB CV"},
    {"Tooltip", "s", "RectControl", "TF TA LB PB CV"},
    {"Transparent", "b", "RectControl", "TF TA LB PB CV"},
    {"Visible", "b", "RectControl", "TF TA LB PB CV"},
    {"InitialParent", "s", "RectControl", "TF LB PB CV"},
    {"BackgroundColor", "c", "", "TF TA"},
    {"HasBorder", "b", "", "TF TA"},
    {"Format", "s", "", "TF TA"},
    {"Password", "b", "", "TF"},
    {"TextColor", "c", "", "TF TA LB"},
    {"AllowFocusRing", "b", "", "TF TA CV"},
    {"FontName", "s", "", "TF TA LB PB"},
    {"FontSize", "f4", "", "TF TA LB PB"},
    {"FontUnit", "u1<FontUnits>", "", "TF TA LB PB"},
    {"Bold", "b", "", "TF TA LB PB"},
    {"Italic", "b", "", "TF TA LB PB"},
    {"Underline", "b", "", "TF TA LB PB"},
    {"Hint", "s", "", "TF"},
    {"Value", "s", "", "TF TA LB"},
    {"AllowTabs", "b", "", "TF TA CV"},
    {"TextAlignment", "i8<TextAlignments>", "", "TF TA LB"},
    {"AllowSpellChecking", "b", "TextEdit", "TF TA"},
    {"MaximumCharactersAllowed", "i8", "", "TF TA"},
    {"ValidationMask", "s", "", "TF TA"},
    {"ReadOnly", "b", "", "TF TA"},
    {"DataSource", "s", "", "TF TA LB"},
    {"DataField", "s", "", "TF TA LB"},
    {"HideSelection", "b", "", "TA"},
    {"LineHeight", "f8", "", "TA"},
    {"LineSpacing", "f8", "", "TA"},
    {"Multiline", "b", "", "TA LB"},
    {"HasHorizontalScrollbar", "b", "", "TA"},
    {"HasVerticalScrollbar", "b", "", "TA"},
    {"AllowStyledText", "b", "", "TA"},
    {"Selectable", "b", "", "LB"},
    {"MacButtonStyle", "i8<PushButton.MacButtonStyles>", "", "PB"},
    {"Cancel", "b", "", "PB"},
    {"Caption", "s", "", "PB"},
    {"Default", "b", "", "PB"},
    {"AllowFocus", "b", "", "CV"},
    {"DoubleBuffer", "b", "", "CV"},
};

TEST_F(ControlsTest, EveryRecordKeyNamesAPropertyOfItsDeclaredTypeAndClass) {
    const std::pair<const char*, ClassRecord*> classes[] = {
        {"TF", TextField::dunder_Lookup()}, {"TA", TextArea::dunder_Lookup()},
        {"LB", Label::dunder_Lookup()},     {"PB", PushButton::dunder_Lookup()},
        {"CV", Canvas::dunder_Lookup()},
    };
    for (const KeyRow& row : kKeyTable) {
        for (auto [code, cls] : classes) {
            if (std::string_view(row.classes).find(code) == std::string_view::npos) continue;
            const PropertyEntry* entry = RuntimeFindProperty(cls, row.key);
            ASSERT_NE(entry, nullptr) << cls->name << "." << row.key;
            EXPECT_STREQ(entry->typeText, row.type) << cls->name << "." << row.key;
            const char* declaring = *row.declaredIn ? row.declaredIn : cls->name;
            EXPECT_STREQ(entry->declaringClass->name, declaring) << cls->name << "." << row.key;
            EXPECT_NE(entry->boxedSetter, nullptr);
        }
    }
    // The records spell Multiline; the classes declare MultiLine.
    EXPECT_STREQ(RuntimeFindProperty(Label::dunder_Lookup(), "Multiline")->name, "MultiLine");
}

// ---- what the records make the widgets show ---------------------------------------------------

TEST_F(ControlsTest, NumberFieldRecordShowsItsGeometryFontColoursAndAlignment) {
    Ref<Object> field = Add(TextField::dunder_Lookup(), NumberField("rEdit", 20, 0));
    auto* edit = WidgetNamed<QLineEdit>("rEdit");
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->geometry(), QRect(20, 174, 80, 22));
    EXPECT_EQ(edit->font().family(), QApplication::font().family());
    EXPECT_EQ(edit->font().pixelSize(), 12);
    EXPECT_FALSE(edit->font().bold());
    EXPECT_EQ(edit->palette().color(QPalette::Active, QPalette::Base), QColor(255, 255, 255));
    EXPECT_EQ(edit->palette().color(QPalette::Active, QPalette::Text), QColor(0, 0, 0));
    EXPECT_EQ(edit->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_TRUE(edit->hasFrame());
    EXPECT_EQ(edit->echoMode(), QLineEdit::Normal);
    EXPECT_FALSE(edit->isReadOnly());
    EXPECT_TRUE(edit->isVisible());
    EXPECT_EQ(edit->focusPolicy(), Qt::StrongFocus);
    EXPECT_EQ(ControlNameGetter(field.get(), 0).Std(), "rEdit");
}

TEST_F(ControlsTest, FieldFlagsReachTheLineEdit) {
    Ref<Object> field = Add(TextField::dunder_Lookup(),
                            With(Head("secret", 10, 10, 120, 24), {{"Password", Bool(true)},
                                                                   {"ReadOnly", Bool(true)},
                                                                   {"HasBorder", Bool(false)},
                                                                   {"Hint", Str("PIN")},
                                                                   {"Tooltip", Str("Your PIN")},
                                                                   {"Enabled", Bool(false)},
                                                                   {"TextAlignment", Int(3)},
                                                                   {"Italic", Bool(true)},
                                                                   {"Underline", Bool(true)},
                                                                   {"TabStop", Bool(false)}}));
    auto* edit = WidgetNamed<QLineEdit>("secret");
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->echoMode(), QLineEdit::Password);
    EXPECT_TRUE(edit->isReadOnly());
    EXPECT_FALSE(edit->hasFrame());
    EXPECT_EQ(edit->placeholderText(), "PIN");
    EXPECT_EQ(edit->toolTip(), "Your PIN");
    EXPECT_FALSE(edit->isEnabled());
    EXPECT_EQ(edit->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    EXPECT_TRUE(edit->font().italic());
    EXPECT_TRUE(edit->font().underline());
    EXPECT_EQ(edit->focusPolicy(), Qt::ClickFocus);
}

TEST_F(ControlsTest, CreditLabelShowsItsColourSizeAndCentredText) {
    Ref<Object> label =
        Add(Label::dunder_Lookup(),
            With(Head("StaticText1", 20, 35, 410, 16), {{"Multiline", Bool(false)},
                                                        {"Selectable", Bool(false)},
                                                        {"TextAlignment", Int(2)},
                                                        {"TextColor", Rgba(0x00, 0x00, 0xC7, 0x00)},
                                                        {"Transparent", Bool(false)},
                                                        {"Value", Str("by A. Person")},
                                                        {"Bold", Bool(true)},
                                                        {"FontSize", Sgl(8.0f)}}));
    auto* text = WidgetNamed<QLabel>("StaticText1");
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->text(), "by A. Person");
    EXPECT_EQ(text->palette().color(QPalette::Active, QPalette::WindowText), QColor(0, 0, 0xC7));
    EXPECT_EQ(text->font().pixelSize(), 8);
    EXPECT_TRUE(text->font().bold());
    EXPECT_EQ(text->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_FALSE(text->wordWrap());
    EXPECT_EQ(text->textInteractionFlags(), Qt::NoTextInteraction);
    EXPECT_TRUE(text->autoFillBackground());  // not Transparent
    EXPECT_EQ(text->geometry(), QRect(20, 35, 410, 16));
}

TEST_F(ControlsTest, SelectableMultiLineLabelWrapsAndLetsTheUserSelect) {
    Ref<Object> label = Add(
        Label::dunder_Lookup(),
        With(Head("note", 0, 0, 100, 60), {{"Multiline", Bool(true)}, {"Selectable", Bool(true)}}));
    auto* text = WidgetNamed<QLabel>("note");
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(text->wordWrap());
    EXPECT_TRUE(text->textInteractionFlags() & Qt::TextSelectableByMouse);
    EXPECT_TRUE(text->alignment() & Qt::AlignTop);
}

const std::string kHelpText =
    "The Fisher Z-Transformation is a way to transform the sampling distribution of Pearson\u2019s "
    "r "
    "(i.e. the correlation coefficient) so that it becomes normally distributed. The formula to "
    "transform r to a z-score is: z\u2019 = .5[ln(1+r) \u2013 ln(1-r)]. The formula to transform a "
    "Fisher z to an r is: (exp(2*z')-1 / exp(2*z')+1).";

TEST_F(ControlsTest, HelpTextAreaIsHiddenReadOnlyBorderlessAndHoldsItsText) {
    Ref<Object> area =
        Add(TextArea::dunder_Lookup(), With(Head("describeTxt", 20, 63, 409, 73, 13),
                                            {{"BackgroundColor", Rgba(0xEE, 0xEE, 0xEE, 0)},
                                             {"HasBorder", Bool(false)},
                                             {"HideSelection", Bool(true)},
                                             {"LineHeight", Dbl(0.0)},
                                             {"LineSpacing", Dbl(1.0)},
                                             {"Multiline", Bool(true)},
                                             {"HasHorizontalScrollbar", Bool(false)},
                                             {"HasVerticalScrollbar", Bool(false)},
                                             {"AllowStyledText", Bool(false)},
                                             {"TextColor", Rgba(0, 0, 0, 0)},
                                             {"Visible", Bool(false)},
                                             {"FontSize", Sgl(11.0f)},
                                             {"Value", Str(kHelpText)},
                                             {"AllowTabs", Bool(false)},
                                             {"TextAlignment", Int(0)},
                                             {"MaximumCharactersAllowed", Int(0)},
                                             {"ReadOnly", Bool(true)}}));
    auto* edit = WidgetNamed<QTextEdit>("describeTxt");
    ASSERT_NE(edit, nullptr);
    EXPECT_FALSE(edit->isVisible());
    EXPECT_FALSE(ControlVisibleGetter(area.get(), 0));
    EXPECT_TRUE(edit->isReadOnly());
    EXPECT_EQ(edit->frameShape(), QFrame::NoFrame);
    EXPECT_EQ(edit->palette().color(QPalette::Active, QPalette::Base), QColor(0xEE, 0xEE, 0xEE));
    EXPECT_EQ(edit->toPlainText().toStdString(), kHelpText);
    EXPECT_EQ(editTextGetter(area.get(), 0).Std(), kHelpText);
    EXPECT_EQ(edit->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(edit->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(edit->lineWrapMode(), QTextEdit::WidgetWidth);
    EXPECT_FALSE(edit->acceptRichText());
    EXPECT_TRUE(edit->tabChangesFocus());
    EXPECT_EQ(edit->document()->defaultTextOption().alignment() & Qt::AlignHorizontal_Mask,
              Qt::AlignLeft);

    ControlVisibleSetter(area.get(), 0, true);
    EXPECT_TRUE(edit->isVisible());
    EXPECT_TRUE(ControlVisibleGetter(area.get(), 0));
}

TEST_F(ControlsTest, ButtonRecordShowsCaptionDefaultAndFont) {
    Ref<Object> button = Add(PushButton::dunder_Lookup(),
                             With(Head("qBtn", 180, 240, 90, 40, 14), {{"MacButtonStyle", Int(0)},
                                                                       {"Cancel", Bool(false)},
                                                                       {"Caption", Str("?")},
                                                                       {"Default", Bool(true)},
                                                                       {"FontSize", Sgl(16.0f)},
                                                                       {"Bold", Bool(true)},
                                                                       {"TabStop", Bool(false)}}));
    auto* push = WidgetNamed<QPushButton>("qBtn");
    ASSERT_NE(push, nullptr);
    EXPECT_EQ(push->text(), "?");
    EXPECT_TRUE(push->isDefault());
    EXPECT_TRUE(push->autoDefault());
    EXPECT_EQ(push->font().pixelSize(), 16);
    EXPECT_TRUE(push->font().bold());
    EXPECT_EQ(push->focusPolicy(), Qt::ClickFocus);
    EXPECT_EQ(push->geometry(), QRect(180, 240, 90, 40));
}

TEST_F(ControlsTest, SystemFontOfSizeZeroIsTheApplicationFont) {
    Ref<Object> label = Add(
        Label::dunder_Lookup(),
        With(Head("plain", 0, 0, 50, 20), {{"FontName", Str("System")}, {"FontSize", Sgl(0.0f)}}));
    auto* text = WidgetNamed<QLabel>("plain");
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->font().family(), QApplication::font().family());
    EXPECT_EQ(text->font().pointSizeF(), QApplication::font().pointSizeF());
}

// ---- MaximumCharactersAllowed ---------------------------------------------------------------

TEST_F(ControlsTest, FieldRefusesTheTenthTypedCharacterButKeepsALongerProgramText) {
    Ref<Object> field = Add(TextField::dunder_Lookup(), NumberField("rEdit", 20, 0));
    auto* edit = WidgetNamed<QLineEdit>("rEdit");
    ASSERT_NE(edit, nullptr);
    QTest::keyClicks(edit, "1234567890");
    EXPECT_EQ(editTextGetter(field.get(), 0).Std(), "123456789");

    editTextSetter(field.get(), 0, "-0.123456789");  // 12 characters, as Format may write
    EXPECT_EQ(edit->text(), "-0.123456789");
    EXPECT_EQ(editTextGetter(field.get(), 0).Std(), "-0.123456789");
    edit->end(false);
    QTest::keyClick(edit, '9');
    EXPECT_EQ(edit->text(), "-0.123456789");  // no longer than it was
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(editTextGetter(field.get(), 0).Std(), "-0.12345678");  // shortening is allowed
}

TEST_F(ControlsTest, AreaRefusesTypingBeyondItsLimit) {
    Ref<Object> area = Add(TextArea::dunder_Lookup(), With(Head("notes", 0, 0, 200, 80),
                                                           {{"MaximumCharactersAllowed", Int(9)}}));
    auto* edit = WidgetNamed<QTextEdit>("notes");
    ASSERT_NE(edit, nullptr);
    QTest::keyClicks(edit, "abcdefghij");
    EXPECT_EQ(editTextGetter(area.get(), 0).Std(), "abcdefghi");
    editTextSetter(area.get(), 0, "twelve chars");
    EXPECT_EQ(edit->toPlainText(), "twelve chars");
}

struct PasteCase {
    const char* name;
    ClassRecord* (*cls)();
};

class PasteTest : public ControlsTest, public testing::WithParamInterface<PasteCase> {};

TEST_P(PasteTest, PasteTakesOnlyWhatFitsTheLimit) {
    Ref<Object> control = Add(GetParam().cls(), With(Head("input", 0, 0, 200, 60),
                                                     {{"MaximumCharactersAllowed", Int(9)}}));
    QWidget* widget = WidgetNamed<QWidget>("input");
    ASSERT_NE(widget, nullptr);
    QTest::keyClicks(widget, "12");
    QGuiApplication::clipboard()->setText("3456789012345");
    QTest::keySequence(widget, QKeySequence::Paste);
    EXPECT_EQ(editTextGetter(control.get(), 0).Std(), "123456789");
}

INSTANTIATE_TEST_SUITE_P(Editors, PasteTest,
                         testing::Values(PasteCase{"TextField", &TextField::dunder_Lookup},
                                         PasteCase{"TextArea", &TextArea::dunder_Lookup}),
                         [](const testing::TestParamInfo<PasteCase>& info) {
                             return info.param.name;
                         });

// ---- KeyDown ------------------------------------------------------------------------------

struct KeyCase {
    const char* name;
    int key;
    Qt::KeyboardModifiers modifiers;
    std::string text;
};

class KeyDownTest : public ControlsTest,
                    public testing::WithParamInterface<std::tuple<ClassRecord* (*)(), KeyCase>> {};

TEST_P(KeyDownTest, EveryKeyReachesKeyDownWithItsCode) {
    auto [lookup, key] = GetParam();
    Ref<Object> control = Add(lookup(), Head("input", 10, 10, 200, 60));
    BindKeyDown(control.get(), window_.get());
    QWidget* widget = WidgetNamed<QWidget>("input");
    ASSERT_NE(widget, nullptr);
    gLog.answer = true;  // keep every key from the widget
    QTest::keyClick(widget, static_cast<Qt::Key>(key.key), key.modifiers);
    EXPECT_EQ(gLog.entries, std::vector<std::string>{"KeyDown " + key.text});
    EXPECT_EQ(editTextGetter(control.get(), 0).Std(), "");
}

INSTANTIATE_TEST_SUITE_P(
    KeyTable, KeyDownTest,
    testing::Combine(
        testing::Values(&TextField::dunder_Lookup, &TextArea::dunder_Lookup),
        testing::Values(KeyCase{"Digit", Qt::Key_5, Qt::NoModifier, "5"},
                        KeyCase{"Letter", Qt::Key_A, Qt::NoModifier, "a"},
                        KeyCase{"Plus", Qt::Key_Plus, Qt::ShiftModifier, "+"},
                        KeyCase{"Backspace", Qt::Key_Backspace, Qt::NoModifier, "\x08"},
                        KeyCase{"Tab", Qt::Key_Tab, Qt::NoModifier, "\x09"},
                        KeyCase{"ShiftTab", Qt::Key_Backtab, Qt::ShiftModifier, "\x09"},
                        KeyCase{"Return", Qt::Key_Return, Qt::NoModifier, "\x0D"},
                        KeyCase{"KeypadEnter", Qt::Key_Enter, Qt::KeypadModifier, "\x03"},
                        KeyCase{"Escape", Qt::Key_Escape, Qt::NoModifier, "\x1B"},
                        KeyCase{"Delete", Qt::Key_Delete, Qt::NoModifier, "\x7F"},
                        KeyCase{"Left", Qt::Key_Left, Qt::NoModifier, "\x1C"},
                        KeyCase{"Right", Qt::Key_Right, Qt::NoModifier, "\x1D"},
                        KeyCase{"Up", Qt::Key_Up, Qt::NoModifier, "\x1E"},
                        KeyCase{"Down", Qt::Key_Down, Qt::NoModifier, "\x1F"},
                        KeyCase{"Home", Qt::Key_Home, Qt::NoModifier, "\x01"},
                        KeyCase{"End", Qt::Key_End, Qt::NoModifier, "\x04"},
                        KeyCase{"PageUp", Qt::Key_PageUp, Qt::NoModifier, "\x0B"},
                        KeyCase{"PageDown", Qt::Key_PageDown, Qt::NoModifier, "\x0C"})),
    [](const testing::TestParamInfo<std::tuple<ClassRecord* (*)(), KeyCase>>& info) {
        return std::string(std::get<0>(info.param)()->name) + "_" + std::get<1>(info.param).name;
    });

TEST_F(ControlsTest, KeyDownTrueKeepsTheKeyAndFalseLetsItIn) {
    Ref<Object> field = Add(TextField::dunder_Lookup(), NumberField("rEdit", 20, 0));
    BindKeyDown(field.get(), window_.get());
    auto* edit = WidgetNamed<QLineEdit>("rEdit");
    ASSERT_NE(edit, nullptr);
    gLog.answer = true;
    QTest::keyClick(edit, '7');
    EXPECT_EQ(edit->text(), "");
    gLog.answer = false;
    QTest::keyClick(edit, '7');
    EXPECT_EQ(edit->text(), "7");
    EXPECT_EQ(gLog.entries, (std::vector<std::string>{"KeyDown 7", "KeyDown 7"}));
}

TEST_F(ControlsTest, ModifierAloneNeverReachesKeyDown) {
    Ref<Object> field = Add(TextField::dunder_Lookup(), NumberField("rEdit", 20, 0));
    BindKeyDown(field.get(), window_.get());
    auto* edit = WidgetNamed<QLineEdit>("rEdit");
    ASSERT_NE(edit, nullptr);
    QTest::keyClick(edit, Qt::Key_Shift);
    QTest::keyClick(edit, Qt::Key_Control);
    EXPECT_TRUE(gLog.entries.empty());
}

// ---- focus ------------------------------------------------------------------------------------

TEST_F(ControlsTest, TabMovesTheFocusInTabIndexOrderUnlessKeyDownKeepsIt) {
    // Created out of order: the focus follows TabIndex, not creation.
    Ref<Object> z = Add(TextField::dunder_Lookup(), NumberField("zEdit", 350, 9));
    Ref<Object> r = Add(TextField::dunder_Lookup(), NumberField("rEdit", 20, 0));
    Ref<Object> button = Add(PushButton::dunder_Lookup(), With(Head("CalcBtn", 20, 240, 90, 40, 7),
                                                               {{"Caption", Str("Calculate")}}));
    BindKeyDown(r.get(), window_.get());
    auto* rEdit = WidgetNamed<QLineEdit>("rEdit");
    ASSERT_NE(rEdit, nullptr);
    rEdit->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return rEdit->hasFocus(); }));

    gLog.answer = true;
    QTest::keyClick(rEdit, Qt::Key_Tab);
    EXPECT_TRUE(rEdit->hasFocus());

    gLog.answer = false;
    QTest::keyClick(rEdit, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), WidgetNamed<QPushButton>("CalcBtn"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), WidgetNamed<QLineEdit>("zEdit"));
    EXPECT_EQ(gLog.entries, (std::vector<std::string>{"KeyDown \t", "KeyDown \t"}));
}

// ---- locks --------------------------------------------------------------------------------------

struct LockCase {
    const char* name;
    bool left, top, right, bottom;
    QRect growth;  // how much of the content's growth each of left, top, width, height takes
};

class LockTest : public ControlsTest, public testing::WithParamInterface<LockCase> {};

TEST_P(LockTest, EdgesKeepTheirDistancesWhenTheWindowIsResized) {
    const LockCase& c = GetParam();
    Ref<Object> label = Add(Label::dunder_Lookup(), With(Head("locked", 10, 20, 100, 30),
                                                         {{"LockLeft", Bool(c.left)},
                                                          {"LockTop", Bool(c.top)},
                                                          {"LockRight", Bool(c.right)},
                                                          {"LockBottom", Bool(c.bottom)}}));
    QSize before = content_->size();
    content_->window()->resize(content_->window()->size() + QSize(100, 50));
    ASSERT_TRUE(QTest::qWaitFor([&] { return content_->size() != before; }));
    int dx = content_->width() - before.width(), dy = content_->height() - before.height();
    QRect expected(10 + c.growth.x() * dx, 20 + c.growth.y() * dy, 100 + c.growth.width() * dx,
                   30 + c.growth.height() * dy);
    EXPECT_EQ(WidgetNamed<QLabel>("locked")->geometry(), expected);
    const PropertyEntry* left = RuntimeFindProperty(label->cls, "Left");
    const PropertyEntry* width = RuntimeFindProperty(label->cls, "Width");
    EXPECT_EQ(left->boxedGetter(label.get(), left).AsInteger(), expected.left());
    EXPECT_EQ(width->boxedGetter(label.get(), width).AsInteger(), expected.width());
}

INSTANTIATE_TEST_SUITE_P(
    Locks, LockTest,
    testing::Values(LockCase{"TopLeft", true, true, false, false, QRect(0, 0, 0, 0)},
                    LockCase{"None", false, false, false, false, QRect(0, 0, 0, 0)},
                    LockCase{"All", true, true, true, true, QRect(0, 0, 1, 1)},
                    LockCase{"RightOnly", false, true, true, false, QRect(1, 0, 0, 0)},
                    LockCase{"BottomOnly", true, false, false, true, QRect(0, 1, 0, 0)}),
    [](const testing::TestParamInfo<LockCase>& info) { return info.param.name; });

// ---- push buttons ---------------------------------------------------------------------------

TEST_F(ControlsTest, ButtonClickRaisesMouseDownThenAction) {
    Ref<Object> button = Add(PushButton::dunder_Lookup(), With(Head("CalcBtn", 20, 240, 90, 40),
                                                               {{"Caption", Str("Calculate")}}));
    BindButton(button.get(), window_.get());
    auto* push = WidgetNamed<QPushButton>("CalcBtn");
    ASSERT_NE(push, nullptr);
    gLog.answer = false;
    QTest::mouseClick(push, Qt::LeftButton, Qt::NoModifier, QPoint(5, 6));
    EXPECT_EQ(gLog.entries, (std::vector<std::string>{"MouseDown 5,6", "Action"}));
}

TEST_F(ControlsTest, MouseDownTrueKeepsThePressFromTheButton) {
    Ref<Object> button = Add(PushButton::dunder_Lookup(),
                             With(Head("qBtn", 180, 240, 90, 40), {{"Caption", Str("?")}}));
    BindButton(button.get(), window_.get());
    auto* push = WidgetNamed<QPushButton>("qBtn");
    ASSERT_NE(push, nullptr);
    gLog.answer = true;
    QTest::mouseClick(push, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    EXPECT_EQ(gLog.entries, std::vector<std::string>{"MouseDown 10,10"});
    EXPECT_FALSE(push->isDown());
}

TEST_F(ControlsTest, EscapeClicksTheCancelButtonOnly) {
    Ref<Object> cancel = Add(PushButton::dunder_Lookup(),
                             With(Head("CancelBtn", 20, 240, 90, 40),
                                  {{"Cancel", Bool(true)}, {"Caption", Str("Cancel")}}));
    Ref<Object> other = Add(PushButton::dunder_Lookup(),
                            With(Head("OkBtn", 120, 240, 90, 40), {{"Caption", Str("OK")}}));
    BindButton(cancel.get(), window_.get());
    content_->window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(content_->window()));
    QTest::keyClick(content_->window(), Qt::Key_Escape);
    EXPECT_EQ(gLog.entries, std::vector<std::string>{"Action"});
}

// ---- canvases -----------------------------------------------------------------------------------

// The canvas's own painting over a magenta ground: what is still magenta it did not paint.
QImage CanvasPainting(QWidget* canvas) {
    QImage image(canvas->size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::magenta);
    canvas->render(&image, QPoint(), QRegion(), QWidget::RenderFlags());
    return image;
}

TEST_F(ControlsTest, CanvasPaintsItsBackdropUnscaledAtTheTopLeftAndNothingForNil) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QImage picture(4, 3, QImage::Format_RGB32);
    picture.fill(QColor(10, 200, 30));
    picture.setPixelColor(3, 2, QColor(250, 5, 5));
    ASSERT_TRUE(picture.save(folder.filePath("dots.png")));
    ToolkitSetResourceFolder(folder.path().toStdString());
    Ref<Object> dots = PictureOpenFromApp("dots.png");
    ToolkitSetResourceFolder("");
    ASSERT_TRUE(dots);

    Ref<Object> canvas = Add(Canvas::dunder_Lookup(),
                             With(Head("Canvas1", 9, 4, 34, 33),
                                  {{"Transparent", Bool(true)}, {"Transparent", Bool(true)}}));
    QWidget* widget = WidgetNamed<QWidget>("Canvas1");
    ASSERT_NE(widget, nullptr);
    QImage empty = CanvasPainting(widget);
    EXPECT_EQ(empty.pixelColor(0, 0), QColor(Qt::magenta));
    EXPECT_EQ(empty.pixelColor(20, 20), QColor(Qt::magenta));

    canvasBackdropSetter(canvas.get(), 0, dots.get());
    EXPECT_EQ(canvasBackdropGetter(canvas.get(), 0), dots);
    QImage painted = CanvasPainting(widget);
    EXPECT_EQ(painted.pixelColor(0, 0), QColor(10, 200, 30));
    EXPECT_EQ(painted.pixelColor(3, 2), QColor(250, 5, 5));
    EXPECT_EQ(painted.pixelColor(4, 3), QColor(Qt::magenta));  // drawn at its own size
    EXPECT_EQ(painted.pixelColor(33, 32), QColor(Qt::magenta));

    canvasBackdropSetter(canvas.get(), 0, nullptr);
    EXPECT_EQ(CanvasPainting(widget).pixelColor(0, 0), QColor(Qt::magenta));
}

TEST_F(ControlsTest, CanvasRefusesABackdropThatIsNoPicture) {
    Ref<Object> canvas = Add(Canvas::dunder_Lookup(), Head("Canvas2", 0, 0, 10, 10));
    EXPECT_EQ(RaisedClass([&] { canvasBackdropSetter(canvas.get(), 0, window_.get()); }),
              "IllegalCastException");
}

// ---- lifetime and ownership ---------------------------------------------------------------------

TEST_F(ControlsTest, ControlsMadeInCreateControlsStandAtTheirPlacesWhenTheWindowOpens) {
    gCreateControls = [](Object* window) {
        AddControl(window, TextField::dunder_Lookup(), "zEdit", NumberField("zEdit", 350, 9));
    };
    Ref<Object> window = RuntimeNewObject(RuntimeLookupClass(gTestWindow));
    RuntimeCallSlot<void>(window.get(), Window::kConstructorSlot);
    QWidget* content = ToolkitWindowWidget(window.get());
    ASSERT_NE(content, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(content->window()));
    auto* edit = content->findChild<QLineEdit*>("zEdit");
    ASSERT_NE(edit, nullptr);
    EXPECT_TRUE(edit->isVisible());
    EXPECT_EQ(edit->geometry(), QRect(350, 174, 80, 22));
    Ref<Object> field = RuntimeControlReference(window.get(), "zEdit");
    EXPECT_EQ(ToolkitControlOwner(field.get()), window.get());
    RuntimeCloseWindow(window.get());
}

TEST_F(ControlsTest, ControlOutlivingItsWindowKeepsItsValues) {
    Ref<Object> field = Add(TextField::dunder_Lookup(), NumberField("rEdit", 20, 0));
    editTextSetter(field.get(), 0, "0.5");
    RuntimeCloseWindow(window_.get());
    window_.Reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(editTextGetter(field.get(), 0).Std(), "0.5");
    editTextSetter(field.get(), 0, "");
    ControlVisibleSetter(field.get(), 0, false);
    EXPECT_EQ(editTextGetter(field.get(), 0).Std(), "");
    EXPECT_FALSE(ControlVisibleGetter(field.get(), 0));
}

// A non-visual control: it takes its window through the _PaneChild interface.
Object* gPaneWindow = nullptr;
void PaneSetWindow(Object*, Object* window) {
    gPaneWindow = window;
}
Ref<Object> PaneWindow(Object*) {
    return Ref<Object>::Retain(gPaneWindow);
}
int64_t PaneIndex(Object*) {
    return 0;
}
void PaneSetIndex(Object*, int64_t) {}

void FillPaneChild(InterfaceEntry* entry) {
    const GenericFn functions[] = {AsGenericFn(&PaneSetWindow), AsGenericFn(&PaneWindow),
                                   AsGenericFn(&PaneIndex), AsGenericFn(&PaneSetIndex)};
    RuntimeFillInterfaceEntry(entry, _PaneChild::dunder_Lookup(), functions);
}

void PaneThingInit();
ClassCell gPaneThing{nullptr, &PaneThingInit};
void PaneThingInit() {
    static const InterfaceRow interfaces[] = {{&FillPaneChild}};
    static const ClassSpec spec{.name = "Test.PaneThing",
                                .superclass = nullptr,
                                .methodCount = 0,
                                .interfaceCount = 1,
                                .eventCount = 0,
                                .propertyCount = 0,
                                .instanceDataSize = 0,
                                .slotCount = 0,
                                .interfaces = interfaces};
    RuntimeBuildClass(gPaneThing, spec);
}

TEST_F(ControlsTest, PaneChildIsHandedItsWindowThroughTheInterface) {
    gPaneWindow = nullptr;
    Ref<Object> thing = WindowAllocateObject(window_.get(), RuntimeLookupClass(gPaneThing));
    EXPECT_EQ(gPaneWindow, window_.get());
    WindowAddControl(window_.get(), "Timer1", thing.get());  // no widget to place
    EXPECT_EQ(RuntimeControlReference(window_.get(), "Timer1"), thing);
    gPaneWindow = nullptr;
}

TEST_F(ControlsTest, OnlyControlsAndPaneChildrenTakeAnOwner) {
    Ref<Object> notAControl = RuntimeNewException(RuntimeException::dunder_Lookup(), "x");
    EXPECT_EQ(RaisedClass([&] { ToolkitSetControlOwner(notAControl.get(), window_.get()); }),
              "UnsupportedOperationException");
    EXPECT_EQ(ToolkitControlOwner(notAControl.get()), nullptr);
}

}  // namespace
