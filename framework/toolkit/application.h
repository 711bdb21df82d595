// The application object, the start-up services around it, and the event loop.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "framework/runtime/runtime.h"

// The framework class Application: 18 virtual slots, 23 method entries, 11 events,
// 34 property entries, instance data 96 bytes. The version values live in hidden stored
// properties named with the prefix "_x_m" (_x_mMajorVersion … _x_mPackageInfo).
struct Application {
    static ClassRecord* dunder_Lookup();
    static void dunder_ctblinit();

    // Virtual slots the program calls.
    static constexpr uint32_t kSetVersionDataSlot = 17;  // _x_SetVersionData "%%i8i8i8i8i8sss"

    // Events, at their indexes.
    enum Event : uint32_t {
        kActivate = 0,
        kAppearanceChanged = 1,
        kCancelClose = 2,
        kClose = 3,
        kDeactivate = 4,
        kEnableMenuItems = 5,
        kHandleAppleEvent = 6,
        kNewDocument = 7,
        kOpen = 8,
        kOpenDocument = 9,
        kUnhandledException = 10,
    };

    // _x_SetVersionData(self, major, minor, bug, nonRelease, stage, long, short, package).
    static void _x_SetVersionData(Object* self, int64_t major, int64_t minor, int64_t bug,
                                  int64_t nonRelease, int64_t stage, String longVersion,
                                  String shortVersion, String packageInfo);
    // Shared: switches high-resolution drawing on or off; needs no application object.
    static void under_SetSupportsHiDPI(bool on);
    // The method form of the exception handling: runs function(); EndException and
    // ThreadEndException end quietly, another RuntimeException goes to the UnhandledException
    // event and then to the framework's report; anything else stays pending.
    static void under_CallFunctionWithExceptionHandling(Object* self, void* function);
    // The interface method of _MacOSDistributedNotifications.iNotify: a change of the
    // platform's colour theme puts the current appearance in force and raises AppearanceChanged.
    static void under_MacOSNotificationReceived(Object* self, String name, void* a, void* b);
};

// The interface through which the platform's distributed notifications reach the application.
namespace under_MacOSDistributedNotifications {
struct iNotify {
    static ClassRecord* dunder_Lookup();
    static void dunder_ctblinit();
};
}  // namespace under_MacOSDistributedNotifications

// ---- imports of the start-up --------------------------------------------------------

void ApplicationSetSupportsHiDPI(bool on);
// The MenuBar property of Application (getter and setter of the property entry).
void AppMenuBarSetter(Object* app, int32_t offset, Object* menuBar);
Ref<Object> AppMenuBarGetter(Object* app, int32_t offset);
// Makes `app` the framework's application object; the framework keeps it alive.
void RuntimeRegisterAppObject(Object* app);
void under_RuntimeRegisterAppObject(Object* app);
// The registered application object (a new reference), or nil.
Ref<Object> RuntimeApplicationObject();
// Readies the framework classes that the runtime itself instantiates.
void RuntimeInitExternalClasses();
void under_RuntimeInitExternalClasses();
// Plug-ins: there are none, so both find nothing.
void InitPluginEntrypoints();
void ResolvePluginClasses();
void under_InitPluginEntrypoints();  // both, in that order
// Initialises the framework (the Qt application) and calls `lateStartup` (a function
// without arguments) once, through the exception hook.
void RunFrameworkInitialization(GenericFn lateStartup);
void under_RunFrameworkInitialization(GenericFn lateStartup);
// Runs the event loop until the application quits.
void RuntimeRun();
void under_RuntimeRun();
// Quit: ends the event loop; `code` becomes the exit status of RuntimeExit.
void RuntimeApplicationQuit(int64_t code);
// The File menu's quit command.
void QuitMenuAction();

// The framework's own initialiser-table entries (class registrations), in case-insensitive
// name order; the program's entries follow them.
std::span<const Initializer> FrameworkInitializers();

// Whether a display can be reached by the platform that Qt will choose given the process
// arguments `argc` and `argv` (as QApplication is given them) and the environment. When none
// can, `why` says so in one line.
bool ToolkitDisplayAvailable(int argc, char* const* argv, std::string* why);
// Creates the Qt application if there is none yet (tests may create their own first).
void ToolkitEnsureApplication();
