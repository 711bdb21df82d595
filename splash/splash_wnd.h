// The splash and About window: class SplashWnd.SplashWnd (module SplashWnd), a Window.
#pragma once

#include "framework/toolkit/toolkit.h"

namespace SplashWnd {

// Class SplashWnd.SplashWnd.
struct SplashWnd {
    static void dunder_ctblinit();
    static ClassRecord* dunder_Lookup();
    // (the class's methods and slot numbers are declared by its implementation)
};

// The implicit-instance accessor SplashWnd.SplashWnd: the splash window, created (and
// shown) when there is none; a new reference for the caller.
Ref<Object> SplashWnd();

}  // namespace SplashWnd
