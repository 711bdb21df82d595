// The runtime's life: start, the initialiser table, the exception hook, the unhandled-
// exception report, finalisers and exit; the main thread; the call trace.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "object.h"
#include "ref.h"

// Readies the runtime: records the main thread and keeps the process arguments as main
// received them. `argv` must live as long as the process (main's own does).
void RuntimeInit(int argc, char** argv);
// The process arguments that RuntimeInit kept, for the toolkit's platform layer: the count
// lives as long as the process, so it can be handed on by reference, and the platform may
// take its own options out of both. Before RuntimeInit: no arguments.
int& RuntimeArgumentCount();
char** RuntimeArgumentVector();

// One entry of the initialiser table: a class registration or a module variable's initial
// value. The framework's entries come first, then the program's, each run once in order.
struct Initializer {
    const char* name;
    void (*function)();
};
void RuntimePerformInitializers(std::span<const Initializer> table);
// Names of the entries run so far, in order.
const std::vector<std::string>& RuntimeInitializersRun();

// The runtime version the program is built against.
void RuntimeSetVersion(double version);
double RuntimeVersion();

// The exception hook, "( Ptr, Ptr ) as Object": runs function(argument) and returns a raised
// RuntimeException (a new reference) or nil; anything else stays pending.
using ExceptionHelper = Ref<Object> (*)(void* function, void* argument);
void RuntimeSetExceptionHelper(GenericFn helper);
void under_RuntimeSetExceptionHelper(GenericFn helper);
bool RuntimeHasExceptionHelper();
// Runs program code through the hook (directly, with the same contract, when none is set).
Ref<Object> RuntimeCallThroughExceptionHelper(void (*function)(void*), void* argument);

// Reports an exception that nobody handled. The toolkit installs the report it shows; the
// runtime's own writes the class and message to standard error. Either way the exit status
// becomes non-zero: a failure never ends with status 0.
void RuntimeUnhandledException(Object* exception);
void under_UnhandledException(Object* exception);
void RuntimeSetUnhandledExceptionReporter(void (*reporter)(Object* exception));
int64_t RuntimeUnhandledExceptionCount();

// Finalisers run once, last added first.
void RuntimeAddFinalizer(void (*finalizer)());
void RuntimePerformFinalizers();

// The exit status: what Quit set, or 1 after an unhandled exception.
void RuntimeSetExitStatus(int status);
int RuntimeExit();

// Threads: user-interface operations refuse any thread but the main one.
bool RuntimeIsMainThread();
void under_UITrap();  // raises ThreadAccessingUIException off the main thread

// The call trace: an ordered record of framework calls where order matters, for tests.
void RuntimeTraceEnable(bool on);
bool RuntimeTraceEnabled();
void RuntimeTrace(std::string_view entry);
std::vector<std::string> RuntimeTraceLog();
void RuntimeTraceClear();

// Restores the runtime's process state to that after RuntimeInit (for tests that start
// the program several times in one process): exit status, hook, reports, finalisers, trace.
void RuntimeResetForTesting();
