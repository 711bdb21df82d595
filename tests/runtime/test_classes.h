// A small class hierarchy shared by the runtime tests, stated as class tables the way a
// program's classes are:
//
//   Test.Animal            root; a constructor (four legs) and Fed (handles Fed); events Moved
//                          and Fed; stored properties Weight and Legs
//   Test.Dog : Animal      OnMoved (handles Moved); event Barked; properties Name, Friend and
//                          Mood (computed); implements Test.Pet
//   Test.Cat : Animal      adds nothing
//   Test.Puppy : Dog       adds nothing
//   Test.Pet               interface with one method, Pat
#pragma once

#include "test_support.h"

namespace zoo {

// Instance fields, at their negative offsets.
constexpr int32_t kWeightOffset = -8;   // Double, Animal
constexpr int32_t kLegsOffset = -16;    // Integer, Animal
constexpr int32_t kNameOffset = -24;    // String, Dog
constexpr int32_t kFriendOffset = -32;  // Object (Test.Animal), Dog

constexpr uint32_t kConstructorSlot = 0, kFedSlot = 1, kOnMovedSlot = 2;  // virtual slots
constexpr uint32_t kMovedEvent = 0, kFedEvent = 1, kBarkedEvent = 2;

inline GenericFn Fn(auto function) {
    return reinterpret_cast<GenericFn>(function);
}

// clang-format off
inline void AnimalConstructor(Object* self) { props::Integer::Set(self, kLegsOffset, 4); }
inline void AnimalFed(Object*) {}
inline void DogOnMoved(Object*) {}
inline int64_t DogPat(Object* self) { return props::Integer::Get(self, kLegsOffset); }
inline int64_t DogMood(Object* self, int32_t) { return props::Integer::Get(self, kLegsOffset) * 10; }
inline void DogExit(Object* self) {
    props::String::Set(self, kNameOffset, String());
    props::Object::Set(self, kFriendOffset, nullptr);
}
// clang-format on

// Each lookup builds its record on the first call, as a class's __Lookup does.
inline ClassRecord* AnimalLookup() {
    // clang-format off
    static const MethodRow methods[] = {
        Method("Constructor", kPublicVirtual,       "%%", &AnimalConstructor, kConstructorSlot),
        Method("Fed",         kPublicVirtualHidden, "%%", &AnimalFed,         kFedSlot),
    };
    static const EventRow events[] = {{"Moved"}, {"Fed"}};
    static const HandlerRow handlers[] = {{kFedEvent, kFedSlot}};
    static const PropertyRow properties[] = {
        StoredProperty<double>("Weight", kStoredWritable, "f8", kWeightOffset),
        StoredProperty<int64_t>("Legs",  kStoredWritable, "i8", kLegsOffset),
    };
    // clang-format on
    static ClassCell cell{};
    ClassSpec table = Declared("Test.Animal", nullptr, 2, 2, 2, 16, 2);
    table.methods = methods;
    table.events = events;
    table.handlers = handlers;
    table.properties = properties;
    return RuntimeBuildClass(cell, table);
}

inline ClassRecord* PetLookup() {
    static const MethodRow methods[] = {InterfaceMethod("Pat", "%i8%", 0)};
    static ClassCell cell{};
    ClassSpec table = Declared("Test.Pet", nullptr, 1, 0, 0, 0, 1);
    table.methods = methods;
    table.kind = kKindInterface;
    return RuntimeBuildClass(cell, table);
}

inline ClassRecord* DogLookup() {
    // clang-format off
    static const MethodRow methods[] = {Method("OnMoved", kPublicVirtual, "%%", &DogOnMoved, kOnMovedSlot)};
    static const EventRow events[] = {{"Barked"}};
    static const HandlerRow handlers[] = {{kMovedEvent, kOnMovedSlot}};
    static const PropertyRow properties[] = {
        StoredProperty<String>("Name",        kStoredWritable,   "s",              kNameOffset),
        StoredProperty<Ref<Object>>("Friend", kStoredWritable,   "o<Test.Animal>", kFriendOffset),
        ComputedProperty<int64_t>("Mood",     kComputedReadOnly, "i8",             &DogMood, nullptr),
    };
    // clang-format on
    static const InterfaceRow interfaces[] = {{[](InterfaceEntry* entry) {
        static const GenericFn functions[] = {Fn(&DogPat)};
        RuntimeFillInterfaceEntry(entry, PetLookup(), functions);
    }}};
    static ClassCell cell{};
    ClassSpec table = Declared("Test.Dog", &AnimalLookup, 3, 3, 5, 32, 3);
    table.interfaceCount = 1;
    table.exit = &DogExit;
    table.methods = methods;
    table.events = events;
    table.handlers = handlers;
    table.properties = properties;
    table.interfaces = interfaces;
    return RuntimeBuildClass(cell, table);
}

inline ClassRecord* CatLookup() {
    static ClassCell cell{};
    return RuntimeBuildClass(cell, Declared("Test.Cat", &AnimalLookup, 2, 2, 2, 16, 2));
}
inline ClassRecord* PuppyLookup() {
    static ClassCell cell{};
    return RuntimeBuildClass(cell, Declared("Test.Puppy", &DogLookup, 3, 3, 5, 32, 3));
}

}  // namespace zoo
