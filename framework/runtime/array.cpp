#include "array.h"

#include <string>
#include <vector>

#include "class_builder.h"
#include "exceptions.h"

namespace {

using Elements = std::vector<Ref<Object>>;
constexpr int32_t kElementsOffset = -8;

Elements& ElementsOf(Object* array) {
    RuntimeCheckCast(array, ObjectArray::dunder_Lookup());
    return *RuntimeRequire(array)->Field<Elements*>(kElementsOffset);
}

void ArrayInit(Object* self) { self->Field<Elements*>(kElementsOffset) = new Elements(); }
void ArrayExit(Object* self) { delete std::exchange(self->Field<Elements*>(kElementsOffset), nullptr); }

[[noreturn]] void OutOfBounds(int64_t index, int64_t ubound) {
    RuntimeRaiseNew(OutOfBoundsException::dunder_Lookup(),
                    "index " + std::to_string(index) + " is outside 0 to " + std::to_string(ubound));
}

ClassCell gObjectArray{nullptr, &ObjectArray::dunder_ctblinit};

}  // namespace

void ObjectArray::dunder_ctblinit() {
    static const ClassSpec spec = OneFieldClassSpec("ObjectArray", &ArrayInit, &ArrayExit);
    RuntimeBuildClass(gObjectArray, spec);
}
ClassRecord* ObjectArray::dunder_Lookup() { return RuntimeLookupClass(gObjectArray); }

Ref<Object> CreateArray(int32_t dimensions, int64_t upperBound) {
    if (dimensions != 1) RaiseUnsupported("an array of " + std::to_string(dimensions) + " dimensions");
    if (upperBound < -1) OutOfBounds(upperBound, -1);
    if (upperBound > (int64_t{1} << 32)) OutOfBounds(upperBound, int64_t{1} << 32);
    Ref<Object> array = RuntimeNewObject(ObjectArray::dunder_Lookup());
    ElementsOf(array.get()).resize(static_cast<size_t>(upperBound + 1));
    return array;
}

int64_t RuntimeArrayUbound(Object* array) {
    return static_cast<int64_t>(ElementsOf(array).size()) - 1;
}

void RuntimeArrayInsert(Object* array, int64_t index, Object* value) {
    Elements& elements = ElementsOf(array);
    int64_t size = static_cast<int64_t>(elements.size());
    if (index < 0 || index > size) OutOfBounds(index, size);
    elements.insert(elements.begin() + index, Ref<Object>::Retain(value));
}

Ref<Object> RuntimeArrayGet(Object* array, int64_t index) {
    Elements& elements = ElementsOf(array);
    int64_t size = static_cast<int64_t>(elements.size());
    if (index < 0 || index >= size) OutOfBounds(index, size - 1);
    return elements[static_cast<size_t>(index)];
}
