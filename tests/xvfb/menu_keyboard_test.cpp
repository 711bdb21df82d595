// The Edit menu worked from the keyboard on X11: Alt gives the menu bar the keyboard, the
// arrows open and walk the menus, Return chooses. A menu walked with the keys once takes the
// focus itself when it opens again; its Edit items still belong to the field that had the
// focus before the menu bar took it, and to its selection, also when a key with Ctrl brings
// them up to date.
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMenuBar>

#include "program_session.h"

namespace xvfb {
namespace {

void Key(const char* key) {
    Input().Chord({key});
    Settle();
}

// Walks down the open Edit menu to `item`; whether it got there (a greyed item is passed over).
bool WalkToEditItem(const char* item) {
    QAction* title = TopLevel(Conversion())->findChild<QMenuBar*>()->activeAction();
    QMenu* edit = title && title->text() == "Edit" ? title->menu() : nullptr;
    for (int row = 0; edit && edit->isVisible() && row < 8; ++row) {
        if (edit->activeAction() && edit->activeAction()->text() == item) return true;
        Key("Down");
    }
    return false;
}

using MenuKeyboard = ProgramTest;

TEST_F(MenuKeyboard, EditPasteChosenWithTheKeysActsOnTheFieldTypedIn) {
    QLineEdit* r = Field("rEdit");
    ClickOn(r);
    Input().Type("0.5");
    ASSERT_TRUE(WaitFor([&] { return r->text() == "0.5"; }));
    QApplication::clipboard()->setText("1234567890");
    for (const char* key : {"Alt_L", "Right", "Down"}) Key(key);  // the bar, Edit, open it
    ASSERT_TRUE(WalkToEditItem("Paste"));
    for (const char* key : {"Escape", "Escape"}) Key(key);  // close the menu, leave the bar
    for (const char* key : {"Alt_L", "Right", "Down"}) Key(key);
    ASSERT_TRUE(WalkToEditItem("Paste"));
    Key("Control_L");  // a key with Ctrl brings the items up to date for the key equivalents
    Key("Return");
    WaitFor([&] { return r->text() == "0.5123456"; });
    EXPECT_EQ(r->text().toStdString(), "0.5123456") << "as much as fits, like the Paste key";
    EXPECT_EQ(ToolkitBeepCount(), 0);
}

struct KeyboardEditCase {
    const char* item;       // chosen with Return; nil: the menu is left with Escape
    const char* rAfter;     // the r field's text afterwards
    const char* selected;   // its selection afterwards
    const char* clipboard;  // the clipboard's text afterwards
};

// The r field holds "0.5123" with "5123" selected, the clipboard "7".
// clang-format off
const KeyboardEditCase kKeyboardEditCases[] = {
    {"Cut",     "0.",     "",     "5123"},
    {"Copy",    "0.5123", "5123", "5123"},
    {"Paste",   "0.7",    "",     "7"},
    {"Clear",   "0.",     "",     "7"},
    {nullptr,   "0.5123", "5123", "7"},
};
// clang-format on

TEST_F(MenuKeyboard, EditItemsChosenWithTheKeysActOnTheSelectionWhichEscapeGivesBack) {
    QLineEdit* r = Field("rEdit");
    ClickOn(r);
    ASSERT_TRUE(WaitFor([&] { return r->hasFocus(); }));
    Settle();
    for (const KeyboardEditCase& c : kKeyboardEditCases) {
        const std::string item = c.item ? c.item : "Escape";
        SCOPED_TRACE(item);
        r->setText("0.5123");
        r->setSelection(6, -4);
        QApplication::clipboard()->setText("7");
        for (const char* key : {"Alt_L", "Right", "Down"}) Key(key);
        if (c.item) {
            ASSERT_TRUE(WalkToEditItem(c.item)) << "greyed, or no such item";
            Key("Return");
        } else {
            for (const char* key : {"Escape", "Escape"}) Key(key);
        }
        WaitFor([&] { return r->text() == c.rAfter && r->hasFocus(); });
        EXPECT_EQ(r->text().toStdString(), c.rAfter);
        EXPECT_EQ(r->selectedText().toStdString(), c.selected);
        EXPECT_EQ(QApplication::clipboard()->text().toStdString(), c.clipboard);
        EXPECT_TRUE(r->hasFocus()) << "the field has the keys back";
    }
    EXPECT_EQ(ToolkitBeepCount(), 0);
}

}  // namespace
}  // namespace xvfb
