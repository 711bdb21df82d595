#include "shell/app.h"

namespace {

ClassCell gAppCell{nullptr, &App::dunder_ctblinit};  // App.__ctbl

}  // namespace

void App::Constructor(Object* self) {
    RuntimeRequire(self);
}

bool App::IsEventImplemented(Object* self, String eventName) {
    return under_RuntimeIsEventHandled(self, String("App"), eventName, true);
}

void App::under_MacOSDistributedNotifications::iNotify::dunder_Lookup(InterfaceEntry* entry) {
    static const GenericFn functions[] = {
        AsGenericFn(&Application::under_MacOSNotificationReceived)};
    RuntimeFillInterfaceEntry(
        entry, ::under_MacOSDistributedNotifications::iNotify::dunder_Lookup(), functions);
}

void App::dunder_ctblinit() {
    // clang-format off
    // Own method entries, after Application's 23 re-stated ones:
    //        name                  flags           signature  function                  slot
    static const MethodRow App_methods[] = {
        Method("IsEventImplemented", kPrivate,       "%b%s",    &App::IsEventImplemented),
        Method("Constructor",        kPublicVirtual, "%%",      &App::Constructor,        kConstructorSlot),
    };
    // clang-format on
    static const InterfaceRow App_interfaces[] = {
        {&App::under_MacOSDistributedNotifications::iNotify::dunder_Lookup},
    };
    static const ClassSpec spec{.name = "App",
                                .superclass = &Application::dunder_Lookup,
                                .methodCount = 25,
                                .interfaceCount = 1,
                                .eventCount = 11,     // Application's, none handled
                                .propertyCount = 34,  // Application's, none added
                                .instanceDataSize = 96,
                                .slotCount = kSlotCount,
                                .methods = App_methods,
                                .interfaces = App_interfaces};
    RuntimeBuildClass(gAppCell, spec);
}

ClassRecord* App::dunder_Lookup() {
    return RuntimeLookupClass(gAppCell);
}
