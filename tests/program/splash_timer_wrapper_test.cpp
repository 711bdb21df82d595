// The splash window's timer class SplashWnd._wrapper_Timer1: its owner window held through a
// WeakRef, its index, and its class record, driven through the _PaneChild interface as the
// framework reaches them.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "framework/toolkit/toolkit.h"
#include "splash/timer_wrapper.h"

namespace {

using Wrapper = SplashWnd::_wrapper_Timer1;

class TimerWrapperTest : public testing::Test {
protected:
    void SetUp() override {
        timer_ = RuntimeNewObject(Wrapper::dunder_Lookup());
        RuntimeCallSlot<void>(timer_.get(), Wrapper::kConstructorSlot);
    }

    // The _PaneChild interface table of the timer, as the framework uses it.
    const InterfaceEntry& PaneChild() const {
        const InterfaceEntry* entry = RuntimeInterfaceOf(timer_.get(), _PaneChild::dunder_Lookup());
        EXPECT_NE(entry, nullptr);
        return *entry;
    }
    void SetWindow(Object* window) const {
        reinterpret_cast<void (*)(Object*, Object*)>(PaneChild().table[_PaneChild::kSetWindow])(timer_.get(), window);
    }
    Ref<Object> OwnerWindow() const {
        return reinterpret_cast<Ref<Object> (*)(Object*)>(PaneChild().table[_PaneChild::kWindow])(timer_.get());
    }
    // The WeakRef in the hidden ownerWindow property, read through its property entry.
    Ref<Object> OwnerWeakRef() const {
        const PropertyEntry* entry = RuntimeFindProperty(timer_->cls, "ownerWindow");
        EXPECT_NE(entry, nullptr);
        return entry ? entry->boxedGetter(timer_.get(), entry).AsObject() : nullptr;
    }
    static Ref<Object> NewWindowObject() { return RuntimeNewObject(Window::dunder_Lookup()); }

    Ref<Object> timer_;
};

TEST_F(TimerWrapperTest, HasNoWindowBeforeOneIsSet) {
    EXPECT_FALSE(OwnerWindow());
    EXPECT_FALSE(OwnerWeakRef());
}

TEST_F(TimerWrapperTest, ReturnsTheWindowItWasGiven) {
    Ref<Object> window = NewWindowObject();
    SetWindow(window.get());
    EXPECT_EQ(OwnerWindow().get(), window.get());
    EXPECT_EQ(window->refcount, 1) << "the timer holds its window only weakly";
}

TEST_F(TimerWrapperTest, ASecondWindowReplacesTheFirstAndReleasesItsWeakRef) {
    Ref<Object> first = NewWindowObject();
    Ref<Object> second = NewWindowObject();
    SetWindow(first.get());
    Ref<Object> firstWeak = OwnerWeakRef();
    ASSERT_TRUE(firstWeak);
    EXPECT_EQ(firstWeak->refcount, 2) << "the field's reference and ours";
    SetWindow(second.get());
    EXPECT_EQ(firstWeak->refcount, 1) << "the field let go of the first WeakRef";
    EXPECT_EQ(OwnerWindow().get(), second.get());
    EXPECT_NE(OwnerWeakRef().get(), firstWeak.get());
}

TEST_F(TimerWrapperTest, ANilWindowIsStoredAsAWeakRefToNothing) {
    SetWindow(nullptr);
    EXPECT_TRUE(OwnerWeakRef());
    EXPECT_FALSE(OwnerWindow());
}

TEST_F(TimerWrapperTest, AWindowThatIsGoneGivesNilWithoutAnException) {
    Ref<Object> window = NewWindowObject();
    SetWindow(window.get());
    window.Reset();
    EXPECT_NO_THROW(EXPECT_FALSE(OwnerWindow()));
}

TEST_F(TimerWrapperTest, KeepsTheIndexItIsGiven) {
    auto index = reinterpret_cast<int64_t (*)(Object*)>(PaneChild().table[_PaneChild::kIndex]);
    auto setIndex = reinterpret_cast<void (*)(Object*, int64_t)>(PaneChild().table[_PaneChild::kSetIndex]);
    setIndex(timer_.get(), 3);
    EXPECT_EQ(index(timer_.get()), 3);
    const PropertyEntry* entry = RuntimeFindProperty(timer_->cls, "Index");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->boxedGetter(timer_.get(), entry).AsInteger(), 3) << "the public Index property";
    entry->boxedSetter(timer_.get(), entry, Variant(int64_t{-7}));
    EXPECT_EQ(index(timer_.get()), -7);
}

TEST_F(TimerWrapperTest, DestroyingTheTimerReleasesItsWeakRef) {
    Ref<Object> window = NewWindowObject();
    SetWindow(window.get());
    Ref<Object> weak = OwnerWeakRef();
    ASSERT_EQ(weak->refcount, 2);
    timer_.Reset();
    EXPECT_EQ(weak->refcount, 1);
}

TEST(TimerWrapperNilSelf, SettersAndTheIndexRaiseNilObject) {
    const std::pair<const char*, std::function<void()>> calls[] = {
        {"_SetWindow", [] { Wrapper::_SetWindow(nullptr, nullptr); }},
        {"_Index", [] { (void)Wrapper::_Index(nullptr); }},
        {"_SetIndex", [] { Wrapper::_SetIndex(nullptr, 1); }},
    };
    for (const auto& [name, call] : calls) {
        try {
            call();
            ADD_FAILURE() << name << " raised nothing";
        } catch (const RaisedException& raised) {
            EXPECT_TRUE(RuntimeObjectIsa(raised.ExceptionObject().get(), NilObjectException::dunder_Lookup())) << name;
        }
    }
}

TEST(TimerWrapperClass, RecordStatesTimersEntriesThenItsOwnHiddenMethods) {
    ClassRecord* wrapper = Wrapper::dunder_Lookup();
    ClassRecord* timer = Timer::dunder_Lookup();
    ASSERT_EQ(wrapper->superclass, timer);
    EXPECT_STREQ(wrapper->name, "SplashWnd._wrapper_Timer1");
    EXPECT_EQ(wrapper->instanceDataSize, 64u);
    EXPECT_EQ(wrapper->methodCount, 16u);
    EXPECT_EQ(wrapper->slotCount, 9u);
    EXPECT_EQ(wrapper->exit, &Wrapper::dunder_Exit);
    for (uint32_t slot = 0; slot < 4; ++slot) EXPECT_EQ(wrapper->vtable[slot], timer->vtable[slot]);

    struct Row {
        uint32_t entry;
        const char* name;
        const char* signature;
        uint32_t flags;
        uint32_t slot;
        bool hidden;
    };
    const Row rows[] = {
        {9, "__Exit", "%%", 64, kNoSlot, false},
        {10, "__Init", "%%", 64, kNoSlot, false},
        {11, "_SetWindow", "%%o<Window>", 385, 4, true},
        {12, "Window", "%o<Window>%", 257, 5, false},
        {13, "_Index", "%i8%", 385, 6, true},
        {14, "_SetIndex", "%%i8", 385, 7, true},
        {15, "Constructor", "%%", 257, 8, false},
    };
    for (const Row& row : rows) {
        const MethodEntry& entry = wrapper->methods[row.entry];
        SCOPED_TRACE(row.name);
        EXPECT_STREQ(entry.name, row.name);
        EXPECT_STREQ(entry.signature, row.signature);
        EXPECT_EQ(entry.flags, row.flags);
        EXPECT_EQ(entry.slot, row.slot);
        ASSERT_EQ(entry.attributes->count, row.hidden ? 1u : 0u);
        if (row.hidden) {
            EXPECT_STREQ(entry.attributes->entries[0].name, "Hidden");
        }
    }
    EXPECT_NE(wrapper->methods[9].function, AsGenericFn(&Wrapper::dunder_Exit)) << "Timer's __Exit, not the own one";

    const PropertyEntry& index = wrapper->properties[7];
    EXPECT_STREQ(index.name, "Index");
    EXPECT_EQ(index.fieldOffset, -56);
    EXPECT_EQ(index.flags, 5u);
    const PropertyEntry& owner = wrapper->properties[8];
    EXPECT_STREQ(owner.name, "ownerWindow");
    EXPECT_STREQ(owner.typeText, "o<WeakRef>");
    EXPECT_EQ(owner.fieldOffset, -64);
    EXPECT_EQ(owner.flags, 196u);
    ASSERT_EQ(owner.attributes->count, 1u);
    EXPECT_STREQ(owner.attributes->entries[0].name, "Hidden");

    const InterfaceEntry& action = wrapper->interfaces[0];
    EXPECT_EQ(action.interface, actionSource::dunder_Lookup());
    ASSERT_EQ(action.methodCount, 2u);
    EXPECT_EQ(action.table[0], AsGenericFn(&Timer::addActionNotificationReceiver));
    EXPECT_EQ(action.table[1], AsGenericFn(&Timer::removeActionNotificationReceiver));
    EXPECT_EQ(wrapper->interfaces[1].interface, _PaneChild::dunder_Lookup());
    EXPECT_EQ(wrapper->interfaces[1].methodCount, 4u);
}

}  // namespace
