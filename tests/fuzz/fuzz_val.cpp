// Fuzzes Val with arbitrary texts.
//
// Any text is read without a crash or a sanitizer report. The first eight bytes, taken as a
// Double, also make a text the way Format writes it with an empty pattern (the shortest text
// that reads back to the same Double); Val must read that text back bit for bit, also with
// leading blanks before it and anything after a blank behind it.
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "framework/toolkit/number_text.h"

namespace {

[[noreturn]] void Fail(const std::string& text, double expected, double read) {
    std::fprintf(stderr, "fuzz_val: \"%s\" should read as %a, Val gives %a\n", text.c_str(),
                 expected, read);
    __builtin_trap();
}

void CheckReadsBack(double value, std::string_view rest) {
    const std::string shortest = StringFormat(value, String()).Std();
    const double read = StringVal(String(shortest));
    if (std::bit_cast<uint64_t>(read) != std::bit_cast<uint64_t>(value))
        Fail(shortest, value, read);

    // Leading blanks, chosen by the first byte of the rest, and trailing text after a blank.
    static constexpr char kBlanks[] = {' ', '\t', '\r', '\n'};
    std::string padded;
    if (!rest.empty()) {
        const auto choice = static_cast<uint8_t>(rest.front());
        for (int i = 0; i < (choice >> 4) % 4; ++i)
            padded.push_back(kBlanks[(choice >> (2 * i)) % 4]);
        rest.remove_prefix(1);
    }
    padded += shortest;
    padded += ' ';
    padded += rest;
    const double paddedRead = StringVal(String(padded));
    if (std::bit_cast<uint64_t>(paddedRead) != std::bit_cast<uint64_t>(value))
        Fail(padded, value, paddedRead);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const double any = StringVal(String(bytes));
    (void)any;

    if (size >= sizeof(double)) {
        double value;
        std::memcpy(&value, data, sizeof value);
        if (std::isfinite(value)) CheckReadsBack(value, bytes.substr(sizeof value));
    }
    return 0;
}
