// Running program code: every event handler of the program runs through the installed
// exception hook. A RuntimeException that comes back from it is the application's to
// handle: EndException and ThreadEndException end quietly; any other goes to the
// application's UnhandledException event and, unhandled there, to the framework's report,
// which shows a message box naming the exception's class and message and then ends the
// program with a non-zero exit status. An object raised that is no RuntimeException is
// reported the same way, since it cannot travel through the event loop.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "framework/runtime/runtime.h"

// Runs `code` as program code; false when it raised.
bool RunProgramCode(const std::function<void()>& code);

// Raises event `event` of `object` through its class's event table (the nearest class that
// handles it). Returns the handler's result, or `fallback` when no class handles it or the
// handler raised. Handler shape: R (*)(Object* self, A...).
template <class R, class... A>
R RaiseClassEvent(Object* object, uint32_t event, R fallback, A... args) {
    GenericFn handler = RuntimeClassEventHandler(object, event);
    if (!handler) return fallback;
    R result = fallback;
    Ref<Object> keep = Ref<Object>::Retain(object);
    RunProgramCode([&] { result = reinterpret_cast<R (*)(Object*, A...)>(handler)(object, args...); });
    return result;
}
// The same for an event without a result.
template <class... A>
void SendClassEvent(Object* object, uint32_t event, A... args) {
    GenericFn handler = RuntimeClassEventHandler(object, event);
    if (!handler) return;
    Ref<Object> keep = Ref<Object>::Retain(object);
    RunProgramCode([&] { reinterpret_cast<void (*)(Object*, A...)>(handler)(object, args...); });
}

// Raises event `event` of a control: the handler attached to the object
// (RuntimeAddEventHandler) if there is one, else the class's. Dispatch routine shape:
// R (*)(Object* delegate, Object* sender, A...).
template <class R, class... A>
R RaiseObjectEvent(Object* object, uint32_t event, R fallback, A... args) {
    const EventBinding* binding = RuntimeFindEventHandler(object, event);
    if (!binding) return RaiseClassEvent<R, A...>(object, event, fallback, args...);
    R result = fallback;
    Ref<Object> keep = Ref<Object>::Retain(object);
    Ref<Object> delegate = binding->delegate;
    GenericFn dispatch = binding->dispatch;
    RunProgramCode([&] {
        result = reinterpret_cast<R (*)(Object*, Object*, A...)>(dispatch)(delegate.get(), object, args...);
    });
    return result;
}
template <class... A>
void SendObjectEvent(Object* object, uint32_t event, A... args) {
    const EventBinding* binding = RuntimeFindEventHandler(object, event);
    if (!binding) return SendClassEvent<A...>(object, event, args...);
    Ref<Object> keep = Ref<Object>::Retain(object);
    Ref<Object> delegate = binding->delegate;
    GenericFn dispatch = binding->dispatch;
    RunProgramCode([&] {
        reinterpret_cast<void (*)(Object*, Object*, A...)>(dispatch)(delegate.get(), object, args...);
    });
}
