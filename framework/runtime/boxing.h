// The value-boxing classes, through which a Variant can live as a runtime object:
// _VariantBoolean, _VariantColor, _VariantCurrency, _VariantDouble, _VariantSingle,
// _VariantInt8 … _VariantInt64, _VariantUInt8 … _VariantUInt64, _VariantPtr,
// _VariantString, _VariantText, _VariantCString, _VariantPString, _VariantWString.
#pragma once

#include <span>

#include "class_record.h"
#include "variant.h"

// Builds the records of all nineteen boxing classes.
void RuntimeInitBoxingClasses();
// The names of the nineteen boxing classes, in the order above.
std::span<const char* const> RuntimeBoxingClassNames();
// A boxed copy of `value`; a Nil variant gives nil and an object is returned as itself.
Ref<Object> RuntimeBoxVariant(const Variant& value);
// The value of a boxed object; any other object is returned as an object variant.
Variant RuntimeUnboxVariant(Object* object);
