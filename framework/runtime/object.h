// Runtime objects: the header an object reference points at, and reference counting.
//
// An object is one block allocated from its class record's instance data size. The
// reference points at the header; the instance fields lie before it, at the negative
// offsets the class records state (the superclass's fields nearest the header).
#pragma once

#include <cstddef>
#include <cstdint>

struct ClassRecord;
struct WeakControl;

// A function address of any signature, as stored in virtual tables and record entries.
using GenericFn = void (*)();

struct Object {
    GenericFn* vtable;   // the virtual table of the object's class
    ClassRecord* cls;    // the class the object was created from
    int32_t refcount;    // references held; the object goes when the last is released
    uint32_t state;      // runtime bits: event handlers attached, being finalised
    WeakControl* weak;   // shared with weak references; nil until the first one is made

    char* Base() { return reinterpret_cast<char*>(this); }

    // The instance field at `offset` (negative) from the reference.
    template <class T>
    T& Field(int32_t offset) {
        return *reinterpret_cast<T*>(Base() + offset);
    }
};

// Adds a reference to `object` (nil is ignored).
void RuntimeRetain(Object* object);
// Drops a reference; the last one runs the destructors and field finalisers and frees the block.
void RuntimeRelease(Object* object);

// A new object of `cls`, fields zeroed, field initialisers run superclass first. Not yet
// constructed: the caller runs the class's constructor. Returns a new reference.
Object* RuntimeNewObjectRaw(ClassRecord* cls);
