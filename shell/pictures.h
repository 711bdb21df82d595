// The program's three pictures, each loaded once from the application's resources on first
// use and kept for the life of the process. Each accessor returns the picture with a new
// reference for the caller, or nil when it cannot be loaded (the next call tries again).
#pragma once

#include "framework/toolkit/toolkit.h"

namespace under_x_Checks {
Ref<Object> Checks();
}
namespace under_x_corvane {
Ref<Object> corvane();
}
namespace under_x_corvane2 {
Ref<Object> corvane2();
}
