// The menu bar Menu.Menu: its menus and items as a person finds them, the one shared object,
// and what a failed construction leaves behind.
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "framework/toolkit/toolkit.h"
#include "shell/menu.h"

namespace {

struct ExpectedItem {
    const char* parent;  // "" for a menu on the bar
    const char* name;
    ClassRecord* (*itemClass)();
    const char* caption;
    const char* shortcut;
};

// The bar left to right, then "File" and "Edit" top to bottom.
const ExpectedItem kItems[] = {
    {"", "Apple", &MenuItem::dunder_Lookup, "", ""},
    {"", "UntitledMenu2", &MenuItem::dunder_Lookup, "File", ""},
    {"", "UntitledMenu0", &MenuItem::dunder_Lookup, "Edit", ""},
    {"", "UntitledMenu3", &MenuItem::dunder_Lookup, "", ""},
    {"UntitledMenu2", "FileQuit", &QuitMenuItem::dunder_Lookup, "Quit", "Cmd+Q"},
    {"UntitledMenu2", "UntitledMenu6", &MenuItem::dunder_Lookup, "", ""},
    {"UntitledMenu0", "EditUndo", &MenuItem::dunder_Lookup, "Undo", "Cmd+Z"},
    {"UntitledMenu0", "UntitledMenu1", &MenuItem::dunder_Lookup, "-", ""},
    {"UntitledMenu0", "EditCut", &MenuItem::dunder_Lookup, "Cut", "Cmd+X"},
    {"UntitledMenu0", "EditCopy", &MenuItem::dunder_Lookup, "Copy", "Cmd+C"},
    {"UntitledMenu0", "EditPaste", &MenuItem::dunder_Lookup, "Paste", "Cmd+V"},
    {"UntitledMenu0", "EditClear", &MenuItem::dunder_Lookup, "Clear", ""},
    {"UntitledMenu0", "UntitledMenu5", &MenuItem::dunder_Lookup, "", ""},
    {"UntitledMenu0", "About", &AppleMenuItem::dunder_Lookup, "About Corvane", ""},
    {"UntitledMenu0", "UntitledMenu4", &AppleMenuItem::dunder_Lookup, "", ""},
};

class MenuBarTest : public testing::Test {
  protected:
    void SetUp() override { Menu::ForgetImplicitInstanceForTesting(); }
    void TearDown() override { Menu::ForgetImplicitInstanceForTesting(); }

    // Every menu holds exactly the expected items, in order, as they were set up.
    static void ExpectWholeBar(Object* bar) {
        for (const char* parent : {"", "UntitledMenu2", "UntitledMenu0"}) {
            Ref<Object> menu =
                *parent ? RuntimeMenuItemChild(bar, parent) : Ref<Object>::Retain(bar);
            ASSERT_TRUE(menu) << parent;
            int64_t index = 0;
            for (const ExpectedItem& want : kItems) {
                if (std::string(want.parent) != parent) continue;
                SCOPED_TRACE(want.name);
                Ref<Object> item = RuntimeMenuItemAt(menu.get(), index++);
                ASSERT_TRUE(item);
                EXPECT_EQ(RuntimeMenuItemNameGetter(item.get(), 0).Std(), want.name);
                EXPECT_EQ(item->cls, want.itemClass());
                EXPECT_EQ(RuntimeMenuItemTextGetter(item.get(), 0).Std(), want.caption);
                EXPECT_EQ(RuntimeMenuItemCommandKeyGetter(item.get(), 0).Std(), want.shortcut);
                EXPECT_TRUE(RuntimeMenuItemVisibleGetter(item.get(), 0) &&
                            RuntimeMenuItemAutoEnableGetter(item.get(), 0));
                Ref<Object> found = RuntimeCallSlot<Ref<Object>, String>(bar, MenuItem::kLookupSlot,
                                                                         String(want.name));
                EXPECT_EQ(found.get(), item.get()) << "found by name at any depth";
            }
            EXPECT_EQ(RuntimeMenuItemCount(menu.get()), index) << parent;
        }
    }
};

TEST_F(MenuBarTest, HoldsTheFourMenusAndTheirItemsInOrder) {
    Ref<Object> bar = Menu::Menu();
    ASSERT_TRUE(bar);
    EXPECT_EQ(bar->cls, Menu::Menu::dunder_Lookup());
    ExpectWholeBar(bar.get());
}

TEST_F(MenuBarTest, EveryCallOfTheAccessorGivesTheOneBarBuiltAtTheFirst) {
    Ref<Object> first = Menu::Menu();
    int64_t objects = RuntimeLiveObjectCount();
    Ref<Object> second = Menu::Menu();
    EXPECT_EQ(first.get(), second.get());
    EXPECT_EQ(RuntimeLiveObjectCount(), objects) << "nothing built the second time";
    EXPECT_EQ(first->refcount, 3) << "the implicit instance's own and the two handed out";
}

TEST_F(MenuBarTest, AFailedConstructionKeepsNoBarAndTheNextCallBuildsAWholeOne) {
    int64_t objects = RuntimeLiveObjectCount();
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
    ExpectWholeBar(bar.get());
}

TEST_F(MenuBarTest, AnItemWhoseParentMenuIsMissingRaisesNilObjectAndLeaksNothing) {
    Ref<Object> bar = RuntimeNewObject(MenuBar::dunder_Lookup());
    RuntimeCallSlot<void>(bar.get(), MenuItem::kConstructorSlot);
    int64_t objects = RuntimeLiveObjectCount();
    const Menu::ItemRow orphan{2, "NoSuchMenu", "Orphan", &MenuItem::dunder_Lookup, "Orphan", ""};
    try {
        Menu::BuildItem(bar.get(), orphan);
        ADD_FAILURE() << "no exception";
    } catch (const RaisedException& exception) {
        EXPECT_TRUE(RuntimeObjectIsa(exception.ExceptionObject().get(),
                                     NilObjectException::dunder_Lookup()));
    }
    EXPECT_EQ(RuntimeLiveObjectCount(), objects);
}

}  // namespace
