// The conversion window's design records and control table. Each record is written as a
// typed table in the order the window or control class applies its keys, and encoded once.
#include "conversion/main_wnd_design.h"

#include <string_view>
#include <utility>
#include <vector>

#include "conversion/help_text.h"
#include "conversion/main_wnd.h"
#include "shell/credits.h"
#include "shell/pictures.h"
#include "shell/window_design/records.h"

namespace MainWnd {
namespace {

using namespace Design;

// ---- values of this window's records ---------------------------------------------------

constexpr int64_t kLeftAligned = 0;  // TextAlignment of the help text
constexpr int64_t kFieldLimit = 9;   // characters the user may type into a number field

constexpr RecordValue kWhite = Rgba(0xFF, 0xFF, 0xFF, 0x00);

// Position, size, locks and focus order (window content 450 x 300).
// clang-format off
//                           name           left  top width height locks         tab  stop   autoDeact
constexpr Place kREdit      {"rEdit",         20, 174,  80,  22, kLockAll,        0, true,  true};
constexpr Place kCanvas2    {"Canvas2",       55,   0, 375,  37, kLockNone,       5, true,  true};
constexpr Place kStaticText1{"StaticText1",   20,  35, 410,  16, kLockAll,        6, false, true};
constexpr Place kCalcBtn    {"CalcBtn",       20, 240,  90,  40, kLockAll,        7, true,  true};
constexpr Place kClearBtn   {"ClearBtn",     340, 240,  90,  40, kLockAll,        8, true,  true};
constexpr Place kZEdit      {"zEdit",        350, 174,  80,  22, kLockAll,        9, true,  false};
constexpr Place kLabel1     {"Label1",        20, 155,  80,  20, kLockTopLeft,   10, false, true};
constexpr Place kLabel2     {"Label2",       350, 155,  80,  20, kLockTopLeft,   11, false, true};
constexpr Place kCanvas1    {"Canvas1",        9,   4,  34,  33, kLockTopLeft,   12, true,  true};
constexpr Place kDescribeTxt{"describeTxt",   20,  63, 409,  73, kLockTopLeft,   13, false, true};
constexpr Place kQBtn       {"qBtn",         180, 240,  90,  40, kLockAll,       14, false, true};
// clang-format on

// The credit line and the r and z captions.
constexpr LabelLook kCreditLook{kCreditBlue, kCreditLine, false, false, 8.0f};
constexpr LabelLook kRCaptionLook{kBlack, "r", true, true, 14.0f};
constexpr LabelLook kZCaptionLook{kBlack, "z", true, false, 14.0f};

// ---- the records of this window's own control kinds ------------------------------------

// The r and z fields; only the z field's record ends with InitialParent.
String TextFieldRecord(const Place& place, bool closingInitialParent) {
    std::vector<RecordEntry> tail = {
        {"BackgroundColor", kWhite},
        {"HasBorder", Bool(true)},
        {"Enabled", Bool(true)},
        {"Format", Str(kNone)},
        {"Tooltip", Str(kNone)},
        {"Password", Bool(false)},
        {"TextColor", kBlack},
        {"Transparent", Bool(true)},
        {"AllowFocusRing", Bool(true)},
        {"Visible", Bool(true)},
        {"FontName", Str(kSystemFont)},
        {"FontSize", Sgl(12.0f)},
        {"FontUnit", Byte(0)},
        {"Bold", Bool(false)},
        {"Italic", Bool(false)},
        {"Underline", Bool(false)},
        {"Hint", Str(kNone)},
        {"Value", Str(kNone)},
        {"AllowTabs", Bool(false)},
        {"TextAlignment", Int(kCentred)},
        {"AllowSpellChecking", Bool(true)},
        {"MaximumCharactersAllowed", Int(kFieldLimit)},
        {"ValidationMask", Str(kNone)},
        {"ReadOnly", Bool(false)},
        {"DataSource", Str(kNone)},
        {"DataField", Str(kNone)},
    };
    if (closingInitialParent) tail.push_back({"InitialParent", Str(kNone)});
    return ControlRecord(place, std::move(tail));
}

String ButtonRecord(const Place& place, std::string_view caption, float fontSize, bool bold) {
    return ControlRecord(place, {
                                    {"MacButtonStyle", Int(0)},
                                    {"Cancel", Bool(false)},
                                    {"Caption", Str(caption)},
                                    {"Default", Bool(true)},
                                    {"Enabled", Bool(true)},
                                    {"Tooltip", Str(kNone)},
                                    {"Transparent", Bool(true)},
                                    {"Visible", Bool(true)},
                                    {"FontName", Str(kSystemFont)},
                                    {"FontSize", Sgl(fontSize)},
                                    {"FontUnit", Byte(0)},
                                    {"Bold", Bool(bold)},
                                    {"Italic", Bool(false)},
                                    {"Underline", Bool(false)},
                                    {"InitialParent", Str(kNone)},
                                });
}

// The help text: hidden, read-only, borderless, on the window's own background.
String HelpTextRecord(const Place& place) {
    return ControlRecord(place, {
                                    {"BackgroundColor", kWindowGrey},
                                    {"HasBorder", Bool(false)},
                                    {"Enabled", Bool(true)},
                                    {"Format", Str(kNone)},
                                    {"Tooltip", Str(kNone)},
                                    {"HideSelection", Bool(true)},
                                    {"LineHeight", Dbl(0.0)},
                                    {"LineSpacing", Dbl(1.0)},
                                    {"Multiline", Bool(true)},
                                    {"HasHorizontalScrollbar", Bool(false)},
                                    {"HasVerticalScrollbar", Bool(false)},
                                    {"AllowStyledText", Bool(false)},
                                    {"TextColor", kBlack},
                                    {"Transparent", Bool(false)},
                                    {"AllowFocusRing", Bool(false)},
                                    {"Visible", Bool(false)},
                                    {"Bold", Bool(false)},
                                    {"Italic", Bool(false)},
                                    {"FontName", Str(kSystemFont)},
                                    {"FontSize", Sgl(11.0f)},
                                    {"FontUnit", Byte(0)},
                                    {"Underline", Bool(false)},
                                    {"Value", Str(kHelpText)},
                                    {"AllowTabs", Bool(false)},
                                    {"TextAlignment", Int(kLeftAligned)},
                                    {"AllowSpellChecking", Bool(false)},
                                    {"MaximumCharactersAllowed", Int(0)},
                                    {"ValidationMask", Str(kNone)},
                                    {"ReadOnly", Bool(true)},
                                    {"DataSource", Str(kNone)},
                                    {"DataField", Str(kNone)},
                                });
}

// ---- event bindings --------------------------------------------------------------------

constexpr const char* kKeyDownSignature = "( TextField, String ) as Boolean";
constexpr const char* kActionSignature = "( PushButton )";
constexpr const char* kMouseDownSignature = "( PushButton, Integer, Integer ) as Boolean";

using W = struct MainWnd;

// clang-format off
//                                   event                         handler slot              signature            shape
constexpr Binding kREditBindings[] = {
    {RectControl::kKeyDownEvent,    W::kREditKeyDownSlot,    kKeyDownSignature,   &kKeyDownShape}};
constexpr Binding kCalcBtnBindings[] = {
    {PushButton::kActionEvent,      W::kCalcBtnActionSlot,   kActionSignature,    &kActionShape}};
constexpr Binding kClearBtnBindings[] = {
    {PushButton::kActionEvent,      W::kClearBtnActionSlot,  kActionSignature,    &kActionShape}};
constexpr Binding kZEditBindings[] = {
    {RectControl::kKeyDownEvent,    W::kZEditKeyDownSlot,    kKeyDownSignature,   &kKeyDownShape}};
constexpr Binding kQBtnBindings[] = {
    {PushButton::kActionEvent,      W::kQBtnActionSlot,      kActionSignature,    &kActionShape},
    {PushButton::kMouseDownEvent,   W::kQBtnMouseDownSlot,   kMouseDownSignature, &kMouseDownShape}};
// clang-format on

}  // namespace

const String& WindowRecord() {
    static const String record = Design::WindowRecord(
        {.width = 450, .height = 300, .type = 0, .title = "Corvane", .hasCloseButton = true});
    return record;
}

std::span<const ControlDesign> ControlDesigns() {
    // clang-format off
    static const ControlDesign designs[] = {
        // name         class                      record, backdrop picture, bindings
        {"rEdit",       &TextField::dunder_Lookup,  TextFieldRecord(kREdit, false), nullptr, kREditBindings},
        {"Canvas2",     &Canvas::dunder_Lookup,     CanvasRecord(kCanvas2, true), &under_x_corvane::corvane, {}},
        {"StaticText1", &Label::dunder_Lookup,      LabelRecord(kStaticText1, kCreditLook), nullptr, {}},
        {"CalcBtn",     &PushButton::dunder_Lookup, ButtonRecord(kCalcBtn, "Calculate", 12.0f, false),
                                                    nullptr, kCalcBtnBindings},
        {"ClearBtn",    &PushButton::dunder_Lookup, ButtonRecord(kClearBtn, "Clear", 12.0f, false),
                                                    nullptr, kClearBtnBindings},
        {"zEdit",       &TextField::dunder_Lookup,  TextFieldRecord(kZEdit, true), nullptr, kZEditBindings},
        {"Label1",      &Label::dunder_Lookup,      LabelRecord(kLabel1, kRCaptionLook), nullptr, {}},
        {"Label2",      &Label::dunder_Lookup,      LabelRecord(kLabel2, kZCaptionLook), nullptr, {}},
        {"Canvas1",     &Canvas::dunder_Lookup,     CanvasRecord(kCanvas1, false), &under_x_Checks::Checks, {}},
        {"describeTxt", &TextArea::dunder_Lookup,   HelpTextRecord(kDescribeTxt), nullptr, {}},
        {"qBtn",        &PushButton::dunder_Lookup, ButtonRecord(kQBtn, "?", 16.0f, true), nullptr, kQBtnBindings},
    };
    // clang-format on
    return designs;
}

}  // namespace MainWnd
