// Declarative class records. A class states its record as tables, one row per entry, in
// the documented order; RuntimeBuildClass turns them into the record exactly as a class
// initialiser (`__ctblinit`) would:
//
//   1. check the stack; return at once when the cell already holds a record;
//   2. RuntimeNewClass with the superclass's record (built on the way through its lookup)
//      and the counts, stored in the cell before anything is filled in;
//   3. name, kind, instance data size, reserved 0, __Init, Destructor, __Exit;
//   4. RuntimeNewVtable: the superclass's slots first, then the class's own, overrides in
//      the inherited slots;
//   5. method entries: the superclass's re-stated in its order (its hidden marks and
//      attributes not carried), an override naming its slot's entry, then the own rows;
//      each entry gets its attribute table ("Hidden" for a hidden method);
//   6. the handler of each handled event, taken from its virtual slot;
//   7. own properties after the superclass's, with their attribute tables; each type text
//      must be what the property's accessors take; the field of each row that is stored or
//      has the framework's field accessors must lie inside the class's own part of the
//      instance data, aligned to its size, apart from the others; a computed row has offset 0;
//   8. interface entries, each filled by its `Class:Interface.__Lookup` function.
//
// Every signature and type text is parsed and checked against its function here, when the
// class is registered, so a mismatch fails loudly at start-up rather than at call time.
#pragma once

#include <cstdint>
#include <span>

#include "class_record.h"
#include "invoker.h"

using InvokerFactory = const Invoker* (*)(std::string_view signature);

// One method entry. `slot` is kNoSlot for an entry without a virtual-table slot; a slot
// below the superclass's slot count overrides that inherited slot.
struct MethodRow {
    const char* name;
    uint32_t flags;
    const char* signature;
    GenericFn function;
    InvokerFactory invoker;
    uint32_t slot;
    bool shared;
};

// An instance method: `fn` takes the object first.
template <class F>
MethodRow Method(const char* name, uint32_t flags, const char* signature, F fn,
                 uint32_t slot = kNoSlot) {
    return {name, flags, signature, reinterpret_cast<GenericFn>(fn), &InstanceInvoker<F>, slot,
            false};
}
// A shared method (flag 0x002): `fn` takes no object.
template <class F>
MethodRow SharedMethod(const char* name, uint32_t flags, const char* signature, F fn) {
    return {name, flags, signature, reinterpret_cast<GenericFn>(fn), &SharedInvoker<F>, kNoSlot,
            true};
}
// An interface's method: a name, a signature and a position; no function.
inline MethodRow InterfaceMethod(const char* name, const char* signature, uint32_t position) {
    return {name, kPublicVirtual, signature, nullptr, nullptr, position, false};
}

// An event the class declares, appended after its superclass's events.
struct EventRow {
    const char* name;
};

// The class handles event `eventIndex` with the function in its virtual slot `slot`.
struct HandlerRow {
    uint32_t eventIndex;
    uint32_t slot;
};

// The type codes a property's accessors can take, as a test (CppType<T>::Accepts).
using TypeCodeTest = bool (*)(const TypeCode& code);

struct PropertyRow {
    const char* name;
    uint32_t flags;
    const char* typeText;
    int32_t fieldOffset;
    GenericFn getter;
    GenericFn setter;
    BoxedGetter boxedGetter;
    BoxedSetter boxedSetter;
    // What the getter and setter take; the typed helpers state it. A row without it must use
    // the framework's own boxed accessors, which tell it.
    TypeCodeTest valueType = nullptr;
};

struct InterfaceRow {
    void (*fill)(InterfaceEntry* entry);
};

struct ClassSpec {
    const char* name;
    ClassRecord* (*superclass)();  // nil for a root class
    uint32_t methodCount;          // all entries, the re-stated ones included
    uint32_t interfaceCount;
    uint32_t eventCount;           // all events, the superclass's included
    uint32_t propertyCount;        // all properties, the superclass's included
    uint32_t instanceDataSize;
    uint32_t slotCount;
    ObjectFn init = nullptr;
    ObjectFn destructor = nullptr;
    ObjectFn exit = nullptr;
    std::span<const MethodRow> methods = {};
    std::span<const EventRow> events = {};
    std::span<const HandlerRow> handlers = {};
    std::span<const PropertyRow> properties = {};
    std::span<const InterfaceRow> interfaces = {};
    uint32_t kind = kKindClass;
};

// The record of a root class without entries whose objects keep one 8-byte field at -8: a
// pointer to C++ state that `init` makes and `exit` frees, or a boxed value.
constexpr ClassSpec OneFieldClassSpec(const char* name, ObjectFn init, ObjectFn exit) {
    return {.name = name,
            .superclass = nullptr,
            .methodCount = 0,
            .interfaceCount = 0,
            .eventCount = 0,
            .propertyCount = 0,
            .instanceDataSize = 8,
            .slotCount = 0,
            .init = init,
            .exit = exit};
}

// The record of an interface: its methods, one slot each, and no fields. `kind` has
// kKindInterface, and kKindHidden for a hidden one.
constexpr ClassSpec InterfaceSpec(const char* name, std::span<const MethodRow> methods,
                                  uint32_t kind = kKindInterface) {
    const auto count = static_cast<uint32_t>(methods.size());
    return {.name = name,
            .superclass = nullptr,
            .methodCount = count,
            .interfaceCount = 0,
            .eventCount = 0,
            .propertyCount = 0,
            .instanceDataSize = 0,
            .slotCount = count,
            .methods = methods,
            .kind = kind};
}

// Builds the record of `spec` into `cell` unless it is there already; returns it.
ClassRecord* RuntimeBuildClass(ClassCell& cell, const ClassSpec& spec);

// Fills an interface entry: the interface's record, its method count and an interface table
// of `functions` in the interface's method order.
void RuntimeFillInterfaceEntry(InterfaceEntry* entry, ClassRecord* interface,
                               std::span<const GenericFn> functions);

// The record in `cell`, built by `init` first while the cell is empty (a class's __Lookup).
inline ClassRecord* RuntimeLookupClass(ClassCell& cell) {
    if (!cell.record) cell.init();
    return cell.record;
}
