// A small class hierarchy shared by the runtime tests, stated as ClassSpec tables the way a
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

#include "framework/runtime/runtime.h"

namespace zoo {

// Instance fields, at their negative offsets.
constexpr int32_t kWeightOffset = -8;   // Double, Animal
constexpr int32_t kLegsOffset = -16;    // Integer, Animal
constexpr int32_t kSecretOffset = -24;  // String, Animal, hidden
constexpr int32_t kNameOffset = -32;    // String, Dog
constexpr int32_t kFriendOffset = -40;  // Object (Test.Animal), Dog
constexpr uint32_t kAnimalDataSize = 24;
constexpr uint32_t kDogDataSize = 40;

// Virtual slots.
constexpr uint32_t kConstructorSlot = 0;
constexpr uint32_t kSpeakSlot = 1;
constexpr uint32_t kFedSlot = 2;
constexpr uint32_t kRenameSlot = 3;
constexpr uint32_t kFetchSlot = 4;    // Dog's own
constexpr uint32_t kOnMovedSlot = 5;  // Dog's own
constexpr uint32_t kAnimalSlots = 4;
constexpr uint32_t kDogSlots = 6;

// Events.
constexpr uint32_t kMovedEvent = 0;
constexpr uint32_t kFedEvent = 1;
constexpr uint32_t kBarkedEvent = 2;

// Method and property table sizes.
constexpr uint32_t kAnimalMethods = 7;
constexpr uint32_t kDogMethods = kAnimalMethods + 3;
constexpr uint32_t kAnimalProperties = 3;
constexpr uint32_t kDogProperties = kAnimalProperties + 3;

ClassRecord* AnimalLookup();
ClassRecord* DogLookup();
ClassRecord* CatLookup();
ClassRecord* PuppyLookup();
ClassRecord* PetLookup();

// The methods, for comparing against what the records hold.
void AnimalConstructor(Object* self);
String AnimalSpeak(Object* self);
void AnimalFed(Object* self);
void AnimalRename(Object* self, String name);
int64_t AnimalHelper(Object* self);
void AnimalForget(Object* self);
Ref<Object> AnimalCreate();
String DogSpeak(Object* self);
int64_t DogFetch(Object* self, int64_t times);
void DogOnMoved(Object* self);
void DogWag(Object* self);
int64_t DogPat(Object* self);
int64_t DogMood(Object* self, int32_t offset);

// How often each Fed / OnMoved handler has run since the start.
extern int gFedCalls;
extern int gMovedCalls;

GenericFn Fn(auto function) {
    return reinterpret_cast<GenericFn>(function);
}

}  // namespace zoo
