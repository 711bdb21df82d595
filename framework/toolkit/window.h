// Windows: the framework class Window (37 virtual slots, 41 method entries, 34 events,
// 60 property entries, 216 bytes of instance data) and the operations on windows.
#pragma once

#include <cstdint>

#include "framework/runtime/runtime.h"

struct Window {
    static ClassRecord* dunder_Lookup();
    static void dunder_ctblinit();

    // Virtual slots the program calls.
    static constexpr uint32_t kCloseSlot = 6;
    static constexpr uint32_t kConstructorSlot = 7;
    static constexpr uint32_t kHideSlot = 13;
    static constexpr uint32_t kShowSlot = 23;
    static constexpr uint32_t kAddControlSlot = 30;      // "%%so<Object>"
    static constexpr uint32_t kAddMenuHandlerSlot = 31;  // "%%sp"
    static constexpr uint32_t kControlByNameSlot = 32;   // "%o<Object>%s"
    static constexpr uint32_t kControlByNameIndexSlot = 33;
    static constexpr uint32_t kNewSlot = 36;             // "%o<Object>%p"
    static constexpr uint32_t kSlotCount = 37;
    static constexpr uint32_t kMethodCount = 41;
    static constexpr uint32_t kEventCount = 34;
    static constexpr uint32_t kPropertyCount = 60;
    static constexpr uint32_t kInstanceDataSize = 216;

    // Events, at their indexes. Handler shapes (the window first):
    //   AddMenuHandlers void(Object* self, Object* window); KeyDown bool(self, String key);
    //   MouseDown bool(self, int64_t x, int64_t y); MouseUp void(self, int64_t x, int64_t y);
    //   CancelClose bool(self, bool appQuitting); the rest void(self).
    enum Event : uint32_t {
        kActivate = 0,
        kAddMenuHandlers = 1,
        kCancelClose = 2,
        kClose = 3,
        kConstructContextualMenu = 4,
        kContentsChanged = 5,
        kContextualMenuAction = 6,
        kCreateControls = 7,
        kDeactivate = 8,
        kDragEnter = 9,
        kDragExit = 10,
        kDragOver = 11,
        kDropObject = 12,
        kEnableMenuItems = 13,
        kKeyDown = 14,
        kKeyUp = 15,
        kLayout = 16,
        kMaximize = 17,
        kMinimize = 18,
        kMouseDown = 19,
        kMouseDrag = 20,
        kMouseEnter = 21,
        kMouseExit = 22,
        kMouseMove = 23,
        kMouseUp = 24,
        kMouseWheel = 25,
        kMoved = 26,
        kOpen = 27,
        kPaint = 28,
        kResized = 29,
        kResizing = 30,
        kRestore = 31,
        kScaleFactorChanged = 32,
        kSetupBindings = 33,
    };
};

// Window's Constructor (slot 7): registers the window under its class's qualified name,
// raises Layout and CreateControls, then AddMenuHandlers, raises Open and shows the window
// when its Visible property is True (Activate follows when it becomes active).
void WindowDefaultConstructor(Object* window);
// Show (slot 23) also brings the window to the front; Hide (slot 13). Neither closes it.
void RuntimeShowWindow(Object* window);
void RuntimeHideWindow(Object* window);
// Close (slot 6): raises CancelClose and Close; a closed window is no longer found by name.
void RuntimeCloseWindow(Object* window);
// __New (slot 36): a new, not yet constructed control of class `classRecord` that belongs
// to `window`; a new reference.
Ref<Object> WindowAllocateObject(Object* window, void* classRecord);
// _AddControl (slot 30): the window holds `control` under `name` from now on.
void WindowAddControl(Object* window, String name, Object* control);
// _ControlByName (slot 32): the control added under `name` (a new reference), or nil.
Ref<Object> RuntimeControlReference(Object* window, String name);
// The functions behind the entries _GetControl and _GetControlArray.
Ref<Object> RuntimeWindowControlByName(Object* window, String name);
Ref<Object> RuntimeWindowControlByNameIndex(Object* window, String name, int64_t index);
// _AddMenuHandler (slot 31): choosing the menu item named `itemName` while this window
// handles menu commands runs `method` (bool (*)(Object* window)) on the window.
void WindowAddMenuHandler(Object* window, String itemName, void* method);
// The MenuBar property of Window.
void WindowMenuBarSetter(Object* window, int32_t offset, Object* menuBar);
Ref<Object> WindowMenuBarGetter(Object* window, int32_t offset);
// _GetImplicitWindow: the open window registered under `qualifiedClassName` (a new
// reference), shown or hidden, or nil.
Ref<Object> RuntimeGetImplicitWindow(String qualifiedClassName);
Ref<Object> under_GetImplicitWindow(String qualifiedClassName);
// The open windows, frontmost first (Application.WindowCount and Application.Window).
int64_t RuntimeWindowCount();
Ref<Object> RuntimeWindowAt(int64_t index);
// Whether the window is on screen now.
bool RuntimeWindowVisible(Object* window);
