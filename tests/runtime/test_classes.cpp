#include "test_classes.h"

namespace zoo {

int gFedCalls = 0;
int gMovedCalls = 0;

// clang-format off
void AnimalConstructor(Object* self) { props::Integer::Set(self, kLegsOffset, 4); }
String AnimalSpeak(Object*) { return "..."; }
void AnimalFed(Object*) { ++gFedCalls; }
void AnimalRename(Object* self, String name) { props::String::Set(self, kSecretOffset, name); }
int64_t AnimalHelper(Object*) { return 7; }
void AnimalForget(Object* self) { props::String::Set(self, kSecretOffset, String()); }
Ref<Object> AnimalCreate() { return RuntimeNewObject(AnimalLookup()); }
String DogSpeak(Object*) { return "Woof"; }
int64_t DogFetch(Object*, int64_t times) { return times * 2; }
void DogOnMoved(Object*) { ++gMovedCalls; }
void DogWag(Object*) {}
int64_t DogPat(Object* self) { return props::Integer::Get(self, kLegsOffset); }
int64_t DogMood(Object* self, int32_t) { return props::Integer::Get(self, kLegsOffset) * 10; }
// clang-format on

namespace {

void AnimalExit(Object* self) {
    props::String::Set(self, kSecretOffset, String());
}
void DogExit(Object* self) {
    props::String::Set(self, kNameOffset, String());
    props::Object::Set(self, kFriendOffset, nullptr);
}

void AnimalInit();
void DogInit();
void CatInit();
void PuppyInit();
void PetInit();
ClassCell gAnimal{nullptr, &AnimalInit};
ClassCell gDog{nullptr, &DogInit};
ClassCell gCat{nullptr, &CatInit};
ClassCell gPuppy{nullptr, &PuppyInit};
ClassCell gPet{nullptr, &PetInit};

void AnimalInit() {
    static const MethodRow methods[] = {
        Method("Constructor", kPublicVirtual, "%%", &AnimalConstructor, kConstructorSlot),
        Method("Speak", kPublicVirtual, "%s%", &AnimalSpeak, kSpeakSlot),
        Method("Fed", kPublicVirtualHidden, "%%", &AnimalFed, kFedSlot),
        Method("Animal", kClassNamedCtor | kFlagHidden, "%%s", &AnimalRename, kRenameSlot),
        Method("Helper", kPrivate, "%i8%", &AnimalHelper),
        Method("Forget", kPrivateHidden, "%%", &AnimalForget),
        SharedMethod("Create", kPublicShared, "%o<Test.Animal>%", &AnimalCreate),
    };
    static const EventRow events[] = {{"Moved"}, {"Fed"}};
    static const HandlerRow handlers[] = {{kFedEvent, kFedSlot}};
    static const PropertyRow properties[] = {
        StoredProperty<double>("Weight", kStoredWritable, "f8", kWeightOffset),
        StoredProperty<int64_t>("Legs", kStoredWritable, "i8", kLegsOffset),
        StoredProperty<String>("Secret", kHiddenStoredWritable, "s", kSecretOffset),
    };
    static const ClassSpec table{.name = "Test.Animal",
                                 .superclass = nullptr,
                                 .methodCount = kAnimalMethods,
                                 .interfaceCount = 0,
                                 .eventCount = 2,
                                 .propertyCount = kAnimalProperties,
                                 .instanceDataSize = kAnimalDataSize,
                                 .slotCount = kAnimalSlots,
                                 .exit = &AnimalExit,
                                 .methods = methods,
                                 .events = events,
                                 .handlers = handlers,
                                 .properties = properties};
    RuntimeBuildClass(gAnimal, table);
}

void FillDogPet(InterfaceEntry* entry) {
    static const GenericFn functions[] = {Fn(&DogPat)};
    RuntimeFillInterfaceEntry(entry, PetLookup(), functions);
}

void DogInit() {
    static const MethodRow methods[] = {
        Method("Speak", kPublicVirtual, "%s%", &DogSpeak, kSpeakSlot),
        Method("Fetch", kPublicVirtual, "%i8%i8", &DogFetch, kFetchSlot),
        Method("OnMoved", kPublicVirtual, "%%", &DogOnMoved, kOnMovedSlot),
        Method("Wag", kPrivate, "%%", &DogWag),
    };
    static const EventRow events[] = {{"Barked"}};
    static const HandlerRow handlers[] = {{kMovedEvent, kOnMovedSlot}};
    static const PropertyRow properties[] = {
        StoredProperty<String>("Name", kStoredWritable, "s", kNameOffset),
        {"Friend", kStoredWritable, "o<Test.Animal>", kFriendOffset, Fn(&props::Object::Get),
         Fn(&props::Object::Set), &props::Object::Introspection::GetValue,
         &props::Object::Introspection::SetValue},
        ComputedProperty<int64_t>("Mood", kComputedReadOnly, "i8", &DogMood, nullptr),
    };
    static const InterfaceRow interfaces[] = {{&FillDogPet}};
    static const ClassSpec table{.name = "Test.Dog",
                                 .superclass = &AnimalLookup,
                                 .methodCount = kDogMethods,
                                 .interfaceCount = 1,
                                 .eventCount = 3,
                                 .propertyCount = kDogProperties,
                                 .instanceDataSize = kDogDataSize,
                                 .slotCount = kDogSlots,
                                 .exit = &DogExit,
                                 .methods = methods,
                                 .events = events,
                                 .handlers = handlers,
                                 .properties = properties,
                                 .interfaces = interfaces};
    RuntimeBuildClass(gDog, table);
}

void CatInit() {
    static const ClassSpec table{.name = "Test.Cat",
                                 .superclass = &AnimalLookup,
                                 .methodCount = kAnimalMethods,
                                 .interfaceCount = 0,
                                 .eventCount = 2,
                                 .propertyCount = kAnimalProperties,
                                 .instanceDataSize = kAnimalDataSize,
                                 .slotCount = kAnimalSlots};
    RuntimeBuildClass(gCat, table);
}

void PuppyInit() {
    static const ClassSpec table{.name = "Test.Puppy",
                                 .superclass = &DogLookup,
                                 .methodCount = kDogMethods,
                                 .interfaceCount = 0,
                                 .eventCount = 3,
                                 .propertyCount = kDogProperties,
                                 .instanceDataSize = kDogDataSize,
                                 .slotCount = kDogSlots};
    RuntimeBuildClass(gPuppy, table);
}

void PetInit() {
    static const MethodRow methods[] = {InterfaceMethod("Pat", "%i8%", 0)};
    static const ClassSpec table{.name = "Test.Pet",
                                 .superclass = nullptr,
                                 .methodCount = 1,
                                 .interfaceCount = 0,
                                 .eventCount = 0,
                                 .propertyCount = 0,
                                 .instanceDataSize = 0,
                                 .slotCount = 1,
                                 .methods = methods,
                                 .kind = kKindInterface};
    RuntimeBuildClass(gPet, table);
}

}  // namespace

ClassRecord* AnimalLookup() {
    return RuntimeLookupClass(gAnimal);
}
ClassRecord* DogLookup() {
    return RuntimeLookupClass(gDog);
}
ClassRecord* CatLookup() {
    return RuntimeLookupClass(gCat);
}
ClassRecord* PuppyLookup() {
    return RuntimeLookupClass(gPuppy);
}
ClassRecord* PetLookup() {
    return RuntimeLookupClass(gPet);
}

}  // namespace zoo
