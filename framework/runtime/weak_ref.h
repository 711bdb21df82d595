// Weak references. An object's weak control block outlives it: the object clears the
// block's target when it goes, and each holder of the block sees nil from then on.
#pragma once

#include <cstdint>

#include "class_record.h"
#include "ref.h"

struct WeakControl {
    Object* target;
    int64_t holders;
};

// The object's weak control block, with a holder added (nil for a nil object).
WeakControl* RuntimeRetainWeakControl(Object* object);
void RuntimeReleaseWeakControl(WeakControl* control);
// The target with a new reference while it lives; nil afterwards.
Ref<Object> RuntimeWeakTarget(WeakControl* control);

// The framework class WeakRef: Constructor(target) in slot 0; Value yields the target with a
// new reference while it lives and nil afterwards.
struct WeakRef {
    static ClassRecord* dunder_Lookup();
    static void dunder_ctblinit();
    static void Constructor(Object* self, Object* target);
    static Ref<Object> Value(Object* self);
    static constexpr uint32_t kConstructorSlot = 0;
};

// A constructed WeakRef to `target`.
Ref<Object> RuntimeNewWeakRef(Object* target);
