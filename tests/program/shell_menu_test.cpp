// The menu bar Menu.Menu: one object however often it is asked for, and what a failed
// construction leaves behind. (Its items stand in tests/data/menu_items.txt.)
#include <gtest/gtest.h>

#include <thread>
#include <utility>

#include "framework/toolkit/toolkit.h"
#include "shell/menu.h"
#include "shell/shell_testing.h"

namespace {

// A build method that raises, as any step of building an item may.
void RaisingBuildMethod(Object* /*bar*/) {
    RuntimeRaiseNew(RuntimeException::dunder_Lookup(), "a build method failed");
}

TEST(MenuBar, IsBuiltOnceAndAFailedBuildLeavesNothingForTheNextCallToBuildAgain) {
    Menu::ForgetImplicitInstanceForTesting();
    const int64_t objects = RuntimeLiveObjectCount();
    std::string raised = "nothing";
    std::thread([&] {  // off the main thread the bar refuses to be made
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

// The constructor stops at a build method that raises, here the last, with the rest of the bar
// built; nothing of that bar is kept, and the next call builds the whole bar anew.
TEST(MenuBar, AConstructionThatRaisesPartWayKeepsNoBarAndTheNextCallBuildsItWhole) {
    Menu::ForgetImplicitInstanceForTesting();
    const int64_t objects = RuntimeLiveObjectCount();
    GenericFn& lastBuild = Menu::Menu::dunder_Lookup()->vtable[Menu::Menu::kUntitled3Slot];
    const GenericFn saved =
        std::exchange(lastBuild, reinterpret_cast<GenericFn>(&RaisingBuildMethod));
    EXPECT_THROW(Menu::Menu(), RaisedException);
    lastBuild = saved;
    EXPECT_EQ(RuntimeLiveObjectCount(), objects) << "the half-built bar and its items are gone";
    Ref<Object> bar = Menu::Menu();
    ASSERT_TRUE(bar);
    EXPECT_EQ(RuntimeMenuItemCount(bar.get()), 4);
}

}  // namespace
