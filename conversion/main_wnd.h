// The conversion window: class MainWnd.MainWnd (module MainWnd, class MainWnd), a Window.
#pragma once

#include "framework/toolkit/toolkit.h"

namespace MainWnd {

// Class MainWnd.MainWnd.
struct MainWnd {
    static void dunder_ctblinit();
    static ClassRecord* dunder_Lookup();
    // (the class's methods and slot numbers are declared by its implementation)
};

// The implicit-instance accessor MainWnd.MainWnd: the open conversion window, created (and
// shown) when there is none; a new reference for the caller.
Ref<Object> MainWnd();

}  // namespace MainWnd
