// The accessor forms that the conversion window and the splash window share: the implicit
// instance of a window class, found by its qualified class name, and a control of the
// window, found by its name. Each form is parameterised only by what its members differ in.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "framework/toolkit/toolkit.h"

// The implicit-instance accessor: the open window that the framework keeps under
// `qualifiedName`, or a new one of the class when there is none, cast to the class. Window's
// constructor builds the new window from its design, shows it when its design says Visible
// and registers it, so the next call finds it. The accessor keeps no reference of its own;
// the result is a new reference for the caller.
inline Ref<Object> ImplicitWindow(const char* qualifiedName, ClassRecord* (*lookup)()) {
    Ref<Object> window = RuntimeGetImplicitWindow(String(qualifiedName));
    if (!window) {
        window = RuntimeNewObject(lookup());
        RuntimeCallSlot<void>(window.get(), Window::kConstructorSlot);
    }
    return RuntimeCheckCast(window.get(), lookup());
}

// A name given as a template argument; its text lives as long as the program.
template <size_t N>
struct AccessorName {
    char text[N];
    constexpr AccessorName(const char (&name)[N]) { std::copy_n(name, N, text); }
};

// Control accessor: the window's control under `Name`, through the cast check against
// `Class` (nil passes through as nil; a nil window raises the nil-object exception). A new
// reference for the caller.
template <AccessorName Name, class Class>
Ref<Object> ControlAccessor(Object* self) {
    Ref<Object> control =
        RuntimeCallSlot<Ref<Object>, String>(self, Window::kControlByNameSlot, String(Name.text));
    return RuntimeCheckCast(control.get(), Class::dunder_Lookup());
}

// The method row of a control accessor: a public virtual entry named like the control.
template <AccessorName Name, class Class>
MethodRow ControlAccessorRow(const char* signature, uint32_t slot) {
    return Method(Name.text, kPublicVirtual, signature, &ControlAccessor<Name, Class>, slot);
}
