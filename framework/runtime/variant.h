// Variant: a value of any framework type, as the generic invokers and boxed property
// accessors pass it. Colours and currency have value types of their own.
#pragma once

#include <cstdint>

#include "ref.h"
#include "string_data.h"

// A colour as four bytes, in the order a design record stores them: red, green, blue and
// alpha, where alpha 0 is fully opaque.
struct Color {
    uint8_t red = 0, green = 0, blue = 0, alpha = 0;
    friend bool operator==(const Color&, const Color&) = default;
};

// Currency: a fixed-point amount in ten-thousandths.
struct Currency {
    int64_t units = 0;
    friend bool operator==(const Currency&, const Currency&) = default;
};

enum class VariantType : uint8_t {
    Nil,
    Boolean,
    Integer,  // any signed or unsigned integer, held as 64 bits
    Single,
    Double,
    String,
    Object,
    Color,
    Currency,
    Ptr,
};

class Variant {
public:
    Variant() = default;
    Variant(bool value) : type_(VariantType::Boolean) { u_.boolean = value; }
    Variant(int64_t value) : type_(VariantType::Integer) { u_.integer = value; }
    Variant(int value) : Variant(static_cast<int64_t>(value)) {}
    Variant(float value) : type_(VariantType::Single) { u_.single = value; }
    Variant(double value) : type_(VariantType::Double) { u_.real = value; }
    Variant(String value) : type_(VariantType::String), text_(std::move(value)) {}
    Variant(const char* value) : Variant(String(value)) {}
    Variant(Ref<Object> value);
    Variant(Color value) : type_(VariantType::Color) { u_.color = value; }
    Variant(Currency value) : type_(VariantType::Currency) { u_.currency = value; }
    Variant(void* value) : type_(VariantType::Ptr) { u_.ptr = value; }

    VariantType Type() const { return type_; }
    bool IsNil() const { return type_ == VariantType::Nil; }

    // Exact readers: each raises TypeMismatchException when the variant holds another type
    // (numbers convert among themselves where no information is lost).
    bool AsBoolean() const;
    int64_t AsInteger() const;
    double AsDouble() const;
    float AsSingle() const;
    String AsString() const;
    Ref<Object> AsObject() const;  // nil for a Nil variant
    Object* BorrowObject() const;  // the same, borrowed from the variant
    Color AsColor() const;
    Currency AsCurrency() const;
    void* AsPtr() const;

private:
    VariantType type_ = VariantType::Nil;
    union {
        bool boolean;
        int64_t integer;
        float single;
        double real;
        Color color;
        Currency currency;
        void* ptr;
    } u_{};
    String text_;
    Ref<Object> object_;
};
