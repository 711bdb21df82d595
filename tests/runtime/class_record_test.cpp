// Class records as RuntimeBuildClass writes them: dispatch through the virtual table, events
// and properties along the chain, casts, and records that disagree with themselves.
#include <string>

#include "test_classes.h"
#include "test_support.h"

using namespace zoo;

namespace {

using ClassRecordObjects = RuntimeTest;

TEST_F(ClassRecordObjects, SlotsDispatchOnTheObjectsClassAndInheritWhatItDoesNotOverride) {
    Ref<Object> animal = RuntimeNewObject(AnimalLookup());
    Ref<Object> puppy = RuntimeNewObject(PuppyLookup());
    EXPECT_EQ(RuntimeCallSlot<String>(animal.get(), kSpeakSlot).Std(), "...");
    EXPECT_EQ(RuntimeCallSlot<String>(puppy.get(), kSpeakSlot).Std(), "Woof");
    EXPECT_EQ((RuntimeCallSlot<int64_t, int64_t>(puppy.get(), kFetchSlot, 21)), 42);
    EXPECT_EQ(PuppyLookup()->vtable[kFedSlot], Fn(&AnimalFed));
    EXPECT_EQ(RuntimeMethodForSlot(PuppyLookup(), kSpeakSlot)->function, Fn(&DogSpeak));
    EXPECT_RAISES(RuntimeCallSlot<void>(animal.get(), kFetchSlot), FunctionNotFoundException);
    EXPECT_RAISES(RuntimeCallSlot<void>(nullptr, kSpeakSlot), NilObjectException);
}

TEST(ClassRecordBuild,
     EventsAndPropertiesKeepTheSuperclassesIndexesAndHandlersComeThroughTheChain) {
    struct Row {
        ClassRecord* (*lookup)();
        uint32_t index;
        const char* name;
        GenericFn handler;    // written in this record
        GenericFn effective;  // found through the chain for an object of the class
    };
    const Row rows[] = {
        {&AnimalLookup, kMovedEvent, "Moved", nullptr, nullptr},
        {&DogLookup, kMovedEvent, "Moved", Fn(&DogOnMoved), Fn(&DogOnMoved)},
        {&DogLookup, kFedEvent, "Fed", nullptr, Fn(&AnimalFed)},
        {&PuppyLookup, kBarkedEvent, "Barked", nullptr, nullptr},
    };
    for (const Row& row : rows) {
        ClassRecord* cls = row.lookup();
        SCOPED_TRACE(std::string(cls->name) + "." + row.name);
        EXPECT_EQ(RuntimeFindEvent(cls, row.name), static_cast<int32_t>(row.index));
        EXPECT_EQ(cls->events[row.index].handler, row.handler);
        Ref<Object> object = RuntimeNewObject(cls);
        EXPECT_EQ(RuntimeClassEventHandler(object.get(), row.index), row.effective);
        EXPECT_EQ(under_RuntimeIsEventHandled(object.get(), cls->name, row.name, false),
                  row.effective != nullptr);
        EXPECT_EQ(under_RuntimeIsEventHandled(object.get(), cls->name, row.name, true),
                  row.handler != nullptr);
    }
    ClassRecord* dog = DogLookup();
    EXPECT_EQ(RuntimeFindProperty(dog, "wEIGHT"), &dog->properties[0]) << "names ignore case";
    EXPECT_EQ(dog->properties[4].declaringClass, dog);
    EXPECT_STREQ(dog->properties[4].name, "Friend");
    EXPECT_EQ(RuntimeFindProperty(dog, "Tail"), nullptr);
}

TEST_F(ClassRecordObjects, IsaAndCheckCastFollowTheChainAndInterfaces) {
    struct Row {
        ClassRecord* (*objectClass)();
        ClassRecord* (*target)();
        bool isa;
    };
    const Row rows[] = {
        {&AnimalLookup, &DogLookup, false},
        {&DogLookup, &AnimalLookup, true},
        {&PuppyLookup, &PetLookup, true},
        {&CatLookup, &PetLookup, false},
    };
    for (const Row& row : rows) {
        Ref<Object> object = RuntimeNewObject(row.objectClass());
        ClassRecord* target = row.target();
        SCOPED_TRACE(std::string(object->cls->name) + " as " + target->name);
        EXPECT_EQ(RuntimeObjectIsa(object.get(), target), row.isa);
        if (row.isa) {
            Ref<Object> cast = RuntimeCheckCast(object.get(), target);
            EXPECT_EQ(cast, object);
            EXPECT_EQ(object->refcount, 2) << "the cast gives a new reference";
        } else {
            EXPECT_RAISES(RuntimeCheckCast(object.get(), target), IllegalCastException);
        }
    }
    EXPECT_RAISES(RuntimeNewObject(PetLookup()), UnsupportedOperationException);
    EXPECT_EQ(RuntimeCheckCast(nullptr, DogLookup()), nullptr) << "nil passes through";
}

// ---- records that disagree with themselves -----------------------------------------------

void Nothing(Object*) {}

void BadBaseInit();
ClassCell gBadBase{nullptr, &BadBaseInit};
void BadBaseInit() {
    static const MethodRow methods[] = {Method("Run", kPublicVirtual, "%%", &Nothing, 0)};
    ClassSpec table = Declared("Bad.Base", nullptr, 1, 0, 0, 8, 1);
    table.methods = methods;
    RuntimeBuildClass(gBadBase, table);
}

const MethodRow kSameSlotTwice[] = {Method("Go", kPublicVirtual, "%%", &Nothing, 1),
                                    Method("Went", kPublicVirtual, "%%", &Nothing, 1)};
const MethodRow kWrongShape[] = {Method("Go", kPrivate, "%s%", &Nothing)};
const MethodRow kVirtualWithoutSlot[] = {Method("Go", kPublicVirtual, "%%", &Nothing)};
const PropertyRow kOffsetOutside[] = {StoredProperty<double>("Far", kStoredWritable, "f8", -24)};

TEST(ClassRecordBuild, ARecordThatDisagreesWithItselfIsRefusedAndNotHandedOut) {
    const std::pair<const char*, void (*)(ClassSpec&)> cases[] = {
        {"Bad.MoreMethods", [](ClassSpec& s) { s.methodCount = 2; }},
        {"Bad.Events", [](ClassSpec& s) { s.eventCount = 1; }},
        {"Bad.Interfaces", [](ClassSpec& s) { s.interfaceCount = 1; }},
        {"Bad.SlotTwice",
         [](ClassSpec& s) { s.methods = kSameSlotTwice, s.methodCount = 3, s.slotCount = 2; }},
        {"Bad.EmptySlot", [](ClassSpec& s) { s.slotCount = 2; }},
        {"Bad.Shape", [](ClassSpec& s) { s.methods = kWrongShape, s.methodCount = 2; }},
        {"Bad.Virtual", [](ClassSpec& s) { s.methods = kVirtualWithoutSlot, s.methodCount = 2; }},
        {"Bad.Offset", [](ClassSpec& s) { s.properties = kOffsetOutside, s.propertyCount = 1; }},
    };
    static ClassCell cells[std::size(cases)];  // cells live as long as the process
    for (size_t i = 0; i < std::size(cases); ++i) {
        const auto& [name, change] = cases[i];
        SCOPED_TRACE(name);
        ClassSpec table = Declared(
            name, [] { return RuntimeLookupClass(gBadBase); }, 1, 0, 0, 8, 1);
        change(table);
        for (int attempt = 0; attempt < 2; ++attempt) {  // a later lookup fails the same way
            EXPECT_RAISES(RuntimeBuildClass(cells[i], table), UnsupportedFormatException);
            EXPECT_EQ(cells[i].record, nullptr) << "a refused record stays out of its cell";
        }
        EXPECT_EQ(RuntimeFindClass(name), nullptr) << "and out of the registry";
    }
}

}  // namespace
