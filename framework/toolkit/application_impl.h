// What the parts of Application share: the instance fields of the class, the state an
// application object keeps beyond them and the one accessor to it, the property rows, and
// what the class, the start-up services, the Qt application and the report ask of each other.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "framework/runtime/runtime.h"
#include "framework/toolkit/menu_handlers.h"

// Application's instance fields, at their offsets from the object reference.
namespace app_field {
constexpr int32_t kMajorVersion = -8;
constexpr int32_t kMinorVersion = -16;
constexpr int32_t kBugVersion = -24;
constexpr int32_t kNonReleaseVersion = -32;
constexpr int32_t kStageCode = -40;
constexpr int32_t kRegionCode = -48;
constexpr int32_t kLongVersion = -56;   // String
constexpr int32_t kShortVersion = -64;  // String
constexpr int32_t kPackageInfo = -72;   // String
constexpr int32_t kMenuBar = -80;       // the MenuBar object, retained
constexpr int32_t kState = -88;         // ApplicationState*, made by __Init, freed by __Exit
constexpr uint32_t kInstanceDataSize = 96;
}  // namespace app_field

// The notifications that tell of a change of the platform's colour theme.
constexpr std::string_view kThemeChanged = "AppleInterfaceThemeChangedNotification";
constexpr std::string_view kColorPreferencesChanged = "AppleColorPreferencesChangedNotification";

// What an application object keeps beyond its fields.
struct ApplicationState {
    MenuHandlers menuHandlers;  // bound by _AddMenuHandler
    bool allowAutoQuit = false;
};

// ---- application.cpp ----------------------------------------------------------------------
// Every operation on an application object reaches its state and menu bar through here, so
// the user-interface thread is checked here, once for all of them. Raises NilObjectException
// for nil and IllegalCastException for an object that is no Application. Only the version
// data (plain fields, which the runtime's generic accessors reach from any thread), the
// thread operations SleepCurrentThread and YieldToNextThread, and the operations this
// framework lacks do without it.
ApplicationState& AppState(Object* app);

// ---- application_properties.cpp -----------------------------------------------------------
// Application's 34 property rows, in table order.
std::span<const PropertyRow> ApplicationPropertyRows();

// ---- startup_imports.cpp ------------------------------------------------------------------
// Lets go of the registered application object (the end of the toolkit, or a test's reset).
void ToolkitForgetApplicationObject();

// ---- qt_application.cpp -------------------------------------------------------------------
// Registers the toolkit's finaliser, once: it releases the windows and the application
// object and ends the Qt application, after the finalisers the program adds later.
void ToolkitRegisterFinalizer();
// Whether high-resolution drawing is on (_SetSupportsHiDPI).
bool ToolkitSupportsHiDPI();

// ---- unhandled_exception_report.cpp -------------------------------------------------------
// The framework's report of an exception nobody handled (the runtime's reporter).
void ToolkitReportUnhandledException(Object* exception);
