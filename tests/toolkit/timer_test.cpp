// Timer: the record of a single run fires once, its period after the record was applied.
#include "framework/toolkit/timer.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTest>

#include "framework/toolkit/property_record.h"
#include "tests/toolkit/raised.h"

namespace {

int gFired = 0;

// Binds Action as a window binds it: to a method of `target`, held weakly (or to a function).
void BindAction(Object* timer, Object* target) {
    auto counted = target ? AsGenericFn(+[](Object*, Object*) { ++gFired; })
                          : AsGenericFn(+[](Object*) { ++gFired; });
    Ref<Object> delegate = RuntimeCreateDelegate(DelegateInvocation<void, Object*>(), counted,
                                                 target, "( Timer )", kDelegateWeakTarget);
    RuntimeAddEventHandler(timer, Timer::kActionEvent, EventDispatchRoutine<void>(),
                           delegate.get());
}

class TimerTest : public LeakCheckedTest {
  protected:
    void SetUp() override {
        LeakCheckedTest::SetUp();
        gFired = 0;
    }
    Ref<Object> NewTimer() {
        Ref<Object> timer = RuntimeNewObject(Timer::dunder_Lookup());
        BindAction(timer.get(), nullptr);
        return timer;
    }
};

TEST_F(TimerTest, TheRecordOfASingleRunFiresOncePeriodAfterItWasApplied) {
    Ref<Object> timer = NewTimer();
    const RecordEntry record[] = {{"RunMode", Int(1)}, {"Period", Int(300)}};
    QElapsedTimer clock;
    clock.start();
    RuntimeMassPropertySetter(timer.get(), EncodePropertyRecord(record));
    EXPECT_TRUE(RuntimeTimerArmed(timer.get()));
    QTRY_COMPARE_WITH_TIMEOUT(gFired, 1, 3000);
    EXPECT_GE(clock.elapsed(), 300);  // counted from the later set, never early
    EXPECT_LT(clock.elapsed(), 900);  // and not the default period set with RunMode
    QTest::qWait(400);
    EXPECT_EQ(gFired, 1);
    EXPECT_FALSE(RuntimeTimerArmed(timer.get()));
}

}  // namespace
