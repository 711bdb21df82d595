#include "shell/window_design/controls.h"

namespace Design {
namespace {

// The control under `name`, cast to `cls`; a missing control raises the nil-object exception.
Ref<Object> RequireControl(Object* window, const char* name, ClassRecord* cls) {
    Ref<Object> found =
        RuntimeCallSlot<Ref<Object>, String>(window, Window::kControlByNameSlot, String(name));
    Ref<Object> control = RuntimeCheckCast(found.get(), cls);
    RuntimeRequire(control.get());
    return control;
}

// Binds event `binding.event` of `control` to the window method that the window's virtual
// table holds now in `binding.handlerSlot`. The control keeps the delegate, which holds the
// window weakly.
void Bind(Object* window, Object* control, const Binding& binding) {
    Ref<Object> delegate =
        RuntimeCreateDelegate(binding.shape->invocation(), window->vtable[binding.handlerSlot],
                              window, binding.signature, kDelegateWeakTarget);
    RuntimeAddEventHandler(control, binding.event, binding.shape->dispatch(), delegate.get());
}

void CreateControl(Object* window, const ControlDesign& design) {
    ClassRecord* cls = design.cls();
    {
        Ref<Object> control = RuntimeCallSlot<Ref<Object>, void*>(window, Window::kNewSlot, cls);
        RuntimeCallSlot<void>(control.get(), design.constructorSlot);
        RuntimeCallSlot<void, String, Object*>(window, Window::kAddControlSlot, String(design.name),
                                               control.get());
    }  // the window holds the control from here on
    ClassRecord* fetchedAs = design.fetchedAs ? design.fetchedAs() : cls;
    if (design.backdrop) {
        Ref<Object> canvas = RequireControl(window, design.name, Canvas::dunder_Lookup());
        Ref<Object> picture = design.backdrop();  // nil when the file cannot be loaded
        canvasBackdropSetter(canvas.get(), 0, picture.get());
    }
    {
        Ref<Object> control = RequireControl(window, design.name, fetchedAs);
        RuntimeMassPropertySetter(control.get(), design.record);
    }
    for (const Binding& binding : design.bindings) {
        Ref<Object> control = RequireControl(window, design.name, fetchedAs);
        Bind(window, control.get(), binding);
    }
}

}  // namespace

void CreateControls(Object* window, std::span<const ControlDesign> designs) {
    for (const ControlDesign& design : designs) CreateControl(window, design);
}

}  // namespace Design
