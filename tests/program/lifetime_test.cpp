// Windows leave no runtime object behind: once a conversion window or a splash window has
// been built, used and closed, the count of live objects is back where it started.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <cstdint>

#include "conversion/main_wnd.h"
#include "framework/toolkit/toolkit.h"
#include "framework/toolkit/toolkit_internal.h"
#include "shell/menu.h"
#include "shell/pictures.h"
#include "splash/splash_wnd.h"

namespace {

// The widget named `name` inside a framework window.
template <class T>
T* Widget(Object* window, const char* name) {
    QWidget* content = ToolkitWindowWidget(window);
    QWidget* found = content ? content->findChild<QWidget*>(QString::fromUtf8(name)) : nullptr;
    if (!found) return nullptr;
    if (auto* exact = qobject_cast<T*>(found)) return exact;
    return found->findChild<T*>();
}

// Closes the window registered under `qualifiedName`, if any, and lets Qt delete it.
void CloseImplicitWindow(const char* qualifiedName) {
    if (Ref<Object> window = RuntimeGetImplicitWindow(String(qualifiedName)))
        RuntimeCloseWindow(window.get());
}

// Chooses the menu item captioned `caption` from the window's menu bar, as a person would.
void Choose(Object* window, const char* caption) {
    QWidget* content = ToolkitWindowWidget(window);
    QMenuBar* bar = content ? content->window()->findChild<QMenuBar*>() : nullptr;
    ASSERT_NE(bar, nullptr);
    for (QAction* top : bar->actions()) {
        if (!top->menu()) continue;
        emit top->menu()->aboutToShow();  // the items are enabled as the menu opens
        for (QAction* item : top->menu()->actions())
            if (item->text() == QString::fromUtf8(caption)) {
                ASSERT_TRUE(item->isEnabled()) << caption;
                item->trigger();
                return;
            }
    }
    ADD_FAILURE() << "no menu item " << caption;
}

void LetClosedWindowsGo() {
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
}

class LifetimeTest : public testing::Test {
  protected:
    // The menu bar and the three pictures live for the rest of the process once first
    // asked for; they are made here so that only what a window makes itself is counted.
    void SetUp() override {
        RuntimeSetExitStatus(0);
        ToolkitClearMessageBoxes();
        Menu::Menu();
        _x_Checks::Checks();
        _x_corvane::corvane();
        _x_corvane2::corvane2();
        start_ = RuntimeLiveObjectCount();
    }
    void TearDown() override {
        CloseImplicitWindow("MainWnd.MainWnd");
        CloseImplicitWindow("SplashWnd.SplashWnd");
        LetClosedWindowsGo();
        RuntimeSetExitStatus(0);
    }

    // Objects alive now beyond those alive at the start of the test.
    int64_t Extra() const { return RuntimeLiveObjectCount() - start_; }

    // Builds the conversion window (which builds the splash window on opening), works it as a
    // person would, and closes both.
    void UseAndCloseConversionWindow() {
        Ref<Object> window = MainWnd::MainWnd();
        ASSERT_TRUE(window);
        QApplication::processEvents();
        auto* r = Widget<QLineEdit>(window.get(), "rEdit");
        auto* z = Widget<QLineEdit>(window.get(), "zEdit");
        ASSERT_TRUE(r && z);
        QTest::keyClicks(r, "0.5");
        QTest::mouseClick(Widget<QPushButton>(window.get(), "CalcBtn"), Qt::LeftButton);
        QTest::mouseClick(Widget<QPushButton>(window.get(), "ClearBtn"), Qt::LeftButton);
        QTest::keyClicks(z, "9");  // out of range: the message box
        QTest::mouseClick(Widget<QPushButton>(window.get(), "CalcBtn"), Qt::LeftButton);
        QTest::keyClick(r, Qt::Key_A);  // rejected: a beep
        QTest::mouseClick(Widget<QPushButton>(window.get(), "qBtn"), Qt::LeftButton);
        QWidget* top = ToolkitWindowWidget(window.get())->window();
        top->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(top));
        QTest::keyClicks(r, "0.25");
        r->setFocus();
        r->selectAll();
        Choose(window.get(), "Copy");
        Choose(window.get(), "Paste");
        Choose(window.get(), "About Corvane");
        EXPECT_EQ(ToolkitMessageBoxes().size(), 1u);
        EXPECT_GT(Extra(), 0) << "the open windows and their controls are counted";
        RuntimeCloseWindow(window.get());
        window.Reset();
        CloseImplicitWindow("SplashWnd.SplashWnd");
        LetClosedWindowsGo();
        EXPECT_EQ(RuntimeWindowCount(), 0);
    }

  private:
    int64_t start_ = 0;
};

TEST_F(LifetimeTest, AConversionWindowBuiltUsedAndClosedLeavesNoObject) {
    UseAndCloseConversionWindow();
    EXPECT_EQ(Extra(), 0);
}

TEST_F(LifetimeTest, RepeatedConversionWindowsDoNotAccumulateObjects) {
    for (int round = 0; round < 3; ++round) {
        ToolkitClearMessageBoxes();
        UseAndCloseConversionWindow();
        EXPECT_EQ(Extra(), 0) << "after round " << round;
    }
}

TEST_F(LifetimeTest, ASplashWindowClosedBeforeOrAfterItsTimerLeavesNoObject) {
    struct Case {
        const char* when;
        int waitMs;  // how long the window stays open; its timer fires at 4000 ms
    } const cases[] = {{"before the timer fires", 0}, {"after the timer fired", 4200}};
    for (const Case& c : cases) {
        {
            Ref<Object> splash = SplashWnd::SplashWnd();
            ASSERT_TRUE(splash);
            EXPECT_TRUE(RuntimeWindowVisible(splash.get()));
            if (c.waitMs > 0) {
                QTest::qWait(c.waitMs);
                EXPECT_TRUE(RuntimeGetImplicitWindow(String("MainWnd.MainWnd")))
                    << "the timer brought up the conversion window";
            }
        }
        CloseImplicitWindow("MainWnd.MainWnd");
        CloseImplicitWindow("SplashWnd.SplashWnd");
        LetClosedWindowsGo();
        EXPECT_EQ(RuntimeWindowCount(), 0) << c.when;
        EXPECT_EQ(Extra(), 0) << c.when;
    }
}

}  // namespace
