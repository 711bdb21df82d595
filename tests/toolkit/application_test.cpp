// The application: version data, the start-up imports and their trace, the event loop and
// quitting, the File menu's quit command, program code and the exceptions it raises, the
// appearance notification, the initialiser table and the display probe.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <optional>

#include "framework/toolkit/program_code.h"
#include "tests/toolkit/raised.h"
#include "tests/toolkit/recorder_window.h"

namespace {

using namespace recorder;

class ApplicationTest : public LeakCheckedTest {
  protected:
    void SetUp() override {
        ToolkitResetForTesting();
        RuntimeResetForTesting();
        Heard().clear();
        Answer() = Answers{};
        ToolkitClearMessageBoxes();
        LeakCheckedTest::SetUp();
    }
    void TearDown() override {
        Answer() = Answers{};
        RuntimeTraceEnable(false);
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

// ---- the start-up imports -----------------------------------------------------------------

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

// ---- the event loop and quitting ----------------------------------------------------------

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

// ---- program code and its exceptions ------------------------------------------------------

TEST_F(ApplicationTest, AnExceptionInAHandlerGoesToUnhandledExceptionThenToTheReport) {
    struct Case {
        const char* name;
        bool withApp;
        bool appTakesIt;
        size_t boxes;
        int exitStatus;
    };
    const Case cases[] = {
        {"no application object", false, false, 1, 1},
        {"the application takes it", true, true, 0, 0},
        {"the application declines it", true, false, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ToolkitResetForTesting();
        RuntimeResetForTesting();
        ToolkitClearMessageBoxes();
        if (c.withApp) RegisterTestApp();
        Answer().appHandlesException = c.appTakesIt;
        Answer().raiseInMouseDown = &NilObjectException::dunder_Lookup;
        Ref<Object> window = OpenWindow(RecorderClass());
        ASSERT_TRUE(QTest::qWaitForWindowExposed(TopLevelOf(window.get())));
        Heard().clear();
        QTest::mouseClick(ContentOf(window.get()), Qt::LeftButton, {}, QPoint(10, 10));
        std::vector<std::string> expected = {"MouseDown 10 10"};
        if (c.withApp) expected.push_back("UnhandledException NilObjectException");
        EXPECT_EQ(Heard(), expected);
        ASSERT_EQ(ToolkitMessageBoxes().size(), c.boxes);
        if (c.boxes) {
            EXPECT_NE(ToolkitMessageBoxes()[0].find("NilObjectException"), std::string::npos);
            EXPECT_NE(ToolkitMessageBoxes()[0].find("raised in MouseDown"), std::string::npos);
        }
        EXPECT_EQ(RuntimeExit(), c.exitStatus);
        Answer() = Answers{};
    }
}

// ---- the display probe --------------------------------------------------------------------

// Sets environment variables for one scope and puts the old values back.
class EnvironmentScope {
  public:
    void Set(const char* name, const std::optional<std::string>& value) {
        const char* old = std::getenv(name);
        saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
        Put(name, value);
    }
    ~EnvironmentScope() {
        for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) Put(it->first, it->second);
    }

  private:
    static void Put(const std::string& name, const std::optional<std::string>& value) {
        value ? setenv(name.c_str(), value->c_str(), 1) : unsetenv(name.c_str());
    }
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

// A listening local socket that stands in for a display server while it lives: abstract (as
// X servers also listen) or at a path.
struct FakeServer {
    FakeServer(const std::string& name, bool abstract) : fd(socket(AF_UNIX, SOCK_STREAM, 0)) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path + (abstract ? 1 : 0), name.data(), name.size());
        if (!abstract) unlink((path = name).c_str());
        const auto length = socklen_t(offsetof(sockaddr_un, sun_path) + name.size() + 1);
        listening =
            bind(fd, reinterpret_cast<sockaddr*>(&address), length) == 0 && listen(fd, 1) == 0;
    }
    ~FakeServer() {
        close(fd);
        if (!path.empty()) unlink(path.c_str());
    }
    int fd;
    std::string path;
    bool listening = false;
};

TEST_F(ApplicationTest, TheDisplayProbeFindsAServerThatAcceptsAConnectionAndSaysWhyNot) {
    const std::string socketPath = "/tmp/corvane-display-probe-" + std::to_string(getpid());
    const std::string displayNumber = std::to_string(40000 + getpid() % 9999);
    FakeServer xServer("/tmp/.X11-unix/X" + displayNumber, true), wayland(socketPath, false);
    ASSERT_TRUE(xServer.listening && wayland.listening);
    struct Case {
        std::optional<std::string> platform, display, wayland;
        const char* why;  // "" when a display is found
    };
    const char* noDisplay = "no display found: DISPLAY is not set";
    const Case cases[] = {
        {"offscreen", std::nullopt, std::nullopt, ""},
        {"xcb", std::nullopt, std::nullopt, noDisplay},
        {"xcb", ":" + displayNumber, std::nullopt, ""},
        {"xcb", ":59999", std::nullopt, "no display found: cannot connect to the X server :59999"},
        {"wayland", std::nullopt, socketPath, ""},
        {"wayland", std::nullopt, socketPath + "-gone", "no display found: the Wayland socket"},
        {std::nullopt, std::nullopt, std::nullopt, noDisplay},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.platform.value_or("no platform") + " " + c.display.value_or("-"));
        EnvironmentScope environment;
        environment.Set("QT_QPA_PLATFORM", c.platform);
        environment.Set("DISPLAY", c.display);
        environment.Set("WAYLAND_DISPLAY", c.wayland);
        std::string why;
        EXPECT_EQ(ToolkitDisplayAvailable(&why), *c.why == '\0');
        EXPECT_EQ(why.rfind(c.why, 0), 0u) << why;
    }
}

}  // namespace
