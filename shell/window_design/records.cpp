#include "shell/window_design/records.h"

#include <utility>

namespace Design {
namespace {

constexpr int64_t kNoIndex = -2147483648;  // every control is found by its name alone

}  // namespace

String WindowRecord(const WindowFrame& frame) {
    const RecordEntry entries[] = {
        {"Width", Int(frame.width)},
        {"Height", Int(frame.height)},
        {"MinimumWidth", Int(64)},
        {"MinimumHeight", Int(64)},
        {"MaximumWidth", Int(32000)},
        {"MaximumHeight", Int(32000)},
        {"Type", Int(frame.type)},
        {"Title", Str(frame.title)},
        {"HasCloseButton", Bool(frame.hasCloseButton)},
        {"HasMaximizeButton", Bool(false)},
        {"HasMinimizeButton", Bool(true)},
        {"HasFullScreenButton", Bool(false)},
        {"Resizeable", Bool(false)},
        {"Composite", Bool(false)},
        {"MacProcID", Int(0)},
        {"FullScreen", Bool(false)},
        {"DefaultLocation", Int(0)},
        {"Visible", Bool(true)},
        {"HasBackgroundColor", Bool(true)},
        {"BackgroundColor", kWindowGrey},
        {"MenuBarVisible", Bool(true)},
        {"LiveResize", Bool(false)},
    };
    return EncodePropertyRecord(entries);
}

String ControlRecord(const Place& place, std::vector<RecordEntry> tail) {
    std::vector<RecordEntry> entries = {
        {"Name", Str(place.name)},
        {"Index", Int(kNoIndex)},
        {"Left", Int(place.left)},
        {"Top", Int(place.top)},
        {"Width", Int(place.width)},
        {"Height", Int(place.height)},
        {"LockLeft", Bool(place.locks.left)},
        {"LockTop", Bool(place.locks.top)},
        {"LockRight", Bool(place.locks.right)},
        {"LockBottom", Bool(place.locks.bottom)},
        {"TabIndex", Int(place.tabIndex)},
        {"TabPanelIndex", Int(0)},
        {"TabStop", Bool(place.tabStop)},
        {"AllowAutoDeactivate", Bool(place.autoDeactivate)},
    };
    entries.insert(entries.end(), tail.begin(), tail.end());
    return EncodePropertyRecord(entries);
}

String LabelRecord(const Place& place, const LabelLook& look) {
    return ControlRecord(place, {
                                    {"Enabled", Bool(true)},
                                    {"Tooltip", Str(kNone)},
                                    {"Multiline", Bool(false)},
                                    {"Selectable", Bool(false)},
                                    {"TextAlignment", Int(kCentred)},
                                    {"TextColor", look.textColor},
                                    {"Transparent", Bool(false)},
                                    {"Value", Str(look.value)},
                                    {"Visible", Bool(true)},
                                    {"Bold", Bool(look.bold)},
                                    {"Italic", Bool(look.italic)},
                                    {"FontName", Str(kSystemFont)},
                                    {"Underline", Bool(false)},
                                    {"FontSize", Sgl(look.fontSize)},
                                    {"FontUnit", Byte(0)},
                                    {"DataSource", Str(kNone)},
                                    {"DataField", Str(kNone)},
                                    {"InitialParent", Str(kNone)},
                                });
}

String CanvasRecord(const Place& place, bool doubleBufferEntry) {
    std::vector<RecordEntry> tail = {
        {"Enabled", Bool(true)},     {"Tooltip", Str(kNone)},     {"AllowFocusRing", Bool(true)},
        {"Visible", Bool(true)},     {"AllowFocus", Bool(false)}, {"AllowTabs", Bool(false)},
        {"Transparent", Bool(true)},
    };
    if (doubleBufferEntry) tail.push_back({"DoubleBuffer", Bool(false)});
    tail.push_back({"Transparent", Bool(true)});
    tail.push_back({"InitialParent", Str(kNone)});
    return ControlRecord(place, std::move(tail));
}

}  // namespace Design
