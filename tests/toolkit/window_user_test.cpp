// What the user does to a window from outside the program: a close request to a window
// designed without a close button, and reaching for a window's own menu bar, which activates
// the window without the user coming back to it.
#include <gtest/gtest.h>

#include <QMenuBar>
#include <QTest>
#include <algorithm>

#include "tests/toolkit/raised.h"
#include "tests/toolkit/recorder_window.h"

namespace {

using namespace recorder;

class WindowUserTest : public LeakCheckedTest {
  protected:
    void SetUp() override {
        ToolkitResetForTesting();
        recorder::Heard().clear();
        Answer() = Answers{};
        LeakCheckedTest::SetUp();
    }
    void TearDown() override {
        Answer() = Answers{};
        ToolkitResetForTesting();
        LeakCheckedTest::TearDown();
    }
    static Ref<Object> Open(std::initializer_list<RecordEntry> entries) {
        Answer().record = EncodePropertyRecord(std::span(entries.begin(), entries.size()));
        Ref<Object> window = OpenWindow(RecorderClass());
        EXPECT_TRUE(QTest::qWaitForWindowActive(TopLevelOf(window.get())));
        return window;
    }
    static int Count(const std::string& what) {
        return int(std::count(recorder::Heard().begin(), recorder::Heard().end(), what));
    }
};

TEST_F(WindowUserTest, ACloseRequestOnlyHidesAWindowWithoutACloseButton) {
    for (bool closeButton : {false, true}) {
        SCOPED_TRACE(closeButton);
        Ref<Object> window = Open({{"HasCloseButton", Bool(closeButton)}});
        recorder::Heard().clear();
        TopLevelOf(window.get())->close();  // what Alt+F4 or a title-bar button sends
        EXPECT_FALSE(RuntimeWindowVisible(window.get()));
        EXPECT_EQ(Count("Close"), closeButton ? 1 : 0);
        EXPECT_EQ(RuntimeWindowCount(), closeButton ? 0 : 1) << "closed, or kept open";
        if (!closeButton) {
            RuntimeShowWindow(window.get());
            EXPECT_TRUE(RuntimeWindowVisible(window.get()));
            RuntimeCloseWindow(window.get());  // the program still closes it
            EXPECT_EQ(Count("Close"), 1);
        }
        RunDeferredDeletions();
    }
}

TEST_F(WindowUserTest, AnActivationByItsOwnMenuBarWaitsForThePersonsNextPressInTheWindow) {
    Ref<Object> bar = RuntimeNewObject(MenuBar::dunder_Lookup());
    RuntimeCallSlot<void>(bar.get(), MenuItem::kConstructorSlot);
    Answer().menuBar = bar.get();
    Ref<Object> window = Open({{"Width", Int(300)}, {"Height", Int(200)}});
    Answer().menuBar = nullptr;
    Ref<Object> other = Open({});
    QWidget* top = TopLevelOf(window.get());
    auto* menuBar = top->findChild<QMenuBar*>();
    ASSERT_NE(menuBar, nullptr);

    for (bool byMenuBar : {true, false}) {
        SCOPED_TRACE(byMenuBar);
        QApplication::setActiveWindow(TopLevelOf(other.get()));
        QWidget* pressed = byMenuBar ? static_cast<QWidget*>(menuBar) : ContentOf(window.get());
        recorder::Heard().clear();
        QTest::mouseClick(pressed, Qt::LeftButton, {}, QPoint(2, 2));
        QApplication::setActiveWindow(top);  // as the window system activates it
        EXPECT_EQ(Count("Activate"), byMenuBar ? 0 : 1);
        EXPECT_EQ(Count("EnableMenuItems"), 1);
        QTest::mouseClick(ContentOf(window.get()), Qt::LeftButton, {}, QPoint(5, 6));
        EXPECT_EQ(Count("Activate"), 1) << "coming back to the window";
        EXPECT_LT(std::find(recorder::Heard().begin(), recorder::Heard().end(), "Activate"),
                  std::find(recorder::Heard().begin(), recorder::Heard().end(), "MouseDown 5 6"));
    }
    RuntimeCloseWindow(window.get());
    RuntimeCloseWindow(other.get());
    RunDeferredDeletions();
}

}  // namespace
