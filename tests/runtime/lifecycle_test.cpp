// The runtime's life: the exception hook, initialisers, unhandled exceptions and the exit
// status, finalisers, the stack check.
#include <pthread.h>

#include <string>
#include <vector>

#include "test_classes.h"
#include "test_support.h"

using namespace zoo;

namespace {

std::vector<std::string> gReported;

class LifecycleTest : public RuntimeTest {
  protected:
    void SetUp() override {
        RuntimeTest::SetUp();
        RuntimeResetForTesting();
        gReported.clear();
        RuntimeSetUnhandledExceptionReporter([](Object* exception) {
            gReported.push_back(exception ? exception->cls->name : "nil");
        });
    }
    void TearDown() override {
        RuntimeSetUnhandledExceptionReporter(nullptr);
        RuntimeResetForTesting();
        RuntimeTest::TearDown();
    }
};

// ---- the exception hook ------------------------------------------------------------------

void Completes(void* argument) {
    *static_cast<int*>(argument) += 1;
}
void RaisesNilObject(void*) {
    RaiseNilObjectException();
}
void RaisesRuntimeException(void*) {
    RuntimeRaiseNew(RuntimeException::dunder_Lookup(), "plain");
}
void RaisesADog(void*) {
    RuntimeRaise(RuntimeNewObject(DogLookup()));
}

int gHelperCalls = 0;
// A hook with the framework's contract, as a program installs it.
Ref<Object> CountingHelper(void* function, void* argument) {
    ++gHelperCalls;
    try {
        reinterpret_cast<void (*)(void*)>(function)(argument);
    } catch (const RaisedException& raised) {
        if (RuntimeObjectIsa(raised.ExceptionObject().get(), RuntimeException::dunder_Lookup()))
            return raised.ExceptionObject();
        throw;
    }
    return nullptr;
}

TEST_F(LifecycleTest, ExceptionHookReturnsRuntimeExceptionsAndLeavesOthersPending) {
    struct Row {
        const char* label;
        void (*function)(void*);
        const char* returned;  // class of the returned exception, or "nil"
        const char* pending;   // class of what stays raised, or "nothing"
    };
    const Row rows[] = {
        {"completes", &Completes, "nil", "nothing"},
        {"RuntimeException subclass", &RaisesNilObject, "NilObjectException", "nothing"},
        {"RuntimeException itself", &RaisesRuntimeException, "RuntimeException", "nothing"},
        {"another object", &RaisesADog, "nil", "Test.Dog"},
    };
    for (bool withHelper : {false, true}) {
        RuntimeSetExceptionHelper(withHelper ? reinterpret_cast<GenericFn>(&CountingHelper)
                                             : nullptr);
        EXPECT_EQ(RuntimeHasExceptionHelper(), withHelper);
        for (const Row& row : rows) {
            SCOPED_TRACE(std::string(row.label) +
                         (withHelper ? ", through a helper" : ", directly"));
            gHelperCalls = 0;
            int argument = 0;
            Ref<Object> returned;
            std::string pending = RaisedClassName(
                [&] { returned = RuntimeCallThroughExceptionHelper(row.function, &argument); });
            EXPECT_EQ(pending, row.pending);
            EXPECT_EQ(returned ? returned->cls->name : "nil", std::string(row.returned));
            if (returned) {
                EXPECT_EQ(returned->refcount, 1) << "a reference for the caller alone";
            }
            EXPECT_EQ(argument, row.function == &Completes ? 1 : 0) << "the argument is passed on";
            EXPECT_EQ(gHelperCalls, withHelper ? 1 : 0);
        }
    }
}

// ---- initialisers --------------------------------------------------------------------------

std::vector<std::string> gInitLog;
int gOrderBuilds = 0;
void OrderClassInit();
ClassCell gOrderClass{nullptr, &OrderClassInit};
void OrderClassInit() {
    static const ClassSpec table{.name = "Order.Class",
                                 .superclass = nullptr,
                                 .methodCount = 0,
                                 .interfaceCount = 0,
                                 .eventCount = 0,
                                 .propertyCount = 0,
                                 .instanceDataSize = 0,
                                 .slotCount = 0};
    if (!gOrderClass.record) ++gOrderBuilds;
    RuntimeBuildClass(gOrderClass, table);
    gInitLog.push_back("Order.Class");
}

TEST_F(LifecycleTest, InitializersRunOnceEachInTableOrder) {
    gInitLog.clear();
    RuntimeLookupClass(gOrderClass);  // an early lookup builds the class before its entry runs
    gInitLog.clear();
    const Initializer table[] = {
        {"First.__Init", [] { gInitLog.push_back("First"); }},
        {"Order.Class.__ctblinit", &OrderClassInit},
        {"Second.__Init", [] { gInitLog.push_back("Second"); }},
        {"Third.__Init", [] { gInitLog.push_back("Third"); }},
    };
    RuntimePerformInitializers(table);
    EXPECT_EQ(gInitLog, (std::vector<std::string>{"First", "Order.Class", "Second", "Third"}));
    EXPECT_EQ(RuntimeInitializersRun(),
              (std::vector<std::string>{"First.__Init", "Order.Class.__ctblinit", "Second.__Init",
                                        "Third.__Init"}));
    EXPECT_EQ(gOrderBuilds, 1) << "the entry found the record built and left it";
}

// ---- unhandled exceptions and the exit status ----------------------------------------------

TEST_F(LifecycleTest, ExitStatusIsNonZeroAfterAnUnhandledException) {
    EXPECT_EQ(RuntimeExit(), 0);
    RuntimeSetExitStatus(4);
    EXPECT_EQ(RuntimeExit(), 4);
    RuntimeSetExitStatus(0);

    Ref<Object> exception = RuntimeNewException(OutOfBoundsException::dunder_Lookup(), "index 9");
    _UnhandledException(exception.get());
    EXPECT_EQ(gReported, std::vector<std::string>{"OutOfBoundsException"});
    EXPECT_EQ(RuntimeUnhandledExceptionCount(), 1);
    EXPECT_EQ(RuntimeExit(), 1);
    RuntimeSetExitStatus(0);
    EXPECT_EQ(RuntimeExit(), 1) << "a failure never ends with status 0";
    RuntimeSetExitStatus(3);
    EXPECT_EQ(RuntimeExit(), 3);
}

TEST_F(LifecycleTest, DefaultReportWritesClassAndMessageToStandardError) {
    RuntimeSetUnhandledExceptionReporter(nullptr);
    Ref<Object> exception =
        RuntimeNewException(TypeMismatchException::dunder_Lookup(), "not a number");
    testing::internal::CaptureStderr();
    RuntimeUnhandledException(exception.get());
    std::string written = testing::internal::GetCapturedStderr();
    EXPECT_NE(written.find("TypeMismatchException: not a number"), std::string::npos) << written;
    EXPECT_EQ(RuntimeExit(), 1);
}

std::vector<std::string> gDyingLog;
void RaisingDestructor(Object*) {
    gDyingLog.push_back("destructor");
    RuntimeRaiseNew(RuntimeException::dunder_Lookup(), "while dying");
}
void LoggingExit(Object*) {
    gDyingLog.push_back("exit");
}

TEST_F(LifecycleTest, AnExceptionWhileDyingIsReportedAndTheRestStillRuns) {
    static ClassCell cell{};
    static const ClassSpec table{.name = "Life.Raising",
                                 .superclass = nullptr,
                                 .methodCount = 0,
                                 .interfaceCount = 0,
                                 .eventCount = 0,
                                 .propertyCount = 0,
                                 .instanceDataSize = 0,
                                 .slotCount = 0,
                                 .destructor = &RaisingDestructor,
                                 .exit = &LoggingExit};
    RuntimeBuildClass(cell, table);
    gDyingLog.clear();
    Ref<Object> object = RuntimeNewObject(cell.record);
    EXPECT_RAISES_NOTHING(object.Reset());
    EXPECT_EQ(gDyingLog, (std::vector<std::string>{"destructor", "exit"}));
    EXPECT_EQ(gReported, std::vector<std::string>{"RuntimeException"});
    EXPECT_EQ(RuntimeExit(), 1);
}

// ---- finalisers ----------------------------------------------------------------------------

std::vector<int> gFinalised;

TEST_F(LifecycleTest, FinalisersRunOnceLastAddedFirst) {
    gFinalised.clear();
    RuntimeAddFinalizer([] { gFinalised.push_back(1); });
    RuntimeAddFinalizer([] { gFinalised.push_back(2); });
    RuntimeAddFinalizer([] { gFinalised.push_back(3); });
    RuntimePerformFinalizers();
    RuntimePerformFinalizers();
    EXPECT_EQ(gFinalised, (std::vector<int>{3, 2, 1}));
}

// ---- the stack check -----------------------------------------------------------------------

int Recurse(int depth) {
    RuntimeStackCheck();
    volatile char frame[512];
    frame[0] = static_cast<char>(depth);
    if (depth >= 10'000'000) return depth;  // never reached: the stack ends first
    return Recurse(depth + 1) + frame[0];
}

struct DeepResult {
    std::string raised;
    bool checkPassesAfterwards = false;
};

// Runs the recursion on a thread with a known, small stack.
DeepResult RecurseOnSmallStack() {
    DeepResult result;
    pthread_attr_t attr;
    pthread_attr_init(&attr);
    pthread_attr_setstacksize(&attr, 2 * 1024 * 1024);
    pthread_t thread;
    auto body = [](void* out) -> void* {
        auto* result = static_cast<DeepResult*>(out);
        result->raised = RaisedClassName([] { Recurse(0); });
        result->checkPassesAfterwards = RaisedClassName([] { RuntimeStackCheck(); }) == "nothing";
        return nullptr;
    };
    EXPECT_EQ(pthread_create(&thread, &attr, body, &result), 0);
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attr);
    return result;
}

TEST_F(LifecycleTest, DeepRecursionRaisesStackOverflowException) {
    EXPECT_RAISES_NOTHING(RuntimeStackCheck());
    DeepResult result = RecurseOnSmallStack();
    EXPECT_EQ(result.raised, "StackOverflowException");
    EXPECT_TRUE(result.checkPassesAfterwards) << "the stack is usable again after unwinding";
}

}  // namespace
