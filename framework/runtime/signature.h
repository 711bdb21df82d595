// Signature texts: the type-code alphabet, defined once.
//
//   "i1" "i2" "i4" "i8"   signed integer of 1, 2, 4, 8 bytes (Integer is "i8")
//   "u1" "u2" "u4" "u8"   unsigned integer of 1, 2, 4, 8 bytes
//   "f4" "f8"             Single, Double
//   "s"                   String
//   "y"                   Text
//   "b"                   Boolean
//   "p"                   Ptr
//   "v"                   Variant
//   "c"                   Color
//   "e"                   Currency
//   "o<Name>"             object of the class with that qualified name
//   "A1" code             one-dimensional array of that type
//   "i8<Enum.Name>"       enumeration, after its base integer code
//   "?<Name>"             external type
//
// A method's signature is "%" result "%" parameters: the result's code (empty for none),
// then each parameter's code with no separator. The object a method is called on is not
// part of the text.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

enum class TypeKind : uint8_t {
    SignedInt,
    UnsignedInt,
    Single,
    Double,
    String,
    Text,
    Boolean,
    Ptr,
    Variant,
    Color,
    Currency,
    Object,
    Array,
    External,
};

struct TypeCode {
    TypeKind kind = TypeKind::Ptr;
    uint8_t size = 0;       // bytes, for integers
    std::string name;       // class, enumeration or external type name; "" otherwise
    std::shared_ptr<const TypeCode> element;  // arrays: the element type

    bool IsEnumeration() const {
        return (kind == TypeKind::SignedInt || kind == TypeKind::UnsignedInt) && !name.empty();
    }
    std::string Text() const;  // the code as written
    // Bytes an instance field of this type takes, and the alignment it needs: its own size,
    // up to that of a pointer. Texts, objects and arrays are held as one pointer.
    size_t FieldSize() const;
    size_t FieldAlignment() const;
};

struct Signature {
    bool hasResult = false;
    TypeCode result;
    std::vector<TypeCode> params;
};

// Parses one type code that must fill `text` entirely; raises UnsupportedFormatException
// naming the text and the offset where it is malformed.
TypeCode ParseTypeCode(std::string_view text);
// Parses a whole "%result%params" signature text; raises UnsupportedFormatException.
Signature ParseSignature(std::string_view text);
