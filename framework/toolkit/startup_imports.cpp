// The services the start-up calls on the framework around the application object: the
// classes the runtime itself makes objects of, the plug-ins, the registration of the
// application object, and the framework's initialisation with the late start-up.
#include <QCoreApplication>
#include <string>

#include "framework/runtime/call_trace.h"
#include "framework/toolkit/application.h"
#include "framework/toolkit/application_impl.h"
#include "framework/toolkit/dialogs.h"
#include "framework/toolkit/program_code.h"
#include "framework/toolkit/qt_values.h"
#include "framework/toolkit/timer.h"

namespace {

// The application object the framework holds from its registration to the end of the toolkit.
Ref<Object>& RegisteredApplication() {
    static auto* app = new Ref<Object>();
    return *app;
}

}  // namespace

void RuntimeInitExternalClasses() {
    RuntimeTrace("RuntimeInitExternalClasses");
    RuntimeInitBoxingClasses();
    for (ClassRecord* (*lookup)() :
         {&RuntimeException::dunder_Lookup, &NilObjectException::dunder_Lookup,
          &IllegalCastException::dunder_Lookup, &OutOfBoundsException::dunder_Lookup,
          &StackOverflowException::dunder_Lookup, &TypeMismatchException::dunder_Lookup,
          &UnsupportedFormatException::dunder_Lookup, &FunctionNotFoundException::dunder_Lookup,
          &ThreadAccessingUIException::dunder_Lookup, &EndException::dunder_Lookup,
          &ThreadEndException::dunder_Lookup, &UnsupportedOperationException::dunder_Lookup,
          &MessageDialog::dunder_Lookup, &WeakRef::dunder_Lookup}) {
        lookup();
    }
    RuntimeSetUnhandledExceptionReporter(&ToolkitReportUnhandledException);
    ToolkitRegisterFinalizer();
}

void under_RuntimeInitExternalClasses() {
    RuntimeInitExternalClasses();
}

void InitPluginEntrypoints() {
    RuntimeTrace("InitPluginEntrypoints");
}
void ResolvePluginClasses() {
    RuntimeTrace("ResolvePluginClasses");
}
void under_InitPluginEntrypoints() {
    InitPluginEntrypoints();
    ResolvePluginClasses();
}

// ---- the application object -----------------------------------------------------------------

void RuntimeRegisterAppObject(Object* app) {
    RuntimeTrace(std::string("RuntimeRegisterAppObject ") + (app ? app->cls->name : "nil"));
    RuntimeRequire(app);
    RuntimeCheckCast(app, Application::dunder_Lookup());
    RegisteredApplication() = Ref<Object>::Retain(app);
    QCoreApplication::setApplicationVersion(
        ToQString(props::String::Get(app, app_field::kShortVersion)));
}

void under_RuntimeRegisterAppObject(Object* app) {
    Application::dunder_Lookup();
    RuntimeRegisterAppObject(app);
}

Ref<Object> RuntimeApplicationObject() {
    return RegisteredApplication();
}

void ToolkitForgetApplicationObject() {
    RegisteredApplication().Reset();
}

// ---- the framework's initialisation -------------------------------------------------------

void RunFrameworkInitialization(GenericFn lateStartup) {
    RuntimeTrace("RunFrameworkInitialization");
    under_UITrap();
    if (!lateStartup) RaiseNilObjectException();
    ToolkitEnsureApplication();
    if (Ref<Object> app = RuntimeApplicationObject()) SendClassEvent(app.get(), Application::kOpen);
    RunProgramCode([&] { reinterpret_cast<void (*)()>(lateStartup)(); });
}

void under_RunFrameworkInitialization(GenericFn lateStartup) {
    RunFrameworkInitialization(lateStartup);
}
