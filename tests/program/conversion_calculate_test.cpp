// "Calculate" as a person uses it: a number typed into one field, a click on the button,
// then what both fields show, whether the system beeped and which message came up.
#include <ostream>
#include <string>
#include <vector>

#include "conversion_fixture.h"

namespace conversion_test {
namespace {

struct CalcCase {
    const char* label;
    const char* field;  // where the number is typed
    const char* typed;
    const char* rShown;
    const char* zShown;
    bool message;
};
// clang-format off
const CalcCase kCases[] = {
    // label                 field     typed        r shown      z shown      message
    {"r_half",               "rEdit",  "0.5",       "+.500000",  "+0.549306", false},
    {"r_negative",           "rEdit",  "-0.3",      "-.300000",  "-0.309520", false},
    {"z_one",                "zEdit",  "1",         "+.761594",  "1",         false},
    {"z_negative",           "zEdit",  "-2.5",      "-.986614",  "-2.5",      false},
    {"z_on_the_limit",       "zEdit",  "6.10303",   "+.999990",  "6.10303",   false},
    {"z_past_the_limit",     "zEdit",  "6.10304",   "",          "6.10304",   true},
    {"z_far_past_the_limit", "zEdit",  "7.5",       "",          "7.5",       true},
    {"r_zero",               "rEdit",  "0",         "+.000000",  "",          true},
    {"r_below_lower_limit",  "rEdit",  "0.0000005", "+.000000",  "",          true},
    {"r_one",                "rEdit",  "1",         "+.000000",  "",          true},
    {"r_minus_one",          "rEdit",  "-1",        "+.000000",  "",          true},
    {"r_two",                "rEdit",  "2",         "+.000000",  "",          true},
    {"r_z_beyond_limit",     "rEdit",  "0.99999",   "0.99999",   "+6.103034", false},
    {"r_on_upper_limit",     "rEdit",  "0.999999",  "0.999999",  "+7.254329", false},
    {"r_past_upper_limit",   "rEdit",  "0.9999999", "0.9999999", "+8.405621", true},
    {"z_tiny",               "zEdit",  "0.0000001", "+.000000",  "0.0000001", true},
};
// clang-format on

void PrintTo(const CalcCase& c, std::ostream* out) {
    *out << c.typed << " in " << c.field;
}

class ConversionCalculate : public ConversionWindowTest,
                            public testing::WithParamInterface<CalcCase> {};

TEST_P(ConversionCalculate, ShowsTheResultPairAndTheRangeMessage) {
    const CalcCase& c = GetParam();
    Type(c.field, c.typed);
    Click("qBtn");
    ASSERT_TRUE(HelpVisible());
    Click("CalcBtn");
    EXPECT_EQ(RText(), c.rShown);
    EXPECT_EQ(ZText(), c.zShown);
    EXPECT_EQ(ToolkitBeepCount(), 0);
    EXPECT_EQ(
        ToolkitMessageBoxes(),
        std::vector<std::string>(c.message ? 1 : 0, "r values must range from -1.00 to +1.00"));
    EXPECT_FALSE(HelpVisible()) << "every press hides the help text";
}

INSTANTIATE_TEST_SUITE_P(Cases, ConversionCalculate, testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.label); });

using ConversionCalculatePress = ConversionWindowTest;

TEST_F(ConversionCalculatePress, BothFieldsEmptyOnlyBeepsAndHidesTheHelp) {
    Click("qBtn");
    Click("CalcBtn");
    EXPECT_EQ(ToolkitBeepCount(), 1);
    EXPECT_TRUE(ToolkitMessageBoxes().empty());
    EXPECT_EQ(RText() + ZText(), "");
    EXPECT_FALSE(HelpVisible());
}

TEST_F(ConversionCalculatePress, PressingAgainWritesTheSamePair) {
    Type("rEdit", "0.5");
    Click("CalcBtn");
    Click("CalcBtn");
    EXPECT_EQ(RText(), "+.500000");
    EXPECT_EQ(ZText(), "+0.549306");
    EXPECT_EQ(ToolkitBeepCount(), 0);
    EXPECT_TRUE(ToolkitMessageBoxes().empty());
}

}  // namespace
}  // namespace conversion_test
