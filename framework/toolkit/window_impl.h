// What the parts of Window share: the C++ state of one framework window, the instance
// fields of the class, and the operations its widget and its property accessors call.
#pragma once

#include <QPointer>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "framework/runtime/runtime.h"
#include "framework/toolkit/menu_handlers.h"

class WindowWidget;

// Window's instance fields, at their offsets from the object reference. Values that Qt
// keeps for us are not stored here; their properties are computed.
namespace window_field {
constexpr int32_t kImpl = -8;               // WindowImpl*, made by __Init, freed by __Exit
constexpr int32_t kMacProcId = -16;         // Integer
constexpr int32_t kDefaultLocation = -24;   // Integer (Window.Locations), read at first show
constexpr int32_t kName = -32;              // String
constexpr int32_t kComposite = -33;         // Boolean
constexpr int32_t kLiveResize = -34;        // Boolean
constexpr int32_t kImplicitInstance = -35;  // Boolean
constexpr int32_t kSystemUIVisible = -36;   // Boolean
constexpr int32_t kMetal = -37;             // Boolean
constexpr int32_t kEraseBackground = -38;   // Boolean
constexpr uint32_t kInstanceDataSize = 216;
}  // namespace window_field

// Window.Types: the frame a window gets.
enum WindowType : int64_t {
    kDocumentWindow = 0,
    kMovableModalWindow = 1,
    kPlainBoxWindow = 2,  // frameless: no title, no buttons
    kFloatingWindow = 3,
    kPlainBoxWindow2 = 4,
    kShadowedBoxWindow = 5,
    kRoundedWindow = 6,
    kGlobalFloatingWindow = 7,
    kSheetWindow = 8,
    kMetalWindow = 9,
    kModelessDialogWindow = 10,
};

// Window.Locations: where a window goes when it is first shown.
enum WindowLocation : int64_t {
    kCenterOnMainScreen = 0,
    kSystemDefaultLocation = 1,
    kCenterOnParentWindow = 2,
    kCenterOnParentScreen = 3,
    kStaggered = 4,
};

struct NamedControl {
    std::string name;
    Ref<Object> control;
};

struct WindowImpl {
    Object* self = nullptr;                 // the window; it owns this state
    QPointer<WindowWidget> widget;          // the top-level widget, made on first use
    Ref<Object> menuBar;                    // the MenuBar shown at the window's top, or nil
    std::vector<NamedControl> controls;     // in the order they were added
    MenuHandlers menuHandlers;              // bound by _AddMenuHandler

    // The frame and the content size as the properties set them.
    int64_t type = kDocumentWindow;
    bool hasCloseButton = true;
    bool hasMinimizeButton = true;
    bool hasMaximizeButton = true;
    bool hasFullScreenButton = false;
    bool alwaysOnTop = false;
    bool hasShadow = true;
    bool resizeable = true;
    int64_t width = 600, height = 400;
    int64_t minimumWidth = 64, minimumHeight = 64;
    int64_t maximumWidth = 32000, maximumHeight = 32000;
    bool hasBackgroundColor = false;
    Color backgroundColor{255, 255, 255, 0};
    bool menuBarVisible = true;
    bool fullScreen = false;
    bool visible = true;  // during construction: whether to show the window at its end
    bool placed = false;  // positioned by Left/Top or by its first show

    // Life: built → constructing → constructed → closing → closed.
    bool constructing = false;
    bool constructed = false;
    bool closing = false;
    bool closed = false;
    bool mouseDownTaken = false;  // the last MouseDown returned True: MouseUp follows
};

// The state of `window`, or nil when it is nil or no Window. Every operation on a window
// reaches its state through this or RequireWindowImpl, and both raise
// ThreadAccessingUIException off the main thread.
WindowImpl* WindowImplOf(Object* window);
// The same; raises NilObjectException for nil and IllegalCastException for no Window.
WindowImpl& RequireWindowImpl(Object* window);
// The window's widget, made (with its content area) on first use.
WindowWidget& EnsureWindowWidget(WindowImpl& impl);
// The widget of a window that the program operates on, made on first use; raises what
// RequireWindowImpl raises.
WindowWidget& WidgetOf(Object* window);

// Bring the widget in line with the state.
void ApplyWindowFlags(WindowImpl& impl);
void ApplyWindowGeometry(WindowImpl& impl);
void ApplyWindowBackground(WindowImpl& impl);
void ApplyWindowMenuBar(WindowImpl& impl);
// ApplyWindowMenuBar for every open window: after the application's bar changed.
void ApplyAllWindowMenuBars();
// Shows the widget (placed on its first show, full screen when asked); `activate` also
// brings it to the front and makes it active.
void ShowWindowWidget(WindowImpl& impl, bool activate);
// Show, Hide and Visible: the widget is shown (as ShowWindowWidget) or hidden and the window
// moves in the registry; before the window's construction ends, only whether it will show
// is noted. A closed window stays as it is.
void ShowOrHideWindow(Object* window, bool shown, bool activate);

// The registry of open windows, frontmost first.
void WindowRegistryMoveToFront(Object* window);
void WindowRegistryMoveBehindShown(Object* window);
// Closes `window` as the user or the program asks: CancelClose (with `appQuitting`), then
// Close, then it leaves the registry. False when CancelClose kept it open. Raises what a
// handler raises.
bool CloseWindow(Object* window, bool appQuitting);

// Window's 60 property entries, in table order.
std::span<const PropertyRow> WindowPropertyRows();
// Closes every open window without events and drops the framework's references; the
// widgets go with the next deferred deletion (the finaliser and test resets run it).
void ReleaseAllWindows();
