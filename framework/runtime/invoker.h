// Generic invokers: one per distinct signature text, shared by every method entry of it.
// An invoker takes a method's function, the object and the arguments as a list of
// variants, converts each argument to its parameter type (an object through the cast
// check against the class the signature names), calls the function and returns the result
// as a variant. The C++ side of an invoker is generated from the function's type; the
// signature text is checked against that type when the class is registered.
#pragma once

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "class_record.h"
#include "signature.h"
#include "variant.h"

using VariantList = std::vector<Variant>;

using InvokeThunk = Variant (*)(GenericFn function, Object* self, const VariantList& args,
                                const Signature& signature);
using ShapeCheck = bool (*)(const Signature& signature);

class Invoker {
public:
    Invoker(std::string text, Signature signature, InvokeThunk thunk, bool shared)
        : text_(std::move(text)), signature_(std::move(signature)), thunk_(thunk), shared_(shared) {}

    const std::string& SignatureText() const { return text_; }
    const Signature& Sig() const { return signature_; }
    bool IsShared() const { return shared_; }

    // Calls `function` with `args`. Raises NilObjectException for a nil object (unless the
    // invoker is shared) or a nil list, TypeMismatchException for an argument of the wrong
    // kind or a wrong number of arguments.
    Variant Invoke(GenericFn function, Object* self, const VariantList* args) const;

private:
    std::string text_;
    Signature signature_;
    InvokeThunk thunk_;
    bool shared_;
};

// The one invoker for `signatureText` and the C++ shape behind it, made on first request.
// Raises UnsupportedFormatException when the text does not parse or does not fit `check`,
// or when the same text was registered with a function of another shape.
const Invoker* RuntimeInvokerFor(std::string_view signatureText, InvokeThunk thunk,
                                 ShapeCheck check, bool shared);

// ---- C++ types and the type codes they stand for --------------------------------------

[[noreturn]] void RuntimeRaiseTypeMismatch(std::string_view what);
// Passes nil, and an object of the class the code names (for an array code, an array whose
// elements all pass), through unchanged; raises IllegalCastException for anything else,
// among it any object where no class of the name is registered.
Object* RuntimeCastArgument(Object* object, const TypeCode& code);

template <class T>
struct CppType;

template <class T, TypeKind K, uint8_t Size>
struct IntegerCppType {
    static bool Accepts(const TypeCode& c) { return c.kind == K && c.size == Size; }
    static T From(const Variant& v, const TypeCode&) {
        int64_t value = v.AsInteger();
        if constexpr (sizeof(T) < 8) {
            if (value < static_cast<int64_t>(std::numeric_limits<T>::min()) ||
                value > static_cast<int64_t>(std::numeric_limits<T>::max()))
                RuntimeRaiseTypeMismatch("integer out of range for its parameter");
        }
        return static_cast<T>(value);
    }
    static Variant To(T value) { return Variant(static_cast<int64_t>(value)); }
};

template <> struct CppType<int8_t> : IntegerCppType<int8_t, TypeKind::SignedInt, 1> {};
template <> struct CppType<int16_t> : IntegerCppType<int16_t, TypeKind::SignedInt, 2> {};
template <> struct CppType<int32_t> : IntegerCppType<int32_t, TypeKind::SignedInt, 4> {};
template <> struct CppType<int64_t> : IntegerCppType<int64_t, TypeKind::SignedInt, 8> {};
template <> struct CppType<uint8_t> : IntegerCppType<uint8_t, TypeKind::UnsignedInt, 1> {};
template <> struct CppType<uint16_t> : IntegerCppType<uint16_t, TypeKind::UnsignedInt, 2> {};
template <> struct CppType<uint32_t> : IntegerCppType<uint32_t, TypeKind::UnsignedInt, 4> {};
template <> struct CppType<uint64_t> : IntegerCppType<uint64_t, TypeKind::UnsignedInt, 8> {};

template <>
struct CppType<bool> {
    static bool Accepts(const TypeCode& c) { return c.kind == TypeKind::Boolean; }
    static bool From(const Variant& v, const TypeCode&) { return v.AsBoolean(); }
    static Variant To(bool value) { return Variant(value); }
};
template <>
struct CppType<double> {
    static bool Accepts(const TypeCode& c) { return c.kind == TypeKind::Double; }
    static double From(const Variant& v, const TypeCode&) { return v.AsDouble(); }
    static Variant To(double value) { return Variant(value); }
};
template <>
struct CppType<float> {
    static bool Accepts(const TypeCode& c) { return c.kind == TypeKind::Single; }
    static float From(const Variant& v, const TypeCode&) { return v.AsSingle(); }
    static Variant To(float value) { return Variant(value); }
};
template <>
struct CppType<String> {
    static bool Accepts(const TypeCode& c) {
        return c.kind == TypeKind::String || c.kind == TypeKind::Text;
    }
    static String From(const Variant& v, const TypeCode&) { return v.AsString(); }
    static Variant To(String value) { return Variant(std::move(value)); }
};
template <>
struct CppType<Color> {
    static bool Accepts(const TypeCode& c) { return c.kind == TypeKind::Color; }
    static Color From(const Variant& v, const TypeCode&) { return v.AsColor(); }
    static Variant To(Color value) { return Variant(value); }
};
template <>
struct CppType<Currency> {
    static bool Accepts(const TypeCode& c) { return c.kind == TypeKind::Currency; }
    static Currency From(const Variant& v, const TypeCode&) { return v.AsCurrency(); }
    static Variant To(Currency value) { return Variant(value); }
};
template <>
struct CppType<Variant> {
    static bool Accepts(const TypeCode& c) { return c.kind == TypeKind::Variant; }
    static Variant From(const Variant& v, const TypeCode&) { return v; }
    static Variant To(Variant value) { return value; }
};
template <>
struct CppType<void*> {
    static bool Accepts(const TypeCode& c) {
        return c.kind == TypeKind::Ptr || c.kind == TypeKind::External;
    }
    static void* From(const Variant& v, const TypeCode&) { return v.AsPtr(); }
    static Variant To(void* value) { return Variant(value); }
};
// Object parameters are borrowed; object results are new references.
template <>
struct CppType<Object*> {
    // Arrays hold objects only.
    static bool Accepts(const TypeCode& c) {
        return c.kind == TypeKind::Object || (c.kind == TypeKind::Array && Accepts(*c.element));
    }
    static Object* From(const Variant& v, const TypeCode& c) {
        return RuntimeCastArgument(v.BorrowObject(), c);
    }
};
template <>
struct CppType<Ref<Object>> {
    static bool Accepts(const TypeCode& c) { return CppType<Object*>::Accepts(c); }
    static Variant To(Ref<Object> value) { return Variant(std::move(value)); }
};

template <class R, class... A>
bool ShapeMatches(const Signature& sig) {
    if (sig.params.size() != sizeof...(A)) return false;
    if constexpr (std::is_void_v<R>) {
        if (sig.hasResult) return false;
    } else {
        if (!sig.hasResult || !CppType<R>::Accepts(sig.result)) return false;
    }
    size_t i = 0;
    return (CppType<A>::Accepts(sig.params[i++]) && ... && true);
}

template <class R, class... A>
struct ConvertedCall {
    template <class Fn, size_t... I>
    static Variant Run(Fn call, const VariantList& args, const Signature& sig,
                       std::index_sequence<I...>) {
        if (args.size() != sizeof...(A)) RuntimeRaiseTypeMismatch("wrong number of arguments");
        if constexpr (std::is_void_v<R>) {
            call(CppType<A>::From(args[I], sig.params[I])...);
            return Variant();
        } else {
            return CppType<R>::To(call(CppType<A>::From(args[I], sig.params[I])...));
        }
    }
};

// The invoker side of a function type: `R (*)(Object* self, A...)` for an instance method,
// `R (*)(A...)` for a shared one.
template <class F>
struct InstanceShape;
template <class R, class... A>
struct InstanceShape<R (*)(Object*, A...)> {
    static Variant Thunk(GenericFn fn, Object* self, const VariantList& args, const Signature& sig) {
        auto f = reinterpret_cast<R (*)(Object*, A...)>(fn);
        return ConvertedCall<R, A...>::Run([&](A... a) -> R { return f(self, a...); }, args, sig,
                                           std::index_sequence_for<A...>{});
    }
    static bool Matches(const Signature& sig) { return ShapeMatches<R, A...>(sig); }
};

template <class F>
struct SharedShape;
template <class R, class... A>
struct SharedShape<R (*)(A...)> {
    static Variant Thunk(GenericFn fn, Object*, const VariantList& args, const Signature& sig) {
        auto f = reinterpret_cast<R (*)(A...)>(fn);
        return ConvertedCall<R, A...>::Run([&](A... a) -> R { return f(a...); }, args, sig,
                                           std::index_sequence_for<A...>{});
    }
    static bool Matches(const Signature& sig) { return ShapeMatches<R, A...>(sig); }
};

// The shared invoker for an instance method of type F with signature text `text`.
template <class F>
const Invoker* InstanceInvoker(std::string_view text) {
    return RuntimeInvokerFor(text, &InstanceShape<F>::Thunk, &InstanceShape<F>::Matches, false);
}
template <class F>
const Invoker* SharedInvoker(std::string_view text) {
    return RuntimeInvokerFor(text, &SharedShape<F>::Thunk, &SharedShape<F>::Matches, true);
}
