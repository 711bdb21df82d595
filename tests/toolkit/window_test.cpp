// Windows on the offscreen platform: design records applied by Layout, the events of
// construction, the implicit instance by class name, Show and Hide, mouse and keys, closing,
// controls and menu handlers by name, the menu bar above the content.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <functional>

#include "tests/toolkit/raised.h"
#include "tests/toolkit/recorder_window.h"

namespace {

using namespace recorder;

class WindowTest : public LeakCheckedTest {
  protected:
    void SetUp() override {
        ToolkitResetForTesting();
        Heard().clear();
        Answer() = Answers{};
        ToolkitClearMessageBoxes();
        LeakCheckedTest::SetUp();
    }
    void TearDown() override {
        Answer() = Answers{};
        ToolkitResetForTesting();
        LeakCheckedTest::TearDown();
        RuntimeResetForTesting();
    }

    // A Recorder window built from `entries` (applied by its Layout), shown and active.
    Ref<Object> OpenRecorder(std::initializer_list<RecordEntry> entries = {}) {
        Answer().record = EncodePropertyRecord(std::span(entries.begin(), entries.size()));
        Ref<Object> window = OpenWindow(RecorderClass());
        if (RuntimeWindowVisible(window.get())) {
            EXPECT_TRUE(QTest::qWaitForWindowActive(TopLevelOf(window.get())));
        }
        return window;
    }
};

// ---- the records ---------------------------------------------------------------------------

TEST_F(WindowTest, ASubclassReStatesWindowsHiddenEntriesWithoutTheHiddenMark) {
    struct Entry {
        const char* name;
        uint32_t inWindow, inSubclass;
    };
    const Entry entries[] = {{"Window", 416, 288}, {"_AddControl", 385, 257}, {"__Exit", 192, 64}};
    for (const Entry& entry : entries) {
        EXPECT_EQ(RuntimeFindMethod(Window::dunder_Lookup(), entry.name)->flags, entry.inWindow);
        EXPECT_EQ(RuntimeFindMethod(RecorderClass(), entry.name)->flags, entry.inSubclass);
    }
    EXPECT_EQ(RuntimeFindMethod(RecorderClass(), "_GetControl")->function,
              reinterpret_cast<GenericFn>(&RuntimeWindowControlByName));
    const PropertyEntry* type = RuntimeFindProperty(RecorderClass(), "Type");
    EXPECT_STREQ(type->typeText, "i8<Window.Types>");
    EXPECT_EQ(type->declaringClass, Window::dunder_Lookup());
}

TEST_F(WindowTest, ADesignRecordAppliedByLayoutShowsOnScreen) {
    struct DesignCase {
        const char* name;
        std::vector<RecordEntry> record;
        std::function<void(QWidget& top, QWidget& content)> check;
    };
    // clang-format off
    const DesignCase cases[] = {
        {"document window of fixed size with close and minimize buttons",
         {{"Width", Int(450)}, {"Height", Int(300)}, {"Type", Int(0)}, {"Title", Str("Corvane")},
          {"HasCloseButton", Bool(true)}, {"HasMaximizeButton", Bool(false)},
          {"HasMinimizeButton", Bool(true)}, {"Resizeable", Bool(false)}, {"Visible", Bool(true)}},
         [](QWidget& top, QWidget& content) {
             EXPECT_EQ(content.size(), QSize(450, 300));
             EXPECT_EQ(top.windowTitle(), "Corvane");
             EXPECT_TRUE(top.windowFlags() & Qt::WindowCloseButtonHint);
             EXPECT_TRUE(top.windowFlags() & Qt::WindowMinimizeButtonHint);
             EXPECT_FALSE(top.windowFlags() & (Qt::WindowMaximizeButtonHint | Qt::FramelessWindowHint));
             EXPECT_EQ(top.minimumSize(), top.maximumSize());
         }},
        {"plain box without title or close button",
         {{"Width", Int(330)}, {"Height", Int(165)}, {"Type", Int(2)}, {"Title", Str("")},
          {"HasCloseButton", Bool(false)}, {"Visible", Bool(true)}},
         [](QWidget& top, QWidget& content) {
             EXPECT_EQ(content.size(), QSize(330, 165));
             EXPECT_TRUE(top.windowFlags() & Qt::FramelessWindowHint);
             EXPECT_FALSE(top.windowFlags() & Qt::WindowCloseButtonHint);
         }},
        {"resizable between its limits, filled with its background colour",
         {{"Width", Int(300)}, {"Height", Int(200)}, {"MinimumWidth", Int(100)},
          {"MinimumHeight", Int(80)}, {"MaximumWidth", Int(800)}, {"MaximumHeight", Int(600)},
          {"Resizeable", Bool(true)}, {"HasBackgroundColor", Bool(true)},
          {"BackgroundColor", Rgba(0xEE, 0xEE, 0xEE, 0)}, {"Visible", Bool(true)}},
         [](QWidget& top, QWidget& content) {
             EXPECT_EQ(content.size(), QSize(300, 200));
             EXPECT_EQ(top.minimumSize(), QSize(100, 80));
             EXPECT_EQ(top.maximumSize(), QSize(800, 600));
             EXPECT_TRUE(content.autoFillBackground());
             EXPECT_EQ(content.palette().color(QPalette::Window), QColor(0xEE, 0xEE, 0xEE));
         }},
        {"centred on the main screen",
         {{"Width", Int(200)}, {"Height", Int(100)}, {"DefaultLocation", Int(0)}, {"Visible", Bool(true)}},
         [](QWidget& top, QWidget&) {
             const QPoint centre = QGuiApplication::primaryScreen()->availableGeometry().center();
             EXPECT_LE((top.geometry().center() - centre).manhattanLength(), 2);
         }},
    };
    // clang-format on
    for (const DesignCase& design : cases) {
        SCOPED_TRACE(design.name);
        Answer().record = EncodePropertyRecord(design.record);
        Ref<Object> window = OpenWindow(RecorderClass());
        ASSERT_TRUE(RuntimeWindowVisible(window.get()));
        design.check(*TopLevelOf(window.get()), *ContentOf(window.get()));
        RuntimeCloseWindow(window.get());
        RunDeferredDeletions();
    }
}

// ---- construction, the implicit instance, Show and Hide ---------------------------------

TEST_F(WindowTest, ConstructionRaisesItsEventsInOrderAndShowsTheWindowOnlyWhenVisible) {
    for (bool visible : {true, false}) {
        SCOPED_TRACE(visible);
        Heard().clear();
        Ref<Object> window = OpenRecorder({{"Visible", Bool(visible)}});
        std::vector<std::string> expected = {"Layout", "CreateControls", "AddMenuHandlers self",
                                             "Open visible=False"};
        if (visible) expected.insert(expected.end(), {"Activate", "EnableMenuItems"});
        EXPECT_EQ(std::vector<std::string>(Heard().begin(),
                                           Heard().begin() + std::min(Heard().size(), size_t{6})),
                  expected);
        EXPECT_EQ(RuntimeWindowVisible(window.get()), visible);
        const PropertyEntry* shown = RuntimeFindProperty(window->cls, "Visible");
        EXPECT_EQ(shown->boxedGetter(window.get(), shown).AsBoolean(), visible);
        RuntimeCloseWindow(window.get());
        RunDeferredDeletions();
    }
}

TEST_F(WindowTest, TheImplicitWindowIsFoundByItsClassNameUntilItClosesOrFailsToBuild) {
    const String name("TestWindows.Recorder");
    EXPECT_EQ(RuntimeGetImplicitWindow(name), nullptr);
    Ref<Object> window = OpenRecorder();
    EXPECT_EQ(RuntimeGetImplicitWindow(name), window);
    EXPECT_EQ(RuntimeGetImplicitWindow(String("TestWindows.Plain")), nullptr);
    RuntimeHideWindow(window.get());
    EXPECT_EQ(RuntimeGetImplicitWindow(name), window);  // hidden, still open
    RuntimeCloseWindow(window.get());
    EXPECT_EQ(RuntimeGetImplicitWindow(name), nullptr);

    Heard().clear();
    Answer().record = EncodePropertyRecord(std::vector<RecordEntry>{{"NoSuchKey", Int(1)}});
    EXPECT_EQ(RaisedClass([] { OpenWindow(RecorderClass()); }), "UnsupportedFormatException");
    EXPECT_EQ(Heard(), std::vector<std::string>{"Layout"});  // nothing after the failing step
    EXPECT_EQ(RuntimeGetImplicitWindow(name), nullptr);
    EXPECT_EQ(RuntimeWindowCount(), 0);
}

TEST_F(WindowTest, ShowModalReturnsOnceTheWindowIsHidden) {
    Ref<Object> window = OpenRecorder({{"Visible", Bool(false)}});
    bool modalWhileShown = false;
    QTimer::singleShot(0, [&] {
        modalWhileShown = TopLevelOf(window.get())->isModal() && RuntimeWindowVisible(window.get());
        RuntimeHideWindow(window.get());
    });
    RuntimeCallSlot<void>(window.get(), 24);  // ShowModal
    EXPECT_TRUE(modalWhileShown);
    EXPECT_FALSE(RuntimeWindowVisible(window.get()));
    EXPECT_FALSE(TopLevelOf(window.get())->isModal());
}

TEST_F(WindowTest, ShowBringsAWindowToTheFrontAndHideSendsItBehindTheShownOnes) {
    Ref<Object> recorder = OpenRecorder();
    RuntimeTraceEnable(true);
    Ref<Object> plain = OpenWindow(PlainClass());
    ASSERT_TRUE(QTest::qWaitForWindowActive(TopLevelOf(plain.get())));
    EXPECT_EQ(RuntimeWindowCount(), 2);
    EXPECT_EQ(RuntimeWindowAt(0), plain);

    RuntimeHideWindow(plain.get());
    EXPECT_FALSE(RuntimeWindowVisible(plain.get()));
    EXPECT_EQ(RuntimeWindowAt(0), recorder);

    RuntimeShowWindow(plain.get());
    RuntimeTraceEnable(false);
    EXPECT_TRUE(RuntimeWindowVisible(plain.get()));
    EXPECT_EQ(RuntimeWindowAt(0), plain);
    EXPECT_TRUE(QTest::qWaitForWindowActive(TopLevelOf(plain.get())));
    EXPECT_EQ(ToolkitMenuCommandWindow(), plain.get());
    EXPECT_EQ(RuntimeTraceLog(),
              (std::vector<std::string>{"WindowDefaultConstructor TestWindows.Plain",
                                        "RuntimeHideWindow TestWindows.Plain",
                                        "RuntimeShowWindow TestWindows.Plain"}));
}

// ---- mouse and keys -----------------------------------------------------------------------

TEST_F(WindowTest, MouseDownInContentCoordinatesAndMouseUpOnlyAfterATrueMouseDown) {
    Ref<Object> window = OpenRecorder({{"Width", Int(200)}, {"Height", Int(100)}});
    QWidget* content = ContentOf(window.get());
    for (bool answer : {false, true}) {
        Answer().mouseDown = answer;
        Heard().clear();
        QTest::mouseClick(content, Qt::LeftButton, {}, QPoint(30, 40));
        std::vector<std::string> expected = {"MouseDown 30 40"};
        if (answer) expected.push_back("MouseUp 30 40");
        EXPECT_EQ(Heard(), expected);
    }
    // What Qt delivers for a double click: the second press is followed by a double-click event.
    Heard().clear();
    for (QEvent::Type type :
         {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonPress,
          QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
        const bool down = type != QEvent::MouseButtonRelease;
        QMouseEvent event(type, QPointF(7, 8), content->mapToGlobal(QPointF(7, 8)), Qt::LeftButton,
                          down ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(content, &event);
    }
    EXPECT_EQ(Heard(), (std::vector<std::string>{"MouseDown 7 8", "MouseUp 7 8", "MouseDown 7 8",
                                                 "MouseUp 7 8"}));
    // A press on a child that does not take it reaches MouseDown in content coordinates.
    auto* label = new QLabel("credit", content);
    label->setGeometry(100, 50, 60, 20);
    label->show();
    Answer().mouseDown = false;
    Heard().clear();
    QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(5, 6));
    EXPECT_EQ(Heard(), std::vector<std::string>{"MouseDown 105 56"});
}

TEST_F(WindowTest, KeyDownHearsEachKeyAsTheFrameworksTextAndADeclinedKeyGoesOnToQt) {
    struct Key {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        const char* heard;  // "": no KeyDown
    };
    const Key keys[] = {
        {Qt::Key_A, {}, "a"},
        {Qt::Key_Shift, Qt::ShiftModifier, ""},
        {Qt::Key_Plus, Qt::ShiftModifier, "+"},
        {Qt::Key_Return, {}, "chr(13)"},
        {Qt::Key_Enter, Qt::KeypadModifier, "chr(3)"},
        {Qt::Key_Left, {}, "chr(28)"},
        {Qt::Key_Control, {}, ""},
    };
    Ref<Object> window = OpenRecorder();
    for (const Key& key : keys) {
        Heard().clear();
        QTest::keyClick(TopLevelOf(window.get()), key.key, key.modifiers);
        EXPECT_EQ(Heard(), *key.heard
                               ? std::vector<std::string>{std::string("KeyDown ") + key.heard}
                               : std::vector<std::string>{})
            << key.key;
    }
    for (bool taken : {true, false}) {
        Answer().keyDown = taken;
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Z, Qt::NoModifier, "z");
        QApplication::sendEvent(TopLevelOf(window.get()), &press);
        EXPECT_EQ(press.isAccepted(), taken);
    }
}

// ---- closing ------------------------------------------------------------------------------

TEST_F(WindowTest, ClosingAsksCancelCloseAndOnlyAnUncancelledCloseEndsTheWindow) {
    struct Case {
        const char* name;
        bool byUser;
        bool cancel;
        std::vector<std::string> heard;
    };
    const Case cases[] = {
        {"program, accepted", false, false, {"CancelClose False", "Close"}},
        {"program, cancelled", false, true, {"CancelClose False"}},
        {"user, accepted", true, false, {"CancelClose False", "Close"}},
        {"user, cancelled", true, true, {"CancelClose False"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Ref<Object> window = OpenRecorder();
        Answer().cancelClose = c.cancel;
        Heard().clear();
        if (c.byUser) {
            TopLevelOf(window.get())->close();
        } else {
            RuntimeCloseWindow(window.get());
        }
        std::vector<std::string> closing;
        for (const std::string& heard : Heard())
            if (heard.starts_with("CancelClose") || heard == "Close") closing.push_back(heard);
        EXPECT_EQ(closing, c.heard);
        EXPECT_EQ(RuntimeWindowVisible(window.get()), c.cancel);
        EXPECT_EQ(RuntimeWindowCount(), c.cancel ? 1 : 0);
        if (c.cancel) {
            Answer().cancelClose = false;
            RuntimeCloseWindow(window.get());
        }
        RunDeferredDeletions();
    }
}

// ---- controls and menu handlers by name ---------------------------------------------------

bool AboutAction(Object*) {
    return false;
}

TEST_F(WindowTest, ControlsAndMenuHandlersGoByExactNameAndACloseLetsGoOfThemAll) {
    const int64_t before = RuntimeLiveObjectCount();
    Ref<Object> window = OpenRecorder();
    for (const char* name : {"Label1", "Label2"}) {
        Ref<Object> label = WindowAllocateObject(window.get(), Label::dunder_Lookup());
        RectControlDefaultConstructor(label.get());
        RuntimeCallSlot<void, String, Object*>(window.get(), Window::kAddControlSlot, String(name),
                                               label.get());
        EXPECT_EQ(ToolkitControlOwner(label.get()), window.get());
    }
    Ref<Object> first = RuntimeCallSlot<Ref<Object>, String>(
        window.get(), Window::kControlByNameSlot, String("Label1"));
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->cls, Label::dunder_Lookup());
    EXPECT_EQ(RuntimeControlReference(window.get(), String("label1")), nullptr);
    const PropertyEntry* count = RuntimeFindProperty(window->cls, "ControlCount");
    EXPECT_EQ(count->boxedGetter(window.get(), count).AsInteger(), 2);
    Ref<Object> second = RuntimeControlReference(window.get(), String("Label2"));
    EXPECT_EQ(RuntimeCallSlot<Ref<Object>>(window.get(), 8, int64_t{1}), second);  // Control(1)

    RuntimeCallSlot<void, String, void*>(window.get(), Window::kAddMenuHandlerSlot, String("About"),
                                         reinterpret_cast<void*>(&AboutAction));
    EXPECT_EQ(ToolkitWindowMenuHandler(window.get(), String("About")),
              reinterpret_cast<GenericFn>(&AboutAction));
    EXPECT_EQ(ToolkitWindowMenuHandler(window.get(), String("about")), nullptr);
    EXPECT_EQ(ToolkitMenuCommandWindow(), window.get());

    RuntimeCloseWindow(window.get());
    first.Reset();
    second.Reset();
    window.Reset();
    EXPECT_GT(RuntimeLiveObjectCount(), before);  // kept until the widget goes
    RunDeferredDeletions();
    EXPECT_EQ(RuntimeLiveObjectCount(), before);
}

// ---- the menu bar -------------------------------------------------------------------------

Ref<Object> NewMenuItem(ClassRecord* cls, const char* name, const char* caption) {
    Ref<Object> item = RuntimeNewObject(cls);
    RuntimeCallSlot<void>(item.get(), MenuItem::kConstructorSlot);
    RuntimeMenuItemNameSetter(item.get(), 0, name);
    RuntimeMenuItemTextSetter(item.get(), 0, caption);
    return item;
}

TEST_F(WindowTest, TheMenuBarStandsAboveTheContentWhichKeepsItsDesignSize) {
    Ref<Object> bar = NewMenuItem(MenuBar::dunder_Lookup(), "Bar", "");
    Ref<Object> file = NewMenuItem(MenuItem::dunder_Lookup(), "FileMenu", "File");
    Ref<Object> quit = NewMenuItem(QuitMenuItem::dunder_Lookup(), "FileQuit", "Quit");
    RuntimeMenuItemAppend(file.get(), quit.get());
    RuntimeMenuItemAppend(bar.get(), file.get());
    Answer().menuBar = bar.get();
    for (bool barVisible : {true, false}) {
        SCOPED_TRACE(barVisible);
        Ref<Object> window = OpenRecorder({{"Width", Int(300)},
                                           {"Height", Int(200)},
                                           {"Resizeable", Bool(false)},
                                           {"MenuBarVisible", Bool(barVisible)}});
        EXPECT_EQ(WindowMenuBarGetter(window.get(), 0), bar);
        QWidget* content = ContentOf(window.get());
        auto* menuBar = TopLevelOf(window.get())->findChild<QMenuBar*>();
        ASSERT_NE(menuBar, nullptr);
        const int barHeight = barVisible ? menuBar->height() : 0;
        EXPECT_EQ(barHeight > 0, barVisible);
        EXPECT_EQ(content->size(), QSize(300, 200));
        EXPECT_EQ(content->y(), barHeight);
        EXPECT_EQ(TopLevelOf(window.get())->height(), 200 + barHeight);
        RuntimeCloseWindow(window.get());
        RunDeferredDeletions();
    }
    Answer().menuBar = nullptr;
}

}  // namespace
