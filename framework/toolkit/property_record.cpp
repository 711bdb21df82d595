// Property records: decoding a record onto an object through its property entries, and
// encoding typed entries into a record.
#include "framework/toolkit/property_record.h"

#include <bit>
#include <string>

namespace {

// Widths of the encoded values.
constexpr size_t kBooleanWidth = 1;
constexpr size_t kIntegerWidth = 8;
constexpr size_t kByteWidth = 1;
constexpr size_t kSingleWidth = 4;
constexpr size_t kDoubleWidth = 8;
constexpr size_t kColorWidth = 4;
constexpr size_t kLengthWidth = 4;  // the length in front of a String's bytes
constexpr char kBlank = ' ';

[[noreturn]] void Malformed(std::string_view key, size_t offset, std::string_view why) {
    RuntimeRaiseNew(UnsupportedFormatException::dunder_Lookup(),
                    "property record: key \"" + std::string(key) + "\" at offset " +
                        std::to_string(offset) + ": " + std::string(why));
}

uint64_t ReadLittleEndian(std::string_view bytes, size_t at, size_t width) {
    uint64_t value = 0;
    for (size_t i = width; i-- > 0;) value = (value << 8) | static_cast<uint8_t>(bytes[at + i]);
    return value;
}

void WriteLittleEndian(std::string& out, uint64_t value, size_t width) {
    for (size_t i = 0; i < width; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// Reads one value of the record, checking first that it lies wholly inside the record.
class ValueReader {
  public:
    ValueReader(std::string_view record, std::string_view key, size_t entryOffset)
        : record_(record), key_(key), entryOffset_(entryOffset) {}

    // The next `width` bytes, advancing past them.
    size_t Take(size_t& offset, size_t width) const {
        if (width > record_.size() - offset)
            Malformed(key_, entryOffset_,
                      "the value needs " + std::to_string(width) + " bytes at offset " +
                          std::to_string(offset) + " but the record ends at " +
                          std::to_string(record_.size()));
        size_t at = offset;
        offset += width;
        return at;
    }

    Variant Read(const TypeCode& type, size_t& offset) const {
        switch (type.kind) {
            case TypeKind::Boolean: {
                uint8_t byte = static_cast<uint8_t>(record_[Take(offset, kBooleanWidth)]);
                if (byte > 1) Malformed(key_, entryOffset_, "a Boolean byte must be 0 or 1");
                return Variant(byte == 1);
            }
            case TypeKind::SignedInt:
                if (type.size != kIntegerWidth) break;
                return Variant(static_cast<int64_t>(
                    ReadLittleEndian(record_, Take(offset, kIntegerWidth), kIntegerWidth)));
            case TypeKind::UnsignedInt:
                if (type.size != kByteWidth) break;
                return Variant(static_cast<int64_t>(
                    ReadLittleEndian(record_, Take(offset, kByteWidth), kByteWidth)));
            case TypeKind::Single:
                return Variant(std::bit_cast<float>(static_cast<uint32_t>(
                    ReadLittleEndian(record_, Take(offset, kSingleWidth), kSingleWidth))));
            case TypeKind::Double:
                return Variant(std::bit_cast<double>(
                    ReadLittleEndian(record_, Take(offset, kDoubleWidth), kDoubleWidth)));
            case TypeKind::Color: {
                size_t at = Take(offset, kColorWidth);
                auto byte = [&](size_t i) { return static_cast<uint8_t>(record_[at + i]); };
                return Variant(Color{byte(0), byte(1), byte(2), byte(3)});
            }
            case TypeKind::String: {
                size_t length = ReadLittleEndian(record_, Take(offset, kLengthWidth), kLengthWidth);
                size_t at = Take(offset, length);
                return Variant(String(record_.substr(at, length)));
            }
            default:
                break;
        }
        Malformed(key_, entryOffset_,
                  "a property of type \"" + type.Text() + "\" cannot be held in a record");
    }

  private:
    std::string_view record_;
    std::string_view key_;
    size_t entryOffset_;
};

void EncodeValue(std::string& out, const RecordValue& value) {
    switch (value.kind) {
        case RecordValue::Kind::Boolean:
            out.push_back(value.integer ? 1 : 0);
            break;
        case RecordValue::Kind::Integer:
            WriteLittleEndian(out, static_cast<uint64_t>(value.integer), kIntegerWidth);
            break;
        case RecordValue::Kind::Byte:
            WriteLittleEndian(out, static_cast<uint64_t>(value.integer), kByteWidth);
            break;
        case RecordValue::Kind::Single:
            WriteLittleEndian(out, std::bit_cast<uint32_t>(static_cast<float>(value.real)),
                              kSingleWidth);
            break;
        case RecordValue::Kind::Double:
            WriteLittleEndian(out, std::bit_cast<uint64_t>(value.real), kDoubleWidth);
            break;
        case RecordValue::Kind::Color:
            for (uint8_t byte :
                 {value.color.red, value.color.green, value.color.blue, value.color.alpha})
                out.push_back(static_cast<char>(byte));
            break;
        case RecordValue::Kind::String:
            if (value.text.size() > UINT32_MAX)
                RaiseUnsupported("a record String longer than 4 GiB");
            WriteLittleEndian(out, value.text.size(), kLengthWidth);
            out.append(value.text);
            break;
    }
}

}  // namespace

void RuntimeMassPropertySetter(Object* object, String record) {
    under_UITrap();  // before the first entry, so that off the main thread nothing is set
    RuntimeRequire(object);
    std::string_view bytes = record.View();
    size_t offset = 0;
    while (offset < bytes.size()) {
        size_t entryOffset = offset;
        size_t blank = bytes.find(kBlank, offset);
        if (blank == std::string_view::npos)
            Malformed(bytes.substr(offset), entryOffset, "no blank ends the key");
        std::string_view key = bytes.substr(offset, blank - offset);
        if (key.empty()) Malformed(key, entryOffset, "the key is empty");
        const PropertyEntry* property = RuntimeFindProperty(object->cls, key);
        if (!property)
            Malformed(key, entryOffset,
                      std::string("names no property of class ") + object->cls->name);
        offset = blank + 1;
        Variant value =
            ValueReader(bytes, key, entryOffset).Read(ParseTypeCode(property->typeText), offset);
        if (!property->boxedSetter) Malformed(key, entryOffset, "the property cannot be set");
        property->boxedSetter(object, property, value);
    }
}

void under_SetProperties(Object* object, String record) {
    RuntimeMassPropertySetter(object, std::move(record));
}

String EncodePropertyRecord(std::span<const RecordEntry> entries) {
    std::string out;
    for (const RecordEntry& entry : entries) {
        if (entry.key.empty() || entry.key.find(kBlank) != std::string_view::npos)
            Malformed(entry.key, out.size(), "a key must be a non-empty name without blanks");
        out.append(entry.key);
        out.push_back(kBlank);
        EncodeValue(out, entry.value);
    }
    return String(out);
}
