// One-dimensional arrays of objects.
#pragma once

#include <cstdint>

#include "class_record.h"
#include "ref.h"

struct ObjectArray {
    static ClassRecord* dunder_Lookup();
    static void dunder_ctblinit();
};

// A new array; only one dimension is supported. Upper bound -1 is the empty array.
Ref<Object> CreateArray(int32_t dimensions, int64_t upperBound);
// The index of the last element (-1 when empty).
int64_t RuntimeArrayUbound(Object* array);
// Inserts `value` at `index` (0 to Ubound + 1); raises OutOfBoundsException otherwise.
void RuntimeArrayInsert(Object* array, int64_t index, Object* value);
// The element at `index` with a new reference; raises OutOfBoundsException.
Ref<Object> RuntimeArrayGet(Object* array, int64_t index);
