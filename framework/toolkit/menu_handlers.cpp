// Menu handlers by item name, for windows and the application alike.
#include "framework/toolkit/menu_handlers.h"

#include "framework/toolkit/toolkit_internal.h"

void MenuHandlers::Bind(const String& itemName, void* method) {
    if (!method) RaiseNilObjectException();
    auto function = reinterpret_cast<GenericFn>(method);
    for (Binding& binding : bindings_) {
        if (ToolkitSameObjectName(itemName.View(), binding.itemName)) {
            binding.method = function;
            return;
        }
    }
    bindings_.push_back(Binding{itemName.Std(), function});
}

GenericFn MenuHandlers::Find(const String& itemName) const {
    for (const Binding& binding : bindings_)
        if (ToolkitSameObjectName(itemName.View(), binding.itemName)) return binding.method;
    return nullptr;
}
