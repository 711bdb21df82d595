#include "shell/startup.h"

#include <vector>

#include "conversion/main_wnd.h"
#include "shell/app.h"
#include "shell/credits.h"
#include "shell/file_types.h"
#include "shell/menu.h"
#include "splash/splash_wnd.h"
#include "splash/timer_wrapper.h"

const VersionData kVersionData{.major = 3,
                               .minor = 0,
                               .bug = 0,
                               .nonRelease = 0,
                               .stage = 3,
                               .longVersion = kCreditLine,
                               .shortVersion = "3.0",
                               .packageInfo = "Corvane Conversion"};

namespace {

// The program's entries of the initialiser table, after the framework's, in this order.
const Initializer kProgramInitializers[] = {
    {"FileTypes.pAllFileTypes.__Init", &FileTypes::pAllFileTypes::dunder_Init},
    {"FileTypes.pText.__Init", &FileTypes::pText::dunder_Init},
    {"MainWnd.MainWnd.__ctblinit", &MainWnd::MainWnd::dunder_ctblinit},
    {"Menu._implicitInstance.__Init", &Menu::_implicitInstance::dunder_Init},
    {"Menu.Menu.__ctblinit", &Menu::Menu::dunder_ctblinit},
    {"SplashWnd._wrapper_Timer1.__ctblinit", &SplashWnd::_wrapper_Timer1::dunder_ctblinit},
    {"SplashWnd.SplashWnd.__ctblinit", &SplashWnd::SplashWnd::dunder_ctblinit},
    {"App.__ctblinit", &App::dunder_ctblinit},
};

// Step 1 of _Main: the hook goes to the framework as the function pointer of a delegate of
// shape "( Ptr, Ptr ) as Object"; the delegate itself is released at once.
void InstallExceptionHook() {
    Ref<Object> hook = RuntimeCreateDelegate(DelegateInvocation<Ref<Object>, void*, void*>(),
                                             AsGenericFn(&under_CallFunctionWithExceptionHandling),
                                             nullptr, "( Ptr, Ptr ) as Object", 0);
    under_RuntimeSetExceptionHelper(RuntimeDelegateFunction(hook.get()));
}

// Step 4 of _Main: the framework initialises itself and calls _LateStartup back, given as
// the function pointer of a delegate of shape "(  )".
void InitializeFramework() {
    Ref<Object> lateStartup = RuntimeCreateDelegate(
        DelegateInvocation<void>(), AsGenericFn(&under_LateStartup), nullptr, "(  )", 0);
    under_RunFrameworkInitialization(RuntimeDelegateFunction(lateStartup.get()));
}

// Runs the steps of the start-up; an exception from any of them skips the rest and is handed
// to the framework's report once. An exception raised by the report itself passes up to the
// caller. Whether the steps completed.
template <class Steps>
bool RunReportingFailure(Steps steps) {
    Ref<Object> pending;
    try {
        steps();
        return true;
    } catch (const RaisedException& raised) {
        pending = raised.ExceptionObject();
    }
    under_UnhandledException(pending.get());
    return false;
}

}  // namespace

std::span<const Initializer> ProgramInitializers() {
    static const std::vector<Initializer> table = [] {
        std::span<const Initializer> framework = FrameworkInitializers();
        std::vector<Initializer> all(framework.begin(), framework.end());
        all.insert(all.end(), std::begin(kProgramInitializers), std::end(kProgramInitializers));
        return all;
    }();
    return table;
}

Ref<Object> under_CallFunctionWithExceptionHandling(void* function, void* argument) {
    // Raised here, before the call, an exception stays pending for the caller.
    RuntimeStackCheck();
    Ref<Object> call =
        RuntimeCreateDelegate(DelegateInvocation<void, void*>(),
                              reinterpret_cast<GenericFn>(function), nullptr, "( Ptr )", 0);
    try {
        CallDelegate<void, void*>(call.get(), argument);
    } catch (const RaisedException& raised) {
        if (RuntimeObjectIsa(raised.ExceptionObject().get(), RuntimeException::dunder_Lookup()))
            return raised.ExceptionObject();
        throw;  // no RuntimeException: it stays pending
    }
    return nullptr;
}

void under_Main() {
    RunReportingFailure([] {
        InstallExceptionHook();
        RuntimeSetVersion(kRuntimeVersion);
        under_EarlyStartup();
        InitializeFramework();
        under_RuntimeRun();
    });
}

void under_EarlyStartup() {
    ApplicationSetSupportsHiDPI(true);
    under_RuntimeInitExternalClasses();
    under_InitPluginEntrypoints();
    under_InitFileTypes();
    under_NewAppInstance();
    under_ApplicationAddMenuHandlers();
}

void under_InitFileTypes() {
    FileTypes::under_Initialize();
}

void under_NewAppInstance() {
    Ref<Object> app = RuntimeNewObject(App::dunder_Lookup());
    RuntimeCallSlot<void>(RuntimeRequire(app.get()), App::kConstructorSlot);
    RuntimeCallSlot<void, int64_t, int64_t, int64_t, int64_t, int64_t, String, String, String>(
        app.get(), Application::kSetVersionDataSlot, kVersionData.major, kVersionData.minor,
        kVersionData.bug, kVersionData.nonRelease, kVersionData.stage,
        String(kVersionData.longVersion), String(kVersionData.shortVersion),
        String(kVersionData.packageInfo));
    {
        Ref<Object> menuBar = ::Menu::Menu();
        AppMenuBarSetter(app.get(), 0, menuBar.get());
    }
    under_RuntimeRegisterAppObject(app.get());
    // From here on the framework holds the application object; `app` drops ours.
}

void under_ApplicationAddMenuHandlers() {}

void under_LateStartup() {
    under_MakeDefaultView();
}

void under_MakeDefaultView() {
    Ref<Object> splash = ::SplashWnd::SplashWnd();  // creates the splash window, shown
}

int RunProgram(int argc, char** argv) {
    RuntimeInit(argc, argv);
    // An initialiser that raised is reported as _Main reports a failed step, and _Main does not
    // run. Whatever either report leaves pending stops here, untested: the finalisers and the
    // exit run in every case.
    try {
        if (RunReportingFailure([] { RuntimePerformInitializers(ProgramInitializers()); }))
            under_Main();
    } catch (const RaisedException&) {
        // Raised by the report of an earlier exception, which has already been counted.
    }
    RuntimePerformFinalizers();
    return RuntimeExit();
}
