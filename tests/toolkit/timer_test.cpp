// Timer: single and repeated runs, re-arming, stopping, the Action binding and receivers,
// a window that went away, CallLater, and the interfaces a timer on a window implements.
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

void OwnedSetWindow(Object* self, Object* window) {
    Ref<Object> weak = RuntimeNewWeakRef(window);
    props::WeakRef::Set(self, kOwnerOffset, weak.get());
}
Ref<Object> OwnedWindow(Object* self) {
    Ref<Object> weak = props::Object::Get(self, kOwnerOffset);
    return weak ? WeakRef::Value(weak.get()) : nullptr;
}
int64_t OwnedIndex(Object*) {
    return 7;
}
void OwnedSetIndex(Object*, int64_t) {}
void OwnedExit(Object* self) {
    props::Object::Set(self, kOwnerOffset, nullptr);
}

void FillOwnedPaneChild(InterfaceEntry* entry) {
    static const GenericFn functions[] = {AsGenericFn(&OwnedSetWindow), AsGenericFn(&OwnedWindow),
                                          AsGenericFn(&OwnedIndex), AsGenericFn(&OwnedSetIndex)};
    RuntimeFillInterfaceEntry(entry, _PaneChild::dunder_Lookup(), functions);
}

ClassCell gOwnedTimer{nullptr, [] {}};
ClassRecord* OwnedTimerRecord() {
    static const InterfaceRow interfaces[] = {{&FillOwnedPaneChild}};
    static const ClassSpec spec{.name = "TimerTest.OwnedTimer",
                                .superclass = &Timer::dunder_Lookup,
                                .methodCount = Timer::kMethodCount,
                                .interfaceCount = 1,
                                .eventCount = 1,
                                .propertyCount = 7,
                                .instanceDataSize = 56,
                                .slotCount = Timer::kSlotCount,
                                .exit = &OwnedExit,
                                .interfaces = interfaces};
    return RuntimeBuildClass(gOwnedTimer, spec);
}

// ---- a receiver of actions --------------------------------------------------------------

int gPerformed = 0;
void PerformAction(Object*) {
    ++gPerformed;
}
void FillReceiver(InterfaceEntry* entry) {
    static const GenericFn functions[] = {AsGenericFn(&PerformAction)};
    RuntimeFillInterfaceEntry(entry, actionNotificationReceiver::dunder_Lookup(), functions);
}
ClassCell gReceiver{nullptr, [] {}};
ClassRecord* ReceiverRecord() {
    static const InterfaceRow interfaces[] = {{&FillReceiver}};
    static const ClassSpec spec{.name = "TimerTest.Receiver",
                                .superclass = nullptr,
                                .methodCount = 0,
                                .interfaceCount = 1,
                                .eventCount = 0,
                                .propertyCount = 0,
                                .instanceDataSize = 0,
                                .slotCount = 0,
                                .interfaces = interfaces};
    return RuntimeBuildClass(gReceiver, spec);
}

// ---- the Action binding -----------------------------------------------------------------

int gFired = 0;
void CountFiring(Object* /*target*/, Object* /*timer*/) {
    ++gFired;
}
void CountFiringWithoutTarget(Object* /*timer*/) {
    ++gFired;
}

// Binds Action as a window binds it: to a method of `target`, held weakly.
void BindAction(Object* timer, Object* target) {
    Ref<Object> delegate =
        target ? RuntimeCreateDelegate(DelegateInvocation<void, Object*>(),
                                       reinterpret_cast<GenericFn>(&CountFiring), target,
                                       "( Timer )", kDelegateWeakTarget)
               : RuntimeCreateDelegate(DelegateInvocation<void, Object*>(),
                                       reinterpret_cast<GenericFn>(&CountFiringWithoutTarget),
                                       nullptr, "( Timer )", 0);
    RuntimeAddEventHandler(timer, Timer::kActionEvent, EventDispatchRoutine<void>(),
                           delegate.get());
}

void Set(Object* timer, const char* property, int64_t value) {
    const PropertyEntry* entry = RuntimeFindProperty(timer->cls, property);
    ASSERT_NE(entry, nullptr) << property;
    entry->boxedSetter(timer, entry, Variant(value));
}
void SetEnabled(Object* timer, bool on) {
    const PropertyEntry* entry = RuntimeFindProperty(timer->cls, "Enabled");
    entry->boxedSetter(timer, entry, Variant(on));
}

class TimerTest : public LeakCheckedTest {
  protected:
    void SetUp() override {
        LeakCheckedTest::SetUp();
        gFired = 0;
        gPerformed = 0;
    }
    Ref<Object> NewTimer(ClassRecord* cls = Timer::dunder_Lookup()) {
        Ref<Object> timer = RuntimeNewObject(cls);
        BindAction(timer.get(), nullptr);
        return timer;
    }
};

TEST_F(TimerTest, ANewTimerIsOffUntilItsRunModeIsSet) {
    Ref<Object> timer = NewTimer();
    Set(timer.get(), "Period", 10);
    QTest::qWait(60);
    EXPECT_EQ(gFired, 0);
    EXPECT_FALSE(RuntimeTimerArmed(timer.get()));
}

TEST_F(TimerTest, TheRecordOfASingleRunFiresOncePeriodAfterItWasApplied) {
    Ref<Object> timer = NewTimer();
    const RecordEntry record[] = {{"RunMode", Int(1)}, {"Period", Int(300)}};
    QElapsedTimer clock;
    clock.start();
    RuntimeMassPropertySetter(timer.get(), EncodePropertyRecord(record));
    EXPECT_TRUE(RuntimeTimerArmed(timer.get()));
    QTRY_COMPARE_WITH_TIMEOUT(gFired, 1, 3000);
    EXPECT_GE(clock.elapsed(), 300);  // counted from the later set, never early
    QTest::qWait(400);
    EXPECT_EQ(gFired, 1);
    EXPECT_FALSE(RuntimeTimerArmed(timer.get()));
}

TEST_F(TimerTest, SettingThePeriodRestartsARunningCountdown) {
    Ref<Object> timer = NewTimer();
    Set(timer.get(), "RunMode", 1);
    Set(timer.get(), "Period", 200);
    QTest::qWait(150);
    QElapsedTimer clock;
    clock.start();
    Set(timer.get(), "Period", 200);
    QTRY_COMPARE_WITH_TIMEOUT(gFired, 1, 3000);
    EXPECT_GE(clock.elapsed(), 200);
}

TEST_F(TimerTest, RunModeTwoFiresRepeatedlyUntilRunModeZero) {
    Ref<Object> timer = NewTimer();
    Set(timer.get(), "Period", 20);
    Set(timer.get(), "RunMode", 2);
    QTRY_VERIFY_WITH_TIMEOUT(gFired >= 3, 3000);
    Set(timer.get(), "RunMode", 0);
    int stoppedAt = gFired;
    QTest::qWait(100);
    EXPECT_EQ(gFired, stoppedAt);
    EXPECT_FALSE(RuntimeTimerArmed(timer.get()));
}

TEST_F(TimerTest, DisablingStopsWhileEnablingAndResetStartAgain) {
    Ref<Object> timer = NewTimer();
    Set(timer.get(), "Period", 30);
    Set(timer.get(), "RunMode", 1);
    SetEnabled(timer.get(), false);
    QTest::qWait(100);
    EXPECT_EQ(gFired, 0);
    SetEnabled(timer.get(), true);
    QTRY_COMPARE_WITH_TIMEOUT(gFired, 1, 2000);
    RuntimeCallSlot<void>(timer.get(), 2);  // Reset runs a spent single timer again
    QTRY_COMPARE_WITH_TIMEOUT(gFired, 2, 2000);
}

TEST_F(TimerTest, OutOfRangeValuesAreRefused) {
    Ref<Object> timer = NewTimer();
    EXPECT_EQ(RaisedClass([&] { Set(timer.get(), "RunMode", 3); }), "OutOfBoundsException");
    EXPECT_EQ(RaisedClass([&] { Set(timer.get(), "Period", -1); }), "OutOfBoundsException");
}

TEST_F(TimerTest, ATimerReleasedByItsOwnHandlerGoesQuietly) {
    Object* timer = RuntimeNewObjectRaw(Timer::dunder_Lookup());
    struct Holder {
        static void Fire(Object* held, Object*) {
            ++gFired;
            RuntimeRelease(held);  // the last reference
        }
    };
    Ref<Object> delegate = RuntimeCreateDelegate(DelegateInvocation<void, Object*>(),
                                                 reinterpret_cast<GenericFn>(&Holder::Fire), timer,
                                                 "( Timer )", kDelegateWeakTarget);
    RuntimeAddEventHandler(timer, Timer::kActionEvent, EventDispatchRoutine<void>(),
                           delegate.get());
    delegate.Reset();
    Set(timer, "Period", 10);
    Set(timer, "RunMode", 2);
    QTRY_COMPARE_WITH_TIMEOUT(gFired, 1, 2000);
    QTest::qWait(50);
    EXPECT_EQ(gFired, 1);
}

TEST_F(TimerTest, ReceiversAreToldOfEveryFiringUntilRemoved) {
    Ref<Object> timer = NewTimer();
    Ref<Object> receiver = RuntimeNewObject(ReceiverRecord());
    RuntimeCallSlot<void, Object*>(timer.get(), 0,
                                   receiver.get());  // addActionNotificationReceiver
    RuntimeCallSlot<void, Object*>(timer.get(), 0, receiver.get());  // twice is once
    Set(timer.get(), "Period", 20);
    Set(timer.get(), "RunMode", 1);
    QTRY_COMPARE_WITH_TIMEOUT(gPerformed, 1, 2000);
    EXPECT_EQ(gFired, 1);
    RuntimeCallSlot<void, Object*>(timer.get(), 1,
                                   receiver.get());  // removeActionNotificationReceiver
    RuntimeCallSlot<void>(timer.get(), 2);
    QTRY_COMPARE_WITH_TIMEOUT(gFired, 2, 2000);
    EXPECT_EQ(gPerformed, 1);
    Ref<Object> notReceiver = RuntimeNewObject(Timer::dunder_Lookup());
    EXPECT_EQ(
        RaisedClass([&] { Timer::addActionNotificationReceiver(timer.get(), notReceiver.get()); }),
        "IllegalCastException");
}

TEST_F(TimerTest, CallLaterCallsOnceAndCancelCallLaterPreventsIt) {
    const MethodEntry* callLater = RuntimeFindMethod(Timer::dunder_Lookup(), "CallLater");
    const MethodEntry* cancel = RuntimeFindMethod(Timer::dunder_Lookup(), "CancelCallLater");
    auto delegateOf = [](void (*fn)()) {
        return RuntimeCreateDelegate(DelegateInvocation<void>(), reinterpret_cast<GenericFn>(fn),
                                     nullptr, "()", 0);
    };
    Ref<Object> called = delegateOf(+[] { ++gFired; });
    Ref<Object> cancelled = delegateOf(+[] { gFired += 100; });
    for (const VariantList& args :
         {VariantList{int64_t{20}, called}, VariantList{int64_t{20}, cancelled}})
        callLater->invoker->Invoke(callLater->function, nullptr, &args);
    VariantList toCancel{cancelled};
    cancel->invoker->Invoke(cancel->function, nullptr, &toCancel);
    QTRY_COMPARE_WITH_TIMEOUT(gFired, 1, 2000);
    QTest::qWait(60);
    EXPECT_EQ(gFired, 1);
}

// A plain framework window, built and hidden.
Ref<Object> NewHiddenWindow() {
    Ref<Object> window = RuntimeNewObject(Window::dunder_Lookup());
    WindowDefaultConstructor(window.get());
    RuntimeHideWindow(window.get());
    return window;
}

// A timer placed on `window` the way a window creates its controls.
Ref<Object> PlaceTimer(Object* window) {
    Ref<Object> timer = WindowAllocateObject(window, OwnedTimerRecord());
    WindowAddControl(window, "Timer1", timer.get());
    BindAction(timer.get(), window);
    return timer;
}

TEST_F(TimerTest, ATimerOnAHiddenWindowFiresAndKnowsItsWindow) {
    Ref<Object> window = NewHiddenWindow();
    Ref<Object> timer = PlaceTimer(window.get());
    const InterfaceEntry* pane = RuntimeInterfaceOf(timer.get(), _PaneChild::dunder_Lookup());
    EXPECT_NE(RuntimeInterfaceOf(timer.get(), actionSource::dunder_Lookup()),
              nullptr);  // Timer's own
    EXPECT_EQ(
        reinterpret_cast<Ref<Object> (*)(Object*)>(pane->table[_PaneChild::kWindow])(timer.get()),
        window);
    Set(timer.get(), "RunMode", 1);
    Set(timer.get(), "Period", 50);
    QTRY_COMPARE_WITH_TIMEOUT(gFired, 1, 2000);
    EXPECT_FALSE(RuntimeWindowVisible(window.get()));
    RuntimeCloseWindow(window.get());
}

TEST_F(TimerTest, ATimerThatOutlivesItsWindowDoesNotCallIntoIt) {
    Ref<Object> window = NewHiddenWindow();
    Ref<Object> timer = PlaceTimer(window.get());
    Set(timer.get(), "Period", 20);
    Set(timer.get(), "RunMode", 2);
    QTRY_VERIFY_WITH_TIMEOUT(gFired >= 1, 2000);
    RuntimeCloseWindow(window.get());
    window.Reset();
    int firedBefore = gFired;
    QTest::qWait(100);
    EXPECT_EQ(gFired, firedBefore);
}

}  // namespace
