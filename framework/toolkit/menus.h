// Menus: MenuItem → MenuBar, and the MenuItem subclasses AppleMenuItem and QuitMenuItem.
// One framework item is one QAction (with a QMenu once it has children); a QAction can
// stand in several menu bars, so the one menu bar object serves the application and every
// window that installs it.
//
// Presentation: a shortcut written "Cmd+Q" is the platform's key equivalent (Ctrl+Q outside
// macOS); the caption "-" is a separator; an item or menu with the empty caption shows no
// blank row or blank menu; the quit item quits; EditUndo, EditCut, EditCopy, EditPaste and
// EditClear act on the focused text field; an item with AutoEnabled True is enabled when
// something will act on it and greyed otherwise, before the window's EnableMenuItems event
// may enable more.
#pragma once

#include <cstdint>

#include "framework/runtime/runtime.h"

struct MenuItem {
    static ClassRecord* dunder_Lookup();
    static void dunder_ctblinit();
    static constexpr uint32_t kAddMenuSlot = 0;      // "%%o<MenuItem>"
    static constexpr uint32_t kChildSlot = 3;        // "%o<MenuItem>%s"
    static constexpr uint32_t kConstructorSlot = 6;  // "%%"
    static constexpr uint32_t kLookupSlot = 26;      // "%o<MenuItem>%s"
    static constexpr uint32_t kActionEvent = 0;      // bool(Object* item)
    static constexpr uint32_t kEnableMenuEvent = 1;  // void(Object* item)
};

// MenuBar: 31 virtual slots, 34 method entries, 48 bytes of instance data.
struct MenuBar {
    static ClassRecord* dunder_Lookup();
    static void dunder_ctblinit();
    static constexpr uint32_t kSlotCount = 31;
    static constexpr uint32_t kMethodCount = 34;
};

struct AppleMenuItem {
    static ClassRecord* dunder_Lookup();
    static void dunder_ctblinit();
};

struct QuitMenuItem {
    static ClassRecord* dunder_Lookup();
    static void dunder_ctblinit();
};

// MenuItem's argument-less Constructor (slot 6): an empty item.
void RuntimeMenuItemDefaultConstructor(Object* item);
// Property setters and getters of MenuItem; each setter refuses any thread but the main one
// (ThreadAccessingUIException).
void RuntimeMenuItemNameSetter(Object* item, int32_t offset, String name);
String RuntimeMenuItemNameGetter(Object* item, int32_t offset);
void RuntimeMenuItemAutoEnableSetter(Object* item, int32_t offset, bool on);
bool RuntimeMenuItemAutoEnableGetter(Object* item, int32_t offset);
void RuntimeMenuItemTextSetter(Object* item, int32_t offset, String caption);
String RuntimeMenuItemTextGetter(Object* item, int32_t offset);
void RuntimeMenuItemVisibleSetter(Object* item, int32_t offset, bool visible);
bool RuntimeMenuItemVisibleGetter(Object* item, int32_t offset);
void RuntimeMenuItemCommandKeySetter(Object* item, int32_t offset, String shortcut);
String RuntimeMenuItemCommandKeyGetter(Object* item, int32_t offset);
void RuntimeMenuItemEnabledSetter(Object* item, int32_t offset, bool enabled);
bool RuntimeMenuItemEnabledGetter(Object* item, int32_t offset);
// AddMenu (slot 0): appends `item` after the parent's children; the parent keeps it.
void RuntimeMenuItemAppend(Object* parent, Object* item);
// Child (slot 3): the parent's direct child named `name` (a new reference), or nil.
Ref<Object> RuntimeMenuItemChild(Object* parent, String name);
// _Lookup (slot 26): the item named `name` at any depth below `item` (a new reference), or nil.
Ref<Object> RuntimeMenuItemLookup(Object* item, String name);
// Count and Item: the direct children.
int64_t RuntimeMenuItemCount(Object* item);
Ref<Object> RuntimeMenuItemAt(Object* item, int64_t index);
