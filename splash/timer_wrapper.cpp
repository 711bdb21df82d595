#include "splash/timer_wrapper.h"

#include <utility>

namespace SplashWnd {
namespace {

ClassCell gTimerWrapperCell{nullptr, &_wrapper_Timer1::dunder_ctblinit};  // …_wrapper_Timer1.__ctbl

// The ownerWindow field: a retained WeakRef, or nil.
Object*& OwnerWindowField(Object* self) {
    return RuntimeRequire(self)->Field<Object*>(_wrapper_Timer1::kOwnerWindowOffset);
}

}  // namespace

void _wrapper_Timer1::under_SetWindow(Object* self, Object* window) {
    RuntimeRequire(self);
    Ref<Object> weak = RuntimeNewObject(::WeakRef::dunder_Lookup());
    RuntimeCallSlot<void, Object*>(RuntimeRequire(weak.get()), ::WeakRef::kConstructorSlot, window);
    // The field takes its own reference and releases the previous WeakRef; the creation's
    // reference goes with `weak`, so the field holds the only one.
    props::WeakRef::Set(self, kOwnerWindowOffset, weak.get());
}

Ref<Object> _wrapper_Timer1::Window(Object* self) {
    Object* owner = OwnerWindowField(self);
    if (!owner) return nullptr;
    Ref<Object> target = ::WeakRef::Value(owner);
    if (!target) return nullptr;
    return RuntimeCheckCast(target.get(), ::Window::dunder_Lookup());
}

int64_t _wrapper_Timer1::under_Index(Object* self) {
    return props::Integer::Get(self, kIndexOffset);
}

void _wrapper_Timer1::under_SetIndex(Object* self, int64_t index) {
    props::Integer::Set(self, kIndexOffset, index);
}

void _wrapper_Timer1::Constructor(Object* self) {
    RuntimeRequire(self);
}

void _wrapper_Timer1::dunder_Exit(Object* self) {
    RuntimeRelease(std::exchange(OwnerWindowField(self), nullptr));
}

void _wrapper_Timer1::actionSource::dunder_Lookup(InterfaceEntry* entry) {
    static const GenericFn functions[] = {
        AsGenericFn(&Timer::addActionNotificationReceiver),
        AsGenericFn(&Timer::removeActionNotificationReceiver),
    };
    RuntimeFillInterfaceEntry(entry, ::actionSource::dunder_Lookup(), functions);
}

void _wrapper_Timer1::under_PaneChild::dunder_Lookup(InterfaceEntry* entry) {
    // In the interface's method order: _SetWindow, Window, _Index, _SetIndex.
    static const GenericFn functions[] = {
        AsGenericFn(&_wrapper_Timer1::under_SetWindow),
        AsGenericFn(&_wrapper_Timer1::Window),
        AsGenericFn(&_wrapper_Timer1::under_Index),
        AsGenericFn(&_wrapper_Timer1::under_SetIndex),
    };
    RuntimeFillInterfaceEntry(entry, ::under_PaneChild::dunder_Lookup(), functions);
}

void _wrapper_Timer1::dunder_ctblinit() {
    // clang-format off
    // Own method entries, after Timer's eleven re-stated ones, in slot order:
    //        name          flags                 signature      function                     slot
    static const MethodRow wrapper_Timer1_methods[] = {
        Method("_SetWindow",  kPublicVirtualHidden, "%%o<Window>", &_wrapper_Timer1::under_SetWindow,  kSetWindowSlot),
        Method("Window",      kPublicVirtual,       "%o<Window>%", &_wrapper_Timer1::Window,      kWindowSlot),
        Method("_Index",      kPublicVirtualHidden, "%i8%",        &_wrapper_Timer1::under_Index,      kIndexSlot),
        Method("_SetIndex",   kPublicVirtualHidden, "%%i8",        &_wrapper_Timer1::under_SetIndex,   kSetIndexSlot),
        Method("Constructor", kPublicVirtual,       "%%",          &_wrapper_Timer1::Constructor, kConstructorSlot),
    };
    // Own properties, after Timer's seven:
    //  name           flags                  type          offset              getter, setter, boxed getter, boxed setter
    static const PropertyRow wrapper_Timer1_properties[] = {
        StoredProperty<int64_t>("Index", kStoredWritable, "i8", kIndexOffset),
        {"ownerWindow", kHiddenStoredWritable, "o<WeakRef>", kOwnerWindowOffset,
         AsGenericFn(&props::Object::Get), AsGenericFn(&props::WeakRef::Set),
         &props::Object::Introspection::GetValue, &props::WeakRef::Introspection::SetValue},
    };
    // clang-format on
    static const InterfaceRow wrapper_Timer1_interfaces[] = {
        {&_wrapper_Timer1::actionSource::dunder_Lookup},
        {&_wrapper_Timer1::under_PaneChild::dunder_Lookup},
    };
    static const ClassSpec spec{.name = "SplashWnd._wrapper_Timer1",
                                .superclass = &::Timer::dunder_Lookup,
                                .methodCount = 16,
                                .interfaceCount = 2,
                                .eventCount = 1,  // Timer's Action, bound per object at run time
                                .propertyCount = 9,
                                .instanceDataSize = kInstanceDataSize,
                                .slotCount = kSlotCount,
                                .exit = &_wrapper_Timer1::dunder_Exit,
                                .methods = wrapper_Timer1_methods,
                                .properties = wrapper_Timer1_properties,
                                .interfaces = wrapper_Timer1_interfaces};
    RuntimeBuildClass(gTimerWrapperCell, spec);
}

ClassRecord* _wrapper_Timer1::dunder_Lookup() {
    return RuntimeLookupClass(gTimerWrapperCell);
}

}  // namespace SplashWnd
