// Objects: creation and release along the class chain, reference counts, weak references,
// arrays and the boxing classes.
#include <deque>
#include <string>
#include <vector>

#include "test_classes.h"
#include "test_support.h"

using namespace zoo;

namespace {

using ObjectTest = RuntimeTest;

// ---- Base <- Mid <- Leaf: each step of an object's life is logged ---------------------------

std::vector<std::string> gLifeLog;

using Log = std::vector<std::string>;
template <const char* Step, const char* Name>
void Note(Object*) {
    gLifeLog.push_back(std::string(Step) + " " + Name);
}
constexpr char kInit[] = "init", kDestructor[] = "destructor", kExit[] = "exit";
constexpr char kBase[] = "Base", kMid[] = "Mid", kLeaf[] = "Leaf";

// The cells of the three classes. A test that watches them being built starts a new set, so
// that it sees the builds whichever test looked the classes up before it.
struct LifeCells {
    ClassCell base{}, mid{}, leaf{};
};
std::deque<LifeCells> gLifeCells(1);

// A logged class, built on its first lookup; Mid has no destructor, so the chain must go on
// past it.
template <const char* Name, ClassCell LifeCells::*Cell>
ClassRecord* Life(ClassRecord* (*superclass)(), uint32_t dataSize) {
    ClassCell& cell = gLifeCells.back().*Cell;
    if (!cell.record) gLifeLog.push_back(std::string("build ") + Name);
    ClassSpec table = Declared(Name, superclass, 0, 0, 0, dataSize, 0);
    table.init = &Note<kInit, Name>;
    table.destructor = Name == kMid ? nullptr : &Note<kDestructor, Name>;
    table.exit = &Note<kExit, Name>;
    return RuntimeBuildClass(cell, table);
}
// clang-format off
ClassRecord* LifeBase() { return Life<kBase, &LifeCells::base>(nullptr, 8); }
ClassRecord* LifeMid() { return Life<kMid, &LifeCells::mid>(&LifeBase, 16); }
ClassRecord* LifeLeaf() { return Life<kLeaf, &LifeCells::leaf>(&LifeMid, 44); }
// clang-format on

TEST_F(ObjectTest, BuiltOnFirstLookupInitSuperclassFirstAndFinaliseMostDerivedFirst) {
    gLifeCells.emplace_back();
    gLifeLog.clear();
    ClassRecord* leaf = LifeLeaf();
    EXPECT_EQ(gLifeLog, (Log{"build Leaf", "build Mid", "build Base"}));
    EXPECT_EQ(leaf->superclass->superclass, LifeBase());
    EXPECT_EQ(LifeLeaf(), leaf) << "built once";
    EXPECT_EQ(RuntimeFindClass("Leaf"), leaf);

    gLifeLog.clear();
    Object* object = RuntimeNewObjectRaw(leaf);
    EXPECT_EQ(gLifeLog, (Log{"init Base", "init Mid", "init Leaf"}));
    gLifeLog.clear();
    RuntimeRetain(object);
    RuntimeRelease(object);
    EXPECT_TRUE(gLifeLog.empty()) << "nothing runs before the last release";
    RuntimeRelease(object);
    EXPECT_EQ(gLifeLog,
              (Log{"destructor Leaf", "destructor Base", "exit Leaf", "exit Mid", "exit Base"}));
}

TEST_F(ObjectTest, NewObjectsHaveZeroedFieldsAndOneReference) {
    const int64_t before = RuntimeLiveObjectCount();
    Ref<Object> leaf = RuntimeNewObject(LifeLeaf());
    EXPECT_EQ(RuntimeLiveObjectCount(), before + 1);
    EXPECT_EQ(leaf->refcount, 1);
    EXPECT_EQ(leaf->vtable, LifeLeaf()->vtable);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(leaf.get()) % 16, 0u) << "the header stays aligned";
    const char* fields = reinterpret_cast<const char*>(leaf.get()) - 44;
    for (int i = 0; i < 44; ++i) EXPECT_EQ(fields[i], 0) << "byte " << i;
    EXPECT_RAISES(RuntimeNewObject(nullptr), NilObjectException);
}

void RetainingDestructor(Object* self) {
    Ref<Object> inPassing = Ref<Object>::Retain(self);  // released again before the end
}
void RaisingInit(Object*) {
    RuntimeRaiseNew(OutOfBoundsException::dunder_Lookup(), "no room");
}

TEST_F(ObjectTest, DestructorMayRetainItsObjectInPassingAndAFailedInitFreesTheObject) {
    static ClassCell retaining{}, failing{};
    ClassSpec table = Declared("Life.Retaining", nullptr, 0, 0, 0, 0, 0);
    table.destructor = &RetainingDestructor;
    RuntimeBuildClass(retaining, table);
    EXPECT_RAISES_NOTHING(RuntimeNewObject(retaining.record));

    table = Declared("Life.Failing", &LifeBase, 0, 0, 0, 8, 0);
    table.init = &RaisingInit;
    RuntimeBuildClass(failing, table);
    gLifeLog.clear();
    EXPECT_RAISES(RuntimeNewObject(failing.record), OutOfBoundsException);
    EXPECT_EQ(gLifeLog, (Log{"init Base", "destructor Base", "exit Base"}));
}

TEST_F(ObjectTest, WeakRefSeesItsTargetUntilItDiesAndMayDieFirst) {
    Ref<Object> cat = RuntimeNewObject(CatLookup());
    Ref<Object> first = RuntimeNewWeakRef(cat.get());
    Ref<Object> second = RuntimeNewWeakRef(cat.get());
    EXPECT_EQ(cat->refcount, 1) << "weak references add no reference";
    const PropertyEntry* value = RuntimeFindProperty(WeakRef::dunder_Lookup(), "Value");
    EXPECT_EQ(value->boxedGetter(first.get(), value).BorrowObject(), cat.get());
    second.Reset();
    EXPECT_EQ(cat->weak->holders, 2) << "the object's own hold and the first WeakRef's";

    cat.Reset();
    EXPECT_EQ(WeakRef::Value(first.get()), nullptr);
    EXPECT_TRUE(value->boxedGetter(first.get(), value).IsNil());
    EXPECT_EQ(WeakRef::Value(RuntimeNewWeakRef(nullptr).get()), nullptr);
}

TEST_F(ObjectTest, ArraysInsertGrowAndCheckBounds) {
    Ref<Object> array = CreateArray(1, -1);
    EXPECT_EQ(RuntimeArrayUbound(array.get()), -1);
    Ref<Object> a = RuntimeNewObject(CatLookup());
    Ref<Object> b = RuntimeNewObject(DogLookup());
    RuntimeArrayInsert(array.get(), 0, a.get());  // a
    RuntimeArrayInsert(array.get(), 1, b.get());  // a b   (at Ubound + 1)
    RuntimeArrayInsert(array.get(), 1, nullptr);  // a nil b
    EXPECT_EQ(RuntimeArrayUbound(array.get()), 2);
    EXPECT_EQ(RuntimeArrayGet(array.get(), 0), a);
    EXPECT_EQ(RuntimeArrayGet(array.get(), 1), nullptr);
    EXPECT_EQ(RuntimeArrayGet(array.get(), 2), b);
    EXPECT_EQ(a->refcount, 2) << "the array holds its elements";
    EXPECT_RAISES(RuntimeArrayGet(array.get(), -1), OutOfBoundsException);
    EXPECT_RAISES(RuntimeArrayGet(array.get(), 3), OutOfBoundsException);
    EXPECT_RAISES(RuntimeArrayInsert(array.get(), -1, a.get()), OutOfBoundsException);
    EXPECT_RAISES(RuntimeArrayInsert(array.get(), 4, a.get()), OutOfBoundsException);
    EXPECT_EQ(RuntimeArrayUbound(array.get()), 2);
    array.Reset();
    EXPECT_EQ(a->refcount, 1) << "a dying array releases its elements";

    EXPECT_EQ(RuntimeArrayGet(CreateArray(1, 2).get(), 2), nullptr);
    EXPECT_RAISES(CreateArray(2, 1), UnsupportedOperationException);
    EXPECT_RAISES(CreateArray(1, -2), OutOfBoundsException);
    EXPECT_RAISES(RuntimeArrayUbound(nullptr), NilObjectException);
    EXPECT_RAISES(RuntimeArrayUbound(a.get()), IllegalCastException);
}

TEST_F(ObjectTest, BoxingRoundTripsEveryVariantType) {
    Ref<Object> cat = RuntimeNewObject(CatLookup());
    int marker = 0;
    struct Row {
        Variant value;
        const char* boxClass;  // nullptr: no box is made
    };
    const Row rows[] = {
        {Variant(), nullptr},
        {Variant(true), "_VariantBoolean"},
        {Variant(INT64_MIN), "_VariantInt64"},
        {Variant(1.5f), "_VariantSingle"},
        {Variant(-2.25e300), "_VariantDouble"},
        {Variant("Corvane"), "_VariantString"},
        {Variant(Color{10, 20, 30, 40}), "_VariantColor"},
        {Variant(Currency{-123456}), "_VariantCurrency"},
        {Variant(static_cast<void*>(&marker)), "_VariantPtr"},
        {Variant(cat), nullptr},
    };
    for (const Row& row : rows) {
        Ref<Object> box = RuntimeBoxVariant(row.value);
        SCOPED_TRACE(box ? box->cls->name : "nil");
        if (row.boxClass) {
            ASSERT_NE(box, nullptr);
            EXPECT_STREQ(box->cls->name, row.boxClass);
        } else {
            EXPECT_EQ(box.get(), row.value.BorrowObject()) << "nil and objects are not boxed";
        }
        EXPECT_TRUE(SameVariant(RuntimeUnboxVariant(box.get()), row.value));
    }
}

TEST_F(ObjectTest, UnboxingWidensEachIntegerBoxBySignedness) {
    RuntimeInitBoxingClasses();
    for (const char* name : RuntimeBoxingClassNames())
        EXPECT_NE(RuntimeFindClass(name), nullptr) << name;
    struct Row {
        const char* boxClass;
        int64_t expected;  // from a field whose bytes are all 0xFF
    };
    const Row rows[] = {
        {"_VariantInt8", -1},           {"_VariantInt16", -1},   {"_VariantInt32", -1},
        {"_VariantInt64", -1},          {"_VariantUInt8", 0xFF}, {"_VariantUInt16", 0xFFFF},
        {"_VariantUInt32", 0xFFFFFFFF}, {"_VariantUInt64", -1},
    };
    for (const Row& row : rows) {
        Ref<Object> box = RuntimeNewObject(RuntimeFindClass(row.boxClass));
        box->Field<uint64_t>(-8) = ~uint64_t{0};
        EXPECT_EQ(RuntimeUnboxVariant(box.get()).AsInteger(), row.expected) << row.boxClass;
    }
    // Every text box holds its string and releases it.
    String text("wörds");
    for (const char* name : {"_VariantText", "_VariantCString", "_VariantWString"}) {
        Ref<Object> box = RuntimeNewObject(RuntimeFindClass(name));
        box->Field<StringData*>(-8) = text.RetainRaw();
        EXPECT_EQ(RuntimeUnboxVariant(box.get()).AsString(), text) << name;
    }
    EXPECT_EQ(text.RetainRaw()->refcount.fetch_sub(1), 2) << "the boxes released their text";
}

}  // namespace
