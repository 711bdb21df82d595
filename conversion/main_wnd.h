// The conversion window: class MainWnd.MainWnd (module MainWnd, class MainWnd), a Window.
#pragma once

#include <cstdint>

#include "framework/toolkit/toolkit.h"

namespace MainWnd {

// Class MainWnd.MainWnd.
struct MainWnd {
    static void dunder_ctblinit();
    static ClassRecord* dunder_Lookup();

    // The name the class is registered and its implicit instance is found under.
    static constexpr const char* kQualifiedName = "MainWnd.MainWnd";

    // Record shape: Window's 37 slots, 41 entries, 34 events and 60 properties, then ours.
    static constexpr uint32_t kSlotCount = 80;
    static constexpr uint32_t kMethodCount = 85;
    static constexpr uint32_t kEventCount = 34;
    static constexpr uint32_t kPropertyCount = 62;
    static constexpr uint32_t kInstanceDataSize = 232;

    // Own Double fields, next to Window's 216 bytes: z first, then r.
    static constexpr int32_t kZOffset = -224;
    static constexpr int32_t kROffset = -232;

    // Own virtual slots, in declaration order.
    enum Slot : uint32_t {
        // set-up
        kLayoutSlot = 37,
        kCreateControlsSlot = 38,
        kCreateControls0Slot = 39,
        // control accessors, in creation order
        kREditSlot = 40,
        kCanvas2Slot = 41,
        kStaticText1Slot = 42,
        kCalcBtnSlot = 43,
        kClearBtnSlot = 44,
        kZEditSlot = 45,
        kLabel1Slot = 46,
        kLabel2Slot = 47,
        kCanvas1Slot = 48,
        kDescribeTxtSlot = 49,
        kQBtnSlot = 50,
        // control event handlers, in the same control order
        kREditKeyDownSlot = 51,
        kCalcBtnActionSlot = 52,
        kClearBtnActionSlot = 53,
        kZEditKeyDownSlot = 54,
        kQBtnActionSlot = 55,
        kQBtnMouseDownSlot = 56,
        // menu-item accessors: top-level menus last to first, each followed by its items
        // last to first
        kUntitledMenu3Slot = 57,
        kUntitledMenu0Slot = 58,
        kUntitledMenu4Slot = 59,
        kAboutSlot = 60,
        kUntitledMenu5Slot = 61,
        kEditClearSlot = 62,
        kEditPasteSlot = 63,
        kEditCopySlot = 64,
        kEditCutSlot = 65,
        kUntitledMenu1Slot = 66,
        kEditUndoSlot = 67,
        kUntitledMenu2Slot = 68,
        kUntitledMenu6Slot = 69,
        kFileQuitSlot = 70,
        kAppleSlot = 71,
        // window event handlers
        kAddMenuHandlersSlot = 72,
        kEventCloseSlot = 73,
        kEventActivateSlot = 74,
        kEventMouseUpSlot = 75,
        kEventMouseDownSlot = 76,
        kEventOpenSlot = 77,
        kEventEnableMenuItemsSlot = 78,
        // menu handler
        kAboutActionSlot = 79,
    };

    // Set-up (Layout and CreateControls events).
    static void Layout(Object* self);
    static void CreateControls(Object* self);
    static void under_CreateControls0(Object* self);

    // Control event handlers; the control that raised the event comes first.
    static bool rEdit_KeyDown(Object* self, Object* field, String key);
    static void CalcBtn_Action(Object* self, Object* button);
    static void ClearBtn_Action(Object* self, Object* button);
    static bool zEdit_KeyDown(Object* self, Object* field, String key);
    static void qBtn_Action(Object* self, Object* button);
    static bool qBtn_MouseDown(Object* self, Object* button, int64_t x, int64_t y);

    // Window event handlers.
    static void AddMenuHandlers(Object* self, Object* window);
    static void Event_Close(Object* self);
    static void Event_Activate(Object* self);
    static void Event_MouseUp(Object* self, int64_t x, int64_t y);
    static bool Event_MouseDown(Object* self, int64_t x, int64_t y);
    static void Event_Open(Object* self);
    static void Event_EnableMenuItems(Object* self);

    // The About command, bound by item name.
    static bool under_About_Action(Object* self);

    // Whether this user class handles the named event.
    static bool IsEventImplemented(Object* self, String eventName);
};

// The implicit-instance accessor MainWnd.MainWnd: the open conversion window, created (and
// shown) when there is none; a new reference for the caller.
Ref<Object> MainWnd();

}  // namespace MainWnd
