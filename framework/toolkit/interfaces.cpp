// The framework's interfaces around timers and controls on a window, and the lookup of the
// table through which an object implements one.
//
//   actionSource                 something that fires actions and tells receivers of them
//   _PaneChild                   a control as its window sees it: owner and index
//   actionNotificationReceiver   something told of another object's action
#include "framework/toolkit/timer.h"

namespace {

ClassCell gActionSource{nullptr, &actionSource::dunder_ctblinit};
ClassCell gPaneChild{nullptr, &under_PaneChild::dunder_ctblinit};
ClassCell gActionNotificationReceiver{nullptr, &actionNotificationReceiver::dunder_ctblinit};

}  // namespace

void actionSource::dunder_ctblinit() {
    // clang-format off
    // Methods in interface order: name, signature text, position.
    static const MethodRow actionSource_methods[] = {
        InterfaceMethod("addActionNotificationReceiver",    "%%o<actionNotificationReceiver>", 0),
        InterfaceMethod("removeActionNotificationReceiver", "%%o<actionNotificationReceiver>", 1),
    };
    // clang-format on
    static const ClassSpec spec = InterfaceSpec("actionSource", actionSource_methods);
    RuntimeBuildClass(gActionSource, spec);
}
ClassRecord* actionSource::dunder_Lookup() {
    return RuntimeLookupClass(gActionSource);
}

void under_PaneChild::dunder_ctblinit() {
    // clang-format off
    static const MethodRow PaneChild_methods[] = {
        InterfaceMethod("_SetWindow", "%%o<Window>", kSetWindow),
        InterfaceMethod("Window",     "%o<Window>%", kWindow),
        InterfaceMethod("_Index",     "%i8%",        kIndex),
        InterfaceMethod("_SetIndex",  "%%i8",        kSetIndex),
    };
    // clang-format on
    static const ClassSpec spec =
        InterfaceSpec("_PaneChild", PaneChild_methods, kKindInterface | kKindHidden);
    RuntimeBuildClass(gPaneChild, spec);
}
ClassRecord* under_PaneChild::dunder_Lookup() {
    return RuntimeLookupClass(gPaneChild);
}

void actionNotificationReceiver::dunder_ctblinit() {
    // clang-format off
    static const MethodRow actionNotificationReceiver_methods[] = {
        InterfaceMethod("PerformAction", "%%", 0),
    };
    // clang-format on
    static const ClassSpec spec =
        InterfaceSpec("actionNotificationReceiver", actionNotificationReceiver_methods);
    RuntimeBuildClass(gActionNotificationReceiver, spec);
}
ClassRecord* actionNotificationReceiver::dunder_Lookup() {
    return RuntimeLookupClass(gActionNotificationReceiver);
}

const InterfaceEntry* RuntimeInterfaceOf(Object* object, ClassRecord* interface) {
    if (!object || !interface) return nullptr;
    for (ClassRecord* cls = object->cls; cls; cls = cls->superclass)
        for (uint32_t i = 0; i < cls->interfaceCount; ++i)
            if (cls->interfaces[i].interface == interface) return &cls->interfaces[i];
    return nullptr;
}
