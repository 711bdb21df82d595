// The program's start-up and shut-down: from the process entry through the start-up driver,
// the early and late start-up and the event loop to the finalisers and the exit status.
// Everything runs on the main thread.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "framework/toolkit/toolkit.h"

// The process's steps: RuntimeInit (which keeps argc and argv), the initialiser table, _Main,
// the finalisers; returns RuntimeExit's status. The finalisers and the exit always run, also
// when the start-up fails (where no display can be reached, for one).
int RunProgram(int argc, char** argv);

// The initialiser table: the framework's entries, then the program's eight.
std::span<const Initializer> ProgramInitializers();

// The start-up driver: installs the exception hook, declares the runtime version, runs the
// early start-up, lets the framework initialise (which calls back _LateStartup) and runs the
// event loop. An exception from any step skips the rest and is reported once.
void under_Main();
// HiDPI, external classes, plug-ins, file types, the application object, menu handlers.
void under_EarlyStartup();
void under_InitFileTypes();
// Creates the App object, gives it its version data and menu bar, and registers it.
void under_NewAppInstance();
// Application-level menu handlers: there are none.
void under_ApplicationAddMenuHandlers();
// Called back once by the framework after its initialisation: opens the first window.
void under_LateStartup();
void under_MakeDefaultView();

// The exception hook, "( Ptr, Ptr ) as Object": runs function(argument). Nil when it
// completes; a raised RuntimeException (or subclass) is returned with a reference for the
// caller and nothing stays pending; any other raised object stays pending.
Ref<Object> under_CallFunctionWithExceptionHandling(void* function, void* argument);

// The version data given to the application object.
struct VersionData {
    int64_t major, minor, bug, nonRelease, stage;
    std::string_view longVersion, shortVersion, packageInfo;
};
extern const VersionData kVersionData;
inline constexpr double kRuntimeVersion = 2019.031;
