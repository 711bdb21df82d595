// What the toolkit's window and program-code parts need of its application part.
#pragma once

#include "framework/runtime/runtime.h"

// Ends the event loop with the exit status as it stands; when the loop is not running,
// RuntimeRun returns at once instead of entering it.
void ToolkitEndEventLoop();
// Whether the application quits once its last visible window has closed (AllowAutoQuit).
bool ToolkitApplicationAutoQuits();
// The application's UnhandledException event for `exception`: True when a handler took it.
// A handler that raises has its own exception reported and takes nothing.
bool ToolkitApplicationHandlesException(Object* app, Object* exception);
