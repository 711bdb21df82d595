// The runtime's life: start, the initialiser table, the exception hook, the unhandled-
// exception report, finalisers and exit; the main thread.
#pragma once

#include <cstdint>
#include <span>

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

// The runtime version the program is built against.
void RuntimeSetVersion(double version);
double RuntimeVersion();

// The exception hook, "( Ptr, Ptr ) as Object": runs function(argument) and returns a raised
// RuntimeException (a new reference) or nil; anything else stays pending. The program's
// start-up installs it; the runtime has no hook of its own.
using ExceptionHelper = Ref<Object> (*)(void* function, void* argument);
void RuntimeSetExceptionHelper(GenericFn helper);
void under_RuntimeSetExceptionHelper(GenericFn helper);
// Runs program code through the installed hook and returns what the hook returns. With no
// hook installed the code does not run: FunctionNotFoundException is raised instead.
Ref<Object> RuntimeCallThroughExceptionHelper(void (*function)(void*), void* argument);

// Reports an exception that nobody handled. The toolkit installs the report it shows; the
// runtime's own writes the class and message to standard error. Either way the exit status
// becomes non-zero: a failure never ends with status 0.
void RuntimeUnhandledException(Object* exception);
void under_UnhandledException(Object* exception);
void RuntimeSetUnhandledExceptionReporter(void (*reporter)(Object* exception));
// The runtime's own report: one line on standard error with the exception's class and message.
// An installed reporter that cannot show its report falls back on it.
void RuntimeReportToStandardError(Object* exception);

// Finalisers run once, last added first.
void RuntimeAddFinalizer(void (*finalizer)());
void RuntimePerformFinalizers();

// The exit status: what Quit set, or 1 after an unhandled exception.
void RuntimeSetExitStatus(int status);
int RuntimeExit();

// Threads: user-interface operations refuse any thread but the main one.
bool RuntimeIsMainThread();
void under_UITrap();  // raises ThreadAccessingUIException off the main thread
