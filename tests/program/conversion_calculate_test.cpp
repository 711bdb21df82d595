// "Calculate" as a person uses it: a number typed into one field, the help text shown, one or
// two clicks on the button, then what both fields show, the beeps and the message boxes.
#include <string>
#include <vector>

#include "conversion_fixture.h"

namespace conversion_test {
namespace {

struct CalcCase {
    const char* label;
    const char* field;  // where the number is typed
    const char* typed;
    int presses;
    const char* rShown;
    const char* zShown;
    bool beep, message;  // each press
};
// clang-format off
const CalcCase kCases[] = {
    // label                 field    typed        presses r shown     z shown      beep   message
    {"r_half",               "rEdit", "0.5",       1, "+.500000",  "+0.549306", false, false},
    {"r_negative",           "rEdit", "-0.3",      1, "-.300000",  "-0.309520", false, false},
    {"z_one",                "zEdit", "1",         1, "+.761594",  "1",         false, false},
    {"z_negative",           "zEdit", "-2.5",      1, "-.986614",  "-2.5",      false, false},
    {"z_on_the_limit",       "zEdit", "6.10303",   1, "+.999990",  "6.10303",   false, false},
    {"z_past_the_limit",     "zEdit", "6.10304",   1, "",          "6.10304",   false, true},
    {"z_far_past_the_limit", "zEdit", "7.5",       1, "",          "7.5",       false, true},
    {"r_zero",               "rEdit", "0",         1, "+.000000",  "",          false, true},
    {"r_below_lower_limit",  "rEdit", "0.0000005", 1, "+.000000",  "",          false, true},
    {"r_on_lower_limit",     "rEdit", "0.000001",  1, "+.000001",  "+0.000001", false, false},
    {"r_one",                "rEdit", "1",         1, "+.000000",  "",          false, true},
    {"r_minus_one",          "rEdit", "-1",        1, "+.000000",  "",          false, true},
    {"r_two",                "rEdit", "2",         1, "+.000000",  "",          false, true},
    {"r_z_beyond_limit",     "rEdit", "0.99999",   1, "0.99999",   "+6.103034", false, false},
    {"r_on_upper_limit",     "rEdit", "0.999999",  1, "0.999999",  "+7.254329", false, false},
    {"r_past_upper_limit",   "rEdit", "0.9999999", 1, "0.9999999", "+8.405621", false, true},
    {"z_tiny",               "zEdit", "0.0000001", 1, "+.000000",  "0.0000001", false, true},
    {"both_empty",           "rEdit", "",          1, "",          "",          true,  false},
    {"pressed_twice",        "rEdit", "0.5",       2, "+.500000",  "+0.549306", false, false},
};
// clang-format on

class ConversionCalculate : public ConversionWindowTest,
                            public testing::WithParamInterface<CalcCase> {};

TEST_P(ConversionCalculate, ShowsTheResultPairBeepsAndMessages) {
    const CalcCase& c = GetParam();
    Type(c.field, c.typed);
    Click("qBtn");
    ASSERT_TRUE(HelpVisible());
    for (int i = 0; i < c.presses; ++i) Click("CalcBtn");
    EXPECT_EQ(RText(), c.rShown);
    EXPECT_EQ(ZText(), c.zShown);
    EXPECT_EQ(ToolkitBeepCount(), c.beep ? c.presses : 0);
    EXPECT_EQ(ToolkitMessageBoxes(),
              std::vector<std::string>(c.message ? c.presses : 0,
                                       "r values must range from -1.00 to +1.00"));
    EXPECT_FALSE(HelpVisible()) << "every press hides the help text";
}

INSTANTIATE_TEST_SUITE_P(Cases, ConversionCalculate, testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.label); });

}  // namespace
}  // namespace conversion_test
