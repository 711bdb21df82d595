// The menu bar Menu.Menu: its menus and items as a person finds them, the one shared object,
// and what a failed construction leaves behind.
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "framework/toolkit/toolkit.h"
#include "shell/menu.h"
#include "shell/shell_testing.h"

namespace {

// The items of `menu` in order, each as Name(Caption,Shortcut) followed by its own items.
std::string Items(Object* menu) {
    std::string out;
    for (int64_t i = 0; i < RuntimeMenuItemCount(menu); ++i) {
        Ref<Object> item = RuntimeMenuItemAt(menu, i);
        out += (i ? " " : "") + RuntimeMenuItemNameGetter(item.get(), 0).Std() + "(" +
               RuntimeMenuItemTextGetter(item.get(), 0).Std() + "," +
               RuntimeMenuItemCommandKeyGetter(item.get(), 0).Std() + ")";
        if (RuntimeMenuItemCount(item.get()) > 0) out += "[" + Items(item.get()) + "]";
        EXPECT_TRUE(RuntimeMenuItemVisibleGetter(item.get(), 0) &&
                    RuntimeMenuItemAutoEnableGetter(item.get(), 0));
    }
    return out;
}

const std::string kBar =
    "Apple(,) UntitledMenu2(File,)[FileQuit(Quit,Cmd+Q) UntitledMenu6(,)] "
    "UntitledMenu0(Edit,)[EditUndo(Undo,Cmd+Z) UntitledMenu1(-,) EditCut(Cut,Cmd+X) "
    "EditCopy(Copy,Cmd+C) EditPaste(Paste,Cmd+V) EditClear(Clear,) UntitledMenu5(,) "
    "About(About Corvane,) UntitledMenu4(,)] UntitledMenu3(,)";

class MenuBarTest : public testing::Test {
  protected:
    void SetUp() override { Menu::ForgetImplicitInstanceForTesting(); }
    void TearDown() override { Menu::ForgetImplicitInstanceForTesting(); }
};

TEST_F(MenuBarTest, IsOneBarHoldingTheFourMenusAndTheirItemsInOrder) {
    Ref<Object> bar = Menu::Menu();
    ASSERT_TRUE(bar);
    EXPECT_EQ(bar->cls, Menu::Menu::dunder_Lookup());
    EXPECT_EQ(Items(bar.get()), kBar);
    const int64_t objects = RuntimeLiveObjectCount();
    EXPECT_EQ(Menu::Menu().get(), bar.get());
    EXPECT_EQ(RuntimeLiveObjectCount(), objects) << "nothing built the second time";
}

TEST_F(MenuBarTest, AFailedBuildLeavesNothingAndTheNextCallBuildsAWholeBar) {
    const int64_t objects = RuntimeLiveObjectCount();
    std::string raised = "nothing";
    std::thread([&] {  // off the main thread the items' setters refuse to run
        try {
            Ref<Object> bar = Menu::Menu();
        } catch (const RaisedException& exception) {
            raised = exception.ExceptionObject()->cls->name;
        }
    })
        .join();
    EXPECT_EQ(raised, "ThreadAccessingUIException");
    EXPECT_EQ(RuntimeLiveObjectCount(), objects) << "the half-built bar and its items are gone";
    Ref<Object> bar = Menu::Menu();
    EXPECT_EQ(Items(bar.get()), kBar);
}

}  // namespace
