#include "delegate.h"

#include <string>
#include <unordered_map>
#include <vector>

#include "call_trace.h"
#include "class_builder.h"
#include "delegate_internal.h"
#include "weak_ref.h"

namespace {

struct DelegateData {
    GenericFn invoke;
    GenericFn function;
    const char* signature;
    int32_t flags;
    bool hasTarget;
    Object* strongTarget;     // held with a reference unless the target is weak
    WeakControl* weakTarget;  // with kDelegateWeakTarget
};

constexpr int32_t kDataOffset = -8;

DelegateData*& Data(Object* delegate) { return RuntimeRequire(delegate)->Field<DelegateData*>(kDataOffset); }

void DelegateExit(Object* self) {
    DelegateData* data = std::exchange(Data(self), nullptr);
    if (!data) return;
    RuntimeRelease(data->strongTarget);
    RuntimeReleaseWeakControl(data->weakTarget);
    delete data;
}

ClassCell gDelegate{nullptr, &Delegate::dunder_ctblinit};

// A delegate of an object's method binds that object to an event or a menu command: the
// trace records each binding as it is made, with the target's class, the signature text and
// the flags. A delegate of a plain function, without a target, binds nothing and stays out
// of it.
void TraceBinding(Object* target, const char* signature, int32_t flags) {
    if (!target || !RuntimeTraceEnabled()) return;
    RuntimeTrace(std::string("RuntimeCreateDelegate ") + target->cls->name + "|" + signature + "|" +
                 std::to_string(flags));
}

using HandlerList = std::vector<std::pair<uint32_t, EventBinding>>;
std::unordered_map<Object*, HandlerList>& Handlers() {
    static auto* handlers = new std::unordered_map<Object*, HandlerList>();
    return *handlers;
}

}  // namespace

void Delegate::dunder_ctblinit() {
    static const ClassSpec spec = OneFieldClassSpec("Delegate", nullptr, &DelegateExit);
    RuntimeBuildClass(gDelegate, spec);
}
ClassRecord* Delegate::dunder_Lookup() { return RuntimeLookupClass(gDelegate); }

void RuntimeDeclareDelegateType(std::string_view name) {
    RuntimeRegisterClassAs(name, Delegate::dunder_Lookup());
}

Ref<Object> RuntimeCreateDelegate(GenericFn invoke, GenericFn function, Object* target,
                                  const char* signature, int32_t flags) {
    if (!invoke || !function) RaiseNilObjectException();
    Ref<Object> delegate = RuntimeNewObject(Delegate::dunder_Lookup());
    auto* data = new DelegateData{invoke, function, signature ? signature : "", flags,
                                  target != nullptr, nullptr, nullptr};
    if (target && (flags & kDelegateWeakTarget)) {
        data->weakTarget = RuntimeRetainWeakControl(target);
    } else if (target) {
        RuntimeRetain(target);
        data->strongTarget = target;
    }
    Data(delegate.get()) = data;
    TraceBinding(target, data->signature, flags);
    return delegate;
}

GenericFn RuntimeDelegateFunction(Object* delegate) { return Data(delegate)->function; }
GenericFn RuntimeDelegateInvoker(Object* delegate) { return Data(delegate)->invoke; }
const char* RuntimeDelegateSignature(Object* delegate) { return Data(delegate)->signature; }
bool RuntimeDelegateHasTarget(Object* delegate) { return Data(delegate)->hasTarget; }

Ref<Object> RuntimeDelegateTarget(Object* delegate) {
    DelegateData* data = Data(delegate);
    if (data->weakTarget) return RuntimeWeakTarget(data->weakTarget);
    return Ref<Object>::Retain(data->strongTarget);
}

void RuntimeAddEventHandler(Object* object, uint32_t event, GenericFn dispatch, Object* delegate) {
    RuntimeRequire(object);
    RuntimeRequire(delegate);
    if (!dispatch) RaiseNilObjectException();
    HandlerList& list = Handlers()[object];
    object->state |= kObjectHasHandlers;
    EventBinding binding{dispatch, Ref<Object>::Retain(delegate)};
    for (auto& [number, existing] : list) {
        if (number == event) {
            existing = std::move(binding);
            return;
        }
    }
    list.emplace_back(event, std::move(binding));
}

const EventBinding* RuntimeFindEventHandler(Object* object, uint32_t event) {
    if (!object || !(object->state & kObjectHasHandlers)) return nullptr;
    auto found = Handlers().find(object);
    if (found == Handlers().end()) return nullptr;
    for (auto& [number, binding] : found->second)
        if (number == event) return &binding;
    return nullptr;
}

void RuntimeDropEventHandlers(Object* object) {
    auto found = Handlers().find(object);
    if (found == Handlers().end()) return;
    HandlerList dying = std::move(found->second);  // released after the map entry is gone
    Handlers().erase(found);
}

GenericFn RuntimeClassEventHandler(Object* object, uint32_t event) {
    if (!object) return nullptr;
    for (ClassRecord* cls = object->cls; cls; cls = cls->superclass)
        if (event < cls->eventCount && cls->events[event].handler) return cls->events[event].handler;
    return nullptr;
}

bool RuntimeUserIsEventHandled(Object* object, const char* className, const char* eventName) {
    (void)object;
    ClassRecord* cls = RuntimeFindClass(className ? className : "");
    if (!cls || !eventName) return false;
    int32_t index = RuntimeFindEvent(cls, eventName);
    return index >= 0 && cls->events[index].handler != nullptr;
}

bool under_RuntimeIsEventHandled(Object* object, const String& className, const String& eventName,
                                 bool userClass) {
    RuntimeRequire(object);
    std::string cls = className.Std(), event = eventName.Std();
    if (userClass) return RuntimeUserIsEventHandled(object, cls.c_str(), event.c_str());
    int32_t index = RuntimeFindEvent(object->cls, event);
    return index >= 0 && RuntimeClassEventHandler(object, static_cast<uint32_t>(index)) != nullptr;
}
