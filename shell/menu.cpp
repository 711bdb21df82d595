#include "shell/menu.h"

#include <utility>

#include "shell/shell_testing.h"

namespace Menu {
namespace {

ClassCell gMenuCell{nullptr, &Menu::dunder_ctblinit};  // Menu.Menu.__ctbl

// Menu._implicitInstance: the one bar, one reference of its own, kept until the process ends.
Object* gImplicitInstance = nullptr;

// clang-format off
// The bar's items, in creation order. Captions and shortcuts are UTF-8; "" is assigned
// explicitly, nil never assigned.
//  by  parent           Name             class                          caption          shortcut
constexpr ItemRow kItems[] = {
    {0, nullptr,         "Apple",         &MenuItem::dunder_Lookup,      "",              ""},
    {1, nullptr,         "UntitledMenu2", &MenuItem::dunder_Lookup,      "File",          ""},
    {1, "UntitledMenu2", "FileQuit",      &QuitMenuItem::dunder_Lookup,  "Quit",          "Cmd+Q"},
    {1, "UntitledMenu2", "UntitledMenu6", &MenuItem::dunder_Lookup,      "",              ""},
    {2, nullptr,         "UntitledMenu0", &MenuItem::dunder_Lookup,      "Edit",          ""},
    {2, "UntitledMenu0", "EditUndo",      &MenuItem::dunder_Lookup,      "Undo",          "Cmd+Z"},
    {2, "UntitledMenu0", "UntitledMenu1", &MenuItem::dunder_Lookup,      "-",             nullptr},
    {2, "UntitledMenu0", "EditCut",       &MenuItem::dunder_Lookup,      "Cut",           "Cmd+X"},
    {2, "UntitledMenu0", "EditCopy",      &MenuItem::dunder_Lookup,      "Copy",          "Cmd+C"},
    {2, "UntitledMenu0", "EditPaste",     &MenuItem::dunder_Lookup,      "Paste",         "Cmd+V"},
    {2, "UntitledMenu0", "EditClear",     &MenuItem::dunder_Lookup,      "Clear",         ""},
    {2, "UntitledMenu0", "UntitledMenu5", &MenuItem::dunder_Lookup,      "",              ""},
    {2, "UntitledMenu0", "About",         &AppleMenuItem::dunder_Lookup, "About Corvane", ""},
    {2, "UntitledMenu0", "UntitledMenu4", &AppleMenuItem::dunder_Lookup, "",              ""},
    {3, nullptr,         "UntitledMenu3", &MenuItem::dunder_Lookup,      "",              ""},
};
// clang-format on

// Builds the rows that name build method `n`, each only if the one before raised nothing.
// The method holds a reference to the bar for as long as it runs.
void BuildItemsOf(Object* self, uint32_t n) {
    Ref<Object> bar = Ref<Object>::Retain(RuntimeRequire(self));
    for (const ItemRow& row : kItems)
        if (row.builtBy == n) BuildItem(bar.get(), row);
}

}  // namespace

void BuildItem(Object* bar, const ItemRow& row) {
    // 1. Create: a new object of the item's class, then its argument-less Constructor.
    Ref<Object> item = RuntimeNewObject(row.itemClass());
    RuntimeCallSlot<void>(RuntimeRequire(item.get()), MenuItem::kConstructorSlot);

    // 2. Its properties, in this order; the separator's Shortcut is left as it is.
    RuntimeMenuItemNameSetter(RuntimeRequire(item.get()), 0, String(row.name));
    RuntimeMenuItemAutoEnableSetter(RuntimeRequire(item.get()), 0, true);
    RuntimeMenuItemTextSetter(RuntimeRequire(item.get()), 0, String(row.caption));
    RuntimeMenuItemVisibleSetter(RuntimeRequire(item.get()), 0, true);
    if (row.shortcut)
        RuntimeMenuItemCommandKeySetter(RuntimeRequire(item.get()), 0, String(row.shortcut));

    // 3. Attach it; a parent menu is found again by name for every item.
    if (!row.parent) {
        RuntimeCallSlot<void, Object*>(RuntimeRequire(bar), MenuItem::kAddMenuSlot, item.get());
        return;
    }
    Ref<Object> parent = RuntimeCallSlot<Ref<Object>, String>(
        RuntimeRequire(bar), MenuItem::kChildSlot, String(row.parent));
    RuntimeCallSlot<void, Object*>(RuntimeRequire(parent.get()), MenuItem::kAddMenuSlot,
                                   item.get());
}

void Menu::Constructor(Object* self) {
    for (uint32_t slot : {kUntitled0Slot, kUntitled1Slot, kUntitled2Slot, kUntitled3Slot})
        RuntimeCallSlot<void>(self, slot);
}

void Menu::Untitled0(Object* self) {
    BuildItemsOf(self, 0);
}
void Menu::Untitled1(Object* self) {
    BuildItemsOf(self, 1);
}
void Menu::Untitled2(Object* self) {
    BuildItemsOf(self, 2);
}
void Menu::Untitled3(Object* self) {
    BuildItemsOf(self, 3);
}

void Menu::dunder_ctblinit() {
    // clang-format off
    // Own rows: the constructor overrides MenuBar's slot 6 (and so names entry 6); the build
    // methods follow MenuBar's 34 re-stated entries.
    //        name           flags           signature  function            slot
    static const MethodRow Menu_methods[] = {
        Method("Constructor", kPublicVirtual, "%%",      &Menu::Constructor, kConstructorSlot),
        Method("Untitled0",   kPublicVirtual, "%%",      &Menu::Untitled0,   kUntitled0Slot),
        Method("Untitled1",   kPublicVirtual, "%%",      &Menu::Untitled1,   kUntitled1Slot),
        Method("Untitled2",   kPublicVirtual, "%%",      &Menu::Untitled2,   kUntitled2Slot),
        Method("Untitled3",   kPublicVirtual, "%%",      &Menu::Untitled3,   kUntitled3Slot),
    };
    // clang-format on
    static const ClassSpec spec{.name = "Menu.Menu",
                                .superclass = &MenuBar::dunder_Lookup,
                                .methodCount = 38,
                                .interfaceCount = 0,
                                .eventCount = 2,      // MenuItem's, none handled
                                .propertyCount = 20,  // MenuItem's, none added
                                .instanceDataSize = 48,
                                .slotCount = kSlotCount,
                                .methods = Menu_methods};
    RuntimeBuildClass(gMenuCell, spec);
}

ClassRecord* Menu::dunder_Lookup() {
    return RuntimeLookupClass(gMenuCell);
}

void _implicitInstance::dunder_Init() {}

Ref<Object> Menu() {
    if (!gImplicitInstance) {
        // A construction that raises leaves nothing stored: the half-built bar goes with
        // `bar`, and the next call starts again.
        Ref<Object> bar = RuntimeNewObject(::Menu::Menu::dunder_Lookup());
        RuntimeCallSlot<void>(RuntimeRequire(bar.get()), ::Menu::Menu::kConstructorSlot);
        gImplicitInstance = bar.Release();
    }
    return Ref<Object>::Retain(gImplicitInstance);
}

void ForgetImplicitInstanceForTesting() {
    RuntimeRelease(std::exchange(gImplicitInstance, nullptr));
}

}  // namespace Menu
