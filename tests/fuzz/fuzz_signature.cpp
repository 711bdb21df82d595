// Fuzzes the signature and type-code parsers with arbitrary texts.
//
// The first byte chooses the parser (even: ParseTypeCode, odd: ParseSignature); the rest is
// the text. A malformed text may only raise UnsupportedFormatException. A text that parses
// is written back from its codes, which must give the text itself, and each code's text
// must parse to the same code again.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "framework/runtime/runtime.h"

namespace {

[[noreturn]] void Fail(const char* what, std::string_view text) {
    std::fprintf(stderr, "fuzz_signature: %s: \"%.*s\"\n", what, static_cast<int>(text.size()),
                 text.data());
    __builtin_trap();
}

bool IsUnsupportedFormat(const RaisedException& raised) {
    Object* object = raised.ExceptionObject().get();
    return object && std::strcmp(object->cls->name, "UnsupportedFormatException") == 0;
}

// The code's text re-parses to a code with the same text.
std::string CheckedText(const TypeCode& code) {
    std::string text = code.Text();
    std::string again;
    try {
        again = ParseTypeCode(text).Text();
    } catch (const RaisedException&) {
        Fail("the text of a parsed code does not parse", text);
    }
    if (again != text) Fail("a code's text parses to another code", text);
    return text;
}

void FuzzTypeCode(std::string_view text) {
    TypeCode code;
    try {
        code = ParseTypeCode(text);
    } catch (const RaisedException& raised) {
        if (!IsUnsupportedFormat(raised)) Fail("a malformed code raised another class", text);
        return;
    }
    if (CheckedText(code) != text) Fail("a parsed code is written back differently", text);
}

void FuzzSignature(std::string_view text) {
    Signature signature;
    try {
        signature = ParseSignature(text);
    } catch (const RaisedException& raised) {
        if (!IsUnsupportedFormat(raised)) Fail("a malformed signature raised another class", text);
        return;
    }
    std::string written = "%";
    if (signature.hasResult) written += CheckedText(signature.result);
    written += "%";
    for (const TypeCode& param : signature.params) written += CheckedText(param);
    if (written != text) Fail("a parsed signature is written back differently", text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    if (data[0] % 2 == 0) {
        FuzzTypeCode(text);
    } else {
        FuzzSignature(text);
    }
    return 0;
}
