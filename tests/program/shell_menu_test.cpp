// The menu bar Menu.Menu: one object however often it is asked for, and what a failed
// construction leaves behind. (Its items stand in tests/data/menu_items.txt.)
#include <gtest/gtest.h>

#include <thread>

#include "framework/toolkit/toolkit.h"
#include "shell/menu.h"
#include "shell/shell_testing.h"

namespace {

TEST(MenuBar, IsBuiltOnceAndAFailedBuildLeavesNothingForTheNextCallToBuildAgain) {
    Menu::ForgetImplicitInstanceForTesting();
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
    ASSERT_TRUE(bar);
    EXPECT_EQ(RuntimeMenuItemCount(bar.get()), 4);
    const int64_t built = RuntimeLiveObjectCount();
    EXPECT_EQ(Menu::Menu().get(), bar.get());
    EXPECT_EQ(RuntimeLiveObjectCount(), built) << "nothing built the second time";
}

}  // namespace
