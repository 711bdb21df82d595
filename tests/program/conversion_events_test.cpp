// The conversion window's own events, its About command and its implicit instance.
#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "conversion_fixture.h"
#include "splash/splash_wnd.h"

namespace conversion_test {
namespace {

// The splash window can be made once its class record builds.
bool SplashAvailable() { return SplashWnd::SplashWnd::dunder_Lookup() != nullptr; }

bool SplashVisible() {
    Ref<Object> splash = RuntimeGetImplicitWindow(String("SplashWnd.SplashWnd"));
    return splash && RuntimeWindowVisible(splash.get());
}

// The action that shows menu item `caption` in the window's Qt menu bar, at any depth.
QAction* FindAction(const QList<QAction*>& actions, const QString& caption) {
    for (QAction* action : actions) {
        if (action->text().remove('&') == caption) return action;
        if (QMenu* menu = action->menu())
            if (QAction* found = FindAction(menu->actions(), caption)) return found;
    }
    return nullptr;
}

using ConversionEvents = ConversionWindowTest;

TEST_F(ConversionEvents, AccessorReturnsTheOneOpenWindow) {
    Ref<Object> again = MainWnd::MainWnd();
    EXPECT_EQ(again.get(), window());
    Ref<Object> registered = RuntimeGetImplicitWindow(String("MainWnd.MainWnd"));
    EXPECT_EQ(registered.get(), window());
    EXPECT_EQ(again->cls, W::dunder_Lookup());
}

TEST_F(ConversionEvents, OpeningEmptiesTheFieldsAndHidesTheSplashWindow) {
    if (!SplashAvailable()) GTEST_SKIP() << "the splash window is not built yet";
    Type("rEdit", "0.5");
    Ref<Object> splash = SplashWnd::SplashWnd();
    RuntimeShowWindow(splash.get());
    ASSERT_TRUE(SplashVisible());

    Reopen();

    EXPECT_EQ(RText(), "");
    EXPECT_EQ(ZText(), "");
    EXPECT_FALSE(SplashVisible());
}

TEST_F(ConversionEvents, AboutShowsTheSplashWindowAndActivationHidesItAgain) {
    if (!SplashAvailable()) GTEST_SKIP() << "the splash window is not built yet";
    QWidget* top = ToolkitWindowWidget(window());
    ASSERT_NE(top, nullptr);
    auto* bar = top->findChild<QMenuBar*>();
    ASSERT_NE(bar, nullptr) << "the window shows no menu bar";
    QAction* about = FindAction(bar->actions(), "About Corvane");
    ASSERT_NE(about, nullptr);
    ASSERT_FALSE(SplashVisible());

    top->activateWindow();
    QApplication::processEvents();
    about->trigger();
    QApplication::processEvents();
    EXPECT_TRUE(SplashVisible());

    top->activateWindow();
    QTest::qWait(20);
    EXPECT_TRUE(QTest::qWaitFor([] { return !SplashVisible(); }, 1000))
        << "activating the conversion window hides the About box";
}

TEST_F(ConversionEvents, EnableMenuItemsEnablesAbout) {
    Ref<Object> about = Accessor(W::kAboutSlot);
    ASSERT_TRUE(about);
    RuntimeMenuItemEnabledSetter(about.get(), 0, false);
    ToolkitRaiseEnableMenuItems(window());
    EXPECT_TRUE(RuntimeMenuItemEnabledGetter(about.get(), 0));
}

TEST_F(ConversionEvents, AboutIsBoundToTheWindowsAboutAction) {
    EXPECT_EQ(ToolkitWindowMenuHandler(window(), String("About")), window()->vtable[W::kAboutActionSlot]);
}

TEST_F(ConversionEvents, ClosingTheWindowQuitsWithStatusZero) {
    RuntimeSetExitStatus(7);
    CloseNow();
    EXPECT_EQ(RuntimeExit(), 0);
    EXPECT_FALSE(RuntimeGetImplicitWindow(String("MainWnd.MainWnd")));
}

TEST_F(ConversionEvents, MouseEventsOfTheWindowDoNothing) {
    Type("rEdit", "0.5");
    QWidget* top = ToolkitWindowWidget(window());
    QTest::mouseClick(top, Qt::LeftButton, {}, QPoint(200, 150));
    EXPECT_EQ(RText(), "0.5");
    EXPECT_EQ(ToolkitBeepCount(), 0);
    EXPECT_TRUE(ToolkitMessageBoxes().empty());
}

}  // namespace
}  // namespace conversion_test
