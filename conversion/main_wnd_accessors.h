// The conversion window's accessors by name: the control form of window_accessors.h for its
// eleven controls and the form below for the fifteen items of its menu bar, each
// parameterised by the name it looks up and the class it checks. Each is a virtual method of
// MainWnd.MainWnd; the handlers reach controls through the window's virtual table, never
// past it (the field helpers below do too).
#pragma once

#include <cstdint>

#include "conversion/main_wnd.h"
#include "conversion/window_accessors.h"
#include "framework/toolkit/toolkit.h"

namespace MainWnd {

// Menu-item accessor: the item under `Name` at any depth of the window's own menu bar,
// through the cast check against `Class`. A window without a menu bar raises the nil-object
// exception before any lookup; an unknown name gives nil.
template <AccessorName Name, class Class>
Ref<Object> MenuItemAccessor(Object* self) {
    Ref<Object> bar = WindowMenuBarGetter(self, 0);
    if (!bar) RaiseNilObjectException();
    Ref<Object> item =
        RuntimeCallSlot<Ref<Object>, String>(bar.get(), MenuItem::kLookupSlot, String(Name.text));
    return RuntimeCheckCast(item.get(), Class::dunder_Lookup());
}

// Calls the accessor in `slot` of the window: the object it returns, or nil.
inline Ref<Object> CallAccessor(Object* self, uint32_t slot) {
    return RuntimeCallSlot<Ref<Object>>(self, slot);
}

// The same, for an object about to be used: a nil result raises the nil-object exception.
inline Ref<Object> RequireAccessor(Object* self, uint32_t slot) {
    Ref<Object> object = CallAccessor(self, slot);
    RuntimeRequire(object.get());
    return object;
}

// The text of the text field or area in `accessorSlot`; a nil field raises.
inline String FieldText(Object* self, uint32_t accessorSlot) {
    Ref<Object> field = RequireAccessor(self, accessorSlot);
    return editTextGetter(field.get(), 0);
}

inline void SetFieldText(Object* self, uint32_t accessorSlot, const String& text) {
    Ref<Object> field = RequireAccessor(self, accessorSlot);
    editTextSetter(field.get(), 0, text);
}

inline void EmptyField(Object* self, uint32_t accessorSlot) {
    SetFieldText(self, accessorSlot, String());
}

}  // namespace MainWnd
