#include "boxing.h"

#include <array>
#include <cstring>
#include <string_view>
#include <utility>

#include "class_builder.h"
#include "exceptions.h"

namespace {

constexpr int32_t kValueOffset = -8;

// clang-format off
// What a boxing class holds in its one field; integers of every width come out as Integer.
enum class Holds {
    Boolean, Color, Currency, Double, Single,
    Int8, Int16, Int32, Int64, UInt8, UInt16, UInt32, UInt64,
    Ptr, Text,
};
// clang-format on

struct BoxingClass {
    const char* name;
    Holds holds;
};

// clang-format off
// The nineteen boxing classes: their names, in the documented order, and what each holds.
constexpr BoxingClass kBoxingClasses[] = {
    {"_VariantBoolean", Holds::Boolean}, {"_VariantColor", Holds::Color},
    {"_VariantCurrency", Holds::Currency}, {"_VariantDouble", Holds::Double},
    {"_VariantSingle", Holds::Single},
    {"_VariantInt8", Holds::Int8},       {"_VariantInt16", Holds::Int16},
    {"_VariantInt32", Holds::Int32},     {"_VariantInt64", Holds::Int64},
    {"_VariantUInt8", Holds::UInt8},     {"_VariantUInt16", Holds::UInt16},
    {"_VariantUInt32", Holds::UInt32},   {"_VariantUInt64", Holds::UInt64},
    {"_VariantPtr", Holds::Ptr},
    {"_VariantString", Holds::Text},     {"_VariantText", Holds::Text},
    {"_VariantCString", Holds::Text},    {"_VariantPString", Holds::Text},
    {"_VariantWString", Holds::Text},
};
// clang-format on
constexpr size_t kBoxingCount = std::size(kBoxingClasses);
static_assert(kBoxingCount == 19);

// The index of the boxing class named `name`; a name not in the table does not compile.
consteval size_t BoxingIndex(std::string_view name) {
    for (size_t i = 0; i < kBoxingCount; ++i)
        if (kBoxingClasses[i].name == name) return i;
    throw "no boxing class of that name";
}

void TextExit(Object* self) {
    String::AdoptRaw(std::exchange(self->Field<StringData*>(kValueOffset), nullptr));
}

template <size_t I>
void BuildBoxingClass();

// One class cell per boxing class, each wired to its own initialiser when the program loads.
template <size_t... I>
constexpr std::array<ClassCell, kBoxingCount> BoxingCells(std::index_sequence<I...>) {
    return {ClassCell{nullptr, &BuildBoxingClass<I>}...};
}
std::array<ClassCell, kBoxingCount> gBoxingCells =
    BoxingCells(std::make_index_sequence<kBoxingCount>{});

template <size_t I>
void BuildBoxingClass() {
    const BoxingClass& box = kBoxingClasses[I];
    static const ClassSpec spec =
        OneFieldClassSpec(box.name, nullptr, box.holds == Holds::Text ? &TextExit : nullptr);
    RuntimeBuildClass(gBoxingCells[I], spec);
}

// A new object of the boxing class at `index` with `value` in its field.
template <class T>
Ref<Object> Box(size_t index, T value) {
    Ref<Object> box = RuntimeNewObject(RuntimeLookupClass(gBoxingCells[index]));
    static_assert(sizeof(T) <= 8);
    std::memcpy(&box->Field<uint64_t>(kValueOffset), &value, sizeof(T));
    return box;
}

template <class T>
T Unbox(Object* box) {
    T value;
    std::memcpy(static_cast<void*>(&value), &box->Field<uint64_t>(kValueOffset), sizeof(T));
    return value;
}

template <class T>
Variant UnboxInteger(Object* box) {
    return Variant(static_cast<int64_t>(Unbox<T>(box)));
}

// clang-format off
Variant UnboxAs(Holds holds, Object* box) {
    switch (holds) {
        case Holds::Boolean: return Variant(Unbox<bool>(box));
        case Holds::Color: return Variant(Unbox<Color>(box));
        case Holds::Currency: return Variant(Unbox<Currency>(box));
        case Holds::Double: return Variant(Unbox<double>(box));
        case Holds::Single: return Variant(Unbox<float>(box));
        case Holds::Int8: return UnboxInteger<int8_t>(box);
        case Holds::Int16: return UnboxInteger<int16_t>(box);
        case Holds::Int32: return UnboxInteger<int32_t>(box);
        case Holds::Int64: return UnboxInteger<int64_t>(box);
        case Holds::UInt8: return UnboxInteger<uint8_t>(box);
        case Holds::UInt16: return UnboxInteger<uint16_t>(box);
        case Holds::UInt32: return UnboxInteger<uint32_t>(box);
        case Holds::UInt64: return UnboxInteger<uint64_t>(box);
        case Holds::Ptr: return Variant(Unbox<void*>(box));
        case Holds::Text: return Variant(String::CopyRaw(box->Field<StringData*>(kValueOffset)));
    }
    return Variant();
}
// clang-format on

}  // namespace

void RuntimeInitBoxingClasses() {
    for (ClassCell& cell : gBoxingCells) RuntimeLookupClass(cell);
}

std::span<const char* const> RuntimeBoxingClassNames() {
    static const std::array<const char*, kBoxingCount> names = [] {
        std::array<const char*, kBoxingCount> out{};
        for (size_t i = 0; i < kBoxingCount; ++i) out[i] = kBoxingClasses[i].name;
        return out;
    }();
    return names;
}

Ref<Object> RuntimeBoxVariant(const Variant& value) {
    switch (value.Type()) {
        case VariantType::Nil: return nullptr;
        case VariantType::Object: return value.AsObject();
        case VariantType::Boolean:
            return Box(BoxingIndex("_VariantBoolean"), value.AsBoolean());
        case VariantType::Integer:
            return Box(BoxingIndex("_VariantInt64"), value.AsInteger());
        case VariantType::Single:
            return Box(BoxingIndex("_VariantSingle"), value.AsSingle());
        case VariantType::Double:
            return Box(BoxingIndex("_VariantDouble"), value.AsDouble());
        case VariantType::Color:
            return Box(BoxingIndex("_VariantColor"), value.AsColor());
        case VariantType::Currency:
            return Box(BoxingIndex("_VariantCurrency"), value.AsCurrency());
        case VariantType::Ptr:
            return Box(BoxingIndex("_VariantPtr"), value.AsPtr());
        case VariantType::String: {
            Ref<Object> box = Box<StringData*>(BoxingIndex("_VariantString"), nullptr);
            box->Field<StringData*>(kValueOffset) = value.AsString().RetainRaw();
            return box;
        }
    }
    return nullptr;
}

Variant RuntimeUnboxVariant(Object* object) {
    if (!object) return Variant();
    for (size_t i = 0; i < kBoxingCount; ++i)
        if (gBoxingCells[i].record == object->cls) return UnboxAs(kBoxingClasses[i].holds, object);
    return Variant(Ref<Object>::Retain(object));
}
