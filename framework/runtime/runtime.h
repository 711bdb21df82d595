// The framework runtime, in one include. What lives where:
//
//   object.h, ref.h          objects, reference counts, the owning handle Ref<T>
//   string_data.h, variant.h     reference-counted UTF-8 text; Variant, Color, Currency
//   exceptions.h             raising and carrying framework exceptions; the stack check
//   class_record.h           class records, cells, casts, virtual-slot calls
//   class_builder.h          declarative class tables turned into records
//   signature.h, invoker.h   signature texts and the generic invokers
//   property_accessors.h     Double.Get, Integer.Set, Object.Get, WeakRef.Set and the rest
//   delegate.h               delegates, event handlers, "is the event handled"
//   weak_ref.h, array.h      WeakRef; one-dimensional object arrays
//   boxing.h                 the value-boxing classes
//   lifecycle.h              start, initialisers, exception hook, report, finalisers, exit
//
// Not included here: call_trace.h, which the framework writes, and runtime_testing.h, the
// seams through which tests observe and reset the runtime.
#pragma once

#include "array.h"
#include "boxing.h"
#include "class_builder.h"
#include "class_record.h"
#include "delegate.h"
#include "exceptions.h"
#include "invoker.h"
#include "lifecycle.h"
#include "object.h"
#include "property_accessors.h"
#include "ref.h"
#include "signature.h"
#include "string_data.h"
#include "variant.h"
#include "weak_ref.h"
