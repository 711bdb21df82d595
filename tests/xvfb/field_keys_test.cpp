// Keys as an X keyboard sends them to a number field: each key that chooses no menu item goes
// through the field's filter once, whatever its modifiers; the menu's own keys stay menu
// commands; text composed by the input method passes the filter too.
#include <QApplication>
#include <QClipboard>
#include <vector>

#include "program_session.h"

namespace xvfb {
namespace {

struct KeyCase {
    const char* name;
    std::vector<const char*> keys;  // pressed in order, released in reverse
    const char* typed;              // then typed
    int beeps;                      // 1: refused by the filter
    bool otherEmptied;              // taken by the filter, which empties the z field
    const char* rAfter;             // nil: changed, as the field's own editing leaves it
};

// The r field holds "0.5" with the cursor at its end, the z field "1.5", the clipboard "7".
// clang-format off
const KeyCase kKeyCases[] = {
    {"Ctrl+Backspace is code 8",    {"Control_L", "BackSpace"}, "",   0, true,  nullptr},
    {"Ctrl+Delete",                 {"Control_L", "Delete"},    "",   1, false, "0.5"},
    {"Ctrl+Left",                   {"Control_L", "Left"},      "",   1, false, "0.5"},
    {"a function key",              {"F5"},                     "",   1, false, "0.5"},
    {"Insert",                      {"Insert"},                 "",   1, false, "0.5"},
    {"Shift alone is no key",       {"Shift_L"},                "",   0, false, "0.5"},
    {"Ctrl+V chooses Paste",        {"Control_L", "v"},         "",   0, false, "0.57"},
    {"composed 1/2 sign, filtered", {"Multi_key"},              "12", 1, false, "0.5"},
};
// clang-format on

using FieldKeys = ProgramTest;

TEST_F(FieldKeys, EachKeyThatChoosesNoMenuItemPassesTheFilterOnce) {
    QLineEdit* r = Field("rEdit");
    QLineEdit* z = Field("zEdit");
    ClickOn(r);
    ASSERT_TRUE(WaitFor([&] { return r->hasFocus(); }));
    for (const KeyCase& c : kKeyCases) {
        SCOPED_TRACE(c.name);
        r->setText("0.5");
        z->setText("1.5");
        QApplication::clipboard()->setText("7");
        Settle();
        ToolkitResetBeepCount();
        Input().Chord(c.keys);
        Input().Type(c.typed);
        const std::string rAfter = c.rAfter ? c.rAfter : "changed";
        auto rNow = [&] { return c.rAfter || r->text() == "0.5" ? r->text().toStdString() : "changed"; };
        WaitFor([&] {
            return ToolkitBeepCount() == c.beeps && z->text().isEmpty() == c.otherEmptied &&
                   rNow() == rAfter;
        });
        Settle();
        EXPECT_EQ(ToolkitBeepCount(), c.beeps);
        EXPECT_EQ(z->text().isEmpty(), c.otherEmptied);
        EXPECT_EQ(rNow(), rAfter);
    }
}

}  // namespace
}  // namespace xvfb
