// A small class hierarchy shared by the runtime tests, stated as class tables the way a
// program's classes are:
//
//   Test.Animal            root; virtual, hidden, private and shared methods; events Moved
//                          and Fed (handles Fed); stored properties Weight, Legs, Secret
//   Test.Dog : Animal      overrides Speak; adds Fetch, OnMoved (handles Moved), Wag; event
//                          Barked; properties Name, Friend, Mood (computed); implements Test.Pet
//   Test.Cat : Animal      adds nothing
//   Test.Puppy : Dog       adds nothing
//   Test.Pet               interface with one method, Pat
#pragma once

#include "test_support.h"

namespace zoo {

// Instance fields, at their negative offsets.
constexpr int32_t kWeightOffset = -8;   // Double, Animal
constexpr int32_t kLegsOffset = -16;    // Integer, Animal
constexpr int32_t kSecretOffset = -24;  // String, Animal, hidden
constexpr int32_t kNameOffset = -32;    // String, Dog
constexpr int32_t kFriendOffset = -40;  // Object (Test.Animal), Dog

// Virtual slots: Animal's four, then Dog's own two.
constexpr uint32_t kConstructorSlot = 0, kSpeakSlot = 1, kFedSlot = 2, kRenameSlot = 3;
constexpr uint32_t kFetchSlot = 4, kOnMovedSlot = 5;
constexpr uint32_t kAnimalSlots = 4, kDogSlots = 6;

// Events and the size of the tables.
constexpr uint32_t kMovedEvent = 0, kFedEvent = 1, kBarkedEvent = 2;
constexpr uint32_t kAnimalMethods = 7, kAnimalProperties = 3;  // Dog adds three of each

inline GenericFn Fn(auto function) {
    return reinterpret_cast<GenericFn>(function);
}

inline ClassRecord* AnimalLookup();

// clang-format off
inline void AnimalConstructor(Object* self) { props::Integer::Set(self, kLegsOffset, 4); }
inline String AnimalSpeak(Object*) { return "..."; }
inline void AnimalFed(Object*) {}
inline void AnimalRename(Object* self, String name) { props::String::Set(self, kSecretOffset, name); }
inline int64_t AnimalHelper(Object*) { return 7; }
inline void AnimalForget(Object*) {}
inline Ref<Object> AnimalCreate() { return RuntimeNewObject(AnimalLookup()); }
inline String DogSpeak(Object*) { return "Woof"; }
inline int64_t DogFetch(Object*, int64_t times) { return times * 2; }
inline void DogOnMoved(Object*) {}
inline void DogWag(Object*) {}
inline int64_t DogPat(Object* self) { return props::Integer::Get(self, kLegsOffset); }
inline int64_t DogMood(Object* self, int32_t) { return props::Integer::Get(self, kLegsOffset) * 10; }
inline void AnimalExit(Object* self) { props::String::Set(self, kSecretOffset, String()); }
// clang-format on
inline void DogExit(Object* self) {
    props::String::Set(self, kNameOffset, String());
    props::Object::Set(self, kFriendOffset, nullptr);
}

// Each lookup builds its record on the first call, as a class's __Lookup does.
inline ClassRecord* AnimalLookup() {
    // clang-format off
    static const MethodRow methods[] = {
        Method("Constructor", kPublicVirtual,                "%%",   &AnimalConstructor, kConstructorSlot),
        Method("Speak",       kPublicVirtual,                "%s%",  &AnimalSpeak,       kSpeakSlot),
        Method("Fed",         kPublicVirtualHidden,          "%%",   &AnimalFed,         kFedSlot),
        Method("Animal",      kClassNamedCtor | kFlagHidden, "%%s",  &AnimalRename,      kRenameSlot),
        Method("Helper",      kPrivate,                      "%i8%", &AnimalHelper),
        Method("Forget",      kPrivateHidden,                "%%",   &AnimalForget),
        SharedMethod("Create",  kPublicShared,                 "%o<Test.Animal>%", &AnimalCreate),
    };
    static const EventRow events[] = {{"Moved"}, {"Fed"}};
    static const HandlerRow handlers[] = {{kFedEvent, kFedSlot}};
    static const PropertyRow properties[] = {
        StoredProperty<double>("Weight", kStoredWritable,       "f8", kWeightOffset),
        StoredProperty<int64_t>("Legs",  kStoredWritable,       "i8", kLegsOffset),
        StoredProperty<String>("Secret", kHiddenStoredWritable, "s",  kSecretOffset),
    };
    // clang-format on
    static ClassCell cell{};
    ClassSpec table = Declared("Test.Animal", nullptr, kAnimalMethods, 2, 3, 24, kAnimalSlots);
    table.exit = &AnimalExit;
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
    static const MethodRow methods[] = {
        Method("Speak",   kPublicVirtual, "%s%",    &DogSpeak,   kSpeakSlot),
        Method("Fetch",   kPublicVirtual, "%i8%i8", &DogFetch,   kFetchSlot),
        Method("OnMoved", kPublicVirtual, "%%",     &DogOnMoved, kOnMovedSlot),
        Method("Wag",     kPrivate,       "%%",     &DogWag),
    };
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
    ClassSpec table = Declared("Test.Dog", &AnimalLookup, kAnimalMethods + 3, 3, 6, 40, kDogSlots);
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
    return RuntimeBuildClass(cell,
                             Declared("Test.Cat", &AnimalLookup, kAnimalMethods, 2, 3, 24, 4));
}
inline ClassRecord* PuppyLookup() {
    static ClassCell cell{};
    return RuntimeBuildClass(cell,
                             Declared("Test.Puppy", &DogLookup, kAnimalMethods + 3, 3, 6, 40, 6));
}

}  // namespace zoo
