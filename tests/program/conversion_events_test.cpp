// The conversion window's own events, its About command and its implicit instance.
#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "conversion_fixture.h"
#include "splash/splash_wnd.h"

namespace conversion_test {
namespace {

bool SplashVisible() {
    Ref<Object> splash = RuntimeGetImplicitWindow(String("SplashWnd.SplashWnd"));
    return splash && RuntimeWindowVisible(splash.get());
}

QAction* FindAction(const QList<QAction*>& actions, const QString& caption) {
    for (QAction* action : actions) {
        if (action->text().remove('&') == caption) return action;
        if (QAction* found =
                action->menu() ? FindAction(action->menu()->actions(), caption) : nullptr)
            return found;
    }
    return nullptr;
}

using ConversionEvents = ConversionWindowTest;

TEST_F(ConversionEvents, OpeningEmptiesTheFieldsAndHidesTheSplashWindow) {
    if (!SplashWnd::SplashWnd::dunder_Lookup()) GTEST_SKIP() << "no splash window class";
    Type("rEdit", "0.5");
    RuntimeShowWindow(SplashWnd::SplashWnd().get());
    ASSERT_TRUE(SplashVisible());
    CloseNow();
    Open();
    EXPECT_EQ(RText() + ZText(), "");
    EXPECT_FALSE(SplashVisible());
    EXPECT_EQ(MainWnd::MainWnd().get(), window()) << "one window while it is open";
}

TEST_F(ConversionEvents, AboutShowsTheSplashWindowAndActivationHidesItAgain) {
    if (!SplashWnd::SplashWnd::dunder_Lookup()) GTEST_SKIP() << "no splash window class";
    QWidget* top = ToolkitWindowWidget(window())->window();
    auto* bar = top->findChild<QMenuBar*>();
    ASSERT_NE(bar, nullptr);
    QAction* about = FindAction(bar->actions(), "About Corvane");
    ASSERT_NE(about, nullptr);
    top->activateWindow();
    QApplication::processEvents();
    ASSERT_FALSE(SplashVisible());
    about->trigger();
    QApplication::processEvents();
    EXPECT_TRUE(SplashVisible());
    top->activateWindow();
    EXPECT_TRUE(QTest::qWaitFor([] { return !SplashVisible(); }, 1000));
}

TEST_F(ConversionEvents, EnableMenuItemsEnablesAbout) {
    Ref<Object> about = Accessor(W::kAboutSlot);
    RuntimeMenuItemEnabledSetter(about.get(), 0, false);
    ToolkitRaiseEnableMenuItems(window());
    EXPECT_TRUE(RuntimeMenuItemEnabledGetter(about.get(), 0));
}

TEST_F(ConversionEvents, ClosingTheWindowQuitsWithStatusZero) {
    RuntimeSetExitStatus(7);
    CloseNow();
    EXPECT_EQ(RuntimeExit(), 0);
    EXPECT_FALSE(RuntimeGetImplicitWindow(String("MainWnd.MainWnd")));
}

TEST_F(ConversionEvents, AClosedWindowLeavesNoObjectBehind) {
    CloseNow();
    const int64_t before = RuntimeLiveObjectCount();
    Open();
    Type("rEdit", "0.5");
    Click("CalcBtn");
    Click("qBtn");
    CloseNow();
    EXPECT_EQ(RuntimeLiveObjectCount(), before);
}

}  // namespace
}  // namespace conversion_test
