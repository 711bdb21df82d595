// The application's one menu bar: class Menu.Menu (module Menu, class Menu), a MenuBar.
// The same object is the application's menu bar and the conversion window's.
#pragma once

#include <cstdint>

#include "framework/toolkit/toolkit.h"

namespace Menu {

// Class Menu.Menu: MenuBar's 31 slots (slot 6 overridden by the constructor), then the four
// build methods.
struct Menu {
    static void dunder_ctblinit();
    static ClassRecord* dunder_Lookup();

    static constexpr uint32_t kConstructorSlot = 6;  // overrides MenuBar's argument-less one
    static constexpr uint32_t kUntitled0Slot = 31;
    static constexpr uint32_t kUntitled1Slot = 32;
    static constexpr uint32_t kUntitled2Slot = 33;
    static constexpr uint32_t kUntitled3Slot = 34;
    static constexpr uint32_t kSlotCount = 35;

    // Constructor: Untitled0 to Untitled3 through the object's own virtual table, in order.
    static void Constructor(Object* self);
    // Each builds the items of the item table that name it.
    static void Untitled0(Object* self);
    static void Untitled1(Object* self);
    static void Untitled2(Object* self);
    static void Untitled3(Object* self);
};

// The implicit-instance accessor Menu.Menu: the one Menu object, created on first use,
// with a new reference for the caller. When building fails, no bar is kept and the exception
// passes on; the next call starts again with a new bar.
Ref<Object> Menu();

// The module variable Menu._implicitInstance: its start-up initialiser.
struct _implicitInstance {
    static void dunder_Init();
};

// One menu item as the bar builds it.
struct ItemRow {
    uint32_t builtBy;    // n of the build method Untitled<n> that creates it
    const char* parent;  // Name of the parent menu; nil for a menu on the bar itself
    const char* name;    // Name: the key by which the program finds the item
    ClassRecord* (*itemClass)();
    const char* caption;   // Value
    const char* shortcut;  // Shortcut; nil where it is never assigned (the separator)
};

// Creates one item by the bar's recipe and attaches it: to `bar` itself, or to the menu that
// the bar's Child finds under the row's parent name (NilObjectException when there is none).
void BuildItem(Object* bar, const ItemRow& row);

}  // namespace Menu
