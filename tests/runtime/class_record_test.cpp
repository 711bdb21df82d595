// Class records as RuntimeBuildClass writes them: events and properties along the chain, and
// casts.
#include <string>

#include "test_classes.h"
#include "test_support.h"

using namespace zoo;

namespace {

using ClassRecordObjects = RuntimeTest;

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
    EXPECT_EQ(dog->properties[3].declaringClass, dog);
    EXPECT_STREQ(dog->properties[3].name, "Friend");
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

}  // namespace
