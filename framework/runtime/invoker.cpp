#include "invoker.h"

#include <map>
#include <memory>
#include <string>
#include <utility>

#include "array.h"
#include "exceptions.h"

namespace {

using Key = std::pair<std::string, bool>;  // signature text, shared form

std::map<Key, std::unique_ptr<Invoker>>& Invokers() {
    static auto* invokers = new std::map<Key, std::unique_ptr<Invoker>>();
    return *invokers;
}

std::map<Key, InvokeThunk>& ThunksByKey() {
    static auto* thunks = new std::map<Key, InvokeThunk>();
    return *thunks;
}

[[noreturn]] void BadShape(std::string_view text, std::string_view why) {
    RuntimeRaiseNew(UnsupportedFormatException::dunder_Lookup(),
                    "signature \"" + std::string(text) + "\" " + std::string(why));
}

}  // namespace

Variant Invoker::Invoke(GenericFn function, Object* self, const VariantList* args) const {
    if (!shared_ && !self) RaiseNilObjectException();
    if (!args) RaiseNilObjectException();
    if (!function) RaiseUnsupported("a method without code (signature " + text_ + ")");
    return thunk_(function, self, *args, signature_);
}

const Invoker* RuntimeInvokerFor(std::string_view signatureText, InvokeThunk thunk,
                                 ShapeCheck check, bool shared) {
    Key key{std::string(signatureText), shared};
    auto& invokers = Invokers();
    auto found = invokers.find(key);
    if (found != invokers.end()) {
        if (ThunksByKey()[key] != thunk)
            BadShape(signatureText, "is already registered for a function of another shape");
        return found->second.get();
    }
    Signature signature = ParseSignature(signatureText);
    if (!check(signature)) BadShape(signatureText, "does not match its function's parameters");
    auto invoker = std::make_unique<Invoker>(key.first, std::move(signature), thunk, shared);
    const Invoker* result = invoker.get();
    ThunksByKey()[key] = thunk;
    invokers.emplace(std::move(key), std::move(invoker));
    return result;
}

void RuntimeRaiseTypeMismatch(std::string_view what) {
    RuntimeRaiseNew(TypeMismatchException::dunder_Lookup(), std::string("type mismatch: ") + std::string(what));
}

Object* RuntimeCastArgument(Object* object, const TypeCode& code) {
    if (!object) return nullptr;
    if (code.kind == TypeKind::Array) {
        RuntimeCheckCast(object, ObjectArray::dunder_Lookup());
        for (int64_t i = 0; i <= RuntimeArrayUbound(object); ++i)
            RuntimeCastArgument(RuntimeArrayGet(object, i).get(), *code.element);
        return object;
    }
    if (code.name == "Object") return object;  // every object is one
    // Resolved at each call: a signature may name a class registered after it, or one this
    // framework does not have, and then no object can be shown to be of it.
    ClassRecord* cls = RuntimeFindClass(code.name);
    if (!cls)
        RuntimeRaiseNew(IllegalCastException::dunder_Lookup(),
                        std::string("an object of class ") + object->cls->name +
                            " cannot be used as " + code.name + ": no class of that name exists");
    RuntimeCheckCast(object, cls);
    return object;
}
