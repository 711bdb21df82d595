// Ends the test process, failing, when the program does not get on: a fault that keeps it from
// coming up, or from ending, fails the test within its own time and names what it waited for,
// instead of waiting until something outside ends it. Its virtual display goes with the
// process (VirtualDisplay's server dies with its parent).
#pragma once

namespace xvfb {

// From now on, the process ends with status 1 unless `what` happens within `withinMs`, or
// Expect or Disarm is called again first.
void Expect(const char* what, int withinMs);
void Disarm();

}  // namespace xvfb
