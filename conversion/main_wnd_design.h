// The design of the conversion window as data: its own property record and, in creation
// order, its eleven controls with their classes, records, backdrop pictures and event
// bindings. _CreateControls0 walks this table; nothing else decides what the window holds.
#pragma once

#include <cstdint>
#include <span>

#include "framework/toolkit/toolkit.h"

namespace MainWnd {

// The routines of one event shape: the delegate's invocation routine and the event's
// dispatch routine.
struct EventShape {
    GenericFn (*invocation)();
    GenericFn (*dispatch)();
};

// A control event bound to the window method in `handlerSlot`.
struct Binding {
    uint32_t event;         // number in the control class's event list
    uint32_t handlerSlot;   // the window's virtual slot holding the handler
    const char* signature;  // the delegate's declaration text
    const EventShape* shape;
};

struct ControlDesign {
    const char* name;           // the name the window holds it under
    ClassRecord* (*cls)();      // the control's class lookup
    String record;              // its design property record, encoded once
    Ref<Object> (*backdrop)();  // canvases: the picture set before the record; else nil
    std::span<const Binding> bindings;
};

// The window's own property record.
const String& WindowRecord();
// The eleven controls, in creation order.
std::span<const ControlDesign> ControlDesigns();

}  // namespace MainWnd
