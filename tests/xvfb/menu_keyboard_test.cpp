// The Edit menu worked from the keyboard on X11: Alt gives the menu bar the keyboard, the
// arrows open and walk the menus, Return chooses. A menu walked with the keys once takes the
// focus itself when it opens again; its Edit items still belong to the field that had the
// focus before the menu bar took it, also when a key with Ctrl brings them up to date.
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

}  // namespace
}  // namespace xvfb
