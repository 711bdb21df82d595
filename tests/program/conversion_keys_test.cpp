// The key filter of the r and z fields, typed through Qt, and the "Clear" and "?" buttons.
#include <string>
#include <tuple>

#include "conversion_fixture.h"

namespace conversion_test {
namespace {

struct FieldPair {
    const char* typedInto;
    uint32_t typedSlot;
    const char* other;
    uint32_t otherSlot;
};
const FieldPair kFields[] = {
    {"rEdit", W::kREditSlot, "zEdit", W::kZEditSlot},
    {"zEdit", W::kZEditSlot, "rEdit", W::kREditSlot},
};

struct KeyCase {
    const char* label;
    Qt::Key key;     // Qt::Key_unknown: type `text` instead
    const char* text;
    bool accepted;
    const char* after;  // the typed field's text after the key, starting from "12"
};

// clang-format off
const KeyCase kKeys[] = {
    // label          key                   text  accepted  field after
    {"digit_zero",    Qt::Key_unknown,      "0",  true,     "120"},
    {"digit_nine",    Qt::Key_unknown,      "9",  true,     "129"},
    {"minus",         Qt::Key_unknown,      "-",  true,     "12-"},
    {"point",         Qt::Key_unknown,      ".",  true,     "12."},
    {"slash",         Qt::Key_unknown,      "/",  true,     "12/"},
    {"plus",          Qt::Key_unknown,      "+",  false,    "12"},
    {"comma",         Qt::Key_unknown,      ",",  false,    "12"},
    {"colon",         Qt::Key_unknown,      ":",  false,    "12"},
    {"letter_e",      Qt::Key_unknown,      "e",  false,    "12"},
    {"letter_Z",      Qt::Key_unknown,      "Z",  false,    "12"},
    {"space",         Qt::Key_unknown,      " ",  false,    "12"},
    {"backspace",     Qt::Key_Backspace,    "",   true,     "1"},
    {"tab",           Qt::Key_Tab,          "",   true,     "12"},
    {"return",        Qt::Key_Return,       "",   false,    "12"},
    {"arrow_left",    Qt::Key_Left,         "",   false,    "12"},
};
// clang-format on

class ConversionKeyFilter
    : public ConversionWindowTest,
      public testing::WithParamInterface<std::tuple<FieldPair, KeyCase>> {};

TEST_P(ConversionKeyFilter, TakesNumberKeysAndEmptiesTheOtherField) {
    const auto& [fields, key] = GetParam();
    Type(fields.typedInto, "12");
    ASSERT_EQ(TextOf(fields.typedSlot), "12");
    SetText(fields.otherSlot, "34");  // as a conversion would have left it
    ToolkitResetBeepCount();

    if (key.key == Qt::Key_unknown) {
        Type(fields.typedInto, key.text);
    } else {
        Press(fields.typedInto, key.key);
    }

    EXPECT_EQ(TextOf(fields.typedSlot), key.after);
    EXPECT_EQ(TextOf(fields.otherSlot), key.accepted ? "" : "34");
    EXPECT_EQ(ToolkitBeepCount(), key.accepted ? 0 : 1);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, ConversionKeyFilter, testing::Combine(testing::ValuesIn(kFields), testing::ValuesIn(kKeys)),
    [](const testing::TestParamInfo<std::tuple<FieldPair, KeyCase>>& info) {
        return std::string(std::get<0>(info.param).typedInto) + "_" + std::get<1>(info.param).label;
    });

using ConversionFields = ConversionWindowTest;

TEST_F(ConversionFields, EachNumberFieldTakesAtMostNineTypedCharacters) {
    for (const FieldPair& f : kFields) {
        Type(f.typedInto, "0.123456789012");
        EXPECT_EQ(TextOf(f.typedSlot), "0.1234567") << f.typedInto;
    }
}

TEST_F(ConversionFields, BackspaceInAnEmptyFieldStillEmptiesTheOther) {
    Type("zEdit", "2");
    Press("rEdit", Qt::Key_Backspace);
    EXPECT_EQ(RText(), "");
    EXPECT_EQ(ZText(), "");
    EXPECT_EQ(ToolkitBeepCount(), 0);
}

TEST_F(ConversionFields, QuestionMarkShowsTheHelpUntilClearOrCalculate) {
    EXPECT_FALSE(HelpVisible());
    Click("qBtn");
    EXPECT_TRUE(HelpVisible());
    EXPECT_FALSE(WidgetOf(window(), "describeTxt")->isHidden());
    Click("qBtn");
    EXPECT_TRUE(HelpVisible());
    Click("ClearBtn");
    EXPECT_FALSE(HelpVisible());
    EXPECT_TRUE(WidgetOf(window(), "describeTxt")->isHidden());
}

TEST_F(ConversionFields, ClearEmptiesBothFieldsAndTheNextCalculateBeeps) {
    Type("rEdit", "0.5");
    Click("CalcBtn");
    ASSERT_EQ(ZText(), "+0.549306");
    Click("qBtn");
    Click("ClearBtn");
    EXPECT_EQ(RText(), "");
    EXPECT_EQ(ZText(), "");
    EXPECT_FALSE(HelpVisible());
    Click("CalcBtn");
    EXPECT_EQ(ToolkitBeepCount(), 1);
    EXPECT_TRUE(ToolkitMessageBoxes().empty());
}

TEST_F(ConversionFields, ClearLeavesTheWindowPropertiesAlone) {
    Type("zEdit", "1");
    Click("CalcBtn");
    const PropertyEntry* z = RuntimeFindProperty(window()->cls, "z");
    Click("ClearBtn");
    EXPECT_EQ(z->boxedGetter(window(), z).AsDouble(), 1.0);
}

}  // namespace
}  // namespace conversion_test
