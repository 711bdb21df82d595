// Objects: creation and release along the class chain, reference counts, weak references,
// arrays and the boxing classes.
#include <cstring>
#include <string>
#include <vector>

#include "test_classes.h"
#include "test_support.h"

using namespace zoo;

namespace {

using ObjectTest = RuntimeTest;

// ---- Life.Base <- Life.Mid <- Life.Leaf: each step of an object's life is logged -------

std::vector<std::string> gLifeLog;

template <const char* Name>
void LogInit(Object*) {
    gLifeLog.push_back(std::string("init ") + Name);
}
template <const char* Name>
void LogDestructor(Object*) {
    gLifeLog.push_back(std::string("destructor ") + Name);
}
template <const char* Name>
void LogExit(Object*) {
    gLifeLog.push_back(std::string("exit ") + Name);
}

constexpr char kBase[] = "Base";
constexpr char kMid[] = "Mid";
constexpr char kLeaf[] = "Leaf";

void LifeBaseInit();
void LifeMidInit();
void LifeLeafInit();
ClassCell gLifeBase{nullptr, &LifeBaseInit};
ClassCell gLifeMid{nullptr, &LifeMidInit};
ClassCell gLifeLeaf{nullptr, &LifeLeafInit};
ClassRecord* LifeBase() {
    return RuntimeLookupClass(gLifeBase);
}
ClassRecord* LifeMid() {
    return RuntimeLookupClass(gLifeMid);
}
ClassRecord* LifeLeaf() {
    return RuntimeLookupClass(gLifeLeaf);
}

ClassSpec LifeClass(const char* name, ClassRecord* (*superclass)(), uint32_t dataSize) {
    return {.name = name,
            .superclass = superclass,
            .methodCount = 0,
            .interfaceCount = 0,
            .eventCount = 0,
            .propertyCount = 0,
            .instanceDataSize = dataSize,
            .slotCount = 0};
}
void LifeBaseInit() {
    static ClassSpec table = [] {
        ClassSpec s = LifeClass("Life.Base", nullptr, 8);
        s.init = &LogInit<kBase>;
        s.destructor = &LogDestructor<kBase>;
        s.exit = &LogExit<kBase>;
        return s;
    }();
    RuntimeBuildClass(gLifeBase, table);
}
void LifeMidInit() {
    // Mid has no destructor: the chain goes on past it.
    static ClassSpec table = [] {
        ClassSpec s = LifeClass("Life.Mid", &LifeBase, 16);
        s.init = &LogInit<kMid>;
        s.exit = &LogExit<kMid>;
        return s;
    }();
    RuntimeBuildClass(gLifeMid, table);
}
void LifeLeafInit() {
    static ClassSpec table = [] {
        ClassSpec s = LifeClass("Life.Leaf", &LifeMid, 44);
        s.init = &LogInit<kLeaf>;
        s.destructor = &LogDestructor<kLeaf>;
        s.exit = &LogExit<kLeaf>;
        return s;
    }();
    RuntimeBuildClass(gLifeLeaf, table);
}

TEST_F(ObjectTest, InitRunsSuperclassFirstAndFinalisationMostDerivedFirst) {
    using Log = std::vector<std::string>;
    struct Row {
        ClassRecord* (*cls)();
        Log created;
        Log released;
    };
    const Row rows[] = {
        {&LifeBase, {"init Base"}, {"destructor Base", "exit Base"}},
        {&LifeMid, {"init Base", "init Mid"}, {"destructor Base", "exit Mid", "exit Base"}},
        {&LifeLeaf,
         {"init Base", "init Mid", "init Leaf"},
         {"destructor Leaf", "destructor Base", "exit Leaf", "exit Mid", "exit Base"}},
    };
    for (const Row& row : rows) {
        ClassRecord* cls = row.cls();
        SCOPED_TRACE(cls->name);
        gLifeLog.clear();
        Object* object = RuntimeNewObjectRaw(cls);
        EXPECT_EQ(gLifeLog, row.created);
        gLifeLog.clear();
        RuntimeRetain(object);
        RuntimeRelease(object);
        EXPECT_TRUE(gLifeLog.empty()) << "nothing runs before the last release";
        RuntimeRelease(object);
        EXPECT_EQ(gLifeLog, row.released);
    }
}

TEST_F(ObjectTest, NewObjectsHaveZeroedFieldsAndOneReference) {
    const int64_t before = RuntimeLiveObjectCount();
    Ref<Object> leaf = RuntimeNewObject(LifeLeaf());
    EXPECT_EQ(RuntimeLiveObjectCount(), before + 1);
    EXPECT_EQ(leaf->refcount, 1);
    EXPECT_EQ(leaf->cls, LifeLeaf());
    EXPECT_EQ(leaf->vtable, LifeLeaf()->vtable);
    EXPECT_EQ(leaf->weak, nullptr);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(leaf.get()) % 16, 0u) << "the header stays aligned";
    // 44 bytes of fields: all of them lie inside the block and start at zero.
    const char* fields = reinterpret_cast<const char*>(leaf.get()) - 44;
    for (int i = 0; i < 44; ++i) EXPECT_EQ(fields[i], 0) << "byte " << i;
    leaf.Reset();
    EXPECT_EQ(RuntimeLiveObjectCount(), before);
}

Object* gDestructorSawSelf = nullptr;
void RetainingDestructor(Object* self) {
    Ref<Object> inPassing = Ref<Object>::Retain(self);  // released again before the end
    gDestructorSawSelf = inPassing.get();
}

TEST_F(ObjectTest, DestructorMayRetainAndReleaseItsObjectInPassing) {
    static ClassCell cell{};
    static ClassSpec table = [] {
        ClassSpec s = LifeClass("Life.Retaining", nullptr, 0);
        s.destructor = &RetainingDestructor;
        return s;
    }();
    RuntimeBuildClass(cell, table);
    Object* object = RuntimeNewObjectRaw(cell.record);
    RuntimeRelease(object);
    EXPECT_EQ(gDestructorSawSelf, object);
}

void RaisingInit(Object*) {
    RuntimeRaiseNew(OutOfBoundsException::dunder_Lookup(), "no room");
}

TEST_F(ObjectTest, AnObjectWhoseInitRaisesIsFreed) {
    static ClassCell cell{};
    static ClassSpec table = [] {
        ClassSpec s = LifeClass("Life.Failing", &LifeBase, 8);
        s.init = &RaisingInit;
        return s;
    }();
    RuntimeBuildClass(cell, table);
    gLifeLog.clear();
    EXPECT_RAISES(RuntimeNewObject(cell.record), OutOfBoundsException);
    EXPECT_EQ(gLifeLog, (std::vector<std::string>{"init Base", "destructor Base", "exit Base"}));
}

TEST_F(ObjectTest, NewObjectRefusesNilClass) {
    EXPECT_RAISES(RuntimeNewObject(nullptr), NilObjectException);
}

// ---- weak references -------------------------------------------------------------------

TEST_F(ObjectTest, WeakRefSeesItsTargetUntilItDies) {
    Ref<Object> cat = RuntimeNewObject(CatLookup());
    Ref<Object> first = RuntimeNewWeakRef(cat.get());
    Ref<Object> second = RuntimeNewWeakRef(cat.get());
    EXPECT_EQ(cat->refcount, 1) << "weak references add no reference";
    EXPECT_EQ(WeakRef::Value(first.get()), cat);
    EXPECT_EQ(WeakRef::Value(second.get()), cat);
    const PropertyEntry* value = RuntimeFindProperty(WeakRef::dunder_Lookup(), "Value");
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->boxedGetter(first.get(), value).BorrowObject(), cat.get());

    cat.Reset();
    EXPECT_EQ(WeakRef::Value(first.get()), nullptr);
    EXPECT_EQ(WeakRef::Value(second.get()), nullptr);
    EXPECT_TRUE(value->boxedGetter(first.get(), value).IsNil());
}

TEST_F(ObjectTest, WeakRefMayDieBeforeItsTarget) {
    Ref<Object> cat = RuntimeNewObject(CatLookup());
    Ref<Object> weak = RuntimeNewWeakRef(cat.get());
    weak.Reset();
    ASSERT_NE(cat->weak, nullptr);
    EXPECT_EQ(cat->weak->holders, 1) << "only the object's own hold is left";
    EXPECT_EQ(WeakRef::Value(RuntimeNewWeakRef(nullptr).get()), nullptr);
}

// ---- arrays ----------------------------------------------------------------------------

TEST_F(ObjectTest, ArraysInsertGrowAndCheckBounds) {
    Ref<Object> array = CreateArray(1, -1);
    EXPECT_EQ(RuntimeArrayUbound(array.get()), -1);
    EXPECT_RAISES(RuntimeArrayGet(array.get(), 0), OutOfBoundsException);

    Ref<Object> a = RuntimeNewObject(CatLookup());
    Ref<Object> b = RuntimeNewObject(DogLookup());
    Ref<Object> c = RuntimeNewObject(AnimalLookup());
    RuntimeArrayInsert(array.get(), 0, a.get());  // a
    RuntimeArrayInsert(array.get(), 1, b.get());  // a b   (at Ubound + 1)
    RuntimeArrayInsert(array.get(), 0, c.get());  // c a b
    RuntimeArrayInsert(array.get(), 1, nullptr);  // c nil a b
    EXPECT_EQ(RuntimeArrayUbound(array.get()), 3);
    EXPECT_EQ(RuntimeArrayGet(array.get(), 0), c);
    EXPECT_EQ(RuntimeArrayGet(array.get(), 1), nullptr);
    EXPECT_EQ(RuntimeArrayGet(array.get(), 2), a);
    EXPECT_EQ(RuntimeArrayGet(array.get(), 3), b);
    EXPECT_EQ(a->refcount, 2) << "the array holds its elements";

    struct Bad {
        const char* label;
        int64_t index;
        bool insert;
    };
    const Bad bad[] = {
        {"get below zero", -1, false},
        {"get past Ubound", 4, false},
        {"insert below zero", -1, true},
        {"insert past Ubound + 1", 5, true},
    };
    for (const Bad& row : bad) {
        SCOPED_TRACE(row.label);
        if (row.insert) {
            EXPECT_RAISES(RuntimeArrayInsert(array.get(), row.index, a.get()),
                          OutOfBoundsException);
        } else {
            EXPECT_RAISES(RuntimeArrayGet(array.get(), row.index), OutOfBoundsException);
        }
    }
    EXPECT_EQ(RuntimeArrayUbound(array.get()), 3);
    array.Reset();
    EXPECT_EQ(a->refcount, 1) << "a dying array releases its elements";
}

TEST_F(ObjectTest, CreateArrayChecksItsArguments) {
    Ref<Object> three = CreateArray(1, 2);
    EXPECT_EQ(RuntimeArrayUbound(three.get()), 2);
    for (int64_t i = 0; i <= 2; ++i) EXPECT_EQ(RuntimeArrayGet(three.get(), i), nullptr);
    EXPECT_RAISES(CreateArray(2, 1), UnsupportedOperationException);
    EXPECT_RAISES(CreateArray(0, 1), UnsupportedOperationException);
    EXPECT_RAISES(CreateArray(1, -2), OutOfBoundsException);
    EXPECT_RAISES(RuntimeArrayUbound(nullptr), NilObjectException);
    Ref<Object> cat = RuntimeNewObject(CatLookup());
    EXPECT_RAISES(RuntimeArrayUbound(cat.get()), IllegalCastException);
}

// ---- boxing ----------------------------------------------------------------------------

TEST_F(ObjectTest, BoxingRoundTripsEveryVariantType) {
    Ref<Object> cat = RuntimeNewObject(CatLookup());
    int marker = 0;
    struct Row {
        const char* label;
        Variant value;
        const char* boxClass;  // nullptr: no box is made
    };
    const Row rows[] = {
        {"nil", Variant(), nullptr},
        {"true", Variant(true), "_VariantBoolean"},
        {"false", Variant(false), "_VariantBoolean"},
        {"integer", Variant(int64_t{-1234567890123}), "_VariantInt64"},
        {"largest integer", Variant(INT64_MAX), "_VariantInt64"},
        {"single", Variant(1.5f), "_VariantSingle"},
        {"double", Variant(-2.25e300), "_VariantDouble"},
        {"string", Variant("Corvane"), "_VariantString"},
        {"empty string", Variant(""), "_VariantString"},
        {"color", Variant(Color{10, 20, 30, 40}), "_VariantColor"},
        {"currency", Variant(Currency{-123456}), "_VariantCurrency"},
        {"ptr", Variant(static_cast<void*>(&marker)), "_VariantPtr"},
        {"object", Variant(cat), nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        Ref<Object> box = RuntimeBoxVariant(row.value);
        if (row.boxClass) {
            ASSERT_NE(box, nullptr);
            EXPECT_STREQ(box->cls->name, row.boxClass);
        } else if (row.value.IsNil()) {
            EXPECT_EQ(box, nullptr);
        } else {
            EXPECT_EQ(box.get(), row.value.BorrowObject()) << "an object is its own box";
        }
        EXPECT_TRUE(SameVariant(RuntimeUnboxVariant(box.get()), row.value));
    }
}

TEST_F(ObjectTest, UnboxingWidensEachIntegerBoxBySignedness) {
    RuntimeInitBoxingClasses();
    struct Row {
        const char* boxClass;
        int64_t expected;  // from a field whose bytes are all 0xFF
    };
    const Row rows[] = {
        {"_VariantInt8", -1},           {"_VariantInt16", -1},   {"_VariantInt32", -1},
        {"_VariantInt64", -1},          {"_VariantUInt8", 0xFF}, {"_VariantUInt16", 0xFFFF},
        {"_VariantUInt32", 0xFFFFFFFF}, {"_VariantUInt64", -1},
    };
    ASSERT_EQ(RuntimeBoxingClassNames().size(), 19u);
    for (const char* name : RuntimeBoxingClassNames())
        EXPECT_NE(RuntimeFindClass(name), nullptr) << name;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.boxClass);
        Ref<Object> box = RuntimeNewObject(RuntimeFindClass(row.boxClass));
        box->Field<uint64_t>(-8) = ~uint64_t{0};
        EXPECT_TRUE(SameVariant(RuntimeUnboxVariant(box.get()), Variant(row.expected)));
    }
}

TEST_F(ObjectTest, EveryTextBoxHoldsAndReleasesItsString) {
    RuntimeInitBoxingClasses();
    for (const char* name : {"_VariantString", "_VariantText", "_VariantCString", "_VariantPString",
                             "_VariantWString"}) {
        SCOPED_TRACE(name);
        String text("wörds");
        Ref<Object> box = RuntimeNewObject(RuntimeFindClass(name));
        box->Field<StringData*>(-8) = text.RetainRaw();
        EXPECT_TRUE(SameVariant(RuntimeUnboxVariant(box.get()), Variant(text)));
        box.Reset();
        EXPECT_EQ(text.RetainRaw()->refcount.fetch_sub(1), 2) << "the box released its text";
    }
}

}  // namespace
