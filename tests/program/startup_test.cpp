// The start-up in its fixed order, the end of a run, a start-up that fails, and the
// exception hook through which the framework runs program code.
#include <string>
#include <vector>

#include "conversion/main_wnd.h"
#include "shell/credits.h"
#include "shell/file_types.h"
#include "shell/menu.h"
#include "splash/splash_wnd.h"
#include "startup_fixture.h"

namespace {

class StartupTest : public ProgramRunTest {};

// The framework calls of the start-up up to the event loop, in order.
std::vector<std::string> StartupCalls() {
    return {"RuntimeSetVersion 2019.031000",
            "ApplicationSetSupportsHiDPI True",
            "RuntimeInitExternalClasses",
            "InitPluginEntrypoints",
            "ResolvePluginClasses",
            "RuntimeRegisterFileType text|R*ch|TEXT||",
            "_x_SetVersionData 3|0|0|0|3|" + std::string(kCreditLine) + "|3.0|Corvane Conversion"};
}

Variant PropertyOf(Object* object, const char* name) {
    const PropertyEntry* entry = RuntimeFindProperty(object->cls, name);
    return entry ? entry->boxedGetter(object, entry) : Variant("<no such property>");
}

TEST_F(StartupTest, StartsInItsFixedOrderAndEndsWithStatusZeroWhenTheConversionWindowCloses) {
    At(0, [] {
        ASSERT_EQ(RuntimeWindowCount(), 1) << "the splash window is the first window";
        EXPECT_TRUE(Shown(Splash()));
    });
    At(4300, [] {
        Ref<Object> app = RuntimeApplicationObject(), conversion = Conversion();
        ASSERT_TRUE(app && conversion);
        EXPECT_EQ(PropertyOf(app.get(), "_x_mRegionCode").AsInteger(), 0)
            << "the program sets no region";
        Ref<Object> bar = AppMenuBarGetter(app.get(), 0);
        EXPECT_EQ(bar.get(), Menu::Menu().get());
        EXPECT_EQ(WindowMenuBarGetter(conversion.get(), 0).get(), bar.get()) << "one bar for both";
        for (int i = 0; i < 2; ++i) {
            EXPECT_EQ(SplashWnd::SplashWnd().get(), Splash().get());
            EXPECT_EQ(MainWnd::MainWnd().get(), conversion.get());
        }
        EXPECT_EQ(RuntimeWindowCount(), 2);
        Close(conversion.get());
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
    EXPECT_EQ(RuntimeRegisteredFileTypes().size(), 1u);
    EXPECT_TRUE(PropertyOf(FileTypes::Text().get(), "Imported").AsBoolean());

    const std::vector<std::string> ours = {
        "FileTypes.pAllFileTypes.__Init", "FileTypes.pText.__Init",
        "MainWnd.MainWnd.__ctblinit",     "Menu._implicitInstance.__Init",
        "Menu.Menu.__ctblinit",           "SplashWnd._wrapper_Timer1.__ctblinit",
        "SplashWnd.SplashWnd.__ctblinit", "App.__ctblinit"};
    const std::vector<std::string>& run = RuntimeInitializersRun();
    ASSERT_EQ(run.size(), FrameworkInitializers().size() + ours.size());
    EXPECT_EQ(std::vector<std::string>(run.end() - 8, run.end()), ours)
        << "the program's entries come last";
}

TEST_F(StartupTest, FileQuitEndsTheRunWithStatusZero) {
    At(4300, [] { Choose(Conversion().get(), "Quit"); });
    EXPECT_EQ(Run(), 0);
}

Ref<Object> FailingMenuBar() {
    RaiseNilObjectException();
}
bool gFinalized = false;

TEST_F(StartupTest, AnExceptionWhileTheApplicationIsSetUpEndsTheStartupThere) {
    StartupSetMenuBarSourceForTesting(&FailingMenuBar);
    gFinalized = false;
    RuntimeAddFinalizer([] { gFinalized = true; });

    EXPECT_NE(Run(2000), 0);
    EXPECT_FALSE(loopStarted_) << "no event loop";
    EXPECT_TRUE(gFinalized);
    EXPECT_EQ(RuntimeUnhandledExceptionCount(), 1);
    EXPECT_EQ(RuntimeWindowCount(), 0);
    // Version data given, then neither menu bar nor registration; the report, the finalisers.
    std::vector<std::string> expected = StartupCalls();
    expected.push_back("RuntimeUnhandledException NilObjectException");
    expected.push_back("RuntimePerformFinalizers");
    EXPECT_EQ(RuntimeTraceLog(), expected);
    EXPECT_EQ(RuntimeMenuItemCount(Menu::Menu().get()), 4)
        << "the accessor still builds a whole bar";
}

void RaisingReport(Object*) {
    RaiseNilObjectException();
}
Ref<Object> FailingMenuBarAndReport() {
    RuntimeSetUnhandledExceptionReporter(&RaisingReport);
    RaiseNilObjectException();
}

TEST_F(StartupTest, AReportThatRaisesStillEndsWithTheFinalisersAndANonZeroStatus) {
    StartupSetMenuBarSourceForTesting(&FailingMenuBarAndReport);
    gFinalized = false;
    RuntimeAddFinalizer([] { gFinalized = true; });
    EXPECT_NE(Run(2000), 0);
    EXPECT_TRUE(gFinalized);
    RuntimeInitExternalClasses();  // puts the toolkit's report back
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
    return _CallFunctionWithExceptionHandling(reinterpret_cast<void*>(function), argument);
}

TEST(ExceptionHook, GivesNilTheRaisedRuntimeExceptionOrLeavesAnyOtherObjectPending) {
    int calls = 0;
    EXPECT_FALSE(Hook(&Completes, &calls));
    EXPECT_EQ(calls, 1);

    int64_t before = RuntimeLiveObjectCount();
    {
        Ref<Object> taken = Hook(&UsesANilObject, nullptr);
        ASSERT_TRUE(taken);
        EXPECT_TRUE(RuntimeObjectIsa(taken.get(), NilObjectException::dunder_Lookup()));
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
