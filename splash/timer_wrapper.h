// SplashWnd._wrapper_Timer1: the class of the splash window's timer Timer1, a Timer that
// belongs to a window. Through the hidden interface _PaneChild the framework hands it its
// owner window, which it holds only through a WeakRef, and keeps its index; the interface
// actionSource it answers with Timer's own methods.
#pragma once

#include <cstdint>

#include "framework/toolkit/toolkit.h"

namespace SplashWnd {

struct _wrapper_Timer1 {
    static void dunder_ctblinit();
    static ClassRecord* dunder_Lookup();

    // Instance fields after Timer's 44 bytes (aligned up to 48).
    static constexpr int32_t kIndexOffset = -56;        // Index: Integer
    static constexpr int32_t kOwnerWindowOffset = -64;  // ownerWindow: WeakRef, private
    static constexpr uint32_t kInstanceDataSize = 64;

    // Own virtual slots, after Timer's four.
    static constexpr uint32_t kSetWindowSlot = 4;
    static constexpr uint32_t kWindowSlot = 5;
    static constexpr uint32_t kIndexSlot = 6;
    static constexpr uint32_t kSetIndexSlot = 7;
    static constexpr uint32_t kConstructorSlot = 8;
    static constexpr uint32_t kSlotCount = 9;

    // _SetWindow: `window` becomes the owner, held through a new WeakRef (window may be nil).
    static void under_SetWindow(Object* self, Object* window);
    // Window: the owner window with a new reference; nil when there is none or it is gone.
    static Ref<Object> Window(Object* self);
    static int64_t under_Index(Object* self);
    static void under_SetIndex(Object* self, int64_t index);
    // Constructor: nothing; Timer's own set-up is its field initialiser.
    static void Constructor(Object* self);
    // __Exit: releases ownerWindow when the object goes.
    static void dunder_Exit(Object* self);

    // SplashWnd._wrapper_Timer1:actionSource.__Lookup and …:_PaneChild.__Lookup fill the
    // record's two interface entries.
    struct actionSource {
        static void dunder_Lookup(InterfaceEntry* entry);
    };
    struct under_PaneChild {
        static void dunder_Lookup(InterfaceEntry* entry);
    };
};

}  // namespace SplashWnd
