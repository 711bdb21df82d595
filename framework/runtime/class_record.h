// Class records: what the runtime knows of a class. A record is built once by the class's
// initialiser (`__ctblinit`, spelled dunder_ctblinit in C++), stored in the class cell and
// never changed or freed afterwards.
#pragma once

#include <cstdint>
#include <string_view>

#include "exceptions.h"
#include "object.h"
#include "variant.h"

// Flag bits shared by method and property entries.
enum EntryFlags : uint32_t {
    kFlagPublic = 0x001,
    kFlagShared = 0x002,            // belongs to the class, takes no object
    kFlagAssigns = 0x004,           // method: last parameter given by assignment; property: writable
    kFlagComputed = 0x010,          // property: getter and setter functions, no field
    kFlagClassNamedCtor = 0x020,    // the constructor named after its class
    kFlagPrivate = 0x040,
    kFlagHidden = 0x080,            // also carries the attribute "Hidden"
    kFlagVirtual = 0x100,           // called through the virtual-table slot in the entry
};

// Flag values as the records use them; each number is stated once, in its assertion.
constexpr uint32_t kPublicVirtual = kFlagPublic | kFlagVirtual;
constexpr uint32_t kPublicVirtualHidden = kPublicVirtual | kFlagHidden;
constexpr uint32_t kClassNamedCtor = kFlagVirtual | kFlagClassNamedCtor;  // virtual, not public
constexpr uint32_t kClassNamedCtorHidden = kClassNamedCtor | kFlagHidden;
constexpr uint32_t kPrivate = kFlagPrivate;
constexpr uint32_t kPrivateHidden = kFlagPrivate | kFlagHidden;
constexpr uint32_t kPublicShared = kFlagPublic | kFlagShared;
constexpr uint32_t kStoredWritable = kFlagPublic | kFlagAssigns;
constexpr uint32_t kHiddenStoredWritable = kFlagPrivate | kFlagHidden | kFlagAssigns;
constexpr uint32_t kComputedWritable = kFlagPublic | kFlagAssigns | kFlagComputed;
constexpr uint32_t kComputedReadOnly = kFlagPublic | kFlagComputed;
constexpr uint32_t kReservedEntry = kFlagPrivate | kFlagHidden | kFlagComputed;  // no value
static_assert(kPublicVirtual == 257);
static_assert(kPublicVirtualHidden == 385);
static_assert(kClassNamedCtor == 288);
static_assert(kClassNamedCtorHidden == 416);
static_assert(kPrivate == 64);
static_assert(kPrivateHidden == 192);
static_assert(kPublicShared == 3);
static_assert(kStoredWritable == 5);
static_assert(kHiddenStoredWritable == 196);
static_assert(kComputedWritable == 21);
static_assert(kComputedReadOnly == 17);
static_assert(kReservedEntry == 208);

// Kind bits of a record.
enum ClassKind : uint32_t { kKindInterface = 1, kKindClass = 2, kKindHidden = 4 };

constexpr uint32_t kNoSlot = 0xFFFFFFFFu;

using ObjectFn = void (*)(Object*);

struct AttributeEntry {
    const char* name;
    const char* value;  // "" when there is none
    uint32_t hasValue;  // 1 when a value is given
};

struct AttributeTable {
    AttributeEntry* entries;
    uint32_t count;
};

class Invoker;

struct MethodEntry {
    const char* name;
    uint32_t flags;
    AttributeTable* attributes;
    const char* signature;   // "%result%parameters"
    GenericFn function;      // for a virtual entry, the function in its slot
    const Invoker* invoker;  // shared by every entry of the same signature
    uint32_t slot;           // virtual entries only; kNoSlot otherwise
};

struct EventEntry {
    const char* name;   // written by the declaring class
    GenericFn handler;  // written by a class that handles the event; nil otherwise
};

struct PropertyEntry;
using BoxedGetter = Variant (*)(Object*, const PropertyEntry*);
using BoxedSetter = void (*)(Object*, const PropertyEntry*, const Variant&);

struct PropertyEntry {
    const char* name;
    uint32_t flags;
    AttributeTable* attributes;
    const char* typeText;  // one type code, without the "%" marks
    int32_t fieldOffset;   // negative; 0 for a computed property
    GenericFn getter;      // T (*)(Object*, int32_t offset)
    GenericFn setter;      // void (*)(Object*, int32_t offset, T value)
    BoxedGetter boxedGetter;
    BoxedSetter boxedSetter;
    struct ClassRecord* declaringClass;  // the runtime's own word: who declared it
};

struct InterfaceEntry {
    struct ClassRecord* interface;  // the interface's record
    uint32_t methodCount;
    GenericFn* table;  // the class's implementing functions, in the interface's order
};

struct ClassRecord {
    // The runtime's own words.
    ClassRecord* superclass;
    uint32_t methodCount, interfaceCount, eventCount, propertyCount, classAttributeCount;

    // The record's fields, in order.
    const char* name;           // qualified class name ("MainWnd.MainWnd", "App")
    uint32_t instanceDataSize;  // bytes of instance fields, the superclass's included
    uint32_t kind;              // ClassKind bits
    uint32_t reserved;          // 0
    ObjectFn init;              // __Init: initial field values of this class's own part
    ObjectFn destructor;        // Destructor
    ObjectFn exit;              // __Exit: releases references held in this class's own fields
    uint32_t slotCount;
    GenericFn* vtable;
    MethodEntry* methods;
    EventEntry* events;
    PropertyEntry* properties;
    AttributeEntry* classAttributes;
    InterfaceEntry* interfaces;
};

// A class's global cell: the record (nil until built) and the class's initialiser.
struct ClassCell {
    ClassRecord* record;
    void (*init)();
};

// Creates a record with tables sized from the counts. The event and property tables start
// with the superclass's entries at their own indexes (names, types, accessors; no handlers).
ClassRecord* RuntimeNewClass(ClassRecord* superclass, uint32_t methodCount,
                             uint32_t interfaceCount, uint32_t eventCount, uint32_t zero,
                             uint32_t propertyCount, uint32_t classAttributeCount);
// A virtual table of `count` slots, all nil.
GenericFn* RuntimeNewVtable(uint32_t count);
// Allocates the attribute table of one method or property entry, links it, returns it.
AttributeEntry* RuntimeAllocateAttributeTable(MethodEntry* table, uint32_t entry, uint32_t count);
AttributeEntry* RuntimeAllocateAttributeTable(PropertyEntry* table, uint32_t entry,
                                              uint32_t count);

// The record of a class registered under `name`, or nil.
ClassRecord* RuntimeFindClass(std::string_view name);
// Registers a built record under its name (the record builder does this).
void RuntimeRegisterClass(ClassRecord* record);
// Registers `record` under another name as well (a delegate type names the Delegate class).
void RuntimeRegisterClassAs(std::string_view name, ClassRecord* record);

// True when `object` is of `cls`, of a subclass, or implements the interface `cls`.
bool RuntimeObjectIsa(Object* object, ClassRecord* cls);
// Nil, and an object of `cls` or a subclass, pass through unchanged (a new reference);
// an object of any other class raises IllegalCastException.
Ref<Object> RuntimeCheckCast(Object* object, ClassRecord* cls);
// Allocates an object of `cls` (not yet constructed); a new reference.
Ref<Object> RuntimeNewObject(ClassRecord* cls);

// Whether two names are the same when ASCII letters are compared without regard to case, as
// the framework compares the names of methods and properties (the names a program gives its
// controls and menu items match exactly).
bool RuntimeSameNameIgnoringCase(std::string_view a, std::string_view b);
// The method entry for the virtual `slot` of `cls`, or nil.
const MethodEntry* RuntimeMethodForSlot(ClassRecord* cls, uint32_t slot);
// The first method entry named `name` (compared without regard to case), or nil.
const MethodEntry* RuntimeFindMethod(ClassRecord* cls, std::string_view name);
// The property named `name` (without regard to case) in `cls` or its superclasses, or nil.
const PropertyEntry* RuntimeFindProperty(ClassRecord* cls, std::string_view name);
// The index of the event named `name` in `cls`'s event table, or -1.
int32_t RuntimeFindEvent(ClassRecord* cls, std::string_view name);

// Calls the function in virtual slot `slot` of `object`, which must not be nil.
template <class R, class... A>
R RuntimeCallSlot(Object* object, uint32_t slot, A... args);

// ---- implementation of the template -------------------------------------------------
[[noreturn]] void RuntimeRaiseBadSlot(Object* object, uint32_t slot);

template <class R, class... A>
R RuntimeCallSlot(Object* object, uint32_t slot, A... args) {
    if (!object) RaiseNilObjectException();
    if (slot >= object->cls->slotCount || !object->vtable[slot]) RuntimeRaiseBadSlot(object, slot);
    return reinterpret_cast<R (*)(Object*, A...)>(object->vtable[slot])(object, args...);
}
