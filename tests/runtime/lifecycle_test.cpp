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

TEST_F(LifecycleTest, InitializersRunOnceEachInTableOrder) {
    const Initializer table[] = {
        {"First.__Init", [] { gLog.push_back("First"); }},
        {"Second.__ctblinit", [] { gLog.push_back("Second"); }},
        {"Third.__Init", [] { gLog.push_back("Third"); }},
    };
    RuntimePerformInitializers(table);
    EXPECT_EQ(gLog, (std::vector<std::string>{"First", "Second", "Third"}));
    EXPECT_EQ(RuntimeInitializersRun(),
              (std::vector<std::string>{"First.__Init", "Second.__ctblinit", "Third.__Init"}));
}

TEST_F(LifecycleTest, ExitStatusIsNonZeroAfterAnUnhandledException) {
    RuntimeSetExitStatus(4);
    EXPECT_EQ(RuntimeExit(), 4);
    RuntimeSetExitStatus(0);
    EXPECT_EQ(RuntimeExit(), 0);
    Ref<Object> exception = RuntimeNewException(OutOfBoundsException::dunder_Lookup(), "index 9");
    under_UnhandledException(exception.get());
    EXPECT_EQ(gLog, std::vector<std::string>{"OutOfBoundsException"});
    EXPECT_EQ(RuntimeUnhandledExceptionCount(), 1);
    EXPECT_EQ(RuntimeExit(), 1) << "a failure never ends with status 0";
    RuntimeSetExitStatus(3);
    EXPECT_EQ(RuntimeExit(), 3);

    // The runtime's own report writes the class and the message to standard error.
    RuntimeSetUnhandledExceptionReporter(nullptr);
    exception = RuntimeNewException(TypeMismatchException::dunder_Lookup(), "not a number");
    testing::internal::CaptureStderr();
    RuntimeUnhandledException(exception.get());
    std::string written = testing::internal::GetCapturedStderr();
    EXPECT_NE(written.find("TypeMismatchException: not a number"), std::string::npos) << written;
}

void RaisingDestructor(Object*) {
    gLog.push_back("destructor");
    RuntimeRaiseNew(RuntimeException::dunder_Lookup(), "while dying");
}
void LoggingExit(Object*) {
    gLog.push_back("exit");
}

TEST_F(LifecycleTest, AnExceptionWhileDyingIsReportedAndTheRestStillRuns) {
    static ClassCell cell{};
    ClassSpec table = Declared("Life.Raising", nullptr, 0, 0, 0, 0, 0);
    table.destructor = &RaisingDestructor;
    table.exit = &LoggingExit;
    RuntimeBuildClass(cell, table);
    Ref<Object> object = RuntimeNewObject(cell.record);
    EXPECT_RAISES_NOTHING(object.Reset());
    EXPECT_EQ(gLog, (std::vector<std::string>{"destructor", "RuntimeException", "exit"}));
    EXPECT_EQ(RuntimeExit(), 1);
}

TEST_F(LifecycleTest, FinalisersRunOnceLastAddedFirst) {
    RuntimeAddFinalizer([] { gLog.push_back("1"); });
    RuntimeAddFinalizer([] { gLog.push_back("2"); });
    RuntimeAddFinalizer([] { gLog.push_back("3"); });
    RuntimePerformFinalizers();
    RuntimePerformFinalizers();
    EXPECT_EQ(gLog, (std::vector<std::string>{"3", "2", "1"}));
}

int Recurse(int depth) {
    RuntimeStackCheck();
    volatile char frame[512];
    frame[0] = static_cast<char>(depth);
    if (depth >= 10'000'000) return depth;  // never reached: the stack ends first
    return Recurse(depth + 1) + frame[0];
}

TEST_F(LifecycleTest, DeepRecursionRaisesStackOverflowException) {
    EXPECT_RAISES_NOTHING(RuntimeStackCheck());
    std::string raised, afterwards;
    std::thread([&] {
        raised = RaisedClassName([] { Recurse(0); });
        afterwards = RaisedClassName([] { RuntimeStackCheck(); });  // unwound: room again
    }).join();
    EXPECT_EQ(raised, "StackOverflowException");
    EXPECT_EQ(afterwards, "nothing");
}

}  // namespace
