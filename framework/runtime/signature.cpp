#include "signature.h"

#include <algorithm>
#include <string>

#include "exceptions.h"
#include "variant.h"

namespace {

// Arrays of arrays are parsed by recursion; a bound keeps a text of endless "A1A1…" from
// exhausting the stack (and the recursive destruction of the nested codes with it).
constexpr int kMaxArrayNesting = 32;

[[noreturn]] void Malformed(std::string_view text, size_t offset, std::string_view why) {
    RuntimeRaiseNew(UnsupportedFormatException::dunder_Lookup(),
                    "malformed type code in \"" + std::string(text) + "\" at offset " +
                        std::to_string(offset) + ": " + std::string(why));
}

class Parser {
public:
    explicit Parser(std::string_view text) : text_(text) {}

    bool AtEnd() const { return pos_ >= text_.size(); }
    char Peek() const { return AtEnd() ? '\0' : text_[pos_]; }
    size_t Position() const { return pos_; }

    void Expect(char c) {
        if (Peek() != c) Malformed(text_, pos_, std::string("expected '") + c + "'");
        ++pos_;
    }

    // "<Name>": a non-empty name without angle brackets or percent signs.
    std::string BracketedName() {
        Expect('<');
        size_t start = pos_;
        while (!AtEnd() && Peek() != '>') {
            if (Peek() == '<' || Peek() == '%') Malformed(text_, pos_, "bad character in a name");
            ++pos_;
        }
        if (pos_ == start) Malformed(text_, pos_, "empty name");
        std::string name(text_.substr(start, pos_ - start));
        Expect('>');
        return name;
    }

    TypeCode Code() {
        if (AtEnd()) Malformed(text_, pos_, "a type code was expected");
        size_t start = pos_;
        TypeCode code;
        char c = text_[pos_++];
        switch (c) {
            case 'i':
            case 'u': {
                code.kind = c == 'i' ? TypeKind::SignedInt : TypeKind::UnsignedInt;
                char size = Peek();
                if (size != '1' && size != '2' && size != '4' && size != '8')
                    Malformed(text_, pos_, "integer size must be 1, 2, 4 or 8");
                ++pos_;
                code.size = static_cast<uint8_t>(size - '0');
                if (Peek() == '<') code.name = BracketedName();  // an enumeration
                break;
            }
            case 'f': {
                char size = Peek();
                if (size != '4' && size != '8') Malformed(text_, pos_, "float size must be 4 or 8");
                ++pos_;
                code.kind = size == '4' ? TypeKind::Single : TypeKind::Double;
                code.size = static_cast<uint8_t>(size - '0');
                break;
            }
            case 's': code.kind = TypeKind::String; break;
            case 'y': code.kind = TypeKind::Text; break;
            case 'b': code.kind = TypeKind::Boolean; break;
            case 'p': code.kind = TypeKind::Ptr; break;
            case 'v': code.kind = TypeKind::Variant; break;
            case 'c': code.kind = TypeKind::Color; break;
            case 'e': code.kind = TypeKind::Currency; break;
            case 'o':
                code.kind = TypeKind::Object;
                code.name = BracketedName();
                break;
            case '?':
                code.kind = TypeKind::External;
                code.name = BracketedName();
                break;
            case 'A': {
                if (Peek() != '1') Malformed(text_, pos_, "only one-dimensional arrays exist");
                ++pos_;
                if (arrayNesting_ == kMaxArrayNesting)
                    Malformed(text_, start, "arrays nested too deeply");
                code.kind = TypeKind::Array;
                ++arrayNesting_;
                code.element = std::make_shared<const TypeCode>(Code());
                --arrayNesting_;
                break;
            }
            default: Malformed(text_, start, std::string("unknown type code '") + c + "'");
        }
        return code;
    }

private:
    std::string_view text_;
    size_t pos_ = 0;
    int arrayNesting_ = 0;  // arrays open around the code being parsed
};

}  // namespace

std::string TypeCode::Text() const {
    auto bracket = [&](char letter) {
        std::string text(1, letter);
        text.push_back(static_cast<char>('0' + size));
        if (!name.empty()) text.append("<").append(name).append(">");
        return text;
    };
    switch (kind) {
        case TypeKind::SignedInt: return bracket('i');
        case TypeKind::UnsignedInt: return bracket('u');
        case TypeKind::Single: return "f4";
        case TypeKind::Double: return "f8";
        case TypeKind::String: return "s";
        case TypeKind::Text: return "y";
        case TypeKind::Boolean: return "b";
        case TypeKind::Ptr: return "p";
        case TypeKind::Variant: return "v";
        case TypeKind::Color: return "c";
        case TypeKind::Currency: return "e";
        case TypeKind::Object: return "o<" + name + ">";
        case TypeKind::External: return "?<" + name + ">";
        case TypeKind::Array: return "A1" + (element ? element->Text() : std::string());
    }
    return "";
}

size_t TypeCode::FieldSize() const {
    switch (kind) {
        case TypeKind::SignedInt:
        case TypeKind::UnsignedInt:
            return size;
        case TypeKind::Single:
            return sizeof(float);
        case TypeKind::Double:
            return sizeof(double);
        case TypeKind::Boolean:
            return sizeof(bool);
        case TypeKind::Color:
            return sizeof(Color);
        case TypeKind::Currency:
            return sizeof(Currency);
        case TypeKind::Variant:
            return sizeof(Variant);
        case TypeKind::String:
        case TypeKind::Text:
        case TypeKind::Ptr:
        case TypeKind::Object:
        case TypeKind::Array:
        case TypeKind::External:
            return sizeof(void*);
    }
    return sizeof(void*);
}

size_t TypeCode::FieldAlignment() const {
    return std::min(FieldSize(), sizeof(void*));
}

TypeCode ParseTypeCode(std::string_view text) {
    Parser parser(text);
    TypeCode code = parser.Code();
    if (!parser.AtEnd()) Malformed(text, parser.Position(), "text after the type code");
    return code;
}

Signature ParseSignature(std::string_view text) {
    Parser parser(text);
    Signature signature;
    parser.Expect('%');
    if (parser.Peek() != '%') {
        signature.hasResult = true;
        signature.result = parser.Code();
    }
    parser.Expect('%');
    while (!parser.AtEnd()) signature.params.push_back(parser.Code());
    return signature;
}
