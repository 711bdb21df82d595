// What the menu files share: MenuItem's field layout, the C++ state behind an item, and the
// functions by which the item tree, the menu bar and the command dispatch reach one another.
#pragma once

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QPointer>
#include <cstdint>
#include <string_view>
#include <vector>

#include "framework/runtime/runtime.h"

class QKeyEvent;

// clang-format off
// MenuItem's instance fields (40 bytes); MenuBar adds one pointer after them (48 bytes).
namespace menu_field {
constexpr int32_t kImp = -8;                     // MenuItemState*
constexpr int32_t kName = -16;                   // String
constexpr int32_t kValue = -24;                  // String: the caption
constexpr int32_t kShortcut = -32;               // String: the shortcut as written
constexpr int32_t kAutoEnabled = -33;            // bool
constexpr int32_t kEnabled = -34;                // bool
constexpr int32_t kVisible = -35;                // bool
constexpr int32_t kChecked = -36;                // bool
constexpr int32_t kMacControlKey = -37;          // bool: Control with the shortcut on macOS
constexpr int32_t kMacOptionKey = -38;           // bool: Option with the shortcut on macOS
constexpr int32_t kPCAltKey = -39;               // bool: Alt with the shortcut elsewhere
constexpr int32_t kAlternateMenuModifier = -40;  // bool: Shift with the shortcut
constexpr uint32_t kItemSize = 40;
constexpr int32_t kBarState = -48;  // MenuBarState*
constexpr uint32_t kBarSize = 48;
}  // namespace menu_field
// clang-format on

// The C++ side of one item. It lives exactly as long as its object.
struct MenuItemState {
    Object* self;                       // borrowed: the object this state belongs to
    Object* parent = nullptr;           // borrowed: the parent holds this item
    std::vector<Ref<Object>> children;  // held: the parent keeps its items
    QPointer<QAction> action;           // the item in every Qt menu; made on the main thread
    QPointer<QMenu> menu;               // the item's submenu, while it has children
    Ref<Object> icon;                   // a Picture, or nil
    String tooltip;
    Variant tag;
    bool menuModifier = true;  // a bare shortcut key takes the menu modifier
};

// The state of an item; raises ThreadAccessingUIException off the main thread and
// NilObjectException for nil.
MenuItemState& MenuState(Object* item);
// Whether `object` is a MenuItem (of any subclass).
bool IsMenuItem(Object* object);
bool IsMenuBar(Object* object);

// The item's QAction, made (with its submenu and its children's actions) on first need;
// nil while there is no Qt application or off the main thread.
QAction* MenuItemAction(Object* item);
// The item at the top of `item`'s tree (the bar it belongs to, or the item itself).
Object* MenuItemRoot(Object* item);
// The items below `item`, depth first, parents before their children.
std::vector<Object*> MenuItemDescendants(Object* item);
// The item's name and whether it is enabled.
String MenuItemName(Object* item);
// Sets Enabled as its setter does.
void MenuItemApplyEnabled(Object* item, bool enabled);

// ---- menu_bar.cpp -----------------------------------------------------------------------
// The bar's top-level items changed: every Qt menu bar that shows it is filled anew.
void MenuBarChildrenChanged(Object* bar);
// A menu of `item` is about to open: enable its items for the window that gets the command.
void MenuAboutToShow(Object* item);
// The bar object is going: forget it.
void MenuBarForget(Object* bar);

// ---- menu_command.cpp -------------------------------------------------------------------
// The user chose `item`.
void MenuItemCommand(Object* item);
// Whether choosing `item` now would do something, with `window` handling menu commands.
bool MenuItemWouldAct(Object* item, Object* window);
// Follows the focus, so that the Edit commands reach the field a menu bar took it from.
void MenuCommandsFollowFocus();

// ---- menu_shortcut.cpp ------------------------------------------------------------------
struct ShortcutModifiers {
    bool menuModifier = true;  // a bare key takes Cmd (Ctrl outside macOS)
    bool alternate = false;    // Shift
    bool macOption = false;    // Option, on macOS only
    bool macControl = false;   // Control, on macOS only
    bool pcAlt = false;        // Alt, outside macOS only
};
// The key sequence of a shortcut written as the framework writes it ("Cmd+Q", "Q",
// "Cmd+Shift+Z", "F5"); empty for the empty text or one that names no key.
QKeySequence MenuShortcutSequence(std::string_view text, const ShortcutModifiers& modifiers);
// Whether the key is the shortcut of a visible item of a menu bar in `receiver`'s window.
bool KeyChoosesMenuItem(const QKeyEvent& event, const QWidget* receiver);
