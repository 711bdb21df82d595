// Class records as RuntimeBuildClass writes them: lazy building, entry tables, virtual
// tables, events, interfaces, casts.
#include <string>
#include <vector>

#include "test_classes.h"
#include "test_support.h"

using namespace zoo;

namespace {

using ClassRecordObjects = RuntimeTest;

// ---- a hierarchy that nothing else touches, to watch the order in which records are built

std::vector<std::string> gBuildLog;
void LazyBaseInit();
void LazyMidInit();
void LazyLeafInit();
ClassCell gLazyBase{nullptr, &LazyBaseInit};
ClassCell gLazyMid{nullptr, &LazyMidInit};
ClassCell gLazyLeaf{nullptr, &LazyLeafInit};

ClassRecord* LazyBaseForMid() {
    gBuildLog.push_back("Mid asks for Base");
    return RuntimeLookupClass(gLazyBase);
}
ClassRecord* LazyMidForLeaf() {
    gBuildLog.push_back("Leaf asks for Mid");
    return RuntimeLookupClass(gLazyMid);
}

// An empty class: only its name and place in the hierarchy.
ClassSpec EmptyClass(const char* name, ClassRecord* (*superclass)()) {
    return {.name = name,
            .superclass = superclass,
            .methodCount = 0,
            .interfaceCount = 0,
            .eventCount = 0,
            .propertyCount = 0,
            .instanceDataSize = 0,
            .slotCount = 0};
}
void LazyBaseInit() {
    RuntimeBuildClass(gLazyBase, EmptyClass("Lazy.Base", nullptr));
    gBuildLog.push_back("Base built");
}
void LazyMidInit() {
    RuntimeBuildClass(gLazyMid, EmptyClass("Lazy.Mid", &LazyBaseForMid));
    gBuildLog.push_back("Mid built");
}
void LazyLeafInit() {
    RuntimeBuildClass(gLazyLeaf, EmptyClass("Lazy.Leaf", &LazyMidForLeaf));
    gBuildLog.push_back("Leaf built");
}

TEST(ClassRecordBuild, SubclassLookupBuildsSuperclassesFirstAndOnlyOnce) {
    ASSERT_EQ(gLazyLeaf.record, nullptr);
    ASSERT_EQ(gLazyMid.record, nullptr);
    ASSERT_EQ(gLazyBase.record, nullptr);

    ClassRecord* leaf = RuntimeLookupClass(gLazyLeaf);
    EXPECT_EQ(gBuildLog, (std::vector<std::string>{"Leaf asks for Mid", "Mid asks for Base",
                                                   "Base built", "Mid built", "Leaf built"}));
    ASSERT_NE(leaf, nullptr);
    EXPECT_EQ(leaf->superclass, gLazyMid.record);
    EXPECT_EQ(leaf->superclass->superclass, gLazyBase.record);
    EXPECT_EQ(gLazyBase.record->superclass, nullptr);

    // A second initialiser call or lookup builds nothing and yields the same record.
    gBuildLog.clear();
    LazyLeafInit();
    LazyMidInit();
    EXPECT_EQ(RuntimeLookupClass(gLazyLeaf), leaf);
    EXPECT_EQ(gBuildLog, (std::vector<std::string>{"Leaf built", "Mid built"}))
        << "only the log lines after RuntimeBuildClass may appear: no superclass was asked for";
    EXPECT_EQ(RuntimeFindClass("Lazy.Leaf"), leaf);
}

TEST(ClassRecordBuild, CountsMatchTheEntriesWritten) {
    struct Row {
        ClassRecord* (*lookup)();
        uint32_t methods, interfaces, events, properties, dataSize, slots;
    };
    const Row rows[] = {
        {&AnimalLookup, kAnimalMethods, 0, 2, kAnimalProperties, kAnimalDataSize, kAnimalSlots},
        {&DogLookup, kDogMethods, 1, 3, kDogProperties, kDogDataSize, kDogSlots},
        {&CatLookup, kAnimalMethods, 0, 2, kAnimalProperties, kAnimalDataSize, kAnimalSlots},
        {&PuppyLookup, kDogMethods, 0, 3, kDogProperties, kDogDataSize, kDogSlots},
    };
    for (const Row& row : rows) {
        ClassRecord* cls = row.lookup();
        SCOPED_TRACE(cls->name);
        EXPECT_EQ(cls->methodCount, row.methods);
        EXPECT_EQ(cls->interfaceCount, row.interfaces);
        EXPECT_EQ(cls->eventCount, row.events);
        EXPECT_EQ(cls->propertyCount, row.properties);
        EXPECT_EQ(cls->classAttributeCount, 0u);
        EXPECT_EQ(cls->instanceDataSize, row.dataSize);
        EXPECT_EQ(cls->slotCount, row.slots);
        EXPECT_EQ(cls->kind, uint32_t{kKindClass});
        EXPECT_EQ(cls->reserved, 0u);
        for (uint32_t i = 0; i < cls->methodCount; ++i) {
            EXPECT_NE(cls->methods[i].name, nullptr) << "method entry " << i << " not written";
            EXPECT_NE(cls->methods[i].invoker, nullptr) << "method entry " << i;
            EXPECT_NE(cls->methods[i].attributes, nullptr) << "method entry " << i;
        }
        for (uint32_t i = 0; i < cls->eventCount; ++i)
            EXPECT_NE(cls->events[i].name, nullptr) << "event entry " << i << " not written";
        for (uint32_t i = 0; i < cls->propertyCount; ++i) {
            EXPECT_NE(cls->properties[i].name, nullptr) << "property entry " << i << " not written";
            EXPECT_NE(cls->properties[i].attributes, nullptr) << "property entry " << i;
        }
        for (uint32_t i = 0; i < cls->slotCount; ++i)
            EXPECT_NE(cls->vtable[i], nullptr) << "slot " << i << " empty";
    }
}

TEST(ClassRecordBuild, MethodTableRestatesTheSuperclassThenAddsOwnEntries) {
    struct Row {
        const char* name;
        uint32_t flags;
        uint32_t slot;
        GenericFn function;
        const char* signature;
    };
    // Dog's table: Animal's seven re-stated (hidden marks dropped, Speak naming the
    // override), then its own three in declaration order.
    const Row dog[] = {
        {"Constructor", kPublicVirtual, kConstructorSlot, Fn(&AnimalConstructor), "%%"},
        {"Speak", kPublicVirtual, kSpeakSlot, Fn(&DogSpeak), "%s%"},
        {"Fed", kPublicVirtual, kFedSlot, Fn(&AnimalFed), "%%"},
        {"Animal", kClassNamedCtor, kRenameSlot, Fn(&AnimalRename), "%%s"},
        {"Helper", kPrivate, kNoSlot, Fn(&AnimalHelper), "%i8%"},
        {"Forget", kPrivate, kNoSlot, Fn(&AnimalForget), "%%"},
        {"Create", kPublicShared, kNoSlot, Fn(&AnimalCreate), "%o<Test.Animal>%"},
        {"Fetch", kPublicVirtual, kFetchSlot, Fn(&DogFetch), "%i8%i8"},
        {"OnMoved", kPublicVirtual, kOnMovedSlot, Fn(&DogOnMoved), "%%"},
        {"Wag", kPrivate, kNoSlot, Fn(&DogWag), "%%"},
    };
    ClassRecord* cls = DogLookup();
    ASSERT_EQ(cls->methodCount, std::size(dog));
    ClassRecord* animal = AnimalLookup();
    for (uint32_t i = 0; i < cls->methodCount; ++i) {
        const MethodEntry& entry = cls->methods[i];
        SCOPED_TRACE(dog[i].name);
        EXPECT_STREQ(entry.name, dog[i].name);
        EXPECT_EQ(entry.flags, dog[i].flags);
        EXPECT_EQ(entry.slot, dog[i].slot);
        EXPECT_EQ(entry.function, dog[i].function);
        EXPECT_STREQ(entry.signature, dog[i].signature);
        EXPECT_EQ(entry.attributes->count, 0u) << "re-stated entries carry no attributes";
        if (i < animal->methodCount) {
            EXPECT_EQ(entry.invoker, animal->methods[i].invoker) << "the superclass's invoker";
            EXPECT_NE(entry.attributes, animal->methods[i].attributes);
        }
    }
}

TEST(ClassRecordBuild, HiddenEntriesCarryTheHiddenAttribute) {
    struct Row {
        ClassRecord* (*lookup)();
        const char* name;
        bool method;  // a method entry, else a property entry
        uint32_t flags;
        bool hidden;
    };
    const Row rows[] = {
        {&AnimalLookup, "Fed", true, kPublicVirtualHidden, true},
        {&AnimalLookup, "Animal", true, kClassNamedCtor | kFlagHidden, true},
        {&AnimalLookup, "Forget", true, kPrivateHidden, true},
        {&AnimalLookup, "Speak", true, kPublicVirtual, false},
        {&AnimalLookup, "Create", true, kPublicShared, false},
        {&AnimalLookup, "Secret", false, kHiddenStoredWritable, true},
        {&AnimalLookup, "Weight", false, kStoredWritable, false},
        {&DogLookup, "Mood", false, kComputedReadOnly, false},
    };
    for (const Row& row : rows) {
        ClassRecord* cls = row.lookup();
        SCOPED_TRACE(std::string(cls->name) + "." + row.name);
        const AttributeTable* attributes = nullptr;
        uint32_t flags = 0;
        if (row.method) {
            const MethodEntry* entry = RuntimeFindMethod(cls, row.name);
            ASSERT_NE(entry, nullptr);
            attributes = entry->attributes;
            flags = entry->flags;
        } else {
            const PropertyEntry* entry = RuntimeFindProperty(cls, row.name);
            ASSERT_NE(entry, nullptr);
            attributes = entry->attributes;
            flags = entry->flags;
        }
        EXPECT_EQ(flags, row.flags);
        ASSERT_NE(attributes, nullptr);
        ASSERT_EQ(attributes->count, row.hidden ? 1u : 0u);
        if (row.hidden) {
            EXPECT_STREQ(attributes->entries[0].name, "Hidden");
            EXPECT_STREQ(attributes->entries[0].value, "");
            EXPECT_EQ(attributes->entries[0].hasValue, 0u);
        }
    }
}

TEST(ClassRecordBuild, VirtualTablesInheritSlotsAndTakeOverrides) {
    ClassRecord* animal = AnimalLookup();
    ClassRecord* dog = DogLookup();
    ClassRecord* cat = CatLookup();
    ClassRecord* puppy = PuppyLookup();
    const GenericFn dogSlots[] = {Fn(&AnimalConstructor), Fn(&DogSpeak), Fn(&AnimalFed),
                                  Fn(&AnimalRename),      Fn(&DogFetch), Fn(&DogOnMoved)};
    for (uint32_t slot = 0; slot < kDogSlots; ++slot) {
        EXPECT_EQ(dog->vtable[slot], dogSlots[slot]) << "Dog slot " << slot;
        EXPECT_EQ(puppy->vtable[slot], dogSlots[slot])
            << "Puppy keeps Dog's override in slot " << slot;
    }
    for (uint32_t slot = 0; slot < kAnimalSlots; ++slot)
        EXPECT_EQ(cat->vtable[slot], animal->vtable[slot]) << "Cat slot " << slot;
    EXPECT_EQ(animal->vtable[kSpeakSlot], Fn(&AnimalSpeak)) << "the override stays in Dog";

    // Each record has its own table.
    EXPECT_NE(cat->vtable, animal->vtable);

    // The slot finder and the slot call see the same functions.
    EXPECT_EQ(RuntimeMethodForSlot(dog, kSpeakSlot)->function, Fn(&DogSpeak));
    EXPECT_EQ(RuntimeMethodForSlot(puppy, kSpeakSlot)->function, Fn(&DogSpeak));
    EXPECT_EQ(RuntimeMethodForSlot(dog, 99), nullptr);
}

TEST_F(ClassRecordObjects, CallSlotDispatchesOnTheObjectsClass) {
    Ref<Object> animal = RuntimeNewObject(AnimalLookup());
    Ref<Object> puppy = RuntimeNewObject(PuppyLookup());
    EXPECT_EQ(RuntimeCallSlot<String>(animal.get(), kSpeakSlot).Std(), "...");
    EXPECT_EQ(RuntimeCallSlot<String>(puppy.get(), kSpeakSlot).Std(), "Woof");
    EXPECT_EQ((RuntimeCallSlot<int64_t, int64_t>(puppy.get(), kFetchSlot, 21)), 42);
    EXPECT_RAISES(RuntimeCallSlot<void>(animal.get(), kFetchSlot), FunctionNotFoundException);
    EXPECT_RAISES(RuntimeCallSlot<void>(nullptr, kSpeakSlot), NilObjectException);
}

TEST(ClassRecordBuild, EventTablesKeepInheritedNamesAndOwnHandlers) {
    struct Row {
        ClassRecord* (*lookup)();
        uint32_t index;
        const char* name;
        GenericFn handler;    // written in this record
        GenericFn effective;  // found through the chain for an object of the class
    };
    const Row rows[] = {
        {&AnimalLookup, kMovedEvent, "Moved", nullptr, nullptr},
        {&AnimalLookup, kFedEvent, "Fed", Fn(&AnimalFed), Fn(&AnimalFed)},
        {&DogLookup, kMovedEvent, "Moved", Fn(&DogOnMoved), Fn(&DogOnMoved)},
        {&DogLookup, kFedEvent, "Fed", nullptr, Fn(&AnimalFed)},
        {&DogLookup, kBarkedEvent, "Barked", nullptr, nullptr},
        {&CatLookup, kFedEvent, "Fed", nullptr, Fn(&AnimalFed)},
        {&PuppyLookup, kMovedEvent, "Moved", nullptr, Fn(&DogOnMoved)},
        {&PuppyLookup, kBarkedEvent, "Barked", nullptr, nullptr},
    };
    for (const Row& row : rows) {
        ClassRecord* cls = row.lookup();
        SCOPED_TRACE(std::string(cls->name) + "." + row.name);
        ASSERT_LT(row.index, cls->eventCount);
        EXPECT_STREQ(cls->events[row.index].name, row.name);
        EXPECT_EQ(cls->events[row.index].handler, row.handler);
        EXPECT_EQ(RuntimeFindEvent(cls, row.name), static_cast<int32_t>(row.index));
        Ref<Object> object = RuntimeNewObject(cls);
        EXPECT_EQ(RuntimeClassEventHandler(object.get(), row.index), row.effective);
        EXPECT_EQ(_RuntimeIsEventHandled(object.get(), cls->name, row.name, false),
                  row.effective != nullptr);
        EXPECT_EQ(RuntimeUserIsEventHandled(object.get(), cls->name, row.name),
                  row.handler != nullptr);
    }
    EXPECT_EQ(RuntimeFindEvent(DogLookup(), "Missing"), -1);
}

TEST(ClassRecordBuild, PropertyTablesPutOwnEntriesAfterTheSuperclasses) {
    struct Row {
        uint32_t index;
        const char* name;
        const char* typeText;
        int32_t offset;
        uint32_t flags;
        ClassRecord* (*declaredBy)();
    };
    const Row dog[] = {
        {0, "Weight", "f8", kWeightOffset, kStoredWritable, &AnimalLookup},
        {1, "Legs", "i8", kLegsOffset, kStoredWritable, &AnimalLookup},
        {2, "Secret", "s", kSecretOffset, kHiddenStoredWritable, &AnimalLookup},
        {3, "Name", "s", kNameOffset, kStoredWritable, &DogLookup},
        {4, "Friend", "o<Test.Animal>", kFriendOffset, kStoredWritable, &DogLookup},
        {5, "Mood", "i8", 0, kComputedReadOnly, &DogLookup},
    };
    ClassRecord* cls = DogLookup();
    ASSERT_EQ(cls->propertyCount, std::size(dog));
    for (const Row& row : dog) {
        SCOPED_TRACE(row.name);
        const PropertyEntry& entry = cls->properties[row.index];
        EXPECT_STREQ(entry.name, row.name);
        EXPECT_STREQ(entry.typeText, row.typeText);
        EXPECT_EQ(entry.fieldOffset, row.offset);
        EXPECT_EQ(entry.flags, row.flags);
        EXPECT_EQ(entry.declaringClass, row.declaredBy());
        EXPECT_NE(entry.getter, nullptr);
        EXPECT_NE(entry.boxedGetter, nullptr);
        EXPECT_NE(entry.boxedSetter, nullptr);
        EXPECT_EQ(RuntimeFindProperty(cls, row.name), &entry);
    }
    // Inherited entries share the superclass's accessors.
    EXPECT_EQ(cls->properties[0].getter, AnimalLookup()->properties[0].getter);
    EXPECT_EQ(RuntimeFindProperty(cls, "WEIGHT"), &cls->properties[0]) << "names ignore case";
    EXPECT_EQ(RuntimeFindProperty(cls, "Tail"), nullptr);
    EXPECT_EQ(RuntimeFindMethod(cls, "FETCH")->slot, kFetchSlot);
    EXPECT_EQ(RuntimeFindMethod(cls, "Bite"), nullptr);
    EXPECT_EQ(RuntimeFindClass("Test.Dog"), cls);
}

TEST(ClassRecordBuild, InterfaceEntriesHoldTheImplementingFunctions) {
    ClassRecord* pet = PetLookup();
    EXPECT_EQ(pet->kind, uint32_t{kKindInterface});
    ClassRecord* dog = DogLookup();
    ASSERT_EQ(dog->interfaceCount, 1u);
    EXPECT_EQ(dog->interfaces[0].interface, pet);
    ASSERT_EQ(dog->interfaces[0].methodCount, 1u);
    EXPECT_EQ(dog->interfaces[0].table[0], Fn(&DogPat));
    EXPECT_RAISES(RuntimeNewObject(pet), UnsupportedOperationException);
}

// ---- casts and class tests --------------------------------------------------------------

TEST_F(ClassRecordObjects, IsaAndCheckCastFollowTheChainAndInterfaces) {
    struct Row {
        ClassRecord* (*objectClass)();
        ClassRecord* (*target)();
        bool isa;
    };
    const Row rows[] = {
        {&AnimalLookup, &AnimalLookup, true}, {&AnimalLookup, &DogLookup, false},
        {&AnimalLookup, &PetLookup, false},   {&DogLookup, &AnimalLookup, true},
        {&DogLookup, &DogLookup, true},       {&DogLookup, &PuppyLookup, false},
        {&DogLookup, &PetLookup, true},       {&DogLookup, &CatLookup, false},
        {&PuppyLookup, &AnimalLookup, true},  {&PuppyLookup, &PetLookup, true},
        {&CatLookup, &PetLookup, false},      {&CatLookup, &DogLookup, false},
    };
    for (const Row& row : rows) {
        Ref<Object> object = RuntimeNewObject(row.objectClass());
        ClassRecord* target = row.target();
        SCOPED_TRACE(std::string(object->cls->name) + " as " + target->name);
        EXPECT_EQ(RuntimeObjectIsa(object.get(), target), row.isa);
        if (row.isa) {
            Ref<Object> cast;
            EXPECT_RAISES_NOTHING(cast = RuntimeCheckCast(object.get(), target));
            EXPECT_EQ(cast, object);
            EXPECT_EQ(object->refcount, 2) << "the cast gives a new reference";
        } else {
            EXPECT_RAISES(RuntimeCheckCast(object.get(), target), IllegalCastException);
        }
    }
    EXPECT_FALSE(RuntimeObjectIsa(nullptr, AnimalLookup()));
    EXPECT_EQ(RuntimeCheckCast(nullptr, DogLookup()), nullptr) << "nil passes through";
    Ref<Object> dog = RuntimeNewObject(DogLookup());
    EXPECT_RAISES(RuntimeCheckCast(dog.get(), nullptr), NilObjectException);
    EXPECT_NE(RaisedMessage([&] { RuntimeCheckCast(dog.get(), CatLookup()); }).find("Test.Cat"),
              std::string::npos);
}

// ---- records that disagree with themselves -----------------------------------------------

int64_t ReturnsInteger(Object*) {
    return 1;
}
void Nothing(Object*) {}

void BadBaseInit();
ClassCell gBadBase{nullptr, &BadBaseInit};
ClassRecord* BadBaseLookup() {
    return RuntimeLookupClass(gBadBase);
}

const MethodRow kBadBaseMethods[] = {
    Method("Run", kPublicVirtual, "%%", &Nothing, 0),
    Method("Stop", kPrivate, "%%", &Nothing),
    Method("Count", kPrivate, "%i8%", &ReturnsInteger),
};
const EventRow kBadBaseEvents[] = {{"Ping"}};
const PropertyRow kBadBaseProperties[] = {
    StoredProperty<double>("Value", kStoredWritable, "f8", -8),
};

void BadBaseInit() {
    static const ClassSpec table{.name = "Bad.Base",
                                 .superclass = nullptr,
                                 .methodCount = 3,
                                 .interfaceCount = 0,
                                 .eventCount = 1,
                                 .propertyCount = 1,
                                 .instanceDataSize = 8,
                                 .slotCount = 1,
                                 .methods = kBadBaseMethods,
                                 .events = kBadBaseEvents,
                                 .properties = kBadBaseProperties};
    RuntimeBuildClass(gBadBase, table);
}

// A subclass of Bad.Base that is right except for what each case changes.
ClassSpec GoodSub(const char* name) {
    return {.name = name,
            .superclass = &BadBaseLookup,
            .methodCount = 3,
            .interfaceCount = 0,
            .eventCount = 1,
            .propertyCount = 1,
            .instanceDataSize = 8,
            .slotCount = 1};
}

const MethodRow kOneOwnMethod[] = {Method("Go", kPublicVirtual, "%%", &Nothing, 1)};
const MethodRow kSameSlotTwice[] = {Method("Go", kPublicVirtual, "%%", &Nothing, 1),
                                    Method("Went", kPublicVirtual, "%%", &Nothing, 1)};
const MethodRow kWrongShape[] = {Method("Go", kPrivate, "%s%", &ReturnsInteger)};
const MethodRow kMalformedSignature[] = {Method("Go", kPrivate, "%i3%", &ReturnsInteger)};
const MethodRow kVirtualWithoutSlot[] = {Method("Go", kPublicVirtual, "%%", &Nothing)};
const MethodRow kSlotOutOfRange[] = {Method("Go", kPublicVirtual, "%%", &Nothing, 5)};
const PropertyRow kOffsetOutside[] = {StoredProperty<double>("Far", kStoredWritable, "f8", -24)};
const PropertyRow kBadTypeText[] = {StoredProperty<double>("Odd", kStoredWritable, "f3", -16)};
const EventRow kOneEvent[] = {{"Pong"}};
const HandlerRow kHandlerOutOfRange[] = {{5, 0}};

struct BadCase {
    const char* label;
    ClassSpec table;
    bool namesClass;  // the builder's own check, whose message names the class
};

std::vector<BadCase> BadCases() {
    std::vector<BadCase> cases;
    auto add = [&](const char* label, const char* name, auto change, bool namesClass = true) {
        ClassSpec table = GoodSub(name);
        change(table);
        cases.push_back({label, table, namesClass});
    };
    add("more methods declared than written", "Bad.MoreMethods",
        [](ClassSpec& s) { s.methodCount = 4; });
    add("fewer methods declared than own rows", "Bad.FewerMethods", [](ClassSpec& s) {
        s.methods = kOneOwnMethod;
        s.slotCount = 2;
    });
    add("fewer methods declared than the superclass has", "Bad.BelowSuperclass",
        [](ClassSpec& s) { s.methodCount = 1; });
    add("event count disagrees", "Bad.Events", [](ClassSpec& s) { s.events = kOneEvent; });
    add("event count below the superclass's", "Bad.FewEvents",
        [](ClassSpec& s) { s.eventCount = 0; });
    add("property count disagrees", "Bad.Properties", [](ClassSpec& s) { s.propertyCount = 3; });
    add("interface count disagrees", "Bad.Interfaces", [](ClassSpec& s) { s.interfaceCount = 1; });
    add("one slot given twice", "Bad.SlotTwice", [](ClassSpec& s) {
        s.methods = kSameSlotTwice;
        s.methodCount = 5;
        s.slotCount = 2;
    });
    add("a slot left empty", "Bad.EmptySlot", [](ClassSpec& s) { s.slotCount = 2; });
    add("fewer slots than the superclass", "Bad.FewSlots", [](ClassSpec& s) { s.slotCount = 0; });
    add("slot beyond the slot count", "Bad.SlotRange", [](ClassSpec& s) {
        s.methods = kSlotOutOfRange;
        s.methodCount = 4;
    });
    add(
        "signature does not fit the function", "Bad.Shape",
        [](ClassSpec& s) {
            s.methods = kWrongShape;
            s.methodCount = 4;
        },
        false);
    add(
        "malformed signature", "Bad.Signature",
        [](ClassSpec& s) {
            s.methods = kMalformedSignature;
            s.methodCount = 4;
        },
        false);
    add("virtual flag without a slot", "Bad.Virtual", [](ClassSpec& s) {
        s.methods = kVirtualWithoutSlot;
        s.methodCount = 4;
    });
    add("field offset outside the instance data", "Bad.Offset", [](ClassSpec& s) {
        s.properties = kOffsetOutside;
        s.propertyCount = 2;
        s.instanceDataSize = 16;
    });
    add(
        "malformed property type", "Bad.Type",
        [](ClassSpec& s) {
            s.properties = kBadTypeText;
            s.propertyCount = 2;
            s.instanceDataSize = 16;
        },
        false);
    add("instance data smaller than the superclass's", "Bad.Small",
        [](ClassSpec& s) { s.instanceDataSize = 0; });
    add("handler for an event that does not exist", "Bad.Handler",
        [](ClassSpec& s) { s.handlers = kHandlerOutOfRange; });
    return cases;
}

TEST(ClassRecordBuild, ARecordThatDisagreesWithItselfIsRefusedAndNotHandedOut) {
    static ClassCell cells[32];  // class cells live as long as the process
    std::vector<BadCase> cases = BadCases();
    ASSERT_LE(cases.size(), std::size(cells));
    for (size_t i = 0; i < cases.size(); ++i) {
        const BadCase& bad = cases[i];
        SCOPED_TRACE(bad.label);
        ClassCell& cell = cells[i];
        std::string message;
        EXPECT_RAISES(RuntimeBuildClass(cell, bad.table), UnsupportedFormatException);
        message = RaisedMessage([&] { RuntimeBuildClass(cell, bad.table); });
        EXPECT_FALSE(message.empty());
        if (bad.namesClass) {
            EXPECT_NE(message.find(bad.table.name), std::string::npos) << message;
        }
        EXPECT_EQ(cell.record, nullptr) << "a refused record stays out of its cell";
        EXPECT_EQ(RuntimeFindClass(bad.table.name), nullptr) << "and out of the registry";
    }
}

TEST(ClassRecordBuild, TheUnchangedSubclassBuilds) {
    static ClassCell cell{};
    ClassSpec table = GoodSub("Bad.Fine");
    ClassRecord* record = nullptr;
    EXPECT_RAISES_NOTHING(record = RuntimeBuildClass(cell, table));
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->superclass, BadBaseLookup());
    EXPECT_STREQ(record->events[0].name, "Ping");
}

}  // namespace
