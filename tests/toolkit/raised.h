// What a statement raised, and a fixture that proves a test releases every object it made.
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <span>
#include <string>

#include "framework/toolkit/toolkit_testing.h"

// The class name of the framework exception `statement` raised, or "nothing".
template <class F>
std::string RaisedClass(F&& statement) {
    try {
        statement();
    } catch (const RaisedException& raised) {
        Object* object = raised.ExceptionObject().get();
        return object ? object->cls->name : "nil";
    }
    return "nothing";
}

// A class of its own, with no methods or events: the small helper classes of the tests.
inline ClassSpec RootClass(const char* name, uint32_t dataSize,
                           std::span<const PropertyRow> properties = {},
                           std::span<const InterfaceRow> interfaces = {}) {
    return {.name = name,
            .superclass = nullptr,
            .methodCount = 0,
            .interfaceCount = static_cast<uint32_t>(interfaces.size()),
            .eventCount = 0,
            .propertyCount = static_cast<uint32_t>(properties.size()),
            .instanceDataSize = dataSize,
            .slotCount = 0,
            .properties = properties,
            .interfaces = interfaces};
}

// Leaves as many live objects as it found; Qt's deferred deletions are run first.
class LeakCheckedTest : public testing::Test {
  protected:
    void SetUp() override { liveAtStart_ = RuntimeLiveObjectCount(); }
    void TearDown() override {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(RuntimeLiveObjectCount(), liveAtStart_) << "objects leaked or released twice";
    }

  private:
    int64_t liveAtStart_ = 0;
};
