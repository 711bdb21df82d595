// The design records that the conversion window and the splash window write alike: the
// window's own record, the head that begins every control record, and the label and canvas
// records. Each is a typed table in the order the window or control class applies its keys;
// the callers give only the values that set one window or control apart.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "framework/toolkit/toolkit.h"

namespace Design {

inline constexpr std::string_view kSystemFont = "System";
inline constexpr std::string_view kNone = "";
inline constexpr int64_t kCentred = 2;  // TextAlignment of the fields and labels

inline constexpr RecordValue kWindowGrey = Rgba(0xEE, 0xEE, 0xEE, 0x00);
inline constexpr RecordValue kBlack = Rgba(0x00, 0x00, 0x00, 0x00);
inline constexpr RecordValue kCreditBlue = Rgba(0x00, 0x00, 0xC7, 0x00);

// ---- the window ------------------------------------------------------------------------

// The entries in which the program's windows differ; the other seventeen are the same.
struct WindowFrame {
    int64_t width, height;
    int64_t type;  // Window.Types: 0 a document window, 2 a plain box
    std::string_view title;
    bool hasCloseButton;
};

// The window's 22-entry record, encoded.
String WindowRecord(const WindowFrame& frame);

// ---- the common head of every control record -------------------------------------------

struct Locks {
    bool left, top, right, bottom;
};
inline constexpr Locks kLockAll{true, true, true, true};
inline constexpr Locks kLockTopLeft{true, true, false, false};
inline constexpr Locks kLockNone{false, false, false, false};

// Name, position, size, locks and focus order of one control.
struct Place {
    std::string_view name;
    int64_t left, top, width, height;
    Locks locks;
    int64_t tabIndex;
    bool tabStop;
    bool autoDeactivate;
};

// The head entries of `place` followed by the control class's own entries, encoded.
String ControlRecord(const Place& place, std::vector<RecordEntry> tail);

// ---- labels and canvases ---------------------------------------------------------------

// Text colour, value, bold, italic, font size.
struct LabelLook {
    RecordValue textColor;
    std::string_view value;
    bool bold, italic;
    float fontSize;
};

String LabelRecord(const Place& place, const LabelLook& look);

// A canvas record; `doubleBufferEntry` puts DoubleBuffer between its two Transparent entries.
String CanvasRecord(const Place& place, bool doubleBufferEntry);

}  // namespace Design
