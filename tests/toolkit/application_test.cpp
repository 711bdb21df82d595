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
#include <map>
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

// ---- version data -------------------------------------------------------------------------

TEST_F(ApplicationTest, VersionDataLandsInTheHiddenFieldsInItsOrder) {
    Ref<Object> app = RuntimeNewObject(Application::dunder_Lookup());
    RuntimeCallSlot<void, int64_t, int64_t, int64_t, int64_t, int64_t, String, String, String>(
        app.get(), Application::kSetVersionDataSlot, 3, 0, 1, 2, 3, String("by A. Author"),
        String("3.0"), String("Corvane Conversion"));
    struct Field {
        const char* hidden;
        const char* visible;
        Variant value;
    };
    const Field fields[] = {
        {"_x_mMajorVersion", "MajorVersion", Variant(int64_t{3})},
        {"_x_mMinorVersion", "MinorVersion", Variant(int64_t{0})},
        {"_x_mBugVersion", "BugVersion", Variant(int64_t{1})},
        {"_x_mNonReleaseVersion", "NonReleaseVersion", Variant(int64_t{2})},
        {"_x_mStageCode", "StageCode", Variant(int64_t{3})},
        {"_x_mRegionCode", "RegionCode", Variant(int64_t{0})},  // no argument sets it
        {"_x_mLongVersion", "LongVersion", Variant("by A. Author")},
        {"_x_mShortVersion", "ShortVersion", Variant("3.0")},
        {"_x_mPackageInfo", "PackageInfo", Variant("Corvane Conversion")},
    };
    for (const Field& field : fields) {
        SCOPED_TRACE(field.hidden);
        const PropertyEntry* hidden = RuntimeFindProperty(app->cls, field.hidden);
        ASSERT_NE(hidden, nullptr);
        EXPECT_TRUE(hidden->flags & kFlagHidden);
        EXPECT_LT(hidden->fieldOffset, 0);
        const Variant stored = PropertyValue(app.get(), field.hidden);
        const Variant shown = PropertyValue(app.get(), field.visible);
        if (field.value.Type() == VariantType::String) {
            EXPECT_EQ(stored.AsString(), field.value.AsString());
            EXPECT_EQ(shown.AsString(), field.value.AsString());
        } else {
            EXPECT_EQ(stored.AsInteger(), field.value.AsInteger());
            EXPECT_EQ(shown.AsInteger(), field.value.AsInteger());
        }
    }
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
    Application::_SetSupportsHiDPI(true);
    _RuntimeInitExternalClasses();
    _InitPluginEntrypoints();
    {
        Ref<Object> app = RuntimeNewObject(TestAppClass());
        RuntimeCallSlot<void, int64_t, int64_t, int64_t, int64_t, int64_t, String, String, String>(
            app.get(), Application::kSetVersionDataSlot, 3, 0, 0, 0, 3, String("by A. Author"),
            String("3.0"), String("Corvane Conversion"));
        AppMenuBarSetter(app.get(), 0, bar.get());
        _RuntimeRegisterAppObject(app.get());
    }
    gLateStartups = 0;
    _RunFrameworkInitialization(reinterpret_cast<GenericFn>(&LateStartup));
    RuntimeTraceEnable(false);

    EXPECT_EQ(
        RuntimeTraceLog(),
        (std::vector<std::string>{"ApplicationSetSupportsHiDPI True", "RuntimeInitExternalClasses",
                                  "InitPluginEntrypoints", "ResolvePluginClasses",
                                  "_x_SetVersionData 3|0|0|0|3|by A. Author|3.0|Corvane Conversion",
                                  "AppMenuBarSetter MenuBar", "RuntimeRegisterAppObject TestApp",
                                  "RunFrameworkInitialization"}));
    EXPECT_EQ(gLateStartups, 1);
    Ref<Object> app = RuntimeApplicationObject();  // kept by the framework
    ASSERT_NE(app, nullptr);
    EXPECT_EQ(AppMenuBarGetter(app.get(), 0), bar);
    EXPECT_TRUE(PropertyValue(app.get(), "SupportsHiDPI").AsBoolean());
    for (const char* name : {"NilObjectException", "MessageDialog", "WeakRef", "_VariantWString"})
        EXPECT_NE(RuntimeFindClass(name), nullptr) << name;
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

TEST_F(ApplicationTest, EndExceptionEndsTheApplicationQuietlyAndThreadEndExceptionEndsNothing) {
    struct Case {
        ClassRecord* (*raised)();
        bool loopEnds;
    };
    for (const Case& c : {Case{&EndException::dunder_Lookup, true},
                          Case{&ThreadEndException::dunder_Lookup, false}}) {
        SCOPED_TRACE(c.raised()->name);
        RuntimeResetForTesting();
        ClassRecord* cls = c.raised();
        EXPECT_FALSE(RunProgramCode([cls] { RuntimeRaiseNew(cls, "end"); }));
        EXPECT_TRUE(ToolkitMessageBoxes().empty());
        EXPECT_EQ(RuntimeExit(), 0);
        EXPECT_EQ(RunLoopAtMost(300) < 200, c.loopEnds);
    }
}

TEST_F(ApplicationTest, ProgramCodeReportsWhateverItRaisesAndNothingElse) {
    struct Case {
        const char* name;
        std::function<void()> code;
        bool completes;
        const char* reported;
    };
    const Case cases[] = {
        {"code that completes", [] {}, true, nullptr},
        {"a RuntimeException", [] { RaiseUnsupported("Test.Operation"); }, false,
         "UnsupportedOperationException"},
        {"an object that is no RuntimeException",
         [] { RuntimeRaise(RuntimeNewObject(WeakRef::dunder_Lookup())); }, false, "WeakRef"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ToolkitClearMessageBoxes();
        EXPECT_EQ(RunProgramCode(c.code), c.completes);
        ASSERT_EQ(ToolkitMessageBoxes().size(), c.reported ? 1u : 0u);
        if (c.reported) {
            EXPECT_NE(ToolkitMessageBoxes()[0].find(c.reported), std::string::npos);
        }
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
                  Application::_CallFunctionWithExceptionHandling(
                      app.get(), reinterpret_cast<void*>(&RaiseRuntimeException));
              }),
              "nothing");
    EXPECT_EQ(Heard(), std::vector<std::string>{"UnhandledException NilObjectException"});
    EXPECT_EQ(ToolkitMessageBoxes().size(), 1u);
    EXPECT_EQ(RaisedClass([&] {
                  Application::_CallFunctionWithExceptionHandling(
                      app.get(), reinterpret_cast<void*>(&RaiseOtherObject));
              }),
              "WeakRef");
    EXPECT_EQ(ToolkitMessageBoxes().size(), 1u);
}

// ---- appearance ---------------------------------------------------------------------------

TEST_F(ApplicationTest, ThemeNotificationsRaiseAppearanceChangedAndOthersAreIgnored) {
    RegisterTestApp();
    Ref<Object> app = RuntimeApplicationObject();
    struct Case {
        const char* notification;
        bool raises;
    };
    for (const Case& c : {Case{"AppleInterfaceThemeChangedNotification", true},
                          Case{"AppleColorPreferencesChangedNotification", true},
                          Case{"NSWorkspaceDidWakeNotification", false}}) {
        SCOPED_TRACE(c.notification);
        Heard().clear();
        Application::_MacOSNotificationReceived(app.get(), String(c.notification), nullptr,
                                                nullptr);
        EXPECT_EQ(Heard().size(), c.raises ? 1u : 0u);
    }
}

TEST_F(ApplicationTest, AChangeOfQtsPaletteRaisesAppearanceChangedOnce) {
    ToolkitEnsureApplication();
    RegisterTestApp();
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
    std::vector<std::string> names;
    for (const Initializer& entry : entries) names.push_back(entry.name);
    for (const char* expected :
         {"Application.__ctblinit", "Window.__ctblinit", "MenuBar.__ctblinit",
          "TextField.__ctblinit", "_VariantBoolean.__ctblinit"})
        EXPECT_NE(std::find(names.begin(), names.end(), expected), names.end()) << expected;
    RuntimePerformInitializers(entries);
    EXPECT_EQ(RuntimeInitializersRun().size(), entries.size());
    for (const char* cls : {"Application", "Window", "Timer", "Picture", "_PaneChild"})
        EXPECT_NE(RuntimeFindClass(cls), nullptr) << cls;
}

// ---- the display probe --------------------------------------------------------------------

// Sets environment variables for one scope and puts the old values back.
class EnvironmentScope {
  public:
    void Set(const char* name, std::optional<std::string> value) {
        if (!saved_.count(name)) {
            const char* old = std::getenv(name);
            saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
        }
        if (value) {
            setenv(name, value->c_str(), 1);
        } else {
            unsetenv(name);
        }
    }
    ~EnvironmentScope() {
        for (const auto& [name, value] : saved_) {
            if (value) {
                setenv(name.c_str(), value->c_str(), 1);
            } else {
                unsetenv(name.c_str());
            }
        }
    }

  private:
    std::map<std::string, std::optional<std::string>> saved_;
};

// A listening socket that stands in for a display server while it lives.
class FakeServer {
  public:
    // A local socket: abstract (as X servers also listen) or at a path.
    static FakeServer Local(const std::string& name, bool abstract) {
        FakeServer server(socket(AF_UNIX, SOCK_STREAM, 0));
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path + (abstract ? 1 : 0), name.data(), name.size());
        socklen_t length = socklen_t(offsetof(sockaddr_un, sun_path) + (abstract ? 1 : 0) +
                                     name.size() + (abstract ? 0 : 1));
        if (!abstract) unlink(name.c_str());
        server.ok_ = bind(server.fd_, reinterpret_cast<sockaddr*>(&address), length) == 0 &&
                     listen(server.fd_, 1) == 0;
        if (!abstract) server.path_ = name;
        return server;
    }
    // A TCP socket on the loopback interface, on a port the system picks.
    static FakeServer Tcp() {
        FakeServer server(socket(AF_INET, SOCK_STREAM, 0));
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof(address);
        server.ok_ = bind(server.fd_, reinterpret_cast<sockaddr*>(&address), length) == 0 &&
                     listen(server.fd_, 1) == 0 &&
                     getsockname(server.fd_, reinterpret_cast<sockaddr*>(&address), &length) == 0;
        server.port_ = ntohs(address.sin_port);
        return server;
    }
    FakeServer(FakeServer&& other) noexcept
        : fd_(std::exchange(other.fd_, -1)),
          ok_(other.ok_),
          port_(other.port_),
          path_(std::move(other.path_)) {
        other.path_.clear();
    }
    ~FakeServer() {
        if (fd_ >= 0) close(fd_);
        if (!path_.empty()) unlink(path_.c_str());
    }
    bool ok() const { return ok_; }
    int port() const { return port_; }

  private:
    explicit FakeServer(int fd) : fd_(fd) {}
    int fd_;
    bool ok_ = false;
    int port_ = 0;
    std::string path_;
};

TEST_F(ApplicationTest, TheDisplayProbeFindsAServerThatAcceptsAConnectionAndSaysWhyNot) {
    const std::string socketPath = "/tmp/corvane-display-probe-" + std::to_string(getpid());
    FakeServer xServer =
        FakeServer::Local("/tmp/.X11-unix/X" + std::to_string(40000 + getpid() % 9999), true);
    FakeServer waylandServer = FakeServer::Local(socketPath, false);
    FakeServer tcpServer = FakeServer::Tcp();
    ASSERT_TRUE(xServer.ok() && waylandServer.ok() && tcpServer.ok());
    ASSERT_GT(tcpServer.port(), 6000);
    const std::string localDisplay = ":" + std::to_string(40000 + getpid() % 9999);
    const std::string tcpDisplay = "127.0.0.1:" + std::to_string(tcpServer.port() - 6000);

    struct Case {
        const char* name;
        std::optional<std::string> platform, display, wayland;
        bool available;
        const char* why;
    };
    const Case cases[] = {
        {"offscreen needs no server", "offscreen", std::nullopt, std::nullopt, true, ""},
        {"xcb without DISPLAY", "xcb", std::nullopt, std::nullopt, false,
         "no display found: DISPLAY is not set"},
        {"xcb with a local server", "xcb", localDisplay, std::nullopt, true, ""},
        {"xcb with a server over TCP", "xcb", tcpDisplay, std::nullopt, true, ""},
        {"xcb with nobody listening", "xcb", ":59999", std::nullopt, false,
         "no display found: cannot connect to the X server :59999"},
        {"wayland with its socket", "wayland", std::nullopt, socketPath, true, ""},
        {"wayland without a socket", "wayland", std::nullopt, socketPath + "-gone", false,
         "no display found: the Wayland socket"},
        {"no platform named, X found", std::nullopt, localDisplay, std::nullopt, true, ""},
        {"no platform named, nothing found", std::nullopt, std::nullopt, std::nullopt, false,
         "no display found: DISPLAY is not set"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EnvironmentScope environment;
        environment.Set("QT_QPA_PLATFORM", c.platform);
        environment.Set("DISPLAY", c.display);
        environment.Set("WAYLAND_DISPLAY", c.wayland);
        std::string why;
        EXPECT_EQ(ToolkitDisplayAvailable(&why), c.available);
        EXPECT_EQ(why.rfind(c.why, 0), 0u) << why;
    }
}

}  // namespace
