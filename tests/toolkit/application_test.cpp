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

Variant PropertyValue(Object* object, const char* name) {
    const PropertyEntry* entry = RuntimeFindProperty(object->cls, name);
    EXPECT_NE(entry, nullptr) << name;
    return entry ? entry->boxedGetter(object, entry) : Variant();
}

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

int gLateStartups = 0;
void LateStartup() {
    ++gLateStartups;
}
void FailingLateStartup() {
    RaiseNilObjectException();
}

TEST_F(ApplicationTest, TheStartUpImportsDoTheirPartAndAreTracedInOrder) {
    Ref<Object> bar = RuntimeNewObject(MenuBar::dunder_Lookup());
    RuntimeCallSlot<void>(bar.get(), MenuItem::kConstructorSlot);
    RuntimeTraceEnable(true);
    Application::under_SetSupportsHiDPI(true);
    under_RuntimeInitExternalClasses();
    under_InitPluginEntrypoints();
    {
        Ref<Object> app = RuntimeNewObject(TestAppClass());
        RuntimeCallSlot<void, int64_t, int64_t, int64_t, int64_t, int64_t, String, String, String>(
            app.get(), Application::kSetVersionDataSlot, 3, 4, 1, 2, 5, String("by A. Author"),
            String("3.0"), String("Corvane Conversion"));
        AppMenuBarSetter(app.get(), 0, bar.get());
        under_RuntimeRegisterAppObject(app.get());
    }
    gLateStartups = 0;
    under_RunFrameworkInitialization(reinterpret_cast<GenericFn>(&LateStartup));
    RuntimeTraceEnable(false);

    EXPECT_EQ(
        RuntimeTraceLog(),
        (std::vector<std::string>{"ApplicationSetSupportsHiDPI True", "RuntimeInitExternalClasses",
                                  "InitPluginEntrypoints", "ResolvePluginClasses",
                                  "_x_SetVersionData 3|4|1|2|5|by A. Author|3.0|Corvane Conversion",
                                  "AppMenuBarSetter MenuBar", "RuntimeRegisterAppObject TestApp",
                                  "RunFrameworkInitialization"}));
    EXPECT_EQ(gLateStartups, 1);
    Ref<Object> app = RuntimeApplicationObject();  // kept by the framework
    ASSERT_NE(app, nullptr);
    EXPECT_EQ(AppMenuBarGetter(app.get(), 0), bar);
    EXPECT_TRUE(PropertyValue(app.get(), "SupportsHiDPI").AsBoolean());
    for (const char* name : {"NilObjectException", "MessageDialog", "WeakRef", "_VariantWString"})
        EXPECT_NE(RuntimeFindClass(name), nullptr) << name;

    // The version data lands in the hidden fields in its order; the visible ones show them.
    // clang-format off
    const std::pair<const char*, Variant> fields[] = {
        {"MajorVersion", int64_t{3}}, {"MinorVersion", int64_t{4}}, {"BugVersion", int64_t{1}},
        {"NonReleaseVersion", int64_t{2}}, {"StageCode", int64_t{5}}, {"RegionCode", int64_t{0}},
        {"LongVersion", "by A. Author"}, {"ShortVersion", "3.0"}, {"PackageInfo", "Corvane Conversion"},
    };
    // clang-format on
    auto text = [](const Variant& v) {
        return v.Type() == VariantType::String ? v.AsString().Std() : std::to_string(v.AsInteger());
    };
    for (const auto& [name, value] : fields) {
        const std::string hidden = std::string("_x_m") + name;
        EXPECT_TRUE(RuntimeFindProperty(app->cls, hidden)->flags & kFlagHidden) << hidden;
        EXPECT_EQ(text(PropertyValue(app.get(), hidden.c_str())), text(value)) << hidden;
        EXPECT_EQ(text(PropertyValue(app.get(), name)), text(value)) << name;
    }
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
    for (const Case& c : {Case{"before the loop", false, 3}, Case{"inside the loop", true, 5},
                          Case{"zero inside the loop", true, 0}}) {
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

TEST_F(ApplicationTest, TheQuitCommandClosesEveryWindowUnlessOneRefuses) {
    RegisterTestApp();
    for (bool refuse : {true, false}) {
        SCOPED_TRACE(refuse);
        RuntimeResetForTesting();
        Answer().cancelClose = refuse;
        Ref<Object> plain = OpenWindow(PlainClass());
        Ref<Object> recorder = OpenWindow(RecorderClass());  // in front
        Heard().clear();
        RuntimeTraceEnable(true);
        QuitMenuAction();
        RuntimeTraceEnable(false);
        std::vector<std::string> expected = {"CancelClose True"};
        if (!refuse) expected = {"CancelClose True", "Close", "App CancelClose"};
        std::vector<std::string> heard;
        for (const std::string& entry : Heard())
            if (entry.find("Close") != std::string::npos) heard.push_back(entry);
        EXPECT_EQ(heard, expected);
        EXPECT_EQ(RuntimeWindowCount(), refuse ? 2 : 0);
        const std::vector<std::string> trace = RuntimeTraceLog();
        EXPECT_EQ(std::count(trace.begin(), trace.end(), "RuntimeApplicationQuit 0"),
                  refuse ? 0 : 1);
        Answer().cancelClose = false;
        ToolkitResetForTesting();
        RegisterTestApp();
    }
    EXPECT_EQ(RuntimeExit(), 0);
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

TEST_F(ApplicationTest, ProgramCodeReportsWhatItRaisesExceptTheEndExceptions) {
    struct Case {
        const char* name;
        std::function<void()> code;
        const char* reported;          // nil: no report
        std::optional<bool> loopEnds;  // for the end exceptions: whether the loop ends
    };
    auto raise = [](ClassRecord* (*cls)()) { return [cls] { RuntimeRaiseNew(cls(), "end"); }; };
    const Case cases[] = {
        {"code that completes", [] {}, nullptr, std::nullopt},
        {"a RuntimeException", [] { RaiseUnsupported("Test.Operation"); },
         "UnsupportedOperationException", std::nullopt},
        {"an object that is no RuntimeException",
         [] { RuntimeRaise(RuntimeNewObject(WeakRef::dunder_Lookup())); }, "WeakRef", std::nullopt},
        {"EndException", raise(&EndException::dunder_Lookup), nullptr, true},
        {"ThreadEndException", raise(&ThreadEndException::dunder_Lookup), nullptr, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RuntimeResetForTesting();
        ToolkitClearMessageBoxes();
        EXPECT_EQ(RunProgramCode(c.code), !c.reported && !c.loopEnds);
        ASSERT_EQ(ToolkitMessageBoxes().size(), c.reported ? 1u : 0u);
        EXPECT_TRUE(!c.reported || ToolkitMessageBoxes()[0].find(c.reported) != std::string::npos);
        EXPECT_EQ(RuntimeExit(), c.reported ? 1 : 0);
        EXPECT_TRUE(!c.loopEnds || (RunLoopAtMost(300) < 200) == *c.loopEnds);
    }
}

void RaiseRuntimeException() {
    RaiseNilObjectException();
}
void RaiseOtherObject() {
    RuntimeRaise(RuntimeNewObject(WeakRef::dunder_Lookup()));
}

TEST_F(ApplicationTest, TheMethodFormHandlesRuntimeExceptionsAndLeavesOtherObjectsPending) {
    RegisterTestApp();
    Ref<Object> app = RuntimeApplicationObject();
    EXPECT_EQ(RaisedClass([&] {
                  Application::under_CallFunctionWithExceptionHandling(
                      app.get(), reinterpret_cast<void*>(&RaiseRuntimeException));
              }),
              "nothing");
    EXPECT_EQ(Heard(), std::vector<std::string>{"UnhandledException NilObjectException"});
    EXPECT_EQ(ToolkitMessageBoxes().size(), 1u);
    EXPECT_EQ(RaisedClass([&] {
                  Application::under_CallFunctionWithExceptionHandling(
                      app.get(), reinterpret_cast<void*>(&RaiseOtherObject));
              }),
              "WeakRef");
    EXPECT_EQ(ToolkitMessageBoxes().size(), 1u);
}

// ---- appearance ---------------------------------------------------------------------------

TEST_F(ApplicationTest, ThemeNotificationsAndAChangeOfQtsPaletteRaiseAppearanceChanged) {
    ToolkitEnsureApplication();
    RegisterTestApp();
    Ref<Object> app = RuntimeApplicationObject();
    for (const char* notification :
         {"AppleInterfaceThemeChangedNotification", "AppleColorPreferencesChangedNotification",
          "NSWorkspaceDidWakeNotification"})
        Application::under_MacOSNotificationReceived(app.get(), String(notification), nullptr,
                                                     nullptr);
    EXPECT_EQ(Heard(), (std::vector<std::string>{"AppearanceChanged", "AppearanceChanged"}));
    Heard().clear();
    const QPalette original = QApplication::palette();
    QPalette dark = original;
    dark.setColor(QPalette::Window, Qt::black);
    QApplication::setPalette(dark);
    QApplication::setPalette(original);
    QTest::qWait(20);
    EXPECT_EQ(Heard(), std::vector<std::string>{"AppearanceChanged"});
}

// ---- the initialiser table ----------------------------------------------------------------

TEST_F(ApplicationTest, TheFrameworksInitializersAreInCaseInsensitiveNameOrderAndAllRun) {
    std::span<const Initializer> entries = FrameworkInitializers();
    auto lower = [](std::string text) {
        std::transform(text.begin(), text.end(), text.begin(),
                       [](unsigned char ch) { return char(std::tolower(ch)); });
        return text;
    };
    for (size_t i = 1; i < entries.size(); ++i)
        EXPECT_LE(lower(entries[i - 1].name), lower(entries[i].name)) << entries[i].name;
    RuntimePerformInitializers(entries);
    EXPECT_EQ(RuntimeInitializersRun().size(), entries.size());
    for (const char* cls : {"Application", "Window", "TextField", "_VariantBoolean", "_PaneChild"})
        EXPECT_NE(RuntimeFindClass(cls), nullptr) << cls;
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

// A listening socket that stands in for a display server while it lives.
struct FakeServer {
    explicit FakeServer(int family) : fd(socket(family, SOCK_STREAM, 0)) {}
    ~FakeServer() {
        close(fd);
        if (!path.empty()) unlink(path.c_str());
    }
    bool Listen(const void* address, socklen_t length) {
        return bind(fd, static_cast<const sockaddr*>(address), length) == 0 && listen(fd, 1) == 0;
    }
    // A local socket: abstract (as X servers also listen) or at a path.
    bool ListenLocal(const std::string& name, bool abstract) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path + (abstract ? 1 : 0), name.data(), name.size());
        if (!abstract) unlink((path = name).c_str());
        return Listen(&address, socklen_t(offsetof(sockaddr_un, sun_path) + name.size() + 1));
    }
    // TCP on the loopback interface, on a port the system picks.
    bool ListenTcp() {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof(address);
        bool ok = Listen(&address, length) &&
                  getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0;
        port = ntohs(address.sin_port);
        return ok;
    }
    int fd;
    std::string path;
    int port = 0;
};

TEST_F(ApplicationTest, ItsCommandLineIsWhatMainHandedToTheRuntime) {
    const int testCount = RuntimeArgumentCount();
    char** const testArguments = RuntimeArgumentVector();
    char name[] = "/opt/corvane/corvane-conversion", option[] = "-reverse";
    char* argv[] = {name, option, nullptr};
    RuntimeInit(2, argv);
    Ref<Object> app = RuntimeNewObject(TestAppClass());
    const std::string line = PropertyValue(app.get(), "CommandLine").AsString().Std();
    RuntimeInit(testCount, testArguments);
    EXPECT_EQ(line, "/opt/corvane/corvane-conversion -reverse");
}

TEST_F(ApplicationTest, TheDisplayProbeFindsAServerThatAcceptsAConnectionAndSaysWhyNot) {
    const std::string socketPath = "/tmp/corvane-display-probe-" + std::to_string(getpid());
    const std::string displayNumber = std::to_string(40000 + getpid() % 9999);
    FakeServer xServer(AF_UNIX), waylandServer(AF_UNIX), tcpServer(AF_INET);
    ASSERT_TRUE(xServer.ListenLocal("/tmp/.X11-unix/X" + displayNumber, true));
    ASSERT_TRUE(waylandServer.ListenLocal(socketPath, false));
    ASSERT_TRUE(tcpServer.ListenTcp());
    ASSERT_GT(tcpServer.port, 6000);
    const std::string localDisplay = ":" + displayNumber;
    const std::string tcpDisplay = "127.0.0.1:" + std::to_string(tcpServer.port - 6000);

    struct Case {
        const char* name;
        std::optional<std::string> platform, display, wayland;
        const char* why;  // "" when a display is found
    };
    const char* noDisplay = "no display found: DISPLAY is not set";
    // clang-format off
    const Case cases[] = {
        {"offscreen needs no server", "offscreen", std::nullopt, std::nullopt, ""},
        {"xcb without DISPLAY", "xcb", std::nullopt, std::nullopt, noDisplay},
        {"xcb with a local server", "xcb", localDisplay, std::nullopt, ""},
        {"xcb with a server over TCP", "xcb", tcpDisplay, std::nullopt, ""},
        {"xcb with nobody listening", "xcb", ":59999", std::nullopt,
         "no display found: cannot connect to the X server :59999"},
        {"wayland with its socket", "wayland", std::nullopt, socketPath, ""},
        {"wayland without a socket", "wayland", std::nullopt, socketPath + "-gone",
         "no display found: the Wayland socket"},
        {"no platform named, X found", std::nullopt, localDisplay, std::nullopt, ""},
        {"no platform named, nothing found", std::nullopt, std::nullopt, std::nullopt, noDisplay},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
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
