// What a statement raised, and a fixture that proves a test releases every object it made.
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <string>

#include "framework/runtime/runtime.h"

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
