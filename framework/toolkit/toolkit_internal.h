// What the toolkit's parts need of one another. Not for the program: the program reaches
// the toolkit only through the public headers.
#pragma once

#include <string_view>

#include "framework/runtime/call_trace.h"
#include "framework/runtime/runtime.h"

class QWidget;
class QMenuBar;
class QAction;

// ---- names ------------------------------------------------------------------------------
// The one rule for the names a program gives its controls and menu items, by which it finds
// them and binds menu handlers: a name matches only itself, case included. (The names of
// methods and properties, the classes' own vocabulary, compare without regard to case.)
inline bool ToolkitSameObjectName(std::string_view a, std::string_view b) {
    return a == b;
}

// ---- windows (window.cpp) ---------------------------------------------------------------
// The widget that holds a framework window's controls, or nil: the window's content area,
// below its menu bar, so that design coordinates count from its top-left corner.
QWidget* ToolkitWindowWidget(Object* window);
// The framework window of a widget (the widget itself or one of its ancestors), or nil.
Object* ToolkitWindowOfWidget(QWidget* widget);
// The window that handles menu commands now: the active window, else the frontmost shown.
Object* ToolkitMenuCommandWindow();
// The method bound to menu item `itemName` on `window` with _AddMenuHandler, or nil.
GenericFn ToolkitWindowMenuHandler(Object* window, const String& itemName);
// Raises the window's EnableMenuItems event.
void ToolkitRaiseEnableMenuItems(Object* window);

// ---- the application (qt_application.cpp, application.cpp) -------------------------------
// Whether a QApplication (more than a core application) exists, so that widgets may be made.
bool ToolkitHaveWidgetsApplication();
// The method bound to menu item `itemName` with Application._AddMenuHandler
// (bool (*)(Object* app)), or nil.
GenericFn ToolkitApplicationMenuHandler(const String& itemName);

// ---- controls (controls, control.cpp) ---------------------------------------------------
// Makes `window` the owner of a freshly allocated control (before its constructor runs).
void ToolkitSetControlOwner(Object* control, Object* window);
// Called by _AddControl: the control's widget joins the window and its Name is set.
void ToolkitControlAdded(Object* control, Object* window, const String& name);
// The window that owns a control (borrowed), or nil.
Object* ToolkitControlOwner(Object* control);

// ---- menus (menu_item.cpp) --------------------------------------------------------------
// Puts `menuBar`'s top-level items into `host` (or none, for nil): a QMenuBar shows them; a
// window's own widget holds them unseen, so that their key equivalents work in that window.
void ToolkitInstallMenuBar(QWidget* host, Object* menuBar);
// Enables and greys the bar's items as their AutoEnabled state asks, for `window`.
void ToolkitAutoEnableMenus(Object* menuBar, Object* window);
