// Timer: a QTimer with millisecond precision behind the framework class. RunMode 0 is off,
// 1 fires once, 2 fires every Period milliseconds. Setting RunMode or Enabled (re)starts the
// countdown; setting Period restarts a running one, so a record that sets RunMode 1 and then
// Period 4000 fires once, 4000 ms after the record was applied. A timer belongs to no widget:
// it fires whether its window is shown or hidden. A new timer is off until RunMode is set.
#include "framework/toolkit/timer.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTimer>
#include <algorithm>
#include <limits>
#include <vector>

#include "framework/toolkit/program_code.h"

namespace {

ClassCell gTimer{nullptr, &Timer::dunder_ctblinit};

// Timer's instance fields (44 bytes).
namespace timer_field {
constexpr int32_t kImp = -8;         // TimerState*
constexpr int32_t kPeriod = -16;     // int64: milliseconds between firings
constexpr int32_t kRunMode = -24;    // int64: RunModes
constexpr int32_t kTolerance = -32;  // int64: slack the program allows; the timer stays precise
constexpr int32_t kMode = -40;       // int64: RunMode under its older name, kept in step
constexpr int32_t kEnabled = -44;    // bool
}  // namespace timer_field

using namespace timer_field;

enum RunModes : int64_t { kOff = 0, kSingle = 1, kMultiple = 2 };
constexpr int64_t kDefaultPeriod = 1000;
constexpr uint32_t kCallActionSlot = 3;

struct TimerState {
    QPointer<QTimer> timer;               // made on first arming; a child of the application
    std::vector<WeakControl*> receivers;  // held weakly: listening keeps nobody alive
};

// Every operation on a timer reaches its fields and state through here, so the user-
// interface thread is checked here, once for all of them.
TimerState& State(Object* timer) {
    under_UITrap();
    TimerState* state = RuntimeRequire(timer)->Field<TimerState*>(kImp);
    if (!state) RaiseNilObjectException();
    return *state;
}

template <class T>
T& TimerField(Object* timer, int32_t offset) {
    State(timer);
    return timer->Field<T>(offset);
}

int64_t Field64(Object* timer, int32_t offset) {
    return TimerField<int64_t>(timer, offset);
}

// The handler bound to Action was made on a window that no longer exists: firing would
// call into a dead window, so the timer stops instead.
bool OwnerGone(Object* timer) {
    const EventBinding* binding = RuntimeFindEventHandler(timer, Timer::kActionEvent);
    if (!binding || !binding->delegate || !RuntimeDelegateHasTarget(binding->delegate.get()))
        return false;
    return !RuntimeDelegateTarget(binding->delegate.get());
}

void Stop(Object* timer) {
    if (QTimer* qtimer = State(timer).timer) qtimer->stop();
}

void Fire(Object* timer) {
    Ref<Object> keep = Ref<Object>::Retain(timer);
    RunProgramCode([timer] { RuntimeCallSlot<void>(timer, kCallActionSlot); });
}

// Starts the countdown when the timer is on. `restart` false only restarts a running one.
void Arm(Object* timer, bool restart) {
    TimerState& state = State(timer);
    int64_t mode = Field64(timer, kRunMode);
    if (mode == kOff || !TimerField<bool>(timer, kEnabled)) {
        Stop(timer);
        return;
    }
    if (!restart && !(state.timer && state.timer->isActive())) return;
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) RaiseRefused("Timer: a timer runs only while the application runs");
    if (!state.timer) {
        state.timer = new QTimer(app);
        state.timer->setTimerType(Qt::PreciseTimer);
        QObject::connect(state.timer, &QTimer::timeout, [timer] { Fire(timer); });
    }
    int64_t period =
        std::clamp<int64_t>(Field64(timer, kPeriod), 1, std::numeric_limits<int>::max());
    state.timer->setSingleShot(mode == kSingle);
    state.timer->start(static_cast<int>(period));
}

void TimerInit(Object* timer) {
    timer->Field<TimerState*>(kImp) = new TimerState();
    timer->Field<int64_t>(kPeriod) = kDefaultPeriod;
    timer->Field<bool>(kEnabled) = true;
}

void TimerExit(Object* timer) {
    TimerState* state = std::exchange(timer->Field<TimerState*>(kImp), nullptr);
    if (!state) return;
    if (QTimer* qtimer = state->timer) {
        // The timer may go while its own timeout is being delivered: let Qt delete it after.
        qtimer->stop();
        qtimer->disconnect();
        qtimer->deleteLater();
    }
    for (WeakControl* receiver : state->receivers) RuntimeReleaseWeakControl(receiver);
    delete state;
}

// ---- properties -------------------------------------------------------------------------

bool EnabledGetter(Object* timer, int32_t) {
    return TimerField<bool>(timer, kEnabled);
}
void EnabledSetter(Object* timer, int32_t, bool on) {
    TimerField<bool>(timer, kEnabled) = on;
    Arm(timer, true);
}

int64_t RunModeGetter(Object* timer, int32_t) {
    return Field64(timer, kRunMode);
}
void RunModeSetter(Object* timer, int32_t, int64_t mode) {
    if (mode < kOff || mode > kMultiple)
        RuntimeRaiseNew(
            OutOfBoundsException::dunder_Lookup(),
            "Timer.RunMode is 0 (off), 1 (once) or 2 (repeating), not " + std::to_string(mode));
    TimerField<int64_t>(timer, kRunMode) = mode;
    TimerField<int64_t>(timer, kMode) = mode;
    Arm(timer, true);
}

int64_t ToleranceGetter(Object* timer, int32_t) {
    return Field64(timer, kTolerance);
}
void ToleranceSetter(Object* timer, int32_t, int64_t milliseconds) {
    TimerField<int64_t>(timer, kTolerance) = milliseconds;
}

int64_t PeriodGetter(Object* timer, int32_t) {
    return Field64(timer, kPeriod);
}
void PeriodSetter(Object* timer, int32_t, int64_t milliseconds) {
    if (milliseconds < 0)
        RuntimeRaiseNew(OutOfBoundsException::dunder_Lookup(), "Timer.Period cannot be negative");
    TimerField<int64_t>(timer, kPeriod) = milliseconds;
    Arm(timer, false);
}

// ---- CallLater --------------------------------------------------------------------------

// A call waiting to be made: the delegate, and the value it is given when it takes one.
struct LaterCall {
    uint64_t id;
    Ref<Object> delegate;
    bool withValue;
    Variant value;
};

std::vector<LaterCall>& LaterCalls() {
    static auto* calls = new std::vector<LaterCall>();
    return *calls;
}

void RunLaterCall(uint64_t id) {
    auto& calls = LaterCalls();
    auto found = std::find_if(calls.begin(), calls.end(),
                              [id](const LaterCall& call) { return call.id == id; });
    if (found == calls.end()) return;  // cancelled
    LaterCall call = std::move(*found);
    calls.erase(found);
    RunProgramCode([&call] {
        if (call.withValue) {
            CallDelegate<void, Variant>(call.delegate.get(), call.value);
        } else {
            CallDelegate<void>(call.delegate.get());
        }
    });
}

void ScheduleLaterCall(int64_t milliseconds, Object* delegate, bool withValue, Variant value) {
    under_UITrap();
    RuntimeRequire(delegate);
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) RaiseRefused("Timer.CallLater: calls run only while the application runs");
    static uint64_t nextId = 0;
    uint64_t id = ++nextId;
    LaterCalls().push_back({id, Ref<Object>::Retain(delegate), withValue, std::move(value)});
    int delay =
        static_cast<int>(std::clamp<int64_t>(milliseconds, 0, std::numeric_limits<int>::max()));
    QTimer::singleShot(delay, Qt::PreciseTimer, app, [id] { RunLaterCall(id); });
}

void CallLater(int64_t milliseconds, Object* delegate) {
    ScheduleLaterCall(milliseconds, delegate, false, Variant());
}
void CallLaterWithValue(int64_t milliseconds, Object* delegate, Variant value) {
    ScheduleLaterCall(milliseconds, delegate, true, std::move(value));
}

// Two delegates stand for the same call when they call the same function on the same target.
bool SameCall(Object* a, Object* b) {
    if (a == b) return true;
    if (!a || !b || RuntimeDelegateFunction(a) != RuntimeDelegateFunction(b)) return false;
    return RuntimeDelegateTarget(a).get() == RuntimeDelegateTarget(b).get();
}

void CancelCallLater(Object* delegate) {
    if (!delegate) return;
    auto& calls = LaterCalls();
    calls.erase(std::remove_if(calls.begin(), calls.end(),
                               [delegate](const LaterCall& call) {
                                   return SameCall(call.delegate.get(), delegate);
                               }),
                calls.end());
}

void RemoveCallLaterTimer(Object* delegate) {
    auto& calls = LaterCalls();
    calls.erase(std::remove_if(
                    calls.begin(), calls.end(),
                    [delegate](const LaterCall& call) { return call.delegate.get() == delegate; }),
                calls.end());
}

// sCallLaterTimers: the delegates waiting to be called, in the order they were scheduled.
Ref<Object> CallLaterTimersGetter(Object*, int32_t) {
    Ref<Object> array = CreateArray(1, -1);
    int64_t index = 0;
    for (const LaterCall& call : LaterCalls())
        RuntimeArrayInsert(array.get(), index++, call.delegate.get());
    return array;
}

// ---- methods ----------------------------------------------------------------------------

void Reset(Object* timer) {
    Arm(timer, true);
}

// Raises Action, then tells each receiver; a timer whose window has gone stops instead.
void CallAction(Object* timer) {
    State(timer);
    Ref<Object> keep = Ref<Object>::Retain(timer);
    if (OwnerGone(timer)) {
        Stop(timer);
        return;
    }
    SendObjectEvent(timer, Timer::kActionEvent);
    TimerState* state = timer->Field<TimerState*>(kImp);
    if (!state) return;
    std::vector<Ref<Object>> receivers;
    for (WeakControl* control : state->receivers)
        if (Ref<Object> receiver = RuntimeWeakTarget(control))
            receivers.push_back(std::move(receiver));
    for (const Ref<Object>& receiver : receivers) {
        const InterfaceEntry* entry =
            RuntimeInterfaceOf(receiver.get(), actionNotificationReceiver::dunder_Lookup());
        if (!entry || entry->methodCount < 1 || !entry->table[0]) continue;
        auto performAction = reinterpret_cast<void (*)(Object*)>(entry->table[0]);
        RunProgramCode([&] { performAction(receiver.get()); });
    }
}

void FillActionSource(InterfaceEntry* entry) {
    static const GenericFn functions[] = {
        AsGenericFn(&Timer::addActionNotificationReceiver),
        AsGenericFn(&Timer::removeActionNotificationReceiver),
    };
    RuntimeFillInterfaceEntry(entry, actionSource::dunder_Lookup(), functions);
}

constexpr uint32_t kSharedHiddenComputed = kFlagPrivate | kFlagHidden | kFlagShared | kFlagComputed;
static_assert(kSharedHiddenComputed == 210);

}  // namespace

void Timer::addActionNotificationReceiver(Object* self, Object* receiver) {
    TimerState& state = State(self);
    RuntimeCheckCast(RuntimeRequire(receiver), actionNotificationReceiver::dunder_Lookup());
    for (WeakControl* control : state.receivers)
        if (control->target == receiver) return;
    state.receivers.push_back(RuntimeRetainWeakControl(receiver));
}

void Timer::removeActionNotificationReceiver(Object* self, Object* receiver) {
    auto& receivers = State(self).receivers;
    for (auto it = receivers.begin(); it != receivers.end(); ++it) {
        if ((*it)->target == receiver) {
            RuntimeReleaseWeakControl(*it);
            receivers.erase(it);
            return;
        }
    }
}

bool RuntimeTimerArmed(Object* timer) {
    QTimer* qtimer = State(timer).timer;
    return qtimer && qtimer->isActive();
}

void Timer::dunder_ctblinit() {
    // clang-format off
    // Method entries, in the record's order: name, flags, signature text, function, slot.
    static const MethodRow Timer_methods[] = {
        Method("addActionNotificationReceiver",    kPublicVirtual,       "%%o<actionNotificationReceiver>",       &Timer::addActionNotificationReceiver,    0),
        SharedMethod("CallLater",                  kPublicShared,        "%%i8o<Timer.TimerCallLater>",           &CallLater),
        SharedMethod("CallLater",                  kPublicShared,        "%%i8o<Timer.TimerCallLaterWithValue>v", &CallLaterWithValue),
        SharedMethod("CancelCallLater",            kPublicShared,        "%%o<Timer.TimerCallLater>",             &CancelCallLater),
        SharedMethod("CancelCallLater",            kPublicShared,        "%%o<Timer.TimerCallLaterWithValue>",    &CancelCallLater),
        Method("removeActionNotificationReceiver", kPublicVirtual,       "%%o<actionNotificationReceiver>",       &Timer::removeActionNotificationReceiver, 1),
        Method("Reset",                            kPublicVirtual,       "%%",                                    &Reset,                                   2),
        Method("_CallAction",                      kPublicVirtualHidden, "%%",                                    &CallAction,                              kCallActionSlot),
        SharedMethod("_RemoveCallLaterTimer",      kPublicShared,        "%%o<_CallLaterTimer>",                  &RemoveCallLaterTimer),
        Method("__Exit",                           kPrivateHidden,       "%%",                                    &TimerExit),
        Method("__Init",                           kPrivateHidden,       "%%",                                    &TimerInit),
    };
    // clang-format on
    static const EventRow Timer_events[] = {{"Action"}};
    // clang-format off
    // Properties: name, flags, type, field offset (0 when computed), getter, setter.
    static const PropertyRow Timer_properties[] = {
        StoredProperty<bool>(         "Enabled",          kStoredWritable,       "b",                  kEnabled,   &EnabledGetter, &EnabledSetter),
        StoredProperty<int64_t>(      "Mode",             kStoredWritable,       "i8<Timer.RunModes>", kMode,      &RunModeGetter, &RunModeSetter),
        StoredProperty<int64_t>(      "Period",           kStoredWritable,       "i8",                 kPeriod,    &PeriodGetter,  &PeriodSetter),
        StoredProperty<int64_t>(      "RunMode",          kStoredWritable,       "i8<Timer.RunModes>", kRunMode,   &RunModeGetter, &RunModeSetter),
        ComputedProperty<Ref<Object>>("sCallLaterTimers", kSharedHiddenComputed, "A1o<Object>",                    &CallLaterTimersGetter, nullptr),
        StoredProperty<int64_t>(      "Tolerance",        kStoredWritable,       "i8",                 kTolerance, &ToleranceGetter, &ToleranceSetter),
        ReadOnlyStoredProperty<void*>("_mImp",            kPrivateHidden,        "p",                  kImp),
    };
    // clang-format on
    static const InterfaceRow Timer_interfaces[] = {{&FillActionSource}};
    static const ClassSpec spec{.name = "Timer",
                                .superclass = nullptr,
                                .methodCount = kMethodCount,
                                .interfaceCount = 1,
                                .eventCount = 1,
                                .propertyCount = 7,
                                .instanceDataSize = kInstanceDataSize,
                                .slotCount = kSlotCount,
                                .init = &TimerInit,
                                .exit = &TimerExit,
                                .methods = Timer_methods,
                                .events = Timer_events,
                                .properties = Timer_properties,
                                .interfaces = Timer_interfaces};
    // The delegate types CallLater and CancelCallLater take.
    RuntimeDeclareDelegateType("Timer.TimerCallLater");
    RuntimeDeclareDelegateType("Timer.TimerCallLaterWithValue");
    RuntimeBuildClass(gTimer, spec);
}

ClassRecord* Timer::dunder_Lookup() {
    return RuntimeLookupClass(gTimer);
}
