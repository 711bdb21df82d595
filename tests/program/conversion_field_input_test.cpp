// What else reaches a number field besides plain typing: keys held with Ctrl, keys that carry
// no character, the menu bar's own keys, and text an input method commits. Each key that
// chooses no menu item goes through the filter once; the menu's keys stay menu commands.
#include <QClipboard>
#include <QInputMethodEvent>

#include "conversion_fixture.h"

namespace conversion_test {
namespace {

struct InputCase {
    const char* label;
    Qt::Key key;  // Qt::Key_unknown: `text` is committed by an input method
    Qt::KeyboardModifiers modifiers;
    const char* text;
    int beeps;
    bool otherEmptied;
    const char* rAfter;  // from "0.5", the cursor at its end, "0.5" selected for Ctrl+C
};
// clang-format off
const InputCase kInputs[] = {
    {"CtrlBackspaceIsBackspace", Qt::Key_Backspace, Qt::ControlModifier, "", 0, true,  "0."},
    {"CtrlDelete",               Qt::Key_Delete,    Qt::ControlModifier, "", 1, false, "0.5"},
    {"CtrlRight",                Qt::Key_Right,     Qt::ControlModifier, "", 1, false, "0.5"},
    {"CtrlA",                    Qt::Key_A,         Qt::ControlModifier, "", 1, false, "0.5"},
    {"Ctrl1",                    Qt::Key_1,         Qt::ControlModifier, "", 1, false, "0.5"},
    {"F5",                       Qt::Key_F5,        Qt::NoModifier,      "", 1, false, "0.5"},
    {"Insert",                   Qt::Key_Insert,    Qt::NoModifier,      "", 1, false, "0.5"},
    {"CtrlCCopies",              Qt::Key_C,         Qt::ControlModifier, "", 0, false, "0.5"},
    {"CtrlVPastes",              Qt::Key_V,         Qt::ControlModifier, "", 0, false, "0.57"},
    {"CommitDigits",             Qt::Key_unknown,   Qt::NoModifier, "12",    0, true,  "0.512"},
    {"CommitRefused",            Qt::Key_unknown,   Qt::NoModifier, "½",     1, false, "0.5"},
    {"CommitMixed",              Qt::Key_unknown,   Qt::NoModifier, "1½2",   1, true,  "0.512"},
};
// clang-format on
void PrintTo(const InputCase& c, std::ostream* out) {
    *out << c.label;
}

class ConversionFieldInput : public ConversionWindowTest,
                             public testing::WithParamInterface<InputCase> {};

TEST_P(ConversionFieldInput, PassesTheFilterOnceUnlessAMenuItemTakesIt) {
    const InputCase& c = GetParam();
    Type("rEdit", "0.5");
    editTextSetter(Accessor(W::kZEditSlot).get(), 0, String("1.5"));
    QApplication::clipboard()->setText("7");
    auto* r = QtControl<QLineEdit>(window(), "rEdit");
    if (c.key == Qt::Key_C) r->selectAll();
    ToolkitResetBeepCount();
    if (c.key == Qt::Key_unknown) {
        QInputMethodEvent commit;
        commit.setCommitString(QString::fromUtf8(c.text));
        QApplication::sendEvent(r, &commit);
    } else {
        QTest::keyClick(r, c.key, c.modifiers);
    }
    EXPECT_EQ(ToolkitBeepCount(), c.beeps);
    EXPECT_EQ(ZText(), c.otherEmptied ? "" : "1.5");
    EXPECT_EQ(RText(), c.rAfter);
    if (c.key == Qt::Key_C) {
        EXPECT_EQ(QApplication::clipboard()->text().toStdString(), "0.5");
    }
}

INSTANTIATE_TEST_SUITE_P(Inputs, ConversionFieldInput, testing::ValuesIn(kInputs),
                         [](const auto& info) { return std::string(info.param.label); });

}  // namespace
}  // namespace conversion_test
