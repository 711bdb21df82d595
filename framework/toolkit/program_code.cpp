// Running program code: through the exception hook, with what it raises taken care of here,
// so that no exception ever passes through Qt's event loop.
#include "framework/toolkit/program_code.h"

#include "framework/toolkit/application.h"
#include "framework/toolkit/application_internal.h"

namespace {

void RunCode(void* code) {
    (*static_cast<const std::function<void()>*>(code))();
}

// Runs `code` through the exception hook; what it raised, or nil. An object raised that the
// hook leaves pending (no RuntimeException, or raised before the call) is taken here too.
Ref<Object> RunThroughHook(void (*code)(void*), void* argument) {
    try {
        return RuntimeCallThroughExceptionHelper(code, argument);
    } catch (const RaisedException& escaped) {
        return escaped.ExceptionObject();
    } catch (const std::exception& failure) {
        return RuntimeNewException(RuntimeException::dunder_Lookup(), failure.what());
    } catch (...) {
        return RuntimeNewException(RuntimeException::dunder_Lookup(), "an unknown failure");
    }
}

bool IsA(Object* object, ClassRecord* (*lookup)()) {
    return RuntimeObjectIsa(object, lookup());
}

// An exception that left program code: EndException ends the application quietly,
// ThreadEndException ends nothing here; another goes to the application's
// UnhandledException event and, unhandled there, to the report.
void HandleRaised(Object* app, Object* exception) {
    if (IsA(exception, &EndException::dunder_Lookup)) {
        ToolkitEndEventLoop();
        return;
    }
    if (IsA(exception, &ThreadEndException::dunder_Lookup)) return;
    if (IsA(exception, &RuntimeException::dunder_Lookup) && app &&
        ToolkitApplicationHandlesException(app, exception))
        return;
    RuntimeUnhandledException(exception);
}

struct UnhandledExceptionCall {
    GenericFn handler;
    Object* app;
    Object* exception;
    bool handled = false;
};

void CallWithoutArguments(void* function) {
    reinterpret_cast<void (*)()>(function)();
}

void CallUnhandledExceptionHandler(void* argument) {
    auto* call = static_cast<UnhandledExceptionCall*>(argument);
    call->handled =
        reinterpret_cast<bool (*)(Object*, Object*)>(call->handler)(call->app, call->exception);
}

}  // namespace

bool RunProgramCode(const std::function<void()>& code) {
    Ref<Object> raised = RunThroughHook(&RunCode, const_cast<std::function<void()>*>(&code));
    if (!raised) return true;
    Ref<Object> app = RuntimeApplicationObject();
    HandleRaised(app.get(), raised.get());
    return false;
}

bool ToolkitApplicationHandlesException(Object* app, Object* exception) {
    GenericFn handler = RuntimeClassEventHandler(app, Application::kUnhandledException);
    if (!handler) return false;
    Ref<Object> keepApp = Ref<Object>::Retain(app);
    Ref<Object> keepException = Ref<Object>::Retain(exception);
    UnhandledExceptionCall call{handler, app, exception};
    Ref<Object> raised = RunThroughHook(&CallUnhandledExceptionHandler, &call);
    if (raised) {
        // The handler failed: its own failure is reported, and the first stays unhandled.
        RuntimeUnhandledException(raised.get());
        return false;
    }
    return call.handled;
}

// The method form: runs function() through the exception hook; a RuntimeException it returns
// is handled as program code's is, anything else stays pending.
void Application::under_CallFunctionWithExceptionHandling(Object* self, void* function) {
    RuntimeRequire(self);
    if (!function) RaiseNilObjectException();
    Ref<Object> raised = RuntimeCallThroughExceptionHelper(&CallWithoutArguments, function);
    if (raised) HandleRaised(self, raised.get());
}
