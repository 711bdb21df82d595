// Property records: the design properties of a window or a control, as one constant String.
//
// A record is a run of entries with no header, count or terminator. Each entry is the key
// (ASCII letters), one blank (0x20), then the value encoded by the declared type of the
// property the key names in the object's class chain (the record carries no type tags):
//
//   "b"       Boolean     1 byte, 0x00 or 0x01
//   "i8"      Integer     8 bytes, signed, little-endian (also enumerations held as Integer)
//   "u1<…>"   enumeration 1 byte
//   "f4"      Single      4 bytes, IEEE 754 binary32, little-endian
//   "f8"      Double      8 bytes, IEEE 754 binary64, little-endian
//   "c"       Color       4 bytes as they stand: red, green, blue, alpha (0 = opaque)
//   "s"       String      4-byte little-endian length n, then n bytes of UTF-8
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "framework/runtime/runtime.h"

// _SetProperties: applies `record` to `object` entry by entry in record order, each through
// the property's own setter; key names compare without regard to case, nearest class first.
// A key that names no property, a value that runs past the end or a record that ends inside
// an entry raises UnsupportedFormatException naming the key and the offset; nothing is read
// past the record. An exception from a setter passes out unchanged. Off the main thread it
// raises ThreadAccessingUIException and sets nothing.
void RuntimeMassPropertySetter(Object* object, String record);
void under_SetProperties(Object* object, String record);

// ---- writing records as readable typed tables ------------------------------------------

struct RecordValue {
    enum class Kind : uint8_t { Boolean, Integer, Byte, Single, Double, Color, String };
    Kind kind;
    int64_t integer = 0;  // Boolean, Integer, Byte
    double real = 0;      // Single, Double
    Color color{};
    std::string_view text{};
};

constexpr RecordValue Bool(bool value) { return {RecordValue::Kind::Boolean, value ? 1 : 0}; }
constexpr RecordValue Int(int64_t value) { return {RecordValue::Kind::Integer, value}; }
constexpr RecordValue Byte(uint8_t value) { return {RecordValue::Kind::Byte, value}; }
constexpr RecordValue Sgl(float value) { return {RecordValue::Kind::Single, 0, value}; }
constexpr RecordValue Dbl(double value) { return {RecordValue::Kind::Double, 0, value}; }
constexpr RecordValue Rgba(uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha) {
    return {RecordValue::Kind::Color, 0, 0, Color{red, green, blue, alpha}};
}
constexpr RecordValue Str(std::string_view text) {
    return {RecordValue::Kind::String, 0, 0, Color{}, text};
}

struct RecordEntry {
    std::string_view key;
    RecordValue value;
};

// Encodes the entries, in order, into a record String.
String EncodePropertyRecord(std::span<const RecordEntry> entries);
