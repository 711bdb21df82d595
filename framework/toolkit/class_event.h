// Calling a class's event handler from a framework operation that the program called: what
// the handler raises passes on to the program, unlike RaiseClassEvent, which the framework
// uses where an event comes from Qt and nothing may pass through the event loop.
#pragma once

#include <cstdint>

#include "framework/runtime/runtime.h"

// The handler's result, or `fallback` when no class of the object's chain handles `event`.
template <class R, class... A>
R CallClassEvent(Object* object, uint32_t event, R fallback, A... args) {
    GenericFn handler = RuntimeClassEventHandler(object, event);
    if (!handler) return fallback;
    Ref<Object> keep = Ref<Object>::Retain(object);
    return reinterpret_cast<R (*)(Object*, A...)>(handler)(object, args...);
}

template <class... A>
void CallClassEventVoid(Object* object, uint32_t event, A... args) {
    GenericFn handler = RuntimeClassEventHandler(object, event);
    if (!handler) return;
    Ref<Object> keep = Ref<Object>::Retain(object);
    reinterpret_cast<void (*)(Object*, A...)>(handler)(object, args...);
}
