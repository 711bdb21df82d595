// Signature texts: type codes, whole signatures, and malformed texts.
#include <string>

#include "test_support.h"

namespace {

TEST(Signatures, ParseResultAndParametersAndWriteThemBack) {
    struct Row {
        const char* text;
        const char* result;  // "" for none
        const char* params;
    };
    const Row rows[] = {
        {"%%", "", ""},
        {"%b%", "b", ""},
        {"%o<Picture>%i8i8", "o<Picture>", "i8,i8"},
        {"%A1s%A1o<Picture>", "A1s", "A1o<Picture>"},
        {"%i8<Window.Locations>%?<WindowPtr>y", "i8<Window.Locations>", "?<WindowPtr>,y"},
        {"%%i1i2i4i8u1u2u4u8f4f8sybpvce", "", "i1,i2,i4,i8,u1,u2,u4,u8,f4,f8,s,y,b,p,v,c,e"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        Signature signature = ParseSignature(row.text);
        EXPECT_EQ(signature.hasResult, *row.result != '\0');
        EXPECT_EQ(signature.hasResult ? signature.result.Text() : "", row.result);
        std::string params;
        for (const TypeCode& code : signature.params)
            params += (params.empty() ? "" : ",") + code.Text();
        EXPECT_EQ(params, row.params);
    }
    // Spot checks of what the codes hold.
    TypeCode enumeration = ParseTypeCode("u4<Flags>");
    EXPECT_EQ(enumeration.kind, TypeKind::UnsignedInt);
    EXPECT_EQ(enumeration.size, 4);
    EXPECT_TRUE(enumeration.IsEnumeration());
    EXPECT_FALSE(ParseTypeCode("i8").IsEnumeration());
    EXPECT_EQ(ParseTypeCode("f4").kind, TypeKind::Single);
    EXPECT_EQ(ParseTypeCode("y").kind, TypeKind::Text);
    TypeCode pictures = ParseTypeCode("A1o<Picture>");
    ASSERT_NE(pictures.element, nullptr);
    EXPECT_EQ(pictures.element->kind, TypeKind::Object);
    EXPECT_EQ(pictures.element->name, "Picture");
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
            row.whole ? (void)ParseSignature(row.text) : (void)ParseTypeCode(row.text);
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
