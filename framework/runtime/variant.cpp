#include "variant.h"

#include <cmath>
#include <limits>
#include <string>

#include "invoker.h"

namespace {

const char* TypeName(VariantType type) {
    switch (type) {
        case VariantType::Nil: return "Nil";
        case VariantType::Boolean: return "Boolean";
        case VariantType::Integer: return "Integer";
        case VariantType::Single: return "Single";
        case VariantType::Double: return "Double";
        case VariantType::String: return "String";
        case VariantType::Object: return "Object";
        case VariantType::Color: return "Color";
        case VariantType::Currency: return "Currency";
        case VariantType::Ptr: return "Ptr";
    }
    return "?";
}

[[noreturn]] void Mismatch(VariantType have, const char* want) {
    RuntimeRaiseTypeMismatch(std::string("expected ") + want + ", got " + TypeName(have));
}

// A floating value as an integer, only when it is whole and fits.
int64_t WholeNumber(double value, VariantType type) {
    if (!std::isfinite(value) || value != std::trunc(value) || value < -9.2233720368547758e18 ||
        value >= 9.2233720368547758e18)
        Mismatch(type, "a whole number");
    return static_cast<int64_t>(value);
}

}  // namespace

Variant::Variant(Ref<Object> value)
    : type_(value ? VariantType::Object : VariantType::Nil), object_(std::move(value)) {}

bool Variant::AsBoolean() const {
    if (type_ != VariantType::Boolean) Mismatch(type_, "Boolean");
    return u_.boolean;
}

int64_t Variant::AsInteger() const {
    switch (type_) {
        case VariantType::Integer: return u_.integer;
        case VariantType::Double: return WholeNumber(u_.real, type_);
        case VariantType::Single: return WholeNumber(u_.single, type_);
        default: Mismatch(type_, "Integer");
    }
}

double Variant::AsDouble() const {
    switch (type_) {
        case VariantType::Double: return u_.real;
        case VariantType::Single: return u_.single;
        case VariantType::Integer: return static_cast<double>(u_.integer);
        case VariantType::Currency: return static_cast<double>(u_.currency.units) / 10000.0;
        default: Mismatch(type_, "Double");
    }
}

float Variant::AsSingle() const {
    switch (type_) {
        case VariantType::Single: return u_.single;
        case VariantType::Double: return static_cast<float>(u_.real);
        case VariantType::Integer: return static_cast<float>(u_.integer);
        default: Mismatch(type_, "Single");
    }
}

String Variant::AsString() const {
    if (type_ != VariantType::String) Mismatch(type_, "String");
    return text_;
}

Ref<Object> Variant::AsObject() const {
    if (type_ != VariantType::Object && type_ != VariantType::Nil) Mismatch(type_, "Object");
    return object_;
}

Object* Variant::BorrowObject() const {
    if (type_ != VariantType::Object && type_ != VariantType::Nil) Mismatch(type_, "Object");
    return object_.get();
}

Color Variant::AsColor() const {
    if (type_ != VariantType::Color) Mismatch(type_, "Color");
    return u_.color;
}

Currency Variant::AsCurrency() const {
    switch (type_) {
        case VariantType::Currency: return u_.currency;
        case VariantType::Integer:
            if (u_.integer > std::numeric_limits<int64_t>::max() / 10000 ||
                u_.integer < std::numeric_limits<int64_t>::min() / 10000)
                Mismatch(type_, "a Currency in range");
            return Currency{u_.integer * 10000};
        default: Mismatch(type_, "Currency");
    }
}

void* Variant::AsPtr() const {
    if (type_ == VariantType::Nil) return nullptr;
    if (type_ != VariantType::Ptr) Mismatch(type_, "Ptr");
    return u_.ptr;
}
