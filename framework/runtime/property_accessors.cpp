#include "property_accessors.h"

#include <algorithm>
#include <vector>

#include "exceptions.h"
#include "weak_ref.h"

namespace props {

::String String::Get(::Object* object, int32_t offset) {
    return ::String::CopyRaw(RuntimeRequire(object)->Field<StringData*>(offset));
}

void String::Set(::Object* object, int32_t offset, ::String value) {
    StringData*& field = RuntimeRequire(object)->Field<StringData*>(offset);
    StringData* old = std::exchange(field, value.RetainRaw());
    ::String::AdoptRaw(old);  // released here
}

Variant String::Introspection::GetValue(::Object* object, const PropertyEntry* entry) {
    auto get = reinterpret_cast<::String (*)(::Object*, int32_t)>(entry->getter);
    return Variant(get(RuntimeRequire(object), entry->fieldOffset));
}

void String::Introspection::SetValue(::Object* object, const PropertyEntry* entry,
                                     const Variant& value) {
    if (!entry->setter) RaiseRefused(std::string(entry->name) + " is read-only");
    auto set = reinterpret_cast<void (*)(::Object*, int32_t, ::String)>(entry->setter);
    set(RuntimeRequire(object), entry->fieldOffset, value.AsString());
}

Ref<::Object> Object::Get(::Object* object, int32_t offset) {
    return Ref<::Object>::Retain(RuntimeRequire(object)->Field<::Object*>(offset));
}

void Object::Set(::Object* object, int32_t offset, ::Object* value) {
    ::Object*& field = RuntimeRequire(object)->Field<::Object*>(offset);
    RuntimeRetain(value);
    ::Object* old = std::exchange(field, value);
    RuntimeRelease(old);
}

Variant Object::Introspection::GetValue(::Object* object, const PropertyEntry* entry) {
    auto get = reinterpret_cast<Ref<::Object> (*)(::Object*, int32_t)>(entry->getter);
    return Variant(get(RuntimeRequire(object), entry->fieldOffset));
}

void Object::Introspection::SetValue(::Object* object, const PropertyEntry* entry,
                                     const Variant& value) {
    if (!entry->setter) RaiseRefused(std::string(entry->name) + " is read-only");
    TypeCode code = ParseTypeCode(entry->typeText);
    ::Object* target = RuntimeCastArgument(value.BorrowObject(), code);
    auto set = reinterpret_cast<void (*)(::Object*, int32_t, ::Object*)>(entry->setter);
    set(RuntimeRequire(object), entry->fieldOffset, target);
}

void WeakRef::Set(::Object* object, int32_t offset, ::Object* value) {
    RuntimeCheckCast(value, ::WeakRef::dunder_Lookup());
    Object::Set(object, offset, value);
}

void WeakRef::Introspection::SetValue(::Object* object, const PropertyEntry* entry,
                                      const Variant& value) {
    Set(RuntimeRequire(object), entry->fieldOffset, value.BorrowObject());
}

}  // namespace props

namespace {

// The framework's generic boxed accessors and the type codes each exchanges with its entry.
struct AccessorFamily {
    BoxedGetter getValue;
    BoxedSetter setValue;
    TypeCodeTest accepts;
};

template <class T>
constexpr AccessorFamily FamilyOf() {
    using A = typename props::For<T>::Type;
    return {&A::Introspection::GetValue, &A::Introspection::SetValue, &CppType<T>::Accepts};
}

// clang-format off
constexpr AccessorFamily kAccessorFamilies[] = {
    FamilyOf<double>(), FamilyOf<float>(),  FamilyOf<int64_t>(),     FamilyOf<bool>(),
    FamilyOf<uint8_t>(), FamilyOf<Color>(), FamilyOf<String>(),      FamilyOf<Ref<Object>>(),
    FamilyOf<void*>(),  FamilyOf<Variant>(),
    {nullptr, &props::WeakRef::Introspection::SetValue, &CppType<Ref<Object>>::Accepts},
};
// clang-format on

}  // namespace

TypeCodeTest RuntimeBoxedAccessorTypes(BoxedGetter getter, BoxedSetter setter) {
    TypeCodeTest gets = nullptr, sets = nullptr;
    for (const AccessorFamily& family : kAccessorFamilies) {
        if (getter && family.getValue == getter) gets = family.accepts;
        if (setter && family.setValue == setter) sets = family.accepts;
    }
    if (!gets || (setter && sets != gets)) return nullptr;
    return gets;
}

namespace {

template <class T>
void AddFieldAccessors(std::vector<GenericFn>& out) {
    using A = typename props::For<T>::Type;
    out.push_back(AsGenericFn(&A::Get));
    out.push_back(AsGenericFn(&A::Set));
}

}  // namespace

bool RuntimeIsFieldAccessor(GenericFn function) {
    static const std::vector<GenericFn> accessors = [] {
        std::vector<GenericFn> all;
        AddFieldAccessors<double>(all);
        AddFieldAccessors<float>(all);
        AddFieldAccessors<int64_t>(all);
        AddFieldAccessors<bool>(all);
        AddFieldAccessors<uint8_t>(all);
        AddFieldAccessors<Color>(all);
        AddFieldAccessors<String>(all);
        AddFieldAccessors<Ref<Object>>(all);
        AddFieldAccessors<void*>(all);
        AddFieldAccessors<Variant>(all);
        all.push_back(AsGenericFn(&props::WeakRef::Set));
        return all;
    }();
    return function && std::find(accessors.begin(), accessors.end(), function) != accessors.end();
}
