// Helpers shared by the runtime tests: what a statement raised, variant comparison, a short
// way to state a class, and a fixture that proves every test releases the objects it made.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "framework/runtime/runtime.h"

// The class name of the exception `statement` raised, or "nothing".
template <class F>
std::string RaisedClassName(F&& statement) {
    try {
        statement();
    } catch (const RaisedException& raised) {
        Object* object = raised.ExceptionObject().get();
        return object ? object->cls->name : "nil";
    }
    return "nothing";
}

#define EXPECT_RAISES(statement, ExceptionClass) \
    EXPECT_EQ(RaisedClassName([&] { statement; }), #ExceptionClass)
#define EXPECT_RAISES_NOTHING(statement) EXPECT_EQ(RaisedClassName([&] { statement; }), "nothing")

// Same type and same value; objects compare by identity.
inline bool SameVariant(const Variant& a, const Variant& b) {
    if (a.Type() != b.Type()) return false;
    switch (a.Type()) {
        case VariantType::Boolean:
            return a.AsBoolean() == b.AsBoolean();
        case VariantType::Integer:
            return a.AsInteger() == b.AsInteger();
        case VariantType::Single:
        case VariantType::Double:
            return a.AsDouble() == b.AsDouble();
        case VariantType::String:
            return a.AsString() == b.AsString();
        case VariantType::Color:
            return a.AsColor() == b.AsColor();
        case VariantType::Currency:
            return a.AsCurrency() == b.AsCurrency();
        case VariantType::Ptr:
            return a.AsPtr() == b.AsPtr();
        default:  // Nil and Object
            return a.BorrowObject() == b.BorrowObject();
    }
}

// A class declared by name, superclass and counts; callers add the tables it needs.
inline ClassSpec Declared(const char* name, ClassRecord* (*superclass)(), uint32_t methods,
                          uint32_t events, uint32_t properties, uint32_t dataSize, uint32_t slots) {
    return {name, superclass, methods, 0, events, properties, dataSize, slots};
}

// Every test that uses it must leave as many live objects as it found.
class RuntimeTest : public testing::Test {
  protected:
    void SetUp() override { liveAtStart_ = RuntimeLiveObjectCount(); }
    void TearDown() override {
        EXPECT_EQ(RuntimeLiveObjectCount(), liveAtStart_) << "objects leaked or freed twice";
    }

  private:
    int64_t liveAtStart_ = 0;
};
