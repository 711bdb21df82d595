// The exception hook through which the framework runs program code, and what a failed
// start-up leaves behind: one report, no event loop, finalisers run, a non-zero status.
#include <gtest/gtest.h>

#include "framework/toolkit/toolkit.h"
#include "shell/credits.h"
#include "shell/menu.h"
#include "startup_fixture.h"

namespace {

using startup_test::ProgramRunTest;

void Completes(void* argument) { *static_cast<int*>(argument) += 1; }
void UsesANilObject(void*) { RaiseNilObjectException(); }
void RaisesAWeakRef(void*) { RuntimeRaise(RuntimeNewWeakRef(nullptr)); }

TEST(ExceptionHook, ReturnsNilForAFunctionThatCompletes) {
    int calls = 0;
    Ref<Object> result = _CallFunctionWithExceptionHandling(reinterpret_cast<void*>(&Completes), &calls);
    EXPECT_FALSE(result);
    EXPECT_EQ(calls, 1) << "the function got its argument unchanged";
}

TEST(ExceptionHook, ReturnsARaisedRuntimeExceptionWithAReferenceForTheCaller) {
    int64_t before = RuntimeLiveObjectCount();
    {
        Ref<Object> result;
        EXPECT_NO_THROW(result = _CallFunctionWithExceptionHandling(reinterpret_cast<void*>(&UsesANilObject), nullptr));
        ASSERT_TRUE(result);
        EXPECT_TRUE(RuntimeObjectIsa(result.get(), NilObjectException::dunder_Lookup()));
        EXPECT_EQ(result->refcount, 1) << "the caller holds the only reference";
    }
    EXPECT_EQ(RuntimeLiveObjectCount(), before) << "the exception and the wrapping delegate are gone";
}

TEST(ExceptionHook, LeavesAnObjectThatIsNoRuntimeExceptionPending) {
    try {
        Ref<Object> result = _CallFunctionWithExceptionHandling(reinterpret_cast<void*>(&RaisesAWeakRef), nullptr);
        ADD_FAILURE() << "the hook took an object that is no RuntimeException";
    } catch (const RaisedException& pending) {
        EXPECT_EQ(pending.ExceptionObject()->cls, WeakRef::dunder_Lookup());
    }
}

class FailedStartupTest : public ProgramRunTest {
protected:
    static Ref<Object> FailingMenuBar() { RaiseNilObjectException(); }
};

bool gFinalized = false;
void NoteFinalization() { gFinalized = true; }

TEST_F(FailedStartupTest, AnExceptionWhileTheApplicationIsSetUpEndsTheStartupThere) {
    StartupSetMenuBarSourceForTesting(&FailingMenuBar);
    gFinalized = false;
    RuntimeAddFinalizer(&NoteFinalization);
    At(0, [] { ADD_FAILURE() << "the event loop ran after a failed start-up"; });

    int status = Run(2000);

    EXPECT_NE(status, 0);
    EXPECT_FALSE(LoopStarted());
    EXPECT_TRUE(gFinalized) << "the finalisers ran";
    EXPECT_EQ(RuntimeUnhandledExceptionCount(), 1) << "reported once";
    EXPECT_FALSE(RuntimeApplicationObject()) << "the application object was never registered";
    EXPECT_EQ(RuntimeWindowCount(), 0) << "no window was opened";
    // The application object got its version data, but neither its menu bar nor its
    // registration; nothing after it ran.
    const std::vector<std::string> expected = {
        "RuntimeSetVersion 2019.031000",
        "ApplicationSetSupportsHiDPI True",
        "RuntimeInitExternalClasses",
        "InitPluginEntrypoints",
        "ResolvePluginClasses",
        "RuntimeRegisterFileType text|R*ch|TEXT||",
        "_x_SetVersionData 3|0|0|0|3|" + std::string(kCreditLine) + "|3.0|Corvane Conversion",
        "RuntimeUnhandledException NilObjectException",
        "RuntimePerformFinalizers",
    };
    EXPECT_EQ(RuntimeTraceLog(), expected);
}

TEST_F(FailedStartupTest, AfterAFailedStartupTheMenuAccessorStillBuildsTheBar) {
    StartupSetMenuBarSourceForTesting(&FailingMenuBar);
    EXPECT_NE(Run(2000), 0);
    Ref<Object> bar = Menu::Menu();
    ASSERT_TRUE(bar);
    EXPECT_EQ(RuntimeMenuItemCount(bar.get()), 4);
}

}  // namespace
