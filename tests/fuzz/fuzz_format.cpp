// Fuzzes Format with an arbitrary Double (the first eight bytes) and an arbitrary pattern
// (the remaining bytes).
//
// Any pattern renders without a crash or a sanitizer report. The two patterns the conversion
// window shows its numbers with are also run on every Double: for finite values Val must read
// the shown text as the value it shows (std::strtod of the same text), and the digits must be
// those printf writes for six decimals, but that a value shown as zero never has a "-".
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "framework/toolkit/number_text.h"

namespace {

[[noreturn]] void Fail(const char* what, double value, const std::string& pattern,
                       const std::string& text, const std::string& expected) {
    std::fprintf(stderr, "fuzz_format: %s: Format(%a, \"%s\") = \"%s\", expected \"%s\"\n", what,
                 value, pattern.c_str(), text.c_str(), expected.c_str());
    __builtin_trap();
}

// What "+0.000000" shows for `value`, from printf: six rounded decimals, and "+" for a value
// that rounds to zero, whatever its sign.
std::string Expected(double value, bool integerZeroShown) {
    const int size = std::snprintf(nullptr, 0, "%+.6f", value);
    std::string text(static_cast<size_t>(size) + 1, '\0');
    std::snprintf(text.data(), text.size(), "%+.6f", value);
    text.resize(static_cast<size_t>(size));
    if (text == "-0.000000") text = "+0.000000";
    if (!integerZeroShown && text.compare(1, 2, "0.") == 0) text.erase(1, 1);
    return text;
}

void CheckShownValue(double value, const char* pattern, bool integerZeroShown) {
    const std::string text = StringFormat(value, String(pattern)).Std();
    const std::string expected = Expected(value, integerZeroShown);
    if (text != expected) Fail("digits differ from printf", value, pattern, text, expected);

    const double read = StringVal(String(text));
    const double shown = std::strtod(text.c_str(), nullptr);
    if (read != shown) {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "Val gives %a, strtod %a", read, shown);
        Fail("the text does not read back", value, pattern, text, buffer);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < sizeof(double)) return 0;
    double value;
    std::memcpy(&value, data, sizeof value);
    const std::string_view pattern(reinterpret_cast<const char*>(data) + sizeof value,
                                   size - sizeof value);
    const String any = StringFormat(value, String(pattern));
    (void)any;

    if (std::isfinite(value)) {
        CheckShownValue(value, "+0.000000", true);
        CheckShownValue(value, "+.000000", false);
    }
    return 0;
}
