// The runtime's life: the exception hook, initialisers, unhandled exceptions and the exit
// status, finalisers, the stack check.
#include <string>
#include <thread>
#include <vector>

#include "test_support.h"

namespace {

std::vector<std::string> gLog;  // what the reporter, initialisers and finalisers heard

class LifecycleTest : public RuntimeTest {
  protected:
    void SetUp() override {
        RuntimeTest::SetUp();
        RuntimeResetForTesting();
        gLog.clear();
        RuntimeSetUnhandledExceptionReporter(
            [](Object* exception) { gLog.push_back(exception->cls->name); });
    }
    void TearDown() override {
        RuntimeSetUnhandledExceptionReporter(nullptr);
        RuntimeResetForTesting();
        RuntimeTest::TearDown();
    }
};

void Completes(void* argument) {
    *static_cast<int*>(argument) += 1;
}

TEST_F(LifecycleTest, ProgramCodeRunsOnlyThroughTheInstalledExceptionHook) {
    int argument = 0;
    RuntimeSetExceptionHelper(nullptr);
    EXPECT_EQ(RaisedMessage([&] { RuntimeCallThroughExceptionHelper(&Completes, &argument); }),
              "no exception hook is installed, so program code cannot run");
    EXPECT_EQ(argument, 0) << "without a hook the code does not run";

    RuntimeSetExceptionHelper(reinterpret_cast<GenericFn>(+[](void* function, void* argument) {
        reinterpret_cast<void (*)(void*)>(function)(argument);
        return RuntimeNewException(EndException::dunder_Lookup(), "from the hook");
    }));
    Ref<Object> returned = RuntimeCallThroughExceptionHelper(&Completes, &argument);
    EXPECT_EQ(argument, 1) << "the hook is given the function and its argument";
    EXPECT_STREQ(returned->cls->name, "EndException") << "and its result is the caller's";
    RuntimeSetExceptionHelper(nullptr);
}

TEST_F(LifecycleTest, InitializersRunOnceEachInTableOrderAndFinalisersLastAddedFirst) {
    const Initializer table[] = {{"First.__Init", [] { gLog.push_back("First"); }},
                                 {"Second.__ctblinit", [] { gLog.push_back("Second"); }}};
    RuntimePerformInitializers(table);
    EXPECT_EQ(RuntimeInitializersRun(),
              (std::vector<std::string>{"First.__Init", "Second.__ctblinit"}));
    RuntimeAddFinalizer([] { gLog.push_back("1"); });
    RuntimeAddFinalizer([] { gLog.push_back("2"); });
    RuntimePerformFinalizers();
    RuntimePerformFinalizers();
    EXPECT_EQ(gLog, (std::vector<std::string>{"First", "Second", "2", "1"}));
}

TEST_F(LifecycleTest, ExitStatusIsNonZeroAfterAnUnhandledException) {
    RuntimeSetExitStatus(4);
    EXPECT_EQ(RuntimeExit(), 4);
    RuntimeSetExitStatus(0);
    Ref<Object> exception = RuntimeNewException(OutOfBoundsException::dunder_Lookup(), "index 9");
    under_UnhandledException(exception.get());
    EXPECT_EQ(gLog, std::vector<std::string>{"OutOfBoundsException"});
    EXPECT_EQ(RuntimeUnhandledExceptionCount(), 1);
    EXPECT_EQ(RuntimeExit(), 1) << "a failure never ends with status 0";
    RuntimeSetExitStatus(3);
    EXPECT_EQ(RuntimeExit(), 3);
}

}  // namespace
