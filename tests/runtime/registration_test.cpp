// Registration refuses a property that would write outside its own field or through an
// accessor of another type, whether its flags call it stored or computed, and a computed
// property that names a field offset; and an object argument is checked against its class
// even when that class was registered after the signature that names it.
#include <gtest/gtest.h>

#include <vector>

#include "tests/runtime/test_support.h"

namespace {

double ReadsDouble(Object*, int32_t) {
    return 0;
}
Variant OwnBoxedGetter(Object*, const PropertyEntry*) {
    return Variant();
}

// `row` with other flags or at another offset.
PropertyRow Flagged(PropertyRow row, uint32_t flags) {
    row.flags = flags;
    return row;
}
PropertyRow At(PropertyRow row, int32_t offset) {
    row.fieldOffset = offset;
    return row;
}

ClassRecord* BaseLookup() {
    static const PropertyRow properties[] = {
        StoredProperty<double>("Weight", kStoredWritable, "f8", -8)};
    static ClassCell cell{};
    ClassSpec spec = Declared("Reg.Base", nullptr, 0, 0, 1, 8, 0);
    spec.properties = properties;
    return RuntimeBuildClass(cell, spec);
}

struct RefusedRow {
    const char* className;
    const char* entry;  // the property the message must name
    std::vector<PropertyRow> rows;
    uint32_t dataSize;
    bool subclass;  // of Reg.Base, whose Double field lies at -8
};

// clang-format off
const RefusedRow kRefused[] = {
    {"Reg.IntoTheHeader", "Value", {StoredProperty<double>("Value", kStoredWritable, "f8", -4)},  8,  false},
    {"Reg.Misaligned",    "Value", {StoredProperty<double>("Value", kStoredWritable, "f8", -12)}, 16, false},
    {"Reg.OverTheSuper",  "Value", {StoredProperty<int64_t>("Value", kStoredWritable, "i8", -8)}, 16, true},
    {"Reg.Overlapping",   "Flag",  {StoredProperty<int64_t>("Count", kStoredWritable, "i8", -16),
                                    StoredProperty<bool>("Flag", kStoredWritable, "b", -9)},       16, false},
    {"Reg.TypeText",      "Value", {StoredProperty<double>("Value", kStoredWritable, "i8", -8)},  8,  false},
    {"Reg.NarrowerText",  "Value", {ComputedProperty<double>("Value", kComputedReadOnly, "f4", &ReadsDouble, nullptr)}, 0, false},
    {"Reg.UnstatedType",  "Value", {{"Value", kComputedReadOnly, "f8", 0, AsGenericFn(&ReadsDouble), nullptr, &OwnBoxedGetter, nullptr}}, 0, false},
    // Marked computed, yet given the field accessors: they read and write at the offset all the same.
    {"Reg.ComputedIntoTheHeader", "Value", {Flagged(StoredProperty<int64_t>("Value", kStoredWritable, "i8", -4), kComputedWritable)},  8,  false},
    {"Reg.FieldSetterOnly",       "Value", {Flagged(StoredProperty<double>("Value", kStoredWritable, "f8", 0, &ReadsDouble, &props::Double::Set), kComputedWritable)}, 8, false},
    {"Reg.FieldGetterOnly",       "Value", {Flagged(ReadOnlyStoredProperty<double>("Value", kStoredWritable, "f8", 0), kComputedReadOnly)}, 8, false},
    // Computed through its own functions, which touch no field: no offset either.
    {"Reg.ComputedWithOffset",    "Value", {At(ComputedProperty<double>("Value", kComputedReadOnly, "f8", &ReadsDouble, nullptr), -8)}, 8, false},
};
// clang-format on

TEST(Registration, RefusesFieldsOutsideTheirPlaceAndAccessorsOfAnotherType) {
    static ClassCell cells[std::size(kRefused)];
    for (size_t i = 0; i < std::size(kRefused); ++i) {
        const RefusedRow& bad = kRefused[i];
        SCOPED_TRACE(bad.className);
        const uint32_t inherited = bad.subclass ? BaseLookup()->propertyCount : 0;
        const auto own = static_cast<uint32_t>(bad.rows.size());
        ClassSpec spec = Declared(bad.className, bad.subclass ? &BaseLookup : nullptr, 0, 0,
                                  inherited + own, bad.dataSize, 0);
        spec.properties = bad.rows;
        EXPECT_RAISES(RuntimeBuildClass(cells[i], spec), UnsupportedFormatException);
        const std::string message = RaisedMessage([&] { RuntimeBuildClass(cells[i], spec); });
        EXPECT_NE(message.find(std::string(bad.className) + ": " + bad.entry), std::string::npos)
            << message;
    }
}

// ---- the cast test of an object argument -------------------------------------------------

void TakesObject(Object*) {}

void LaterInit();
ClassCell gLater{nullptr, &LaterInit};
void LaterInit() {
    RuntimeBuildClass(gLater, Declared("Reg.Later", nullptr, 0, 0, 0, 0, 0));
}

class CastTest : public RuntimeTest {};

TEST_F(CastTest, AnArgumentPassesOnlyWhenItsClassIsShownToBeTheOneNamed) {
    const Invoker* one = SharedInvoker<void (*)(Object*)>("%%o<Reg.Later>");
    const Invoker* many = SharedInvoker<void (*)(Object*)>("%%A1o<Reg.Later>");
    auto call = [](const Invoker* invoker, Variant argument) {
        VariantList arguments{std::move(argument)};
        return RaisedClassName([&] {
            invoker->Invoke(reinterpret_cast<GenericFn>(&TakesObject), nullptr, &arguments);
        });
    };
    Ref<Object> base = RuntimeNewObject(BaseLookup());
    EXPECT_EQ(call(one, base), "IllegalCastException") << "no class of the name exists yet";
    EXPECT_EQ(call(one, Variant()), "nothing") << "nil passes";

    Ref<Object> later = RuntimeNewObject(RuntimeLookupClass(gLater));
    Ref<Object> laterOnly = CreateArray(1, -1), mixed = CreateArray(1, -1);
    RuntimeArrayInsert(laterOnly.get(), 0, later.get());
    RuntimeArrayInsert(mixed.get(), 0, later.get());
    RuntimeArrayInsert(mixed.get(), 1, base.get());
    EXPECT_EQ(call(one, later), "nothing");
    EXPECT_EQ(call(one, base), "IllegalCastException");
    EXPECT_EQ(call(many, laterOnly), "nothing");
    EXPECT_EQ(call(many, mixed), "IllegalCastException") << "every element is checked";
}

}  // namespace
