// The runtime's test seams: what a test observes of the runtime and how it puts the runtime
// back between runs. No production path calls them and no production header declares them;
// only the files that implement them include this header besides the tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "framework/runtime/runtime.h"

// Restores the runtime's process state to that after RuntimeInit, for tests that start the
// program several times in one process: exit status, unhandled-exception count, finalisers,
// trace and the initialisers run. The installed exception hook stays.
void RuntimeResetForTesting();

// Number of objects alive right now: a test that releases all it made leaves it unchanged.
int64_t RuntimeLiveObjectCount();
// Names of the initialiser-table entries run so far, in order.
const std::vector<std::string>& RuntimeInitializersRun();
// Number of exceptions reported as unhandled so far.
int64_t RuntimeUnhandledExceptionCount();

// The call trace (call_trace.h): switched on and off, read and emptied.
void RuntimeTraceEnable(bool on);
std::vector<std::string> RuntimeTraceLog();
void RuntimeTraceClear();
