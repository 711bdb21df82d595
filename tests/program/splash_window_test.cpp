// The splash window SplashWnd.SplashWnd: its design records, class record, the one window
// its accessor hands out, what it shows, and how a press or a key hides it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QWidget>

#include <string>

#include "framework/toolkit/toolkit.h"
#include "framework/toolkit/program_code.h"
#include "framework/toolkit/toolkit_internal.h"
#include "shell/credits.h"
#include "shell/pictures.h"
#include "splash/splash_wnd.h"
#include "splash/timer_wrapper.h"

namespace {

using Splash = struct SplashWnd::SplashWnd;

struct RecordCase {
    const char* what;
    String (*record)();
    size_t bytes;
};

TEST(SplashRecords, HaveTheirDocumentedLengths) {
    const RecordCase cases[] = {
        {"window", &SplashWnd::WindowRecord, 367},
        {"StaticText2", &SplashWnd::StaticText2Record, 425 + kCreditLine.size()},
        {"Canvas1", &SplashWnd::Canvas1Record, 322},
        {"Timer1", &SplashWnd::Timer1Record, 31},
    };
    for (const RecordCase& c : cases) EXPECT_EQ(c.record().Size(), c.bytes) << c.what;
}

TEST(SplashRecords, TimerRecordIsRunModeOneThenPeriod4000) {
    const unsigned char expected[] = {'R', 'u', 'n', 'M', 'o', 'd', 'e', ' ', 1, 0, 0, 0, 0, 0, 0, 0,
                                      'P', 'e', 'r', 'i', 'o', 'd', ' ', 0xA0, 0x0F, 0, 0, 0, 0, 0, 0};
    String record = SplashWnd::Timer1Record();
    EXPECT_EQ(record.View(), std::string_view(reinterpret_cast<const char*>(expected), sizeof expected));
}

TEST(SplashRecords, CreditLabelCarriesTheSharedCreditLine) {
    std::string record = SplashWnd::StaticText2Record().Std();
    std::string value = "Value ";
    uint32_t length = static_cast<uint32_t>(kCreditLine.size());
    value.append(reinterpret_cast<const char*>(&length), 4);
    value.append(kCreditLine);
    EXPECT_NE(record.find(value), std::string::npos);
}

TEST(SplashClass, HandlesExactlyLayoutCreateControlsKeyDownAndMouseDown) {
    ClassRecord* splash = Splash::dunder_Lookup();
    ClassRecord* window = Window::dunder_Lookup();
    ASSERT_EQ(splash->superclass, window);
    EXPECT_STREQ(splash->name, "SplashWnd.SplashWnd");
    EXPECT_EQ(splash->methodCount, 51u);
    EXPECT_EQ(splash->slotCount, 46u);
    EXPECT_EQ(splash->eventCount, 34u);
    EXPECT_EQ(splash->propertyCount, 60u);
    EXPECT_EQ(splash->instanceDataSize, 216u);
    for (uint32_t slot = 0; slot < 37; ++slot) EXPECT_EQ(splash->vtable[slot], window->vtable[slot]) << slot;

    struct Handled {
        uint32_t event;
        uint32_t slot;
    };
    const Handled handled[] = {{7, 38}, {14, 45}, {16, 37}, {19, 44}};
    for (uint32_t event = 0; event < splash->eventCount; ++event) {
        GenericFn expected = nullptr;
        for (const Handled& h : handled)
            if (h.event == event) expected = splash->vtable[h.slot];
        EXPECT_EQ(splash->events[event].handler, expected) << "event " << event;
    }
    const MethodEntry& hidden = splash->methods[41 + 2];
    EXPECT_STREQ(hidden.name, "_CreateControls0");
    EXPECT_EQ(hidden.flags, 385u);
    ASSERT_EQ(hidden.attributes->count, 1u);
    EXPECT_STREQ(hidden.attributes->entries[0].name, "Hidden");
    EXPECT_STREQ(splash->methods[50].name, "IsEventImplemented");
    EXPECT_EQ(splash->methods[50].slot, kNoSlot);
}

class SplashWindowTest : public testing::Test {
protected:
    void SetUp() override { ToolkitResetForTesting(); }
    void TearDown() override {
        ToolkitResetForTesting();
        QApplication::processEvents();
    }
    static Ref<Object> Control(Object* window, const char* name) {
        return RuntimeCallSlot<Ref<Object>, String>(window, Window::kControlByNameSlot, String(name));
    }
};

TEST_F(SplashWindowTest, TheAccessorCreatesOneVisibleWindowAndThenHandsOutThatOne) {
    EXPECT_FALSE(RuntimeGetImplicitWindow("SplashWnd.SplashWnd"));
    Ref<Object> first = SplashWnd::SplashWnd();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->cls, Splash::dunder_Lookup());
    EXPECT_TRUE(RuntimeWindowVisible(first.get()));
    EXPECT_EQ(RuntimeWindowCount(), 1);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(SplashWnd::SplashWnd().get(), first.get());
    EXPECT_EQ(RuntimeWindowCount(), 1);
    RuntimeHideWindow(first.get());
    EXPECT_EQ(SplashWnd::SplashWnd().get(), first.get()) << "a hidden splash window is still the one";
    EXPECT_FALSE(RuntimeWindowVisible(first.get()));
}

TEST_F(SplashWindowTest, ShowsThePictureAndTheCreditLineWithoutTitleOrCloseButton) {
    Ref<Object> splash = SplashWnd::SplashWnd();
    QWidget* content = ToolkitWindowWidget(splash.get());
    ASSERT_NE(content, nullptr);
    QWidget* widget = content->window();
    EXPECT_TRUE(widget->windowTitle().isEmpty());
    EXPECT_FALSE(widget->windowFlags() & Qt::WindowCloseButtonHint);

    Ref<Object> label = RuntimeCallSlot<Ref<Object>>(splash.get(), Splash::kStaticText2Slot);
    ASSERT_TRUE(label);
    EXPECT_TRUE(RuntimeObjectIsa(label.get(), Label::dunder_Lookup()));
    const PropertyEntry* value = RuntimeFindProperty(label->cls, "Value");
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->boxedGetter(label.get(), value).AsString().View(), kCreditLine);

    Ref<Object> canvas = RuntimeCallSlot<Ref<Object>>(splash.get(), Splash::kCanvas1Slot);
    ASSERT_TRUE(canvas);
    Ref<Object> backdrop = canvasBackdropGetter(canvas.get(), 0);
    ASSERT_TRUE(backdrop);
    EXPECT_EQ(backdrop.get(), _x_corvane2::corvane2().get());
}

TEST_F(SplashWindowTest, ItsTimerIsArmedForOneRunAndBoundToTimer1Action) {
    Ref<Object> splash = SplashWnd::SplashWnd();
    Ref<Object> timer = RuntimeCallSlot<Ref<Object>>(splash.get(), Splash::kTimer1Slot);
    ASSERT_TRUE(timer);
    EXPECT_EQ(timer->cls, SplashWnd::_wrapper_Timer1::dunder_Lookup());
    EXPECT_TRUE(RuntimeTimerArmed(timer.get()));
    const EventBinding* binding = RuntimeFindEventHandler(timer.get(), Timer::kActionEvent);
    ASSERT_NE(binding, nullptr);
    EXPECT_STREQ(RuntimeDelegateSignature(binding->delegate.get()), "( Timer )");
    EXPECT_EQ(RuntimeDelegateFunction(binding->delegate.get()), splash->vtable[Splash::kTimer1ActionSlot]);
    EXPECT_EQ(RuntimeDelegateTarget(binding->delegate.get()).get(), splash.get());
    Ref<Object> missing = Control(splash.get(), "NoSuchControl");
    EXPECT_FALSE(missing);
}

TEST_F(SplashWindowTest, AMousePressHidesItAndIsNotHandled) {
    Ref<Object> splash = SplashWnd::SplashWnd();
    QWidget* widget = ToolkitWindowWidget(splash.get());
    ASSERT_NE(widget, nullptr);
    QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(5, 5));
    QApplication::processEvents();
    EXPECT_FALSE(RuntimeWindowVisible(splash.get()));
    EXPECT_FALSE(RaiseClassEvent<bool>(splash.get(), Window::kMouseDown, true, int64_t{1}, int64_t{2}));
}

TEST_F(SplashWindowTest, AKeyPressHidesItAndIsReportedAsNotHandled) {
    Ref<Object> splash = SplashWnd::SplashWnd();
    QWidget* widget = ToolkitWindowWidget(splash.get());
    ASSERT_NE(widget, nullptr);
    widget->activateWindow();
    QTest::keyClick(widget, Qt::Key_A);
    QApplication::processEvents();
    EXPECT_FALSE(RuntimeWindowVisible(splash.get()));
    RuntimeShowWindow(splash.get());
    EXPECT_FALSE(RaiseClassEvent<bool>(splash.get(), Window::kKeyDown, true, String("a")));
    EXPECT_FALSE(RuntimeWindowVisible(splash.get()));
}

TEST_F(SplashWindowTest, AnswersWhichEventsItImplementsForItsQualifiedName) {
    Ref<Object> splash = SplashWnd::SplashWnd();
    EXPECT_TRUE(Splash::IsEventImplemented(splash.get(), "KeyDown"));
    EXPECT_TRUE(Splash::IsEventImplemented(splash.get(), "MouseDown"));
    EXPECT_FALSE(Splash::IsEventImplemented(splash.get(), "Close"));
}

}  // namespace
