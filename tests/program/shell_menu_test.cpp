// The menu bar Menu.Menu: its items as a person finds them in the menus, the one shared
// object, its class record, and what a failed construction leaves behind.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "framework/toolkit/toolkit.h"
#include "shell/menu.h"

namespace {

using MenuClass = struct Menu::Menu;

struct ExpectedItem {
    const char* name;
    ClassRecord* (*itemClass)();
    const char* caption;
    const char* shortcut;
};

// The bar as the program's users see it: four menus, "File" with two items, "Edit" with nine.
const std::vector<ExpectedItem> kTopLevel = {
    {"Apple", &MenuItem::dunder_Lookup, "", ""},
    {"UntitledMenu2", &MenuItem::dunder_Lookup, "File", ""},
    {"UntitledMenu0", &MenuItem::dunder_Lookup, "Edit", ""},
    {"UntitledMenu3", &MenuItem::dunder_Lookup, "", ""},
};
const std::vector<ExpectedItem> kFileMenu = {
    {"FileQuit", &QuitMenuItem::dunder_Lookup, "Quit", "Cmd+Q"},
    {"UntitledMenu6", &MenuItem::dunder_Lookup, "", ""},
};
const std::vector<ExpectedItem> kEditMenu = {
    {"EditUndo", &MenuItem::dunder_Lookup, "Undo", "Cmd+Z"},
    {"UntitledMenu1", &MenuItem::dunder_Lookup, "-", ""},
    {"EditCut", &MenuItem::dunder_Lookup, "Cut", "Cmd+X"},
    {"EditCopy", &MenuItem::dunder_Lookup, "Copy", "Cmd+C"},
    {"EditPaste", &MenuItem::dunder_Lookup, "Paste", "Cmd+V"},
    {"EditClear", &MenuItem::dunder_Lookup, "Clear", ""},
    {"UntitledMenu5", &MenuItem::dunder_Lookup, "", ""},
    {"About", &AppleMenuItem::dunder_Lookup, "About Corvane", ""},
    {"UntitledMenu4", &AppleMenuItem::dunder_Lookup, "", ""},
};

class MenuBarTest : public testing::Test {
protected:
    void SetUp() override { Menu::ForgetImplicitInstanceForTesting(); }
    void TearDown() override { Menu::ForgetImplicitInstanceForTesting(); }

    static void ExpectChildren(Object* parent, const std::vector<ExpectedItem>& expected,
                               const std::string& where) {
        ASSERT_EQ(RuntimeMenuItemCount(parent), static_cast<int64_t>(expected.size())) << where;
        for (size_t i = 0; i < expected.size(); ++i) {
            const ExpectedItem& want = expected[i];
            SCOPED_TRACE(where + " item " + std::to_string(i) + " " + want.name);
            Ref<Object> item = RuntimeMenuItemAt(parent, static_cast<int64_t>(i));
            ASSERT_TRUE(item);
            EXPECT_EQ(RuntimeMenuItemNameGetter(item.get(), 0).Std(), want.name);
            EXPECT_EQ(item->cls, want.itemClass());
            EXPECT_EQ(RuntimeMenuItemTextGetter(item.get(), 0).Std(), want.caption);
            EXPECT_EQ(RuntimeMenuItemCommandKeyGetter(item.get(), 0).Std(), want.shortcut);
            EXPECT_TRUE(RuntimeMenuItemVisibleGetter(item.get(), 0));
            EXPECT_TRUE(RuntimeMenuItemAutoEnableGetter(item.get(), 0));
        }
    }
};

TEST_F(MenuBarTest, HoldsFourMenusWithFileAndEditItemsInOrder) {
    Ref<Object> bar = Menu::Menu();
    ASSERT_TRUE(bar);
    EXPECT_EQ(bar->cls, MenuClass::dunder_Lookup());
    ExpectChildren(bar.get(), kTopLevel, "bar");
    ExpectChildren(RuntimeMenuItemChild(bar.get(), "UntitledMenu2").get(), kFileMenu, "File");
    ExpectChildren(RuntimeMenuItemChild(bar.get(), "UntitledMenu0").get(), kEditMenu, "Edit");
}

TEST_F(MenuBarTest, EveryItemIsFoundByNameAtAnyDepthThroughTheBarsLookupSlot) {
    Ref<Object> bar = Menu::Menu();
    std::vector<ExpectedItem> all = kTopLevel;
    all.insert(all.end(), kFileMenu.begin(), kFileMenu.end());
    all.insert(all.end(), kEditMenu.begin(), kEditMenu.end());
    ASSERT_EQ(all.size(), 15u);
    for (const ExpectedItem& want : all) {
        Ref<Object> item =
            RuntimeCallSlot<Ref<Object>, String>(bar.get(), MenuItem::kLookupSlot, String(want.name));
        ASSERT_TRUE(item) << want.name;
        EXPECT_EQ(RuntimeMenuItemNameGetter(item.get(), 0).Std(), want.name);
        EXPECT_TRUE(RuntimeObjectIsa(item.get(), want.itemClass())) << want.name;
    }
    Ref<Object> missing =
        RuntimeCallSlot<Ref<Object>, String>(bar.get(), MenuItem::kLookupSlot, String("NoSuchItem"));
    EXPECT_FALSE(missing);
}

TEST_F(MenuBarTest, NoItemIsEnabledByTheBarItself) {
    Ref<Object> bar = Menu::Menu();
    Ref<Object> about = RuntimeMenuItemLookup(bar.get(), "About");
    ASSERT_TRUE(about);
    // AutoEnabled decides; the bar never assigns Enabled, so About is not switched on here.
    EXPECT_TRUE(RuntimeMenuItemAutoEnableGetter(about.get(), 0));
}

TEST_F(MenuBarTest, TheAccessorBuildsOneBarAndHandsOutThatSameObject) {
    int64_t before = RuntimeLiveObjectCount();
    Ref<Object> first = Menu::Menu();
    int64_t afterFirst = RuntimeLiveObjectCount();
    EXPECT_GE(afterFirst - before, 16) << "the bar and its fifteen items";
    Ref<Object> second = Menu::Menu();
    EXPECT_EQ(first.get(), second.get());
    EXPECT_EQ(RuntimeLiveObjectCount(), afterFirst) << "a second call builds nothing";
    // The implicit instance holds its own reference besides the two handed out.
    EXPECT_EQ(first->refcount, 3);
}

TEST_F(MenuBarTest, AFailedConstructionStoresNoBarAndTheNextCallBuildsAWholeOne) {
    int64_t before = RuntimeLiveObjectCount();
    // Off the main thread the items' setters refuse to run, which ends the construction.
    std::string raised;
    std::thread worker([&] {
        try {
            Ref<Object> bar = Menu::Menu();
            raised = bar ? "no exception" : "nil without exception";
        } catch (const RaisedException& exception) {
            raised = exception.ExceptionObject()->cls->name;
        }
    });
    worker.join();
    EXPECT_EQ(raised, "ThreadAccessingUIException");
    EXPECT_EQ(RuntimeLiveObjectCount(), before) << "the half-built bar and its items were released";

    Ref<Object> bar = Menu::Menu();
    ASSERT_TRUE(bar);
    ExpectChildren(bar.get(), kTopLevel, "bar after a failure");
    ExpectChildren(RuntimeMenuItemChild(bar.get(), "UntitledMenu0").get(), kEditMenu, "Edit after a failure");
}

TEST_F(MenuBarTest, AnItemWhoseParentMenuIsMissingRaisesNilObjectAndLeaksNothing) {
    Ref<Object> bar = RuntimeNewObject(MenuBar::dunder_Lookup());
    RuntimeCallSlot<void>(bar.get(), MenuItem::kConstructorSlot);
    int64_t before = RuntimeLiveObjectCount();
    const Menu::ItemRow orphan{2, "NoSuchMenu", "Orphan", &MenuItem::dunder_Lookup, "Orphan", ""};
    try {
        Menu::BuildItem(bar.get(), orphan);
        ADD_FAILURE() << "no exception";
    } catch (const RaisedException& exception) {
        EXPECT_TRUE(RuntimeObjectIsa(exception.ExceptionObject().get(), NilObjectException::dunder_Lookup()));
    }
    EXPECT_EQ(RuntimeLiveObjectCount(), before);
    EXPECT_EQ(RuntimeMenuItemCount(bar.get()), 0);
}

TEST_F(MenuBarTest, ClassRecordOverridesTheConstructorAndAddsFourBuildMethods) {
    ClassRecord* menu = MenuClass::dunder_Lookup();
    ClassRecord* menuBar = MenuBar::dunder_Lookup();
    ASSERT_EQ(menu->superclass, menuBar);
    EXPECT_STREQ(menu->name, "Menu.Menu");
    EXPECT_EQ(menu->methodCount, 38u);
    EXPECT_EQ(menu->slotCount, 35u);
    EXPECT_EQ(menu->instanceDataSize, 48u);
    EXPECT_EQ(menu->eventCount, 2u);
    EXPECT_EQ(menu->propertyCount, 20u);
    for (uint32_t slot = 0; slot < 31; ++slot) {
        if (slot == MenuClass::kConstructorSlot) continue;
        EXPECT_EQ(menu->vtable[slot], menuBar->vtable[slot]) << "slot " << slot;
    }
    EXPECT_EQ(menu->vtable[6], AsGenericFn(&MenuClass::Constructor));
    EXPECT_STREQ(menu->methods[6].name, "Constructor");
    EXPECT_EQ(menu->methods[6].function, AsGenericFn(&MenuClass::Constructor));
    const char* own[] = {"Untitled0", "Untitled1", "Untitled2", "Untitled3"};
    for (uint32_t i = 0; i < 4; ++i) {
        const MethodEntry& entry = menu->methods[34 + i];
        EXPECT_STREQ(entry.name, own[i]);
        EXPECT_STREQ(entry.signature, "%%");
        EXPECT_EQ(entry.flags, 257u);
        EXPECT_EQ(entry.slot, 31 + i);
        EXPECT_EQ(entry.attributes->count, 0u);
    }
}

}  // namespace
