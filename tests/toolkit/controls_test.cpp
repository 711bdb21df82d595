// Controls in a real window: their class records, what their design records make the
// widgets show, the edge locks and the focus order, and the events that reach the program.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <functional>
#include <string>
#include <vector>

#include "framework/toolkit/toolkit.h"
#include "framework/toolkit/toolkit_internal.h"
#include "tests/toolkit/raised.h"
#include "tests/toolkit/recorder_window.h"

namespace {

// ---- a window class whose CreateControls runs what the test asks -------------------------

std::function<void(Object* window)> gCreateControls;

ClassRecord* TestWindowClass() {
    static const MethodRow methods[] = {
        Method(
            "CreateControls", kPublicVirtual, "%%",
            +[](Object* window) {
                if (gCreateControls) gCreateControls(window);
            },
            Window::kSlotCount),
    };
    static const HandlerRow handlers[] = {{Window::kCreateControls, Window::kSlotCount}};
    static ClassCell cell{};
    return RuntimeBuildClass(cell,
                             recorder::WindowSubclass("Test.ControlsWindow", methods, handlers));
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

std::vector<std::string> gHeard;
bool gAnswer = false;  // what a Boolean handler returns

bool KeyDownHandler(Object*, Object*, String key) {
    gHeard.push_back("KeyDown " + key.Std());
    return gAnswer;
}
void ActionHandler(Object*, Object*) {
    gHeard.push_back("Action");
}
bool MouseDownHandler(Object*, Object*, int64_t x, int64_t y) {
    gHeard.push_back("MouseDown " + std::to_string(x) + "," + std::to_string(y));
    return gAnswer;
}

// Binds `handler` to `event` of `control`, as a method of `window` held weakly.
template <class R, class... A>
void Bind(Object* control, uint32_t event, R (*handler)(Object*, Object*, A...), Object* window) {
    Ref<Object> delegate =
        RuntimeCreateDelegate(DelegateInvocation<R, Object*, A...>(), AsGenericFn(handler), window,
                              "", kDelegateWeakTarget);
    RuntimeAddEventHandler(control, event, EventDispatchRoutine<R, A...>(), delegate.get());
}

// ---- records ------------------------------------------------------------------------------

// The head every control record starts with, and the rest after it.
std::vector<RecordEntry> Head(std::string_view name, int64_t left, int64_t top, int64_t width,
                              int64_t height, std::initializer_list<RecordEntry> rest = {},
                              int64_t tabIndex = 0) {
    std::vector<RecordEntry> record = {
        {"Name", Str(name)},         {"Index", Int(-2147483648)}, {"Left", Int(left)},
        {"Top", Int(top)},           {"Width", Int(width)},       {"Height", Int(height)},
        {"LockLeft", Bool(true)},    {"LockTop", Bool(true)},     {"LockRight", Bool(false)},
        {"LockBottom", Bool(false)}, {"TabIndex", Int(tabIndex)}, {"TabStop", Bool(true)}};
    record.insert(record.end(), rest.begin(), rest.end());
    return record;
}

// A number field as the conversion window has it.
std::vector<RecordEntry> NumberField(std::string_view name, int64_t left, int64_t tabIndex) {
    return Head(name, left, 174, 80, 22,
                {{"BackgroundColor", Rgba(0xFF, 0xFF, 0xFF, 0)},
                 {"HasBorder", Bool(true)},
                 {"TextColor", Rgba(0, 0, 0, 0)},
                 {"Visible", Bool(true)},
                 {"FontName", Str("System")},
                 {"FontSize", Sgl(12.0f)},
                 {"FontUnit", Byte(0)},
                 {"Bold", Bool(false)},
                 {"TextAlignment", Int(2)},
                 {"MaximumCharactersAllowed", Int(9)},
                 {"ReadOnly", Bool(false)}},
                tabIndex);
}

// ---- the fixture ------------------------------------------------------------------------------

class ControlsTest : public LeakCheckedTest {
  protected:
    void SetUp() override {
        LeakCheckedTest::SetUp();
        gHeard.clear();
        gAnswer = false;
        window_ = RuntimeNewObject(TestWindowClass());
        RuntimeCallSlot<void>(window_.get(), Window::kConstructorSlot);
        content_ = ToolkitWindowWidget(window_.get());
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

    template <class W = QWidget>
    W* WidgetNamed(const char* name) {
        auto* widget = content_->findChild<W*>(QString::fromUtf8(name), Qt::FindDirectChildrenOnly);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    Ref<Object> window_;
    QWidget* content_ = nullptr;
};

// ---- class records ------------------------------------------------------------------------

TEST_F(ControlsTest, EventsAndPropertiesAreNumberedAndDeclaredThroughTheClassChain) {
    struct Event {
        ClassRecord* cls;
        const char* event;
        int32_t index;
    };
    const Event events[] = {
        {RectControl::dunder_Lookup(), "Open", 1},      {TextArea::dunder_Lookup(), "KeyDown", 9},
        {TextField::dunder_Lookup(), "TextChange", 18}, {PushButton::dunder_Lookup(), "Action", 15},
        {PushButton::dunder_Lookup(), "MouseDown", 18}, {Canvas::dunder_Lookup(), "MouseWheel", 14},
    };
    for (const Event& e : events)
        EXPECT_EQ(RuntimeFindEvent(e.cls, e.event), e.index) << e.cls->name << " " << e.event;

    // Spot checks of the design keys: the type a record is read by, and who declares it.
    struct Key {
        ClassRecord* cls;
        const char* key;
        const char* type;
        const char* declaredIn;
    };
    const Key keys[] = {
        {PushButton::dunder_Lookup(), "Name", "s", "Control"},
        {TextField::dunder_Lookup(), "Left", "i8", "RectControl"},
        {TextArea::dunder_Lookup(), "AllowSpellChecking", "b", "TextEdit"},
        {Label::dunder_Lookup(), "FontUnit", "u1<FontUnits>", "Label"},
        {PushButton::dunder_Lookup(), "MacButtonStyle", "i8<PushButton.MacButtonStyles>",
         "PushButton"},
    };
    for (const Key& k : keys) {
        const PropertyEntry* entry = RuntimeFindProperty(k.cls, k.key);
        ASSERT_NE(entry, nullptr) << k.cls->name << "." << k.key;
        EXPECT_STREQ(entry->typeText, k.type) << k.key;
        EXPECT_STREQ(entry->declaringClass->name, k.declaredIn) << k.key;
    }
    // The records spell Multiline; the classes declare MultiLine.
    EXPECT_STREQ(RuntimeFindProperty(Label::dunder_Lookup(), "Multiline")->name, "MultiLine");
    for (ClassRecord* cls : {TextField::dunder_Lookup(), Canvas::dunder_Lookup()})
        EXPECT_EQ(cls->vtable[RectControl::kConstructorSlot],
                  AsGenericFn(&RectControlDefaultConstructor));
}

// ---- what the records make the widgets show ---------------------------------------------------

const char* const kUnicodeText = "Pearson\u2019s r \u2013 Fisher\u2019s z";

TEST_F(ControlsTest, DesignRecordsShowInTheirWidgets) {
    const QFont appFont = QApplication::font();
    // clang-format off
    Add(TextField::dunder_Lookup(), NumberField("rEdit", 20, 0));
    Add(TextField::dunder_Lookup(), Head("secret", 10, 10, 120, 24, {
        {"Password", Bool(true)}, {"ReadOnly", Bool(true)}, {"HasBorder", Bool(false)},
        {"Hint", Str("PIN")}, {"Tooltip", Str("Your PIN")}, {"Enabled", Bool(false)},
        {"TextAlignment", Int(3)}, {"Italic", Bool(true)}, {"Underline", Bool(true)},
        {"TabStop", Bool(false)}}));
    Add(Label::dunder_Lookup(), Head("StaticText1", 20, 35, 410, 16, {
        {"Multiline", Bool(false)}, {"Selectable", Bool(false)}, {"TextAlignment", Int(2)},
        {"TextColor", Rgba(0x00, 0x00, 0xC7, 0x00)}, {"Transparent", Bool(false)},
        {"Value", Str("by A. Person")}, {"Bold", Bool(true)}, {"FontSize", Sgl(8.0f)}}));
    Add(Label::dunder_Lookup(), Head("note", 0, 0, 100, 60, {
        {"Multiline", Bool(true)}, {"Selectable", Bool(true)},
        {"FontName", Str("System")}, {"FontSize", Sgl(0.0f)}}));
    Ref<Object> area = Add(TextArea::dunder_Lookup(), Head("describeTxt", 20, 63, 409, 73, {
        {"BackgroundColor", Rgba(0xEE, 0xEE, 0xEE, 0)}, {"HasBorder", Bool(false)},
        {"LineSpacing", Dbl(1.0)}, {"Multiline", Bool(true)}, {"HasVerticalScrollbar", Bool(false)},
        {"AllowStyledText", Bool(false)}, {"Visible", Bool(false)}, {"Value", Str(kUnicodeText)},
        {"AllowTabs", Bool(false)}, {"TextAlignment", Int(0)}, {"ReadOnly", Bool(true)}}));
    Add(PushButton::dunder_Lookup(), Head("qBtn", 180, 240, 90, 40, {
        {"MacButtonStyle", Int(0)}, {"Cancel", Bool(false)}, {"Caption", Str("?")},
        {"Default", Bool(true)}, {"FontSize", Sgl(16.0f)}, {"Bold", Bool(true)},
        {"TabStop", Bool(false)}}));
    // clang-format on

    auto* number = WidgetNamed<QLineEdit>("rEdit");
    EXPECT_EQ(number->geometry(), QRect(20, 174, 80, 22));
    EXPECT_EQ(number->font().family(), appFont.family());
    EXPECT_EQ(number->font().pixelSize(), 12);
    EXPECT_EQ(number->palette().color(QPalette::Active, QPalette::Base), QColor(Qt::white));
    EXPECT_EQ(number->palette().color(QPalette::Active, QPalette::Text), QColor(Qt::black));
    EXPECT_EQ(number->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_TRUE(number->hasFrame() && number->isVisible() && !number->isReadOnly());
    EXPECT_EQ(number->echoMode(), QLineEdit::Normal);
    EXPECT_EQ(number->focusPolicy(), Qt::StrongFocus);

    auto* secret = WidgetNamed<QLineEdit>("secret");
    EXPECT_EQ(secret->echoMode(), QLineEdit::Password);
    EXPECT_TRUE(secret->isReadOnly());
    EXPECT_FALSE(secret->hasFrame() || secret->isEnabled());
    EXPECT_EQ(secret->placeholderText(), "PIN");
    EXPECT_EQ(secret->toolTip(), "Your PIN");
    EXPECT_EQ(secret->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    EXPECT_TRUE(secret->font().italic() && secret->font().underline());
    EXPECT_EQ(secret->focusPolicy(), Qt::ClickFocus);

    auto* credit = WidgetNamed<QLabel>("StaticText1");
    EXPECT_EQ(credit->text(), "by A. Person");
    EXPECT_EQ(credit->palette().color(QPalette::Active, QPalette::WindowText), QColor(0, 0, 0xC7));
    EXPECT_EQ(credit->font().pixelSize(), 8);
    EXPECT_TRUE(credit->font().bold());
    EXPECT_EQ(credit->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_FALSE(credit->wordWrap());
    EXPECT_EQ(credit->textInteractionFlags(), Qt::NoTextInteraction);
    EXPECT_TRUE(credit->autoFillBackground()) << "not Transparent";

    auto* note = WidgetNamed<QLabel>("note");
    EXPECT_TRUE(note->wordWrap());
    EXPECT_TRUE(note->textInteractionFlags() & Qt::TextSelectableByMouse);
    EXPECT_TRUE(note->alignment() & Qt::AlignTop);
    EXPECT_EQ(note->font().family(), appFont.family()) << "System of size 0: the application font";
    EXPECT_EQ(note->font().pointSizeF(), appFont.pointSizeF());

    auto* help = WidgetNamed<QTextEdit>("describeTxt");
    EXPECT_FALSE(help->isVisible() || ControlVisibleGetter(area.get(), 0));
    EXPECT_TRUE(help->isReadOnly());
    EXPECT_EQ(help->frameShape(), QFrame::NoFrame);
    EXPECT_EQ(help->palette().color(QPalette::Active, QPalette::Base), QColor(0xEE, 0xEE, 0xEE));
    EXPECT_EQ(help->toPlainText().toStdString(), kUnicodeText);
    EXPECT_EQ(editTextGetter(area.get(), 0).Std(), kUnicodeText);
    EXPECT_EQ(help->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(help->lineWrapMode(), QTextEdit::WidgetWidth);
    EXPECT_FALSE(help->acceptRichText());
    EXPECT_TRUE(help->tabChangesFocus());
    EXPECT_EQ(help->document()->defaultTextOption().alignment() & Qt::AlignHorizontal_Mask,
              Qt::AlignLeft);
    ControlVisibleSetter(area.get(), 0, true);
    EXPECT_TRUE(help->isVisible() && ControlVisibleGetter(area.get(), 0));

    auto* button = WidgetNamed<QPushButton>("qBtn");
    EXPECT_EQ(button->text(), "?");
    EXPECT_TRUE(button->isDefault() && button->autoDefault());
    EXPECT_EQ(button->font().pixelSize(), 16);
    EXPECT_EQ(button->focusPolicy(), Qt::ClickFocus);
    EXPECT_EQ(button->geometry(), QRect(180, 240, 90, 40));
}

// ---- MaximumCharactersAllowed ---------------------------------------------------------------

class EditorTest : public ControlsTest, public testing::WithParamInterface<ClassRecord* (*)()> {
  protected:
    // A text control of the class under test, named "input", with KeyDown bound.
    Ref<Object> AddEditor(std::initializer_list<RecordEntry> rest) {
        Ref<Object> control = Add(GetParam()(), Head("input", 10, 10, 200, 60, rest));
        Bind(control.get(), RectControl::kKeyDownEvent, &KeyDownHandler, window_.get());
        return control;
    }
};

TEST_P(EditorTest, TypingAndPastingStopAtTheLimitButTheProgramsLongerTextIsKept) {
    Ref<Object> control = AddEditor({{"MaximumCharactersAllowed", Int(9)}});
    QWidget* widget = WidgetNamed("input");
    QTest::keyClicks(widget, "12");
    QGuiApplication::clipboard()->setText("3456789012345");
    QTest::keySequence(widget, QKeySequence::Paste);
    EXPECT_EQ(editTextGetter(control.get(), 0).Std(), "123456789");
    QTest::keyClick(widget, '0');
    EXPECT_EQ(editTextGetter(control.get(), 0).Std(), "123456789");

    editTextSetter(control.get(), 0, "-0.123456789");  // 12 characters, as Format may write
    EXPECT_EQ(editTextGetter(control.get(), 0).Std(), "-0.123456789");
    QTest::keyClick(widget, Qt::Key_End);
    QTest::keyClick(widget, '9');
    EXPECT_EQ(editTextGetter(control.get(), 0).Std(), "-0.123456789");  // no longer than it was
    QTest::keyClick(widget, Qt::Key_Backspace);
    EXPECT_EQ(editTextGetter(control.get(), 0).Std(), "-0.12345678");  // shortening is allowed
}

// ---- KeyDown ------------------------------------------------------------------------------

TEST_P(EditorTest, KeysReachKeyDownWithTheirCodeAndTrueKeepsThemFromTheControl) {
    Ref<Object> control = AddEditor({});
    QWidget* widget = WidgetNamed("input");
    struct Key {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        const char* heard;  // nil: no KeyDown at all
    };
    const Key keys[] = {
        {Qt::Key_5, Qt::NoModifier, "5"},
        {Qt::Key_Plus, Qt::ShiftModifier, "+"},
        {Qt::Key_Enter, Qt::KeypadModifier, "\x03"},
        {Qt::Key_Backtab, Qt::ShiftModifier, "\x09"},
        {Qt::Key_Down, Qt::NoModifier, "\x1F"},
        {Qt::Key_Shift, Qt::ShiftModifier, nullptr},
        {Qt::Key_Control, Qt::NoModifier, nullptr},
    };
    gAnswer = true;  // keep every key from the widget
    for (const Key& key : keys) {
        gHeard.clear();
        QTest::keyClick(widget, key.key, key.modifiers);
        EXPECT_EQ(gHeard, key.heard ? std::vector<std::string>{std::string("KeyDown ") + key.heard}
                                    : std::vector<std::string>{})
            << key.key;
    }
    EXPECT_EQ(editTextGetter(control.get(), 0).Std(), "");
    gAnswer = false;
    QTest::keyClick(widget, '7');
    EXPECT_EQ(editTextGetter(control.get(), 0).Std(), "7");
}

INSTANTIATE_TEST_SUITE_P(Editors, EditorTest,
                         testing::Values(&TextField::dunder_Lookup, &TextArea::dunder_Lookup),
                         [](const testing::TestParamInfo<ClassRecord* (*)()>& info) {
                             return std::string(info.param()->name);
                         });

// ---- focus ------------------------------------------------------------------------------------

TEST_F(ControlsTest, TabMovesTheFocusInTabIndexOrderUnlessKeyDownKeepsIt) {
    // Created in the reverse order: the focus follows TabIndex, not creation.
    Ref<Object> z = Add(TextField::dunder_Lookup(), NumberField("zEdit", 350, 9));
    Ref<Object> button = Add(PushButton::dunder_Lookup(),
                             Head("CalcBtn", 20, 240, 90, 40, {{"Caption", Str("Calculate")}}, 7));
    Ref<Object> r = Add(TextField::dunder_Lookup(), NumberField("rEdit", 20, 0));
    Bind(r.get(), RectControl::kKeyDownEvent, &KeyDownHandler, window_.get());
    auto* rEdit = WidgetNamed<QLineEdit>("rEdit");
    rEdit->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return rEdit->hasFocus(); }));

    gAnswer = true;
    QTest::keyClick(rEdit, Qt::Key_Tab);
    EXPECT_TRUE(rEdit->hasFocus());
    gAnswer = false;
    QTest::keyClick(rEdit, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), WidgetNamed<QPushButton>("CalcBtn"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), WidgetNamed<QLineEdit>("zEdit"));
    EXPECT_EQ(gHeard, (std::vector<std::string>{"KeyDown \t", "KeyDown \t"}));
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
    Ref<Object> label = Add(Label::dunder_Lookup(), Head("locked", 10, 20, 100, 30,
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
    testing::Values(LockCase{"None", false, false, false, false, QRect(0, 0, 0, 0)},
                    LockCase{"All", true, true, true, true, QRect(0, 0, 1, 1)},
                    LockCase{"RightOnly", false, true, true, false, QRect(1, 0, 0, 0)},
                    LockCase{"BottomOnly", true, false, false, true, QRect(0, 1, 0, 0)}),
    [](const testing::TestParamInfo<LockCase>& info) { return info.param.name; });

// ---- push buttons ---------------------------------------------------------------------------

TEST_F(ControlsTest, AClickRaisesMouseDownThenActionAndEscapeClicksOnlyTheCancelButton) {
    Ref<Object> button =
        Add(PushButton::dunder_Lookup(), Head("CalcBtn", 20, 240, 90, 40, {{"Caption", Str("=")}}));
    Ref<Object> cancel = Add(PushButton::dunder_Lookup(),
                             Head("CancelBtn", 120, 240, 90, 40, {{"Cancel", Bool(true)}}));
    Bind(button.get(), PushButton::kActionEvent, &ActionHandler, window_.get());
    Bind(button.get(), PushButton::kMouseDownEvent, &MouseDownHandler, window_.get());
    Bind(cancel.get(), PushButton::kActionEvent, &ActionHandler, window_.get());
    auto* push = WidgetNamed<QPushButton>("CalcBtn");
    QTest::mouseClick(push, Qt::LeftButton, Qt::NoModifier, QPoint(5, 6));
    EXPECT_EQ(gHeard, (std::vector<std::string>{"MouseDown 5,6", "Action"}));

    content_->window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(content_->window()));
    gHeard.clear();
    QTest::keyClick(content_->window(), Qt::Key_Escape);
    EXPECT_EQ(gHeard, std::vector<std::string>{"Action"});

    gHeard.clear();
    gAnswer = true;  // MouseDown keeps the press from the button
    QTest::mouseClick(push, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    EXPECT_EQ(gHeard, std::vector<std::string>{"MouseDown 10,10"});
    EXPECT_FALSE(push->isDown());
}

// ---- canvases -----------------------------------------------------------------------------------

// The canvas's own painting over a magenta ground: what is still magenta it did not paint.
QColor PaintedAt(QWidget* canvas, int x, int y) {
    QImage image(canvas->size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::magenta);
    canvas->render(&image, QPoint(), QRegion(), QWidget::RenderFlags());
    return image.pixelColor(x, y);
}

TEST_F(ControlsTest, CanvasPaintsItsBackdropUnscaledAtTheTopLeftAndNothingForNil) {
    QTemporaryDir folder;
    QImage picture(4, 3, QImage::Format_RGB32);
    picture.fill(QColor(10, 200, 30));
    picture.setPixelColor(3, 2, QColor(250, 5, 5));
    ASSERT_TRUE(picture.save(folder.filePath("dots.png")));
    ToolkitSetResourceFolder(folder.path().toStdString());
    Ref<Object> dots = PictureOpenFromApp("dots.png");
    ToolkitSetResourceFolder("");
    ASSERT_TRUE(dots);

    Ref<Object> canvas =
        Add(Canvas::dunder_Lookup(), Head("Canvas1", 9, 4, 34, 33, {{"Transparent", Bool(true)}}));
    QWidget* widget = WidgetNamed("Canvas1");
    EXPECT_EQ(PaintedAt(widget, 0, 0), QColor(Qt::magenta));
    canvasBackdropSetter(canvas.get(), 0, dots.get());
    EXPECT_EQ(canvasBackdropGetter(canvas.get(), 0), dots);
    EXPECT_EQ(PaintedAt(widget, 0, 0), QColor(10, 200, 30));
    EXPECT_EQ(PaintedAt(widget, 3, 2), QColor(250, 5, 5));
    EXPECT_EQ(PaintedAt(widget, 4, 3), QColor(Qt::magenta));  // drawn at its own size
    canvasBackdropSetter(canvas.get(), 0, nullptr);
    EXPECT_EQ(PaintedAt(widget, 0, 0), QColor(Qt::magenta));
    EXPECT_EQ(RaisedClass([&] { canvasBackdropSetter(canvas.get(), 0, window_.get()); }),
              "IllegalCastException");
}

// ---- lifetime and ownership ---------------------------------------------------------------------

TEST_F(ControlsTest, ControlsMadeInCreateControlsStandInPlaceAndOutliveTheirWindow) {
    gCreateControls = [](Object* window) {
        AddControl(window, TextField::dunder_Lookup(), "zEdit", NumberField("zEdit", 350, 9));
    };
    Ref<Object> window = RuntimeNewObject(TestWindowClass());
    RuntimeCallSlot<void>(window.get(), Window::kConstructorSlot);
    QWidget* content = ToolkitWindowWidget(window.get());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(content->window()));
    auto* edit = content->findChild<QLineEdit*>("zEdit");
    ASSERT_NE(edit, nullptr);
    EXPECT_TRUE(edit->isVisible());
    EXPECT_EQ(edit->geometry(), QRect(350, 174, 80, 22));
    Ref<Object> field = RuntimeControlReference(window.get(), "zEdit");
    EXPECT_EQ(ToolkitControlOwner(field.get()), window.get());
    EXPECT_EQ(ControlNameGetter(field.get(), 0).Std(), "zEdit");

    // The field keeps its values once its window and widget are gone.
    editTextSetter(field.get(), 0, "0.5");
    RuntimeCloseWindow(window.get());
    window.Reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(editTextGetter(field.get(), 0).Std(), "0.5");
    editTextSetter(field.get(), 0, "");
    ControlVisibleSetter(field.get(), 0, false);
    EXPECT_EQ(editTextGetter(field.get(), 0).Std(), "");
    EXPECT_FALSE(ControlVisibleGetter(field.get(), 0));
}

// A non-visual control: it takes its window through the _PaneChild interface.
Object* gPaneWindow = nullptr;

ClassRecord* PaneThingClass() {
    static const InterfaceRow interfaces[] = {{[](InterfaceEntry* entry) {
        const GenericFn functions[] = {
            AsGenericFn(+[](Object*, Object* window) { gPaneWindow = window; }),
            AsGenericFn(+[](Object*) { return Ref<Object>::Retain(gPaneWindow); }),
            AsGenericFn(+[](Object*) { return int64_t{0}; }),
            AsGenericFn(+[](Object*, int64_t) {})};
        RuntimeFillInterfaceEntry(entry, under_PaneChild::dunder_Lookup(), functions);
    }}};
    static ClassCell cell{};
    return RuntimeBuildClass(cell, RootClass("Test.PaneThing", 0, {}, interfaces));
}

TEST_F(ControlsTest, OnlyControlsAndPaneChildrenTakeAnOwnerAndAPaneChildIsToldItsWindow) {
    gPaneWindow = nullptr;
    Ref<Object> thing = WindowAllocateObject(window_.get(), PaneThingClass());
    EXPECT_EQ(gPaneWindow, window_.get());
    WindowAddControl(window_.get(), "Timer1", thing.get());  // no widget to place
    EXPECT_EQ(RuntimeControlReference(window_.get(), "Timer1"), thing);
    gPaneWindow = nullptr;

    Ref<Object> notAControl = RuntimeNewException(RuntimeException::dunder_Lookup(), "x");
    EXPECT_EQ(RaisedClass([&] { ToolkitSetControlOwner(notAControl.get(), window_.get()); }),
              "UnsupportedOperationException");
    EXPECT_EQ(ToolkitControlOwner(notAControl.get()), nullptr);
}

}  // namespace
