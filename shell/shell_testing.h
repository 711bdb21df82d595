// The program's test seams: its module variables put back to their state at process start,
// so that a test can run the program again in the same process. No production path calls
// them and no production header declares them; only the files that implement them include
// this header besides the tests.
#pragma once

#include "framework/toolkit/toolkit_testing.h"

namespace Menu {
// Forgets the implicit instance (releasing it), as at process start.
void ForgetImplicitInstanceForTesting();
}  // namespace Menu

namespace FileTypes {
// The set's array, pAllFileTypes (a new reference), which nothing else hands out.
Ref<Object> AllFileTypesForTesting();
// Releases the module's variables, as at process start.
void ResetForTesting();
}  // namespace FileTypes

// Puts the three picture accessors back to their state at process start (first-use flag 0),
// so that the next call of each drops its cached picture and loads the file again.
void PicturesForgetForTesting();

// All of the above: the menu bar, the file types and the picture caches.
void StartupResetForTesting();
