// The start-up in its fixed order, the end of a run, a start-up that fails, and the
// exception hook through which the framework runs program code.
#include <string>
#include <thread>
#include <vector>

#include "conversion/main_wnd.h"
#include "shell/credits.h"
#include "shell/file_types.h"
#include "shell/menu.h"
#include "splash/splash_wnd.h"
#include "startup_fixture.h"

namespace {

// A run ended by closing the conversion window, or by File › Quit.
class StartupTest : public ProgramRunTest, public testing::WithParamInterface<bool> {};

// The framework calls of the start-up up to the application's menu bar, in order.
std::vector<std::string> StartupCalls() {
    return {"RuntimeSetVersion 2019.031000",
            "ApplicationSetSupportsHiDPI True",
            "RuntimeInitExternalClasses",
            "InitPluginEntrypoints",
            "ResolvePluginClasses",
            "RuntimeRegisterFileType text|R*ch|TEXT||",
            "_x_SetVersionData 3|0|0|0|3|" + std::string(kCreditLine) + "|3.0|Corvane Conversion"};
}

TEST_P(StartupTest, StartsInItsFixedOrderAndEndsWithStatusZero) {
    At(4300, [] {
        Ref<Object> app = RuntimeApplicationObject(), conversion = Conversion();
        ASSERT_TRUE(app && conversion);
        EXPECT_EQ(AppMenuBarGetter(app.get(), 0).get(), Menu::Menu().get());
        EXPECT_EQ(WindowMenuBarGetter(conversion.get(), 0).get(), Menu::Menu().get());
        for (int i = 0; i < 2; ++i) {  // the accessors give the one window of each class
            EXPECT_EQ(SplashWnd::SplashWnd().get(), Splash().get());
            EXPECT_EQ(MainWnd::MainWnd().get(), conversion.get());
        }
        if (GetParam()) Close(conversion.get());
        if (!GetParam()) Choose(conversion.get(), "Quit");
    });
    EXPECT_EQ(Run(), 0);

    std::vector<std::string> expected = StartupCalls();
    for (const char* call : {"AppMenuBarSetter Menu.Menu", "RuntimeRegisterAppObject App",
                             "RunFrameworkInitialization",
                             "WindowDefaultConstructor SplashWnd.SplashWnd", "RuntimeRun"})
        expected.push_back(call);
    std::vector<std::string> trace = RuntimeTraceLog();
    ASSERT_GE(trace.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(trace.begin(), trace.begin() + expected.size()), expected);
    EXPECT_EQ(trace.back(), "RuntimePerformFinalizers");
    EXPECT_EQ(RuntimeUnhandledExceptionCount(), 0);
    Ref<Object> text = FileTypes::Text();
    const PropertyEntry* imported = RuntimeFindProperty(text->cls, "Imported");
    EXPECT_TRUE(imported->boxedGetter(text.get(), imported).AsBoolean()) << "the text type";

    const std::vector<std::string> ours = {
        "FileTypes.pAllFileTypes.__Init", "FileTypes.pText.__Init",
        "MainWnd.MainWnd.__ctblinit",     "Menu._implicitInstance.__Init",
        "Menu.Menu.__ctblinit",           "SplashWnd._wrapper_Timer1.__ctblinit",
        "SplashWnd.SplashWnd.__ctblinit", "App.__ctblinit"};
    const std::vector<std::string>& run = RuntimeInitializersRun();
    ASSERT_EQ(run.size(), FrameworkInitializers().size() + ours.size());
    EXPECT_EQ(std::vector<std::string>(run.end() - 8, run.end()), ours) << "ours come last";
}

INSTANTIATE_TEST_SUITE_P(ClosedOrQuit, StartupTest, testing::Bool(),
                         [](const auto& info) { return info.param ? "Close" : "FileQuit"; });

using FailingStartupTest = ProgramRunTest;

// The start-up driver run off the main thread, the process's steps around it as RunProgram
// takes them: the menu bar's items refuse to be built there (ThreadAccessingUIException), so
// the real Menu.Menu accessor fails while the application object is set up.
TEST_F(FailingStartupTest, AMenuBarThatCannotBeBuiltEndsTheStartupAtThatStepWithOneReport) {
    RuntimePerformInitializers(ProgramInitializers());
    std::thread(&under_Main).join();
    RuntimePerformFinalizers();

    EXPECT_NE(RuntimeExit(), 0);
    EXPECT_EQ(RuntimeUnhandledExceptionCount(), 1);
    // Version data given, then neither menu bar nor registration, no framework initialisation
    // and no event loop; the report, the finalisers.
    std::vector<std::string> expected = StartupCalls();
    expected.push_back("RuntimeUnhandledException ThreadAccessingUIException");
    expected.push_back("RuntimePerformFinalizers");
    EXPECT_EQ(RuntimeTraceLog(), expected);
    EXPECT_FALSE(RuntimeApplicationObject()) << "the application object was not registered";
    EXPECT_EQ(RuntimeWindowCount(), 0);
    EXPECT_EQ(RuntimeMenuItemCount(Menu::Menu().get()), 4) << "no half-built bar was kept";
}

void Completes(void* calls) {
    ++*static_cast<int*>(calls);
}
void UsesANilObject(void*) {
    RaiseNilObjectException();
}
void RaisesAWeakRef(void*) {
    RuntimeRaise(RuntimeNewWeakRef(nullptr));
}
Ref<Object> Hook(void (*function)(void*), void* argument) {
    return under_CallFunctionWithExceptionHandling(reinterpret_cast<void*>(function), argument);
}

TEST(StartupExceptionHook, GivesNilTheRaisedRuntimeExceptionOrLeavesAnyOtherObjectPending) {
    int calls = 0;
    EXPECT_FALSE(Hook(&Completes, &calls));
    EXPECT_EQ(calls, 1);

    const int64_t before = RuntimeLiveObjectCount();
    {
        Ref<Object> taken = Hook(&UsesANilObject, nullptr);
        ASSERT_TRUE(taken);
        EXPECT_EQ(taken->cls, NilObjectException::dunder_Lookup());
        EXPECT_EQ(taken->refcount, 1) << "the caller's reference is the only one";
    }
    EXPECT_EQ(RuntimeLiveObjectCount(), before);

    try {
        Hook(&RaisesAWeakRef, nullptr);
        ADD_FAILURE() << "an object that is no RuntimeException was taken";
    } catch (const RaisedException& pending) {
        EXPECT_EQ(pending.ExceptionObject()->cls, WeakRef::dunder_Lookup());
    }
}

}  // namespace
