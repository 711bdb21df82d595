// The application: a late start-up that raises, and the event loop ended by Quit.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTimer>

#include "framework/toolkit/toolkit.h"
#include "tests/toolkit/raised.h"

namespace {

class ApplicationTest : public LeakCheckedTest {
  protected:
    void SetUp() override {
        ToolkitResetForTesting();
        RuntimeResetForTesting();
        ToolkitClearMessageBoxes();
        LeakCheckedTest::SetUp();
    }
    void TearDown() override {
        ToolkitResetForTesting();
        LeakCheckedTest::TearDown();
        RuntimeResetForTesting();
        ToolkitClearMessageBoxes();
    }
};

// Runs RuntimeRun, ending it after `limitMs` if nothing else does; the time it took.
qint64 RunLoopAtMost(int limitMs) {
    QTimer safety;
    safety.setSingleShot(true);
    QObject::connect(&safety, &QTimer::timeout, [] { QCoreApplication::exit(0); });
    safety.start(limitMs);
    QElapsedTimer clock;
    clock.start();
    RuntimeRun();
    return clock.elapsed();
}

void FailingLateStartup() {
    RaiseNilObjectException();
}

TEST_F(ApplicationTest, ALateStartUpThatRaisesIsReportedAndTheLoopIsNotEntered) {
    RunFrameworkInitialization(reinterpret_cast<GenericFn>(&FailingLateStartup));
    ASSERT_EQ(ToolkitMessageBoxes().size(), 1u);
    EXPECT_NE(ToolkitMessageBoxes()[0].find("NilObjectException"), std::string::npos);
    EXPECT_LT(RunLoopAtMost(2000), 1000);
    EXPECT_EQ(RuntimeExit(), 1);
}

TEST_F(ApplicationTest, QuitEndsTheEventLoopAndItsCodeBecomesTheExitStatus) {
    struct Case {
        const char* name;
        bool insideLoop;
        int64_t code;
    };
    for (const Case& c : {Case{"before the loop", false, 3}, Case{"inside the loop", true, 5}}) {
        SCOPED_TRACE(c.name);
        RuntimeResetForTesting();
        if (c.insideLoop) {
            QTimer::singleShot(10, [code = c.code] { RuntimeApplicationQuit(code); });
        } else {
            RuntimeApplicationQuit(c.code);
        }
        EXPECT_LT(RunLoopAtMost(3000), 2000);
        EXPECT_EQ(RuntimeExit(), c.code);
    }
}

TEST_F(ApplicationTest, ItsCommandLineIsWhatMainHandedToTheRuntime) {
    const int testCount = RuntimeArgumentCount();
    char** const testArguments = RuntimeArgumentVector();
    static char name[] = "/opt/corvane/corvane-conversion", option[] = "-reverse";
    static char* argv[] = {name, option, nullptr};
    RuntimeInit(2, argv);
    Ref<Object> app = RuntimeNewObject(Application::dunder_Lookup());
    const PropertyEntry* commandLine = RuntimeFindProperty(app->cls, "CommandLine");
    const std::string line = commandLine->boxedGetter(app.get(), commandLine).AsString().Std();
    RuntimeInit(testCount, testArguments);
    EXPECT_EQ(line, "/opt/corvane/corvane-conversion -reverse");
}

}  // namespace
