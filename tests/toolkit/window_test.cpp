// Windows on the offscreen platform: design records applied by Layout, and the events of
// construction.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <QTest>
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
        EXPECT_TRUE(!RuntimeWindowVisible(window.get()) ||
                    QTest::qWaitForWindowActive(TopLevelOf(window.get())));
        return window;
    }
    static void Close(Object* window) {
        RuntimeCloseWindow(window);
        RunDeferredDeletions();
    }
};

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
             EXPECT_EQ(top.windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint |
                                            Qt::WindowMaximizeButtonHint | Qt::FramelessWindowHint),
                       Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint);
             EXPECT_EQ(top.minimumSize(), top.maximumSize());
         }},
        {"plain box without title or close button, centred on the main screen",
         {{"Width", Int(330)}, {"Height", Int(165)}, {"Type", Int(2)}, {"Title", Str("")},
          {"HasCloseButton", Bool(false)}, {"DefaultLocation", Int(0)}, {"Visible", Bool(true)}},
         [](QWidget& top, QWidget& content) {
             EXPECT_EQ(content.size(), QSize(330, 165));
             EXPECT_TRUE(top.windowFlags() & Qt::FramelessWindowHint);
             const QPoint centre = QGuiApplication::primaryScreen()->availableGeometry().center();
             EXPECT_LE((top.geometry().center() - centre).manhattanLength(), 2);
         }},
        {"resizable between its limits, filled with its background colour",
         {{"Width", Int(300)}, {"Height", Int(200)}, {"MinimumWidth", Int(100)},
          {"MinimumHeight", Int(80)}, {"MaximumWidth", Int(800)}, {"MaximumHeight", Int(600)},
          {"Resizeable", Bool(true)}, {"HasBackgroundColor", Bool(true)},
          {"BackgroundColor", Rgba(0xEE, 0xEE, 0xEE, 0)}, {"Visible", Bool(true)}},
         [](QWidget& top, QWidget& content) {
             EXPECT_EQ(top.minimumSize(), QSize(100, 80));
             EXPECT_EQ(top.maximumSize(), QSize(800, 600));
             EXPECT_TRUE(content.autoFillBackground());
             EXPECT_EQ(content.palette().color(QPalette::Window), QColor(0xEE, 0xEE, 0xEE));
         }},
    };
    // clang-format on
    for (const DesignCase& design : cases) {
        SCOPED_TRACE(design.name);
        Answer().record = EncodePropertyRecord(design.record);
        Ref<Object> window = OpenWindow(RecorderClass());
        ASSERT_TRUE(RuntimeWindowVisible(window.get()));
        design.check(*TopLevelOf(window.get()), *ContentOf(window.get()));
        Close(window.get());
    }
}

TEST_F(WindowTest, ConstructionRaisesItsEventsInOrderAndShowsTheWindowOnlyWhenVisible) {
    for (bool visible : {true, false}) {
        SCOPED_TRACE(visible);
        Heard().clear();
        Ref<Object> window = OpenRecorder({{"Visible", Bool(visible)}});
        std::vector<std::string> expected = {"Layout", "CreateControls", "AddMenuHandlers self",
                                             "Open visible=False"};
        if (visible) expected.insert(expected.end(), {"Activate", "EnableMenuItems"});
        Heard().resize(std::min(Heard().size(), expected.size()));
        EXPECT_EQ(Heard(), expected);
        EXPECT_EQ(RuntimeWindowVisible(window.get()), visible);
        Close(window.get());
    }
}

}  // namespace
