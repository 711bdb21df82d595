#include "framework/toolkit/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace {

using Limits = std::numeric_limits<double>;
constexpr double kInf = Limits::infinity();

TEST(StringVal, ReadsTheLeadingNumber) {
    const std::string e400 = "1" + std::string(400, '0');
    const std::string e_minus_1001 = "0." + std::string(1000, '0') + "1";
    // clang-format off
    const std::pair<std::string, double> cases[] = {
        {"", 0}, {"-", 0}, {".", 0}, {"-.", 0}, {"/", 0}, {"abc", 0}, {"+-1", 0}, {"- 1", 0},
        {"Infinity", 0}, {"NaN", 0}, {"0x10", 0}, {"1/2", 1}, {"0.5abc", 0.5}, {"1,000", 1},
        {".5", 0.5}, {"5.", 5}, {"+.500000", 0.5}, {"-.300000", -0.3}, {"\t\n -7.25", -7.25},
        {"1E+3", 1000}, {"2.5e-3", 0.0025}, {"5.e2", 500}, {"1e", 1}, {"1e+", 1}, {"1e-x", 1},
        {"4.9e-324", Limits::denorm_min()}, {"1.7976931348623157e308", Limits::max()},
        {"-1e400", -kInf}, {"1e99999999999999999999", kInf}, {"1e-400", 0},
        {"0e99999999999999999999", 0}, {e400, kInf}, {e_minus_1001, 0}, {e400 + "e-400", 1},
        // 2^53 + 1 lies halfway and goes to even; a digit far behind breaks the tie.
        {"9007199254740993", 9007199254740992.0},
        {"9007199254740993.0000000000000000000001", 9007199254740994.0},
    };
    // clang-format on
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(StringVal(String(text)), expected) << '"' << text << '"';
    }
}

struct FormatCase {
    double value;
    const char* pattern;
    const char* expected;
};

TEST(StringFormat, RendersByPattern) {
    // clang-format off
    const FormatCase cases[] = {
        // What the conversion screens show.
        {0.5493061, "+0.000000", "+0.549306"}, {0.4999999, "+.000000", "+.500000"},
        {-0.3000004, "+.000000", "-.300000"}, {0.0, "+.000000", "+.000000"},
        {1.5, "+.000000", "+1.500000"}, {-12.5, "+.000000", "-12.500000"},
        {0.5 * std::log(0.7 / 1.3), "+0.000000", "-0.309520"},
        {std::tanh(1.0), "+.000000", "+.761594"}, {std::tanh(-2.5), "+.000000", "-.986614"},
        {0.5 * std::log(1.999999 / 0.000001), "+0.000000", "+7.254329"},
        {0.5 * std::log(1.9999999 / (1 - 0.9999999)), "+0.000000", "+8.405621"},
        {0.5 * std::log(1.99999 / (1 - 0.99999)), "+0.000000", "+6.103034"},
        // Values shown as zero carry no minus.
        {-0.0, "+0.000000", "+0.000000"}, {-0.0000001, "+.000000", "+.000000"},
        {-0.04, "#0.#", "0"},
        // Rounding from the exact binary value; exact ties (k/128) go to even.
        {1.005, "0.00", "1.00"}, {0.0078125, "0.000000", "0.007812"},
        {0.0234375, "0.000000", "0.023438"}, {2.5, "0", "2"}, {3.5, "0", "4"},
        // Signs.
        {-5, "0", "-5"}, {5, "-0", "5"}, {-5, "-0", "-5"}, {5, "+0", "+5"},
        {-3.456, "$0.00", "-$3.46"}, {-3.456, "0.00-", "3.46-"},
        // Integer placeholders and grouping.
        {1234567.891, "#,##0.00", "1,234,567.89"}, {123, "#,##0", "123"}, {0, "#,##0", "0"},
        {5, "0,000", "0,005"}, {1.5, "00.00", "01.50"}, {12345, "##x##", "123x45"},
        {0, "#", ""}, {5, "abc", "abc5"},
        // Optional fraction digits; the point goes with them.
        {1, "#.##", "1"}, {1.5, "#.##", "1.5"}, {2, "0.0#", "2.0"}, {7, "0.", "7"},
        // Percent scales the exact decimal digits: 0.0325 is a little above 13/400.
        {0.5, "0%", "50%"}, {0.0325, "0.0%", "3.3%"}, {0.7945, "0.0%", "79.4%"},
        {0.01, "0%%", "100%%"},
        // Escapes.
        {5, "\\#0", "#5"}, {7, "0\\%", "7%"}, {5, "0\\;x", "5;x"}, {1.5, "0\\.0", "0.2"},
        // Sections positive;negative;zero.
        {5, "0;(0)", "5"}, {-5, "0;(0)", "(5)"}, {-5, "0;-0", "-5"},
        {-0.01, "0.0;(0.0)", "(0.0)"}, {-0.2, "0;(0);zero", "zero"},
        {0.2, "0.0;(0);zero", "0.2"}, {-5, "0;;z", "-5"}, {0, "0;(0);z;more", "z"},
        // NaN, the infinities and the empty pattern.
        {std::nan(""), "+0.000000", "NaN"}, {kInf, "+0.000000", "+Infinity"},
        {-kInf, "0", "-Infinity"}, {-2.5, "", "-2.5"}, {1e300, "", "1e+300"},
    };
    // clang-format on
    for (const auto& c : cases) {
        EXPECT_EQ(StringFormat(c.value, c.pattern).Std(), c.expected)
            << c.value << " with \"" << c.pattern << '"';
    }
}

TEST(StringDBCSAsc, GivesTheFirstCodePoint) {
    // clang-format off
    const std::pair<const char*, int64_t> cases[] = {
        {"", 0}, {"+", 43}, {",", 44}, {"/", 47}, {"0", 48}, {"\x08", 8}, {"\t", 9},
        {"A\xE2\x82\xAC", 65}, {"\xE2\x80\x99", 0x2019}, {"\xC3\xA9t", 0xE9},
        {"\xF0\x9F\x98\x80", 0x1F600},
        // Not well-formed UTF-8: stray continuation, truncated, bad continuation, overlong,
        // surrogate, beyond U+10FFFF, never a lead byte.
        {"\x80", 0x80}, {"\xC3", 0xC3}, {"\xE2\x80", 0xE2}, {"\xC3(", 0xC3}, {"\xC0\xAF", 0xC0},
        {"\xE0\x80\x80", 0xE0}, {"\xED\xA0\x80", 0xED}, {"\xF4\x90\x80\x80", 0xF4}, {"\xFF", 0xFF},
    };
    // clang-format on
    for (const auto& [text, expected] : cases) EXPECT_EQ(StringDBCSAsc(text), expected) << text;
}

}  // namespace
