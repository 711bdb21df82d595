#include "weak_ref.h"

#include "class_builder.h"
#include "exceptions.h"
#include "property_accessors.h"

WeakControl* RuntimeRetainWeakControl(Object* object) {
    if (!object) return nullptr;
    if (!object->weak) object->weak = new WeakControl{object, 1};  // the object's own hold
    ++object->weak->holders;
    return object->weak;
}

void RuntimeReleaseWeakControl(WeakControl* control) {
    if (control && --control->holders == 0) delete control;
}

Ref<Object> RuntimeWeakTarget(WeakControl* control) {
    if (!control || !control->target) return nullptr;
    return Ref<Object>::Retain(control->target);
}

namespace {

constexpr int32_t kControlOffset = -8;

WeakControl*& ControlOf(Object* self) { return RuntimeRequire(self)->Field<WeakControl*>(kControlOffset); }

void WeakRefExit(Object* self) { RuntimeReleaseWeakControl(std::exchange(ControlOf(self), nullptr)); }

Ref<Object> ValueGetter(Object* self, int32_t) { return WeakRef::Value(self); }

ClassCell gWeakRef{nullptr, &WeakRef::dunder_ctblinit};

}  // namespace

void WeakRef::Constructor(Object* self, Object* target) {
    WeakControl* control = RuntimeRetainWeakControl(target);
    RuntimeReleaseWeakControl(std::exchange(ControlOf(self), control));
}

Ref<Object> WeakRef::Value(Object* self) { return RuntimeWeakTarget(ControlOf(self)); }

void WeakRef::dunder_ctblinit() {
    static const MethodRow methods[] = {
        Method("Constructor", kPublicVirtual, "%%o<Object>", &WeakRef::Constructor, kConstructorSlot),
    };
    static const PropertyRow properties[] = {
        ComputedProperty<Ref<Object>>("Value", kComputedReadOnly, "o<Object>", &ValueGetter, nullptr),
    };
    static const ClassSpec spec{.name = "WeakRef",
                                .superclass = nullptr,
                                .methodCount = 1,
                                .interfaceCount = 0,
                                .eventCount = 0,
                                .propertyCount = 1,
                                .instanceDataSize = 8,
                                .slotCount = 1,
                                .exit = &WeakRefExit,
                                .methods = methods,
                                .properties = properties};
    RuntimeBuildClass(gWeakRef, spec);
}
ClassRecord* WeakRef::dunder_Lookup() { return RuntimeLookupClass(gWeakRef); }

Ref<Object> RuntimeNewWeakRef(Object* target) {
    Ref<Object> weak = RuntimeNewObject(WeakRef::dunder_Lookup());
    RuntimeCallSlot<void, Object*>(weak.get(), WeakRef::kConstructorSlot, target);
    return weak;
}
