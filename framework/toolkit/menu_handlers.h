// The menu handlers that a window or the application binds with _AddMenuHandler: a method
// for a menu item, by the item's name.
#pragma once

#include <string>
#include <vector>

#include "framework/runtime/runtime.h"

class MenuHandlers {
  public:
    // Binds `method` to `itemName`, in place of an earlier binding of that name; a nil method
    // raises NilObjectException.
    void Bind(const String& itemName, void* method);
    // The method bound to `itemName`, or nil.
    GenericFn Find(const String& itemName) const;
    bool Empty() const { return bindings_.empty(); }

  private:
    struct Binding {
        std::string itemName;
        GenericFn method;  // bool (*)(Object* windowOrApplication)
    };
    std::vector<Binding> bindings_;
};
