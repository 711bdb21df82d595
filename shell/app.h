// The application class App (a class outside any module): an Application that adds only an
// empty constructor and the answer to which events it handles. Its one instance is the
// framework's application object.
#pragma once

#include <cstdint>

#include "framework/toolkit/toolkit.h"

struct App {
    static void dunder_ctblinit();        // App.__ctblinit: builds the record once
    static ClassRecord* dunder_Lookup();  // App.__Lookup: the record, built on demand

    static constexpr uint32_t kSlotCount = 19;        // Application's 18, then Constructor
    static constexpr uint32_t kConstructorSlot = 18;  // "%%"

    // Constructor (slot 18): nothing to set up; Application has no constructor to call.
    static void Constructor(Object* self);
    // IsEventImplemented: the framework's answer for the user class "App".
    static bool IsEventImplemented(Object* self, String eventName);

    // App:_MacOSDistributedNotifications.iNotify.__Lookup: fills the record's one interface
    // entry with Application's _MacOSNotificationReceived.
    struct under_MacOSDistributedNotifications {
        struct iNotify {
            static void dunder_Lookup(InterfaceEntry* entry);
        };
    };
};
