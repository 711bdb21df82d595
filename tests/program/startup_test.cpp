// The start-up in its fixed order with what it gives the framework (against the table in
// tests/data/startup.txt), the end of a run, start-ups that fail, and the exception hook.
#include <pthread.h>

#include <string>
#include <thread>
#include <vector>

#include "conversion/main_wnd.h"
#include "data_table.h"
#include "framework/toolkit/application_impl.h"
#include "shell/file_types.h"
#include "shell/menu.h"
#include "shell/shell_testing.h"
#include "splash/splash_wnd.h"
#include "startup_fixture.h"

namespace {

using namespace data_table;

Variant PropertyValue(Object* object, const std::string& name) {
    const PropertyEntry* entry = RuntimeFindProperty(object->cls, name);
    EXPECT_NE(entry, nullptr) << name;
    return entry ? entry->boxedGetter(object, entry) : Variant();
}

std::string AsText(const Variant& value) {
    if (value.Type() == VariantType::Boolean) return value.AsBoolean() ? "True" : "False";
    return value.Type() == VariantType::String ? value.AsString().Std()
                                               : std::to_string(value.AsInteger());
}

// The framework calls of the start-up up to the application's menu bar, in order.
std::vector<std::string> StartupCalls(const Tables& data) {
    std::string version = "_x_SetVersionData ";
    for (const Row& row : Section(data, "version data"))
        version += Text(row.at("value")) + (&row == &data.at("version data").back() ? "" : "|");
    std::map<std::string, std::string> type;
    for (const Row& row : Section(data, "file type"))
        type[row.at("property")] = Text(row.at("value"));
    const double runtimeVersion = std::stod(Section(data, "runtime version").at(0).at("version"));
    return {"RuntimeSetVersion " + std::to_string(runtimeVersion),
            "ApplicationSetSupportsHiDPI True",
            "RuntimeInitExternalClasses",
            "InitPluginEntrypoints",
            "ResolvePluginClasses",
            "RuntimeRegisterFileType " + type["Name"] + "|" + type["MacCreator"] + "|" +
                type["MacType"] + "|" + type["Extensions"] + "|",
            version};
}

// A run ended by closing the conversion window, or by File › Quit.
class StartupTest : public ProgramRunTest, public testing::WithParamInterface<bool> {};

TEST_P(StartupTest, StartsInItsFixedOrderAndEndsWithStatusZero) {
    const Tables data = Read("startup.txt");
    At(4300, [&] {
        Ref<Object> app = RuntimeApplicationObject(), conversion = Conversion();
        ASSERT_TRUE(app && conversion);
        EXPECT_EQ(AppMenuBarGetter(app.get(), 0).get(), Menu::Menu().get());
        EXPECT_EQ(WindowMenuBarGetter(conversion.get(), 0).get(), Menu::Menu().get());
        for (int i = 0; i < 2; ++i) {  // the accessors give the one window of each class
            EXPECT_EQ(SplashWnd::SplashWnd().get(), Splash().get());
            EXPECT_EQ(MainWnd::MainWnd().get(), conversion.get());
        }
        for (const Row& row : Section(data, "version data"))
            for (const std::string& name : {row.at("property"), "_x_m" + row.at("property")})
                EXPECT_EQ(AsText(PropertyValue(app.get(), name)), Text(row.at("value"))) << name;
        EXPECT_EQ(PropertyValue(app.get(), "RegionCode").AsInteger(), 0) << "never set";
        if (GetParam()) Close(conversion.get());
        if (!GetParam()) Choose(conversion.get(), "Quit");
    });
    EXPECT_EQ(Run(), 0);

    std::vector<std::string> expected = StartupCalls(data);
    for (const char* call : {"AppMenuBarSetter Menu.Menu", "RuntimeRegisterAppObject App",
                             "RunFrameworkInitialization",
                             "WindowDefaultConstructor SplashWnd.SplashWnd", "RuntimeRun"})
        expected.push_back(call);
    std::vector<std::string> trace = RuntimeTraceLog();
    std::erase_if(trace, [](const std::string& call) {  // the design test holds the bindings
        return call.starts_with("RuntimeCreateDelegate ");
    });
    ASSERT_GE(trace.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(trace.begin(), trace.begin() + expected.size()), expected);
    EXPECT_EQ(trace.back(), "RuntimePerformFinalizers");
    EXPECT_EQ(RuntimeUnhandledExceptionCount(), 0);

    std::vector<std::string> ours;
    for (const Row& row : Section(data, "initialisers")) ours.push_back(row.at("entry"));
    const std::vector<std::string>& run = RuntimeInitializersRun();
    ASSERT_GT(run.size(), ours.size());
    EXPECT_EQ(std::vector<std::string>(run.end() - ours.size(), run.end()), ours) << "ours last";
}

INSTANTIATE_TEST_SUITE_P(ClosedOrQuit, StartupTest, testing::Bool(),
                         [](const auto& info) { return info.param ? "Close" : "FileQuit"; });

TEST(StartupFileTypes, TheTextTypeIsTheOneMemberOfTheSetWithItsProperties) {
    FileTypes::ResetForTesting();
    FileTypes::pAllFileTypes::dunder_Init();
    FileTypes::under_Initialize();
    Ref<Object> text = FileTypes::Text(), all = FileTypes::AllFileTypesForTesting();
    ASSERT_TRUE(text && all);
    EXPECT_EQ(RuntimeArrayUbound(all.get()), 0);
    EXPECT_EQ(RuntimeArrayGet(all.get(), 0), text);
    Ref<Object> fresh = RuntimeNewObject(FileType::dunder_Lookup());  // for a value never set
    const Tables data = Read("startup.txt");
    for (const Row& row : Section(data, "file type")) {
        const std::string name = row.at("property");
        EXPECT_EQ(AsText(PropertyValue(text.get(), name)),
                  Given(row.at("value")) ? Text(row.at("value"))
                                         : AsText(PropertyValue(fresh.get(), name)))
            << name;
    }
    FileTypes::ResetForTesting();
}

bool gFinalized = false;

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
    std::vector<std::string> expected = StartupCalls(Read("startup.txt"));
    expected.push_back("RuntimeUnhandledException ThreadAccessingUIException");
    expected.push_back("RuntimePerformFinalizers");
    EXPECT_EQ(RuntimeTraceLog(), expected);
    EXPECT_FALSE(RuntimeApplicationObject()) << "the application object was not registered";
    EXPECT_EQ(RuntimeWindowCount(), 0);
    EXPECT_EQ(RuntimeMenuItemCount(Menu::Menu().get()), 4) << "no half-built bar was kept";
}

// The report of an initialiser that raised: the runtime's own, which writes one line, or one
// that raises in turn. Either way the run ends through the finalisers and the exit status.
TEST_F(FailingStartupTest, AnInitialiserThatRaisesEndsTheRunWithOneReportAndAFailingStatus) {
    struct Case {
        const char* report;
        void (*reporter)(Object*);
        const char* printed;
    };
    const Case cases[] = {
        {"the runtime's own", nullptr,
         "corvane-conversion: StackOverflowException: the stack is exhausted\n"},
        {"one that raises", [](Object*) { RaiseUnsupported("showing the report"); }, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.report);
        ResetProcess();
        RuntimeTraceEnable(true);
        RuntimeSetUnhandledExceptionReporter(c.reporter);
        gFinalized = false;
        RuntimeAddFinalizer([] { gFinalized = true; });
        // The initialisers run on a stack too small for any class to register.
        pthread_attr_t attributes;
        pthread_attr_init(&attributes);
        pthread_attr_setstacksize(&attributes, 192 * 1024);
        pthread_t thread;
        static int status;
        static bool escaped;
        status = -1;
        escaped = false;
        testing::internal::CaptureStderr();
        ASSERT_EQ(pthread_create(
                      &thread, &attributes,
                      [](void*) -> void* {
                          static char name[] = "corvane-conversion";
                          static char* argv[] = {name, nullptr};
                          try {
                              status = RunProgram(1, argv);
                          } catch (...) {
                              escaped = true;  // it would have left main and ended the process
                          }
                          return nullptr;
                      },
                      nullptr),
                  0);
        pthread_join(thread, nullptr);
        pthread_attr_destroy(&attributes);
        RuntimeInit(0, nullptr);  // this thread is the main one again
        RuntimeSetUnhandledExceptionReporter(&ToolkitReportUnhandledException);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), c.printed);
        EXPECT_FALSE(escaped) << "an exception left RunProgram";
        EXPECT_NE(status, 0);
        EXPECT_TRUE(gFinalized);
        EXPECT_EQ(RuntimeUnhandledExceptionCount(), 1);
        EXPECT_EQ(RuntimeTraceLog(),
                  (std::vector<std::string>{"RuntimeUnhandledException StackOverflowException",
                                            "RuntimePerformFinalizers"}));
    }
}

void Completes(void* calls) {
    ++*static_cast<int*>(calls);
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
        Ref<Object> taken = Hook([](void*) { RaiseUnsupported("in the hook"); }, nullptr);
        ASSERT_TRUE(taken);
        EXPECT_EQ(taken->cls, UnsupportedOperationException::dunder_Lookup());
        EXPECT_EQ(taken->refcount, 1) << "the caller's reference is the only one";
    }
    EXPECT_EQ(RuntimeLiveObjectCount(), before);
    try {
        Hook([](void*) { RuntimeRaise(RuntimeNewWeakRef(nullptr)); }, nullptr);
        ADD_FAILURE() << "an object that is no RuntimeException was taken";
    } catch (const RaisedException& pending) {
        EXPECT_EQ(pending.ExceptionObject()->cls, WeakRef::dunder_Lookup());
    }
}

}  // namespace
