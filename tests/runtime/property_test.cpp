// Property entries: stored values land at their negative offsets; boxed accessors convert.
#include <string>

#include "test_classes.h"
#include "test_support.h"

using namespace zoo;

namespace {

using PropertyTest = RuntimeTest;

TEST_F(PropertyTest, BoxedAccessorsConvertOrRefuse) {
    Ref<Object> friendAnimal = RuntimeNewObject(CatLookup());
    Ref<Object> notAnAnimal = RuntimeNewWeakRef(nullptr);
    struct Row {
        const char* property;
        Variant in;
        Variant out;         // what the boxed getter returns afterwards
        const char* raised;  // or the exception the boxed setter raises
    };
    const Row rows[] = {
        {"Weight", Variant(int64_t{3}), Variant(3.0), "nothing"},
        {"Weight", Variant("heavy"), Variant(), "TypeMismatchException"},
        {"Legs", Variant(2.0), Variant(int64_t{2}), "nothing"},
        {"Legs", Variant(2.5), Variant(), "TypeMismatchException"},
        {"Name", Variant("Rex"), Variant("Rex"), "nothing"},
        {"Name", Variant(int64_t{5}), Variant(), "TypeMismatchException"},
        {"Friend", Variant(friendAnimal), Variant(friendAnimal), "nothing"},
        {"Friend", Variant(notAnAnimal), Variant(), "IllegalCastException"},
        {"Friend", Variant("Tom"), Variant(), "TypeMismatchException"},
        {"Mood", Variant(int64_t{1}), Variant(), "UnsupportedOperationException"},
    };
    const int32_t heldByTable = friendAnimal->refcount;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.property);
        Ref<Object> dog = RuntimeNewObject(DogLookup());
        const PropertyEntry* entry = RuntimeFindProperty(DogLookup(), row.property);
        EXPECT_EQ(RaisedClassName([&] { entry->boxedSetter(dog.get(), entry, row.in); }),
                  row.raised);
        Variant out = entry->boxedGetter(dog.get(), entry);
        EXPECT_TRUE(std::string(row.raised) != "nothing" || SameVariant(out, row.out));
    }
    EXPECT_EQ(friendAnimal->refcount, heldByTable) << "each dog released the friend it held";
    // A computed property calls its getter.
    Ref<Object> dog = RuntimeNewObject(DogLookup());
    RuntimeCallSlot<void>(dog.get(), kConstructorSlot);
    const PropertyEntry* mood = RuntimeFindProperty(DogLookup(), "Mood");
    EXPECT_EQ(mood->boxedGetter(dog.get(), mood).AsInteger(), 40);
}

TEST_F(PropertyTest, ObjectAndStringFieldsHoldAReferenceAndReleaseTheOldValue) {
    Ref<Object> dog = RuntimeNewObject(DogLookup());
    Ref<Object> cat = RuntimeNewObject(CatLookup());
    props::Object::Set(dog.get(), kFriendOffset, cat.get());
    EXPECT_EQ(cat->refcount, 2);
    EXPECT_EQ(props::Object::Get(dog.get(), kFriendOffset), cat);
    props::Object::Set(dog.get(), kFriendOffset, dog.get());  // replacing releases the old one
    EXPECT_EQ(cat->refcount, 1);
    props::Object::Set(dog.get(), kFriendOffset, nullptr);
    EXPECT_EQ(dog->refcount, 1);

    EXPECT_EQ(props::String::Get(dog.get(), kNameOffset).Std(), "") << "nil is the empty text";
    props::String::Set(dog.get(), kNameOffset, String("Rex"));
    props::String::Set(dog.get(), kNameOffset, String("Fido"));
    EXPECT_EQ(props::String::Get(dog.get(), kNameOffset).Std(), "Fido");
    EXPECT_EQ(dog->Field<StringData*>(kNameOffset)->refcount.load(), 1);

    // A WeakRef field takes only WeakRefs, which hold their target weakly.
    Ref<Object> weak = RuntimeNewWeakRef(cat.get());
    EXPECT_RAISES(props::WeakRef::Set(dog.get(), kFriendOffset, cat.get()), IllegalCastException);
    EXPECT_EQ(dog->Field<Object*>(kFriendOffset), nullptr);
    EXPECT_RAISES_NOTHING(props::WeakRef::Set(dog.get(), kFriendOffset, weak.get()));
    EXPECT_EQ(weak->refcount, 2);
    EXPECT_EQ(cat->refcount, 1);
}

}  // namespace
