// Signature texts: every type code, whole signatures, and malformed texts.
#include <string>
#include <vector>

#include "test_support.h"

namespace {

std::string ParamTexts(const Signature& signature) {
    std::string text;
    for (const TypeCode& code : signature.params) text += (text.empty() ? "" : ",") + code.Text();
    return text;
}

TEST(TypeCodes, EveryCodeParsesToItsKindAndBack) {
    struct Row {
        const char* text;
        TypeKind kind;
        uint8_t size;
        const char* name;
    };
    const Row rows[] = {
        {"i1", TypeKind::SignedInt, 1, ""},
        {"i2", TypeKind::SignedInt, 2, ""},
        {"i4", TypeKind::SignedInt, 4, ""},
        {"i8", TypeKind::SignedInt, 8, ""},
        {"u1", TypeKind::UnsignedInt, 1, ""},
        {"u2", TypeKind::UnsignedInt, 2, ""},
        {"u4", TypeKind::UnsignedInt, 4, ""},
        {"u8", TypeKind::UnsignedInt, 8, ""},
        {"f4", TypeKind::Single, 4, ""},
        {"f8", TypeKind::Double, 8, ""},
        {"s", TypeKind::String, 0, ""},
        {"y", TypeKind::Text, 0, ""},
        {"b", TypeKind::Boolean, 0, ""},
        {"p", TypeKind::Ptr, 0, ""},
        {"v", TypeKind::Variant, 0, ""},
        {"c", TypeKind::Color, 0, ""},
        {"e", TypeKind::Currency, 0, ""},
        {"o<TextField>", TypeKind::Object, 0, "TextField"},
        {"o<MainWnd.MainWnd>", TypeKind::Object, 0, "MainWnd.MainWnd"},
        {"?<WindowPtr>", TypeKind::External, 0, "WindowPtr"},
        {"i8<Window.Locations>", TypeKind::SignedInt, 8, "Window.Locations"},
        {"u4<Flags>", TypeKind::UnsignedInt, 4, "Flags"},
        {"A1s", TypeKind::Array, 0, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        TypeCode code = ParseTypeCode(row.text);
        EXPECT_EQ(code.kind, row.kind);
        EXPECT_EQ(code.size, row.size);
        EXPECT_EQ(code.name, row.name);
        EXPECT_EQ(code.Text(), row.text);
        bool integer = row.kind == TypeKind::SignedInt || row.kind == TypeKind::UnsignedInt;
        EXPECT_EQ(code.IsEnumeration(), integer && *row.name != '\0');
    }
}

TEST(TypeCodes, ArraysCarryTheirElementType) {
    TypeCode pictures = ParseTypeCode("A1o<Picture>");
    ASSERT_EQ(pictures.kind, TypeKind::Array);
    ASSERT_NE(pictures.element, nullptr);
    EXPECT_EQ(pictures.element->kind, TypeKind::Object);
    EXPECT_EQ(pictures.element->name, "Picture");
    EXPECT_EQ(ParseTypeCode("A1i8<E>").element->name, "E");
}

TEST(Signatures, ParseResultAndParameters) {
    struct Row {
        const char* text;
        bool hasResult;
        const char* result;
        const char* params;
    };
    const Row rows[] = {
        {"%%", false, "", ""},
        {"%b%", true, "b", ""},
        {"%%sp", false, "", "s,p"},
        {"%o<Picture>%i8i8", true, "o<Picture>", "i8,i8"},
        {"%b%o<TextField>s", true, "b", "o<TextField>,s"},
        {"%%i8i8i8i8i8sss", false, "", "i8,i8,i8,i8,i8,s,s,s"},
        {"%A1s%A1o<Picture>", true, "A1s", "A1o<Picture>"},
        {"%i8<Window.Locations>%?<WindowPtr>y", true, "i8<Window.Locations>", "?<WindowPtr>,y"},
        {"%%i1i2i4i8u1u2u4u8f4f8sybpvce", false, "", "i1,i2,i4,i8,u1,u2,u4,u8,f4,f8,s,y,b,p,v,c,e"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        Signature signature = ParseSignature(row.text);
        EXPECT_EQ(signature.hasResult, row.hasResult);
        if (row.hasResult) {
            EXPECT_EQ(signature.result.Text(), row.result);
        }
        EXPECT_EQ(ParamTexts(signature), row.params);
    }
}

TEST(Signatures, MalformedTextsNameTheOffset) {
    struct Row {
        const char* text;
        bool whole;  // a whole signature, else one type code
        size_t offset;
    };
    const Row rows[] = {
        {"", true, 0},          {"%", true, 1},       {"b%%", true, 0},
        {"%x%", true, 1},       {"%%i3", true, 3},    {"%%i", true, 3},
        {"%%f2", true, 3},      {"%%o", true, 3},     {"%%oTextField", true, 3},
        {"%%o<>", true, 4},     {"%%o<Abc", true, 7}, {"%%o<a%b>", true, 5},
        {"%%o<a<b>>", true, 5}, {"%%A2s", true, 3},   {"%%A1", true, 4},
        {"%i8i8%", true, 3},    {"%%?<>", true, 4},   {"%%s ", true, 3},
        {"", false, 0},         {"i8x", false, 2},    {"ss", false, 1},
        {"%%", false, 0},       {"i8<E", false, 4},   {"q", false, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string("\"") + row.text + "\"");
        auto parse = [&] {
            if (row.whole) {
                ParseSignature(row.text);
            } else {
                ParseTypeCode(row.text);
            }
        };
        EXPECT_EQ(RaisedClassName(parse), "UnsupportedFormatException");
        std::string message = RaisedMessage(parse);
        EXPECT_NE(message.find("at offset " + std::to_string(row.offset) + ":"), std::string::npos)
            << message;
        EXPECT_NE(message.find(std::string("\"") + row.text + "\""), std::string::npos) << message;
    }
}

TEST(Signatures, DeeplyNestedArraysAreRefusedInsteadOfExhaustingTheStack) {
    auto nested = [](size_t depth) {
        std::string text;
        for (size_t i = 0; i < depth; ++i) text += "A1";
        return text + "s";
    };
    EXPECT_EQ(ParseTypeCode(nested(32)).Text(), nested(32));
    EXPECT_NE(RaisedMessage([&] { ParseTypeCode(nested(33)); }).find("at offset 64:"),
              std::string::npos);
    EXPECT_EQ(RaisedClassName([&] { ParseSignature("%%" + nested(200000)); }),
              "UnsupportedFormatException");
}

}  // namespace
