// Signature texts: whole signatures written back code by code, and nesting too deep.
#include <string>

#include "test_support.h"

namespace {

TEST(Signatures, ParseResultAndParametersAndWriteThemBack) {
    const std::pair<const char*, const char*> rows[] = {
        {"%%", "|"},
        {"%o<Picture>%i8i8", "o<Picture>|i8,i8,"},
        {"%A1s%A1o<Picture>", "A1s|A1o<Picture>,"},
        {"%i8<Window.Locations>%?<WindowPtr>y", "i8<Window.Locations>|?<WindowPtr>,y,"},
        {"%%i1i2i4i8u1u2u4u8f4f8sybpvce", "|i1,i2,i4,i8,u1,u2,u4,u8,f4,f8,s,y,b,p,v,c,e,"},
    };
    for (const auto& [text, expected] : rows) {
        Signature signature = ParseSignature(text);
        std::string written = (signature.hasResult ? signature.result.Text() : "") + "|";
        for (const TypeCode& code : signature.params) written += code.Text() + ",";
        EXPECT_EQ(written, expected) << text;
    }
}

TEST(Signatures, DeeplyNestedArraysAreRefusedInsteadOfExhaustingTheStack) {
    auto nested = [](size_t depth) {
        std::string text;
        for (size_t i = 0; i < depth; ++i) text += "A1";
        return text + "s";
    };
    EXPECT_EQ(ParseTypeCode(nested(32)).Text(), nested(32));
    EXPECT_EQ(RaisedClassName([&] { ParseTypeCode(nested(33)); }), "UnsupportedFormatException");
    EXPECT_EQ(RaisedClassName([&] { ParseSignature("%%" + nested(200000)); }),
              "UnsupportedFormatException");
}

}  // namespace
