// Controls: Control → RectControl → TextEdit → TextField and TextArea; Label, PushButton
// and Canvas under RectControl. Each framework control is one Qt widget, a child of its
// window's widget. Their property entries carry every design key of a control record with
// its declared type and declaring class.
//
// Control events, numbered through the class chain, inherited events first:
//   Control      0 to 2
//   RectControl  3 to 14, KeyDown 9: bool(Object* control, String key)
//   PushButton   from 15: Action 15 void(Object* button), MouseDown 18
//                bool(Object* button, int64_t x, int64_t y)
// KeyDown receives the key as the framework's text: the typed character for printable
// keys; chr(8) Backspace; chr(9) Tab and Shift+Tab; chr(13) Return; chr(3) keypad Enter;
// chr(27) Escape; chr(127) forward Delete; chr(28) to chr(31) the arrows left, right, up,
// down; chr(1) Home, chr(4) End, chr(11) Page Up, chr(12) Page Down. A handler that returns
// True keeps the key from the control.
#pragma once

#include <cstdint>

#include "framework/runtime/runtime.h"

struct Control {
    static ClassRecord* dunder_Lookup();
    static void dunder_ctblinit();
};

struct RectControl {
    static ClassRecord* dunder_Lookup();
    static void dunder_ctblinit();
    static constexpr uint32_t kConstructorSlot = 6;
    static constexpr uint32_t kKeyDownEvent = 9;
};

struct TextEdit {
    static ClassRecord* dunder_Lookup();
    static void dunder_ctblinit();
};

struct TextField {
    static ClassRecord* dunder_Lookup();
    static void dunder_ctblinit();
};

struct TextArea {
    static ClassRecord* dunder_Lookup();
    static void dunder_ctblinit();
};

struct Label {
    static ClassRecord* dunder_Lookup();
    static void dunder_ctblinit();
};

struct PushButton {
    static ClassRecord* dunder_Lookup();
    static void dunder_ctblinit();
    static constexpr uint32_t kActionEvent = 15;
    static constexpr uint32_t kMouseDownEvent = 18;
};

struct Canvas {
    static ClassRecord* dunder_Lookup();
    static void dunder_ctblinit();
};

// RectControl's Constructor (slot 6): builds the control's widget inside its window.
void RectControlDefaultConstructor(Object* control);
// The Text property of a text field or area (getter and setter of the property entry).
// Setting it never cuts the text to MaximumCharactersAllowed: that limits typing only.
String editTextGetter(Object* field, int32_t offset);
void editTextSetter(Object* field, int32_t offset, String text);
// The Visible property of a RectControl.
bool ControlVisibleGetter(Object* control, int32_t offset);
void ControlVisibleSetter(Object* control, int32_t offset, bool visible);
// The Backdrop property of a Canvas: the picture drawn as its background; nil draws none.
Ref<Object> canvasBackdropGetter(Object* canvas, int32_t offset);
void canvasBackdropSetter(Object* canvas, int32_t offset, Object* picture);
// The Name property of a Control.
String ControlNameGetter(Object* control, int32_t offset);
