// The accessor forms that the program's windows share: the implicit instance of a window
// class, found by its qualified class name, and a window's controls and menu items, found by
// their names. Each form is parameterised only by what its members differ in.
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

// Show or Hide (`windowSlot`) on the window that the implicit-instance `accessor` gives,
// created when there is none; a nil window raises the nil-object exception.
inline void ShowOrHide(Ref<Object> (*accessor)(), uint32_t windowSlot) {
    Ref<Object> window = accessor();
    RuntimeCallSlot<void>(RuntimeRequire(window.get()), windowSlot);
}

// A name given as a template argument; its text lives as long as the program.
template <size_t N>
struct AccessorName {
    char text[N];
    constexpr AccessorName(const char (&name)[N]) { std::copy_n(name, N, text); }
};

// The control form: the window's control under `Name`, through the cast check against
// `Class` (nil passes through as nil; a nil window raises the nil-object exception).
struct ControlByName {
    template <AccessorName Name, class Class>
    static Ref<Object> Get(Object* self) {
        Ref<Object> control = RuntimeCallSlot<Ref<Object>, String>(self, Window::kControlByNameSlot,
                                                                   String(Name.text));
        return RuntimeCheckCast(control.get(), Class::dunder_Lookup());
    }
};

// The menu-item form: the item under `Name` at any depth of the window's own menu bar,
// through the cast check against `Class`. A window without a menu bar raises the nil-object
// exception before any lookup; an unknown name gives nil.
struct MenuItemByName {
    template <AccessorName Name, class Class>
    static Ref<Object> Get(Object* self) {
        Ref<Object> bar = WindowMenuBarGetter(self, 0);
        if (!bar) RaiseNilObjectException();
        Ref<Object> item = RuntimeCallSlot<Ref<Object>, String>(bar.get(), MenuItem::kLookupSlot,
                                                                String(Name.text));
        return RuntimeCheckCast(item.get(), Class::dunder_Lookup());
    }
};

// The method row of an accessor of either form: a public virtual entry named like what it
// looks up, whose function is the form for that name and class. Its result is a new
// reference for the caller.
template <class Form, AccessorName Name, class Class>
MethodRow AccessorRow(const char* signature, uint32_t slot) {
    return Method(Name.text, kPublicVirtual, signature, &Form::template Get<Name, Class>, slot);
}
