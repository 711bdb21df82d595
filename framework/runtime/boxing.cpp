#include "boxing.h"

#include <cstring>
#include <string_view>

#include "class_builder.h"
#include "exceptions.h"

namespace {

constexpr int32_t kValueOffset = -8;

// How a boxing class holds its value in its one field.
enum class Holds { Boolean, Color, Currency, Double, Single, Signed, Unsigned, Ptr, Text };

struct BoxingClass {
    const char* name;
    Holds holds;
    ClassCell cell;
};

void TextExit(Object* self) {
    String::AdoptRaw(std::exchange(self->Field<StringData*>(kValueOffset), nullptr));
}

template <size_t I>
void BuildBoxingClass();

// The nineteen boxing classes. The cell's initialiser is filled in below.
BoxingClass gBoxing[] = {
    {"_VariantBoolean", Holds::Boolean, {}},   {"_VariantColor", Holds::Color, {}},
    {"_VariantCurrency", Holds::Currency, {}}, {"_VariantDouble", Holds::Double, {}},
    {"_VariantSingle", Holds::Single, {}},     {"_VariantInt8", Holds::Signed, {}},
    {"_VariantInt16", Holds::Signed, {}},      {"_VariantInt32", Holds::Signed, {}},
    {"_VariantInt64", Holds::Signed, {}},      {"_VariantUInt8", Holds::Unsigned, {}},
    {"_VariantUInt16", Holds::Unsigned, {}},   {"_VariantUInt32", Holds::Unsigned, {}},
    {"_VariantUInt64", Holds::Unsigned, {}},   {"_VariantPtr", Holds::Ptr, {}},
    {"_VariantString", Holds::Text, {}},       {"_VariantText", Holds::Text, {}},
    {"_VariantCString", Holds::Text, {}},      {"_VariantPString", Holds::Text, {}},
    {"_VariantWString", Holds::Text, {}},
};
constexpr size_t kBoxingCount = sizeof(gBoxing) / sizeof(gBoxing[0]);
static_assert(kBoxingCount == 19);

template <size_t I>
void BuildBoxingClass() {
    static const ClassSpec spec =
        OneFieldClassSpec(gBoxing[I].name, nullptr, gBoxing[I].holds == Holds::Text ? &TextExit : nullptr);
    RuntimeBuildClass(gBoxing[I].cell, spec);
}

template <size_t... I>
void WireInitialisers(std::index_sequence<I...>) {
    ((gBoxing[I].cell.init = &BuildBoxingClass<I>), ...);
}

ClassRecord* BoxingRecord(std::string_view name) {
    WireInitialisers(std::make_index_sequence<kBoxingCount>{});
    for (BoxingClass& box : gBoxing)
        if (name == box.name) return RuntimeLookupClass(box.cell);
    return nullptr;
}

template <class T>
Ref<Object> Box(std::string_view className, T value) {
    Ref<Object> box = RuntimeNewObject(BoxingRecord(className));
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

}  // namespace

void RuntimeInitBoxingClasses() {
    for (BoxingClass& box : gBoxing) BoxingRecord(box.name);
}

std::span<const char* const> RuntimeBoxingClassNames() {
    static const char* const names[] = {
        "_VariantBoolean", "_VariantColor",  "_VariantCurrency", "_VariantDouble", "_VariantSingle",
        "_VariantInt8",    "_VariantInt16",  "_VariantInt32",    "_VariantInt64",  "_VariantUInt8",
        "_VariantUInt16",  "_VariantUInt32", "_VariantUInt64",   "_VariantPtr",    "_VariantString",
        "_VariantText",    "_VariantCString", "_VariantPString", "_VariantWString"};
    return names;
}

Ref<Object> RuntimeBoxVariant(const Variant& value) {
    switch (value.Type()) {
        case VariantType::Nil: return nullptr;
        case VariantType::Object: return value.AsObject();
        case VariantType::Boolean: return Box("_VariantBoolean", value.AsBoolean());
        case VariantType::Integer: return Box("_VariantInt64", value.AsInteger());
        case VariantType::Single: return Box("_VariantSingle", value.AsSingle());
        case VariantType::Double: return Box("_VariantDouble", value.AsDouble());
        case VariantType::Color: return Box("_VariantColor", value.AsColor());
        case VariantType::Currency: return Box("_VariantCurrency", value.AsCurrency());
        case VariantType::Ptr: return Box("_VariantPtr", value.AsPtr());
        case VariantType::String: {
            Ref<Object> box = RuntimeNewObject(BoxingRecord("_VariantString"));
            box->Field<StringData*>(kValueOffset) = value.AsString().RetainRaw();
            return box;
        }
    }
    return nullptr;
}

Variant RuntimeUnboxVariant(Object* object) {
    if (!object) return Variant();
    for (BoxingClass& box : gBoxing) {
        if (box.cell.record != object->cls) continue;
        std::string_view name = box.name;
        switch (box.holds) {
            case Holds::Boolean: return Variant(Unbox<bool>(object));
            case Holds::Color: return Variant(Unbox<Color>(object));
            case Holds::Currency: return Variant(Unbox<Currency>(object));
            case Holds::Double: return Variant(Unbox<double>(object));
            case Holds::Single: return Variant(Unbox<float>(object));
            case Holds::Ptr: return Variant(Unbox<void*>(object));
            case Holds::Text: return Variant(String::CopyRaw(object->Field<StringData*>(kValueOffset)));
            case Holds::Signed:
                if (name == "_VariantInt8") return Variant(int64_t{Unbox<int8_t>(object)});
                if (name == "_VariantInt16") return Variant(int64_t{Unbox<int16_t>(object)});
                if (name == "_VariantInt32") return Variant(int64_t{Unbox<int32_t>(object)});
                return Variant(Unbox<int64_t>(object));
            case Holds::Unsigned:
                if (name == "_VariantUInt8") return Variant(int64_t{Unbox<uint8_t>(object)});
                if (name == "_VariantUInt16") return Variant(int64_t{Unbox<uint16_t>(object)});
                if (name == "_VariantUInt32") return Variant(int64_t{Unbox<uint32_t>(object)});
                return Variant(static_cast<int64_t>(Unbox<uint64_t>(object)));
        }
    }
    return Variant(Ref<Object>::Retain(object));
}
