// The framework's generic property accessors. A stored property's getter reads the value at
// the object reference plus the field offset and its setter writes it there; the boxed
// forms ("Introspection") exchange the value as a Variant and work for computed properties
// too, by calling the entry's own getter and setter.
//
// C++ names: `Double.Get` is props::Double::Get, `Double.Introspection.GetValue` is
// props::Double::Introspection::GetValue, and so on.
#pragma once

#include <cstdint>
#include <type_traits>

#include "class_builder.h"
#include "class_record.h"
#include "variant.h"

namespace props {

template <class T>
struct Scalar {
    static T Get(::Object* object, int32_t offset) { return RuntimeRequire(object)->Field<T>(offset); }
    static void Set(::Object* object, int32_t offset, T value) {
        RuntimeRequire(object)->Field<T>(offset) = value;
    }
    struct Introspection {
        static Variant GetValue(::Object* object, const PropertyEntry* entry) {
            auto get = reinterpret_cast<T (*)(::Object*, int32_t)>(entry->getter);
            return CppType<T>::To(get(RuntimeRequire(object), entry->fieldOffset));
        }
        static void SetValue(::Object* object, const PropertyEntry* entry, const Variant& value) {
            if (!entry->setter) RaiseRefused(std::string(entry->name) + " is read-only");
            auto set = reinterpret_cast<void (*)(::Object*, int32_t, T)>(entry->setter);
            TypeCode code;  // only objects look at the code, and they have their own accessors
            set(RuntimeRequire(object), entry->fieldOffset, CppType<T>::From(value, code));
        }
    };
};

using Double = Scalar<double>;
using Single = Scalar<float>;
using Integer = Scalar<int64_t>;
using Boolean = Scalar<bool>;
using Byte = Scalar<uint8_t>;
using Color = Scalar<::Color>;
using Ptr = Scalar<void*>;
using VariantValue = Scalar<::Variant>;

// Strings are held in their field as a retained raw pointer.
struct String {
    static ::String Get(::Object* object, int32_t offset);
    static void Set(::Object* object, int32_t offset, ::String value);
    struct Introspection {
        static Variant GetValue(::Object* object, const PropertyEntry* entry);
        static void SetValue(::Object* object, const PropertyEntry* entry, const Variant& value);
    };
};

// Objects are held in their field as a retained reference.
struct Object {
    static Ref<::Object> Get(::Object* object, int32_t offset);
    static void Set(::Object* object, int32_t offset, ::Object* value);
    struct Introspection {
        static Variant GetValue(::Object* object, const PropertyEntry* entry);
        static void SetValue(::Object* object, const PropertyEntry* entry, const Variant& value);
    };
};

// A WeakRef field: the setter retains the WeakRef object (which itself holds its target
// weakly) and checks that it is one.
struct WeakRef {
    static void Set(::Object* object, int32_t offset, ::Object* value);
    struct Introspection {
        static void SetValue(::Object* object, const PropertyEntry* entry, const Variant& value);
    };
};

// The accessor family for a C++ value type.
// clang-format off
template <class T> struct For;
template <> struct For<double> { using Type = Double; };
template <> struct For<float> { using Type = Single; };
template <> struct For<int64_t> { using Type = Integer; };
template <> struct For<bool> { using Type = Boolean; };
template <> struct For<uint8_t> { using Type = Byte; };
template <> struct For<::Color> { using Type = Color; };
template <> struct For<::String> { using Type = String; };
template <> struct For<Ref<::Object>> { using Type = Object; };
template <> struct For<void*> { using Type = Ptr; };
template <> struct For<::Variant> { using Type = VariantValue; };
// clang-format on

// What a property's own getter and setter look like for a value of type T: objects are
// returned as a new reference and set borrowed.
template <class T>
struct AccessorTypes {
    using Getter = T (*)(::Object*, int32_t);
    using Setter = void (*)(::Object*, int32_t, T);
};
template <>
struct AccessorTypes<Ref<::Object>> {
    using Getter = Ref<::Object> (*)(::Object*, int32_t);
    using Setter = void (*)(::Object*, int32_t, ::Object*);
};

}  // namespace props

// The type codes that the framework's generic boxed accessors `getter` and `setter` (nil
// for none) exchange with their entry's getter and setter; nil when either is none of the
// framework's own or the two exchange different types.
TypeCodeTest RuntimeBoxedAccessorTypes(BoxedGetter getter, BoxedSetter setter);

// Whether `function` is one of the framework's generic getters or setters of a stored field,
// which read or write at the object reference plus the entry's field offset.
bool RuntimeIsFieldAccessor(GenericFn function);

// A stored property whose value lives in the object's field at `offset`.
template <class T>
PropertyRow StoredProperty(const char* name, uint32_t flags, const char* typeText,
                           int32_t offset) {
    using A = typename props::For<T>::Type;
    return {name,
            flags,
            typeText,
            offset,
            reinterpret_cast<GenericFn>(&A::Get),
            reinterpret_cast<GenericFn>(&A::Set),
            &A::Introspection::GetValue,
            &A::Introspection::SetValue,
            &CppType<T>::Accepts};
}

// A function address as a GenericFn; nil stays nil.
template <class F>
GenericFn AsGenericFn(F function) {
    if constexpr (std::is_null_pointer_v<F>) {
        return nullptr;
    } else {
        return reinterpret_cast<GenericFn>(function);
    }
}

// A property's getter or setter as a GenericFn, once the compiler has checked that it takes
// or gives the property's value type; nil stays nil.
template <class Expected, class F>
GenericFn AccessorFn(F function) {
    static_assert(std::is_null_pointer_v<F> || std::is_same_v<F, Expected>,
                  "the accessor does not take or give the property's value type");
    return AsGenericFn(function);
}

// A stored property whose getter and setter are the class's own, for a field whose change
// must reach more than the field; `get` and `set` as for a computed property.
template <class T, class G, class S>
PropertyRow StoredProperty(const char* name, uint32_t flags, const char* typeText, int32_t offset,
                           G get, S set) {
    PropertyRow row = StoredProperty<T>(name, flags, typeText, offset);
    row.getter = AccessorFn<typename props::AccessorTypes<T>::Getter>(get);
    row.setter = AccessorFn<typename props::AccessorTypes<T>::Setter>(set);
    return row;
}

// A stored property that the record only reads: it has no setter, boxed or not.
template <class T>
PropertyRow ReadOnlyStoredProperty(const char* name, uint32_t flags, const char* typeText,
                                   int32_t offset) {
    PropertyRow row = StoredProperty<T>(name, flags, typeText, offset);
    row.setter = nullptr;
    row.boxedSetter = nullptr;
    return row;
}

// A computed property: `get` is T (*)(Object*, int32_t), `set` void (*)(Object*, int32_t, T)
// (objects are set as Object*), or nil for a read-only property.
template <class T, class G, class S>
PropertyRow ComputedProperty(const char* name, uint32_t flags, const char* typeText, G get,
                             S set) {
    using A = typename props::For<T>::Type;
    return {name,
            flags,
            typeText,
            0,
            AccessorFn<typename props::AccessorTypes<T>::Getter>(get),
            AccessorFn<typename props::AccessorTypes<T>::Setter>(set),
            &A::Introspection::GetValue,
            &A::Introspection::SetValue,
            &CppType<T>::Accepts};
}
