// The design of the conversion window as data: its own property record and, in creation
// order, its eleven controls with their classes, records, backdrop pictures and event
// bindings.
#pragma once

#include <span>

#include "framework/toolkit/toolkit.h"
#include "shell/window_design/controls.h"

namespace MainWnd {

// The window's own property record.
const String& WindowRecord();
// The eleven controls, in creation order.
std::span<const Design::ControlDesign> ControlDesigns();

}  // namespace MainWnd
