// Timers: the framework class Timer (4 virtual slots, 11 method entries, 7 properties, the
// one event Action, 44 bytes of instance data), the interfaces a timer on a window uses,
// and QTimer underneath with millisecond precision.
//
// RunMode 0 is off, 1 fires once, 2 fires repeatedly, every Period milliseconds. Setting
// either re-arms a running timer, so a record that sets RunMode 1 and then Period 4000 fires
// once, 4000 ms after it was applied. A timer fires while its window is hidden.
#pragma once

#include <cstdint>

#include "framework/runtime/runtime.h"

struct Timer {
    static ClassRecord* dunder_Lookup();
    static void dunder_ctblinit();
    static constexpr uint32_t kSlotCount = 4;
    static constexpr uint32_t kMethodCount = 11;
    static constexpr uint32_t kInstanceDataSize = 44;
    static constexpr uint32_t kActionEvent = 0;  // void(Object* timer)

    // The functions of actionSource, which a subclass's interface table re-uses.
    static void addActionNotificationReceiver(Object* self, Object* receiver);
    static void removeActionNotificationReceiver(Object* self, Object* receiver);
};

// Interfaces. actionSource (addActionNotificationReceiver, removeActionNotificationReceiver);
// _PaneChild (_SetWindow, Window, _Index, _SetIndex), through which the framework hands a
// control on a window its owner; actionNotificationReceiver (PerformAction).
struct actionSource {
    static ClassRecord* dunder_Lookup();
    static void dunder_ctblinit();
};
struct under_PaneChild {
    static ClassRecord* dunder_Lookup();
    static void dunder_ctblinit();
    static constexpr uint32_t kSetWindow = 0, kWindow = 1, kIndex = 2, kSetIndex = 3;
};
struct actionNotificationReceiver {
    static ClassRecord* dunder_Lookup();
    static void dunder_ctblinit();
};

// The interface table of `object` for `interface`, or nil when the object does not
// implement it.
const InterfaceEntry* RuntimeInterfaceOf(Object* object, ClassRecord* interface);
// Whether the timer is armed now (RunMode not 0 and not yet fired for a single run).
bool RuntimeTimerArmed(Object* timer);
