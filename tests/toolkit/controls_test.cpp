// Controls in a real window: what their design records make the widgets show, the length
// limit, a button's events and a canvas's backdrop; what a window refuses.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QInputMethodEvent>
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
                 {"FontSize", Sgl(12.0f)},
                 {"TextAlignment", Int(2)},
                 {"MaximumCharactersAllowed", Int(9)}},
                tabIndex);
}

// ---- the fixture ------------------------------------------------------------------------------

class ControlsTest : public LeakCheckedTest {
  protected:
    void SetUp() override {
        LeakCheckedTest::SetUp();
        gHeard.clear();
        gAnswer = false;
        window_ = RuntimeNewObject(recorder::PlainClass());
        RuntimeCallSlot<void>(window_.get(), Window::kConstructorSlot);
        content_ = ToolkitWindowWidget(window_.get());
        content_->window()->resize(500, 400);
        QApplication::setActiveWindow(content_->window());
        ASSERT_TRUE(QTest::qWaitForWindowExposed(content_->window()));
    }
    void TearDown() override {
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

// ---- what the records make the widgets show ---------------------------------------------------

TEST_F(ControlsTest, DesignRecordsShowInTheirWidgets) {
    // clang-format off
    Add(TextField::dunder_Lookup(), NumberField("rEdit", 20, 0));
    Add(TextField::dunder_Lookup(), Head("secret", 10, 10, 120, 24, {
        {"Password", Bool(true)}, {"ReadOnly", Bool(true)}, {"HasBorder", Bool(false)},
        {"Hint", Str("PIN")}, {"Enabled", Bool(false)}, {"TextAlignment", Int(3)}}));
    Add(Label::dunder_Lookup(), Head("credit", 20, 35, 410, 16, {
        {"Multiline", Bool(false)}, {"TextColor", Rgba(0x00, 0x00, 0xC7, 0x00)},
        {"Value", Str("by A. Person")}, {"Bold", Bool(true)}, {"FontSize", Sgl(8.0f)}}));
    Add(Label::dunder_Lookup(), Head("note", 0, 0, 100, 60, {{"Multiline", Bool(true)}}));
    Ref<Object> area = Add(TextArea::dunder_Lookup(), Head("help", 20, 63, 409, 73, {
        {"BackgroundColor", Rgba(0xEE, 0xEE, 0xEE, 0)}, {"HasBorder", Bool(false)},
        {"Visible", Bool(false)}, {"Value", Str("z\u2019 \u2013 r")}, {"ReadOnly", Bool(true)}}));
    Add(PushButton::dunder_Lookup(), Head("qBtn", 180, 240, 90, 40, {
        {"Caption", Str("?")}, {"Default", Bool(true)}, {"FontSize", Sgl(16.0f)},
        {"TabStop", Bool(false)}}));
    // clang-format on
    auto* number = WidgetNamed<QLineEdit>("rEdit");
    EXPECT_EQ(number->geometry(), QRect(20, 174, 80, 22));
    EXPECT_EQ(number->font().pixelSize(), 12);
    EXPECT_EQ(number->palette().color(QPalette::Active, QPalette::Base), QColor(Qt::white));
    EXPECT_EQ(number->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_TRUE(number->hasFrame() && !number->isReadOnly());
    EXPECT_EQ(number->echoMode(), QLineEdit::Normal);
    auto* secret = WidgetNamed<QLineEdit>("secret");
    EXPECT_EQ(secret->echoMode(), QLineEdit::Password);
    EXPECT_TRUE(secret->isReadOnly() && !secret->hasFrame() && !secret->isEnabled());
    EXPECT_EQ(secret->placeholderText(), "PIN");
    EXPECT_EQ(secret->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    auto* credit = WidgetNamed<QLabel>("credit");
    EXPECT_EQ(credit->text(), "by A. Person");
    EXPECT_EQ(credit->palette().color(QPalette::Active, QPalette::WindowText), QColor(0, 0, 0xC7));
    EXPECT_TRUE(credit->font().bold() && !credit->wordWrap());
    EXPECT_TRUE(WidgetNamed<QLabel>("note")->wordWrap());
    auto* help = WidgetNamed<QTextEdit>("help");
    EXPECT_TRUE(help->isHidden() && help->isReadOnly());
    EXPECT_EQ(help->frameShape(), QFrame::NoFrame);
    EXPECT_EQ(help->toPlainText().toStdString(), "z\u2019 \u2013 r");
    ControlVisibleSetter(area.get(), 0, true);
    EXPECT_TRUE(help->isVisible());
    auto* button = WidgetNamed<QPushButton>("qBtn");
    EXPECT_EQ(button->text(), "?");
    EXPECT_TRUE(button->isDefault() && button->autoDefault());
    EXPECT_EQ(button->font().pixelSize(), 16);
    EXPECT_EQ(button->focusPolicy(), Qt::ClickFocus) << "no tab stop";
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

TEST_P(EditorTest, AnInputMethodsTextEntersAsFarAsTheLimitLeavesRoom) {
    Ref<Object> control = AddEditor({{"MaximumCharactersAllowed", Int(9)}});
    QWidget* widget = WidgetNamed("input");
    auto commit = [widget](const char* text, int replaceFrom = 0, int replaceLength = 0) {
        QInputMethodEvent event;
        event.setCommitString(QString::fromUtf8(text), replaceFrom, replaceLength);
        QApplication::sendEvent(widget, &event);
    };
    commit("1234567");
    commit("890");
    EXPECT_EQ(editTextGetter(control.get(), 0).Std(), "123456789");

    editTextSetter(control.get(), 0, "-0.123456789");  // longer than the limit, as Format may write
    QTest::keyClick(widget, Qt::Key_End);
    QTest::keyClick(widget, Qt::Key_Left, Qt::ShiftModifier);
    QTest::keyClick(widget, Qt::Key_Left, Qt::ShiftModifier);
    commit("987");  // in place of "89": the text may stay as long as it was
    EXPECT_EQ(editTextGetter(control.get(), 0).Std(), "-0.123456798");

    // A field also counts the characters a commit replaces as room.
    if (GetParam() != &TextField::dunder_Lookup) return;
    editTextSetter(control.get(), 0, "123456789");
    QTest::keyClick(widget, Qt::Key_End);
    commit("01", -1, 1);  // in place of the "9" before the cursor
    EXPECT_EQ(editTextGetter(control.get(), 0).Std(), "123456780");
}

INSTANTIATE_TEST_SUITE_P(Editors, EditorTest,
                         testing::Values(&TextField::dunder_Lookup, &TextArea::dunder_Lookup),
                         [](const testing::TestParamInfo<ClassRecord* (*)()>& info) {
                             return std::string(info.param()->name);
                         });

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

// ---- refusals ------------------------------------------------------------------------------

// Each an UnsupportedOperationException whose message reads as one sentence: a value its
// record may not set, an entry that holds no value, an object it cannot hold as a control,
// an operation this platform lacks.
TEST_F(ControlsTest, EachRefusalOfAWindowSaysInOneSentenceWhatItRefuses) {
    Object* window = window_.get();
    struct Case {
        const char* what;
        std::function<void()> statement;
        const char* message;
    };
    const Case cases[] = {
        {"a record setting a reserved entry",
         [window] {
             const RecordEntry entries[] = {{"_Reserved1", Int(1)}};
             RuntimeMassPropertySetter(window, EncodePropertyRecord(entries));
         },
         "_Reserved1 is read-only"},
        {"reading a reserved entry",
         [window] {
             const PropertyEntry* entry = RuntimeFindProperty(window->cls, "_Reserved13");
             entry->boxedGetter(window, entry);
         },
         "a reserved entry of Window's property table holds no value"},
        {"a picture placed as a control",
         [window] { WindowAllocateObject(window, Picture::dunder_Lookup()); },
         "Window.__New: Picture cannot be placed on a window"},
        {"drawing into a Graphics",
         [window] {
             const MethodEntry* method = RuntimeFindMethod(window->cls, "DrawInto");
             RuntimeCallSlot<void, Object*, int64_t, int64_t, bool>(window, method->slot, nullptr,
                                                                    0, 0, false);
         },
         "Window.DrawInto is not supported on this platform"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string raised = "nothing", message;
        try {
            c.statement();
        } catch (const RaisedException& exception) {
            raised = exception.ExceptionObject()->cls->name;
            message = RuntimeExceptionMessage(exception.ExceptionObject().get()).Std();
        }
        EXPECT_EQ(raised, "UnsupportedOperationException");
        EXPECT_EQ(message, c.message);
    }
}

}  // namespace
