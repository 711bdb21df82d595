// The call trace: an ordered record of the framework calls whose order matters, kept only
// while a test has switched it on (runtime_testing.h reads and switches it). The framework
// writes it; the program's code never sees it.
#pragma once

#include <string_view>

// Whether the trace is on; a caller that builds an entry's text tests this first.
bool RuntimeTraceEnabled();
// Appends `entry` while the trace is on.
void RuntimeTrace(std::string_view entry);
