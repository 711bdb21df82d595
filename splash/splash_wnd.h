// The splash and About window: class SplashWnd.SplashWnd (module SplashWnd), a Window. It
// shows the picture corvane2 above the credit line; its timer hides it after 4000 ms and
// brings up the conversion window; a press or a key hides it earlier.
#pragma once

#include <cstdint>
#include <span>

#include "framework/toolkit/toolkit.h"
#include "shell/window_design/controls.h"

namespace SplashWnd {

// Class SplashWnd.SplashWnd: Window's 37 slots unchanged, then nine of its own.
struct SplashWnd {
    static void dunder_ctblinit();
    static ClassRecord* dunder_Lookup();

    static constexpr uint32_t kLayoutSlot = 37;
    static constexpr uint32_t kCreateControlsSlot = 38;
    static constexpr uint32_t kCreateControls0Slot = 39;
    static constexpr uint32_t kStaticText2Slot = 40;
    static constexpr uint32_t kCanvas1Slot = 41;
    static constexpr uint32_t kTimer1Slot = 42;
    static constexpr uint32_t kTimer1ActionSlot = 43;
    static constexpr uint32_t kMouseDownSlot = 44;
    static constexpr uint32_t kKeyDownSlot = 45;
    static constexpr uint32_t kSlotCount = 46;

    // Layout (event Layout): applies the window's own design record.
    static void Layout(Object* self);
    // CreateControls (event CreateControls): calls _CreateControls0 through slot 39.
    static void CreateControls(Object* self);
    // _CreateControls0: the credit line, the picture band and the timer, from ControlDesigns.
    static void under_CreateControls0(Object* self);
    // Timer1's Action: hides the splash window and shows the conversion window.
    static void Timer1_Action(Object* self, Object* timer);
    // A press or a key hides the splash window; both report the event as not handled.
    static bool Event_MouseDown(Object* self, int64_t x, int64_t y);
    static bool Event_KeyDown(Object* self, String key);
    static bool IsEventImplemented(Object* self, String eventName);
};

// The implicit-instance accessor SplashWnd.SplashWnd: the splash window, created (and
// shown) when there is none; a new reference for the caller.
Ref<Object> SplashWnd();

// The design records (property records) of the window and its three controls.
String WindowRecord();
String StaticText2Record();
String Canvas1Record();
String Timer1Record();
// The three controls, in creation order.
std::span<const Design::ControlDesign> ControlDesigns();

}  // namespace SplashWnd
