// The splash window's timer class SplashWnd._wrapper_Timer1, driven through the _PaneChild
// interface as the framework reaches it: its owner window, held only through a WeakRef, and
// its index.
#include <gtest/gtest.h>

#include "framework/toolkit/toolkit.h"
#include "splash/timer_wrapper.h"

namespace {

using Wrapper = SplashWnd::_wrapper_Timer1;

class TimerWrapperTest : public testing::Test {
  protected:
    void SetUp() override {
        timer_ = RuntimeNewObject(Wrapper::dunder_Lookup());
        RuntimeCallSlot<void>(timer_.get(), Wrapper::kConstructorSlot);
        pane_ = RuntimeInterfaceOf(timer_.get(), _PaneChild::dunder_Lookup());
        ASSERT_NE(pane_, nullptr);
    }
    template <class F>
    F Pane(uint32_t method) const {
        return reinterpret_cast<F>(pane_->table[method]);
    }
    void SetWindow(Object* window) const {
        Pane<void (*)(Object*, Object*)>(_PaneChild::kSetWindow)(timer_.get(), window);
    }
    Ref<Object> Owner() const {
        return Pane<Ref<Object> (*)(Object*)>(_PaneChild::kWindow)(timer_.get());
    }
    // The WeakRef in the hidden property ownerWindow.
    Ref<Object> OwnerWeakRef() const {
        const PropertyEntry* entry = RuntimeFindProperty(timer_->cls, "ownerWindow");
        return entry->boxedGetter(timer_.get(), entry).AsObject();
    }
    static Ref<Object> NewWindow() { return RuntimeNewObject(Window::dunder_Lookup()); }

    Ref<Object> timer_;
    const InterfaceEntry* pane_ = nullptr;
};

TEST_F(TimerWrapperTest, HoldsItsWindowWeaklyFromTheFirstSetOnAndNoneBefore) {
    EXPECT_FALSE(Owner());
    Ref<Object> window = NewWindow();
    SetWindow(window.get());
    EXPECT_EQ(Owner().get(), window.get());
    EXPECT_EQ(window->refcount, 1) << "no strong reference to the window";
    window.Reset();
    EXPECT_NO_THROW(EXPECT_FALSE(Owner())) << "a window that is gone gives nil";
}

TEST_F(TimerWrapperTest, ASecondWindowReplacesTheFirstAndItsWeakRefIsReleased) {
    Ref<Object> first = NewWindow(), second = NewWindow();
    SetWindow(first.get());
    Ref<Object> firstWeak = OwnerWeakRef();
    ASSERT_EQ(firstWeak->refcount, 2);
    SetWindow(second.get());
    EXPECT_EQ(firstWeak->refcount, 1) << "only ours is left";
    EXPECT_EQ(Owner().get(), second.get());
    SetWindow(nullptr);
    EXPECT_TRUE(OwnerWeakRef()) << "a WeakRef made on nil";
    EXPECT_FALSE(Owner());
}

TEST_F(TimerWrapperTest, DestroyingTheTimerReleasesItsWeakRef) {
    Ref<Object> window = NewWindow();
    SetWindow(window.get());
    Ref<Object> weak = OwnerWeakRef();
    timer_.Reset();
    EXPECT_EQ(weak->refcount, 1);
}

TEST_F(TimerWrapperTest, KeepsTheIndexItIsGivenInItsIndexProperty) {
    Pane<void (*)(Object*, int64_t)>(_PaneChild::kSetIndex)(timer_.get(), 3);
    EXPECT_EQ(Pane<int64_t (*)(Object*)>(_PaneChild::kIndex)(timer_.get()), 3);
    const PropertyEntry* index = RuntimeFindProperty(timer_->cls, "Index");
    EXPECT_EQ(index->boxedGetter(timer_.get(), index).AsInteger(), 3);
}

TEST(TimerWrapperWithoutObject, SetWindowAndTheIndexRaiseNilObject) {
    auto isNilObject = [](auto call) {
        try {
            call();
        } catch (const RaisedException& raised) {
            return RuntimeObjectIsa(raised.ExceptionObject().get(),
                                    NilObjectException::dunder_Lookup());
        }
        return false;
    };
    EXPECT_TRUE(isNilObject([] { Wrapper::_SetWindow(nullptr, nullptr); }));
    EXPECT_TRUE(isNilObject([] { (void)Wrapper::_Index(nullptr); }));
    EXPECT_TRUE(isNilObject([] { Wrapper::_SetIndex(nullptr, 1); }));
}

}  // namespace
