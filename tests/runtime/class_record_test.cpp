// Class records as RuntimeBuildClass writes them: lazy building, entry tables, virtual
// tables, events, interfaces, casts, and records that disagree with themselves.
#include <string>
#include <vector>

#include "test_classes.h"
#include "test_support.h"

using namespace zoo;

namespace {

using ClassRecordObjects = RuntimeTest;

TEST(ClassRecordBuild, MethodTableRestatesTheSuperclassThenAddsOwnEntries) {
    struct Row {
        const char* name;
        uint32_t flags;
        uint32_t slot;
        GenericFn function;
    };
    // Dog's table: Animal's seven re-stated (hidden marks dropped, Speak naming the
    // override), then its own three in declaration order.
    // clang-format off
    const Row dog[] = {
        {"Constructor", kPublicVirtual,  kConstructorSlot, Fn(&AnimalConstructor)},
        {"Speak",       kPublicVirtual,  kSpeakSlot,       Fn(&DogSpeak)},
        {"Fed",         kPublicVirtual,  kFedSlot,         Fn(&AnimalFed)},
        {"Animal",      kClassNamedCtor, kRenameSlot,      Fn(&AnimalRename)},
        {"Helper",      kPrivate,        kNoSlot,          Fn(&AnimalHelper)},
        {"Forget",      kPrivate,        kNoSlot,          Fn(&AnimalForget)},
        {"Create",      kPublicShared,   kNoSlot,          Fn(&AnimalCreate)},
        {"Fetch",       kPublicVirtual,  kFetchSlot,       Fn(&DogFetch)},
        {"OnMoved",     kPublicVirtual,  kOnMovedSlot,     Fn(&DogOnMoved)},
        {"Wag",         kPrivate,        kNoSlot,          Fn(&DogWag)},
    };
    // clang-format on
    ClassRecord* cls = DogLookup();
    ClassRecord* animal = AnimalLookup();
    ASSERT_EQ(cls->methodCount, std::size(dog));
    for (uint32_t i = 0; i < cls->methodCount; ++i) {
        const MethodEntry& entry = cls->methods[i];
        SCOPED_TRACE(dog[i].name);
        EXPECT_STREQ(entry.name, dog[i].name);
        EXPECT_EQ(entry.flags, dog[i].flags);
        EXPECT_EQ(entry.slot, dog[i].slot);
        EXPECT_EQ(entry.function, dog[i].function);
        EXPECT_EQ(entry.attributes->count, 0u) << "re-stated entries carry no attributes";
        EXPECT_NE(entry.invoker, nullptr);
    }
    // The superclass's own entries keep their hidden mark and its attribute.
    const MethodEntry* fed = RuntimeFindMethod(animal, "Fed");
    EXPECT_EQ(fed->flags, kPublicVirtualHidden);
    ASSERT_EQ(fed->attributes->count, 1u);
    EXPECT_STREQ(fed->attributes->entries[0].name, "Hidden");
    EXPECT_EQ(fed->attributes->entries[0].hasValue, 0u);
    EXPECT_EQ(RuntimeFindMethod(animal, "Speak")->attributes->count, 0u);
    EXPECT_EQ(RuntimeFindProperty(animal, "Secret")->attributes->count, 1u);
    EXPECT_EQ(RuntimeFindProperty(animal, "Weight")->attributes->count, 0u);
}

TEST_F(ClassRecordObjects, VirtualTablesInheritSlotsTakeOverridesAndDispatchOnTheClass) {
    const GenericFn dogSlots[] = {Fn(&AnimalConstructor), Fn(&DogSpeak), Fn(&AnimalFed),
                                  Fn(&AnimalRename),      Fn(&DogFetch), Fn(&DogOnMoved)};
    for (uint32_t slot = 0; slot < kDogSlots; ++slot)
        EXPECT_EQ(PuppyLookup()->vtable[slot], dogSlots[slot]) << "Puppy slot " << slot;
    for (uint32_t slot = 0; slot < kAnimalSlots; ++slot)
        EXPECT_EQ(CatLookup()->vtable[slot], AnimalLookup()->vtable[slot]) << "Cat slot " << slot;
    EXPECT_NE(CatLookup()->vtable, AnimalLookup()->vtable) << "each record has its own table";
    EXPECT_EQ(RuntimeMethodForSlot(PuppyLookup(), kSpeakSlot)->function, Fn(&DogSpeak));
    EXPECT_EQ(RuntimeMethodForSlot(DogLookup(), 99), nullptr);

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
    // clang-format off
    const Row rows[] = {
        {&AnimalLookup, kMovedEvent,  "Moved",  nullptr,         nullptr},
        {&AnimalLookup, kFedEvent,    "Fed",    Fn(&AnimalFed),  Fn(&AnimalFed)},
        {&DogLookup,    kMovedEvent,  "Moved",  Fn(&DogOnMoved), Fn(&DogOnMoved)},
        {&DogLookup,    kFedEvent,    "Fed",    nullptr,         Fn(&AnimalFed)},
        {&DogLookup,    kBarkedEvent, "Barked", nullptr,         nullptr},
        {&PuppyLookup,  kMovedEvent,  "Moved",  nullptr,         Fn(&DogOnMoved)},
    };
    // clang-format on
    for (const Row& row : rows) {
        ClassRecord* cls = row.lookup();
        SCOPED_TRACE(std::string(cls->name) + "." + row.name);
        ASSERT_LT(row.index, cls->eventCount);
        EXPECT_STREQ(cls->events[row.index].name, row.name);
        EXPECT_EQ(cls->events[row.index].handler, row.handler);
        EXPECT_EQ(RuntimeFindEvent(cls, row.name), static_cast<int32_t>(row.index));
        Ref<Object> object = RuntimeNewObject(cls);
        EXPECT_EQ(RuntimeClassEventHandler(object.get(), row.index), row.effective);
        EXPECT_EQ(under_RuntimeIsEventHandled(object.get(), cls->name, row.name, false),
                  row.effective != nullptr);
        EXPECT_EQ(under_RuntimeIsEventHandled(object.get(), cls->name, row.name, true),
                  row.handler != nullptr);
    }
    EXPECT_EQ(RuntimeFindEvent(DogLookup(), "Missing"), -1);
}

TEST(ClassRecordBuild, PropertyTablesPutOwnEntriesAfterTheSuperclasses) {
    ClassRecord* dog = DogLookup();
    const char* names[] = {"Weight", "Legs", "Secret", "Name", "Friend", "Mood"};
    ASSERT_EQ(dog->propertyCount, std::size(names));
    for (uint32_t i = 0; i < dog->propertyCount; ++i) {
        const PropertyEntry& entry = dog->properties[i];
        SCOPED_TRACE(names[i]);
        EXPECT_STREQ(entry.name, names[i]);
        EXPECT_EQ(entry.declaringClass, i < kAnimalProperties ? AnimalLookup() : dog);
        EXPECT_EQ(RuntimeFindProperty(dog, names[i]), &entry);
    }
    EXPECT_EQ(dog->properties[1].fieldOffset, kLegsOffset);
    EXPECT_EQ(dog->properties[1].getter, AnimalLookup()->properties[1].getter);
    EXPECT_EQ(RuntimeFindProperty(dog, "wEIGHT"), &dog->properties[0]) << "names ignore case";
    EXPECT_EQ(RuntimeFindProperty(dog, "Tail"), nullptr);
    EXPECT_EQ(RuntimeFindMethod(dog, "FETCH"), &dog->methods[7]);
    EXPECT_EQ(RuntimeFindMethod(dog, "Bite"), nullptr);
}

TEST_F(ClassRecordObjects, IsaAndCheckCastFollowTheChainAndInterfaces) {
    struct Row {
        ClassRecord* (*objectClass)();
        ClassRecord* (*target)();
        bool isa;
    };
    const Row rows[] = {
        {&AnimalLookup, &DogLookup, false}, {&AnimalLookup, &PetLookup, false},
        {&DogLookup, &AnimalLookup, true},  {&DogLookup, &PetLookup, true},
        {&DogLookup, &CatLookup, false},    {&PuppyLookup, &AnimalLookup, true},
        {&PuppyLookup, &PetLookup, true},   {&CatLookup, &PetLookup, false},
    };
    for (const Row& row : rows) {
        Ref<Object> object = RuntimeNewObject(row.objectClass());
        ClassRecord* target = row.target();
        SCOPED_TRACE(std::string(object->cls->name) + " as " + target->name);
        EXPECT_EQ(RuntimeObjectIsa(object.get(), target), row.isa);
        if (row.isa) {
            EXPECT_EQ(RuntimeCheckCast(object.get(), target), object);
            Ref<Object> cast = RuntimeCheckCast(object.get(), target);
            EXPECT_EQ(object->refcount, 2) << "the cast gives a new reference";
        } else {
            EXPECT_RAISES(RuntimeCheckCast(object.get(), target), IllegalCastException);
        }
    }
    EXPECT_EQ(DogLookup()->interfaces[0].table[0], Fn(&DogPat));
    EXPECT_RAISES(RuntimeNewObject(PetLookup()), UnsupportedOperationException);
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

void BadBaseInit() {
    static const MethodRow methods[] = {
        Method("Run", kPublicVirtual, "%%", &Nothing, 0),
        Method("Stop", kPrivate, "%%", &Nothing),
        Method("Count", kPrivate, "%i8%", &ReturnsInteger),
    };
    static const EventRow events[] = {{"Ping"}};
    static const PropertyRow properties[] = {
        StoredProperty<double>("Value", kStoredWritable, "f8", -8)};
    ClassSpec table = Declared("Bad.Base", nullptr, 3, 1, 1, 8, 1);
    table.methods = methods;
    table.events = events;
    table.properties = properties;
    RuntimeBuildClass(gBadBase, table);
}

const MethodRow kOwnSlotOne[] = {Method("Go", kPublicVirtual, "%%", &Nothing, 1)};
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
    const char* name;  // the class name, which the builder's own messages give
    void (*change)(ClassSpec&);
    bool namesClass;  // false where the signature or type parser reports it
};

// clang-format off
const BadCase kBadCases[] = {
    {"Bad.MoreMethods",   [](ClassSpec& s) { s.methodCount = 4; }, true},
    {"Bad.FewerMethods",  [](ClassSpec& s) { s.methods = kOwnSlotOne; s.slotCount = 2; }, true},
    {"Bad.BelowSuper",    [](ClassSpec& s) { s.methodCount = 1; }, true},
    {"Bad.Events",        [](ClassSpec& s) { s.events = kOneEvent; }, true},
    {"Bad.FewEvents",     [](ClassSpec& s) { s.eventCount = 0; }, true},
    {"Bad.Properties",    [](ClassSpec& s) { s.propertyCount = 3; }, true},
    {"Bad.Interfaces",    [](ClassSpec& s) { s.interfaceCount = 1; }, true},
    {"Bad.SlotTwice",     [](ClassSpec& s) { s.methods = kSameSlotTwice; s.methodCount = 5; s.slotCount = 2; }, true},
    {"Bad.EmptySlot",     [](ClassSpec& s) { s.slotCount = 2; }, true},
    {"Bad.FewSlots",      [](ClassSpec& s) { s.slotCount = 0; }, true},
    {"Bad.SlotRange",     [](ClassSpec& s) { s.methods = kSlotOutOfRange; s.methodCount = 4; }, true},
    {"Bad.Shape",         [](ClassSpec& s) { s.methods = kWrongShape; s.methodCount = 4; }, false},
    {"Bad.Signature",     [](ClassSpec& s) { s.methods = kMalformedSignature; s.methodCount = 4; }, false},
    {"Bad.Virtual",       [](ClassSpec& s) { s.methods = kVirtualWithoutSlot; s.methodCount = 4; }, true},
    {"Bad.Offset",        [](ClassSpec& s) { s.properties = kOffsetOutside; s.propertyCount = 2; s.instanceDataSize = 16; }, true},
    {"Bad.Type",          [](ClassSpec& s) { s.properties = kBadTypeText; s.propertyCount = 2; s.instanceDataSize = 16; }, false},
    {"Bad.Small",         [](ClassSpec& s) { s.instanceDataSize = 0; }, true},
    {"Bad.Handler",       [](ClassSpec& s) { s.handlers = kHandlerOutOfRange; }, true},
};
// clang-format on

TEST(ClassRecordBuild, ARecordThatDisagreesWithItselfIsRefusedAndNotHandedOut) {
    static ClassCell cells[std::size(kBadCases) + 1];  // cells live as long as the process
    for (size_t i = 0; i < std::size(kBadCases); ++i) {
        const BadCase& bad = kBadCases[i];
        SCOPED_TRACE(bad.name);
        ClassSpec table = Declared(bad.name, &BadBaseLookup, 3, 1, 1, 8, 1);
        bad.change(table);
        for (int attempt = 0; attempt < 2; ++attempt) {  // a later lookup fails the same way
            EXPECT_RAISES(RuntimeBuildClass(cells[i], table), UnsupportedFormatException);
            EXPECT_EQ(cells[i].record, nullptr) << "a refused record stays out of its cell";
        }
        std::string message = RaisedMessage([&] { RuntimeBuildClass(cells[i], table); });
        EXPECT_TRUE(!bad.namesClass || message.find(bad.name) != std::string::npos) << message;
        EXPECT_EQ(RuntimeFindClass(bad.name), nullptr) << "and out of the registry";
    }
    // The unchanged subclass builds.
    ClassRecord* fine = nullptr;
    EXPECT_RAISES_NOTHING(
        fine = RuntimeBuildClass(cells[std::size(kBadCases)],
                                 Declared("Bad.Fine", &BadBaseLookup, 3, 1, 1, 8, 1)));
    ASSERT_NE(fine, nullptr);
    EXPECT_STREQ(fine->events[0].name, "Ping");
}

}  // namespace
