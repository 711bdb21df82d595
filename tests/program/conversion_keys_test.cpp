// The key filter of the r and z fields, typed through Qt, their nine-character limit, and the
// "Clear" and "?" buttons.
#include <QClipboard>
#include <QTextEdit>
#include <string>
#include <tuple>

#include "conversion_fixture.h"

namespace conversion_test {
namespace {

struct FieldPair {
    const char* typed;
    uint32_t typedSlot, otherSlot;
};
const FieldPair kFields[] = {{"rEdit", W::kREditSlot, W::kZEditSlot},
                             {"zEdit", W::kZEditSlot, W::kREditSlot}};

struct KeyCase {
    const char* label;
    Qt::Key key;  // Qt::Key_unknown: type `text`
    const char* text;
    bool accepted;
    const char* after;  // the field's text after the key, from "12"
};
// clang-format off
const KeyCase kKeys[] = {
    {"zero",  Qt::Key_unknown, "0", true,  "120"}, {"nine",   Qt::Key_unknown, "9", true,  "129"},
    {"minus", Qt::Key_unknown, "-", true,  "12-"}, {"point",  Qt::Key_unknown, ".", true,  "12."},
    {"slash", Qt::Key_unknown, "/", true,  "12/"}, {"plus",   Qt::Key_unknown, "+", false, "12"},
    {"comma", Qt::Key_unknown, ",", false, "12"},  {"colon",  Qt::Key_unknown, ":", false, "12"},
    {"e",     Qt::Key_unknown, "e", false, "12"},  {"Z",      Qt::Key_unknown, "Z", false, "12"},
    {"space", Qt::Key_unknown, " ", false, "12"},  {"backspace", Qt::Key_Backspace, "", true, "1"},
    {"tab",   Qt::Key_Tab,     "",  true,  "12"},  {"return", Qt::Key_Return,  "",  false, "12"},
    {"left",  Qt::Key_Left,    "",  false, "12"},
};
// clang-format on

class ConversionKeyFilter : public ConversionWindowTest,
                            public testing::WithParamInterface<std::tuple<FieldPair, KeyCase>> {};

TEST_P(ConversionKeyFilter, TakesNumberKeysAndEmptiesTheOtherField) {
    const auto& [field, key] = GetParam();
    Type(field.typed, "12");
    editTextSetter(Accessor(field.otherSlot).get(), 0, String("34"));  // as a conversion leaves it
    ToolkitResetBeepCount();
    if (key.key == Qt::Key_unknown) {
        Type(field.typed, key.text);
    } else {
        QTest::keyClick(QtControl(window(), field.typed), key.key);
    }
    EXPECT_EQ(TextOf(field.typedSlot), key.after);
    EXPECT_EQ(TextOf(field.otherSlot), key.accepted ? "" : "34");
    EXPECT_EQ(ToolkitBeepCount(), key.accepted ? 0 : 1);
}

INSTANTIATE_TEST_SUITE_P(Keys, ConversionKeyFilter,
                         testing::Combine(testing::ValuesIn(kFields), testing::ValuesIn(kKeys)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).typed) + "_" +
                                    std::get<1>(info.param).label;
                         });

using ConversionButtons = ConversionWindowTest;

TEST_F(ConversionButtons, EachNumberFieldTakesAtMostNineTypedOrPastedCharacters) {
    for (const FieldPair& f : kFields) {
        Type(f.typed, "0.123456789012");
        EXPECT_EQ(TextOf(f.typedSlot), "0.1234567") << f.typed;
    }
    Click("ClearBtn");
    Top()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Top()));
    QtControl<QLineEdit>(window(), "rEdit")->setFocus();
    Type("rEdit", "0.5");
    QApplication::clipboard()->setText("1234567890");
    QAction* paste = MenuItemOf(Top(), "Paste");
    ASSERT_TRUE(paste && paste->isEnabled());
    paste->trigger();
    EXPECT_EQ(RText(), "0.5123456") << "Edit > Paste takes as much as fits, as the Paste key does";
}

TEST_F(ConversionButtons, QuestionMarkShowsTheHelpUntilClearEmptiesAndHidesIt) {
    Type("rEdit", "0.5");
    Click("CalcBtn");
    Click("qBtn");
    Click("qBtn");
    EXPECT_TRUE(HelpVisible());
    EXPECT_TRUE(QtControl<QTextEdit>(window(), "describeTxt")->isVisible());
    Click("ClearBtn");
    EXPECT_EQ(RText() + ZText(), "");
    EXPECT_FALSE(HelpVisible());
    EXPECT_FALSE(QtControl<QTextEdit>(window(), "describeTxt")->isVisible());
}

}  // namespace
}  // namespace conversion_test
