// Timer: the record of a single run, the Action binding, a timer released by its own handler,
// and a timer on a hidden window that went away.
#include "framework/toolkit/timer.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTest>

#include "framework/toolkit/property_record.h"
#include "framework/toolkit/window.h"
#include "tests/toolkit/raised.h"

namespace {

// ---- a timer subclass that belongs to a window, as a program declares one ---------------

constexpr int32_t kOwnerOffset = -56;  // after Timer's 44 bytes, aligned

ClassRecord* OwnedTimerClass() {
    static const InterfaceRow interfaces[] = {{[](InterfaceEntry* entry) {
        static const GenericFn functions[] = {
            AsGenericFn(+[](Object* self, Object* window) {
                props::WeakRef::Set(self, kOwnerOffset, RuntimeNewWeakRef(window).get());
            }),
            AsGenericFn(+[](Object* self) {
                Ref<Object> weak = props::Object::Get(self, kOwnerOffset);
                return weak ? WeakRef::Value(weak.get()) : nullptr;
            }),
            AsGenericFn(+[](Object*) { return int64_t{7}; }),
            AsGenericFn(+[](Object*, int64_t) {})};
        RuntimeFillInterfaceEntry(entry, under_PaneChild::dunder_Lookup(), functions);
    }}};
    static ClassCell cell{};
    return RuntimeBuildClass(
        cell, {.name = "TimerTest.OwnedTimer",
               .superclass = &Timer::dunder_Lookup,
               .methodCount = Timer::kMethodCount,
               .interfaceCount = 1,
               .eventCount = 1,
               .propertyCount = 7,
               .instanceDataSize = 56,
               .slotCount = Timer::kSlotCount,
               .exit = [](Object* self) { props::Object::Set(self, kOwnerOffset, nullptr); },
               .interfaces = interfaces});
}

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

void Set(Object* timer, const char* property, Variant value) {
    const PropertyEntry* entry = RuntimeFindProperty(timer->cls, property);
    entry->boxedSetter(timer, entry, value);
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

TEST_F(TimerTest, ATimerOnAHiddenWindowFiresKnowsItsWindowAndOutlivesItQuietly) {
    Ref<Object> window = RuntimeNewObject(Window::dunder_Lookup());
    WindowDefaultConstructor(window.get());
    RuntimeHideWindow(window.get());
    // Placed on the window the way a window creates its controls.
    Ref<Object> timer = WindowAllocateObject(window.get(), OwnedTimerClass());
    WindowAddControl(window.get(), "Timer1", timer.get());
    BindAction(timer.get(), window.get());
    const InterfaceEntry* pane = RuntimeInterfaceOf(timer.get(), under_PaneChild::dunder_Lookup());
    EXPECT_NE(RuntimeInterfaceOf(timer.get(), actionSource::dunder_Lookup()), nullptr);
    EXPECT_EQ(reinterpret_cast<Ref<Object> (*)(Object*)>(pane->table[under_PaneChild::kWindow])(
                  timer.get()),
              window);
    Set(timer.get(), "Period", int64_t{20});
    Set(timer.get(), "RunMode", int64_t{2});
    QTRY_VERIFY_WITH_TIMEOUT(gFired >= 1, 2000);
    EXPECT_FALSE(RuntimeWindowVisible(window.get()));

    RuntimeCloseWindow(window.get());
    window.Reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    int firedBefore = gFired;
    QTest::qWait(100);
    EXPECT_EQ(gFired, firedBefore) << "the Action bound to the window that went away";
}

}  // namespace
