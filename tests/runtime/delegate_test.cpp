// Event handlers attached to objects, with and without a target.
#include <string>

#include "test_classes.h"
#include "test_support.h"

using namespace zoo;

namespace {

using DelegateTest = RuntimeTest;

// ---- event handlers ----------------------------------------------------------------------

struct Heard {
    Object* listener = nullptr;
    Object* sender = nullptr;
    int64_t volume = 0;
    int calls = 0;
};
Heard gHeard;

void HeardBark(Object* sender, int64_t volume) {
    gHeard = {nullptr, sender, volume, gHeard.calls + 1};
}
void ListenerHeardBark(Object* listener, Object* sender, int64_t volume) {
    gHeard = {listener, sender, volume, gHeard.calls + 1};
}

void Fire(Object* sender, uint32_t event, int64_t volume) {
    const EventBinding* binding = RuntimeFindEventHandler(sender, event);
    ASSERT_NE(binding, nullptr);
    reinterpret_cast<void (*)(Object*, Object*, int64_t)>(binding->dispatch)(
        binding->delegate.get(), sender, volume);
}

TEST_F(DelegateTest, EventDispatchPassesSenderAndArgumentsAndALaterHandlerReplaces) {
    Ref<Object> dog = RuntimeNewObject(DogLookup());
    Ref<Object> listener = RuntimeNewObject(CatLookup());
    GenericFn dispatch = EventDispatchRoutine<void, int64_t>();
    Ref<Object> plain = RuntimeCreateDelegate(DelegateInvocation<void, Object*, int64_t>(),
                                              Fn(&HeardBark), nullptr, "( Dog, Integer )", 0);
    RuntimeAddEventHandler(dog.get(), kBarkedEvent, dispatch, plain.get());
    EXPECT_EQ(plain->refcount, 2) << "the object keeps its handler";
    EXPECT_EQ(RuntimeFindEventHandler(dog.get(), kMovedEvent), nullptr);

    gHeard = {};
    Fire(dog.get(), kBarkedEvent, 7);
    EXPECT_TRUE(gHeard.calls == 1 && gHeard.sender == dog.get() && gHeard.volume == 7);

    // A later handler for the same event replaces the first; its target comes first.
    Ref<Object> targeted =
        RuntimeCreateDelegate(DelegateInvocation<void, Object*, int64_t>(), Fn(&ListenerHeardBark),
                              listener.get(), "( Dog, Integer )", kDelegateWeakTarget);
    RuntimeAddEventHandler(dog.get(), kBarkedEvent, dispatch, targeted.get());
    EXPECT_EQ(plain->refcount, 1) << "the replaced handler was released";
    Fire(dog.get(), kBarkedEvent, 11);
    EXPECT_TRUE(gHeard.calls == 2 && gHeard.listener == listener.get() && gHeard.volume == 11);

    // The listener is held weakly: once it is gone the handler refuses to run.
    listener.Reset();
    EXPECT_RAISES(Fire(dog.get(), kBarkedEvent, 1), NilObjectException);
    EXPECT_EQ(gHeard.calls, 2);
    dog.Reset();
    EXPECT_EQ(targeted->refcount, 1) << "a dying object releases its handlers";
}

}  // namespace
