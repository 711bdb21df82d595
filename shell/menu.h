// The application's one menu bar: class Menu.Menu (module Menu, class Menu), a MenuBar.
#pragma once

#include "framework/toolkit/toolkit.h"

namespace Menu {

// Class Menu.Menu.
struct Menu {
    static void dunder_ctblinit();
    static ClassRecord* dunder_Lookup();
    // (the class's methods and slot numbers are declared by its implementation)
};

// The implicit-instance accessor Menu.Menu: the one Menu object, created on first use,
// with a new reference for the caller; nil with the exception passed on when building fails.
Ref<Object> Menu();

// The module variable Menu._implicitInstance: its start-up initialiser.
struct _implicitInstance {
    static void dunder_Init();
};

}  // namespace Menu
