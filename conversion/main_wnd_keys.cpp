// The key filter of the r and z fields, and the "Clear" and "?" buttons.
#include "conversion/main_wnd.h"
#include "conversion/main_wnd_accessors.h"

namespace MainWnd {
namespace {

// Character codes the number fields take: "-" "." "/" and the digits lie strictly between
// these two; Backspace and Tab besides.
constexpr int64_t kBelowAccepted = 44;  // ","
constexpr int64_t kAboveAccepted = 58;  // ":"
constexpr int64_t kBackspace = 8;
constexpr int64_t kTab = 9;

bool IsNumberKey(const String& key) {
    int64_t code = StringDBCSAsc(key);
    return (kBelowAccepted < code && code < kAboveAccepted) || code == kBackspace || code == kTab;
}

void ShowHelp(Object* self, bool visible) {
    Ref<Object> help = RequireAccessor(self, MainWnd::kDescribeTxtSlot);
    ControlVisibleSetter(help.get(), 0, visible);
}

// A rejected key beeps and is kept from the field (True); an accepted one empties the other
// field, so that what was typed is the only input of the next conversion, and goes to the
// field (False).
bool FilterKey(Object* self, const String& key, uint32_t otherFieldSlot) {
    if (!IsNumberKey(key)) {
        Beep();
        return true;
    }
    EmptyField(self, otherFieldSlot);
    return false;
}

}  // namespace

bool MainWnd::rEdit_KeyDown(Object* self, Object* /*field*/, String key) {
    return FilterKey(self, key, kZEditSlot);
}

bool MainWnd::zEdit_KeyDown(Object* self, Object* /*field*/, String key) {
    return FilterKey(self, key, kREditSlot);
}

void MainWnd::ClearBtn_Action(Object* self, Object* /*button*/) {
    EmptyField(self, kREditSlot);
    EmptyField(self, kZEditSlot);
    ShowHelp(self, false);
}

void MainWnd::qBtn_Action(Object* self, Object* /*button*/) {
    ShowHelp(self, true);
}

bool MainWnd::qBtn_MouseDown(Object* /*self*/, Object* /*button*/, int64_t /*x*/, int64_t /*y*/) {
    return false;
}

}  // namespace MainWnd
