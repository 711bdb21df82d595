// Building the conversion window: the Layout and CreateControls events and the creation of
// the eleven controls from their design table.
#include "conversion/main_wnd.h"
#include "conversion/main_wnd_design.h"
#include "shell/menu.h"

namespace MainWnd {

// The shared menu bar goes on first; then the window's own design record.
void MainWnd::Layout(Object* self) {
    {
        Ref<Object> bar = ::Menu::Menu();
        WindowMenuBarSetter(self, 0, bar.get());
    }
    RuntimeMassPropertySetter(self, WindowRecord());
}

void MainWnd::CreateControls(Object* self) {
    RuntimeCallSlot<void>(self, kCreateControls0Slot);
}

void MainWnd::under_CreateControls0(Object* self) {
    Design::CreateControls(self, ControlDesigns());
}

}  // namespace MainWnd
