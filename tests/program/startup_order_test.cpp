// The start-up in its fixed order, read from the framework's call trace and from what the
// program has built at each point, and the end of the run with its exit status.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "conversion/main_wnd.h"
#include "framework/toolkit/toolkit.h"
#include "shell/credits.h"
#include "shell/file_types.h"
#include "shell/menu.h"
#include "splash/splash_wnd.h"
#include "startup_fixture.h"

namespace {

using startup_test::ProgramRunTest;

Variant PropertyOf(Object* object, const char* name) {
    const PropertyEntry* entry = RuntimeFindProperty(object->cls, name);
    if (!entry) {
        ADD_FAILURE() << "no property " << name;
        return Variant();
    }
    return entry->boxedGetter(object, entry);
}

// What the program has built when the application object asks for its menu bar.
struct AtMenuBar {
    bool asked = false;
    double runtimeVersion = 0;
    size_t fileTypesRegistered = 0;
    bool applicationRegistered = true;
    int64_t windows = -1;
};
AtMenuBar gAtMenuBar;

Ref<Object> ObservedMenuBar() {
    gAtMenuBar.asked = true;
    gAtMenuBar.runtimeVersion = RuntimeVersion();
    gAtMenuBar.fileTypesRegistered = RuntimeRegisteredFileTypes().size();
    gAtMenuBar.applicationRegistered = static_cast<bool>(RuntimeApplicationObject());
    gAtMenuBar.windows = RuntimeWindowCount();
    return Menu::Menu();
}

class StartupOrderTest : public ProgramRunTest {
protected:
    void CloseConversionWindowAt(int ms) {
        At(ms, [] {
            Ref<Object> conversion = ConversionWindow();
            ASSERT_TRUE(conversion);
            CloseWindow(conversion.get());
        });
    }
};

TEST_F(StartupOrderTest, FrameworkCallsFollowTheFixedStartupOrderUpToTheEventLoop) {
    CloseConversionWindowAt(4300);
    ASSERT_EQ(Run(), 0);
    const std::vector<std::string> expected = {
        "RuntimeSetVersion 2019.031000",
        "ApplicationSetSupportsHiDPI True",
        "RuntimeInitExternalClasses",
        "InitPluginEntrypoints",
        "ResolvePluginClasses",
        "RuntimeRegisterFileType text|R*ch|TEXT||",
        "_x_SetVersionData 3|0|0|0|3|" + std::string(kCreditLine) + "|3.0|Corvane Conversion",
        "AppMenuBarSetter Menu.Menu",
        "RuntimeRegisterAppObject App",
        "RunFrameworkInitialization",
        "WindowDefaultConstructor SplashWnd.SplashWnd",
        "RuntimeRun",
    };
    std::vector<std::string> trace = RuntimeTraceLog();
    ASSERT_GE(trace.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(trace.begin(), trace.begin() + expected.size()), expected);
    EXPECT_EQ(trace.back(), "RuntimePerformFinalizers");
    EXPECT_EQ(TraceIndex(trace, "RuntimeUnhandledException"), -1);
}

TEST_F(StartupOrderTest, TheProgramsInitializersRunLastInTheirOrder) {
    CloseConversionWindowAt(4300);
    ASSERT_EQ(Run(), 0);
    const std::vector<std::string>& run = RuntimeInitializersRun();
    const std::vector<std::string> program = {
        "FileTypes.pAllFileTypes.__Init",       "FileTypes.pText.__Init",
        "MainWnd.MainWnd.__ctblinit",           "Menu._implicitInstance.__Init",
        "Menu.Menu.__ctblinit",                 "SplashWnd._wrapper_Timer1.__ctblinit",
        "SplashWnd.SplashWnd.__ctblinit",       "App.__ctblinit",
    };
    ASSERT_EQ(run.size(), FrameworkInitializers().size() + program.size());
    EXPECT_EQ(std::vector<std::string>(run.end() - 8, run.end()), program);
}

TEST_F(StartupOrderTest, TheApplicationObjectGetsItsMenuBarAfterVersionAndFileTypeAndBeforeAnyWindow) {
    gAtMenuBar = {};
    StartupSetMenuBarSourceForTesting(&ObservedMenuBar);
    CloseConversionWindowAt(4300);
    ASSERT_EQ(Run(), 0);
    ASSERT_TRUE(gAtMenuBar.asked);
    EXPECT_DOUBLE_EQ(gAtMenuBar.runtimeVersion, 2019.031);
    EXPECT_EQ(gAtMenuBar.fileTypesRegistered, 1u);
    EXPECT_FALSE(gAtMenuBar.applicationRegistered) << "registered only once it has its menu bar";
    EXPECT_EQ(gAtMenuBar.windows, 0);
}

TEST_F(StartupOrderTest, TheApplicationObjectCarriesItsVersionDataAndTheOneMenuBar) {
    At(4300, [] {
        Ref<Object> app = RuntimeApplicationObject();
        ASSERT_TRUE(app);
        EXPECT_STREQ(app->cls->name, "App");
        struct Field {
            const char* name;
            Variant value;
        };
        const Field fields[] = {
            {"_x_mMajorVersion", int64_t{3}},  {"_x_mMinorVersion", int64_t{0}},
            {"_x_mBugVersion", int64_t{0}},    {"_x_mNonReleaseVersion", int64_t{0}},
            {"_x_mStageCode", int64_t{3}},     {"_x_mLongVersion", String(kCreditLine)},
            {"_x_mShortVersion", "3.0"},       {"_x_mPackageInfo", "Corvane Conversion"},
            {"_x_mRegionCode", int64_t{0}},
        };
        for (const Field& field : fields) {
            Variant got = PropertyOf(app.get(), field.name);
            if (field.value.Type() == VariantType::Integer) {
                EXPECT_EQ(got.AsInteger(), field.value.AsInteger()) << field.name;
            } else {
                EXPECT_EQ(got.AsString().Std(), field.value.AsString().Std()) << field.name;
            }
        }
        Ref<Object> conversion = ConversionWindow();
        ASSERT_TRUE(conversion);
        Ref<Object> appMenuBar = AppMenuBarGetter(app.get(), 0);
        ASSERT_TRUE(appMenuBar);
        EXPECT_EQ(appMenuBar.get(), Menu::Menu().get());
        EXPECT_EQ(WindowMenuBarGetter(conversion.get(), 0).get(), appMenuBar.get())
            << "the window's menu bar is the application's";
        CloseWindow(conversion.get());
    });
    ASSERT_EQ(Run(), 0);
}

TEST_F(StartupOrderTest, TheFileTypeIsTheTextTypeRegisteredOnce) {
    CloseConversionWindowAt(4300);
    ASSERT_EQ(Run(), 0);
    std::vector<RegisteredFileType> registered = RuntimeRegisteredFileTypes();
    ASSERT_EQ(registered.size(), 1u);
    EXPECT_EQ(registered[0].name, "text");
    EXPECT_EQ(registered[0].macType, "TEXT");
    EXPECT_EQ(registered[0].creator, "R*ch");
    Ref<Object> text = FileTypes::Text();
    ASSERT_TRUE(text);
    EXPECT_TRUE(PropertyOf(text.get(), "Imported").AsBoolean());
}

TEST_F(StartupOrderTest, TheSplashWindowIsTheFirstAndOnlyWindowWhenTheEventLoopStarts) {
    At(0, [] {
        ASSERT_EQ(RuntimeWindowCount(), 1);
        Ref<Object> first = RuntimeWindowAt(0);
        EXPECT_EQ(first.get(), SplashWindow().get());
        EXPECT_TRUE(Shown(first));
        EXPECT_TRUE(RuntimeHasExceptionHelper()) << "program code runs through the exception hook";
    });
    CloseConversionWindowAt(4300);
    EXPECT_EQ(Run(), 0);
    EXPECT_TRUE(LoopStarted());
}

TEST_F(StartupOrderTest, EveryAccessorCallGivesTheOneWindowOfItsClass) {
    At(4300, [] {
        Ref<Object> splash = SplashWindow();
        Ref<Object> conversion = ConversionWindow();
        ASSERT_TRUE(splash);
        ASSERT_TRUE(conversion);
        EXPECT_EQ(RuntimeWindowCount(), 2);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(SplashWnd::SplashWnd().get(), splash.get());
            EXPECT_EQ(MainWnd::MainWnd().get(), conversion.get());
        }
        EXPECT_EQ(RuntimeWindowCount(), 2);
        CloseWindow(conversion.get());
    });
    EXPECT_EQ(Run(), 0);
}

}  // namespace
