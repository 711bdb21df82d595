// How the conversion window's handlers reach its controls and menu items: through the
// accessors in the window's virtual table (the forms of shell/window_design/accessors.h),
// never past them, and the field helpers built on them.
#pragma once

#include <cstdint>

#include "conversion/main_wnd.h"
#include "framework/toolkit/toolkit.h"

namespace MainWnd {

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
