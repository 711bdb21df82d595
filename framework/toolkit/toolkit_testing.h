// The toolkit's test seams: what a test hears and answers of the toolkit as a person would
// (beeps counted, message boxes recorded and answered), where it points the toolkit instead
// of the installed resources, and how it puts the toolkit back between runs. No production
// path calls them and no production header declares them; only the files that implement them
// include this header besides the tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "framework/runtime/runtime_testing.h"

// Undoes what a run left behind (windows, application object, a pending quit), for tests
// that start the program several times in one process.
void ToolkitResetForTesting();

// Beeps since the last reset.
int64_t ToolkitBeepCount();
void ToolkitResetBeepCount();

// While recording, message boxes are recorded instead of shown, and answered at once.
void ToolkitRecordMessageBoxes(bool on);
std::vector<std::string> ToolkitMessageBoxes();
void ToolkitClearMessageBoxes();

// Points the resource folder elsewhere; the empty text restores the default.
void ToolkitSetResourceFolder(const std::string& folder);

// The file types registered so far (RuntimeRegisterFileType), in order.
struct RegisteredFileType {
    std::string name, creator, macType, extensions, uti;
};
std::vector<RegisteredFileType> RuntimeRegisteredFileTypes();
