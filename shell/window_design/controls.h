// A window's controls as data, and the one routine that builds them from it. The conversion
// window and the splash window each hold such a table; their _CreateControls0 walks it, so
// nothing else decides what a window holds.
#pragma once

#include <cstdint>
#include <span>

#include "framework/toolkit/toolkit.h"

namespace Design {

// The routines of one event shape: the delegate's invocation routine and the event's
// dispatch routine.
struct EventShape {
    GenericFn (*invocation)();
    GenericFn (*dispatch)();
};

// Action: void(control); KeyDown: bool(field, key); MouseDown: bool(button, x, y).
inline constexpr EventShape kActionShape{&DelegateInvocation<void, Object*>,
                                         &EventDispatchRoutine<void>};
inline constexpr EventShape kKeyDownShape{&DelegateInvocation<bool, Object*, String>,
                                          &EventDispatchRoutine<bool, String>};
inline constexpr EventShape kMouseDownShape{&DelegateInvocation<bool, Object*, int64_t, int64_t>,
                                            &EventDispatchRoutine<bool, int64_t, int64_t>};

// A control event bound to the window method in `handlerSlot`.
struct Binding {
    uint32_t event;         // number in the control class's event list
    uint32_t handlerSlot;   // the window's virtual slot holding the handler
    const char* signature;  // the delegate's declaration text
    const EventShape* shape;
};

struct ControlDesign {
    const char* name;           // the name the window holds it under
    ClassRecord* (*cls)();      // the class it is made of
    String record;              // its design property record, encoded once
    Ref<Object> (*backdrop)();  // canvases: the picture set before the record; else nil
    std::span<const Binding> bindings;
    uint32_t constructorSlot = RectControl::kConstructorSlot;
    ClassRecord* (*fetchedAs)() = nullptr;  // the class it is cast to when fetched; nil: `cls`
};

// Creates the controls of `window` one at a time, in table order: each is made by the window,
// constructed, added under its name, then fetched back by name for its backdrop, its record
// and each binding. An exception stops the creation there and leaves the controls already
// added in the window.
void CreateControls(Object* window, std::span<const ControlDesign> designs);

}  // namespace Design
