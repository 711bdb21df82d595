// Building the conversion window: the Layout and CreateControls events and the creation of
// the eleven controls from their design table.
#include "conversion/main_wnd.h"
#include "conversion/main_wnd_design.h"
#include "shell/menu.h"

namespace MainWnd {
namespace {

// The control the window holds under `name` (or nil), through the window's _ControlByName.
Ref<Object> ControlByName(Object* self, const char* name) {
    return RuntimeCallSlot<Ref<Object>, String>(self, Window::kControlByNameSlot, String(name));
}

// The control under `name`, cast to `cls`; a missing control raises the nil-object exception.
Ref<Object> RequireControl(Object* self, const char* name, ClassRecord* cls) {
    Ref<Object> found = ControlByName(self, name);
    Ref<Object> control = RuntimeCheckCast(found.get(), cls);
    RuntimeRequire(control.get());
    return control;
}

// Binds event `binding.event` of the control under `name` to the window method that the
// window's virtual table holds now in `binding.handlerSlot`. The control keeps the delegate,
// which holds the window weakly.
void Bind(Object* self, const ControlDesign& design, const Binding& binding) {
    Ref<Object> control = RequireControl(self, design.name, design.cls());
    Ref<Object> delegate =
        RuntimeCreateDelegate(binding.shape->invocation(), self->vtable[binding.handlerSlot], self,
                              binding.signature, kDelegateWeakTarget);
    RuntimeAddEventHandler(control.get(), binding.event, binding.shape->dispatch(), delegate.get());
}

// Creates one control, adds it to the window, gives it its backdrop (canvases), its design
// properties and its event bindings. Every step after the adding works on the control as
// the window returns it by name.
void CreateControl(Object* self, const ControlDesign& design) {
    ClassRecord* cls = design.cls();
    {
        Ref<Object> control = RuntimeCallSlot<Ref<Object>, void*>(self, Window::kNewSlot, cls);
        RuntimeCallSlot<void>(control.get(), RectControl::kConstructorSlot);
        RuntimeCallSlot<void, String, Object*>(self, Window::kAddControlSlot, String(design.name),
                                               control.get());
    }  // the window holds the control from here on
    if (design.backdrop) {
        Ref<Object> canvas = RequireControl(self, design.name, Canvas::dunder_Lookup());
        Ref<Object> picture = design.backdrop();  // nil when the file cannot be loaded
        canvasBackdropSetter(canvas.get(), 0, picture.get());
    }
    {
        Ref<Object> control = RequireControl(self, design.name, cls);
        RuntimeMassPropertySetter(control.get(), design.record);
    }
    for (const Binding& binding : design.bindings) Bind(self, design, binding);
}

}  // namespace

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

// One control at a time, in creation order; an exception stops the creation there and
// leaves the controls already added in the window.
void MainWnd::_CreateControls0(Object* self) {
    for (const ControlDesign& design : ControlDesigns()) CreateControl(self, design);
}

}  // namespace MainWnd
