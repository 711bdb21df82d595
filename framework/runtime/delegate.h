// Delegates and events.
//
// A delegate is a runtime object that holds a function, an optional target object and the
// invocation routine for its shape. Its invocation routine calls the function with the
// target first (when the delegate was made with one) and the delegate's arguments after it.
// A delegate made with flag 1 holds its target weakly, so a control's handler never keeps
// its window alive; calling it once the target is gone raises NilObjectException.
//
// An event handler attached to an object is a delegate plus the event's dispatch routine,
// which the framework calls when the event fires, with the sender and the event's arguments.
#pragma once

#include <cstdint>
#include <string_view>

#include "class_record.h"
#include "exceptions.h"
#include "ref.h"

struct Delegate {
    static ClassRecord* dunder_Lookup();
    static void dunder_ctblinit();
};

constexpr int32_t kDelegateWeakTarget = 1;

// Makes the delegate type `name` ("Timer.TimerCallLater") known. Every delegate of this
// runtime is of the one class Delegate, so the type is that class under its own name: a
// parameter of the type takes any delegate and refuses every other object.
void RuntimeDeclareDelegateType(std::string_view name);

// A new delegate. `invoke` is the invocation routine of the delegate's shape
// (DelegateInvocation<R, A...>()), `function` the code to call, `target` the object it is
// called on or nil, `signature` the delegate's declaration text ("( PushButton )").
Ref<Object> RuntimeCreateDelegate(GenericFn invoke, GenericFn function, Object* target,
                                  const char* signature, int32_t flags);

// The delegate's function pointer, its signature text, and whether it was made with a target.
GenericFn RuntimeDelegateFunction(Object* delegate);
const char* RuntimeDelegateSignature(Object* delegate);
bool RuntimeDelegateHasTarget(Object* delegate);
// The delegate's target with a new reference; nil when it has none or the target is gone.
Ref<Object> RuntimeDelegateTarget(Object* delegate);
// The delegate's invocation routine.
GenericFn RuntimeDelegateInvoker(Object* delegate);

// The invocation routine of shape R(A...).
template <class R, class... A>
R DelegateInvoke(Object* delegate, A... args) {
    RuntimeRequire(delegate);
    GenericFn fn = RuntimeDelegateFunction(delegate);
    if (RuntimeDelegateHasTarget(delegate)) {
        Ref<Object> target = RuntimeDelegateTarget(delegate);
        if (!target) RaiseNilObjectException();
        return reinterpret_cast<R (*)(Object*, A...)>(fn)(target.get(), args...);
    }
    return reinterpret_cast<R (*)(A...)>(fn)(args...);
}
template <class R, class... A>
GenericFn DelegateInvocation() {
    return reinterpret_cast<GenericFn>(&DelegateInvoke<R, A...>);
}

// Calls `delegate` through its own invocation routine, which must be of shape R(A...).
template <class R, class... A>
R CallDelegate(Object* delegate, A... args) {
    auto invoke = reinterpret_cast<R (*)(Object*, A...)>(RuntimeDelegateInvoker(RuntimeRequire(delegate)));
    return invoke(delegate, args...);
}

// The dispatch routine of an event of shape R(A...): calls the delegate with the sender
// followed by the event's own arguments.
template <class R, class... A>
R EventDispatch(Object* delegate, Object* sender, A... args) {
    return CallDelegate<R, Object*, A...>(delegate, sender, args...);
}
template <class R, class... A>
GenericFn EventDispatchRoutine() {
    return reinterpret_cast<GenericFn>(&EventDispatch<R, A...>);
}

// Attaches a handler to event `event` of `object`; the object keeps the delegate. A later
// handler for the same event replaces the earlier one.
void RuntimeAddEventHandler(Object* object, uint32_t event, GenericFn dispatch, Object* delegate);

struct EventBinding {
    GenericFn dispatch;
    Ref<Object> delegate;
};
// The handler attached to `event` of `object`, or nil.
const EventBinding* RuntimeFindEventHandler(Object* object, uint32_t event);

// The handler that the object's class (or the nearest superclass) writes for `event`, or nil.
GenericFn RuntimeClassEventHandler(Object* object, uint32_t event);

// Whether the user class named `className` handles the event named `eventName`: asked of the
// object's class record (and, with `userClass` False, of every class of its chain).
bool RuntimeUserIsEventHandled(Object* object, const char* className, const char* eventName);
bool under_RuntimeIsEventHandled(Object* object, const String& className, const String& eventName,
                                 bool userClass);
