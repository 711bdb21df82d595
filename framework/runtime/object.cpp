#include "object.h"

#include <cstring>
#include <new>

#include "class_record.h"
#include "delegate_internal.h"
#include "exceptions.h"
#include "lifecycle.h"
#include "runtime_testing.h"
#include "weak_ref.h"

namespace {

int64_t gLiveObjects = 0;

// The field area before the header is rounded up so the header stays 16-byte aligned.
size_t FieldArea(uint32_t instanceDataSize) { return (size_t{instanceDataSize} + 15) & ~size_t{15}; }

void FreeBlock(Object* object) {
    char* block = object->Base() - FieldArea(object->cls->instanceDataSize);
    ::operator delete(block, std::align_val_t{16});
    --gLiveObjects;
}

// Runs `step` for each class of the chain, most derived first; an exception from one class
// is reported and the rest still run, since a dying object has nobody to raise to.
template <class Step>
void ForChainMostDerivedFirst(Object* object, Step step) {
    for (ClassRecord* cls = object->cls; cls; cls = cls->superclass) {
        try {
            step(cls);
        } catch (const RaisedException& raised) {
            RuntimeUnhandledException(raised.ExceptionObject().get());
        }
    }
}

void Finalise(Object* object) {
    object->state |= kObjectFinalising;
    object->refcount = 1;  // lets destructors retain and release the object in passing
    ForChainMostDerivedFirst(object, [&](ClassRecord* cls) {
        if (cls->destructor) cls->destructor(object);
    });
    ForChainMostDerivedFirst(object, [&](ClassRecord* cls) {
        if (cls->exit) cls->exit(object);
    });
    if (object->state & kObjectHasHandlers) RuntimeDropEventHandlers(object);
    if (object->weak) {
        object->weak->target = nullptr;
        RuntimeReleaseWeakControl(object->weak);
        object->weak = nullptr;
    }
    FreeBlock(object);
}

}  // namespace

void RuntimeRetain(Object* object) {
    if (object) ++object->refcount;
}

void RuntimeRelease(Object* object) {
    if (!object) return;
    if (--object->refcount > 0) return;
    if (object->state & kObjectFinalising) return;  // a release in passing during finalisation
    Finalise(object);
}

Object* RuntimeNewObjectRaw(ClassRecord* cls) {
    if (!cls) RaiseNilObjectException();
    if (cls->kind & kKindInterface) {
        RuntimeRaiseNew(UnsupportedOperationException::dunder_Lookup(),
                        std::string("cannot create an object of the interface ") + cls->name);
    }
    size_t area = FieldArea(cls->instanceDataSize);
    char* block = static_cast<char*>(::operator new(area + sizeof(Object), std::align_val_t{16}));
    std::memset(block, 0, area + sizeof(Object));
    auto* object = reinterpret_cast<Object*>(block + area);
    object->vtable = cls->vtable;
    object->cls = cls;
    object->refcount = 1;
    ++gLiveObjects;

    // Field initialisers run superclass first.
    ClassRecord* chain[64];
    int depth = 0;
    for (ClassRecord* c = cls; c && depth < 64; c = c->superclass) chain[depth++] = c;
    try {
        for (int i = depth - 1; i >= 0; --i)
            if (chain[i]->init) chain[i]->init(object);
    } catch (...) {
        RuntimeRelease(object);
        throw;
    }
    return object;
}

Ref<Object> RuntimeNewObject(ClassRecord* cls) { return Ref<Object>::Adopt(RuntimeNewObjectRaw(cls)); }

int64_t RuntimeLiveObjectCount() { return gLiveObjects; }
